// A settings page's controls, built from its field table on a page window:
// one group box per group, stacked in the page's columns; in each group a
// check box, or a label with an edit (digits only) or a drop-down list per
// field, in table order. It moves the model's states into the controls (Show)
// and back (Read); the model does the rest.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "app/settings_page.h"

// The control of field i has this ID.
constexpr int SettingsFieldControlID(int AField) { return 1100 + AField; }

class TQD_SettingsPageView {
 public:
  TQD_SettingsPageView(HWND APage, HFONT AFont, TQD_SettingsPageModel& AModel);

  void Show();
  void Read();
  // Places the groups and controls in the page's client area at ADPI.
  void Layout(int ADPI);
  HWND Control(std::string_view AControlName) const;

 private:
  struct TFieldControls {
    HWND Label = nullptr;
    HWND Control = nullptr;
    HWND Suffix = nullptr;
  };
  HWND FPage;
  TQD_SettingsPageModel& FModel;
  std::vector<HWND> FGroups;  // as Page().Groups
  std::vector<TFieldControls> FFields;
};
