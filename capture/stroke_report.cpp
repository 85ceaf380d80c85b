// The process's stroke sink and capture mode.
#include "capture/stroke_report.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "common/callback_slot.h"

namespace sc::stroke_report {
namespace {

CallbackSlot<Sink>& slot() {
    static CallbackSlot<Sink> s;
    return s;
}

std::atomic<bool> recordMode{false};

// A coordinate as the point format carries it. An x of 0 would end the list early, so the screen's
// left edge (and anything left of it on another monitor) is reported as 1.
std::uint16_t unit(float value, float lowest) {
    return static_cast<std::uint16_t>(std::clamp(value, lowest, 65535.0f));
}

} // namespace

void setSink(Sink sink, void* context) {
    slot().set(sink, context);
}

void report(const PointList& points, std::u16string_view name, double score, ActionStatus status) {
    if (!slot().isSet())
        return;
    std::vector<std::uint16_t> values;
    values.reserve(points.size() * 2 + 1);
    for (const GesturePoint& p : points) {
        values.push_back(unit(p.x, 1.0f));
        values.push_back(unit(p.y, 0.0f));
    }
    values.push_back(0);
    const std::u16string text(name);
    slot().call(values.data(), text.c_str(), score, static_cast<std::int32_t>(status));
}

void setRecording(bool on) {
    recordMode = on;
}

bool recording() {
    return recordMode;
}

} // namespace sc::stroke_report
