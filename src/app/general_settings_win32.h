// The general settings dialog, "Quendal - General settings": one tab,
// "General", built from GeneralSettingsPage(); the font list holds the
// installed screen fonts. The control panel opens it with
// ShowGeneralSettingsDialog, which creates it, runs it modally and destroys it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/settings_dialog_frame_win32.h"
#include "app/settings_page_win32.h"

inline constexpr wchar_t QD_GeneralSettingsCaption[] = L"Quendal - General settings";

// Installed font families as EnumFontFamiliesExW lists them, each name once,
// sorted as a user scans a font list; vertical ("@") faces left out.
std::vector<std::string> InstalledScreenFonts();

class TGeneral_Settings final : public TQD_SettingsDialogFrame {
 public:
  TGeneral_Settings(HWND AOwner, TQD_MainForm& AForm);
  TQD_SettingsPageView& View() { return FView; }

 protected:
  void ApplyButtonClick() override;
  void LayoutControls() override;

 private:
  // The controls from the settings.
  void FormCreate();

  TQD_MainForm& FForm;
  TQD_SettingsPageModel FModel{GeneralSettingsPage()};
  TQD_SettingsPageView FView;
};

// True when the user left with "OK".
bool ShowGeneralSettingsDialog(HWND AOwner, TQD_MainForm& AForm);
