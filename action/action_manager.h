// Gesture-to-action bindings, per-gesture switches, and running a gesture's action.
#pragma once

#include <string>
#include <string_view>

namespace sc {

// Placeholder interface: the full manager replaces it.
class ActionManager {
public:
    explicit ActionManager(std::u16string_view folder);
    // Runs the action bound to the gesture when it may run; safe against concurrent binding changes.
    bool executeActionOfGesture(std::u16string_view gesture);
};

}  // namespace sc
