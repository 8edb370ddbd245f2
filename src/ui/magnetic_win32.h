// Window snapping on Windows: the windows port over the real desktop, and the
// hooks that bring a window's messages to the snapping manager.
//
// The hooks are TQD_Window message hooks, not a replaced window procedure or
// a comctl32 subclass: nothing here takes a slot or a procedure pointer
// someone else might rely on, and no message pays a property lookup (a
// request to the server under Wine, for every message of these windows). A
// hook ends at WM_NCDESTROY, so it never outlives its window. Only windows of
// this toolkit (the control panel, the monitor windows) can be hooked.
//
// Order of a hooked window's messages: WM_SIZING and WM_MOVING reach the
// manager first, and the window's own procedure only when the manager leaves
// them unhandled; WM_COMMAND, WM_SYSCOMMAND, WM_ENTERSIZEMOVE and
// WM_EXITSIZEMOVE (and for monitor windows WM_WINDOWPOSCHANGED) reach it after
// the window's own procedure; WM_DESTROY removes the window from it first.
#pragma once

#include <windows.h>

#include "ui/magnetic.h"

class TQD_WindowsPortWin32 final : public TQD_WindowsPort {
 public:
  bool IsWindow(TQD_WindowId AWindow) const override;
  bool IsWindowVisible(TQD_WindowId AWindow) const override;
  bool IsZoomed(TQD_WindowId AWindow) const override;
  TRect WindowRect(TQD_WindowId AWindow) const override;
  TQD_Point CursorPos() const override;
  // MonitorFromRect + GetMonitorInfo: a window snaps to the edges of the
  // screen it is on, not only to the primary one's.
  TRect WorkArea(const TRect& ARect) const override;
  // One BeginDeferWindowPos batch, so the windows move together.
  void MoveWindows(const std::vector<TQD_WindowMove>& AMoves) override;
};

inline TQD_WindowId ToWindowId(HWND AWindow) { return reinterpret_cast<TQD_WindowId>(AWindow); }
inline HWND ToHWND(TQD_WindowId AWindow) { return reinterpret_cast<HWND>(AWindow); }

// The snapping manager with its port: one per process, owned by the control
// panel for its whole life.
class TQD_MagneticWin32 {
 public:
  TQD_MagneticWin32() = default;
  TQD_MagneticWin32(const TQD_MagneticWin32&) = delete;
  TQD_MagneticWin32& operator=(const TQD_MagneticWin32&) = delete;

  TMagnetic& Magnetic() { return FMagnetic; }
  // The control panel: its messages reach the manager from now on, and it
  // registers itself, without a parent, when it is shown.
  bool HookControlPanel(HWND AWindow);

 private:
  TQD_WindowsPortWin32 FPort;
  TMagnetic FMagnetic{FPort};
};

// Registers AWindow with the snapping manager, glued to AParent while it
// touches it, and hooks its messages. False when there is no manager or it
// refuses the window (already registered, not a window), or AWindow is no
// window of this toolkit.
bool MakeWindowMagnetic(HWND AWindow, HWND AParent);
