// The six settings dialogs as real windows under Wine, each opened through
// its entry point on a test owner window with a real control panel object
// (registry store, real timers, simulated machine): caption and client size,
// the owner disabled while the dialog runs; typing a polling interval and
// pressing "OK" reaches the data logger and, after the program saves, the
// registry; the monitor dialogs close the viewer around their lifetime and
// host the custom readings editor; the colour dialog exports, resets and
// imports its colours back unchanged through the file step.
//
// A modal dialog runs its own loop, so each test hands a driver to a thread
// timer that fires inside that loop. QUENDAL_SCREENSHOT_PAUSE_MS=N pauses N ms
// with each dialog on screen, for `import -window root`.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "pump_win32.h"
#include "app/action_images.h"
#include "app/color_settings_win32.h"
#include "app/general_settings_win32.h"
#include "app/main_form.h"
#include "app/monitor_settings_win32.h"
#include "collector/timer_queue_timer_win32.h"
#include "readings/child_controls_win32.h"
#include "readings/custom_reading_list_editor_win32.h"
#include "readings/urid_selector_form_win32.h"
#include "settings_wipe_guard_win32.h"
#include "settings/registry_store_win32.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "ui/message_loop_win32.h"
#include "ui/window_win32.h"

namespace {

class TOwnerWindow final : public TQD_Window {
 public:
  TOwnerWindow() : TQD_Window(L"QuendalDialogTestOwner") {
    TQD_WindowCreateParams p;
    p.Caption = L"Settings dialogs test";
    p.Style = WS_OVERLAPPEDWINDOW;
    p.Left = p.Top = 10;
    p.Width = 300;
    p.Height = 200;
    Create(p);
    ShowWindow(Handle(), SW_SHOW);
  }
};

std::wstring Caption(HWND AWindow) {
  wchar_t text[256] = {};
  GetWindowTextW(AWindow, text, 256);
  return text;
}

// The driver and the caption of the dialog it waits for.
std::function<void(HWND)> gDriver;
std::wstring gCaption;
HWND gDialog = nullptr;

void CALLBACK DriveTimer(HWND, UINT, UINT_PTR AID, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND AWindow, LPARAM) -> BOOL {
        if (IsWindowVisible(AWindow) && Caption(AWindow) == gCaption) gDialog = AWindow;
        return gDialog ? FALSE : TRUE;
      },
      0);
  if (!gDialog) return;  // not shown yet: the timer fires again
  KillTimer(nullptr, AID);
  std::function<void(HWND)> drive = std::move(gDriver);
  drive(gDialog);
  // A driver that stopped early must not leave the loop running.
  if (IsWindow(gDialog) && IsWindowVisible(gDialog)) PostMessageW(gDialog, WM_CLOSE, 0, 0);
}

// Opens the dialog through AOpen and runs ADrive inside its modal loop.
bool RunDialog(const std::wstring& ACaption, const std::function<bool()>& AOpen,
               std::function<void(HWND)> ADrive) {
  gCaption = ACaption;
  gDriver = std::move(ADrive);
  gDialog = nullptr;
  SetTimer(nullptr, 0, 100, DriveTimer);
  const bool result = AOpen();
  EXPECT_NE(gDialog, nullptr) << "the dialog never showed";
  EXPECT_FALSE(IsWindow(gDialog)) << "destroyed on close";
  return result;
}

// The pixels of the icon on AButton, as 32-bit values, and its size.
std::vector<uint32_t> ButtonIconPixels(HWND AButton, int& AWidth, int& AHeight) {
  AWidth = AHeight = 0;
  const auto icon = reinterpret_cast<HICON>(SendMessageW(AButton, BM_GETIMAGE, IMAGE_ICON, 0));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  BITMAP bm{};
  GetObjectW(info.hbmColor, sizeof bm, &bm);
  AWidth = bm.bmWidth;
  AHeight = bm.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, AWidth, -AHeight, 1, 32, BI_RGB};
  std::vector<uint32_t> pixels(static_cast<size_t>(AWidth) * AHeight);
  const HDC dc = GetDC(nullptr);
  GetDIBits(dc, info.hbmColor, 0, AHeight, pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return pixels;
}

// "OK", "Apply" and "Cancel" carry the action list's images 6, 7 and 8 at the
// dialog's DPI, the picture left and a gap before the caption.
void ExpectButtonImages(HWND ADialog, int ADPI) {
  const int dpi = ADPI, size = ButtonGlyphSize(dpi);
  const std::pair<int, TQD_ActionImage> buttons[] = {{IDOK, aiOK}, {sfApply, aiApply}, {IDCANCEL, aiCancel}};
  for (const auto& [id, image] : buttons) {
    int w = 0, h = 0;
    const std::vector<uint32_t> pixels = ButtonIconPixels(GetDlgItem(ADialog, id), w, h);
    ASSERT_EQ(h, size) << id << " at " << dpi << " DPI";
    EXPECT_EQ(w, size + MulDiv(4, dpi, 96)) << id;
    const TBitmap32 expected = RenderActionImage(image, size);
    int differing = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) differing += pixels[static_cast<size_t>(y) * w + x] != expected.Pixel(x, y);
    EXPECT_EQ(differing, 0) << id;
  }
}

void ExpectFrame(HWND ADialog, HWND AOwner, int AWidth96, int AHeight96) {
  const int dpi = GetWindowDPI(ADialog);
  RECT client{};
  GetClientRect(ADialog, &client);
  EXPECT_EQ(client.right, MulDiv(AWidth96, dpi, 96));
  EXPECT_EQ(client.bottom, MulDiv(AHeight96, dpi, 96));
  EXPECT_FALSE(IsWindowEnabled(AOwner)) << "modal";
  EXPECT_EQ(GetWindow(ADialog, GW_OWNER), AOwner);
  EXPECT_EQ(Caption(GetDlgItem(ADialog, IDOK)), L"OK");
  EXPECT_EQ(Caption(GetDlgItem(ADialog, sfApply)), L"Apply");
  EXPECT_EQ(Caption(GetDlgItem(ADialog, IDCANCEL)), L"Cancel");
  ExpectButtonImages(ADialog, dpi);
}

int TextWidthIn(HWND AControl, const std::wstring& AText) {
  const HDC dc = GetDC(AControl);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(AControl, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, AText.c_str(), static_cast<int>(AText.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(AControl, dc);
  return size.cx;
}

// Whether Tab, from "OK" around, reaches AControl.
bool ReachableByTab(HWND ADialog, HWND AControl) {
  const HWND start = GetDlgItem(ADialog, IDOK);
  HWND h = start;
  for (int i = 0; i < 200; ++i) {
    h = GetNextDlgTabItem(ADialog, h, FALSE);
    if (h == AControl) return true;
    if (h == start || !h) return false;
  }
  return false;
}

HWND PageControl(HWND ADialog, int AField, int APage = 0) {
  return GetDlgItem(GetDlgItem(ADialog, sfFirstPage + APage), SettingsFieldControlID(AField));
}

void Click(HWND AButton) {
  SendMessageW(AButton, BM_CLICK, 0, 0);
  PumpFor(20);
}

class SettingsDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WipeQuendalSettings()) << "these tests rewrite the user's settings";
    TQD_CollectorPorts ports = fakes.Ports();
    ports.Timers = &timers;
    TQD_MainFormSystem system;
    system.ExecutablePath = "C:\\Quendal\\Quendal.exe";
    form = std::make_unique<TQD_MainForm>(registry, ports, hosts, system);
  }
  void TearDown() override {
    if (!form) return;
    form.reset();
    EXPECT_TRUE(WipeQuendalSettings());
  }

  TFakeCollector fakes;
  TQD_TimerFactoryWin32 timers;
  TQD_RegistryStoreWin32 registry;
  TFakeMonitorHostFactory hosts;
  std::unique_ptr<TQD_MainForm> form;
  TOwnerWindow owner;
};

}  // namespace

TEST_F(SettingsDialogs, GeneralPollingIntervalReachesTheLoggerAndTheRegistry) {
  const TQD_SettingsPageModel fields(GeneralSettingsPage());
  const int polling = fields.FieldIndex("HWiNFOPollingIntervalEdit");
  const int fontSize = fields.FieldIndex("FontSizeComboBox");
  const int fontName = fields.FieldIndex("FontNameComboBox");
  const bool ok = RunDialog(
      QD_GeneralSettingsCaption, [&] { return ShowGeneralSettingsDialog(owner.Handle(), *form); },
      [&](HWND ADialog) {
        ExpectFrame(ADialog, owner.Handle(), 820, 500);
        const HWND edit = PageControl(ADialog, polling);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(GetControlText(edit), "2000");
        EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_NUMBER) << "digits only";
        EXPECT_TRUE(ReachableByTab(ADialog, edit));
        EXPECT_EQ(SendMessageW(PageControl(ADialog, fontSize), CB_GETCOUNT, 0, 0), 69);
        EXPECT_EQ(GetControlText(PageControl(ADialog, fontSize)), "11");
        EXPECT_GT(SendMessageW(PageControl(ADialog, fontName), CB_GETCOUNT, 0, 0), 0);
        PauseForScreenshot("general settings");
        // A second dialog while this one runs comes back at once.
        EXPECT_FALSE(ShowGeneralSettingsDialog(owner.Handle(), *form));
        EXPECT_TRUE(IsWindowVisible(ADialog));

        // Moved to a 144 DPI monitor: fonts and layout follow, drawing is on again.
        RECT outer{};
        GetWindowRect(ADialog, &outer);
        RECT suggested{outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, 3, 2),
                       outer.top + MulDiv(outer.bottom - outer.top, 3, 2)};
        SendMessageW(ADialog, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_TRUE(IsWindowVisible(ADialog));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -16);
        ExpectButtonImages(ADialog, 144);
        // Laid out in the new font: the unit after the interval is not cut off.
        const HWND unit = FindWindowExW(GetDlgItem(ADialog, sfFirstPage), nullptr, WC_STATICW, L"ms");
        ASSERT_NE(unit, nullptr);
        RECT unitRect{};
        GetClientRect(unit, &unitRect);
        EXPECT_GE(unitRect.right, TextWidthIn(unit, L"ms"));
        RECT ok{};
        GetWindowRect(GetDlgItem(ADialog, IDOK), &ok);
        EXPECT_GT(ok.right - ok.left, MulDiv(820, 144, 96) / 6 - MulDiv(6, 144, 96) * 3);
        // The metrics endpoint: port and interfaces follow its switch, the address the port.
        const HWND page = GetDlgItem(ADialog, sfFirstPage);
        const HWND metricsOn = GetDlgItem(page, mcEnabled), port = GetDlgItem(page, mcPort);
        ASSERT_NE(port, nullptr);
        EXPECT_FALSE(IsWindowEnabled(port));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, mcAllInterfaces)));
        Click(metricsOn);
        EXPECT_TRUE(IsWindowEnabled(port));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, mcAllInterfaces)));
        EXPECT_TRUE(ReachableByTab(ADialog, port));
        SetWindowTextW(port, L"28416");
        EXPECT_EQ(GetControlText(GetDlgItem(page, mcAddress)), "http://127.0.0.1:28416/metrics");
        SetWindowTextW(edit, L"500");
        Click(GetDlgItem(ADialog, IDOK));
      });
  EXPECT_TRUE(ok);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_EQ(form->Settings().HWiNFOPollingInterval.Value, 500);
  EXPECT_EQ(form->DataLogger()->HWiPollingInterval(), 500u);
  EXPECT_TRUE(form->Settings().MetricsEndpointEnabled.Value);
  EXPECT_EQ(form->Settings().MetricsEndpointPort.Value, 28416);
  form->Shutdown();
  EXPECT_EQ(RegReadInteger(registry, QD_RegBaseKey, "HWiNFOPollingInterval", 0), 500);
  EXPECT_EQ(RegReadInteger(registry, QD_RegBaseKey, "MetricsEndpointPort", 0), 28416);
}

TEST_F(SettingsDialogs, MonitorDialogsHostTheEditorAndCloseTheViewer) {
  TQD_SharedMemoryViewerSlot slot(owner.Handle());
  int disables = 0;
  TQD_Action enable{"EnableSharedMemoryViewer", "Enable shared memory viewer",
                    [&] { slot.Enable(form->DataLogger()); }};
  TQD_Action disable{"DisableSharedMemoryViewer", "Disable shared memory viewer", [&] {
                       ++disables;
                       slot.Disable();
                     }};
  const TQD_SharedMemoryViewerActions viewer{&enable, &disable, [&]() -> TQD_URIDSelector* { return slot.Form(); }};

  struct Row {
    TQD_MonitorKind Kind;
    const char* Screenshot;
    const char* Control;
    const wchar_t* Text;
  };
  const Row rows[] = {{TQD_MonitorKind::CPU, "CPU monitor settings", "CoreTempEdit", L"90"},
                      {TQD_MonitorKind::GPU, "GPU monitor settings", "VRAMCapacityManualEdit", L"0"},
                      {TQD_MonitorKind::Drives, "drive monitor settings", "DriveTempEdit", L"70"},
                      {TQD_MonitorKind::Network, "network monitor settings", "NetGraphBufferLenEdit", L"30"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Screenshot);
    enable.Execute();  // a viewer left open from before
    ASSERT_NE(slot.Form(), nullptr);
    const int before = disables;
    const TQD_SettingsPageModel fields(r.Kind == TQD_MonitorKind::CPU   ? CPUMonitorSettingsPage()
                                       : r.Kind == TQD_MonitorKind::GPU ? GPUMonitorSettingsPage()
                                       : r.Kind == TQD_MonitorKind::Drives ? DriveMonitorSettingsPage()
                                                                           : NetworkMonitorSettingsPage());
    const int field = fields.FieldIndex(r.Control);
    const bool ok = RunDialog(
        MonitorSettingsCaption(r.Kind), [&] { return ShowMonitorSettingsDialog(owner.Handle(), *form, r.Kind, viewer); },
        [&](HWND ADialog) {
          ExpectFrame(ADialog, owner.Handle(), 820, 500);
          EXPECT_EQ(disables, before + 1) << "the viewer closed first";
          EXPECT_EQ(slot.Form(), nullptr);
          const HWND tabs = GetDlgItem(ADialog, sfPageControl);
          EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
          // The editor on the second tab, shown when the tab is chosen.
          const HWND custom = GetDlgItem(ADialog, sfFirstPage + 1);
          const HWND grid = FindWindowExW(FindWindowExW(custom, nullptr, L"QuendalCustomReadingListEditor", nullptr),
                                          nullptr, WC_LISTVIEWW, nullptr);
          ASSERT_NE(grid, nullptr);
          EXPECT_EQ(SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 1);  // an empty list shows one empty row
          const HWND edit = PageControl(ADialog, field);
          ASSERT_NE(edit, nullptr);
          PauseForScreenshot(r.Screenshot);
          // The second tab, chosen as the user's click does it.
          EXPECT_FALSE(IsWindowVisible(custom));
          SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
          NMHDR change{tabs, static_cast<UINT_PTR>(sfPageControl), static_cast<UINT>(TCN_SELCHANGE)};
          SendMessageW(ADialog, WM_NOTIFY, sfPageControl, reinterpret_cast<LPARAM>(&change));
          EXPECT_TRUE(IsWindowVisible(custom));
          EXPECT_TRUE(ReachableByTab(ADialog, grid));
          if (r.Kind == TQD_MonitorKind::CPU) PauseForScreenshot("CPU monitor custom sensor readings");
          SetWindowTextW(edit, r.Text);
          Click(GetDlgItem(ADialog, IDOK));
        });
    EXPECT_TRUE(ok);
    EXPECT_EQ(disables, before + 2) << "and again on closing";
  }
  EXPECT_EQ(form->Settings().CPUMonitor_CoreTemperatureThreshold.Value, 90);
  EXPECT_EQ(form->Settings().GPUMonitor_VRAMTotalManualMiB.Value, 0);
  EXPECT_EQ(form->Settings().DriveMonitor_TemperatureThreshold.Value, 70);
  EXPECT_EQ(form->Settings().NetworkMonitor_NetGraphBufferLen.Value, 60);
}

TEST_F(SettingsDialogs, ColoursExportedAndImportedBackUnchanged) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::string file = WideToUtf8(std::wstring(temp) + L"quendal_colors_display_test.txt");
  DeleteFileW(Utf8ToWide(file).c_str());
  std::vector<std::string> asked;
  TQD_ColorDialogPrompts prompts;
  prompts.OpenFileName = [&] { return file; };
  prompts.SaveFileName = [&] { return file; };
  prompts.FileExists = [](const std::string& APath) {
    return GetFileAttributesW(Utf8ToWide(APath).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  prompts.Confirm = [&](const std::string& AText) {
    asked.push_back(AText);
    return true;
  };
  form->ColorTable().SetColor(3, 0xFF123456);  // the live table, copied in on opening
  TQD_ColorTable exported;

  const bool ok = RunDialog(
      QD_ColorSettingsCaption, [&] { return ShowColorSettingsDialog(owner.Handle(), *form, prompts); },
      [&](HWND ADialog) {
        ExpectFrame(ADialog, owner.Handle(), 1000, 688);
        EXPECT_FALSE(GetWindowLongPtrW(ADialog, GWL_STYLE) & WS_THICKFRAME) << "fixed size";
        const HWND list = GetDlgItem(ADialog, csColorListBox);
        EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 104);
        EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
        for (int id : {csColorPickerGTK, csColorPickerRGBA}) EXPECT_TRUE(ReachableByTab(ADialog, GetDlgItem(ADialog, id)));
        EXPECT_EQ(form->WorkingColorTable().GetColor(3), 0xFF123456u);

        // Entry 0, then "#80FF0000" and Enter in the hex field.
        SendMessageW(list, LB_SETCURSEL, 0, 0);
        SendMessageW(ADialog, WM_COMMAND, MAKEWPARAM(csColorListBox, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        const HWND hex = GetDlgItem(ADialog, csHexColorEdit);
        EXPECT_EQ(GetControlText(hex), "#FF007DC3");
        SetWindowTextW(hex, L"#80FF0000");
        SendMessageW(hex, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(GetControlText(GetDlgItem(ADialog, csRedSpinEdit + 3)), "128");
        EXPECT_EQ(GetControlText(GetDlgItem(ADialog, csRedSpinEdit)), "255");
        // Typing into a spin edit changes its channel.
        SetWindowTextW(GetDlgItem(ADialog, csRedSpinEdit + 2), L"16");
        EXPECT_EQ(GetControlText(hex), "#80FF0010");
        // The picker from the keyboard: End takes the active channel (red) to 255.
        SetFocus(GetDlgItem(ADialog, csColorPickerRGBA));
        SendMessageW(GetDlgItem(ADialog, csColorPickerRGBA), WM_KEYDOWN, VK_HOME, 0);
        EXPECT_EQ(GetControlText(hex), "#80000010");
        PauseForScreenshot("color configuration");

        exported.Assign(form->WorkingColorTable());
        Click(GetDlgItem(ADialog, csExportButton));
        EXPECT_TRUE(asked.empty()) << "a new file needs no confirmation";
        Click(GetDlgItem(ADialog, csResetAllColorsButton));
        EXPECT_EQ(form->WorkingColorTable().GetColor(0), 0xFF007DC3u);
        Click(GetDlgItem(ADialog, csImportButton));
        EXPECT_EQ(asked, (std::vector<std::string>{QD_ResetAllConfirmText, QD_ImportConfirmText}));
        for (int i = 0; i < QD_ColorTableCount; ++i)
          EXPECT_EQ(form->WorkingColorTable().GetColor(i), exported.GetColor(i)) << i;
        EXPECT_EQ(GetControlText(hex), "#80000010");

        // 50 and Enter in the saturation field: half saturation, shown back in the field.
        const HWND saturation = GetDlgItem(ADialog, csSaturationEdit);
        SetWindowTextW(saturation, L"50");
        SendMessageW(saturation, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(GetControlText(saturation), "50.00");
        EXPECT_EQ(GetControlText(hex), "#80080810");
        Click(GetDlgItem(ADialog, IDOK));
      });
  EXPECT_TRUE(ok);
  EXPECT_EQ(form->ColorTable().GetColor(0), 0x80080810u);
  EXPECT_EQ(form->ColorTable().GetColor(3), 0xFF123456u);
  DeleteFileW(Utf8ToWide(file).c_str());

  // Edits dropped with "Cancel" stay dropped when another dialog applies later.
  RunDialog(
      QD_ColorSettingsCaption, [&] { return ShowColorSettingsDialog(owner.Handle(), *form, prompts); },
      [&](HWND ADialog) {
        const HWND list = GetDlgItem(ADialog, csColorListBox);
        SendMessageW(list, LB_SETCURSEL, 3, 0);
        SendMessageW(ADialog, WM_COMMAND, MAKEWPARAM(csColorListBox, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        SetWindowTextW(GetDlgItem(ADialog, csRedSpinEdit), L"0");
        EXPECT_EQ(form->WorkingColorTable().GetColor(3), 0xFF003456u);
        Click(GetDlgItem(ADialog, IDCANCEL));
      });
  form->ApplySettings();
  EXPECT_EQ(form->ColorTable().GetColor(3), 0xFF123456u);
}
