// The touch overlay's owner: shows and dismisses overlays, forwards their touch points, and watches the
// charm bar through UI Automation.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "capture/overlay_state.h"
#include "platform/automation.h"
#include "platform/ui.h"

namespace sc {

// Created and shut down by the capturer. Overlay threads and the automation watch hold it through shared
// or weak pointers, so a thread still finishing after shutDown never reads freed memory.
class CharmBarBroker : public std::enable_shared_from_this<CharmBarBroker> {
  public:
    using WindowId = platform::ui::WindowId;
    using ModuleId = platform::ui::ModuleId;

    // Creates the broker for windows of `instance` and starts the charm-bar watch.
    static std::shared_ptr<CharmBarBroker> create(ModuleId instance);
    explicit CharmBarBroker(ModuleId instance);
    CharmBarBroker(const CharmBarBroker&) = delete;
    CharmBarBroker& operator=(const CharmBarBroker&) = delete;

    // Dismisses any overlay at once, lets no new one start and releases the watch. Run by the capturer's
    // closing, on the host's thread.
    void shutDown();

    void setCapturerWindow(WindowId window) { capturerWindow_ = window; }
    void setCharmBarCaptureEnable(bool enable);

    // Hot key: shows an overlay when there is none, else asks the current one to go. false without a
    // capturer window.
    bool showOrDismissThreadWindow();
    // Starts an overlay thread unless an overlay is current or no capturer window receives its points;
    // false when none started.
    bool createThreadWindow(bool forCharmBar);
    // Dismisses the overlay once touch input pauses (at once if it had no touch).
    void scheduleDestroyThreadWindow();

    bool isCharmBarShown();
    void closeCharmBar();
    // A window-opened or window-closed event of the watch, on one of the platform's threads.
    void onAutomationEvent(const platform::automation::WindowEvent& event);

    OverlayPhase overlayPhase() const { return overlay_.phase(); }
    WindowId overlayWindow() const { return overlay_.window(); }
    WindowId charmBarWindow() const { return charmBarWindow_; }

  private:
    void initAutomation();
    void releaseAutomation();
    void startOverlay(std::uint64_t generation, bool forCharmBar);
    void overlayThreadProc(std::uint64_t generation, bool forCharmBar);
    bool overlayWindowProc(bool forCharmBar, WindowId window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam);
    void closeOverlay(WindowId window);
    void forwardTouchPoint(std::int32_t x, std::int32_t y);

    const ModuleId instance_;
    std::atomic<WindowId> capturerWindow_{0};
    std::atomic<WindowId> charmBarWindow_{0};
    OverlayState overlay_;
    std::mutex watchMutex_; // the watch is released on the host's thread and used on overlay threads
    platform::automation::WatchPtr watch_;
};

} // namespace sc
