// TQD_NetGraph; see net_graph.h.
#include "widgets/net_graph.h"

#include <algorithm>

#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "collector/value_format.h"

float NetGraphPointY(TQD_NetGraphMode AMode, const TRect& G, double AScale, uint64_t AValue) {
  const double v = AScale * static_cast<double>(AValue);
  return static_cast<float>(AMode == ngmUpload ? G.Bottom - v : v + G.Top - 1);
}

TQD_NetGraph::TQD_NetGraph() = default;

void TQD_NetGraph::ApplyColorPreset(const TQD_NetGraphBGColors_Str& P) {
  if (!FColorTable) return;
  FSettings.BackgroundColors.BackgroundStartColor = FColorTable->GetColor(P.BackgroundStartColor);
  FSettings.BackgroundColors.BackgroundEndColor = FColorTable->GetColor(P.BackgroundEndColor);
}

void TQD_NetGraph::AddGraph(const TQD_GUID& AGUID, const TQD_NetGraphColors_Str& P) {
  TQD_SingleNetGraphData g;
  g.ID = AGUID;
  if (FColorTable) {
    const TQD_ColorTable& T = *FColorTable;
    g.Colors = {T.GetColor(P.LineColor),          T.GetColor(P.FillStartColor),    T.GetColor(P.FillEndColor),
                T.GetColor(P.TextColor),          T.GetColor(P.TextBGColor),       T.GetColor(P.TextColorDisabled),
                T.GetColor(P.TextBGColorDisabled), T.GetColor(P.MaxValueBackground), T.GetColor(P.TextColorMaxValue),
                T.GetColor(P.TextBGColorMaxValue)};
  }
  FSettings.NetGraphs.push_back(std::move(g));
}

const TQD_SingleInterface* TQD_NetGraph::FindInterface(const TQD_GUID& AGUID) const {
  for (const TQD_SingleInterface& nif : FDataLogger->NIFLogger().InterfaceList())
    if (nif.ID == AGUID) return &nif;
  return nullptr;
}

void TQD_NetGraph::TakeUpdate() {
  if (!FDataLogger) return;
  const double now = FDataLogger->LastInternalPollingTime();
  if (now == FLastUpdate) return;
  FLastUpdate = now;
  const bool upload = FSettings.Mode == ngmUpload;
  const auto group = static_cast<uint32_t>(FSettings.DisplayUnit);
  // A poll that leaves every graph's history, scale and captions as they
  // were draws the same pixels: an idle interface's graph is not redrawn.
  bool changed = false;
  FDrawnHistories.resize(FSettings.NetGraphs.size());
  for (size_t k = 0; k < FSettings.NetGraphs.size(); ++k) {
    TQD_SingleNetGraphData& g = FSettings.NetGraphs[k];
    const TQD_SingleInterface* nif = FindInterface(g.ID);
    const TQD_NIF_History* history = nif ? (upload ? &nif->UploadValues : &nif->DownloadValues) : nullptr;
    // The history the graph was last drawn from (none: a flat line).
    TQD_NIF_History& drawn = FDrawnHistories[k];
    if (history ? *history != drawn : !drawn.empty()) {
      changed = true;
      if (history) drawn = *history;  // keeps its storage
      else drawn.clear();
    }
    const uint64_t maxBefore = g.MaxValue;
    FCaptionBefore.assign(g.Caption);
    FMaxCaptionBefore.assign(g.MaxCaption);
    if (!nif || !nif->Enabled) {
      g.Caption = g.MaxCaption = "[DISABLED]";
      g.MaxValue = 0;
    } else {
      const uint64_t v = history->empty() ? 0 : history->back();
      if (FSettings.AutoScaling) {
        uint64_t m = 0;
        for (uint64_t x : nif->UploadValues) m = std::max(m, x);
        for (uint64_t x : nif->DownloadValues) m = std::max(m, x);
        g.MaxValue = m;
      } else {
        g.MaxValue = upload ? nif->UploadBW : nif->DownloadBW;
      }
      // The arrow's own trailing blank and the separator give two blanks.
      g.Caption = std::string(upload ? "\xE2\x96\xB2 " : "\xE2\x96\xBC ") + " " +
                  FormatScaledValue(group, static_cast<int64_t>(v)) + "/s";
      g.MaxCaption = FormatScaledValue(group, static_cast<int64_t>(g.MaxValue)) + "/s";
    }
    changed = changed || g.MaxValue != maxBefore || g.Caption != FCaptionBefore || g.MaxCaption != FMaxCaptionBefore;
  }
  FRepaintNeeded = FRepaintNeeded || changed || FSettings.NetGraphs.empty();
}

bool TQD_NetGraph::ManualRepaint() {
  TakeUpdate();
  return MarkChanged(FRepaintNeeded);
}

void TQD_NetGraph::Paint(TBitmap32& B, const TRect& R) {
  const bool upload = FSettings.Mode == ngmUpload;
  const bool labels = FSettings.LabelPosition == TQD_NetGraphLabelPosition::lgpOn && !FSettings.NetGraphs.empty();
  const TRect S{R.Left, R.Top, R.Width() / 20, R.Bottom};
  const TRect G{labels ? S.Right : R.Left, R.Top, R.Right, R.Bottom};
  const float gl = static_cast<float>(G.Left), gt = static_cast<float>(G.Top);
  const float gr = static_cast<float>(G.Right), gb = static_cast<float>(G.Bottom);

  // 2. Background; the start colour lies where the graph's base is.
  const TQD_NetGraphBGColors& bg = FSettings.BackgroundColors;
  FillPolygonGradient2(B, {0, gb}, {0, 0}, {{gl, gt}, {gr, gt}, {gr, gb}, {gl, gb}},
                       upload ? bg.BackgroundStartColor : bg.BackgroundEndColor,
                       upload ? bg.BackgroundEndColor : bg.BackgroundStartColor);

  // 3. Graphs, later over earlier.
  const uint32_t n = FDataLogger ? FDataLogger->NIFLogger().BufferLen() : 0;
  for (const TQD_SingleNetGraphData& g : FSettings.NetGraphs) {
    const TQD_SingleInterface* nif = FDataLogger ? FindInterface(g.ID) : nullptr;
    const double k = SafeDivide(G.Height(), static_cast<double>(g.MaxValue));
    const double dx = SafeDivide(G.Width(), static_cast<double>(n) - 1);
    FPoints.clear();
    for (uint32_t i = 0; i < n; ++i) {
      uint64_t v = 0;
      if (nif) {
        const TQD_NIF_History& h = upload ? nif->UploadValues : nif->DownloadValues;
        if (i < h.size()) v = h[i];
      }
      const auto x = static_cast<float>(dx * i + G.Left);
      FPoints.push_back({x, NetGraphPointY(FSettings.Mode, G, k, v)});
    }
    const size_t pointCount = FPoints.size();
    FPoints.push_back(upload ? TFloatPoint{gr, gb} : TFloatPoint{gr, gt});
    FPoints.push_back(upload ? TFloatPoint{gl, gb} : TFloatPoint{gl, gt});
    // The presets' Hi colour lies towards the peaks in both directions.
    FillPolygonGradient2(B, {0, gt}, {0, gb}, FPoints, upload ? g.Colors.FillStartColor : g.Colors.FillEndColor,
                         upload ? g.Colors.FillEndColor : g.Colors.FillStartColor);
    FPoints.resize(pointCount);
    B.PenColor = g.Colors.LineColor;
    for (size_t i = 0; i < FPoints.size(); ++i) {
      if (i == 0) B.MoveToF(FPoints[i].X, FPoints[i].Y);
      else B.LineToFS(FPoints[i].X, FPoints[i].Y);
    }
  }

  // 4. Grid lines over the graph area.
  DrawGridLines(B, G, FSettings.GridLines);

  // 5. Scale strip and caption rows.
  if (labels) {
    const auto count = static_cast<int>(FSettings.NetGraphs.size());
    const int h = RoundToInt(static_cast<double>(G.Height()) / (count * 5));
    for (int m = 0; m < count; ++m) {
      const TQD_SingleNetGraphData& g = FSettings.NetGraphs[static_cast<size_t>(m)];
      const TRect cell = upload ? TRect{G.Left + 4, G.Top + h * m, G.Right - 4, G.Top + h * m + h + 1}
                                : TRect{G.Left + 4, G.Bottom - h * m - h - 1, G.Right - 4, G.Bottom - h * m};
      B.FillRectTS(S, g.Colors.MaxValueBackground);
      const TQD_SingleInterface* nif = FDataLogger ? FindInterface(g.ID) : nullptr;
      const bool enabled = nif && nif->Enabled;
      const TColor32 scaleText = enabled ? g.Colors.TextColorMaxValue : g.Colors.TextColorDisabled;
      const TColor32 scaleBG = enabled ? g.Colors.TextBGColorMaxValue : g.Colors.TextBGColorDisabled;
      const TColor32 text = enabled ? g.Colors.TextColor : g.Colors.TextColorDisabled;
      const TColor32 textBG = enabled ? g.Colors.TextBGColor : g.Colors.TextBGColorDisabled;
      if (!g.MaxCaption.empty()) {
        B.Font.Orientation = 900;
        if (FSettings.TextAutoSize) B.Font.SetSize(FitFontSize(B, g.MaxCaption, S, FSettings.TextAutoSizeMargin));
        const TSize ext = B.TextExtent(g.MaxCaption);
        const int x = RoundToInt(S.Width() / 2.0 + S.Left - ext.cy / 2.0);
        const int y = RoundToInt(S.Height() / 2.0 + S.Top + ext.cx / 2.0);
        DrawTextWithBackground(B, S, x, y, g.MaxCaption, scaleText, scaleBG, FSettings.TextBackground,
                               FSettings.TextAntialiasing);
        B.Font.Orientation = 0;
      }
      if (!g.Caption.empty()) {
        if (FSettings.TextAutoSize) B.Font.SetSize(FitFontSize(B, g.Caption, cell, FSettings.TextAutoSizeMargin));
        const int y = RoundToInt(cell.Height() / 2.0 + cell.Top - B.TextExtent(g.Caption).cy / 2.0);
        DrawTextWithBackground(B, cell, cell.Left, y, g.Caption, text, textBG, FSettings.TextBackground,
                               FSettings.TextAntialiasing);
      }
    }
  }

  // 6. Bevel.
  B.RaiseRectTS(R, 10);
}
