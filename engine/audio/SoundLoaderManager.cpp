#include "engine/audio/SoundLoaderManager.h"

#include "engine/audio/OggSoundLoader.h"
#include "engine/audio/WaveSoundLoader.h"
#include "engine/audio/WaveSoundWriter.h"
#include "engine/io/Path.h"

CSoundLoaderManager::CSoundLoaderManager() {
    m_loaders.append(CRefPointer<ISoundLoader>(new CWaveSoundLoader()));
    m_writers.append(CRefPointer<ISoundWriter>(new CWaveSoundWriter()));
    m_loaders.append(CRefPointer<ISoundLoader>(new COggSoundLoader()));
}

CRefPointer<CSoundDecoder> CSoundLoaderManager::loadSound(IInputFile* file,
                                                          const CContentKey& key) const {
    if (!file)
        return nullptr;
    const CStringW extension = lowerCaseExtensionOf(file->getName());
    for (const CRefPointer<ISoundLoader>& loader : m_loaders) {
        if (!loader->acceptsExtension(extension))
            continue;
        file->seekTo(0, false);
        if (CRefPointer<CSoundDecoder> decoder = loader->load(file, key))
            return decoder;
    }
    for (const CRefPointer<ISoundLoader>& loader : m_loaders) {
        file->seekTo(0, false);
        if (!loader->acceptsContent(file))
            continue;
        file->seekTo(0, false);
        if (CRefPointer<CSoundDecoder> decoder = loader->load(file, key))
            return decoder;
    }
    return nullptr;
}
