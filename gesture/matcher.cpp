// The point-pattern matcher. Templates are resampled and their directions taken once (TemplateAngles);
// a recognition resamples the stroke once and scores every template from those angles. The arithmetic
// of each comparison, and the order of every sum, are those of the single comparison below.
#include "gesture/matcher.h"

#include <algorithm>
#include <mutex>

#include "common/console.h"
#include "gesture/geometry.h"

namespace sc {

MatchResult::MatchResult(std::u16string resultName, double p, std::uint64_t templates)
    : name(std::move(resultName)), count(templates) {
    setProbability(p);
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
    : sampleCount_(sampleCount), gestures_(gestures), templates_(static_cast<std::size_t>(sampleCount)) {
    updateNames();
}

void PointPatternMatcher::updateNames(std::optional<std::u16string_view> name, bool remove) {
    if (!name) {
        // Built aside and swapped in, so a failure leaves the matcher as it was.
        NameSet names;
        for (const auto& entry : gestures_)
            names.insert(names.end(), entry.first);
        TemplateAngles templates(static_cast<std::size_t>(sampleCount_));
        templates.assign(gestures_);
        auto ranges = nameRanges(names, templates);
        names_.swap(names);
        std::swap(templates_, templates);
        nameRanges_.swap(ranges);
        return;
    }
    if (remove) {
        const auto it = names_.find(*name);
        if (it != names_.end()) {
            names_.erase(it);
            indexNames();
        }
        return;
    }
    const auto [it, inserted] = names_.emplace(*name);
    if (!inserted)
        return;
    try {
        indexNames();
    } catch (...) {
        names_.erase(it);
        throw;
    }
}

void PointPatternMatcher::templateAdded(const GestureEntry& item) {
    templates_.add(item);
    try {
        indexNames();
    } catch (...) {
        templates_.remove(item);
        throw;
    }
}

void PointPatternMatcher::templateRemoved(const GestureEntry& item) noexcept {
    templates_.remove(item);
    refreshRanges();
}

PointPatternMatcher::Ranges PointPatternMatcher::nameRanges(const NameSet& names,
                                                            const TemplateAngles& templates) {
    Ranges ranges(names.size());
    fillRanges(names, templates, ranges);
    return ranges;
}

void PointPatternMatcher::fillRanges(const NameSet& names, const TemplateAngles& templates,
                                     Ranges& ranges) noexcept {
    // Both run in code-unit order; a name of the set may have no template, and a template's name may
    // have been dropped from the set.
    std::size_t i = 0;
    auto range = ranges.begin();
    for (const std::u16string& name : names) {
        while (i < templates.size() && templates.name(i) < name)
            ++i;
        const std::size_t first = i;
        while (i < templates.size() && templates.name(i) == name)
            ++i;
        *range++ = {first, i};
    }
}

void PointPatternMatcher::indexNames() {
    if (nameRanges_.size() == names_.size())
        refreshRanges();
    else
        nameRanges_ = nameRanges(names_, templates_);
}

void PointPatternMatcher::refreshRanges() noexcept {
    fillRanges(names_, templates_, nameRanges_);
}

PointPatternMatcher::Scratch::Scratch(const PointPatternMatcher& owner) : owner_(owner) {
    {
        std::lock_guard lock(owner_.spareMutex_);
        if (!owner_.spare_.empty()) {
            buffers = std::move(owner_.spare_.back());
            owner_.spare_.pop_back();
        }
    }
    if (!buffers)
        buffers = std::make_unique<ScoreBuffers>();
}

PointPatternMatcher::Scratch::~Scratch() {
    try {
        std::lock_guard lock(owner_.spareMutex_);
        owner_.spare_.push_back(std::move(buffers));
    } catch (...) { // not kept: the next recognition allocates anew
    }
}

void PointPatternMatcher::scoreNames(const PointList& stroke, ScoreBuffers& buffers) const {
    std::vector<NameScore>& scores = buffers.scores;
    scores.clear();
    if (names_.empty())
        return;
    resample(stroke, sampleCount_, buffers.resampled);
    directionAngles(buffers.resampled, buffers.strokeAngles);
    std::vector<double>& probabilities = buffers.probabilities;
    templates_.score(buffers.strokeAngles, probabilities, buffers.sums);
    scores.reserve(names_.size());
    auto range = nameRanges_.begin();
    for (const std::u16string& name : names_) {
        // A name's templates in list order, each adding its stored score; a name with none gets 0/0.
        double sum = 0.0;
        std::uint64_t k = 0;
        for (std::size_t i = range->first; i < range->second; ++i) {
            sum += probabilities[i];
            ++k;
        }
        scores.push_back({&name, storedProbability(sum / static_cast<double>(k)), k});
        ++range;
    }
}

void PointPatternMatcher::matchAll(const PointList& stroke, std::vector<MatchResult>& results) const {
    Scratch scratch(*this);
    scoreNames(stroke, *scratch.buffers);
    for (const NameScore& s : scratch.buffers->scores)
        results.emplace_back(*s.name, s.probability, s.count);
}

namespace {

// The accepted entry of a walk in name order, or null: strictly greater, so the first of equal scores
// keeps its place and 0 or NaN never gets in; the best must then score above the threshold.
template <class Entry> const Entry* acceptedBest(const std::vector<Entry>& entries) {
    const Entry* best = nullptr;
    double bestProbability = 0.0;
    for (const Entry& e : entries) {
        if (e.probability > bestProbability) {
            best = &e;
            bestProbability = e.probability;
        }
    }
    return best != nullptr && bestProbability > kAcceptThreshold ? best : nullptr;
}

} // namespace

std::u16string_view chooseName(const std::vector<MatchResult>& results) {
    const MatchResult* best = acceptedBest(results);
    return best != nullptr ? std::u16string_view(best->name) : kNoGestureFound;
}

void PointPatternMatcher::recognize(const PointList& stroke, std::u16string& result) const {
    trace::line(u"[recognize] stroke points ", stroke.size());
    if (stroke.size() < 2) {
        result = kNoGestureFound;
        return;
    }
    Scratch scratch(*this);
    scoreNames(stroke, *scratch.buffers);
    // chooseName's rule, without copying every name into a result.
    const NameScore* best = acceptedBest(scratch.buffers->scores);
    if (best != nullptr)
        result = *best->name;
    else
        result = kNoGestureFound;
}

} // namespace sc
