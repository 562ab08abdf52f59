#pragma once

#include <cstdint>

#include "engine/core/Engine.h"
#include "engine/scene/SceneManager.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "tests/game/level/LevelHarness.h"

// One frame of the harness's game as the application draws it, through the OpenGL driver, read
// back before it is shown; the game first runs that many frames on the new driver.
inline CRefPointer<CSoftwareImage> drawLevelFrame(LevelHarness& level, uint32_t settleFrames) {
    CEngine& engine = level.game.engine();
    CreationParameters parameters = engine.getCreationParameters();
    parameters.driverType = 3;
    engine.setParameters(parameters);
    level.advance(settleFrames);
    IRenderDriver& driver = *engine.getVideoDriver();
    driver.startFrame(true, true, CColor(0), nullptr, nullptr);
    level.game.application().getSceneManager()->renderScenes(&driver);
    driver.getQuadBatcher()->flush();
    CRefPointer<CSoftwareImage> picture = driver.captureScreen();
    driver.presentFrame();
    return picture;
}
