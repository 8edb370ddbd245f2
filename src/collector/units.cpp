// The HWiNFO unit table; see units.h.
#include "units.h"

#include <cstring>

const TQD_HWiNFOUnit HWiNFOUnits[kHWiNFOUnitCount] = {
    {"Yes/No", "Boolean"},
    {"%", "Percentage"},
    {"MHz", "Megahertz"},
    {"x", "Ratio"},
    {"T", "Timing"},
    {"\xC2\xB0" "C", "Celsius"},
    {"\xC2\xB0" "F", "Fahrenheit"},
    {"V", "Volt"},
    {"A", "Ampere"},
    {"W", "Watt"},
    {"RPM", "Revolutions per minute"},
    {"MB", "Megabyte"},
    {"GB", "Gigabyte"},
    {"KB/s", "Kilobytes per second"},
    {"MB/s", "Megabytes per second"},
    {"Gbps", "Gigabits per second"},
    {"GT/s", "Gigatransfers per Second"},
    {"Wh", "Watt-hours"},
    {"mins", "Minutes"},
};

int FindHWiNFOUnit(const char* AUnit) {
  for (int i = kHWiNFOUnitCount - 1; i >= 0; --i)
    if (std::strcmp(HWiNFOUnits[i].Unit, AUnit) == 0) return i;
  return unitNone;
}
