// Window snapping against a fake desktop: two monitors (one left of the
// primary, so with negative coordinates), windows that can be hidden or
// maximised, a cursor the test moves, and a record of every batched move.
// Drags go through the handed-out callback, as the system's messages would.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/magnetic.h"

namespace {

constexpr TRect kPrimary{0, 0, 1920, 1040};
constexpr TRect kLeftScreen{-1280, 0, 0, 1024};

struct TFakeWindow {
  TRect Rect;
  bool Visible = true;
  bool Zoomed = false;
};

class TFakeDesktop final : public TQD_WindowsPort {
 public:
  std::map<TQD_WindowId, TFakeWindow> Windows;
  TQD_Point Cursor;
  std::vector<std::vector<TQD_WindowMove>> Batches;

  bool IsWindow(TQD_WindowId AWindow) const override { return Windows.count(AWindow) > 0; }
  bool IsWindowVisible(TQD_WindowId AWindow) const override {
    return IsWindow(AWindow) && Windows.at(AWindow).Visible;
  }
  bool IsZoomed(TQD_WindowId AWindow) const override { return IsWindow(AWindow) && Windows.at(AWindow).Zoomed; }
  TRect WindowRect(TQD_WindowId AWindow) const override {
    return IsWindow(AWindow) ? Windows.at(AWindow).Rect : TRect{};
  }
  TQD_Point CursorPos() const override { return Cursor; }
  TRect WorkArea(const TRect& ARect) const override {
    // The screen that holds the rectangle's centre, as good as "most of it" here.
    return (ARect.Left + ARect.Right) / 2 < 0 ? kLeftScreen : kPrimary;
  }
  void MoveWindows(const std::vector<TQD_WindowMove>& AMoves) override {
    Batches.push_back(AMoves);
    for (const TQD_WindowMove& m : AMoves) {
      TRect& r = Windows[m.Window].Rect;
      r = {m.Left, m.Top, m.Left + r.Width(), m.Top + r.Height()};
    }
  }
};

TRect At(const TRect& R, int ALeft, int ATop) { return {ALeft, ATop, ALeft + R.Width(), ATop + R.Height()}; }

bool Send(TQD_WindowId AWindow, uint32_t AMessage, TQD_MagneticMessage& AMsg) {
  bool handled = false;
  TMagnetic::SubClassProc(AWindow, AMessage, AMsg, handled);
  return handled;
}

void Send(TQD_WindowId AWindow, uint32_t AMessage) {
  TQD_MagneticMessage msg;
  Send(AWindow, AMessage, msg);
}

// Drags the window by its content so that its top-left would land on ATo:
// press, one move step, release. The window ends where the callback put it.
TRect Drag(TFakeDesktop& ADesktop, TQD_WindowId AWindow, TQD_Point ATo) {
  TRect& rect = ADesktop.Windows[AWindow].Rect;
  ADesktop.Cursor = {rect.Left + 7, rect.Top + 5};
  Send(AWindow, QD_WM_ENTERSIZEMOVE);
  ADesktop.Cursor = {ATo.X + 7, ATo.Y + 5};
  TQD_MagneticMessage msg;
  msg.Rect = At(rect, ATo.X, ATo.Y);
  EXPECT_TRUE(Send(AWindow, QD_WM_MOVING, msg));
  rect = msg.Rect;
  Send(AWindow, QD_WM_EXITSIZEMOVE);
  return rect;
}

struct TPlaced {
  TQD_WindowId Handle;
  TRect Rect;
  TQD_WindowId Parent = 0;
  bool Visible = true;
};

// Registers the windows in order, with their parents.
void Register(TMagnetic& AMagnetic, TFakeDesktop& ADesktop, const std::vector<TPlaced>& AWindows) {
  for (const TPlaced& w : AWindows) ADesktop.Windows[w.Handle] = {w.Rect, w.Visible};
  for (const TPlaced& w : AWindows) {
    TSubClass_Proc proc = nullptr;
    ASSERT_TRUE(AMagnetic.AddWindow(w.Handle, w.Parent, proc));
  }
}

bool Glued(const TMagnetic& AMagnetic, TQD_WindowId AWindow) { return AMagnetic.WindowInfo(AWindow)->Glue; }

constexpr TQD_WindowId P = 1, A = 2, B = 3, C = 4, D = 5;
constexpr TRect kPanel{100, 100, 400, 300};

}  // namespace

TEST(Magnetic, TouchingNeedsNoGapAndOneSharedEdgeLine) {
  const struct {
    const char* Name;
    TRect B;
    bool Want;
  } cases[] = {
      {"right edge on right edge", {400, 100, 600, 200}, true},
      {"one pixel gap", {401, 100, 600, 200}, false},
      {"below, sharing the bottom line", {150, 300, 250, 350}, true},
      {"corner to corner", {400, 300, 500, 400}, true},
      {"on the same line but far below", {400, 500, 600, 600}, false},
      {"overlapping with a common left edge", {100, 150, 200, 250}, true},
      {"overlapping with no common line", {150, 150, 250, 250}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(Touching(kPanel, c.B), c.Want) << c.Name;
}

TEST(Magnetic, MoveSnapsEachAxisToTheLastEdgeWithinSnapWidth) {
  const struct {
    const char* Name;
    TRect Other;  // another visible window, empty for none
    TQD_Point To;
    TQD_Point Want;
  } cases[] = {
      {"14 px from the work area's left edge", {}, {14, 300}, {0, 300}},
      {"15 px from it", {}, {15, 300}, {15, 300}},
      {"14 px inside the right edge", {}, {1706, 300}, {1720, 300}},
      {"both axes in a corner", {}, {10, 928}, {0, 940}},
      {"14 px right of another window", {600, 300, 800, 400}, {814, 320}, {800, 320}},
      {"beside it but out of its vertical reach", {600, 300, 800, 400}, {810, 415}, {810, 415}},
      {"two matches: the later candidate wins", {5, 350, 105, 450}, {10, 300}, {5, 300}},
      {"left edge of the screen left of the primary", {}, {-1270, 300}, {-1280, 300}},
      {"right edge of that screen", {}, {-210, 300}, {-200, 300}},
      {"bottom of that screen's shorter work area", {}, {-1000, 914}, {-1000, 924}},
  };
  for (const auto& c : cases) {
    TFakeDesktop desktop;
    TMagnetic magnetic(desktop);
    std::vector<TPlaced> windows{{A, {300, 300, 500, 400}}};
    if (!c.Other.IsEmpty()) windows.push_back({B, c.Other});
    Register(magnetic, desktop, windows);
    const TRect r = Drag(desktop, A, c.To);
    EXPECT_EQ(r, At(TRect{0, 0, 200, 100}, c.Want.X, c.Want.Y)) << c.Name;
  }
}

TEST(Magnetic, MaximisedWindowSnapsAsTheWorkAreaItCovers) {
  TFakeDesktop desktop;
  TMagnetic magnetic(desktop);
  // A maximised window's frame hangs over the work area's edges.
  Register(magnetic, desktop, {{A, {300, 300, 500, 400}}, {B, {-8, -8, 1928, 1048}}});
  desktop.Windows[B].Zoomed = true;
  EXPECT_EQ(Drag(desktop, A, {-20, 300}).Left, -20);  // 12 px from the frame, 20 from the work area
}

TEST(Magnetic, ResizeSnapsOnlyTheDraggedEdges) {
  const struct {
    const char* Name;
    uintptr_t Edge;
    TRect Proposed;
    TRect Want;
  } cases[] = {
      {"bottom-right: both edges", 8, {300, 300, 590, 1030}, {300, 300, 600, 1040}},
      {"right: the bottom stays", 2, {300, 300, 590, 1030}, {300, 300, 600, 1030}},
      {"left to the work area", 1, {8, 300, 500, 400}, {0, 300, 500, 400}},
      {"top-left to the work area", 4, {8, 10, 500, 400}, {0, 0, 500, 400}},
      {"bottom 15 px away", 6, {300, 300, 500, 1025}, {300, 300, 500, 1025}},
  };
  for (const auto& c : cases) {
    TFakeDesktop desktop;
    TMagnetic magnetic(desktop);
    Register(magnetic, desktop, {{A, {300, 300, 500, 400}}, {B, {600, 200, 800, 600}}});
    Send(A, QD_WM_ENTERSIZEMOVE);
    TQD_MagneticMessage msg;
    msg.WParam = c.Edge;
    msg.Rect = c.Proposed;
    EXPECT_TRUE(Send(A, QD_WM_SIZING, msg)) << c.Name;
    EXPECT_EQ(msg.Result, 1) << c.Name;
    EXPECT_EQ(msg.Rect, c.Want) << c.Name;
  }
}

TEST(Magnetic, GlueSpreadsFromTheParentAlongTouchingSiblings) {
  const struct {
    const char* Name;
    std::vector<TPlaced> Windows;  // after the panel, in registration order
    std::string Want;              // glue of each, '1' or '0'
  } cases[] = {
      {"chain of three", {{A, {400, 100, 600, 200}, P}, {B, {600, 100, 800, 200}, P}}, "11"},
      {"one pixel gap to the panel", {{A, {401, 100, 601, 200}, P}, {B, {601, 100, 801, 200}, P}}, "00"},
      {"hidden in the middle", {{A, {400, 100, 600, 200}, P, false}, {B, {600, 100, 800, 200}, P}}, "00"},
      {"touching a glued window without a parent", {{A, {400, 100, 600, 200}, P}, {B, {600, 100, 800, 200}}}, "10"},
      {"registered from the far end",
       {{D, {1000, 100, 1200, 200}, P},
        {C, {800, 100, 1000, 200}, P},
        {B, {600, 100, 800, 200}, P},
        {A, {400, 100, 600, 200}, P}},
       "1111"},
  };
  for (const auto& c : cases) {
    TFakeDesktop desktop;
    TMagnetic magnetic(desktop);
    std::vector<TPlaced> windows{{P, kPanel}};
    windows.insert(windows.end(), c.Windows.begin(), c.Windows.end());
    Register(magnetic, desktop, windows);
    std::string glue;
    for (const TPlaced& w : c.Windows) glue += Glued(magnetic, w.Handle) ? '1' : '0';
    EXPECT_EQ(glue, c.Want) << c.Name;
  }
}

TEST(Magnetic, DraggingTheParentCarriesItsGluedWindowsInOneBatch) {
  TFakeDesktop desktop;
  TMagnetic magnetic(desktop);
  Register(magnetic, desktop,
           {{P, kPanel},
            {A, {400, 100, 600, 200}, P},
            {B, {400, 200, 600, 300}, P},   // glued through A
            {C, {900, 600, 1000, 700}, P},  // not touching
            {D, {600, 100, 700, 200}}});    // touching A, but no parent
  EXPECT_EQ(Drag(desktop, P, {200, 150}), At(kPanel, 200, 150));
  const std::vector<TQD_WindowMove> carried{{A, 500, 150}, {B, 500, 250}};
  ASSERT_EQ(desktop.Batches.size(), 1u);
  EXPECT_EQ(desktop.Batches[0], carried);
  EXPECT_EQ(desktop.Windows[C].Rect, (TRect{900, 600, 1000, 700}));
  EXPECT_EQ(desktop.Windows[D].Rect, (TRect{600, 100, 700, 200}));
}

TEST(Magnetic, GluedWindowsSnapToWindowsLeftBehindButNotToTheWorkArea) {
  const struct {
    const char* Name;
    TQD_Point To;  // the panel's requested top-left
    TQD_Point Want;
  } cases[] = {
      // A's right edge comes 10 px short of C's left edge.
      {"carried window to another window", {190, 100}, {200, 100}},
      // A's bottom comes 10 px above the work area's; the panel's is far from it.
      {"carried window near the work area", {100, 730}, {100, 730}},
  };
  for (const auto& c : cases) {
    TFakeDesktop desktop;
    TMagnetic magnetic(desktop);
    Register(magnetic, desktop, {{P, kPanel}, {A, {400, 100, 600, 400}, P}, {C, {700, 300, 900, 500}}});
    ASSERT_TRUE(Glued(magnetic, A));
    const TRect r = Drag(desktop, P, c.To);
    EXPECT_EQ(r, At(kPanel, c.Want.X, c.Want.Y)) << c.Name;
    EXPECT_EQ(desktop.Windows[A].Rect.Left, r.Right) << c.Name;  // still beside the panel
  }
}

TEST(Magnetic, RemovingAWindowBreaksTheChainAndOrphansItsChildren) {
  TFakeDesktop desktop;
  TMagnetic magnetic(desktop);
  Register(magnetic, desktop,
           {{P, kPanel}, {A, {400, 100, 600, 200}, P}, {B, {600, 100, 800, 200}, P}});
  ASSERT_TRUE(Glued(magnetic, B));
  // A window being disabled is destroyed; its WM_DESTROY removes it.
  desktop.Windows.erase(A);
  EXPECT_TRUE(magnetic.RemoveWindow(A));
  EXPECT_FALSE(magnetic.RemoveWindow(A));
  EXPECT_EQ(magnetic.WindowCount(), 2);
  EXPECT_FALSE(Glued(magnetic, B));

  EXPECT_TRUE(magnetic.RemoveWindow(P));
  EXPECT_EQ(magnetic.WindowInfo(B)->hWndParent, 0u);
}

TEST(Magnetic, AddWindowRefusesWhatItCannotTrack) {
  TFakeDesktop desktop;
  desktop.Windows[P].Rect = kPanel;
  desktop.Windows[A].Rect = {400, 100, 600, 200};
  TMagnetic magnetic(desktop);
  TSubClass_Proc proc = nullptr;
  EXPECT_TRUE(magnetic.AddWindow(P, 0, proc));
  EXPECT_EQ(proc, &TMagnetic::SubClassProc);

  EXPECT_FALSE(magnetic.AddWindow(P, 0, proc)) << "registered twice";
  EXPECT_EQ(proc, nullptr);
  EXPECT_FALSE(magnetic.AddWindow(99, 0, proc)) << "not a window";
  EXPECT_FALSE(magnetic.AddWindow(A, 99, proc)) << "parent not a window";
  EXPECT_EQ(magnetic.WindowCount(), 1);

  EXPECT_TRUE(magnetic.AddWindow(A, A, proc));
  EXPECT_EQ(magnetic.WindowInfo(A)->hWndParent, 0u) << "its own parent";
}

TEST(Magnetic, MessagesThatRecomputeTheGlue) {
  const struct {
    const char* Name;
    uint32_t Message;
    uintptr_t WParam;
    uint32_t Flags;
    bool Rechecks;
  } cases[] = {
      {"shown", QD_WM_WINDOWPOSCHANGED, 0, QD_SWP_SHOWWINDOW, true},
      {"hidden", QD_WM_WINDOWPOSCHANGED, 0, QD_SWP_HIDEWINDOW, true},
      {"moved by a program", QD_WM_WINDOWPOSCHANGED, 0, 0, false},
      {"a command", QD_WM_COMMAND, 0, 0, true},
      {"end of a move", QD_WM_EXITSIZEMOVE, 0, 0, true},
      {"start of a move", QD_WM_ENTERSIZEMOVE, 0, 0, false},
      {"minimised", QD_WM_SYSCOMMAND, QD_SC_MINIMIZE, 0, true},
      {"restored by a caption double click", QD_WM_SYSCOMMAND, QD_SC_RESTORE + 2, 0, true},
      {"system menu move", QD_WM_SYSCOMMAND, 0xF010, 0, false},
  };
  for (const auto& c : cases) {
    TFakeDesktop desktop;
    TMagnetic magnetic(desktop);
    Register(magnetic, desktop, {{P, kPanel}, {A, {500, 100, 700, 200}, P}});
    desktop.Windows[A].Rect = {400, 100, 600, 200};  // now touching, unnoticed so far
    TQD_MagneticMessage msg;
    msg.WParam = c.WParam;
    msg.WindowPosFlags = c.Flags;
    EXPECT_FALSE(Send(P, c.Message, msg)) << c.Name;
    EXPECT_EQ(Glued(magnetic, A), c.Rechecks) << c.Name;
  }
}

TEST(Magnetic, CallbackHandlesMovesOfRegisteredWindowsWhileItExists) {
  TFakeDesktop desktop;
  TSubClass_Proc proc = nullptr;
  TQD_MagneticMessage msg;
  bool handled = true;
  {
    TMagnetic magnetic(desktop);
    desktop.Windows[A].Rect = {300, 300, 500, 400};
    ASSERT_TRUE(magnetic.AddWindow(A, 0, proc));
    EXPECT_TRUE(proc(99, QD_WM_MOVING, msg, handled));
    EXPECT_FALSE(handled) << "not registered";
  }
  EXPECT_FALSE(proc(A, QD_WM_MOVING, msg, handled)) << "manager gone";
  EXPECT_FALSE(handled);
}
