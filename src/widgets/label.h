// TQD_Label: the text cell of a monitor window. A gradient background with a
// bevelled border showing captions side by side; each caption is fixed text
// or a reading's formatted value. Special modes show the clock, the date, the
// total RAM, a drive property, or a temperature that colours the background
// along the temperature gradient.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/color_table.h"
#include "render/graphics_common.h"
#include "collector/readings.h"
#include "collector/urid.h"
#include "widgets/widget.h"

class TQD_LocalePort;
class TQD_Clock;

enum TQD_LabelMode : uint8_t { lmStandard, lmTemperature, lmClock, lmDate, lmRAMTotal, lmDisk };
enum TQD_LabelDiskModeValue : uint8_t { dmLetter, dmName, dmLetterAndName, dmTotalSpace, dmFreeSpace, dmUsedSpace };
enum TQD_LabelPosition : uint8_t { lpCentered, lpFlushLeft, lpFlushRight };
enum TQD_LabelBorders : uint8_t { lbAll, lbNoLeft, lbNoTop, lbNoRight, lbNoBottom, lbNoTopNoBottom, lbNone };

struct TQD_LabelCaptionColors {
  TColor32 TextColor = 0;
  TColor32 TextBGColor = 0;
};
struct TQD_LabelCaptionColors_Str {
  const char* TextColor;
  const char* TextBGColor;
};

struct TQD_LabelCaption {
  TQD_URID URID;
  TQD_DynamicCaptionSource DynamicCaptionSource = dcsValue;
  bool StaticCaption = false;
  std::string Caption;
  TQD_LabelCaptionColors Colors;
  TQD_LabelPosition Position = lpCentered;
};
using TQD_LabelCaptions = std::vector<TQD_LabelCaption>;

struct TQD_LabelSettings {
  TQD_LabelMode Mode = lmStandard;
  int32_t DiskModeDriveIndex = 0;
  TQD_LabelDiskModeValue DiskModeValue = dmLetter;
  TQD_LabelCaptions Captions;
  TQD_TextBackgroundType TextBackground = tbOff;
  bool TextAntialiasing = false;
  bool TextAutoSize = true;
  uint32_t TextAutoSizeMargin = 15;
  TQD_LabelBorders Borders = lbAll;
  TQD_GradientType Gradient = gtOff;
  TQD_Orientation Orientation = orRight;
  double TemperatureThreshold = 100.0;
};

struct TQD_LabelColors {
  TColor32 BackgroundStartColor = 0, BackgroundMidColor = 0, BackgroundEndColor = 0;
};
struct TQD_LabelColors_Str {
  const char* BackgroundStartColor;
  const char* BackgroundMidColor;  // "" where the mid colour is never drawn
  const char* BackgroundEndColor;
};

inline constexpr TQD_LabelColors_Str LabelColors_Default = {"LB_BkGrLoColor_Default", "LB_BkGrMidColor_Default", "LB_BkGrHiColor_Default"};
inline constexpr TQD_LabelColors_Str LabelColors_Dark = {"LB_BkGrLoColor_Dark", "", "LB_BkGrHiColor_Dark"};
inline constexpr TQD_LabelColors_Str LabelColors_Black = {"LB_BkGrLoColor_Black", "", "LB_BkGrHiColor_Black"};
inline constexpr TQD_LabelColors_Str LabelColors_Clock = {"LB_BkGrLoColor_Clock", "", "LB_BkGrHiColor_Clock"};
inline constexpr TQD_LabelColors_Str LabelColors_Date = {"LB_BkGrLoColor_Date", "", "LB_BkGrHiColor_Date"};
inline constexpr TQD_LabelColors_Str LabelColors_PCore = {"LB_PCoreLoColor_Dark", "", "LB_PCoreHiColor_Dark"};
inline constexpr TQD_LabelColors_Str LabelColors_ECore = {"LB_ECoreLoColor_Dark", "", "LB_ECoreHiColor_Dark"};
inline constexpr TQD_LabelColors_Str LabelColors_IntelBlue = {"LB_BkGrLoColor_Default", "", "Intel_Blue"};
inline constexpr TQD_LabelColors_Str LabelColors_IntelBlueDark = {"LB_BkGrLoColor_Default", "", "Intel_Blue_Dark"};
inline constexpr TQD_LabelColors_Str LabelColors_AMDRed = {"LB_BkGrLoColor_Default", "", "AMD_Red"};
inline constexpr TQD_LabelColors_Str LabelColors_AMDRedDark = {"LB_BkGrLoColor_Default", "", "AMD_Red_Dark"};
inline constexpr TQD_LabelColors_Str LabelColors_NVIDIAGreen = {"LB_BkGrLoColor_Default", "", "NVIDIA_Green"};
inline constexpr TQD_LabelColors_Str LabelColors_NVIDIAGreenDark = {"LB_BkGrLoColor_Default", "", "NVIDIA_Green_Dark"};
inline constexpr TQD_LabelColors_Str LabelColors_Drives = {"LB_BkGrLoColor_Drives", "LB_BkGrMidColor_Drives", "LB_BkGrHiColor_Drives"};
inline constexpr TQD_LabelColors_Str LabelColors_DrivesLo = {"LB_BkGrLoColor_Default", "LB_BkGrMidColor_Default", "LB_BkGrLoColor_Drives"};
inline constexpr TQD_LabelColors_Str LabelColors_DrivesHi = {"LB_BkGrLoColor_Default", "LB_BkGrMidColor_Default", "LB_BkGrHiColor_Drives"};
inline constexpr TQD_LabelColors_Str LabelColors_Network = {"LB_BkGrLoColor_Network", "LB_BkGrMidColor_Network", "LB_BkGrHiColor_Network"};
inline constexpr TQD_LabelColors_Str LabelColors_Error = {"LB_BkGrLoColor_Error", "", "LB_BkGrHiColor_Error"};

inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Default = {"TX_Color_Default", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Dark = {"TX_Color_Dark", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Darkest = {"TX_Color_Darkest", "TX_BGColor_Lighter"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Power = {"TX_Color_Power", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Voltage = {"TX_Color_Voltage", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Dark2 = {"TX_Color_Dark", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Darker = {"TX_Color_Darker", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_IntelRed = {"Intel_Red", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_IntelBlue = {"Intel_Blue", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_AMDRed = {"AMD_Red", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_NVIDIAGreen = {"NVIDIA_Green", "TX_BGColor_Default"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Darkest2 = {"TX_Color_Darkest", "TX_BGColor_Lighter"};
inline constexpr TQD_LabelCaptionColors_Str CaptionColors_Error = {"TX_Color_Error", "TX_BGColor_Default"};

// Caption k of n in the client rect: equal columns, each one pixel wider so
// neighbours overlap by a pixel.
TRect LabelCaptionCell(const TRect& R, int ACount, int AIndex);
// Where a caption of width ACX starts in its cell.
int LabelCaptionX(TQD_LabelPosition APosition, const TRect& ACell, int ACX);
// The background stops of a temperature label at gradient step AIndex: the
// step at the middle, its neighbours (where they exist) at the ends.
std::vector<TGradientStop> LabelTemperatureStops(const TQD_TemperatureGradientTable& AGradient, int AIndex);
// The same into AStops, reusing its storage.
void LabelTemperatureStops(const TQD_TemperatureGradientTable& AGradient, int AIndex,
                           std::vector<TGradientStop>& AStops);

class TQD_Label : public TQD_Widget {
 public:
  TQD_Label();

  void ApplyColorPreset(const TQD_LabelColors_Str& AColorPreset);
  void AddCaption(const std::string& ACaption, const TQD_LabelCaptionColors_Str& AColors = CaptionColors_Default);
  void AddCaption(const TQD_URID& AURID, TQD_DynamicCaptionSource ASource,
                  const TQD_LabelCaptionColors_Str& AColors = CaptionColors_Default);
  bool ManualRepaint() override;

  TQD_LabelSettings& Settings() { return FSettings; }
  TQD_LabelColors& Colors() { return FColors; }
  double Temperature() const { return FTemperature; }
  // Values above 0 are kept; anything else becomes 100.
  void SetTemperatureThreshold(double AValue) { FSettings.TemperatureThreshold = AValue > 0 ? AValue : 100.0; }
  // Where clock and date modes read the time (the data logger has no clock).
  void SetClock(TQD_Clock* AClock) { FClock = AClock; }

 protected:
  void ApplyDefaultPreset() override { ApplyColorPreset(LabelColors_Default); }
  void RefreshForPaint() override;
  void Paint(TBitmap32& ABuffer, const TRect& R) override;

 private:
  void RefreshCaptions();
  TQD_LabelCaptionColors ResolveCaptionColors(const TQD_LabelCaptionColors_Str& AColors) const;

  double FTemperature = 0;
  bool FCaptionsChanged = false;
  TQD_LabelSettings FSettings;
  TQD_LabelColors FColors;
  TQD_Clock* FClock = nullptr;
  std::string FScratch;
  std::vector<TFloatPoint> FPolygon;  // paint scratch, reused
  std::vector<TGradientStop> FStops;
};
