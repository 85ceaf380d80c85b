// Packed template points.
#include "gesture/template_list.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace sc {
namespace {

// Whole numbers of this size or less take the difference form; their floats convert to int64 and
// back exactly. -0.0 keeps its bits, so it is written as a float.
bool isWhole(float value) {
    if (!(value >= -2147483648.0f && value <= 2147483648.0f))
        return false;
    const auto whole = static_cast<std::int64_t>(value);
    return static_cast<float>(whole) == value && !(whole == 0 && std::signbit(value));
}

// At most ten bytes a code: a difference of up to 2^32 zigzagged and shifted, or 1 and a float's four.
constexpr std::size_t kMostBytesPerCoordinate = 5;

// Writes the coordinates of `points` to `out`, which has room for kMostBytesPerCoordinate each; returns
// the bytes written. A code with its low bit clear is a zigzagged difference from the previous whole x
// (or y); 1 announces four bytes of a float, low byte first.
std::size_t encode(const PointList& points, std::uint8_t* out) {
    std::uint8_t* at = out;
    const auto put = [&](std::uint64_t code) {
        while (code > 0x7F) {
            *at++ = static_cast<std::uint8_t>((code & 0x7F) | 0x80);
            code >>= 7;
        }
        *at++ = static_cast<std::uint8_t>(code);
    };
    std::int64_t previousX = 0, previousY = 0;
    const auto coordinate = [&](float value, std::int64_t& previous) {
        if (isWhole(value)) {
            const auto whole = static_cast<std::int64_t>(value);
            const std::int64_t difference = whole - previous;
            previous = whole;
            const std::uint64_t zigzag =
                (static_cast<std::uint64_t>(difference) << 1) ^ static_cast<std::uint64_t>(difference >> 63);
            put(zigzag << 1);
            return;
        }
        *at++ = 1;
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            *at++ = static_cast<std::uint8_t>(bits >> shift);
    };
    for (const GesturePoint& p : points) {
        coordinate(p.x, previousX);
        coordinate(p.y, previousY);
    }
    return static_cast<std::size_t>(at - out);
}

} // namespace

PackedPoints::PackedPoints(const PointList& points) {
    std::vector<std::uint8_t> scratch;
    *this = PackedPoints(points, scratch);
}

PackedPoints::PackedPoints(const PointList& points, std::vector<std::uint8_t>& scratch)
    : count_(static_cast<std::uint32_t>(points.size())) {
    if (points.empty())
        return;
    if (scratch.size() < points.size() * 2 * kMostBytesPerCoordinate)
        scratch.resize(points.size() * 2 * kMostBytesPerCoordinate);
    byteCount_ = static_cast<std::uint32_t>(encode(points, scratch.data()));
    bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(byteCount_);
    std::memcpy(bytes_.get(), scratch.data(), byteCount_);
}

PackedPoints::PackedPoints(const PackedPoints& other) : byteCount_(other.byteCount_), count_(other.count_) {
    if (byteCount_ == 0)
        return;
    bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(byteCount_);
    std::memcpy(bytes_.get(), other.bytes_.get(), byteCount_);
}

PackedPoints& PackedPoints::operator=(const PackedPoints& other) {
    if (this != &other)
        *this = PackedPoints(other);
    return *this;
}

void PackedPoints::unpack(PointList& points) const {
    points.resize(count_);
    const std::uint8_t* in = bytes_.get();
    std::int64_t previousX = 0, previousY = 0;
    const auto coordinate = [&](std::int64_t& previous) {
        std::uint64_t code = *in++;
        if (code > 0x7F) { // most differences take one byte
            code &= 0x7F;
            int shift = 7;
            std::uint8_t byte = 0;
            do {
                byte = *in++;
                code |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
                shift += 7;
            } while ((byte & 0x80) != 0);
        }
        if ((code & 1) != 0) {
            std::uint32_t bits = 0;
            for (int s = 0; s < 32; s += 8)
                bits |= static_cast<std::uint32_t>(*in++) << s;
            return std::bit_cast<float>(bits);
        }
        const std::uint64_t zigzag = code >> 1;
        previous += static_cast<std::int64_t>(zigzag >> 1) ^ -static_cast<std::int64_t>(zigzag & 1);
        return static_cast<float>(previous);
    };
    for (GesturePoint& p : points) {
        p.x = coordinate(previousX);
        p.y = coordinate(previousY);
    }
}

PointList PackedPoints::unpack() const {
    PointList points;
    unpack(points);
    return points;
}

} // namespace sc
