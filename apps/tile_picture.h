// The tile picture's background pixel.
#pragma once

#include <cstdint>

namespace sc {

// A COLORREF (red in the lowest byte, then green, then blue; the top byte ignored) as an opaque
// 32-bit pixel 0xAARRGGBB, which lies in memory as blue, green, red, 255.
constexpr std::uint32_t tileBackgroundPixel(std::uint32_t colorRef) {
    const std::uint32_t red = colorRef & 0xFFu;
    const std::uint32_t green = (colorRef >> 8) & 0xFFu;
    const std::uint32_t blue = (colorRef >> 16) & 0xFFu;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

} // namespace sc
