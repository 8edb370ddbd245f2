// Network interface logger: for every interface the system has reported since
// start, its name, up/down state, link speeds and two fixed-length histories
// of bytes sent and received per sample (index 0 oldest, last index newest).
// Interfaces are keyed by GUID, which stays stable while names change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "collector/ports.h"

using TQD_NIF_History = std::vector<uint64_t>;

struct TQD_SingleInterface {
  bool FirstRun = true;
  TQD_GUID ID{};
  std::string IFName;
  bool Enabled = false;
  bool Hardware = false;
  bool LastEnabled = false;
  uint64_t UploadBW = 0;    // bytes per second
  uint64_t DownloadBW = 0;
  uint64_t LastOutOctets = 0;
  uint64_t LastInOctets = 0;
  TQD_NIF_History UploadValues;
  TQD_NIF_History DownloadValues;
};
using TQD_IFList = std::vector<TQD_SingleInterface>;
using TQD_IFRows = std::vector<TQD_IFRow>;

class TQD_NIFLogger {
 public:
  // ABufferLen below 60 falls back to 180. Takes the first sample.
  TQD_NIFLogger(TQD_NetworkPort& APort, uint32_t ABufferLen);

  // Takes a sample; true when the interface table was read and had rows.
  bool GetNIFInfo();
  // Index of the interface with that GUID; an unknown GUID is appended.
  size_t GetIndexOfGuid(const TQD_GUID& AGUID);
  TQD_SingleInterface GetSingleInterface(const TQD_GUID& AGUID);
  uint64_t GetUploadValue(const TQD_GUID& AGUID, int64_t AIndex);
  uint64_t GetDownloadValue(const TQD_GUID& AGUID, int64_t AIndex);
  uint64_t GetMaxValue(const TQD_GUID& AGUID);
  // Ignored below 60 or when unchanged; shrinking keeps the oldest entries.
  void SetBufferLen(uint32_t AValue);

  const TQD_IFList& InterfaceList() const { return FIFList; }
  size_t NumInterfaces() const { return FIFList.size(); }
  uint32_t BufferLen() const { return FBufferLen; }
  bool IFStatusChanged() const { return FIFStatusChanged; }

 private:
  TQD_NetworkPort& FPort;
  TQD_IFRows FIFRows;
  TQD_IFRows FScratchRows;
  TQD_IFList FIFList;
  uint32_t FBufferLen;
  bool FIFStatusChanged = false;
};

// The GUID in its registry form, "{00112233-4455-6677-8899-AABBCCDDEEFF}",
// reading the 16 bytes as the system's GUID structure.
std::string GuidToText(const TQD_GUID& AGUID);
