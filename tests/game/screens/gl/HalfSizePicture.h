#pragma once

#include "engine/core/RefPointer.h"
#include "engine/video/SoftwareImage.h"

// A frame at half its width and height, which keeps a screen's golden small.
inline CRefPointer<CSoftwareImage> halfSizeOf(const CSoftwareImage& picture) {
    const CRefPointer<CSoftwareImage> half = CSoftwareImage::create(
        CContentKey(), picture.getFormat(), picture.getWidth() / 2, picture.getHeight() / 2);
    picture.copyScaledToBuffer(half->getData(), half->getWidth(), half->getHeight(),
                               half->getFormat(), half->getPitch());
    return half;
}
