#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/String.h"
#include "engine/io/IOutputFile.h"
#include "engine/video/SoftwareImage.h"

// Writes software images in one file format.
class IImageEncoder : public virtual CRefCounted {
public:
    // Takes the extension of the whole file name and compares it ignoring ASCII letter case.
    virtual bool acceptsExtension(const CStringW& fileName) const = 0;
    virtual bool write(IOutputFile* file, const CSoftwareImage* image, int32_t quality) const = 0;
};

// Whether the extension of fileName is lowerExtension, ignoring the case of ASCII letters.
bool hasExtensionIgnoringCase(const CStringW& fileName, const char* lowerExtension);
