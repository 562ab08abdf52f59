#pragma once

#include "engine/core/Rect.h"

class IRenderDriver;

// Keeps what the driver draws next within the rectangle of the current world space (left <= x
// <= right, top <= y <= bottom) through the user clip planes 0 to 3.
void enableNodeClipPlanes(IRenderDriver& driver, const CRect& rect);
void disableNodeClipPlanes(IRenderDriver& driver);
