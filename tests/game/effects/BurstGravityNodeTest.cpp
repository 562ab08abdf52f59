#include "game/effects/BurstGravityNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/core/PropertyDataScalars.h"
#include "tests/game/effects/EffectFixture.h"

namespace {

class BurstGravityNodeTest : public EffectTest {
protected:
    // A burst in the scene with that life, started by a drawing pass after `configure`.
    template <typename Configure>
    CRefPointer<GBurstGravityNode> start(int32_t lifeTime, Configure configure,
                                         const std::u16string& xml = kPlainBurst) {
        const CRefPointer<BaseNode> loaded = load(xml);
        EXPECT_TRUE(loaded && loaded->isKindOf(GBurstGravityNode::kTypeId));
        auto* burst = static_cast<GBurstGravityNode*>(loaded.get());
        scene->appendChild(burst);
        set(*burst, "LifeTime", makeIntProperty(lifeTime));
        configure(*burst);
        draw();
        return CRefPointer<GBurstGravityNode>::share(burst);
    }

    static constexpr const char16_t* kPlainBurst =
        u"<SceneNode Type=\"BaseNode\" ClassOverride=\"GBurstGravityNode\"/>";
};

TEST_F(BurstGravityNodeTest, ItFliesFromItsRadiusAlongItsAngleDampedInItsWindow) {
    struct Case {
        CVector2d angle;
        CVector2d damping;
        CVector3d startsAt;
        float speedAfter;
    };
    // 100 units a second; damping by 0.9 on the ticks within the first 300 ms: nine of them.
    const Case cases[] = {
        {{90, 90}, {1, 1}, {0, 10, 0}, 100},
        {{0, 0}, {0.9f, 0.9f}, {10, 0, 0}, 100 * std::pow(0.9f, 9)},
    };
    for (const Case& c : cases) {
        const CRefPointer<GBurstGravityNode> burst = start(2000, [&](GBurstGravityNode& node) {
            set(node, "VelocityAngleRange", makeVector2dProperty(c.angle));
            set(node, "RadiusRange", makeVector2dProperty({10, 10}));
            set(node, "VelocityRange", makeVector2dProperty({100, 100}));
            set(node, "Accel1Range", makeVector2dProperty(c.damping));
            set(node, "Accel1EndTimeRange", makeVector2dProperty({300, 300}));
        });
        EXPECT_NEAR(burst->getPosition().x, c.startsAt.x, 1e-4) << c.angle.x;
        EXPECT_NEAR(burst->getPosition().y, c.startsAt.y, 1e-4) << c.angle.x;
        tick(30, 20);
        const CVector2d v = burst->getVelocity();
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y), c.speedAfter, 0.01f) << c.angle.x;
        const CVector3d at = burst->getPosition();
        EXPECT_GT(c.angle.x == 90 ? at.y : at.x, 10) << "it moves along its angle";
        scene->removeChild(burst.get());
    }
}

TEST_F(BurstGravityNodeTest, ItsAccelerationActsOnlyInsideItsWindow) {
    struct Case {
        CVector2d start;
        CVector2d end;
        float velocityY;
    };
    // 1000 units a second per second, 30 more on each tick strictly inside the window.
    const Case cases[] = {
        {{0, 0}, {300, 300}, 270},
        {{600, 600}, {300, 300}, 0},
        {{100, 100}, {100, 100}, 0},
    };
    for (const Case& c : cases) {
        const CRefPointer<GBurstGravityNode> burst = start(2000, [&](GBurstGravityNode& node) {
            set(node, "Accel2YRange", makeVector2dProperty({1000, 1000}));
            set(node, "Accel2StartTimeRange", makeVector2dProperty(c.start));
            set(node, "Accel2EndTimeRange", makeVector2dProperty(c.end));
        });
        tick(30, 30);
        EXPECT_NEAR(burst->getVelocity().y, c.velocityY, 0.01f) << c.start.x << "-" << c.end.x;
        scene->removeChild(burst.get());
    }
}

// The first child's key frames: one that loops (100, 100 and 100 ms, back to the start) and
// one that does not.
const char16_t kAnimatedBurst[] =
    u"<SceneNode Type=\"BaseNode\" ClassOverride=\"GBurstGravityNode\">"
    u"<SceneNode Type=\"BaseNode\"><Properties><string Name=\"DefaultState\" Value=\"Glow\"/>"
    u"</Properties><States><State Name=\"Glow\">"
    u"<Animator Type=\"KeyFrame\"><Properties><vector3d Name=\"Rotation\" "
    u"Value=\"0;0;0\"/></Properties>"
    u"<KeyFrame t=\"0\" Value0=\"0;0;0\"/><KeyFrame t=\"100\" Value0=\"0;0;90\"/>"
    u"<KeyFrame t=\"100\" Value0=\"0;0;180\"/><KeyFrame t=\"100\" g=\"0\" Value0=\"0;0;0\"/>"
    u"</Animator>"
    u"<Animator Type=\"KeyFrame\"><Properties><vector3d Name=\"Rotation\" "
    u"Value=\"0;0;0\"/></Properties>"
    u"<KeyFrame t=\"0\" Value0=\"0;0;0\"/><KeyFrame t=\"5000\" Value0=\"0;0;90\"/>"
    u"</Animator></State></States></SceneNode></SceneNode>";

TEST_F(BurstGravityNodeTest, ItsChildsAnimationsStartAtDrawnTimesAndSlowWithAge) {
    for (int run = 0; run < 20; ++run) {
        const CRefPointer<GBurstGravityNode> burst = start(
            1000, [](GBurstGravityNode&) {}, kAnimatedBurst);
        const CArray<CRefPointer<KeyFrame>>& actions = burst->getActions();
        ASSERT_EQ(actions.size(), 2u);
        EXPECT_LT(actions[0]->getElapsedTime(), 270) << "within nine tenths of its loop";
        EXPECT_LT(actions[1]->getElapsedTime(), 700);
        struct Case {
            int ticks;
            float speed;
        };
        // 5 at its birth, down to a tenth.
        const Case cases[] = {{1, 4.85f}, {16, 2.45f}, {16, 0.1f}};
        for (const Case& c : cases) {
            tick(30, c.ticks);
            EXPECT_FLOAT_EQ(actions[0]->getSpeed(), c.speed) << c.ticks;
            EXPECT_FLOAT_EQ(actions[1]->getSpeed(), c.speed) << c.ticks;
        }
        scene->removeChild(burst.get());
    }
}

TEST_F(BurstGravityNodeTest, AtItsEndASpawnedBurstGoesAndAPlacedOneHidesAndStartsAgain) {
    const CRefPointer<GBurstGravityNode> placed = start(500, [](GBurstGravityNode& node) {
        node.setTintColor(CColor(0x10FFFFFFu));
        set(node, "RadiusRange", makeVector2dProperty({10, 10}));
        set(node, "DisappearTime", makeIntProperty(0));
    });
    const CRefPointer<GBurstGravityNode> spawned =
        start(500, [](GBurstGravityNode& node) { node.setInternal(true); });
    tick(30, 16);
    EXPECT_EQ(placed->getTintColor().value, 0x10FFFFFFu) << "no fade with a DisappearTime of 0";
    tick(30);
    EXPECT_EQ(spawned->getParent(), nullptr);
    EXPECT_EQ(placed->getParent(), scene.get());
    EXPECT_FALSE(placed->isVisible());
    EXPECT_EQ(placed->getTintColor().value, 0xFFFFFFFFu);
    EXPECT_EQ(placed->getPosition().x, 0);
    EXPECT_EQ(placed->getScheduler(), nullptr);

    draw();
    EXPECT_NE(placed->getScheduler(), nullptr) << "hidden, it runs again";
    EXPECT_EQ(placed->getPosition().x, 10);
    placed->setVisible(true);
    tick(30, 17);
    EXPECT_FALSE(placed->isVisible());
}

} // namespace
