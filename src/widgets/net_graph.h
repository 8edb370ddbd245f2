// TQD_NetGraph: the traffic history of network interfaces in one direction.
// Upload graphs grow up from the bottom edge, download graphs hang down from
// the top, so an upload graph above a download graph reads as a mirrored
// pair. A caption row per interface shows the current rate and a strip at the
// left the scale maximum, as vertical text. The history lives in the network
// logger, addressed by the interface's GUID.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/graphics_common.h"
#include "widgets/line_graph.h"
#include "collector/nif_logger.h"
#include "collector/ports.h"
#include "widgets/widget.h"

enum TQD_NetGraphMode : uint8_t { ngmDownload, ngmUpload };
using TQD_NetGraphGridLines = TQD_LineGraphGridLines;
// Scoped: its members share their names with the line graph's label positions.
enum class TQD_NetGraphLabelPosition : uint8_t { lgpOff, lgpOn };

struct TQD_NetGraphColors {
  TColor32 LineColor = 0, FillStartColor = 0, FillEndColor = 0, TextColor = 0, TextBGColor = 0;
  TColor32 TextColorDisabled = 0, TextBGColorDisabled = 0, MaxValueBackground = 0;
  TColor32 TextColorMaxValue = 0, TextBGColorMaxValue = 0;
};
struct TQD_NetGraphColors_Str {
  const char* LineColor;
  const char* FillStartColor;
  const char* FillEndColor;
  const char* TextColor;
  const char* TextBGColor;
  const char* TextColorDisabled;
  const char* TextBGColorDisabled;
  const char* MaxValueBackground;
  const char* TextColorMaxValue;
  const char* TextBGColorMaxValue;
};
struct TQD_NetGraphBGColors {
  TColor32 BackgroundStartColor = 0, BackgroundEndColor = 0;
};
struct TQD_NetGraphBGColors_Str {
  const char* BackgroundStartColor;
  const char* BackgroundEndColor;
};

struct TQD_SingleNetGraphData {
  TQD_GUID ID{};
  std::string Caption;
  std::string MaxCaption;
  uint64_t MaxValue = 0;
  TQD_NetGraphColors Colors;
};
using TQD_AllNetGraphData = std::vector<TQD_SingleNetGraphData>;

struct TQD_NetGraphSettings {
  TQD_NetGraphMode Mode = ngmUpload;
  int32_t DisplayUnit = 3;
  TQD_AllNetGraphData NetGraphs;
  bool AutoScaling = true;
  TQD_TextBackgroundType TextBackground = tbRect;
  bool TextAntialiasing = false;
  bool TextAutoSize = true;
  uint32_t TextAutoSizeMargin = 15;
  TQD_NetGraphBGColors BackgroundColors;
  TQD_NetGraphGridLines GridLines = lglNine;
  TQD_NetGraphLabelPosition LabelPosition = TQD_NetGraphLabelPosition::lgpOff;
};

inline constexpr TQD_NetGraphColors_Str NetGraphColors_Download = {
    "NG_UsageLineColor_Download", "NG_UsageHiColor_Download", "NG_UsageLoColor_Download", "NG_TextColorDownload",
    "NG_TextBGColorDownload", "NG_TextColorDisabled", "NG_TextBGColorDisabled", "NG_MaxValueBG",
    "NG_TextColorMaxValue", "NG_TextBGColorMaxValue"};
inline constexpr TQD_NetGraphColors_Str NetGraphColors_Upload = {
    "NG_UsageLineColor_Upload", "NG_UsageHiColor_Upload", "NG_UsageLoColor_Upload", "NG_TextColorUpload",
    "NG_TextBGColorUpload", "NG_TextColorDisabled", "NG_TextBGColorDisabled", "NG_MaxValueBG",
    "NG_TextColorMaxValue", "NG_TextBGColorMaxValue"};
inline constexpr TQD_NetGraphBGColors_Str NetGraphBGColors_Download = {"NG_NoUsageHiColor_Download", "NG_NoUsageLoColor_Download"};
inline constexpr TQD_NetGraphBGColors_Str NetGraphBGColors_Upload = {"NG_NoUsageHiColor_Upload", "NG_NoUsageLoColor_Upload"};

// The height of a history value in the graph area: upload graphs rise from
// the bottom edge, download graphs hang from one pixel above the top edge.
float NetGraphPointY(TQD_NetGraphMode AMode, const TRect& G, double AScale, uint64_t AValue);

class TQD_NetGraph : public TQD_Widget {
 public:
  TQD_NetGraph();

  void ApplyColorPreset(const TQD_NetGraphBGColors_Str& AColorPreset);
  void AddGraph(const TQD_GUID& AGUID, const TQD_NetGraphColors_Str& AColorPreset);
  int NumGraphs() const { return static_cast<int>(FSettings.NetGraphs.size()); }
  bool ManualRepaint() override;

  TQD_NetGraphSettings& Settings() { return FSettings; }
  TQD_AllNetGraphData& NetGraphs() { return FSettings.NetGraphs; }

 protected:
  void ApplyDefaultPreset() override { ApplyColorPreset(NetGraphBGColors_Upload); }
  void RefreshForPaint() override {
    TakeUpdate();
    FRepaintNeeded = false;
  }
  void Paint(TBitmap32& ABuffer, const TRect& R) override;

 private:
  void TakeUpdate();
  // The interface record, read without creating one (the logger's own
  // lookup appends unknown GUIDs); nullptr when the logger never saw it.
  const TQD_SingleInterface* FindInterface(const TQD_GUID& AGUID) const;

  bool FRepaintNeeded = false;
  double FLastUpdate = 0;
  TQD_NetGraphSettings FSettings;
  std::vector<TFloatPoint> FPoints;
  // Each graph's history as last taken, and scratch for TakeUpdate.
  std::vector<TQD_NIF_History> FDrawnHistories;
  std::string FCaptionBefore, FMaxCaptionBefore;
};
