#include "engine/scene/BaseNode.h"

#include <gtest/gtest.h>

#include "tests/scene/SceneTestNodes.h"

namespace {

constexpr float kPrecision = 1e-4f;

CVector3d mapped(const BaseNode& node, CVector3d point) {
    node.getAbsoluteMatrix().transformPoint(point);
    return point;
}

void expectNear(const CVector3d& actual, const CVector3d& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, kPrecision) << what;
    EXPECT_NEAR(actual.y, expected.y, kPrecision) << what;
    EXPECT_NEAR(actual.z, expected.z, kPrecision) << what;
}

TEST(BaseNodeTransformTest, PivotRotationScaleAndPositionCompose) {
    struct Case {
        const char* what;
        CVector3d position, rotation, scale;
        CVector2d pivot;
        CVector3d point, expected;
    };
    const Case cases[] = {
        {"pivot lands on the position",
         {10, 20, 0},
         {},
         {1, 1, 1},
         {50, 50},
         {50, 50, 0},
         {10, 20, 0}},
        {"quarter turn", {}, {0, 0, 90}, {1, 1, 1}, {}, {1, 0, 0}, {0, 1, 0}},
        {"scale before rotation", {5, 0, 0}, {0, 0, 90}, {2, 3, 1}, {}, {1, 1, 0}, {5 - 3, 2, 0}},
        {"pivot is in unscaled units",
         {100, 100, 0},
         {},
         {2, 2, 1},
         {10, 0},
         {10, 0, 0},
         {100, 100, 0}},
    };
    for (const Case& c : cases) {
        const CRefPointer<LoggingNode> node = makeNode("node");
        node->setPosition(c.position);
        node->setRotation(c.rotation);
        node->setScale(c.scale);
        node->setPivotPoint(c.pivot);
        node->updateAbsoluteTransform();
        expectNear(mapped(*node, c.point), c.expected, c.what);
    }
}

TEST(BaseNodeTransformTest, ChildrenBuildOnTheParentAndDepthOnlyAddsUp) {
    const CRefPointer<LoggingNode> parent = makeNode("parent");
    parent->setPosition({100, 0, 10});
    parent->setScale({2, 2, 3});
    parent->setRotation({0, 0, 90});
    const CRefPointer<LoggingNode> child = makeNode("child", parent.get());
    child->setPosition({10, 5, 5});
    const CRefPointer<LoggingNode> grandchild = makeNode("grandchild", child.get());
    grandchild->setPosition({0, 0, -1});

    RenderList list;
    parent->collectDrawables(list);
    // The parent turns (10, 5) into (-10, 20) after doubling it, then moves it by 100.
    expectNear(mapped(*child, {0, 0, 0}), {90, 20, 15}, "child origin");
    expectNear(mapped(*child, {1, 0, 0}), {90, 22, 15}, "child x axis");
    EXPECT_FLOAT_EQ(grandchild->getAbsoluteMatrix()[14], 14);
    EXPECT_FALSE(parent->isTransformDirty());
    EXPECT_FALSE(grandchild->isTransformDirty());
}

TEST(BaseNodeTransformTest, AChangeReachesTheSubtreeOnlyThroughTheDrawingPass) {
    const CRefPointer<LoggingNode> parent = makeNode("parent");
    const CRefPointer<LoggingNode> child = makeNode("child", parent.get());
    child->setPosition({1, 2, 0});
    RenderList list;
    parent->collectDrawables(list);
    ASSERT_FLOAT_EQ(child->getAbsoluteMatrix()[12], 1);

    parent->setPosition({10, 0, 0});
    EXPECT_TRUE(parent->isTransformDirty());
    EXPECT_FLOAT_EQ(child->getAbsoluteMatrix()[12], 1);
    parent->collectDrawables(list);
    EXPECT_FLOAT_EQ(child->getAbsoluteMatrix()[12], 11);
}

TEST(BaseNodeTransformTest, AbsoluteColourModulatesDownTheTree) {
    const CRefPointer<LoggingNode> parent = makeNode("parent");
    parent->setTintColor(CColor(0xFF808080u));
    const CRefPointer<LoggingNode> child = makeNode("child", parent.get());
    child->setTintColor(CColor(0x80FFFFFFu));
    const CRefPointer<LoggingNode> grandchild = makeNode("grandchild", child.get());
    grandchild->setTintColor(CColor(0xFF00FF00u));

    parent->updateAbsoluteColor();
    EXPECT_EQ(parent->getAbsoluteColor().value, 0xFF808080u);
    EXPECT_EQ(child->getAbsoluteColor().value, 0x80808080u);
    EXPECT_EQ(grandchild->getAbsoluteColor().value, 0x80008000u);
    EXPECT_FALSE(grandchild->isColorDirty());
}

TEST(BaseNodeTransformTest, PointsOnTheBorderAreOutside) {
    const CRefPointer<LoggingNode> node = makeNode("node");
    node->setPosition({10, 10, 0});
    node->setBounds({100, 50, 0});
    node->updateAbsoluteTransform();
    struct Case {
        CVector3d point;
        bool inside;
    };
    const Case cases[] = {
        {{10, 30, 0}, false}, {{110, 30, 0}, false},  {{60, 10, 0}, false},
        {{60, 60, 0}, false}, {{10.5f, 30, 0}, true}, {{109.5f, 59.5f, 7}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(node->isPointInside(c.point), c.inside) << c.point.x << "," << c.point.y;

    // A quarter turn about the position lays the area to the left of it.
    node->setRotation({0, 0, 90});
    node->updateAbsoluteTransform();
    EXPECT_TRUE(node->isPointInside({-20, 50, 0}));
    EXPECT_FALSE(node->isPointInside({30, 50, 0}));
}

TEST(BaseNodeTransformTest, AMatrixWithoutInverseTestsThePointAsItIs) {
    const CRefPointer<LoggingNode> node = makeNode("node");
    node->setPosition({500, 500, 0});
    node->setScale({0, 0, 0});
    node->updateAbsoluteTransform();
    EXPECT_TRUE(node->isPointInside({50, 50, 0}));
    EXPECT_FALSE(node->isPointInside({550, 550, 0}));
}

TEST(BaseNodeTransformTest, HitsSkipHiddenAndUnhittableSubtreesAndTakeTheTopmostChild) {
    const CRefPointer<LoggingNode> root = makeNode("root");
    const CRefPointer<HittingNode> low = makeNode<HittingNode>("low", root.get());
    const CRefPointer<HittingNode> high = makeNode<HittingNode>("high", root.get());
    const CRefPointer<HittingNode> inner = makeNode<HittingNode>("inner", high.get());
    root->updateAbsoluteTransform();
    const CVector3d point(50, 50, 0);

    EXPECT_EQ(root->findHitNode(point), low.get());
    EXPECT_EQ(root->findTopmostHitChild(point), high.get());
    high->setCanBeHit(false);
    EXPECT_EQ(root->findTopmostHitChild(point), low.get());
    low->setVisible(false);
    EXPECT_EQ(root->findHitNode(point), nullptr);
    high->setCanBeHit(true);
    high->setHits(false);
    EXPECT_EQ(root->findHitNode(point), inner.get());
}

} // namespace
