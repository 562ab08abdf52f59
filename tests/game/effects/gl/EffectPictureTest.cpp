#include <gtest/gtest.h>

#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "game/effects/BaloonNode.h"
#include "game/effects/BurstGravityNode.h"
#include "game/effects/CarNode.h"
#include "game/effects/CircularBirdNode.h"
#include "game/effects/CircularMovableNode.h"
#include "game/effects/JumpingRowNode.h"
#include "game/effects/PathMovableNode.h"
#include "game/effects/PedestrianNode.h"
#include "game/effects/PlaneNode.h"
#include "game/effects/ScooterNode.h"
#include "support/GoldenImage.h"
#include "tests/game/effects/gl/EffectPictureFixture.h"

// A node of each effect class with a small square sprite, run for a second of its scene's
// clock from a seeded generator and drawn by the OpenGL driver as a frame draws a scene.
namespace {

TEST_F(EffectPictureTest, ANodeOfEachClassAfterASecond) {
    open(glParameters(160, 120));

    const CRefPointer<GPathMovableNode> mover = make<GPathMovableNode>();
    square(*mover, 0xFFE04040u);
    mover->setSpeed(50);
    mover->startPath(makePath({point(10, 10, 1), point(60, 10, 2)}).get(), -1, false, false);
    mover->advance(500);

    const CRefPointer<GPedestrianNode> pedestrian = make<GPedestrianNode>();
    square(*pedestrian, 0xFF40C040u, 6, "Body");
    pedestrian->OnLoaded();
    pedestrian->setSpeed(40);
    pedestrian->startPath(makePath({point(10, 28), point(150, 34)}).get(), -1, false, false);

    const CRefPointer<GPlaneNode> plane = make<GPlaneNode>();
    square(*plane, 0xFF4080F0u);
    plane->startPath(makePath({point(10, 46), point(150, 40), point(20, 50), point(150, 46)}).get(),
                     -1, false, false);

    const CRefPointer<BaseNode> sea = make<BaseNode>();
    sea->setPosition({20, 4, 0});
    const CRefPointer<GScooterNode> scooter = make<GScooterNode>(sea.get());
    square(*scooter, 0xFF40E0E0u);
    scooter->startPath(makePath({point(10, 60), point(150, 60)}).get(), -1, false, false);

    const CRefPointer<GCarNode> car = make<GCarNode>();
    square(*car, 0xFFF0E040u, 10, "Body");
    car->OnLoaded();
    car->startPath(makePath({point(10, 84), point(60, 96), point(150, 80)}).get());

    const CRefPointer<GBaloonNode> balloon = make<GBaloonNode>();
    square(*balloon, 0xFFFF80C0u, 10);
    balloon->setPosition({125, 110, 0});
    set(*balloon, "XVelocityRange", makeVector2dProperty({10, 20}));
    set(*balloon, "YVelocityRange", makeVector2dProperty({-40, -30}));
    set(*balloon, "LifeTime", makeIntProperty(1500));

    const CRefPointer<BaseNode> spray = make<BaseNode>();
    spray->setPosition({80, 64, 0});
    for (int i = 0; i < 3; ++i) {
        const CRefPointer<GBurstGravityNode> burst = make<GBurstGravityNode>(spray.get());
        square(*burst, 0xFFFFF0C0u, 4);
        set(*burst, "VelocityAngleRange", makeVector2dProperty({0, 360}));
        set(*burst, "RadiusRange", makeVector2dProperty({4, 8}));
        set(*burst, "VelocityRange", makeVector2dProperty({10, 20}));
        set(*burst, "Accel2YRange", makeVector2dProperty({20, 20}));
        set(*burst, "Accel2EndTimeRange", makeVector2dProperty({5000, 5000}));
        set(*burst, "LifeTime", makeIntProperty(5000));
    }

    const CRefPointer<BaseNode> model = make<BaseNode>(templates.get());
    model->setName(name("Bird"));
    square(*model, 0xFFC080F0u, 8, "Body");
    templates->OnLoaded();
    const CRefPointer<GCircularBirdNode> bird = make<GCircularBirdNode>();
    bird->setPosition({130, 18, 0});
    set(*bird, "BirdTemplateID", makeStringProperty("Bird"));
    set(*bird, "Ellipse1Size", makeVector2dProperty({20, 8}));
    set(*bird, "AngularVelocity1", makeFloatProperty(60));

    const CRefPointer<GCircularMovableNode> orbit = make<GCircularMovableNode>();
    orbit->setPosition({40, 104, 0});
    square(*orbit, 0xFFFFA040u, 6, "Dot");
    set(*orbit, "MovableName", makeStringProperty("Dot"));
    set(*orbit, "Ellipse1Size", makeVector2dProperty({16, 8}));

    const CRefPointer<GJumpingRowNode> row = make<GJumpingRowNode>();
    row->setPosition({90, 116, 0});
    for (int i = 0; i < 3; ++i)
        square(*row, 0xFFF0F0F0u, 6)->setPosition({float(i) * 12, -6, 0});
    set(*row, "JumpTimeRange", makeVector2dProperty({0, 600}));
    set(*row, "VelocityYRange", makeVector2dProperty({-60, -60}));
    set(*row, "AccelYRange", makeVector2dProperty({100, 100}));
    row->OnLoaded();

    draw();
    tick(10, 100);
    drawScene();
    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "effects-nodes", 4));
}

} // namespace
