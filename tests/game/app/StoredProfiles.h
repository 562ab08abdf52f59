#pragma once

#include <filesystem>

#include "engine/core/RefPointer.h"
#include "engine/core/Utf.h"
#include "engine/io/ProfileManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "tests/game/app/GameHarness.h"

// The players as the game's profile file on disk holds them, read by a profile manager of its
// own.
inline CRefPointer<CProfileManager> readStoredProfiles(const GameHarness& game) {
    CRefPointer<CVirtualFileSystem> files(new CVirtualFileSystem());
    const std::filesystem::path folder = game.dataHome() / "QuorvaneTessmark" / "Velmora";
    files->setUserDataFolder(utf8ToUtf16(folder.string().c_str()));
    CRefPointer<CProfileManager> profiles(new CProfileManager(files));
    profiles->loadUserProfiles();
    return profiles;
}
