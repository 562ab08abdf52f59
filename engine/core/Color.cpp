#include "engine/core/Color.h"

#include <cmath>

namespace {

// Truncated toward zero, low 8 bits kept. Values no integer can hold (NaN, huge) give 0 rather
// than an undefined conversion.
uint32_t truncatedChannel(double value) {
    if (!(std::fabs(value) < 2147483648.0))
        return 0;
    return uint32_t(int32_t(value)) & 0xFF;
}

} // namespace

CColor::CColor(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue)
    : value((alpha & 0xFF) << 24 | (red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF)) {}

CColor CColor::interpolate(const CColor& other, float t) const {
    const float u = 1.0f - t;
    auto mix = [&](uint32_t mine, uint32_t theirs) {
        return truncatedChannel(float(mine) * t + float(theirs) * u);
    };
    return CColor(mix(getAlpha(), other.getAlpha()), mix(getRed(), other.getRed()),
                  mix(getGreen(), other.getGreen()), mix(getBlue(), other.getBlue()));
}

CColor CColor::modulate(const CColor& other) const {
    auto scale = [](uint32_t mine, uint32_t theirs) {
        return truncatedChannel(double(mine * theirs) * 0.003921568859368563);
    };
    return CColor(scale(getAlpha(), other.getAlpha()), scale(getRed(), other.getRed()),
                  scale(getGreen(), other.getGreen()), scale(getBlue(), other.getBlue()));
}

CColor CColorf::toColor() const {
    auto channel = [](float value) -> uint32_t {
        const float scaled = value * 255.0f;
        if (!(scaled > 0.0f))
            return 0;
        return scaled >= 255.0f ? 255 : uint32_t(scaled);
    };
    return CColor(channel(a), channel(r), channel(g), channel(b));
}

CColorf floatColorFromArgb(CColor color) {
    constexpr float kScale = 0.003921569f;
    return CColorf(float(color.getRed()) * kScale, float(color.getGreen()) * kScale,
                   float(color.getBlue()) * kScale, float(color.getAlpha()) * kScale);
}
