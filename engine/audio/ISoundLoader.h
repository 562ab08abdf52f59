#pragma once

#include "engine/audio/SoundDecoder.h"
#include "engine/core/ContentKey.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"

// Makes decoders for one sound format.
class ISoundLoader : public CRefCounted {
public:
    // The extension arrives lower-cased, without the dot.
    virtual bool acceptsExtension(const CStringW& extension) const = 0;
    // Looks at the file from its current position.
    virtual bool acceptsContent(IInputFile* file) const = 0;
    // A decoder with at least one frame, or none.
    virtual CRefPointer<CSoundDecoder> load(IInputFile* file, const CContentKey& key) const = 0;

protected:
    ~ISoundLoader() override = default;
};
