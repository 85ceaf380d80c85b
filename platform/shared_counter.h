// A 64-bit counter that every process of the session sees, found by name: cheap to read on every call,
// so a process can tell whether another changed the files it mirrors since it last read them.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

using CounterId = std::uintptr_t; // 0: no counter

// Opens the counter `name` that belongs to `folder`, creating it at 0 when nobody has it yet. 0 on
// failure. Natively the counter lives in a small file in the folder; on Windows in named shared memory.
CounterId openSharedCounter(std::u16string_view name, std::u16string_view folder);
// The current value; 0 without a counter.
std::uint64_t readSharedCounter(CounterId counter);
// Adds one and returns the new value; 0 without a counter.
std::uint64_t incrementSharedCounter(CounterId counter);
void closeSharedCounter(CounterId counter);

} // namespace platform
