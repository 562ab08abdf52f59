#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "game/effects/BaloonNode.h"
#include "game/effects/BurstGravityNode.h"
#include "game/effects/CircularBirdNode.h"
#include "game/effects/PlaneNode.h"
#include "tests/game/effects/EffectFixture.h"

// What the effect classes share: their identity through the node factory, their properties
// written to and read from scene files, and clones that draw their own values.
namespace {

using EffectFamilyTest = EffectTest;

CString N(const char* name) {
    return CString(name);
}

TEST_F(EffectFamilyTest, TheNodeFactoryMakesEveryClassWithItsIdentity) {
    struct Case {
        const char16_t* typeName;
        std::vector<uint32_t> kinds;
    };
    const Case cases[] = {
        {u"GPathMovableNode", {1129}},
        {u"GCircularBirdNode", {1130}},
        {u"GCircularMovableNode", {1131}},
        {u"GScooterNode", {1133, 1129}},
        {u"GPlaneNode", {1134, 1129}},
        {u"GPedestrianNode", {1135, 1129}},
        {u"GBaloonNode", {1137}},
        {u"GBurstGravityNode", {1138}},
        {u"GCarNode", {1136}},
        {u"GJumpingRowNode", {1140}},
        {u"GWaveNode", {1132}},
        {u"GSelfDestructNode", {1160}},
        {u"GSplineMovableNode", {1164}},
        {u"GP2PMovableNode", {1161}},
        {u"GHipHopHeartsNode", {1162}},
        {u"GMagnetMovableNode", {1163}},
        {u"GSpeedUpNode", {1139}},
        {u"GBoomboxHeartsEffectNode", {1166}},
        {u"GClientMoneyEffectNode", {1165, 1164}},
        {u"GQueueBoxEffectNode", {1167}},
    };
    for (const Case& c : cases) {
        const CRefPointer<BaseNode> node = create(c.typeName);
        ASSERT_TRUE(node) << CString(c.typeName).c_str();
        EXPECT_EQ(node->getTypeName(), CStringW(c.typeName));
        EXPECT_EQ(node->getClassName(), CStringW(c.typeName));
        EXPECT_EQ(node->getTypeId(), c.kinds[0]);
        for (uint32_t kind : c.kinds)
            EXPECT_TRUE(node->isKindOf(kind)) << kind;
        EXPECT_TRUE(node->isKindOf(0));
        EXPECT_FALSE(node->isKindOf(5)) << "no control";
        EXPECT_EQ(node->clone(nullptr, nullptr)->getTypeId(), c.kinds[0]);
    }
}

// Each value is set through the class's table, saved, and read by a new node of the class.
TEST_F(EffectFamilyTest, PropertiesAreSavedWhenNotTheirDefaultAndReadBack) {
    const CVector2d range(-3, 7);
    const float inf = INFINITY;
    struct Case {
        const char16_t* typeName;
        const char* property;
        CRefPointer<CPropertyData> value;
        bool saved;
        CString readBack;
    };
    const Case cases[] = {
        {u"GBaloonNode", "ScaleRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBaloonNode", "ScaleRange", makeVector2dProperty({1, 1}), false, V(1, 1)},
        {u"GBaloonNode", "WidthRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBaloonNode", "XVelocityRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBaloonNode", "YVelocityRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBaloonNode", "YAccelRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBaloonNode", "YAccelTimeRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBaloonNode", "YAccelTimeRange", makeVector2dProperty({}), false, V(0, 0)},
        {u"GBaloonNode", "DisappearTime", makeIntProperty(0), true, I(0)},
        {u"GBaloonNode", "DisappearTime", makeIntProperty(1000), false, I(1000)},
        {u"GBaloonNode", "LifeTime", makeIntProperty(2500), true, I(2500)},
        {u"GBaloonNode", "LifeTime", makeIntProperty(0), false, I(0)},
        {u"GBurstGravityNode", "Accel1StartTimeRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "Accel1EndTimeRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "Accel2StartTimeRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "Accel2EndTimeRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "VelocityAngleRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "RadiusRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "VelocityRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "Accel1Range", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "Accel2XRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "Accel2YRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GBurstGravityNode", "Accel2YRange", makeVector2dProperty({}), false, V(0, 0)},
        {u"GBurstGravityNode", "DisappearTime", makeIntProperty(0), true, I(0)},
        {u"GBurstGravityNode", "DisappearTime", makeIntProperty(1000), false, I(1000)},
        {u"GBurstGravityNode", "LifeTime", makeIntProperty(900), true, I(900)},
        {u"GCircularBirdNode", "BirdTemplateID", makeStringProperty("Gull"), true, N("Gull")},
        {u"GCircularBirdNode", "BirdTemplateID", makeStringProperty(""), false, N("")},
        {u"GCircularBirdNode", "Ellipse1Size", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GCircularBirdNode", "Ellipse2Size", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GCircularBirdNode", "Ellipse2Size", makeVector2dProperty({}), false, V(0, 0)},
        {u"GCircularBirdNode", "AngularVelocity1", makeFloatProperty(0), true, F(0)},
        {u"GCircularBirdNode", "AngularVelocity2", makeFloatProperty(-12.5f), true, F(-12.5)},
        {u"GCircularBirdNode", "AngularVelocity2", makeFloatProperty(5), false, F(5)},
        {u"GCircularMovableNode", "MovableName", makeStringProperty("Note"), true, N("Note")},
        {u"GCircularMovableNode", "Ellipse1Size", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GCircularMovableNode", "Ellipse2Size", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GCircularMovableNode", "AngularVelocity1", makeFloatProperty(30), true, F(30)},
        {u"GCircularMovableNode", "AngularVelocity2", makeFloatProperty(0), true, F(0)},
        {u"GJumpingRowNode", "VelocityYRange", makeVector2dProperty(range), true, V(-3, 7)},
        {u"GJumpingRowNode", "VelocityYRange", makeVector2dProperty({-100, -150}), false,
         V(-100, -150)},
        {u"GJumpingRowNode", "AccelYRange", makeVector2dProperty({}), true, V(0, 0)},
        {u"GJumpingRowNode", "JumpTimeRange", makeVector2dProperty({1000, 5000}), true,
         V(1000, 5000)},
        {u"GJumpingRowNode", "ActionTimeRange", makeVector2dProperty(range), true, V(-3, 7)},
        // What is no finite number counts as 0.
        {u"GBaloonNode", "WidthRange", makeVector2dProperty({inf, 4}), true, V(0, 4)},
        {u"GBurstGravityNode", "RadiusRange", makeVector2dProperty({2, NAN}), true, V(2, 0)},
        {u"GCircularMovableNode", "AngularVelocity1", makeFloatProperty(-inf), true, F(0)},
        {u"GJumpingRowNode", "AccelYRange", makeVector2dProperty({NAN, NAN}), true, V(0, 0)},
    };
    for (const Case& c : cases) {
        const std::string what = CString(c.typeName).c_str() + std::string(" ") + c.property;
        const CRefPointer<BaseNode> node = create(c.typeName);
        set(*node, c.property, c.value);
        CRefPointer<CProperties> saved(new CProperties());
        node->saveProperties(*saved);
        EXPECT_EQ(saved->indexOf(c.property) >= 0, c.saved) << what;
        const CRefPointer<BaseNode> reloaded = create(c.typeName);
        reloaded->loadProperties(*saved);
        const int32_t index = reloaded->findProperty(CString(c.property));
        EXPECT_EQ(getPropertyText(reloaded->getPropertyByIndex(index)), c.readBack) << what;
    }
}

TEST_F(EffectFamilyTest, AValueOfAnotherTypeSetsZeroAndScenesFilesGiveNoInfiniteRanges) {
    const CRefPointer<BaseNode> balloon = create(u"GBaloonNode");
    set(*balloon, "ScaleRange", makeIntProperty(3));
    set(*balloon, "LifeTime", makeVector2dProperty({4, 4}));
    EXPECT_EQ(getPropertyText(balloon->getPropertyByIndex(balloon->findProperty("ScaleRange"))),
              V(0, 0));
    EXPECT_EQ(getPropertyText(balloon->getPropertyByIndex(balloon->findProperty("LifeTime"))),
              I(0));

    const CRefPointer<BaseNode> loaded =
        load(u"<SceneNode Type=\"BaseNode\" ClassOverride=\"GBaloonNode\"><Properties>"
             u"<vector2d Name=\"XVelocityRange\" Value=\"1e60;-1e60\"/></Properties></SceneNode>");
    EXPECT_EQ(getPropertyText(loaded->getPropertyByIndex(loaded->findProperty("XVelocityRange"))),
              V(0, 0));
}

TEST_F(EffectFamilyTest, AClonesCopiesTheSettingsAndDrawsItsOwnValues) {
    const CRefPointer<GBaloonNode> balloon = make<GBaloonNode>();
    set(*balloon, "XVelocityRange", makeVector2dProperty({10, 50}));
    set(*balloon, "YVelocityRange", makeVector2dProperty({-60, -20}));
    set(*balloon, "LifeTime", makeIntProperty(4000));
    const CRefPointer<BaseNode> copy = balloon->clone(scene.get(), nullptr);
    auto* twin = static_cast<GBaloonNode*>(copy.get());
    CRefPointer<CProperties> settings(new CProperties());
    CRefPointer<CProperties> copied(new CProperties());
    balloon->saveProperties(*settings);
    twin->saveProperties(*copied);
    EXPECT_EQ(copied->getCount(), settings->getCount());
    draw();
    EXPECT_NE(twin->getVelocity().y, balloon->getVelocity().y);
    EXPECT_GE(twin->getVelocity().y, -60);
    EXPECT_LE(twin->getVelocity().y, -20);

    const CRefPointer<GPlaneNode> plane = make<GPlaneNode>();
    const CRefPointer<BaseNode> planeCopy = plane->clone(scene.get(), nullptr);
    EXPECT_NE(static_cast<GPlaneNode*>(planeCopy.get())->getSpeed(), plane->getSpeed());
}

} // namespace
