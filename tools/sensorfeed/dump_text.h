// The text `sensorfeed dump` prints: the HWiNFO polling status of a data
// logger and the sensors and readings its last poll copied. Portable, so the
// same text is checked in the native tests against profile blocks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class TQD_DataLogger;

// What a HWiNFO polling status code means, for people.
const char* HWiStatusMeaning(uint8_t AStatus);
// "2025-12-01 12:00:00" from days since 1899-12-30.
std::string DateTimeText(double ADateTime);
// A reading's value without needless zeros: "4688.3", "1.235", "0", "18234.171".
std::string ValueText(double AValue);

void PrintSnapshot(const TQD_DataLogger& ALogger, std::FILE* AOut);
