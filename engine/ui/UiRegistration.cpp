#include "engine/ui/UiRegistration.h"

#include "engine/core/EngineServiceFactories.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneRegistration.h"
#include "engine/ui/BackButtonNode.h"
#include "engine/ui/ButtonNode.h"
#include "engine/ui/CheckBoxNode.h"
#include "engine/ui/EditNode.h"
#include "engine/ui/EmitterProcessor.h"
#include "engine/ui/ListNode.h"
#include "engine/ui/MessageBoxNode.h"
#include "engine/ui/ParticleCollectionProcessor.h"
#include "engine/ui/ParticleEmitterFactory.h"
#include "engine/ui/ParticleSystemNode.h"
#include "engine/ui/ProgressBarNode.h"
#include "engine/ui/SliderNode.h"
#include "engine/ui/SoundNode.h"
#include "engine/ui/SpawnerNode.h"
#include "engine/ui/TabSceneNode.h"

namespace {

CServiceReference<CNodeFactory> makeNodeFactory() {
    CServiceReference<CNodeFactory> factory =
        CServiceReference<CNodeFactory>::adopt(new CNodeFactory());
    registerUiNodeTypes(*factory.get());
    return factory;
}

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

void registerUiNodeTypes(CNodeFactory& factory) {
    factory.registerNodeType(u"ParticleSystemNode", &createNodeOf<ParticleSystemNode>);
    factory.registerNodeType(u"SpawnerNode", &createNodeOf<SpawnerNode>);
    factory.registerNodeType(u"ButtonNode", &createNodeOf<ButtonNode>);
    factory.registerNodeType(u"BackButtonNode", &createNodeOf<BackButtonNode>);
    factory.registerNodeType(u"CheckBoxNode", &createNodeOf<CheckBoxNode>);
    factory.registerNodeType(u"EditNode", &createNodeOf<EditNode>);
    factory.registerNodeType(u"ListNode", &createNodeOf<ListNode>);
    factory.registerNodeType(u"TabSceneNode", &createNodeOf<TabSceneNode>);
    factory.registerNodeType(u"SliderNode", &createNodeOf<SliderNode>);
    factory.registerNodeType(u"ProgressBarNode", &createNodeOf<ProgressBarNode>);
    factory.registerNodeType(u"SoundNode", &createNodeOf<SoundNode>);
}

void registerUiLibrary() {
    registerSceneLibrary();
    engineServiceFactories().nodeFactory = &makeNodeFactory;
    MessageBoxBaseNode::creator() = &MessageBoxNode::create;
    engineServiceFactories().particleEmitterFactory = &makeParticleEmitterFactory;
    ContentProcessorFactories& processors = contentProcessorFactories();
    processors.particleCollection = &makeCollectionProcessor;
    processors.emitter = &makeEmitterProcessor;
}
