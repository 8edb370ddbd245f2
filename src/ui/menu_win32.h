// Popup menus bound to actions. The HMENU is built from a popup-menu model
// each time the menu is shown, so captions and states are those of the
// moment: a disabled action is grayed, a hidden one left out (with the
// separators that would then dangle), a checked one ticked. Command IDs are
// positions in the built menu; ExecuteCommand maps one back to its action.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "ui/action.h"
#include "base/win32_handles_win32.h"

class TQD_PopupMenu {
 public:
  // The first command ID; 0 is what TrackPopupMenu returns for "nothing".
  static constexpr UINT FirstCommandID = 1;

  // AModel must outlive the menu.
  explicit TQD_PopupMenu(const TQD_PopupMenuModel& AModel) : FModel(AModel) {}

  // The picture of an action's ImageIndex beside its item; null for none.
  // The bitmaps stay the caller's and must outlive every Show.
  std::function<HBITMAP(int AImageIndex)> Images;

  // Builds a fresh popup HMENU from the model's current state and remembers
  // which command ID stands for which action. Throws std::runtime_error with
  // the system's reason when a menu call fails.
  TQD_MenuHandle Build();
  // Runs the action of a command ID of the last Build; returns whether an
  // action ran (false for unknown IDs and for disabled or hidden actions).
  bool ExecuteCommand(UINT ACommandID);

  struct TShowOptions {
    // For the notification-area icon: the owner must be the foreground window
    // while the menu tracks, or the menu does not close when the user clicks
    // elsewhere; a WM_NULL posted afterwards lets the next menu open at once.
    bool ForNotifyIcon = false;
    // Where the menu opens, in screen coordinates; the cursor position when
    // unset (a WM_CONTEXTMENU from the keyboard carries no position).
    std::optional<POINT> Position;
  };
  // Builds the menu, tracks it at the position (or the cursor) for AOwner and runs the chosen
  // action. Returns whether an action ran. The action may destroy AOwner or
  // the object that called Show: callers touch nothing of theirs after it.
  bool Show(HWND AOwner, const TShowOptions& AOptions);
  bool Show(HWND AOwner) { return Show(AOwner, TShowOptions{}); }

 private:
  const TQD_PopupMenuModel& FModel;
  std::vector<TQD_PopupMenuItem> FVisible;  // reused between builds
  std::vector<TQD_Action*> FCommands;       // index = command ID - FirstCommandID
};
