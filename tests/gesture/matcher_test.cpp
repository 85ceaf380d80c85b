// Stroke geometry and the point-pattern matcher: the numbers, their float/double mix, and the choice.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "gesture/arctangent.h"
#include "gesture/geometry.h"
#include "gesture/matcher.h"
#include "tests/gesture/gesture_test_support.h"

using namespace sc;
using gesturetest::joined;
using gesturetest::line;
using gesturetest::TemplateSet;
using gesturetest::transformed;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The stroke's score against one template: a name with a single template scores as that template.
double score(const PointList& templatePoints, const PointList& stroke) {
    TemplateSet templates;
    templates.add(u"t", templatePoints);
    PointPatternMatcher matcher(templates.list, kSampleCount);
    std::vector<MatchResult> results;
    matcher.matchAll(stroke, results);
    EXPECT_EQ(results.size(), 1u);
    if (results.empty())
        return 0.0;
    EXPECT_EQ(results[0].name, u"t");
    EXPECT_EQ(results[0].count, 1u);
    return results[0].probability;
}

} // namespace

TEST(Geometry, DistancesAndInterpolationWidenToDouble) {
    EXPECT_EQ(distance({0, 0}, {3, 4}), 5.0);
    EXPECT_EQ(pathLength({}), 0.0);
    EXPECT_EQ(pathLength({{1, 1}}), 0.0);
    EXPECT_EQ(pathLength({{0, 0}, {3, 4}, {3, 0}}), 9.0);
    // 0.1f widened is not 0.1: the difference must be taken in double, not in float.
    EXPECT_EQ(distance({0.1f, 0}, {0, 0}), static_cast<double>(0.1f));
    const GesturePoint q = interpolate({0, 0}, {1, 3}, 1.0 / 3.0);
    EXPECT_EQ(q.x, static_cast<float>(1.0 / 3.0));
    EXPECT_EQ(q.y, static_cast<float>(3.0 * (1.0 / 3.0)));
}

TEST(Geometry, DirectionUsesSinglePrecisionArctangent) {
    // atan2 in double would give pi/4 = 0.7853981633974483 exactly rounded; the angle is the float.
    EXPECT_EQ(directionAngle({0, 0}, {1, 1}), static_cast<double>(static_cast<float>(std::atan2(1.0, 1.0))));
    EXPECT_NE(directionAngle({0, 0}, {1, 1}), std::atan2(1.0, 1.0));
    EXPECT_EQ(directionAngle({0, 0}, {-1, 0}), static_cast<double>(static_cast<float>(kPi)));
    EXPECT_EQ(directionAngles({{0, 0}}).size(), 0u);
    EXPECT_EQ(directionAngles({{0, 0}, {1, 0}, {1, 1}}),
              (std::vector<double>{0.0, directionAngle({1, 0}, {1, 1})}));
}

// The arctangent is the float nearest the true angle, the same on every build: checked against the
// double-precision library arctangent rounded once, on every whole-pixel step a stroke can take within
// 200 pixels, on random steps of all sizes, and on the signed zeros, infinities and NaN.
TEST(Geometry, ArctangentIsTheNearestFloat) {
    const auto nearest = [](float y, float x) {
        return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
    };
    int differing = 0;
    for (int y = -200; y <= 200; ++y)
        for (int x = -200; x <= 200; ++x)
            differing += arctangent(static_cast<float>(y), static_cast<float>(x)) !=
                         nearest(static_cast<float>(y), static_cast<float>(x));
    std::mt19937 random(7);
    for (const float scale : {1e-6f, 1.0f, 1e4f, 1e9f}) {
        std::uniform_real_distribution<float> coordinate(-scale, scale);
        for (int i = 0; i < 20000; ++i) {
            const float y = coordinate(random), x = coordinate(random);
            differing += arctangent(y, x) != nearest(y, x);
        }
    }
    EXPECT_EQ(differing, 0);

    constexpr float inf = std::numeric_limits<float>::infinity();
    const float pi = static_cast<float>(kPi);
    const struct {
        float y, x, angle;
    } cases[] = {
        {0.0f, 0.0f, 0.0f}, {-0.0f, 0.0f, -0.0f}, {0.0f, -0.0f, pi},     {-0.0f, -0.0f, -pi},
        {0.0f, -5.0f, pi},  {-0.0f, -5.0f, -pi},  {5.0f, 0.0f, pi / 2},  {-5.0f, -0.0f, -pi / 2},
        {inf, inf, pi / 4}, {1.0f, -inf, pi},     {-inf, 3.0f, -pi / 2}, {1e-30f, 1e30f, 0.0f},
    };
    for (const auto& c : cases) {
        const float angle = arctangent(c.y, c.x);
        EXPECT_EQ(angle, c.angle) << c.y << ", " << c.x;
        EXPECT_EQ(std::signbit(angle), std::signbit(c.angle)) << c.y << ", " << c.x;
    }
    EXPECT_TRUE(std::isnan(arctangent(std::numeric_limits<float>::quiet_NaN(), 1.0f)));
}

TEST(Geometry, AngleDifferenceFoldsAndProbabilityScales) {
    struct Case {
        double a, b, difference;
    };
    const Case cases[] = {
        {0.5, 0.25, 0.25},
        {-3.0, 3.0, kPi - (6.0 - kPi)}, // across the +-pi seam: the short way round
        {kPi, -kPi, kPi - (2 * kPi - kPi)},
        {1.0, 1.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
        EXPECT_EQ(angleDifference(c.a, c.b), c.difference);
    }
    EXPECT_EQ(deltaToProbability(0.0), 100.0);
    EXPECT_NEAR(deltaToProbability(kPi / 2), 50.0, 1e-12);
    EXPECT_NEAR(deltaToProbability(kPi), 0.0, 1e-12);
    EXPECT_TRUE(std::isnan(deltaToProbability(kNaN)));
}

TEST(Geometry, ResampleSpacesPointsEvenlyAndLeavesOutTheEnd) {
    const PointList samples = resample({{0, 0}, {100, 0}}, 50);
    ASSERT_EQ(samples.size(), 50u);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_NEAR(samples[i].x, 2.0 * static_cast<double>(i), 1e-4);
        EXPECT_EQ(samples[i].y, 0.0f);
    }
    // A corner is cut where the path distance says, not at the corner point.
    const PointList corner = resample({{0, 0}, {10, 0}, {10, 10}}, 4);
    ASSERT_EQ(corner.size(), 4u);
    EXPECT_EQ(corner[2].x, 10.0f);
    EXPECT_EQ(corner[2].y, 0.0f);
    EXPECT_EQ(corner[3].x, 10.0f);
    EXPECT_EQ(corner[3].y, 5.0f);
}

TEST(Geometry, ResampleOfDegeneratePaths) {
    EXPECT_TRUE(resample({}, 50).empty());
    const PointList one = resample({{7, 8}}, 50);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].x, 7.0f);
    // Length 0: the first point, then NaN points up to the count, never an endless loop.
    const PointList still = resample({{5, 5}, {5, 5}, {5, 5}}, 50);
    ASSERT_EQ(still.size(), 50u);
    EXPECT_EQ(still[0].x, 5.0f);
    EXPECT_TRUE(std::isnan(still[1].x));
    EXPECT_LE(resample({{0, 0}, {1, 0}}, 0).size(), 2u);
}

TEST(MatchResult, StoringRuleReplacesOutOfRangeButKeepsNaN) {
    struct Case {
        double given, stored;
    };
    const Case cases[] = {{100.0, 100.0}, {0.0, 0.0}, {75.5, 75.5}, {100.0000001, 1.0}, {-0.0001, 1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(MatchResult(u"n", c.given, 1).probability, c.stored);
    }
    EXPECT_TRUE(std::isnan(MatchResult(u"n", kNaN, 1).probability));
    const MatchResult empty;
    EXPECT_EQ(empty.probability, 1.0);
    EXPECT_EQ(empty.count, 0u);
}

TEST(Matcher, ScoresFollowDirectionsNotPlaceOrSize) {
    const PointList right = line(0, 0, 100, 0);
    const PointList zigzag = joined({line(0, 0, 40, 30), line(40, 30, 80, 0), line(80, 0, 120, 40)});
    EXPECT_EQ(score(zigzag, zigzag), 100.0);
    EXPECT_NEAR(score(zigzag, transformed(zigzag, 2.5f, 300, -40)), 100.0, 1e-3);
    EXPECT_NEAR(score(zigzag, transformed(zigzag, 0.4f, 7, 9)), 100.0, 1e-3);
    EXPECT_NEAR(score(right, line(500, 10, 510, 10, 3)), 100.0, 1e-9); // any length
    EXPECT_NEAR(score(right, line(100, 0, 0, 0)), 0.0, 1e-4);          // drawn backwards
    EXPECT_GT(score(right, line(100, 0, 0, 0)), 0.0);                  // atan2f of a leftward step is not pi
    EXPECT_NEAR(score(right, line(0, 0, 0, 100)), 50.0, 1e-4);         // at right angles
}

TEST(Matcher, DegenerateTemplatesAndStrokesScoreNaN) {
    const PointList right = line(0, 0, 100, 0);
    EXPECT_TRUE(std::isnan(score({{4, 4}}, right)));         // one point: no direction
    EXPECT_TRUE(std::isnan(score({}, right)));               // no point: nothing to resample, no crash
    EXPECT_TRUE(std::isnan(score(right, {{3, 3}, {3, 3}}))); // a stroke of length 0
}

TEST(Matcher, BitExactScoresStayPut) {
    // Golden values of this implementation's float/double mix; any change to the arithmetic shows here.
    const PointList arc = [] {
        PointList p;
        for (int i = 0; i <= 40; ++i)
            p.push_back({static_cast<float>(100 + 80 * std::cos(i * 0.1)),
                         static_cast<float>(100 + 60 * std::sin(i * 0.1))});
        return p;
    }();
    const PointList hook = joined({line(13, 17, 91, 33, 7), line(91, 33, 60, 120, 11)});
    EXPECT_EQ(score(arc, hook), 0x1.98bfce784bb24p+4); // 25.54682776442054
    EXPECT_EQ(score(hook, arc), 0x1.98bfce784bb24p+4);
    // The leftward step's angle is float(pi), just past pi: the fold leaves a small positive score.
    EXPECT_EQ(score(line(0, 0, 100, 0), line(100, 0, 0, 0)), 0x1.757eadcp-19);      // 2.7827533983781905e-06
    EXPECT_EQ(score(line(0, 0, 100, 0), line(0, 0, 0, 100)), 0x1.8fffff4540a8ap+5); // 49.999998608623244
}

TEST(Matcher, NamesFollowTemplates) {
    TemplateSet templates;
    templates.add(u"b", line(0, 0, 1, 1));
    templates.add(u"a", line(0, 0, 1, 1));
    templates.add(u"b", line(0, 0, 1, 1));
    PointPatternMatcher matcher(templates.list, sc::kSampleCount);
    EXPECT_EQ(std::vector<std::u16string>(matcher.names().begin(), matcher.names().end()),
              (std::vector<std::u16string>{u"a", u"b"}));
    matcher.updateNames(u"c");
    matcher.updateNames(u"c");
    matcher.updateNames(u"a", true);
    matcher.updateNames(u"zz", true);
    EXPECT_EQ(std::vector<std::u16string>(matcher.names().begin(), matcher.names().end()),
              (std::vector<std::u16string>{u"b", u"c"}));
    matcher.updateNames();
    EXPECT_EQ(matcher.names().size(), 2u);
    EXPECT_EQ(*matcher.names().begin(), u"a");
}

TEST(Matcher, NameScoresAreTheMeanOverItsTemplates) {
    const PointList right = line(0, 0, 100, 0);
    TemplateSet templates;
    templates.add(u"right", right);
    templates.add(u"right", line(100, 0, 0, 0));
    templates.add(u"down", line(0, 0, 0, 100));
    PointPatternMatcher matcher(templates.list, sc::kSampleCount);
    std::vector<MatchResult> results;
    matcher.matchAll(right, results);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].name, u"down");
    EXPECT_EQ(results[0].count, 1u);
    EXPECT_EQ(results[1].name, u"right");
    EXPECT_EQ(results[1].count, 2u);
    const double forward = score(right, right), backward = score(line(100, 0, 0, 0), right);
    EXPECT_EQ(results[1].probability, (forward + backward) / 2.0);
    // A perfect template does not carry a name whose other template disagrees.
    std::u16string name;
    matcher.recognize(right, name);
    EXPECT_EQ(name, kNoGestureFound);
}

TEST(Matcher, ChoiceNeedsMoreThan75AndTheFirstOfEqualsWins) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::u16string, double>> scores;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {"exactly 75 is refused", {{u"a", 75.0}}, kNoGestureFound},
        {"just above is taken", {{u"a", std::nextafter(75.0, 100.0)}}, u"a"},
        {"the first of equals", {{u"a", 90.0}, {u"b", 90.0}}, u"a"},
        {"the higher wins", {{u"a", 80.0}, {u"b", 90.0}}, u"b"},
        {"NaN never wins", {{u"a", kNaN}, {u"b", 76.0}}, u"b"},
        {"NaN does not block", {{u"a", 76.0}, {u"b", kNaN}}, u"a"},
        {"zero never wins", {{u"a", 0.0}}, kNoGestureFound},
        {"no names at all", {}, kNoGestureFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<MatchResult> results;
        for (const auto& [name, p] : c.scores)
            results.emplace_back(name, p, 1);
        EXPECT_EQ(chooseName(results), c.expected);
    }
}

TEST(Matcher, RecognitionEdgeCases) {
    TemplateSet templates;
    templates.add(u"right", line(0, 0, 100, 0));
    templates.add(u"Right", line(0, 0, 100, 0)); // equal scores: "R" sorts before "r"
    templates.add(u"dot", {{5, 5}});
    templates.add(u"empty", {});
    PointPatternMatcher matcher(templates.list, sc::kSampleCount);
    std::u16string name = u"stale";
    matcher.recognize(line(10, 10, 60, 10), name);
    EXPECT_EQ(name, u"Right");
    matcher.recognize({}, name);
    EXPECT_EQ(name, kNoGestureFound);
    matcher.recognize({{1, 1}}, name);
    EXPECT_EQ(name, kNoGestureFound);
    matcher.recognize({{1, 1}, {1, 1}, {1, 1}}, name); // coincident points: every score NaN
    EXPECT_EQ(name, kNoGestureFound);

    TemplateSet none;
    PointPatternMatcher emptyMatcher(none.list, sc::kSampleCount);
    std::vector<MatchResult> results;
    emptyMatcher.matchAll(line(0, 0, 9, 9), results);
    EXPECT_TRUE(results.empty());
    emptyMatcher.recognize(line(0, 0, 9, 9), name);
    EXPECT_EQ(name, kNoGestureFound);
}
