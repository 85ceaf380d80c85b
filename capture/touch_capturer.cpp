// The capturer thread, its window procedure, and opening and closing the capturer.
#include "capture/touch_capturer.h"

#include "capture/messages.h"
#include "common/console.h"
#include "common/utf16.h"

namespace sc {

CapturerCore::CapturerCore(StrokeHooks hooks) : hooks_(std::move(hooks)) {}

void CapturerCore::CapturerThreadProc() {
    const WindowId window = platform::ui::createCapturerWindow(
        [self = shared_from_this()](WindowId w, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
            return self->CapturerWindowProc(w, message, wParam, lParam);
        });
    if (window == 0)
        trace::line(u"create message window fail");
    publish(window);
    if (window == 0)
        return;
    platform::ui::runMessageLoop();
}

void CapturerCore::publish(WindowId window) {
    bool closeAtOnce = false;
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        threadDone_ = true;
        closeAtOnce = closing_ && window != 0;
    }
    published_.notify_all();
    if (closeAtOnce)
        platform::ui::postMessage(window, msg::kClose, 0, 0);
}

CapturerCore::WindowId CapturerCore::waitForWindow(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    published_.wait_for(lock, limit, [this] { return threadDone_; });
    return window_;
}

void CapturerCore::close() {
    WindowId window = 0;
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        window = window_;
        broker_.reset();
    }
    if (window != 0)
        platform::ui::postMessage(window, msg::kClose, 0, 0);
}

void CapturerCore::setBroker(std::shared_ptr<CharmBarBroker> broker) {
    std::lock_guard lock(mutex_);
    if (!closing_)
        broker_ = std::move(broker);
}

bool CapturerCore::CapturerWindowProc(WindowId window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
    switch (message) {
    case msg::kDestroy:
        // A hot key belongs to the thread that registered it, so it is given back here, not by the host.
        if (hot_key_in_use.exchange(false))
            platform::ui::unregisterHotKey(window);
        platform::ui::postQuit();
        return false;
    case msg::kClose:
        platform::ui::destroyWindow(window);
        return true;
    case msg::kTimer:
        if (wParam != strokeTimerId_)
            return false;
        OnStrokeTimeout(window, wParam);
        return true;
    case msg::kHotKey:
        console::line("hot key msg");
        handleHotKey(wParam);
        return false;
    case msg::kCapturePoint:
        collectPoint(window, wParam, lParam);
        return true;
    case msg::kCaptureHotKey:
        handleHotKeyRequest(window, wParam, lParam);
        return false;
    default:
        return false;
    }
}

void CapturerCore::collectPoint(WindowId window, std::uintptr_t wParam, std::intptr_t lParam) {
    const auto x = static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam));
    const auto y = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uintptr_t>(lParam)));
    collector_.add({static_cast<float>(x), static_cast<float>(y)});
    // Every point, kept or not, pushes the end of the stroke 300 ms further.
    platform::ui::killTimer(window, strokeTimerId_);
    const platform::ui::TimerId id = platform::ui::setTimer(window, strokeTimerId_, kStrokeTimeoutMs);
    if (id != 0)
        strokeTimerId_ = id;
}

void CapturerCore::OnStrokeTimeout(WindowId window, platform::ui::TimerId timer) {
    trace::line(u"-------Time out , Begin to recognize------");
    trace::line(u"raw points count : ", utf16::fromUnsigned(collector_.points().size()));
    platform::ui::killTimer(window, timer);
    const StrokeOutcome outcome = collector_.finish(hooks_);
    trace::line(u"gesture name is : ", outcome.name, u" , have action to run ? : ",
                outcome.ran ? u"yes" : u"no");
}

void CapturerCore::handleHotKey(std::uintptr_t id) {
    if (id != 0)
        return;
    trace::line(u"HOT key activated");
    std::shared_ptr<CharmBarBroker> broker;
    {
        std::lock_guard lock(mutex_);
        broker = broker_;
    }
    if (!broker || !broker->ShowOrDismissThreadWindow())
        trace::line(u"show or dismiss window fail");
}

void CapturerCore::handleHotKeyRequest(WindowId window, std::uintptr_t wParam, std::intptr_t lParam) {
    if (lParam == 1) {
        // Nothing registered (a failed or not yet handled registration): nothing to give back.
        if (!hot_key_in_use)
            return;
        if (platform::ui::unregisterHotKey(window))
            hot_key_in_use = false;
        else
            console::line("UnregisterHotKey fail ");
        return;
    }
    if (hot_key_in_use.exchange(false))
        platform::ui::unregisterHotKey(window);
    std::uint32_t error = 0;
    if (platform::ui::registerHotKey(window, static_cast<std::uint32_t>(wParam), error)) {
        trace::line(u"set hot key success");
        hot_key_in_use = true;
    } else {
        trace::line(u"register hot key fail");
        console::line("last error : " + std::to_string(error));
    }
}

void CapturerCore::setHotKey(bool enable, std::uint32_t key) {
    const bool inUse = hot_key_in_use;
    std::u16string line = u"setHotKey : ";
    line += enable ? u"1" : u"0";
    line += u" , ";
    line += static_cast<char16_t>(key & 0xFF);
    console::line(std::u16string_view(line));
    console::line(std::string("hot_key_in_use : ") + (inUse ? "1" : "0"));
    const WindowId target = window_;
    if (!enable) {
        if ((inUse || hotKeyRequested_.exchange(false)) && target != 0)
            platform::ui::postMessage(target, msg::kCaptureHotKey, 0, 1);
        hotKeyRequested_ = false;
    } else if (target != 0) {
        hotKeyRequested_ = true;
        platform::ui::postMessage(target, msg::kCaptureHotKey, key, 0);
    }
}

TouchCapturer::TouchCapturer(StrokeHooks hooks) : core_(std::make_shared<CapturerCore>(std::move(hooks))) {
    trace::line(u"will create thread to create window!");
    // The thread owns its share of the core; the capturer never waits for it to end.
    const bool started = platform::ui::startThread([core = core_] { core->CapturerThreadProc(); });
    if (!started) {
        trace::line(u"create receive window thread fail");
        return;
    }
    trace::line(u"will close handle");
    if (core_->waitForWindow(kOpenWait) != 0)
        ensureBroker();
}

TouchCapturer::~TouchCapturer() {
    std::shared_ptr<CharmBarBroker> broker;
    {
        std::lock_guard lock(brokerMutex_);
        broker = std::move(broker_);
    }
    if (broker)
        broker->shutDown();
    core_->close();
}

std::shared_ptr<CharmBarBroker> TouchCapturer::broker() const {
    std::lock_guard lock(brokerMutex_);
    return broker_;
}

std::shared_ptr<CharmBarBroker> TouchCapturer::ensureBroker() {
    std::lock_guard lock(brokerMutex_);
    const WindowId window = core_->window();
    if (broker_ || window == 0)
        return broker_;
    trace::line(u"will create CharmBarBroker");
    broker_ = CharmBarBroker::create(platform::ui::windowModule(window));
    broker_->setCapturerWindow(window);
    core_->setBroker(broker_);
    return broker_;
}

void TouchCapturer::setHotKey(bool enable, std::uint32_t key) {
    if (core_->window() == 0)
        return;
    // The hot key is useless without the overlay's broker, so it exists before the key can be pressed.
    ensureBroker();
    core_->setHotKey(enable, key);
}

void TouchCapturer::setCharmBarCaptureEnable(bool enable) {
    if (auto broker = ensureBroker())
        broker->setCharmBarCaptureEnable(enable);
}

} // namespace sc
