#pragma once

#include "engine/video/d3d/host/D3D8Types.h"
#include "engine/video/d3d/host/IDirect3DCommon.h"

class IDirect3DDevice8;

// The object a Direct3D 8 runtime's creation function gives.
class IDirect3D8 : public IDirect3DCommon {
public:
    virtual HRESULT CheckDeviceMultiSampleType(uint32_t adapter, D3DDEVTYPE deviceType,
                                               D3DFORMAT surfaceFormat, bool windowed,
                                               D3DMULTISAMPLE_TYPE type) = 0;
    virtual HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                 uint32_t behaviorFlags, D3DPRESENT_PARAMETERS8* parameters,
                                 IDirect3DDevice8** device) = 0;
};
