// The point-pattern matcher: scores a stroke against named templates by the directions of its path.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"
#include "gesture/template_angles.h"
#include "gesture/template_list.h"

namespace sc {

using NameSet = std::set<std::u16string, std::less<>>;

// Points every template and stroke is resampled to before their directions are compared.
inline constexpr std::uint64_t kSampleCount = 50;

// What a result keeps of a probability p: p itself, or 1.0 when p lies outside [0, 100]. A NaN passes
// both tests and is kept, so it never wins.
inline double storedProbability(double p) {
    return (p > 100.0 || p < 0.0) ? 1.0 : p;
}

// How well a stroke fits one template or one name, in percent.
struct MatchResult {
    std::u16string name;
    double probability = 1.0;
    std::uint64_t count = 0; // templates behind the result

    MatchResult() = default;
    MatchResult(std::u16string resultName, double p, std::uint64_t templates);

    void setProbability(double p) { probability = storedProbability(p); }
};

// Percent agreement of two direction sequences over their common length: 100 minus the mean angle
// difference scaled so that pi is 100. NaN when either sequence is empty. The template comes first.
double compareAngles(const std::vector<double>& templateAngles, const std::vector<double>& strokeAngles);

// Each template's direction angles are taken once, when the matcher is built or told of the template,
// and the stroke's once per recognition; the scores are those of resampling both for every comparison,
// bit for bit.
class PointPatternMatcher {
  public:
    // Keeps a reference to the caller's template list, which must outlive the matcher. The list may
    // change only through the calls below that tell the matcher about it.
    PointPatternMatcher(const GestureList& gestures, std::uint64_t sampleCount);

    // The distinct names of the templates, in code-unit order: the order in which names are scored.
    const NameSet& names() const { return names_; }

    // With a name: inserts it, or erases it when `remove` is true. Without: rebuilds the set, and the
    // templates' angles, from the list.
    void updateNames(std::optional<std::u16string_view> name = std::nullopt, bool remove = false);

    // A template was just inserted into the list, after the others of its name.
    void templateAdded(const GestureEntry& item);

    // A template is being erased from the list; call before it is erased. Never fails.
    void templateRemoved(const GestureEntry& item) noexcept;

    // Appends one result per name, in name order: the mean score over that name's templates. A template
    // without points, or of a single point, scores NaN.
    void matchAll(const PointList& stroke, std::vector<MatchResult>& results) const;

    // The best name scoring above 75, the first in name order on a tie; otherwise kNoGestureFound.
    // Strokes of fewer than two points are not compared. Once a first call has run, takes no fresh
    // memory unless `result` has to grow.
    void recognize(const PointList& stroke, std::u16string& result) const;

    std::uint64_t sampleCount() const { return sampleCount_; }

    // Bytes held for the templates' angles (not counting the templates).
    std::size_t cacheBytes() const { return templates_.memoryBytes(); }

  private:
    struct NameScore {
        const std::u16string* name;
        double probability;
        std::uint64_t count;
    };
    // Working space of one recognition. Recognitions may run at once, so each takes a set from the
    // spares and gives it back; a stroke then costs no fresh memory.
    struct ScoreBuffers {
        PointList resampled;
        std::vector<double> strokeAngles;
        std::vector<double> probabilities;
        std::vector<double> sums;
        std::vector<NameScore> scores;
    };
    class Scratch {
      public:
        explicit Scratch(const PointPatternMatcher& owner);
        ~Scratch();
        Scratch(const Scratch&) = delete;
        Scratch& operator=(const Scratch&) = delete;
        std::unique_ptr<ScoreBuffers> buffers;

      private:
        const PointPatternMatcher& owner_;
    };
    // Every name's mean score, in name order, into the scratch's scores.
    void scoreNames(const PointList& stroke, ScoreBuffers& buffers) const;

    using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;
    static Ranges nameRanges(const NameSet& names, const TemplateAngles& templates);
    static void fillRanges(const NameSet& names, const TemplateAngles& templates, Ranges& ranges) noexcept;
    // Brings nameRanges_ in line with names_ and templates_; only a change in the number of names allocates.
    void indexNames();
    void refreshRanges() noexcept;

    NameSet names_;
    std::uint64_t sampleCount_;
    const GestureList& gestures_;
    TemplateAngles templates_;
    // For each name of names_, in order, the range of its templates in templates_.
    Ranges nameRanges_;
    mutable std::mutex spareMutex_;
    mutable std::vector<std::unique_ptr<ScoreBuffers>> spare_;
};

// The name of the first result with the highest score, if that score is above 75; otherwise
// kNoGestureFound. Scores of 0 and NaN are never chosen.
std::u16string_view chooseName(const std::vector<MatchResult>& results);

// The score above which a name is accepted; a mean difference below pi/4 is needed.
inline constexpr double kAcceptThreshold = 75.0;

} // namespace sc
