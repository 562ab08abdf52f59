#include "engine/audio/NullAudioDriver.h"

#include <utility>

#include "engine/core/Event.h"

CNullAudioDriver::CNullAudioDriver(const AudioParameters& parameters,
                                   CRefPointer<IVirtualFileSystem> fileSystem,
                                   CSoundLoaderManager* soundLoaderManager)
    : m_parameters(parameters), m_fileSystem(std::move(fileSystem)),
      m_soundLoaderManager(CRefPointer<CSoundLoaderManager>::share(soundLoaderManager)) {
    setCategoryMask(CEvent::CategoryDevice | CEvent::CategorySystem);
}

bool CNullAudioDriver::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

const EventMap& CNullAudioDriver::getEventMap() {
    static const EventMapEntry own[] = {
        {CEventSystemFlowUpdate::Id, &eventHandler<CNullAudioDriver, &CNullAudioDriver::update>},
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

CRefPointer<CSoundSource> CNullAudioDriver::createSoundFromPath(const CStringW& path,
                                                                const CContentKey& key) {
    if (!m_fileSystem)
        return nullptr;
    const CRefPointer<IInputFile> file = m_fileSystem->openInputFile(path);
    return file ? createSound(file.get(), key) : nullptr;
}

bool CNullAudioDriver::update(CEvent&) {
    return false;
}
