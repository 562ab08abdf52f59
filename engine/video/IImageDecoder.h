#pragma once

#include "engine/core/ContentKey.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"
#include "engine/video/SoftwareImage.h"

// Turns files of one image format into software images. Decoders keep no state between calls.
class IImageDecoder : public virtual CRefCounted {
public:
    // The extension arrives lower-cased, without the dot.
    virtual bool acceptsExtension(const CStringW& extension) const = 0;
    // Looks at the file from its current position.
    virtual bool acceptsContent(IInputFile* file) const = 0;
    // The image carries key; none when the file does not decode.
    virtual CRefPointer<CSoftwareImage> load(IInputFile* file, const CContentKey& key) const = 0;
};
