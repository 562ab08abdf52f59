#pragma once

#include "engine/audio/ISoundLoader.h"

// RIFF/WAVE files, by the extension "wav" or a successful chunk walk.
class CWaveSoundLoader : public ISoundLoader {
public:
    bool acceptsExtension(const CStringW& extension) const override;
    bool acceptsContent(IInputFile* file) const override;
    CRefPointer<CSoundDecoder> load(IInputFile* file, const CContentKey& key) const override;
};
