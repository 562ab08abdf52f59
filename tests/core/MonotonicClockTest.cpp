#include "engine/core/MonotonicClock.h"

#include <gtest/gtest.h>

#include "engine/core/Timer.h"

namespace {

TEST(MonotonicClockTest, CountsNanosecondsForwardAndFeedsTheTimer) {
    IClockSource& clock = CMonotonicClock::instance();
    uint64_t frequency = 0;
    uint64_t first = 0;
    uint64_t second = 0;
    ASSERT_TRUE(clock.queryFrequency(frequency));
    EXPECT_EQ(frequency, 1000000000u);
    ASSERT_TRUE(clock.queryCounter(first));
    ASSERT_TRUE(clock.queryCounter(second));
    EXPECT_LE(first, second);

    CTimer timer;
    const uint32_t realTime = timer.getRealTime();
    const uint32_t ticks = clock.getTickCount();
    EXPECT_LE(uint32_t(second / 1000000), realTime);
    EXPECT_LT(ticks - realTime, 1000u);
}

} // namespace
