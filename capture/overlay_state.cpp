// Transitions of the touch overlay's state.
#include "capture/overlay_state.h"

#include <utility>

namespace sc {

std::optional<std::uint64_t> OverlayState::beginStartLocked() {
    if (shutDown_ || (phase_ != OverlayPhase::None && phase_ != OverlayPhase::Closing))
        return std::nullopt;
    phase_ = OverlayPhase::Starting;
    window_ = 0;
    dismissWhileStarting_ = false;
    return ++generation_;
}

OverlayState::WindowId OverlayState::closeCurrentLocked() {
    switch (phase_) {
    case OverlayPhase::Shown:
    case OverlayPhase::Touched:
    case OverlayPhase::Pending:
        phase_ = OverlayPhase::Closing;
        return std::exchange(window_, 0);
    case OverlayPhase::Starting:
        dismissWhileStarting_ = true;
        return 0;
    default:
        return 0;
    }
}

OverlayState::Toggle OverlayState::showOrDismiss() {
    std::lock_guard lock(mutex_);
    Toggle toggle;
    if (phase_ == OverlayPhase::None || phase_ == OverlayPhase::Closing) {
        toggle.generation = beginStartLocked();
        return toggle;
    }
    toggle.close = scheduleDismissLocked();
    return toggle;
}

std::optional<std::uint64_t> OverlayState::beginStart() {
    std::lock_guard lock(mutex_);
    return beginStartLocked();
}

bool OverlayState::windowCreated(std::uint64_t generation, WindowId window) {
    std::lock_guard lock(mutex_);
    if (generation != generation_ || phase_ != OverlayPhase::Starting)
        return false;
    if (dismissWhileStarting_ || shutDown_) {
        phase_ = OverlayPhase::Closing;
        return false;
    }
    phase_ = OverlayPhase::Shown;
    window_ = window;
    return true;
}

void OverlayState::threadEnded(std::uint64_t generation) {
    std::lock_guard lock(mutex_);
    if (generation != generation_)
        return;
    phase_ = OverlayPhase::None;
    window_ = 0;
    dismissWhileStarting_ = false;
}

bool OverlayState::touched(WindowId window) {
    std::lock_guard lock(mutex_);
    if (window == 0 || window != window_)
        return false;
    if (phase_ == OverlayPhase::Shown)
        phase_ = OverlayPhase::Touched;
    return true;
}

OverlayState::WindowId OverlayState::scheduleDismiss() {
    std::lock_guard lock(mutex_);
    return scheduleDismissLocked();
}

OverlayState::WindowId OverlayState::scheduleDismissLocked() {
    if (phase_ == OverlayPhase::Touched) {
        phase_ = OverlayPhase::Pending;
        return 0;
    }
    if (phase_ == OverlayPhase::Pending)
        return 0;
    return closeCurrentLocked();
}

OverlayState::WindowId OverlayState::touchTimerFired(WindowId window) {
    std::lock_guard lock(mutex_);
    if (window == 0 || window != window_ || phase_ != OverlayPhase::Pending)
        return 0;
    return closeCurrentLocked();
}

OverlayState::WindowId OverlayState::strokeEnded(WindowId window) {
    std::lock_guard lock(mutex_);
    if (window == 0 || window != window_)
        return 0;
    return closeCurrentLocked();
}

OverlayState::WindowId OverlayState::shutDown() {
    std::lock_guard lock(mutex_);
    shutDown_ = true;
    return closeCurrentLocked();
}

OverlayPhase OverlayState::phase() const {
    std::lock_guard lock(mutex_);
    return phase_;
}

OverlayState::WindowId OverlayState::window() const {
    std::lock_guard lock(mutex_);
    return window_;
}

} // namespace sc
