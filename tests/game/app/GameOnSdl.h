#pragma once

#include "engine/core/DeviceFactory.h"
#include "engine/core/Engine.h"
#include "engine/platform/EngineDeviceFactory.h"
#include "engine/platform/host/SdlPlatform.h"
#include "engine/scene/SceneManager.h"
#include "engine/ui/UiRegistration.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "tests/game/app/GameHarness.h"

// The game in the test process on SDL's offscreen windows on Mesa: Direct3D 9 on the GL
// runtime in place of the harness's scripted one, run by the game's stepped clock. A picture
// test points gameOnSdl() at its game and sets registerGameOnSdl as its library registration.
inline GameHarness*& gameOnSdl() {
    static GameHarness* game = nullptr;
    return game;
}

inline CEngine* makeDeviceOnSdl(const CreationParameters& parameters) {
    registerGLDirect3DModules(&sdlHostWindowSystem);
    return createEngineDevice(parameters, sdlHostWindowSystem(), nullptr, gameOnSdl()->clock);
}

inline void registerGameOnSdl() {
    registerUiLibrary();
    deviceFactory() = &makeDeviceOnSdl;
}

// The game switched to the OpenGL driver.
inline void useOpenGl(GameHarness& game) {
    CEngine& engine = game.engine();
    CreationParameters parameters = engine.getCreationParameters();
    parameters.driverType = 3;
    engine.setParameters(parameters);
}

// One frame as the application draws it, read back before it is shown.
inline CRefPointer<CSoftwareImage> captureFrame(GameHarness& game) {
    IRenderDriver& driver = *game.engine().getVideoDriver();
    driver.startFrame(true, true, CColor(0), nullptr, nullptr);
    game.application().getSceneManager()->renderScenes(&driver);
    driver.getQuadBatcher()->flush();
    CRefPointer<CSoftwareImage> picture = driver.captureScreen();
    driver.presentFrame();
    return picture;
}

// A frame of the game's screens on the OpenGL driver, once they have settled.
inline CRefPointer<CSoftwareImage> drawFrameWithOpenGl(GameHarness& game) {
    useOpenGl(game);
    game.advance(100);
    return captureFrame(game);
}
