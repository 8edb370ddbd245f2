// Full redraws of every widget kind at its usual cell sizes, and of a whole
// monitor window, fed by a built-in profile. Each scene is measured three
// times: our Repaint() and drawing; the same picture drawn with cairo (same gradients,
// polygons, anti-aliased lines, bevel lines, text at a similar size); and
// the floor, one memset plus one blend pass over the same pixels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench_report.h"
#include "sim/block_writer.h"
#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "monitors/grid_container.h"
#include "sim/profile_machine.h"
#include "sim/profiles.h"
#include "settings/settings.h"

#ifdef QUENDAL_BENCH_CAIRO
#include <cairo.h>
#endif

namespace {

// The polls before measuring: enough to fill the longest history (180).
constexpr int kWarmupPolls = 200;

// Every scene's widgets, fed by the same profile; built once, on first use.
struct TWorld {
  TProfileMachine Machine{"intel-hybrid"};
  TQD_DataLogger* Logger = &Machine.Logger();
  TQD_ColorTable Colors;
  TQD_Settings Settings;
  TQD_Label LabelSmall, LabelWide;
  TQD_Gauge Gauge;
  TQD_LineGraph GraphSmall, GraphWide;
  TQD_NetGraph Net;
  std::unique_ptr<TQD_GridContainer> Grid;

  TWorld() {
    Settings.FontAntialiasing.Value = true;
    const TQD_CPUMTR_ACPU& cpu = Logger->CPUs().at(1);

    Setup(LabelSmall, 54, 22);
    LabelSmall.Settings().Gradient = gtStandard;
    LabelSmall.Settings().TextAntialiasing = true;
    LabelSmall.AddCaption(cpu.Temperature, dcsValue);
    Setup(LabelWide, 540, 22);
    LabelWide.ApplyColorPreset(LabelColors_IntelBlue);
    LabelWide.Settings().Gradient = gtTriple;
    LabelWide.Settings().TextAntialiasing = true;
    LabelWide.AddCaption("Package: " + Machine.Profile.Name);
    Setup(Gauge, 162, 22);
    Gauge.Settings().URID = cpu.Usage;
    Gauge.Settings().LabelPosition = glpBarEdge;
    Gauge.Settings().TextAntialiasing = true;
    Setup(GraphSmall, 216, 22);
    GraphSmall.AddGraph(cpu.Usage, dcsValue, 80, LineGraphColors_Usage);
    Setup(GraphWide, 540, 110);
    GraphWide.AddGraph(cpu.Usage, dcsValue, 180, LineGraphColors_Usage);
    GraphWide.Settings().LabelPosition = lgpTopCorner;
    GraphWide.Settings().TextAntialiasing = true;
    GraphWide.LineGraphs()[0].ShowValueCaption = true;
    Setup(Net, 540, 110);
    Net.Settings().LabelPosition = TQD_NetGraphLabelPosition::lgpOn;
    Net.Settings().TextAntialiasing = true;
    Net.AddGraph(MakeGuid(1), NetGraphColors_Upload);
    BuildGrid(cpu);

    for (int i = 1; i <= kWarmupPolls; ++i) {
      Machine.Poll(i);
      GraphSmall.ManualRepaint();
      GraphWide.ManualRepaint();
      for (TQD_LineGraph* g : Grid->LineGraphs()) g->ManualRepaint();
    }
    // Drawn once, so that the texts' sizes are settled before cairo reads them.
    for (TQD_Widget* w : std::initializer_list<TQD_Widget*>{&LabelSmall, &LabelWide, &Gauge, &GraphSmall, &GraphWide, &Net}) {
      w->Repaint();
      w->Draw();
    }
    Grid->RepaintAll();
    TBitmap32 frame(540, 700);
    Grid->RenderTo(frame);
  }

  void Setup(TQD_Widget& W, int AWidth, int AHeight) {
    W.SetColorTable(&Colors);
    W.SetDataLogger(Logger);
    W.SetBoundsRect({0, 0, AWidth, AHeight});
  }


  // A 540×700 window: labels beside gauges, line graphs, label pairs, a
  // network graph pair, divider rows between the groups.
  void BuildGrid(const TQD_CPUMTR_ACPU& cpu) {
    Grid = std::make_unique<TQD_GridContainer>(&Settings);
    TQD_GridContainer& g = *Grid;
    g.Font.Height = -12;
    g.SetColorTable(&Colors);
    g.SetDataLogger(Logger);
    g.StartUpdating();
    g.ResetGrid();
    g.AddRow(rtStandard);
    TQD_Label& title = g.AddLabel(10);
    title.ApplyColorPreset(LabelColors_IntelBlue);
    title.Settings().Gradient = gtStandard;
    title.AddCaption("Monitor: " + Machine.Profile.Name);
    g.AddDividerRow();
    for (int i = 0; i < 8; ++i) {
      g.AddRow(rtStandard);
      TQD_Label& name = g.AddLabel(3);
      name.Settings().Gradient = gtTriple;
      name.AddCaption("Core " + std::to_string(i));
      TQD_Gauge& gauge = g.AddGauge(7);
      gauge.Settings().URID = cpu.Usage;
      gauge.Settings().LabelPosition = glpCentered;
    }
    g.AddDividerRowAlt();
    g.AddRows(rtStandard, 3);
    g.AddLineGraph(5, 3).AddGraph(cpu.Usage, dcsValue, 80, LineGraphColors_Usage);
    g.AddLineGraph(5, 3).AddGraph(cpu.PackagePower, dcsValue, 80, LineGraphColors_Power);
    g.AddRows(rtStandard, 3);
    TQD_LineGraph& wide = g.AddLineGraph(10, 3);
    wide.AddGraph(cpu.Usage, dcsValue, 180, LineGraphColors_Usage);
    wide.Settings().LabelPosition = lgpTopCorner;
    wide.LineGraphs()[0].ShowValueCaption = true;
    g.AddDividerRow();
    for (int i = 0; i < 4; ++i) {
      g.AddRow(rtStandard);
      TQD_Label& a = g.AddLabel(5);
      a.Settings().Gradient = gtStandard;
      a.AddCaption(cpu.Temperature, dcsValueMin, CaptionColors_Dark);
      a.AddCaption(cpu.Temperature, dcsValueMax, CaptionColors_Power);
      TQD_Label& b = g.AddLabel(5);
      b.Settings().Gradient = gtDouble;
      b.AddCaption(cpu.PackagePower, dcsValue);
    }
    g.AddDividerRow();
    g.AddRows(rtStandard, 6);
    TQD_NetGraph& up = g.AddNetGraph(10, 3);
    up.Settings().LabelPosition = TQD_NetGraphLabelPosition::lgpOn;
    up.AddGraph(MakeGuid(1), NetGraphColors_Upload);
    TQD_NetGraph& down = g.AddNetGraph(10, 3);
    down.Settings().Mode = ngmDownload;
    down.ApplyColorPreset(NetGraphBGColors_Download);
    down.Settings().LabelPosition = TQD_NetGraphLabelPosition::lgpOn;
    down.AddGraph(MakeGuid(1), NetGraphColors_Download);
    g.AddDividerRow();
    for (int i = 0; i < 5; ++i) {
      g.AddRow(rtStandard);
      g.AddLabel(2).AddCaption("Fan " + std::to_string(i));
      TQD_Gauge& a = g.AddGauge(3);
      a.ApplyColorPreset(GaugeColors_Fan);
      a.Settings().URID = cpu.Usage;
      g.AddLabel(2).AddCaption("Pwr " + std::to_string(i));
      TQD_Gauge& b = g.AddGauge(3);
      b.ApplyColorPreset(GaugeColors_Power);
      b.Settings().URID = cpu.PackagePower;
      b.Settings().Orientation = orLeft;
    }
    g.UpdateGridDimensions();
    g.SetClientSize(540, 700);
    g.StopUpdating();
  }
};

TWorld& World() {
  static TWorld world;
  return world;
}

// ---- The floor: write every pixel once, then blend a colour over each.

void FloorPass(std::vector<uint32_t>& APixels) {
  std::memset(APixels.data(), 0xFF, APixels.size() * sizeof(uint32_t));
  // Source-over onto opaque pixels, two channels per multiply, /256 for /255:
  // the cheapest blend worth the name.
  constexpr uint32_t color = 0x80336699, a = color >> 24, na = 256 - a;
  constexpr uint32_t rb = (color & 0xFF00FF) * a, g = (color & 0x00FF00) * a;
  for (uint32_t& p : APixels) {
    const uint32_t prb = ((p & 0xFF00FF) * na + rb) >> 8 & 0xFF00FF;
    const uint32_t pg = ((p & 0x00FF00) * na + g) >> 8 & 0x00FF00;
    p = 0xFF000000 | prb | pg;
  }
}

#ifdef QUENDAL_BENCH_CAIRO
// ---- The same pictures with cairo.

void SetColor(cairo_t* cr, TColor32 C) {
  cairo_set_source_rgba(cr, RedComponent(C) / 255.0, GreenComponent(C) / 255.0, BlueComponent(C) / 255.0,
                        AlphaComponent(C) / 255.0);
}

struct TStop {
  double Position;
  TColor32 Color;
};

cairo_pattern_t* Linear(double X0, double Y0, double X1, double Y1, std::initializer_list<TStop> AStops) {
  cairo_pattern_t* p = cairo_pattern_create_linear(X0, Y0, X1, Y1);
  for (const TStop& s : AStops)
    cairo_pattern_add_color_stop_rgba(p, s.Position, RedComponent(s.Color) / 255.0, GreenComponent(s.Color) / 255.0,
                                      BlueComponent(s.Color) / 255.0, AlphaComponent(s.Color) / 255.0);
  return p;
}

void FillWith(cairo_t* cr, cairo_pattern_t* APattern) {
  cairo_set_source(cr, APattern);
  cairo_fill(cr);
  cairo_pattern_destroy(APattern);
}

void GradientRect(cairo_t* cr, double X0, double Y0, double X1, double Y1, cairo_pattern_t* APattern) {
  cairo_rectangle(cr, X0, Y0, X1 - X0, Y1 - Y0);
  FillWith(cr, APattern);
}

// Light top and left, dark bottom and right, one pixel wide (strength 10).
void Bevel(cairo_t* cr, int W, int H) {
  SetColor(cr, 0x33FFFFFF);
  cairo_rectangle(cr, 0, 0, W, 1);
  cairo_rectangle(cr, 0, 1, 1, H - 2);
  cairo_fill(cr);
  SetColor(cr, 0x19000000);
  cairo_rectangle(cr, 0, H - 1, W, 1);
  cairo_rectangle(cr, W - 1, 1, 1, H - 2);
  cairo_fill(cr);
}

// The two-colour one-pixel stipple of tick marks and grid lines.
void Stipple(cairo_t* cr, double X0, double Y0, double X1, double Y1) {
  const double dash = 1;
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, X0, Y0);
  cairo_line_to(cr, X1, Y1);
  cairo_set_dash(cr, &dash, 1, 0);
  SetColor(cr, 0x7F000000);
  cairo_stroke_preserve(cr);
  cairo_set_dash(cr, &dash, 1, 1);
  SetColor(cr, 0x7F7F7F7F);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

// Text centred (ACenter) or starting at X, vertically centred in [Y0, Y1),
// over a blended background rect with 4 pixels of padding.
void Text(cairo_t* cr, const TQD_Font& AFont, const std::string& AText, double X, double Y0, double Y1,
          bool ACenter, TColor32 AColor, TColor32 ABackground) {
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                         AFont.Bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, AFont.Height < 0 ? -AFont.Height : 12);
  cairo_text_extents_t te;
  cairo_font_extents_t fe;
  cairo_text_extents(cr, AText.c_str(), &te);
  cairo_font_extents(cr, &fe);
  const double x = std::round(ACenter ? X - te.x_advance / 2 : X);
  const double y = std::round((Y0 + Y1) / 2 - fe.height / 2);
  SetColor(cr, ABackground);
  cairo_rectangle(cr, x - 4, y, te.x_advance + 8, fe.height);
  cairo_fill(cr);
  SetColor(cr, AColor);
  cairo_move_to(cr, x, y + fe.ascent);
  cairo_show_text(cr, AText.c_str());
}

void CairoLabel(cairo_t* cr, TQD_Label& L, int W, int H) {
  const TQD_LabelColors& c = L.Colors();
  switch (L.Settings().Gradient) {
    case gtOff:
      SetColor(cr, c.BackgroundEndColor);
      cairo_rectangle(cr, 0, 0, W, H);
      cairo_fill(cr);
      break;
    case gtStandard:
      GradientRect(cr, 0, 0, W, H, Linear(0, 0, W, 0, {{0, c.BackgroundStartColor}, {1, c.BackgroundEndColor}}));
      break;
    case gtDouble:
    case gtTriple: {
      const TColor32 mid = L.Settings().Gradient == gtDouble ? c.BackgroundEndColor : c.BackgroundMidColor;
      const TColor32 last = L.Settings().Gradient == gtDouble ? c.BackgroundStartColor : c.BackgroundEndColor;
      GradientRect(cr, 0, 0, W, H, Linear(0, 0, W, 0, {{0, c.BackgroundStartColor}, {0.5, mid}, {1, last}}));
      break;
    }
  }
  Bevel(cr, W, H);
  const auto& captions = L.Settings().Captions;
  const double w = static_cast<double>(W) / std::max<size_t>(1, captions.size());
  for (size_t k = 0; k < captions.size(); ++k)
    if (!captions[k].Caption.empty())
      Text(cr, L.Font(), captions[k].Caption, w * k + w / 2, 0, H, true, captions[k].Colors.TextColor,
           captions[k].Colors.TextBGColor);
}

void CairoGauge(cairo_t* cr, TQD_Gauge& G, int W, int H) {
  const TQD_GaugeColors& c = G.Colors();
  const double max = G.Values().Max, x = max > 0 ? W * G.Values().Pos / max : 0;
  const bool right = G.Settings().Orientation == orRight;
  const double bx0 = right ? x : 0, bx1 = right ? W : W - x, fx0 = right ? 0 : W - x, fx1 = right ? x : W;
  GradientRect(cr, bx0, 0, bx1, H,
               Linear(right ? 0 : W, 0, right ? W : 0, 0, {{0, c.BackgroundStartColor}, {1, c.BackgroundEndColor}}));
  GradientRect(cr, fx0, 0, fx1, H,
               Linear(right ? 0 : W, 0, right ? x : W - x, 0, {{0, c.ForegroundStartColor}, {1, c.ForegroundEndColor}}));
  Bevel(cr, W, H);
  const double tick = H / 8.0;
  for (int i = 1; i <= 9; ++i) {
    const double tx = W / 10.0 * i;
    Stipple(cr, tx, 0, tx, tick);
    Stipple(cr, tx, H - 1, tx, H - 1 - tick);
  }
  if (G.Settings().LabelPosition != glpOff) {
    const std::string text = G.ValueText();
    if (!text.empty()) {
      const bool centred = G.Settings().LabelPosition == glpCentered;
      Text(cr, G.Font(), text, centred ? W / 2.0 : std::max(5.0, x - 40), 0, H, centred, c.TextColor,
           c.TextBGColor);
    }
  }
}

void Polyline(cairo_t* cr, const std::vector<TFloatPoint>& APoints) {
  for (size_t i = 0; i < APoints.size(); ++i)
    (i == 0 ? cairo_move_to : cairo_line_to)(cr, APoints[i].X, APoints[i].Y);
}

void GridLines(cairo_t* cr, double X0, double X1, double H, int AParts) {
  for (int j = 1; j < AParts; ++j) Stipple(cr, X0, H / AParts * j, X1, H / AParts * j);
}

void CairoLineGraph(cairo_t* cr, TQD_LineGraph& G, int W, int H) {
  const TQD_LineGraphBGColors& bg = G.Settings().BackgroundColors;
  GradientRect(cr, 0, 0, W, H, Linear(0, H, 0, 0, {{0, bg.BackgroundStartColor}, {1, bg.BackgroundEndColor}}));
  std::vector<TFloatPoint> points;
  for (const TQD_SingleLineGraphData& g : G.LineGraphs()) {
    const size_t n = g.Values.size();
    const double dx = n > 1 ? static_cast<double>(W) / (n - 1) : 0, ky = g.MaxValue > 0 ? H / g.MaxValue : 0;
    points.clear();
    for (size_t i = 0; i < n; ++i)
      points.push_back({static_cast<float>(dx * i), static_cast<float>(H - ky * g.Values[i])});
    if (G.LineGraphs().size() == 1) {
      Polyline(cr, points);
      cairo_line_to(cr, W, H);
      cairo_line_to(cr, 0, H);
      cairo_close_path(cr);
      FillWith(cr, Linear(0, 0, 0, H, {{0, g.Colors.FillStartColor}, {1, g.Colors.FillEndColor}}));
    }
    Polyline(cr, points);
    SetColor(cr, g.Colors.LineColor);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  GridLines(cr, 0, W, H, GridLineParts(G.Settings().GridLines));
  if (G.Settings().LabelPosition == lgpTopCorner && !G.LineGraphs().empty()) {
    const double h = static_cast<double>(H) / G.LineGraphs().size();
    for (size_t k = 0; k < G.LineGraphs().size(); ++k) {
      const TQD_SingleLineGraphData& g = G.LineGraphs()[k];
      if (!g.Caption.empty())
        Text(cr, G.Font(), g.Caption, 4, h * k, h * (k + 1), false, g.Colors.LineColor, g.Colors.TextBGColor);
    }
  }
  Bevel(cr, W, H);
}

void CairoNetGraph(cairo_t* cr, TQD_NetGraph& G, int W, int H) {
  const bool upload = G.Settings().Mode == ngmUpload;
  const bool labels = G.Settings().LabelPosition == TQD_NetGraphLabelPosition::lgpOn && !G.NetGraphs().empty();
  const double s = W / 20, gl = labels ? s : 0;
  const TQD_NetGraphBGColors& bg = G.Settings().BackgroundColors;
  GradientRect(cr, gl, 0, W, H,
               Linear(0, H, 0, 0, {{0, upload ? bg.BackgroundStartColor : bg.BackgroundEndColor},
                                   {1, upload ? bg.BackgroundEndColor : bg.BackgroundStartColor}}));
  const TQD_DataLogger* L = G.DataLogger();
  const uint32_t n = L->NIFLogger().BufferLen();
  std::vector<TFloatPoint> points;
  for (const TQD_SingleNetGraphData& g : G.NetGraphs()) {
    const TQD_SingleInterface* nif = nullptr;
    for (const TQD_SingleInterface& i : L->NIFLogger().InterfaceList())
      if (i.ID == g.ID) nif = &i;
    const double k = g.MaxValue > 0 ? H / static_cast<double>(g.MaxValue) : 0;
    const double dx = n > 1 ? (W - gl) / (n - 1) : 0;
    points.clear();
    for (uint32_t i = 0; i < n; ++i) {
      uint64_t v = 0;
      if (nif) {
        const TQD_NIF_History& h = upload ? nif->UploadValues : nif->DownloadValues;
        if (i < h.size()) v = h[i];
      }
      points.push_back({static_cast<float>(dx * i + gl), static_cast<float>(upload ? H - k * v : k * v - 1)});
    }
    Polyline(cr, points);
    cairo_line_to(cr, W, upload ? H : 0);
    cairo_line_to(cr, gl, upload ? H : 0);
    cairo_close_path(cr);
    FillWith(cr, Linear(0, 0, 0, H, {{0, upload ? g.Colors.FillStartColor : g.Colors.FillEndColor},
                                     {1, upload ? g.Colors.FillEndColor : g.Colors.FillStartColor}}));
    Polyline(cr, points);
    SetColor(cr, g.Colors.LineColor);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  GridLines(cr, gl, W, H, GridLineParts(G.Settings().GridLines));
  if (labels) {
    const double h = static_cast<double>(H) / (G.NetGraphs().size() * 5);
    for (size_t m = 0; m < G.NetGraphs().size(); ++m) {
      const TQD_SingleNetGraphData& g = G.NetGraphs()[m];
      SetColor(cr, g.Colors.MaxValueBackground);
      cairo_rectangle(cr, 0, 0, s, H);
      cairo_fill(cr);
      if (!g.MaxCaption.empty()) {
        // The scale maximum runs upward, centred in the strip.
        cairo_save(cr);
        cairo_translate(cr, 0, H);
        cairo_rotate(cr, -M_PI / 2);
        Text(cr, G.Font(), g.MaxCaption, H / 2.0, 0, s, true, g.Colors.TextColorMaxValue,
             g.Colors.TextBGColorMaxValue);
        cairo_restore(cr);
      }
      if (!g.Caption.empty()) {
        const double y0 = upload ? h * m : H - h * (m + 1);
        Text(cr, G.Font(), g.Caption, gl + 4, y0, y0 + h, false, g.Colors.TextColor, g.Colors.TextBGColor);
      }
    }
  }
  Bevel(cr, W, H);
}

void CairoDivider(cairo_t* cr, TQD_Divider& D, int W, int H) {
  const bool upDown = D.Settings().Orientation == doUpDown;
  GradientRect(cr, 0, 0, W, H, Linear(0, 0, upDown ? 0 : W, upDown ? H : 0,
                                      {{0, D.Colors().BackgroundStartColor}, {1, D.Colors().BackgroundEndColor}}));
}

void CairoWidget(cairo_t* cr, TQD_Widget& AWidget) {
  const int W = AWidget.BoundsRect().Width(), H = AWidget.BoundsRect().Height();
  cairo_save(cr);
  if (auto* l = dynamic_cast<TQD_Label*>(&AWidget)) CairoLabel(cr, *l, W, H);
  else if (auto* g = dynamic_cast<TQD_Gauge*>(&AWidget)) CairoGauge(cr, *g, W, H);
  else if (auto* lg = dynamic_cast<TQD_LineGraph*>(&AWidget)) CairoLineGraph(cr, *lg, W, H);
  else if (auto* ng = dynamic_cast<TQD_NetGraph*>(&AWidget)) CairoNetGraph(cr, *ng, W, H);
  else if (auto* d = dynamic_cast<TQD_Divider*>(&AWidget)) CairoDivider(cr, *d, W, H);
  cairo_restore(cr);
}

void CairoGrid(cairo_t* cr, TQD_GridContainer& AGrid) {
  for (const auto& w : AGrid.Widgets()) {
    cairo_save(cr);
    cairo_translate(cr, w->BoundsRect().Left, w->BoundsRect().Top);
    CairoWidget(cr, *w);
    cairo_restore(cr);
  }
}
#endif  // QUENDAL_BENCH_CAIRO

// ---- Scenes: a single widget, or (no widget) the whole window.

struct TScene {
  const char* Name;
  TQD_Widget* (*Widget)();
};

const TScene kScenes[] = {
    {"label_54x22", [] { return static_cast<TQD_Widget*>(&World().LabelSmall); }},
    {"label_540x22", [] { return static_cast<TQD_Widget*>(&World().LabelWide); }},
    {"gauge_162x22", [] { return static_cast<TQD_Widget*>(&World().Gauge); }},
    {"linegraph_216x22_80", [] { return static_cast<TQD_Widget*>(&World().GraphSmall); }},
    {"linegraph_540x110_180", [] { return static_cast<TQD_Widget*>(&World().GraphWide); }},
    {"netgraph_540x110_180", [] { return static_cast<TQD_Widget*>(&World().Net); }},
    {"window_540x700", [] { return static_cast<TQD_Widget*>(nullptr); }},
};

TSize SceneSize(const TScene& AScene) {
  const TQD_Widget* w = AScene.Widget();
  return w ? TSize{w->BoundsRect().Width(), w->BoundsRect().Height()} : TSize{540, 700};
}

void BM_Ours(benchmark::State& state, const TScene& AScene) {
  TQD_Widget* w = AScene.Widget();
  TQD_GridContainer& grid = *World().Grid;
  for (auto _ : state) {
    if (w) {
      w->Repaint();
      benchmark::DoNotOptimize(w->Draw().Bits());
    } else {  // what the window's paint does when all of it is invalid
      grid.RepaintAll();
      for (const auto& widget : grid.Widgets()) benchmark::DoNotOptimize(widget->Draw().Bits());
    }
    benchmark::ClobberMemory();
  }
}

#ifdef QUENDAL_BENCH_CAIRO
void BM_Cairo(benchmark::State& state, const TScene& AScene) {
  TQD_Widget* w = AScene.Widget();
  const TSize size = SceneSize(AScene);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx, size.cy);
  cairo_t* cr = cairo_create(surface);
  auto draw = [&] {
    if (w) CairoWidget(cr, *w);
    else CairoGrid(cr, *World().Grid);
  };
  draw();  // loads the font outside the measurement
  for (auto _ : state) {
    draw();
    cairo_surface_flush(surface);
    benchmark::ClobberMemory();
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
#endif

void BM_Floor(benchmark::State& state, const TScene& AScene) {
  const TSize size = SceneSize(AScene);
  std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
  for (auto _ : state) {
    FloorPass(pixels);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
}

// The world is only built when the first scene runs, not at registration.
const bool kRegistered = [] {
  for (const TScene& scene : kScenes) {
    const std::string prefix = std::string("scene/") + scene.Name + "/";
    benchmark::RegisterBenchmark((prefix + "ours").c_str(), BM_Ours, scene)->Unit(benchmark::kMicrosecond);
#ifdef QUENDAL_BENCH_CAIRO
    benchmark::RegisterBenchmark((prefix + "cairo").c_str(), BM_Cairo, scene)->Unit(benchmark::kMicrosecond);
#endif
    benchmark::RegisterBenchmark((prefix + "floor").c_str(), BM_Floor, scene)->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
