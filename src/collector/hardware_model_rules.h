// The label rules of the hardware model, exposed for the tests and for the
// monitor windows that show core and GPU names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "Core 3 ..." → 3. False (ACore -1) without "CORE" or a number after it.
bool ParseCoreNumber(std::string_view ALabel, int& ACore);
// "Core 3 T1 Usage" → core 3, thread 1; needs "USAGE" and a "T<n>" second part.
bool ParseThreadUsageLabel(std::string_view ALabel, int& ACore, int& AThread);
// "Core 5 (CCD2)" → 2; -1 without "CCD" or a number after it.
int ParseCCDNumber(std::string_view ALabel);
bool IsPCoreLabel(std::string_view ALabel);
bool IsECoreLabel(std::string_view ALabel);
// 0 unknown, 1 Intel, 2 AMD, 3 NVIDIA: the last of those names the sensor name contains.
uint32_t GetGPUVendor(std::string_view ASensorName);
// "GPU [#0]: NVIDIA GeForce RTX 3070: " → "NVIDIA GeForce RTX 3070 ".
std::string GetGPUName(std::string_view ASensorName);
// Nearest integer, halves to even; NaN gives 0 and values beyond 64 bits
// saturate, since HWiNFO values are untrusted.
int64_t RoundHalfEven(double AValue);
