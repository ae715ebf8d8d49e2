#include <chrono>
#include <vector>

#include <gtest/gtest.h>

#include "platform/pump_pacer.h"

namespace {

using Clock = platform::PumpPacer::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// The pacer's clock: the pumps below move it on by hand.
Clock::time_point g_now{};

Clock::time_point FakeNow() {
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

Clock::duration LongestGap(const std::vector<Clock::time_point>& times) {
    Clock::duration longest{};
    for (std::size_t k = 1; k < times.size(); ++k) {
        longest = std::max(longest, times[k] - times[k - 1]);
    }
    return longest;
}

// Quick pumps come due far less often than they come, but never so seldom that the host would
// look stuck; slow ones are each due. When quick pumps turn slow, the first due pump may come
// late, the ones after it are on time again.
TEST(PumpPacer, ReadsTheClockSeldomYetStaysOnTime) {
    g_now = Clock::time_point{} + std::chrono::hours(1);
    platform::PumpPacer pacer(milliseconds(10), &FakeNow);

    const std::vector<Clock::time_point> quick = DueTimes(pacer, 100000, microseconds(1));
    ASSERT_FALSE(quick.empty());
    EXPECT_EQ(quick.front(), Clock::time_point{} + std::chrono::hours(1) + microseconds(1));
    EXPECT_LT(quick.size(), 1000u);
    EXPECT_LE(LongestGap(quick), milliseconds(10));

    const std::vector<Clock::time_point> slowing = DueTimes(pacer, 2000, microseconds(500));
    ASSERT_GE(slowing.size(), 3u);
    EXPECT_LE(LongestGap({slowing.begin() + 1, slowing.end()}), milliseconds(10));

    const std::vector<Clock::time_point> slow = DueTimes(pacer, 50, milliseconds(20));
    ASSERT_GE(slow.size(), 3u);
    EXPECT_EQ(LongestGap({slow.begin() + 1, slow.end()}), milliseconds(20));
}

} // namespace
