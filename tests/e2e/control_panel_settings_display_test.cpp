// The settings dialogs as the control panel opens them, in the real program
// under Wine with sensorfeed standing in for HWiNFO: each button opens its
// dialog with its caption and size and Cancel closes it; a polling interval
// typed into the general dialog and taken with "OK" sets the pace of the
// polls (counted from outside through the program's diagnostics file) and is
// what the program saves; the colour dialog's export and import go through
// the system's file dialogs and confirmations and give back the same file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/win32_handles_win32.h"
#include "child_process_win32.h"
#include "settings/key_value_store.h"
#include "settings/registry_store_win32.h"
#include "foreign_window_win32.h"
#include "settings_wipe_guard_win32.h"

namespace {


// Posted, not sent: the dialog's own loop would hold a sent click until it closes.
void Click(HWND AButton) { PostMessageW(AButton, BM_CLICK, 0, 0); }

HWND WaitForDialog(const wchar_t* ACaption) {
  HWND dialog = nullptr;
  WaitFor([&] { return (dialog = FindWindowW(nullptr, ACaption)) != nullptr && IsWindowVisible(dialog); }, 15000);
  return dialog;
}

int ScreenDpi() { return GetDeviceCaps(QD_GetWindowDC(nullptr).Get(), LOGPIXELSX); }

// The HWiNFO polls done as the program's diagnostics file last said (one
// line a second), or -1 before its first line.
long long PollsDone(const std::wstring& APath) {
  FILE* f = _wfopen(APath.c_str(), L"rb");
  if (!f) return -1;
  long long polls = -1;
  char line[1024];
  while (std::fgets(line, sizeof line, f))
    if (const char* at = std::strstr(line, " hwinfo_polls=")) polls = std::atoll(at + 14);
  std::fclose(f);
  return polls;
}

// Polls per second over the next few seconds, seen from outside the program.
double PollRate(const std::wstring& APath) {
  const long long before = PollsDone(APath);
  const ULONGLONG start = GetTickCount64();
  Sleep(6000);
  return static_cast<double>(PollsDone(APath) - before) * 1000.0 / static_cast<double>(GetTickCount64() - start);
}

}  // namespace

TEST(ControlPanelSettings, EachButtonOpensItsDialogAndTheGeneralDialogsPollingIntervalIsSaved) {
  ASSERT_TRUE(WipeQuendalSettings());
  TQD_RegistryStoreWin32 registry;
  TStopEvent stop;
  TChild feed(L"publish --interval 200" + stop.Arg());
  const std::wstring diagnostics = BinDir() + L"settings_dialogs_diagnostics.txt";
  DeleteFileW(diagnostics.c_str());
  TChild app(L"--diagnostics-file \"" + diagnostics + L"\" --diagnostics-interval 1", L"Quendal.exe");
  const HWND panel = WaitForVisibleControlPanel();
  ASSERT_NE(panel, nullptr)
      << "no control panel; Quendal said: " << app.Output();
  const int dpi = ScreenDpi();

  struct TCase {
    const char* Button;
    const wchar_t* Caption;
    int Width, Height;
  };
  for (const TCase& c : {TCase{"General settings", L"Quendal - General settings", 820, 500},
                         TCase{"CPU monitor settings", L"Quendal - CPU monitor settings", 820, 500},
                         TCase{"GPU monitor settings", L"Quendal - GPU monitor settings", 820, 500},
                         TCase{"Drive monitor settings", L"Quendal - Drive monitor settings", 820, 500},
                         TCase{"Network monitor settings", L"Quendal - Network monitor settings", 820, 500},
                         TCase{"Color configuration", L"Quendal - Color configuration", 1000, 688}}) {
    SCOPED_TRACE(c.Button);
    HWND button = ChildWith(panel, "Button", c.Button);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(IsWindowEnabled(button));
    Click(button);
    HWND dialog = WaitForDialog(c.Caption);
    ASSERT_NE(dialog, nullptr) << "Quendal said: " << app.Output();
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, MulDiv(c.Width, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(c.Height, dpi, 96));
    EXPECT_FALSE(IsWindowEnabled(panel));  // modal
    HWND cancel = ChildWith(dialog, "Button", "Cancel");
    ASSERT_NE(cancel, nullptr);
    Click(cancel);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 15000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(panel) != FALSE; }, 5000));
  }

  // The default interval, 2000 ms, before the dialog changes it.
  ASSERT_TRUE(WaitFor([&] { return PollsDone(diagnostics) > 0; }, 15000));
  const double defaultRate = PollRate(diagnostics);
  EXPECT_LT(defaultRate, 0.9);

  // Typed as a user does: the field takes digits only.
  Click(ChildWith(panel, "Button", "General settings"));
  HWND dialog = WaitForDialog(L"Quendal - General settings");
  ASSERT_NE(dialog, nullptr);
  HWND label = ChildWith(dialog, "Static", "Polling interval");
  ASSERT_NE(label, nullptr);
  HWND edit = GetWindow(label, GW_HWNDNEXT);
  ASSERT_EQ(ClassOf(edit), "Edit");
  EXPECT_EQ(Text(edit), "2000");
  SendMessageTimeoutW(edit, EM_SETSEL, 0, -1, SMTO_BLOCK, 5000, nullptr);
  for (wchar_t ch : std::wstring(L"5x00")) PostMessageW(edit, WM_CHAR, ch, 0);
  EXPECT_TRUE(WaitFor([&] { return Text(edit) == "500"; }, 5000)) << Text(edit);
  Click(ChildWith(dialog, "Button", "OK"));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 15000));
  EXPECT_TRUE(WaitFor([&] { return Text(ChildWith(panel, "Static", "HWiNFO polling status: OK")) != ""; }, 15000));
  // Every 500 ms now: about two polls a second (late timer ticks under a
  // loaded machine only lower it).
  const double rate = PollRate(diagnostics);
  EXPECT_GT(rate, 1.4) << "before: " << defaultRate;
  EXPECT_LT(rate, 2.6);

  ASSERT_TRUE(EndSessionAsLogoff(panel));
  EXPECT_EQ(app.Wait(15000), 0);
  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal", "HWiNFOPollingInterval", 0), 500);

  stop.Set();
  feed.Wait(10000);
  DeleteFileW(diagnostics.c_str());
  EXPECT_TRUE(WipeQuendalSettings());
}

namespace {

// A window of this thread's desktop with that class and caption, shown, once it is there.
HWND WaitForWindow(const wchar_t* AClass, const wchar_t* ACaption, DWORD AMs = 15000) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowW(AClass, ACaption)) != nullptr && IsWindowVisible(found); }, AMs);
  return found;
}

// The system's file dialog that AButton opens: the path typed into its file
// name field and taken with its default button, as a user does.
void ChooseFile(HWND AButton, const wchar_t* ACaption, const std::wstring& APath) {
  Click(AButton);
  const HWND files = WaitForWindow(L"#32770", ACaption);
  ASSERT_NE(files, nullptr) << "no file dialog \"" << WideToUtf8(ACaption, wcslen(ACaption)) << "\"";
  HWND name = nullptr;
  for (HWND child : Children(files))
    if (ClassOf(child) == "Edit" && IsWindowVisible(child)) {
      name = child;
      break;
    }
  ASSERT_NE(name, nullptr);
  SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(APath.c_str()), SMTO_BLOCK, 5000, nullptr);
  Click(GetDlgItem(files, IDOK));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(files); }, 15000));
}

// Answers "Yes" to the confirmation that is asked (after clicking AButton,
// when given), and returns its text.
std::string ConfirmWithYes(HWND AButton = nullptr) {
  if (AButton) Click(AButton);
  const HWND box = WaitForWindow(L"#32770", L"Confirm");
  if (!box) return "";
  std::string text;
  for (HWND child : Children(box))
    if (ClassOf(child) == "Static" && !Text(child).empty()) text = Text(child);
  Click(GetDlgItem(box, IDYES));
  WaitFor([&] { return !IsWindow(box); }, 15000);
  return text;
}

}  // namespace

// The colour dialog's file step with the system's own file dialogs and
// confirmations: a colour changed, exported, every colour reset, the file
// imported back and exported again gives the same file.
TEST(ControlPanelSettings, ColoursExportedThroughTheFileDialogsImportBackUnchanged) {
  ASSERT_TRUE(WipeQuendalSettings());
  const std::wstring first = TempFile(L"colors_first.txt"), second = TempFile(L"colors_second.txt");
  DeleteFileW(first.c_str());
  DeleteFileW(second.c_str());
  TStopEvent stop;
  TChild feed(L"publish --interval 200" + stop.Arg());
  TChild app(L"", L"Quendal.exe");
  const HWND panel = WaitForVisibleControlPanel();
  ASSERT_NE(panel, nullptr)
      << "no control panel; Quendal said: " << app.Output();
  Click(ChildWith(panel, "Button", "Color configuration"));
  const HWND dialog = WaitForDialog(L"Quendal - Color configuration");
  ASSERT_NE(dialog, nullptr);

  // The first colour, half-transparent red through the hex field.
  HWND list = nullptr, hex = nullptr;
  for (HWND child : Children(dialog)) {
    if (!list && ClassOf(child) == "ListBox") list = child;
    if (!hex && ClassOf(child) == "Edit" && Text(child).rfind('#', 0) == 0) hex = child;
  }
  ASSERT_NE(list, nullptr);
  SendMessageTimeoutW(list, LB_SETCURSEL, 0, 0, SMTO_BLOCK, 5000, nullptr);
  SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(list), SMTO_BLOCK, 5000, nullptr);
  for (HWND child : Children(dialog))
    if (!hex && ClassOf(child) == "Edit" && Text(child).rfind('#', 0) == 0) hex = child;
  ASSERT_NE(hex, nullptr);
  const std::wstring red = L"#80FF0000";
  SendMessageTimeoutW(hex, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(red.c_str()), SMTO_BLOCK, 5000, nullptr);
  PostMessageW(hex, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitFor([&] { return Text(hex) == "#80FF0000"; }, 5000)) << Text(hex);

  ChooseFile(ChildWith(dialog, "Button", "Export to file"), L"Save As", first);
  EXPECT_EQ(ConfirmWithYes(ChildWith(dialog, "Button", "Reset all colors")),
            "Do you really want to reset all colors to their default values?");
  EXPECT_TRUE(WaitFor([&] { return Text(hex) != "#80FF0000"; }, 5000)) << "reset";
  ChooseFile(ChildWith(dialog, "Button", "Import from file"), L"Open", first);
  EXPECT_EQ(ConfirmWithYes(), "Are you sure you want to load colors from this file?");
  EXPECT_TRUE(WaitFor([&] { return Text(hex) == "#80FF0000"; }, 5000)) << Text(hex);
  ChooseFile(ChildWith(dialog, "Button", "Export to file"), L"Save As", second);

  const std::string exported = ReadFileBytes(first);
  EXPECT_NE(exported.find("=#80FF0000"), std::string::npos) << exported.substr(0, 200);
  EXPECT_EQ(ReadFileBytes(second), exported);
  Click(ChildWith(dialog, "Button", "Cancel"));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 15000));

  EndSessionAsLogoff(panel);
  EXPECT_EQ(app.Wait(15000), 0);
  stop.Set();
  feed.Wait(10000);
  DeleteFileW(first.c_str());
  DeleteFileW(second.c_str());
  EXPECT_TRUE(WipeQuendalSettings());
}
