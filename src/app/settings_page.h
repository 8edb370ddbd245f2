// The "General" pages of the settings dialogs as data: each page is a table of
// fields (control name, group, caption, kind, the setting it edits and the
// rule by which the control's state goes back into it), listed in the order
// the page applies them. The Win32 page builds its controls from the table and
// only moves control states in and out; filling, validation and the apply
// order live here, so they are tested without windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings.h"

enum class TQD_FieldKind { CheckBox, NumberEdit, ComboBox };

// How a control's state is written back into its setting.
enum class TQD_ApplyRule {
  Ticked,       // check box: setting = ticked
  ItemIndex,    // combo box: setting = item index (nothing selected: unchanged)
  ItemText,     // combo box: setting = the selected item's text
  ItemInteger,  // combo box: setting = the selected item read as an integer
  Bounded,      // edit: taken when an integer within the option's Min..Max
  Clamped,      // edit: any integer, clamped to ClampMin..ClampMax
  AtLeastMin,   // edit: taken when an integer of at least the option's Min
};

struct TQD_SettingsField {
  std::string_view ControlName;  // "HWiNFOPollingIntervalEdit", for tests and automation
  std::string_view Group;        // the group box it sits in
  std::string_view Caption;      // check box text, or the label before the control
  std::string_view Suffix;       // label after the control ("ms"), may be empty
  TQD_FieldKind Kind;
  TQD_ApplyRule Rule;
  TQD_OptionBoolean TQD_Settings::*Bool = nullptr;
  TQD_OptionInteger TQD_Settings::*Int = nullptr;
  TQD_OptionString TQD_Settings::*Str = nullptr;
  std::vector<std::string> Items;  // fixed combo items; font and size lists are filled at run time
  int32_t ClampMin = 0;
  int32_t ClampMax = 0;
  // Shown from whether the autostart entry exists now, not from the setting.
  bool ShownFromAutostart = false;
};

struct TQD_SettingsGroup {
  std::string_view Caption;
  int Column;  // 0-based; groups stack top-down in a column
};

struct TQD_SettingsPage {
  int Columns = 2;                        // of the page's width
  std::vector<TQD_SettingsGroup> Groups;  // display order
  std::vector<TQD_SettingsField> Fields;  // apply order
};

// What a control shows: Checked for a check box, Text for an edit, ItemIndex
// (-1 = nothing selected) for a combo box.
struct TQD_FieldState {
  bool Checked = false;
  std::string Text;
  int ItemIndex = -1;
};

// StrToInt-like: optional sign and decimal digits, within 32 bits.
bool TryParseInteger(std::string_view AText, int32_t& AValue);

// The four pages.
const TQD_SettingsPage& GeneralSettingsPage();
const TQD_SettingsPage& CPUMonitorSettingsPage();
const TQD_SettingsPage& GPUMonitorSettingsPage();
const TQD_SettingsPage& DriveMonitorSettingsPage();
const TQD_SettingsPage& NetworkMonitorSettingsPage();

// The network unit list: "Kilobit (1 kb = 1000 Bits)" and so on, one per display-unit group.
std::vector<std::string> NetworkDisplayUnitItems();
// "4" to "72".
std::vector<std::string> FontSizeItems();

// One page's controls and the settings behind them.
class TQD_SettingsPageModel {
 public:
  explicit TQD_SettingsPageModel(const TQD_SettingsPage& APage);

  // The installed screen fonts, for the font name list; call before Fill.
  void SetFontNames(std::vector<std::string> ANames) { FFontNames = std::move(ANames); }
  // The items of a combo box field (fixed, fonts or sizes).
  const std::vector<std::string>& Items(size_t AField) const;

  // Every control from the settings (AAutostartRegistered for the start check box).
  void Fill(const TQD_Settings& ASettings, bool AAutostartRegistered);
  // Every control back into the settings, in table order, each by its rule.
  void Apply(TQD_Settings& ASettings) const;

  const TQD_SettingsPage& Page() const { return FPage; }
  std::vector<TQD_FieldState>& States() { return FStates; }
  const std::vector<TQD_FieldState>& States() const { return FStates; }
  // The field of a control name, or -1.
  int FieldIndex(std::string_view AControlName) const;
  TQD_FieldState& State(std::string_view AControlName);

 private:
  const TQD_SettingsPage& FPage;
  std::vector<std::string> FFontNames;
  std::vector<std::string> FFontSizes;
  std::vector<TQD_FieldState> FStates;
};
