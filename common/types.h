// Shared value types of the engine: stroke points and gesture templates.
#pragma once

#include <cmath>
#include <cstdint>
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

// Euclidean distance in double precision (coordinates widened before subtracting). Inline: resampling
// calls it for every segment of every template while a file is opened.
inline double distance(const GesturePoint& a, const GesturePoint& b) {
    const double dx = static_cast<double>(b.x) - static_cast<double>(a.x);
    const double dy = static_cast<double>(b.y) - static_cast<double>(a.y);
    return std::sqrt(dx * dx + dy * dy);
}

// One gesture template; several may share a name.
struct Gesture {
    std::u16string name;
    PointList points;
};

// What running a gesture's action came to; the values are the C interface's STROKECAST_ACTION_*.
enum class ActionStatus : std::int32_t {
    Failed = 0, // no gesture named, or a failure recorded for the host
    Ran = 1,
    AllOff = 2,      // the global switch suppresses every action
    SwitchedOff = 3, // the gesture's own switch is off or missing
    NotBound = 4,
    Unknown = 5,   // bound to a name that is neither built in nor a stored custom action
    Refused = 6,   // the system refused; the cause is recorded for the host
    Guarded = 7,   // the stroke scored below the action's guard
    Recording = 8, // capture records strokes only
};

// What recognition answers when no gesture is accepted; it can never be added as a gesture.
inline constexpr std::u16string_view kNoGestureFound = u"_NO_GESTURE_FOUND_";

} // namespace sc
