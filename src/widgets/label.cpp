// TQD_Label; see label.h.
#include "widgets/label.h"

#include <algorithm>

#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "collector/locale_port.h"

TRect LabelCaptionCell(const TRect& R, int ACount, int AIndex) {
  const int w = RoundToInt(static_cast<double>(R.Width()) / ACount);
  return {R.Left + AIndex * w, R.Top, R.Left + AIndex * w + w + 1, R.Bottom};
}

int LabelCaptionX(TQD_LabelPosition APosition, const TRect& ACell, int ACX) {
  switch (APosition) {
    case lpFlushLeft: {
      // A fifth in from the left, unless the text would not fit from there.
      const int d = RoundToInt(ACell.Width() / 100.0 * 20 + ACell.Left);
      return (d >= ACell.Left && ACell.Right >= d + ACX) ? d : ACell.Left;
    }
    case lpFlushRight: {
      const int x = RoundToInt(ACell.Right - ACX - ACell.Width() / 100.0 * 20);
      return (x < ACell.Left || ACell.Right < x + ACX) ? ACell.Right - ACX : x;
    }
    case lpCentered:
      break;
  }
  return RoundToInt(ACell.Width() / 2.0 + ACell.Left - ACX / 2.0);
}

void LabelTemperatureStops(const TQD_TemperatureGradientTable& AGradient, int AIndex,
                           std::vector<TGradientStop>& AStops) {
  AStops.clear();
  const auto at = [&](int i) { return AGradient[static_cast<size_t>(i)]; };
  if (AIndex > 0) AStops.push_back({0.0f, at(AIndex - 1)});
  AStops.push_back({0.5f, at(AIndex)});
  if (AIndex < 10) AStops.push_back({1.0f, at(AIndex + 1)});
}

std::vector<TGradientStop> LabelTemperatureStops(const TQD_TemperatureGradientTable& AGradient, int AIndex) {
  std::vector<TGradientStop> stops;
  LabelTemperatureStops(AGradient, AIndex, stops);
  return stops;
}

TQD_Label::TQD_Label() = default;

void TQD_Label::ApplyColorPreset(const TQD_LabelColors_Str& P) {
  if (!FColorTable) return;
  FColors.BackgroundStartColor = FColorTable->GetColor(P.BackgroundStartColor);
  FColors.BackgroundMidColor = FColorTable->GetColor(P.BackgroundMidColor);
  FColors.BackgroundEndColor = FColorTable->GetColor(P.BackgroundEndColor);
}

TQD_LabelCaptionColors TQD_Label::ResolveCaptionColors(const TQD_LabelCaptionColors_Str& C) const {
  // Without a table the lookup's own fallback colour stands in, so the mistake shows.
  if (!FColorTable) return {clFallback32, clFallback32};
  return {FColorTable->GetColor(C.TextColor), FColorTable->GetColor(C.TextBGColor)};
}

void TQD_Label::AddCaption(const std::string& ACaption, const TQD_LabelCaptionColors_Str& AColors) {
  TQD_LabelCaption c;
  c.StaticCaption = true;
  c.Caption = ACaption;
  c.Colors = ResolveCaptionColors(AColors);
  FSettings.Captions.push_back(std::move(c));
  FCaptionsChanged = true;
}

void TQD_Label::AddCaption(const TQD_URID& AURID, TQD_DynamicCaptionSource ASource,
                           const TQD_LabelCaptionColors_Str& AColors) {
  TQD_LabelCaption c;
  c.URID = AURID;
  c.DynamicCaptionSource = ASource;
  c.Colors = ResolveCaptionColors(AColors);
  FSettings.Captions.push_back(std::move(c));
  FCaptionsChanged = true;
}

void TQD_Label::RefreshCaptions() {
  if (FSettings.Captions.empty()) return;
  // Clock and date labels need only the clock; every other mode the data logger.
  const bool timeMode = FSettings.Mode == lmClock || FSettings.Mode == lmDate;
  if (timeMode ? !FClock : !FDataLogger) return;
  const TQD_DataLogger* L = FDataLogger;
  if (FSettings.Mode == lmStandard) {
    for (TQD_LabelCaption& c : FSettings.Captions) {
      if (c.StaticCaption) continue;
      FScratch = L->FormatValue(L->GetReadingIndex(c.URID), c.DynamicCaptionSource);
      if (FScratch != c.Caption) {
        c.Caption.swap(FScratch);
        FCaptionsChanged = true;
      }
    }
    return;
  }
  TQD_LabelCaption& first = FSettings.Captions.front();
  FScratch.clear();
  switch (FSettings.Mode) {
    case lmTemperature: {
      const int index = L->GetReadingIndex(first.URID);
      FTemperature = L->GetValue(index, first.DynamicCaptionSource);
      FScratch = L->FormatValue(index, first.DynamicCaptionSource);
      break;
    }
    case lmClock:
      FScratch = CurrentLocale().LongTimeText(FClock->LocalNow());
      break;
    case lmDate:
      FScratch = CurrentLocale().LongDateText(FClock->LocalNow());
      break;
    case lmRAMTotal:
      FScratch = L->FormatRAMTotal();
      break;
    case lmDisk: {
      const int i = FSettings.DiskModeDriveIndex;
      if (i < 0 || i > L->NumLogicalDrives()) break;
      const TQD_DRVMTR_ALogicalDrive& d = L->LogicalDrives()[static_cast<size_t>(i)];
      // The drive's root path is "C:\"; the label shows its letter, "C: ".
      const std::string_view letter = std::string_view(d.Letter).substr(0, d.Letter.find(':'));
      switch (FSettings.DiskModeValue) {
        case dmLetter: FScratch.assign(letter).append(": "); break;
        case dmName: FScratch = d.Name; break;
        case dmLetterAndName: FScratch.assign(letter).append(": ").append(d.Name); break;
        case dmTotalSpace: FScratch = L->FormatDiskTotalSpace(i); break;
        case dmFreeSpace: FScratch = L->FormatDiskFreeSpace(i); break;
        case dmUsedSpace: FScratch = L->FormatDiskUsedSpace(i); break;
      }
      break;
    }
    case lmStandard:
      break;
  }
  if (FScratch != first.Caption) {
    first.Caption.swap(FScratch);
    FCaptionsChanged = true;
  }
}

void TQD_Label::RefreshForPaint() {
  RefreshCaptions();
  FCaptionsChanged = false;
}

bool TQD_Label::ManualRepaint() {
  RefreshCaptions();
  return MarkChanged(FCaptionsChanged);
}

void TQD_Label::Paint(TBitmap32& B, const TRect& R) {
  const float l = static_cast<float>(R.Left), t = static_cast<float>(R.Top);
  const float r = static_cast<float>(R.Right), b = static_cast<float>(R.Bottom);
  std::vector<TFloatPoint>& poly = FPolygon;
  poly.assign({{l, t}, {r, t}, {r, b}, {l, b}});
  const TFloatPoint start{0, 0}, end{r, 0};

  // 1. Background.
  if (FSettings.Mode == lmTemperature && FColorTable) {
    const int i = TQD_ColorTable::GetTemperatureColorIdx(FTemperature, FSettings.TemperatureThreshold);
    LabelTemperatureStops(FColorTable->TemperatureGradientTable(), i, FStops);
    FillGradient(B, poly, start, end, FStops);
  } else {
    const TQD_LabelColors& c = FColors;
    const bool right = FSettings.Orientation == orRight;
    switch (FSettings.Gradient) {
      case gtStandard:
        FillPolygonGradient2(B, start, end, poly, right ? c.BackgroundStartColor : c.BackgroundEndColor,
                             right ? c.BackgroundEndColor : c.BackgroundStartColor);
        break;
      case gtDouble:
        FillPolygonGradient3(B, start, end, poly, right ? c.BackgroundStartColor : c.BackgroundEndColor,
                             right ? c.BackgroundEndColor : c.BackgroundStartColor,
                             right ? c.BackgroundStartColor : c.BackgroundEndColor);
        break;
      case gtTriple:
        FillPolygonGradient3(B, start, end, poly, right ? c.BackgroundStartColor : c.BackgroundEndColor,
                             c.BackgroundMidColor, right ? c.BackgroundEndColor : c.BackgroundStartColor);
        break;
      case gtOff:
        B.FillRectS(R, c.BackgroundEndColor);
        break;
    }
  }

  // 2. Border.
  if (FSettings.Mode == lmTemperature) {
    B.FrameRectTS(R, 0x7F7F7F7F);
  } else {
    switch (FSettings.Borders) {
      case lbAll: B.RaiseRectTS(R, 10); break;
      case lbNoLeft: DrawBevel(B, R, false, true, true, true, 10); break;
      case lbNoTop: DrawBevel(B, R, true, false, true, true, 10); break;
      case lbNoRight: DrawBevel(B, R, true, true, false, true, 10); break;
      case lbNoBottom: DrawBevel(B, R, true, true, true, false, 10); break;
      case lbNoTopNoBottom: DrawBevel(B, R, true, false, true, false, 10); break;
      case lbNone: break;
    }
  }

  // 3. Captions side by side, each cell overlapping the next by one pixel.
  const auto n = static_cast<int>(FSettings.Captions.size());
  if (n > 0) {
    for (int k = 0; k < n; ++k) {
      const TQD_LabelCaption& c = FSettings.Captions[static_cast<size_t>(k)];
      if (c.Caption.empty()) continue;
      const TRect cell = LabelCaptionCell(R, n, k);
      if (FSettings.TextAutoSize) B.Font.SetSize(FitFontSize(B, c.Caption, cell, FSettings.TextAutoSizeMargin));
      const TSize ext = B.TextExtent(c.Caption);
      const int x = LabelCaptionX(c.Position, cell, ext.cx);
      const int y = RoundToInt(cell.Height() / 2.0 + cell.Top - ext.cy / 2.0);
      DrawTextWithBackground(B, cell, x, y, c.Caption, c.Colors.TextColor, c.Colors.TextBGColor,
                             FSettings.TextBackground, FSettings.TextAntialiasing);
    }
  }
}
