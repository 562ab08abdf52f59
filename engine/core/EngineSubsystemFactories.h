#pragma once

#include "engine/core/ServiceReference.h"

class CEngine;
class CContentManager;
class CContentProcessorsManager;
class CProfileManager;
class CSoundPlayer;
class SceneManager;

// How the engine makes the services whose classes live in other libraries. Each library fills
// its entry before the engine's first use; each factory reads what it is built over (drivers,
// file system, global properties, engine services) from the engine it is given. An empty entry
// leaves the service absent.
struct EngineSubsystemFactories {
    CServiceReference<CProfileManager> (*profileManager)(CEngine& engine) = nullptr;
    CServiceReference<CContentProcessorsManager> (*contentProcessorsManager)(CEngine& engine) =
        nullptr;
    CServiceReference<CSoundPlayer> (*soundPlayer)(CEngine& engine) = nullptr;
    CServiceReference<CContentManager> (*contentManager)(CEngine& engine) = nullptr;
    CServiceReference<SceneManager> (*sceneManager)(CEngine& engine) = nullptr;
};

// The process's factories; tests assign an empty set to clear them.
inline EngineSubsystemFactories& engineSubsystemFactories() {
    static EngineSubsystemFactories factories;
    return factories;
}
