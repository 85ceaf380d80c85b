// The shipped default gestures as shapes, and seeded hand-like copies of them for samples and tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/types.h"

namespace defaults {

// Corners of a polyline, in screen pixels (y grows downwards) inside a 240 x 240 box.
using Corners = std::vector<sc::GesturePoint>;

// The polyline walked in steps of about 6 pixels, each point rounded to whole pixels as the file keeps them.
inline sc::PointList walk(const Corners& corners) {
    sc::PointList out{{std::round(corners[0].x), std::round(corners[0].y)}};
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const float dx = corners[i].x - corners[i - 1].x;
        const float dy = corners[i].y - corners[i - 1].y;
        const int steps = std::max(1, static_cast<int>(std::hypot(dx, dy) / 6.0f));
        for (int s = 1; s <= steps; ++s) {
            const float t = static_cast<float>(s) / static_cast<float>(steps);
            out.push_back({std::round(corners[i - 1].x + dx * t), std::round(corners[i - 1].y + dy * t)});
        }
    }
    return out;
}

// A full circle starting at the top, clockwise on screen or counterclockwise.
inline Corners circle(bool clockwise) {
    Corners c;
    const double kTwoPi = 6.283185307179586;
    for (int i = 0; i <= 48; ++i) {
        const double a = kTwoPi * i / 48.0;
        const double x = 120.0 + 90.0 * std::sin(a) * (clockwise ? 1.0 : -1.0);
        c.push_back({static_cast<float>(x), static_cast<float>(120.0 - 90.0 * std::cos(a))});
    }
    return c;
}

// Shapes the direction matcher tells apart: it is sensitive to rotation and to the drawing direction,
// so each shape also fixes where it starts and which way it goes.
inline std::vector<sc::Gesture> gestures() {
    const std::vector<std::pair<std::u16string, Corners>> shapes = {
        {u"line_right", {{20, 120}, {220, 120}}},
        {u"line_left", {{220, 120}, {20, 120}}},
        {u"line_up", {{120, 220}, {120, 20}}},
        {u"line_down", {{120, 20}, {120, 220}}},
        {u"line_up_right", {{40, 200}, {200, 40}}},
        {u"line_up_left", {{200, 200}, {40, 40}}},
        {u"line_down_right", {{40, 40}, {200, 200}}},
        {u"line_down_left", {{200, 40}, {40, 200}}},
        {u"L", {{60, 20}, {60, 200}, {180, 200}}},           // down, then right
        {u"L_mirrored", {{180, 20}, {180, 200}, {60, 200}}}, // down, then left
        {u"V", {{50, 40}, {120, 210}, {190, 40}}},           // down and up again
        {u"caret", {{50, 210}, {120, 40}, {190, 210}}},      // up and down again
        {u"check", {{30, 110}, {90, 180}, {220, 30}}},       // short down-right, long up-right
        {u"Z", {{40, 40}, {200, 40}, {40, 200}, {200, 200}}},
        {u"N", {{50, 210}, {50, 30}, {190, 210}, {190, 30}}},
        {u"triangle",
         {{30, 200}, {210, 200}, {120, 40}, {30, 200}}}, // from the bottom left, rightwards first
        {u"circle_clockwise", circle(true)},
        {u"circle_counterclockwise", circle(false)},
    };
    std::vector<sc::Gesture> out;
    for (const auto& [name, corners] : shapes)
        out.push_back({name, walk(corners)});
    return out;
}

// A copy as a hand might draw it: moved, scaled, turned by a few degrees and jittered, from a seed.
// Coordinates stay between 1 and 1000 so the copy is also a valid point array for the exports.
inline sc::PointList handDrawn(const sc::PointList& points, std::uint32_t seed, float jitter = 3.0f) {
    std::uint32_t state = seed * 2654435761u + 1u;
    auto next = [&] { // a small LCG: the same numbers on every platform
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777216.0f * 2.0f - 1.0f; // [-1, 1)
    };
    const float scale = 1.5f + 0.3f * next();
    const float turn = 0.06f * next(); // radians, about 3.5 degrees at most
    const float dx = 300.0f + 50.0f * next();
    const float dy = 200.0f + 50.0f * next();
    sc::PointList out;
    for (const sc::GesturePoint& p : points) {
        const float x = (p.x - 120.0f) * scale;
        const float y = (p.y - 120.0f) * scale;
        out.push_back({std::round(x * std::cos(turn) - y * std::sin(turn) + dx + jitter * next()),
                       std::round(x * std::sin(turn) + y * std::cos(turn) + dy + jitter * next())});
    }
    return out;
}

} // namespace defaults
