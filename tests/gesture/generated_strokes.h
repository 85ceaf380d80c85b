// A seeded corpus of synthetic strokes for the regression and equivalence tests and the benchmark, in the
// recorded strokes' shape: 16 gesture types drawn by 10 "subjects" (each with its own size, place,
// aspect, slant and tremor) at 3 speeds (point spacing), 10 times each, plus a set of degenerate strokes.
// Only additions, multiplications and divisions on the generator's own integers: the same corpus on every
// platform, compiler and optimisation level.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/gesture/unistrokes.h"

namespace gesturetest {

namespace generated {

// splitmix64: small, seedable, and defined bit for bit (the standard distributions are not).
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number in [low, high].
    int pick(int low, int high) {
        return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1));
    }

  private:
    std::uint64_t state_;
};

using Outline = std::vector<std::pair<float, float>>; // corners in a 0..1000 square, drawn in order

// A circle without trigonometry: the rational parametrisation ((1 - t^2) / (1 + t^2), 2t / (1 + t^2)).
inline Outline circle(bool clockwise) {
    Outline points;
    for (int i = 0; i <= 32; ++i) {
        // t runs over [-1, 1] twice (two half circles, the second mirrored), 16 steps each.
        const float t = static_cast<float>(i % 16) / 8.0f - 1.0f;
        float x = (1.0f - t * t) / (1.0f + t * t), y = 2.0f * t / (1.0f + t * t);
        if (i >= 16 && i < 32)
            x = -x, y = -y; // the last point closes the circle where it began
        points.push_back({500.0f + 500.0f * x, 500.0f + (clockwise ? 500.0f : -500.0f) * y});
    }
    return points;
}

inline const std::vector<std::pair<std::string, Outline>>& shapes() {
    static const std::vector<std::pair<std::string, Outline>> all = {
        {"line_right", {{0, 500}, {1000, 500}}},
        {"line_down", {{500, 0}, {500, 1000}}},
        {"v", {{0, 0}, {500, 1000}, {1000, 0}}},
        {"caret", {{0, 1000}, {500, 0}, {1000, 1000}}},
        {"check", {{0, 600}, {300, 1000}, {1000, 0}}},
        {"triangle", {{500, 0}, {0, 1000}, {1000, 1000}, {500, 0}}},
        {"rectangle", {{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}, {0, 0}}},
        {"zigzag", {{0, 0}, {1000, 0}, {0, 1000}, {1000, 1000}}},
        {"circle_cw", circle(true)},
        {"circle_ccw", circle(false)},
        {"arrow", {{0, 1000}, {1000, 0}, {500, 0}, {1000, 0}, {1000, 500}}},
        {"star", {{0, 1000}, {500, 0}, {1000, 1000}, {0, 350}, {1000, 350}, {0, 1000}}},
        {"pigtail", {{0, 1000}, {700, 200}, {500, 0}, {300, 200}, {1000, 1000}}},
        {"delete", {{0, 0}, {1000, 1000}, {1000, 0}, {0, 1000}}},
        {"left_bracket", {{1000, 0}, {0, 0}, {0, 1000}, {1000, 1000}}},
        {"s_curve", {{1000, 0}, {0, 0}, {0, 500}, {1000, 500}, {1000, 1000}, {0, 1000}}},
    };
    return all;
}

struct Subject {
    float size, left, top, aspect, slant;
    int tremor; // largest jitter in pixels
};

inline Subject subjectOf(int subject) {
    Random r(static_cast<std::uint64_t>(subject) * 1000003u);
    return {static_cast<float>(r.pick(60, 240)) / 1000.0f, static_cast<float>(r.pick(20, 400)),
            static_cast<float>(r.pick(20, 400)),           static_cast<float>(r.pick(80, 125)) / 100.0f,
            static_cast<float>(r.pick(-20, 20)) / 100.0f,  r.pick(0, 3)};
}

// The outline walked at a fixed spacing, placed and distorted as the subject draws, jittered, and kept
// to whole pixels as the exports and the files give them.
inline sc::PointList draw(const Outline& outline, const Subject& s, float spacing, Random& r) {
    const float size = s.size * (1.0f + static_cast<float>(r.pick(-10, 10)) / 100.0f);
    const float slant = s.slant + static_cast<float>(r.pick(-5, 5)) / 100.0f;
    auto place = [&](float x, float y) {
        const float px = s.left + size * (x + slant * (1000.0f - y)) * s.aspect;
        const float py = s.top + size * y;
        return sc::GesturePoint{px, py};
    };
    sc::PointList points;
    auto emit = [&](sc::GesturePoint p) {
        const float jx = static_cast<float>(r.pick(-s.tremor, s.tremor));
        const float jy = static_cast<float>(r.pick(-s.tremor, s.tremor));
        points.push_back({static_cast<float>(static_cast<int>(p.x + jx + 0.5f)),
                          static_cast<float>(static_cast<int>(p.y + jy + 0.5f))});
    };
    for (std::size_t i = 0; i + 1 < outline.size(); ++i) {
        const sc::GesturePoint a = place(outline[i].first, outline[i].second);
        const sc::GesturePoint b = place(outline[i + 1].first, outline[i + 1].second);
        const float dx = b.x - a.x, dy = b.y - a.y;
        // The segment's length in spacings, from its larger side: no square root needed.
        const float longer =
            (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy) ? (dx < 0 ? -dx : dx) : (dy < 0 ? -dy : dy);
        const int steps = 1 + static_cast<int>(longer / spacing);
        for (int k = 0; k < steps; ++k) {
            const float f = static_cast<float>(k) / static_cast<float>(steps);
            emit({a.x + dx * f, a.y + dy * f});
        }
    }
    emit(place(outline.back().first, outline.back().second));
    return points;
}

// Strokes no finger draws but every caller may send: none or one point, one point repeated, a hair's
// breadth, two points, the largest coordinates, a long stroke of many repeated points.
inline std::vector<RecordedStroke> degenerateStrokes() {
    std::vector<RecordedStroke> out;
    auto add = [&](sc::PointList points) { out.push_back({0, "none", "degenerate", 0, std::move(points)}); };
    add({});
    add({{100, 100}});
    add(sc::PointList(5, {300, 40}));
    add({{50, 50}, {51, 50}, {51, 51}});
    add({{10, 10}, {400, 10}});
    add({{0, 0}, {65535, 65535}, {0, 65535}});
    sc::PointList stalled;
    for (int i = 0; i < 200; ++i)
        stalled.push_back({static_cast<float>(100 + i / 40), 200});
    add(stalled);
    return out;
}

} // namespace generated

inline const char* const kSpeeds[] = {"slow", "medium", "fast"};

// The whole corpus in a fixed order: by subject, speed, gesture and repetition, then the degenerate ones.
inline std::vector<RecordedStroke> generatedStrokes() {
    std::vector<RecordedStroke> out;
    const float spacing[] = {3.0f, 7.0f, 15.0f};
    for (int subject = 1; subject <= 10; ++subject) {
        const generated::Subject s = generated::subjectOf(subject);
        for (int speed = 0; speed < 3; ++speed) {
            generated::Random r(static_cast<std::uint64_t>(subject * 31 + speed));
            for (const auto& [name, outline] : generated::shapes())
                for (int repetition = 1; repetition <= 10; ++repetition)
                    out.push_back({subject, kSpeeds[speed], name, repetition,
                                   generated::draw(outline, s, spacing[speed], r)});
        }
    }
    for (RecordedStroke& d : generated::degenerateStrokes())
        out.push_back(std::move(d));
    return out;
}

} // namespace gesturetest
