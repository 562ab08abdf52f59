#pragma once

#include "engine/platform/host/IHostGL.h"
#include "engine/video/d3d/host/D3D9Types.h"

// Whether a GL window can have a back buffer of that format.
bool colorFormatIsDrawable(D3DFORMAT format);
// The depth and stencil bits of a depth-stencil format, written into the request.
void depthStencilBitsOf(D3DFORMAT format, HostGLPixelFormat& wanted);
// The window format that holds the presentation parameters' buffers.
HostGLPixelFormat pixelFormatOf(const D3DPRESENT_PARAMETERS& parameters);
// Red, green, blue and alpha of a packed colour, each 0 to 1.
void floatsOfColor(D3DCOLOR color, float rgba[4]);
