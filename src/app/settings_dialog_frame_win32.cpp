// The settings dialogs' frame; see settings_dialog_frame_win32.h.
#include "app/settings_dialog_frame_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "app/button_glyphs_win32.h"
#include "base/dpi.h"
#include "readings/child_controls_win32.h"
#include "ui/message_loop_win32.h"

namespace {

constexpr int kGridColumns = 6;
constexpr int kGridRows = 10;
constexpr int kMargin96 = 6;
const wchar_t kPageClass[] = L"QuendalSettingsPage";

}  // namespace

TQD_SettingsPageWindow::TQD_SettingsPageWindow(HWND AParent, int AID) : TQD_Window(kPageClass) {
  TQD_WindowCreateParams p;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  p.ExStyle = WS_EX_CONTROLPARENT;  // Tab walks into the page's controls
  p.Parent = AParent;
  p.Left = p.Top = 0;
  p.Width = p.Height = 1;
  Create(p);
  SetWindowLongPtrW(Handle(), GWLP_ID, AID);
}

void TQD_SettingsPageWindow::PrepareClass(WNDCLASSEXW& AClass) {
  AClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);  // a system colour, never freed
}

bool TQD_SettingsPageWindow::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  switch (AMessage) {
    case WM_SIZE:
      if (OnResize) OnResize();
      AResult = 0;
      return true;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
      // The dialog handles what the page's controls report.
      AResult = SendMessageW(GetParent(Handle()), AMessage, AWParam, ALParam);
      return true;
    default:
      return false;
  }
}

TQD_SettingsDialogFrame::TQD_SettingsDialogFrame(const wchar_t* AClassName, HWND AOwner, const std::wstring& ACaption,
                                                 int AClientWidth96, int AClientHeight96)
    : TQD_Window(AClassName), FOwner(AOwner), FClientWidth96(AClientWidth96), FClientHeight96(AClientHeight96) {
  InitReadingsCommonControls();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
  TQD_WindowCreateParams p;
  p.Caption = ACaption;
  // No WS_CLIPCHILDREN: group boxes paint only their frame, the dialog the rest.
  p.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  p.ExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
  p.Parent = AOwner;
  p.Left = p.Top = 0;
  p.Width = AClientWidth96;
  p.Height = AClientHeight96;
  Create(p);
  FFont = CreateTahoma8(DPI());
  ApplyClientSize();
}

TQD_SettingsDialogFrame::~TQD_SettingsDialogFrame() {
  // The owner must be enabled before its owned window goes, or the system
  // activates some other program's window.
  if (FOwner) EnableWindow(FOwner, TRUE);
  FPages.clear();
  Destroy();
}

void TQD_SettingsDialogFrame::PrepareClass(WNDCLASSEXW& AClass) {
  AClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

int TQD_SettingsDialogFrame::Scale(int AValue96) const { return ScaleToDPI(AValue96, DPI()); }

HWND TQD_SettingsDialogFrame::AddControl(HWND AParent, const wchar_t* AClass, const std::wstring& AText, DWORD AStyle,
                                         int AID, DWORD AExStyle) {
  return CreateChildControl(AParent, AClass, AText, WS_VISIBLE | AStyle, AExStyle, AID, FFont.Get());
}

void TQD_SettingsDialogFrame::ApplyClientSize() {
  RECT client{}, outer{};
  GetClientRect(Handle(), &client);
  GetWindowRect(Handle(), &outer);
  const int frameW = (outer.right - outer.left) - client.right, frameH = (outer.bottom - outer.top) - client.bottom;
  const int w = Scale(FClientWidth96) + frameW, h = Scale(FClientHeight96) + frameH;
  // Centred on the work area of the monitor the dialog is on.
  MONITORINFO mi{sizeof mi};
  GetMonitorInfoW(MonitorFromWindow(FOwner ? FOwner : Handle(), MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& wa = mi.rcWork;
  SetWindowPos(Handle(), nullptr, wa.left + (wa.right - wa.left - w) / 2, wa.top + (wa.bottom - wa.top - h) / 2, w, h,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

TQD_SettingsPageWindow& TQD_SettingsDialogFrame::AddPage(const std::wstring& ACaption) {
  if (!FPageControl) {
    FPageControl = AddControl(Handle(), WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, sfPageControl);
  }
  std::wstring caption = ACaption;
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption.data();
  SendMessageW(FPageControl, TCM_INSERTITEMW, FPages.size(), reinterpret_cast<LPARAM>(&item));
  auto page = std::make_unique<TQD_SettingsPageWindow>(Handle(), sfFirstPage + static_cast<int>(FPages.size()));
  // Above the page control, which would otherwise paint over it.
  SetWindowPos(page->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FPages.push_back(std::move(page));
  ShowPage(0);
  return *FPages.back();
}

void TQD_SettingsDialogFrame::CreateButtons() {
  FButtons = {AddControl(Handle(), WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, sfOK),
              AddControl(Handle(), WC_BUTTONW, L"Apply", WS_TABSTOP | BS_PUSHBUTTON, sfApply),
              AddControl(Handle(), WC_BUTTONW, L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, sfCancel)};
  ScaleButtonGlyphs();
  LayoutControls();
}

void TQD_SettingsDialogFrame::ScaleButtonGlyphs() {
  std::vector<TQD_IconHandle> glyphs;
  for (TQD_ActionImage image : {aiOK, aiApply, aiCancel}) glyphs.push_back(CreateButtonGlyph(image, DPI()));
  for (size_t b = 0; b < FButtons.size(); ++b) SetButtonGlyph(FButtons[b], glyphs[b]);
  FButtonGlyphs = std::move(glyphs);  // the old ones only once replaced
}

void TQD_SettingsDialogFrame::LayoutControls() {
  RECT r{};
  GetClientRect(Handle(), &r);
  const int m = Scale(kMargin96);
  const int colW = r.right / kGridColumns, rowH = r.bottom / kGridRows;
  if (FPageControl) {
    SetWindowPos(FPageControl, nullptr, m, m, r.right - 2 * m, 9 * rowH - m, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT inner{0, 0, r.right - 2 * m, 9 * rowH - m};
    SendMessageW(FPageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inner));
    for (auto& page : FPages)
      SetWindowPos(page->Handle(), nullptr, m + inner.left, m + inner.top, inner.right - inner.left,
                   inner.bottom - inner.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (size_t b = 0; b < FButtons.size(); ++b)
    SetWindowPos(FButtons[b], nullptr, (3 + static_cast<int>(b)) * colW + m, 9 * rowH + m, colW - 2 * m, rowH - 2 * m,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TQD_SettingsDialogFrame::ShowPage(int AIndex) {
  for (size_t i = 0; i < FPages.size(); ++i)
    ShowWindow(FPages[i]->Handle(), static_cast<int>(i) == AIndex ? SW_SHOW : SW_HIDE);
}

void TQD_SettingsDialogFrame::SelectPage(int AIndex) {
  SendMessageW(FPageControl, TCM_SETCURSEL, static_cast<WPARAM>(AIndex), 0);
  ShowPage(AIndex);
}

namespace {
// The dialog whose loop runs: a second one (from a monitor window's menu,
// whose owner stays enabled) would nest loops; it brings the first forward.
TQD_SettingsDialogFrame* GRunning = nullptr;
}  // namespace

bool TQD_SettingsDialogFrame::ShowModal() {
  if (GRunning) {
    SetForegroundWindow(GRunning->Handle());
    return false;
  }
  GRunning = this;
  struct TRunning {
    ~TRunning() { GRunning = nullptr; }
  } running;
  FDone = false;
  FResult = false;
  LayoutControls();
  if (FOwner) EnableWindow(FOwner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  if (!FButtons.empty()) SetFocus(GetNextDlgTabItem(Handle(), nullptr, FALSE));
  MSG msg;
  while (!FDone) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: the loop further out must see WM_QUIT too.
      PostQuitMessage(static_cast<int>(msg.wParam));
      Close(false);
      break;
    }
    if (got == -1) break;
    if (TranslateDialogKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (FOwner) EnableWindow(FOwner, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  return FResult;
}

void TQD_SettingsDialogFrame::Close(bool AResult) {
  if (FClosing) return;
  FClosing = true;
  FormClose();
  FResult = AResult;
  FDone = true;
}

bool TQD_SettingsDialogFrame::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  switch (AMessage) {
    case WM_COMMAND: {
      const int id = LOWORD(AWParam), code = HIWORD(AWParam);
      AResult = 0;
      if (HandleCommand(id, code, reinterpret_cast<HWND>(ALParam))) return true;
      if (code != BN_CLICKED) return false;
      switch (id) {
        case sfOK:
          ApplyButtonClick();
          Close(true);
          return true;
        case sfApply:
          ApplyButtonClick();
          return true;
        case sfCancel:
          Close(false);
          return true;
        default:
          return false;
      }
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(ALParam);
      if (header && header->hwndFrom == FPageControl && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageW(FPageControl, TCM_GETCURSEL, 0, 0)));
        AResult = 0;
        return true;
      }
      return false;
    }
    case WM_CLOSE:
      Close(false);
      AResult = 0;
      return true;
    default:
      return false;
  }
}

void TQD_SettingsDialogFrame::DpiChanging(int, int) {
  // Nothing is drawn half old, half new while the fonts and layout change.
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TQD_SettingsDialogFrame::DpiChanged(int, int ANewDPI) {
  TQD_FontHandle old = std::exchange(FFont, CreateTahoma8(ANewDPI));
  EnumChildWindows(
      Handle(),
      [](HWND AChild, LPARAM AFont) -> BOOL {
        if (SendMessageW(AChild, WM_GETFONT, 0, 0)) SendMessageW(AChild, WM_SETFONT, static_cast<WPARAM>(AFont), FALSE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(FFont.Get()));
  ScaleButtonGlyphs();
  LayoutControls();
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
