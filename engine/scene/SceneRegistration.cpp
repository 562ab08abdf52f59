#include "engine/scene/SceneRegistration.h"

#include "engine/core/Engine.h"
#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/platform/PlatformRegistration.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNodeProcessor.h"

namespace {

CServiceReference<CNodeFactory> makeNodeFactory() {
    return CServiceReference<CNodeFactory>::adopt(new CNodeFactory());
}

CServiceReference<SceneManager> makeSceneManager(CEngine& engine) {
    auto* manager = new SceneManager(CContentKey(), nullptr, nullptr);
    manager->setEngine(&engine);
    return CServiceReference<SceneManager>::adopt(manager);
}

CRefPointer<IContentProcessor> makeSceneNodeProcessor(const ContentProcessorServices& services) {
    CServiceReference<CNodeFactory> factory = services.nodeFactory;
    return CRefPointer<IContentProcessor>(
        new CSceneNodeProcessor(std::move(factory).toRefPointer()));
}

} // namespace

void registerSceneLibrary() {
    registerPlatformLibrary();
    engineServiceFactories().nodeFactory = &makeNodeFactory;
    engineSubsystemFactories().sceneManager = &makeSceneManager;
    contentProcessorFactories().sceneNode = &makeSceneNodeProcessor;
}
