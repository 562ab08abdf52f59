#pragma once

#include "engine/video/IImageEncoder.h"

// Writes baseline JPEG files through libjpeg; alpha is dropped. A4R4G4B4 images are refused.
class CJpegImageEncoder : public IImageEncoder {
public:
    // "jpg" or "jpeg", in any letter case.
    bool acceptsExtension(const CStringW& fileName) const override;
    // A quality of 0 means 75.
    bool write(IOutputFile* file, const CSoftwareImage* image, int32_t quality) const override;
};
