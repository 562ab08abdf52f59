#include "engine/video/PngStreamCallbacks.h"

#include <cstdint>

#include "engine/core/Logger.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IOutputFile.h"

namespace {

// Apart from onPngError, so that the frame which jumps holds no object with a destructor.
void logPngError(png_const_charp message) {
    CLogger::instance()->log(u"PNG FATAL ERROR: " + CStringW(message), CLogger::LevelError);
}

} // namespace

void onPngError(png_structp png, png_const_charp message) {
    logPngError(message);
    png_longjmp(png, 1);
}

void readPngFromFile(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<IInputFile*>(png_get_io_ptr(png));
    if (length > size_t(INT32_MAX) || file->readBytes(data, int32_t(length)) != int32_t(length))
        png_error(png, "Read Error");
}

void writePngToFile(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<IOutputFile*>(png_get_io_ptr(png));
    if (length > size_t(INT32_MAX) || file->writeBytes(data, int32_t(length)) != int32_t(length))
        png_error(png, "Write Error");
}

void flushPngFile(png_structp) {}
