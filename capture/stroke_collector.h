// Collection of one stroke's points and what happens when the stroke ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/types.h"

namespace sc {

// How an ended stroke reaches the rest of the engine. Either may find its manager closed: recognize then
// leaves the name as it is, execute answers false.
// The scored forms, when set, replace the plain ones: they carry the stroke's best score (NaN when no
// template was compared) to the action side and to the report.
struct StrokeHooks {
    std::function<void(const PointList& points, std::u16string& name)> recognize;
    std::function<bool(std::u16string_view name)> execute;
    std::function<void(const PointList& points, std::u16string& name, double& score)> scoredRecognize;
    std::function<ActionStatus(std::u16string_view name, double score)> run;
    // true while strokes are only recorded: nothing is run.
    std::function<bool()> recording;
    // Told of every ended stroke: its kept points, its name (kNoGestureFound when none), score, status.
    std::function<void(const PointList& points, std::u16string_view name, double score, ActionStatus status)>
        report;
};

// What one ended stroke gave.
struct StrokeOutcome {
    std::size_t pointCount = 0;
    std::u16string name; // empty when the stroke was too short or no gesture manager was open
    bool ran = false;
    double score = 0.0; // the best score, NaN when no template was compared
    ActionStatus status = ActionStatus::Failed;
};

// The points of the stroke being drawn, owned by the capturer thread.
class StrokeCollector {
  public:
    // Points this close to the last kept point or closer add nothing to the shape.
    static constexpr double kMinSpacing = 10.0;
    // A stroke needs more points than this to be recognised.
    static constexpr std::size_t kMaxIgnoredPoints = 10;

    // Keeps the point when it is the first or lies more than kMinSpacing from the last kept one; true if
    // kept.
    bool add(GesturePoint point);
    // Ends the stroke: names it when long enough, empties it, then offers the name (even an empty one) to
    // the action side, which runs nothing for an empty or unknown name.
    StrokeOutcome finish(const StrokeHooks& hooks);

    const PointList& points() const { return points_; }

  private:
    PointList points_;
};

} // namespace sc
