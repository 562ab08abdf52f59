#pragma once

#include <cstdint>

#include "engine/video/d3d/host/D3D9Types.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"
#include "engine/video/d3d/host/IDirect3DTexture9.h"

// The values and records of Direct3D 8 that differ from Direct3D 9's. Surfaces, textures,
// materials, lights, viewports and adapter identifiers answer the same calls and hold the same
// fields in both, and our runtimes report the same capability fields to both.

constexpr uint32_t D3D_SDK_VERSION_8 = 120;

using IDirect3DSurface8 = IDirect3DSurface9;
using IDirect3DTexture8 = IDirect3DTexture9;
using D3DADAPTER_IDENTIFIER8 = D3DADAPTER_IDENTIFIER9;
using D3DMATERIAL8 = D3DMATERIAL9;
using D3DLIGHT8 = D3DLIGHT9;
using D3DVIEWPORT8 = D3DVIEWPORT9;
using D3DCAPS8 = D3DCAPS9;

// GetAdapterIdentifier leaves out the driver's certification level.
constexpr uint32_t D3DENUM_NO_WHQL_LEVEL = 0x2;

// Multisampling has no quality levels, and the full-screen presentation interval is part of the
// parameters.
struct D3DPRESENT_PARAMETERS8 {
    uint32_t BackBufferWidth = 0;
    uint32_t BackBufferHeight = 0;
    D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
    uint32_t BackBufferCount = 0;
    D3DMULTISAMPLE_TYPE MultiSampleType = D3DMULTISAMPLE_NONE;
    D3DSWAPEFFECT SwapEffect = D3DSWAPEFFECT(0);
    HWND hDeviceWindow = 0;
    bool Windowed = false;
    bool EnableAutoDepthStencil = false;
    D3DFORMAT AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    uint32_t Flags = 0;
    uint32_t FullScreen_RefreshRateInHz = 0;
    uint32_t FullScreen_PresentationInterval = 0;
};

// Vertex shader declarations: tokens of a stream, its registers and the end.
enum D3DVSDT_TYPE : uint32_t {
    D3DVSDT_FLOAT1 = 0,
    D3DVSDT_FLOAT2 = 1,
    D3DVSDT_FLOAT3 = 2,
    D3DVSDT_FLOAT4 = 3,
    D3DVSDT_D3DCOLOR = 4,
};

constexpr uint32_t D3DVSD_STREAM(uint32_t stream) {
    return 1u << 29 | stream;
}
constexpr uint32_t D3DVSD_REG(uint32_t vertexRegister, D3DVSDT_TYPE type) {
    return 2u << 29 | uint32_t(type) << 16 | vertexRegister;
}
constexpr uint32_t D3DVSD_END() {
    return 0xFFFFFFFFu;
}

// Vertex shader handles carry bit 0, which no flexible vertex format has: SetVertexShader takes
// either.
constexpr bool isVertexShaderHandle(uint32_t handle) {
    return (handle & 1) != 0;
}
