// Regression over recorded human strokes: one subject's strokes as templates, nine others' recognised.
#include <gtest/gtest.h>

#include "tests/gesture/corpus_tally.h"
#include "tests/gesture/unistrokes.h"

// Optional: the recorded human strokes live beside the repository, without a licence to ship them.
TEST(RecordedStrokes, RecognitionCountsStayPut) {
    const auto strokes = gesturetest::readUnistrokes(gesturetest::unistrokesPath(STROKECAST_SHARED_DATA));
    if (strokes.empty())
        GTEST_SKIP() << "optional data: no recorded human strokes at " << STROKECAST_SHARED_DATA
                     << "/unistrokes.csv";
    ASSERT_EQ(strokes.size(), 4800u);

    gesturetest::CorpusTally tally = gesturetest::tallyRecognition(strokes);
    ASSERT_EQ(tally.templates, 16u);
    // Exact figures of this matcher on this corpus: any change in its arithmetic moves them.
    EXPECT_EQ(tally.right + tally.wrong + tally.none, 1440);
    EXPECT_EQ(tally.right, 1289);
    EXPECT_EQ(tally.wrong, 99);
    EXPECT_EQ(tally.none, 52);
    EXPECT_EQ(tally.rightByGesture["circle"], 24); // circles start anywhere and go either way
    EXPECT_EQ(tally.scoreSum, 0x1.2c4a985ebe15bp+20) << std::hexfloat << tally.scoreSum;
}
