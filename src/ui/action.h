// Actions and popup-menu models: the portable half of the toolkit's command
// handling. An action is a named command with a caption and the states that
// buttons, toggle switches and menu items show (enabled, visible, checked);
// everything that runs a command goes through the action, so one change of
// state shows everywhere. A popup-menu model is an ordered list of actions
// and separators from which the Win32 menu is built each time it is shown.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class TQD_Action {
 public:
  TQD_Action(std::string AName, std::string ACaption, std::function<void()> AOnExecute = {})
      : Name(std::move(AName)), Caption(std::move(ACaption)), OnExecute(std::move(AOnExecute)) {}

  // Runs OnExecute if the action is enabled and visible and has a handler;
  // returns whether it ran. Exceptions from the handler pass to the caller
  // (a window procedure hands them to the application's handler).
  bool Execute();

  const std::string Name;
  std::string Caption;
  bool Enabled = true;
  bool Visible = true;
  bool Checked = false;
  int ImageIndex = -1;  // into the action list's images; -1 for none
  std::function<void()> OnExecute;
};

// Owns its actions; pointers to them stay valid for the list's lifetime, so
// menus and buttons may keep them.
class TQD_ActionList {
 public:
  // Adds a new action. Names are unique: a second action with a name already
  // in the list is a programming error and throws std::invalid_argument.
  TQD_Action& Add(std::string AName, std::string ACaption, std::function<void()> AOnExecute = {});
  // nullptr when no action has that name.
  TQD_Action* Find(const std::string& AName) const;
  size_t Count() const { return FActions.size(); }
  TQD_Action& operator[](size_t AIndex) const { return *FActions[AIndex]; }

 private:
  std::vector<std::unique_ptr<TQD_Action>> FActions;
};

// One entry of a popup menu: an action, or a separator when Action is null.
struct TQD_PopupMenuItem {
  TQD_Action* Action = nullptr;
  bool IsSeparator() const { return Action == nullptr; }
};

class TQD_PopupMenuModel {
 public:
  TQD_PopupMenuModel() = default;
  // Items by action name, "-" for a separator, as menus are written down.
  // Throws std::invalid_argument on a name AActions lacks: a menu that
  // silently lost an item would be a bug found only by a user.
  TQD_PopupMenuModel(const TQD_ActionList& AActions, std::initializer_list<const char*> AItems);

  void AddAction(TQD_Action& AAction) { FItems.push_back({&AAction}); }
  void AddSeparator() { FItems.push_back({}); }
  const std::vector<TQD_PopupMenuItem>& Items() const { return FItems; }

  // The items as the menu shows them now: hidden actions left out, and the
  // separators that would then lead, trail or follow another separator
  // dropped. Fills AVisible (cleared first) so a caller can reuse its buffer.
  void VisibleItems(std::vector<TQD_PopupMenuItem>& AVisible) const;
  std::vector<TQD_PopupMenuItem> VisibleItems() const {
    std::vector<TQD_PopupMenuItem> items;
    VisibleItems(items);
    return items;
  }

 private:
  std::vector<TQD_PopupMenuItem> FItems;
};
