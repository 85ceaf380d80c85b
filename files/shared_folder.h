// What the processes sharing one configuration folder need to keep one view of it: a named system
// mutex that orders their changes, and a generation counter each change moves on, so a process can
// tell with one memory read whether its tables are still what the files hold.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/named_mutex.h"
#include "platform/shared_counter.h"

namespace sc {

// Holds the named mutex for one change or one reload and always gives it back. An abandoned wait
// counts as taken: files are only ever replaced whole or appended to with the failures cut back, so a
// peer that died holding the mutex cannot have left a half-written file, and refusing would lose this
// change.
class MutexHold {
  public:
    explicit MutexHold(platform::MutexId mutex);
    ~MutexHold();
    MutexHold(const MutexHold&) = delete;
    MutexHold& operator=(const MutexHold&) = delete;
    explicit operator bool() const { return owned_; }

  private:
    platform::MutexId mutex_;
    bool owned_ = false;
};

class SharedFolder {
  public:
    // `mutexName` names the mutex; the counter is named after `kind` and the folder's absolute path.
    SharedFolder(std::u16string_view mutexName, std::u16string_view kind, std::u16string_view folder);
    ~SharedFolder();
    SharedFolder(const SharedFolder&) = delete;
    SharedFolder& operator=(const SharedFolder&) = delete;

    platform::MutexId mutex() const { return mutex_; }
    // The generation of the folder's files: read it with the mutex held before reading the files.
    std::uint64_t generation() const { return platform::readSharedCounter(counter_); }
    // With the mutex held, before the owner reads the files: its view is of the generation they have now.
    void markRead() { seen_ = generation(); }
    // After a change was written with the mutex held: moves the generation on, and the owner's view with
    // it, since the owner made the change.
    void publish() { seen_ = platform::incrementSharedCounter(counter_); }

    // Before a lookup: when another process changed the files since the owner's view, takes the mutex,
    // then `lock` exclusively, and runs `reload` (which calls reloadIfChanged). One memory read otherwise;
    // without the mutex the owner keeps its view, since a stale view beats none.
    template <class Lock, class Reload> void catchUp(Lock& lock, Reload&& reload) {
        if (generation() == seen_.load())
            return;
        MutexHold hold(mutex_);
        if (!hold)
            return;
        std::unique_lock held(lock);
        reload();
    }
    // With the mutex and the owner's lock held: runs `load` when the files moved on since the owner's
    // view, which is then of the generation it read them at.
    template <class Load> void reloadIfChanged(Load&& load) {
        const std::uint64_t current = generation();
        if (current == seen_.load())
            return;
        load();
        seen_ = current;
    }

  private:
    platform::MutexId mutex_;
    platform::CounterId counter_;
    std::atomic<std::uint64_t> seen_{0}; // the generation the owner's view was read at or last written as
};

// "strokecast-<kind>-" and eight hex digits of the hash of the folder's absolute path, upper-cased as
// Windows compares paths: the name of a system object that belongs to that folder.
std::u16string folderObjectName(std::u16string_view kind, std::u16string_view folder);

} // namespace sc
