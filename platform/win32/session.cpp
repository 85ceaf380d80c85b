// Locking, the monitor power broadcast and the recycle bin.
#include "platform/session.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/error.h"

namespace platform {

bool lockWorkStation() {
    return LockWorkStation() != 0 || failed(u"cannot lock", u"the workstation");
}

void broadcastSystemCommand(std::uint32_t command, std::intptr_t lParam) {
    SendMessageW(HWND_BROADCAST, WM_SYSCOMMAND, command, lParam);
}

bool queryRecycleBin(std::uint64_t& items) {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (SHQueryRecycleBinW(nullptr, &info) != S_OK)
        return false;
    items = static_cast<std::uint64_t>(info.i64NumItems);
    return true;
}

bool emptyRecycleBin(std::uint32_t flags) {
    return SUCCEEDED(SHEmptyRecycleBinW(nullptr, nullptr, flags));
}

} // namespace platform
