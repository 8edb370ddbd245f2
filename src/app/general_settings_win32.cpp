// The general settings dialog; see general_settings_win32.h.
#include "app/general_settings_win32.h"

#include <algorithm>
#include <cwctype>

#include "base/win32_handles_win32.h"

std::vector<std::string> InstalledScreenFonts() {
  std::vector<std::wstring> names;
  TQD_WindowDC dc = QD_GetWindowDC(nullptr);
  if (!dc) return {};
  LOGFONTW filter{};
  filter.lfCharSet = DEFAULT_CHARSET;  // every family once per character set
  EnumFontFamiliesExW(
      dc.Get(), &filter,
      [](const LOGFONTW* AFont, const TEXTMETRICW*, DWORD, LPARAM AList) -> int {
        if (AFont->lfFaceName[0] != L'@') reinterpret_cast<std::vector<std::wstring>*>(AList)->push_back(AFont->lfFaceName);
        return 1;
      },
      reinterpret_cast<LPARAM>(&names), 0);
  auto lower = [](std::wstring A) {
    for (wchar_t& c : A) c = static_cast<wchar_t>(std::towlower(c));
    return A;
  };
  std::sort(names.begin(), names.end(),
            [&](const std::wstring& A, const std::wstring& B) { return lower(A) == lower(B) ? A < B : lower(A) < lower(B); });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  std::vector<std::string> out;
  for (const std::wstring& n : names) out.push_back(WideToUtf8(n));
  return out;
}

namespace {

TQD_SettingsPageModel& WithFonts(TQD_SettingsPageModel& AModel) {
  AModel.SetFontNames(InstalledScreenFonts());
  return AModel;
}

}  // namespace

TGeneral_Settings::TGeneral_Settings(HWND AOwner, TQD_MainForm& AForm)
    : TQD_SettingsDialogFrame(L"QuendalGeneralSettings", AOwner, QD_GeneralSettingsCaption),
      FForm(AForm),
      FView(AddPage(L"General").Handle(), Font(), WithFonts(FModel)) {
  CreateButtons();
  FormCreate();
}

void TGeneral_Settings::FormCreate() {
  FModel.Fill(FForm.Settings(), FForm.AutostartRegistered());
  FView.Show();
}

void TGeneral_Settings::ApplyButtonClick() {
  FView.Read();
  FModel.Apply(FForm.Settings());
  FForm.ApplySettings();
}

void TGeneral_Settings::LayoutControls() {
  TQD_SettingsDialogFrame::LayoutControls();
  FView.Layout(DPI());
}

bool ShowGeneralSettingsDialog(HWND AOwner, TQD_MainForm& AForm) {
  TGeneral_Settings dialog(AOwner, AForm);
  return dialog.ShowModal();
}
