#include "engine/video/ColorFormat.h"

uint32_t bitsPerPixelOf(int32_t format) {
    switch (format) {
    case COLOR_FORMAT_A1R5G5B5:
    case COLOR_FORMAT_A4R4G4B4:
    case COLOR_FORMAT_R5G6B5:
        return 16;
    case COLOR_FORMAT_R8G8B8:
        return 24;
    case COLOR_FORMAT_A8R8G8B8:
        return 32;
    default:
        return 0;
    }
}

uint32_t argbFromPixel(const uint8_t* p, int32_t format) {
    switch (format) {
    case COLOR_FORMAT_A1R5G5B5:
        return argbFromA1R5G5B5(loadPixel16(p));
    case COLOR_FORMAT_A4R4G4B4:
        return argbFromA4R4G4B4(loadPixel16(p));
    case COLOR_FORMAT_R5G6B5:
        return argbFromR5G6B5(loadPixel16(p));
    case COLOR_FORMAT_R8G8B8:
        return argbFromR8G8B8(p);
    case COLOR_FORMAT_A8R8G8B8:
        return loadPixel32(p);
    default:
        return 0;
    }
}

void pixelFromArgb(uint32_t color, uint8_t* p, int32_t format) {
    switch (format) {
    case COLOR_FORMAT_A1R5G5B5:
        storePixel16(p, a1r5g5b5FromArgb(color));
        break;
    case COLOR_FORMAT_A4R4G4B4:
        storePixel16(p, a4r4g4b4FromArgb(color));
        break;
    case COLOR_FORMAT_R5G6B5:
        storePixel16(p, r5g6b5FromArgb(color));
        break;
    case COLOR_FORMAT_R8G8B8:
        rgbBytesFromArgb(color, p);
        break;
    case COLOR_FORMAT_A8R8G8B8:
        storePixel32(p, color);
        break;
    default:
        break;
    }
}

namespace {

// One loop per pair keeps the per-pixel work free of format tests.
template <int SourceBytes, int DestinationBytes, typename Convert>
void convertRun(const uint8_t* from, int32_t count, uint8_t* to, Convert convert) {
    for (int32_t i = 0; i < count; ++i) {
        convert(from, to);
        from += SourceBytes;
        to += DestinationBytes;
    }
}

void convertThroughArgb(const uint8_t* from, int32_t sourceFormat, int32_t count, uint8_t* to,
                        int32_t destinationFormat) {
    const int32_t fromBytes = bytesPerPixelOf(sourceFormat);
    const int32_t toBytes = bytesPerPixelOf(destinationFormat);
    for (int32_t i = 0; i < count; ++i) {
        pixelFromArgb(argbFromPixel(from, sourceFormat), to, destinationFormat);
        from += fromBytes;
        to += toBytes;
    }
}

bool convertFromA1R5G5B5(const uint8_t* from, int32_t count, uint8_t* to, int32_t format) {
    switch (format) {
    case COLOR_FORMAT_R5G6B5:
        convertRun<2, 2>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            const uint16_t p = loadPixel16(s);
            storePixel16(d, uint16_t((p & 0x7FE0) << 1 | (p & 0x001F)));
        });
        return true;
    case COLOR_FORMAT_R8G8B8:
        convertRun<2, 3>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            const uint16_t p = loadPixel16(s);
            d[0] = uint8_t(((p >> 10) & 0x1F) << 3);
            d[1] = uint8_t(((p >> 5) & 0x1F) << 3);
            d[2] = uint8_t((p & 0x1F) << 3);
        });
        return true;
    case COLOR_FORMAT_A8R8G8B8:
        convertRun<2, 4>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            storePixel32(d, argbFromA1R5G5B5(loadPixel16(s)));
        });
        return true;
    default:
        return false;
    }
}

bool convertFromR5G6B5(const uint8_t* from, int32_t count, uint8_t* to, int32_t format) {
    switch (format) {
    case COLOR_FORMAT_A1R5G5B5:
        convertRun<2, 2>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            storePixel16(d, a1r5g5b5FromR5G6B5(loadPixel16(s)));
        });
        return true;
    case COLOR_FORMAT_R8G8B8:
        convertRun<2, 3>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            rgbBytesFromArgb(argbFromR5G6B5(loadPixel16(s)), d);
        });
        return true;
    case COLOR_FORMAT_A8R8G8B8:
        convertRun<2, 4>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            storePixel32(d, argbFromR5G6B5(loadPixel16(s)));
        });
        return true;
    default:
        return false;
    }
}

bool convertFromR8G8B8(const uint8_t* from, int32_t count, uint8_t* to, int32_t format) {
    switch (format) {
    case COLOR_FORMAT_A1R5G5B5:
        convertRun<3, 2>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            storePixel16(d, a1r5g5b5FromRgbBytes(s));
        });
        return true;
    case COLOR_FORMAT_R5G6B5:
        convertRun<3, 2>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            storePixel16(d, r5g6b5FromRgbBytes(s));
        });
        return true;
    case COLOR_FORMAT_A8R8G8B8:
        convertRun<3, 4>(from, count, to,
                         [](const uint8_t* s, uint8_t* d) { storePixel32(d, argbFromR8G8B8(s)); });
        return true;
    default:
        return false;
    }
}

bool convertFromA8R8G8B8(const uint8_t* from, int32_t count, uint8_t* to, int32_t format) {
    switch (format) {
    case COLOR_FORMAT_A1R5G5B5:
        convertRun<4, 2>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            storePixel16(d, a1r5g5b5FromArgb(loadPixel32(s)));
        });
        return true;
    case COLOR_FORMAT_A4R4G4B4:
        convertRun<4, 2>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            storePixel16(d, a4r4g4b4FromArgb(loadPixel32(s)));
        });
        return true;
    case COLOR_FORMAT_R5G6B5:
        convertRun<4, 2>(from, count, to, [](const uint8_t* s, uint8_t* d) {
            storePixel16(d, r5g6b5FromArgb(loadPixel32(s)));
        });
        return true;
    case COLOR_FORMAT_R8G8B8:
        convertRun<4, 3>(from, count, to,
                         [](const uint8_t* s, uint8_t* d) { rgbBytesFromArgb(loadPixel32(s), d); });
        return true;
    default:
        return false;
    }
}

bool convertDedicated(const uint8_t* from, int32_t sourceFormat, int32_t count, uint8_t* to,
                      int32_t destinationFormat) {
    switch (sourceFormat) {
    case COLOR_FORMAT_A1R5G5B5:
        return convertFromA1R5G5B5(from, count, to, destinationFormat);
    case COLOR_FORMAT_R5G6B5:
        return convertFromR5G6B5(from, count, to, destinationFormat);
    case COLOR_FORMAT_R8G8B8:
        return convertFromR8G8B8(from, count, to, destinationFormat);
    case COLOR_FORMAT_A8R8G8B8:
        return convertFromA8R8G8B8(from, count, to, destinationFormat);
    default:
        return false;
    }
}

} // namespace

void convertPixels(const void* source, int32_t sourceFormat, int32_t count, void* destination,
                   int32_t destinationFormat) {
    if (!source || !destination || count <= 0 || bitsPerPixelOf(sourceFormat) == 0 ||
        bitsPerPixelOf(destinationFormat) == 0)
        return;
    const auto* from = static_cast<const uint8_t*>(source);
    auto* to = static_cast<uint8_t*>(destination);
    if (sourceFormat == destinationFormat) {
        std::memmove(to, from, size_t(count) * size_t(bytesPerPixelOf(sourceFormat)));
        return;
    }
    if (!convertDedicated(from, sourceFormat, count, to, destinationFormat))
        convertThroughArgb(from, sourceFormat, count, to, destinationFormat);
}
