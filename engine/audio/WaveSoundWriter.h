#pragma once

#include "engine/audio/ISoundWriter.h"

// Writes 8- or 16-bit PCM as a RIFF/WAVE file.
class CWaveSoundWriter : public ISoundWriter {
public:
    // Any name containing ".wav".
    bool acceptsName(const CStringW& name) const override;
    // False for a decoder without a sample type or with more data than a RIFF file can hold.
    bool write(IOutputFile* file, CSoundDecoder& decoder) const override;
};
