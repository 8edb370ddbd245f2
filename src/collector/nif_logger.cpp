// Network interface logger; see nif_logger.h.
#include "collector/nif_logger.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t kMinBufferLen = 60;
constexpr uint32_t kFallbackBufferLen = 180;

// Shift in place: the oldest entry falls out at index 0, the newest goes last.
void Append(TQD_NIF_History& AHistory, uint64_t AValue) {
  if (AHistory.empty()) return;
  std::move(AHistory.begin() + 1, AHistory.end(), AHistory.begin());
  AHistory.back() = AValue;
}

uint64_t Delta(uint64_t ANow, uint64_t ALast) { return ANow > ALast ? ANow - ALast : 0; }

uint64_t HistoryAt(const TQD_NIF_History& AHistory, int64_t AIndex) {
  if (AIndex < 0 || static_cast<uint64_t>(AIndex) >= AHistory.size()) return 0;
  return AHistory[static_cast<size_t>(AIndex)];
}

}  // namespace

TQD_NIFLogger::TQD_NIFLogger(TQD_NetworkPort& APort, uint32_t ABufferLen)
    : FPort(APort), FBufferLen(ABufferLen >= kMinBufferLen ? ABufferLen : kFallbackBufferLen) {
  GetNIFInfo();
}

bool TQD_NIFLogger::GetNIFInfo() {
  // Read into scratch rows so a failed call keeps the previous table. The
  // scratch rows are not cleared: the port overwrites them in place, so their
  // description strings keep their storage and a sample allocates nothing.
  const bool ok = FPort.GetIfTable(FScratchRows) && !FScratchRows.empty();
  if (ok) std::swap(FIFRows, FScratchRows);

  FIFStatusChanged = false;
  for (const TQD_IFRow& row : FIFRows) {
    TQD_SingleInterface& nif = FIFList[GetIndexOfGuid(row.InterfaceGuid)];
    if (nif.IFName != row.Description) nif.IFName = row.Description;
    nif.LastEnabled = nif.Enabled;
    nif.Enabled = row.OperStatus == 1;
    if (nif.Enabled != nif.LastEnabled) FIFStatusChanged = true;
    nif.Hardware = (row.InterfaceAndOperStatusFlags & 1u) != 0;
    nif.UploadBW = row.TransmitLinkSpeed / 8;
    nif.DownloadBW = row.ReceiveLinkSpeed / 8;
    if (nif.FirstRun) {
      // The first sample only sets the baselines.
      nif.LastOutOctets = row.OutOctets;
      nif.LastInOctets = row.InOctets;
      nif.FirstRun = false;
      continue;
    }
    // A counter that went backwards (adapter reset) counts 0 and becomes the baseline.
    const uint64_t up = Delta(row.OutOctets, nif.LastOutOctets);
    const uint64_t down = Delta(row.InOctets, nif.LastInOctets);
    nif.LastOutOctets = row.OutOctets;
    nif.LastInOctets = row.InOctets;
    Append(nif.UploadValues, up);
    Append(nif.DownloadValues, down);
  }
  return ok;
}

size_t TQD_NIFLogger::GetIndexOfGuid(const TQD_GUID& AGUID) {
  for (size_t i = 0; i < FIFList.size(); ++i)
    if (FIFList[i].ID == AGUID) return i;
  TQD_SingleInterface nif;
  nif.ID = AGUID;
  nif.UploadValues.assign(FBufferLen, 0);
  nif.DownloadValues.assign(FBufferLen, 0);
  FIFList.push_back(std::move(nif));
  return FIFList.size() - 1;
}

TQD_SingleInterface TQD_NIFLogger::GetSingleInterface(const TQD_GUID& AGUID) {
  return FIFList[GetIndexOfGuid(AGUID)];
}

uint64_t TQD_NIFLogger::GetUploadValue(const TQD_GUID& AGUID, int64_t AIndex) {
  return HistoryAt(FIFList[GetIndexOfGuid(AGUID)].UploadValues, AIndex);
}

uint64_t TQD_NIFLogger::GetDownloadValue(const TQD_GUID& AGUID, int64_t AIndex) {
  return HistoryAt(FIFList[GetIndexOfGuid(AGUID)].DownloadValues, AIndex);
}

uint64_t TQD_NIFLogger::GetMaxValue(const TQD_GUID& AGUID) {
  const TQD_SingleInterface& nif = FIFList[GetIndexOfGuid(AGUID)];
  uint64_t m = 0;
  for (uint64_t v : nif.UploadValues) m = std::max(m, v);
  for (uint64_t v : nif.DownloadValues) m = std::max(m, v);
  return m;
}

void TQD_NIFLogger::SetBufferLen(uint32_t AValue) {
  if (AValue < kMinBufferLen || AValue == FBufferLen) return;
  FBufferLen = AValue;
  // resize keeps the front (oldest) entries and appends zeros after the newest.
  for (TQD_SingleInterface& nif : FIFList) {
    nif.UploadValues.resize(AValue, 0);
    nif.DownloadValues.resize(AValue, 0);
  }
}

std::string GuidToText(const TQD_GUID& AGUID) {
  // Data1, Data2 and Data3 are stored little-endian; Data4 is plain bytes.
  const uint8_t* g = AGUID.data();
  char text[39];
  std::snprintf(text, sizeof text,
                "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g[3], g[2],
                g[1], g[0], g[5], g[4], g[7], g[6], g[8], g[9], g[10], g[11], g[12], g[13], g[14], g[15]);
  return text;
}
