// The broker on the fake platform: charm-bar events, overlay threads and the overlay's window procedure.
#include <gtest/gtest.h>

#include <memory>

#include "capture/charm_bar_broker.h"
#include "common/messages.h"
#include "platform/fake/fake_state.h"

namespace {

namespace fake = platform::fake;
namespace automation = platform::automation;
using sc::OverlayPhase;

constexpr platform::ui::WindowId kCharmBar = 0x77;
constexpr platform::ui::WindowId kCapturer = 0x55;

automation::WindowEvent event(int id, std::u16string automationId, platform::ui::WindowId window = kCharmBar,
                              bool readOk = true) {
    return {id, readOk, std::move(automationId), window};
}

class Broker : public testing::Test {
  protected:
    void SetUp() override {
        fake::reset();
        fake::ui().threadsStart = true;
        fake::ui().windows[kCapturer] = [this](platform::ui::WindowId, unsigned message,
                                               std::uintptr_t wParam, std::intptr_t lParam) {
            if (message == sc::msg::kCapturePoint)
                points.emplace_back(static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam));
            return true;
        };
        testing::internal::CaptureStdout();
        broker = sc::CharmBarBroker::create(0x400000);
        broker->setCapturerWindow(kCapturer);
        broker->setCharmBarCaptureEnable(true);
    }
    void TearDown() override {
        broker->shutDown();
        broker->setCharmBarCaptureEnable(false);
        testing::internal::GetCapturedStdout();
        fake::reset();
    }
    // Runs the started overlay threads up to their message loop; the window they made, if any.
    platform::ui::WindowId runOverlay() {
        const auto before = fake::ui().overlaysShown.size();
        fake::runThreads();
        return fake::ui().overlaysShown.size() > before ? fake::ui().overlaysShown.back().first : 0;
    }
    void touch(platform::ui::WindowId overlay, unsigned message, std::uint32_t pointer) {
        fake::send(overlay, message, pointer, 0);
    }

    std::shared_ptr<sc::CharmBarBroker> broker;
    std::vector<std::pair<std::int32_t, std::int32_t>> points;
};

TEST_F(Broker, CharmBarOpeningShowsAnOverlayThatLeavesTheCharmBarOut) {
    fake::ui().sink(event(automation::kWindowOpenedEvent, u"Windows.Charm Bar"));
    EXPECT_EQ(broker->charmBarWindow(), kCharmBar);
    EXPECT_EQ(broker->overlayPhase(), OverlayPhase::Starting);
    const auto overlay = runOverlay();
    ASSERT_NE(overlay, 0u);
    EXPECT_EQ(fake::ui().overlaysShown.back().second, kCharmBar);
    EXPECT_EQ(broker->overlayPhase(), OverlayPhase::None); // the fake's loop returned; the thread ended
}

TEST_F(Broker, EventsThatAreNotTheCharmBarChangeNothing) {
    const automation::WindowEvent events[] = {
        event(automation::kWindowOpenedEvent, u"Notepad"),
        event(automation::kWindowOpenedEvent, u"Charm Bar", 0),                // no window handle
        event(automation::kWindowOpenedEvent, u"Charm Bar", kCharmBar, false), // failed read
        event(automation::kWindowClosedEvent, u"Charm Bar"),                   // nothing recorded
        event(12345, u"Charm Bar"),
    };
    for (const auto& e : events)
        fake::ui().sink(e);
    EXPECT_EQ(broker->charmBarWindow(), 0u);
    EXPECT_EQ(broker->overlayPhase(), OverlayPhase::None);
    EXPECT_TRUE(fake::ui().threads.empty());
}

TEST_F(Broker, SecondCharmBarWhileOneIsRecordedIsIgnored) {
    fake::ui().sink(event(automation::kWindowOpenedEvent, u"charm bar"));
    fake::ui().sink(event(automation::kWindowOpenedEvent, u"CHARM BAR", kCharmBar + 1));
    EXPECT_EQ(broker->charmBarWindow(), kCharmBar);
    EXPECT_EQ(fake::ui().threads.size(), 1u);
}

TEST_F(Broker, CaptureOffRecordsTheCharmBarButShowsNoOverlay) {
    broker->setCharmBarCaptureEnable(false);
    fake::ui().sink(event(automation::kWindowOpenedEvent, u"Charm Bar"));
    EXPECT_EQ(runOverlay(), 0u);
    EXPECT_EQ(broker->charmBarWindow(), kCharmBar);
    EXPECT_EQ(broker->overlayPhase(), OverlayPhase::None);
    EXPECT_EQ(fake::ui().loopsRun, 0); // the thread did not wait in a loop
}

TEST_F(Broker, CharmBarClosingDismissesTheOverlay) {
    broker->showOrDismissThreadWindow();
    fake::ui().threadsStart = false; // keep the overlay "running": drive its steps by hand below
    fake::ui().sink(event(automation::kWindowOpenedEvent, u"Charm Bar"));
    EXPECT_EQ(broker->charmBarWindow(), kCharmBar); // recorded, no second overlay
    EXPECT_EQ(broker->overlayPhase(), OverlayPhase::Starting);
    fake::ui().sink(event(automation::kWindowClosedEvent, u"Charm Bar"));
    EXPECT_EQ(broker->charmBarWindow(), 0u);
}

// The fake's message loop returns at once, so the overlay's window stays in the fake's table and the
// test sends it pointer messages directly.
TEST_F(Broker, TouchPointsAreForwardedAndPenInputIsNot) {
    fake::ui().touchPointers[7] = {120, -30};
    broker->showOrDismissThreadWindow();
    const auto overlay = runOverlay();
    ASSERT_NE(overlay, 0u);
    touch(overlay, sc::msg::kPointerDown, 7);
    touch(overlay, sc::msg::kPointerUpdate, 0x10000 | 7); // only the low 16 bits are the pointer id
    touch(overlay, sc::msg::kPointerUpdate, 8);           // a pen: not forwarded
    fake::deliverPosted();
    EXPECT_EQ(points, (std::vector<std::pair<std::int32_t, std::int32_t>>{{120, -30}, {120, -30}}));
}

TEST_F(Broker, ShutDownReleasesTheWatchOnceAndStartsNothingAfter) {
    broker->shutDown();
    EXPECT_EQ(fake::ui().watchesStopped, 1);
    EXPECT_FALSE(broker->createThreadWindow(false));
    broker->shutDown();
    EXPECT_EQ(fake::ui().watchesStopped, 1);
}

} // namespace
