// A stand-in for the named system mutex: shared by name, recursive per thread, and steerable to fail
// its creation or report an abandoned wait. Between processes it is a lock on a file of that name in a
// per-user folder under the temporary folder, so two native processes sharing configuration files
// order their changes as on Windows.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/fake/fake_state.h"
#include "platform/named_mutex.h"

namespace platform {
namespace {

struct Named {
    std::mutex lock;
    std::condition_variable released;
    std::thread::id owner;
    int depth = 0;
    std::string lockPath;
    int lockFile = -1;
    pid_t lockOwner = 0; // the process that opened lockFile: a forked child must open its own

    Named() = default;
    Named(const Named&) = delete;
    Named& operator=(const Named&) = delete;
    ~Named() {
        if (lockFile >= 0 && lockOwner == ::getpid())
            ::close(lockFile);
    }
};

std::string lockPathFor(std::u16string_view name) {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/strokecast-locks-" +
                         std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    std::string file;
    for (char16_t c : name)
        file += (c < 0x80 && c != u'/' && c != u'\\') ? static_cast<char>(c) : '_';
    return folder + "/" + file;
}

// Takes the file lock for the process; called by the thread that just became the owner.
void lockAcrossProcesses(Named& named) {
    if (named.lockOwner != ::getpid()) {
        named.lockFile = ::open(named.lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        named.lockOwner = ::getpid();
    }
    if (named.lockFile >= 0)
        while (::flock(named.lockFile, LOCK_EX) != 0 && errno == EINTR) {
        }
}

struct Registry {
    std::mutex lock;
    std::map<std::u16string, std::shared_ptr<Named>> byName;
    std::map<MutexId, std::shared_ptr<Named>> byId;
    MutexId nextId = 1;
    int waits = 0;
};

// Managers that a process leaves open are closed by its exit handlers, possibly after the registry
// went: from then on every call is a no-op.
constinit std::atomic<bool> registryGone{false};

struct LiveRegistry : Registry {
    ~LiveRegistry() { registryGone = true; }
};

Registry& registry() {
    static LiveRegistry r;
    return r;
}

std::shared_ptr<Named> find(MutexId id) {
    if (registryGone)
        return nullptr;
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    auto it = r.byId.find(id);
    return it == r.byId.end() ? nullptr : it->second;
}

} // namespace

MutexId createNamedMutex(std::u16string_view name) {
    if (registryGone || fake::systemScript().mutexCreateFails)
        return 0;
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    auto& named = r.byName[std::u16string(name)];
    if (!named) {
        named = std::make_shared<Named>();
        named->lockPath = lockPathFor(name);
    }
    const MutexId id = r.nextId++;
    r.byId[id] = named;
    return id;
}

MutexWait waitForMutex(MutexId id) {
    MutexWait result = MutexWait::Acquired;
    if (registryGone)
        return MutexWait::Failed;
    {
        Registry& r = registry();
        std::lock_guard lock(r.lock);
        ++r.waits;
        auto& forced = fake::systemScript().nextWaits;
        if (!forced.empty()) {
            result = forced.front();
            forced.pop_front();
        }
    }
    std::shared_ptr<Named> named = find(id);
    if (!named || result == MutexWait::Failed)
        return MutexWait::Failed;
    std::unique_lock lock(named->lock);
    const auto self = std::this_thread::get_id();
    named->released.wait(lock, [&] { return named->depth == 0 || named->owner == self; });
    named->owner = self;
    if (++named->depth == 1)
        lockAcrossProcesses(*named);
    return result;
}

bool releaseMutex(MutexId id) {
    std::shared_ptr<Named> named = find(id);
    if (!named)
        return false;
    std::lock_guard lock(named->lock);
    if (named->depth == 0 || named->owner != std::this_thread::get_id())
        return false;
    if (--named->depth == 0) {
        if (named->lockFile >= 0 && named->lockOwner == ::getpid())
            ::flock(named->lockFile, LOCK_UN);
        named->owner = {};
        named->released.notify_all();
    }
    return true;
}

void closeMutex(MutexId id) {
    if (registryGone)
        return;
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    r.byId.erase(id);
}

namespace fake {

void resetNamedMutexes() {
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    r.byName.clear();
    r.byId.clear();
    r.waits = 0;
}

int mutexDepth(std::u16string_view name) {
    std::shared_ptr<Named> named;
    {
        Registry& r = registry();
        std::lock_guard lock(r.lock);
        auto it = r.byName.find(std::u16string(name));
        if (it == r.byName.end())
            return 0;
        named = it->second;
    }
    std::lock_guard lock(named->lock);
    return named->depth;
}

int mutexWaitCount() {
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    return r.waits;
}

} // namespace fake
} // namespace platform
