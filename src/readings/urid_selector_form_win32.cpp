// The shared memory viewer's window; see urid_selector_form_win32.h.
#include "readings/urid_selector_form_win32.h"

#include <utility>

#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "readings/child_controls_win32.h"

namespace {

const wchar_t kClassName[] = L"QuendalURIDSelectorForm";
// No WS_CLIPCHILDREN: the group boxes paint only their frames, so the form
// paints the background beneath them.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;  // Tab moves through the fields
constexpr int kTreeIndent96 = 19;

// Tree node data: a sensor as -(index + 1), an entry as index + 1, so that 0
// stays "no item".
LPARAM SensorParam(size_t AIndex) { return -static_cast<LPARAM>(AIndex) - 1; }
LPARAM EntryParam(size_t AIndex) { return static_cast<LPARAM>(AIndex) + 1; }

void MoveControl(HDWP& ADefer, HWND AControl, const TURIDSelectorRect& ARect) {
  if (ADefer)
    ADefer = DeferWindowPos(ADefer, AControl, nullptr, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE);
  else  // DeferWindowPos failed and freed the batch: move one by one
    SetWindowPos(AControl, nullptr, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

double NowMicroseconds() {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

HTREEITEM InsertNode(HWND ATree, HTREEITEM AParent, const std::string& AText, LPARAM AParam) {
  std::wstring text = Utf8ToWide(AText);
  TVINSERTSTRUCTW insert{};
  insert.hParent = AParent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = text.data();
  insert.item.lParam = AParam;
  return reinterpret_cast<HTREEITEM>(SendMessageW(ATree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

TURIDSelectorForm::TURIDSelectorForm(HWND AOwner, TQD_DataLogger* ADataLogger)
    : TQD_Window(kClassName), FDataLogger(ADataLogger) {
  InitReadingsCommonControls();
  TQD_WindowCreateParams p;
  p.Caption = URIDSelectorFormCaption;
  p.Style = kStyle;
  p.ExStyle = kExStyle;
  p.Parent = AOwner;
  Create(p);
  FFont = CreateTahoma8(DPI());
  FBoldFont = CreateTahoma8(DPI(), true);
  CreateControls();
  // The client size is the design's at 96 DPI, scaled to the monitor's DPI.
  // The frame is measured, not computed: AdjustWindowRectEx need not match
  // the frame the system really draws (themes, Wine's X11 driver).
  RECT outer{}, client{};
  GetWindowRect(Handle(), &outer);
  GetClientRect(Handle(), &client);
  SetWindowPos(Handle(), nullptr, 0, 0,
               ScaleToDPI(URIDSelectorClientWidth96, DPI()) + (outer.right - outer.left) - client.right,
               ScaleToDPI(URIDSelectorClientHeight96, DPI()) + (outer.bottom - outer.top) - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls();
}

TURIDSelectorForm::~TURIDSelectorForm() {
  // The controls go with the window, before the fonts they use.
  Destroy();
}

void TURIDSelectorForm::PrepareClass(WNDCLASSEXW& AClass) {
  AClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);  // a system colour, never freed
}

void TURIDSelectorForm::CreateControls() {
  const HWND self = Handle();
  const HFONT font = FFont.Get();
  FTree = CreateChildControl(self, WC_TREEVIEWW, L"",
                             WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                 TVS_SHOWSELALWAYS,
                             WS_EX_CLIENTEDGE, uidTreeView, font);
  SendMessageW(FTree, TVM_SETINDENT, static_cast<WPARAM>(ScaleToDPI(kTreeIndent96, DPI())), 0);
  // Captions before their fields, in reading order, so Tab follows the eye.
  const bool rightAligned[ucCaptionCount] = {false, false, false, false, false, false, false,
                                             false, false, false, true,  true,  true,  true};
  const TURIDSelectorCaption captionOf[ufFieldCount] = {
      ucSensorOriginalName, ucSensorCurrentName, ucSensorID,   ucSensorInstance, ucEntryOriginalName,
      ucEntryCurrentName,   ucEntryID,           ucEntryType,  ucEntryUnit,      ucCurrentValue,
      ucMinValue,           ucMaxValue,          ucAverageValue};
  auto caption = [&](TURIDSelectorCaption c) {
    FCaptions[c] = CreateChildControl(self, WC_STATICW, Utf8ToWide(URIDSelectorCaptionTexts[c]),
                                      WS_VISIBLE | SS_NOPREFIX | (rightAligned[c] ? SS_RIGHT : SS_LEFT), 0,
                                      CaptionControlID(c), font);
  };
  for (int f = 0; f < ufFieldCount; ++f) {
    if (f == ufCurrentValue) caption(ucValues);
    caption(captionOf[f]);
    FFields[f] = CreateChildControl(self, WC_EDITW, L"", WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL,
                                    WS_EX_CLIENTEDGE, FieldControlID(f), font);
  }
  FReloadButton = CreateChildControl(self, WC_BUTTONW, L"Reload", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                     uidReloadButton, font);
  FSelectedLabel = CreateChildControl(self, WC_STATICW, L"-", WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 0,
                                      uidSelectedURIDLabel, font);
  // Group boxes last: at the bottom of the z-order, their frames lie under
  // the fields drawn inside them.
  FSensorGroup = CreateChildControl(self, WC_BUTTONW, L"Sensor Details", WS_VISIBLE | BS_GROUPBOX, 0,
                                    uidSensorGroup, FBoldFont.Get());
  FEntryGroup = CreateChildControl(self, WC_BUTTONW, L"Entry Details", WS_VISIBLE | BS_GROUPBOX, 0, uidEntryGroup,
                                   FBoldFont.Get());
  FSelectedGroup = CreateChildControl(self, WC_BUTTONW, L"Selected", WS_VISIBLE | BS_GROUPBOX, 0,
                                      uidSelectedURIDGroup, font);
}

void TURIDSelectorForm::ApplyFonts() {
  const auto set = [](HWND AControl, HFONT AFont) {
    SendMessageW(AControl, WM_SETFONT, reinterpret_cast<WPARAM>(AFont), FALSE);
  };
  for (HWND control : {FTree, FReloadButton, FSelectedLabel, FSelectedGroup}) set(control, FFont.Get());
  for (HWND control : FFields) set(control, FFont.Get());
  for (HWND control : FCaptions) set(control, FFont.Get());
  set(FSensorGroup, FBoldFont.Get());
  set(FEntryGroup, FBoldFont.Get());
}

void TURIDSelectorForm::LayoutControls() {
  RECT client{};
  GetClientRect(Handle(), &client);
  const TURIDSelectorLayout l = LayoutURIDSelector(client.right, client.bottom, DPI());
  HDWP defer = BeginDeferWindowPos(6 + ufFieldCount + ucCaptionCount);
  MoveControl(defer, FTree, l.TreeView);
  MoveControl(defer, FSensorGroup, l.SensorGroup);
  MoveControl(defer, FEntryGroup, l.EntryGroup);
  MoveControl(defer, FReloadButton, l.ReloadButton);
  MoveControl(defer, FSelectedGroup, l.SelectedGroup);
  MoveControl(defer, FSelectedLabel, l.SelectedLabel);
  for (int f = 0; f < ufFieldCount; ++f) MoveControl(defer, FFields[f], l.Fields[f]);
  for (int c = 0; c < ucCaptionCount; ++c) MoveControl(defer, FCaptions[c], l.Captions[c]);
  if (defer) EndDeferWindowPos(defer);
}

void TURIDSelectorForm::Show() {
  ShowWindow(Handle(), SW_SHOW);
  BuildTree();
}

void TURIDSelectorForm::BuildTree() {
  if (!FDataLogger) return;
  const double start = NowMicroseconds();
  // Redraw stays off for the whole rebuild: a repaint per node makes
  // thousands of nodes take seconds.
  SendMessageW(FTree, WM_SETREDRAW, FALSE, 0);
  SendMessageW(FTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  tree_nodes.clear();
  FEntryNodes.clear();
  FModel.Build(FDataLogger);
  const std::vector<TSensorItem>& sensors = FModel.SensorItems();
  const std::vector<TEntryItem>& entries = FModel.EntryItems();
  tree_nodes.reserve(sensors.size());
  for (size_t s = 0; s < sensors.size(); ++s)
    tree_nodes.push_back(InsertNode(FTree, TVI_ROOT, sensors[s].Data.szSensorNameUser, SensorParam(s)));
  // Entries in readings order, each under its sensor's node.
  FEntryNodes.reserve(entries.size());
  for (size_t e = 0; e < entries.size(); ++e)
    FEntryNodes.push_back(InsertNode(FTree, tree_nodes[entries[e].Data.dwSensorIndex],
                                     entries[e].Data.szLabelUser, EntryParam(e)));
  SendMessageW(FTree, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FTree, nullptr, TRUE);
  UpdateFields();
  FLastBuildMicroseconds = NowMicroseconds() - start;
}

void TURIDSelectorForm::UpdateFields() {
  const TURIDSelectorDetails& details = FModel.Details();
  for (int f = 0; f < ufFieldCount; ++f) SetControlText(FFields[f], details[f]);
  SetControlText(FSelectedLabel, FModel.SelectedLabel());
}

bool TURIDSelectorForm::ShowSelection(HTREEITEM AItem) {
  if (!AItem) return false;
  TVITEMW item{};
  item.mask = TVIF_PARAM;
  item.hItem = AItem;
  if (!SendMessageW(FTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) || item.lParam == 0) return false;
  if (item.lParam < 0) FModel.ShowSensor(static_cast<size_t>(-item.lParam - 1));
  else FModel.ShowEntry(static_cast<size_t>(item.lParam - 1));
  UpdateFields();
  return true;
}

void TURIDSelectorForm::UserSelected(HTREEITEM AItem) {
  if (!ShowSelection(AItem)) return;
  if (FCustomReadingListEditor) FCustomReadingListEditor->SelectURID(FModel.SelectedURID());
}

void TURIDSelectorForm::SelectURID(const TQD_URID& AURID) {
  const int entry = FModel.SelectURID(AURID);
  if (entry >= 0 && static_cast<size_t>(entry) < FEntryNodes.size()) {
    // A programmatic selection: TVN_SELCHANGED says TVC_UNKNOWN and is not
    // written back into the editor it came from.
    const HTREEITEM node = FEntryNodes[static_cast<size_t>(entry)];
    SendMessageW(FTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    SendMessageW(FTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    SetFocus(FTree);
  }
  UpdateFields();
}

bool TURIDSelectorForm::HandleTreeNotify(const NMHDR& AHeader) {
  switch (AHeader.code) {
    case TVN_SELCHANGEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(AHeader);
      if (change.action == TVC_BYMOUSE || change.action == TVC_BYKEYBOARD) UserSelected(change.itemNew.hItem);
      return true;
    }
    case NM_CLICK: {
      // A click on the node already selected changes nothing, so no
      // TVN_SELCHANGED follows; it still shows and passes the node.
      TVHITTESTINFO hit{};
      hit.pt = MessagePointIn(FTree);
      const auto item = reinterpret_cast<HTREEITEM>(SendMessageW(FTree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      const auto selected =
          reinterpret_cast<HTREEITEM>(SendMessageW(FTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
      if (item && (hit.flags & TVHT_ONITEM) && item == selected) UserSelected(item);
      return true;
    }
    default:
      return false;
  }
}

bool TURIDSelectorForm::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  switch (AMessage) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(ALParam);
      if (header && header->hwndFrom == FTree && HandleTreeNotify(*header)) {
        AResult = 0;
        return true;
      }
      return false;
    }
    case WM_COMMAND:
      if (LOWORD(AWParam) == uidReloadButton && HIWORD(AWParam) == BN_CLICKED) {
        BuildTree();
        AResult = 0;
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC: {
      // Read-only edits ask here too; they keep the window colour of a field.
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(ALParam));
      if (id < FieldControlID(0) || id >= FieldControlID(ufFieldCount)) return false;
      SetBkColor(reinterpret_cast<HDC>(AWParam), GetSysColor(COLOR_WINDOW));
      AResult = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));  // a system brush, never freed
      return true;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(ALParam);
      info->ptMinTrackSize = {ScaleToDPI(URIDSelectorMinWidth96, DPI()), ScaleToDPI(URIDSelectorMinHeight96, DPI())};
      AResult = 0;
      return true;
    }
    case WM_SIZE:
      if (FTree) LayoutControls();
      AResult = 0;
      return true;
    case WM_CLOSE: {
      if (!OnClose) return false;
      // The handler destroys this form: call a copy, then touch nothing.
      const std::function<void()> close = OnClose;
      AResult = 0;
      close();
      return true;
    }
    default:
      return false;
  }
}

void TURIDSelectorForm::DpiChanging(int, int) {
  // The move to the new monitor resizes every control: no half-scaled frames.
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TURIDSelectorForm::DpiChanged(int, int ANewDPI) {
  // The old fonts go only once no control uses them any more.
  TQD_FontHandle oldFont = std::exchange(FFont, CreateTahoma8(ANewDPI));
  TQD_FontHandle oldBold = std::exchange(FBoldFont, CreateTahoma8(ANewDPI, true));
  ApplyFonts();
  SendMessageW(FTree, TVM_SETINDENT, static_cast<WPARAM>(ScaleToDPI(kTreeIndent96, ANewDPI)), 0);
  LayoutControls();
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// --- owner's slot -----------------------------------------------------------

void TQD_SharedMemoryViewerSlot::Enable(TQD_DataLogger* ADataLogger) {
  if (!FForm) {
    FForm = std::make_unique<TURIDSelectorForm>(FOwner, ADataLogger);
    FForm->OnClose = [this] {
      if (DisableAction) DisableAction->Execute();
      else Disable();
    };
    FForm->Show();
  }
  if (OnToggle) OnToggle(true);
}

void TQD_SharedMemoryViewerSlot::Disable() {
  FForm.reset();
  if (OnToggle) OnToggle(false);
}
