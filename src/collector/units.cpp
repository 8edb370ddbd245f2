// The HWiNFO unit table; see units.h.
#include "collector/units.h"

#include <cstring>

const TQD_HWiNFOUnit HWiNFOUnits[kHWiNFOUnitCount] = {
    {"Yes/No", "Boolean", 0},
    {"%", "Percentage", 0},
    {"MHz", "Megahertz", 0},
    {"x", "Ratio", 2},
    {"T", "Timing", 0},
    {"\xC2\xB0" "C", "Celsius", 2},
    {"\xC2\xB0" "F", "Fahrenheit", 2},
    {"V", "Volt", 2},
    {"A", "Ampere", 2},
    {"W", "Watt", 2},
    {"RPM", "Revolutions per minute", 0},
    {"MB", "Megabyte", 0},
    {"GB", "Gigabyte", 0},
    {"KB/s", "Kilobytes per second", 2},
    {"MB/s", "Megabytes per second", 2},
    {"Gbps", "Gigabits per second", 2},
    {"GT/s", "Gigatransfers per Second", 0},
    {"Wh", "Watt-hours", 0},
    {"mins", "Minutes", 0},
};

int FindHWiNFOUnit(const char* AUnit) {
  for (int i = kHWiNFOUnitCount - 1; i >= 0; --i)
    if (std::strcmp(HWiNFOUnits[i].Unit, AUnit) == 0) return i;
  return unitNone;
}
