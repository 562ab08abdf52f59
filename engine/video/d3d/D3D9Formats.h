#pragma once

#include <cstdint>

#include "engine/video/d3d/host/D3D9Types.h"

// The engine colour format of a Direct3D 9 format: the float render-target formats give 5 to
// 10, a format the engine has no name for gives 0.
int32_t colorFormatOfD3DFormat(D3DFORMAT format);
// The Direct3D format of a texture made from an image of the engine format.
D3DFORMAT d3dFormatOfImageFormat(int32_t colorFormat);
// The Direct3D format of a render target of the engine format; unknown for formats it has none.
D3DFORMAT d3dFormatOfRenderTargetFormat(int32_t colorFormat);
// Bytes per pixel of the formats textures use; 0 for any other.
uint32_t bytesPerPixelOfD3DFormat(D3DFORMAT format);
