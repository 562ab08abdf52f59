#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "tests/game/effects/EffectFixture.h"

// The properties of the level's effects (waves, hearts, movers, notes and speed-up icons):
// written when not their default, read back, and copied by clones.
namespace {

using LevelEffectsFamilyTest = EffectTest;

// Each value is set through the class's table and saved (under its own name unless another is
// given); a new node reads it back, and so does a clone of the first.
TEST_F(LevelEffectsFamilyTest, PropertiesAreSavedWhenNotTheirDefaultReadBackAndCloned) {
    const CVector2d range(-3, 7);
    const float inf = INFINITY;
    struct Case {
        const char16_t* typeName;
        const char* property;
        CRefPointer<CPropertyData> value;
        const char* savedAs; // none: not saved
        CString readBack;
    };
    const Case cases[] = {
        {u"GWaveNode", "Velocity", makeVector3dProperty({10, -5, 0}), "Velocity", V3(10, -5, 0)},
        {u"GWaveNode", "Velocity", makeVector3dProperty({1e-7f, 0, 0}), nullptr, V3(0, 0, 0)},
        {u"GWaveNode", "Velocity", makeVector3dProperty({NAN, 2, inf}), "Velocity", V3(0, 2, 0)},
        {u"GWaveNode", "LifeTime", makeIntProperty(5000), "LifeTime", I(5000)},
        {u"GWaveNode", "LifeTime", makeIntProperty(-1), nullptr, I(-1)},
        {u"GBoomboxHeartsEffectNode", "ObjTemplateID", makeStringProperty("Heart"), "ObjTemplateID",
         CString("Heart")},
        {u"GBoomboxHeartsEffectNode", "ObjTemplateID", makeStringProperty(""), nullptr,
         CString("")},
        {u"GBoomboxHeartsEffectNode", "EllipseSize", makeVector2dProperty(range), "EllipseSize",
         V(-3, 7)},
        {u"GBoomboxHeartsEffectNode", "EllipseSize", makeVector2dProperty({50, 50}), nullptr,
         V(50, 50)},
        {u"GBoomboxHeartsEffectNode", "EllipseDeviation", makeFloatProperty(0.25f),
         "EllipseDeviation", F(0.25f)},
        {u"GBoomboxHeartsEffectNode", "EllipseDeviation", makeFloatProperty(-inf), nullptr, F(0)},
        {u"GBoomboxHeartsEffectNode", "AngularVelocityRange", makeVector2dProperty(range),
         "AngularVelocityRange", V(-3, 7)},
        {u"GBoomboxHeartsEffectNode", "ObjectsCountRange", makeVector2dProperty({3, 5.9f}),
         "ObjectsCountRange", V(3, 5.9f)},
        {u"GHipHopHeartsNode", "ObjTemplateID", makeStringProperty("Heart"), "ObjTemplateID",
         CString("Heart")},
        {u"GHipHopHeartsNode", "Ellipse1Size", makeVector2dProperty({50, 50}), nullptr, V(50, 50)},
        {u"GHipHopHeartsNode", "Ellipse1Size", makeVector2dProperty(range), "Ellipse1Size",
         V(-3, 7)},
        {u"GHipHopHeartsNode", "Ellipse2Size", makeVector2dProperty(range), "Ellipse2Size",
         V(-3, 7)},
        {u"GHipHopHeartsNode", "Ellipse1Deviation", makeFloatProperty(0.5f), "Ellipse1Deviation",
         F(0.5f)},
        {u"GHipHopHeartsNode", "Ellipse2Deviation", makeFloatProperty(0.1f), "Ellipse2Deviation",
         F(0.1f)},
        {u"GHipHopHeartsNode", "AngularVelocity1Range", makeVector2dProperty(range),
         "AngularVelocity1Range", V(-3, 7)},
        {u"GHipHopHeartsNode", "AngularVelocity2Range", makeVector2dProperty(range),
         "AngularVelocity2Range", V(-3, 7)},
        {u"GHipHopHeartsNode", "ObjectsCountRange", makeVector2dProperty({inf, 2}),
         "ObjectsCountRange", V(0, 2)},
        {u"GHipHopHeartsNode", "AlignByTangent", makeBoolProperty(true), "IsAlignedByTangent",
         B(true)},
        {u"GHipHopHeartsNode", "AlignByTangent", makeBoolProperty(false), nullptr, B(false)},
        {u"GP2PMovableNode", "Velocity", makeFloatProperty(30), "Velocity", F(30)},
        {u"GP2PMovableNode", "Velocity", makeFloatProperty(0), nullptr, F(0)},
        {u"GQueueBoxEffectNode", "VelocityXRange", makeVector2dProperty(range), "VelocityXRange",
         V(-3, 7)},
        {u"GQueueBoxEffectNode", "VelocityYRange", makeVector2dProperty(range), "VelocityYRange",
         V(-3, 7)},
        {u"GQueueBoxEffectNode", "AccelXRange", makeVector2dProperty(range), "AccelXRange",
         V(-3, 7)},
        {u"GQueueBoxEffectNode", "AccelYRange", makeVector2dProperty(range), "AccelYRange",
         V(-3, 7)},
        {u"GQueueBoxEffectNode", "EllipseSizeXRange", makeVector2dProperty(range),
         "EllipseSizeXRange", V(-3, 7)},
        {u"GQueueBoxEffectNode", "EllipseSizeYRange", makeVector2dProperty(range),
         "EllipseSizeYRange", V(-3, 7)},
        {u"GQueueBoxEffectNode", "EllipseXVelRange", makeVector2dProperty(range),
         "EllipseXVelRange", V(-3, 7)},
        {u"GQueueBoxEffectNode", "EllipseYVelRange", makeVector2dProperty(range),
         "EllipseYVelRange", V(-3, 7)},
        {u"GQueueBoxEffectNode", "AngularVelocityRange", makeVector2dProperty(range),
         "AngularVelocityRange", V(-3, 7)},
        {u"GQueueBoxEffectNode", "AngularAccelRange", makeVector2dProperty({0, NAN}), nullptr,
         V(0, 0)},
        // A time of 0 is kept as 0.
        {u"GQueueBoxEffectNode", "DisappearTime", makeIntProperty(0), "DisappearTime", I(0)},
        {u"GQueueBoxEffectNode", "DisappearTime", makeIntProperty(1000), nullptr, I(1000)},
        {u"GQueueBoxEffectNode", "LifeTime", makeIntProperty(0), "LifeTime", I(0)},
        {u"GQueueBoxEffectNode", "LifeTime", makeIntProperty(2000), nullptr, I(2000)},
        {u"GSpeedUpNode", "VelocityRange", makeVector2dProperty({100, 200}), nullptr, V(100, 200)},
        {u"GSpeedUpNode", "VelocityRange", makeVector2dProperty(range), "VelocityRange", V(-3, 7)},
        {u"GSpeedUpNode", "StartAngleRange", makeVector2dProperty({0, 360}), nullptr, V(0, 360)},
        {u"GSpeedUpNode", "StartAngleRange", makeVector2dProperty({0, 0}), "StartAngleRange",
         V(0, 0)},
        {u"GSpeedUpNode", "TargetAngleRange", makeVector2dProperty(range), "TargetAngleRange",
         V(-3, 7)},
        {u"GSpeedUpNode", "AppearTime", makeIntProperty(0), "AppearTime", I(0)},
        {u"GSpeedUpNode", "AppearTime", makeIntProperty(1000), nullptr, I(1000)},
        {u"GSpeedUpNode", "MovingTime", makeIntProperty(250), "MovingTime", I(250)},
        {u"GSpeedUpNode", "DisappearTime", makeIntProperty(250), "DisappearTime", I(250)},
    };
    for (const Case& c : cases) {
        const std::string what = CString(c.typeName).c_str() + std::string(" ") + c.property;
        const CRefPointer<BaseNode> node = create(c.typeName);
        set(*node, c.property, c.value);
        CRefPointer<CProperties> saved(new CProperties());
        node->saveProperties(*saved);
        const CRefPointer<CProperties> base(new CProperties());
        CRefPointer<BaseNode>(new BaseNode(CContentKey(), nullptr, nullptr))->saveProperties(*base);
        EXPECT_EQ(saved->getCount(), base->getCount() + (c.savedAs != nullptr ? 1 : 0)) << what;
        if (c.savedAs != nullptr) {
            EXPECT_GE(saved->indexOf(c.savedAs), 0) << what;
        }
        const CRefPointer<BaseNode> reloaded = create(c.typeName);
        reloaded->loadProperties(*saved);
        EXPECT_EQ(valueOf(*reloaded, c.property), c.readBack) << what;
        EXPECT_EQ(valueOf(*node->clone(nullptr, nullptr), c.property), c.readBack) << what;
    }
}

TEST_F(LevelEffectsFamilyTest, TheSpeedUpIconWritesItsRangesTargetFirst) {
    const CRefPointer<BaseNode> icon = create(u"GSpeedUpNode");
    for (const char* range : {"VelocityRange", "StartAngleRange", "TargetAngleRange"})
        set(*icon, range, makeVector2dProperty({1, 2}));
    for (const char* time : {"AppearTime", "MovingTime", "DisappearTime"})
        set(*icon, time, makeIntProperty(5));
    CRefPointer<CProperties> saved(new CProperties());
    icon->saveProperties(*saved);
    std::vector<std::string> names;
    for (int32_t i = saved->getCount() - 6; i < saved->getCount(); ++i)
        names.push_back(saved->getNameAt(i).c_str());
    EXPECT_EQ(names,
              (std::vector<std::string>{"VelocityRange", "TargetAngleRange", "StartAngleRange",
                                        "AppearTime", "MovingTime", "DisappearTime"}));
}

TEST_F(LevelEffectsFamilyTest, TheSplineMoversAndTheHolderHaveTheBaseNodesProperties) {
    const uint32_t base = BaseNode::classPropertyTable().size();
    for (const char16_t* typeName :
         {u"GSplineMovableNode", u"GClientMoneyEffectNode", u"GSelfDestructNode"}) {
        EXPECT_EQ(create(typeName)->getPropertyTable().size(), base) << CString(typeName).c_str();
    }
}

} // namespace
