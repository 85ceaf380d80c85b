// What one thread of the test process takes from its message queue, seen through a WH_GETMESSAGE hook on
// that thread: tests wait for the events themselves instead of sleeping for a time that a loaded machine
// can outlast.
//
// Two properties of a message queue make the waits exact. Messages posted to one thread are taken in the
// order they were posted, so once the thread takes a marker posted after some messages, it has handled
// them all (its loop takes the next message only after dispatching the one before). And a timer message is
// taken only when no posted message is waiting, so points or touches queued together are handled back to
// back and no timer can fire between them, however long either thread stalls.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace sctest {

// Polls `done` every few milliseconds until it holds or `milliseconds` passed; whether it holds.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 20000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return done();
        Sleep(5);
    }
    return true;
}

class QueueWatch {
  public:
    // One message the thread took, with the time it was handed to the thread's loop.
    struct Taken {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        DWORD tick;                                 // GetTickCount
        std::chrono::steady_clock::time_point time; // steady clock
    };

    explicit QueueWatch(DWORD threadId) : state_(std::make_shared<State>()) {
        state_->threadId = threadId;
        state_->open = CreateEventW(nullptr, TRUE, TRUE, nullptr);
        {
            std::lock_guard lock(registryMutex());
            registry().push_back(state_);
        }
        // A thread of this process: the procedure needs no module.
        hook_ = SetWindowsHookExW(WH_GETMESSAGE, &QueueWatch::proc, nullptr, threadId);
    }
    ~QueueWatch() {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        release();
        std::lock_guard lock(registryMutex());
        auto& all = registry();
        for (auto it = all.begin(); it != all.end(); ++it) {
            if (*it == state_) {
                all.erase(it);
                break;
            }
        }
        // A hook call still running holds its own share of the state, and with it the event.
    }
    QueueWatch(const QueueWatch&) = delete;
    QueueWatch& operator=(const QueueWatch&) = delete;

    bool hooked() const { return hook_ != nullptr; }
    DWORD threadId() const { return state_->threadId; }

    // Every message the thread took while watched, markers left out.
    std::vector<Taken> taken() const {
        std::lock_guard lock(state_->mutex);
        return state_->taken;
    }
    // How many messages `message` to `window` (any window: nullptr) the thread took.
    std::size_t count(UINT message, HWND window = nullptr) const {
        std::lock_guard lock(state_->mutex);
        std::size_t n = 0;
        for (const Taken& t : state_->taken)
            n += t.message == message && (window == nullptr || t.window == window);
        return n;
    }
    // The last message `message` the thread took; false when none.
    bool last(UINT message, Taken& out) const {
        std::lock_guard lock(state_->mutex);
        for (auto it = state_->taken.rbegin(); it != state_->taken.rend(); ++it) {
            if (it->message == message) {
                out = *it;
                return true;
            }
        }
        return false;
    }

    // Posts a marker and waits until the thread takes it: the thread has then handled every message posted
    // to it before the marker. false when the deadline passed (or the thread is gone).
    bool flush(int milliseconds = 20000) {
        const std::uint64_t marker = ++state_->nextMarker;
        return postMarker(marker) &&
               waitUntil([this, marker] { return state_->markerSeen >= marker; }, milliseconds);
    }
    // Like flush, then keeps the thread inside its GetMessage, at the marker, until release(): whatever is
    // posted meanwhile is handled back to back once released, ahead of any timer.
    bool hold(int milliseconds = 20000) {
        ResetEvent(state_->open);
        const std::uint64_t marker = ++state_->nextMarker;
        state_->holdAt = marker;
        return postMarker(marker) &&
               waitUntil([this, marker] { return state_->heldAt == marker; }, milliseconds);
    }
    void release() { SetEvent(state_->open); }
    // The thread waits this long before it is handed each message `message`: a stream queued in one go
    // reaches the window procedure at this pace, and nothing else (no timer) can come between its messages.
    void pace(UINT message, int milliseconds) {
        state_->pacedMessage = message;
        state_->paceMs = milliseconds;
    }

  private:
    struct State {
        DWORD threadId = 0;
        HANDLE open = nullptr;
        std::mutex mutex;
        std::vector<Taken> taken;
        std::atomic<std::uint64_t> nextMarker{0};
        std::atomic<std::uint64_t> markerSeen{0};
        std::atomic<std::uint64_t> holdAt{0};
        std::atomic<std::uint64_t> heldAt{0};
        std::atomic<UINT> pacedMessage{0};
        std::atomic<int> paceMs{0};
        ~State() {
            if (open)
                CloseHandle(open);
        }
    };

    static UINT markerMessage() {
        static const UINT message = RegisterWindowMessageW(L"sctest.QueueWatch.marker");
        return message;
    }
    bool postMarker(std::uint64_t marker) {
        return PostThreadMessageW(state_->threadId, markerMessage(), static_cast<WPARAM>(marker), 0) != 0;
    }

    static std::mutex& registryMutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<std::shared_ptr<State>>& registry() {
        static std::vector<std::shared_ptr<State>> all;
        return all;
    }
    static std::shared_ptr<State> stateOfThisThread() {
        const DWORD me = GetCurrentThreadId();
        std::lock_guard lock(registryMutex());
        for (const auto& state : registry())
            if (state->threadId == me)
                return state;
        return nullptr;
    }

    static LRESULT CALLBACK proc(int code, WPARAM removing, LPARAM lParam) {
        if (code == HC_ACTION && removing == PM_REMOVE) {
            auto* m = reinterpret_cast<MSG*>(lParam);
            if (std::shared_ptr<State> state = stateOfThisThread()) {
                if (m->hwnd == nullptr && m->message == markerMessage()) {
                    const std::uint64_t marker = m->wParam;
                    m->message = WM_NULL; // nothing for the thread's own loop to see
                    if (state->holdAt == marker) {
                        state->heldAt = marker;
                        WaitForSingleObject(state->open, INFINITE);
                    }
                    if (state->markerSeen < marker)
                        state->markerSeen = marker;
                } else {
                    if (m->message == state->pacedMessage && state->paceMs > 0)
                        Sleep(static_cast<DWORD>(state->paceMs));
                    std::lock_guard lock(state->mutex);
                    state->taken.push_back({m->hwnd, m->message, m->wParam, m->lParam, GetTickCount(),
                                            std::chrono::steady_clock::now()});
                }
            }
        }
        return CallNextHookEx(nullptr, code, removing, lParam);
    }

    std::shared_ptr<State> state_;
    HHOOK hook_ = nullptr;
};

} // namespace sctest
