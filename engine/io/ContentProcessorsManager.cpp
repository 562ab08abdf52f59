#include "engine/io/ContentProcessorsManager.h"

#include <utility>

#include "engine/core/DeviceDriverEvents.h"

CContentProcessorsManager::CContentProcessorsManager(ContentProcessorServices services,
                                                     const ContentProcessorFactories& factories)
    : m_services(std::move(services)) {
    setCategoryMask(CEvent::CategoryDevice);
    const ContentProcessorFactory inOrder[] = {
        factories.imageTexture,
        factories.atlasTexture,
        factories.atlasCollection,
        factories.image,
        factories.sceneNode,
        factories.font,
        factories.particleCollection,
        factories.emitter,
        factories.sound,
        factories.soundPack,
    };
    for (const ContentProcessorFactory factory : inOrder) {
        if (factory)
            registerProcessor(factory(m_services));
    }
}

CContentProcessorsManager::~CContentProcessorsManager() = default;

bool CContentProcessorsManager::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

const EventMap& CContentProcessorsManager::getEventMap() {
    static const EventMapEntry own[] = {
        {CEventVideoDriverRemoved::Id,
         &eventHandler<CContentProcessorsManager,
                       &CContentProcessorsManager::onVideoDriverRemoved>},
        {CEventVideoDriverCreated::Id,
         &eventHandler<CContentProcessorsManager,
                       &CContentProcessorsManager::onVideoDriverCreated>},
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool CContentProcessorsManager::sendToChildren(int32_t, CEvent& event) {
    return dispatchToProcessors(event);
}

bool CContentProcessorsManager::dispatchToProcessors(CEvent& event) {
    for (const CRefPointer<IContentProcessor>& processor : m_processors) {
        if ((processor->getCategoryMask() & event.getCategory()) != 0)
            processor->OnEvent(event);
    }
    return false;
}

IContentProcessor* CContentProcessorsManager::findProcessor(uint32_t type) const {
    for (const CRefPointer<IContentProcessor>& processor : m_processors) {
        if (processor->getContentType() == type)
            return processor.get();
    }
    return nullptr;
}

void CContentProcessorsManager::registerProcessor(CRefPointer<IContentProcessor> processor) {
    if (!processor || findProcessor(processor->getContentType()))
        return;
    m_processors.append(std::move(processor));
}

bool CContentProcessorsManager::onVideoDriverRemoved(CEvent&) {
    m_services.videoDriver.reset();
    return false;
}

bool CContentProcessorsManager::onVideoDriverCreated(CEvent& event) {
    m_services.videoDriver = static_cast<CEventVideoDriverCreated&>(event).getDriver();
    return false;
}
