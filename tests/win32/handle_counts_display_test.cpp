// The live handle counts the diagnostics file reports: every handle type adds
// one while it holds a handle and gives it back however the handle goes
// (destroyed, replaced, moved on, released to another owner), and a window
// poll cycle through the real shared-memory port leaves no view or handle.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <utility>

#include "base/win32_handles_win32.h"
#include "collector/shared_memory_win32.h"
#include "collector/timer_queue_timer_win32.h"
#include "ui/window_win32.h"

namespace {

std::array<long, hkCount> Counts() {
  std::array<long, hkCount> c{};
  for (int k = 0; k < hkCount; ++k) c[static_cast<size_t>(k)] = LiveHandleCount(static_cast<TQD_HandleKind>(k));
  return c;
}

class TPlainWindow : public TQD_Window {
 public:
  TPlainWindow() : TQD_Window(L"QuendalHandleCountTest") { Create(TQD_WindowCreateParams{}); }
  ~TPlainWindow() override { Destroy(); }
};

}  // namespace

TEST(HandleCounts, EachKindCountsWhileHeldAndNotAfter) {
  const auto before = Counts();
  {
    TQD_BrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
    TQD_BrushHandle other;
    other = std::move(brush);                        // moved: still one
    other.Reset(CreateSolidBrush(RGB(3, 2, 1)));     // replaced: still one
    TQD_MemoryDC dc(CreateCompatibleDC(nullptr));
    TQD_MenuHandle menu(CreatePopupMenu());
    DestroyMenu(menu.Release());                      // handed on: no longer ours
    TQD_KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    TTimerQueueTimer timer;                          // its message-only window
    TPlainWindow window;
    const auto during = Counts();
    EXPECT_EQ(during[hkGdi] - before[hkGdi], 2);
    EXPECT_EQ(during[hkUser] - before[hkUser], 2);
    EXPECT_EQ(during[hkKernel] - before[hkKernel], 1);
  }
  EXPECT_EQ(Counts(), before);
}

TEST(HandleCounts, PollsThroughTheSharedMemoryPortLeaveNothingOpen) {
  TQD_KernelHandle mapping(
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"Local\\QuendalHandleCountTest"));
  ASSERT_TRUE(mapping);
  const auto before = Counts();
  TQD_SharedMemoryWin32 port;
  for (int i = 0; i < 100; ++i) {
    auto view = port.OpenView("Local\\QuendalHandleCountTest");
    ASSERT_TRUE(view);
    EXPECT_EQ(LiveHandleCount(hkView) - before[hkView], 1);
  }
  EXPECT_FALSE(port.OpenView("Local\\QuendalNoSuchMapping"));
  EXPECT_EQ(Counts(), before);
}
