// The gesture templates of the process and recognition of strokes against them.
#pragma once

#include <string>
#include <string_view>

#include "common/types.h"

namespace sc {

// Placeholder interface: the full manager replaces it.
class GestureManager {
public:
    GestureManager(std::u16string_view defaultGestureFile, std::u16string_view userFolder);
    // Names the stroke, or kNoGestureFound; safe to call while other threads add or remove templates.
    void recognize(const PointList& points, std::u16string& result) const;
};

}  // namespace sc
