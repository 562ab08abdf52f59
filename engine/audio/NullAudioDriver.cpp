#include "engine/audio/NullAudioDriver.h"

#include <utility>

#include "engine/core/Event.h"

CNullAudioDriver::CNullAudioDriver(const AudioParameters& parameters,
                                   CRefPointer<IVirtualFileSystem> fileSystem,
                                   CSoundLoaderManager* soundLoaderManager)
    : m_parameters(parameters), m_fileSystem(std::move(fileSystem)),
      m_soundLoaderManager(soundLoaderManager) {
    setCategoryMask(CEvent::CategoryDevice | CEvent::CategorySystem);
}
