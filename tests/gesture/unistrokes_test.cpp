// Regression over recorded human strokes: one subject's strokes as templates, nine others' recognised.
#include <gtest/gtest.h>

#include <map>

#include "common/utf16.h"
#include "gesture/matcher.h"
#include "tests/gesture/gesture_test_support.h"
#include "tests/gesture/unistrokes.h"

using namespace sc;

// Optional: the recorded human strokes live beside the repository, without a licence to ship them.
TEST(RecordedStrokes, RecognitionCountsStayPut) {
    const auto strokes = gesturetest::readUnistrokes(gesturetest::unistrokesPath(STROKECAST_SHARED_DATA));
    if (strokes.empty())
        GTEST_SKIP() << "optional data: no recorded human strokes at " << STROKECAST_SHARED_DATA
                     << "/unistrokes.csv";
    ASSERT_EQ(strokes.size(), 4800u);

    gesturetest::TemplateSet templates;
    for (const auto& s : strokes)
        if (s.subject == 2 && s.speed == "medium" && s.repetition == 1)
            templates.add(utf16::fromUtf8(s.gesture), s.points);
    ASSERT_EQ(templates.list.size(), 16u);
    PointPatternMatcher matcher(templates.list, sc::kSampleCount);

    int right = 0, wrong = 0, none = 0;
    double scoreSum = 0.0;
    std::map<std::string, int> rightByGesture;
    for (const auto& s : strokes) {
        if (s.subject == 2 || s.speed != "medium")
            continue;
        std::u16string name;
        matcher.recognize(s.points, name);
        std::vector<MatchResult> results;
        matcher.matchAll(s.points, results);
        for (const MatchResult& r : results)
            scoreSum += r.probability;
        if (name == kNoGestureFound) {
            ++none;
        } else if (name == utf16::fromUtf8(s.gesture)) {
            ++right;
            ++rightByGesture[s.gesture];
        } else {
            ++wrong;
        }
    }
    // Exact figures of this matcher on this corpus: any change in its arithmetic moves them.
    EXPECT_EQ(right + wrong + none, 1440);
    EXPECT_EQ(right, 1289);
    EXPECT_EQ(wrong, 99);
    EXPECT_EQ(none, 52);
    EXPECT_EQ(rightByGesture["circle"], 24); // circles start anywhere and go either way
    // Every score of every name, summed in order: a change in the last bit of any of them shows.
    EXPECT_EQ(scoreSum, 0x1.2c4a985ebe15bp+20) << std::hexfloat << scoreSum;
}
