#include "engine/ui/UiRegistration.h"

#include "engine/core/EngineServiceFactories.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/scene/SceneRegistration.h"
#include "engine/ui/EmitterProcessor.h"
#include "engine/ui/ParticleCollectionProcessor.h"
#include "engine/ui/ParticleEmitterFactory.h"

namespace {

CServiceReference<CParticleEmitterFactory> makeParticleEmitterFactory() {
    return CServiceReference<CParticleEmitterFactory>::adopt(new CParticleEmitterFactory());
}

CRefPointer<IContentProcessor> makeCollectionProcessor(const ContentProcessorServices& services) {
    return CRefPointer<IContentProcessor>(new CParticleCollectionProcessor(services.fileSystem));
}

CRefPointer<IContentProcessor> makeEmitterProcessor(const ContentProcessorServices& services) {
    return CRefPointer<IContentProcessor>(new CEmitterProcessor(services.fileSystem));
}

} // namespace

void registerUiLibrary() {
    registerSceneLibrary();
    engineServiceFactories().particleEmitterFactory = &makeParticleEmitterFactory;
    ContentProcessorFactories& processors = contentProcessorFactories();
    processors.particleCollection = &makeCollectionProcessor;
    processors.emitter = &makeEmitterProcessor;
}
