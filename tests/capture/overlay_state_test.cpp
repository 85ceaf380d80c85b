// The touch overlay's states and every way out of each.
#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>

#include "capture/overlay_state.h"

namespace {

using sc::OverlayPhase;
using sc::OverlayState;

constexpr OverlayState::WindowId kWindow = 0x42;

// In the order OverlayPhase declares them.
const char* name(OverlayPhase phase) {
    const char* names[] = {"None", "Starting", "Shown", "Touched", "Pending", "Closing"};
    const auto i = static_cast<std::size_t>(phase);
    return i < std::size(names) ? names[i] : "?";
}

// Drives a fresh state into `phase` the way the threads do; returns the overlay's generation.
std::uint64_t reach(OverlayState& state, OverlayPhase phase) {
    if (phase == OverlayPhase::None)
        return 0;
    const std::uint64_t generation = *state.beginStart();
    if (phase == OverlayPhase::Starting)
        return generation;
    EXPECT_TRUE(state.windowCreated(generation, kWindow));
    if (phase == OverlayPhase::Shown)
        return generation;
    if (phase == OverlayPhase::Closing) {
        EXPECT_EQ(state.strokeEnded(kWindow), kWindow);
        return generation;
    }
    EXPECT_TRUE(state.touched(kWindow));
    if (phase == OverlayPhase::Pending) {
        EXPECT_EQ(state.scheduleDismiss(), 0u);
    }
    return generation;
}

// What happens to an overlay in `generation`, as the thread it comes from calls it; the window it asks
// to close (0: none).
struct Event {
    const char* name;
    OverlayState::WindowId (*apply)(OverlayState& state, std::uint64_t generation);
};
const Event kHotKey{"HotKey", [](OverlayState& s, std::uint64_t) { return s.showOrDismiss().close; }};
const Event kScheduleDismiss{"ScheduleDismiss",
                             [](OverlayState& s, std::uint64_t) { return s.scheduleDismiss(); }};
const Event kStrokeEnded{"StrokeEnded",
                         [](OverlayState& s, std::uint64_t) { return s.strokeEnded(kWindow); }};
const Event kTouch{"Touch", [](OverlayState& s, std::uint64_t) {
                       s.touched(kWindow);
                       return OverlayState::WindowId{0};
                   }};
const Event kTouchTimer{"TouchTimer",
                        [](OverlayState& s, std::uint64_t) { return s.touchTimerFired(kWindow); }};
const Event kThreadEnded{"ThreadEnded", [](OverlayState& s, std::uint64_t generation) {
                             s.threadEnded(generation);
                             return OverlayState::WindowId{0};
                         }};

TEST(OverlayState, FollowsTheStateTable) {
    struct Case {
        OverlayPhase from;
        const Event* event;
        OverlayPhase to;
        bool closesWindow;
    };
    using P = OverlayPhase;
    const Case cases[] = {
        {P::None, &kHotKey, P::Starting, false},
        {P::None, &kScheduleDismiss, P::None, false},
        {P::None, &kStrokeEnded, P::None, false},
        {P::Starting, &kThreadEnded, P::None, false},     // no window was made
        {P::Starting, &kHotKey, P::Starting, false},      // one overlay at a time
        {P::Starting, &kStrokeEnded, P::Starting, false}, // no window yet to end a stroke on
        {P::Shown, &kTouch, P::Touched, false},
        {P::Shown, &kHotKey, P::Closing, true}, // second press before any touch: goes at once
        {P::Shown, &kScheduleDismiss, P::Closing, true},
        {P::Shown, &kStrokeEnded, P::Closing, true}, // pointer up or mouse button up
        {P::Shown, &kTouchTimer, P::Shown, false},
        {P::Touched, &kTouch, P::Touched, false},
        {P::Touched, &kHotKey, P::Pending, false}, // waits for touch input to pause
        {P::Touched, &kScheduleDismiss, P::Pending, false},
        {P::Touched, &kTouchTimer, P::Touched, false}, // a pause alone dismisses nothing
        {P::Touched, &kStrokeEnded, P::Closing, true},
        {P::Pending, &kTouchTimer, P::Closing, true}, // 100 ms without touch
        {P::Pending, &kTouch, P::Pending, false},
        {P::Pending, &kHotKey, P::Pending, false},
        {P::Pending, &kStrokeEnded, P::Closing, true},
        {P::Closing, &kThreadEnded, P::None, false},
        {P::Closing, &kHotKey, P::Starting, false}, // a new overlay may start while the old one goes
        {P::Closing, &kTouch, P::Closing, false},
        {P::Closing, &kStrokeEnded, P::Closing, false},
        {P::Closing, &kTouchTimer, P::Closing, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << name(c.from) << " + " << c.event->name);
        OverlayState state;
        const std::uint64_t generation = reach(state, c.from);
        ASSERT_EQ(state.phase(), c.from);
        const OverlayState::WindowId closed = c.event->apply(state, generation);
        EXPECT_STREQ(name(state.phase()), name(c.to));
        EXPECT_EQ(closed, c.closesWindow ? kWindow : 0u);
        if (c.to == OverlayPhase::Closing || c.to == OverlayPhase::None) {
            EXPECT_EQ(state.window(), 0u);
        }
    }
}

TEST(OverlayState, OnlyTheCurrentOverlaysTouchesRestartItsTimer) {
    OverlayState state;
    reach(state, OverlayPhase::Shown);
    EXPECT_TRUE(state.touched(kWindow));
    EXPECT_FALSE(state.touched(kWindow + 1));
    EXPECT_EQ(state.strokeEnded(kWindow + 1), 0u); // another overlay's pointer up leaves this one alone
    EXPECT_EQ(state.strokeEnded(kWindow), kWindow);
    EXPECT_FALSE(state.touched(kWindow)); // a closing overlay's touches no longer count
}

TEST(OverlayState, DismissalWhileStartingClosesTheOverlayAsSoonAsItHasAWindow) {
    OverlayState state;
    const std::uint64_t generation = *state.showOrDismiss().generation;
    EXPECT_EQ(state.showOrDismiss().close, 0u); // second press before the window exists
    EXPECT_FALSE(state.windowCreated(generation, kWindow));
    EXPECT_EQ(state.phase(), OverlayPhase::Closing);
    state.threadEnded(generation);
    EXPECT_EQ(state.phase(), OverlayPhase::None);
}

TEST(OverlayState, DismissalWithoutAnOverlayDoesNotCarryOverToTheNextOne) {
    OverlayState state;
    EXPECT_EQ(state.scheduleDismiss(), 0u); // e.g. the charm bar closed while capture was off
    const std::uint64_t generation = *state.beginStart();
    EXPECT_TRUE(state.windowCreated(generation, kWindow));
    EXPECT_TRUE(state.touched(kWindow));
    EXPECT_EQ(state.touchTimerFired(kWindow), 0u);
    EXPECT_EQ(state.phase(), OverlayPhase::Touched);
}

TEST(OverlayState, AnOldOverlayEndingLeavesTheNewOneAlone) {
    OverlayState state;
    const std::uint64_t old = reach(state, OverlayPhase::Closing);
    const std::uint64_t current = *state.beginStart();
    ASSERT_NE(old, current);
    state.threadEnded(old);
    EXPECT_EQ(state.phase(), OverlayPhase::Starting);
    EXPECT_TRUE(state.windowCreated(current, kWindow + 1));
    EXPECT_EQ(state.window(), kWindow + 1);
}

TEST(OverlayState, NothingStartsAfterShutDown) {
    OverlayState state;
    const std::uint64_t generation = reach(state, OverlayPhase::Touched);
    EXPECT_EQ(state.shutDown(), kWindow);
    EXPECT_FALSE(state.beginStart());
    EXPECT_FALSE(state.showOrDismiss().generation);
    state.threadEnded(generation);
    EXPECT_EQ(state.phase(), OverlayPhase::None);

    OverlayState starting;
    const std::uint64_t g = *starting.beginStart();
    starting.shutDown();
    EXPECT_FALSE(starting.windowCreated(g, kWindow)); // the window made during shutdown never shows
}

} // namespace
