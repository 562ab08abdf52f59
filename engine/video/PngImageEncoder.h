#pragma once

#include "engine/video/IImageEncoder.h"

// Writes 8-bit PNG files: RGBA for images with alpha (A1R5G5B5, A4R4G4B4, A8R8G8B8), RGB for
// the others. The quality is ignored.
class CPngImageEncoder : public IImageEncoder {
public:
    bool acceptsExtension(const CStringW& fileName) const override;
    bool write(IOutputFile* file, const CSoftwareImage* image, int32_t quality) const override;
};
