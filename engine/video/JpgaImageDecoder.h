#pragma once

#include "engine/video/IImageDecoder.h"

// The engine's jpga container: a 12-byte header ("AGPJ", version, alpha offset), a colour JPEG
// and a JPEG whose red channel is the alpha. Loads as A8R8G8B8.
class CJpgaImageDecoder : public IImageDecoder {
public:
    bool acceptsExtension(const CStringW& extension) const override;
    bool acceptsContent(IInputFile* file) const override;
    CRefPointer<CSoftwareImage> load(IInputFile* file, const CContentKey& key) const override;
};
