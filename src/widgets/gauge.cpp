// TQD_Gauge; see gauge.h.
#include "widgets/gauge.h"

#include <cstring>

#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "collector/units.h"
#include "collector/value_format.h"

namespace {

// The tick marks' two-entry stipple: dark and light half-transparent grey.
const std::vector<TColor32> kTickPattern = {0x7F000000, 0x7F7F7F7F};

}  // namespace

int GaugeTextX(TQD_GaugeLabelPosition APosition, TQD_Orientation AOrientation, const TRect& R, double AScale,
               double APos, int ACX) {
  if (APosition == glpCentered) return RoundToInt(R.Width() / 2.0 + R.Left - ACX / 2.0);
  if (AOrientation == orRight) {
    // The text ends 7 pixels left of the tip, but never starts before x = 5.
    const int x = RoundToInt(AScale * APos - ACX - 8 + 1);
    return x < 5 ? 5 : x;
  }
  const int x = RoundToInt(R.Right - AScale * APos + 8 - 1);
  return R.Right < x + ACX + 5 ? R.Right - ACX - 5 : x;
}

TQD_Gauge::TQD_Gauge() = default;

void TQD_Gauge::ApplyColorPreset(const TQD_GaugeColors_Str& P) {
  if (!FColorTable) return;
  FColors.BackgroundStartColor = FColorTable->GetColor(P.BackgroundStartColor);
  FColors.BackgroundEndColor = FColorTable->GetColor(P.BackgroundEndColor);
  FColors.ForegroundStartColor = FColorTable->GetColor(P.ForegroundStartColor);
  FColors.ForegroundEndColor = FColorTable->GetColor(P.ForegroundEndColor);
  FColors.TextColor = FColorTable->GetColor(P.TextColor);
  FColors.TextBGColor = FColorTable->GetColor(P.TextBGColor);
}

void TQD_Gauge::RefreshValues() {
  // A demo bar jumps at every refresh, and shows the same length however often it is drawn.
  if (FSettings.Mode == gmDemo) FDemoPercent = Random(0, 100);
  if (!FDataLogger) return;
  const TQD_DataLogger& L = *FDataLogger;
  switch (FSettings.Mode) {
    case gmRAMUsed:
      FReadingIndex = 0;
      FValues.Pos = static_cast<double>(L.RAMInfo().Total - L.RAMInfo().Available);
      FValues.Max = static_cast<double>(L.RAMInfo().Total);
      return;
    case gmDiskUsed:
      FReadingIndex = 0;
      if (FSettings.DiskModeDriveIndex >= 0 && FSettings.DiskModeDriveIndex <= L.NumLogicalDrives()) {
        const TQD_DRVMTR_ALogicalDrive& d = L.LogicalDrives()[static_cast<size_t>(FSettings.DiskModeDriveIndex)];
        FValues.Pos = static_cast<double>(d.UsedSpace);
        FValues.Max = static_cast<double>(d.TotalSpace);
      } else {
        FValues = {0, 0};
      }
      return;
    case gmStandard:
    case gmDemo:
      break;
  }
  const int index = L.GetReadingIndex(FSettings.URID);
  FReadingIndex = static_cast<uint32_t>(index);
  if (index == 0) {
    FValues.Pos = 0;
    FValues.Max = FSettings.MaxValueManual > 0 ? FSettings.MaxValueManual : 0;
    return;
  }
  const TQD_ReadingsListItem& r = L.ReadingList()[static_cast<size_t>(index)];
  FValues.Pos = r.Value;
  FValues.Max = r.ValueMax;
  if (r.szUnit == "%" && FValues.Max < 100) FValues.Max = 100;
  if (FSettings.MaxValueManual > 0) FValues.Max = FSettings.MaxValueManual;
  if (FValues.Max < FValues.Pos) FValues.Max = FValues.Pos;
}

void TQD_Gauge::RefreshForPaint() { RefreshValues(); }

bool TQD_Gauge::ManualRepaint() {
  FLastValues = FValues;
  RefreshValues();
  bool changed = FSettings.Mode == gmDemo || !(FValues == FLastValues);
  return MarkChanged(changed);
}

std::string TQD_Gauge::ValueText() const {
  if (!FDataLogger) return {};
  const TQD_DataLogger& L = *FDataLogger;
  switch (FSettings.Mode) {
    case gmRAMUsed:
      return L.FormatRAMUsed();
    case gmDiskUsed:
      if (FSettings.DiskModeDriveIndex <= L.NumLogicalDrives())
        return L.FormatDiskUsedSpace(FSettings.DiskModeDriveIndex);
      return {};
    default:
      break;
  }
  const int index = static_cast<int>(FReadingIndex);
  if (FSettings.ForceGiB && L.GetUnit(index) == unitMB)
    return FormatFixed(L.GetValue(index, FSettings.DynamicCaptionSource) / 1024, 2) + " GiB";
  return L.FormatValue(index, FSettings.DynamicCaptionSource);
}

void TQD_Gauge::Paint(TBitmap32& B, const TRect& R) {
  const float right = static_cast<float>(R.Right), left = static_cast<float>(R.Left);
  const float top = static_cast<float>(R.Top), bottom = static_cast<float>(R.Bottom);
  const double k = SafeDivide(R.Right, FValues.Max);
  const double length = FSettings.Mode == gmDemo ? R.Right / 100.0 * FDemoPercent : k * FValues.Pos;

  // 1-3. Background under the whole gauge, then the bar over it: the tip's
  // partly covered pixel mixes the two by its coverage. The bar's gradient
  // spans exactly the bar, so its tip always shows the end colour.
  const auto whole = {TFloatPoint{left, top}, TFloatPoint{right, top}, TFloatPoint{right, bottom},
                      TFloatPoint{left, bottom}};
  if (FSettings.Orientation == orRight) {
    const auto x = static_cast<float>(length);
    FillPolygonGradient2(B, {0, 0}, {right, 0}, whole, FColors.BackgroundStartColor, FColors.BackgroundEndColor);
    FillPolygonGradient2(B, {0, 0}, {x, 0}, {{left, top}, {x, top}, {x, bottom}, {left, bottom}},
                         FColors.ForegroundStartColor, FColors.ForegroundEndColor);
  } else {
    const auto x = static_cast<float>(R.Right - length);
    FillPolygonGradient2(B, {right, 0}, {0, 0}, whole, FColors.BackgroundStartColor, FColors.BackgroundEndColor);
    FillPolygonGradient2(B, {right - 1, 0}, {x - 1, 0}, {{x, top}, {right, top}, {right, bottom}, {x, bottom}},
                         FColors.ForegroundStartColor, FColors.ForegroundEndColor);
  }

  // 4. Bevel.
  B.RaiseRectTS(R, 10);

  // 5. Tick marks at every tenth, an eighth of the height long, top and bottom.
  B.SetStipple(kTickPattern);
  B.StippleStep = 1.0f;
  const float tick = static_cast<float>(R.Height()) / 8.0f;
  for (int i = 1; i <= 9; ++i) {
    const float x = static_cast<float>(R.Width()) / 10.0f * static_cast<float>(i) + left;
    B.StippleCounter = 0;
    B.LineFSP(x, top, x, top + tick);
    B.StippleCounter = 0;
    B.LineFSP(x, bottom - 1, x, bottom - 1 - tick);
  }

  // 6. Value text.
  if (FSettings.LabelPosition != glpOff) {
    const std::string text = ValueText();
    if (!text.empty()) {
      if (FSettings.TextAutoSize) B.Font.SetSize(FitFontSize(B, text, R, FSettings.TextAutoSizeMargin));
      const TSize ext = B.TextExtent(text);
      const int y = RoundToInt(R.Height() / 2.0 - ext.cy / 2.0);
      const int x = GaugeTextX(FSettings.LabelPosition, FSettings.Orientation, R, k, FValues.Pos, ext.cx);
      DrawTextWithBackground(B, R, x, y, text, FColors.TextColor, FColors.TextBGColor, FSettings.TextBackground,
                             FSettings.TextAntialiasing);
    }
  }
}
