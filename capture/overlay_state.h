// The state of the current touch overlay, shared by the threads that show, touch and dismiss it.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/ui.h"

namespace sc {

enum class OverlayPhase {
    None,     // no overlay
    Starting, // its thread runs, its window is not there yet
    Shown,    // window shown, no touch yet
    Touched,  // touch input arrived; the touch timer runs
    Pending,  // touched, and a dismissal waits for touch input to pause
    Closing,  // its window was asked to close; its thread has not ended yet
};

// Every transition happens under one lock, so the hot key (capturer thread), the charm-bar events
// (automation threads), the overlay's own thread and the host never see half a change. Operations that
// end an overlay return the window to which the caller posts the close request (0: nothing to close).
// Overlays are told apart by a generation number; a closing overlay no longer counts as the current one,
// so a new one may start while the old one is still going away.
class OverlayState {
  public:
    using WindowId = platform::ui::WindowId;

    // Hot key: starts an overlay when none is current (true, with its generation in `generation`), else
    // asks the current one to go (`close` set when it can go at once).
    struct Toggle {
        std::optional<std::uint64_t> generation;
        WindowId close = 0;
    };
    Toggle showOrDismiss();
    // Starts an overlay unless one is current; the generation of the new overlay.
    std::optional<std::uint64_t> beginStart();

    // The overlay's thread made its window: Shown. false when a dismissal arrived while it was starting;
    // the overlay is then Closing and the thread closes the window without showing it.
    bool windowCreated(std::uint64_t generation, WindowId window);
    // The overlay's thread made no window or has ended: back to None if it was the current overlay.
    void threadEnded(std::uint64_t generation);

    // A touch message on `window`: true when it is the current overlay, whose touch timer then restarts.
    bool touched(WindowId window);
    // A dismissal that waits for touch input to pause. Applies to a starting overlay once it has its
    // window; with no overlay at all it is dropped, so it never closes a later one.
    WindowId scheduleDismiss();
    // The touch timer of `window` fired.
    WindowId touchTimerFired(WindowId window);
    // End of the stroke on `window` (pointer or mouse button up): dismisses it if it is still current.
    WindowId strokeEnded(WindowId window);
    // No overlay starts after this; the current one is dismissed.
    WindowId shutDown();

    OverlayPhase phase() const;
    WindowId window() const;

  private:
    WindowId closeCurrentLocked();
    WindowId scheduleDismissLocked();
    std::optional<std::uint64_t> beginStartLocked();

    mutable std::mutex mutex_;
    OverlayPhase phase_ = OverlayPhase::None;
    std::uint64_t generation_ = 0;
    WindowId window_ = 0;
    bool dismissWhileStarting_ = false;
    bool shutDown_ = false;
};

} // namespace sc
