#include "engine/video/PngImageDecoder.h"

#include <csetjmp>
#include <cstdlib>

#include "engine/core/Logger.h"
#include "engine/video/DecodedImageLimits.h"
#include "engine/video/PngStreamCallbacks.h"

namespace {

// Everything the decoding touches after the recovery point lives here, outside the frame that
// calls setjmp, and none of it has a destructor.
struct SPngRead {
    IInputFile* file;
    int64_t bytesPresent;
    const CContentKey* key;
    png_structp png;
    png_infop info;
    CSoftwareImage* image;
    png_bytep* rows;
};

// Asks libpng for 8-bit RGB or RGBA rows whatever the file holds; true when they have alpha.
bool requestRgbRows(png_structp png, png_infop info) {
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool isGrey = colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA;
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (bitDepth < 8) {
        if (isGrey)
            png_set_expand_gray_1_2_4_to_8(png);
        else
            png_set_packing(png);
    }
    if (hasTransparency)
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (isGrey)
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    const bool hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTransparency;
    if (hasAlpha)
        png_set_bgr(png);
    png_read_update_info(png, info);
    return hasAlpha;
}

CSoftwareImage* createImage(const CContentKey& key, int32_t format, int32_t width, int32_t height) {
    return CSoftwareImage::create(key, format, width, height).detach();
}

EPngResult readPng(SPngRead* read) {
    if (setjmp(png_jmpbuf(read->png))) {
        std::free(read->rows);
        read->rows = nullptr;
        if (read->image)
            read->image->release();
        read->image = nullptr;
        return EPngResult::LibraryError;
    }
    png_set_read_fn(read->png, read->file, readPngFromFile);
    png_set_sig_bytes(read->png, 8);
    png_read_info(read->png, read->info);
    const bool hasAlpha = requestRgbRows(read->png, read->info);
    const png_uint_32 width = png_get_image_width(read->png, read->info);
    const png_uint_32 height = png_get_image_height(read->png, read->info);
    const int32_t format = hasAlpha ? COLOR_FORMAT_A8R8G8B8 : COLOR_FORMAT_R8G8B8;
    if (!isCredibleImageSize(width, height, read->bytesPresent, kMaxPngPixelsPerByte))
        return EPngResult::ImageFailure;
    // The rows must be exactly what the image holds, or libpng would write past them.
    if (png_get_rowbytes(read->png, read->info) != size_t(width) * bytesPerPixelOf(format))
        png_error(read->png, "Unexpected row layout");
    read->image = createImage(*read->key, format, int32_t(width), int32_t(height));
    if (!read->image)
        return EPngResult::ImageFailure;
    read->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * (height ? height : 1)));
    if (!read->rows) {
        read->image->release();
        read->image = nullptr;
        return EPngResult::RowsFailure;
    }
    for (png_uint_32 y = 0; y < height; ++y)
        read->rows[y] = read->image->getData() + size_t(y) * read->image->getPitch();
    png_read_image(read->png, read->rows);
    png_read_end(read->png, nullptr);
    std::free(read->rows);
    read->rows = nullptr;
    return EPngResult::Done;
}

} // namespace

bool CPngImageDecoder::acceptsExtension(const CStringW& extension) const {
    return extension == u"png";
}

bool CPngImageDecoder::acceptsContent(IInputFile* file) const {
    png_byte signature[8];
    return file && file->readBytes(signature, 8) == 8 && png_sig_cmp(signature, 0, 8) == 0;
}

CRefPointer<CSoftwareImage> CPngImageDecoder::load(IInputFile* file, const CContentKey& key) const {
    return decodePng(file, key);
}

CRefPointer<CSoftwareImage> decodePng(IInputFile* file, const CContentKey& key) {
    if (!file)
        return nullptr;
    CLogger* log = CLogger::instance();
    const int64_t bytesPresent = int64_t(file->getLength()) - file->getPosition();
    png_byte signature[8];
    if (file->readBytes(signature, 8) != 8) {
        log->log(u"Can't read png file: " + file->getName(), CLogger::LevelError);
        return nullptr;
    }
    if (png_sig_cmp(signature, 0, 8) != 0) {
        log->log(u"Not really a png: " + file->getName(), CLogger::LevelError);
        return nullptr;
    }
    SPngRead read{file, bytesPresent, &key, nullptr, nullptr, nullptr, nullptr};
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, nullptr);
    if (!read.png) {
        log->log(u"Internal PNG create read struct failure: " + file->getName(),
                 CLogger::LevelError);
        return nullptr;
    }
    read.info = png_create_info_struct(read.png);
    if (!read.info) {
        log->log(u"Internal PNG create info struct failure: " + file->getName(),
                 CLogger::LevelError);
        png_destroy_read_struct(&read.png, nullptr, nullptr);
        return nullptr;
    }
    const EPngResult result = readPng(&read);
    png_destroy_read_struct(&read.png, &read.info, nullptr);
    if (result == EPngResult::ImageFailure)
        log->log(u"Internal PNG create image struct failure: " + file->getName(),
                 CLogger::LevelError);
    else if (result == EPngResult::RowsFailure)
        log->log(u"Internal PNG create row pointers failure: " + file->getName(),
                 CLogger::LevelError);
    return CRefPointer<CSoftwareImage>(result == EPngResult::Done ? read.image : nullptr);
}
