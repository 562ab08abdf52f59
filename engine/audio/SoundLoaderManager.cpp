#include "engine/audio/SoundLoaderManager.h"

#include "engine/audio/OggSoundLoader.h"
#include "engine/audio/WaveSoundLoader.h"
#include "engine/audio/WaveSoundWriter.h"
#include "engine/io/LoaderSearch.h"

CSoundLoaderManager::CSoundLoaderManager() {
    m_loaders.append(CRefPointer<ISoundLoader>(new CWaveSoundLoader()));
    m_writers.append(CRefPointer<ISoundWriter>(new CWaveSoundWriter()));
    m_loaders.append(CRefPointer<ISoundLoader>(new COggSoundLoader()));
}

CRefPointer<CSoundDecoder> CSoundLoaderManager::loadSound(IInputFile* file,
                                                          const CContentKey& key) const {
    if (!file)
        return nullptr;
    return loadByExtensionThenContent(
        m_loaders, *file, [&](const ISoundLoader& loader) { return loader.load(file, key); });
}
