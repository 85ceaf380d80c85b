// Point arrays of the exports.
#include "gesture/point_array.h"

#include "gesture/geometry.h"

namespace sc {
namespace {

inline constexpr double kMinimumSpacing = 2.0;

std::uint16_t low16(float value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(truncateToInt32(value)) & 0xFFFFu);
}

} // namespace

PointList readPointArray(const std::uint16_t* values) {
    PointList points;
    for (; values[0] != 0; values += 2)
        points.push_back({static_cast<float>(values[0]), static_cast<float>(values[1])});
    return points;
}

PointList readSpacedPointArray(const std::uint16_t* values) {
    PointList points;
    for (; values[0] != 0; values += 2) {
        const GesturePoint p{static_cast<float>(values[0]), static_cast<float>(values[1])};
        if (points.empty() || distance(points.back(), p) > kMinimumSpacing)
            points.push_back(p);
    }
    return points;
}

bool writeTrack(const PointList& points, std::uint16_t* buffer, std::uint32_t capacity) {
    if (static_cast<std::uint64_t>(points.size()) + 1 > capacity / 2)
        return false;
    std::size_t i = 0;
    for (const GesturePoint& p : points) {
        buffer[i++] = low16(p.x);
        buffer[i++] = low16(p.y);
    }
    buffer[i] = 0;
    return true;
}

} // namespace sc
