#pragma once

#include "engine/audio/ISoundLoader.h"

// Ogg Vorbis files, by the extension "ogg" or a stream that opens.
class COggSoundLoader : public ISoundLoader {
public:
    bool acceptsExtension(const CStringW& extension) const override;
    bool acceptsContent(IInputFile* file) const override;
    CRefPointer<CSoundDecoder> load(IInputFile* file, const CContentKey& key) const override;
};
