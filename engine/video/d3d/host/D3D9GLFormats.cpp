#include "engine/video/d3d/host/D3D9GLFormats.h"

bool colorFormatIsDrawable(D3DFORMAT format) {
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8 || format == D3DFMT_R5G6B5;
}

void depthStencilBitsOf(D3DFORMAT format, HostGLPixelFormat& wanted) {
    switch (format) {
    case D3DFMT_D32:
        wanted.depthBits = 32;
        wanted.stencilBits = 0;
        break;
    case D3DFMT_D24S8:
        wanted.depthBits = 24;
        wanted.stencilBits = 8;
        break;
    case D3DFMT_D24X4S4:
        wanted.depthBits = 24;
        wanted.stencilBits = 4;
        break;
    case D3DFMT_D15S1:
        wanted.depthBits = 15;
        wanted.stencilBits = 1;
        break;
    case D3DFMT_D16:
        wanted.depthBits = 16;
        wanted.stencilBits = 0;
        break;
    default:
        wanted.depthBits = 24;
        wanted.stencilBits = 0;
        break;
    }
}

HostGLPixelFormat pixelFormatOf(const D3DPRESENT_PARAMETERS& parameters) {
    HostGLPixelFormat wanted;
    wanted.colorBits = parameters.BackBufferFormat == D3DFMT_R5G6B5 ? 16 : 32;
    wanted.alphaBits = parameters.BackBufferFormat == D3DFMT_A8R8G8B8 ? 8 : 0;
    if (parameters.EnableAutoDepthStencil) {
        depthStencilBitsOf(parameters.AutoDepthStencilFormat, wanted);
    } else {
        wanted.depthBits = 0;
        wanted.stencilBits = 0;
    }
    wanted.samples = parameters.MultiSampleType > 1 ? int32_t(parameters.MultiSampleType) : 0;
    return wanted;
}

void floatsOfColor(D3DCOLOR color, float rgba[4]) {
    rgba[0] = float((color >> 16) & 0xFF) / 255.0f;
    rgba[1] = float((color >> 8) & 0xFF) / 255.0f;
    rgba[2] = float(color & 0xFF) / 255.0f;
    rgba[3] = float(color >> 24) / 255.0f;
}
