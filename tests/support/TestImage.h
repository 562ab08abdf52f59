#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/video/ColorFormat.h"
#include "engine/video/SoftwareImage.h"

// An image whose pixels come from fn(x, y) as ARGB.
template <typename Fn>
CRefPointer<CSoftwareImage> makeTestImage(int32_t width, int32_t height, Fn fn,
                                          int32_t format = COLOR_FORMAT_A8R8G8B8) {
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(CContentKey(), format, width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x)
            pixelFromArgb(fn(x, y),
                          image->getData() + size_t(y) * size_t(image->getPitch()) +
                              size_t(x) * size_t(image->getBytesPerPixel()),
                          format);
    }
    return image;
}
