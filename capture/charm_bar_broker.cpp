// The overlay threads and windows, and the charm-bar watch.
#include "capture/charm_bar_broker.h"

#include "capture/charm_bar.h"
#include "common/console.h"
#include "common/messages.h"
#include "platform/pointer.h"

namespace sc {
namespace {

// The charm-bar capture switch of the process: kept across closing and opening the capturer, read by
// each overlay thread as it starts.
std::atomic<bool> charmBarCapture{false};

constexpr platform::ui::TimerId kTouchTimerId = 1;
constexpr unsigned kTouchTimerMs = 100;

bool endsStroke(unsigned message) {
    return message == msg::kPointerUp || message == msg::kLButtonUp || message == msg::kMButtonUp ||
           message == msg::kRButtonUp;
}

} // namespace

std::shared_ptr<CharmBarBroker> CharmBarBroker::create(ModuleId instance) {
    auto broker = std::make_shared<CharmBarBroker>(instance);
    broker->initAutomation();
    return broker;
}

CharmBarBroker::CharmBarBroker(ModuleId instance) : instance_(instance) {}

void CharmBarBroker::initAutomation() {
    // The watch reaches the broker only while it is alive; a late event after shutdown finds nothing.
    std::weak_ptr<CharmBarBroker> weak = weak_from_this();
    auto watch = platform::automation::startWatch([weak](const platform::automation::WindowEvent& event) {
        if (auto broker = weak.lock())
            broker->onAutomationEvent(event);
    });
    std::lock_guard lock(watchMutex_);
    watch_ = std::move(watch);
}

void CharmBarBroker::releaseAutomation() {
    platform::automation::WatchPtr watch;
    {
        std::lock_guard lock(watchMutex_);
        watch = std::move(watch_);
    }
    if (watch)
        platform::automation::stopWatch(std::move(watch));
}

void CharmBarBroker::shutDown() {
    closeOverlay(overlay_.shutDown());
    releaseAutomation();
}

void CharmBarBroker::setCharmBarCaptureEnable(bool enable) {
    console::line(std::string("setCharmBarCaptureEnable : ") + (enable ? "1" : "0"));
    charmBarCapture = enable;
}

bool CharmBarBroker::showOrDismissThreadWindow() {
    if (capturerWindow_ == 0)
        return false;
    const OverlayState::Toggle toggle = overlay_.showOrDismiss();
    if (toggle.generation) {
        trace::line(u"will CreateThreadWindow");
        startOverlay(*toggle.generation, false);
    } else {
        trace::line(u"will ScheduleDestroyThreadWindow");
        closeOverlay(toggle.close);
    }
    return true;
}

bool CharmBarBroker::createThreadWindow(bool forCharmBar) {
    // Without a capturer window the overlay's points would have nowhere to go.
    if (capturerWindow_ == 0)
        return false;
    const auto generation = overlay_.beginStart();
    if (!generation)
        return false;
    startOverlay(*generation, forCharmBar);
    return true;
}

void CharmBarBroker::scheduleDestroyThreadWindow() {
    closeOverlay(overlay_.scheduleDismiss());
}

void CharmBarBroker::closeOverlay(WindowId window) {
    if (window == 0)
        return;
    console::line("will destory touch capture window");
    platform::ui::postMessage(window, msg::kClose, 0, 0);
}

void CharmBarBroker::startOverlay(std::uint64_t generation, bool forCharmBar) {
    auto self = shared_from_this();
    const bool started = platform::ui::startThread(
        [self, generation, forCharmBar] { self->overlayThreadProc(generation, forCharmBar); });
    if (!started)
        overlay_.threadEnded(generation);
}

void CharmBarBroker::overlayThreadProc(std::uint64_t generation, bool forCharmBar) {
    // A charm-bar overlay while capture is off, or a window that cannot be made: the thread has nothing
    // to wait for and ends at once.
    if (forCharmBar && !charmBarCapture) {
        overlay_.threadEnded(generation);
        return;
    }
    // The window's handler holds the broker for as long as the window exists.
    const WindowId window = platform::ui::createOverlayWindow(
        instance_, [self = shared_from_this(), forCharmBar](WindowId w, unsigned message,
                                                            std::uintptr_t wParam, std::intptr_t lParam) {
            return self->overlayWindowProc(forCharmBar, w, message, wParam, lParam);
        });
    if (window == 0) {
        overlay_.threadEnded(generation);
        return;
    }
    if (overlay_.windowCreated(generation, window)) {
        platform::ui::showOverlayWindow(window, charmBarWindow_);
        platform::ui::runMessageLoop();
    } else {
        platform::ui::destroyWindow(window);
    }
    overlay_.threadEnded(generation);
}

bool CharmBarBroker::overlayWindowProc(bool forCharmBar, WindowId window, unsigned message,
                                       std::uintptr_t wParam, std::intptr_t lParam) {
    (void)lParam;
    switch (message) {
    case msg::kDestroy:
        platform::ui::postQuit();
        return false;
    case msg::kClose:
        platform::ui::killTimer(window, kTouchTimerId);
        platform::ui::destroyWindow(window);
        return true;
    case msg::kTimer:
        if (wParam != kTouchTimerId)
            return false;
        closeOverlay(overlay_.touchTimerFired(window));
        return true;
    case msg::kMouseMove:
        if (forCharmBar && !isCharmBarShown())
            scheduleDestroyThreadWindow();
        break;
    case msg::kPointerUpdate:
    case msg::kPointerDown:
    case msg::kPointerUp: {
        std::int32_t x = 0;
        std::int32_t y = 0;
        if (platform::pointer::touchPosition(static_cast<std::uint32_t>(wParam & 0xFFFF), x, y)) {
            if (overlay_.touched(window))
                platform::ui::setTimer(window, kTouchTimerId, kTouchTimerMs);
            forwardTouchPoint(x, y);
        }
        break;
    }
    default:
        break;
    }
    // The up point was forwarded above, so the stroke is complete before the overlay goes.
    if (endsStroke(message)) {
        if (forCharmBar && charmBarWindow_ != 0) {
            closeCharmBar();
            charmBarWindow_ = 0;
        }
        closeOverlay(overlay_.strokeEnded(window));
    }
    return false;
}

void CharmBarBroker::forwardTouchPoint(std::int32_t x, std::int32_t y) {
    const WindowId capturer = capturerWindow_;
    if (capturer == 0)
        return;
    platform::ui::postMessage(capturer, msg::kCapturePoint,
                              static_cast<std::uintptr_t>(static_cast<std::intptr_t>(x)),
                              static_cast<std::intptr_t>(y));
}

bool CharmBarBroker::isCharmBarShown() {
    WindowId window = charmBarWindow_;
    if (window == 0)
        return false;
    if (platform::ui::isWindowShown(window))
        return true;
    charmBarWindow_.compare_exchange_strong(window, 0);
    return false;
}

void CharmBarBroker::closeCharmBar() {
    const WindowId window = charmBarWindow_;
    if (window == 0 || !platform::ui::isWindowShown(window))
        return;
    std::lock_guard lock(watchMutex_);
    if (watch_)
        platform::automation::closeWindow(*watch_, window);
}

void CharmBarBroker::onAutomationEvent(const platform::automation::WindowEvent& event) {
    const bool match = event.readOk && event.window != 0 && isCharmBarId(event.automationId);
    if (!match)
        return;
    if (event.eventId == platform::automation::kWindowOpenedEvent) {
        // Only the charm bar that gets recorded brings an overlay; a second one while one is recorded,
        // or any other window opening, changes nothing.
        WindowId none = 0;
        if (charmBarWindow_.compare_exchange_strong(none, event.window))
            createThreadWindow(true);
    } else if (event.eventId == platform::automation::kWindowClosedEvent) {
        if (charmBarWindow_.exchange(0) != 0)
            scheduleDestroyThreadWindow();
    }
}

} // namespace sc
