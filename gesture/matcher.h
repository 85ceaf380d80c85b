// The point-pattern matcher: scores a stroke against named templates by the directions of its path.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"

namespace sc {

using NameSet = std::set<std::u16string, std::less<>>;

// How well a stroke fits one template or one name, in percent.
struct MatchResult {
    std::u16string name;
    double probability = 1.0;
    std::uint64_t count = 0; // templates behind the result

    MatchResult() = default;
    MatchResult(std::u16string resultName, double p, std::uint64_t templates);

    // Stores p, or 1.0 when p lies outside [0, 100]. A NaN passes both tests and is kept, so it never wins.
    void setProbability(double p);
};

// Percent agreement of two direction sequences over their common length: 100 minus the mean angle
// difference scaled so that pi is 100. NaN when either sequence is empty. The template comes first.
double compareAngles(const std::vector<double>& templateAngles, const std::vector<double>& strokeAngles);

class PointPatternMatcher {
  public:
    // Keeps a reference to the caller's template list, which must outlive the matcher.
    PointPatternMatcher(const GestureList& gestures, std::uint64_t sampleCount);

    // The distinct names of the templates, in code-unit order: the order in which names are scored.
    const NameSet& names() const { return names_; }

    // With a name: inserts it, or erases it when `remove` is true. Without: rebuilds the set from the list.
    void updateNames(std::optional<std::u16string_view> name = std::nullopt, bool remove = false);

    // One result per name, in name order: the mean score over that name's templates.
    void matchAll(const PointList& stroke, std::vector<MatchResult>& results) const;

    // Scores the stroke against one template; a template without points, or of a single point, gives NaN.
    void GetPointPatternMatchResult(const Gesture& compareTo, const PointList& points,
                                    MatchResult& dest) const;

    // The best name scoring above 75, the first in name order on a tie; otherwise kNoGestureFound.
    // Strokes of fewer than two points are not compared.
    void recognize(const PointList& stroke, std::u16string& result) const;

    std::uint64_t sampleCount() const { return sampleCount_; }

  private:
    NameSet names_;
    std::uint64_t sampleCount_;
    const GestureList& gestures_;
};

// The name of the first result with the highest score, if that score is above 75; otherwise
// kNoGestureFound. Scores of 0 and NaN are never chosen.
std::u16string_view chooseName(const std::vector<MatchResult>& results);

// The score above which a name is accepted; a mean difference below pi/4 is needed.
inline constexpr double kAcceptThreshold = 75.0;

} // namespace sc
