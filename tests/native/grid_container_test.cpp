// The grid container: placement, row sizing, custom rows and the error layout.
#include <gtest/gtest.h>

#include "sim/block_writer.h"
#include "widgets/color_table.h"
#include "readings/custom_readings_list.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "monitors/grid_container.h"
#include "settings/settings.h"

namespace {

constexpr uint32_t kSensor = 0xF0000300;
const TQD_URID kPercent = TQD_URID::CreateNew(kSensor, 0, 0x7000000);
const TQD_URID kCelsius = TQD_URID::CreateNew(kSensor, 0, 0x1000000);
const TQD_URID kVolt = TQD_URID::CreateNew(kSensor, 0, 0x2000000);
const TQD_URID kFan = TQD_URID::CreateNew(kSensor, 0, 0x3000000);

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSF_Block b;
    b.Sensors = {{kSensor, 0, "CPU [#0]", ""}};
    b.Readings = {{7, 0, 0x7000000, "Total CPU Usage", "Usage", "%", 20, 0, 100, 10},
                  {1, 0, 0x1000000, "CPU Package", "Package", "\xC2\xB0" "C", 45, 30, 80, 50},
                  {2, 0, 0x2000000, "Core VID", "VID", "V", 1.2, 1, 1.4, 1.2},
                  {3, 0, 0x3000000, "CPU Fan", "Fan", "RPM", 900, 0, 2000, 800}};
    fakes.SharedMemory.Block = WriteBlock(b);
    logger = std::make_unique<TQD_DataLogger>(fakes.Ports(), false, 180, 2000);
    logger->HWiPolling();
    grid.SetColorTable(&colors);
    grid.SetDataLogger(logger.get());
  }
  // The kind of widget at a row and column.
  std::string KindAt(int ARow, int AColumn) {
    for (const auto& w : grid.Widgets()) {
      const auto c = grid.CellOf(*w);
      if (c.Row == ARow && AColumn >= c.Column && AColumn < c.Column + c.ColumnSpan) {
        if (dynamic_cast<TQD_Gauge*>(w.get())) return "gauge";
        if (auto* l = dynamic_cast<TQD_Label*>(w.get())) return l->Settings().Mode == lmTemperature ? "temp" : "label";
        if (dynamic_cast<TQD_LineGraph*>(w.get())) return "graph";
        if (dynamic_cast<TQD_Divider*>(w.get())) return "divider";
      }
    }
    return "";
  }
  int SpanAt(int ARow, int AColumn) {
    for (const auto& w : grid.Widgets()) {
      const auto c = grid.CellOf(*w);
      if (c.Row == ARow && c.Column == AColumn) return c.ColumnSpan;
    }
    return 0;
  }

  TFakeCollector fakes;
  std::unique_ptr<TQD_DataLogger> logger;
  TQD_ColorTable colors;
  TQD_Settings settings;
  TQD_GridContainer grid{&settings};
};

}  // namespace

TEST_F(GridTest, FreshGridHasNoRowsAndTheContentWidth) {
  grid.ResetGrid();
  EXPECT_EQ(grid.NumRows(), 0);
  EXPECT_EQ(grid.ContentWidth(), 540);
  EXPECT_EQ(grid.ContentHeight(), 0);
  EXPECT_TRUE(grid.GridEmpty());
}

TEST_F(GridTest, ContentHeightCountsDividerRowsAtThreeTenths) {
  grid.StartUpdating();
  grid.AddRows(rtStandard, 2);
  grid.AddDividerRow();
  grid.AddRow(rtStandard);
  grid.AddDividerRow();
  grid.UpdateGridDimensions();
  grid.StopUpdating();
  EXPECT_EQ(grid.NumStdRows(), 3);
  EXPECT_EQ(grid.NumDivRows(), 2);
  EXPECT_EQ(grid.ContentHeight(), 79);  // 2 × 6.6 + 66 = 79.2
}

TEST_F(GridTest, WidgetsFillTheFirstFreeCellsHonouringSpans) {
  grid.StartUpdating();
  grid.AddRows(rtStandard, 2);
  TQD_LineGraph& tall = grid.AddLineGraph(4, 2);
  TQD_Gauge& a = grid.AddGauge(6);
  TQD_Label& b = grid.AddLabel(3);
  TQD_Gauge& c = grid.AddGauge(1);
  TQD_Gauge& d = grid.AddGauge(3);  // two free cells left, three needed: outside the grid
  grid.UpdateGridDimensions();
  grid.StopUpdating();
  grid.SetClientSize(540, 44);
  EXPECT_EQ(grid.CellOf(tall).Row, 0);
  EXPECT_EQ(grid.CellOf(a).Column, 4);
  EXPECT_EQ(grid.CellOf(b).Row, 1);
  EXPECT_EQ(grid.CellOf(b).Column, 4);  // beside the graph's second row
  EXPECT_EQ(grid.CellOf(c).Column, 7);
  EXPECT_EQ(tall.BoundsRect(), (TRect{0, 0, 216, 44}));
  EXPECT_EQ(a.BoundsRect(), (TRect{216, 0, 540, 22}));
  EXPECT_EQ(c.BoundsRect(), (TRect{378, 22, 432, 44}));
  EXPECT_TRUE(d.BoundsRect().IsEmpty());
  EXPECT_EQ(grid.HitTest(10, 30), &tall);
  EXPECT_EQ(grid.HitTest(400, 30), &c);
  EXPECT_EQ(grid.HitTest(500, 30), nullptr);  // the free cells
}

TEST_F(GridTest, CellsTileTheClientAreaAtAnySize) {
  grid.StartUpdating();
  grid.AddRow(rtStandard);
  for (int i = 0; i < 10; ++i) grid.AddLabel(1);
  grid.AddDividerRow();
  grid.AddRow(rtStandard);
  grid.AddGauge(10);
  grid.UpdateGridDimensions();
  grid.StopUpdating();
  grid.SetClientSize(333, 101);
  int area = 0;
  for (const auto& w : grid.Widgets()) area += w->BoundsRect().Width() * w->BoundsRect().Height();
  EXPECT_EQ(area, 333 * 101);
  TBitmap32 frame(333, 101);
  grid.RenderTo(frame);
  for (int y = 0; y < 101; ++y)
    for (int x = 0; x < 333; ++x) ASSERT_NE(frame.Pixel(x, y) >> 24, 0u) << x << "," << y;
}

TEST_F(GridTest, CustomRowsFollowTheirParameters) {
  TQD_CustomReadingsList list;
  list.Add(kVolt, "C=0");
  list.Add(kVolt, "C=12");
  list.Add(kVolt, "");
  list.Add(kPercent, "F=LB");
  list.Add(kCelsius, "F=GA");
  list.Add(kVolt, "F=LG");
  list.Add(kCelsius, "F=LG");
  list.Add(kFan, "O=L");
  grid.StartUpdating();
  grid.AddCustomRows(&list);
  grid.UpdateGridDimensions();
  grid.StopUpdating();
  ASSERT_EQ(grid.NumRows(), 9);
  EXPECT_EQ(KindAt(0, 0), "divider");
  EXPECT_EQ(SpanAt(1, 0), 1);  // C=0 → 1 and 9
  EXPECT_EQ(SpanAt(1, 1), 9);
  EXPECT_EQ(SpanAt(2, 0), 9);  // C=12 → 9 and 1
  EXPECT_EQ(SpanAt(2, 9), 1);
  EXPECT_EQ(SpanAt(3, 0), 5);  // default 5 and 5
  EXPECT_EQ(KindAt(4, 7), "gauge");  // "%" stays a gauge with F=LB
  EXPECT_EQ(KindAt(5, 7), "temp");   // "°C" with F=GA: a temperature label
  EXPECT_EQ(KindAt(6, 7), "label");  // "V" with F=LG: a plain label
  EXPECT_EQ(KindAt(7, 7), "graph");  // "°C" with F=LG
  EXPECT_EQ(KindAt(8, 0), "gauge");  // O=L: value first
  EXPECT_EQ(KindAt(8, 7), "label");
  // The name label shows the user label; the temperature graph takes the threshold.
  TQD_Label* name = grid.Labels()[0];
  EXPECT_EQ(name->Settings().Captions[0].Caption, "VID");
  EXPECT_EQ(grid.LineGraphs()[0]->LineGraphs()[0].MaxValueManual, 100.0);
  EXPECT_EQ(grid.LineGraphs()[0]->LineGraphs()[0].Values.size(), 5u * 20);
}

TEST_F(GridTest, DividerOnlyAndEmptyCustomLists) {
  TQD_CustomReadingsList list;
  grid.AddCustomRows(&list);
  EXPECT_EQ(grid.NumRows(), 0);  // nothing, not even the leading divider
  EXPECT_EQ(grid.CustomReadingsList(), &list);
  list.CreateDivider();
  list.CreateDivider();
  grid.AddCustomRows(&list);
  EXPECT_EQ(grid.NumRows(), 3);
  EXPECT_EQ(grid.NumDividers(), 3);
  TQD_GridContainer noLogger{&settings};
  noLogger.AddCustomRows(&list);
  EXPECT_EQ(noLogger.NumRows(), 0);
}

TEST_F(GridTest, ErrorLayoutHasAFixedTitleRow) {
  grid.StartUpdating();
  grid.AddErrorRows("CPU Monitor", "Please enable shared memory support in HWiNFO!");
  grid.StopUpdating();
  for (int h : {120, 300, 66}) {
    grid.SetClientSize(540, h);
    EXPECT_EQ(grid.Labels()[0]->BoundsRect().Height(), 22) << h;
    EXPECT_EQ(grid.Labels()[1]->BoundsRect().Height(), h - 22) << h;
  }
  EXPECT_EQ(grid.Labels()[1]->Settings().Captions[0].Caption, "Please enable shared memory support in HWiNFO!");
  EXPECT_FALSE(grid.Labels()[1]->Settings().TextAutoSize);
  grid.SetDPI(144);
  EXPECT_EQ(grid.Labels()[0]->BoundsRect().Height(), 33);
}

TEST_F(GridTest, SettingsAreCopiedAtCreation) {
  settings.FontAutosizing.Value = false;
  settings.FontAntialiasing.Value = true;
  settings.LineGraphGridLines.Value = 3;
  settings.NetworkMonitor_NetGraphGridLines.Value = 0;
  grid.AddRows(rtStandard, 2);
  TQD_Gauge& g = grid.AddGauge(5);
  TQD_LineGraph& lg = grid.AddLineGraph(5, 1);
  TQD_NetGraph& ng = grid.AddNetGraph(5, 1);
  settings.FontAntialiasing.Value = false;  // later changes wait for a rebuild
  EXPECT_FALSE(g.Settings().TextAutoSize);
  EXPECT_TRUE(g.Settings().TextAntialiasing);
  EXPECT_EQ(lg.Settings().GridLines, lglNine);
  EXPECT_EQ(ng.Settings().GridLines, lglOff);
}

TEST_F(GridTest, MouseControlsReachOnlyWidgetsPresentAtTheCall) {
  grid.AddRow(rtStandard);
  grid.AddLabel(5);
  int presses = 0;
  int menu = 0;
  grid.AddMouseControls([&](TQD_MouseButton, int, int) { ++presses; }, &menu);
  grid.AddLabel(5);
  grid.SetClientSize(100, 20);
  EXPECT_TRUE(grid.MouseDown(TQD_MouseButton::Left, 10, 10));
  EXPECT_FALSE(grid.MouseDown(TQD_MouseButton::Left, 90, 10));
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(grid.PopupMenuAt(10, 10), &menu);
  EXPECT_EQ(grid.PopupMenuAt(90, 10), nullptr);
}

TEST_F(GridTest, DirtyWidgetsAreReportedOnce) {
  grid.AddRow(rtStandard);
  TQD_Label& l = grid.AddLabel(10);
  l.AddCaption(kPercent, dcsValue);
  grid.SetClientSize(540, 22);
  std::vector<TQD_Widget*> dirty;
  grid.TakeDirty(dirty);
  EXPECT_EQ(dirty.size(), 1u);  // laid out and painted
  grid.TakeDirty(dirty);
  EXPECT_TRUE(dirty.empty());
  EXPECT_FALSE(l.ManualRepaint());
  grid.TakeDirty(dirty);
  EXPECT_TRUE(dirty.empty());
}
