// A system mutex shared by name between every process of the session.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

using MutexId = std::uintptr_t; // 0: no mutex

enum class MutexWait {
    Acquired,
    Abandoned, // the previous owner ended without releasing; the caller owns the mutex now
    Failed,    // the caller does not own it
};

// Creates the mutex, or opens it when another process created it first; not owned. 0 on failure.
MutexId createNamedMutex(std::u16string_view name);
// Waits without a time limit. A thread that owns the mutex may take it again; each take needs a release.
MutexWait waitForMutex(MutexId mutex);
bool releaseMutex(MutexId mutex);
void closeMutex(MutexId mutex);

} // namespace platform
