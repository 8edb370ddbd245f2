// The shared memory viewer's window, "Quendal - HWiNFO Shared Memory Viewer":
// a tree of every sensor and reading of the last successful HWiNFO poll, the
// details of the selected node in read-only fields, and the identifier of the
// selected reading. Everything it shows comes from TURIDSelectorModel; this
// file only mirrors the model into common controls and turns clicks and keys
// into model calls.
//
// Ownership: the control panel creates the form with its Enable shared memory
// viewer action and destroys it with its Disable action. The close box does
// not destroy the window itself: it runs OnClose, which the owner binds to
// its Disable action, so the toggle switch follows. TQD_SharedMemoryViewerSlot
// below is that owner's half, ready to be bound to the two actions.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <commctrl.h>

#include "ui/action.h"
#include "base/win32_handles_win32.h"
#include "collector/data_logger.h"
#include "readings/urid_link.h"
#include "readings/urid_selector_model.h"
#include "ui/window_win32.h"

inline constexpr wchar_t URIDSelectorFormCaption[] = L"Quendal - HWiNFO Shared Memory Viewer";

// Child control IDs, for tests and UI automation.
enum TURIDSelectorControlID : int {
  uidTreeView = 100,
  uidReloadButton = 101,
  uidSelectedURIDLabel = 102,
  uidSensorGroup = 103,
  uidEntryGroup = 104,
  uidSelectedURIDGroup = 105,
  uidFirstField = 110,    // + TURIDSelectorField
  uidFirstCaption = 130,  // + TURIDSelectorCaption
};
constexpr int FieldControlID(int AField) { return static_cast<int>(uidFirstField) + AField; }
constexpr int CaptionControlID(int ACaption) { return static_cast<int>(uidFirstCaption) + ACaption; }

class TURIDSelectorForm final : public TQD_Window, public TQD_URIDSelector {
 public:
  // Creates the window hidden, owned by AOwner (the control panel's window).
  TURIDSelectorForm(HWND AOwner, TQD_DataLogger* ADataLogger);
  ~TURIDSelectorForm() override;

  // Shows the window and builds the tree, as every showing does.
  void Show();
  // "Reload": rebuilds the tree from the data logger's lists.
  void BuildTree();

  void SelectURID(const TQD_URID& AURID) override;
  TQD_URIDReceiver* CustomReadingListEditor() const override { return FCustomReadingListEditor; }
  void SetCustomReadingListEditor(TQD_URIDReceiver* AEditor) override { FCustomReadingListEditor = AEditor; }

  TQD_DataLogger* DataLogger() const { return FDataLogger; }
  void SetDataLogger(TQD_DataLogger* AValue) { FDataLogger = AValue; }

  // The close box. It may destroy this form; the form touches nothing of
  // its own after calling it. Unset, the close box destroys the window.
  std::function<void()> OnClose;

  const TURIDSelectorModel& Model() const { return FModel; }
  HWND TreeView() const { return FTree; }
  // Time of the last tree build, model and tree view, in microseconds.
  double LastBuildMicroseconds() const { return FLastBuildMicroseconds; }

 protected:
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;
  void PrepareClass(WNDCLASSEXW& AClass) override;
  void DpiChanging(int AOldDPI, int ANewDPI) override;
  void DpiChanged(int AOldDPI, int ANewDPI) override;

 private:
  void CreateControls();
  void ApplyFonts();
  void LayoutControls();
  // Mirrors the model's details and label into the fields.
  void UpdateFields();
  // The node's item shown; true when it carried one.
  bool ShowSelection(HTREEITEM AItem);
  // After a click or key: show, and write into the linked editor.
  void UserSelected(HTREEITEM AItem);
  bool HandleTreeNotify(const NMHDR& AHeader);

  TQD_DataLogger* FDataLogger;
  TQD_URIDReceiver* FCustomReadingListEditor = nullptr;
  TURIDSelectorModel FModel;
  // One node per sensor (tree_nodes) and per entry, by model index.
  std::vector<HTREEITEM> tree_nodes;
  std::vector<HTREEITEM> FEntryNodes;
  double FLastBuildMicroseconds = 0;

  TQD_FontHandle FFont;
  TQD_FontHandle FBoldFont;
  // Child controls, destroyed with the window.
  HWND FTree = nullptr;
  HWND FReloadButton = nullptr;
  HWND FSensorGroup = nullptr;
  HWND FEntryGroup = nullptr;
  HWND FSelectedGroup = nullptr;
  HWND FSelectedLabel = nullptr;
  std::array<HWND, ufFieldCount> FFields{};
  std::array<HWND, ucCaptionCount> FCaptions{};
};

// The owner's half: at most one viewer, created by Enable and destroyed by
// Disable. The control panel binds its Enable/Disable shared memory viewer
// actions to these and sets DisableAction, which the close box runs, and
// OnToggle, which sets its toggle switch.
class TQD_SharedMemoryViewerSlot {
 public:
  explicit TQD_SharedMemoryViewerSlot(HWND AOwner) : FOwner(AOwner) {}
  ~TQD_SharedMemoryViewerSlot() { FForm.reset(); }

  // Creates the viewer with the data logger and shows it, unless one exists.
  void Enable(TQD_DataLogger* ADataLogger);
  // Destroys the viewer; no viewer is no error.
  void Disable();
  TURIDSelectorForm* Form() const { return FForm.get(); }

  // Run by the viewer's close box; unset, the close box runs Disable.
  TQD_Action* DisableAction = nullptr;
  // After Enable and Disable: whether a viewer exists now.
  std::function<void(bool AOn)> OnToggle;

 private:
  HWND FOwner;
  std::unique_ptr<TURIDSelectorForm> FForm;
};
