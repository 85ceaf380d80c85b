// Touch positions from the script: a pointer id without one is not touch.
#include "platform/pointer.h"

#include "platform/fake/fake_state.h"

namespace platform {

namespace pointer {

bool touchPosition(std::uint32_t pointerId, std::int32_t& x, std::int32_t& y) {
    auto it = fake::ui().touchPointers.find(pointerId);
    if (it == fake::ui().touchPointers.end())
        return false;
    x = it->second.first;
    y = it->second.second;
    return true;
}

} // namespace pointer
} // namespace platform
