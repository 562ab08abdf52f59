#pragma once

#include <cstdint>

// A packed 32-bit colour: alpha << 24 | red << 16 | green << 8 | blue.
class CColor {
public:
    uint32_t value = 0;

    CColor() = default;
    explicit CColor(uint32_t argb) : value(argb) {}
    // Each argument's low 8 bits go into their channel.
    CColor(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue);

    uint32_t getAlpha() const { return value >> 24; }
    uint32_t getRed() const { return (value >> 16) & 0xFF; }
    uint32_t getGreen() const { return (value >> 8) & 0xFF; }
    uint32_t getBlue() const { return value & 0xFF; }

    bool operator==(const CColor& other) const { return value == other.value; }

    // Per channel this × t + other × (1 − t), truncated: t = 1 gives this colour, 0 the other.
    CColor interpolate(const CColor& other, float t) const;
    // Per channel the product scaled by a factor just above 1/255, truncated, so that opaque
    // white leaves a colour unchanged.
    CColor modulate(const CColor& other) const;
};

// A colour of four floats, each channel nominally 0 to 1.
class CColorf {
public:
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;

    CColorf() = default;
    CColorf(float red, float green, float blue, float alpha)
        : r(red), g(green), b(blue), a(alpha) {}

    // Each channel × 255 truncated toward zero and held within 0 to 255, so a channel that
    // drifted past 1 stays full instead of wrapping to a dark value; NaN gives 0.
    CColor toColor() const;
};

// Each 8-bit channel × 1/255.
CColorf floatColorFromArgb(CColor color);
