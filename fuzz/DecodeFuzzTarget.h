#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/ContentKey.h"
#include "engine/core/RefPointer.h"
#include "engine/video/SoftwareImage.h"
#include "fuzz/FuzzInputFile.h"

// Feeds arbitrary bytes, as a file of the given name, to an image decoder: every input must give
// an image or none, without a fault.
template <typename Decoder>
int fuzzImageDecoder(const uint8_t* data, size_t size, const char16_t* fileName) {
    if (size > size_t(INT32_MAX))
        return 0;
    const CRefPointer<IInputFile> file = makeFuzzInputFile(data, size, fileName);
    const CRefPointer<Decoder> decoder(new Decoder());
    decoder->acceptsContent(file.get());
    file->seekTo(0, false);
    const CRefPointer<CSoftwareImage> image = decoder->load(file.get(), CContentKey());
    // The last pixel shows whether the buffer is as large as the image says.
    if (image)
        image->pixelAt(image->getWidth() - 1, image->getHeight() - 1);
    return 0;
}
