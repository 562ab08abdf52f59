#include "engine/core/Timer.h"

#include <gtest/gtest.h>

#include "engine/core/MonotonicClock.h"
#include "engine/core/RefPointer.h"

namespace {

// A clock that moves only when told. Counter in microseconds; the tick count runs apart, so a
// test sees which of the two the timer read.
class FakeClock : public IClockSource {
public:
    bool hasCounter = true;
    bool counterFails = false;
    uint64_t frequency = 1000000;
    uint64_t counter = 0;
    uint32_t ticks = 777;

    void advanceMs(uint32_t ms) {
        counter += uint64_t(ms) * frequency / 1000;
        ticks += ms;
    }

    bool queryFrequency(uint64_t& countsPerSecond) override {
        countsPerSecond = frequency;
        return hasCounter;
    }
    bool queryCounter(uint64_t& counts) override {
        counts = counter;
        return !counterFails;
    }
    uint32_t getTickCount() override { return ticks; }
};

class TimerTest : public testing::Test {
protected:
    CRefPointer<CTimer> makeTimer() { return CRefPointer<CTimer>(new CTimer(clock)); }

    // As the main loop does: the clock moves, then the timer takes the time.
    void pass(CTimer& timer, uint32_t ms) {
        clock.advanceMs(ms);
        timer.tick();
    }

    FakeClock clock;
};

TEST_F(TimerTest, StopKeepsTheVirtualTimeUntilStart) {
    auto timer = makeTimer();
    pass(*timer, 100);
    timer->stop();
    pass(*timer, 5000);
    EXPECT_EQ(timer->getTime(), 100u);
    timer->start();
    EXPECT_EQ(timer->getTime(), 100u);
    pass(*timer, 20);
    EXPECT_EQ(timer->getTime(), 120u);
}

TEST_F(TimerTest, StopsNest) {
    auto timer = makeTimer();
    pass(*timer, 10);
    timer->stop();
    timer->stop();
    pass(*timer, 50);
    timer->start();
    EXPECT_TRUE(timer->isStopped());
    pass(*timer, 50);
    EXPECT_EQ(timer->getTime(), 10u);
    timer->start();
    EXPECT_FALSE(timer->isStopped());
    pass(*timer, 5);
    EXPECT_EQ(timer->getTime(), 15u);
}

TEST_F(TimerTest, StartingARunningClockChangesNothing) {
    auto timer = makeTimer();
    pass(*timer, 30);
    timer->start();
    EXPECT_EQ(timer->getTime(), 30u);
    // Without the guard the start would have left a count below 0 and this stop would not stop.
    timer->stop();
    EXPECT_TRUE(timer->isStopped());
    pass(*timer, 40);
    EXPECT_EQ(timer->getTime(), 30u);
}

TEST_F(TimerTest, RealTimeComesFromTheCounterOrTheTickCount) {
    auto withCounter = makeTimer();
    clock.advanceMs(250);
    EXPECT_EQ(withCounter->getRealTime(), 250u);

    clock.counterFails = true;
    EXPECT_EQ(withCounter->getRealTime(), clock.ticks);

    clock.counterFails = false;
    clock.hasCounter = false;
    auto withoutCounter = makeTimer();
    EXPECT_EQ(withoutCounter->getRealTime(), clock.ticks);
    pass(*withoutCounter, 70);
    EXPECT_EQ(withoutCounter->getTime(), 70u);
}

TEST_F(TimerTest, NanosecondCounterDoesNotOverflowAfterMonthsOfUptime) {
    clock.frequency = 1000000000;
    // 300 days: counts × 1000 would not fit in 64 bits.
    const uint64_t ms = 300ull * 24 * 3600 * 1000;
    clock.counter = ms * 1000000 + 999999;
    auto timer = makeTimer();
    EXPECT_EQ(timer->getRealTime(), uint32_t(ms));
}

} // namespace
