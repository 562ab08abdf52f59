#include "engine/video/Blitter.h"

#include <cstring>

#include "engine/video/ColorFormat.h"
#include "engine/video/SoftwareImage.h"

namespace {

struct SBlitJob {
    uint32_t color;
    const uint8_t* source;
    uint8_t* target;
    int32_t width;
    int32_t height;
    int32_t sourcePitch;
    int32_t targetPitch;
    int32_t sourceBytes;
    int32_t targetBytes;
    int32_t sourceFormat;
    int32_t targetFormat;
};

using BlitRoutine = void (*)(const SBlitJob& job);

// Format slots of the routine table besides the format numbers themselves.
constexpr int32_t kSameFormat = -1;    // target and source share one format
constexpr int32_t kAnyFormat = -2;     // anything, a missing source included
constexpr int32_t kAnyImage = -3;      // any known format of an existing image
constexpr int32_t kMissingSource = -4; // what a blit without a source counts as

template <int SourceBytes, int TargetBytes, typename PerPixel>
void forEachPixelPair(const SBlitJob& job, PerPixel perPixel) {
    for (int32_t y = 0; y < job.height; ++y) {
        const uint8_t* from = job.source + size_t(y) * job.sourcePitch;
        uint8_t* to = job.target + size_t(y) * job.targetPitch;
        for (int32_t x = 0; x < job.width; ++x, from += SourceBytes, to += TargetBytes)
            perPixel(from, to);
    }
}

template <int TargetBytes, typename PerPixel>
void forEachTargetPixel(const SBlitJob& job, PerPixel perPixel) {
    for (int32_t y = 0; y < job.height; ++y) {
        uint8_t* to = job.target + size_t(y) * job.targetPitch;
        for (int32_t x = 0; x < job.width; ++x, to += TargetBytes)
            perPixel(to);
    }
}

// Moves dst towards src by a / 256 per channel; the result's alpha byte is 0.
inline uint32_t blend32(uint32_t src, uint32_t dst, uint32_t a) {
    const uint32_t dstRB = dst & 0x00FF00FF;
    const uint32_t dstG = dst & 0x0000FF00;
    const uint32_t rb = (dstRB + (((src & 0x00FF00FF) - dstRB) * a >> 8)) & 0x00FF00FF;
    const uint32_t g = (dstG + (((src & 0x0000FF00) - dstG) * a >> 8)) & 0x0000FF00;
    return rb | g;
}

inline uint32_t alphaBlend32(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24;
    if (a == 0)
        return dst;
    if (a == 255)
        return src;
    return blend32(src, dst, a + (a >> 7));
}

inline uint16_t alphaBitCopy16(uint16_t src, uint16_t dst) {
    return (src & 0x8000) ? uint16_t((src & 0x7FFF) | (dst & 0x8000)) : uint16_t(dst & 0x7FFF);
}

inline uint32_t tint32(uint32_t src, uint32_t color) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= ((((src >> shift) & 0xFF) * ((color >> shift) & 0xFF)) >> 8) << shift;
    return result;
}

inline uint16_t tint16(uint16_t src, uint32_t color) {
    const uint32_t red = (((src >> 10) & 0x1F) * ((color >> 19) & 0x1F)) >> 5;
    const uint32_t green = (((src >> 5) & 0x1F) * ((color >> 11) & 0x1F)) >> 5;
    const uint32_t blue = ((src & 0x1F) * ((color >> 3) & 0x1F)) >> 5;
    const uint32_t alpha = (src & 0x8000) && (color & 0x80000000u) ? 0x8000 : 0;
    return uint16_t(alpha | red << 10 | green << 5 | blue);
}

void copySameFormat(const SBlitJob& job) {
    const size_t rowBytes = size_t(job.width) * job.targetBytes;
    for (int32_t y = 0; y < job.height; ++y)
        std::memcpy(job.target + size_t(y) * job.targetPitch,
                    job.source + size_t(y) * job.sourcePitch, rowBytes);
}

void copyAnyFormats(const SBlitJob& job) {
    for (int32_t y = 0; y < job.height; ++y)
        convertPixels(job.source + size_t(y) * job.sourcePitch, job.sourceFormat, job.width,
                      job.target + size_t(y) * job.targetPitch, job.targetFormat);
}

void copyA8R8G8B8ToA1R5G5B5(const SBlitJob& job) {
    forEachPixelPair<4, 2>(job, [](const uint8_t* s, uint8_t* d) {
        storePixel16(d, a1r5g5b5FromArgb(loadPixel32(s)));
    });
}

void copyR8G8B8ToA1R5G5B5(const SBlitJob& job) {
    forEachPixelPair<3, 2>(
        job, [](const uint8_t* s, uint8_t* d) { storePixel16(d, a1r5g5b5FromRgbBytes(s)); });
}

void copyR5G6B5ToA1R5G5B5(const SBlitJob& job) {
    forEachPixelPair<2, 2>(job, [](const uint8_t* s, uint8_t* d) {
        storePixel16(d, a1r5g5b5FromR5G6B5(loadPixel16(s)));
    });
}

void copyR8G8B8ToR5G6B5(const SBlitJob& job) {
    forEachPixelPair<3, 2>(
        job, [](const uint8_t* s, uint8_t* d) { storePixel16(d, r5g6b5FromRgbBytes(s)); });
}

void copyA8R8G8B8ToA4R4G4B4(const SBlitJob& job) {
    forEachPixelPair<4, 2>(job, [](const uint8_t* s, uint8_t* d) {
        storePixel16(d, a4r4g4b4FromArgb(loadPixel32(s)));
    });
}

void copyA1R5G5B5ToA8R8G8B8(const SBlitJob& job) {
    forEachPixelPair<2, 4>(job, [](const uint8_t* s, uint8_t* d) {
        storePixel32(d, argbFromA1R5G5B5(loadPixel16(s)));
    });
}

void copyA4R4G4B4ToA8R8G8B8(const SBlitJob& job) {
    forEachPixelPair<2, 4>(job, [](const uint8_t* s, uint8_t* d) {
        storePixel32(d, argbFromA4R4G4B4(loadPixel16(s)));
    });
}

void copyR8G8B8ToA8R8G8B8(const SBlitJob& job) {
    forEachPixelPair<3, 4>(
        job, [](const uint8_t* s, uint8_t* d) { storePixel32(d, argbFromR8G8B8(s)); });
}

void copyA1R5G5B5ToR8G8B8(const SBlitJob& job) {
    forEachPixelPair<2, 3>(job, [](const uint8_t* s, uint8_t* d) {
        rgbBytesFromArgb(argbFromA1R5G5B5(loadPixel16(s)), d);
    });
}

void copyA8R8G8B8ToR8G8B8(const SBlitJob& job) {
    forEachPixelPair<4, 3>(
        job, [](const uint8_t* s, uint8_t* d) { rgbBytesFromArgb(loadPixel32(s), d); });
}

void alphaCopy16(const SBlitJob& job) {
    forEachPixelPair<2, 2>(job, [](const uint8_t* s, uint8_t* d) {
        storePixel16(d, alphaBitCopy16(loadPixel16(s), loadPixel16(d)));
    });
}

void alphaCopy32(const SBlitJob& job) {
    forEachPixelPair<4, 4>(job, [](const uint8_t* s, uint8_t* d) {
        storePixel32(d, alphaBlend32(loadPixel32(s), loadPixel32(d)));
    });
}

void tintedAlphaCopy16(const SBlitJob& job) {
    const uint32_t color = job.color;
    forEachPixelPair<2, 2>(job, [color](const uint8_t* s, uint8_t* d) {
        storePixel16(d, alphaBitCopy16(tint16(loadPixel16(s), color), loadPixel16(d)));
    });
}

void tintedAlphaCopy32(const SBlitJob& job) {
    const uint32_t color = job.color;
    forEachPixelPair<4, 4>(job, [color](const uint8_t* s, uint8_t* d) {
        storePixel32(d, alphaBlend32(tint32(loadPixel32(s), color), loadPixel32(d)));
    });
}

void fill16(const SBlitJob& job) {
    const uint16_t value = a1r5g5b5FromArgb(job.color);
    forEachTargetPixel<2>(job, [value](uint8_t* d) { storePixel16(d, value); });
}

void fill32(const SBlitJob& job) {
    const uint32_t value = job.color;
    forEachTargetPixel<4>(job, [value](uint8_t* d) { storePixel32(d, value); });
}

void blendColor16(const SBlitJob& job) {
    const uint32_t alpha = job.color >> 24;
    const uint32_t a5 = (alpha + (alpha >> 7)) >> 3;
    const uint32_t color = a1r5g5b5FromArgb(job.color);
    forEachTargetPixel<2>(job, [color, a5](uint8_t* d) {
        const uint32_t dst = loadPixel16(d);
        const uint32_t dstRB = dst & 0x7C1F;
        const uint32_t dstG = dst & 0x03E0;
        const uint32_t rb = (dstRB + (((color & 0x7C1F) - dstRB) * a5 >> 5)) & 0x7C1F;
        const uint32_t g = (dstG + (((color & 0x03E0) - dstG) * a5 >> 5)) & 0x03E0;
        storePixel16(d, uint16_t(rb | g));
    });
}

void blendColor32(const SBlitJob& job) {
    const uint32_t color = job.color;
    const uint32_t a = (color >> 24) + (color >> 31);
    forEachTargetPixel<4>(
        job, [color, a](uint8_t* d) { storePixel32(d, blend32(color, loadPixel32(d), a)); });
}

struct SBlitEntry {
    EBlitOperation operation;
    int32_t targetFormat;
    int32_t sourceFormat;
    BlitRoutine routine;
};

// Scanned in order; the first match wins.
const SBlitEntry kRoutines[] = {
    {BLIT_COPY, kSameFormat, kSameFormat, copySameFormat},
    {BLIT_COPY, COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A8R8G8B8, copyA8R8G8B8ToA1R5G5B5},
    {BLIT_COPY, COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_R8G8B8, copyR8G8B8ToA1R5G5B5},
    {BLIT_COPY, COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_R5G6B5, copyR5G6B5ToA1R5G5B5},
    {BLIT_COPY, COLOR_FORMAT_R5G6B5, COLOR_FORMAT_R8G8B8, copyR8G8B8ToR5G6B5},
    {BLIT_COPY, COLOR_FORMAT_A4R4G4B4, COLOR_FORMAT_A8R8G8B8, copyA8R8G8B8ToA4R4G4B4},
    {BLIT_COPY, COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A1R5G5B5, copyA1R5G5B5ToA8R8G8B8},
    {BLIT_COPY, COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A4R4G4B4, copyA4R4G4B4ToA8R8G8B8},
    {BLIT_COPY, COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_R8G8B8, copyR8G8B8ToA8R8G8B8},
    {BLIT_COPY, COLOR_FORMAT_R8G8B8, COLOR_FORMAT_A1R5G5B5, copyA1R5G5B5ToR8G8B8},
    {BLIT_COPY, COLOR_FORMAT_R8G8B8, COLOR_FORMAT_A8R8G8B8, copyA8R8G8B8ToR8G8B8},
    {BLIT_ALPHA_COPY, COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A1R5G5B5, alphaCopy16},
    {BLIT_ALPHA_COPY, COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A8R8G8B8, alphaCopy32},
    {BLIT_TINTED_ALPHA_COPY, COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A1R5G5B5, tintedAlphaCopy16},
    {BLIT_TINTED_ALPHA_COPY, COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A8R8G8B8, tintedAlphaCopy32},
    {BLIT_FILL, COLOR_FORMAT_A1R5G5B5, kAnyFormat, fill16},
    {BLIT_FILL, COLOR_FORMAT_A8R8G8B8, kAnyFormat, fill32},
    {BLIT_BLEND_COLOR, COLOR_FORMAT_A1R5G5B5, kAnyFormat, blendColor16},
    {BLIT_BLEND_COLOR, COLOR_FORMAT_A8R8G8B8, kAnyFormat, blendColor32},
    // Pairs without a dedicated routine still copy, through the general conversion.
    {BLIT_COPY, kAnyImage, kAnyImage, copyAnyFormats},
};

bool slotMatches(int32_t slot, int32_t format) {
    if (slot == kAnyFormat)
        return true;
    if (slot == kAnyImage)
        return bitsPerPixelOf(format) != 0;
    return slot == format;
}

BlitRoutine findRoutine(EBlitOperation operation, int32_t targetFormat, int32_t sourceFormat) {
    for (const SBlitEntry& entry : kRoutines) {
        if (entry.operation != operation)
            continue;
        const bool same = entry.targetFormat == kSameFormat && sourceFormat == targetFormat;
        if (same || (slotMatches(entry.targetFormat, targetFormat) &&
                     slotMatches(entry.sourceFormat, sourceFormat)))
            return entry.routine;
    }
    return nullptr;
}

// Rectangles are intersected in 64 bits so that far-off positions cannot overflow.
struct SWideRect {
    int64_t left, top, right, bottom;
    bool isEmpty() const { return left >= right || top >= bottom; }
};

SWideRect intersect(const SWideRect& a, const SWideRect& b) {
    return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

SWideRect wide(const CPixelRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

SWideRect wholeImage(const CSoftwareImage& image) {
    return {0, 0, image.getWidth(), image.getHeight()};
}

} // namespace

bool blitImage(EBlitOperation operation, const CSoftwareImage* source, const CPixelRect* sourceRect,
               CSoftwareImage* target, const CPixelRect* clipRect, const CPixelPoint* position,
               CColor color) {
    if (!target || !target->getData() || (source && !source->getData()))
        return false;
    const BlitRoutine routine =
        findRoutine(operation, target->getFormat(), source ? source->getFormat() : kMissingSource);
    if (!routine)
        return false;

    const SWideRect clip =
        intersect(clipRect ? wide(*clipRect) : wholeImage(*target), wholeImage(*target));
    int64_t x = position ? position->x : 0;
    int64_t y = position ? position->y : 0;
    SWideRect from{};
    SWideRect to = clip;
    if (source) {
        const SWideRect asked = sourceRect ? wide(*sourceRect) : wholeImage(*source);
        from = intersect(asked, wholeImage(*source));
        // Whatever the source clipping cut off at the left or top moves the position with it.
        x += from.left - asked.left;
        y += from.top - asked.top;
        to = intersect({x, y, x + (from.right - from.left), y + (from.bottom - from.top)}, clip);
    }
    if (to.isEmpty() || (source && from.isEmpty()))
        return false;

    SBlitJob job{};
    job.color = color.value;
    job.width = int32_t(to.right - to.left);
    job.height = int32_t(to.bottom - to.top);
    job.targetPitch = target->getPitch();
    job.targetBytes = target->getBytesPerPixel();
    job.targetFormat = target->getFormat();
    job.target =
        target->getData() + size_t(to.top) * job.targetPitch + size_t(to.left) * job.targetBytes;
    if (source) {
        job.sourcePitch = source->getPitch();
        job.sourceBytes = source->getBytesPerPixel();
        job.sourceFormat = source->getFormat();
        job.source = source->getData() + size_t(from.top + (to.top - y)) * job.sourcePitch +
                     size_t(from.left + (to.left - x)) * job.sourceBytes;
    }
    routine(job);
    return true;
}
