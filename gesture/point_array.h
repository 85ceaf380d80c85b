// The exports' point arrays: x,y pairs of 16-bit values ended by a 0 where the next x would stand.
#pragma once

#include <cstdint>

#include "common/types.h"

namespace sc {

// Every pair up to the terminating 0 at an x position (a y of 0 is a coordinate like any other).
PointList readPointArray(const std::uint16_t* values);

// As readPointArray, but keeps a point only when it lies more than 2.0 from the last point kept.
PointList readSpacedPointArray(const std::uint16_t* values);

// Writes x0,y0,x1,y1,...,0 (each coordinate truncated, its low 16 bits kept) when capacity >= 2n + 2;
// otherwise writes nothing and returns false. So a capacity below 2 never receives anything.
bool writeTrack(const PointList& points, std::uint16_t* buffer, std::uint32_t capacity);

} // namespace sc
