#include <chrono>
#include <vector>

#include <gtest/gtest.h>

#include "platform/pump_pacer.h"

namespace {

using Clock = platform::PumpPacer::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// The pacer's clock: the pumps below move it on by hand, and count how often it is read.
Clock::time_point g_now{};
int g_reads = 0;

Clock::time_point FakeNow() {
    ++g_reads;
    return g_now;
}

// Runs `pumps` pumps `step` apart and returns the times of those that were due.
std::vector<Clock::time_point> DueTimes(platform::PumpPacer& pacer, int pumps,
                                        Clock::duration step) {
    std::vector<Clock::time_point> due;
    for (int n = 0; n < pumps; ++n) {
        g_now += step;
        if (pacer.Due()) {
            EXPECT_EQ(pacer.LastRead(), g_now);
            due.push_back(g_now);
        }
    }
    return due;
}

// The gaps between due pumps, leaving out the first `skipped`.
std::vector<Clock::duration> Gaps(const std::vector<Clock::time_point>& times,
                                  std::size_t skipped = 0) {
    std::vector<Clock::duration> gaps;
    for (std::size_t k = skipped + 1; k < times.size(); ++k) {
        gaps.push_back(times[k] - times[k - 1]);
    }
    return gaps;
}

// Quick pumps read the clock seldom and come due an interval apart, no less and hardly more;
// slow ones are each due. When quick pumps turn slow, the first due pump may come late, the ones
// after it are on time again.
TEST(PumpPacer, ReadsTheClockSeldomYetStaysOnTime) {
    const Clock::duration interval = milliseconds(10);
    g_now = Clock::time_point{} + std::chrono::hours(1);
    platform::PumpPacer pacer(interval, &FakeNow);
    g_reads = 0;

    const std::vector<Clock::time_point> quick = DueTimes(pacer, 100000, microseconds(1));
    EXPECT_LT(g_reads, 100000 / 16);
    ASSERT_GE(quick.size(), 9u);
    EXPECT_EQ(quick.front(), Clock::time_point{} + std::chrono::hours(1) + microseconds(1));
    for (const Clock::duration gap : Gaps(quick)) {
        EXPECT_GE(gap, interval);
        EXPECT_LE(gap, interval + microseconds(100));
    }

    const std::vector<Clock::time_point> slowing = DueTimes(pacer, 2000, microseconds(500));
    ASSERT_GE(slowing.size(), 50u);
    for (const Clock::duration gap : Gaps(slowing, 1)) {
        EXPECT_LE(gap, interval + milliseconds(3));
    }

    const std::vector<Clock::time_point> slow = DueTimes(pacer, 50, milliseconds(20));
    ASSERT_GE(slow.size(), 40u);
    for (const Clock::duration gap : Gaps(slow, 1)) {
        EXPECT_EQ(gap, milliseconds(20));
    }
}

} // namespace
