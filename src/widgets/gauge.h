// TQD_Gauge: a horizontal bar meter. The bar's length is a value's share of a
// maximum, drawn with gradients over a gradient background, with a bevel,
// tick marks and an optional value text. It shows a reading (by URID), the
// used RAM, a logical drive's used space, or random values (demo).
#pragma once

#include <cstdint>

#include "render/graphics_common.h"
#include "collector/readings.h"
#include "collector/urid.h"
#include "widgets/widget.h"

enum TQD_GaugeMode : uint8_t { gmStandard, gmDemo, gmRAMUsed, gmDiskUsed };
enum TQD_GaugeLabelPosition : uint8_t { glpOff, glpBarEdge, glpCentered };

struct TQD_GaugeSettings {
  TQD_GaugeMode Mode = gmStandard;
  int32_t DiskModeDriveIndex = 0;
  TQD_URID URID;
  TQD_DynamicCaptionSource DynamicCaptionSource = dcsValue;
  TQD_TextBackgroundType TextBackground = tbRect;
  bool TextAntialiasing = false;
  bool TextAutoSize = true;
  uint32_t TextAutoSizeMargin = 15;
  TQD_GaugeLabelPosition LabelPosition = glpOff;
  TQD_Orientation Orientation = orRight;
  double MaxValueManual = 0;
  bool ForceGiB = false;
};

struct TQD_Gauge_Values {
  double Pos = 0;
  double Max = 0;
  friend bool operator==(const TQD_Gauge_Values&, const TQD_Gauge_Values&) = default;
};

struct TQD_GaugeColors {
  TColor32 BackgroundStartColor = 0, BackgroundEndColor = 0;
  TColor32 ForegroundStartColor = 0, ForegroundEndColor = 0;
  TColor32 TextColor = 0, TextBGColor = 0;
};

struct TQD_GaugeColors_Str {
  const char* BackgroundStartColor;
  const char* BackgroundEndColor;
  const char* ForegroundStartColor;
  const char* ForegroundEndColor;
  const char* TextColor;
  const char* TextBGColor;
};

#define QD_GAUGE_PRESET(NAME, BGSTART, BGEND, FGSTART, FGEND) \
  inline constexpr TQD_GaugeColors_Str NAME = {BGSTART, BGEND, FGSTART, FGEND, "TX_Color_Default", "TX_BGColor_Default"}
QD_GAUGE_PRESET(GaugeColors_Default, "GA_NoUsageHiColor_Default", "GA_NoUsageLoColor_Default", "GA_UsageLoColor_Default", "GA_UsageHiColor_Default");
QD_GAUGE_PRESET(GaugeColors_RAM, "GA_NoUsageHiColor_Default", "GA_NoUsageLoColor_Default", "GA_UsageLoColor_RAM", "GA_UsageHiColor_RAM");
QD_GAUGE_PRESET(GaugeColors_Usage, "GA_NoUsageHiColor_Default", "GA_NoUsageLoColor_Default", "GA_UsageLoColor_Default", "GA_UsageHiColor_Default");
QD_GAUGE_PRESET(GaugeColors_Power, "GA_NoUsageHiColor_Default", "GA_NoUsageLoColor_Default", "GA_UsageLoColor_Power", "GA_UsageHiColor_Power");
QD_GAUGE_PRESET(GaugeColors_PCore, "GA_NoUsageHiColor_PCore", "GA_NoUsageLoColor_PCore", "GA_UsageLoColor_PCore", "GA_UsageHiColor_PCore");
QD_GAUGE_PRESET(GaugeColors_ECore, "GA_NoUsageHiColor_ECore", "GA_NoUsageLoColor_ECore", "GA_UsageLoColor_ECore", "GA_UsageHiColor_ECore");
QD_GAUGE_PRESET(GaugeColors_Fan, "GA_NoUsageHiColor_Default", "GA_NoUsageLoColor_Default", "GA_UsageLoColor_Fan", "GA_UsageHiColor_Fan");
QD_GAUGE_PRESET(GaugeColors_DiskUsed, "GA_NoUsageHiColor_Default", "GA_NoUsageLoColor_Default", "GA_UsageLoColor_RAM", "GA_UsageHiColor_RAM");
#undef QD_GAUGE_PRESET

// Where the value text of width ACX starts: centred, or beside the bar's tip
// (AScale × APos from the anchored edge), kept inside the gauge.
int GaugeTextX(TQD_GaugeLabelPosition APosition, TQD_Orientation AOrientation, const TRect& R, double AScale,
               double APos, int ACX);

class TQD_Gauge : public TQD_Widget {
 public:
  TQD_Gauge();

  void ApplyColorPreset(const TQD_GaugeColors_Str& AColorPreset);
  bool ManualRepaint() override;

  TQD_GaugeSettings& Settings() { return FSettings; }
  const TQD_GaugeColors& Colors() const { return FColors; }
  const TQD_Gauge_Values& Values() const { return FValues; }
  uint32_t ReadingIndex() const { return FReadingIndex; }
  // The value text as it would be drawn now ("" when none).
  std::string ValueText() const;

  TQD_RandomSource Random = DefaultRandomSource();

 protected:
  void ApplyDefaultPreset() override { ApplyColorPreset(GaugeColors_Default); }
  void RefreshForPaint() override;
  void Paint(TBitmap32& ABuffer, const TRect& R) override;

 private:
  void RefreshValues();

  uint32_t FReadingIndex = 0;
  int FDemoPercent = 0;
  TQD_Gauge_Values FValues;
  TQD_Gauge_Values FLastValues;
  TQD_GaugeSettings FSettings;
  TQD_GaugeColors FColors;
};
