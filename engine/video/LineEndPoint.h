#pragma once

#include <cmath>

#include "engine/core/Vector2d.h"

// Where a 2D line's end is drawn: inside the pixel the point names, so that every rasteriser
// lights the same pixels, which they may each resolve their own way for an end on a pixel
// border or on a pixel's centre. Whole coordinates name pixels; a point half way between two
// pixels goes to the right or lower one. The end sits a little off the centre, which keeps
// rounding in the transforms from tipping the rasteriser's tests of the ends and keeps lines of
// the usual slopes off the pixel borders in between.
inline CVector2d lineEndPoint(CVector2d point) {
    constexpr float kOffCentre = 1.0f / 64.0f;
    return CVector2d(std::floor(point.x + 0.5f) + 0.5f + kOffCentre,
                     std::floor(point.y + 0.5f) + 0.5f + kOffCentre);
}
