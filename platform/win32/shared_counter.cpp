// The shared counter as eight bytes of named shared memory, alive while any process holds it.
#include "platform/shared_counter.h"

#include <windows.h>

#include <atomic>

#include "platform/win32/handles.h"

namespace platform {
namespace {

struct Counter {
    win32::UniqueHandle mapping;
    std::uint64_t* value = nullptr;
};

std::atomic_ref<std::uint64_t> counterAt(CounterId counter) {
    return std::atomic_ref<std::uint64_t>(*reinterpret_cast<Counter*>(counter)->value);
}

} // namespace

CounterId openSharedCounter(std::u16string_view name, std::u16string_view) {
    // A process that opens it after every other holder closed starts again from 0; it reads the files
    // afresh at that point anyway, so no change can be missed.
    win32::UniqueHandle mapping(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, win32::wide(name).c_str()));
    if (!mapping)
        return 0;
    void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 8);
    if (view == nullptr)
        return 0;
    auto* counter = new Counter{std::move(mapping), static_cast<std::uint64_t*>(view)};
    return reinterpret_cast<CounterId>(counter);
}

std::uint64_t readSharedCounter(CounterId counter) {
    return counter == 0 ? 0 : counterAt(counter).load(std::memory_order_acquire);
}

std::uint64_t incrementSharedCounter(CounterId counter) {
    return counter == 0 ? 0 : counterAt(counter).fetch_add(1, std::memory_order_acq_rel) + 1;
}

void closeSharedCounter(CounterId counter) {
    if (counter == 0)
        return;
    auto* owned = reinterpret_cast<Counter*>(counter);
    UnmapViewOfFile(owned->value);
    delete owned;
}

} // namespace platform
