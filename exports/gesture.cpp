// Exports of the gesture manager family.
#include <memory>
#include <string>
#include <vector>

#include "action/action_manager.h"
#include "common/buffer.h"
#include "common/utf16.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "gesture/gesture_manager.h"
#include "gesture/point_array.h"
#include "gesture/template_file.h"

namespace sc {
Instance<GestureManager> gestureManager;
}

extern "C" {

void STROKECAST_CALL OpenGestureManager(const sc_char* defaultGestureFile, const sc_char* userFolder) {
    if (defaultGestureFile == nullptr || userFolder == nullptr)
        return;
    sc::guardedVoid([&] {
        sc::gestureManager.open([&] {
            return std::make_unique<sc::GestureManager>(sc::text(defaultGestureFile), sc::text(userFolder));
        });
    });
}

void STROKECAST_CALL CloseGestureManager(void) {
    sc::guardedVoid([] { sc::gestureManager.close(); });
}

int32_t STROKECAST_CALL recognizeGesture(const uint16_t* points, sc_char* nameBuffer, uint32_t nameCapacity) {
    if (points == nullptr || nameBuffer == nullptr)
        return 0;
    return sc::guardedWith(sc::gestureManager, 0, [&](sc::GestureManager& manager) {
        std::u16string name;
        manager.recognize(sc::readPointArray(points), name);
        return static_cast<int32_t>(sc::copyOut(name, nameBuffer, nameCapacity));
    });
}

int32_t STROKECAST_CALL GetAllGestures(sc_char* buffer, uint32_t capacity) {
    if (buffer == nullptr)
        return 0;
    return sc::guardedWith(sc::gestureManager, 0, [&](sc::GestureManager& manager) {
        // With no gesture at all the list is the empty text. A name read from a file may hold U+0000,
        // which no caller can pass back and which would end the whole list early for every reader
        // of a zero-terminated string, so such a name is left out.
        std::vector<std::u16string> names = manager.getGestureNames();
        std::erase_if(names, [](const std::u16string& name) { return name.find(u'\0') != name.npos; });
        const std::u16string list = sc::utf16::joined(names, sc::separateChar);
        return static_cast<int32_t>(sc::copyOut(list, buffer, capacity));
    });
}

int32_t STROKECAST_CALL GetGestureTrack(const sc_char* name, uint16_t* buffer, uint32_t capacity) {
    if (name == nullptr || buffer == nullptr)
        return 0;
    return sc::guardedWith(sc::gestureManager, 0, [&](sc::GestureManager& manager) {
        sc::PointList track;
        if (!manager.getGestureTrack(sc::text(name), track))
            return 0;
        return sc::writeTrack(track, buffer, capacity) ? 1 : 0;
    });
}

int32_t STROKECAST_CALL AddOneGesture(const sc_char* name, const uint16_t* points) {
    if (name == nullptr || points == nullptr)
        return 0;
    return sc::guardedWith(sc::gestureManager, 0, [&](sc::GestureManager& manager) {
        const sc::PointList track = sc::readSpacedPointArray(points);
        if (track.size() < 2)
            return 0;
        return manager.addGesture(sc::text(name), track) ? 1 : 0;
    });
}

int32_t STROKECAST_CALL CheckNameExist(const sc_char* name) {
    // "Taken" is the safe answer whenever the question cannot be asked: callers then pick another name.
    if (name == nullptr)
        return 1;
    return sc::guardedWith(sc::gestureManager, 1, [&](sc::GestureManager& manager) {
        return manager.checkNameExist(sc::text(name)) ? 1 : 0;
    });
}

int32_t STROKECAST_CALL RemoveOneGesture(const sc_char* name) {
    return sc::guarded<int32_t>(0, [&] {
        if (name == nullptr)
            return 0;
        const std::u16string gesture = sc::text(name);
        // Both objects must be open; the bindings go only after a user template really went.
        return sc::gestureManager.with(0, [&](sc::GestureManager& gm) {
            return sc::actionManager.with(0, [&](sc::ActionManager& am) {
                sc::trace::line(u"Will remove gesture : ", gesture);
                sc::GestureManager::Removal removed;
                if (!gm.removeGesture(gesture, &removed))
                    return 0;
                if (am.removeGestureFromAllMaps(gesture))
                    return 1;
                // A failed removal changes nothing: the template goes back where it was.
                gm.restoreGesture(gesture, removed);
                return 0;
            });
        });
    });
}
}
