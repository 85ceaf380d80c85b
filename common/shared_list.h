// A list that any thread adds to and reads a copy of, every access under the list's own lock.
#pragma once

#include <mutex>
#include <utility>
#include <vector>

namespace sc {

template <class T> class SharedList {
  public:
    void add(T item) {
        std::lock_guard lock(mutex_);
        items_.push_back(std::move(item));
    }
    // What was added so far, in order.
    std::vector<T> items() const {
        std::lock_guard lock(mutex_);
        return items_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        items_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<T> items_;
};

} // namespace sc
