#include "engine/video/PngImageEncoder.h"

#include <csetjmp>
#include <cstdlib>

#include "engine/core/Logger.h"
#include "engine/video/PngStreamCallbacks.h"

namespace {

// What the writing touches after the recovery point; nothing here has a destructor.
struct SPngWrite {
    const CSoftwareImage* image;
    png_structp png;
    png_infop info;
    uint8_t* pixels;
    png_bytep* rows;
};

bool hasAlpha(int32_t format) {
    return format == COLOR_FORMAT_A1R5G5B5 || format == COLOR_FORMAT_A4R4G4B4 ||
           format == COLOR_FORMAT_A8R8G8B8;
}

void freeBuffers(SPngWrite* write) {
    std::free(write->rows);
    std::free(write->pixels);
    write->rows = nullptr;
    write->pixels = nullptr;
}

EPngResult writePng(SPngWrite* write, IOutputFile* file) {
    if (setjmp(png_jmpbuf(write->png))) {
        freeBuffers(write);
        return EPngResult::LibraryError;
    }
    png_set_write_fn(write->png, file, writePngToFile, flushPngFile);
    const CSoftwareImage* image = write->image;
    const bool alpha = hasAlpha(image->getFormat());
    png_set_IHDR(write->png, write->info, png_uint_32(image->getWidth()),
                 png_uint_32(image->getHeight()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Alpha formats go out as A8R8G8B8 (bytes blue, green, red, alpha, swapped by libpng), the
    // others as bytes red, green, blue.
    const int32_t format = alpha ? COLOR_FORMAT_A8R8G8B8 : COLOR_FORMAT_R8G8B8;
    const size_t pitch = size_t(image->getWidth()) * bytesPerPixelOf(format);
    const size_t height = size_t(image->getHeight());
    write->pixels = static_cast<uint8_t*>(std::malloc(pitch * height + 1));
    if (!write->pixels)
        return EPngResult::ImageFailure;
    write->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * (height + 1)));
    if (!write->rows) {
        freeBuffers(write);
        return EPngResult::RowsFailure;
    }
    for (size_t y = 0; y < height; ++y) {
        write->rows[y] = write->pixels + y * pitch;
        convertPixels(image->getData() + y * image->getPitch(), image->getFormat(),
                      image->getWidth(), write->rows[y], format);
    }
    png_set_rows(write->png, write->info, write->rows);
    png_write_png(write->png, write->info, alpha ? PNG_TRANSFORM_BGR : PNG_TRANSFORM_IDENTITY,
                  nullptr);
    freeBuffers(write);
    return EPngResult::Done;
}

} // namespace

bool CPngImageEncoder::acceptsExtension(const CStringW& fileName) const {
    return hasExtensionIgnoringCase(fileName, "png");
}

bool CPngImageEncoder::write(IOutputFile* file, const CSoftwareImage* image, int32_t) const {
    if (!file || !image || !image->getData())
        return false;
    CLogger* log = CLogger::instance();
    SPngWrite write{image, nullptr, nullptr, nullptr, nullptr};
    write.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, nullptr);
    if (!write.png) {
        log->log(u"Internal PNG create write struct failure: " + file->getName(),
                 CLogger::LevelError);
        return false;
    }
    write.info = png_create_info_struct(write.png);
    if (!write.info) {
        log->log(u"Internal PNG create info struct failure: " + file->getName(),
                 CLogger::LevelError);
        png_destroy_write_struct(&write.png, nullptr);
        return false;
    }
    const EPngResult result = writePng(&write, file);
    png_destroy_write_struct(&write.png, &write.info);
    if (result == EPngResult::ImageFailure)
        log->log(u"Internal PNG create image failure: " + file->getName(), CLogger::LevelError);
    else if (result == EPngResult::RowsFailure)
        log->log(u"Internal PNG create row pointers failure: " + file->getName(),
                 CLogger::LevelError);
    return result == EPngResult::Done;
}
