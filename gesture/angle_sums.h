// Sums of direction differences for many templates at once, each sum kept in its own order.
#pragma once

#include <cstddef>

namespace sc {

// Templates are stored in blocks of kLanes: row r of a block holds the r-th direction angle of each of
// its templates, so one row feeds every lane with the same stroke angle.
inline constexpr std::size_t kLanes = 8;

enum class AngleKernel { portable, sse2, avx };

// For every lane of `blockCount` blocks of `rowStride` rows, adds angleDifference(template[r], stroke[r])
// for r = 0 ... rows - 1 in that order, starting from +0.0, into sums[block * kLanes + lane]. Each lane is
// one sequential sum, so the result is bit for bit the scalar loop's, NaN included, whatever the kernel.
void sumAngleDifferences(const float* blocks, std::size_t blockCount, std::size_t rowStride, std::size_t rows,
                         const double* stroke, double* sums);

// The same through a chosen kernel; false, with nothing written, when this processor cannot run it.
bool sumAngleDifferencesWith(AngleKernel kernel, const float* blocks, std::size_t blockCount,
                             std::size_t rowStride, std::size_t rows, const double* stroke, double* sums);

// The kernel sumAngleDifferences uses on this processor.
AngleKernel bestAngleKernel();

} // namespace sc
