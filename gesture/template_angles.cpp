// Template direction angles taken once. An angle is a single-precision arctangent widened to double, so
// keeping it as a float loses nothing and halves what every recognition has to read.
#include "gesture/template_angles.h"

#include <algorithm>
#include <atomic>

#include "gesture/angle_sums.h"
#include "gesture/geometry.h"
#include "gesture/matcher.h"
#include "gesture/parallel.h"

namespace sc {
namespace {

// Below this many templates a second thread costs more than it saves.
constexpr std::size_t kParallelFrom = 256;
// Templates a thread takes at a time: whole blocks of lanes, and few enough that neither thread waits
// long for the other at the end.
constexpr std::size_t kRun = 8 * kLanes;

std::size_t blocksFor(std::size_t lanes) {
    return (lanes + kLanes - 1) / kLanes;
}

} // namespace

bool TemplateAngles::anglesOf(const GestureEntry& item, PointList& points, PointList& resampled,
                              std::vector<double>& angles) const {
    item.second.points.unpack(points);
    resample(points, sampleCount_, resampled);
    directionAngles(resampled, angles);
    // Every template of positive length resamples to sampleCount points; the rest (no point, one point)
    // keep their own angle lists and are compared one by one.
    return sampleCount_ >= 2 && angles.size() == rows();
}

void TemplateAngles::assign(const GestureList& list) {
    TemplateAngles fresh(sampleCount_);
    fresh.entries_.reserve(list.size());
    for (const GestureEntry& item : list)
        fresh.entries_.push_back({&item, static_cast<std::uint32_t>(fresh.entries_.size()), false});
    // Lane i belongs to entry i; a template without the full count leaves its lane unused until the
    // next layout.
    const std::size_t rows = fresh.rows();
    fresh.lanes_.resize(blocksFor(fresh.entries_.size()) * rows * kLanes);
    fresh.laneCount_ = fresh.entries_.size();
    // The lanes past the last template of the last block hold zeros; the workers fill the rest.
    for (std::size_t lane = fresh.laneCount_; lane < blocksFor(fresh.laneCount_) * kLanes; ++lane)
        for (std::size_t r = 0; r < rows; ++r)
            fresh.lanes_[(lane / kLanes) * rows * kLanes + r * kLanes + lane % kLanes] = 0.0f;
    // Resampling is most of the work of opening a large template file, so a second thread shares it. The
    // threads take runs of templates in turn rather than a half each: a thread can take milliseconds to
    // start (under Wine) or be kept waiting on a busy machine, and the other then does more.
    const std::size_t count = fresh.entries_.size();
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        PointList points, resampled;
        std::vector<double> angles;
        for (;;) {
            const std::size_t from = next.fetch_add(kRun);
            if (from >= count)
                return;
            for (std::size_t i = from; i < std::min(count, from + kRun); ++i) {
                Entry& e = fresh.entries_[i];
                e.full = anglesOf(*e.item, points, resampled, angles);
                float* column = fresh.lanes_.data() + (i / kLanes) * rows * kLanes + i % kLanes;
                for (std::size_t r = 0; r < rows; ++r)
                    column[r * kLanes] = e.full ? static_cast<float>(angles[r]) : 0.0f;
            }
        }
    };
    if (count >= kParallelFrom && canShareWork())
        runBoth(work, work);
    else
        work();

    // The few templates without the full count keep their own lists.
    PointList points, resampled;
    for (Entry& e : fresh.entries_) {
        if (e.full)
            continue;
        std::vector<double> angles;
        anglesOf(*e.item, points, resampled, angles);
        e.slot = static_cast<std::uint32_t>(fresh.partial_.size());
        fresh.partial_.push_back(std::move(angles));
    }
    *this = std::move(fresh);
}

void TemplateAngles::add(const GestureEntry& item) {
    PointList points, resampled;
    std::vector<double> angles;
    const bool full = anglesOf(item, points, resampled, angles);
    std::vector<Entry> entries;
    entries.reserve(entries_.size() + 1);
    entries = entries_;
    // After the last template of the same name: where the list itself puts a new template.
    const auto at =
        std::upper_bound(entries.begin(), entries.end(), item.first,
                         [](const std::u16string& name, const Entry& e) { return name < e.item->first; });
    entries.insert(at, Entry{&item, 0, full});
    relayout(std::move(entries), &item, std::move(angles));
}

void TemplateAngles::remove(const GestureEntry& item) noexcept {
    const auto first =
        std::lower_bound(entries_.begin(), entries_.end(), item.first,
                         [](const Entry& e, const std::u16string& name) { return e.item->first < name; });
    for (auto it = first; it != entries_.end() && it->item->first == item.first; ++it) {
        if (it->item == &item) {
            entries_.erase(it);
            // Closing the gap needs memory; without it the lane stays as an unused hole.
            try {
                relayout(entries_, nullptr, {});
            } catch (...) {
            }
            return;
        }
    }
}

void TemplateAngles::relayout(std::vector<Entry> entries, const GestureEntry* added,
                              std::vector<double> addedAngles) {
    const std::size_t rows = this->rows();
    const std::size_t count = static_cast<std::size_t>(
        std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.full; }));
    Lanes lanes(blocksFor(count) * rows * kLanes, 0.0f);
    std::vector<std::vector<double>> partial;
    partial.reserve(entries.size() - count);
    std::size_t lane = 0;
    for (Entry& e : entries) {
        if (!e.full) {
            if (e.item == added)
                partial.push_back(std::move(addedAngles));
            else
                partial.push_back(partial_[e.slot]);
            e.slot = static_cast<std::uint32_t>(partial.size() - 1);
            continue;
        }
        float* to = lanes.data() + (lane / kLanes) * rows * kLanes + lane % kLanes;
        if (e.item == added) {
            for (std::size_t r = 0; r < rows; ++r)
                to[r * kLanes] = static_cast<float>(addedAngles[r]);
        } else {
            const float* from = lanes_.data() + (e.slot / kLanes) * rows * kLanes + e.slot % kLanes;
            for (std::size_t r = 0; r < rows; ++r)
                to[r * kLanes] = from[r * kLanes];
        }
        e.slot = static_cast<std::uint32_t>(lane++);
    }
    entries_.swap(entries);
    lanes_.swap(lanes);
    partial_.swap(partial);
    laneCount_ = count;
}

void TemplateAngles::score(const std::vector<double>& strokeAngles, std::vector<double>& probabilities,
                           std::vector<double>& sums) const {
    const std::size_t rows = this->rows();
    const std::size_t n = std::min(rows, strokeAngles.size());
    const std::size_t blocks = blocksFor(laneCount_);
    sums.resize(blocks * kLanes);
    if (blocks > 0)
        sumAngleDifferences(lanes_.data(), blocks, rows, n, strokeAngles.data(), sums.data());
    probabilities.resize(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        // The same division and scaling as a single comparison, on the same sum.
        const double p = e.full ? deltaToProbability(sums[e.slot] / static_cast<double>(n))
                                : compareAngles(partial_[e.slot], strokeAngles);
        probabilities[i] = storedProbability(p);
    }
}

std::size_t TemplateAngles::memoryBytes() const {
    std::size_t bytes = entries_.capacity() * sizeof(Entry) + lanes_.capacity() * sizeof(float) +
                        partial_.capacity() * sizeof(std::vector<double>);
    for (const std::vector<double>& angles : partial_)
        bytes += angles.capacity() * sizeof(double);
    return bytes;
}

} // namespace sc
