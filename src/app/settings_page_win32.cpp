// A settings page's controls; see settings_page_win32.h.
#include "app/settings_page_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "readings/child_controls_win32.h"

namespace {

constexpr int kGroupIDBase = 1300;
constexpr int kLabelIDBase = 1400;
constexpr int kSuffixIDBase = 1500;

// AText's width in the font AControl shows now: after a DPI change that is
// a new font, the one the page was created with is gone.
int TextWidth(HWND AControl, const std::wstring& AText) {
  TQD_WindowDC dc = QD_GetWindowDC(AControl);
  if (!dc) return 0;
  TQD_SelectObjectScope font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(AControl, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), AText.c_str(), static_cast<int>(AText.size()), &size);
  return size.cx;
}

}  // namespace

TQD_SettingsPageView::TQD_SettingsPageView(HWND APage, HFONT AFont, TQD_SettingsPageModel& AModel)
    : FPage(APage), FModel(AModel) {
  const TQD_SettingsPage& page = AModel.Page();
  // Groups first and at the bottom of the z-order: their frames lie under the controls.
  for (size_t g = 0; g < page.Groups.size(); ++g)
    FGroups.push_back(CreateChildControl(APage, WC_BUTTONW, Utf8ToWide(std::string(page.Groups[g].Caption)),
                                         WS_VISIBLE | BS_GROUPBOX, 0, kGroupIDBase + static_cast<int>(g), AFont));
  // Controls in display order (group by group) so Tab walks down each group.
  FFields.resize(page.Fields.size());
  for (const TQD_SettingsGroup& group : page.Groups) {
    for (size_t i = 0; i < page.Fields.size(); ++i) {
      const TQD_SettingsField& f = page.Fields[i];
      if (f.Group != group.Caption) continue;
      TFieldControls& c = FFields[i];
      const int id = SettingsFieldControlID(static_cast<int>(i));
      const std::wstring caption = Utf8ToWide(std::string(f.Caption));
      switch (f.Kind) {
        case TQD_FieldKind::CheckBox:
          c.Control = CreateChildControl(APage, WC_BUTTONW, caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, id,
                                         AFont);
          break;
        case TQD_FieldKind::NumberEdit:
        case TQD_FieldKind::ComboBox: {
          // The label goes first: automation names the control after it.
          if (!caption.empty())
            c.Label = CreateChildControl(APage, WC_STATICW, caption, WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0,
                                         kLabelIDBase + static_cast<int>(i), AFont);
          if (f.Kind == TQD_FieldKind::NumberEdit) {
            c.Control = CreateChildControl(APage, WC_EDITW, L"", WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL,
                                           WS_EX_CLIENTEDGE, id, AFont);
          } else {
            c.Control = CreateChildControl(APage, WC_COMBOBOXW, L"",
                                           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, id, AFont);
            for (const std::string& item : AModel.Items(i))
              SendMessageW(c.Control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
          }
          if (!f.Suffix.empty())
            c.Suffix = CreateChildControl(APage, WC_STATICW, Utf8ToWide(std::string(f.Suffix)),
                                          WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, kSuffixIDBase + static_cast<int>(i),
                                          AFont);
          break;
        }
      }
    }
  }
}

HWND TQD_SettingsPageView::Control(std::string_view AControlName) const {
  const int i = FModel.FieldIndex(AControlName);
  return i < 0 ? nullptr : FFields[static_cast<size_t>(i)].Control;
}

void TQD_SettingsPageView::Show() {
  const std::vector<TQD_FieldState>& states = FModel.States();
  for (size_t i = 0; i < FFields.size(); ++i) {
    const HWND c = FFields[i].Control;
    switch (FModel.Page().Fields[i].Kind) {
      case TQD_FieldKind::CheckBox:
        SendMessageW(c, BM_SETCHECK, states[i].Checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case TQD_FieldKind::NumberEdit: SetControlText(c, states[i].Text); break;
      case TQD_FieldKind::ComboBox: SendMessageW(c, CB_SETCURSEL, static_cast<WPARAM>(states[i].ItemIndex), 0); break;
    }
  }
}

void TQD_SettingsPageView::Read() {
  std::vector<TQD_FieldState>& states = FModel.States();
  for (size_t i = 0; i < FFields.size(); ++i) {
    const HWND c = FFields[i].Control;
    switch (FModel.Page().Fields[i].Kind) {
      case TQD_FieldKind::CheckBox: states[i].Checked = SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED; break;
      case TQD_FieldKind::NumberEdit: states[i].Text = GetControlText(c); break;
      case TQD_FieldKind::ComboBox: states[i].ItemIndex = static_cast<int>(SendMessageW(c, CB_GETCURSEL, 0, 0)); break;
    }
  }
}

void TQD_SettingsPageView::Layout(int ADPI) {
  auto s = [ADPI](int A) { return ScaleToDPI(A, ADPI); };
  RECT r{};
  GetClientRect(FPage, &r);
  const TQD_SettingsPage& page = FModel.Page();
  const int columns = std::max(1, page.Columns);
  const int m = s(8), colW = (r.right - m) / columns, rowH = s(26), ctlH = s(22);
  std::vector<int> columnTop(static_cast<size_t>(columns), m);
  for (size_t g = 0; g < page.Groups.size(); ++g) {
    const TQD_SettingsGroup& group = page.Groups[g];
    const int col = std::clamp(group.Column, 0, columns - 1);
    const int left = m + col * colW, width = colW - m;
    const int inLeft = left + s(10), inWidth = width - s(20);
    int y = columnTop[static_cast<size_t>(col)] + s(20);
    for (size_t i = 0; i < page.Fields.size(); ++i) {
      const TQD_SettingsField& f = page.Fields[i];
      if (f.Group != group.Caption) continue;
      const TFieldControls& c = FFields[i];
      if (f.Kind == TQD_FieldKind::CheckBox) {
        SetWindowPos(c.Control, nullptr, inLeft, y, inWidth, ctlH, SWP_NOZORDER | SWP_NOACTIVATE);
        y += rowH;
        continue;
      }
      // The control's width: an edit holds a few digits; a list its longest item.
      int controlW = s(60);
      if (f.Kind == TQD_FieldKind::ComboBox) {
        controlW = s(60);
        for (const std::string& item : FModel.Items(i))
          controlW = std::max(controlW, TextWidth(c.Control, Utf8ToWide(item)) + s(32));
        if (!c.Label) controlW = inWidth;
      }
      const int suffixW = c.Suffix ? TextWidth(c.Suffix, Utf8ToWide(std::string(f.Suffix))) + s(6) : 0;
      controlW = std::min(controlW, inWidth - suffixW);
      const int labelW = c.Label ? TextWidth(c.Label, Utf8ToWide(std::string(f.Caption))) + s(8) : 0;
      if (c.Label && labelW + controlW + suffixW > inWidth) {
        // Too long for one row: the label above its control.
        SetWindowPos(c.Label, nullptr, inLeft, y, inWidth, ctlH, SWP_NOZORDER | SWP_NOACTIVATE);
        y += s(20);
      } else if (c.Label) {
        SetWindowPos(c.Label, nullptr, inLeft, y, inWidth - controlW - suffixW, ctlH, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      const int controlLeft = inLeft + inWidth - controlW - suffixW;
      // A drop-down list's height includes its open list.
      const int height = f.Kind == TQD_FieldKind::ComboBox ? s(300) : ctlH;
      SetWindowPos(c.Control, nullptr, controlLeft, y, controlW, height, SWP_NOZORDER | SWP_NOACTIVATE);
      if (c.Suffix)
        SetWindowPos(c.Suffix, nullptr, controlLeft + controlW + s(6), y, suffixW - s(6), ctlH,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      y += rowH;
    }
    const int bottom = y + s(4);
    SetWindowPos(FGroups[g], nullptr, left, columnTop[static_cast<size_t>(col)], width,
                 bottom - columnTop[static_cast<size_t>(col)], SWP_NOZORDER | SWP_NOACTIVATE);
    columnTop[static_cast<size_t>(col)] = bottom + m;
  }
}
