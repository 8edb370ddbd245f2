// TQD_CustomReadingListEditor: the panel a monitor settings dialog places on
// its custom readings tab. A group box "Custom Sensor Readings" holding the
// five-column table (a report-mode list view, drawn by us through custom
// draw: grey-to-white header gradient, lines between cells, whole-row
// selection), the five buttons and the hidden edit box for a "Parameters"
// cell. All rules live in TQD_CustomReadingListEditorModel; this window
// mirrors its rows and forwards clicks, keys and focus to it.
//
// Any window can host it: the editor fills its parent's client area, less a
// margin, at creation and on AlignToParent (call it from the parent's
// WM_SIZE). The host's message loop should let IsDialogMessage see its keys
// (the panel is a WS_EX_CONTROLPARENT), so Tab reaches the table, every
// button and the edit box.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <utility>

#include "ui/action.h"
#include "base/win32_handles_win32.h"
#include "collector/data_logger.h"
#include "readings/custom_reading_list_editor.h"
#include "readings/custom_readings_list.h"
#include "readings/urid_link.h"
#include "ui/window_win32.h"

// Child control IDs, for tests and UI automation.
enum TQD_EditorControlID : int {
  eidGroup = 200,
  eidStringGrid = 201,
  eidEdit = 202,
  eidAddBtn = 210,
  eidAddDividerBtn,
  eidRemoveBtn,
  eidUpBtn,
  eidDownBtn,
};

class TQD_CustomReadingListEditor final : public TQD_Window {
 public:
  // Builds the whole panel on AParent.
  explicit TQD_CustomReadingListEditor(HWND AParent);
  ~TQD_CustomReadingListEditor() override;

  // Fills the table from CustomReadingsList (set it and DataLogger first).
  void Init() { FModel.Init(); }
  // Rewrites CustomReadingsList from the table.
  void ApplySelection() { FModel.ApplySelection(); }
  // From the linked viewer: the identifier into the current row.
  void SelectURID(const TQD_URID& AURID) { FModel.SelectURID(AURID); }

  void SetDataLogger(TQD_DataLogger* AValue) { FModel.DataLogger = AValue; }
  void SetCustomReadingsList(TQD_CustomReadingsList* AValue) { FModel.CustomReadingsList = AValue; }
  void SetOpenURIDSelectorAction(TQD_Action* AValue) { FModel.OpenURIDSelectorAction = AValue; }
  void SetCloseURIDSelectorAction(TQD_Action* AValue) { FModel.CloseURIDSelectorAction = AValue; }
  // How the editor finds the viewer the open action made (the owner's slot).
  void SetURIDSelectorSource(std::function<TQD_URIDSelector*()> ASource) {
    FModel.URIDSelector = std::move(ASource);
  }

  // Fills the parent's client area again, less the margin.
  void AlignToParent();

  TQD_CustomReadingListEditorModel& Model() { return FModel; }
  HWND StringGrid() const { return FStringGrid; }
  HWND EditBox() const { return FEdit; }
  HWND ToolTip() const { return FToolTip.Get(); }

 protected:
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;
  void PrepareClass(WNDCLASSEXW& AClass) override;

 private:
  // S: 8 pixels at the panel's DPI, the unit of its geometry.
  int S() const;
  void RescaleToDPI(int ANewDPI);
  void CreateControls();
  void LayoutControls();
  // The list view shows the model's rows and current row.
  void SyncRows();
  void OpenParameterEdit(int ARow);
  void CloseParameterEdit();
  bool HandleGridNotify(const NMHDR& AHeader, LRESULT& AResult);
  LRESULT CustomDrawGrid(NMHDR& AHeader);
  LRESULT CustomDrawHeader(NMHDR& AHeader);
  static LRESULT CALLBACK EditSubclassProc(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam,
                                           UINT_PTR AID, DWORD_PTR AData);
  static LRESULT CALLBACK GridSubclassProc(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam,
                                           UINT_PTR AID, DWORD_PTR AData);

  TQD_CustomReadingListEditorModel FModel;
  TQD_FontHandle FFont;
  HWND FGroup = nullptr;
  HWND FStringGrid = nullptr;
  HWND FHeader = nullptr;
  HWND FEdit = nullptr;
  std::array<HWND, 5> FButtons{};  // FAddBtn, FAddDividerBtn, FRemoveBtn, FUpBtn, FDownBtn
  // A popup owned by a child reaches the top-level window: destroyed by us.
  TQD_WindowHandle FToolTip;
  int FDpi = 96;
  bool FSyncing = false;  // programmatic selection changes are not user selections
  int FEditRow = -1;
};
