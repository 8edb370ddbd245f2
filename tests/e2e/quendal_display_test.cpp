// The real program under Wine with sensorfeed standing in for HWiNFO: the
// clock window appears at its default size in the middle of the screen, a
// second instance ends at once, drawing reaches the screen, and a session
// end (logoff) saves everything before the process goes.
#include <gtest/gtest.h>
#include <windows.h>


#include "foreign_window_win32.h"
#include "child_process_win32.h"
#include "screen_win32.h"
#include "settings_wipe_guard_win32.h"
#include "widgets/color_table.h"
#include "settings/key_value_store.h"
#include "settings/registry_store_win32.h"
#include "settings/settings.h"

namespace {

const wchar_t kMonitorClass[] = L"QuendalMonitorWindow";

HWND WaitForWindow(const wchar_t* AClass, const wchar_t* ATitle, DWORD AMs) {
  for (DWORD waited = 0; waited < AMs; waited += 100) {
    HWND w = FindWindowW(AClass, ATitle);
    if (w && (!ATitle || IsWindowVisible(w))) return w;
    Sleep(100);
  }
  return nullptr;
}

int CountTopLevel(const wchar_t* AClass) {
  struct Data {
    const wchar_t* Class;
    int Count = 0;
  } data{AClass};
  EnumWindows(
      [](HWND AWindow, LPARAM AData) -> BOOL {
        auto* d = reinterpret_cast<Data*>(AData);
        wchar_t name[64];
        if (GetClassNameW(AWindow, name, 64) && wcscmp(name, d->Class) == 0) ++d->Count;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&data));
  return data.Count;
}

}  // namespace

TEST(Quendal, ClockWindowSecondInstanceAndLogoff) {
  // A first start: nothing stored but the clock switched on.
  // Refused outside the private prefix: the program would also write its settings there.
  ASSERT_TRUE(WipeQuendalSettings());
  TQD_RegistryStoreWin32 registry;
  RegWriteBool(registry, "Software\\Quendal\\Clock", "On", true);

  TStopEvent stop;
  TChild feed(L"publish --interval 200" + stop.Arg());
  TChild app(L"", L"Quendal.exe");

  HWND clock = WaitForWindow(kMonitorClass, L"Clock", 30000);
  ASSERT_NE(clock, nullptr) << "no clock window; Quendal said: " << app.Output();
  RECT client{}, outer{};
  GetClientRect(clock, &client);
  GetWindowRect(clock, &outer);
  EXPECT_EQ(client.right, 540);
  EXPECT_EQ(client.bottom, 66);
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(outer.left, screenW / 2 - (outer.right - outer.left) / 2);
  EXPECT_EQ(outer.top, screenH / 2 - (outer.bottom - outer.top) / 2);

  // The clock draws: its labels paint gradients and text, not one flat colour.
  Sleep(1500);
  EXPECT_GT(DistinctColours(clock), 8u);

  // A second instance finds the first and ends at once.
  TChild second(L"", L"Quendal.exe");
  EXPECT_EQ(second.Wait(15000), 0);
  EXPECT_EQ(CountTopLevel(QD_MainFormClass), 1);
  EXPECT_EQ(app.Wait(0), -1);  // the first one still runs

  // A logoff: the program saves everything and ends.
  HWND main = FindWindowW(QD_MainFormClass, nullptr);
  ASSERT_NE(main, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer);
  EXPECT_EQ(app.Wait(15000), 0);

  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal\\Clock", "Width", -7), 540);
  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal\\Clock", "Height", -7), 66);
  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal\\Clock", "Left", -7), outer.left);
  EXPECT_TRUE(RegReadBool(registry, "Software\\Quendal\\Clock", "On", false));
  int missing = 0;
  TQD_Settings::CreateDefault().ForEachOption([&](const auto& AOption) {
    if (AOption.Reg.empty()) return;  // the autostart mirror has no value of its own
    if (!RegValueExists(registry, SettingsKey(AOption.Sub), std::string(AOption.Reg))) {
      ++missing;
      ADD_FAILURE() << "setting not stored: " << SettingsKey(AOption.Sub) << " " << AOption.Reg;
    }
  });
  EXPECT_EQ(missing, 0);
  int colours = 0;
  for (const auto& entry : DefaultTranslationTable)
    colours += RegValueExists(registry, QD_ColorsKey, std::string(entry.Name));
  EXPECT_EQ(colours, 104);

  stop.Set();
  feed.Wait(10000);
  EXPECT_TRUE(WipeQuendalSettings());
}
