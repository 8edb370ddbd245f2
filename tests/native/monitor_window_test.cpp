// Monitor windows: geometry at 96 DPI, population and the error layout,
// rebuild and reset, refresh measurement, and the clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/dpi.h"
#include "sim/block_writer.h"
#include "widgets/color_table.h"
#include "readings/custom_readings_list.h"
#include "collector/data_logger.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "monitors/monitors.h"
#include "settings/settings.h"

namespace {

class MonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    block.Sensors = {{0xF0000300, 0, "CPU [#0]", ""}};
    block.Readings = {{7, 0, 0x7000000, "Total CPU Usage", "", "%", 20, 0, 100, 10}};
    logger = std::make_unique<TQD_DataLogger>(fakes.Ports(), false, 180, 2000);
  }
  void Poll(bool AHWiNFO = true) {
    if (AHWiNFO) fakes.SharedMemory.Block = WriteBlock(block);
    else fakes.SharedMemory.Block.reset();
    logger->HWiPolling();
  }
  std::unique_ptr<TQD_MonitorWindow> Make(TQD_MonitorKind AKind) {
    auto w = CreateMonitorWindow(AKind, host, settings, fakes.Clock, fakes.Timers);
    w->SetColorTable(&colors);
    if (AKind != TQD_MonitorKind::Clock) w->SetDataLogger(logger.get());
    return w;
  }

  TSF_Block block;
  TFakeCollector fakes;
  std::unique_ptr<TQD_DataLogger> logger;
  TQD_ColorTable colors;
  TQD_Settings settings;
  TFakeMonitorHost host{TQD_MonitorKind::CPU, 96};
};

bool SamePixels(const TBitmap32& A, const TBitmap32& B) {
  return A.Width() == B.Width() && A.Height() == B.Height() &&
         std::equal(A.Bits(), A.Bits() + static_cast<size_t>(A.Width()) * A.Height(), B.Bits());
}

}  // namespace

TEST_F(MonitorTest, FirstStartSizesToTheContentAndCentres) {
  Poll();
  auto w = Make(TQD_MonitorKind::CPU);
  EXPECT_FALSE(w->MonitorWindowPopulated());
  EXPECT_EQ(w->LastPaintDuration(), 0);
  TQD_CustomReadingsList list;
  for (int i = 0; i < 8; ++i) list.Add(TQD_URID::CreateNew(0xF0000300, 0, 0x7000000), "");
  w->SetCustomReadingsList(&list);
  w->Show();
  EXPECT_TRUE(w->MonitorWindowPopulated());
  const int content = w->Grid().ContentHeight();
  ASSERT_GT(content, 120);
  EXPECT_EQ(host.ClientWidth, 540);
  EXPECT_EQ(host.ClientHeight, content);
  EXPECT_EQ(host.Left, 1920 / 2 - 540 / 2);
  EXPECT_EQ(host.Top, 1080 / 2 - content / 2);
  EXPECT_EQ(settings.CPUMonitor_WindowWidth.Value, 540);  // defaults written back
  EXPECT_EQ(settings.CPUMonitor_WindowHeight.Value, content);
  EXPECT_EQ(w->Grid().ClientHeight(), content);
}

TEST_F(MonitorTest, SmallContentIsHeldAtTheMinimumHeight) {
  Poll();
  auto w = Make(TQD_MonitorKind::CPU);
  w->Show();
  EXPECT_EQ(host.MinHeight, 120);
  EXPECT_EQ(host.ClientHeight, 120);
  auto clockHost = host;
  auto clock = CreateMonitorWindow(TQD_MonitorKind::Clock, clockHost, settings, fakes.Clock, fakes.Timers);
  clock->Show();
  EXPECT_EQ(clockHost.ClientWidth, 540);
  EXPECT_EQ(clockHost.ClientHeight, 66);
  EXPECT_EQ(clockHost.MinHeight, 66);
}

TEST_F(MonitorTest, GeometryIsStoredAt96DPI) {
  Poll();
  host.Dpi = 144;
  settings.CPUMonitor_WindowWidth.Value = 540;
  settings.CPUMonitor_WindowHeight.Value = 200;
  settings.CPUMonitor_WindowLeft.Value = 10;
  settings.CPUMonitor_WindowTop.Value = 20;
  auto w = Make(TQD_MonitorKind::CPU);
  w->Show();
  EXPECT_EQ(host.ClientWidth, 810);
  EXPECT_EQ(host.ClientHeight, 300);
  EXPECT_EQ(host.Left, 10);
  host.ClientWidth = 811;  // the user widens it by a pixel
  w->Destroying();
  EXPECT_EQ(settings.CPUMonitor_WindowWidth.Value, 541);  // MulDiv(811, 96, 144) = 540.67
  EXPECT_EQ(settings.CPUMonitor_WindowHeight.Value, 200);
}

TEST_F(MonitorTest, ResetSizeKeepsThePositionAndResetPositionKeepsTheSize) {
  Poll();
  settings.CPUMonitor_WindowWidth.Value = 300;
  settings.CPUMonitor_WindowHeight.Value = 300;
  settings.CPUMonitor_WindowLeft.Value = 50;
  settings.CPUMonitor_WindowTop.Value = 60;
  auto w = Make(TQD_MonitorKind::CPU);
  w->Show();
  w->ResetMonitorWindow(true, false);
  EXPECT_EQ(host.ClientWidth, 540);
  EXPECT_EQ(host.ClientHeight, 120);
  EXPECT_EQ(host.Left, 50);
  EXPECT_EQ(host.Top, 60);
  w->ResetMonitorWindow(false, true);
  EXPECT_EQ(host.ClientWidth, 540);
  EXPECT_EQ(host.Left, 1920 / 2 - 270);
  host.Left = 77;
  w->ResetMonitorWindow(false, false);  // stores and changes nothing else
  EXPECT_EQ(settings.CPUMonitor_WindowLeft.Value, 77);
  EXPECT_EQ(host.Left, 77);
}

TEST_F(MonitorTest, NegativePositionsAreRealUnlessNoMonitorShowsThem) {
  Poll();
  host.WorkAreas = {{-1920, 0, 0, 1040}, {0, 0, 1920, 1040}};
  settings.CPUMonitor_WindowLeft.Value = -1500;
  settings.CPUMonitor_WindowTop.Value = 100;
  auto w = Make(TQD_MonitorKind::CPU);
  w->Show();
  EXPECT_EQ(host.Left, -1500);  // on the monitor left of the primary one
  EXPECT_EQ(host.Top, 100);
  host.WorkAreas = {{0, 0, 1920, 1040}};  // that monitor is gone
  w->ResetMonitorWindow(false, false);
  auto again = Make(TQD_MonitorKind::CPU);
  again->Show();
  EXPECT_EQ(host.Left, 1920 / 2 - 270);
  EXPECT_EQ(host.Top, 1080 / 2 - 60);
  EXPECT_TRUE(WindowVisibleOnSomeMonitor({{0, 0, 100, 100}}, -50, -50, 60, 60));
  EXPECT_FALSE(WindowVisibleOnSomeMonitor({{0, 0, 100, 100}}, -58, 10, 60, 60));  // a 2-pixel sliver
}

TEST_F(MonitorTest, ErrorLayoutDoesNotStoreTheDefaultsAPopulationReplaces) {
  Poll(false);  // HWiNFO not there yet
  auto w = Make(TQD_MonitorKind::CPU);
  TQD_CustomReadingsList list;
  for (int i = 0; i < 8; ++i) list.Add(TQD_URID::CreateNew(0xF0000300, 0, 0x7000000), "");
  w->SetCustomReadingsList(&list);
  w->Show();
  EXPECT_TRUE(w->ErrorWindowPopulated());
  EXPECT_FALSE(w->MonitorWindowPopulated());
  EXPECT_EQ(host.ClientHeight, 120);
  EXPECT_EQ(settings.CPUMonitor_WindowHeight.Value, -1);
  EXPECT_EQ(w->Grid().Labels()[1]->Settings().Captions[0].Caption, "Please enable shared memory support in HWiNFO!");
  w->RebuildMonitorWindow();  // a rebuild while in the error layout keeps "not set" too
  EXPECT_EQ(settings.CPUMonitor_WindowHeight.Value, -1);
  Poll();
  w->PopulateMonitorWindow();
  EXPECT_TRUE(w->MonitorWindowPopulated());
  EXPECT_FALSE(w->ErrorWindowPopulated());
  EXPECT_GT(w->Grid().ContentHeight(), 120);
  EXPECT_EQ(host.ClientHeight, w->Grid().ContentHeight());  // exactly as high as its content
  EXPECT_EQ(settings.CPUMonitor_WindowHeight.Value, w->Grid().ContentHeight());
}

TEST_F(MonitorTest, GPUAndDriveErrorTextsDependOnTheLastPoll) {
  Poll(false);
  auto gpu = Make(TQD_MonitorKind::GPU);
  gpu->Show();
  EXPECT_EQ(gpu->Grid().Labels()[0]->Settings().Captions[0].Caption, "GPU Monitor");
  EXPECT_EQ(gpu->Grid().Labels()[1]->Settings().Captions[0].Caption, "Please enable shared memory support in HWiNFO!");
  Poll();  // HWiNFO runs but reports no GPU
  auto gpu2 = Make(TQD_MonitorKind::GPU);
  gpu2->Show();
  EXPECT_EQ(gpu2->Grid().Labels()[1]->Settings().Captions[0].Caption, "No dedicated GPU detected!");
  auto drives = Make(TQD_MonitorKind::Drives);
  drives->Show();
  EXPECT_EQ(drives->Grid().Labels()[1]->Settings().Captions[0].Caption, "No drive detected!");
  auto net = Make(TQD_MonitorKind::Network);
  net->Show();  // needs no HWiNFO
  EXPECT_TRUE(net->MonitorWindowPopulated());
}

TEST_F(MonitorTest, RefreshMeasuresOnlyWhenSomethingRepainted) {
  Poll();
  TQD_CustomReadingsList list;
  list.Add(TQD_URID::CreateNew(0xF0000300, 0, 0x7000000), "F=LB");
  auto w = Make(TQD_MonitorKind::CPU);
  w->SetCustomReadingsList(&list);
  host.Window = w.get();  // the host paints what is marked
  fakes.Clock.Step = 3;
  w->Show();
  const int invalidations = host.Invalidations;
  const int32_t shown = w->LastPaintDuration();
  w->RefreshMonitorWindow();
  EXPECT_EQ(host.Invalidations, invalidations);  // nothing changed
  EXPECT_EQ(w->LastPaintDuration(), shown);
  block.Readings[0].Value = 55;
  Poll();
  w->RefreshMonitorWindow();
  EXPECT_EQ(host.Invalidations, invalidations + 1);
  EXPECT_EQ(w->LastPaintDuration(), 3 + 3);  // the refresh, then the paint that drew it
  { const TQD_MonitorWindow::TPaintTimer uncovered(w.get()); }  // a paint with nothing new
  EXPECT_EQ(w->LastPaintDuration(), 6);
  host.Window = nullptr;  // hidden: refreshed, never painted
  for (double value : {60, 65, 70}) {
    block.Readings[0].Value = value;
    Poll();
    w->RefreshMonitorWindow();
  }
  { const TQD_MonitorWindow::TPaintTimer shown(w.get()); }
  EXPECT_EQ(w->LastPaintDuration(), 3 + 3);  // the latest refresh and the paint, not every refresh
}

// A refresh and its paint take well under a millisecond each: their sum is
// measured in microseconds and shown in whole milliseconds, so a window that
// always takes 0.8 ms does not read 0 ms one second and 1 ms the next.
TEST_F(MonitorTest, RefreshAndPaintAddUpBeforeTheyAreRoundedDown) {
  Poll();
  auto w = Make(TQD_MonitorKind::CPU);
  host.Window = w.get();
  w->Show();
  double value = 40;
  for (const auto [stepUs, shown] : {std::pair{200, 0}, std::pair{400, 0}, std::pair{600, 1}, std::pair{2600, 5}}) {
    fakes.Clock.StepUs = stepUs;  // each of the refresh's and the paint's two readings
    block.Readings[0].Value = value += 5;
    Poll();
    w->RefreshMonitorWindow();
    { const TQD_MonitorWindow::TPaintTimer paint(w.get()); }
    EXPECT_EQ(w->LastPaintDuration(), shown) << stepUs << " us a reading";
  }
}

TEST_F(MonitorTest, ClockTicksOnItsOwnTimerAndReports) {
  fakes.Clock.LocalTime = 46000.5;
  auto w = CreateMonitorWindow(TQD_MonitorKind::Clock, host, settings, fakes.Clock, fakes.Timers);
  w->SetColorTable(&colors);
  auto& clock = static_cast<TMonitor_Clock&>(*w);
  int reports = 0;
  clock.OnUpdateDone = [&](TMonitor_Clock&) { ++reports; };
  clock.Show();
  TFakeTimer& timer = *fakes.Timers.Created.back();
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_EQ(timer.DueTime(), 1000u);
  timer.Tick();
  EXPECT_EQ(reports, 1);
  ASSERT_EQ(w->Grid().NumLabels(), 2);
  EXPECT_EQ(w->Grid().Labels()[0]->Settings().Captions[0].Caption, "12:00:00");
  EXPECT_EQ(w->Grid().Labels()[1]->Settings().Captions[0].Caption, "2025-12-09");
  clock.Destroying();
  EXPECT_EQ(reports, 2);
  EXPECT_EQ(settings.Clock_WindowWidth.Value, 540);
  EXPECT_EQ(settings.Clock_WindowHeight.Value, 66);
}

TEST_F(MonitorTest, RoundedCornersFollowTheSetting) {
  settings.RoundedCorners.Value = 2;
  auto w = Make(TQD_MonitorKind::Network);
  EXPECT_EQ(host.CornerPreference, 2);
  settings.RoundedCorners.Value = 7;
  w->UpdateRoundedCorners();
  EXPECT_EQ(host.CornerPreference, 0);
}

TEST_F(MonitorTest, ErrorLayoutShowsTheCurrentReason) {
  // The first event is usually the internal poll, before HWiNFO's first poll;
  // HWiNFO then runs on a machine without the hardware, and later goes away.
  const struct {
    TQD_MonitorKind Kind;
    const char* Missing;
  } cases[] = {{TQD_MonitorKind::GPU, "No dedicated GPU detected!"}, {TQD_MonitorKind::Drives, "No drive detected!"}};
  const std::string noHWiNFO = "Please enable shared memory support in HWiNFO!";
  for (const auto& c : cases) {
    logger = std::make_unique<TQD_DataLogger>(fakes.Ports(), false, 180, 2000);
    auto w = Make(c.Kind);
    auto message = [&] { return w->Grid().Labels()[1]->Settings().Captions[0].Caption; };
    w->Show();
    EXPECT_EQ(message(), noHWiNFO);
    host.Left = 300;  // the user moves the window meanwhile
    Poll();
    w->PopulateMonitorWindow();
    EXPECT_EQ(message(), c.Missing);
    EXPECT_TRUE(w->ErrorWindowPopulated());
    EXPECT_FALSE(w->MonitorWindowPopulated());
    EXPECT_EQ(host.Left, 300);
    const int layouts = host.MinSizeCalls;
    w->PopulateMonitorWindow();  // the same reason: nothing is rebuilt
    EXPECT_EQ(host.MinSizeCalls, layouts);
    Poll(false);
    w->PopulateMonitorWindow();
    EXPECT_EQ(message(), noHWiNFO);
  }
}

TEST_F(MonitorTest, FontsAndMinimumSizeFollowTheDPIWhateverTheOrder) {
  const struct {
    int Dpi, FontHeight, MinSize;
  } cases[] = {{96, -15, 120}, {120, -19, 150}, {144, -23, 180}, {192, -30, 240}};
  TQD_Font font;
  font.Height = -15;
  settings.FontAutosizing.Value = false;  // every caption at the window's font, as in the error layout
  // The font is assigned after the window took its host's DPI, as the control panel does.
  auto make = [&](TFakeMonitorHost& AHost) {
    auto w = CreateMonitorWindow(TQD_MonitorKind::CPU, AHost, settings, fakes.Clock, fakes.Timers);
    w->SetColorTable(&colors);
    w->SetDataLogger(logger.get());
    w->SetFont(font);
    w->Show();
    return w;
  };
  for (bool populated : {false, true}) {
    if (populated) Poll();  // else HWiNFO was never polled: the error layout
    for (const auto& c : cases) {
      TFakeMonitorHost atDpi(TQD_MonitorKind::CPU, c.Dpi);
      auto direct = make(atDpi);
      ASSERT_EQ(direct->MonitorWindowPopulated(), populated);
      for (const auto& widget : direct->Grid().Widgets()) EXPECT_EQ(widget->Font().Height, c.FontHeight) << c.Dpi;
      EXPECT_EQ(atDpi.MinWidth, c.MinSize) << c.Dpi;
      EXPECT_EQ(atDpi.MinHeight, c.MinSize) << c.Dpi;

      // Created at 96 DPI and moved to this DPI, possibly by way of another
      // one; the system resizes the window before or after it reports the DPI.
      for (int via : {96, 144, 120}) {
        for (bool sizeFirst : {false, true}) {
          TFakeMonitorHost moved(TQD_MonitorKind::CPU, 96);
          auto w = make(moved);
          const int width96 = moved.ClientWidth, height96 = moved.ClientHeight;
          for (int dpi : {via, c.Dpi}) {
            moved.Dpi = dpi;
            auto resize = [&] {
              moved.ClientWidth = ScaleToDPI(width96, dpi);
              moved.ClientHeight = ScaleToDPI(height96, dpi);
              w->ClientResized(moved.ClientWidth, moved.ClientHeight);
            };
            if (sizeFirst) resize();
            w->DpiChanged(dpi);
            if (!sizeFirst) resize();
          }
          const std::string where = std::to_string(c.Dpi) + " via " + std::to_string(via) +
                                    (sizeFirst ? ", sized first" : "") + (populated ? ", populated" : "");
          EXPECT_EQ(moved.MinWidth, c.MinSize) << where;
          EXPECT_EQ(moved.MinHeight, c.MinSize) << where;
          // Every widget has the font and draws what it draws in the window
          // created at this DPI, however often it was drawn before.
          const auto& widgets = w->Grid().Widgets();
          ASSERT_EQ(widgets.size(), direct->Grid().Widgets().size());
          for (size_t i = 0; i < widgets.size(); ++i) {
            EXPECT_EQ(widgets[i]->Font().Height, c.FontHeight) << where << ", widget " << i;
            const TBitmap32 drawn = widgets[i]->Draw();
            EXPECT_TRUE(SamePixels(drawn, direct->Grid().Widgets()[i]->Draw())) << where << ", widget " << i;
          }
        }
      }
    }
  }
}
