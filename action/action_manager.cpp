// The action manager.
#include "action/action_manager.h"

namespace sc {

ActionManager::ActionManager(std::u16string_view) {}

bool ActionManager::executeActionOfGesture(std::u16string_view) { return false; }

}  // namespace sc
