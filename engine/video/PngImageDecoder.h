#pragma once

#include "engine/video/IImageDecoder.h"

// PNG files through libpng. Every colour type and bit depth loads as 8-bit R8G8B8, or as
// A8R8G8B8 when the file has alpha or a transparency chunk.
class CPngImageDecoder : public IImageDecoder {
public:
    bool acceptsExtension(const CStringW& extension) const override;
    bool acceptsContent(IInputFile* file) const override;
    CRefPointer<CSoftwareImage> load(IInputFile* file, const CContentKey& key) const override;
};

// Decodes a whole PNG file from its current position; none when it is damaged. The qimg decoder
// shares it.
CRefPointer<CSoftwareImage> decodePng(IInputFile* file, const CContentKey& key);
