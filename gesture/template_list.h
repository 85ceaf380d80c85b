// The templates as the engine keeps them: one list that owns each template by value, in name order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/types.h"

namespace sc {

// A template's points, packed: each coordinate that is a whole number (as every coordinate read from a
// file is) takes its difference from the previous whole one in a variable-length integer, mostly one
// byte; any other value keeps its four bytes. Unpacking gives the very floats packed, bit for bit.
class PackedPoints {
  public:
    PackedPoints() = default;
    explicit PackedPoints(const PointList& points);
    // The same, encoding through `scratch`, which is grown as needed and may be reused.
    PackedPoints(const PointList& points, std::vector<std::uint8_t>& scratch);
    PackedPoints(const PackedPoints& other);
    PackedPoints& operator=(const PackedPoints& other);
    PackedPoints(PackedPoints&&) noexcept = default;
    PackedPoints& operator=(PackedPoints&&) noexcept = default;

    // Replaces the contents of `points` with the points packed; keeps its capacity.
    void unpack(PointList& points) const;
    PointList unpack() const;

    std::size_t size() const { return count_; }
    std::size_t byteCount() const { return byteCount_; }
    bool empty() const { return count_ == 0; }

  private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::uint32_t byteCount_ = 0;
    std::uint32_t count_ = 0;
};

// Where a template was read from: the read-only default file or the user's own.
enum class TemplateOrigin : std::uint8_t { defaults, user };

struct Template {
    PackedPoints points;
    TemplateOrigin origin = TemplateOrigin::defaults;
};

// Ordered by name in UTF-16 code units; a name's templates keep their insertion order (a multimap
// inserts after equal keys). Nodes never move, so a template's address is stable while it is listed.
using GestureList = std::multimap<std::u16string, Template, std::less<>>;
using GestureEntry = GestureList::value_type;

} // namespace sc
