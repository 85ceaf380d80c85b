// Stroke geometry. Coordinates are floats; the arithmetic is double except where noted, and the
// mix is deliberate: recognition results must not change with the compiler or the platform.
#include "gesture/geometry.h"

#include <cmath>
#include <limits>

#include "gesture/arctangent.h"

namespace sc {

double pathLength(const PointList& points) {
    double length = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i)
        length += distance(points[i - 1], points[i]);
    return length;
}

GesturePoint interpolate(const GesturePoint& a, const GesturePoint& b, double t) {
    return {static_cast<float>((1.0 - t) * static_cast<double>(a.x) + t * static_cast<double>(b.x)),
            static_cast<float>((1.0 - t) * static_cast<double>(a.y) + t * static_cast<double>(b.y))};
}

PointList resample(const PointList& points, std::size_t count) {
    PointList out;
    resample(points, count, out);
    return out;
}

void resample(const PointList& points, std::size_t count, PointList& out) {
    out.clear();
    if (points.empty())
        return;
    out.reserve(count);
    // Each segment is measured once, for the path's length, and the walk below takes the measure again
    // unless a sample fell inside the segment before it. Kept on the stack for strokes of usual size;
    // longer ones are measured twice.
    constexpr std::size_t kKept = 512;
    double kept[kKept];
    const bool keep = points.size() - 1 <= kKept;
    double length = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double d = distance(points[i - 1], points[i]);
        if (keep)
            kept[i - 1] = d;
        length += d;
    }
    const double interval = length / static_cast<double>(count);
    double carried = 0.0;
    GesturePoint prev = points[0];
    bool prevIsPoint = true; // prev is points[i - 1], not a sample inside that segment
    out.push_back(prev);
    std::size_t i = 1;
    while (i < points.size()) {
        const GesturePoint& cur = points[i];
        const double d = prevIsPoint && keep ? kept[i - 1] : distance(prev, cur);
        if (interval > carried + d) {
            carried += d;
            prev = cur;
            prevIsPoint = true;
            ++i;
            continue;
        }
        // The next sample lies on this segment; measure the rest of the segment again from it.
        const GesturePoint q = interpolate(prev, cur, (interval - carried) * (1.0 / d));
        out.push_back(q);
        if (out.size() >= count)
            break;
        prev = q;
        prevIsPoint = false;
        carried = 0.0;
    }
}

double directionAngle(const GesturePoint& a, const GesturePoint& b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    return static_cast<double>(arctangent(dy, dx));
}

std::vector<double> directionAngles(const PointList& points) {
    std::vector<double> angles;
    directionAngles(points, angles);
    return angles;
}

void directionAngles(const PointList& points, std::vector<double>& angles) {
    angles.clear();
    if (points.size() < 2)
        return;
    angles.reserve(points.size() - 1);
    for (std::size_t i = 1; i < points.size(); ++i)
        angles.push_back(directionAngle(points[i - 1], points[i]));
}

double angleDifference(double a, double b) {
    const double d = std::fabs(a - b);
    return d > kPi ? kPi - (d - kPi) : d;
}

double deltaToProbability(double meanDifference) {
    return std::fabs(meanDifference * kPercentPerRadian - 100.0);
}

std::int32_t truncateToInt32(float value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0f)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0f)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

} // namespace sc
