// The shared memory viewer and the custom reading list editor as real
// windows under Wine, against a block sensorfeed publishes: the tree holds
// one root per sensor and one child per reading, a click fills the details,
// "Reload" after the publisher stopped empties the tree, the close box runs
// the owner's Disable action; an editor on a test window links itself to the
// viewer it opens, takes the picked reading into its current row, and the
// applied list reaches the registry.
//
// QUENDAL_SCREENSHOT_PAUSE_MS=N pauses N ms with each window on screen, for
// `import -window root`. The tree-build timing is printed, never asserted.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pump_win32.h"
#include "child_process_win32.h"
#include "collector/data_logger.h"
#include "collector/shared_memory_win32.h"
#include "readings/child_controls_win32.h"
#include "readings/custom_reading_list_editor_win32.h"
#include "readings/urid_selector_form_win32.h"
#include "settings/registry_store_win32.h"
#include "sim/fake_ports.h"
#include "ui/message_loop_win32.h"
#include "ui/window_win32.h"

namespace {

// sensorfeed publishing a profile, and a logger on the real shared memory
// that has polled it successfully.
struct TFeed {
  TFakeCollector Fakes;
  TQD_SharedMemoryWin32 Memory;
  TStopEvent Stop;
  std::unique_ptr<TChild> Publisher;
  std::unique_ptr<TQD_DataLogger> Logger;

  explicit TFeed(const wchar_t* AProfile) {
    Publisher = std::make_unique<TChild>(std::wstring(L"publish --interval 500 --profile ") + AProfile + Stop.Arg());
    TQD_CollectorPorts ports = Fakes.Ports();
    ports.SharedMemory = &Memory;
    Logger = std::make_unique<TQD_DataLogger>(ports, false, 180, 2000);
    EXPECT_TRUE(PollUntil(true)) << "sensorfeed said: " << Publisher->Output();
  }
  ~TFeed() {
    Stop.Set();
    Publisher->Wait(10000);
  }
  // Polls until the status is (or is no longer) 0.
  bool PollUntil(bool AOK) {
    for (int i = 0; i < 300; ++i) {
      Logger->HWiPolling();
      if ((Logger->LastHWiPollingStatus() == hwsOK) == AOK) return true;
      Sleep(100);
    }
    return false;
  }
  void StopPublishing() {
    Stop.Set();
    EXPECT_EQ(Publisher->Wait(10000), 0);
    EXPECT_TRUE(PollUntil(false));
  }
};

// The owner's side as the control panel will have it: a slot, its two
// actions and a toggle switch.
struct TOwner {
  TQD_SharedMemoryViewerSlot Slot{nullptr};
  TQD_DataLogger* Logger;
  bool Toggle = false;
  int Disables = 0;
  TQD_Action Enable{"EnableSharedMemoryViewer", "Enable shared memory viewer", [this] { Slot.Enable(Logger); }};
  TQD_Action Disable{"DisableSharedMemoryViewer", "Disable shared memory viewer", [this] {
                       ++Disables;
                       Slot.Disable();
                     }};
  explicit TOwner(TQD_DataLogger* ALogger) : Logger(ALogger) {
    Slot.DisableAction = &Disable;
    Slot.OnToggle = [this](bool AOn) { Toggle = AOn; };
  }
};

std::string Field(const TURIDSelectorForm& AForm, int AID) { return GetControlText(GetDlgItem(AForm.Handle(), AID)); }

std::vector<HTREEITEM> TreeChildren(HWND ATree, HTREEITEM AParent) {
  std::vector<HTREEITEM> items;
  auto item = reinterpret_cast<HTREEITEM>(
      SendMessageW(ATree, TVM_GETNEXTITEM, AParent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(AParent)));
  for (; item; item = reinterpret_cast<HTREEITEM>(
                   SendMessageW(ATree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
    items.push_back(item);
  return items;
}

std::string TreeText(HWND ATree, HTREEITEM AItem) {
  wchar_t text[256] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = AItem;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(ATree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return WideToUtf8(text, wcslen(text));
}

// A left click as the mouse makes it: the cursor there, press and release.
void Click(HWND AWindow, POINT AClient) {
  POINT screen = AClient;
  ClientToScreen(AWindow, &screen);
  SetCursorPos(screen.x, screen.y);
  const LPARAM at = MAKELPARAM(AClient.x, AClient.y);
  PostMessageW(AWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(AWindow, WM_LBUTTONUP, 0, at);
  PumpFor(200);
}

void ClickTreeItem(HWND ATree, HTREEITEM AItem) {
  SendMessageW(ATree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(AItem));
  RECT r{};
  std::memcpy(&r, &AItem, sizeof AItem);  // TVM_GETITEMRECT takes the item in the rect
  ASSERT_TRUE(SendMessageW(ATree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  Click(ATree, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

HTREEITEM Selection(HWND ATree) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(ATree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

}  // namespace

TEST(SharedMemoryViewer, TreeDetailsReloadAndClose) {
  TFeed feed(L"intel-hybrid");
  TQD_DataLogger& logger = *feed.Logger;
  TOwner owner(&logger);
  owner.Enable.Execute();
  TURIDSelectorForm* form = owner.Slot.Form();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(owner.Toggle);
  const HWND window = form->Handle();
  EXPECT_TRUE(IsWindowVisible(window));
  wchar_t caption[128] = {};
  GetWindowTextW(window, caption, 128);
  EXPECT_STREQ(caption, L"Quendal - HWiNFO Shared Memory Viewer");
  // The design's client size, unless the minimum window size asks for more
  // (Wine's frame is thinner than the one the two sizes were made for).
  RECT client{}, outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  const int frameW = outer.right - outer.left - client.right, frameH = outer.bottom - outer.top - client.bottom;
  EXPECT_EQ(client.right, std::max(MulDiv(524, form->DPI(), 96), MulDiv(540, form->DPI(), 96) - frameW));
  EXPECT_EQ(client.bottom, std::max(MulDiv(531, form->DPI(), 96), MulDiv(570, form->DPI(), 96) - frameH));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->TreeView(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, L"Tahoma");
  EXPECT_EQ(font.lfHeight, -MulDiv(8, form->DPI(), 72));
  EXPECT_EQ(SendMessageW(form->TreeView(), TVM_GETINDENT, 0, 0), MulDiv(19, form->DPI(), 96));
  // Keyboard users reach the fields from the tree.
  EXPECT_EQ(GetNextDlgTabItem(window, form->TreeView(), FALSE), GetDlgItem(window, FieldControlID(0)));

  // One root per sensor with its user name, one child per reading.
  const HWND tree = form->TreeView();
  const TQD_SensorList& sensors = logger.SensorList();
  const TQD_ReadingsList& readings = logger.ReadingList();
  const std::vector<HTREEITEM> roots = TreeChildren(tree, nullptr);
  ASSERT_EQ(roots.size(), sensors.size());
  size_t children = 0;
  for (size_t s = 0; s < roots.size(); ++s) {
    EXPECT_EQ(TreeText(tree, roots[s]), sensors[s].szSensorNameUser);
    const size_t expected = static_cast<size_t>(std::count_if(
        readings.begin() + 1, readings.end(), [&](const TQD_ReadingsListItem& r) { return r.dwSensorIndex == s; }));
    EXPECT_EQ(TreeChildren(tree, roots[s]).size(), expected) << sensors[s].szSensorNameUser;
    children += expected;
  }
  EXPECT_EQ(children, readings.size() - 1);
  EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), static_cast<LRESULT>(sensors.size() + readings.size() - 1));
  EXPECT_EQ(Field(*form, uidSelectedURIDLabel), "-");

  // A click on a reading fills every field from the snapshot of the build.
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(roots[0]));
  const HTREEITEM second = TreeChildren(tree, roots[0]).at(1);
  ClickTreeItem(tree, second);
  ASSERT_EQ(Selection(tree), second);
  const TQD_ReadingsListItem& r = form->Model().EntryItems()[form->Model().Children()[0][1]].Data;
  EXPECT_EQ(Field(*form, FieldControlID(ufSensorCurrentName)), r.szSensorNameUser);
  EXPECT_EQ(Field(*form, FieldControlID(ufSensorID)), SensorIDText(r.dwSensorID));
  EXPECT_EQ(Field(*form, FieldControlID(ufEntryOriginalName)), r.szLabelOrig);
  EXPECT_EQ(Field(*form, FieldControlID(ufEntryType)), ReadingTypeName(r.tReading));
  EXPECT_EQ(Field(*form, FieldControlID(ufEntryUnit)), r.szUnit);
  EXPECT_EQ(Field(*form, FieldControlID(ufCurrentValue)), FormatDetailValue(r.Value));
  EXPECT_EQ(Field(*form, FieldControlID(ufAverageValue)), FormatDetailValue(r.ValueAvg));
  EXPECT_EQ(Field(*form, uidSelectedURIDLabel), URIDToText(r.URID()));
  PauseForScreenshot("viewer with a reading selected");

  // The keyboard moves to the sensor node above: entry fields empty, "-".
  SetFocus(tree);
  SendMessageW(tree, WM_KEYDOWN, VK_UP, 0);
  SendMessageW(tree, WM_KEYDOWN, VK_UP, 0);
  PumpFor();
  ASSERT_EQ(Selection(tree), roots[0]);
  EXPECT_EQ(Field(*form, FieldControlID(ufSensorOriginalName)), sensors[0].szSensorNameOrig);
  EXPECT_EQ(Field(*form, FieldControlID(ufEntryOriginalName)), "");
  EXPECT_EQ(Field(*form, FieldControlID(ufCurrentValue)), "");
  EXPECT_EQ(Field(*form, uidSelectedURIDLabel), "-");

  // Moved to a 144 DPI monitor: drawing is locked for the move and back on
  // afterwards, fonts, indent and minimum size follow the new DPI.
  RECT suggested{outer.left, outer.top, outer.left + 810, outer.top + 855};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(SendMessageW(tree, TVM_GETINDENT, 0, 0), 29);
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(tree, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -16);
  MINMAXINFO limits{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 810);
  EXPECT_EQ(limits.ptMinTrackSize.y, 855);

  // HWiNFO goes away; "Reload" empties the tree.
  feed.StopPublishing();
  SendMessageW(GetDlgItem(window, uidReloadButton), BM_CLICK, 0, 0);
  PumpFor();
  EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Field(*form, FieldControlID(ufSensorOriginalName)), "");

  // The close box runs the owner's Disable action: window gone, toggle off.
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpFor(200);
  EXPECT_EQ(owner.Disables, 1);
  EXPECT_EQ(owner.Slot.Form(), nullptr);
  EXPECT_FALSE(owner.Toggle);
  EXPECT_FALSE(IsWindow(window));
}

TEST(SharedMemoryViewer, TreeBuildTimeOnTheServerProfile) {
  TFeed feed(L"server");
  TQD_DataLogger& logger = *feed.Logger;
  LARGE_INTEGER f{}, a{}, b{};
  QueryPerformanceFrequency(&f);
  std::vector<double> polls, builds;
  TOwner owner(&logger);
  owner.Enable.Execute();
  ASSERT_NE(owner.Slot.Form(), nullptr);
  for (int i = 0; i < 9; ++i) {
    QueryPerformanceCounter(&a);
    logger.HWiPolling();
    QueryPerformanceCounter(&b);
    polls.push_back(static_cast<double>(b.QuadPart - a.QuadPart) * 1e3 / static_cast<double>(f.QuadPart));
    owner.Slot.Form()->BuildTree();
    builds.push_back(owner.Slot.Form()->LastBuildMicroseconds() / 1e3);
  }
  EXPECT_EQ(SendMessageW(owner.Slot.Form()->TreeView(), TVM_GETCOUNT, 0, 0),
            static_cast<LRESULT>(logger.SensorList().size() + logger.ReadingList().size() - 1));
  std::sort(polls.begin(), polls.end());
  std::sort(builds.begin(), builds.end());
  std::printf("server profile, %zu sensors, %zu readings: tree build median %.2f ms (min %.2f, max %.2f); "
              "HWiNFO poll (block copy) median %.2f ms\n",
              logger.SensorList().size(), logger.ReadingList().size() - 1, builds[4], builds.front(), builds.back(),
              polls[4]);
  std::fflush(stdout);
}

namespace {

// A plain window hosting the editor, as a settings dialog's tab will.
class THostWindow final : public TQD_Window {
 public:
  THostWindow() : TQD_Window(L"QuendalEditorTestHost") {
    TQD_WindowCreateParams p;
    p.Caption = L"Custom readings editor test";
    p.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_CONTROLPARENT;
    p.Left = 560;
    p.Top = 40;
    p.Width = 820;
    p.Height = 360;
    Create(p);
    Editor = std::make_unique<TQD_CustomReadingListEditor>(Handle());
    ShowWindow(Handle(), SW_SHOW);
  }
  ~THostWindow() override {
    Editor.reset();
    Destroy();
  }
  std::unique_ptr<TQD_CustomReadingListEditor> Editor;

 protected:
  void PrepareClass(WNDCLASSEXW& AClass) override { AClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1); }
  bool HandleMessage(UINT AMessage, WPARAM, LPARAM, LRESULT& AResult) override {
    if (AMessage != WM_SIZE || !Editor) return false;
    Editor->AlignToParent();
    AResult = 0;
    return true;
  }
};

std::string CellText(HWND AList, int ARow, int AColumn) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = AColumn;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(AList, LVM_GETITEMTEXTW, static_cast<WPARAM>(ARow), reinterpret_cast<LPARAM>(&item));
  return WideToUtf8(text, wcslen(text));
}

POINT CellCentre(HWND AList, int ARow, int AColumn) {
  RECT r{};
  r.top = AColumn;
  r.left = LVIR_BOUNDS;
  SendMessageW(AList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(ARow), reinterpret_cast<LPARAM>(&r));
  if (AColumn == 0) r.right = r.left + static_cast<int>(SendMessageW(AList, LVM_GETCOLUMNWIDTH, 0, 0));
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

TEST(CustomReadingListEditor, PickApplyAndSave) {
  TFeed feed(L"intel-hybrid");
  TQD_DataLogger& logger = *feed.Logger;
  const TQD_ReadingsList& readings = logger.ReadingList();
  TOwner owner(&logger);
  TQD_CustomReadingsList list("\\ViewerTestCustomReadings");
  list.Add(readings[1].URID(), "C=4");
  list.Add(readings[2].URID(), "");
  list.CreateDivider();
  list.Add(readings[3].URID(), "V=MAX");

  THostWindow host;
  TQD_CustomReadingListEditor& editor = *host.Editor;
  editor.SetDataLogger(&logger);
  editor.SetCustomReadingsList(&list);
  editor.SetOpenURIDSelectorAction(&owner.Enable);
  editor.SetCloseURIDSelectorAction(&owner.Disable);
  editor.SetURIDSelectorSource([&owner]() -> TQD_URIDSelector* { return owner.Slot.Form(); });
  editor.Init();
  PumpFor();

  const HWND grid = editor.StringGrid();
  ASSERT_EQ(SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(CellText(grid, 0, ecSensorID), SensorIDText(readings[1].dwSensorID));
  EXPECT_EQ(CellText(grid, 0, ecDescription), readings[1].szLabelUser);
  EXPECT_EQ(CellText(grid, 0, ecParameters), "C=4");
  EXPECT_EQ(CellText(grid, 2, ecSensorID), "-");
  EXPECT_EQ(CellText(grid, 2, ecDescription), "Divider");
  // The header's grey-to-white gradient reaches the screen.
  const HWND header = reinterpret_cast<HWND>(SendMessageW(grid, LVM_GETHEADER, 0, 0));
  RECT headerRect{};
  GetClientRect(header, &headerRect);
  HDC headerDC = GetDC(header);
  const COLORREF top = GetPixel(headerDC, 20, 0), bottom = GetPixel(headerDC, 20, headerRect.bottom - 1);
  ReleaseDC(header, headerDC);
  EXPECT_LT(GetRValue(top), 0xA0) << std::hex << top;
  EXPECT_GT(GetRValue(bottom), 0xE0) << std::hex << bottom;
  // Nothing selected and no viewer before the table has had the focus.
  EXPECT_EQ(SendMessageW(grid, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  EXPECT_EQ(owner.Slot.Form(), nullptr);

  // Captions, the hidden edit box with its hint, and a Tab order through all.
  const wchar_t* const buttons[] = {L"+ Add", L"+ Add divider", L"- Remove", L"\u25B2  Up", L"\u25BC  Down"};
  HWND previous = grid;
  for (int b = 0; b < 5; ++b) {
    const HWND button = GetDlgItem(editor.Handle(), eidAddBtn + b);
    wchar_t text[64] = {};
    GetWindowTextW(button, text, 64);
    EXPECT_STREQ(text, buttons[b]);
    EXPECT_EQ(GetNextDlgTabItem(host.Handle(), previous, FALSE), button);
    previous = button;
  }
  EXPECT_FALSE(IsWindowVisible(editor.EditBox()));
  wchar_t hint[1024] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = editor.Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(editor.EditBox());
  tool.lpszText = hint;
  SendMessageW(editor.ToolTip(), TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(WideToUtf8(hint, wcslen(hint)), CustomReadingsParametersHelp);

  // A click on the second row: the viewer opens, linked, showing that reading.
  SetFocus(grid);
  Click(grid, CellCentre(grid, 1, ecDescription));
  ASSERT_EQ(editor.Model().Row(), 1);
  TURIDSelectorForm* viewer = owner.Slot.Form();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(owner.Toggle);
  EXPECT_EQ(viewer->CustomReadingListEditor(), &editor.Model());
  EXPECT_EQ(viewer->Model().SelectedURID(), readings[2].URID());
  EXPECT_EQ(Field(*viewer, FieldControlID(ufEntryCurrentName)), readings[2].szLabelUser);

  // Picking another reading in the viewer writes it into that row.
  const HWND tree = viewer->TreeView();
  const std::vector<HTREEITEM> roots = TreeChildren(tree, nullptr);
  const HTREEITEM last = roots.back();
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(last));
  const HTREEITEM pick = TreeChildren(tree, last).front();
  ClickTreeItem(tree, pick);
  const TQD_URID picked = viewer->Model().SelectedURID();
  ASSERT_FALSE(URIDIsEmpty(picked));
  EXPECT_EQ(CellText(grid, 1, ecSensorID), SensorIDText(picked.dwSensorID));
  EXPECT_EQ(CellText(grid, 1, ecInstanceID), SensorInstText(picked.dwSensorInst));
  EXPECT_EQ(CellText(grid, 1, ecReadingID), ReadingIDText(picked.dwReadingID));
  EXPECT_EQ(CellText(grid, 1, ecDescription), TreeText(tree, pick));

  // The "Parameters" cell opens the edit box over it; leaving it writes back.
  Click(grid, CellCentre(grid, 1, ecParameters));
  ASSERT_TRUE(IsWindowVisible(editor.EditBox()));
  SetWindowTextW(editor.EditBox(), L"T=90;F=LG");
  SetFocus(grid);
  PumpFor();
  EXPECT_FALSE(IsWindowVisible(editor.EditBox()));
  EXPECT_EQ(CellText(grid, 1, ecParameters), "T=90;F=LG");
  // From the keyboard: F2 opens the box, Escape drops the change, Enter keeps one.
  SetFocus(grid);
  SendMessageW(grid, WM_KEYDOWN, VK_F2, 0);
  PumpFor();
  ASSERT_EQ(GetFocus(), editor.EditBox());
  SetWindowTextW(editor.EditBox(), L"dropped");
  SendMessageW(editor.EditBox(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpFor();
  EXPECT_EQ(GetFocus(), grid);
  EXPECT_EQ(CellText(grid, 1, ecParameters), "T=90;F=LG");
  SendMessageW(grid, WM_KEYDOWN, VK_F2, 0);
  PumpFor();
  SetWindowTextW(editor.EditBox(), L"T=90;F=LG;C=3");
  SendMessageW(editor.EditBox(), WM_KEYDOWN, VK_RETURN, 0);
  PumpFor();
  EXPECT_EQ(CellText(grid, 1, ecParameters), "T=90;F=LG;C=3");
  PauseForScreenshot("editor and linked viewer");

  editor.ApplySelection();
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Items()[1].URID, picked);
  EXPECT_EQ(list.Items()[1].Parameters, "T=90;F=LG;C=3");
  EXPECT_TRUE(URIDIsDivider(list.Items()[2].URID));

  // What the program does at exit: the list into the registry.
  TQD_RegistryStoreWin32 registry;
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quendal\\ViewerTestCustomReadings");
  list.SaveToRegistry(registry);
  TQD_CustomReadingsList stored("\\ViewerTestCustomReadings");
  stored.LoadFromRegistry(registry);
  ASSERT_EQ(stored.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(stored.Items()[static_cast<size_t>(i)].URID, list.Items()[static_cast<size_t>(i)].URID) << i;
    EXPECT_EQ(stored.Items()[static_cast<size_t>(i)].Parameters, list.Items()[static_cast<size_t>(i)].Parameters) << i;
  }
  EXPECT_EQ(RegReadString(registry, "Software\\Quendal\\ViewerTestCustomReadings", "01_dwReadingID", ""),
            ReadingIDText(picked.dwReadingID));
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quendal\\ViewerTestCustomReadings");

  // The editor goes first (as with its dialog): the viewer is unlinked.
  host.Editor.reset();
  EXPECT_EQ(viewer->CustomReadingListEditor(), nullptr);
  owner.Disable.Execute();
}
