#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "game/effects/BoomboxHeartsEffectNode.h"
#include "game/effects/HipHopHeartsNode.h"
#include "tests/game/effects/EffectFixture.h"

// Swarms of hearts circling a boombox or a hip-hop dancer.
namespace {

constexpr float kRadians = 0.017453292f;

class OrbitingHeartsTest : public EffectTest {
protected:
    void addHeartTemplate() {
        make<BaseNode>(templates.get())->setName(name("Heart"));
        templates->OnLoaded();
    }
    template <typename Node>
    CRefPointer<Node> swarm(CVector2d countRange) {
        CRefPointer<Node> node = make<Node>();
        set(*node, "ObjTemplateID", makeStringProperty("Heart"));
        set(*node, "ObjectsCountRange", makeVector2dProperty(countRange));
        return node;
    }
    static float wrapped(float degrees) {
        const float turn = std::fmod(degrees, 360.0f);
        return turn < 0 ? turn + 360 : turn;
    }
};

TEST_F(OrbitingHeartsTest, TheSwarmsSizeIsDrawnFromItsRangeAndHeldAt256) {
    addHeartTemplate();
    struct Case {
        CVector2d range;
        std::set<uint32_t> sizes;
    };
    const Case cases[] = {
        {{0, 0}, {0}},
        {{3, 5.9f}, {3, 4, 5}},
        {{5.9f, 3}, {3, 4, 5}}, // the ends in either order
        {{-4, -1}, {0}},
    };
    for (const Case& c : cases) {
        std::set<uint32_t> sizes;
        for (int i = 0; i < 30; ++i) {
            const CRefPointer<GBoomboxHeartsEffectNode> boombox =
                swarm<GBoomboxHeartsEffectNode>(c.range);
            draw();
            sizes.insert(boombox->getObjects().size());
            EXPECT_EQ(boombox->getChildCount(), boombox->getObjects().size());
            scene->removeChild(boombox.get());
        }
        EXPECT_EQ(sizes, c.sizes) << c.range.x << ".." << c.range.y;
    }

    testing::internal::CaptureStdout();
    const CRefPointer<GBoomboxHeartsEffectNode> huge =
        swarm<GBoomboxHeartsEffectNode>({1e6f, 2e9f});
    huge->setName(name("Hearts"));
    const CRefPointer<GHipHopHeartsNode> dancer = swarm<GHipHopHeartsNode>({300, 300});
    draw();
    huge->setVisible(false);
    tick(30);
    huge->setVisible(true);
    draw();
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(huge->getObjects().size(), 256u);
    EXPECT_EQ(dancer->getObjects().size(), 256u);
    const std::string warning = "WRN: GBoomboxHeartsEffectNode \"Hearts\": ";
    EXPECT_NE(log.find(warning), std::string::npos) << log;
    EXPECT_EQ(log.find(warning, log.find(warning) + 1), std::string::npos) << "once a node";
    EXPECT_NE(log.find("WRN: GHipHopHeartsNode \"\": 300 objects asked for, 256 made"),
              std::string::npos)
        << log;
}

// Without deviation every radius is the ellipse's own and nothing is drawn for it, nor for an
// angular velocity range whose ends are equal: the generator is where it was.
TEST_F(OrbitingHeartsTest, NoDeviationDrawsNothing) {
    addHeartTemplate();
    const CRefPointer<GBoomboxHeartsEffectNode> boombox = swarm<GBoomboxHeartsEffectNode>({});
    set(*boombox, "EllipseSize", makeVector2dProperty({40, 20}));
    set(*boombox, "AngularVelocityRange", makeVector2dProperty({30, 30}));
    CRandom reference;
    reference.seed(77);
    random().seed(77);
    boombox->spawnObjects(5, 0);
    EXPECT_EQ(random().nextMwc(), reference.nextMwc());
    for (const auto& heart : boombox->getObjects()) {
        EXPECT_EQ(heart.radiusA, 40);
        EXPECT_EQ(heart.radiusB, 20);
        EXPECT_EQ(heart.angularVelocity, 30);
    }

    set(*boombox, "EllipseDeviation", makeFloatProperty(0.5f));
    boombox->spawnObjects(1, 0);
    const auto& varied = boombox->getObjects()[5];
    EXPECT_NE(varied.radiusA, 40);
    EXPECT_GE(varied.radiusA, 20);
    EXPECT_LE(varied.radiusB, 30);
}

TEST_F(OrbitingHeartsTest, BoomboxHeartsCircleOnTheirEllipses) {
    addHeartTemplate();
    const CRefPointer<GBoomboxHeartsEffectNode> boombox = swarm<GBoomboxHeartsEffectNode>({4, 4});
    set(*boombox, "EllipseSize", makeVector2dProperty({40, 20}));
    set(*boombox, "AngularVelocityRange", makeVector2dProperty({90, 90}));
    draw();
    ASSERT_EQ(boombox->getObjects().size(), 4u);
    const float start = boombox->getObjects()[0].angle;
    EXPECT_EQ(start, std::floor(start)) << "a whole degree";
    for (uint32_t i = 0; i < 4; ++i) {
        const auto& heart = boombox->getObjects()[i];
        EXPECT_EQ(heart.angle, start + 90.0f * float(i));
        EXPECT_TRUE(heart.node->isVisible());
        EXPECT_TRUE(heart.node->isInternal()) << "not written with the scene";
        EXPECT_EQ(heart.node->getParent(), boombox.get());
        EXPECT_NEAR(heart.node->getPosition().x, 40 * std::cos(heart.angle * kRadians), 1e-4);
        EXPECT_NEAR(heart.node->getPosition().y, 20 * std::sin(heart.angle * kRadians), 1e-4);
    }
    tick(30, 10);
    for (uint32_t i = 0; i < 4; ++i) {
        const float angle = (start + 90.0f * float(i) + 27) * kRadians;
        const CVector3d at = boombox->getObjects()[i].node->getPosition();
        EXPECT_NEAR(at.x, 40 * std::cos(angle), 1e-3) << i;
        EXPECT_NEAR(at.y, 20 * std::sin(angle), 1e-3) << i;
        EXPECT_EQ(at.z, 0);
    }
}

TEST_F(OrbitingHeartsTest, HipHopHeartsStandWholeDegreesApartAndTurnAlongTheirWay) {
    addHeartTemplate();
    const CRefPointer<GHipHopHeartsNode> dancer = swarm<GHipHopHeartsNode>({7, 7});
    set(*dancer, "Ellipse1Size", makeVector2dProperty({30, 30}));
    set(*dancer, "AngularVelocity1Range", makeVector2dProperty({100, 100}));
    set(*dancer, "AlignByTangent", makeBoolProperty(true));
    draw();
    ASSERT_EQ(dancer->getObjects().size(), 7u);
    const float start = dancer->getObjects()[0].angle1;
    for (uint32_t i = 0; i < 7; ++i) {
        const auto& heart = dancer->getObjects()[i];
        EXPECT_EQ(heart.angle1, start + 51.0f * float(i)) << "360 / 7 in whole degrees";
        EXPECT_EQ(heart.node->getRotation().z, heart.angle1 + 90);
        EXPECT_EQ(heart.angularVelocity2, 0.0f) << "a second ellipse of no speed";
    }
    tick(30, 10);
    for (uint32_t i = 0; i < 7; ++i) {
        const auto& heart = dancer->getObjects()[i];
        const float angle = start + 51.0f * float(i) + 30;
        EXPECT_NEAR(wrapped(heart.angle1), wrapped(angle), 1e-3);
        EXPECT_NEAR(heart.node->getRotation().z, heart.angle1 + 90, 1e-4);
        EXPECT_NEAR(heart.node->getPosition().x, 30 * std::cos(angle * kRadians), 1e-3);
        EXPECT_NEAR(heart.node->getPosition().y, 30 * std::sin(angle * kRadians), 1e-3);
    }
}

TEST_F(OrbitingHeartsTest, DetachingHandsOverTheNearestHeart) {
    addHeartTemplate();
    const CRefPointer<GBoomboxHeartsEffectNode> boombox = swarm<GBoomboxHeartsEffectNode>({});
    set(*boombox, "EllipseSize", makeVector2dProperty({40, 20}));
    set(*boombox, "AngularVelocityRange", makeVector2dProperty({90, 90}));
    boombox->spawnObjects(2, 0);
    ASSERT_EQ(boombox->getObjects()[1].node->getPosition().x, -40) << "a tie is possible";
    BaseNode* right = boombox->getObjects()[0].node.get();
    BaseNode* left = boombox->getObjects()[1].node.get();

    CVector2d velocity(1, 1);
    CRefPointer<BaseNode> heart = boombox->detachNearestObject(0, velocity);
    EXPECT_EQ(heart.get(), right) << "the lower index on a tie";
    EXPECT_EQ(heart->getParent(), boombox.get()) << "still under the swarm";
    const CRefPointer<BaseNode> holder = make<BaseNode>();
    heart->setParent(holder.get());
    EXPECT_EQ(holder->getChildCount(), 1u) << "a plain node, listed where it goes";
    EXPECT_NEAR(velocity.x, 0, 1e-5);
    EXPECT_NEAR(velocity.y, 40 * 90 * kRadians * 10, 1e-3) << "along its orbit, times 10";
    ASSERT_EQ(boombox->getObjects().size(), 1u) << "n - 1 left";
    EXPECT_EQ(boombox->detachNearestObject(100, velocity).get(), left);
    velocity = CVector2d(1, 1);
    EXPECT_EQ(boombox->detachNearestObject(0, velocity).get(), nullptr);
    EXPECT_EQ(velocity, CVector2d()) << "none from an empty swarm";

    const CRefPointer<GHipHopHeartsNode> dancer = swarm<GHipHopHeartsNode>({});
    set(*dancer, "Ellipse1Size", makeVector2dProperty({40, 40}));
    set(*dancer, "AngularVelocity1Range", makeVector2dProperty({-45, -45}));
    dancer->spawnObjects(3, 90);
    const float detachedAngle = dancer->getObjects()[1].angle1;
    heart = dancer->detachNearestObject(-30, velocity);
    ASSERT_TRUE(heart);
    EXPECT_NEAR(heart->getPosition().x, 40 * std::cos(210 * kRadians), 1e-3);
    EXPECT_NEAR(velocity.x, -heart->getPosition().y * -45 * kRadians * 10, 1e-3);
    ASSERT_EQ(dancer->getObjects().size(), 3u) << "n left: a new heart takes its place";
    EXPECT_EQ(dancer->getObjects()[2].angle1, detachedAngle);
    EXPECT_NE(dancer->getObjects()[2].node.get(), heart.get());
}

TEST_F(OrbitingHeartsTest, HidingTakesTheSwarmAway) {
    addHeartTemplate();
    const CRefPointer<GBoomboxHeartsEffectNode> boombox = swarm<GBoomboxHeartsEffectNode>({3, 3});
    draw();
    ASSERT_EQ(boombox->getChildCount(), 3u);
    const CRefPointer<BaseNode> first = boombox->getObjects()[0].node;
    boombox->setVisible(false);
    tick(30);
    EXPECT_EQ(boombox->getChildCount(), 0u);
    EXPECT_EQ(boombox->getObjects().size(), 0u);
    EXPECT_EQ(first->getParent(), nullptr);
    EXPECT_EQ(boombox->getScheduler(), nullptr);

    boombox->setVisible(true);
    draw();
    EXPECT_EQ(boombox->getChildCount(), 3u) << "a new swarm";
    draw();
    tick(30);
    EXPECT_EQ(boombox->getChildCount(), 3u) << "a shown node keeps its swarm";
}

TEST_F(OrbitingHeartsTest, ACloneOfARunningSwarmMakesItsOwn) {
    addHeartTemplate();
    const CRefPointer<GHipHopHeartsNode> dancer = swarm<GHipHopHeartsNode>({3, 3});
    draw();
    const CRefPointer<BaseNode> copy = dancer->clone(scene.get(), nullptr);
    auto* twin = static_cast<GHipHopHeartsNode*>(copy.get());
    EXPECT_EQ(twin->getChildCount(), 0u) << "the hearts are the swarm's own";
    EXPECT_EQ(twin->getObjectTemplate(), name("Heart"));
    draw();
    EXPECT_EQ(twin->getChildCount(), 3u);
    EXPECT_EQ(dancer->getChildCount(), 3u);
}

TEST_F(OrbitingHeartsTest, ATemplateArrivingLaterIsFoundThroughTheEvents) {
    const CRefPointer<GBoomboxHeartsEffectNode> early = swarm<GBoomboxHeartsEffectNode>({2, 2});
    draw();
    EXPECT_EQ(early->getScheduler(), nullptr) << "no template, no start";

    // A scene file's node knows no scene manager until its scene is opened.
    const CRefPointer<BaseNode> loaded =
        load(u"<SceneNode Type=\"SceneNode\"><SceneNode Type=\"BaseNode\" "
             u"ClassOverride=\"GHipHopHeartsNode\"><Properties><string Name=\"ObjTemplateID\" "
             u"Value=\"Heart\"/><vector2d Name=\"ObjectsCountRange\" Value=\"2;2\"/>"
             u"</Properties></SceneNode></SceneNode>");
    auto* dancer = static_cast<GHipHopHeartsNode*>(loaded->getChild(0));

    addHeartTemplate();
    CEventNodeTemplatesChanged changed(templates.get());
    early->deliver(CEventReceiver::RouteSelf, changed);
    draw();
    EXPECT_EQ(early->getObjects().size(), 2u);

    manager->openScene(static_cast<SceneNode*>(loaded.get()), CNameId());
    RenderList list;
    loaded->collectDrawables(list);
    EXPECT_EQ(dancer->getObjects().size(), 2u);
    loaded->removeAllChildren();
}

} // namespace
