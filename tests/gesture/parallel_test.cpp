// Splitting a job between two threads: both halves run, failures come back, and the second thread rounds
// as the first.
#include <gtest/gtest.h>

#include <atomic>
#include <cfenv>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "gesture/parallel.h"

namespace {

using sc::runBoth;

TEST(Parallel, BothHalvesRunAndFailuresComeBack) {
    std::thread::id hereId, besidesId;
    runBoth([&] { hereId = std::this_thread::get_id(); }, [&] { besidesId = std::this_thread::get_id(); });
    EXPECT_EQ(hereId, std::this_thread::get_id());
    EXPECT_NE(besidesId, std::thread::id());
    EXPECT_NE(besidesId, hereId);

    EXPECT_THROW(runBoth([] {}, [] { throw std::runtime_error("besides"); }), std::runtime_error);
    // When `here` fails, `besides` has ended before the failure leaves runBoth.
    std::atomic<bool> besidesEnded{false};
    EXPECT_THROW(runBoth([] { throw std::logic_error("here"); },
                         [&] {
                             std::this_thread::sleep_for(std::chrono::milliseconds(20));
                             besidesEnded = true;
                         }),
                 std::logic_error);
    EXPECT_TRUE(besidesEnded);
}

TEST(Parallel, TheSecondThreadRoundsAsTheFirst) {
    const int before = std::fegetround();
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    int rounding = -1;
    runBoth([] {}, [&] { rounding = std::fegetround(); });
    std::fesetround(before);
    EXPECT_EQ(rounding, FE_UPWARD);
}

} // namespace
