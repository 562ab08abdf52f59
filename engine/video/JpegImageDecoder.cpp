#include "engine/video/JpegImageDecoder.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <jerror.h>

#include "engine/video/DecodedImageLimits.h"
#include "engine/video/JpegErrorRecovery.h"

namespace {

constexpr int32_t kBlockSize = 4096;
// Upper bound for libjpeg's own working memory (whole-image buffers of progressive files).
constexpr long kMaxLibraryMemory = INT32_MAX;

struct SJpegSource {
    jpeg_source_mgr pub;
    IInputFile* file;
    JOCTET* buffer;
};

// What the decoding touches after the recovery point; nothing here has a destructor.
struct SJpegRead {
    jpeg_decompress_struct info;
    SJpegErrorManager error;
    uint8_t* pixels;
    JSAMPROW* rows;
    int32_t width;
    int32_t height;
};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

// A file that ends before the image does is damaged: the error stops the decoding at once
// instead of letting libjpeg make up the missing rows.
boolean fillInputBuffer(j_decompress_ptr info) {
    auto* source = reinterpret_cast<SJpegSource*>(info->src);
    const int32_t count = source->file->readBytes(source->buffer, kBlockSize);
    if (count <= 0)
        ERREXIT(info, JERR_INPUT_EOF);
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = size_t(count);
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count) {
    jpeg_source_mgr* source = info->src;
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        fillInputBuffer(info);
    }
    if (count > 0) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= size_t(count);
    }
}

void useFileSource(j_decompress_ptr info, IInputFile* file) {
    auto* source = static_cast<SJpegSource*>(
        info->mem->alloc_small(j_common_ptr(info), JPOOL_PERMANENT, sizeof(SJpegSource)));
    source->buffer = static_cast<JOCTET*>(
        info->mem->alloc_small(j_common_ptr(info), JPOOL_PERMANENT, kBlockSize));
    source->file = file;
    source->pub.init_source = initSource;
    source->pub.fill_input_buffer = fillInputBuffer;
    source->pub.skip_input_data = skipInputData;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = termSource;
    source->pub.bytes_in_buffer = 0;
    source->pub.next_input_byte = nullptr;
    info->src = &source->pub;
}

void freeRead(SJpegRead* read) {
    std::free(read->rows);
    std::free(read->pixels);
    read->rows = nullptr;
    read->pixels = nullptr;
}

// Leaves the pixels in read->pixels (R8G8B8 rows) on success.
bool readJpeg(SJpegRead* read, IInputFile* file) {
    jpeg_decompress_struct* info = &read->info;
    const int64_t bytesPresent = int64_t(file->getLength()) - file->getPosition();
    info->err = useJpegErrorRecovery(&read->error);
    if (setjmp(read->error.recovery)) {
        jpeg_destroy_decompress(info);
        freeRead(read);
        return false;
    }
    jpeg_create_decompress(info);
    info->mem->max_memory_to_use = kMaxLibraryMemory;
    useFileSource(info, file);
    jpeg_read_header(info, TRUE);
    info->out_color_space = JCS_RGB;
    info->do_fancy_upsampling = FALSE;
    if (!isCredibleImageSize(info->image_width, info->image_height, bytesPresent,
                             kMaxJpegPixelsPerByte)) {
        jpeg_destroy_decompress(info);
        return false;
    }
    jpeg_start_decompress(info);
    read->width = int32_t(info->output_width);
    read->height = int32_t(info->output_height);
    const size_t pitch = size_t(read->width) * 3;
    read->pixels = static_cast<uint8_t*>(std::calloc(pitch * size_t(read->height) + 1, 1));
    read->rows = static_cast<JSAMPROW*>(std::malloc(sizeof(JSAMPROW) * (read->height + 1u)));
    if (!read->pixels || !read->rows)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    for (int32_t y = 0; y < read->height; ++y)
        read->rows[y] = read->pixels + size_t(y) * pitch;
    while (info->output_scanline < info->output_height) {
        if (jpeg_read_scanlines(info, read->rows + info->output_scanline,
                                info->output_height - info->output_scanline) == 0)
            ERREXIT(info, JERR_INPUT_EOF);
    }
    jpeg_finish_decompress(info);
    jpeg_destroy_decompress(info);
    std::free(read->rows);
    read->rows = nullptr;
    return true;
}

} // namespace

CRefPointer<CSoftwareImage> decodeJpeg(IInputFile* file, const CContentKey& key) {
    if (!file)
        return nullptr;
    SJpegRead read{};
    if (!readJpeg(&read, file))
        return nullptr;
    return CRefPointer<CSoftwareImage>(new CSoftwareImage(key, COLOR_FORMAT_R8G8B8, read.width,
                                                          read.height, read.pixels, true, true));
}

bool CJpegImageDecoder::acceptsExtension(const CStringW& extension) const {
    return extension == u"jpg";
}

bool CJpegImageDecoder::acceptsContent(IInputFile* file) const {
    char head[10];
    if (!file || file->readBytes(head, 10) != 10)
        return false;
    return std::memcmp(head + 6, "JFIF", 4) == 0 || std::memcmp(head + 6, "FIFJ", 4) == 0;
}

CRefPointer<CSoftwareImage> CJpegImageDecoder::load(IInputFile* file,
                                                    const CContentKey& key) const {
    return decodeJpeg(file, key);
}
