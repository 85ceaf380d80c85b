// The point-pattern matcher. This straightforward version resamples every template for every
// comparison; it is the reference that any faster path must agree with.
#include "gesture/matcher.h"

#include <algorithm>

#include "common/console.h"
#include "common/utf16.h"
#include "gesture/geometry.h"

namespace sc {

MatchResult::MatchResult(std::u16string resultName, double p, std::uint64_t templates)
    : name(std::move(resultName)), count(templates) {
    setProbability(p);
}

void MatchResult::setProbability(double p) {
    probability = (p > 100.0 || p < 0.0) ? 1.0 : p;
}

double compareAngles(const std::vector<double>& templateAngles, const std::vector<double>& strokeAngles) {
    const std::size_t n = std::min(templateAngles.size(), strokeAngles.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        sum += angleDifference(templateAngles[i], strokeAngles[i]);
    // With no angle to compare this is 0/0: a NaN that never becomes the answer.
    return deltaToProbability(sum / static_cast<double>(n));
}

PointPatternMatcher::PointPatternMatcher(const GestureList& gestures, std::uint64_t sampleCount)
    : sampleCount_(sampleCount), gestures_(gestures) {
    updateNames();
}

void PointPatternMatcher::updateNames(std::optional<std::u16string_view> name, bool remove) {
    if (!name) {
        names_.clear();
        for (const auto& entry : gestures_)
            names_.insert(names_.end(), entry.first);
        return;
    }
    if (remove) {
        const auto it = names_.find(*name);
        if (it != names_.end())
            names_.erase(it);
    } else {
        names_.emplace(*name);
    }
}

void PointPatternMatcher::GetPointPatternMatchResult(const Gesture& compareTo, const PointList& points,
                                                     MatchResult& dest) const {
    const std::vector<double> templateAngles = directionAngles(resample(compareTo.points, sampleCount_));
    const std::vector<double> strokeAngles = directionAngles(resample(points, sampleCount_));
    dest.name = compareTo.name;
    dest.setProbability(compareAngles(templateAngles, strokeAngles));
    dest.count = 1;
    trace::line(u"[match] ", compareTo.name, u" template points ",
                utf16::fromUnsigned(compareTo.points.size()), u" stroke points ",
                utf16::fromUnsigned(points.size()));
}

void PointPatternMatcher::matchAll(const PointList& stroke, std::vector<MatchResult>& results) const {
    for (const std::u16string& name : names_) {
        double sum = 0.0;
        std::uint64_t counts = 0;
        std::uint64_t k = 0;
        const auto [first, last] = gestures_.equal_range(name);
        for (auto it = first; it != last; ++it) {
            MatchResult one;
            GetPointPatternMatchResult(*it->second, stroke, one);
            sum += one.probability;
            counts += one.count;
            ++k;
        }
        results.emplace_back(name, sum / static_cast<double>(k), counts);
    }
}

std::u16string_view chooseName(const std::vector<MatchResult>& results) {
    const MatchResult* best = nullptr;
    double bestProbability = 0.0;
    for (const MatchResult& r : results) {
        // Strictly greater: the first of equal scores keeps its place, and 0 or NaN never gets in.
        if (r.probability > bestProbability) {
            best = &r;
            bestProbability = r.probability;
        }
    }
    if (best != nullptr && bestProbability > kAcceptThreshold)
        return best->name;
    return kNoGestureFound;
}

void PointPatternMatcher::recognize(const PointList& stroke, std::u16string& result) const {
    trace::line(u"[recognize] stroke points ", utf16::fromUnsigned(stroke.size()));
    if (stroke.size() < 2) {
        result = kNoGestureFound;
        return;
    }
    std::vector<MatchResult> results;
    results.reserve(names_.size());
    matchAll(stroke, results);
    result = chooseName(results);
}

} // namespace sc
