// The straightforward matcher, kept as the yardstick for the engine's: every comparison resamples the
// template and the stroke anew and sums their direction differences one by one. A faithful copy of the
// first engine's geometry and matching, so a change to the engine's arithmetic cannot slip by unseen.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"
#include "gesture/arctangent.h"
#include "gesture/template_list.h"

namespace reference {

using sc::GestureList;
using sc::GesturePoint;
using sc::PointList;

inline constexpr double kPi = 3.141592653589793;

inline double distance(const GesturePoint& a, const GesturePoint& b) {
    const double dx = static_cast<double>(b.x) - static_cast<double>(a.x);
    const double dy = static_cast<double>(b.y) - static_cast<double>(a.y);
    return std::sqrt(dx * dx + dy * dy);
}

inline double pathLength(const PointList& points) {
    double length = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i)
        length += reference::distance(points[i - 1], points[i]);
    return length;
}

inline GesturePoint interpolate(const GesturePoint& a, const GesturePoint& b, double t) {
    return {static_cast<float>((1.0 - t) * static_cast<double>(a.x) + t * static_cast<double>(b.x)),
            static_cast<float>((1.0 - t) * static_cast<double>(a.y) + t * static_cast<double>(b.y))};
}

inline PointList resample(const PointList& points, std::size_t count) {
    PointList out;
    if (points.empty())
        return out;
    out.reserve(count);
    const double interval = pathLength(points) / static_cast<double>(count);
    double carried = 0.0;
    GesturePoint prev = points[0];
    out.push_back(prev);
    std::size_t i = 1;
    while (i < points.size()) {
        const GesturePoint& cur = points[i];
        const double d = reference::distance(prev, cur);
        if (interval > carried + d) {
            carried += d;
            prev = cur;
            ++i;
            continue;
        }
        const GesturePoint q = interpolate(prev, cur, (interval - carried) * (1.0 / d));
        out.push_back(q);
        if (out.size() >= count)
            break;
        prev = q;
        carried = 0.0;
    }
    return out;
}

inline double directionAngle(const GesturePoint& a, const GesturePoint& b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    return static_cast<double>(sc::arctangent(dy, dx));
}

inline std::vector<double> directionAngles(const PointList& points) {
    std::vector<double> angles;
    if (points.size() < 2)
        return angles;
    angles.reserve(points.size() - 1);
    for (std::size_t i = 1; i < points.size(); ++i)
        angles.push_back(directionAngle(points[i - 1], points[i]));
    return angles;
}

inline double angleDifference(double a, double b) {
    const double d = std::fabs(a - b);
    return d > kPi ? kPi - (d - kPi) : d;
}

inline double deltaToProbability(double meanDifference) {
    return std::fabs(meanDifference * 31.830988618379067 - 100.0);
}

struct MatchResult {
    std::u16string name;
    double probability = 1.0;
    std::uint64_t count = 0;

    MatchResult() = default;
    MatchResult(std::u16string resultName, double p, std::uint64_t templates)
        : name(std::move(resultName)), count(templates) {
        setProbability(p);
    }
    void setProbability(double p) { probability = (p > 100.0 || p < 0.0) ? 1.0 : p; }
};

inline double compareAngles(const std::vector<double>& templateAngles,
                            const std::vector<double>& strokeAngles) {
    const std::size_t n = std::min(templateAngles.size(), strokeAngles.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        sum += angleDifference(templateAngles[i], strokeAngles[i]);
    return deltaToProbability(sum / static_cast<double>(n));
}

// The names are passed in: the engine's name set may hold a name without templates, or lack one. The
// templates are copied as plain points when the matcher is made.
class Matcher {
  public:
    Matcher(const GestureList& gestures, std::uint64_t sampleCount)
        : sampleCount_(sampleCount), gestures_(plain(gestures)) {
        for (const auto& entry : gestures_)
            names_.insert(entry.first);
    }
    Matcher(const GestureList& gestures, std::uint64_t sampleCount,
            std::set<std::u16string, std::less<>> names)
        : names_(std::move(names)), sampleCount_(sampleCount), gestures_(plain(gestures)) {}

    void GetPointPatternMatchResult(const std::u16string& name, const PointList& templatePoints,
                                    const PointList& points, MatchResult& dest) const {
        const std::vector<double> templateAngles = directionAngles(resample(templatePoints, sampleCount_));
        const std::vector<double> strokeAngles = directionAngles(resample(points, sampleCount_));
        dest.name = name;
        dest.setProbability(compareAngles(templateAngles, strokeAngles));
        dest.count = 1;
    }

    void matchAll(const PointList& stroke, std::vector<MatchResult>& results) const {
        for (const std::u16string& name : names_) {
            double sum = 0.0;
            std::uint64_t counts = 0;
            std::uint64_t k = 0;
            const auto [first, last] = gestures_.equal_range(name);
            for (auto it = first; it != last; ++it) {
                MatchResult one;
                GetPointPatternMatchResult(it->first, it->second, stroke, one);
                sum += one.probability;
                counts += one.count;
                ++k;
            }
            results.emplace_back(name, sum / static_cast<double>(k), counts);
        }
    }

    void recognize(const PointList& stroke, std::u16string& result) const {
        if (stroke.size() < 2) {
            result = sc::kNoGestureFound;
            return;
        }
        std::vector<MatchResult> results;
        matchAll(stroke, results);
        const MatchResult* best = nullptr;
        double bestProbability = 0.0;
        for (const MatchResult& r : results) {
            if (r.probability > bestProbability) {
                best = &r;
                bestProbability = r.probability;
            }
        }
        if (best != nullptr && bestProbability > 75.0)
            result = best->name;
        else
            result = sc::kNoGestureFound;
    }

  private:
    using PlainList = std::multimap<std::u16string, PointList, std::less<>>;
    static PlainList plain(const GestureList& gestures) {
        PlainList out;
        for (const auto& [name, t] : gestures)
            out.emplace(name, t.points.unpack());
        return out;
    }

    std::set<std::u16string, std::less<>> names_;
    std::uint64_t sampleCount_;
    PlainList gestures_;
};

} // namespace reference
