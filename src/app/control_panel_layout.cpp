// The control panel's controls and their layout; see control_panel_layout.h.
#include "app/control_panel_layout.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/dpi.h"

namespace {

constexpr TColor32 kRenderTimeColor = 0xFFDDECF0;
constexpr TColor32 kStatusPanel2Color = 0xFFE0E0E0;
constexpr TColor32 kStatusPanel3Color = 0xFFD6E6D6;

// Row boundaries in tenths of a per cent of the client height.
constexpr std::array<int, 9> kRowEdges{0, 135, 270, 405, 540, 675, 810, 945, 1000};
constexpr int kColumns = 6;

// Margin around every control, and the room a group's caption takes (at 96 DPI).
constexpr int kMargin = 3;
constexpr int kGroupCaption = 14;
constexpr int kGroupPadding = 8;
constexpr int kToggleWidth = 52;
constexpr int kToggleHeight = 24;
constexpr int kRenderTimeHeight = 22;

struct TNames {
  std::array<std::string, kMonitorKindCount> Toggle, RenderTime;
  TNames() {
    for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors) {
      Toggle[static_cast<size_t>(d.Kind)] = std::string(d.Name) + "_ToggleSwitch";
      RenderTime[static_cast<size_t>(d.Kind)] = std::string(d.Name) + "_RenderTime";
    }
  }
};

const TNames& Names() {
  static const TNames names;
  return names;
}

std::vector<TQD_PanelControl> BuildControls() {
  using T = TQD_PanelControlType;
  std::vector<TQD_PanelControl> c;
  for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors) {
    const int row = static_cast<int>(d.Kind) + 1;
    c.push_back({T::Group, d.Name, d.Caption, row, 1, 2});
    c.push_back({T::ToggleSwitch, ToggleSwitchName(d.Kind), d.Caption, row, 1, 2});
    c.push_back({T::RenderTime, RenderTimeName(d.Kind), "Disabled", row, 1, 2, kRenderTimeColor});
    if (d.SettingsAction) c.push_back({T::Button, d.SettingsAction, d.SettingsCaption, row, 3, 2});
    c.push_back({T::Button, d.ResetSizeAction, "Reset size", row, 5, 1});
    c.push_back({T::Button, d.ResetPosAction, "Reset position", row, 6, 1});
  }
  c.push_back({T::Group, "SharedMemoryViewer", "Shared Memory Viewer", 6, 1, 2});
  c.push_back({T::ToggleSwitch, "SharedMemoryViewer_ToggleSwitch", "Shared Memory Viewer", 6, 1, 2});
  c.push_back({T::Button, "OpenColorSettings", "Color configuration", 6, 3, 2});
  c.push_back({T::Button, "OpenAboutScreen", "About", 6, 5, 2});
  c.push_back({T::Button, "HideControlPanel", "Hide control panel", 7, 1, 2});
  c.push_back({T::Button, "OpenGeneralSettings", "General settings", 7, 3, 2});
  c.push_back({T::Button, "ExitApp", "Exit", 7, 5, 2});
  c.push_back({T::StatusPanel, "StatusPanel1", "-", 8, 1, 2, kRenderTimeColor});
  c.push_back({T::StatusPanel, "StatusPanel2", "-", 8, 3, 2, kStatusPanel2Color});
  c.push_back({T::StatusPanel, "StatusPanel3", "-", 8, 5, 2, kStatusPanel3Color});
  return c;
}

// A box of height AHeight (at most ABox's) centred vertically in ABox.
TRect CentreVertically(TRect ABox, int AHeight) {
  AHeight = std::min(AHeight, ABox.Height());
  const int top = ABox.Top + (ABox.Height() - AHeight) / 2;
  return {ABox.Left, top, ABox.Right, top + AHeight};
}

}  // namespace

const char* ToggleSwitchName(TQD_MonitorKind AKind) { return Names().Toggle[static_cast<size_t>(AKind)].c_str(); }
const char* RenderTimeName(TQD_MonitorKind AKind) { return Names().RenderTime[static_cast<size_t>(AKind)].c_str(); }

const std::vector<TQD_PanelControl>& ControlPanelControls() {
  static const std::vector<TQD_PanelControl> controls = BuildControls();
  return controls;
}

std::vector<TRect> ControlPanelLayout(int AWidth, int AHeight, int ADPI) {
  const auto s = [ADPI](int AValue) { return ScaleToDPI(AValue, ADPI); };
  const int margin = s(kMargin);
  std::vector<TRect> out;
  out.reserve(ControlPanelControls().size());
  for (const TQD_PanelControl& c : ControlPanelControls()) {
    // Cell edges are rounded positions, so neighbours share them exactly and
    // the last column and row end at the client edge.
    const TRect cell{QD_MulDiv(c.Column - 1, AWidth, kColumns), QD_MulDiv(AHeight, kRowEdges[c.Row - 1], 1000),
                     QD_MulDiv(c.Column - 1 + c.Span, AWidth, kColumns), QD_MulDiv(AHeight, kRowEdges[c.Row], 1000)};
    const TRect box{cell.Left + margin, cell.Top + margin, cell.Right - margin, cell.Bottom - margin};
    if (c.Type != TQD_PanelControlType::ToggleSwitch && c.Type != TQD_PanelControlType::RenderTime) {
      out.push_back(box);
      continue;
    }
    // Inside the group: the switch on the left, the render time filling the rest.
    const int pad = s(kGroupPadding);
    const TRect inner{box.Left + pad, box.Top + s(kGroupCaption), box.Right - pad, box.Bottom - pad / 2};
    const int toggleRight = std::min(inner.Right, inner.Left + s(kToggleWidth));
    if (c.Type == TQD_PanelControlType::ToggleSwitch)
      out.push_back(CentreVertically({inner.Left, inner.Top, toggleRight, inner.Bottom}, s(kToggleHeight)));
    else
      out.push_back(CentreVertically({std::min(inner.Right, toggleRight + pad), inner.Top, inner.Right, inner.Bottom},
                                     s(kRenderTimeHeight)));
  }
  return out;
}
