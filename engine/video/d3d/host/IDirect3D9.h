#pragma once

#include "engine/video/d3d/host/D3D9Types.h"
#include "engine/video/d3d/host/IDirect3DCommon.h"

class IDirect3DDevice9;

// The object a Direct3D 9 runtime's creation function gives: adapters, format checks and
// device creation.
class IDirect3D9 : public IDirect3DCommon {
public:
    virtual HRESULT CheckDeviceMultiSampleType(uint32_t adapter, D3DDEVTYPE deviceType,
                                               D3DFORMAT surfaceFormat, bool windowed,
                                               D3DMULTISAMPLE_TYPE type,
                                               uint32_t* qualityLevels) = 0;
    virtual HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                 uint32_t behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                 IDirect3DDevice9** device) = 0;
};
