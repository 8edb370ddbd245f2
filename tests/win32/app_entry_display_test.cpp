// What the program shows before its control panel runs: the title its
// windows carry, and the one-button error that ends a start on a Windows
// version that is too old.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window_win32.h"
#include "base/win32_handles_win32.h"
#include "settings/autostart.h"
#include "ui/abort_message_win32.h"

namespace {

std::string WindowText(HWND AWindow) {
  wchar_t text[256] = {};
  const int n = GetWindowTextW(AWindow, text, 256);
  return WideToUtf8(text, static_cast<size_t>(n > 0 ? n : 0));
}

std::string ClassName(HWND AWindow) {
  wchar_t name[64] = {};
  const int n = GetClassNameW(AWindow, name, 64);
  return WideToUtf8(name, static_cast<size_t>(n > 0 ? n : 0));
}

// What a user sees of a message box: its caption, texts and buttons.
struct TSeenBox {
  std::string Caption;
  std::vector<std::string> Buttons;
  std::vector<std::string> Texts;
};

// Waits for a dialog of thread AThread, notes what it shows, and presses its
// first visible button.
TSeenBox PressTheOnlyButton(DWORD AThread) {
  TSeenBox seen;
  HWND box = nullptr;
  for (int i = 0; i < 500 && !box; ++i) {
    EnumThreadWindows(
        AThread,
        [](HWND AWindow, LPARAM AFound) {
          if (ClassName(AWindow) != "#32770" || !IsWindowVisible(AWindow)) return TRUE;
          *reinterpret_cast<HWND*>(AFound) = AWindow;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    if (!box) Sleep(20);
  }
  if (!box) return seen;
  seen.Caption = WindowText(box);
  HWND first = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    if (ClassName(child) == "Button") {
      seen.Buttons.push_back(WindowText(child));
      if (!first) first = child;
    } else if (!WindowText(child).empty()) {
      seen.Texts.push_back(WindowText(child));
    }
  }
  if (first) PostMessageW(first, BM_CLICK, 0, 0);
  return seen;
}

}  // namespace

TEST(ApplicationTitle, OneTitleForTheCoreAndTheWindows) {
  TQD_ApplicationWindow application;
  EXPECT_EQ(WindowText(application.Handle()), QD_ApplicationTitle);
}

TEST(AbortMessage, ShowsTheTextWithOneAbortButton) {
  const DWORD self = GetCurrentThreadId();
  TSeenBox seen;
  std::thread user([&] { seen = PressTheOnlyButton(self); });
  ShowAbortMessage(nullptr, "This application requires Windows Vista or newer!", QD_ApplicationTitle);
  user.join();
  EXPECT_EQ(seen.Caption, QD_ApplicationTitle);
  EXPECT_EQ(seen.Buttons, std::vector<std::string>{"Abort"});
  EXPECT_EQ(seen.Texts, std::vector<std::string>{"This application requires Windows Vista or newer!"});
}
