#pragma once

#include "engine/audio/SoundDecoder.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"
#include "engine/io/IOutputFile.h"

// Writes decoded sound into a file of one format.
class ISoundWriter : public CRefCounted {
public:
    virtual bool acceptsName(const CStringW& name) const = 0;
    // Writes the decoder's frames from its current position to its end.
    virtual bool write(IOutputFile* file, CSoundDecoder& decoder) const = 0;

protected:
    ~ISoundWriter() override = default;
};
