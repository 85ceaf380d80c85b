// A process-local stand-in for the named system mutex: shared by name, recursive per thread, and
// steerable to fail its creation or report an abandoned wait.
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/fake/system_fake.h"
#include "platform/named_mutex.h"

namespace platform {
namespace {

struct Named {
    std::mutex lock;
    std::condition_variable released;
    std::thread::id owner;
    int depth = 0;
};

struct Registry {
    std::mutex lock;
    std::map<std::u16string, std::shared_ptr<Named>> byName;
    std::map<MutexId, std::shared_ptr<Named>> byId;
    MutexId nextId = 1;
    int waits = 0;
};

Registry& registry() {
    static Registry r;
    return r;
}

std::shared_ptr<Named> find(MutexId id) {
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    auto it = r.byId.find(id);
    return it == r.byId.end() ? nullptr : it->second;
}

} // namespace

MutexId createNamedMutex(std::u16string_view name) {
    if (fake::systemScript().mutexCreateFails)
        return 0;
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    auto& named = r.byName[std::u16string(name)];
    if (!named)
        named = std::make_shared<Named>();
    const MutexId id = r.nextId++;
    r.byId[id] = named;
    return id;
}

MutexWait waitForMutex(MutexId id) {
    MutexWait result = MutexWait::Acquired;
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
    ++named->depth;
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
        named->owner = {};
        named->released.notify_all();
    }
    return true;
}

void closeMutex(MutexId id) {
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
