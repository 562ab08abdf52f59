#include "engine/scene/KeyFrame.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/Random.h"
#include "tests/scene/AnimationFixtures.h"

namespace {

class KeyFrameTest : public AnimationTest {
protected:
    // A state "Run" whose one animator is this KeyFrame element.
    CRefPointer<AnimatedNode> run(const std::u16string& keyFrame) {
        const CRefPointer<AnimatedNode> child = makeChild();
        addState(*child, u"<State Name=\"Run\"><Animator Type=\"KeyFrame\"" + keyFrame +
                             u"</Animator></State>");
        child->setState(nameId("Run"), nullptr, CNameId());
        return child;
    }

    static std::u16string alphaKeys(const char16_t* lastTwoKeysI) {
        return std::u16string(u"><Properties><float Name=\"Alpha\" Value=\"0\"/></Properties>"
                              u"<KeyFrame t=\"0\" Value0=\"0\"/><KeyFrame t=\"500\" i=\"") +
               lastTwoKeysI + u"\" Value0=\"100\"/><KeyFrame t=\"500\" i=\"" + lastTwoKeysI +
               u"\" Value0=\"200\"/>";
    }
};

TEST_F(KeyFrameTest, MovingKeysInterpolateAndHoldingKeysJump) {
    struct Case {
        const char16_t* i;
        float alpha[4]; // after 300, 600, 900 and 1200 ms
    };
    const Case cases[] = {
        {u"0", {60, 120, 180, 200}},
        {u"-1", {0, 100, 100, 200}},
        {u"1", {0, 100, 100, 200}}, // anything but 0 holds
    };
    for (const Case& c : cases) {
        const CRefPointer<AnimatedNode> child = run(alphaKeys(c.i));
        for (float expected : c.alpha) {
            tick(300);
            EXPECT_FLOAT_EQ(child->alpha, expected) << std::string(c.i, c.i + 1);
        }
        // One report, with the 200 ms left over past the last key.
        ASSERT_EQ(child->finishes.size(), 1u);
        EXPECT_EQ(child->finishes[0].time, 200);
        EXPECT_FALSE(child->finishes[0].looped);
        tick(300);
        EXPECT_EQ(child->finishes.size(), 1u);
        parent->removeChild(child.get());
    }
}

TEST_F(KeyFrameTest, EveryKindOfValueMovesTheWayItsTypeDoes) {
    const CRefPointer<AnimatedNode> child =
        run(u"><Properties><int Name=\"Level\" Value=\"0\"/><float Name=\"Alpha\" Value=\"0\"/>"
            u"<bool Name=\"Visible\" Value=\"false\"/><color Name=\"TintColor\" Value=\"0\"/>"
            u"<vector2d Name=\"PivotPoint\" Value=\"0;0\"/><vector3d Name=\"Position\" "
            u"Value=\"0;0;0\"/>"
            u"<atlasTexture Name=\"Frame\" Value=\"\"/></Properties>"
            u"<KeyFrame t=\"0\" Value0=\"0\" Value1=\"0\" Value2=\"false\" Value3=\"ff000000\" "
            u"Value4=\"0;0\" Value5=\"0;0;0\" Value6=\"walk0000.png\"/>"
            u"<KeyFrame t=\"100\" i=\"0\" Value0=\"10\" Value1=\"1\" Value2=\"true\" "
            u"Value3=\"ffffffff\" Value4=\"2;4\" Value5=\"10;20;-30\" Value6=\"walk0010.png\"/>");
    EXPECT_EQ(child->frameName(), "walk0000.png");
    const int loadsBeforeTicking = atlas.loads;

    tick(50);
    EXPECT_EQ(child->level, 5);
    EXPECT_FLOAT_EQ(child->alpha, 0.5f);
    EXPECT_FALSE(child->isVisible());
    EXPECT_EQ(child->getTintColor().value, 0xFF7F7F7Fu);
    EXPECT_EQ(child->getPivotPoint(), CVector2d(1, 2));
    EXPECT_EQ(child->getPosition(), CVector3d(5, 10, -15));
    EXPECT_EQ(child->frameName(), "walk0005.png");
    EXPECT_EQ(atlas.loads, loadsBeforeTicking); // the frames between were loaded with the file

    tick(50);
    EXPECT_EQ(child->level, 10);
    EXPECT_TRUE(child->isVisible());
    EXPECT_EQ(child->getTintColor().value, 0xFFFFFFFFu);
    EXPECT_EQ(child->frameName(), "walk0010.png");
}

TEST_F(KeyFrameTest, JumpsSkipKeysWithoutSpendingTheirTime) {
    // Key 1 jumps ahead to key 3, which then runs towards key 4.
    const CRefPointer<AnimatedNode> child =
        run(u"><Properties><float Name=\"Alpha\" Value=\"0\"/></Properties>"
            u"<KeyFrame t=\"0\" Value0=\"0\"/><KeyFrame t=\"100\" g=\"3\" Value0=\"1\"/>"
            u"<KeyFrame t=\"5000\" Value0=\"2\"/><KeyFrame t=\"5000\" Value0=\"3\"/>"
            u"<KeyFrame t=\"100\" i=\"0\" Value0=\"13\"/>");
    tick(150);
    EXPECT_FLOAT_EQ(child->alpha, 8);
    EXPECT_TRUE(child->finishes.empty());
}

TEST_F(KeyFrameTest, TimeShiftStartsLaterOrAtARandomPoint) {
    const CRefPointer<AnimatedNode> child =
        run(std::u16string(u" TimeShift=\"150\"") + alphaKeys(u"0"));
    EXPECT_FLOAT_EQ(child->alpha, 30);

    CEngineServices::instance()->getRandom()->seed(7);
    const CRefPointer<AnimatedNode> random =
        run(std::u16string(u" TimeShift=\"-1\"") + alphaKeys(u"0"));
    std::set<float> starts;
    for (int i = 0; i < 40; ++i) {
        random->setState(nameId("Run"), nullptr, CNameId());
        EXPECT_GT(random->alpha, 0);
        EXPECT_LE(random->alpha, 200);
        starts.insert(random->alpha);
    }
    EXPECT_GT(starts.size(), 30u);
}

TEST_F(KeyFrameTest, KeysOfNoDurationThatJumpInALoopDoNotHangTheTick) {
    const CRefPointer<AnimatedNode> child =
        run(u"><Properties><float Name=\"Alpha\" Value=\"0\"/></Properties>"
            u"<KeyFrame t=\"0\" Value0=\"1\"/><KeyFrame t=\"0\" g=\"0\" Value0=\"2\"/>"
            u"<KeyFrame t=\"0\" g=\"99\" Value0=\"3\"/>");
    tick(20);
    tick(20);
    EXPECT_EQ(child->finishes.size(), 1u);
    EXPECT_TRUE(child->finishes[0].looped);
}

TEST_F(KeyFrameTest, KeysWithoutValuesWriteNothingAndEmptyTimelinesEndAtOnce) {
    // The keys come before the set, so they have no values to copy.
    const CRefPointer<AnimatedNode> early =
        run(u"><KeyFrame t=\"0\"/><KeyFrame t=\"50\" i=\"0\"/>"
            u"<Properties><float Name=\"Alpha\" Value=\"7\"/></Properties>");
    const CRefPointer<AnimatedNode> empty = run(u">");
    tick(100);
    EXPECT_FLOAT_EQ(early->alpha, 0);
    EXPECT_EQ(early->finishes.size(), 1u);
    ASSERT_EQ(empty->finishes.size(), 1u);
}

TEST_F(KeyFrameTest, PropertiesTheNodeLacksAreSkipped) {
    const CRefPointer<AnimatedNode> child =
        run(u"><Properties><float Name=\"Missing\" Value=\"0\"/><float Name=\"Alpha\" Value=\"0\"/>"
            u"</Properties><KeyFrame t=\"0\" Value0=\"5\" Value1=\"1\"/>"
            u"<KeyFrame t=\"100\" i=\"0\" Value0=\"6\" Value1=\"2\"/>");
    tick(100);
    EXPECT_FLOAT_EQ(child->alpha, 2);
}

// A key reached is written into the animator's working value, unless someone else holds that
// value: it then keeps what it had.
TEST_F(KeyFrameTest, AKeyReachedLeavesAValueHeldElsewhereAsItWas) {
    const CRefPointer<AnimatedNode> child = run(alphaKeys(u"-1"));
    auto* frames = static_cast<KeyFrame*>(child->findState(nameId("Run"))->getAnimator(0));
    const CRefPointer<CPropertyData> held = frames->getProperties()->getValueAt(0);
    tick(600);
    EXPECT_FLOAT_EQ(child->alpha, 100);
    EXPECT_FLOAT_EQ(castPropertyData<CPropertyDataFloat>(held.get())->getValue(), 0);
    const CRefPointer<CPropertyData> working = frames->getProperties()->getValueAt(0);
    EXPECT_FLOAT_EQ(castPropertyData<CPropertyDataFloat>(working.get())->getValue(), 100);
}

} // namespace
