// The control panel's lifecycle and polling dispatch: creation from the store,
// the windows the first polling-done event creates, populate / refresh /
// rebuild decisions and the status texts, and what reaches the store at the end.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "settings/autostart.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "app/main_form.h"
#include "settings/memory_key_value_store.h"
#include "sim/profiles.h"

namespace {

constexpr TQD_MonitorKind kClock = TQD_MonitorKind::Clock;
constexpr TQD_MonitorKind kCPU = TQD_MonitorKind::CPU;
constexpr TQD_MonitorKind kGPU = TQD_MonitorKind::GPU;
constexpr TQD_MonitorKind kDrives = TQD_MonitorKind::Drives;
constexpr TQD_MonitorKind kNetwork = TQD_MonitorKind::Network;
constexpr TQD_MonitorKind kAll[] = {kClock, kCPU, kGPU, kDrives, kNetwork};

const std::string kBase = QD_RegBaseKey;
const std::string kExe = "C:\\Apps\\Quendal\\Quendal.exe";

// Every option's value as text, in record order, RunOnStartup left out (it is not stored).
std::vector<std::string> StoredOptionValues(const TQD_Settings& ASettings) {
  std::vector<std::string> out;
  ASettings.ForEachOption([&](const auto& AOption) {
    if (AOption.Reg.empty()) return;
    if constexpr (std::is_same_v<std::decay_t<decltype(AOption.Value)>, std::string>)
      out.push_back(AOption.Value);
    else
      out.push_back(std::to_string(AOption.Value));
  });
  return out;
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeProfile("intel-hybrid", profile));
    fakes.SystemInfo.CPU = profile.CPUInfo;
    fakes.SystemInfo.Drives = {{true, 0, "C:\\", "System", 100, 40, 60}};
    fakes.Network.Rows = {MakeIFRow(1, true)};
    fakes.Clock.Step = 1;  // every measured duration is above 0
    system.ExecutablePath = kExe;
    system.ProgramVersionText = [] { return std::string("1.7"); };
  }

  void SwitchOn(std::initializer_list<const char*> ASubkeys) {
    for (const char* sub : ASubkeys) RegWriteBool(store, kBase + sub, "On", true);
  }
  void PublishProfile() { fakes.SharedMemory.Block = WriteBlock(profile.Block); }
  // The reading of the profile's first sensor whose value moves from tick to tick.
  TQD_URID MovingReading() const {
    for (size_t i = 0; i < profile.Block.Readings.size(); ++i) {
      if (profile.Motion[i].Kind != smFollow) continue;
      const TSF_Reading& r = profile.Block.Readings[i];
      const TSF_Sensor& s = profile.Block.Sensors[r.dwSensorIndex];
      return TQD_URID::CreateNew(s.dwSensorID, s.dwSensorInst, r.dwReadingID);
    }
    return {};
  }
  void Create() { form = std::make_unique<TQD_MainForm>(store, fakes.Ports(), hosts, system); }
  void InternalTick() { fakes.Timers.Created.at(0)->Tick(); }
  void HWiTick() { fakes.Timers.Created.at(1)->Tick(); }
  void NextProfileTick() {
    AdvanceProfile(profile, ++tick, 2000);
    PublishProfile();
    HWiTick();
  }
  // Every window switched on and populated with HWiNFO running.
  void StartAllPopulated() {
    SwitchOn({"\\Clock", "\\CPUMonitor", "\\GPUMonitor", "\\DriveMonitor", "\\NetworkMonitor"});
    PublishProfile();
    Create();
    InternalTick();
    HWiTick();
    for (TQD_MonitorKind k : kAll) ASSERT_TRUE(form->MonitorWindow(k)->MonitorWindowPopulated()) << int(k);
  }
  TFakeMonitorHost& Host(TQD_MonitorKind AKind) { return *hosts.Host(AKind); }
  std::vector<int> MinSizeCalls() {
    std::vector<int> out;
    for (TQD_MonitorKind k : kAll) out.push_back(Host(k).MinSizeCalls);
    return out;
  }
  static std::string Ms(int64_t AValue) { return std::to_string(AValue) + " ms"; }

  TSF_Profile profile;
  uint64_t tick = 0;
  TFakeCollector fakes;
  TQD_MemoryKeyValueStore store;
  TFakeMonitorHostFactory hosts;
  TQD_MainFormSystem system;
  std::unique_ptr<TQD_MainForm> form;
};

}  // namespace

TEST_F(MainFormTest, CreationLoadsEverythingAndStartsPollingWithoutWindows) {
  RegWriteString(store, kBase, "FontName", "Consolas");
  RegWriteInteger(store, kBase, "FontSize", 14);
  RegWriteBool(store, kBase, "FontItalic", true);
  RegWriteBool(store, kBase, "StartMinimized", true);
  RegWriteInteger(store, kBase, "HWiNFOPollingInterval", 500);
  RegWriteInteger(store, kBase + "\\NetworkMonitor", "NetGraphBufferLen", 900);
  const std::string firstColor(DefaultTranslationTable[0].Name);
  RegWriteString(store, QD_ColorsKey, firstColor, "#FF112233");
  TQD_CustomReadingsList stored("\\DriveMonitorCustomReadings");
  stored.Add(MovingReading(), "V=MAX");
  stored.SaveToRegistry(store);
  RegisterAutostart(store, kExe);
  Create();

  EXPECT_EQ(form->Caption(), "Quendal 1.7");
  EXPECT_FALSE(form->TerminateRequested());
  EXPECT_TRUE(form->FirstRun());
  EXPECT_FALSE(form->RebuildPending());  // applying the settings at start-up rebuilds nothing
  EXPECT_TRUE(hosts.Created.empty());
  EXPECT_TRUE(fakes.Timers.Created.at(0)->Enabled());
  EXPECT_TRUE(fakes.Timers.Created.at(1)->Enabled());
  EXPECT_EQ(form->DataLogger()->HWiPollingInterval(), 500u);
  EXPECT_EQ(form->DataLogger()->NIFLoggerBufferLen(), 900u);

  EXPECT_EQ(form->SharedFont().Name, "Consolas");
  EXPECT_EQ(form->SharedFont().Size(), 14);
  EXPECT_TRUE(form->SharedFont().Italic);
  EXPECT_EQ(form->ColorTable().GetColor(0), 0xFF112233u);
  EXPECT_EQ(form->WorkingColorTable().GetColor(0), 0xFF112233u);
  EXPECT_EQ(form->CustomReadingsList(kDrives)->Count(), 1);
  EXPECT_EQ(form->CustomReadingsList(kCPU)->Count(), 0);
  EXPECT_TRUE(form->Settings().RunOnStartup.Value);

  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(form->ShowControlPanelEnabled());
  form->ShowControlPanel();
  EXPECT_TRUE(form->HideControlPanelEnabled());
  EXPECT_FALSE(form->Settings().StartMinimized.Value);

  for (const std::string* s : {&form->StatusPanel1(), &form->StatusPanel2(), &form->StatusPanel3()})
    EXPECT_EQ(*s, "-");
  for (TQD_MonitorKind k : kAll) {
    EXPECT_EQ(form->RenderTime(k), "Disabled");
    EXPECT_FALSE(form->ToggleSwitch(k));
  }
}

TEST_F(MainFormTest, TooOldWindowsShowsTheErrorAndEndsBeforeAnyTimerStarts) {
  unsigned asked = 0;
  std::vector<std::string> shown;
  system.IsWindowsVersionAtLeast = [&](unsigned AMajor) {
    asked = AMajor;
    return false;
  };
  system.ShowFatalError = [&](const std::string& AText) { shown.push_back(AText); };
  SwitchOn({"\\Clock"});
  const int keysBefore = store.KeyCount();
  Create();
  EXPECT_EQ(asked, 6u);
  EXPECT_EQ(shown, std::vector<std::string>{"This application requires Windows Vista or newer!"});
  EXPECT_TRUE(form->TerminateRequested());
  // Nothing started that could tick, and nothing to write back at the end.
  EXPECT_TRUE(fakes.Timers.Created.empty());
  EXPECT_EQ(form->DataLogger(), nullptr);
  form.reset();
  EXPECT_TRUE(hosts.Created.empty());
  EXPECT_EQ(store.KeyCount(), keysBefore);
  EXPECT_EQ(store.ValueNames(kBase + "\\Clock"), std::vector<std::string>{"On"});
}

TEST_F(MainFormTest, AMissingVersionResourceFailsCreation) {
  system.ProgramVersionText = []() -> std::string { throw std::runtime_error("no version resource"); };
  EXPECT_THROW(Create(), std::runtime_error);
  EXPECT_TRUE(fakes.Timers.Created.empty());
}

TEST_F(MainFormTest, FirstEventCreatesTheSwitchedOnWindowsInOrderAndOnlyOnce) {
  SwitchOn({"\\NetworkMonitor", "\\DriveMonitor", "\\CPUMonitor", "\\Clock"});  // GPU stays off
  Create();
  InternalTick();
  EXPECT_EQ(hosts.Created, (std::vector<TQD_MonitorKind>{kClock, kCPU, kDrives, kNetwork}));
  EXPECT_FALSE(form->FirstRun());
  EXPECT_TRUE(form->Clock_ToggleSwitch());
  EXPECT_FALSE(form->GPUMonitor_ToggleSwitch());
  EXPECT_TRUE(form->NetworkMonitor_ToggleSwitch());

  // Each window had everything it draws with before it was shown.
  ASSERT_EQ(hosts.Reports.size(), 4u);
  for (const auto& r : hosts.Reports) {
    EXPECT_TRUE(r.HasColorTable);
    EXPECT_FALSE(r.Shown);
    EXPECT_EQ(r.HasDataLogger, r.Kind != kClock);
    EXPECT_EQ(r.HasCustomReadingsList, r.Kind != kClock);
  }
  TQD_MonitorWindow& cpu = *form->MonitorWindow(kCPU);
  EXPECT_EQ(cpu.CustomReadingsList(), form->CustomReadingsList(kCPU));
  EXPECT_EQ(cpu.ColorTable(), &form->ColorTable());
  EXPECT_EQ(cpu.Grid().Font, form->SharedFont());
  EXPECT_EQ(form->SharedFont().Name, "Bahnschrift Condensed");

  HWiTick();
  InternalTick();
  EXPECT_EQ(hosts.Created.size(), 4u);
  EXPECT_EQ(form->GPUMonitor_RenderTime(), "Disabled");
}

TEST_F(MainFormTest, WithoutHWiNFOOnlyTheNetworkWindowPopulates) {
  SwitchOn({"\\Clock", "\\CPUMonitor", "\\GPUMonitor", "\\DriveMonitor", "\\NetworkMonitor"});
  Create();
  InternalTick();
  EXPECT_EQ(form->StatusPanel2(), "System info polling status: OK");
  EXPECT_EQ(form->StatusPanel3(), "Error reading HWiNFO shared memory!");  // not polled yet
  HWiTick();
  EXPECT_EQ(form->StatusPanel3(), "Please enable shared memory support in HWiNFO!");
  InternalTick();
  EXPECT_TRUE(form->MonitorWindow(kNetwork)->MonitorWindowPopulated());
  for (TQD_MonitorKind k : {kCPU, kGPU, kDrives}) {
    EXPECT_FALSE(form->MonitorWindow(k)->MonitorWindowPopulated()) << int(k);
    EXPECT_TRUE(form->MonitorWindow(k)->ErrorWindowPopulated()) << int(k);
    EXPECT_EQ(form->RenderTime(k), "0 ms");
  }
  EXPECT_EQ(form->NetworkMonitor_RenderTime(), Ms(form->MonitorWindow(kNetwork)->LastPaintDuration()));

  // HWiNFO comes up: the next event populates the hardware windows.
  PublishProfile();
  HWiTick();
  EXPECT_EQ(form->StatusPanel3(), "HWiNFO polling status: OK");
  for (TQD_MonitorKind k : {kCPU, kGPU, kDrives}) EXPECT_TRUE(form->MonitorWindow(k)->MonitorWindowPopulated());
}

TEST_F(MainFormTest, AFailedSystemPollHoldsBackPopulationEvenWithHWiNFOUp) {
  SwitchOn({"\\CPUMonitor"});
  PublishProfile();
  fakes.SystemInfo.RAMFails = true;
  Create();
  InternalTick();
  HWiTick();
  EXPECT_EQ(form->StatusPanel2(), "Error polling system information!");
  EXPECT_EQ(form->StatusPanel3(), "HWiNFO polling status: OK");
  EXPECT_TRUE(form->DataLogger()->CPUSensorFound());
  EXPECT_FALSE(form->MonitorWindow(kCPU)->MonitorWindowPopulated());

  fakes.SystemInfo.RAMFails = false;
  InternalTick();
  EXPECT_TRUE(form->MonitorWindow(kCPU)->MonitorWindowPopulated());
}

TEST_F(MainFormTest, PopulatedWindowsRefreshAndShowTheirPaintTime) {
  TQD_CustomReadingsList cpuList("\\CPUMonitorCustomReadings");
  cpuList.Add(MovingReading(), "");
  cpuList.SaveToRegistry(store);
  StartAllPopulated();
  const std::vector<int> populations = MinSizeCalls();
  const int invalidations = Host(kCPU).Invalidations;

  fakes.Clock.Step = 3;
  for (int i = 0; i < 3; ++i) NextProfileTick();
  EXPECT_EQ(MinSizeCalls(), populations);  // refreshed, not populated again
  EXPECT_GT(Host(kCPU).Invalidations, invalidations);
  for (TQD_MonitorKind k : {kCPU, kGPU, kDrives, kNetwork})
    EXPECT_EQ(form->RenderTime(k), Ms(form->MonitorWindow(k)->LastPaintDuration())) << int(k);
}

TEST_F(MainFormTest, AppliedSettingsReachWindowsAndLoggerAndRebuildEveryWindowOnce) {
  StartAllPopulated();
  TQD_Settings& s = form->Settings();
  s.RoundedCorners.Value = 2;
  s.FontName.Value = "Consolas";
  s.FontSize.Value = 14;
  s.FontBold.Value = true;
  s.RAMIncludeReserved.Value = true;
  s.HWiNFOPollingInterval.Value = 750;
  s.GPUMonitor_VRAMTotalManualMiB.Value = 4096;
  s.NetworkMonitor_NetGraphBufferLen.Value = 600;
  form->WorkingColorTable().SetColor(5, 0xFF010203u);
  const std::vector<int> before = MinSizeCalls();
  form->ApplySettings();

  EXPECT_TRUE(form->RebuildPending());
  EXPECT_EQ(MinSizeCalls(), before);  // nothing rebuilt before the next event
  for (TQD_MonitorKind k : kAll) {
    EXPECT_EQ(Host(k).CornerPreference, 2);
    EXPECT_EQ(form->MonitorWindow(k)->Grid().Font.Name, "Consolas");
    EXPECT_TRUE(form->MonitorWindow(k)->Grid().Font.Bold);
  }
  EXPECT_EQ(form->SharedFont().Height, -19);  // 14 pt at 96 DPI
  TQD_DataLogger& logger = *form->DataLogger();
  EXPECT_TRUE(logger.RAMInfoIncludeReserved());
  EXPECT_EQ(logger.HWiPollingInterval(), 750u);
  EXPECT_EQ(logger.GPUMemoryTotalManual(), 4096u);
  EXPECT_EQ(logger.NIFLoggerBufferLen(), 600u);
  EXPECT_EQ(form->ColorTable().GetColor(5), 0xFF010203u);

  // The rebuild takes the place of the event's drive and network requests.
  form->UpdateMonitors(logger, true, true);
  std::vector<int> once = before;
  for (int& n : once) ++n;
  EXPECT_EQ(MinSizeCalls(), once);
  EXPECT_FALSE(form->RebuildPending());
  NextProfileTick();
  EXPECT_EQ(MinSizeCalls(), once);
}

TEST_F(MainFormTest, ADriveListChangeRebuildsOnlyTheDriveWindow) {
  StartAllPopulated();
  const std::vector<int> before = MinSizeCalls();
  const std::string driveText = form->DriveMonitor_RenderTime();
  fakes.Clock.Step = 1000;  // the rebuild's paint time cannot match the old text
  fakes.SystemInfo.Drives.push_back({true, 1, "D:\\", "Data", 200, 50, 150});
  form->DataLogger()->DrivesChanged();  // as the system announces a new drive
  InternalTick();

  std::vector<int> expected = before;
  ++expected[static_cast<size_t>(kDrives)];
  EXPECT_EQ(MinSizeCalls(), expected);
  EXPECT_EQ(form->DriveMonitor_RenderTime(), driveText);
  EXPECT_GE(form->MonitorWindow(kDrives)->LastPaintDuration(), 1000);
  EXPECT_EQ(form->CPUMonitor_RenderTime(), Ms(form->MonitorWindow(kCPU)->LastPaintDuration()));

  // The next event shows it, and a network change rebuilds only that window.
  form->UpdateMonitors(*form->DataLogger(), false, true);
  EXPECT_EQ(form->DriveMonitor_RenderTime(), Ms(form->MonitorWindow(kDrives)->LastPaintDuration()));
  ++expected[static_cast<size_t>(kNetwork)];
  EXPECT_EQ(MinSizeCalls(), expected);
}

TEST_F(MainFormTest, TotalRenderingTimeCountsTheClockAndTheClockReportsItself) {
  SwitchOn({"\\Clock"});
  Create();
  int statusChanges = 0;
  form->OnStatusChanged = [&] { ++statusChanges; };
  InternalTick();
  const int32_t clockPaint = form->MonitorWindow(kClock)->LastPaintDuration();
  ASSERT_GT(clockPaint, 0);
  EXPECT_EQ(form->StatusPanel1(), "Total rendering time: " + std::to_string(clockPaint) + " ms");
  EXPECT_EQ(form->Clock_RenderTime(), "Disabled");  // the clock reports on its own ticks
  EXPECT_EQ(statusChanges, 1);

  fakes.Clock.Step = 4;
  fakes.Timers.Created.at(2)->Tick();  // the clock's own timer
  EXPECT_EQ(form->Clock_RenderTime(), Ms(form->MonitorWindow(kClock)->LastPaintDuration()));
  EXPECT_EQ(statusChanges, 2);

  form->DisableClock();
  EXPECT_EQ(form->Clock_RenderTime(), "Disabled");
  EXPECT_FALSE(form->Clock_ToggleSwitch());
  EXPECT_EQ(hosts.LiveHosts(), 0);
  InternalTick();
  EXPECT_EQ(form->StatusPanel1(), "Total rendering time: 0 ms");
}

TEST_F(MainFormTest, AnEventArrivingWhileAnotherRunsIsDropped) {
  SwitchOn({"\\Clock", "\\CPUMonitor"});
  Create();
  int nested = 0;
  hosts.OnCreateHost = [&](TQD_MonitorKind) {
    // A nested message loop delivering the other timer's event.
    if (nested++ == 0) form->UpdateMonitors(*form->DataLogger(), false, false);
  };
  InternalTick();
  EXPECT_EQ(hosts.Created, (std::vector<TQD_MonitorKind>{kClock, kCPU}));
  EXPECT_EQ(hosts.LiveHosts(), 2);
  EXPECT_FALSE(form->UpdateBusy());
  EXPECT_FALSE(form->FirstRun());
}

TEST_F(MainFormTest, AWindowThatCannotBeCreatedLeavesLaterEventsWorking) {
  SwitchOn({"\\Clock", "\\CPUMonitor"});
  Create();
  bool refuse = true;
  hosts.OnCreateHost = [&](TQD_MonitorKind AKind) {
    if (AKind == kCPU && refuse) throw std::runtime_error("window refused");
  };
  EXPECT_THROW(InternalTick(), std::runtime_error);
  EXPECT_FALSE(form->UpdateBusy());
  EXPECT_TRUE(form->FirstRun());
  EXPECT_FALSE(form->CPUMonitor_ToggleSwitch());
  EXPECT_EQ(hosts.LiveHosts(), 1);

  refuse = false;
  InternalTick();
  EXPECT_EQ(hosts.Created, (std::vector<TQD_MonitorKind>{kClock, kCPU}));  // the clock is not made twice
  EXPECT_TRUE(form->CPUMonitor_ToggleSwitch());
  EXPECT_FALSE(form->FirstRun());
}

TEST_F(MainFormTest, ShutdownWritesEveryChangeOnceAndLaterCallsDoNothing) {
  SwitchOn({"\\Clock", "\\CPUMonitor", "\\NetworkMonitor"});
  PublishProfile();
  Create();
  InternalTick();
  HWiTick();
  form->DisableNetworkMonitor();
  form->EnableGPUMonitor();
  TFakeMonitorHost& cpu = Host(kCPU);
  cpu.Left = 300;
  cpu.Top = 200;
  cpu.ClientWidth = 700;
  cpu.ClientHeight = 250;
  form->Settings().FontSize.Value = 13;
  form->Settings().DriveMonitor_TemperatureThreshold.Value = 70;
  form->HideControlPanel();
  form->CustomReadingsList(kGPU)->Add(MovingReading(), "V=MAX");
  form->ColorTable().SetColor(7, 0x80FEDCBAu);
  form->Shutdown();

  EXPECT_TRUE(form->ShutDown());
  EXPECT_EQ(hosts.LiveHosts(), 0);
  EXPECT_EQ(form->DataLogger(), nullptr);
  EXPECT_TRUE(RegReadBool(store, kBase + "\\Clock", "On", false));
  EXPECT_TRUE(RegReadBool(store, kBase + "\\CPUMonitor", "On", false));
  EXPECT_TRUE(RegReadBool(store, kBase + "\\GPUMonitor", "On", false));
  EXPECT_FALSE(RegReadBool(store, kBase + "\\NetworkMonitor", "On", true));
  EXPECT_FALSE(RegReadBool(store, kBase + "\\DriveMonitor", "On", true));
  EXPECT_EQ(RegReadInteger(store, kBase + "\\CPUMonitor", "Left", 0), 300);
  EXPECT_EQ(RegReadInteger(store, kBase + "\\CPUMonitor", "Top", 0), 200);
  EXPECT_EQ(RegReadInteger(store, kBase + "\\CPUMonitor", "Width", 0), 700);
  EXPECT_EQ(RegReadInteger(store, kBase + "\\CPUMonitor", "Height", 0), 250);
  EXPECT_EQ(RegReadInteger(store, kBase + "\\Clock", "Width", 0), 540);
  EXPECT_EQ(RegReadInteger(store, kBase + "\\Clock", "Height", 0), 66);
  EXPECT_TRUE(RegReadBool(store, kBase, "StartMinimized", false));

  TQD_Settings reloaded;
  LoadSettings(store, reloaded);
  EXPECT_EQ(StoredOptionValues(reloaded), StoredOptionValues(form->Settings()));
  EXPECT_EQ(reloaded.FontSize.Value, 13);

  TQD_CustomReadingsList gpu("\\GPUMonitorCustomReadings");
  gpu.LoadFromRegistry(store);
  ASSERT_EQ(gpu.Count(), 1);
  EXPECT_EQ(gpu.Items()[0].URID, MovingReading());
  EXPECT_EQ(gpu.Items()[0].Parameters, "V=MAX");
  EXPECT_EQ(store.ValueNames(QD_ColorsKey).size(), 104u);
  TQD_ColorTable colors;
  colors.ReadFromRegistry(store);
  EXPECT_EQ(colors.GetColor(7), 0x80FEDCBAu);

  // Later calls, the destructor's among them, leave the store alone.
  RegWriteInteger(store, kBase, "FontSize", 20);
  form->Shutdown();
  form->SaveState();
  form->EnableClock();
  form->ApplySettings();
  form->ResetCollector();
  EXPECT_EQ(hosts.LiveHosts(), 0);
  form.reset();
  EXPECT_EQ(RegReadInteger(store, kBase, "FontSize", 0), 20);
}

TEST_F(MainFormTest, HWiNFOComingAndGoingSwitchesLayoutsAndRebuildsForNewHardwareWithoutLeaks) {
  StartAllPopulated();
  const int hosts0 = hosts.LiveHosts();
  const std::vector<TQD_MonitorKind> hardware = {kCPU, kGPU, kDrives};
  auto expectLayouts = [&](bool APopulated, const char* AWhen) {
    for (TQD_MonitorKind k : hardware) {
      EXPECT_EQ(form->MonitorWindow(k)->MonitorWindowPopulated(), APopulated) << AWhen << " " << int(k);
      EXPECT_EQ(form->MonitorWindow(k)->ErrorWindowPopulated(), !APopulated) << AWhen << " " << int(k);
    }
    EXPECT_TRUE(form->MonitorWindow(kNetwork)->MonitorWindowPopulated()) << AWhen;
    EXPECT_EQ(hosts.LiveHosts(), hosts0) << AWhen;
    EXPECT_EQ(fakes.SharedMemory.LiveViews, 0) << AWhen;
  };

  struct TStep {
    const char* What;
    std::function<void()> Do;
    bool Populated;
  } steps[] = {
      {"closed", [&] { fakes.SharedMemory.Block.reset(); }, false},
      {"restarted", [&] { PublishProfile(); }, true},
      {"DEAD", [&] { std::memcpy(fakes.SharedMemory.Block->data(), "DEAD", 4); }, false},
      {"other hardware", [&] { ASSERT_TRUE(MakeProfile("amd-desktop", profile)); PublishProfile(); }, true},
  };
  for (const TStep& step : steps) {
    step.Do();
    HWiTick();
    InternalTick();
    expectLayouts(step.Populated, step.What);
  }
  // The CPU window was built for the new machine: its cores are the AMD ones.
  EXPECT_EQ(form->DataLogger()->NumCPUs(), 1);
  EXPECT_NE(form->DataLogger()->FormatValue(form->DataLogger()->CPUs()[1].Usage, dcsSensorNameOrig), "-");
}

TEST_F(MainFormTest, FrozenHWiNFOIsCalledStaleUntilItsDataMovesAgain) {
  StartAllPopulated();
  fakes.Clock.LocalTime = 46000.0 + (13 * 3600 + 4 * 60 + 5) / 86400.0;  // 13:04:05
  NextProfileTick();
  NextProfileTick();  // the block has moved: HWiNFO's period is known
  const std::string moved = "13:04:05";
  fakes.Clock.Now += 10 * 60000;  // ten minutes without a new poll time
  HWiTick();
  EXPECT_EQ(form->StatusPanel3(), "HWiNFO polling status: no new data since " + moved);
  EXPECT_EQ(form->DataLogger()->FormatValue(MovingReading(), dcsValue), "-");
  EXPECT_TRUE(form->MonitorWindow(kCPU)->MonitorWindowPopulated());  // values go, the layout stays

  NextProfileTick();
  EXPECT_EQ(form->StatusPanel3(), "HWiNFO polling status: OK");
  EXPECT_NE(form->DataLogger()->FormatValue(MovingReading(), dcsValue), "-");
}

TEST_F(MainFormTest, SaveStateWritesTheSessionWithoutStoppingIt) {
  StartAllPopulated();
  Host(kGPU).Left = 40;
  form->DisableDriveMonitor();
  form->SaveState();
  EXPECT_EQ(RegReadInteger(store, kBase + "\\GPUMonitor", "Left", 0), 40);
  EXPECT_FALSE(RegReadBool(store, kBase + "\\DriveMonitor", "On", true));
  EXPECT_TRUE(RegReadBool(store, kBase + "\\NetworkMonitor", "On", false));
  EXPECT_EQ(store.ValueNames(QD_ColorsKey).size(), 104u);

  const std::vector<int> populations = {Host(kClock).MinSizeCalls, Host(kCPU).MinSizeCalls};
  NextProfileTick();
  EXPECT_EQ(hosts.LiveHosts(), 4);
  EXPECT_EQ(populations, (std::vector<int>{Host(kClock).MinSizeCalls, Host(kCPU).MinSizeCalls}));
  EXPECT_EQ(form->StatusPanel3(), "HWiNFO polling status: OK");
  EXPECT_TRUE(form->GPUMonitor_ToggleSwitch());
}

TEST_F(MainFormTest, ApplySettingsMakesTheAutostartEntryFollowTheSetting) {
  RegWriteString(store, QD_AutostartKey, QD_ApplicationTitle, "D:\\Old\\Quendal.exe");
  Create();
  // An entry that starts another copy is not ours, and creation leaves it.
  EXPECT_FALSE(form->Settings().RunOnStartup.Value);
  EXPECT_EQ(RegReadString(store, QD_AutostartKey, QD_ApplicationTitle, ""), "D:\\Old\\Quendal.exe");

  form->Settings().RunOnStartup.Value = true;
  form->ApplySettings();
  EXPECT_EQ(RegReadString(store, QD_AutostartKey, QD_ApplicationTitle, ""), kExe);
  form->Settings().RunOnStartup.Value = false;
  form->ApplySettings();
  EXPECT_FALSE(RegValueExists(store, QD_AutostartKey, QD_ApplicationTitle));
}

TEST_F(MainFormTest, ResetAndRebuildOperationsReachOnlyTheirWindow) {
  StartAllPopulated();
  TFakeMonitorHost& gpu = Host(kGPU);
  gpu.Left = 10;
  gpu.Top = 20;
  gpu.ClientWidth = 800;
  const std::vector<int> before = MinSizeCalls();
  form->ResetGPUMonitorWindowPos();
  EXPECT_EQ(gpu.ClientWidth, 800);
  EXPECT_EQ(gpu.Left, 1920 / 2 - 800 / 2);
  form->ResetGPUMonitorWindowSize();
  EXPECT_EQ(gpu.ClientWidth, 540);
  form->RebuildClockMonitorWindow();
  std::vector<int> expected = before;
  ++expected[static_cast<size_t>(kGPU)];
  ++expected[static_cast<size_t>(kClock)];
  EXPECT_EQ(MinSizeCalls(), expected);

  // Operations on a disabled window do nothing.
  form->DisableGPUMonitor();
  form->ResetGPUMonitorWindowSize();
  form->RebuildGPUMonitorWindow();
  form->ToggleSwitchClicked(kGPU, true);
  EXPECT_TRUE(form->GPUMonitor_ToggleSwitch());
  EXPECT_EQ(hosts.Host(kGPU)->MinSizeCalls, 1);  // populated once, when shown
}
