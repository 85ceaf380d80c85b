// Regression over the generated corpus: one subject's strokes as templates, the nine others' recognised.
// The recorded human strokes get the same treatment in unistrokes_test.cpp when they are present.
#include <gtest/gtest.h>

#include <map>

#include "common/utf16.h"
#include "gesture/matcher.h"
#include "tests/gesture/generated_strokes.h"
#include "tests/gesture/gesture_test_support.h"

using namespace sc;

TEST(GeneratedCorpus, HasEveryKindOfStroke) {
    const auto strokes = gesturetest::generatedStrokes();
    std::map<std::string, int> byGesture, bySpeed;
    for (const auto& s : strokes) {
        ++byGesture[s.gesture];
        ++bySpeed[s.speed];
        for (const GesturePoint& p : s.points) // what the exports can carry
            ASSERT_TRUE(p.x >= 0 && p.x <= 65535 && p.y >= 0 && p.y <= 65535) << s.gesture;
    }
    EXPECT_EQ(byGesture.size(), 17u); // 16 shapes and the degenerate strokes
    EXPECT_EQ(byGesture["circle_cw"], 300);
    EXPECT_EQ(bySpeed["slow"], 1600);
    EXPECT_EQ(bySpeed["fast"], 1600);
    // Speeds differ in point density: a slow circle has several times the points of a fast one.
    std::size_t slow = 0, fast = 0;
    for (const auto& s : strokes) {
        if (s.gesture != "circle_cw" || s.subject != 1)
            continue;
        if (s.speed == std::string("slow"))
            slow += s.points.size();
        if (s.speed == std::string("fast"))
            fast += s.points.size();
    }
    EXPECT_GT(slow, 3 * fast);
}

TEST(GeneratedCorpus, RecognitionCountsStayPut) {
    const auto strokes = gesturetest::generatedStrokes();
    gesturetest::TemplateSet templates;
    for (const auto& s : strokes)
        if (s.subject == 2 && s.speed == std::string("medium") && s.repetition == 1)
            templates.add(utf16::fromUtf8(s.gesture), s.points);
    ASSERT_EQ(templates.list.size(), 16u);
    PointPatternMatcher matcher(templates.list, sc::kSampleCount);

    int right = 0, wrong = 0, none = 0, degenerateNamed = 0;
    double scoreSum = 0.0;
    for (const auto& s : strokes) {
        if (s.subject == 2 || (s.speed != std::string("medium") && s.gesture != "degenerate"))
            continue;
        std::u16string name;
        matcher.recognize(s.points, name);
        std::vector<MatchResult> results;
        matcher.matchAll(s.points, results);
        if (s.gesture != "degenerate") // their scores are 0/0 for every name
            for (const MatchResult& r : results)
                scoreSum += r.probability;
        if (s.gesture == "degenerate") {
            degenerateNamed += name != kNoGestureFound;
        } else if (name == kNoGestureFound) {
            ++none;
        } else if (name == utf16::fromUtf8(s.gesture)) {
            ++right;
        } else {
            ++wrong;
        }
    }
    // Exact figures of this matcher on this corpus: any change in its arithmetic moves them.
    EXPECT_EQ(right + wrong + none, 1440);
    EXPECT_EQ(right, 1437);
    EXPECT_EQ(wrong, 3);
    EXPECT_EQ(none, 0);
    EXPECT_EQ(degenerateNamed, 2); // of the seven: the ones with a direction still get a name
    // Every score of every name, summed in order: a change in the last bit of any of them shows.
    EXPECT_EQ(scoreSum, 0x1.2bcfe46efa84p+20) << std::hexfloat << scoreSum;
}
