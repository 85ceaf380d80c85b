// Touch pointer queries of the overlay window.
#include "platform/pointer.h"

#include <windows.h>

namespace platform::pointer {

bool touchPosition(std::uint32_t pointerId, std::int32_t& x, std::int32_t& y) {
    POINTER_INPUT_TYPE type = PT_POINTER;
    if (!GetPointerType(pointerId, &type) || type != PT_TOUCH)
        return false;
    POINTER_TOUCH_INFO touch{};
    if (!GetPointerTouchInfo(pointerId, &touch))
        return false;
    // The raw position, before any prediction moved it.
    x = touch.pointerInfo.ptPixelLocationRaw.x;
    y = touch.pointerInfo.ptPixelLocationRaw.y;
    return true;
}

} // namespace platform::pointer
