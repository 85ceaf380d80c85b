// The named mutex as a Win32 mutex object.
#include "platform/named_mutex.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace platform {

MutexId createNamedMutex(std::u16string_view name) {
    return reinterpret_cast<MutexId>(CreateMutexW(nullptr, FALSE, win32::wide(name).c_str()));
}

MutexWait waitForMutex(MutexId mutex) {
    switch (WaitForSingleObject(reinterpret_cast<HANDLE>(mutex), INFINITE)) {
    case WAIT_OBJECT_0:
        return MutexWait::Acquired;
    case WAIT_ABANDONED:
        return MutexWait::Abandoned;
    default:
        return MutexWait::Failed;
    }
}

bool releaseMutex(MutexId mutex) {
    return ReleaseMutex(reinterpret_cast<HANDLE>(mutex)) != 0;
}

void closeMutex(MutexId mutex) {
    CloseHandle(reinterpret_cast<HANDLE>(mutex));
}

} // namespace platform
