// TQD_Label; see label.h.
#include "label.h"

#include "color_table.h"
#include "data_logger.h"
#include "locale_port.h"

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
  if (FSettings.Captions.empty() || !FDataLogger) return;
  const TQD_DataLogger& L = *FDataLogger;
  if (FSettings.Mode == lmStandard) {
    for (TQD_LabelCaption& c : FSettings.Captions) {
      if (c.StaticCaption) continue;
      FScratch = L.FormatValue(L.GetReadingIndex(c.URID), c.DynamicCaptionSource);
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
      const int index = L.GetReadingIndex(first.URID);
      FTemperature = L.GetValue(index, first.DynamicCaptionSource);
      FScratch = L.FormatValue(index, first.DynamicCaptionSource);
      break;
    }
    case lmClock:
      if (FClock) FScratch = CurrentLocale().LongTimeText(FClock->LocalNow());
      break;
    case lmDate:
      if (FClock) FScratch = CurrentLocale().LongDateText(FClock->LocalNow());
      break;
    case lmRAMTotal:
      FScratch = L.FormatRAMTotal();
      break;
    case lmDisk: {
      const int i = FSettings.DiskModeDriveIndex;
      if (i < 0 || i > L.NumLogicalDrives()) break;
      const TQD_DRVMTR_ALogicalDrive& d = L.LogicalDrives()[static_cast<size_t>(i)];
      switch (FSettings.DiskModeValue) {
        case dmLetter: FScratch = d.Letter + ": "; break;
        case dmName: FScratch = d.Name; break;
        case dmLetterAndName: FScratch = d.Letter + ": " + d.Name; break;
        case dmTotalSpace: FScratch = L.FormatDiskTotalSpace(i); break;
        case dmFreeSpace: FScratch = L.FormatDiskFreeSpace(i); break;
        case dmUsedSpace: FScratch = L.FormatDiskUsedSpace(i); break;
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
  if (!FManualRepaint) RefreshCaptions();
}

bool TQD_Label::ManualRepaint() {
  RefreshCaptions();
  if (!FCaptionsChanged) return false;
  FManualRepaint = true;
  Repaint();
  return true;
}

void TQD_Label::Paint(TBitmap32& B, const TRect& R) {
  const float l = static_cast<float>(R.Left), t = static_cast<float>(R.Top);
  const float r = static_cast<float>(R.Right), b = static_cast<float>(R.Bottom);
  const std::vector<TFloatPoint> poly = {{l, t}, {r, t}, {r, b}, {l, b}};
  const TFloatPoint start{0, 0}, end{r, 0};

  // 1. Background.
  if (FSettings.Mode == lmTemperature && FColorTable) {
    const auto& gradient = FColorTable->TemperatureGradientTable();
    const int i = TQD_ColorTable::GetTemperatureColorIdx(FTemperature, FSettings.TemperatureThreshold);
    std::vector<TGradientStop> stops;
    if (i > 0) stops.push_back({0.0f, gradient[static_cast<size_t>(i - 1)]});
    stops.push_back({0.5f, gradient[static_cast<size_t>(i)]});
    if (i < 10) stops.push_back({1.0f, gradient[static_cast<size_t>(i + 1)]});
    B.FillPolygonGradient(poly, start, end, stops);
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
    const int w = RoundToInt(static_cast<double>(R.Width()) / n);
    for (int k = 0; k < n; ++k) {
      const TQD_LabelCaption& c = FSettings.Captions[static_cast<size_t>(k)];
      if (c.Caption.empty()) continue;
      const TRect cell{R.Left + k * w, R.Top, R.Left + k * w + w + 1, R.Bottom};
      if (FSettings.TextAutoSize) B.Font.SetSize(FitFontSize(B, c.Caption, cell, FSettings.TextAutoSizeMargin));
      const TSize ext = B.TextExtent(c.Caption);
      int x = 0;
      switch (c.Position) {
        case lpCentered:
          x = RoundToInt(cell.Width() / 2.0 + cell.Left - ext.cx / 2.0);
          break;
        case lpFlushLeft: {
          const int d = RoundToInt(cell.Width() / 100.0 * 20 + cell.Left);
          x = (d >= cell.Left && cell.Right >= d + ext.cx) ? d : cell.Left;
          break;
        }
        case lpFlushRight:
          x = RoundToInt(cell.Right - ext.cx - cell.Width() / 100.0 * 20);
          if (x < cell.Left || cell.Right < x + ext.cx) x = cell.Right - ext.cx;
          break;
      }
      const int y = RoundToInt(cell.Height() / 2.0 + cell.Top - ext.cy / 2.0);
      DrawTextWithBackground(B, cell, x, y, c.Caption, c.Colors.TextColor, c.Colors.TextBGColor,
                             FSettings.TextBackground, FSettings.TextAntialiasing);
    }
  }
  FManualRepaint = false;
  FCaptionsChanged = false;
}
