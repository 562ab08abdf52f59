#pragma once

#include <cstdint>

#include "engine/video/Blitter.h"

// Width and height of a screen, render target or texture in pixels.
struct CPixelSize {
    uint32_t width = 0;
    uint32_t height = 0;

    bool operator==(const CPixelSize& other) const = default;
};

// The rectangle (x, y, x + width, y + height).
inline CPixelRect rectFromPositionAndSize(CPixelPoint position, CPixelSize size) {
    return {position.x, position.y, position.x + int32_t(size.width),
            position.y + int32_t(size.height)};
}
