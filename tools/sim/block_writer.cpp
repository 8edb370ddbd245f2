// Writing HWiNFO-layout blocks; see block_writer.h.
#include "sim/block_writer.h"

#include <algorithm>
#include <cstring>

#include "collector/hwinfo_sm2.h"

using namespace hwinfo_sm2;

namespace {

void PutU32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
void PutI64(uint8_t* p, int64_t v) { std::memcpy(p, &v, 8); }
void PutF64(uint8_t* p, double v) { std::memcpy(p, &v, 8); }

// Copies at most AField bytes; a text that fills the field has no terminating zero.
void PutText(uint8_t* p, size_t AField, const std::string& AUtf8) {
  std::string t = Utf8ToWindows1252(AUtf8);
  std::memcpy(p, t.data(), std::min(t.size(), AField));
}

size_t SensorSectionOffset() { return kHeaderLength; }
size_t ReadingSectionOffset(const TSF_Block& B) {
  return kHeaderLength + B.Sensors.size() * B.SensorElementSize;
}

void PutValues(uint8_t* e, const TSF_Reading& r) {
  PutF64(e + kReadingOffValue, r.Value);
  PutF64(e + kReadingOffValueMin, r.ValueMin);
  PutF64(e + kReadingOffValueMax, r.ValueMax);
  PutF64(e + kReadingOffValueAvg, r.ValueAvg);
}

// Code points of Windows-1252's 0x80..0x9F row.
constexpr uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string Utf8ToWindows1252(const std::string& AText) {
  std::string out;
  out.reserve(AText.size());
  for (size_t i = 0; i < AText.size();) {
    auto b = static_cast<unsigned char>(AText[i]);
    uint32_t cp;
    size_t n;
    if (b < 0x80) { cp = b; n = 1; }
    else if ((b & 0xE0) == 0xC0 && i + 1 < AText.size()) { cp = ((b & 0x1Fu) << 6) | (AText[i + 1] & 0x3F); n = 2; }
    else if ((b & 0xF0) == 0xE0 && i + 2 < AText.size()) {
      cp = ((b & 0x0Fu) << 12) | ((AText[i + 1] & 0x3Fu) << 6) | (AText[i + 2] & 0x3F);
      n = 3;
    } else { cp = '?'; n = 1; }
    i += n;
    char c = '?';
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) c = static_cast<char>(cp);
    else
      for (int k = 0; k < 32; ++k)
        if (kHigh[k] == cp) c = static_cast<char>(0x80 + k);
    out.push_back(c);
  }
  return out;
}

std::vector<uint8_t> WriteBlock(const TSF_Block& B) {
  const size_t readingOffset = ReadingSectionOffset(B);
  std::vector<uint8_t> block(readingOffset + B.Readings.size() * B.ReadingElementSize, 0);
  uint8_t* h = block.data();
  std::memcpy(h + kOffSignature, B.Signature, 4);
  PutU32(h + kOffVersion, B.Version);
  PutU32(h + kOffRevision, B.Revision);
  PutI64(h + kOffPollTime, B.PollTime);
  PutU32(h + kOffSensorSection, static_cast<uint32_t>(SensorSectionOffset()));
  PutU32(h + kOffSensorSize, B.SensorElementSize);
  PutU32(h + kOffSensorCount, static_cast<uint32_t>(B.Sensors.size()));
  PutU32(h + kOffReadingSection, static_cast<uint32_t>(readingOffset));
  PutU32(h + kOffReadingSize, B.ReadingElementSize);
  PutU32(h + kOffReadingCount, static_cast<uint32_t>(B.Readings.size()));

  for (size_t i = 0; i < B.Sensors.size(); ++i) {
    const TSF_Sensor& s = B.Sensors[i];
    uint8_t* e = h + SensorSectionOffset() + i * B.SensorElementSize;
    PutU32(e + kSensorOffID, s.dwSensorID);
    PutU32(e + kSensorOffInst, s.dwSensorInst);
    PutText(e + kSensorOffNameOrig, kSensorNameLength, s.szSensorNameOrig);
    PutText(e + kSensorOffNameUser, kSensorNameLength,
            s.szSensorNameUser.empty() ? s.szSensorNameOrig : s.szSensorNameUser);
  }
  for (size_t i = 0; i < B.Readings.size(); ++i) {
    const TSF_Reading& r = B.Readings[i];
    uint8_t* e = h + readingOffset + i * B.ReadingElementSize;
    PutU32(e + kReadingOffType, r.tReading);
    PutU32(e + kReadingOffSensorIndex, r.dwSensorIndex);
    PutU32(e + kReadingOffID, r.dwReadingID);
    PutText(e + kReadingOffLabelOrig, kLabelLength, r.szLabelOrig);
    PutText(e + kReadingOffLabelUser, kLabelLength, r.szLabelUser.empty() ? r.szLabelOrig : r.szLabelUser);
    PutText(e + kReadingOffUnit, kUnitLength, r.szUnit);
    PutValues(e, r);
  }
  return block;
}

void UpdateBlockValues(const TSF_Block& B, uint8_t* ADest, size_t ALength) {
  const size_t readingOffset = ReadingSectionOffset(B);
  if (ALength < readingOffset + B.Readings.size() * B.ReadingElementSize) return;
  PutI64(ADest + kOffPollTime, B.PollTime);
  for (size_t i = 0; i < B.Readings.size(); ++i)
    PutValues(ADest + readingOffset + i * B.ReadingElementSize, B.Readings[i]);
}
