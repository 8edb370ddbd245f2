// TQD_LineGraph: the recent history of one or more readings as lines over a
// gradient background, with dotted grid lines and a caption row per graph.
// Each graph keeps a fixed-length history that advances by one sample per
// poll. A single graph is filled underneath; temperature mode colours each
// segment along the temperature gradient.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/graphics_common.h"
#include "collector/readings.h"
#include "collector/urid.h"
#include "widgets/widget.h"

enum TQD_LineGraphMode : uint8_t { lgmStandard, lgmDemo, lgmRAM, lgmTemperature };
enum TQD_LineGraphGridLines : uint8_t { lglOff, lglOne, lglThree, lglNine };
enum TQD_LineGraphLabelPosition : uint8_t { lgpOff, lgpTopCorner };

struct TQD_LineGraphColors {
  TColor32 LineColor = 0, FillStartColor = 0, FillEndColor = 0, TextBGColor = 0;
};
struct TQD_LineGraphColors_Str {
  const char* LineColor;
  const char* FillStartColor;
  const char* FillEndColor;
  const char* TextBGColor;
};
struct TQD_LineGraphBGColors {
  TColor32 BackgroundStartColor = 0, BackgroundEndColor = 0;
};
struct TQD_LineGraphBGColors_Str {
  const char* BackgroundStartColor;
  const char* BackgroundEndColor;
};

using TQD_LineGraphValues = std::vector<double>;

struct TQD_SingleLineGraphData {
  TQD_URID URID;
  TQD_DynamicCaptionSource DynamicCaptionSource = dcsValue;
  std::string Caption;
  std::string ShortCaption;  // "" = the reading's label, "-" = no caption
  bool ShowValueCaption = false;
  double MaxValue = 0;
  double MaxValueManual = 0;
  TQD_LineGraphValues Values;
  TQD_LineGraphColors Colors;
};
using TQD_AllLineGraphData = std::vector<TQD_SingleLineGraphData>;

struct TQD_LineGraphSettings {
  TQD_LineGraphMode Mode = lgmStandard;
  TQD_AllLineGraphData LineGraphs;
  TQD_TextBackgroundType TextBackground = tbRect;
  bool TextAntialiasing = false;
  bool TextAutoSize = true;
  uint32_t TextAutoSizeMargin = 15;
  TQD_LineGraphBGColors BackgroundColors;
  TQD_LineGraphGridLines GridLines = lglOne;
  TQD_LineGraphLabelPosition LabelPosition = lgpOff;
};

inline constexpr TQD_LineGraphBGColors_Str LineGraphBGColors_Default = {"LG_NoUsageHiColor_Default", "LG_NoUsageLoColor_Default"};

inline constexpr TQD_LineGraphColors_Str LineGraphColors_Temperature = {"", "", "LG_UsageLoColor_Default", ""};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_Default = {"GA_UsageHiColor_Default", "GA_UsageLoColor_Default", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_Usage = {"GA_UsageHiColor_Default", "GA_UsageLoColor_Default", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_Power = {"GA_UsageHiColor_Power", "GA_UsageLoColor_Power", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_Clockspeed = {"LG_UsageHiColor_Clockspeed", "LG_UsageLoColor_Clockspeed", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_Voltage = {"LG_UsageHiColor_Voltage", "LG_UsageLoColor_Voltage", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_RAM = {"GA_UsageHiColor_RAM", "GA_UsageLoColor_RAM", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_Fan = {"GA_UsageHiColor_Fan", "GA_UsageLoColor_Fan", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_DiskRead = {"GA_UsageHiColor_DiskRead", "GA_UsageLoColor_DiskRead", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};
inline constexpr TQD_LineGraphColors_Str LineGraphColors_DiskWrite = {"GA_UsageHiColor_DiskWrite", "GA_UsageLoColor_DiskWrite", "LG_UsageLoColor_Default", "TX_BGColor_Dark"};

// Dotted grid lines: d parts give d - 1 lines (lglOff draws none).
int GridLineParts(TQD_LineGraphGridLines AGridLines);
// The grid lines' stipple over a rect, shared by line and network graphs.
void DrawGridLines(TBitmap32& ABitmap, const TRect& AArea, TQD_LineGraphGridLines AGridLines);

class TQD_LineGraph : public TQD_Widget {
 public:
  TQD_LineGraph();

  void ApplyColorPreset(const TQD_LineGraphBGColors_Str& AColorPreset);
  // ABufferLength 0 gives 20 values.
  void AddGraph(const TQD_URID& AURID, TQD_DynamicCaptionSource ASource, int ABufferLength,
                const TQD_LineGraphColors_Str& AColorPreset);
  int NumGraphs() const { return static_cast<int>(FSettings.LineGraphs.size()); }
  bool ManualRepaint() override;

  TQD_LineGraphSettings& Settings() { return FSettings; }
  TQD_AllLineGraphData& LineGraphs() { return FSettings.LineGraphs; }

  TQD_RandomSource Random = DefaultRandomSource();

 protected:
  void ApplyDefaultPreset() override { ApplyColorPreset(LineGraphBGColors_Default); }
  void RefreshForPaint() override {
    TakeSample();
    FRepaintNeeded = false;
  }
  void Paint(TBitmap32& ABuffer, const TRect& R) override;

 private:
  void TakeSample();

  bool FRepaintNeeded = false;
  double FLastUpdate = 0;
  TQD_LineGraphSettings FSettings;
  std::vector<TFloatPoint> FPoints;  // scratch, reused by every paint
  std::string FCaptionBefore;  // scratch for TakeSample
};
