// The named colour table: 104 fixed entries (name, group, colour, description)
// that every colour on screen comes from, plus the 11-step temperature
// gradient that mirrors the entries LB_TempGradientStop0 .. 10. Widgets
// resolve names to colours when a preset is applied, never at paint time.
// The table is kept in the store under "Software\Quendal\Colors" and can be
// exported to and imported from a plain colour file.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "render/color32.h"
#include "settings/key_value_store.h"

// Only ctgTemp changes behaviour (gradient stops); the rest group entries for the dialog.
enum TQD_ColorTableGroup {
  ctgVendor,
  ctgText,
  ctgDivider,
  ctgGauge,
  ctgLabel,
  ctgTemp,
  ctgLinegraph,
  ctgNetgraph,
};

struct TQD_ColorTranslationTable_Entry {
  std::string_view Name;  // fixed key: store value name and colour-file key, case-sensitive
  TColor32 Color = clFallback32;
  TQD_ColorTableGroup Group = ctgVendor;
  std::string_view Description;
};

inline constexpr int QD_ColorTableCount = 104;
inline constexpr int QD_TemperatureGradientCount = 11;

using TQD_ColorTranslationTable = std::array<TQD_ColorTranslationTable_Entry, QD_ColorTableCount>;
using TQD_TemperatureGradientTable = std::array<TColor32, QD_TemperatureGradientCount>;

// The built-in table, in its fixed order; the dialogs read defaults from it by index.
extern const TQD_ColorTranslationTable DefaultTranslationTable;

inline constexpr char QD_ColorsKey[] = "Software\\Quendal\\Colors";

// "#AARRGGBB", upper-case.
std::string ColorToText(TColor32 AColor);
// "#" and exactly eight hex digits (either case); anything else is clFallback32.
TColor32 TextToColor(std::string_view AText);

class TQD_ColorTable {
 public:
  TQD_ColorTable();  // the defaults, gradient included

  // Copies all entries and the gradient.
  void Assign(const TQD_ColorTable& ASource);

  const TQD_ColorTranslationTable& TranslationTable() const { return FTranslationTable; }
  const TQD_TemperatureGradientTable& TemperatureGradientTable() const { return FTemperatureGradientTable; }

  // First entry of that exact name, or clFallback32.
  TColor32 GetColor(std::string_view AName) const;
  TColor32 GetColor(int AIndex) const;
  // False (and no change) for an unknown name or index. Changing a gradient
  // stop refreshes the gradient at once.
  bool SetColor(std::string_view AName, TColor32 AColor);
  bool SetColor(int AIndex, TColor32 AColor);

  void ResetToDefault();
  bool ResetToDefault(std::string_view AName);

  // 0..10: the tenth of 0..AThreshold that ATemperature falls in, rounded
  // half to even; 0 for a threshold of 0 or below.
  static int GetTemperatureColorIdx(double ATemperature, double AThreshold);
  TColor32 GetTemperatureColor(double ATemperature, double AThreshold) const;

  // Missing values give the default colour, malformed ones clFallback32.
  void ReadFromRegistry(TQD_KeyValueStore& AStore);
  void WriteToRegistry(TQD_KeyValueStore& AStore) const;

  // 104 on success, -1 when writing any entry failed (the others are still
  // written). Throws TQD_FileError when the file cannot be created.
  int ExportToFile(const std::string& AFilename) const;
  // The number of lines that set a known entry. Throws TQD_FileError when the
  // file cannot be opened (nothing changes) or a read fails (lines before it stay applied).
  int ImportFromFile(const std::string& AFilename);

 private:
  int IndexOf(std::string_view AName) const;
  void RefreshGradient();

  TQD_ColorTranslationTable FTranslationTable;
  TQD_TemperatureGradientTable FTemperatureGradientTable{};
};
