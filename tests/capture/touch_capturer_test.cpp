// The capturer window's procedure on the fake platform: stroke timing, the hot key, opening and closing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/touch_capturer.h"
#include "common/messages.h"
#include "platform/fake/fake_state.h"

namespace {

namespace fake = platform::fake;
using sc::CapturerCore;

class Capturer : public testing::Test {
  protected:
    void SetUp() override {
        fake::reset();
        sc::StrokeHooks hooks;
        hooks.recognize = [this](const sc::PointList& points, std::u16string& name) {
            strokes.push_back(points.size());
            name = u"SQUARE";
        };
        hooks.execute = [this](std::u16string_view name) {
            executed.emplace_back(name);
            return !name.empty();
        };
        core = std::make_shared<CapturerCore>(hooks);
        core->capturerThreadProc(); // the fake loop returns at once; the window stays
        window = core->window();
        ASSERT_NE(window, 0u);
    }
    void TearDown() override { fake::reset(); }

    // A point as the overlay posts it, delivered at once.
    void point(std::int32_t x, std::int32_t y) {
        fake::send(window, sc::msg::kCapturePoint, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(x)),
                   y);
    }
    void line(int count, std::int32_t spacing, std::uint64_t gapMs = 10) {
        for (int i = 0; i < count; ++i) {
            point(i * spacing, 100);
            fake::advance(gapMs);
        }
    }

    std::shared_ptr<CapturerCore> core;
    platform::ui::WindowId window = 0;
    std::vector<std::size_t> strokes;
    std::vector<std::u16string> executed;
};

TEST_F(Capturer, StrokeEndsThreeHundredMillisecondsAfterItsLastPoint) {
    point(0, 0);
    point(20, 0);
    fake::advance(299);
    EXPECT_TRUE(executed.empty());
    point(25, 0); // dropped as too close, but it still pushes the end back
    fake::advance(299);
    EXPECT_TRUE(executed.empty());
    EXPECT_EQ(core->stroke().points().size(), 2u);
    fake::advance(1);
    EXPECT_EQ(executed, std::vector<std::u16string>{u""}); // two points: too short to recognise
    EXPECT_TRUE(core->stroke().points().empty());
    fake::advance(5000);
    EXPECT_EQ(executed.size(), 1u); // the timer fires once per stroke
}

TEST_F(Capturer, PausesOfThreeHundredMillisecondsSplitStrokes) {
    struct Case {
        std::uint64_t pauseMs;
        std::vector<std::size_t> strokes;
    };
    const Case cases[] = {{299, {22}}, {300, {11, 11}}, {1000, {11, 11}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pauseMs);
        strokes.clear();
        executed.clear();
        line(11, 20, 20); // the last gap runs 20 ms of the pause
        fake::advance(c.pauseMs - 20);
        for (int i = 0; i < 11; ++i) {
            point(i * 20, 300);
            fake::advance(20);
        }
        fake::advance(1000);
        EXPECT_EQ(strokes, c.strokes);
    }
}

TEST_F(Capturer, ElevenKeptPointsAreRecognisedTenAreNot) {
    line(10, 11);
    fake::advance(300);
    line(11, 11);
    fake::advance(300);
    EXPECT_EQ(strokes, std::vector<std::size_t>{11});
    EXPECT_EQ(executed, (std::vector<std::u16string>{u"", u"SQUARE"}));
}

TEST_F(Capturer, CoordinatesAreSignedThirtyTwoBitValues) {
    point(-5, -7);
    fake::send(window, sc::msg::kCapturePoint, 0xFFFFFFFFu, static_cast<std::intptr_t>(0xFFFFFFF0u));
    ASSERT_EQ(core->stroke().points().size(), 1u); // (-1,-16) is 9.06 from (-5,-7)
    EXPECT_EQ(core->stroke().points()[0].x, -5.0f);
    EXPECT_EQ(core->stroke().points()[0].y, -7.0f);
    point(100000, -100000);
    EXPECT_EQ(core->stroke().points()[1].x, 100000.0f);
    EXPECT_EQ(core->stroke().points()[1].y, -100000.0f);
}

TEST_F(Capturer, HotKeyRequestsRegisterReplaceAndUnregister) {
    fake::send(window, sc::msg::kCaptureHotKey, 'K', 0);
    EXPECT_TRUE(core->hotKeyInUse());
    fake::send(window, sc::msg::kCaptureHotKey, 'J', 0); // the old key goes first
    fake::send(window, sc::msg::kCaptureHotKey, 0, 1);
    EXPECT_FALSE(core->hotKeyInUse());
    EXPECT_EQ(fake::ui().hotKeyCalls,
              (std::vector<std::string>{"register 75", "unregister", "register 74", "unregister"}));
}

TEST_F(Capturer, FailedRegistrationLeavesNoHotKey) {
    fake::send(window, sc::msg::kCaptureHotKey, 'K', 0);
    fake::ui().registerSucceeds = false;
    testing::internal::CaptureStdout();
    fake::send(window, sc::msg::kCaptureHotKey, 'J', 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "last error : 1409\n");
    EXPECT_FALSE(core->hotKeyInUse());
    EXPECT_FALSE(fake::ui().registeredKey); // the previous key is gone too
}

TEST_F(Capturer, FailedUnregistrationKeepsTheFlag) {
    fake::send(window, sc::msg::kCaptureHotKey, 'K', 0);
    fake::ui().unregisterSucceeds = false;
    testing::internal::CaptureStdout();
    fake::send(window, sc::msg::kCaptureHotKey, 0, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "UnregisterHotKey fail \n");
    EXPECT_TRUE(core->hotKeyInUse());
}

TEST_F(Capturer, SetHotKeyPostsOnlyWhatIsOwed) {
    testing::internal::CaptureStdout();
    // Switching off with nothing registered or requested posts nothing.
    core->setHotKey(false, 'K');
    EXPECT_TRUE(fake::ui().posted.empty());
    core->setHotKey(true, 'K');
    // Not yet handled by the capturer thread, but the unregister is owed all the same.
    core->setHotKey(false, 'K');
    ASSERT_EQ(fake::ui().posted.size(), 2u);
    EXPECT_EQ(fake::ui().posted[0].wParam, static_cast<std::uintptr_t>('K'));
    EXPECT_EQ(fake::ui().posted[0].lParam, 0);
    EXPECT_EQ(fake::ui().posted[1].wParam, 0u);
    EXPECT_EQ(fake::ui().posted[1].lParam, 1);
    fake::deliverPosted();
    EXPECT_FALSE(fake::ui().registeredKey);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "setHotKey : 0 , K\nhot_key_in_use : 0\nsetHotKey : 1 , K\nhot_key_in_use : 0\n"
                   "setHotKey : 0 , K\nhot_key_in_use : 0\n");
}

TEST_F(Capturer, WindowDestructionGivesTheHotKeyBackOnItsOwnThread) {
    fake::send(window, sc::msg::kCaptureHotKey, 'K', 0);
    core->close();
    fake::deliverPosted(); // WM_CLOSE
    EXPECT_EQ(fake::ui().windows.count(window), 0u);
    EXPECT_FALSE(fake::ui().registeredKey);
    EXPECT_EQ(fake::ui().quitsPosted, 1);
}

TEST(TouchCapturer, WithoutAThreadItStaysOpenWithoutWindowOrBroker) {
    fake::reset();
    sc::TouchCapturer capturer{sc::StrokeHooks{}};
    EXPECT_EQ(capturer.window(), 0u);
    EXPECT_EQ(capturer.broker(), nullptr);
    testing::internal::CaptureStdout();
    capturer.setHotKey(true, 'K');
    capturer.setCharmBarCaptureEnable(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(TouchCapturer, RequestsMadeBeforeASlowWindowExistsAreHandledOnceItDoes) {
    fake::reset();
    fake::ui().threadsStart = true;
    sc::TouchCapturer capturer{sc::StrokeHooks{}}; // the thread has not run when the wait is over
    ASSERT_NE(capturer.broker(), nullptr);
    EXPECT_FALSE(capturer.broker()->showOrDismissThreadWindow()); // no receiver for points yet
    testing::internal::CaptureStdout();
    capturer.setHotKey(true, 'K');
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "setHotKey : 1 , K\nhot_key_in_use : 0\n");
    EXPECT_TRUE(fake::ui().posted.empty());
    fake::runThreads();
    ASSERT_NE(capturer.window(), 0u);
    fake::deliverPosted();
    EXPECT_EQ(fake::ui().registeredKey, static_cast<std::uint32_t>('K'));
    EXPECT_TRUE(capturer.broker()->showOrDismissThreadWindow());
    EXPECT_EQ(capturer.broker()->overlayPhase(), sc::OverlayPhase::Starting);
}

TEST(TouchCapturer, WindowPublishedAfterClosingIsClosedAtOnce) {
    fake::reset();
    fake::ui().threadsStart = true;
    {
        sc::TouchCapturer capturer{sc::StrokeHooks{}};
        EXPECT_EQ(capturer.window(), 0u);
    }
    fake::runThreads();
    ASSERT_EQ(fake::ui().windows.size(), 1u);
    fake::deliverPosted();
    EXPECT_TRUE(fake::ui().windows.empty());
    fake::reset();
}

} // namespace
