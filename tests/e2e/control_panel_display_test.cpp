// The control panel as a user meets it, under Wine with sensorfeed standing
// in for HWiNFO: a first start shows it with its controls; its CPU switch
// creates and destroys the CPU window; closing hides it, and a hidden panel
// stays hidden at the next start, with the notification-area icon and its
// menu offering "Show control panel"; the menu's "Exit" saves everything.
// Its viewer switch opens the shared memory viewer on the published sensors,
// and a HWiNFO that stops moving its data is called stale.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "base/win32_handles_win32.h"
#include "child_process_win32.h"
#include "collector/data_logger.h"
#include "collector/shared_memory_win32.h"
#include "foreign_window_win32.h"
#include "settings_wipe_guard_win32.h"
#include "sim/fake_ports.h"
#include "settings/key_value_store.h"
#include "settings/registry_store_win32.h"
#include "settings/settings.h"

namespace {

const wchar_t kMonitorClass[] = L"QuendalMonitorWindow";
const wchar_t kViewerCaption[] = L"Quendal - HWiNFO Shared Memory Viewer";
constexpr UINT kNotifyIconMessage = WM_APP + 2;  // the panel's notification-area callback

HWND ChildOfClass(HWND AParent, const std::string& AClass) {
  for (HWND c : Children(AParent))
    if (ClassOf(c) == AClass) return c;
  return nullptr;
}

HWND ChildStartingWith(HWND AParent, const std::string& APrefix) {
  for (HWND c : Children(AParent))
    if (Text(c).rfind(APrefix, 0) == 0) return c;
  return nullptr;
}

// Tree items of another process: handles pass as they are, texts would not.
std::vector<LPARAM> TreeChildren(HWND ATree, LPARAM AParent) {
  std::vector<LPARAM> items;
  for (LRESULT i = SendMessageW(ATree, TVM_GETNEXTITEM, AParent ? TVGN_CHILD : TVGN_ROOT, AParent); i;
       i = SendMessageW(ATree, TVM_GETNEXTITEM, TVGN_NEXT, i))
    items.push_back(i);
  return items;
}

HWND StartedPanel(TChild& AApp) {
  const HWND panel = WaitForVisibleControlPanel();
  EXPECT_NE(panel, nullptr)
      << "no control panel; Quendal said: " << AApp.Output();
  return panel;
}

// Ends the program the way a logoff does.
void EndSession(HWND APanel, TChild& AApp) {
  EndSessionAsLogoff(APanel);
  EXPECT_EQ(AApp.Wait(15000), 0);
}

// Whether the shell knows an icon of that window and ID: only an existing icon can be modified.
bool NotifyIconExists(HWND AOwner) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof d;
  d.hWnd = AOwner;
  d.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
}

HWND OpenMenu() {
  HWND menu = nullptr;
  WaitFor([&] { return (menu = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(menu); }, 10000);
  return menu;
}

// Opens the notification-area menu as a right click does and picks an item
// by keys: Down selects the first item, Up (from none) wraps to the last.
// Menus of another process cannot be read from here under Wine, so the items
// are told apart by what choosing them does.
bool ChooseFromTrayMenu(HWND APanel, UINT AKey) {
  PostMessageW(APanel, kNotifyIconMessage, MAKEWPARAM(200, 200), MAKELPARAM(WM_CONTEXTMENU, 1));
  HWND menu = OpenMenu();
  if (!menu) return false;
  PostMessageW(menu, WM_KEYDOWN, AKey, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  return WaitFor([] { return FindWindowW(L"#32768", nullptr) == nullptr || !IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, 10000);
}

void ExpectAllSettingsStored(TQD_KeyValueStore& ARegistry) {
  int missing = 0;
  TQD_Settings::CreateDefault().ForEachOption([&](const auto& AOption) {
    if (AOption.Reg.empty()) return;
    if (!RegValueExists(ARegistry, SettingsKey(AOption.Sub), std::string(AOption.Reg))) ++missing;
  });
  EXPECT_EQ(missing, 0);
}

}  // namespace

TEST(ControlPanel, TheExecutableCarriesTheApplicationIcon) {
  const std::wstring exe = BinDir() + L"Quendal.exe";
  EXPECT_EQ(ExtractIconExW(exe.c_str(), -1, nullptr, nullptr, 0), 1u);
  HICON large = nullptr;
  ASSERT_EQ(ExtractIconExW(exe.c_str(), 0, &large, nullptr, 1), 1u);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(large, &info));
  BITMAP bm{};
  GetObjectW(info.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);  // drawn with alpha, not a palette picture
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(large);
}

TEST(ControlPanel, FirstStartSwitchesHideAndStartHiddenWithTheTrayMenu) {
  ASSERT_TRUE(WipeQuendalSettings());
  TQD_RegistryStoreWin32 registry;
  TStopEvent stop;
  TChild feed(L"publish --interval 200" + stop.Arg());

  {
    TChild app(L"", L"Quendal.exe");
    const HWND panel = WaitForVisibleControlPanel();
    ASSERT_NE(panel, nullptr)
        << "no control panel; Quendal said: " << app.Output();
    EXPECT_TRUE(std::regex_match(Text(panel), std::regex("Quendal [0-9]+\\.[0-9]+"))) << Text(panel);
    RECT client{}, outer{};
    GetClientRect(panel, &client);
    GetWindowRect(panel, &outer);
    EXPECT_GE(client.right, 700);
    EXPECT_GE(client.bottom, 450);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);

    std::map<std::string, int> texts;
    for (HWND c : Children(panel)) ++texts[Text(c)];
    for (const char* t : {"Clock", "CPU Monitor", "GPU Monitor", "Drive Monitor", "Network Monitor",
                          "Shared Memory Viewer"})
      EXPECT_EQ(texts[t], 2) << t;  // the group and its switch
    EXPECT_EQ(texts["Reset size"], 5);
    EXPECT_EQ(texts["Reset position"], 5);
    for (const char* t : {"CPU monitor settings", "GPU monitor settings", "Drive monitor settings",
                          "Network monitor settings", "Color configuration", "About", "Hide control panel",
                          "General settings", "Exit"})
      EXPECT_EQ(texts[t], 1) << t;
    EXPECT_EQ(texts["Disabled"], 5);
    EXPECT_TRUE(IsWindowEnabled(ChildWith(panel, "Button", "General settings")));

    // The CPU switch creates the window; its render time follows the next poll.
    HWND toggle = ChildWith(panel, "QuendalToggleSwitch", "CPU Monitor");
    ASSERT_NE(toggle, nullptr);
    HWND renderTime = GetWindow(toggle, GW_HWNDNEXT);
    EXPECT_EQ(SendMessageW(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(toggle, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(toggle, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(WaitFor([] { return FindWindowW(kMonitorClass, L"CPU Monitor") != nullptr; }, 10000));
    EXPECT_TRUE(WaitFor([&] { return std::regex_match(Text(renderTime), std::regex("[0-9]+ ms")); }, 10000))
        << Text(renderTime);
    SendMessageW(toggle, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([] { return FindWindowW(kMonitorClass, L"CPU Monitor") == nullptr; }, 10000));
    EXPECT_EQ(Text(renderTime), "Disabled");
    EXPECT_EQ(SendMessageW(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // Closing hides; the program runs on.
    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }, 10000));
    EXPECT_EQ(app.Wait(500), -1);
    EXPECT_TRUE(NotifyIconExists(panel));

    ASSERT_TRUE(EndSessionAsLogoff(panel));
    EXPECT_EQ(app.Wait(15000), 0);
    EXPECT_TRUE(RegReadBool(registry, "Software\\Quendal", "StartMinimized", false));
    EXPECT_FALSE(RegReadBool(registry, "Software\\Quendal\\CPUMonitor", "On", true));
  }

  // The next start keeps the panel hidden; the tray offers to show it.
  TChild app(L"", L"Quendal.exe");
  HWND panel = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (panel = FindWindowW(QD_MainFormClass, nullptr)) != nullptr && NotifyIconExists(panel); },
                      30000))
      << "Quendal said: " << app.Output();
  Sleep(2000);  // past the first polls
  EXPECT_FALSE(IsWindowVisible(panel));

  // The first item shows the panel, and then it is the one that hides it:
  // exactly one of the two is in the menu at a time.
  ASSERT_TRUE(ChooseFromTrayMenu(panel, VK_DOWN));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(panel) != FALSE; }, 10000));
  ASSERT_TRUE(ChooseFromTrayMenu(panel, VK_DOWN));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }, 10000));
  // The last item, "Exit", ends the program and saves everything.
  ASSERT_TRUE(ChooseFromTrayMenu(panel, VK_UP));
  EXPECT_EQ(app.Wait(15000), 0);
  ExpectAllSettingsStored(registry);
  EXPECT_TRUE(RegReadBool(registry, "Software\\Quendal", "StartMinimized", false));

  stop.Set();
  feed.Wait(10000);
  EXPECT_TRUE(WipeQuendalSettings());
}

TEST(ControlPanel, ViewerSwitchShowsEveryPublishedSensorAndTheCloseBoxSwitchesItOff) {
  ASSERT_TRUE(WipeQuendalSettings());
  TStopEvent stop;
  TChild feed(L"publish --interval 500" + stop.Arg());
  // What the viewer should show: the published block as a logger here reads it.
  TFakeCollector fakes;
  TQD_SharedMemoryWin32 memory;
  TQD_CollectorPorts ports = fakes.Ports();
  ports.SharedMemory = &memory;
  TQD_DataLogger logger(ports, false, 180, 2000);
  ASSERT_TRUE(WaitFor([&] { logger.HWiPolling(); return logger.LastHWiPollingStatus() == hwsOK; }, 30000))
      << "sensorfeed said: " << feed.Output();
  const size_t sensors = logger.SensorList().size();
  const auto& readings = logger.ReadingList();
  const size_t firstSensorReadings = static_cast<size_t>(std::count_if(
      readings.begin() + 1, readings.end(), [](const TQD_ReadingsListItem& r) { return r.dwSensorIndex == 0; }));
  ASSERT_GT(sensors, 1u);

  TChild app(L"", L"Quendal.exe");
  HWND panel = StartedPanel(app);
  ASSERT_NE(panel, nullptr);
  // The viewer shows the poll before it opens, and only a successful one.
  ASSERT_TRUE(WaitFor([&] { return ChildWith(panel, "Static", "HWiNFO polling status: OK") != nullptr; }, 30000));
  HWND toggle = ChildWith(panel, "QuendalToggleSwitch", "Shared Memory Viewer");
  ASSERT_NE(toggle, nullptr);
  EXPECT_TRUE(IsWindowEnabled(toggle));
  EXPECT_EQ(SendMessageW(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  for (int round = 0; round < 2; ++round) {
    SendMessageW(toggle, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(toggle, BM_GETCHECK, 0, 0), BST_CHECKED);
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (viewer = FindWindowW(nullptr, kViewerCaption)) && IsWindowVisible(viewer); },
                        10000));
    EXPECT_EQ(GetWindow(viewer, GW_OWNER), panel);
    HWND tree = ChildOfClass(viewer, "SysTreeView32");
    ASSERT_NE(tree, nullptr);
    const std::vector<LPARAM> roots = TreeChildren(tree, 0);
    EXPECT_EQ(roots.size(), sensors);
    ASSERT_FALSE(roots.empty());
    EXPECT_EQ(TreeChildren(tree, roots.front()).size(), firstSensorReadings);

    // First the close box, then the switch itself: both end the viewer and leave the switch off.
    if (round == 0)
      PostMessageW(viewer, WM_CLOSE, 0, 0);
    else
      SendMessageW(toggle, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([] { return FindWindowW(nullptr, kViewerCaption) == nullptr; }, 10000));
    EXPECT_EQ(SendMessageW(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  }

  // Open at exit: the program still ends cleanly.
  SendMessageW(toggle, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([] { return FindWindowW(nullptr, kViewerCaption) != nullptr; }, 10000));
  EndSession(panel, app);
  stop.Set();
  feed.Wait(10000);
  EXPECT_TRUE(WipeQuendalSettings());
}

TEST(ControlPanel, HWiNFOStatusCallsFrozenDataStale) {
  ASSERT_TRUE(WipeQuendalSettings());
  TStopEvent stop;
  TChild feed(L"publish --interval 500 --freeze-after 3" + stop.Arg());
  TChild app(L"", L"Quendal.exe");
  HWND panel = StartedPanel(app);
  ASSERT_NE(panel, nullptr);
  const std::string stale = "HWiNFO polling status: no new data since ";
  HWND status = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (status = ChildStartingWith(panel, stale)) != nullptr; }, 40000))
      << "sensorfeed said: " << feed.Output();
  if (status) {
    EXPECT_TRUE(std::regex_match(Text(status), std::regex(stale + "[0-9]{2}:[0-9]{2}:[0-9]{2}"))) << Text(status);
  }
  EndSession(panel, app);
  stop.Set();
  feed.Wait(10000);
  EXPECT_TRUE(WipeQuendalSettings());
}
