// Actions and popup-menu models; see action.h.
#include "ui/action.h"

#include <stdexcept>

bool TQD_Action::Execute() {
  if (!Enabled || !Visible || !OnExecute) return false;
  OnExecute();
  return true;
}

TQD_Action& TQD_ActionList::Add(std::string AName, std::string ACaption, std::function<void()> AOnExecute) {
  if (Find(AName)) throw std::invalid_argument("Duplicate action name: " + AName);
  FActions.push_back(std::make_unique<TQD_Action>(std::move(AName), std::move(ACaption), std::move(AOnExecute)));
  return *FActions.back();
}

TQD_Action* TQD_ActionList::Find(const std::string& AName) const {
  for (const auto& action : FActions)
    if (action->Name == AName) return action.get();
  return nullptr;
}

TQD_PopupMenuModel::TQD_PopupMenuModel(const TQD_ActionList& AActions,
                                       std::initializer_list<const char*> AItems) {
  for (const char* name : AItems) {
    if (std::string(name) == "-") {
      AddSeparator();
      continue;
    }
    TQD_Action* action = AActions.Find(name);
    if (!action) throw std::invalid_argument(std::string("Menu names an unknown action: ") + name);
    AddAction(*action);
  }
}

void TQD_PopupMenuModel::VisibleItems(std::vector<TQD_PopupMenuItem>& AVisible) const {
  AVisible.clear();
  // A separator is only written once a visible action follows it, so leading
  // and doubled ones never appear and a trailing one is never written.
  bool pendingSeparator = false;
  for (const TQD_PopupMenuItem& item : FItems) {
    if (item.IsSeparator()) {
      pendingSeparator = !AVisible.empty();
      continue;
    }
    if (!item.Action->Visible) continue;
    if (pendingSeparator) AVisible.push_back({});
    pendingSeparator = false;
    AVisible.push_back(item);
  }
}
