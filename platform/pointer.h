// Pointer input queries of the overlay window.
#pragma once

#include <cstdint>

namespace platform::pointer {

// The raw screen position in pixels of a touch pointer; false for pen, mouse and touchpad pointers and
// whenever the system cannot answer.
bool touchPosition(std::uint32_t pointerId, std::int32_t& x, std::int32_t& y);

} // namespace platform::pointer
