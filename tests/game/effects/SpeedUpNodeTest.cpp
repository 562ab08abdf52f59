#include <gtest/gtest.h>

#include "engine/core/PropertyDataScalars.h"
#include "game/effects/SpeedUpNode.h"
#include "tests/game/effects/EffectFixture.h"

// Speed-up icons: in, off and out.
namespace {

class SpeedUpNodeTest : public EffectTest {
protected:
    // An icon with no range to draw from but its mirror and its turn's sign.
    CRefPointer<GSpeedUpNode> icon(float direction, float turn, int32_t appear, int32_t moving,
                                   int32_t disappear) {
        CRefPointer<GSpeedUpNode> node = make<GSpeedUpNode>();
        set(*node, "TargetAngleRange", makeVector2dProperty({direction, direction}));
        set(*node, "StartAngleRange", makeVector2dProperty({turn, turn}));
        set(*node, "VelocityRange", makeVector2dProperty({100, 100}));
        set(*node, "AppearTime", makeIntProperty(appear));
        set(*node, "MovingTime", makeIntProperty(moving));
        set(*node, "DisappearTime", makeIntProperty(disappear));
        return node;
    }
};

TEST_F(SpeedUpNodeTest, ItAppearsTurningThenFliesAndFadesAndGoes) {
    CRandom reference;
    reference.seed(11);
    random().seed(11);
    const CRefPointer<GSpeedUpNode> node = icon(30, 20, 300, 300, 300);
    node->setPosition({100, 100, 0});
    draw();
    const float direction = (reference.next() & 1u) != 0 ? 30.0f : 150.0f;
    const float start = direction + ((reference.next() & 1u) != 0 ? 20.0f : -20.0f);
    EXPECT_EQ(node->getDirection(), direction);
    EXPECT_EQ(node->getStartRotation(), start);
    EXPECT_EQ(node->getPhase(), GSpeedUpNode::kAppearing);
    EXPECT_EQ(node->getTintColor().getAlpha(), 0u);
    EXPECT_EQ(node->getRotation().z, start);

    struct Step {
        int ticks;
        GSpeedUpNode::Phase phase;
        uint32_t alpha;
        float travelled; // along the direction, from (100, 100)
    };
    const Step steps[] = {
        {5, GSpeedUpNode::kAppearing, 127, 0}, // half way in, 150 * 255 / 300
        {5, GSpeedUpNode::kMoving, 255, 0},    // in at 300 ms, without moving
        {10, GSpeedUpNode::kDisappearing, 255, 30},
        {5, GSpeedUpNode::kDisappearing, 128, 45}, // 255 - 150 * 255 / 300
        {4, GSpeedUpNode::kDisappearing, 26, 57},
    };
    for (const Step& step : steps) {
        tick(30, step.ticks);
        EXPECT_EQ(node->getPhase(), step.phase);
        EXPECT_EQ(node->getTintColor().getAlpha(), step.alpha);
        const CVector3d at = node->getPosition();
        EXPECT_NEAR(at.x - 100, node->getVelocity().x * step.travelled / 100, 1e-3);
        EXPECT_NEAR(at.y - 100, node->getVelocity().y * step.travelled / 100, 1e-3);
        if (step.travelled > 0) {
            EXPECT_FLOAT_EQ(at.z, (at.x + at.y) * 0.0001f);
        }
    }
    EXPECT_NEAR(node->getRotation().z, direction, 1e-4);
    tick(30);
    EXPECT_EQ(node->getParent(), nullptr) << "gone after moving 600 ms in all";
    EXPECT_NEAR(node->getPosition().x - 100, node->getVelocity().x * 0.6f, 1e-3);
}

TEST_F(SpeedUpNodeTest, HalfWayInTheRotationIsHalfWayTurned) {
    const CRefPointer<GSpeedUpNode> node = icon(30, 40, 300, 300, 300);
    draw();
    tick(30, 5);
    EXPECT_NEAR(node->getRotation().z, (node->getStartRotation() + node->getDirection()) / 2, 1e-4);
}

TEST_F(SpeedUpNodeTest, AnAppearTimeOfZeroShowsItTurnedAtTheFirstTick) {
    const CRefPointer<GSpeedUpNode> node = icon(60, 45, 0, 300, 300);
    draw();
    EXPECT_EQ(node->getTintColor().getAlpha(), 0u);
    tick(30);
    EXPECT_EQ(node->getPhase(), GSpeedUpNode::kMoving);
    EXPECT_EQ(node->getTintColor().getAlpha(), 255u);
    EXPECT_EQ(node->getRotation().z, node->getDirection());
}

// The flight turns by whole degrees; the icon by the drawn ones.
TEST_F(SpeedUpNodeTest, TheVelocityTurnsByTheDirectionInWholeDegrees) {
    CRefPointer<GSpeedUpNode> node;
    for (int tries = 0; tries < 64; ++tries) {
        node = icon(90.9f, 0, 0, 300, 300);
        draw();
        if (node->getDirection() == 90.9f)
            break;
        EXPECT_EQ(node->getDirection(), 180 - 90.9f) << "mirrored about the vertical";
    }
    ASSERT_EQ(node->getDirection(), 90.9f);
    EXPECT_NEAR(node->getVelocity().x, 0, 1e-4);
    EXPECT_NEAR(node->getVelocity().y, 100, 1e-4);
    tick(30);
    EXPECT_FLOAT_EQ(node->getRotation().z, 90.9f);
}

} // namespace
