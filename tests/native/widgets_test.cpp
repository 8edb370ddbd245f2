// Widgets: their refresh rules (what changes trigger a repaint) and the
// geometry and colours of what they paint.
#include <gtest/gtest.h>

#include <cstring>

#include "sim/block_writer.h"
#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "widgets/divider.h"
#include "sim/fake_ports.h"
#include "golden.h"
#include "widgets/gauge.h"
#include "widgets/label.h"
#include "widgets/line_graph.h"
#include "widgets/net_graph.h"

namespace {

constexpr uint32_t kCPU = 0xF0000300;
const TQD_URID kUsage = TQD_URID::CreateNew(kCPU, 0, 0x7000000);
const TQD_URID kTemp = TQD_URID::CreateNew(kCPU, 0, 0x1000000);
const TQD_URID kMem = TQD_URID::CreateNew(kCPU, 0, 0x8000001);
const TQD_URID kGone = TQD_URID::CreateNew(kCPU, 0, 0x7777777);

// A data logger over a small block whose values the test can change.
class WidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    block.PollTime = 1700000000;
    block.Sensors = {{kCPU, 0, "CPU [#0]", ""}};
    block.Readings = {{7, 0, 0x7000000, "Total CPU Usage", "CPU", "%", 20, 0, 37, 10},
                      {1, 0, 0x1000000, "CPU Package", "Package", "\xC2\xB0" "C", 45, 30, 80, 50},
                      {8, 0, 0x8000001, "Memory Allocated", "VRAM", "MB", 8192, 0, 8192, 4000}};
    fakes.SystemInfo.Drives = {{true, 0, "C:\\", "System", 1000, 400, 600}};
    logger = std::make_unique<TQD_DataLogger>(fakes.Ports(), false, 180, 2000);
    Poll();
    logger->InternalPolling();
  }
  // Publishes the block as it is now and polls it (a new poll time each call).
  void Poll() {
    block.PollTime += 2;
    fakes.SharedMemory.Block = WriteBlock(block);
    logger->HWiPolling();
  }
  template <typename W>
  void Setup(W& AWidget, int AWidth = 100, int AHeight = 20) {
    AWidget.SetColorTable(&colors);
    AWidget.SetDataLogger(logger.get());
    AWidget.SetBoundsRect({0, 0, AWidth, AHeight});
  }

  TSF_Block block;
  TFakeCollector fakes;
  std::unique_ptr<TQD_DataLogger> logger;
  TQD_ColorTable colors;
};

}  // namespace

TEST_F(WidgetTest, GaugeMaximumRules) {
  TQD_Gauge g;
  Setup(g);
  g.Settings().URID = kUsage;
  ASSERT_TRUE(g.ManualRepaint());
  EXPECT_EQ(g.Values().Pos, 20);
  EXPECT_EQ(g.Values().Max, 100);  // a "%" reading peaking at 37 still scales to 100
  g.Settings().MaxValueManual = 50;
  EXPECT_TRUE(g.ManualRepaint());
  EXPECT_EQ(g.Values().Max, 50);
  block.Readings[0].Value = 60;
  Poll();
  g.ManualRepaint();
  EXPECT_EQ(g.Values().Max, 60);  // the value raises the scale: a full bar
  g.Settings().URID = kGone;
  g.ManualRepaint();
  EXPECT_EQ(g.Values().Pos, 0);
  EXPECT_EQ(g.Values().Max, 50);
  EXPECT_EQ(g.ReadingIndex(), 0u);
}

TEST_F(WidgetTest, GaugeRepaintsOnlyOnChangeExceptInDemo) {
  TQD_Gauge g;
  Setup(g);
  g.Settings().URID = kUsage;
  EXPECT_TRUE(g.ManualRepaint());
  g.Dirty = false;
  EXPECT_FALSE(g.ManualRepaint());
  EXPECT_FALSE(g.Dirty);
  Poll();  // same values, new poll: still nothing to draw
  EXPECT_FALSE(g.ManualRepaint());
  block.Readings[0].Value = 21;
  Poll();
  EXPECT_TRUE(g.ManualRepaint());
  EXPECT_TRUE(g.Dirty);

  // A demo bar takes a new length at every refresh, and keeps it however
  // often the window draws it.
  TQD_Gauge demo;
  Setup(demo);
  demo.Settings().Mode = gmDemo;
  int percent = 10;
  demo.Random = [&](int, int) { return percent; };
  EXPECT_TRUE(demo.ManualRepaint());
  auto pixels = [&] {
    const TBitmap32& b = demo.Draw();
    return std::vector<TColor32>(b.Bits(), b.Bits() + b.Width() * b.Height());
  };
  const std::vector<TColor32> first = pixels();
  percent = 90;
  EXPECT_EQ(pixels(), first);
  EXPECT_TRUE(demo.ManualRepaint());
  EXPECT_NE(pixels(), first);
}

TEST_F(WidgetTest, GaugeRAMAndDiskModes) {
  TQD_Gauge ram;
  Setup(ram);
  ram.Settings().Mode = gmRAMUsed;
  ram.ManualRepaint();
  const TQD_RAMINFO& info = logger->RAMInfo();
  EXPECT_EQ(ram.Values().Pos, static_cast<double>(info.Total - info.Available));
  EXPECT_EQ(ram.Values().Max, static_cast<double>(info.Total));

  TQD_Gauge disk;
  Setup(disk);
  disk.Settings().Mode = gmDiskUsed;
  disk.Settings().DiskModeDriveIndex = 1;
  disk.Settings().LabelPosition = glpCentered;
  disk.ManualRepaint();
  EXPECT_EQ(disk.Values().Pos, 600);
  EXPECT_EQ(disk.Values().Max, 1000);
  EXPECT_FALSE(disk.ValueText().empty());
  disk.Settings().DiskModeDriveIndex = 2;  // beyond the list
  disk.ManualRepaint();
  EXPECT_EQ(disk.Values().Pos, 0);
  EXPECT_EQ(disk.Values().Max, 0);
  EXPECT_EQ(disk.ValueText(), "");
}

TEST_F(WidgetTest, GaugeForceGiBOnlyForMegabytes) {
  TQD_Gauge g;
  Setup(g);
  g.Settings().URID = kMem;
  g.Settings().ForceGiB = true;
  g.ManualRepaint();
  EXPECT_EQ(g.ValueText(), "8.00 GiB");
  g.Settings().URID = kTemp;
  g.ManualRepaint();
  EXPECT_EQ(g.ValueText(), logger->FormatValue(2, dcsValue));
}

TEST_F(WidgetTest, GaugeBarSplitsBackgroundAndForeground) {
  TQD_Gauge g;
  Setup(g, 100, 10);
  g.Settings().URID = kUsage;  // 20 of 100
  g.ManualRepaint();
  const TBitmap32& b = g.Draw();
  // Left of the tip: the foreground gradient; right: the background.
  const TColor32 fg = b.Pixel(10, 5), bg = b.Pixel(60, 5);
  EXPECT_EQ(fg, GradientColorAt({{0, g.Colors().ForegroundStartColor}, {1, g.Colors().ForegroundEndColor}}, 10.5f / 20));
  EXPECT_EQ(bg, GradientColorAt({{0, g.Colors().BackgroundStartColor}, {1, g.Colors().BackgroundEndColor}}, 60.5f / 100));
  // A zero bar leaves the whole background.
  TQD_Gauge empty;
  Setup(empty, 100, 10);
  empty.Settings().URID = kGone;
  empty.Repaint();
  EXPECT_EQ(empty.Draw().Pixel(2, 5),
            GradientColorAt({{0, empty.Colors().BackgroundStartColor}, {1, empty.Colors().BackgroundEndColor}}, 2.5f / 100));
}

TEST_F(WidgetTest, LabelCaptionsRefreshAndRepaintOnlyOnChange) {
  TQD_Label l;
  Setup(l);
  l.AddCaption("Fixed");
  EXPECT_TRUE(l.ManualRepaint());  // the captions were added
  EXPECT_FALSE(l.ManualRepaint());
  l.AddCaption(kTemp, dcsValue);
  EXPECT_TRUE(l.ManualRepaint());
  EXPECT_EQ(l.Settings().Captions[1].Caption, logger->FormatValue(2, dcsValue));
  EXPECT_EQ(l.Settings().Captions[0].Caption, "Fixed");
  Poll();
  EXPECT_FALSE(l.ManualRepaint());
  block.Readings[1].Value = 46;
  Poll();
  EXPECT_TRUE(l.ManualRepaint());
}

TEST_F(WidgetTest, LabelThresholdAndSpecialModes) {
  TQD_Label l;
  Setup(l);
  l.SetTemperatureThreshold(0);
  EXPECT_EQ(l.Settings().TemperatureThreshold, 100.0);
  l.SetTemperatureThreshold(-5);
  EXPECT_EQ(l.Settings().TemperatureThreshold, 100.0);
  l.SetTemperatureThreshold(90);
  EXPECT_EQ(l.Settings().TemperatureThreshold, 90.0);

  TQD_Label disk;
  Setup(disk);
  disk.Settings().Mode = lmDisk;
  disk.Settings().DiskModeDriveIndex = 1;
  disk.Settings().DiskModeValue = dmLetterAndName;
  disk.AddCaption("");
  disk.ManualRepaint();
  EXPECT_EQ(disk.Settings().Captions[0].Caption, "C: System");  // the letter, not the root path "C:\\"
  disk.Settings().DiskModeDriveIndex = 5;
  disk.ManualRepaint();
  EXPECT_EQ(disk.Settings().Captions[0].Caption, "");

  TQD_Label temp;
  Setup(temp);
  temp.Settings().Mode = lmTemperature;
  temp.AddCaption(kTemp, dcsValue);
  temp.ManualRepaint();
  EXPECT_EQ(temp.Temperature(), 45);
  // 45 of 100 is step 4 (4.5 to even): stops gradient[3], [4], [5] at 0, 0.5, 1.
  const auto& grad = colors.TemperatureGradientTable();
  EXPECT_EQ(temp.Draw().Pixel(3, 3), GradientColorAt({{0, grad[3]}, {0.5f, grad[4]}, {1, grad[5]}}, 3.5f / 100));
}

TEST_F(WidgetTest, LineGraphSamplesOncePerPoll) {
  TQD_LineGraph lg;
  Setup(lg, 200, 50);
  lg.AddGraph(kUsage, dcsValue, 20, LineGraphColors_Usage);
  lg.AddGraph(kGone, dcsValue, 20, LineGraphColors_Power);
  EXPECT_TRUE(lg.ManualRepaint());
  EXPECT_EQ(lg.LineGraphs()[0].Values.back(), 20);
  lg.Repaint();
  lg.Repaint();  // painting again between polls adds nothing
  EXPECT_EQ(lg.LineGraphs()[0].Values[18], 0);
  EXPECT_FALSE(lg.ManualRepaint());
  block.Readings[0].Value = 30;
  Poll();
  EXPECT_TRUE(lg.ManualRepaint());
  EXPECT_EQ(lg.LineGraphs()[0].Values[18], 20);
  EXPECT_EQ(lg.LineGraphs()[0].Values[19], 30);
  EXPECT_EQ(lg.LineGraphs()[0].MaxValue, 100);  // "%" peaking at 37
  // The missing reading's graph stays frozen at zeros, caption untouched.
  for (double v : lg.LineGraphs()[1].Values) EXPECT_EQ(v, 0);
  EXPECT_EQ(lg.LineGraphs()[1].Caption, "");
}

// A poll that leaves everything a graph shows as it was does not mark it:
// steady readings and idle interfaces are not redrawn every poll.
TEST_F(WidgetTest, GraphsMarkOnlyWhatAPollChanged) {
  TQD_LineGraph lg;
  Setup(lg, 200, 50);
  lg.AddGraph(kTemp, dcsValue, 2, LineGraphColors_Default);
  lg.LineGraphs()[0].Values = {45, 45};
  lg.LineGraphs()[0].MaxValue = 80;
  EXPECT_TRUE(lg.ManualRepaint());  // the caption is new
  auto sample = [&] {
    Poll();
    return lg.ManualRepaint();
  };
  EXPECT_FALSE(sample()) << "the same value";
  block.Readings[1].Value = 50;
  EXPECT_TRUE(sample()) << "a new value";
  EXPECT_TRUE(sample()) << "the new value once more: the old one is still in the history";
  EXPECT_FALSE(sample()) << "steady again";
  block.Readings[1].ValueMax = 90;
  EXPECT_TRUE(sample()) << "a new scale";
  block.Readings[1].szLabelUser = "Hot";
  EXPECT_TRUE(sample()) << "a new label";

  fakes.Network.Rows = {MakeIFRow(1, true, 1000, 500)};
  logger->InternalPolling();
  TQD_NetGraph ng;
  Setup(ng, 200, 60);
  ng.AddGraph(MakeGuid(1), NetGraphColors_Upload);  // an upload graph
  EXPECT_TRUE(ng.ManualRepaint());
  auto poll = [&](uint64_t AOut, uint64_t AIn = 0) {
    fakes.Network.Rows[0].OutOctets += AOut;
    fakes.Network.Rows[0].InOctets += AIn;
    fakes.Clock.LocalTime += 1;
    logger->InternalPolling();
    return ng.ManualRepaint();
  };
  EXPECT_FALSE(poll(0)) << "an idle interface";
  EXPECT_TRUE(poll(2048)) << "traffic";
  EXPECT_TRUE(poll(0)) << "idle again, the traffic still in the history";
  EXPECT_TRUE(poll(0, 8192)) << "download traffic: both directions share the scale";
}

TEST_F(WidgetTest, LineGraphCaptions) {
  TQD_LineGraph lg;
  Setup(lg, 200, 50);
  lg.AddGraph(kTemp, dcsValue, 0, LineGraphColors_Default);
  EXPECT_EQ(lg.LineGraphs()[0].Values.size(), 20u);
  lg.LineGraphs()[0].ShowValueCaption = true;
  lg.ManualRepaint();
  EXPECT_EQ(lg.LineGraphs()[0].Caption, "Package: " + logger->FormatValue(2, dcsValue));
  lg.LineGraphs()[0].ShortCaption = "-";
  Poll();
  lg.ManualRepaint();
  EXPECT_EQ(lg.LineGraphs()[0].Caption, logger->FormatValue(2, dcsValue));
  lg.LineGraphs()[0].ShortCaption = "T";
  lg.LineGraphs()[0].MaxValueManual = 40;
  Poll();
  lg.ManualRepaint();
  EXPECT_EQ(lg.LineGraphs()[0].Caption, "T: " + logger->FormatValue(2, dcsValue));
  EXPECT_EQ(lg.LineGraphs()[0].MaxValue, 45);  // the value above the manual scale wins
}

TEST_F(WidgetTest, LineGraphFillsOnlyASingleGraph) {
  block.Readings[0].Value = 100;  // a full-height line
  Poll();
  TQD_LineGraph one;
  Setup(one, 40, 40);
  one.Settings().GridLines = lglOff;
  one.AddGraph(kUsage, dcsValue, 2, LineGraphColors_Usage);
  one.LineGraphs()[0].Values = {100, 100};
  one.ManualRepaint();
  TQD_LineGraph two;
  Setup(two, 40, 40);
  two.Settings().GridLines = lglOff;
  two.AddGraph(kUsage, dcsValue, 2, LineGraphColors_Usage);
  two.AddGraph(kUsage, dcsValue, 2, LineGraphColors_Usage);
  two.ManualRepaint();
  // Under the lines: the fill colour with one graph, the background with two.
  const TColor32 background = GradientColorAt({{0, two.Settings().BackgroundColors.BackgroundStartColor},
                                               {1, two.Settings().BackgroundColors.BackgroundEndColor}},
                                              (40 - 35.5f) / 40);
  EXPECT_EQ(two.Draw().Pixel(30, 35), background);
  EXPECT_NE(one.Draw().Pixel(30, 35), background);
}

TEST_F(WidgetTest, NetGraphCaptionsAndScale) {
  fakes.Network.Rows = {MakeIFRow(1, true, 1000, 500)};
  fakes.Network.Rows[0].TransmitLinkSpeed = 8000000;
  logger->InternalPolling();
  fakes.Network.Rows[0].InOctets += 4096;
  fakes.Network.Rows[0].OutOctets += 1024;
  fakes.Clock.LocalTime += 1;
  logger->InternalPolling();

  TQD_NetGraph up;
  Setup(up, 200, 60);
  up.AddGraph(MakeGuid(1), NetGraphColors_Upload);
  up.AddGraph(MakeGuid(9), NetGraphColors_Upload);  // never seen: disabled
  EXPECT_TRUE(up.ManualRepaint());
  EXPECT_EQ(up.NetGraphs()[0].Caption, "\xE2\x96\xB2  1 KiB/s");
  EXPECT_EQ(up.NetGraphs()[0].MaxValue, 4096u);  // both directions scale together
  EXPECT_EQ(up.NetGraphs()[0].MaxCaption, "4 KiB/s");
  EXPECT_EQ(up.NetGraphs()[1].Caption, "[DISABLED]");
  EXPECT_EQ(up.NetGraphs()[1].MaxCaption, "[DISABLED]");
  EXPECT_EQ(up.NetGraphs()[1].MaxValue, 0u);
  EXPECT_FALSE(up.ManualRepaint());  // no new internal poll
  EXPECT_EQ(logger->NIFLogger().NumInterfaces(), 1u);  // reading a graph creates no interface

  up.Settings().AutoScaling = false;
  fakes.Clock.LocalTime += 1;
  logger->InternalPolling();
  up.ManualRepaint();
  EXPECT_EQ(up.NetGraphs()[0].MaxValue, 1000000u);  // the link speed in bytes per second
}

TEST_F(WidgetTest, DividerGradients) {
  TQD_Divider d;
  Setup(d, 10, 11);
  d.Repaint();
  EXPECT_EQ(d.Draw().Pixel(5, 0), GradientColorAt({{0, 0xFF000000}, {1, 0xFF3F3F3F}}, 0.5f / 11));
  EXPECT_EQ(d.Draw().Pixel(5, 10), GradientColorAt({{0, 0xFF000000}, {1, 0xFF3F3F3F}}, 10.5f / 11));
  d.ApplyColorPreset(DividerColors_Alt);
  d.Settings().Orientation = doLeftRight;
  d.Repaint();
  EXPECT_EQ(d.Draw().Pixel(9, 3), GradientColorAt({{0, 0xFF000000}, {1, 0xFFFFFFFF}}, 9.5f / 10));
  d.Settings().Gradient = dgtOff;
  d.Repaint();
  EXPECT_EQ(d.Draw().Pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(d.Draw().Pixel(9, 10), 0xFFFFFFFFu);
}

TEST(WidgetGeometry, LabelCaptionCellsOverlapByOnePixel) {
  const TRect R{0, 0, 100, 20};
  EXPECT_EQ(LabelCaptionCell(R, 3, 0), (TRect{0, 0, 34, 20}));  // w = round(33.3) = 33
  EXPECT_EQ(LabelCaptionCell(R, 3, 1), (TRect{33, 0, 67, 20}));
  EXPECT_EQ(LabelCaptionCell(R, 3, 2), (TRect{66, 0, 100, 20}));
  EXPECT_EQ(LabelCaptionCell({10, 5, 60, 9}, 2, 1), (TRect{35, 5, 61, 9}));  // 25 halves to even: 25
}

TEST(WidgetGeometry, LabelFlushPositionsFallBackWhenTheTextDoesNotFit) {
  const TRect cell{0, 0, 100, 20};
  EXPECT_EQ(LabelCaptionX(lpCentered, cell, 40), 30);
  EXPECT_EQ(LabelCaptionX(lpFlushLeft, cell, 40), 20);   // a fifth in
  EXPECT_EQ(LabelCaptionX(lpFlushLeft, cell, 81), 0);    // wider than 80%: the cell's left edge
  EXPECT_EQ(LabelCaptionX(lpFlushRight, cell, 40), 40);  // a fifth from the right
  EXPECT_EQ(LabelCaptionX(lpFlushRight, cell, 130), -30);  // wider than the cell: Right - cx
}

TEST(WidgetGeometry, TemperatureStopsAtTheGradientEnds) {
  TQD_TemperatureGradientTable g{};
  for (size_t i = 0; i < g.size(); ++i) g[i] = static_cast<TColor32>(0xFF000000 + i);
  const int i45 = TQD_ColorTable::GetTemperatureColorIdx(45, 100);
  ASSERT_EQ(i45, 4);  // 4.5 rounds to even
  auto s = LabelTemperatureStops(g, i45);
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].Color, g[3]);
  EXPECT_EQ(s[1].Color, g[4]);
  EXPECT_EQ(s[2].Color, g[5]);
  s = LabelTemperatureStops(g, TQD_ColorTable::GetTemperatureColorIdx(0, 100));
  ASSERT_EQ(s.size(), 2u);  // no stop before the first step
  EXPECT_EQ(s[0].Position, 0.5f);
  EXPECT_EQ(s[0].Color, g[0]);
  EXPECT_EQ(s[1].Color, g[1]);
  EXPECT_EQ(LabelTemperatureStops(g, 10).size(), 2u);
}

TEST(WidgetGeometry, GaugeTextStaysBesideTheTipAndInsideTheGauge) {
  const TRect R{0, 0, 162, 22};
  const double k = 162.0 / 100;
  EXPECT_EQ(GaugeTextX(glpBarEdge, orRight, R, k, 80, 40), RoundToInt(k * 80 - 40 - 7));
  EXPECT_EQ(GaugeTextX(glpBarEdge, orRight, R, k, 10, 40), 5);  // bar shorter than the text
  EXPECT_EQ(GaugeTextX(glpBarEdge, orLeft, R, k, 50, 40), RoundToInt(162 - k * 50 + 7));
  EXPECT_EQ(GaugeTextX(glpBarEdge, orLeft, R, k, 5, 40), 162 - 40 - 5);  // would run past the right edge
  EXPECT_EQ(GaugeTextX(glpCentered, orLeft, R, k, 5, 40), 61);
}

TEST(WidgetGeometry, NetGraphZeroTrafficLines) {
  const TRect G{27, 0, 540, 110};
  EXPECT_EQ(NetGraphPointY(ngmUpload, G, 0.001, 0), 110.0f);   // along the bottom edge
  EXPECT_EQ(NetGraphPointY(ngmDownload, G, 0.001, 0), -1.0f);  // one pixel above the top
  EXPECT_EQ(NetGraphPointY(ngmUpload, G, 110.0 / 1000, 500), 55.0f);
  EXPECT_EQ(NetGraphPointY(ngmDownload, G, 110.0 / 1000, 500), 54.0f);
}

namespace {

// Stacks widget renderings under each other on one sheet.
class TSheet {
 public:
  explicit TSheet(int AWidth) : FWidth(AWidth) {}
  void Add(TQD_Widget& AWidget) {
    AWidget.Repaint();
    FParts.push_back(AWidget.Draw());
  }
  TBitmap32 Build() const {
    int h = 0;
    for (const TBitmap32& p : FParts) h += p.Height() + 2;
    TBitmap32 sheet(FWidth, h);
    sheet.Clear(0xFF101010);
    int y = 0;
    for (const TBitmap32& p : FParts) {
      for (int yy = 0; yy < p.Height(); ++yy)
        for (int x = 0; x < p.Width(); ++x) sheet.SetPixel(x, y + yy, p.Pixel(x, yy));
      y += p.Height() + 2;
    }
    return sheet;
  }

 private:
  int FWidth;
  std::vector<TBitmap32> FParts;
};

}  // namespace

TEST_F(WidgetTest, GoldenGauges) {
  TSheet sheet(240);
  TQD_Gauge edge, left, ram, empty;
  for (TQD_Gauge* g : {&edge, &left, &ram, &empty}) {
    Setup(*g, 240, 22);
    g->Font().Height = -13;
  }
  edge.Settings().URID = kUsage;
  edge.Settings().LabelPosition = glpBarEdge;
  left.Settings().URID = kTemp;
  left.Settings().Orientation = orLeft;
  left.Settings().LabelPosition = glpBarEdge;
  left.ApplyColorPreset(GaugeColors_Power);
  ram.Settings().Mode = gmRAMUsed;
  ram.Settings().LabelPosition = glpCentered;
  ram.Settings().TextBackground = tbOutline;
  ram.ApplyColorPreset(GaugeColors_RAM);
  empty.Settings().URID = kGone;
  for (TQD_Gauge* g : {&edge, &left, &ram, &empty}) sheet.Add(*g);
  ExpectMatchesGolden(sheet.Build(), "widget_gauges");
}

TEST_F(WidgetTest, GoldenLabels) {
  TSheet sheet(240);
  TQD_Label three, temp, triple, flush;
  for (TQD_Label* l : {&three, &temp, &triple, &flush}) {
    Setup(*l, 240, 22);
    l->Font().Height = -13;
  }
  three.Settings().Gradient = gtStandard;
  three.AddCaption("Core 0");
  three.AddCaption(kTemp, dcsValue, CaptionColors_Power);
  three.AddCaption(kUsage, dcsValueMax, CaptionColors_Voltage);
  temp.Settings().Mode = lmTemperature;
  temp.Settings().TextBackground = tbOutline;
  temp.AddCaption(kTemp, dcsValue, CaptionColors_Darkest);
  triple.ApplyColorPreset(LabelColors_Drives);
  triple.Settings().Gradient = gtTriple;
  triple.Settings().Orientation = orLeft;
  triple.Settings().Borders = lbNoTopNoBottom;
  triple.Settings().TextAntialiasing = true;
  triple.Settings().TextBackground = tbRect;
  triple.AddCaption("Anti-aliased", CaptionColors_Default);
  flush.ApplyColorPreset(LabelColors_NVIDIAGreen);
  flush.Settings().Gradient = gtDouble;
  flush.Settings().TextAutoSize = false;
  flush.AddCaption("Left");
  flush.AddCaption("Right");
  flush.Settings().Captions[0].Position = lpFlushLeft;
  flush.Settings().Captions[1].Position = lpFlushRight;
  for (TQD_Label* l : {&three, &temp, &triple, &flush}) {
    l->ManualRepaint();
    sheet.Add(*l);
  }
  ExpectMatchesGolden(sheet.Build(), "widget_labels");
}

TEST_F(WidgetTest, GoldenLineGraphs) {
  TSheet sheet(216);
  TQD_LineGraph one, two, temp;
  for (TQD_LineGraph* g : {&one, &two, &temp}) {
    Setup(*g, 216, 44);
    g->Font().Height = -11;
  }
  one.Settings().LabelPosition = lgpTopCorner;
  one.AddGraph(kUsage, dcsValue, 20, LineGraphColors_Usage);
  one.LineGraphs()[0].ShowValueCaption = true;
  two.Settings().GridLines = lglThree;
  two.AddGraph(kUsage, dcsValue, 20, LineGraphColors_Usage);
  two.AddGraph(kTemp, dcsValue, 20, LineGraphColors_Power);
  temp.Settings().Mode = lgmTemperature;
  temp.Settings().GridLines = lglNine;
  temp.AddGraph(kTemp, dcsValue, 20, LineGraphColors_Temperature);
  temp.LineGraphs()[0].MaxValueManual = 100;
  for (int i = 0; i < 20; ++i) {
    block.Readings[0].Value = 50 + 40 * ((i * 7) % 10) / 10.0;
    block.Readings[1].Value = 30 + 3 * i;
    Poll();
    for (TQD_LineGraph* g : {&one, &two, &temp}) g->ManualRepaint();
  }
  for (TQD_LineGraph* g : {&one, &two, &temp}) sheet.Add(*g);
  ExpectMatchesGolden(sheet.Build(), "widget_linegraphs");
}

TEST_F(WidgetTest, GoldenNetGraphsAndDividers) {
  fakes.Network.Rows = {MakeIFRow(1, true, 0, 0)};
  TSheet sheet(216);
  TQD_NetGraph up, down, disabled;
  for (TQD_NetGraph* g : {&up, &down, &disabled}) {
    Setup(*g, 216, 44);
    g->Font().Height = -11;
    g->Settings().LabelPosition = TQD_NetGraphLabelPosition::lgpOn;
  }
  up.AddGraph(MakeGuid(1), NetGraphColors_Upload);
  down.Settings().Mode = ngmDownload;
  down.ApplyColorPreset(NetGraphBGColors_Download);
  down.AddGraph(MakeGuid(1), NetGraphColors_Download);
  disabled.AddGraph(MakeGuid(7), NetGraphColors_Upload);
  for (int i = 0; i < 70; ++i) {
    fakes.Network.Rows[0].InOctets += static_cast<uint64_t>(1000 + (i * 37) % 200 * 100);
    fakes.Network.Rows[0].OutOctets += static_cast<uint64_t>(500 + (i * 53) % 100 * 80);
    fakes.Clock.LocalTime += 1.0 / 86400;
    logger->InternalPolling();
  }
  for (TQD_NetGraph* g : {&up, &down, &disabled}) {
    g->ManualRepaint();
    sheet.Add(*g);
  }
  TQD_Divider plain, alt, flat;
  for (TQD_Divider* d : {&plain, &alt, &flat}) Setup(*d, 216, 7);
  alt.ApplyColorPreset(DividerColors_Alt);
  alt.Settings().Orientation = doLeftRight;
  flat.Settings().Gradient = dgtOff;
  for (TQD_Divider* d : {&plain, &alt, &flat}) sheet.Add(*d);
  ExpectMatchesGolden(sheet.Build(), "widget_netgraphs_dividers");
}
