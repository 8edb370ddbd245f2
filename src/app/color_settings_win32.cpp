// The colour configuration dialog; see color_settings_win32.h.
#include "app/color_settings_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "base/app_exception.h"
#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "readings/child_controls_win32.h"
#include "settings/file_io.h"
#include "ui/bitmap_blit_win32.h"

namespace {

constexpr int kColumns = 7;
const wchar_t* const kLabels[7] = {L"Hue", L"Saturation", L"Value", L"Red", L"Green", L"Blue", L"Alpha"};
const wchar_t* const kGroups[7] = {L"Colors",    L"Sample",     L"HSV color picker", L"RGBA color picker",
                                   L"Hex color", L"HSV values", L"RGBA values"};

// comdlg32 is loaded the first time a file dialog opens, not at start-up:
// with it come the print spooler and, under Wine, the printing system's
// libraries, several megabytes of memory an idle monitor never uses. Loaded
// once and kept; null when it cannot be had, which reads as a cancelled dialog.
template <typename T>
T CommonDialogFunction(const char* AName) {
  static const HMODULE comdlg32 = LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return comdlg32 ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(comdlg32, AName))) : nullptr;
}

std::string FileDialog(HWND AOwner, bool ASave) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = AOwner;
  ofn.lpstrFilter = L"Plain text file\0*.txt\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"txt";
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (ASave ? 0 : OFN_FILEMUSTEXIST);
  using TFileDialogFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  const TFileDialogFn dialog = CommonDialogFunction<TFileDialogFn>(ASave ? "GetSaveFileNameW" : "GetOpenFileNameW");
  const BOOL chosen = dialog && dialog(&ofn);
  return chosen ? WideToUtf8(file, wcslen(file)) : std::string();
}

}  // namespace

TQD_ColorDialogPrompts SystemColorDialogPrompts(const HWND* AOwner) {
  TQD_ColorDialogPrompts p;
  p.OpenFileName = [AOwner] { return FileDialog(*AOwner, false); };
  p.SaveFileName = [AOwner] { return FileDialog(*AOwner, true); };
  p.FileExists = [](const std::string& APath) {
    const DWORD a = GetFileAttributesW(Utf8ToWide(APath).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  };
  p.Confirm = [AOwner](const std::string& AText) {
    return MessageBoxW(*AOwner, Utf8ToWide(AText).c_str(), L"Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
  };
  return p;
}

TColor_Settings::TColor_Settings(HWND AOwner, TQD_MainForm& AForm, std::optional<TQD_ColorDialogPrompts> APrompts)
    : TQD_SettingsDialogFrame(L"QuendalColorSettings", AOwner, QD_ColorSettingsCaption, 1000, 688), FForm(AForm) {
  FSelf = Handle();
  FModel = std::make_unique<TQD_ColorSettingsModel>(FForm.WorkingColorTable(),
                                                    APrompts ? *APrompts : SystemColorDialogPrompts(&FSelf));
  CreateControls();
  FModel->OnRefreshed = [this] { ShowRefresh(); };
  ShowRefresh();
}

TColor_Settings::~TColor_Settings() {
  FModel->OnRefreshed = nullptr;
  for (HWND edit : FTextEdits)
    if (edit) RemoveWindowSubclass(edit, &EnterSubclassProc, 1);
}

void TColor_Settings::CreateControls() {
  const HWND self = Handle();
  for (size_t g = 0; g < FGroups.size(); ++g)
    FGroups[g] = AddControl(self, WC_BUTTONW, kGroups[g], BS_GROUPBOX, csFirstGroup + static_cast<int>(g));

  FList = AddControl(self, WC_LISTBOXW, L"", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, csColorListBox,
                     WS_EX_CLIENTEDGE);
  for (const std::string& name : FModel->ListItems())
    SendMessageW(FList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
  FSwatch = AddControl(self, WC_STATICW, L"Sample", SS_OWNERDRAW, csColorSwatch);
  FPickerGTK = std::make_unique<TQD_ColorPickerWin32>(self, csColorPickerGTK, L"HSV color picker", FModel->HSVPicker());
  FPickerRGBA =
      std::make_unique<TQD_ColorPickerWin32>(self, csColorPickerRGBA, L"RGBA color picker", FModel->RGBAPicker());

  FTextEdits[0] = AddControl(self, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, csHexColorEdit, WS_EX_CLIENTEDGE);
  for (int i = 0; i < 3; ++i) {
    FLabels[static_cast<size_t>(i)] = AddControl(self, WC_STATICW, kLabels[i], SS_LEFT | SS_CENTERIMAGE, csFirstLabel + i);
    FTextEdits[static_cast<size_t>(i + 1)] =
        AddControl(self, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, csHueEdit + i, WS_EX_CLIENTEDGE);
  }
  for (int c = 0; c < 4; ++c) {
    FLabels[static_cast<size_t>(3 + c)] =
        AddControl(self, WC_STATICW, kLabels[3 + c], SS_LEFT | SS_CENTERIMAGE, csFirstLabel + 3 + c);
    FSpinEdits[static_cast<size_t>(c)] =
        AddControl(self, WC_EDITW, L"", WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, csRedSpinEdit + c, WS_EX_CLIENTEDGE);
    FSpins[static_cast<size_t>(c)] =
        AddControl(self, UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                   csFirstSpin + c);
    SendMessageW(FSpins[static_cast<size_t>(c)], UDM_SETBUDDY, reinterpret_cast<WPARAM>(FSpinEdits[static_cast<size_t>(c)]), 0);
    SendMessageW(FSpins[static_cast<size_t>(c)], UDM_SETRANGE32, 0, 255);
  }
  for (HWND edit : FTextEdits) SetWindowSubclass(edit, &EnterSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));

  const wchar_t* const buttons[4] = {L"Import from file", L"Export to file", L"Reset color", L"Reset all colors"};
  for (int b = 0; b < 4; ++b)
    FFileButtons[static_cast<size_t>(b)] = AddControl(self, WC_BUTTONW, buttons[b], WS_TABSTOP | BS_PUSHBUTTON,
                                                      csImportButton + b);
  CreateButtons();
}

void TColor_Settings::LayoutControls() {
  if (!FList) return;
  auto s = [this](int A) { return Scale(A); };
  RECT r{};
  GetClientRect(Handle(), &r);
  const int m = s(8), colW = r.right / kColumns, buttonRowH = s(40);
  const int top = m, bottom = r.bottom - buttonRowH;
  auto place = [](HWND AWindow, int X, int Y, int W, int H) {
    SetWindowPos(AWindow, nullptr, X, Y, std::max(W, 1), std::max(H, 1), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int caption = s(18), pad = s(10);
  // Columns 1-3: the list, the full height.
  place(FGroups[0], m, top, 3 * colW - m, bottom - top);
  place(FList, m + pad, top + caption, 3 * colW - m - 2 * pad, bottom - top - caption - pad);
  // Columns 4-6: swatch, HSV picker, RGBA picker.
  const int midLeft = 3 * colW + m, midW = 3 * colW - m;
  const int sampleH = s(90), rgbaH = s(190), hsvH = bottom - top - sampleH - rgbaH - 2 * m;
  place(FGroups[1], midLeft, top, midW, sampleH);
  place(FSwatch, midLeft + pad, top + caption, midW - 2 * pad, sampleH - caption - pad);
  const int hsvTop = top + sampleH + m;
  place(FGroups[2], midLeft, hsvTop, midW, hsvH);
  place(FPickerGTK->Handle(), midLeft + pad, hsvTop + caption, midW - 2 * pad, hsvH - caption - pad);
  const int rgbaTop = hsvTop + hsvH + m;
  place(FGroups[3], midLeft, rgbaTop, midW, rgbaH);
  place(FPickerRGBA->Handle(), midLeft + pad, rgbaTop + caption, midW - 2 * pad, rgbaH - caption - pad);
  // Column 7: hex, HSV values, RGBA values.
  const int rightLeft = 6 * colW + m, rightW = r.right - rightLeft - m;
  const int rowH = s(26), ctlH = s(22), labelW = s(56);
  const int inLeft = rightLeft + pad, inW = rightW - 2 * pad;
  place(FGroups[4], rightLeft, top, rightW, caption + rowH + pad);
  place(FTextEdits[0], inLeft, top + caption, inW, ctlH);
  int y = top + caption + rowH + pad + m;
  place(FGroups[5], rightLeft, y, rightW, caption + 3 * rowH + pad);
  for (int i = 0; i < 3; ++i) {
    place(FLabels[static_cast<size_t>(i)], inLeft, y + caption + i * rowH, labelW, ctlH);
    place(FTextEdits[static_cast<size_t>(i + 1)], inLeft + labelW, y + caption + i * rowH, inW - labelW, ctlH);
  }
  y += caption + 3 * rowH + pad + m;
  place(FGroups[6], rightLeft, y, rightW, caption + 4 * rowH + pad);
  for (int c = 0; c < 4; ++c) {
    const int spinW = s(18);
    place(FLabels[static_cast<size_t>(3 + c)], inLeft, y + caption + c * rowH, labelW, ctlH);
    place(FSpinEdits[static_cast<size_t>(c)], inLeft + labelW, y + caption + c * rowH, inW - labelW - spinW, ctlH);
    place(FSpins[static_cast<size_t>(c)], inLeft + inW - spinW, y + caption + c * rowH, spinW, ctlH);
  }
  // The bottom row: seven buttons, one per column.
  std::array<HWND, 7> buttons{FFileButtons[0], FFileButtons[1], FFileButtons[2], FFileButtons[3]};
  for (size_t b = 0; b < FButtons.size() && b < 3; ++b) buttons[4 + b] = FButtons[b];
  for (int b = 0; b < kColumns; ++b)
    if (buttons[static_cast<size_t>(b)])
      place(buttons[static_cast<size_t>(b)], b * colW + m, bottom + s(6), colW - 2 * m + (b == kColumns - 1 ? 0 : m / 2),
            buttonRowH - s(12));
}

void TColor_Settings::ShowRefresh() {
  FShowing = true;
  auto set = [](HWND AControl, const std::string& AText) {
    // Unchanged texts keep their caret and selection.
    if (GetControlText(AControl) != AText) SetControlText(AControl, AText);
  };
  const TQD_ColorSettingsModel& m = *FModel;
  set(FTextEdits[0], m.HexText());
  set(FTextEdits[1], m.HueText());
  set(FTextEdits[2], m.SaturationText());
  set(FTextEdits[3], m.ValueText());
  for (int c = 0; c < 4; ++c) set(FSpinEdits[static_cast<size_t>(c)], m.ChannelText(static_cast<TQD_ColorChannel>(c)));
  InvalidateRect(FSwatch, nullptr, FALSE);
  FPickerGTK->Repaint();
  FPickerRGBA->Repaint();
  FShowing = false;
}

void TColor_Settings::DrawSwatch(const DRAWITEMSTRUCT& AItem) {
  const int w = AItem.rcItem.right - AItem.rcItem.left, h = AItem.rcItem.bottom - AItem.rcItem.top;
  FSwatchBitmap.SetSize(w, h);
  const int square = Scale(8);
  const TColor32 color = FModel->SwatchColor();
  // Over a checkerboard, so transparency shows.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      FSwatchBitmap.SetPixel(x, y, BlendPixel(color, ((x / square + y / square) % 2) ? 0xFFBFBFBF : 0xFFFFFFFF));
  FSwatchBitmap.FrameRectTS(FSwatchBitmap.BoundsRect(), 0xFF000000);
  BlitBitmap32(AItem.hDC, AItem.rcItem.left, AItem.rcItem.top, FSwatchBitmap);
}

void TColor_Settings::EnterPressed(int AID) {
  const std::string text = GetControlText(GetDlgItem(Handle(), AID));
  switch (AID) {
    case csHexColorEdit: FModel->HexColorEditEnter(text); break;
    case csHueEdit: FModel->HueEditEnter(text); break;
    case csSaturationEdit: FModel->SaturationEditEnter(text); break;
    case csValueEdit: FModel->ValueEditEnter(text); break;
    default: break;
  }
}

// Enter in a text field is its own, not the dialog's "OK".
LRESULT CALLBACK TColor_Settings::EnterSubclassProc(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam, UINT_PTR,
                                                    DWORD_PTR AData) {
  auto* self = reinterpret_cast<TColor_Settings*>(AData);
  try {
    if (AMessage == WM_GETDLGCODE && AWParam == VK_RETURN) return DLGC_WANTALLKEYS;
    if (AMessage == WM_CHAR && AWParam == L'\r') return 0;  // no beep
    if (AMessage == WM_KEYDOWN && AWParam == VK_RETURN) {
      self->EnterPressed(GetDlgCtrlID(AWnd));
      return 0;
    }
  } catch (...) {
    HandleApplicationException(std::current_exception());
  }
  return DefSubclassProc(AWnd, AMessage, AWParam, ALParam);
}

void TColor_Settings::RunFileStep(void (TQD_ColorSettingsModel::*AStep)()) {
  try {
    ((*FModel).*AStep)();
  } catch (const TQD_FileError& AError) {
    // The table keeps what was read before the failure; the user learns why.
    MessageBoxW(Handle(), Utf8ToWide(AError.what()).c_str(), QD_ColorSettingsCaption, MB_OK | MB_ICONERROR);
  }
}

bool TColor_Settings::HandleCommand(int AID, int ACode, HWND) {
  if (AID == csColorListBox && ACode == LBN_SELCHANGE) {
    FModel->ColorListBoxClick(static_cast<int>(SendMessageW(FList, LB_GETCURSEL, 0, 0)));
    return true;
  }
  if (AID >= csRedSpinEdit && AID < csRedSpinEdit + 4 && ACode == EN_CHANGE) {
    if (!FShowing)
      FModel->SpinEditChange(static_cast<TQD_ColorChannel>(AID - csRedSpinEdit), GetControlText(GetDlgItem(Handle(), AID)));
    return true;
  }
  if (ACode != BN_CLICKED) return false;
  switch (AID) {
    case csImportButton: RunFileStep(&TQD_ColorSettingsModel::ImportButtonClick); return true;
    case csExportButton: RunFileStep(&TQD_ColorSettingsModel::ExportButtonClick); return true;
    case csResetColorButton: FModel->ResetColorToDefaultClick(); return true;
    case csResetAllColorsButton: FModel->ResetAllColorsToDefaultClick(); return true;
    default: return false;
  }
}

bool TColor_Settings::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  if (AMessage == WM_DRAWITEM && AWParam == csColorSwatch) {
    DrawSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(ALParam));
    AResult = TRUE;
    return true;
  }
  return TQD_SettingsDialogFrame::HandleMessage(AMessage, AWParam, ALParam, AResult);
}

void TColor_Settings::ApplyButtonClick() { FForm.ApplySettings(); }

// After "OK" the two tables are equal already; after "Cancel" the edits go.
void TColor_Settings::FormClose() { FForm.WorkingColorTable().Assign(FForm.ColorTable()); }

bool ShowColorSettingsDialog(HWND AOwner, TQD_MainForm& AForm) {
  AForm.WorkingColorTable().Assign(AForm.ColorTable());
  TColor_Settings dialog(AOwner, AForm);
  return dialog.ShowModal();
}

bool ShowColorSettingsDialog(HWND AOwner, TQD_MainForm& AForm, const TQD_ColorDialogPrompts& APrompts) {
  AForm.WorkingColorTable().Assign(AForm.ColorTable());
  TColor_Settings dialog(AOwner, AForm, APrompts);
  return dialog.ShowModal();
}
