// The control panel's window in this process: its switches are reached by
// Tab and switched by Space, named (window text, what accessibility tools
// read for a control of their own class) by their group's caption,
// the notification-area menu lists its items in order with only the one of
// "Show control panel" / "Hide control panel" that fits, and a DPI change
// rescales font, glyphs, layout and minimum size and lets drawing resume;
// the about window, the status panel's double-click and the icon's return
// after a taskbar restart.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <dbt.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings_wipe_guard_win32.h"
#include "pump_win32.h"
#include "app/main_window_win32.h"
#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "ui/message_loop_win32.h"

namespace {

constexpr UINT kNotifyIconMessage = WM_APP + 2;

std::wstring TextOf(HWND AWindow) {
  wchar_t text[256] = {};
  GetWindowTextW(AWindow, text, 256);
  return text;
}

std::vector<HWND> ChildrenOf(HWND AParent, const wchar_t* AClass, const std::wstring& AText) {
  struct Data {
    const wchar_t* Class;
    std::wstring Text;
    std::vector<HWND> Found;
  } data{AClass, AText, {}};
  EnumChildWindows(
      AParent,
      [](HWND AChild, LPARAM AData) -> BOOL {
        auto* d = reinterpret_cast<Data*>(AData);
        wchar_t name[128] = {};
        GetClassNameW(AChild, name, 128);
        if (lstrcmpiW(name, d->Class) == 0 && TextOf(AChild) == d->Text) d->Found.push_back(AChild);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&data));
  return data.Found;
}

HWND ChildOf(HWND AParent, const wchar_t* AClass, const std::wstring& AText) {
  const std::vector<HWND> found = ChildrenOf(AParent, AClass, AText);
  return found.empty() ? nullptr : found.front();
}

// Read while the menu tracks: a thread timer fires inside its modal loop.
std::vector<std::string> GMenuCaptions;
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR ATimer, DWORD) {
  const HWND window = FindWindowW(L"#32768", nullptr);
  if (!window) return;
  KillTimer(nullptr, ATimer);
  const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    GMenuCaptions.push_back(text[0] ? WideToUtf8(text) : "-");
  }
  EndMenu();
}

class ControlPanelWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WipeQuendalSettings());
    application = std::make_unique<TQD_ApplicationWindow>();
    main = std::make_unique<TQD_MainWindow>(application->Handle());
    panel = main->Handle();
  }
  void TearDown() override {
    main.reset();
    application.reset();
    EXPECT_TRUE(WipeQuendalSettings());
  }
  std::vector<std::string> TrayMenu() {
    GMenuCaptions.clear();
    SetTimer(nullptr, 0, 100, ReadOpenMenu);
    PostMessageW(panel, kNotifyIconMessage, MAKEWPARAM(100, 100), MAKELPARAM(WM_CONTEXTMENU, 1));
    PumpUntil([] { return !GMenuCaptions.empty(); });
    PumpPendingMessages();
    return GMenuCaptions;
  }

  std::unique_ptr<TQD_ApplicationWindow> application;
  std::unique_ptr<TQD_MainWindow> main;
  HWND panel = nullptr;
};

}  // namespace

TEST_F(ControlPanelWindow, TabReachesTheControlsAndSpaceSwitchesTheSwitchNamedByItsGroup) {
  ASSERT_TRUE(IsWindowVisible(panel));
  HWND toggle = ChildOf(panel, L"QuendalToggleSwitch", L"Clock");
  ASSERT_NE(toggle, nullptr);
  HWND networkToggle = ChildOf(panel, L"QuendalToggleSwitch", L"Network Monitor");
  const std::vector<HWND> resetSize = ChildrenOf(panel, L"Button", L"Reset size");
  ASSERT_EQ(resetSize.size(), 5u);

  SetForegroundWindow(panel);
  SetFocus(networkToggle);
  // From the network row's switch, Tab skips its render-time panel and lands
  // on that row's settings button, then its "Reset size".
  MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0};
  EXPECT_TRUE(IsDialogMessageW(panel, &tab));
  EXPECT_EQ(TextOf(GetFocus()), L"Network monitor settings");
  MSG toReset{GetFocus(), WM_KEYDOWN, VK_TAB, 0};
  EXPECT_TRUE(IsDialogMessageW(panel, &toReset));
  EXPECT_EQ(GetFocus(), resetSize[4]);
  MSG next{GetFocus(), WM_KEYDOWN, VK_TAB, 0};
  EXPECT_TRUE(IsDialogMessageW(panel, &next));
  EXPECT_EQ(TextOf(GetFocus()), L"Reset position");

  SetFocus(toggle);
  SendMessageW(toggle, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(SendMessageW(toggle, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_NE(main->Form().MonitorWindow(TQD_MonitorKind::Clock), nullptr);
  SendMessageW(toggle, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(SendMessageW(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(main->Form().MonitorWindow(TQD_MonitorKind::Clock), nullptr);
  EXPECT_EQ(TextOf(GetWindow(toggle, GW_HWNDNEXT)), L"Disabled");

}

TEST_F(ControlPanelWindow, TrayMenuShowsItsItemsInOrderWithOnlyTheFittingShowOrHide) {
  EXPECT_EQ(TrayMenu(), (std::vector<std::string>{"Hide control panel", "-", "General settings",
                                                  "Color configuration", "-", "About", "-", "Exit"}));
  SendMessageW(panel, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(panel));
  EXPECT_TRUE(main->Form().Settings().StartMinimized.Value);
  EXPECT_EQ(TrayMenu(), (std::vector<std::string>{"Show control panel", "-", "General settings",
                                                  "Color configuration", "-", "About", "-", "Exit"}));
  // The panel's own button for hiding goes with the action.
  EXPECT_FALSE(IsWindowVisible(ChildOf(panel, L"Button", L"Hide control panel")));
}

TEST_F(ControlPanelWindow, ADpiChangeRescalesFontGlyphsLayoutAndMinimumSizeAndDrawingResumes) {
  RECT outer{};
  GetWindowRect(panel, &outer);
  RECT suggested{outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                 outer.top + (outer.bottom - outer.top) * 3 / 2};
  SendMessageW(panel, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

  EXPECT_TRUE(IsWindowVisible(panel));  // WM_SETREDRAW let go again
  HWND exit = ChildOf(panel, L"Button", L"Exit");
  ASSERT_NE(exit, nullptr);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(exit, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -16);  // 8 pt at 144 DPI
  EXPECT_EQ(std::wstring(font.lfFaceName), L"Tahoma");

  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(exit, BM_GETIMAGE, IMAGE_ICON, 0)), &info));
  BITMAP glyph{};
  GetObjectW(info.hbmColor, sizeof glyph, &glyph);
  EXPECT_EQ(glyph.bmHeight, 24);  // MulDiv(16, 144, 96)
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  RECT client{}, status{};
  GetClientRect(panel, &client);
  HWND status3 = GetWindow(exit, GW_HWNDLAST);
  GetWindowRect(status3, &status);
  MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&status), 2);
  EXPECT_EQ(status.right, client.right - ScaleToDPI(3, 144));
  EXPECT_EQ(status.bottom, client.bottom - ScaleToDPI(3, 144));

  MINMAXINFO limits{};
  SendMessageW(panel, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_GE(limits.ptMinTrackSize.x, 1050);
  EXPECT_GE(limits.ptMinTrackSize.y, 675);
}

namespace {
// What the about window shows, read from inside its modal loop before OK closes it.
std::vector<std::wstring> GAboutTexts;
void CALLBACK ReadAboutWindow(HWND, UINT, UINT_PTR ATimer, DWORD) {
  const HWND about = FindWindowW(L"#32770", L"About Quendal");
  if (!about) return;
  KillTimer(nullptr, ATimer);
  for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) GAboutTexts.push_back(TextOf(c));
  GAboutTexts.push_back(GetFocus() ? TextOf(GetFocus()) : L"(no focus)");
  SendMessageW(about, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST_F(ControlPanelWindow, AboutOpensAModalWindowWithNameVersionBuildDateNeedsAndLicence) {
  GAboutTexts.clear();
  SetTimer(nullptr, 0, 100, ReadAboutWindow);
  SendMessageW(ChildOf(panel, L"Button", L"About"), BM_CLICK, 0, 0);  // returns once OK closed it
  ASSERT_EQ(GAboutTexts.size(), 8u);
  EXPECT_EQ(GAboutTexts[0], L"Quendal");
  EXPECT_EQ(GAboutTexts[1].rfind(L"Version " + Utf8ToWide(main->Form().Caption().substr(8)), 0), 0u);
  EXPECT_EQ(GAboutTexts[2].rfind(L"Build date: ", 0), 0u);
  EXPECT_GT(GAboutTexts[2].size(), 14u);
  EXPECT_NE(GAboutTexts[4].find(L"HWiNFO"), std::wstring::npos);
  EXPECT_NE(GAboutTexts[5].find(L"Licence"), std::wstring::npos);
  EXPECT_EQ(GAboutTexts[6], L"OK");
  EXPECT_EQ(GAboutTexts[7], L"OK");  // the focus starts on OK
  EXPECT_EQ(FindWindowW(L"#32770", L"About Quendal"), nullptr);
}

namespace {
std::wstring GInformation;
void CALLBACK ReadInformationBox(HWND, UINT, UINT_PTR ATimer, DWORD) {
  const HWND box = FindWindowW(L"#32770", L"Quendal");
  if (!box) return;
  KillTimer(nullptr, ATimer);
  GInformation = TextOf(GetDlgItem(box, 0xFFFF));  // the message box's text
  SendMessageW(box, WM_COMMAND, IDOK, 0);
}

bool NotifyIconExists(HWND AOwner) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof d;
  d.hWnd = AOwner;
  d.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
}
}  // namespace

TEST_F(ControlPanelWindow, ADoubleClickOnTheHWiNFOStatusConfirmsTheReset) {
  HWND status3 = GetWindow(ChildOf(panel, L"Button", L"Exit"), GW_HWNDLAST);
  ASSERT_TRUE(GetWindowLongPtrW(status3, GWL_STYLE) & SS_NOTIFY);
  GInformation.clear();
  SetTimer(nullptr, 0, 100, ReadInformationBox);
  // What the static control sends its parent on a double-click.
  SendMessageW(panel, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(status3), STN_DBLCLK), reinterpret_cast<LPARAM>(status3));
  EXPECT_EQ(GInformation, L"Data collector has been reinitialized.");
}

// A hidden panel's texts are brought up to date when it shows, by whatever
// means it is shown.
TEST_F(ControlPanelWindow, AHiddenPanelsTextsAreCurrentOnceItShows) {
  const HWND status2 = GetWindow(GetWindow(ChildOf(panel, L"Button", L"Exit"), GW_HWNDLAST), GW_HWNDPREV);
  ASSERT_EQ(TextOf(status2), L"-");
  SendMessageW(panel, WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindowVisible(panel));
  main->Form().DataLogger()->InternalPolling();
  ASSERT_EQ(main->Form().StatusPanel2(), "System info polling status: OK");
  ShowWindow(panel, SW_SHOWNA);
  EXPECT_EQ(TextOf(status2), L"System info polling status: OK");
}

TEST_F(ControlPanelWindow, TheNotificationIconComesBackWhenTheTaskbarIsCreatedAgain) {
  ASSERT_TRUE(NotifyIconExists(panel));
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof d;
  d.hWnd = panel;
  d.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &d));  // as a restarted Explorer has forgotten it
  EXPECT_FALSE(NotifyIconExists(panel));
  SendMessageW(panel, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(NotifyIconExists(panel));
}

// A drive that comes and is announced is in the next poll's list; one that
// nobody announced waits for the list's periodic reading.
TEST_F(ControlPanelWindow, AnAnnouncedDriveIsListedAtTheNextPoll) {
  TQD_DataLogger& logger = *main->Form().DataLogger();
  logger.InternalPolling();
  const int before = logger.NumLogicalDrives();
  const auto listed = [&logger] {
    for (int i = 1; i <= logger.NumLogicalDrives(); ++i)
      if (logger.LogicalDrives()[static_cast<size_t>(i)].Letter == "Q:\\") return true;
    return false;
  };
  ASSERT_FALSE(listed());
  ASSERT_TRUE(DefineDosDeviceW(0, L"Q:", L"C:\\windows"));
  logger.InternalPolling();
  EXPECT_FALSE(listed());

  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << ('Q' - 'A');
  SendMessageW(panel, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume));
  logger.InternalPolling();
  EXPECT_TRUE(listed());
  EXPECT_EQ(logger.NumLogicalDrives(), before + 1);

  ASSERT_TRUE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr));
  SendMessageW(panel, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&volume));
  logger.InternalPolling();
  EXPECT_FALSE(listed());
  EXPECT_EQ(logger.NumLogicalDrives(), before);
}
