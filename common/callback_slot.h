// A host's callback and its context, called from any thread and replaced from any other.
#pragma once

#include <condition_variable>
#include <mutex>

namespace sc {

// Holds one callback. call() runs it outside the lock, so callbacks on several threads run side by
// side; set() returns only once no call of the old callback is still running, except the caller's own
// when a callback replaces itself. A callback that throws is the host's fault, but nothing gets past.
template <class Fn> class CallbackSlot {
  public:
    void set(Fn fn, void* context) {
        std::unique_lock lock(mutex_);
        fn_ = fn;
        context_ = context;
        idle_.wait(lock, [this] { return running_ == depth(); });
    }

    // Calls the callback with the arguments and its context; false when none is set.
    template <class... Args> bool call(Args... args) {
        Fn fn;
        void* context;
        {
            std::lock_guard lock(mutex_);
            fn = fn_;
            context = context_;
            if (fn == nullptr)
                return false;
            ++running_;
        }
        ++depth();
        try {
            fn(args..., context);
        } catch (...) {
        }
        --depth();
        {
            std::lock_guard lock(mutex_);
            --running_;
        }
        idle_.notify_all();
        return true;
    }

    bool isSet() {
        std::lock_guard lock(mutex_);
        return fn_ != nullptr;
    }

  private:
    // Calls of this slot running on the calling thread: a callback may set the slot from inside.
    static int& depth() {
        thread_local int d = 0;
        return d;
    }

    std::mutex mutex_;
    std::condition_variable idle_;
    Fn fn_ = nullptr;
    void* context_ = nullptr;
    int running_ = 0;
};

} // namespace sc
