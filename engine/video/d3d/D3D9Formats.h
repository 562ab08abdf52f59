#pragma once

#include <cstdint>

#include "engine/video/d3d/host/D3D9Types.h"

// The engine colour format of a Direct3D 9 format: the float render-target formats give 5 to
// 10, a format the engine has no name for gives 0.
int32_t colorFormatOfD3DFormat(D3DFORMAT format);
