// Text forms of URIDs; see urid.h.
#include "collector/urid.h"

#include <cstdio>

bool URIDIsEmpty(const TQD_URID& AURID) {
  return AURID.dwSensorID == 0 && AURID.dwSensorInst == 0 && AURID.dwReadingID == 0;
}

bool URIDIsDivider(const TQD_URID& AURID) { return AURID == TQD_URID::CreateDivider(); }

bool URIDEquals(const TQD_URID& A, const TQD_URID& B) { return A == B; }

std::string URIDToText(const TQD_URID& AURID) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "Sensor: 0x%08X | Instance: 0x%X | Reading: 0x%07X",
                static_cast<unsigned>(AURID.dwSensorID), static_cast<unsigned>(AURID.dwSensorInst),
                static_cast<unsigned>(AURID.dwReadingID));
  return buf;
}

uint64_t HexTextToUInt(std::string_view AText) {
  if (AText.empty()) return 0;
  std::string_view digits = AText;
  // Only a text longer than the prefix itself loses it: "0x" alone is no number.
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
    digits.remove_prefix(2);
  uint64_t value = 0;
  for (char c : digits) {
    unsigned d;
    if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
    else return 0;
    value = value * 16 + d;  // wraps past 16 digits, as a 64-bit accumulator does
  }
  return value;
}

TQD_URID TextToURID(std::string_view ASensorIDText, std::string_view ASensorInstText,
                    std::string_view AReadingIDText) {
  if (ASensorIDText == "-" || ASensorInstText == "-" || AReadingIDText == "-")
    return TQD_URID::CreateDivider();
  return TQD_URID::CreateNew(static_cast<uint32_t>(HexTextToUInt(ASensorIDText)),
                             static_cast<uint32_t>(HexTextToUInt(ASensorInstText)),
                             static_cast<uint32_t>(HexTextToUInt(AReadingIDText)));
}
