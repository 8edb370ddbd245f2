// The units HWiNFO uses, by position; GetUnit returns the position.
#pragma once

struct TQD_HWiNFOUnit {
  const char* Unit;         // compared exactly with a reading's unit text (UTF-8)
  const char* Description;
  // Decimals FormatValue shows. Yes/No and mins ignore it: they are shown as
  // words and as hours and minutes.
  int Decimals;
};

// Decimals of a unit text not in the table.
inline constexpr int kUnknownUnitDecimals = 6;

inline constexpr int kHWiNFOUnitCount = 19;
extern const TQD_HWiNFOUnit HWiNFOUnits[kHWiNFOUnitCount];

// Positions other code tests directly.
enum : int {
  unitNone = -1,
  unitYesNo = 0,
  unitPercent = 1,
  unitCelsius = 5,
  unitFahrenheit = 6,
  unitRPM = 10,
  unitMB = 11,
  unitMinutes = 18,
};

// Position of the last entry whose text equals AUnit; -1 when none does.
int FindHWiNFOUnit(const char* AUnit);
