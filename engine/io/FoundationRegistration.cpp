#include "engine/io/FoundationRegistration.h"

#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/ProfileManager.h"

namespace {

CRefPointer<IVirtualFileSystem> fileSystemOf(const CEngine& engine) {
    return CRefPointer<IVirtualFileSystem>::share(engine.getFileSystem());
}

CServiceReference<CProfileManager> makeProfileManager(CEngine& engine) {
    return CServiceReference<CProfileManager>::adopt(new CProfileManager(fileSystemOf(engine)));
}

CServiceReference<CContentProcessorsManager> makeContentProcessorsManager(CEngine& engine) {
    ContentProcessorServices services;
    services.videoDriver = engine.getVideoDriverReference();
    services.audioDriver = engine.getAudioDriverReference();
    services.fileSystem = fileSystemOf(engine);
    services.nodeFactory = CEngineServices::instance()->getNodeFactoryReference();
    return CServiceReference<CContentProcessorsManager>::adopt(
        new CContentProcessorsManager(services));
}

CServiceReference<CContentManager> makeContentManager(CEngine& engine) {
    return CServiceReference<CContentManager>::adopt(new CContentManager(
        engine.getVideoDriverReference(), fileSystemOf(engine),
        CRefPointer<CContentProcessorsManager>::share(engine.getContentProcessorsManager())));
}

} // namespace

void registerFoundationLibrary() {
    EngineSubsystemFactories& factories = engineSubsystemFactories();
    factories.profileManager = &makeProfileManager;
    factories.contentProcessorsManager = &makeContentProcessorsManager;
    factories.contentManager = &makeContentManager;
}
