// Synthetic keyboard input.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// One keyboard event: a virtual-key code pressed or released (no scan code, no extra flags).
struct KeyEvent {
    std::uint16_t key = 0;
    bool up = false;
};

// Injects all events in one call, in order, so nothing the user types can land between them.
// Returns the number of events the system accepted.
unsigned sendKeys(const std::vector<KeyEvent>& events);

} // namespace platform
