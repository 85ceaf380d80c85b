// The process-wide single objects, each null while closed.
#pragma once

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <utility>

namespace sc {

class GestureManager;
class ActionManager;
class TouchCapturer;

// One process-wide object behind a reader/writer lock: exports and the capture thread use it under a
// shared lock, Open and Close replace it under the exclusive lock, so nobody ever uses a closed object.
template <class T> class Instance {
  public:
    Instance() = default;
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    // Creates the object with make() unless one is open; a second open changes nothing.
    template <class Make> void open(Make&& make) {
        std::unique_lock lock(mutex_);
        if (!object_)
            object_ = make();
    }

    // Takes the object out and destroys it after the lock is released; no-op while closed.
    void close() {
        std::unique_ptr<T> old;
        {
            std::unique_lock lock(mutex_);
            old = std::move(object_);
        }
    }

    // Runs f(object) under the shared lock, or returns fallback at once while closed.
    template <class R, class F> R with(R fallback, F&& f) const {
        std::shared_lock lock(mutex_);
        if (!object_)
            return fallback;
        return f(*object_);
    }

    bool isOpen() const {
        std::shared_lock lock(mutex_);
        return object_ != nullptr;
    }

  private:
    mutable std::shared_mutex mutex_;
    std::unique_ptr<T> object_;
};

extern Instance<GestureManager> gestureManager;
extern Instance<ActionManager> actionManager;
extern Instance<TouchCapturer> touchCapturer;

} // namespace sc
