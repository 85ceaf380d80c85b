// Scripted touch pointers: any pointer id not scripted is a pen, mouse or touchpad pointer.
#pragma once

#include <cstdint>

namespace sctest {

void scriptTouch(std::uint32_t pointerId, std::int32_t x, std::int32_t y);
void clearTouches();

} // namespace sctest
