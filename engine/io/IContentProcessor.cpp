#include "engine/io/IContentProcessor.h"

#include "engine/core/DeviceDriverEvents.h"

bool IContentProcessor::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

// The hooks are virtual, so this one map serves every processor class.
const EventMap& IContentProcessor::getEventMap() {
    static const EventMapEntry own[] = {
        {CEventVideoDriverRemoved::Id,
         &eventHandler<IContentProcessor, &IContentProcessor::onVideoDriverRemoved>},
        {CEventVideoDriverCreated::Id,
         &eventHandler<IContentProcessor, &IContentProcessor::onVideoDriverCreated>},
        {CEventAudioDriverRemoved::Id,
         &eventHandler<IContentProcessor, &IContentProcessor::onAudioDriverRemoved>},
        {CEventAudioDriverCreated::Id,
         &eventHandler<IContentProcessor, &IContentProcessor::onAudioDriverCreated>},
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool IContentProcessor::canSave(const CStringW&) const {
    return false;
}

void IContentProcessor::notifyCached(CEvent&, ContentCacheMap&) {}

bool IContentProcessor::onVideoDriverRemoved(CEvent&) {
    return false;
}

bool IContentProcessor::onVideoDriverCreated(CEvent&) {
    return false;
}

bool IContentProcessor::onAudioDriverRemoved(CEvent&) {
    return false;
}

bool IContentProcessor::onAudioDriverCreated(CEvent&) {
    return false;
}
