// Captured strokes through the exports on the fake platform: the stroke sink, record mode and guards.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "capture/touch_capturer.h"
#include "common/messages.h"
#include "common/utf16.h"
#include "exports/boundary.h"
#include "exports/instances.h"
#include "platform/fake/fake_state.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fake = platform::fake;

const sc_char* s(const char16_t* text) {
    return reinterpret_cast<const sc_char*>(text);
}

struct Stroke {
    std::vector<uint16_t> points;
    std::u16string name;
    double score;
    int32_t status;
};

void STROKECAST_CALL collect(const uint16_t* points, const sc_char* name, double score, int32_t status,
                             void* context) {
    Stroke stroke{{}, name, score, status};
    for (; *points != 0; points += 2) {
        stroke.points.push_back(points[0]);
        stroke.points.push_back(points[1]);
    }
    stroke.points.push_back(0);
    static_cast<std::vector<Stroke>*>(context)->push_back(stroke);
}

class CaptureSink : public testing::Test {
  protected:
    void SetUp() override {
        fake::reset();
        fake::resetSystem();
        dir.writeBytes("defaults.configure", sc::utf16::toBytes(u"right,10,50,60,50,110,50,160,50\n"));
        OpenGestureManager(s((dir.folder() + u"/defaults.configure").c_str()), s(dir.folder().c_str()));
        OpenActionManager(s(dir.folder().c_str()));
        ASSERT_EQ(SetGestureToAction(s(u"right"), s(u"POWEROFF")), 1);
        StrokecastSetStrokeSink(collect, &strokes);
        fake::ui().threadsStart = true; // started threads wait for runThreads
        OpenTouchCapturer();
        fake::runThreads();
        window = sc::touchCapturer.with(platform::ui::WindowId{0},
                                        [](sc::TouchCapturer& c) { return c.window(); });
        ASSERT_NE(window, 0u);
    }
    void TearDown() override {
        StrokecastSetStrokeSink(nullptr, nullptr);
        StrokecastSetCaptureMode(0);
        CloseTouchCapturer();
        CloseActionNanager();
        CloseGestureManager();
        fake::reset();
    }
    // A rightward stroke of 15 points with a wobble of `wobble` pixels, ended by the stroke timeout.
    void drawRight(int wobble) {
        for (int i = 0; i < 15; ++i) {
            const int y = 100 + ((i % 2) != 0 ? wobble : 0);
            fake::send(window, sc::msg::kCapturePoint, static_cast<std::uintptr_t>(20 + i * 20), y);
            fake::advance(10);
        }
        fake::advance(300);
    }
    int shutdowns() const {
        int n = 0;
        for (const fake::SystemCall& call : fake::systemCalls())
            n += call.name == "ShellExecuteA" && call.args.size() > 1 && call.args[1] == "shutdown";
        return n;
    }

    sctest::TempFolder dir;
    std::vector<Stroke> strokes;
    platform::ui::WindowId window = 0;
};

TEST_F(CaptureSink, EveryStrokeReachesTheSinkWithItsPointsNameScoreAndStatus) {
    drawRight(0);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].name, u"right");
    EXPECT_EQ(strokes[0].score, 100.0);
    EXPECT_EQ(strokes[0].status, STROKECAST_ACTION_RAN);
    EXPECT_EQ(strokes[0].points.size(), 31u);
    EXPECT_EQ(strokes[0].points[0], 20);
    EXPECT_EQ(shutdowns(), 1); // the fake's shell: nothing is ever shut down
    // The score is the head of the ranking of the same points.
    sc_char ranking[64];
    ASSERT_GT(StrokecastRankGestures(strokes[0].points.data(), 1, ranking, 64), 0);
    EXPECT_EQ(std::u16string(ranking), u"right,100");

    // Too short to recognise: no name, no score.
    fake::send(window, sc::msg::kCapturePoint, 20, 20);
    fake::advance(300);
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[1].name, u"_NO_GESTURE_FOUND_");
    EXPECT_TRUE(std::isnan(strokes[1].score));
    EXPECT_EQ(strokes[1].status, STROKECAST_ACTION_FAILED);
}

TEST_F(CaptureSink, RecordModeRunsNothing) {
    ASSERT_EQ(StrokecastSetCaptureMode(1), 1);
    drawRight(0);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].name, u"right");
    EXPECT_EQ(strokes[0].status, STROKECAST_ACTION_RECORDING);
    EXPECT_EQ(shutdowns(), 0);
    ASSERT_EQ(StrokecastSetCaptureMode(0), 1);
    drawRight(0);
    EXPECT_EQ(shutdowns(), 1);
}

TEST_F(CaptureSink, AGuardedPowerOffNeverRunsBelowItsBar) {
    drawRight(12);
    ASSERT_EQ(strokes.size(), 1u);
    const double wobbly = strokes[0].score;
    ASSERT_GT(wobbly, STROKECAST_ACCEPT_SCORE);
    ASSERT_LT(wobbly, 100.0);
    EXPECT_EQ(shutdowns(), 1);
    struct Case {
        double guard;
        int32_t status;
    };
    const Case cases[] = {{std::nextafter(wobbly, 101.0), STROKECAST_ACTION_GUARDED},
                          {99.0, STROKECAST_ACTION_GUARDED},
                          {wobbly, STROKECAST_ACTION_RAN}, // "at least": the bar itself passes
                          {0.0, STROKECAST_ACTION_RAN}};   // removed
    for (const Case& c : cases) {
        SCOPED_TRACE(c.guard);
        ASSERT_EQ(StrokecastSetActionGuard(s(u"POWEROFF"), c.guard), 1);
        const int before = shutdowns();
        drawRight(12);
        EXPECT_EQ(strokes.back().score, wobbly);
        EXPECT_EQ(strokes.back().status, c.status);
        EXPECT_EQ(shutdowns() - before, c.status == STROKECAST_ACTION_RAN ? 1 : 0);
    }
    EXPECT_EQ(StrokecastSetActionGuard(s(u"POWEROFF"), -1.0), 0);
    EXPECT_EQ(StrokecastSetActionGuard(s(u"POWEROFF"), std::nan("")), 0);
    // Guards are for captured strokes only.
    ASSERT_EQ(StrokecastSetActionGuard(s(u"POWEROFF"), 100.0), 1);
    EXPECT_EQ(StrokecastExecuteActionEx(s(u"right")), STROKECAST_ACTION_RAN);
}

TEST_F(CaptureSink, ANullSinkStopsTheCalls) {
    StrokecastSetStrokeSink(nullptr, nullptr);
    drawRight(0);
    EXPECT_TRUE(strokes.empty());
    EXPECT_EQ(shutdowns(), 1);
}

} // namespace
