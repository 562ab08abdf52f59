#pragma once

#include "engine/core/ServiceReference.h"

class CImageLoaderManager;
class CNodeFactory;
class CParticleEmitterFactory;
class CSoundLoaderManager;

// How CEngineServices makes the services whose classes live in other libraries. Each library
// fills its entry before the services' first use; an empty entry leaves the service absent.
struct EngineServiceFactories {
    CServiceReference<CImageLoaderManager> (*imageLoaderManager)() = nullptr;
    CServiceReference<CNodeFactory> (*nodeFactory)() = nullptr;
    CServiceReference<CParticleEmitterFactory> (*particleEmitterFactory)() = nullptr;
    CServiceReference<CSoundLoaderManager> (*soundLoaderManager)() = nullptr;
};

// The process's factories, which CEngineServices::instance builds from; tests assign an empty
// set to clear them.
inline EngineServiceFactories& engineServiceFactories() {
    static EngineServiceFactories factories;
    return factories;
}
