// The control panel's portable parts: its grid, the action list and its
// states, the StartMinimized rules, the texts its panels show, and the
// pictures of actions and application.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/action_images.h"
#include "app/control_panel_actions.h"
#include "app/control_panel_layout.h"
#include "base/dpi.h"
#include "golden.h"
#include "render/ico_writer.h"
#include "settings/memory_key_value_store.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "sim/profiles.h"

namespace {

bool Inside(const TRect& AInner, const TRect& AOuter) {
  return AInner.Left >= AOuter.Left && AInner.Top >= AOuter.Top && AInner.Right <= AOuter.Right &&
         AInner.Bottom <= AOuter.Bottom && !AInner.IsEmpty();
}
bool Overlap(const TRect& A, const TRect& B) {
  return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

}  // namespace

TEST(ControlPanelLayout, GridAtEveryDpiKeepsControlsInTheirCellsApartAndInsideTheClient) {
  const auto& controls = ControlPanelControls();
  struct Case {
    int W, H, DPI;
  };
  for (Case c : {Case{700, 450, 96}, Case{875, 563, 120}, Case{1050, 675, 144}, Case{1400, 900, 192},
                 Case{913, 600, 96}}) {
    SCOPED_TRACE(std::to_string(c.W) + "x" + std::to_string(c.H) + "@" + std::to_string(c.DPI));
    const std::vector<TRect> r = ControlPanelLayout(c.W, c.H, c.DPI);
    ASSERT_EQ(r.size(), controls.size());
    std::map<int, TRect> group;  // by row
    for (size_t i = 0; i < r.size(); ++i) {
      SCOPED_TRACE(controls[i].Name);
      EXPECT_TRUE(Inside(r[i], {0, 0, c.W, c.H}));
      // Row r of 8 lies within 13.5 % steps, the status row in the last 5.5 %.
      const int rowTop = c.H * (controls[i].Row - 1) * 135 / 1000;
      EXPECT_GE(r[i].Top, rowTop);
      EXPECT_LE(r[i].Bottom, controls[i].Row == 8 ? c.H : c.H * controls[i].Row * 135 / 1000 + 1);
      EXPECT_GE(r[i].Left, c.W * (controls[i].Column - 1) / 6);
      EXPECT_LE(r[i].Right, c.W * (controls[i].Column - 1 + controls[i].Span) / 6 + 1);
      if (controls[i].Type == TQD_PanelControlType::Group) group[controls[i].Row] = r[i];
      if (controls[i].Type == TQD_PanelControlType::ToggleSwitch ||
          controls[i].Type == TQD_PanelControlType::RenderTime)
        EXPECT_TRUE(Inside(r[i], group.at(controls[i].Row)));
      for (size_t j = 0; j < i; ++j)
        if (controls[j].Type != TQD_PanelControlType::Group && controls[i].Type != TQD_PanelControlType::Group)
          EXPECT_FALSE(Overlap(r[i], r[j])) << controls[j].Name;
    }
    // The status row ends at the client's bottom right, less the margin.
    EXPECT_EQ(r.back().Right, c.W - ScaleToDPI(3, c.DPI));
    EXPECT_EQ(r.back().Bottom, c.H - ScaleToDPI(3, c.DPI));
  }
}

TEST(ControlPanelLayout, ControlsCarryTheirTextsAndColours) {
  std::map<std::string, TQD_PanelControl> byName;
  std::vector<std::string> buttons;
  for (const TQD_PanelControl& c : ControlPanelControls()) {
    byName.emplace(c.Name, c);
    if (c.Type == TQD_PanelControlType::Button) buttons.push_back(c.Text);
  }
  EXPECT_EQ(buttons, (std::vector<std::string>{
                         "Reset size", "Reset position", "CPU monitor settings", "Reset size", "Reset position",
                         "GPU monitor settings", "Reset size", "Reset position", "Drive monitor settings",
                         "Reset size", "Reset position", "Network monitor settings", "Reset size",
                         "Reset position", "Color configuration", "About", "Hide control panel",
                         "General settings", "Exit"}));
  EXPECT_EQ(std::string(byName.at("CPUMonitor_ToggleSwitch").Text), "CPU Monitor");
  EXPECT_EQ(std::string(byName.at("SharedMemoryViewer").Text), "Shared Memory Viewer");
  EXPECT_EQ(std::string(byName.at("NetworkMonitor_RenderTime").Text), "Disabled");
  EXPECT_EQ(byName.at("Clock_RenderTime").Color, 0xFFDDECF0u);
  EXPECT_EQ(byName.at("StatusPanel1").Color, 0xFFDDECF0u);
  EXPECT_EQ(byName.at("StatusPanel2").Color, 0xFFE0E0E0u);
  EXPECT_EQ(byName.at("StatusPanel3").Color, 0xFFD6E6D6u);
  EXPECT_EQ(std::string(byName.at("StatusPanel3").Text), "-");
  EXPECT_EQ(byName.at("StatusPanel3").Span, 2);
}

class ControlPanelActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeProfile("intel-hybrid", profile));
    fakes.SystemInfo.CPU = profile.CPUInfo;
    fakes.SystemInfo.Drives = {{true, 0, "C:\\", "System", 100, 40, 60}};
    fakes.Network.Rows = {MakeIFRow(1, true)};
    fakes.SharedMemory.Block = WriteBlock(profile.Block);
    system.ProgramVersionText = [] { return std::string("1.7"); };
    commands.SetWindowVisible = [this](bool AVisible) { log.push_back(AVisible ? "show" : "hide"); };
    commands.Beep = [this] { log.push_back("beep"); };
    commands.ShowInformation = [this](const std::string& AText) { log.push_back(AText); };
    commands.ExitApp = [this] { log.push_back("exit"); };
    commands.OpenAboutScreen = [this] { log.push_back("about"); };
    commands.OpenGeneralSettings = [this] { log.push_back("general"); };
    commands.OpenMonitorSettings = [this](TQD_MonitorKind AKind) { log.push_back("monitor " + std::to_string(static_cast<int>(AKind))); };
    commands.OpenColorSettings = [this] { log.push_back("colors"); };
    commands.EnableSharedMemoryViewer = [this] { log.push_back("viewer on"); };
    commands.DisableSharedMemoryViewer = [this] { log.push_back("viewer off"); };
  }
  void Create(bool AStartMinimized) {
    RegWriteBool(store, QD_RegBaseKey, "StartMinimized", AStartMinimized);
    form = std::make_unique<TQD_MainForm>(store, fakes.Ports(), hosts, system);
    actions = std::make_unique<TQD_ControlPanelActions>(*form, commands);
  }
  void Poll() {
    fakes.Timers.Created.at(0)->Tick();
    fakes.Timers.Created.at(1)->Tick();
  }
  std::vector<std::string> TrayItems() {
    std::vector<std::string> out;
    for (const TQD_PopupMenuItem& i : actions->TrayMenu().VisibleItems())
      out.push_back(i.IsSeparator() ? "-" : i.Action->Caption);
    return out;
  }

  TSF_Profile profile;
  TFakeCollector fakes;
  TQD_MemoryKeyValueStore store;
  TFakeMonitorHostFactory hosts;
  TQD_MainFormSystem system;
  TQD_ControlPanelCommands commands;
  std::vector<std::string> log;
  std::unique_ptr<TQD_MainForm> form;
  std::unique_ptr<TQD_ControlPanelActions> actions;
};

TEST_F(ControlPanelActionsTest, StartMinimizedDecidesVisibilityAndExactlyOneOfShowAndHide) {
  Create(true);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(TrayItems(), (std::vector<std::string>{"Show control panel", "-", "General settings",
                                                   "Color configuration", "-", "About", "-", "Exit"}));
  EXPECT_TRUE((*actions)["ShowControlPanel"].Execute());
  EXPECT_EQ(log, std::vector<std::string>{"show"});
  EXPECT_FALSE(form->Settings().StartMinimized.Value);
  EXPECT_EQ(TrayItems().front(), "Hide control panel");
  EXPECT_FALSE((*actions)["ShowControlPanel"].Execute());  // hidden and disabled now

  // Closing the window hides it as the action does, and the next start keeps it hidden.
  actions->FormClose();
  EXPECT_EQ(log.back(), "hide");
  EXPECT_EQ(TrayItems().front(), "Show control panel");
  actions.reset();
  form.reset();
  form = std::make_unique<TQD_MainForm>(store, fakes.Ports(), hosts, system);
  EXPECT_FALSE(form->Visible());

  store = {};
  Create(false);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(TrayItems().front(), "Hide control panel");
}

TEST_F(ControlPanelActionsTest, EveryActionHasItsCaptionImageAndOnlyTheViewerStillToComeIsDisabled) {
  Create(false);
  std::vector<std::string> disabled;
  for (size_t i = 0; i < actions->List().Count(); ++i) {
    const TQD_Action& a = actions->List()[i];
    EXPECT_GE(a.ImageIndex, 0) << a.Name;
    EXPECT_LT(a.ImageIndex, QD_ActionImageCount) << a.Name;
    if (!a.Enabled) disabled.push_back(a.Name);
  }
  EXPECT_EQ(actions->List().Count(), 40u);
  EXPECT_EQ(disabled, (std::vector<std::string>{"ShowControlPanel"}));  // shown: only "Hide" applies
  const std::map<std::string, std::string> captions{
      {"EnableDriveMonitor", "Enable drive monitor"},
      {"DisableClock", "Disable clock"},
      {"RebuildNetworkMonitorWindow", "Rebuild network monitor window"},
      {"RebuildAllEnabledMonitorWindows", "Rebuild all enabled monitor windows"},
      {"ResetGPUMonitorWindowPos", "Reset position"},
      {"OpenColorSettings", "Color configuration"},
      {"ResetCollector", "Reset data collector"},
      {"ApplySettings", "Apply settings"},
      {"ExitApp", "Exit"}};
  for (const auto& [name, caption] : captions) EXPECT_EQ((*actions)[name.c_str()].Caption, caption);
  EXPECT_TRUE((*actions)["OpenAboutScreen"].Execute());
  EXPECT_TRUE((*actions)["ExitApp"].Execute());
  // The viewer's actions run at once (the editor links to the viewer right after opening it).
  EXPECT_TRUE((*actions)["EnableSharedMemoryViewer"].Execute());
  EXPECT_TRUE((*actions)["DisableSharedMemoryViewer"].Execute());
  EXPECT_EQ(log, (std::vector<std::string>{"about", "exit", "viewer on", "viewer off"}));
}

TEST_F(ControlPanelActionsTest, EnableAndDisableActionsSetTheSwitchAndThePanelReadsDisabledAtOnce) {
  Create(false);
  Poll();
  int changes = 0;
  form->OnStatusChanged = [&] { ++changes; };
  EXPECT_TRUE((*actions)["EnableCPUMonitor"].Execute());
  EXPECT_TRUE(form->CPUMonitor_ToggleSwitch());
  EXPECT_GT(changes, 0);
  Poll();
  EXPECT_NE(form->CPUMonitor_RenderTime(), "Disabled");
  EXPECT_EQ(form->CPUMonitor_RenderTime().substr(form->CPUMonitor_RenderTime().size() - 3), " ms");
  changes = 0;
  EXPECT_TRUE((*actions)["DisableCPUMonitor"].Execute());
  EXPECT_EQ(form->MonitorWindow(TQD_MonitorKind::CPU), nullptr);
  EXPECT_FALSE(form->CPUMonitor_ToggleSwitch());
  EXPECT_EQ(form->CPUMonitor_RenderTime(), "Disabled");
  EXPECT_GT(changes, 0);
  // Each monitor's menu starts with its own Disable action.
  EXPECT_EQ(actions->MonitorMenu(TQD_MonitorKind::GPU).Items().front().Action->Name, "DisableGPUMonitor");
}

TEST_F(ControlPanelActionsTest, SettingsActionsOpenTheirDialogOnceTheCommandHasReturned) {
  std::vector<std::function<void()>> later;
  commands.RunLater = [&](std::function<void()> A) { later.push_back(std::move(A)); };
  Create(false);
  for (const char* name : {"OpenGeneralSettings", "OpenCPUMonitorSettings", "OpenGPUMonitorSettings",
                           "OpenDriveMonitorSettings", "OpenNetworkMonitorSettings", "OpenColorSettings"})
    EXPECT_TRUE((*actions)[name].Execute()) << name;
  EXPECT_TRUE(log.empty());
  for (auto& run : later) run();
  EXPECT_EQ(log, (std::vector<std::string>{"general", "monitor 1", "monitor 2", "monitor 3", "monitor 4", "colors"}));
  // The monitor menus offer their own dialog.
  EXPECT_EQ(actions->MonitorMenu(TQD_MonitorKind::Drives).Items().at(5).Action->Name, "OpenDriveMonitorSettings");
}

TEST_F(ControlPanelActionsTest, DoubleClickOnTheHWiNFOStatusResetsRebuildsBeepsAndConfirms) {
  RegWriteBool(store, QD_RegBaseKey + std::string("\\CPUMonitor"), "On", true);
  Create(false);
  Poll();
  TQD_MonitorWindow* cpu = form->MonitorWindow(TQD_MonitorKind::CPU);
  ASSERT_TRUE(cpu && cpu->MonitorWindowPopulated());
  const int populations = hosts.Host(TQD_MonitorKind::CPU)->MinSizeCalls;
  actions->StatusPanel3DblClick();
  EXPECT_GT(hosts.Host(TQD_MonitorKind::CPU)->MinSizeCalls, populations);  // rebuilt
  EXPECT_EQ(log, (std::vector<std::string>{"beep", "Data collector has been reinitialized."}));
}

TEST(ActionImages, EveryImageAndTheIconMatchTheirGoldensAt16And32Pixels) {
  for (int size : {16, 32}) {
    TBitmap32 sheet((QD_ActionImageCount + 1) * size, size);
    sheet.Clear(0x00000000);
    for (int i = 0; i <= QD_ActionImageCount; ++i) {
      const TBitmap32 b = i < QD_ActionImageCount ? RenderActionImage(static_cast<TQD_ActionImage>(i), size)
                                                   : RenderApplicationIcon(size);
      ASSERT_EQ(b.Width(), size);
      ASSERT_EQ(b.Height(), size);
      int drawn = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          drawn += (b.Pixel(x, y) >> 24) != 0;
          sheet.SetPixel(i * size + x, y, b.Pixel(x, y));
        }
      // Something is drawn, and the corners stay clear so the picture reads as a shape.
      EXPECT_GT(drawn, size * size / 6) << i;
      EXPECT_EQ(b.Pixel(0, 0) >> 24, 0u) << i;
    }
    ExpectMatchesGolden(sheet, "action_images_" + std::to_string(size));
  }
  EXPECT_EQ(ButtonGlyphSize(96), 16);
  EXPECT_EQ(ButtonGlyphSize(120), 20);
  EXPECT_EQ(ButtonGlyphSize(144), 24);
  EXPECT_EQ(ButtonGlyphSize(168), 28);
}

namespace {
uint32_t Read32(const std::vector<uint8_t>& A, size_t AAt) {
  return A[AAt] | A[AAt + 1] << 8 | A[AAt + 2] << 16 | static_cast<uint32_t>(A[AAt + 3]) << 24;
}
}  // namespace

TEST(IcoWriter, EntriesHoldEachSizeBottomUpWithAMaskOfTheTransparentPixels) {
  std::vector<TBitmap32> images;
  for (int size : {16, 20, 256}) images.push_back(RenderApplicationIcon(size));
  images[1].SetPixel(3, 0, 0x80123456);  // top row, opaque enough to stay out of the mask
  const std::vector<uint8_t> ico = EncodeIco(images);
  ASSERT_GT(ico.size(), 6u + 3 * 16);
  EXPECT_EQ(ico[2] | ico[3] << 8, 1);
  EXPECT_EQ(ico[4] | ico[5] << 8, 3);
  const int sizes[] = {16, 20, 256};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(sizes[i]);
    const size_t dir = 6 + 16 * static_cast<size_t>(i);
    EXPECT_EQ(ico[dir], sizes[i] & 0xFF);  // 256 is written as 0
    const size_t at = Read32(ico, dir + 12), length = Read32(ico, dir + 8);
    ASSERT_LE(at + length, ico.size());
    EXPECT_EQ(Read32(ico, at + 4), static_cast<uint32_t>(sizes[i]));
    EXPECT_EQ(Read32(ico, at + 8), static_cast<uint32_t>(2 * sizes[i]));
    const int w = sizes[i];
    const size_t stride = (w + 31) / 32 * 4;
    EXPECT_EQ(length, 40 + static_cast<size_t>(w) * w * 4 + stride * w);
    // The last row written is the top row; the corner pixel is clear and masked.
    const size_t topRow = at + 40 + static_cast<size_t>(w - 1) * w * 4;
    for (int x : {0, 3})
      EXPECT_EQ(Read32(ico, topRow + 4 * x), images[i].Pixel(x, 0)) << x;
    const size_t maskTop = at + 40 + static_cast<size_t>(w) * w * 4 + stride * (w - 1);
    EXPECT_EQ(ico[maskTop] & 0x80, 0x80);
    if (i == 1) EXPECT_EQ(ico[maskTop] & 0x10, 0);
  }
  EXPECT_TRUE(EncodeIco({}).empty());
  EXPECT_TRUE(EncodeIco({TBitmap32(257, 16)}).empty());
  EXPECT_TRUE(EncodeIco({TBitmap32()}).empty());
}
