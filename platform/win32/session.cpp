// Locking, the monitor power broadcast, shell commands and the recycle bin.
#include "platform/session.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <string>

#include "common/utf16.h"
#include "platform/error.h"

namespace platform {

bool lockWorkStation() {
    return LockWorkStation() != 0 || failed(u"cannot lock", u"the workstation");
}

void broadcastSystemCommand(std::uint32_t command, std::intptr_t lParam) {
    SendMessageW(HWND_BROADCAST, WM_SYSCOMMAND, command, lParam);
}

std::intptr_t shellExecuteA(std::string_view verb, std::string_view file, std::string_view parameters,
                            int show) {
    const std::string v(verb), f(file), p(parameters);
    const auto result = reinterpret_cast<std::intptr_t>(
        ShellExecuteA(nullptr, v.c_str(), f.c_str(), p.c_str(), nullptr, show));
    if (result <= 32) {
        const DWORD error = GetLastError();
        failedWith(u"cannot start", sc::utf16::fromUtf8(f + " " + p),
                   error != 0 ? error : static_cast<DWORD>(result));
    }
    return result;
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
