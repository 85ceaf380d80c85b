// The single-precision arctangent of recognition.
#include "gesture/arctangent.h"

#include <cmath>

#include "gesture/geometry.h"

namespace sc {
namespace {

// atan(k / 8) for k = 0..8, each the double nearest it.
constexpr double kArctangentOfEighths[9] = {0.0,
                                            0.12435499454676144,
                                            0.24497866312686414,
                                            0.35877067027057225,
                                            0.4636476090008061,
                                            0.5585993153435624,
                                            0.6435011087932844,
                                            0.7188299996216245,
                                            0.7853981633974483};

// atan(t) for t in [0, 1] to about 1e-16: atan(t) = atan(c) + atan(u) with c the nearest eighth and
// u = (t - c) / (1 + t c), |u| <= 1/16, where six terms of the series leave less than 2e-17.
double arctangentOfUnit(double t) {
    const int k = static_cast<int>(t * 8.0 + 0.5);
    const double c = k * 0.125;
    const double u = (t - c) / (1.0 + t * c);
    const double u2 = u * u;
    const double series =
        u * (1.0 + u2 * (-1.0 / 3 + u2 * (1.0 / 5 + u2 * (-1.0 / 7 + u2 * (1.0 / 9 + u2 * (-1.0 / 11))))));
    return kArctangentOfEighths[k] + series;
}

} // namespace

float arctangent(float y, float x) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
    const double ax = std::fabs(static_cast<double>(x));
    const double ay = std::fabs(static_cast<double>(y));
    // The angle of (|x|, |y|) in [0, pi/2], then moved to the quadrant of (x, y) by the signs, zeros'
    // signs included: atan2(+0, -0) is pi.
    double angle = 0.0;
    if (ay > ax)
        angle = kPi / 2 - arctangentOfUnit(ax / ay);
    else if (ax > 0.0)
        angle = arctangentOfUnit(ay / ax);
    if (std::signbit(x))
        angle = kPi - angle;
    return static_cast<float>(std::signbit(y) ? -angle : angle);
}

} // namespace sc
