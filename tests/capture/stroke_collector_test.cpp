// Stroke collection: the spacing filter and what an ended stroke hands on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/stroke_collector.h"

namespace {

using sc::GesturePoint;
using sc::StrokeCollector;

TEST(StrokeCollector, KeepsOnlyPointsMoreThanTenPixelsFromTheLastKept) {
    struct Case {
        GesturePoint next;
        bool kept;
    };
    const Case cases[] = {
        {{10.0f, 0.0f}, false},  // exactly 10.0 away: dropped
        {{6.0f, 8.0f}, false},   // 3-4-5 triangle, exactly 10.0
        {{10.001f, 0.0f}, true}, // just over
        {{0.0f, -10.5f}, true},  // any direction
        {{7.0f, 7.0f}, false},   // 9.9
        {{0.0f, 0.0f}, false},   // the same point
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.next.x << "," << c.next.y);
        StrokeCollector stroke;
        EXPECT_TRUE(stroke.add({0.0f, 0.0f}));
        EXPECT_EQ(stroke.add(c.next), c.kept);
        EXPECT_EQ(stroke.points().size(), c.kept ? 2u : 1u);
    }
}

TEST(StrokeCollector, MeasuresFromTheLastKeptPointNotTheLastArrived) {
    StrokeCollector stroke;
    stroke.add({0, 0});
    EXPECT_FALSE(stroke.add({6, 0}));
    EXPECT_FALSE(stroke.add({9, 0}));
    EXPECT_TRUE(stroke.add({12, 0})); // 12 from the kept point, though only 3 from the last one
}

struct Calls {
    std::vector<std::size_t> recognised;
    std::vector<std::u16string> executed;
};

sc::StrokeHooks recordingHooks(Calls& calls, std::u16string answer, bool runs) {
    sc::StrokeHooks hooks;
    hooks.recognize = [&calls, answer](const sc::PointList& points, std::u16string& name) {
        calls.recognised.push_back(points.size());
        name = answer;
    };
    hooks.execute = [&calls, runs](std::u16string_view name) {
        calls.executed.emplace_back(name);
        return runs;
    };
    return hooks;
}

TEST(StrokeCollector, RecognisesOnlyStrokesOfMoreThanTenPoints) {
    for (std::size_t count : {0u, 1u, 10u, 11u, 40u}) {
        SCOPED_TRACE(count);
        Calls calls;
        StrokeCollector stroke;
        for (std::size_t i = 0; i < count; ++i)
            stroke.add({static_cast<float>(i) * 11.0f, 0.0f});
        const sc::StrokeOutcome outcome = stroke.finish(recordingHooks(calls, u"LINE", true));
        const bool long_enough = count > 10;
        EXPECT_EQ(outcome.pointCount, count);
        EXPECT_EQ(calls.recognised,
                  long_enough ? std::vector<std::size_t>{count} : std::vector<std::size_t>{});
        // The action side hears about every stroke, with an empty name when it was not recognised.
        ASSERT_EQ(calls.executed.size(), 1u);
        EXPECT_EQ(calls.executed[0], long_enough ? u"LINE" : u"");
        EXPECT_EQ(outcome.name, long_enough ? u"LINE" : u"");
        EXPECT_TRUE(stroke.points().empty());
    }
}

TEST(StrokeCollector, ClosedManagersLeaveAnEmptyNameAndNothingRun) {
    StrokeCollector stroke;
    for (int i = 0; i < 20; ++i)
        stroke.add({static_cast<float>(i) * 20.0f, 0.0f});
    sc::StrokeHooks closed;
    closed.recognize = [](const sc::PointList&, std::u16string&) {};
    closed.execute = [](std::u16string_view) { return false; };
    const sc::StrokeOutcome outcome = stroke.finish(closed);
    EXPECT_EQ(outcome.name, u"");
    EXPECT_FALSE(outcome.ran);
}

} // namespace
