// The custom reading list editor's window; see custom_reading_list_editor_win32.h.
#include "readings/custom_reading_list_editor_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "base/app_exception.h"
#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "readings/child_controls_win32.h"

namespace {

const wchar_t kClassName[] = L"QuendalCustomReadingListEditor";
constexpr int kMargin96 = 3;
constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT, Windows 10 1703  // between the parent's client edge and the panel
// Column widths in S units: three identifiers, "Description", "Parameters".
constexpr int kColumnWidthS[ecColumnCount] = {12, 12, 12, 40, 20};
const wchar_t* const kButtonCaptions[5] = {L"+ Add", L"+ Add divider", L"- Remove", L"\u25B2  Up",
                                           L"\u25BC  Down"};

COLORREF Blend(COLORREF A, COLORREF B, int ANum, int ADen) {
  auto mix = [&](int a, int b) { return static_cast<BYTE>(a + (b - a) * ANum / ADen); };
  return RGB(mix(GetRValue(A), GetRValue(B)), mix(GetGValue(A), GetGValue(B)), mix(GetBValue(A), GetBValue(B)));
}

// Top to bottom, one scanline at a time with the DC brush: nothing to free.
void FillVerticalGradient(HDC ADC, const RECT& ARect, COLORREF ATop, COLORREF ABottom) {
  const int height = ARect.bottom - ARect.top;
  const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  for (int y = 0; y < height; ++y) {
    SetDCBrushColor(ADC, Blend(ATop, ABottom, y, height > 1 ? height - 1 : 1));
    const RECT line{ARect.left, ARect.top + y, ARect.right, ARect.top + y + 1};
    FillRect(ADC, &line, brush);
  }
}

void DrawCellText(HDC ADC, RECT ARect, const std::string& AText, COLORREF AColor) {
  const std::wstring text = Utf8ToWide(AText);
  InflateRect(&ARect, -2, 0);
  SetBkMode(ADC, TRANSPARENT);
  SetTextColor(ADC, AColor);
  DrawTextW(ADC, text.c_str(), static_cast<int>(text.size()), &ARect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

// The header sends its custom draw to its parent, the list view, which need
// not pass it on (Wine's does not): the list view is subclassed to catch it.
LRESULT CALLBACK TQD_CustomReadingListEditor::GridSubclassProc(HWND AWnd, UINT AMessage, WPARAM AWParam,
                                                               LPARAM ALParam, UINT_PTR, DWORD_PTR AData) {
  auto* self = reinterpret_cast<TQD_CustomReadingListEditor*>(AData);
  try {
    if (AMessage == WM_NOTIFY) {
      auto* header = reinterpret_cast<NMHDR*>(ALParam);
      if (header && header->hwndFrom == self->FHeader && header->code == NM_CUSTOMDRAW)
        return self->CustomDrawHeader(*header);
    }
  } catch (...) {
    HandleApplicationException(std::current_exception());
  }
  return DefSubclassProc(AWnd, AMessage, AWParam, ALParam);
}

// Enter keeps the parameter text, Escape drops it; both return to the table.
// The edit box asks for both keys, or a dialog's key handling would take them.
LRESULT CALLBACK TQD_CustomReadingListEditor::EditSubclassProc(HWND AWnd, UINT AMessage, WPARAM AWParam,
                                                               LPARAM ALParam, UINT_PTR, DWORD_PTR AData) {
  auto* self = reinterpret_cast<TQD_CustomReadingListEditor*>(AData);
  try {
    const bool ours = AWParam == VK_RETURN || AWParam == VK_ESCAPE;
    if (AMessage == WM_GETDLGCODE && ours) return DLGC_WANTALLKEYS;
    if (AMessage == WM_CHAR && ours) return 0;  // no beep
    if (AMessage == WM_KEYDOWN && ours) {
      if (AWParam == VK_ESCAPE && self->FEditRow >= 0)
        SetControlText(AWnd, self->FModel.Rows()[static_cast<size_t>(self->FEditRow)][ecParameters]);
      SetFocus(self->FStringGrid);  // leaving the box writes it back
      return 0;
    }
  } catch (...) {
    HandleApplicationException(std::current_exception());
  }
  return DefSubclassProc(AWnd, AMessage, AWParam, ALParam);
}

TQD_CustomReadingListEditor::TQD_CustomReadingListEditor(HWND AParent) : TQD_Window(kClassName) {
  InitReadingsCommonControls();
  TQD_WindowCreateParams p;
  // No WS_CLIPCHILDREN: the group box covers the panel and paints only its
  // frame, so the panel must paint the background beneath it.
  p.Style = WS_CHILD | WS_VISIBLE;
  p.ExStyle = WS_EX_CONTROLPARENT;  // Tab goes on into the table and the buttons
  p.Parent = AParent;
  p.Left = p.Top = 0;
  p.Width = p.Height = 1;
  Create(p);
  FDpi = DPI();
  FFont = CreateTahoma8(FDpi);
  CreateControls();
  FModel.OnChanged = [this] { SyncRows(); };
  SyncRows();
  AlignToParent();
}

TQD_CustomReadingListEditor::~TQD_CustomReadingListEditor() {
  FModel.OnChanged = nullptr;
  if (FStringGrid) RemoveWindowSubclass(FStringGrid, &GridSubclassProc, 1);
  if (FEdit) RemoveWindowSubclass(FEdit, &EditSubclassProc, 1);
  FToolTip.Reset();
  Destroy();
}

void TQD_CustomReadingListEditor::PrepareClass(WNDCLASSEXW& AClass) {
  AClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);  // a system colour, never freed
}

int TQD_CustomReadingListEditor::S() const { return ScaleToDPI(8, FDpi); }

void TQD_CustomReadingListEditor::CreateControls() {
  const HWND self = Handle();
  const HFONT font = FFont.Get();
  FStringGrid = CreateChildControl(self, WC_LISTVIEWW, L"",
                                   WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SINGLESEL |
                                       LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                                   0, eidStringGrid, font);
  SendMessageW(FStringGrid, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  for (int c = 0; c < ecColumnCount; ++c) {
    std::wstring header = Utf8ToWide(CustomReadingListEditorHeaders[c]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_CENTER;
    column.cx = kColumnWidthS[c] * S();
    column.pszText = header.data();
    SendMessageW(FStringGrid, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
  FHeader = reinterpret_cast<HWND>(SendMessageW(FStringGrid, LVM_GETHEADER, 0, 0));
  SetWindowSubclass(FStringGrid, &GridSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  for (int b = 0; b < 5; ++b)
    FButtons[static_cast<size_t>(b)] = CreateChildControl(self, WC_BUTTONW, kButtonCaptions[b],
                                                          WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, eidAddBtn + b, font);
  FEdit = CreateChildControl(self, WC_EDITW, L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, eidEdit, font);
  SetWindowSubclass(FEdit, &EditSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  FGroup = CreateChildControl(self, WC_BUTTONW, L"Custom Sensor Readings", WS_VISIBLE | BS_GROUPBOX, 0, eidGroup,
                              font);
  // The frame lies under everything drawn inside it.
  SetWindowPos(FGroup, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // The edit box's hint: the parameter syntax, shown while the mouse rests on it.
  FToolTip.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, self, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  if (FToolTip) {
    std::wstring help = Utf8ToWide(CustomReadingsParametersHelp);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = self;
    tool.uId = reinterpret_cast<UINT_PTR>(FEdit);
    tool.lpszText = help.data();  // copied by the tooltip
    SendMessageW(FToolTip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // A maximum width makes the tooltip honour the help's line breaks.
    SendMessageW(FToolTip.Get(), TTM_SETMAXTIPWIDTH, 0, 60 * S());
    SendMessageW(FToolTip.Get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
  }
}

void TQD_CustomReadingListEditor::AlignToParent() {
  const HWND parent = GetParent(Handle());
  RECT r{};
  if (!parent || !GetClientRect(parent, &r)) return;
  const int m = ScaleToDPI(kMargin96, FDpi);
  SetWindowPos(Handle(), nullptr, m, m, std::max(0L, r.right - 2 * m), std::max(0L, r.bottom - 2 * m),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TQD_CustomReadingListEditor::LayoutControls() {
  RECT r{};
  GetClientRect(Handle(), &r);
  const int s = S(), w = r.right, h = r.bottom;
  const int buttonW = 12 * s, buttonH = 3 * s;
  SetWindowPos(FGroup, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  // Anchored to all four edges.
  SetWindowPos(FStringGrid, nullptr, s, 2 * s, w - 2 * s, h - buttonH - 4 * s, SWP_NOZORDER | SWP_NOACTIVATE);
  // Anchored to the left and bottom edges, S apart.
  for (int b = 0; b < 5; ++b)
    SetWindowPos(FButtons[static_cast<size_t>(b)], nullptr, s + b * (buttonW + s), h - buttonH - s, buttonW, buttonH,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (IsWindowVisible(FEdit)) CloseParameterEdit();  // its cell has moved
}

void TQD_CustomReadingListEditor::SyncRows() {
  FSyncing = true;
  SendMessageW(FStringGrid, WM_SETREDRAW, FALSE, 0);
  const std::vector<TQD_EditorRow>& rows = FModel.Rows();
  const int wanted = static_cast<int>(rows.size());
  int count = static_cast<int>(SendMessageW(FStringGrid, LVM_GETITEMCOUNT, 0, 0));
  for (; count > wanted; --count) SendMessageW(FStringGrid, LVM_DELETEITEM, static_cast<WPARAM>(count - 1), 0);
  for (; count < wanted; ++count) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = count;
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(FStringGrid, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  for (int i = 0; i < wanted; ++i) {
    for (int c = 0; c < ecColumnCount; ++c) {
      // Texts for automation and accessibility; custom draw paints from the model.
      std::wstring text = Utf8ToWide(rows[static_cast<size_t>(i)][static_cast<size_t>(c)]);
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = text.data();
      SendMessageW(FStringGrid, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = i == FModel.Row() ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageW(FStringGrid, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&state));
  }
  SendMessageW(FStringGrid, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FStringGrid, nullptr, TRUE);
  FSyncing = false;
}

void TQD_CustomReadingListEditor::OpenParameterEdit(int ARow) {
  if (ARow < 0 || ARow >= FModel.RowCount()) return;
  // The list view may still hold the mouse from the click that got here.
  ReleaseCapture();
  RECT cell{};
  cell.top = ecParameters;
  cell.left = LVIR_BOUNDS;
  if (!SendMessageW(FStringGrid, LVM_GETSUBITEMRECT, static_cast<WPARAM>(ARow), reinterpret_cast<LPARAM>(&cell)))
    return;
  MapWindowPoints(FStringGrid, Handle(), reinterpret_cast<POINT*>(&cell), 2);
  FEditRow = ARow;
  SetControlText(FEdit, FModel.Rows()[static_cast<size_t>(ARow)][ecParameters]);
  SetWindowPos(FEdit, HWND_TOP, cell.left + 1, cell.top + 1, cell.right - cell.left + 1, cell.bottom - cell.top + 1,
               SWP_SHOWWINDOW);
  SetFocus(FEdit);
  SendMessageW(FEdit, EM_SETSEL, 0, -1);
}

void TQD_CustomReadingListEditor::CloseParameterEdit() {
  const int row = std::exchange(FEditRow, -1);
  ShowWindow(FEdit, SW_HIDE);
  if (row >= 0) FModel.SetParameters(row, GetControlText(FEdit));
}

LRESULT TQD_CustomReadingListEditor::CustomDrawGrid(NMHDR& AHeader) {
  auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(AHeader);
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: break;
    default: return CDRF_DODEFAULT;
  }
  const int row = static_cast<int>(draw.nmcd.dwItemSpec), column = draw.iSubItem;
  if (row < 0 || row >= FModel.RowCount() || column < 0 || column >= ecColumnCount) return CDRF_DODEFAULT;
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_BOUNDS;
  SendMessageW(FStringGrid, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  // The first column's bounds are the whole row's.
  if (column == 0)
    cell.right = cell.left + static_cast<int>(SendMessageW(FStringGrid, LVM_GETCOLUMNWIDTH, 0, 0));
  // The grid lines on the right and bottom edges stay.
  RECT inner{cell.left, cell.top, cell.right - 1, cell.bottom - 1};
  const HDC dc = draw.nmcd.hdc;
  const bool selected = SendMessageW(FStringGrid, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
  COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  if (selected) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    FillVerticalGradient(dc, inner, Blend(highlight, RGB(255, 255, 255), 1, 2), highlight);
    text = GetSysColor(COLOR_HIGHLIGHTTEXT);
  } else {
    SetDCBrushColor(dc, GetSysColor(COLOR_WINDOW));
    FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  DrawCellText(dc, inner, FModel.Rows()[static_cast<size_t>(row)][static_cast<size_t>(column)], text);
  return CDRF_SKIPDEFAULT;
}

LRESULT TQD_CustomReadingListEditor::CustomDrawHeader(NMHDR& AHeader) {
  auto& draw = reinterpret_cast<NMCUSTOMDRAW&>(AHeader);
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const int column = static_cast<int>(draw.dwItemSpec);
  if (column < 0 || column >= ecColumnCount) return CDRF_DODEFAULT;
  // Grey (80 hex) at the top to white at the bottom, a line between columns.
  RECT r = draw.rc;
  FillVerticalGradient(draw.hdc, r, RGB(0x80, 0x80, 0x80), RGB(0xFF, 0xFF, 0xFF));
  SetDCBrushColor(draw.hdc, GetSysColor(COLOR_3DSHADOW));
  const RECT line{r.right - 1, r.top, r.right, r.bottom};
  FillRect(draw.hdc, &line, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  r.right -= 1;
  DrawCellText(draw.hdc, r, CustomReadingListEditorHeaders[column], GetSysColor(COLOR_BTNTEXT));
  return CDRF_SKIPDEFAULT;
}

bool TQD_CustomReadingListEditor::HandleGridNotify(const NMHDR& AHeader, LRESULT& AResult) {
  AResult = 0;
  switch (AHeader.code) {
    case NM_SETFOCUS:
      FModel.FocusEntered();
      return true;
    case LVN_ITEMCHANGING: {
      // Until the table has had the focus once, no row can be selected.
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(AHeader);
      const bool selecting = (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
                             !(change.uOldState & LVIS_SELECTED);
      AResult = !FSyncing && selecting && FModel.InitState();
      return true;
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(AHeader);
      if (!FSyncing && (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
          !(change.uOldState & LVIS_SELECTED))
        FModel.SelectRow(change.iItem);
      return true;
    }
    case NM_CLICK: {
      // Every click on a cell is a selection of it, also on the current row
      // (it opens the viewer again if it was closed); the "Parameters" cell
      // opens the edit box.
      LVHITTESTINFO hit{};
      hit.pt = MessagePointIn(FStringGrid);
      SendMessageW(FStringGrid, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.iItem < 0 || !FModel.SelectRow(hit.iItem)) return true;
      if (hit.iSubItem == ecParameters) OpenParameterEdit(hit.iItem);
      return true;
    }
    case NM_RETURN:
      OpenParameterEdit(FModel.Row());
      return true;
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN&>(AHeader).wVKey == VK_F2) OpenParameterEdit(FModel.Row());
      return true;
    case NM_CUSTOMDRAW:
      AResult = CustomDrawGrid(const_cast<NMHDR&>(AHeader));
      return true;
    default:
      return false;
  }
}

bool TQD_CustomReadingListEditor::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  switch (AMessage) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(ALParam);
      if (!header) return false;
      if (header->hwndFrom == FStringGrid) return HandleGridNotify(*header, AResult);
      return false;
    }
    case WM_COMMAND: {
      const int id = LOWORD(AWParam), code = HIWORD(AWParam);
      if (id == eidEdit && code == EN_KILLFOCUS) {
        CloseParameterEdit();
      } else if (code == BN_CLICKED && id >= eidAddBtn && id <= eidDownBtn) {
        if (IsWindowVisible(FEdit)) CloseParameterEdit();
        switch (id) {
          case eidAddBtn: FModel.Add(); break;
          case eidAddDividerBtn: FModel.AddDivider(); break;
          case eidRemoveBtn: FModel.Remove(); break;
          case eidUpBtn: FModel.Up(); break;
          default: FModel.Down(); break;
        }
      } else {
        return false;
      }
      AResult = 0;
      return true;
    }
    case WM_SIZE:
      LayoutControls();
      AResult = 0;
      return true;
    case kDpiChangedAfterParent:
      // Child windows get no WM_DPICHANGED: the parent has moved to a
      // monitor of another DPI and resized itself.
      RescaleToDPI(GetWindowDPI(Handle()));
      AResult = 0;
      return true;
    default:
      return false;
  }
}

void TQD_CustomReadingListEditor::RescaleToDPI(int ANewDPI) {
  if (ANewDPI == FDpi) return;
  FDpi = ANewDPI;
  TQD_FontHandle old = std::exchange(FFont, CreateTahoma8(ANewDPI));
  for (HWND control : {FGroup, FStringGrid, FEdit})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), TRUE);
  for (HWND button : FButtons) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), TRUE);
  for (int c = 0; c < ecColumnCount; ++c)
    SendMessageW(FStringGrid, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(kColumnWidthS[c] * S(), 0));
  AlignToParent();
  LayoutControls();
}
