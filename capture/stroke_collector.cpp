// Stroke collection: spacing filter and the end-of-stroke sequence.
#include "capture/stroke_collector.h"

#include <cmath>
#include <utility>

namespace sc {
namespace {

double distance(const GesturePoint& a, const GesturePoint& b) {
    const double dx = static_cast<double>(b.x) - static_cast<double>(a.x);
    const double dy = static_cast<double>(b.y) - static_cast<double>(a.y);
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

bool StrokeCollector::add(GesturePoint point) {
    if (!points_.empty() && distance(points_.back(), point) <= kMinSpacing)
        return false;
    points_.push_back(point);
    return true;
}

StrokeOutcome StrokeCollector::finish(const StrokeHooks& hooks) {
    StrokeOutcome outcome;
    outcome.pointCount = points_.size();
    PointList points = std::exchange(points_, PointList());
    if (points.size() > kMaxIgnoredPoints && hooks.recognize)
        hooks.recognize(points, outcome.name);
    if (hooks.execute)
        outcome.ran = hooks.execute(outcome.name);
    return outcome;
}

} // namespace sc
