#include <gtest/gtest.h>

#include "engine/core/PropertyDataScalars.h"
#include "game/effects/ClientMoneyEffectNode.h"
#include "game/effects/P2PMovableNode.h"
#include "game/effects/SelfDestructNode.h"
#include "game/effects/SplineMovableNode.h"
#include "tests/game/effects/EffectFixture.h"

// Movers on a Hermite spline, the money that flies to the display, the holders that go once
// their children have played "SelfDestruct", and the point-to-point mover.
namespace {

CArray<SplinePoint> points(SplinePoint from, SplinePoint to) {
    CArray<SplinePoint> list;
    list.append(from);
    list.append(to);
    return list;
}

class SplineNodesTest : public EffectTest {
protected:
    CRefPointer<GSplineMovableNode> spline(int32_t delay, int32_t duration) {
        CRefPointer<GSplineMovableNode> node = make<GSplineMovableNode>();
        node->setDelay(delay);
        node->setDuration(duration);
        return node;
    }
    static void expectAt(const BaseNode& node, float x, float y) {
        EXPECT_NEAR(node.getPosition().x, x, 1e-3);
        EXPECT_NEAR(node.getPosition().y, y, 1e-3);
    }
};

TEST_F(SplineNodesTest, ADelayAndADurationReachTheEndOnTheTickTheyAddUpTo) {
    const CRefPointer<GSplineMovableNode> node = spline(350, 1150);
    addSlowChild(*node);
    node->setPath(points({10, 20, 0, 0, nullptr}, {110, 70, 0, 0, nullptr}));
    EXPECT_EQ(node->getState(), GSplineMovableNode::kWaiting);
    EXPECT_EQ(node->getScheduler(), scene->getClock());
    expectAt(*node, 10, 20);
    tick(50, 7);
    EXPECT_EQ(node->getState(), GSplineMovableNode::kMoving);
    expectAt(*node, 10, 20);
    tick(50, 22);
    EXPECT_EQ(node->getState(), GSplineMovableNode::kMoving) << "1450 ms";
    tick(50);
    EXPECT_EQ(node->getState(), GSplineMovableNode::kDone) << "1500 ms";
    expectAt(*node, 110, 70);
    EXPECT_EQ(stateOf(node->getChild(0)), "SelfDestruct");

    // It waits for its child to finish, then goes.
    tick(50, 5);
    EXPECT_EQ(node->getParent(), scene.get());
    tick(50);
    EXPECT_EQ(node->getParent(), nullptr);
}

TEST_F(SplineNodesTest, TheCurveLeavesItsFirstPointAlongItsTangent) {
    const CRefPointer<GSplineMovableNode> node = spline(0, 1000);
    node->setAlignByTangent(true);
    node->setPath(points({0, 0, 300, 0, nullptr}, {100, 0, 300, 0, nullptr}));
    EXPECT_EQ(node->getState(), GSplineMovableNode::kMoving);
    expectAt(*node, 0, 0);
    tick(50);
    EXPECT_EQ(node->getRotation().z, 90) << "a tangent straight right";

    const CRefPointer<GSplineMovableNode> curve = spline(0, 1000);
    curve->setPath(points({0, 0, 80, 0, nullptr}, {100, 40, 0, 80, nullptr}));
    tick(50, 10);
    // Half way: the points' mean and an eighth of the tangents' difference.
    expectAt(*curve, 60, 10);
    EXPECT_EQ(curve->getRotation().z, 0) << "not aligned";
}

TEST_F(SplineNodesTest, OnePointLeavesItIdle) {
    const CRefPointer<GSplineMovableNode> node = spline(0, 1000);
    node->setPosition({5, 5, 0});
    CArray<SplinePoint> one;
    one.append({50, 50, 0, 0, nullptr});
    node->setPath(one);
    draw();
    EXPECT_EQ(node->getState(), GSplineMovableNode::kDone);
    EXPECT_EQ(node->getScheduler(), nullptr);
    expectAt(*node, 5, 5);
}

TEST_F(SplineNodesTest, TheEndFollowsItsNodeUntilTheNodeLeaves) {
    const CRefPointer<BaseNode> target = make<BaseNode>();
    target->setPosition({200, 100, 0});
    target->setPivotPoint({5, 5});
    const CRefPointer<GSplineMovableNode> node = spline(0, 1000);
    addSlowChild(*node);
    node->setPath(points({0, 0, 0, 0, nullptr}, {0, 0, 0, 0, target}));
    tick(50, 4);
    // Its place in the scene, where its pivot point is.
    EXPECT_EQ(node->getPoints()[1].x, 200);
    target->setPosition({300, 140, 0});
    tick(50, 16);
    EXPECT_EQ(node->getState(), GSplineMovableNode::kDone);
    expectAt(*node, 300, 140);

    const CRefPointer<GSplineMovableNode> late = spline(0, 1000);
    addSlowChild(*late);
    late->setPath(points({0, 0, 0, 0, nullptr}, {0, 0, 0, 0, target}));
    tick(50, 4);
    target->setPosition({400, 140, 0});
    scene->removeChild(target.get());
    target->setPosition({900, 900, 0});
    tick(50);
    EXPECT_EQ(late->getPoints()[1].follow.get(), nullptr) << "let go";
    tick(50, 15);
    expectAt(*late, 300, 140); // where it was last seen
}

TEST_F(SplineNodesTest, ItGoesOnceItsChildrenHaveFinishedSelfDestruct) {
    const CRefPointer<GSplineMovableNode> bare = spline(0, 0);
    bare->setPath(points({0, 0, 0, 0, nullptr}, {30, 40, 0, 0, nullptr}));
    const CRefPointer<GSplineMovableNode> late = spline(0, -5);
    late->setPath(points({0, 0, 0, 0, nullptr}, {30, 40, 0, 0, nullptr}));
    tick(30);
    // A duration of 0 or less is over at the first moving tick; with nothing to play the
    // node goes at once.
    expectAt(*bare, 30, 40);
    EXPECT_EQ(bare->getParent(), nullptr);
    EXPECT_EQ(bare->getScheduler(), nullptr);
    EXPECT_EQ(late->getParent(), nullptr);

    const CRefPointer<GSplineMovableNode> other = spline(0, 1000);
    CEventNodeChildrenStateFinished finished(other.get(), name("Other"));
    EXPECT_FALSE(other->OnEvent(finished));
    EXPECT_EQ(other->getParent(), scene.get());
}

TEST_F(SplineNodesTest, MoneyFliesToTheDisplayFromItsHoldersPlace) {
    const CRefPointer<BaseNode> holder = make<BaseNode>();
    holder->setPosition({100, 200, 0});
    const CRefPointer<BaseNode> client = make<BaseNode>(holder.get());
    client->setPosition({20, 20, 0});
    const CRefPointer<GClientMoneyEffectNode> money = make<GClientMoneyEffectNode>(client.get());
    addSlowChild(*money);
    // A scene of its own, drawn outside any scene manager.
    const CRefPointer<SceneNode> loose(new SceneNode(CContentKey(), nullptr, nullptr));
    loose->setClock(scene->getClock());
    loose->setScene(nullptr, loose.get());
    const CRefPointer<GClientMoneyEffectNode> orphan = make<GClientMoneyEffectNode>(loose.get());
    addSlowChild(*orphan);
    CRandom reference;
    reference.seed(5);
    random().seed(5);
    draw();
    RenderList list;
    loose->collectDrawables(list);

    struct Case {
        GClientMoneyEffectNode* node;
        float endX;
        float endY;
        float way;
    };
    const Case cases[] = {{money.get(), 270, -170, 1}, {orphan.get(), 0, 0, -1}};
    for (const Case& c : cases) {
        const CArray<SplinePoint>& path = c.node->getPoints();
        ASSERT_EQ(path.size(), 2u);
        EXPECT_EQ(path[0].tangentX, c.way * (reference.nextUnitFloat() * 200 + 300));
        EXPECT_EQ(path[1].tangentX, c.way * (reference.nextUnitFloat() * 200 + 300));
        EXPECT_EQ(path[1].x, c.endX);
        EXPECT_EQ(path[1].y, c.endY);
        EXPECT_EQ(c.node->getDuration(), 2000);
        EXPECT_TRUE(c.node->isAlignedByTangent());
        EXPECT_TRUE(c.node->isKindOf(GSplineMovableNode::kTypeId));
    }
    tick(50, 39);
    EXPECT_EQ(money->getState(), GSplineMovableNode::kMoving);
    tick(50);
    EXPECT_EQ(money->getState(), GSplineMovableNode::kDone);
    expectAt(*money, 270, -170);
    EXPECT_EQ(money->getRotation().z, 90);
    EXPECT_EQ(orphan->getRotation().z, 270) << "tangents pointing left";
}

TEST_F(SplineNodesTest, ASelfDestructNodeGoesOnlyForSelfDestruct) {
    const CRefPointer<GSelfDestructNode> holder = make<GSelfDestructNode>();
    addSlowChild(*holder);
    holder->setChildrenState(name("Other"), nullptr);
    tick(50, 10);
    EXPECT_EQ(holder->getParent(), scene.get());
    holder->setChildrenState(name("SelfDestruct"), nullptr);
    tick(50, 5);
    EXPECT_EQ(holder->getParent(), scene.get()) << "still playing";
    tick(50);
    EXPECT_EQ(holder->getParent(), nullptr);

    const CRefPointer<GSelfDestructNode> other = make<GSelfDestructNode>();
    CEventNodeChildrenStateFinished finished(other.get(), name("Other"));
    EXPECT_FALSE(other->OnEvent(finished));
    EXPECT_EQ(other->getParent(), scene.get());
}

TEST_F(SplineNodesTest, APointToPointMoverGoesAtOnceWithASpeedAndStaysAtTheOriginWithout) {
    const CRefPointer<GP2PMovableNode> quick = make<GP2PMovableNode>();
    set(*quick, "Velocity", makeFloatProperty(50));
    const CRefPointer<GP2PMovableNode> still = make<GP2PMovableNode>();
    still->setPosition({40, 30, 0});
    make<BaseNode>(still.get());
    draw();
    tick(30);
    EXPECT_EQ(quick->getParent(), nullptr) << "its line is no longer than nothing";
    EXPECT_EQ(quick->getScheduler(), nullptr);
    EXPECT_EQ(still->getParent(), scene.get());
    EXPECT_EQ(still->getPosition(), CVector3d()) << "holds its children at the origin";
}

} // namespace
