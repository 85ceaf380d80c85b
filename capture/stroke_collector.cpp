// Stroke collection: spacing filter and the end-of-stroke sequence.
#include "capture/stroke_collector.h"

#include <limits>
#include <utility>

namespace sc {

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
    outcome.score = std::numeric_limits<double>::quiet_NaN();
    if (points.size() > kMaxIgnoredPoints) {
        if (hooks.scoredRecognize)
            hooks.scoredRecognize(points, outcome.name, outcome.score);
        else if (hooks.recognize)
            hooks.recognize(points, outcome.name);
    }
    if (hooks.recording && hooks.recording()) {
        outcome.status = ActionStatus::Recording;
    } else if (hooks.run) {
        outcome.status = hooks.run(outcome.name, outcome.score);
        outcome.ran = outcome.status == ActionStatus::Ran;
    } else if (hooks.execute) {
        outcome.ran = hooks.execute(outcome.name);
        outcome.status = outcome.ran ? ActionStatus::Ran : ActionStatus::Failed;
    }
    if (hooks.report)
        hooks.report(points, outcome.name.empty() ? kNoGestureFound : std::u16string_view(outcome.name),
                     outcome.score, outcome.status);
    return outcome;
}

} // namespace sc
