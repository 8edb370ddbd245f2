// TQD_LineGraph; see line_graph.h.
#include "widgets/line_graph.h"

#include <algorithm>

#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "collector/value_format.h"

namespace {

const std::vector<TColor32> kGridPattern = {0x7F000000, 0x7F7F7F7F};

// Oldest value out at the front, the new one last. False when that left the
// values as they were: all of them were already AValue.
bool Push(TQD_LineGraphValues& AValues, double AValue) {
  if (AValues.empty()) return false;
  const bool flat = std::all_of(AValues.begin(), AValues.end(), [AValue](double v) { return v == AValue; });
  if (flat) return false;
  std::move(AValues.begin() + 1, AValues.end(), AValues.begin());
  AValues.back() = AValue;
  return true;
}

// "" for "-", the short caption when set, else the fallback text; written
// in place so that the caption keeps its storage from sample to sample.
void SetCaptionBase(std::string& ACaption, const std::string& AShortCaption, const std::string& AFallback) {
  if (AShortCaption == "-") ACaption.clear();
  else ACaption.assign(AShortCaption.empty() ? AFallback : AShortCaption);
}

const std::string kRAMUsedCaption = "RAM used";

void AppendValue(std::string& ACaption, const std::string& AValue) {
  if (!ACaption.empty()) ACaption += ": ";
  ACaption += AValue;
}

}  // namespace

int GridLineParts(TQD_LineGraphGridLines AGridLines) {
  switch (AGridLines) {
    case lglOne: return 2;
    case lglThree: return 4;
    case lglNine: return 10;
    default: return 0;
  }
}

void DrawGridLines(TBitmap32& B, const TRect& A, TQD_LineGraphGridLines AGridLines) {
  const int d = GridLineParts(AGridLines);
  if (d == 0) return;
  B.SetStipple(kGridPattern);
  B.StippleStep = 1.0f;
  for (int j = 1; j < d; ++j) {
    const float y = static_cast<float>(A.Height()) / static_cast<float>(d) * static_cast<float>(j) +
                    static_cast<float>(A.Top);
    B.StippleCounter = 0;
    B.LineFSP(static_cast<float>(A.Left), y, static_cast<float>(A.Right), y);
  }
}

TQD_LineGraph::TQD_LineGraph() = default;

void TQD_LineGraph::ApplyColorPreset(const TQD_LineGraphBGColors_Str& P) {
  if (!FColorTable) return;
  FSettings.BackgroundColors.BackgroundStartColor = FColorTable->GetColor(P.BackgroundStartColor);
  FSettings.BackgroundColors.BackgroundEndColor = FColorTable->GetColor(P.BackgroundEndColor);
}

void TQD_LineGraph::AddGraph(const TQD_URID& AURID, TQD_DynamicCaptionSource ASource, int ABufferLength,
                             const TQD_LineGraphColors_Str& P) {
  TQD_SingleLineGraphData g;
  g.URID = AURID;
  g.DynamicCaptionSource = ASource;
  g.Values.assign(static_cast<size_t>(ABufferLength > 0 ? ABufferLength : 20), 0.0);
  if (FColorTable) {
    g.Colors.LineColor = FColorTable->GetColor(P.LineColor);
    g.Colors.FillStartColor = FColorTable->GetColor(P.FillStartColor);
    g.Colors.FillEndColor = FColorTable->GetColor(P.FillEndColor);
    g.Colors.TextBGColor = FColorTable->GetColor(P.TextBGColor);
  }
  FSettings.LineGraphs.push_back(std::move(g));
}

void TQD_LineGraph::TakeSample() {
  if (!FDataLogger) return;
  const TQD_DataLogger& L = *FDataLogger;
  const double now = FSettings.Mode == lgmRAM ? L.LastInternalPollingTime() : L.LastHWiPollingTime();
  if (now == FLastUpdate) return;  // one sample per poll, however often we paint
  FLastUpdate = now;
  auto& graphs = FSettings.LineGraphs;

  // A sample that leaves values, scale and caption of every graph as they
  // were draws the same pixels: a steady reading's graph is not redrawn.
  bool changed = false;
  auto sample = [&](TQD_SingleLineGraphData& g, double AValue, double AMaxValue) {
    changed = Push(g.Values, AValue) || changed;
    changed = changed || g.MaxValue != AMaxValue;
    g.MaxValue = AMaxValue;
  };
  if (FSettings.Mode == lgmDemo && !graphs.empty()) {
    graphs[0].MaxValue = 100;
    Push(graphs[0].Values, Random(50, 100));
    changed = true;
  } else if (graphs.empty()) {
    changed = true;  // nothing to sample; still repaint
  } else if (FSettings.Mode == lgmRAM) {
    TQD_SingleLineGraphData& g = graphs[0];
    const TQD_RAMINFO& ram = L.RAMInfo();
    FCaptionBefore.assign(g.Caption);  // captions are rebuilt in place
    SetCaptionBase(g.Caption, g.ShortCaption, kRAMUsedCaption);
    if (g.ShowValueCaption) AppendValue(g.Caption, L.FormatRAMUsed());
    changed = g.Caption != FCaptionBefore;
    sample(g, static_cast<double>(ram.Total - ram.Available), static_cast<double>(ram.Total));
  } else {
    for (TQD_SingleLineGraphData& g : graphs) {
      const int index = L.GetReadingIndex(g.URID);
      if (index == 0) continue;  // a vanished reading freezes its graph
      const TQD_ReadingsListItem& r = L.ReadingList()[static_cast<size_t>(index)];
      FCaptionBefore.assign(g.Caption);
      SetCaptionBase(g.Caption, g.ShortCaption, r.szLabelUser);  // the user's label, as dcsLabelUser gives it
      if (g.ShowValueCaption) AppendValue(g.Caption, L.FormatValue(index, g.DynamicCaptionSource));
      changed = changed || g.Caption != FCaptionBefore;
      double max = r.ValueMax;
      if (r.szUnit == "%" && max < 100) max = 100;
      if (g.MaxValueManual > 0) max = g.MaxValueManual;
      if (max < r.Value) max = r.Value;
      sample(g, r.Value, max);
    }
  }
  FRepaintNeeded = FRepaintNeeded || changed;
}

bool TQD_LineGraph::ManualRepaint() {
  TakeSample();
  return MarkChanged(FRepaintNeeded);
}

void TQD_LineGraph::Paint(TBitmap32& B, const TRect& R) {
  const float l = static_cast<float>(R.Left), t = static_cast<float>(R.Top);
  const float r = static_cast<float>(R.Right), b = static_cast<float>(R.Bottom);
  const double W = R.Width(), H = R.Height();

  // 1. Background, bottom to top.
  FillPolygonGradient2(B, {0, b}, {0, 0}, {{l, t}, {r, t}, {r, b}, {l, b}},
                       FSettings.BackgroundColors.BackgroundStartColor, FSettings.BackgroundColors.BackgroundEndColor);

  // 2. Graphs: one is filled underneath, several are lines only.
  const bool fill = FSettings.LineGraphs.size() == 1;
  for (const TQD_SingleLineGraphData& g : FSettings.LineGraphs) {
    const size_t n = g.Values.size();
    const double dx = SafeDivide(W, static_cast<double>(n) - 1);
    const double ky = SafeDivide(H, g.MaxValue);
    auto xAt = [&](size_t i) { return static_cast<float>(dx * static_cast<double>(i) + R.Left); };
    auto yAt = [&](size_t i) { return static_cast<float>(R.Bottom - ky * g.Values[i]); };
    if (FSettings.Mode == lgmTemperature) {
      TFloatPoint prev{l, b};
      for (size_t i = 0; i < n; ++i) {
        const TFloatPoint p{xAt(i), yAt(i)};
        const TColor32 c = FColorTable ? FColorTable->GetTemperatureColor(g.Values[i], g.MaxValue) : clFallback32;
        FillPolygonGradient2(B, {0, t}, {0, b}, {prev, p, {p.X, b}, {prev.X, b}}, c, g.Colors.FillEndColor);
        B.PenColor = c;
        if (i == 0) B.MoveToF(p.X, p.Y);
        else B.LineToFS(p.X, p.Y);
        prev = p;
      }
      continue;
    }
    FPoints.clear();
    for (size_t i = 0; i < n; ++i) FPoints.push_back({xAt(i), yAt(i)});
    if (fill) {
      const size_t pointCount = FPoints.size();
      FPoints.push_back({r, b});
      FPoints.push_back({l, b});
      FillPolygonGradient2(B, {0, t}, {0, b}, FPoints, g.Colors.FillStartColor, g.Colors.FillEndColor);
      FPoints.resize(pointCount);
    }
    B.PenColor = g.Colors.LineColor;
    for (size_t i = 0; i < FPoints.size(); ++i) {
      if (i == 0) B.MoveToF(FPoints[i].X, FPoints[i].Y);
      else B.LineToFS(FPoints[i].X, FPoints[i].Y);
    }
  }

  // 3. Grid lines.
  DrawGridLines(B, R, FSettings.GridLines);

  // 4. One caption row per graph.
  const auto count = static_cast<int>(FSettings.LineGraphs.size());
  if (FSettings.LabelPosition == lgpTopCorner && count > 0) {
    const int h = RoundToInt(H / count);
    for (int k = 0; k < count; ++k) {
      const TQD_SingleLineGraphData& g = FSettings.LineGraphs[static_cast<size_t>(k)];
      if (g.Caption.empty()) continue;
      const TRect cell{R.Left + 4, R.Top + k * h, R.Right - 4, R.Top + k * h + h + 1};
      if (FSettings.TextAutoSize) B.Font.SetSize(FitFontSize(B, g.Caption, cell, FSettings.TextAutoSizeMargin));
      const int y = RoundToInt(cell.Height() / 2.0 + cell.Top - B.TextExtent(g.Caption).cy / 2.0);
      DrawTextWithBackground(B, cell, cell.Left, y, g.Caption, g.Colors.LineColor, g.Colors.TextBGColor,
                             FSettings.TextBackground, FSettings.TextAntialiasing);
    }
  }

  // 5. Bevel over everything.
  B.RaiseRectTS(R, 10);
}
