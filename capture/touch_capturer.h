// The touch capturer: its thread and message-only window, stroke collection, the hot key, and the broker.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "capture/charm_bar_broker.h"
#include "capture/stroke_collector.h"
#include "platform/ui.h"

namespace sc {

// What lives on the capturer thread. Its window holds it until the window is gone, so closing the
// capturer never waits for the thread and the thread never reads freed memory.
class CapturerCore : public std::enable_shared_from_this<CapturerCore> {
  public:
    using WindowId = platform::ui::WindowId;

    static constexpr unsigned kStrokeTimeoutMs = 300;

    explicit CapturerCore(StrokeHooks hooks);

    // The capturer thread: creates the window, publishes it and pumps messages until the window goes.
    void capturerThreadProc();
    // The thread could not be started: there will be no window.
    void capturerThreadFailed() { publish(0); }
    // Waits until the thread has published its window or failed, at most `limit`; the window or 0.
    WindowId waitForWindow(std::chrono::milliseconds limit);
    // Closing: a window published after this is destroyed at once; the current one is asked to close.
    void close();

    bool capturerWindowProc(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Host side of the hot key: writes its console lines and posts the request to the capturer thread.
    // Does nothing once the thread has failed to make its window; a request made while the window is
    // still being made is posted as soon as it exists.
    void setHotKey(bool enable, std::uint32_t key);
    // Registers modifiers+key on the capturer thread and returns once it did, or unregisters for key 0.
    // A key that cannot be registered leaves the one registered before in place; false then, with the
    // system's error code in `error` (0 when the capturer thread has no window or did not answer).
    bool setHotKeyNow(std::uint32_t modifiers, std::uint32_t key, std::uint32_t& error);
    // The broker learns the capturer window as soon as both exist.
    void setBroker(std::shared_ptr<CharmBarBroker> broker);

    WindowId window() const { return window_; }
    bool hotKeyInUse() const { return hotKeyInUse_; }
    const StrokeCollector& stroke() const { return collector_; }

  private:
    void collectPoint(WindowId window, std::uintptr_t wParam, std::intptr_t lParam);
    void onStrokeTimeout(WindowId window, platform::ui::TimerId timer);
    void handleHotKeyRequest(WindowId window, std::uintptr_t wParam, std::intptr_t lParam);
    void handleHotKey(std::uintptr_t id);
    void publish(WindowId window);
    void post(WindowId window, std::uintptr_t wParam, std::intptr_t lParam);

    const StrokeHooks hooks_;
    // Capturer thread only.
    StrokeCollector collector_;
    platform::ui::TimerId strokeTimerId_ = 1;
    // The hot key belongs to this capturer's window; set and cleared on the capturer thread.
    std::atomic<bool> hotKeyInUse_{false};
    // Host side: a register request went out that no unregister request has followed, so an unregister
    // is still owed even if the capturer thread has not handled the register yet.
    std::atomic<bool> hotKeyRequested_{false};

    std::atomic<WindowId> window_{0};
    mutable std::mutex mutex_;
    std::condition_variable published_;
    bool threadDone_ = false; // the window is published, or the thread failed
    bool closing_ = false;
    std::shared_ptr<CharmBarBroker> broker_;
    struct Request {
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::vector<Request> pendingHotKey_; // made before the window existed
    // Capturer thread only: what is registered, so a refused change can put it back.
    std::uint32_t hotKeyModifiers_ = 0;
    std::uint32_t hotKey_ = 0;
    // The last registration sent: refused or not, and the system's code, read by the sending thread.
    std::atomic<bool> hotKeyRefused_{false};
    std::atomic<std::uint32_t> hotKeyError_{0};
};

// One open capturer: opening starts the thread and waits briefly for its window; destruction closes.
class TouchCapturer {
  public:
    using WindowId = platform::ui::WindowId;

    static constexpr std::chrono::milliseconds kOpenWait{500};

    explicit TouchCapturer(StrokeHooks hooks);
    ~TouchCapturer();
    TouchCapturer(const TouchCapturer&) = delete;
    TouchCapturer& operator=(const TouchCapturer&) = delete;

    // Does nothing when the capturer thread could not make its window.
    void setHotKey(bool enable, std::uint32_t key);
    bool setHotKeyNow(std::uint32_t modifiers, std::uint32_t key, std::uint32_t& error) {
        return core_->setHotKeyNow(modifiers, key, error);
    }
    // Does nothing without a broker (the capturer thread could not be started).
    void setCharmBarCaptureEnable(bool enable);

    WindowId window() const { return core_->window(); }
    CharmBarBroker* broker() const { return broker_.get(); }

  private:
    std::shared_ptr<CapturerCore> core_;
    std::shared_ptr<CharmBarBroker> broker_;
};

} // namespace sc
