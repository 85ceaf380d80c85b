// Exports of the touch capturer and the hot key.
#include <memory>

#include "action/action_manager.h"
#include "capture/stroke_report.h"
#include "capture/touch_capturer.h"
#include "common/hot_key.h"
#include "common/last_error.h"
#include "common/utf16.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "gesture/gesture_manager.h"
#include "platform/error.h"

namespace sc {

Instance<TouchCapturer> touchCapturer;

namespace {

// The capturer looks both managers up at every stroke, so the host may open them in any order.
StrokeHooks strokeHooks() {
    StrokeHooks hooks;
    hooks.scoredRecognize = [](const PointList& points, std::u16string& name, double& score) {
        gestureManager.with(0, [&](GestureManager& manager) {
            manager.recognize(points, name, score);
            return 0;
        });
    };
    hooks.run = [](std::u16string_view name, double score) {
        return actionManager.with(ActionStatus::Failed, [&](ActionManager& manager) {
            return manager.runActionOfGesture(name, score).status;
        });
    };
    hooks.recording = [] { return stroke_report::recording(); };
    hooks.report = [](const PointList& points, std::u16string_view name, double score, ActionStatus status) {
        stroke_report::report(points, name, score, status);
    };
    return hooks;
}

constexpr std::uint32_t kHotKeyTaken = 1409; // ERROR_HOTKEY_ALREADY_REGISTERED

int32_t setHotKeyEx(std::uint32_t modifiers, std::uint32_t key) {
    if ((modifiers & ~hot_key::kAllModifiers) != 0) {
        std::u16string line = u"hot key modifiers ";
        line += utf16::fromUnsigned(modifiers);
        line += u" hold more than Alt 1, Ctrl 2, Shift 4 and Win 8";
        last_error::set(line);
        return 0;
    }
    std::uint32_t error = 0;
    const int32_t done = touchCapturer.with(
        -1, [&](TouchCapturer& capturer) { return capturer.setHotKeyNow(modifiers, key, error) ? 1 : 0; });
    if (done == 1)
        return 1;
    const std::u16string name = hot_key::name(modifiers, key);
    if (done == -1)
        last_error::set(u"cannot register hot key " + name + u": the touch capturer is not open");
    else if (error == kHotKeyTaken)
        last_error::set(u"hot key " + name + u" is taken by another program (error 1409)");
    else if (error == 0)
        last_error::set(u"cannot register hot key " + name + u": the capture thread did not answer");
    else
        platform::failedWith(u"cannot register hot key", name, error);
    return 0;
}

} // namespace
} // namespace sc

extern "C" {

void STROKECAST_CALL OpenTouchCapturer(void) {
    sc::guardedVoid([] {
        sc::touchCapturer.open([] { return std::make_unique<sc::TouchCapturer>(sc::strokeHooks()); });
    });
}

void STROKECAST_CALL CloseTouchCapturer(void) {
    sc::guardedVoid([] { sc::touchCapturer.close(); });
}

void STROKECAST_CALL SetCharmBarCptEnable(int32_t enable) {
    sc::guardedVoid([&] {
        sc::touchCapturer.with(0, [&](sc::TouchCapturer& capturer) {
            capturer.setCharmBarCaptureEnable(enable == 1);
            return 0;
        });
    });
}

void STROKECAST_CALL SetHotKey(int32_t enable, uint32_t key) {
    sc::guardedVoid([&] {
        sc::touchCapturer.with(0, [&](sc::TouchCapturer& capturer) {
            capturer.setHotKey(enable == 1, key);
            return 0;
        });
    });
}

int32_t STROKECAST_CALL StrokecastSetHotKeyEx(uint32_t modifiers, uint32_t key) {
    return sc::guarded<int32_t>(0, [&] { return sc::setHotKeyEx(modifiers, key); });
}
}
