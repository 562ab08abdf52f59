#include "game/effects/CarNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/game/effects/EffectFixture.h"

namespace {

using CarNodeTest = EffectTest;

TEST_F(CarNodeTest, HeadingsPickThePreDrawnFrames) {
    struct Case {
        float degrees;
        int32_t frame;
    };
    const Case cases[] = {
        {2, 0},    {3, 1},   {10, 1},  {13, 2}, {90, 9},   {180, 18},     {190, 19},
        {350, 34}, {359, 0}, {360, 0}, {0, 0},  {-10, 34}, {720 + 90, 9}, {NAN, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(carFrameForAngle(c.degrees), c.frame) << c.degrees;
}

// A body whose "Rotation" animation shows frame k (at k x 10 ms) as its x position.
std::u16string carWithFramedBody() {
    std::u16string keys = u"<KeyFrame t=\"0\" Value0=\"0;0;0\"/>";
    for (int k = 1; k < 36; ++k) {
        const std::string key =
            "<KeyFrame t=\"10\" i=\"-1\" Value0=\"" + std::to_string(k) + ";0;0\"/>";
        keys += std::u16string(key.begin(), key.end());
    }
    return u"<SceneNode Type=\"BaseNode\" ClassOverride=\"GCarNode\">"
           u"<SceneNode Type=\"SpriteNode\"><Properties><string Name=\"Name\" Value=\"Body\"/>"
           u"</Properties><States><State Name=\"Rotation\"><Animator Type=\"KeyFrame\">"
           u"<Properties><vector3d Name=\"Position\" Value=\"0;0;0\"/></Properties>" +
           keys + u"</Animator></State></States></SceneNode></SceneNode>";
}

TEST_F(CarNodeTest, OnTwoPointsItDrivesStraightAndGoesTheTickAfterTheEnd) {
    const CRefPointer<BaseNode> loaded = load(carWithFramedBody());
    ASSERT_TRUE(loaded && loaded->isKindOf(GCarNode::kTypeId));
    auto* car = static_cast<GCarNode*>(loaded.get());
    scene->appendChild(car);
    const CRefPointer<GPath> path = makePath({point(0, 0, 1), point(0, -100, 2)});
    car->startPath(path.get());
    const CArray<CarSplineKnot>& knots = car->getKnots();
    ASSERT_EQ(knots.size(), 2u);
    // 33 samples of the straight spline, the last at 0.99 of it.
    EXPECT_NEAR(knots[0].length, 99, 0.01);
    EXPECT_NEAR(knots[0].outgoing.y, -knots[0].length, 1e-3) << "the chord at the length";
    EXPECT_NEAR(knots[1].incoming.y, -knots[0].length, 1e-3);
    EXPECT_EQ(path->points[0].segmentLength, knots[0].length) << "kept for the next car";

    draw();
    tick(20, 25);
    EXPECT_FLOAT_EQ(car->getPosition().x, 0);
    EXPECT_NEAR(car->getPosition().y, -50, 1) << "100 units a second";
    EXPECT_NEAR(car->getScale().x, 1.5f, 0.01f);
    BaseNode* body = car->findChild(name("Body"), 1);
    EXPECT_EQ(stateOf(body), "Rotation");
    EXPECT_FLOAT_EQ(body->getPosition().x, 9) << "heading up: frame 9";

    tick(20, 25);
    EXPECT_EQ(car->getParent(), scene.get()) << "past the last point after 50 ticks";
    tick(20);
    EXPECT_EQ(car->getParent(), nullptr);
    EXPECT_EQ(car->getScheduler(), nullptr);
}

TEST_F(CarNodeTest, LaterCarsOnAPathUseItsMeasuredLengths) {
    const CRefPointer<GCarNode> still = make<GCarNode>();
    still->startPath(makePath({point(5, 5), point(5, 5)}).get());
    EXPECT_EQ(still->getKnots()[0].length, 1) << "a segment of no length counts as 1";

    const CRefPointer<GPath> path = makePath({point(0, 0), point(40, 0), point(100, 50)});
    const CRefPointer<GCarNode> first = make<GCarNode>();
    first->startPath(path.get());
    EXPECT_GT(path->points[1].segmentLength, 60);
    EXPECT_EQ(path->points[2].segmentLength, 1) << "the last point starts no segment";

    path->points[1].segmentLength = 50;
    const CRefPointer<GCarNode> second = make<GCarNode>();
    second->startPath(path.get());
    EXPECT_EQ(second->getKnots()[1].length, 50);
}

TEST_F(CarNodeTest, ACarWithoutAPathOrABodyStillEnds) {
    const CRefPointer<GCarNode> idle = make<GCarNode>();
    idle->startPath(makePath({point(1, 1)}).get());
    EXPECT_EQ(idle->getKnots().size(), 0u);
    const CRefPointer<GCarNode> stopped = make<GCarNode>();
    stopped->setSpeed(-5);
    stopped->startPath(makePath({point(0, 0), point(10, 0)}).get());
    draw();
    tick(20, 10);
    EXPECT_EQ(idle->getParent(), nullptr) << "no knots: it goes at its first tick";
    EXPECT_EQ(stopped->getParent(), scene.get()) << "a negative speed holds it in place";
    EXPECT_FLOAT_EQ(stopped->getPosition().x, 0);
}

} // namespace
