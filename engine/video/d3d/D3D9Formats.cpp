#include "engine/video/d3d/D3D9Formats.h"

#include "engine/video/ColorFormat.h"

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
            return int32_t(format - D3DFMT_R16F) + 5;
        return COLOR_FORMAT_A1R5G5B5;
    }
}
