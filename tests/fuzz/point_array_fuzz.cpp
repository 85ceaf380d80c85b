// The exports' point arrays: reading up to the terminator, the spaced reading and writing a track.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "gesture/point_array.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    // The first four bytes give the capacity of the track buffer; the rest are the values. The array
    // is closed exactly as a caller must close it, so any read past the terminator meets ASan.
    std::uint32_t capacity = 0;
    std::memcpy(&capacity, data, 4);
    capacity %= 4096;
    const std::size_t count = (size - 4) / 2;
    std::vector<std::uint16_t> values(count);
    if (count != 0)
        std::memcpy(values.data(), data + 4, count * 2);
    if (values.size() % 2 != 0)
        values.push_back(1);
    values.push_back(0);
    auto array = std::make_unique<std::uint16_t[]>(values.size());
    std::memcpy(array.get(), values.data(), values.size() * 2);

    std::size_t pairs = 0;
    while (values[2 * pairs] != 0)
        ++pairs;
    const sc::PointList points = sc::readPointArray(array.get());
    check(points.size() == pairs, "pairs before the terminator are not all read");
    for (std::size_t i = 0; i < pairs; ++i)
        check(points[i].x == values[2 * i] && points[i].y == values[2 * i + 1], "a point is read wrongly");

    // The spaced reading keeps the first point and then each one more than 2.0 from the last kept.
    const sc::PointList spaced = sc::readSpacedPointArray(array.get());
    std::size_t next = 0;
    for (std::size_t i = 0; i < pairs; ++i) {
        if (next != 0) {
            const double dx = double(points[i].x) - spaced[next - 1].x;
            const double dy = double(points[i].y) - spaced[next - 1].y;
            if (std::sqrt(dx * dx + dy * dy) <= 2.0)
                continue;
        }
        check(next < spaced.size() && spaced[next].x == points[i].x && spaced[next].y == points[i].y,
              "spaced reading dropped a point it should keep");
        ++next;
    }
    check(next == spaced.size(), "spaced reading kept a point it should drop");

    // All or nothing within the capacity; what is written reads back as the same points.
    auto buffer = std::make_unique<std::uint16_t[]>(capacity == 0 ? 1 : capacity);
    std::memset(buffer.get(), 0xAB, (capacity == 0 ? 1 : capacity) * 2);
    const bool fits = std::uint64_t{pairs} * 2 + 2 <= capacity;
    check(sc::writeTrack(points, buffer.get(), capacity) == fits, "writeTrack misjudges the capacity");
    if (fits) {
        check(buffer[2 * pairs] == 0, "no terminator after the track");
        if (2 * pairs + 1 < capacity)
            check(buffer[2 * pairs + 1] == 0xABAB, "writeTrack wrote past the terminator");
        const sc::PointList back = sc::readPointArray(buffer.get());
        check(back.size() == pairs, "a written track reads back a different length");
        for (std::size_t i = 0; i < pairs; ++i)
            check(back[i].x == points[i].x && back[i].y == points[i].y, "a written track reads back wrongly");
    } else {
        for (std::uint32_t i = 0; i < capacity; ++i)
            check(buffer[i] == 0xABAB, "writeTrack wrote into a buffer too small");
    }
    return 0;
}
