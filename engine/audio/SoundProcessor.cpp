#include "engine/audio/SoundProcessor.h"

#include <utility>

#include "engine/core/DeviceDriverEvents.h"

CSoundProcessor::CSoundProcessor(CServiceReference<IAudioDriver> driver)
    : m_driver(std::move(driver)) {
    setCategoryMask(CEvent::CategoryDevice);
}

CRefPointer<IContentProcessor> CSoundProcessor::create(const ContentProcessorServices& services) {
    return CRefPointer<IContentProcessor>(new CSoundProcessor(services.audioDriver));
}

CRefPointer<CContent> CSoundProcessor::load(CContentManager&, IInputFile* file,
                                            const CContentKey& key) {
    if (!m_driver.get())
        return nullptr;
    return m_driver->createSound(file, key);
}

void CSoundProcessor::notifyCached(CEvent& event, ContentCacheMap& cache) {
    if (event.getTypeId() == CEventAudioDriverRemoved::Id)
        cache.clear();
}

bool CSoundProcessor::onAudioDriverRemoved(CEvent&) {
    m_driver.reset();
    return false;
}

bool CSoundProcessor::onAudioDriverCreated(CEvent& event) {
    m_driver = static_cast<CEventAudioDriverCreated&>(event).getDriver();
    return false;
}
