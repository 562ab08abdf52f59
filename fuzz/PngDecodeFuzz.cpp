// Feeds arbitrary bytes to the png decoder: every input must give an image or none, without
// a fault.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/io/MemoryBlockFile.h"
#include "engine/video/PngImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > size_t(INT32_MAX))
        return 0;
    auto* bytes = new uint8_t[size + 1];
    if (size != 0)
        std::memcpy(bytes, data, size);
    const CRefPointer<IInputFile> file(
        new CMemoryBlockFile(bytes, int32_t(size), u"input.png", true));
    const CRefPointer<CPngImageDecoder> decoder(new CPngImageDecoder());
    decoder->acceptsContent(file.get());
    file->seekTo(0, false);
    const CRefPointer<CSoftwareImage> image = decoder->load(file.get(), CContentKey());
    // The last pixel shows whether the buffer is as large as the image says.
    if (image)
        image->pixelAt(image->getWidth() - 1, image->getHeight() - 1);
    return 0;
}
