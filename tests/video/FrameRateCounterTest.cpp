#include "engine/video/FrameRateCounter.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kStart = 100000;

TEST(FrameRateCounterTest, FirstFrameClosesTheFirstWindow) {
    CFrameRateCounter counter;
    EXPECT_EQ(counter.getFramesPerSecond(), 60u);
    counter.registerFrame(kStart, 5);
    EXPECT_EQ(counter.getFramesPerSecond(), 1u);
    EXPECT_EQ(counter.getLastFramePrimitives(), 5u);
    EXPECT_EQ(counter.getTotalPrimitives(), 5u);

    // Nothing changes until 1500 ms have passed since the window started.
    for (uint32_t t = 1; t < 1500; ++t)
        counter.registerFrame(kStart + t, 2);
    EXPECT_EQ(counter.getFramesPerSecond(), 1u);
    EXPECT_EQ(counter.getLastFramePrimitives(), 2u);
    counter.registerFrame(kStart + 1500, 2);
    EXPECT_EQ(counter.getFramesPerSecond(), 1000u);
    EXPECT_EQ(counter.getPrimitivesPerSecond(), 2000u);
    EXPECT_EQ(counter.getTotalPrimitives(), 5u + 1500 * 2);

    counter.reset();
    EXPECT_EQ(counter.getFramesPerSecond(), 60u);
    EXPECT_EQ(counter.getTotalPrimitives(), 0u);
}

TEST(FrameRateCounterTest, RatesRoundUpInSinglePrecision) {
    struct Case {
        uint32_t frames;
        uint32_t elapsedMs;
        uint32_t primitivesPerFrame;
        uint32_t framesPerSecond;
        uint32_t primitivesPerSecond;
    };
    const Case cases[] = {
        {90, 1500, 10, 60, 600},
        {120, 2000, 1, 61, 61},
        {100, 3000, 3, 34, 100},
        {1, 1500, 0, 1, 0},
    };
    for (const Case& c : cases) {
        CFrameRateCounter counter;
        counter.registerFrame(kStart, 0);
        // All but the last frame fall inside the window; the last closes it at the elapsed time.
        for (uint32_t i = 1; i < c.frames; ++i)
            counter.registerFrame(kStart + 1, c.primitivesPerFrame);
        counter.registerFrame(kStart + c.elapsedMs, c.primitivesPerFrame);
        EXPECT_EQ(counter.getFramesPerSecond(), c.framesPerSecond) << c.frames;
        EXPECT_EQ(counter.getPrimitivesPerSecond(), c.primitivesPerSecond) << c.frames;
    }
}

} // namespace
