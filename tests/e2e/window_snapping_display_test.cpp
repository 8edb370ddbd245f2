// Window snapping in the real program under Wine, driven by the X mouse
// (xdotool) the way a user drags: a monitor window dropped a few pixels from
// the screen's edge or from another monitor window ends exactly on that edge,
// and a monitor window that touches the control panel moves with it.
//
// xdotool runs as a Unix child of Wine, which hands back no process handle:
// each gesture ends by parking the cursor on a spot of its own, and the test
// waits until the cursor is there.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "child_process_win32.h"
#include "foreign_window_win32.h"
#include "settings_wipe_guard_win32.h"
#include "settings/key_value_store.h"
#include "settings/registry_store_win32.h"

namespace {

const wchar_t kMonitorClass[] = L"QuendalMonitorWindow";
const char kXdotool[] = "/usr/bin/xdotool";

RECT Outer(HWND AWindow) {
  RECT r{};
  GetWindowRect(AWindow, &r);
  return r;
}

std::string Text(const RECT& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + " - " + std::to_string(R.right) + "," +
         std::to_string(R.bottom);
}

// Waits until the window is visible and its rectangle has held still for a
// second (the CPU monitor grows once the first poll populates it).
bool WaitUntilSettled(HWND AWindow, DWORD AMs) {
  RECT last{};
  DWORD still = 0;
  for (DWORD waited = 0; waited < AMs; waited += 100) {
    const RECT now = Outer(AWindow);
    still = IsWindowVisible(AWindow) && EqualRect(&now, &last) ? still + 100 : 0;
    if (still >= 1000) return true;
    last = now;
    Sleep(100);
  }
  return false;
}

HWND WaitForMonitor(const wchar_t* ACaption) {
  for (int i = 0; i < 300; ++i) {
    if (HWND w = FindWindowW(kMonitorClass, ACaption))
      if (IsWindowVisible(w)) return w;
    Sleep(100);
  }
  return nullptr;
}

// Runs one xdotool command chain and waits until it is done: it ends by
// moving the cursor to ADone, or else to a spot no earlier chain used.
bool Xdotool(std::string AChain, const POINT* ADone = nullptr) {
  static int count = 0;
  POINT done{1900 - (++count % 50) * 3, 1070};
  if (ADone)
    done = *ADone;
  else
    AChain += " sleep 0.3 mousemove " + std::to_string(done.x) + " " + std::to_string(done.y);
  std::wstring command = Utf8ToWide(std::string(kXdotool) + " " + AChain);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  for (int i = 0; i < 400; ++i) {
    POINT p{};
    GetCursorPos(&p);
    if (p.x == done.x && p.y == done.y) {
      Sleep(300);  // the program handles what the release left behind
      return true;
    }
    Sleep(50);
  }
  return false;
}

std::string MoveTo(int AX, int AY) { return " mousemove " + std::to_string(AX) + " " + std::to_string(AY); }

// The mouse path from (AX0, AY0) to (AX1, AY1) in small steps, ending exactly there.
std::string Steps(int AX0, int AY0, int AX1, int AY1) {
  std::string chain;
  constexpr int kSteps = 12;
  for (int i = 1; i <= kSteps; ++i)
    chain += MoveTo(AX0 + (AX1 - AX0) * i / kSteps, AY0 + (AY1 - AY0) * i / kSteps) + " sleep 0.05";
  return chain;
}

// Drags a monitor window by its content so that its outer top-left would
// land on (ALeft, ATop), and returns where it ended.
RECT DragMonitor(HWND AWindow, int ALeft, int ATop) {
  const RECT from = Outer(AWindow);
  // A spot well inside the content: the content drags the window.
  const int grabX = from.left + 100, grabY = from.top + 30;
  const int dropX = grabX + ALeft - from.left, dropY = grabY + ATop - from.top;
  EXPECT_TRUE(Xdotool(MoveTo(grabX, grabY) + " sleep 0.2 mousedown 1 sleep 0.2" + Steps(grabX, grabY, dropX, dropY) +
                      " sleep 0.2 mouseup 1"));
  return Outer(AWindow);
}

}  // namespace

TEST(Quendal, WindowsSnapToEdgesAndGluedWindowsFollowTheControlPanel) {
  if (GetFileAttributesA(("Z:" + std::string(kXdotool)).c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "xdotool is not installed";
  ASSERT_TRUE(WipeQuendalSettings());
  TQD_RegistryStoreWin32 registry;
  RegWriteBool(registry, "Software\\Quendal\\Clock", "On", true);
  RegWriteInteger(registry, "Software\\Quendal\\Clock", "Left", 300);
  RegWriteInteger(registry, "Software\\Quendal\\Clock", "Top", 300);
  RegWriteBool(registry, "Software\\Quendal\\CPUMonitor", "On", true);
  RegWriteInteger(registry, "Software\\Quendal\\CPUMonitor", "Left", 1300);
  RegWriteInteger(registry, "Software\\Quendal\\CPUMonitor", "Top", 100);

  TStopEvent stop;
  TChild feed(L"publish --interval 500" + stop.Arg());
  TChild app(L"", L"Quendal.exe");
  HWND clock = WaitForMonitor(L"Clock");
  HWND cpu = WaitForMonitor(L"CPU Monitor");
  ASSERT_TRUE(clock && cpu) << "monitor windows missing; Quendal said: " << app.Output();
  Sleep(3000);  // the first polls populate the CPU monitor
  ASSERT_TRUE(WaitUntilSettled(clock, 20000) && WaitUntilSettled(cpu, 20000));

  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(clock, MONITOR_DEFAULTTONEAREST), &screen));
  const RECT work = screen.rcWork;
  const int clockHeight = Outer(clock).bottom - Outer(clock).top;

  // Beyond the snap distance the window lands where it is dropped: the drags
  // themselves are exact.
  RECT r = DragMonitor(clock, work.left + 40, 300);
  EXPECT_EQ(r.left, work.left + 40) << Text(r);
  EXPECT_EQ(r.top, 300) << Text(r);

  // 8 px from the screen's left edge.
  r = DragMonitor(clock, work.left + 8, 300);
  EXPECT_EQ(r.left, work.left) << Text(r);
  EXPECT_EQ(r.top, 300) << Text(r);

  // Its right edge 9 px short of the CPU monitor's left edge.
  const RECT cpuRect = Outer(cpu);
  const int clockWidth = Outer(clock).right - Outer(clock).left;
  r = DragMonitor(clock, cpuRect.left - 9 - clockWidth, cpuRect.top + 40);
  EXPECT_EQ(r.right, cpuRect.left) << Text(r) << " beside " << Text(cpuRect);
  EXPECT_EQ(r.top, cpuRect.top + 40) << Text(r);

  // The control panel comes from elsewhere; here it is only shown and placed.
  HWND panel = FindWindowW(QD_MainFormClass, nullptr);
  ASSERT_NE(panel, nullptr);
  SetWindowPos(panel, nullptr, 200, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(panel, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(WaitUntilSettled(panel, 10000));
  const RECT panelRect = Outer(panel);

  // Dropped 7 px right of the panel, the clock snaps to it and so touches it.
  r = DragMonitor(clock, panelRect.right + 7, panelRect.top + 20);
  ASSERT_EQ(r.left, panelRect.right) << Text(r) << " beside the panel at " << Text(panelRect);
  ASSERT_EQ(r.top, panelRect.top + 20) << Text(r);

  // Drag the panel. Wine leaves its caption to a window manager, and there is
  // none: the button goes down on its client area and the panel is told to
  // start the move its caption would start.
  RECT client{};
  GetClientRect(panel, &client);
  POINT grab{client.right / 2, client.bottom / 2};
  ClientToScreen(panel, &grab);
  // The cursor reaches the grab point only once the button is down, and
  // stays there while the move starts: the move is measured from there.
  ASSERT_TRUE(Xdotool(MoveTo(grab.x - 1, grab.y) + " sleep 0.2 mousedown 1 sleep 0.2" + MoveTo(grab.x, grab.y), &grab));
  PostMessageW(panel, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(grab.x, grab.y));
  Sleep(500);
  const int dx = 100, dy = -200;
  ASSERT_TRUE(Xdotool("sleep 0.3" + Steps(grab.x, grab.y, grab.x + dx, grab.y + dy) + " sleep 0.2 mouseup 1"));

  const RECT movedPanel = Outer(panel);
  EXPECT_EQ(movedPanel.left, panelRect.left + dx) << Text(movedPanel);
  EXPECT_EQ(movedPanel.top, panelRect.top + dy) << Text(movedPanel);
  r = Outer(clock);
  EXPECT_EQ(r.left, movedPanel.right) << "the clock stayed at " << Text(r);
  EXPECT_EQ(r.top, movedPanel.top + 20) << Text(r);
  EXPECT_EQ(r.bottom - r.top, clockHeight);

  // End the session as a logoff does: every window goes while still hooked.
  EndSessionAsLogoff(panel);
  EXPECT_EQ(app.Wait(15000), 0);
  stop.Set();
  feed.Wait(10000);
  EXPECT_TRUE(WipeQuendalSettings());
}
