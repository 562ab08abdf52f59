#include <gtest/gtest.h>

#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "game/effects/BoomboxHeartsEffectNode.h"
#include "game/effects/HipHopHeartsNode.h"
#include "game/effects/QueueBoxEffectNode.h"
#include "game/effects/SpeedUpNode.h"
#include "game/effects/WaveNode.h"
#include "support/GoldenImage.h"
#include "tests/game/effects/gl/EffectPictureFixture.h"

// The level's effects at one moment: hearts round a boombox and a dancer, a wave at full
// strength, notes rising and speed-up icons flying, 1.5 s after their start from a seeded
// generator.
namespace {

using LevelEffectsPictureTest = EffectPictureTest;

TEST_F(LevelEffectsPictureTest, HeartsAWaveNotesAndSpeedUpIcons) {
    open(glParameters(160, 120));
    for (const auto& [templateName, argb] :
         {std::pair{"Heart", 0xFFFF4070u}, std::pair{"Star", 0xFFFFD040u}}) {
        const CRefPointer<BaseNode> model = make<BaseNode>(templates.get());
        model->setName(name(templateName));
        square(*model, argb, 6);
    }
    templates->OnLoaded();

    const CRefPointer<GBoomboxHeartsEffectNode> boombox = make<GBoomboxHeartsEffectNode>();
    boombox->setPosition({40, 36, 0});
    set(*boombox, "ObjTemplateID", makeStringProperty("Heart"));
    set(*boombox, "EllipseSize", makeVector2dProperty({26, 12}));
    set(*boombox, "EllipseDeviation", makeFloatProperty(0.2f));
    set(*boombox, "AngularVelocityRange", makeVector2dProperty({40, 80}));
    set(*boombox, "ObjectsCountRange", makeVector2dProperty({8, 8}));

    const CRefPointer<GHipHopHeartsNode> dancer = make<GHipHopHeartsNode>();
    dancer->setPosition({118, 36, 0});
    set(*dancer, "ObjTemplateID", makeStringProperty("Star"));
    set(*dancer, "Ellipse1Size", makeVector2dProperty({22, 18}));
    set(*dancer, "Ellipse2Size", makeVector2dProperty({6, 3}));
    set(*dancer, "AngularVelocity1Range", makeVector2dProperty({60, 60}));
    set(*dancer, "AngularVelocity2Range", makeVector2dProperty({180, 240}));
    set(*dancer, "ObjectsCountRange", makeVector2dProperty({6, 6}));
    set(*dancer, "AlignByTangent", makeBoolProperty(true));

    const CRefPointer<GWaveNode> wave = make<GWaveNode>();
    wave->setPosition({60, 92, 0});
    square(*wave, 0xFF60C0FFu, 20, "Wave");
    wave->OnLoaded();
    set(*wave, "Velocity", makeVector3dProperty({8, 0, 0}));
    set(*wave, "LifeTime", makeIntProperty(10000));

    for (int i = 0; i < 3; ++i) {
        const CRefPointer<GQueueBoxEffectNode> note = make<GQueueBoxEffectNode>();
        note->setPosition({20 + 10 * float(i), 112, 0});
        square(*note, i % 2 == 0 ? 0xFF70E080u : 0xFF70B0FFu, 5, "Note");
        note->OnLoaded();
        set(*note, "VelocityYRange", makeVector2dProperty({-20, -10}));
        set(*note, "EllipseSizeXRange", makeVector2dProperty({2, 6}));
        set(*note, "EllipseXVelRange", makeVector2dProperty({1, 3}));
        set(*note, "AngularVelocityRange", makeVector2dProperty({90, 180}));
        set(*note, "LifeTime", makeIntProperty(4000));
    }

    for (int i = 0; i < 3; ++i) {
        const CRefPointer<GSpeedUpNode> icon = make<GSpeedUpNode>();
        icon->setPosition({136, 96, 0});
        square(*icon, 0xFFF0F0F0u, 7);
        set(*icon, "VelocityRange", makeVector2dProperty({10, 16}));
        set(*icon, "AppearTime", makeIntProperty(500));
        set(*icon, "MovingTime", makeIntProperty(3000));
    }

    draw();
    tick(20, 75);
    drawScene();
    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "effects-level", 4));
}

} // namespace
