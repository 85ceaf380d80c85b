// The direction angles of every template, taken once, laid out for scoring many templates at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "gesture/template_list.h"

namespace sc {

// Leaves the elements a vector grows by unset, so that the threads filling a large layout are the ones
// that first touch its pages.
template <class T> struct UnsetAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UnsetAllocator<U>; };
    UnsetAllocator() = default;
    template <class U> UnsetAllocator(const UnsetAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        std::uninitialized_default_construct_n(p, 1);
    }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        std::construct_at(p, std::forward<Args>(args)...);
    }
};

// Mirrors a GestureList in list order: one entry per template, so a name's templates are contiguous and
// in their list order. Scores equal those of resampling every template for every comparison, bit for bit.
class TemplateAngles {
  public:
    explicit TemplateAngles(std::size_t sampleCount) : sampleCount_(sampleCount) {}

    // Takes every template of the list in place of the ones held; on failure keeps the ones held.
    void assign(const GestureList& list);

    // Takes a template just inserted into the mirrored list after the other templates of its name; on
    // failure nothing changes.
    void add(const GestureEntry& item);

    // Forgets a template that is leaving the mirrored list; unknown templates are ignored. Never fails.
    void remove(const GestureEntry& item) noexcept;

    std::size_t size() const { return entries_.size(); }
    const std::u16string& name(std::size_t index) const { return entries_[index].item->first; }

    // The stored probability of every template against the stroke's direction angles, in list order, as
    // the single comparison gives it. `sums` is scratch space; both vectors are resized as needed, so
    // vectors kept from an earlier call of the same size take no fresh memory.
    void score(const std::vector<double>& strokeAngles, std::vector<double>& probabilities,
               std::vector<double>& sums) const;

    // Bytes held by the layout (not counting the templates themselves).
    std::size_t memoryBytes() const;

  private:
    struct Entry {
        const GestureEntry* item = nullptr;
        std::uint32_t slot = 0; // a full template's lane; otherwise its place in partial_
        bool full = false;      // has the full count of angles, so it lives in a lane
    };

    std::size_t rows() const { return sampleCount_ >= 2 ? sampleCount_ - 1 : 0; }
    // The template's angles into `angles`, through the working lists given; true when they are full.
    bool anglesOf(const GestureEntry& item, PointList& points, PointList& resampled,
                  std::vector<double>& angles) const;
    // Lays `entries` out afresh: the full ones in consecutive lanes, taken from their present lanes or,
    // for `added`, from `addedAngles`. Changes nothing on failure.
    void relayout(std::vector<Entry> entries, const GestureEntry* added, std::vector<double> addedAngles);

    std::size_t sampleCount_;
    std::vector<Entry> entries_;
    using Lanes = std::vector<float, UnsetAllocator<float>>;
    Lanes lanes_; // blocks of kLanes templates, one row per angle index
    std::size_t laneCount_ = 0;
    std::vector<std::vector<double>> partial_; // the angles of templates without the full count
};

} // namespace sc
