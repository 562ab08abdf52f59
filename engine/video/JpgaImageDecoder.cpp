#include "engine/video/JpgaImageDecoder.h"

#include "engine/io/FileSlice.h"
#include "engine/io/LittleEndian.h"
#include "engine/video/JpegImageDecoder.h"

namespace {

constexpr uint32_t kJpgaMagic = 0x4A504741;
constexpr uint32_t kJpgaVersion = 256;
constexpr int32_t kHeaderSize = 12;

CRefPointer<CSoftwareImage> decodePart(IInputFile* file, const char16_t* name, int32_t offset,
                                       int32_t size) {
    const CRefPointer<IInputFile> part = createFileSlice(CStringW(name), file, offset, size);
    return decodeJpeg(part.get(), CContentKey());
}

} // namespace

bool CJpgaImageDecoder::acceptsExtension(const CStringW& extension) const {
    return extension == u"jpga";
}

bool CJpgaImageDecoder::acceptsContent(IInputFile* file) const {
    uint8_t magic[4];
    return file && file->readBytes(magic, 4) == 4 && readU32(magic) == kJpgaMagic;
}

CRefPointer<CSoftwareImage> CJpgaImageDecoder::load(IInputFile* file,
                                                    const CContentKey& key) const {
    uint8_t header[kHeaderSize];
    if (!file || file->readBytes(header, kHeaderSize) != kHeaderSize ||
        readU32(header + 4) != kJpgaVersion)
        return nullptr;
    const int32_t length = file->getLength();
    const uint32_t alphaOffset = readU32(header + 8);
    if (alphaOffset < uint32_t(kHeaderSize) || alphaOffset > uint32_t(length))
        return nullptr;
    const int32_t split = int32_t(alphaOffset);
    const CRefPointer<CSoftwareImage> color =
        decodePart(file, u"rgb.jpga", kHeaderSize, split - kHeaderSize);
    if (!color)
        return nullptr;
    const CRefPointer<CSoftwareImage> alpha =
        decodePart(file, u"alpha.jpga", split, length - split);
    if (!alpha || alpha->getWidth() < color->getWidth() || alpha->getHeight() < color->getHeight())
        return nullptr;
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::createCopy(key, COLOR_FORMAT_A8R8G8B8, color.get());
    if (!image)
        return nullptr;
    for (int32_t y = 0; y < image->getHeight(); ++y) {
        uint8_t* to = image->getData() + size_t(y) * image->getPitch() + 3;
        const uint8_t* red = alpha->getData() + size_t(y) * alpha->getPitch();
        for (int32_t x = 0; x < image->getWidth(); ++x, to += 4, red += 3)
            *to = *red;
    }
    return image;
}
