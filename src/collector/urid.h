// Unique reading identifiers: how one HWiNFO reading is named everywhere in
// Quendal (widgets, custom readings lists, the registry). A URID survives polls
// and program runs, so it is what widgets keep instead of a list index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct TQD_URID {
  uint32_t dwSensorID = 0;
  uint32_t dwSensorInst = 0;
  uint32_t dwReadingID = 0;

  static TQD_URID CreateNew(uint32_t AdwSensorID, uint32_t AdwSensorInst, uint32_t AdwReadingID) {
    return TQD_URID{AdwSensorID, AdwSensorInst, AdwReadingID};
  }
  static TQD_URID CreateEmpty() { return TQD_URID{}; }
  // Marks a divider row in a custom readings list.
  static TQD_URID CreateDivider() { return TQD_URID{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}; }

  friend bool operator==(const TQD_URID&, const TQD_URID&) = default;
};

bool URIDIsEmpty(const TQD_URID& AURID);
bool URIDIsDivider(const TQD_URID& AURID);
bool URIDEquals(const TQD_URID& A, const TQD_URID& B);

// "Sensor: 0xF0000300 | Instance: 0x0 | Reading: 0x7000000"
std::string URIDToText(const TQD_URID& AURID);

// Hexadecimal text to number: optional "0x" prefix (only on texts longer than
// two characters), any other character makes the whole text 0.
uint64_t HexTextToUInt(std::string_view AText);

// The three-text form custom readings are stored in; "-" in any part is the divider.
TQD_URID TextToURID(std::string_view ASensorIDText, std::string_view ASensorInstText,
                    std::string_view AReadingIDText);
