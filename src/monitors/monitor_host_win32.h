// The Win32 window of a monitor: a borderless, edge-resizable popup owned by
// the control panel, hosting one TQD_MonitorWindow. Its paint draws the widgets
// that changed (or were uncovered) and copies them to the screen, drags the window by any part of its content, opens the context
// menu on a right click and swallows background erasing (the widgets cover
// every pixel).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "base/win32_handles_win32.h"
#include "monitors/monitor_window.h"
#include "ui/window_win32.h"

class TQD_PopupMenu;

class TQD_MonitorHostWin32 final : public TQD_Window, public TQD_MonitorHost {
 public:
  // Creates the (hidden) window, owned by AOwner.
  TQD_MonitorHostWin32(TQD_MonitorKind AKind, HWND AOwner);
  ~TQD_MonitorHostWin32() override;

  // The monitor this window shows; set once, before the window is shown.
  void Attach(TQD_MonitorWindow* AMonitor);
  // Shows the window once the messages already queued are handled: after
  // the population that follows creation has sized and placed it.
  void ShowWhenPopulated();
  // Snaps to the other windows and the screen edges while dragged or
  // resized, and is glued to AParent while it touches it. False when the
  // snapping manager does not take the window.
  bool MakeMagnetic(HWND AParent);

  // TQD_MonitorHost
  int DPI() const override { return TQD_Window::DPI(); }
  void GetClientSize(int& AWidth, int& AHeight) const override;
  void SetClientSize(int AWidth, int AHeight) override;
  void SetMinClientSize(int AWidth, int AHeight) override;
  void GetPosition(int& ALeft, int& ATop) const override;
  void SetPosition(int ALeft, int ATop) override;
  void GetPrimaryScreenSize(int& AWidth, int& AHeight) const override;
  std::vector<TQD_ScreenRect> MonitorWorkAreas() const override;
  void WindowSizeForClient(int AClientWidth, int AClientHeight, int& AWidth, int& AHeight) const override;
  void SetCornerPreference(int APreference) override;
  void InvalidateWidgets() override;

 protected:
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;
  void DpiChanging(int AOldDPI, int ANewDPI) override;
  void DpiChanged(int AOldDPI, int ANewDPI) override;

 private:
  void Paint();
  DWORD Style() const;
  DWORD ExStyle() const;

  TQD_MonitorWindow* FMonitor = nullptr;
  int FMinClientWidth = 0;
  int FMinClientHeight = 0;
  std::vector<TQD_Widget*> FDirty;  // reused by every invalidation
  // The dirty cells gathered into one region, so a refresh costs one
  // invalidation (a server round trip under Wine) instead of one per cell;
  // both kept for the window's life rather than created per refresh.
  TQD_RegionHandle FDirtyRegion;
  TQD_RegionHandle FCellRegion;
};
