// The general settings dialog; see general_settings_win32.h.
#include "app/general_settings_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "readings/child_controls_win32.h"

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
  CreateMetricsGroup();
  CreateButtons();
  FormCreate();
}

void TGeneral_Settings::CreateMetricsGroup() {
  const HWND page = Page(0).Handle();
  const auto add = [&](const wchar_t* AClass, const char* AText, DWORD AStyle, int AID, DWORD AExStyle = 0) {
    return CreateChildControl(page, AClass, Utf8ToWide(AText), WS_VISIBLE | AStyle, AExStyle, AID, Font());
  };
  FMetricsGroup = add(WC_BUTTONW, QD_MetricsGroupCaption, BS_GROUPBOX, mcGroup);
  FMetricsEnabled = add(WC_BUTTONW, QD_MetricsEnabledCaption, WS_TABSTOP | BS_AUTOCHECKBOX, mcEnabled);
  FMetricsPortLabel = add(WC_STATICW, QD_MetricsPortCaption, SS_LEFT | SS_CENTERIMAGE, mcPortLabel);
  FMetricsPort = add(WC_EDITW, "", WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, mcPort, WS_EX_CLIENTEDGE);
  SendMessageW(FMetricsPort, EM_LIMITTEXT, 5, 0);
  FMetricsAllInterfaces = add(WC_BUTTONW, QD_MetricsAllInterfacesCaption, WS_TABSTOP | BS_AUTOCHECKBOX, mcAllInterfaces);
  FMetricsHint = add(WC_STATICW, QD_MetricsAllInterfacesHint, SS_LEFT, mcHint);
  FMetricsAddress = add(WC_STATICW, "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, mcAddress);
}

void TGeneral_Settings::FormCreate() {
  FModel.Fill(FForm.Settings(), FForm.AutostartRegistered());
  FView.Show();
  FMetrics = TQD_MetricsSettingsGroup::FromSettings(FForm.Settings());
  SendMessageW(FMetricsEnabled, BM_SETCHECK, FMetrics.Enabled ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(FMetricsAllInterfaces, BM_SETCHECK, FMetrics.AllInterfaces ? BST_CHECKED : BST_UNCHECKED, 0);
  SetControlText(FMetricsPort, FMetrics.PortText);
  ShowMetrics();
}

// Which controls may change, and the address the values give.
void TGeneral_Settings::ShowMetrics() {
  EnableWindow(FMetricsPort, FMetrics.PortEditable());
  EnableWindow(FMetricsPortLabel, FMetrics.PortEditable());
  EnableWindow(FMetricsAllInterfaces, FMetrics.AllInterfacesEditable());
  SetControlText(FMetricsAddress, FMetrics.Address());
}

bool TGeneral_Settings::HandleCommand(int AID, int ACode, HWND) {
  switch (AID) {
    case mcEnabled:
    case mcAllInterfaces:
      if (ACode != BN_CLICKED) return false;
      FMetrics.Enabled = SendMessageW(FMetricsEnabled, BM_GETCHECK, 0, 0) == BST_CHECKED;
      FMetrics.AllInterfaces = SendMessageW(FMetricsAllInterfaces, BM_GETCHECK, 0, 0) == BST_CHECKED;
      ShowMetrics();
      return true;
    case mcPort:
      if (ACode != EN_CHANGE) return false;
      FMetrics.PortText = GetControlText(FMetricsPort);
      ShowMetrics();
      return true;
    case sfOK:
    case sfApply: {
      // A port that cannot be served keeps the dialog open, nothing applied.
      if (ACode != BN_CLICKED) return false;
      const std::string problem = FMetrics.Validate();
      if (problem.empty()) return false;
      MessageBoxW(Handle(), Utf8ToWide(problem).c_str(), QD_GeneralSettingsCaption, MB_OK | MB_ICONWARNING);
      SetFocus(FMetricsPort);
      SendMessageW(FMetricsPort, EM_SETSEL, 0, -1);
      return true;
    }
    default: return false;
  }
}

void TGeneral_Settings::ApplyButtonClick() {
  FView.Read();
  FModel.Apply(FForm.Settings());
  FMetrics.ApplyTo(FForm.Settings());
  FForm.ApplySettings();
}

void TGeneral_Settings::LayoutControls() {
  TQD_SettingsDialogFrame::LayoutControls();
  FView.Layout(DPI());
  // The third column, as the page lays out its own groups.
  const auto s = [this](int A) { return ::ScaleToDPI(A, DPI()); };
  RECT r{};
  GetClientRect(Page(0).Handle(), &r);
  const int columns = std::max(1, FModel.Page().Columns);
  const int m = s(8), colW = (r.right - m) / columns, ctlH = s(22), rowH = s(26);
  const int left = m + (columns - 1) * colW, width = colW - m, inLeft = left + s(10), inWidth = width - s(20);
  const auto place = [](HWND AControl, int X, int Y, int W, int H) {
    SetWindowPos(AControl, nullptr, X, Y, W, H, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  int y = m + s(20);
  place(FMetricsEnabled, inLeft, y, inWidth, ctlH);
  y += rowH;
  place(FMetricsPortLabel, inLeft, y, inWidth - s(60), ctlH);
  place(FMetricsPort, inLeft + inWidth - s(60), y, s(60), ctlH);
  y += rowH;
  place(FMetricsAllInterfaces, inLeft, y, inWidth, ctlH);
  y += rowH;
  place(FMetricsHint, inLeft + s(16), y, inWidth - s(16), s(42));
  y += s(46);
  place(FMetricsAddress, inLeft, y, inWidth, ctlH);
  y += rowH;
  place(FMetricsGroup, left, m, width, y + s(4) - m);
}

bool ShowGeneralSettingsDialog(HWND AOwner, TQD_MainForm& AForm) {
  TGeneral_Settings dialog(AOwner, AForm);
  return dialog.ShowModal();
}
