// Packed template points: every float comes back with its bits, and whole coordinates pack small.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>

#include "gesture/template_list.h"

using namespace sc;

namespace {

bool sameBits(const PointList& a, const PointList& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::bit_cast<std::uint32_t>(a[i].x) != std::bit_cast<std::uint32_t>(b[i].x) ||
            std::bit_cast<std::uint32_t>(a[i].y) != std::bit_cast<std::uint32_t>(b[i].y))
            return false;
    return true;
}

} // namespace

TEST(PackedPoints, UnpackGivesTheSameBits) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const float big = 2147483648.0f, beyond = 4294967296.0f;
    struct Case {
        const char* what;
        PointList points;
    };
    const Case cases[] = {
        {"no point", {}},
        {"a stroke in pixels", {{43, 230}, {45, 228}, {47, 227}, {300, 2}, {0, 0}}},
        {"fractions", {{0.5f, -0.25f}, {1e-30f, 3.3f}}},
        {"signed zeros", {{-0.0f, 0.0f}, {0.0f, -0.0f}}},
        {"NaN and infinities", {{nan, -nan}, {inf, -inf}}},
        {"the 32-bit ends and past them", {{big, -big}, {-big, big}, {beyond, -beyond}, {3e38f, -3e38f}}},
        {"whole after non-whole", {{7, 7}, {0.5f, 7}, {8, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PackedPoints packed(c.points);
        EXPECT_EQ(packed.size(), c.points.size());
        PointList out{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}};
        packed.unpack(out);
        EXPECT_TRUE(sameBits(out, c.points));
        const PackedPoints copy = packed;
        EXPECT_TRUE(sameBits(copy.unpack(), c.points));
    }

    std::mt19937 rng(11);
    std::uniform_int_distribution<std::uint32_t> anyBits;
    PointList random;
    for (int i = 0; i < 2000; ++i) {
        const std::uint32_t bits = anyBits(rng);
        // Half raw bit patterns, half whole numbers of every size.
        const float value = i % 2 == 0 ? std::bit_cast<float>(bits)
                                       : static_cast<float>(static_cast<std::int32_t>(bits) >> (bits % 31));
        random.push_back({value, -value});
    }
    EXPECT_TRUE(sameBits(PackedPoints(random).unpack(), random));
}

TEST(PackedPoints, AStrokeInPixelsTakesAboutTwoBytesAPoint) {
    PointList stroke;
    for (int i = 0; i < 100; ++i)
        stroke.push_back({static_cast<float>(400 + 3 * i), static_cast<float>(300 - 2 * i)});
    // The first point's coordinates take two bytes each, every later one a byte per coordinate.
    PointList out;
    const PackedPoints packed(stroke);
    packed.unpack(out);
    EXPECT_TRUE(sameBits(out, stroke));
    EXPECT_EQ(packed.byteCount(), 2u + 2u + 99u * 2u);
    EXPECT_LE(sizeof(PackedPoints), 16u);
}
