#include "engine/video/SoftwareImage.h"

#include <cstdlib>
#include <cstring>

namespace {

struct SFormatMasks {
    uint32_t alpha, red, green, blue;
};

SFormatMasks masksOf(int32_t format) {
    switch (format) {
    case COLOR_FORMAT_A1R5G5B5:
        return {0x8000, 0x7C00, 0x03E0, 0x001F};
    case COLOR_FORMAT_A4R4G4B4:
        return {0xF000, 0x0F00, 0x00F0, 0x000F};
    case COLOR_FORMAT_R5G6B5:
        return {0, 0xF800, 0x07E0, 0x001F};
    case COLOR_FORMAT_R8G8B8:
        return {0, 0xFF0000, 0x00FF00, 0x0000FF};
    case COLOR_FORMAT_A8R8G8B8:
        return {0xFF000000, 0xFF0000, 0x00FF00, 0x0000FF};
    default:
        return {0, 0, 0, 0};
    }
}

// The pitch of a caller's buffer: 0 means rows of width pixels without a gap. None (0) when a
// row does not fit in it.
int32_t bufferPitch(int32_t pitch, int32_t width, int32_t bytesPerPixel) {
    if (pitch == 0)
        pitch = width * bytesPerPixel;
    return int64_t{pitch} < int64_t{width} * bytesPerPixel ? 0 : pitch;
}

} // namespace

bool CSoftwareImage::fits(int32_t format, int32_t width, int32_t height) {
    const int64_t bytes = bytesPerPixelOf(format);
    return bytes > 0 && width >= 0 && height >= 0 &&
           bytes * width <= kMaxBufferBytes / (height > 0 ? height : 1);
}

CSoftwareImage::CSoftwareImage(const CContentKey& key, int32_t format, int32_t width,
                               int32_t height)
    : CContent(key) {
    setHandOutMode(kShared);
    setLayout(format, width, height);
    allocateZeroed();
}

CSoftwareImage::CSoftwareImage(const CContentKey& key, int32_t format, int32_t width,
                               int32_t height, void* data, bool adopt, bool ownsBuffer)
    : CContent(key) {
    setHandOutMode(kShared);
    setLayout(format, width, height);
    if (!adopt) {
        // A buffer the image made itself is always its own, whatever the caller says.
        allocateZeroed();
        if (m_data && data)
            std::memcpy(m_data, data, getBufferSize());
        return;
    }
    if (!data || m_width == 0 || m_height == 0) {
        if (ownsBuffer)
            std::free(data);
        setLayout(format, 0, 0);
        return;
    }
    m_data = static_cast<uint8_t*>(data);
    m_ownsBuffer = ownsBuffer;
}

CSoftwareImage::CSoftwareImage(const CContentKey& key, int32_t format, const CSoftwareImage* source)
    : CContent(key) {
    setHandOutMode(kShared);
    setLayout(format, source ? source->m_width : 0, source ? source->m_height : 0);
    allocateZeroed();
    if (!source || !m_data)
        return;
    m_footerFlag = source->m_footerFlag;
    blitImage(BLIT_COPY, source, nullptr, this, nullptr, nullptr, CColor());
}

CSoftwareImage::~CSoftwareImage() {
    if (m_ownsBuffer)
        std::free(m_data);
}

CRefPointer<CSoftwareImage> CSoftwareImage::create(const CContentKey& key, int32_t format,
                                                   int32_t width, int32_t height) {
    if (!fits(format, width, height))
        return nullptr;
    CRefPointer<CSoftwareImage> image(new CSoftwareImage(key, format, width, height));
    if (image->m_width != width || image->m_height != height)
        return nullptr;
    return image;
}

CRefPointer<CSoftwareImage> CSoftwareImage::createCopy(const CContentKey& key, int32_t format,
                                                       const CSoftwareImage* source) {
    if (!source || !fits(format, source->m_width, source->m_height))
        return nullptr;
    CRefPointer<CSoftwareImage> copy(new CSoftwareImage(key, format, source));
    if (copy->m_width != source->m_width || copy->m_height != source->m_height)
        return nullptr;
    return copy;
}

void CSoftwareImage::setLayout(int32_t format, int32_t width, int32_t height) {
    if (!fits(format, width, height)) {
        width = 0;
        height = 0;
    }
    const SFormatMasks masks = masksOf(format);
    m_format = format;
    m_width = width;
    m_height = height;
    m_bitsPerPixel = uint8_t(bitsPerPixelOf(format));
    m_bytesPerPixel = m_bitsPerPixel / 8;
    m_pitch = width * m_bytesPerPixel;
    m_alphaMask = masks.alpha;
    m_redMask = masks.red;
    m_greenMask = masks.green;
    m_blueMask = masks.blue;
}

void CSoftwareImage::allocateZeroed() {
    const size_t bytes = getBufferSize();
    // calloc leaves fresh pages untouched until written, so a large image that a damaged file
    // only declares costs no memory.
    m_data = bytes ? static_cast<uint8_t*>(std::calloc(bytes, 1)) : nullptr;
    m_ownsBuffer = m_data != nullptr;
    if (bytes && !m_data)
        setLayout(m_format, 0, 0);
}

CColor CSoftwareImage::pixelAt(int32_t x, int32_t y) const {
    if (uint32_t(x) >= uint32_t(m_width) || uint32_t(y) >= uint32_t(m_height))
        return CColor();
    return CColor(
        argbFromPixel(m_data + size_t(y) * m_pitch + size_t(x) * m_bytesPerPixel, m_format));
}

void CSoftwareImage::fill(CColor color) {
    if (!m_data)
        return;
    uint8_t pixel[4];
    pixelFromArgb(color.value, pixel, m_format);
    for (int32_t x = 0; x < m_width; ++x)
        std::memcpy(m_data + size_t(x) * m_bytesPerPixel, pixel, m_bytesPerPixel);
    for (int32_t y = 1; y < m_height; ++y)
        std::memcpy(m_data + size_t(y) * m_pitch, m_data, m_pitch);
}

bool CSoftwareImage::copyTo(CSoftwareImage* target, const CPixelPoint* position) const {
    return target && blitImage(BLIT_COPY, this, nullptr, target, nullptr, position, CColor());
}

void CSoftwareImage::copyToBuffer(void* buffer, int32_t width, int32_t height, int32_t format,
                                  int32_t pitch) const {
    const int32_t bytes = bytesPerPixelOf(format);
    if (!buffer || width <= 0 || height <= 0 || width < m_width || height < m_height ||
        bytes == 0 || !m_data)
        return;
    pitch = bufferPitch(pitch, width, bytes);
    if (pitch == 0)
        return;
    auto* to = static_cast<uint8_t*>(buffer);
    if (format == m_format && pitch == m_pitch) {
        std::memcpy(to, m_data, getBufferSize());
        return;
    }
    for (int32_t y = 0; y < m_height; ++y)
        convertPixels(m_data + size_t(y) * m_pitch, m_format, m_width, to + size_t(y) * pitch,
                      format);
}

void CSoftwareImage::copyScaledToBuffer(void* buffer, int32_t width, int32_t height, int32_t format,
                                        int32_t pitch) const {
    const int32_t bytes = bytesPerPixelOf(format);
    if (!buffer || width <= 0 || height <= 0 || bytes == 0 || !m_data)
        return;
    pitch = bufferPitch(pitch, width, bytes);
    if (pitch == 0)
        return;
    auto* to = static_cast<uint8_t*>(buffer);
    const size_t rowBytes = size_t(width) * bytes;
    if (format == m_format && width == m_width && height == m_height) {
        if (pitch == m_pitch) {
            std::memcpy(to, m_data, getBufferSize());
            return;
        }
        for (int32_t y = 0; y < height; ++y) {
            std::memcpy(to + size_t(y) * pitch, m_data + size_t(y) * m_pitch, rowBytes);
            std::memset(to + size_t(y) * pitch + rowBytes, 0, size_t(pitch) - rowBytes);
        }
        return;
    }
    const float stepX = float(m_width) / float(width);
    const float stepY = float(m_height) / float(height);
    float sourceY = 0;
    for (int32_t y = 0; y < height; ++y, sourceY += stepY) {
        // Float steps can round past the last row or column; the index is clamped.
        const int32_t row = int32_t(sourceY) < m_height ? int32_t(sourceY) : m_height - 1;
        const uint8_t* sourceRow = m_data + size_t(row) * m_pitch;
        uint8_t* out = to + size_t(y) * pitch;
        float sourceX = 0;
        for (int32_t x = 0; x < width; ++x, sourceX += stepX, out += bytes) {
            const int32_t column = int32_t(sourceX) < m_width ? int32_t(sourceX) : m_width - 1;
            convertPixels(sourceRow + size_t(column) * m_bytesPerPixel, m_format, 1, out, format);
        }
    }
}
