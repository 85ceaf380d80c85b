// Exports of the touch capturer and the hot key.
#include <memory>

#include "action/action_manager.h"
#include "capture/stroke_report.h"
#include "capture/touch_capturer.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "gesture/gesture_manager.h"

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
}
