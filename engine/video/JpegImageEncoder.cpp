#include "engine/video/JpegImageEncoder.h"

#include <csetjmp>
#include <cstdlib>

#include "engine/video/JpegErrorRecovery.h"

namespace {

constexpr int32_t kDefaultQuality = 75;

// What the compression touches after the recovery point; nothing here has a destructor.
struct SJpegWrite {
    jpeg_compress_struct info;
    SJpegErrorManager error;
    const CSoftwareImage* rgb;
    uint8_t* buffer;       // ours, raw RGB size
    unsigned char* output; // where libjpeg put the bytes: our buffer or one it grew into
    unsigned long outputSize;
};

// Frees the bytes libjpeg allocated when the output outgrew our buffer.
void freeGrownOutput(SJpegWrite* write) {
    if (write->output != write->buffer)
        std::free(write->output);
    write->output = nullptr;
}

bool compressJpeg(SJpegWrite* write, int32_t quality) {
    jpeg_compress_struct* info = &write->info;
    info->err = useJpegErrorRecovery(&write->error);
    if (setjmp(write->error.recovery)) {
        // Makes the memory destination report the buffer it is using, which may be its own.
        if (info->dest && write->output)
            info->dest->term_destination(info);
        freeGrownOutput(write);
        jpeg_destroy_compress(info);
        return false;
    }
    jpeg_create_compress(info);
    // The destination grows beyond the raw size when it has to (tiny or noisy images).
    write->output = write->buffer;
    write->outputSize = (unsigned long)(write->rgb->getBufferSize());
    jpeg_mem_dest(info, &write->output, &write->outputSize);
    info->image_width = JDIMENSION(write->rgb->getWidth());
    info->image_height = JDIMENSION(write->rgb->getHeight());
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<uint8_t*>(write->rgb->getData()) +
                       size_t(info->next_scanline) * write->rgb->getPitch();
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    jpeg_destroy_compress(info);
    return true;
}

} // namespace

bool CJpegImageEncoder::acceptsExtension(const CStringW& fileName) const {
    return hasExtensionIgnoringCase(fileName, "jpg") || hasExtensionIgnoringCase(fileName, "jpeg");
}

bool CJpegImageEncoder::write(IOutputFile* file, const CSoftwareImage* image,
                              int32_t quality) const {
    if (!file || !image || !image->getData() || image->getFormat() == COLOR_FORMAT_A4R4G4B4 ||
        image->getBitsPerPixel() == 0)
        return false;
    const CRefPointer<CSoftwareImage> rgb = CSoftwareImage::create(
        CContentKey(), COLOR_FORMAT_R8G8B8, image->getWidth(), image->getHeight());
    if (!rgb)
        return false;
    for (int32_t y = 0; y < image->getHeight(); ++y)
        convertPixels(image->getData() + size_t(y) * image->getPitch(), image->getFormat(),
                      image->getWidth(), rgb->getData() + size_t(y) * rgb->getPitch(),
                      COLOR_FORMAT_R8G8B8);
    SJpegWrite write{};
    write.rgb = rgb.get();
    write.buffer = static_cast<uint8_t*>(std::malloc(rgb->getBufferSize()));
    if (!write.buffer)
        return false;
    bool written = compressJpeg(&write, quality == 0 ? kDefaultQuality : quality);
    if (written)
        written =
            write.outputSize <= INT32_MAX &&
            file->writeBytes(write.output, int32_t(write.outputSize)) == int32_t(write.outputSize);
    freeGrownOutput(&write);
    std::free(write.buffer);
    return written;
}
