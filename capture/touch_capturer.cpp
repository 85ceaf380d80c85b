// The capturer thread, its window procedure, and opening and closing the capturer.
#include "capture/touch_capturer.h"

#include "common/console.h"
#include "common/hot_key.h"
#include "common/messages.h"
#include "common/utf16.h"

namespace sc {
namespace {

// The only modifiers SetHotKey ever offered.
constexpr std::uint32_t kCtrlAlt = hot_key::kControl | hot_key::kAlt;
// A hot-key request's lParam: 0 registers Ctrl+Alt+wParam, 1 unregisters, this one registers the
// modifiers in wParam's upper half with the key in its lower half.
constexpr std::intptr_t kRegisterWithModifiers = 2;
static_assert(sizeof(std::uintptr_t) == 8, "the modifiers travel in wParam's upper 32 bits");
// Longer than any action the capturer thread runs between two messages takes.
constexpr unsigned kAnswerWaitMs = 5000;

} // namespace

CapturerCore::CapturerCore(StrokeHooks hooks) : hooks_(std::move(hooks)) {}

void CapturerCore::capturerThreadProc() {
    const WindowId window = platform::ui::createCapturerWindow(
        [self = shared_from_this()](WindowId w, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
            return self->capturerWindowProc(w, message, wParam, lParam);
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
    std::vector<Request> pending;
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        threadDone_ = true;
        closeAtOnce = closing_ && window != 0;
        pending = std::move(pendingHotKey_);
        if (broker_ && window != 0)
            broker_->setCapturerWindow(window);
    }
    published_.notify_all();
    if (window == 0)
        return;
    for (const Request& request : pending)
        post(window, request.wParam, request.lParam);
    if (closeAtOnce)
        platform::ui::postMessage(window, msg::kClose, 0, 0);
}

void CapturerCore::post(WindowId window, std::uintptr_t wParam, std::intptr_t lParam) {
    platform::ui::postMessage(window, msg::kCaptureHotKey, wParam, lParam);
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
    if (closing_)
        return;
    broker_ = std::move(broker);
    if (broker_ && window_ != 0)
        broker_->setCapturerWindow(window_);
}

bool CapturerCore::capturerWindowProc(WindowId window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
    switch (message) {
    case msg::kDestroy:
        // A hot key belongs to the thread that registered it, so it is given back here, not by the host.
        if (hotKeyInUse_.exchange(false))
            platform::ui::unregisterHotKey(window);
        platform::ui::postQuit();
        return false;
    case msg::kClose:
        platform::ui::destroyWindow(window);
        return true;
    case msg::kTimer:
        if (wParam != strokeTimerId_)
            return false;
        onStrokeTimeout(window, wParam);
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

void CapturerCore::onStrokeTimeout(WindowId window, platform::ui::TimerId timer) {
    trace::line(u"-------Time out , Begin to recognize------");
    trace::line(u"raw points count : ", collector_.points().size());
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
    if (!broker || !broker->showOrDismissThreadWindow())
        trace::line(u"show or dismiss window fail");
}

void CapturerCore::handleHotKeyRequest(WindowId window, std::uintptr_t wParam, std::intptr_t lParam) {
    if (lParam == kRegisterWithModifiers) {
        const auto modifiers = static_cast<std::uint32_t>(static_cast<std::uint64_t>(wParam) >> 32);
        const auto key = static_cast<std::uint32_t>(wParam);
        const bool had = hotKeyInUse_.exchange(false);
        if (had)
            platform::ui::unregisterHotKey(window);
        std::uint32_t error = 0;
        if (key == 0 || platform::ui::registerHotKey(window, modifiers, key, error)) {
            hotKeyInUse_ = key != 0;
            hotKeyModifiers_ = modifiers;
            hotKey_ = key;
            return;
        }
        hotKeyError_ = error;
        hotKeyRefused_ = true;
        std::uint32_t ignored = 0;
        if (had && platform::ui::registerHotKey(window, hotKeyModifiers_, hotKey_, ignored))
            hotKeyInUse_ = true;
        return;
    }
    if (lParam == 1) {
        // Nothing registered (a failed or not yet handled registration): nothing to give back.
        if (!hotKeyInUse_)
            return;
        if (platform::ui::unregisterHotKey(window))
            hotKeyInUse_ = false;
        else
            console::line("UnregisterHotKey fail ");
        return;
    }
    if (hotKeyInUse_.exchange(false))
        platform::ui::unregisterHotKey(window);
    std::uint32_t error = 0;
    if (platform::ui::registerHotKey(window, kCtrlAlt, static_cast<std::uint32_t>(wParam), error)) {
        trace::line(u"set hot key success");
        hotKeyInUse_ = true;
        hotKeyModifiers_ = kCtrlAlt;
        hotKey_ = static_cast<std::uint32_t>(wParam);
    } else {
        trace::line(u"register hot key fail");
        console::line("last error : " + std::to_string(error));
    }
}

void CapturerCore::setHotKey(bool enable, std::uint32_t key) {
    {
        std::lock_guard lock(mutex_);
        if (threadDone_ && window_ == 0)
            return;
    }
    const bool inUse = hotKeyInUse_;
    std::u16string line = u"setHotKey : ";
    line += enable ? u"1" : u"0";
    line += u" , ";
    line += static_cast<char16_t>(key & 0xFF);
    console::line(std::u16string_view(line));
    console::line(std::string("hot_key_in_use : ") + (inUse ? "1" : "0"));
    Request request{};
    if (!enable) {
        const bool owed = hotKeyRequested_.exchange(false);
        if (!inUse && !owed)
            return;
        request = {0, 1};
    } else {
        hotKeyRequested_ = true;
        request = {key, 0};
    }
    WindowId target = 0;
    {
        std::lock_guard lock(mutex_);
        target = window_;
        if (target == 0) {
            pendingHotKey_.push_back(request);
            return;
        }
    }
    post(target, request.wParam, request.lParam);
}

bool CapturerCore::setHotKeyNow(std::uint32_t modifiers, std::uint32_t key, std::uint32_t& error) {
    error = 0;
    const WindowId window = waitForWindow(TouchCapturer::kOpenWait);
    if (window == 0)
        return false;
    // The hot key must belong to the capturer thread, which alone sees its messages.
    const std::uintptr_t wParam =
        static_cast<std::uintptr_t>(static_cast<std::uint64_t>(modifiers) << 32 | key);
    hotKeyRefused_ = false;
    if (!platform::ui::sendMessage(window, msg::kCaptureHotKey, wParam, kRegisterWithModifiers,
                                   kAnswerWaitMs))
        return false;
    if (hotKeyRefused_) {
        error = hotKeyError_;
        return false;
    }
    hotKeyRequested_ = key != 0;
    return true;
}

TouchCapturer::TouchCapturer(StrokeHooks hooks) : core_(std::make_shared<CapturerCore>(std::move(hooks))) {
    trace::line(u"will create thread to create window!");
    // The thread owns its share of the core; the capturer never waits for it to end.
    const bool started = platform::ui::startThread([core = core_] { core->capturerThreadProc(); });
    if (!started) {
        trace::line(u"create receive window thread fail");
        core_->capturerThreadFailed();
        return;
    }
    trace::line(u"will close handle");
    core_->waitForWindow(kOpenWait);
    // The broker needs only the executable's module, so it is made even when the window is slower than
    // the wait; the window joins it as soon as it exists, and the hot key works from then on.
    trace::line(u"will create CharmBarBroker");
    broker_ = CharmBarBroker::create(platform::ui::processModule());
    core_->setBroker(broker_);
}

TouchCapturer::~TouchCapturer() {
    if (broker_)
        broker_->shutDown();
    core_->close();
}

void TouchCapturer::setHotKey(bool enable, std::uint32_t key) {
    core_->setHotKey(enable, key);
}

void TouchCapturer::setCharmBarCaptureEnable(bool enable) {
    if (broker_)
        broker_->setCharmBarCaptureEnable(enable);
}

} // namespace sc
