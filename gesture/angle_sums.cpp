// Lane-wise sums of angle differences. Every lane is one template's own sum, added row after row, so
// vector registers change how many sums advance at once but never the order inside one: the results
// equal the scalar loop's bit for bit. No instruction here fuses or reorders additions.
#include "gesture/angle_sums.h"

#include "gesture/geometry.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#define SC_X86_KERNELS 1
#endif

namespace sc {
namespace {

void sumPortable(const float* blocks, std::size_t blockCount, std::size_t rowStride, std::size_t rows,
                 const double* stroke, double* sums) {
    for (std::size_t b = 0; b < blockCount; ++b) {
        const float* block = blocks + b * rowStride * kLanes;
        double* out = sums + b * kLanes;
        for (std::size_t lane = 0; lane < kLanes; ++lane)
            out[lane] = 0.0;
        for (std::size_t r = 0; r < rows; ++r)
            for (std::size_t lane = 0; lane < kLanes; ++lane)
                out[lane] += angleDifference(static_cast<double>(block[r * kLanes + lane]), stroke[r]);
    }
}

#ifdef SC_X86_KERNELS

// angleDifference on two lanes: d = |t - s|, and pi - (d - pi) where d > pi. That folded value is the
// smaller of the two exactly when d > pi (for d <= pi, d - pi <= 0 so it is at least pi), so a minimum
// selects as the comparison does. A NaN d makes the folded value the same NaN, which the minimum returns.
inline __m128d differenceSse2(__m128d t, __m128d s, __m128d pi, __m128d sign) {
    const __m128d d = _mm_andnot_pd(sign, _mm_sub_pd(t, s));
    return _mm_min_pd(d, _mm_sub_pd(pi, _mm_sub_pd(d, pi)));
}

void sumSse2(const float* blocks, std::size_t blockCount, std::size_t rowStride, std::size_t rows,
             const double* stroke, double* sums) {
    const __m128d pi = _mm_set1_pd(kPi);
    const __m128d sign = _mm_set1_pd(-0.0);
    for (std::size_t b = 0; b < blockCount; ++b) {
        const float* row = blocks + b * rowStride * kLanes;
        __m128d acc0 = _mm_setzero_pd(), acc1 = _mm_setzero_pd(), acc2 = _mm_setzero_pd(),
                acc3 = _mm_setzero_pd();
        for (std::size_t r = 0; r < rows; ++r, row += kLanes) {
            const __m128d s = _mm_set1_pd(stroke[r]);
            const __m128 lo = _mm_loadu_ps(row);
            const __m128 hi = _mm_loadu_ps(row + 4);
            acc0 = _mm_add_pd(acc0, differenceSse2(_mm_cvtps_pd(lo), s, pi, sign));
            acc1 = _mm_add_pd(acc1, differenceSse2(_mm_cvtps_pd(_mm_movehl_ps(lo, lo)), s, pi, sign));
            acc2 = _mm_add_pd(acc2, differenceSse2(_mm_cvtps_pd(hi), s, pi, sign));
            acc3 = _mm_add_pd(acc3, differenceSse2(_mm_cvtps_pd(_mm_movehl_ps(hi, hi)), s, pi, sign));
        }
        double* out = sums + b * kLanes;
        _mm_storeu_pd(out, acc0);
        _mm_storeu_pd(out + 2, acc1);
        _mm_storeu_pd(out + 4, acc2);
        _mm_storeu_pd(out + 6, acc3);
    }
}

__attribute__((target("avx"))) inline __m256d differenceAvx(__m256d t, __m256d s, __m256d pi, __m256d sign) {
    const __m256d d = _mm256_andnot_pd(sign, _mm256_sub_pd(t, s));
    return _mm256_min_pd(d, _mm256_sub_pd(pi, _mm256_sub_pd(d, pi)));
}

// Two blocks at a time: four independent chains of additions keep the adder busy. A lone last block is
// summed in both halves and stored once.
__attribute__((target("avx"))) void sumAvx(const float* blocks, std::size_t blockCount, std::size_t rowStride,
                                           std::size_t rows, const double* stroke, double* sums) {
    const __m256d pi = _mm256_set1_pd(kPi);
    const __m256d sign = _mm256_set1_pd(-0.0);
    const std::size_t blockSize = rowStride * kLanes;
    for (std::size_t b = 0; b < blockCount; b += 2) {
        const bool pair = b + 1 < blockCount;
        const float* first = blocks + b * blockSize;
        const float* second = pair ? first + blockSize : first;
        __m256d acc0 = _mm256_setzero_pd(), acc1 = _mm256_setzero_pd(), acc2 = _mm256_setzero_pd(),
                acc3 = _mm256_setzero_pd();
        for (std::size_t r = 0; r < rows; ++r) {
            const __m256d s = _mm256_broadcast_sd(stroke + r);
            const std::size_t at = r * kLanes;
            acc0 = _mm256_add_pd(acc0, differenceAvx(_mm256_cvtps_pd(_mm_loadu_ps(first + at)), s, pi, sign));
            acc1 = _mm256_add_pd(acc1,
                                 differenceAvx(_mm256_cvtps_pd(_mm_loadu_ps(first + at + 4)), s, pi, sign));
            acc2 =
                _mm256_add_pd(acc2, differenceAvx(_mm256_cvtps_pd(_mm_loadu_ps(second + at)), s, pi, sign));
            acc3 = _mm256_add_pd(acc3,
                                 differenceAvx(_mm256_cvtps_pd(_mm_loadu_ps(second + at + 4)), s, pi, sign));
        }
        double* out = sums + b * kLanes;
        _mm256_storeu_pd(out, acc0);
        _mm256_storeu_pd(out + 4, acc1);
        if (pair) {
            _mm256_storeu_pd(out + 8, acc2);
            _mm256_storeu_pd(out + 12, acc3);
        }
    }
}

bool canRunAvx() {
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return avx;
}

#endif

} // namespace

AngleKernel bestAngleKernel() {
#ifdef SC_X86_KERNELS
    return canRunAvx() ? AngleKernel::avx : AngleKernel::sse2;
#else
    return AngleKernel::portable;
#endif
}

bool sumAngleDifferencesWith(AngleKernel kernel, const float* blocks, std::size_t blockCount,
                             std::size_t rowStride, std::size_t rows, const double* stroke, double* sums) {
    switch (kernel) {
    case AngleKernel::portable:
        sumPortable(blocks, blockCount, rowStride, rows, stroke, sums);
        return true;
#ifdef SC_X86_KERNELS
    case AngleKernel::sse2:
        sumSse2(blocks, blockCount, rowStride, rows, stroke, sums);
        return true;
    case AngleKernel::avx:
        if (!canRunAvx())
            return false;
        sumAvx(blocks, blockCount, rowStride, rows, stroke, sums);
        return true;
#endif
    default:
        return false;
    }
}

void sumAngleDifferences(const float* blocks, std::size_t blockCount, std::size_t rowStride, std::size_t rows,
                         const double* stroke, double* sums) {
    static const AngleKernel kernel = bestAngleKernel();
    sumAngleDifferencesWith(kernel, blocks, blockCount, rowStride, rows, stroke, sums);
}

} // namespace sc
