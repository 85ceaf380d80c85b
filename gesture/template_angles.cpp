// Template direction angles taken once. An angle is a single-precision arctangent widened to double, so
// keeping it as a float loses nothing and halves what every recognition has to read.
#include "gesture/template_angles.h"

#include <algorithm>
#include <cfenv>
#include <exception>
#include <thread>

#include "gesture/angle_sums.h"
#include "gesture/geometry.h"
#include "gesture/matcher.h"

namespace sc {
namespace {

// Below this many templates a second thread costs more than it saves.
constexpr std::size_t kParallelFrom = 256;

std::size_t blocksFor(std::size_t lanes) {
    return (lanes + kLanes - 1) / kLanes;
}

} // namespace

TemplateAngles::Entry TemplateAngles::makeEntry(const Gesture& gesture) const {
    Entry entry;
    entry.gesture = &gesture;
    entry.angles = directionAngles(resample(gesture.points, sampleCount_));
    // Every template of positive length resamples to sampleCount points; the rest (no point, one point)
    // keep their own angle lists and are compared one by one.
    entry.full = sampleCount_ >= 2 && entry.angles.size() == sampleCount_ - 1;
    return entry;
}

void TemplateAngles::assign(const GestureList& list) {
    TemplateAngles fresh(sampleCount_);
    std::vector<const Gesture*> gestures;
    gestures.reserve(list.size());
    for (const auto& item : list)
        gestures.push_back(item.second);
    fresh.entries_.resize(gestures.size());
    const auto work = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            fresh.entries_[i] = fresh.makeEntry(*gestures[i]);
    };

    // Resampling is most of the work of opening a large template file; a second thread takes half of it.
    // It computes with this thread's floating-point settings, so its results are the ones we would get.
    std::size_t split = gestures.size();
    std::thread helper;
    std::exception_ptr helperFailure;
    if (gestures.size() >= kParallelFrom && std::thread::hardware_concurrency() > 1) {
        split = gestures.size() / 2;
        std::fenv_t environment;
        std::fegetenv(&environment);
        try {
            helper = std::thread([&, environment] {
                std::fesetenv(&environment);
                try {
                    work(split, gestures.size());
                } catch (...) {
                    helperFailure = std::current_exception();
                }
            });
        } catch (...) {
            split = gestures.size(); // no thread to be had: all of it here
        }
    }
    try {
        work(0, split);
    } catch (...) {
        if (helper.joinable())
            helper.join();
        throw;
    }
    if (helper.joinable())
        helper.join();
    if (helperFailure)
        std::rethrow_exception(helperFailure);
    fresh.pack();
    *this = std::move(fresh);
}

void TemplateAngles::add(const Gesture& gesture) {
    // After the last template of the same name: where the list itself puts a new template.
    const auto at =
        std::upper_bound(entries_.begin(), entries_.end(), gesture.name,
                         [](const std::u16string& name, const Entry& e) { return name < e.gesture->name; });
    const auto inserted = entries_.insert(at, makeEntry(gesture));
    try {
        pack();
    } catch (...) {
        entries_.erase(inserted); // pack changes nothing until it has its memory
        throw;
    }
}

void TemplateAngles::remove(const Gesture& gesture) noexcept {
    const auto first =
        std::lower_bound(entries_.begin(), entries_.end(), gesture.name,
                         [](const Entry& e, const std::u16string& name) { return e.gesture->name < name; });
    for (auto it = first; it != entries_.end() && it->gesture->name == gesture.name; ++it) {
        if (it->gesture == &gesture) {
            entries_.erase(it);
            // Closing the gap needs memory; without it the lane stays as an unused hole.
            try {
                pack();
            } catch (...) {
            }
            return;
        }
    }
}

void TemplateAngles::pack() {
    const std::size_t rows = sampleCount_ >= 2 ? sampleCount_ - 1 : 0;
    const std::size_t count = static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.full; }));
    std::vector<float> fresh(blocksFor(count) * rows * kLanes, 0.0f);
    std::size_t lane = 0;
    for (Entry& e : entries_) {
        if (!e.full)
            continue;
        float* to = fresh.data() + (lane / kLanes) * rows * kLanes + lane % kLanes;
        if (e.angles.empty()) {
            const float* from = lanes_.data() + (e.lane / kLanes) * rows * kLanes + e.lane % kLanes;
            for (std::size_t r = 0; r < rows; ++r)
                to[r * kLanes] = from[r * kLanes];
        } else {
            for (std::size_t r = 0; r < rows; ++r)
                to[r * kLanes] = static_cast<float>(e.angles[r]);
            std::vector<double>().swap(e.angles); // assigning {} would keep the capacity
        }
        e.lane = lane++;
    }
    lanes_ = std::move(fresh);
    laneCount_ = count;
}

void TemplateAngles::score(const std::vector<double>& strokeAngles, std::vector<double>& probabilities,
                           std::vector<double>& sums) const {
    const std::size_t rows = sampleCount_ >= 2 ? sampleCount_ - 1 : 0;
    const std::size_t n = std::min(rows, strokeAngles.size());
    const std::size_t blocks = blocksFor(laneCount_);
    sums.resize(blocks * kLanes);
    if (blocks > 0)
        sumAngleDifferences(lanes_.data(), blocks, rows, n, strokeAngles.data(), sums.data());
    probabilities.resize(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        // The same division and scaling as a single comparison, on the same sum.
        const double p = e.full ? deltaToProbability(sums[e.lane] / static_cast<double>(n))
                                : compareAngles(e.angles, strokeAngles);
        probabilities[i] = storedProbability(p);
    }
}

std::size_t TemplateAngles::memoryBytes() const {
    std::size_t bytes = entries_.capacity() * sizeof(Entry) + lanes_.capacity() * sizeof(float);
    for (const Entry& e : entries_)
        bytes += e.angles.capacity() * sizeof(double);
    return bytes;
}

} // namespace sc
