// Stroke geometry for recognition: lengths, resampling and segment directions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/types.h"

namespace sc {

// The double nearest to pi; angle differences fold around it.
inline constexpr double kPi = 3.141592653589793;

// Percent per radian of mean difference: a mean difference of pi is 100.
inline constexpr double kPercentPerRadian = 100.0 / kPi;
static_assert(kPercentPerRadian == 31.830988618379067, "the scale recognition results were made with");

// Sum of the segment lengths in drawing order; 0 for fewer than two points.
double pathLength(const PointList& points);

// The point a fraction t of the way from a to b, computed in double and rounded to float.
GesturePoint interpolate(const GesturePoint& a, const GesturePoint& b, double t);

// `count` points evenly spaced along the path, starting at its first point; the path's end point is not
// among them. A single point gives itself, no point gives nothing, and a path of length 0 gives NaN points.
PointList resample(const PointList& points, std::size_t count);
// The same into `out`, whose capacity is kept.
void resample(const PointList& points, std::size_t count, PointList& out);

// Direction of the segment a -> b in radians: single-precision differences and arctangent, widened.
double directionAngle(const GesturePoint& a, const GesturePoint& b);

// The direction of every segment in drawing order: one fewer than the points, none for fewer than two.
std::vector<double> directionAngles(const PointList& points);
// The same into `angles`, whose capacity is kept.
void directionAngles(const PointList& points, std::vector<double>& angles);

// Unsigned difference of two directions, folded into [0, pi].
double angleDifference(double a, double b);

// Mean direction difference to percent: 100 for equal directions, 50 at right angles, 0 when opposed.
double deltaToProbability(double meanDifference);

// A coordinate truncated toward zero; values beyond the 32-bit range saturate and NaN gives 0.
std::int32_t truncateToInt32(float value);

} // namespace sc
