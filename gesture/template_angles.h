// The direction angles of every template, taken once, laid out for scoring many templates at a time.
#pragma once

#include <cstddef>
#include <vector>

#include "common/types.h"

namespace sc {

// Mirrors a GestureList in list order: one entry per template, so a name's templates are contiguous and
// in their list order. Scores equal those of resampling every template for every comparison, bit for bit.
class TemplateAngles {
  public:
    explicit TemplateAngles(std::size_t sampleCount) : sampleCount_(sampleCount) {}

    // Takes every template of the list in place of the ones held; on failure keeps the ones held.
    void assign(const GestureList& list);

    // Takes a template just inserted into the mirrored list after the other templates of its name; on
    // failure nothing changes.
    void add(const Gesture& gesture);

    // Forgets a template that is leaving the mirrored list; unknown templates are ignored. Never fails.
    void remove(const Gesture& gesture) noexcept;

    std::size_t size() const { return entries_.size(); }
    const Gesture& gesture(std::size_t index) const { return *entries_[index].gesture; }

    // The stored probability of every template against the stroke's direction angles, in list order, as
    // the single comparison gives it. `sums` is scratch space; both vectors are resized as needed.
    void score(const std::vector<double>& strokeAngles, std::vector<double>& probabilities,
               std::vector<double>& sums) const;

    // Bytes held by the layout (not counting the templates themselves).
    std::size_t memoryBytes() const;

  private:
    struct Entry {
        const Gesture* gesture = nullptr;
        bool full = false;          // has the full count of angles, so it lives in a lane
        std::size_t lane = 0;       // its lane, once packed
        std::vector<double> angles; // kept for the others, and for a full one until it is packed
    };

    Entry makeEntry(const Gesture& gesture) const;
    void pack();

    std::size_t sampleCount_;
    std::vector<Entry> entries_;
    std::vector<float> lanes_; // blocks of kLanes templates, one row per angle index
    std::size_t laneCount_ = 0;
};

} // namespace sc
