// Regression over the generated corpus: one subject's strokes as templates, the nine others' recognised.
// The recorded human strokes get the same treatment in unistrokes_test.cpp when they are present.
#include <gtest/gtest.h>

#include <map>

#include "common/types.h"
#include "tests/gesture/corpus_tally.h"
#include "tests/gesture/generated_strokes.h"

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
    const gesturetest::CorpusTally tally = gesturetest::tallyRecognition(gesturetest::generatedStrokes());
    ASSERT_EQ(tally.templates, 16u);
    // Exact figures of this matcher on this corpus: any change in its arithmetic moves them.
    EXPECT_EQ(tally.right + tally.wrong + tally.none, 1440);
    EXPECT_EQ(tally.right, 1437);
    EXPECT_EQ(tally.wrong, 3);
    EXPECT_EQ(tally.none, 0);
    EXPECT_EQ(tally.degenerateNamed, 2); // of the seven: the ones with a direction still get a name
    EXPECT_EQ(tally.scoreSum, 0x1.2bcfe46efa84p+20) << std::hexfloat << tally.scoreSum;
}
