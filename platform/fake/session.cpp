// Recorded session effects: locking, the monitor power broadcast and a scripted recycle bin.
#include "platform/session.h"

#include <cerrno>
#include <string>

#include "platform/error.h"
#include "platform/fake/fake_state.h"

namespace platform {

using fake::hex;
using fake::record;

bool lockWorkStation() {
    record("LockWorkStation");
    return fake::systemScript().lockSucceeds || failedWith(u"cannot lock", u"the workstation", EACCES);
}

void broadcastSystemCommand(std::uint32_t command, std::intptr_t lParam) {
    record("SendMessageW", {"HWND_BROADCAST", "WM_SYSCOMMAND", hex(command), std::to_string(lParam)});
}

bool queryRecycleBin(std::uint64_t& items) {
    record("SHQueryRecycleBinW");
    if (!fake::systemScript().recycleQuerySucceeds)
        return false;
    items = fake::systemScript().recycleItems;
    return true;
}

bool emptyRecycleBin(std::uint32_t flags) {
    record("SHEmptyRecycleBinW", {hex(flags)});
    fake::systemScript().recycleItems = 0;
    return true;
}

} // namespace platform
