// Exports of the action manager family.
#include "action/action_manager.h"
#include "common/buffer.h"
#include "exports/boundary.h"
#include "exports/instances.h"

namespace sc {
Instance<ActionManager> actionManager;
}

extern "C" {

void STROKECAST_CALL OpenActionManager(const sc_char* folder) {
    sc::guardedVoid([&] {
        if (folder == nullptr)
            return;
        const std::u16string path = sc::text(folder);
        sc::trace::line(u"will new a ActionManager");
        sc::trace::line(path);
        sc::actionManager.open([&] { return std::make_unique<sc::ActionManager>(path); });
        sc::trace::line(sc::actionManager.isOpen() ? u"new success" : u"new failed");
    });
}

void STROKECAST_CALL CloseActionNanager(void) {
    sc::guardedVoid([] { sc::actionManager.close(); });
}

int32_t STROKECAST_CALL SetGestureSwitch(const sc_char* gesture, int32_t value) {
    if (gesture == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return am.setGestureSwitch(sc::text(gesture), value == 1) ? 1 : 0;
    });
}

int32_t STROKECAST_CALL GetGestureSwitch(const sc_char* gesture) {
    return sc::guarded<int32_t>(0, [&] {
        if (!sc::actionManager.isOpen()) {
            sc::console::line(std::string_view("am is null"));
            return 0;
        }
        if (gesture == nullptr)
            return 0;
        return sc::actionManager.with(
            0, [&](sc::ActionManager& am) { return am.getGestureSwitch(sc::text(gesture)) ? 1 : 0; });
    });
}

int32_t STROKECAST_CALL GetActionOfGesture(const sc_char* gesture, sc_char* buffer, uint32_t capacity) {
    if (gesture == nullptr || buffer == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return static_cast<int32_t>(sc::copyOut(am.getActionOfGesture(sc::text(gesture)), buffer, capacity));
    });
}

int32_t STROKECAST_CALL ExecuteAction(const sc_char* gesture) {
    if (gesture == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return am.executeActionOfGesture(sc::text(gesture)) ? 1 : 0;
    });
}

int32_t STROKECAST_CALL SetGestureToAction(const sc_char* gesture, const sc_char* action) {
    if (gesture == nullptr || action == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return am.setGestureToAction(sc::text(gesture), sc::text(action)) ? 1 : 0;
    });
}

int32_t STROKECAST_CALL AddCustomAction(const sc_char* key, const sc_char* value) {
    if (key == nullptr || value == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return am.addCustomAction(sc::text(key), sc::text(value)) ? 1 : 0;
    });
}

int32_t STROKECAST_CALL RemoveOneCustomAction(const sc_char* key) {
    if (key == nullptr)
        return 0;
    return sc::guardedWith(sc::actionManager, 0, [&](sc::ActionManager& am) {
        return am.removeCustomAction(sc::text(key)) ? 1 : 0;
    });
}
}
