#pragma once

#include <cstdint>

#include "engine/core/Color.h"
#include "engine/core/ContentKey.h"
#include "engine/core/RefPointer.h"
#include "engine/io/Content.h"
#include "engine/video/Blitter.h"
#include "engine/video/ColorFormat.h"

// A raster image in main memory: width x height pixels of one colour format, rows contiguous
// (pitch = width x bytes per pixel). Content of type 'imag', handed out shared. Format and size
// never change; only the pixels do.
class CSoftwareImage : public CContent {
public:
    // The largest pixel buffer an image may have: sizes and pitches are signed 32-bit.
    static constexpr int64_t kMaxBufferBytes = INT32_MAX;

    // Whether an image of this format and size can exist (known format, non-negative size,
    // buffer within kMaxBufferBytes).
    static bool fits(int32_t format, int32_t width, int32_t height);

    // A zeroed image. A format or size that does not fit gives a 0 x 0 image, as does a
    // failed allocation; create reports both as none.
    CSoftwareImage(const CContentKey& key, int32_t format, int32_t width, int32_t height);
    // With adopt the image uses data as it is, else it copies pitch x height bytes of it.
    // An owned buffer is freed with std::free, so an adopted one must come from std::malloc.
    CSoftwareImage(const CContentKey& key, int32_t format, int32_t width, int32_t height,
                   void* data, bool adopt, bool ownsBuffer);
    // A copy of source converted to format; 0 x 0 without a source.
    CSoftwareImage(const CContentKey& key, int32_t format, const CSoftwareImage* source);

    // A zeroed image with one reference, or none when the size does not fit or memory is short.
    static CRefPointer<CSoftwareImage> create(const CContentKey& key, int32_t format, int32_t width,
                                              int32_t height);

    // A copy of source converted to format, or none without a source or when memory is short.
    static CRefPointer<CSoftwareImage> createCopy(const CContentKey& key, int32_t format,
                                                  const CSoftwareImage* source);

    uint32_t getContentType() const override { return contentType("imag"); }

    // The pixel as ARGB; 0 outside the image.
    CColor pixelAt(int32_t x, int32_t y) const;
    void fill(CColor color);
    // Copies the whole image into target at position ((0, 0) when none), clipped to target.
    bool copyTo(CSoftwareImage* target, const CPixelPoint* position = nullptr) const;
    // Writes the image into the top-left corner of a buffer at least as large, converting to
    // format. A pitch of 0 means width x bytes per pixel; a smaller pitch is refused.
    void copyToBuffer(void* buffer, int32_t width, int32_t height, int32_t format,
                      int32_t pitch) const;
    // Fills the buffer with the image scaled to width x height by nearest neighbour.
    void copyScaledToBuffer(void* buffer, int32_t width, int32_t height, int32_t format,
                            int32_t pitch) const;

    uint8_t* getData() { return m_data; }
    const uint8_t* getData() const { return m_data; }
    int32_t getWidth() const { return m_width; }
    int32_t getHeight() const { return m_height; }
    int32_t getFormat() const { return m_format; }
    uint32_t getBitsPerPixel() const { return m_bitsPerPixel; }
    int32_t getBytesPerPixel() const { return m_bytesPerPixel; }
    int32_t getPitch() const { return m_pitch; }
    size_t getBufferSize() const { return size_t(m_pitch) * size_t(m_height); }
    uint32_t getRedMask() const { return m_redMask; }
    uint32_t getGreenMask() const { return m_greenMask; }
    uint32_t getBlueMask() const { return m_blueMask; }
    uint32_t getAlphaMask() const { return m_alphaMask; }
    bool hasFooterFlag() const { return m_footerFlag; }
    void setFooterFlag(bool flag) { m_footerFlag = flag; }

protected:
    ~CSoftwareImage() override;

private:
    // Sets format, masks and sizes; falls back to 0 x 0 when the size does not fit.
    void setLayout(int32_t format, int32_t width, int32_t height);
    void allocateZeroed();

    uint8_t* m_data = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
    uint8_t m_bitsPerPixel = 0;
    int32_t m_bytesPerPixel = 0;
    int32_t m_pitch = 0;
    int32_t m_format = COLOR_FORMAT_A8R8G8B8;
    bool m_footerFlag = false;
    bool m_ownsBuffer = false;
    uint32_t m_redMask = 0;
    uint32_t m_greenMask = 0;
    uint32_t m_blueMask = 0;
    uint32_t m_alphaMask = 0;
};
