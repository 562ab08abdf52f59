#pragma once

#include <cstdint>

#include "engine/io/ProfileManager.h"
#include "engine/video/SoftwareImage.h"
#include "tests/game/app/GameOnSdl.h"
#include "tests/game/level/LevelHarness.h"

// The harness's game started on SDL's offscreen windows, for a player who plays in a window of
// the game's size, without rendering the sound mix; false when a step fails. Files of the extra
// content folder are written before.
inline bool startLevelOnSdl(LevelHarness& level) {
    gameOnSdl() = &level.game;
    level.game.settings.registerLibraries = &registerGameOnSdl;
    level.renderSound = false;
    if (!level.game.start())
        return false;
    level.game.player().setBool("FullScreen", false);
    level.game.profiles().saveUserProfiles();
    return level.start();
}

// One frame of the harness's game as the application draws it, through the OpenGL driver, read
// back before it is shown; the game first runs that many frames on the new driver.
inline CRefPointer<CSoftwareImage> drawLevelFrame(LevelHarness& level, uint32_t settleFrames) {
    useOpenGl(level.game);
    level.advance(settleFrames);
    return captureFrame(level.game);
}
