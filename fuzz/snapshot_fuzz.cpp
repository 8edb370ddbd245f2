// Fuzzes the snapshot copy with arbitrary blocks: whatever the header says,
// it must not read outside the view, overflow, or crash.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "collector/hwinfo_sm2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  // An exact-size heap copy, so AddressSanitizer flags any read past the end.
  std::vector<uint8_t> view(AData, AData + ASize);
  TQD_SensorList sensors;
  TQD_ReadingsList readings;
  uint8_t status = hwsNotPolled;
  double pollTime = 0;
  ReadHWiNFOSnapshot(view.data(), view.size(), DecodeWindows1252, sensors, readings, status, pollTime);
  if (readings.empty() || readings[0].szLabelOrig != "-") __builtin_trap();  // placeholder always there
  if (status == hwsNotPolled) __builtin_trap();  // every block gets a verdict
  // A second copy into the filled lists must be as safe (lists are reused).
  ReadHWiNFOSnapshot(view.data(), view.size(), DecodeWindows1252, sensors, readings, status, pollTime);
  return 0;
}
