// The touch overlay's states and every way out of each.
#include <gtest/gtest.h>

#include "capture/overlay_state.h"

namespace {

using sc::OverlayPhase;
using sc::OverlayState;

constexpr OverlayState::WindowId kWindow = 0x42;

const char* name(OverlayPhase phase) {
    switch (phase) {
    case OverlayPhase::None:
        return "None";
    case OverlayPhase::Starting:
        return "Starting";
    case OverlayPhase::Shown:
        return "Shown";
    case OverlayPhase::Touched:
        return "Touched";
    case OverlayPhase::Pending:
        return "Pending";
    case OverlayPhase::Closing:
        return "Closing";
    }
    return "?";
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
        EXPECT_EQ(state.dismissNow(), kWindow);
        return generation;
    }
    EXPECT_TRUE(state.touched(kWindow));
    if (phase == OverlayPhase::Pending) {
        EXPECT_EQ(state.scheduleDismiss(), 0u);
    }
    return generation;
}

enum class Event { HotKey, ScheduleDismiss, DismissNow, StrokeEnded, Touch, TouchTimer, ThreadEnded };

const char* name(Event event) {
    const char* names[] = {"HotKey", "ScheduleDismiss", "DismissNow", "StrokeEnded",
                           "Touch",  "TouchTimer",      "ThreadEnded"};
    return names[static_cast<int>(event)];
}

TEST(OverlayState, FollowsTheStateTable) {
    struct Case {
        OverlayPhase from;
        Event event;
        OverlayPhase to;
        bool closesWindow;
    };
    using P = OverlayPhase;
    using E = Event;
    const Case cases[] = {
        {P::None, E::HotKey, P::Starting, false},
        {P::None, E::ScheduleDismiss, P::None, false},
        {P::None, E::DismissNow, P::None, false},
        {P::Starting, E::ThreadEnded, P::None, false}, // no window was made
        {P::Starting, E::HotKey, P::Starting, false},  // one overlay at a time
        {P::Shown, E::Touch, P::Touched, false},
        {P::Shown, E::HotKey, P::Closing, true}, // second press before any touch: goes at once
        {P::Shown, E::ScheduleDismiss, P::Closing, true},
        {P::Shown, E::DismissNow, P::Closing, true},
        {P::Shown, E::StrokeEnded, P::Closing, true}, // pointer up or mouse button up
        {P::Shown, E::TouchTimer, P::Shown, false},
        {P::Touched, E::Touch, P::Touched, false},
        {P::Touched, E::HotKey, P::Pending, false}, // waits for touch input to pause
        {P::Touched, E::ScheduleDismiss, P::Pending, false},
        {P::Touched, E::TouchTimer, P::Touched, false}, // a pause alone dismisses nothing
        {P::Touched, E::StrokeEnded, P::Closing, true},
        {P::Touched, E::DismissNow, P::Closing, true},
        {P::Pending, E::TouchTimer, P::Closing, true}, // 100 ms without touch
        {P::Pending, E::Touch, P::Pending, false},
        {P::Pending, E::HotKey, P::Pending, false},
        {P::Pending, E::StrokeEnded, P::Closing, true},
        {P::Pending, E::DismissNow, P::Closing, true},
        {P::Closing, E::ThreadEnded, P::None, false},
        {P::Closing, E::HotKey, P::Starting, false}, // a new overlay may start while the old one goes
        {P::Closing, E::Touch, P::Closing, false},
        {P::Closing, E::StrokeEnded, P::Closing, false},
        {P::Closing, E::TouchTimer, P::Closing, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << name(c.from) << " + " << name(c.event));
        OverlayState state;
        const std::uint64_t generation = reach(state, c.from);
        ASSERT_EQ(state.phase(), c.from);
        OverlayState::WindowId closed = 0;
        switch (c.event) {
        case Event::HotKey:
            closed = state.showOrDismiss().close;
            break;
        case Event::ScheduleDismiss:
            closed = state.scheduleDismiss();
            break;
        case Event::DismissNow:
            closed = state.dismissNow();
            break;
        case Event::StrokeEnded:
            closed = state.strokeEnded(kWindow);
            break;
        case Event::Touch:
            state.touched(kWindow);
            break;
        case Event::TouchTimer:
            closed = state.touchTimerFired(kWindow);
            break;
        case Event::ThreadEnded:
            state.threadEnded(generation);
            break;
        }
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
    EXPECT_EQ(state.dismissNow(), kWindow);
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
