#pragma once

#include <cstdint>

#include "engine/core/Color.h"

class CSoftwareImage;

enum EBlitOperation : int32_t {
    BLIT_FILL = 1,
    BLIT_BLEND_COLOR = 2,
    BLIT_COPY = 3,
    BLIT_ALPHA_COPY = 4,
    BLIT_TINTED_ALPHA_COPY = 5,
};

struct CPixelPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Pixel rectangle; right and bottom are exclusive.
struct CPixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Runs one rectangle operation from source (or, for fill and blend colour, on the target alone)
// into target at position ((0, 0) when none). The source rectangle (the whole source when none)
// is clipped to the source, and the clip rectangle (the whole target when none) to the target.
// Without a source the operation covers the clip rectangle. Colour tints and fills.
// False when the clipped rectangle is empty or no routine handles the operation and formats;
// then nothing is touched. Copies between any two known formats always have a routine.
bool blitImage(EBlitOperation operation, const CSoftwareImage* source, const CPixelRect* sourceRect,
               CSoftwareImage* target, const CPixelRect* clipRect, const CPixelPoint* position,
               CColor color);
