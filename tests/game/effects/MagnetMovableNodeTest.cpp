#include <gtest/gtest.h>

#include <cmath>

#include "game/effects/MagnetMovableNode.h"
#include "game/level/ClientNode.h"
#include "tests/game/effects/EffectFixture.h"

// The magnet that flies a heart to a client's heart icon: thrown off, pulled in, standing on
// the target while its heart vanishes, then gone.
namespace {

class MagnetMovableNodeTest : public EffectTest {
protected:
    MagnetMovableNodeTest() { target->setPosition(CVector3d(300, 100, 0)); }

    CRefPointer<GMagnetMovableNode> magnet(CVector3d from) {
        CRefPointer<GMagnetMovableNode> node = make<GMagnetMovableNode>();
        node->setPosition(from);
        return node;
    }
    CRefPointer<GClientNode> client() {
        CRefPointer<GClientNode> node(new GClientNode(CContentKey(), scene.get(), nullptr));
        node->setKeepHeartsShown(true);
        node->setHidden(true);
        return node;
    }

    CRefPointer<BaseNode> target = make<BaseNode>();
};

TEST_F(MagnetMovableNodeTest, TheLaunchDiesAwayInFiveSecondsAlongItsDirectionAsThePullGrows) {
    target->setPosition(CVector3d(1e7f, 0, 0));
    const CRefPointer<GMagnetMovableNode> node = magnet({});
    node->setVelocity(CVector2d(240, -320));
    node->setTarget(target.get(), nullptr);
    EXPECT_EQ(node->getScheduler(), scene->getClock()) << "no lazy start";
    tick(50, 20);
    EXPECT_NEAR(node->getPullSpeed(), 500, 1e-2) << "after 1 s";
    for (int i = 0; i < 79; ++i) {
        tick(50);
        const CVector2d velocity = node->getVelocity();
        EXPECT_NEAR(velocity.x / velocity.y, -0.75f, 1e-5) << i;
    }
    EXPECT_NEAR(node->getVelocity().getLength(), 400 - 80 * 4.95f, 1e-2);
    EXPECT_NEAR(node->getPullSpeed(), 500 * 4.95f, 1);
    tick(50);
    EXPECT_NEAR(node->getVelocity().getLength(), 0, 1e-3) << "after 5 s";
    tick(50);
    EXPECT_EQ(node->getVelocity().getLength(), 0);

    const CRefPointer<GMagnetMovableNode> strong = magnet({});
    strong->setPullAcceleration(800);
    strong->setTarget(target.get(), nullptr);
    tick(50, 20);
    EXPECT_NEAR(strong->getPullSpeed(), 800, 1e-2);
}

// Without a client it aims 23 right of and 22 below the target, with one its own width right
// of it; it stands there at depth 10 until its heart has played "SelfDestruct", lets the target
// go, and is gone at its next tick with the client's heart icons free again.
TEST_F(MagnetMovableNodeTest, ItArrivesAtItsAimWaitsForTheHeartToVanishAndGoes) {
    for (const bool withClient : {false, true}) {
        const CRefPointer<GClientNode> receiver = withClient ? client() : nullptr;
        const CRefPointer<GMagnetMovableNode> node = magnet({0, 100, 0});
        node->setBounds(CVector3d(40, 30, 0));
        addSlowChild(*node);
        node->setTarget(target.get(), receiver.get());
        for (int i = 0; i < 300 && !node->hasArrived(); ++i)
            tick(30);
        const CVector3d aim = withClient ? CVector3d(340, 100, 10) : CVector3d(323, 122, 10);
        ASSERT_TRUE(node->hasArrived()) << withClient;
        EXPECT_TRUE(node->getPosition().equals(aim, 1e-4f)) << withClient;
        EXPECT_EQ(stateOf(node->getChild(0)), "SelfDestruct");
        if (receiver) {
            EXPECT_FALSE(receiver->areHeartsFrozen());
            EXPECT_TRUE(receiver->keepsHeartsShown());
        }
        EXPECT_EQ(node->getTarget(), target.get()) << "the heart is still vanishing";

        tick(30, 10);
        EXPECT_EQ(node->getTarget(), nullptr) << "300 ms later";
        ASSERT_EQ(node->getParent(), scene.get());
        tick(30);
        EXPECT_EQ(node->getParent(), nullptr);
        EXPECT_EQ(node->getScheduler(), nullptr);
        if (receiver) {
            EXPECT_FALSE(receiver->keepsHeartsShown());
        }
    }
}

// A client that goes first, or a target that leaves its scene, ends the flight at the next
// tick: nothing is touched through them afterwards.
TEST_F(MagnetMovableNodeTest, AClientOrTargetThatGoesMidFlightEndsIt) {
    CRefPointer<GClientNode> receiver = client();
    const CRefPointer<GMagnetMovableNode> node = magnet({});
    node->setTarget(target.get(), receiver.get());
    tick(30, 3);
    scene->removeChild(receiver.get());
    receiver.reset();
    tick(30);
    EXPECT_EQ(node->getParent(), nullptr);
    EXPECT_EQ(node->getTarget(), nullptr);

    const CRefPointer<GMagnetMovableNode> other = magnet({});
    other->setTarget(target.get(), nullptr);
    tick(30);
    scene->removeChild(target.get());
    tick(30);
    EXPECT_EQ(other->getParent(), nullptr);
    EXPECT_EQ(other->getTarget(), nullptr);
}

} // namespace
