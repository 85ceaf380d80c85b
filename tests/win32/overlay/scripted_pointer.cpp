// Touch pointers for the overlay test: Wine produces no touch input, so positions come from a script.
#include "tests/win32/overlay/scripted_pointer.h"

#include <map>
#include <mutex>

#include "platform/pointer.h"

namespace sctest {
namespace {

std::mutex mutex;
std::map<std::uint32_t, std::pair<std::int32_t, std::int32_t>> touches;

} // namespace

void scriptTouch(std::uint32_t pointerId, std::int32_t x, std::int32_t y) {
    std::lock_guard lock(mutex);
    touches[pointerId] = {x, y};
}

void clearTouches() {
    std::lock_guard lock(mutex);
    touches.clear();
}

} // namespace sctest

namespace platform::pointer {

bool touchPosition(std::uint32_t pointerId, std::int32_t& x, std::int32_t& y) {
    std::lock_guard lock(sctest::mutex);
    const auto it = sctest::touches.find(pointerId);
    if (it == sctest::touches.end())
        return false;
    x = it->second.first;
    y = it->second.second;
    return true;
}

} // namespace platform::pointer
