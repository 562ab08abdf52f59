#pragma once

#include <cstdint>
#include <cstring>

// Pixel layouts of images and textures. The numbers are stored in files and passed between
// drivers, so they never change. 16- and 32-bit pixels are little-endian words.
enum EColorFormat : int32_t {
    COLOR_FORMAT_A1R5G5B5 = 0,
    COLOR_FORMAT_A4R4G4B4 = 1,
    COLOR_FORMAT_R5G6B5 = 2,
    COLOR_FORMAT_R8G8B8 = 3, // bytes red, green, blue
    COLOR_FORMAT_A8R8G8B8 = 4,
};

// 16, 24 or 32; 0 for a number that names no format.
uint32_t bitsPerPixelOf(int32_t format);
inline int32_t bytesPerPixelOf(int32_t format) {
    return int32_t(bitsPerPixelOf(format) / 8);
}

// Pixels may sit at any address (caller buffers, odd pitches), so they are moved as bytes.
inline uint16_t loadPixel16(const uint8_t* p) {
    uint16_t value;
    std::memcpy(&value, p, 2);
    return value;
}
inline uint32_t loadPixel32(const uint8_t* p) {
    uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}
inline void storePixel16(uint8_t* p, uint16_t value) {
    std::memcpy(p, &value, 2);
}
inline void storePixel32(uint8_t* p, uint32_t value) {
    std::memcpy(p, &value, 4);
}

// Channel rules between the formats and 32-bit ARGB colours. A 5-bit channel becomes 8 bits
// either "expanded" (31 gives 255) or "shifted" (31 gives 248); both are in use.
inline uint32_t expand5(uint32_t x5) {
    return x5 << 3 | x5 >> 2;
}

inline uint32_t argbFromA1R5G5B5(uint16_t p) {
    const uint32_t alpha = (p & 0x8000) ? 0xFF000000u : 0;
    return alpha | expand5((p >> 10) & 0x1F) << 16 | expand5((p >> 5) & 0x1F) << 8 |
           expand5(p & 0x1F);
}

inline uint32_t argbFromA4R4G4B4(uint16_t p) {
    return uint32_t(p & 0xF000) << 16 | uint32_t(p & 0x0F00) << 12 | uint32_t(p & 0x00F0) << 8 |
           uint32_t(p & 0x000F) << 4;
}

inline uint32_t argbFromR5G6B5(uint16_t p) {
    return 0xFF000000u | uint32_t(p & 0xF800) << 8 | uint32_t(p & 0x07E0) << 5 |
           uint32_t(p & 0x001F) << 3;
}

inline uint32_t argbFromR8G8B8(const uint8_t* p) {
    return 0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

inline uint16_t a1r5g5b5FromArgb(uint32_t c) {
    return uint16_t((c >> 31) << 15 | ((c >> 19) & 0x1F) << 10 | ((c >> 11) & 0x1F) << 5 |
                    ((c >> 3) & 0x1F));
}

inline uint16_t a4r4g4b4FromArgb(uint32_t c) {
    return uint16_t((c >> 28) << 12 | ((c >> 20) & 0xF) << 8 | ((c >> 12) & 0xF) << 4 |
                    ((c >> 4) & 0xF));
}

inline uint16_t r5g6b5FromArgb(uint32_t c) {
    return uint16_t(((c >> 19) & 0x1F) << 11 | ((c >> 10) & 0x3F) << 5 | ((c >> 3) & 0x1F));
}

inline uint16_t a1r5g5b5FromR5G6B5(uint16_t p) {
    return uint16_t(0x8000 | (p & 0xFFC0) >> 1 | (p & 0x001F));
}

inline uint16_t a1r5g5b5FromRgbBytes(const uint8_t* p) {
    return uint16_t(0x8000 | (p[0] >> 3) << 10 | (p[1] >> 3) << 5 | (p[2] >> 3));
}

inline uint16_t r5g6b5FromRgbBytes(const uint8_t* p) {
    return uint16_t((p[0] >> 3) << 11 | (p[1] >> 2) << 5 | (p[2] >> 3));
}

inline void rgbBytesFromArgb(uint32_t c, uint8_t* p) {
    p[0] = uint8_t(c >> 16);
    p[1] = uint8_t(c >> 8);
    p[2] = uint8_t(c);
}

// The pixel at p expanded to ARGB by the rules of pixelAt; 0 for an unknown format.
uint32_t argbFromPixel(const uint8_t* p, int32_t format);
// Writes colour into the pixel at p; nothing for an unknown format.
void pixelFromArgb(uint32_t color, uint8_t* p, int32_t format);

// Converts count consecutive pixels. Pairs without a dedicated rule go through ARGB, so every
// pair of known formats gives defined pixels; an unknown format leaves the destination alone.
void convertPixels(const void* source, int32_t sourceFormat, int32_t count, void* destination,
                   int32_t destinationFormat);
