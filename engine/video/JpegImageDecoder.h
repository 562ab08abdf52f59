#pragma once

#include "engine/video/IImageDecoder.h"

// JPEG files through libjpeg, decoded to R8G8B8.
class CJpegImageDecoder : public IImageDecoder {
public:
    bool acceptsExtension(const CStringW& extension) const override;
    // The letters "JFIF" (or "FIFJ") six bytes in.
    bool acceptsContent(IInputFile* file) const override;
    CRefPointer<CSoftwareImage> load(IInputFile* file, const CContentKey& key) const override;
};

// Decodes a whole JPEG file from its current position into an R8G8B8 image; none when the file
// is damaged or ends before the image does. The qimg and jpga decoders share it.
CRefPointer<CSoftwareImage> decodeJpeg(IInputFile* file, const CContentKey& key);
