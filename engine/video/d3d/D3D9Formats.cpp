#include "engine/video/d3d/D3D9Formats.h"

#include "engine/video/ColorFormat.h"

namespace {

constexpr int32_t kFirstFloatFormat = 5;
constexpr int32_t kLastFloatFormat = 10;

} // namespace

int32_t colorFormatOfD3DFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_R8G8B8:
        return COLOR_FORMAT_R8G8B8;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8:
        return COLOR_FORMAT_A8R8G8B8;
    case D3DFMT_R5G6B5:
        return COLOR_FORMAT_R5G6B5;
    case D3DFMT_A4R4G4B4:
        return COLOR_FORMAT_A4R4G4B4;
    default:
        if (format >= D3DFMT_R16F && format <= D3DFMT_A32B32G32R32F)
            return int32_t(format - D3DFMT_R16F) + kFirstFloatFormat;
        return COLOR_FORMAT_A1R5G5B5;
    }
}

D3DFORMAT d3dFormatOfImageFormat(int32_t colorFormat) {
    switch (colorFormat) {
    case COLOR_FORMAT_A4R4G4B4:
        return D3DFMT_A4R4G4B4;
    case COLOR_FORMAT_R5G6B5:
        return D3DFMT_R5G6B5;
    case COLOR_FORMAT_R8G8B8:
        return D3DFMT_R8G8B8;
    case COLOR_FORMAT_A8R8G8B8:
        return D3DFMT_A8R8G8B8;
    default:
        return D3DFMT_A1R5G5B5;
    }
}

D3DFORMAT d3dFormatOfRenderTargetFormat(int32_t colorFormat) {
    switch (colorFormat) {
    case COLOR_FORMAT_A1R5G5B5:
        return D3DFMT_A1R5G5B5;
    case COLOR_FORMAT_R5G6B5:
        return D3DFMT_R5G6B5;
    case COLOR_FORMAT_R8G8B8:
        return D3DFMT_R8G8B8;
    case COLOR_FORMAT_A8R8G8B8:
        return D3DFMT_A8R8G8B8;
    default:
        if (colorFormat >= kFirstFloatFormat && colorFormat <= kLastFloatFormat)
            return D3DFORMAT(D3DFMT_R16F + uint32_t(colorFormat - kFirstFloatFormat));
        return D3DFMT_UNKNOWN;
    }
}

uint32_t bytesPerPixelOfD3DFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8:
        return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
        return 2;
    default:
        return 0;
    }
}
