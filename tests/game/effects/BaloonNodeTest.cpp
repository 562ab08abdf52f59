#include "game/effects/BaloonNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/core/PropertyDataScalars.h"
#include "tests/game/effects/EffectFixture.h"

namespace {

class BaloonNodeTest : public EffectTest {
protected:
    // A balloon in the scene with that life, started by a drawing pass after `configure`.
    template <typename Configure>
    CRefPointer<GBaloonNode> start(int32_t lifeTime, Configure configure) {
        CRefPointer<GBaloonNode> balloon = make<GBaloonNode>();
        set(*balloon, "LifeTime", makeIntProperty(lifeTime));
        configure(*balloon);
        draw();
        return balloon;
    }
};

TEST_F(BaloonNodeTest, ItSwingsInsideItsBandOrDriftsWithout) {
    struct Case {
        CVector2d widthRange;
        float lowest;
        float highest;
    };
    // 100 units a second, 3 units a tick, for 3 s: at most a tick beyond its band.
    const Case cases[] = {{{0, 0}, -300, 300}, {{20, 20}, -23, 23}};
    for (const Case& c : cases) {
        const CRefPointer<GBaloonNode> balloon = start(5000, [&](GBaloonNode& node) {
            set(node, "WidthRange", makeVector2dProperty(c.widthRange));
            set(node, "XVelocityRange", makeVector2dProperty({100, 100}));
        });
        float low = 0;
        float high = 0;
        int turns = 0;
        for (int i = 0; i < 100; ++i) {
            const float before = balloon->getVelocity().x;
            tick(30);
            turns += balloon->getVelocity().x != before;
            low = std::min(low, balloon->getPosition().x);
            high = std::max(high, balloon->getPosition().x);
        }
        EXPECT_GE(low, c.lowest) << c.widthRange.x;
        EXPECT_LE(high, c.highest) << c.widthRange.x;
        EXPECT_NEAR(high - low, c.widthRange.x == 0 ? 300 : 43, 3) << c.widthRange.x;
        EXPECT_EQ(turns > 0, c.widthRange.x > 0) << c.widthRange.x;
        scene->removeChild(balloon.get());
    }
}

TEST_F(BaloonNodeTest, TheAccelerationActsDuringItsDrawnWindowFromTheStart) {
    struct Case {
        CVector2d timeRange;
        float lowest;
        float highest;
    };
    // 100 units a second per second: 3 more each tick of the window.
    const Case cases[] = {
        {{500, 500}, 47.9f, 48.1f},
        {{200, 800}, 17.9f, 78.1f},
        {{800, 200}, 17.9f, 78.1f},
        {{0, 0}, 0, 0},
    };
    for (const Case& c : cases) {
        const CRefPointer<GBaloonNode> balloon = start(3000, [&](GBaloonNode& node) {
            set(node, "YAccelRange", makeVector2dProperty({100, 100}));
            set(node, "YAccelTimeRange", makeVector2dProperty(c.timeRange));
        });
        tick(30, 40);
        EXPECT_GE(balloon->getVelocity().y, c.lowest) << c.timeRange.x << ";" << c.timeRange.y;
        EXPECT_LE(balloon->getVelocity().y, c.highest) << c.timeRange.x << ";" << c.timeRange.y;
        scene->removeChild(balloon.get());
    }
}

TEST_F(BaloonNodeTest, ItFadesOverItsLastMillisecondsAndRemovesItself) {
    const CRefPointer<GBaloonNode> balloon = start(3020, [](GBaloonNode& node) {
        node.setTintColor(CColor(0xFF336699u));
        set(node, "ScaleRange", makeVector2dProperty({2, 2}));
    });
    EXPECT_FLOAT_EQ(balloon->getScale().x, 2);
    struct Case {
        int ticks;
        uint32_t tint;
    };
    // Left after each tick: 3020 - 30 x ticks.
    const Case cases[] = {
        {67, 0xFF336699u}, {1, 0xFA336699u}, {16, 0x80336699u}, {16, 0x05336699u}};
    for (const Case& c : cases) {
        tick(30, c.ticks);
        EXPECT_EQ(balloon->getTintColor().value, c.tint) << c.ticks;
    }
    EXPECT_EQ(balloon->getParent(), scene.get());
    tick(30);
    EXPECT_EQ(balloon->getParent(), nullptr) << "less than 1 ms left";

    const CRefPointer<GBaloonNode> lifeless = start(0, [](GBaloonNode&) {});
    tick(30);
    EXPECT_EQ(lifeless->getParent(), nullptr) << "without a LifeTime at its first tick";
}

} // namespace
