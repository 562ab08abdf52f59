#include "engine/video/QimgImageDecoder.h"

#include "engine/core/Logger.h"
#include "engine/io/FileSlice.h"
#include "engine/io/LittleEndian.h"
#include "engine/video/DecodedImageLimits.h"
#include "engine/video/JpegImageDecoder.h"
#include "engine/video/PngImageDecoder.h"

namespace {

constexpr uint32_t kQimgMagic = 0x51494D47;
constexpr uint32_t kQimgVersion = 256;
constexpr int32_t kFooterSize = 16;

enum EPartCoding : uint8_t { PART_NONE = 0, PART_RAW = 1, PART_PNG = 2, PART_JPEG = 3 };

struct SQimgFooter {
    uint32_t split;
    uint8_t alphaCoding;
    uint8_t colorCoding;
    uint8_t flag;
    uint16_t colorFormat;
    uint16_t version;
};

// A footer read short keeps the defaults in the bytes it did not reach.
SQimgFooter readFooter(IInputFile* file) {
    uint8_t bytes[kFooterSize] = {0, 0, 0, 0,   PART_RAW, PART_RAW, 0,  0, COLOR_FORMAT_A8R8G8B8,
                                  0, 0, 1, 'G', 'M',      'I',      'Q'};
    file->seekTo(file->getLength() - kFooterSize, false);
    file->readBytes(bytes, kFooterSize);
    return {readU32(bytes), bytes[4], bytes[5], bytes[6], readU16(bytes + 8), readU16(bytes + 10)};
}

// A short part is zero-filled, but only so far: the missing bytes may outnumber the bytes present
// by no more than this, so that a few bytes never declare a large image.
constexpr int64_t kMaxMissingBeyondPresent = 64 * 1024;

bool isCredibleRawSize(uint32_t width, uint32_t height, int32_t format, int64_t present) {
    if (width > kMaxDecodedImageSide || height > kMaxDecodedImageSide)
        return false;
    const int64_t declared = int64_t(width) * height * bytesPerPixelOf(format);
    return declared - present <= present + kMaxMissingBeyondPresent;
}

// Width, height, then rows of pixels. Pixel data shorter than the size declares is logged and
// the rest of the image stays zero.
CRefPointer<CSoftwareImage> readRawPart(IInputFile* part, int32_t format, const CContentKey& key) {
    uint8_t header[8];
    if (part->readBytes(header, 8) != 8)
        return nullptr;
    const uint32_t width = readU32(header);
    const uint32_t height = readU32(header + 4);
    const int32_t available = part->getLength() - part->getPosition();
    if (!isCredibleRawSize(width, height, format, available))
        return nullptr;
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(key, format, int32_t(width), int32_t(height));
    if (!image)
        return nullptr;
    const int32_t wanted = int32_t(image->getBufferSize());
    const int32_t count = wanted < available ? wanted : available;
    const int32_t got = count > 0 ? part->readBytes(image->getData(), count) : 0;
    if (got < wanted)
        CLogger::instance()->log(part->getName() + u" RAW data size mismatch!",
                                 CLogger::LevelWarning);
    return image;
}

CRefPointer<CSoftwareImage> readPart(IInputFile* file, const char16_t* name, int32_t offset,
                                     int32_t size, uint8_t coding, int32_t format,
                                     const CContentKey& key) {
    const CRefPointer<IInputFile> part = createFileSlice(CStringW(name), file, offset, size);
    switch (coding) {
    case PART_RAW:
        return readRawPart(part.get(), format, key);
    case PART_PNG:
        return decodePng(part.get(), key);
    case PART_JPEG:
        return decodeJpeg(part.get(), key);
    default:
        return nullptr;
    }
}

bool carriesAlpha(int32_t format) {
    return format == COLOR_FORMAT_A1R5G5B5 || format == COLOR_FORMAT_A4R4G4B4 ||
           format == COLOR_FORMAT_A8R8G8B8;
}

// The first byte of each alpha pixel becomes the alpha of the colour pixel at the same place.
void takeAlpha(CSoftwareImage* color, const CSoftwareImage* alpha) {
    const int32_t format = alpha->getFormat();
    // A 0-wide image has no pixel buffer to point into.
    if ((format != COLOR_FORMAT_A8R8G8B8 && format != COLOR_FORMAT_R8G8B8) ||
        color->getWidth() == 0)
        return;
    for (int32_t y = 0; y < color->getHeight(); ++y) {
        uint8_t* to = color->getData() + size_t(y) * color->getPitch() + 3;
        const uint8_t* from = alpha->getData() + size_t(y) * alpha->getPitch();
        for (int32_t x = 0; x < color->getWidth(); ++x, to += 4, from += alpha->getBytesPerPixel())
            *to = *from;
    }
}

} // namespace

bool CQimgImageDecoder::acceptsExtension(const CStringW& extension) const {
    return extension == u"qimg";
}

bool CQimgImageDecoder::acceptsContent(IInputFile* file) const {
    uint8_t magic[4];
    return file && file->getLength() >= 4 && file->seekTo(file->getLength() - 4, false) &&
           file->readBytes(magic, 4) == 4 && readU32(magic) == kQimgMagic;
}

CRefPointer<CSoftwareImage> CQimgImageDecoder::load(IInputFile* file,
                                                    const CContentKey& key) const {
    if (!file || file->getLength() < kFooterSize)
        return nullptr;
    const SQimgFooter footer = readFooter(file);
    const int32_t partsEnd = file->getLength() - kFooterSize;
    const int32_t format = footer.colorFormat;
    if (footer.version > kQimgVersion || footer.split > uint32_t(partsEnd) ||
        bitsPerPixelOf(format) == 0)
        return nullptr;
    const int32_t split = int32_t(footer.split);
    CRefPointer<CSoftwareImage> color =
        readPart(file, u"rgb.qimg", 0, split, footer.colorCoding, format, key);
    if (!color)
        return nullptr;
    if (footer.alphaCoding != PART_NONE && carriesAlpha(format)) {
        const CRefPointer<CSoftwareImage> alpha =
            readPart(file, u"alpha.qimg", split, partsEnd - split, footer.alphaCoding, format,
                     CContentKey());
        if (!alpha || alpha->getWidth() < color->getWidth() ||
            alpha->getHeight() < color->getHeight())
            return nullptr;
        if (color->getFormat() != COLOR_FORMAT_A8R8G8B8)
            color = CSoftwareImage::createCopy(key, COLOR_FORMAT_A8R8G8B8, color.get());
        if (!color)
            return nullptr;
        takeAlpha(color.get(), alpha.get());
    }
    if (color->getFormat() != format)
        color = CSoftwareImage::createCopy(key, format, color.get());
    if (!color)
        return nullptr;
    color->setFooterFlag(footer.flag != 0);
    return color;
}
