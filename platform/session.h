// Session-wide system effects: locking, the monitor power broadcast and the recycle bin.
#pragma once

#include <cstdint>

namespace platform {

// Locks the workstation; false when the system refused.
bool lockWorkStation();

// Sends WM_SYSCOMMAND with the command and lParam to every top-level window and waits until all
// of them handled it.
void broadcastSystemCommand(std::uint32_t command, std::intptr_t lParam);

// Queries the recycle bins of every drive; false when the query failed.
bool queryRecycleBin(std::uint64_t& items);
// Empties the recycle bins of every drive with the shell's flags (0 asks the user and shows progress).
bool emptyRecycleBin(std::uint32_t flags);

} // namespace platform
