// Copying one HWiNFO snapshot out of a mapped view; see hwinfo_sm2.h.
#include "collector/hwinfo_sm2.h"

#include <cstring>

#include "base/utf8.h"

using namespace hwinfo_sm2;

namespace {

// The block is little-endian, as is every machine Quendal runs on; memcpy
// keeps unaligned reads defined.
uint32_t ReadU32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
int64_t ReadI64(const uint8_t* p) {
  int64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
double ReadF64(const uint8_t* p) {
  double v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Whether the field holds exactly Out's bytes, all of them ASCII, and ends
// there (a zero byte, or the field's end). Labels and units rarely change
// between polls, and ASCII decodes to itself in every ANSI code page (a byte
// above 0x7F would have decoded to two or more), so the text is then Out
// again. One pass of eight bytes at a time: this runs for three fields of
// every reading.
bool SameAsciiText(const uint8_t* p, size_t AFieldLength, const std::string& Out) {
  const size_t n = Out.size();
  if (n > AFieldLength || (n < AFieldLength && p[n] != 0)) return false;
  const auto* o = reinterpret_cast<const uint8_t*>(Out.data());
  uint64_t diff = 0, high = 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w, v;
    std::memcpy(&w, p + i, sizeof w);
    std::memcpy(&v, o + i, sizeof v);
    diff |= w ^ v;
    high |= w;
  }
  for (; i < n; ++i) {
    diff |= static_cast<uint64_t>(p[i] ^ o[i]);
    high |= p[i];
  }
  return diff == 0 && (high & 0x8080808080808080ull) == 0;
}

// A text field ends at its first zero byte or, without one, at its full length.
void ReadText(const uint8_t* p, size_t AFieldLength, TQD_AnsiDecoder ADecode, std::string& Out) {
  if (SameAsciiText(p, AFieldLength, Out)) return;
  const void* zero = std::memchr(p, 0, AFieldLength);
  const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - p) : AFieldLength;
  ADecode(reinterpret_cast<const char*>(p), n, Out);
}

// A section fits when the used fields of its last element end inside the
// view. 64-bit arithmetic: 32-bit offset + (32-bit count) × (32-bit size)
// cannot wrap.
bool SectionFits(uint32_t AOffset, uint32_t ASize, uint32_t ACount, size_t AFieldsLength,
                 size_t AViewLength) {
  if (ACount == 0) return true;
  if (ASize < AFieldsLength) return false;  // elements would overlap their neighbours' fields
  uint64_t last = uint64_t{AOffset} + uint64_t{ACount - 1} * uint64_t{ASize};
  return last + AFieldsLength <= AViewLength;
}

constexpr char16_t kCP1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void DecodeWindows1252(const char* AText, size_t ALength, std::string& Out) {
  // Most texts are plain ASCII, which is the same in both encodings.
  size_t ascii = 0;
  while (ascii < ALength && static_cast<unsigned char>(AText[ascii]) < 0x80) ++ascii;
  Out.assign(AText, ascii);
  for (size_t i = ascii; i < ALength; ++i) {
    auto b = static_cast<unsigned char>(AText[i]);
    if (b < 0x80) Out.push_back(static_cast<char>(b));
    else if (b < 0xA0) AppendUtf8(kCP1252High[b - 0x80], Out);
    else AppendUtf8(static_cast<char16_t>(b), Out);
  }
}

double UnixSecondsToDateTime(int64_t ASeconds) {
  constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 in days since 1899-12-30
  return kUnixEpochDays + static_cast<double>(ASeconds) / 86400.0;
}

void ResetSnapshotLists(TQD_SensorList& ASensors, TQD_ReadingsList& AReadings) {
  ASensors.clear();
  AReadings.resize(1);
  AReadings[0] = ReadingsPlaceholder();
}

void ReadHWiNFOSnapshot(const uint8_t* AView, size_t ALength, TQD_AnsiDecoder ADecode,
                        TQD_SensorList& ASensors, TQD_ReadingsList& AReadings, uint8_t& AStatus,
                        double& APollTime) {
  // Failure paths empty the lists; the success path resizes them in place so
  // that items (and their strings' buffers) are reused from poll to poll.
  if (AView == nullptr || ALength < sizeof kSignatureActive) {
    ResetSnapshotLists(ASensors, AReadings);
    AStatus = hwsReadError;
    return;
  }
  if (std::memcmp(AView + kOffSignature, kSignatureActive, 4) != 0) {
    // HWiNFO writes "DEAD" when it stops publishing. Anything else is not a
    // block we understand; reporting the previous poll's status here would
    // show success for a poll that read nothing.
    ResetSnapshotLists(ASensors, AReadings);
    AStatus = std::memcmp(AView + kOffSignature, kSignatureDead, 4) == 0 ? hwsDead : hwsReadError;
    return;
  }
  if (ALength < kHeaderLength) {
    ResetSnapshotLists(ASensors, AReadings);
    AStatus = hwsReadError;
    return;
  }
  const uint32_t sensorOffset = ReadU32(AView + kOffSensorSection);
  const uint32_t sensorSize = ReadU32(AView + kOffSensorSize);
  const uint32_t sensorCount = ReadU32(AView + kOffSensorCount);
  const uint32_t readingOffset = ReadU32(AView + kOffReadingSection);
  const uint32_t readingSize = ReadU32(AView + kOffReadingSize);
  const uint32_t readingCount = ReadU32(AView + kOffReadingCount);
  if (!SectionFits(sensorOffset, sensorSize, sensorCount, kSensorFieldsLength, ALength) ||
      !SectionFits(readingOffset, readingSize, readingCount, kReadingFieldsLength, ALength)) {
    ResetSnapshotLists(ASensors, AReadings);
    AStatus = hwsReadError;
    return;
  }

  AStatus = hwsOK;
  APollTime = UnixSecondsToDateTime(ReadI64(AView + kOffPollTime));

  ASensors.resize(sensorCount);
  for (uint32_t i = 0; i < sensorCount; ++i) {
    const uint8_t* e = AView + sensorOffset + size_t{i} * sensorSize;
    TQD_SensorListItem& s = ASensors[i];
    s.dwSensorID = ReadU32(e + kSensorOffID);
    s.dwSensorInst = ReadU32(e + kSensorOffInst);
    ReadText(e + kSensorOffNameOrig, kSensorNameLength, ADecode, s.szSensorNameOrig);
    ReadText(e + kSensorOffNameUser, kSensorNameLength, ADecode, s.szSensorNameUser);
  }

  AReadings.resize(size_t{readingCount} + 1);
  AReadings[0] = ReadingsPlaceholder();
  for (uint32_t d = 0; d < readingCount; ++d) {
    const uint8_t* e = AView + readingOffset + size_t{d} * readingSize;
    TQD_ReadingsListItem& r = AReadings[size_t{d} + 1];
    const uint32_t s = ReadU32(e + kReadingOffSensorIndex);
    if (s >= ASensors.size()) {
      AStatus = hwsReadError;
      ClearReadingsItem(r);
      continue;
    }
    const TQD_SensorListItem& sensor = ASensors[s];
    r.dwSensorID = sensor.dwSensorID;
    r.dwSensorInst = sensor.dwSensorInst;
    r.szSensorNameOrig = sensor.szSensorNameOrig;
    r.szSensorNameUser = sensor.szSensorNameUser;
    r.tReading = ReadU32(e + kReadingOffType);
    r.dwSensorIndex = s;
    r.dwReadingID = ReadU32(e + kReadingOffID);
    ReadText(e + kReadingOffLabelOrig, kLabelLength, ADecode, r.szLabelOrig);
    ReadText(e + kReadingOffLabelUser, kLabelLength, ADecode, r.szLabelUser);
    ReadText(e + kReadingOffUnit, kUnitLength, ADecode, r.szUnit);
    r.Value = ReadF64(e + kReadingOffValue);
    r.ValueMin = ReadF64(e + kReadingOffValueMin);
    r.ValueMax = ReadF64(e + kReadingOffValueMax);
    r.ValueAvg = ReadF64(e + kReadingOffValueAvg);
  }
}
