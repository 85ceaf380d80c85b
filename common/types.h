// Shared value types of the engine: stroke points and gesture templates.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace sc {

// One point of a stroke or template, in screen pixels.
struct GesturePoint {
    float x = 0.0f;
    float y = 0.0f;
};

using PointList = std::vector<GesturePoint>;

// One gesture template; several may share a name.
struct Gesture {
    std::u16string name;
    PointList points;
};

// Ordered by UTF-16 code units; equal names keep insertion order (multimap inserts after equals).
using GestureList = std::multimap<std::u16string, Gesture*, std::less<>>;

// What recognition answers when no gesture is accepted; it can never be added as a gesture.
inline constexpr std::u16string_view kNoGestureFound = u"_NO_GESTURE_FOUND_";

}  // namespace sc
