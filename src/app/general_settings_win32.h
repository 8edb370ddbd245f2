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
#include "metrics/metrics_settings_group.h"

inline constexpr wchar_t QD_GeneralSettingsCaption[] = L"Quendal - General settings";

// The metrics endpoint group's controls, for tests and automation.
enum TQD_MetricsControlID : int {
  mcGroup = 1600,
  mcEnabled,
  mcPort,
  mcAllInterfaces,
  mcHint,
  mcAddress,
  mcPortLabel,
};

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
  bool HandleCommand(int AID, int ACode, HWND AControl) override;

 private:
  // The controls from the settings.
  void FormCreate();
  // The metrics group in the page's free third column.
  void CreateMetricsGroup();
  void ShowMetrics();

  TQD_MainForm& FForm;
  TQD_SettingsPageModel FModel{GeneralSettingsPage()};
  TQD_SettingsPageView FView;
  TQD_MetricsSettingsGroup FMetrics;
  HWND FMetricsGroup = nullptr, FMetricsEnabled = nullptr, FMetricsPortLabel = nullptr, FMetricsPort = nullptr,
       FMetricsAllInterfaces = nullptr, FMetricsHint = nullptr, FMetricsAddress = nullptr;
};

// True when the user left with "OK".
bool ShowGeneralSettingsDialog(HWND AOwner, TQD_MainForm& AForm);
