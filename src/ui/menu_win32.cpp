// TQD_PopupMenu; see menu_win32.h.
#include "ui/menu_win32.h"

#include <stdexcept>
#include <string>

#include "base/win32_handles_win32.h"

namespace {

[[noreturn]] void ThrowMenuError(const char* AWhat) {
  throw std::runtime_error(std::string(AWhat) + ": " + SystemErrorText(GetLastError()));
}

}  // namespace

TQD_MenuHandle TQD_PopupMenu::Build() {
  FCommands.clear();
  TQD_MenuHandle menu(CreatePopupMenu());
  if (!menu) ThrowMenuError("Cannot create a popup menu");
  FModel.VisibleItems(FVisible);
  for (const TQD_PopupMenuItem& item : FVisible) {
    if (item.IsSeparator()) {
      if (!AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr)) ThrowMenuError("Cannot add a menu separator");
      continue;
    }
    const TQD_Action& action = *item.Action;
    UINT flags = MF_STRING;
    if (!action.Enabled) flags |= MF_GRAYED;
    if (action.Checked) flags |= MF_CHECKED;
    const UINT id = FirstCommandID + static_cast<UINT>(FCommands.size());
    if (!AppendMenuW(menu.Get(), flags, id, Utf8ToWide(action.Caption).c_str()))
      ThrowMenuError("Cannot add a menu item");
    if (HBITMAP image = Images && action.ImageIndex >= 0 ? Images(action.ImageIndex) : nullptr) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_BITMAP;
      info.hbmpItem = image;
      SetMenuItemInfoW(menu.Get(), id, FALSE, &info);  // a menu without its pictures still works
    }
    FCommands.push_back(item.Action);
  }
  return menu;
}

bool TQD_PopupMenu::ExecuteCommand(UINT ACommandID) {
  if (ACommandID < FirstCommandID || ACommandID - FirstCommandID >= FCommands.size()) return false;
  return FCommands[ACommandID - FirstCommandID]->Execute();
}

bool TQD_PopupMenu::Show(HWND AOwner, const TShowOptions& AOptions) {
  TQD_MenuHandle menu = Build();
  POINT at{};
  if (AOptions.Position)
    at = *AOptions.Position;
  else if (!GetCursorPos(&at))
    ThrowMenuError("Cannot read the cursor position");
  if (AOptions.ForNotifyIcon) SetForegroundWindow(AOwner);
  // TPM_RETURNCMD: the command comes back here instead of as WM_COMMAND, so
  // the owner needs no command handling of its own.
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, AOwner, nullptr));
  if (AOptions.ForNotifyIcon) PostMessageW(AOwner, WM_NULL, 0, 0);
  // The menu is gone before the action runs: the action may destroy AOwner.
  menu.Reset();
  return command != 0 && ExecuteCommand(command);
}
