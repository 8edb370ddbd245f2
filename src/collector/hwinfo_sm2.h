// The shared-memory block HWiNFO publishes, "Global\HWiNFO_SENS_SM2", and the
// code that copies one snapshot of it into the sensor and readings lists.
//
// The layout is little-endian; element sizes come from the header, so a newer
// HWiNFO with longer elements reads fine. Everything in the block is
// untrusted: the copy never reads outside the view it is given, whatever the
// header claims.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "collector/readings.h"

namespace hwinfo_sm2 {

inline constexpr const char* kMappingName = "Global\\HWiNFO_SENS_SM2";
inline constexpr const wchar_t* kMappingNameW = L"Global\\HWiNFO_SENS_SM2";

inline constexpr char kSignatureActive[4] = {'H', 'W', 'i', 'S'};
inline constexpr char kSignatureDead[4] = {'D', 'E', 'A', 'D'};

// Header offsets.
inline constexpr size_t kOffSignature = 0;
inline constexpr size_t kOffVersion = 4;
inline constexpr size_t kOffRevision = 8;
inline constexpr size_t kOffPollTime = 12;  // int64 Unix seconds, UTC
inline constexpr size_t kOffSensorSection = 20;
inline constexpr size_t kOffSensorSize = 24;
inline constexpr size_t kOffSensorCount = 28;
inline constexpr size_t kOffReadingSection = 32;
inline constexpr size_t kOffReadingSize = 36;
inline constexpr size_t kOffReadingCount = 40;
inline constexpr size_t kHeaderLength = 44;

// Sensor element fields.
inline constexpr size_t kSensorOffID = 0;
inline constexpr size_t kSensorOffInst = 4;
inline constexpr size_t kSensorOffNameOrig = 8;
inline constexpr size_t kSensorOffNameUser = 136;
inline constexpr size_t kSensorNameLength = 128;
inline constexpr size_t kSensorFieldsLength = 264;  // bytes of an element that are read

// Reading element fields.
inline constexpr size_t kReadingOffType = 0;
inline constexpr size_t kReadingOffSensorIndex = 4;
inline constexpr size_t kReadingOffID = 8;
inline constexpr size_t kReadingOffLabelOrig = 12;
inline constexpr size_t kReadingOffLabelUser = 140;
inline constexpr size_t kReadingOffUnit = 268;
inline constexpr size_t kReadingOffValue = 284;
inline constexpr size_t kReadingOffValueMin = 292;
inline constexpr size_t kReadingOffValueMax = 300;
inline constexpr size_t kReadingOffValueAvg = 308;
inline constexpr size_t kLabelLength = 128;
inline constexpr size_t kUnitLength = 16;
inline constexpr size_t kReadingFieldsLength = 316;

}  // namespace hwinfo_sm2

// HWiNFO polling status codes.
enum TQD_HWiStatus : uint8_t {
  hwsOK = 0,
  hwsNotPolled = 1,
  // A reading names a sensor outside the sensor list, or the block is
  // malformed: an unknown signature, or a header whose sections do not fit
  // in the mapped view. Either way the block cannot be trusted.
  hwsReadError = 253,
  hwsDead = 254,
  hwsNoMapping = 255,
};

// Converts one fixed-length 8-bit text field (the system's ANSI code page) to
// UTF-8, reusing Out's capacity. The Windows build uses the real code page;
// elsewhere Windows-1252 stands in for it.
using TQD_AnsiDecoder = void (*)(const char* AText, size_t ALength, std::string& Out);
void DecodeWindows1252(const char* AText, size_t ALength, std::string& Out);

// Days since 1899-12-30 (the date-time representation poll times keep).
double UnixSecondsToDateTime(int64_t ASeconds);

// Copies one snapshot from a mapped view of ALength bytes.
//
// On entry the lists may hold anything; on return they hold exactly what the
// poll found: on success every sensor and reading (the readings list with its
// placeholder at index 0), on any failure an empty sensor list and a readings
// list with only the placeholder.
//
// AStatus: 0 and APollTime set for an active block; 254 for "DEAD"; 253 for
// a reading with a bad sensor index (the other readings are still copied),
// for an unknown signature and for a header that does not fit the view (the
// lists then stay empty and APollTime is left alone).
void ReadHWiNFOSnapshot(const uint8_t* AView, size_t ALength, TQD_AnsiDecoder ADecode,
                        TQD_SensorList& ASensors, TQD_ReadingsList& AReadings, uint8_t& AStatus,
                        double& APollTime);

// Resets both lists to the state of a poll that read nothing.
void ResetSnapshotLists(TQD_SensorList& ASensors, TQD_ReadingsList& AReadings);
