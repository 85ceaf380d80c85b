// The tile background: COLORREF in, opaque 0xAARRGGBB pixel out.
#include <gtest/gtest.h>

#include "apps/tile_picture.h"

TEST(TilePicture, BackgroundIsOpaqueWithRedAndBlueSwappedWhateverTheTopByte) {
    struct Case {
        std::uint32_t colorRef, pixel;
    };
    const Case cases[] = {
        {0x00000000u, 0xFF000000u}, {0x000000FFu, 0xFFFF0000u}, {0x0000FF00u, 0xFF00FF00u},
        {0x00FF0000u, 0xFF0000FFu}, {0x00D77800u, 0xFF0078D7u}, {0xAB123456u, 0xFF563412u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sc::tileBackgroundPixel(c.colorRef), c.pixel) << std::hex << c.colorRef;
}
