// The control panel's controls and where they go. The window is a grid of 6
// equal columns and 8 rows (rows 1 to 7 take 13.5 % of the client height
// each, row 8 the last 5.5 %); each control fills its cells less a margin,
// and a monitor's group holds its toggle switch and render-time panel side
// by side. The Win32 window creates one child window per entry of
// ControlPanelControls() and moves them to ControlPanelLayout()'s rectangles
// on every size or DPI change; the arithmetic lives here to be tested.
#pragma once

#include <cstdint>
#include <vector>

#include "render/bitmap32.h"
#include "monitors/monitor_kind.h"

enum class TQD_PanelControlType : uint8_t { Group, ToggleSwitch, RenderTime, Button, StatusPanel };

struct TQD_PanelControl {
  TQD_PanelControlType Type;
  // The control's name ("CPUMonitor_ToggleSwitch", "StatusPanel3"); for a
  // button the name of its action.
  const char* Name;
  // Group caption, button caption or the panel's initial text.
  const char* Text;
  int Row, Column, Span;  // 1-based, as the grid is written down
  // Background of panels (AARRGGBB).
  TColor32 Color = 0;
};

// The minimum client size at 96 DPI.
inline constexpr int QD_ControlPanelMinWidth = 700;
inline constexpr int QD_ControlPanelMinHeight = 450;

// Every control, groups before what they contain, in tab order.
const std::vector<TQD_PanelControl>& ControlPanelControls();

// Rectangles for ControlPanelControls() (same index) in a client area of
// AWidth × AHeight pixels at ADPI.
std::vector<TRect> ControlPanelLayout(int AWidth, int AHeight, int ADPI);

// The toggle switch and render-time panel of a monitor kind; for the shared
// memory viewer (whose window comes later) the toggle switch name stands alone.
const char* ToggleSwitchName(TQD_MonitorKind AKind);
const char* RenderTimeName(TQD_MonitorKind AKind);
