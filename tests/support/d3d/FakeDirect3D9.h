#pragma once

#include "engine/video/d3d/host/IDirect3D9.h"

class FakeD3D9Runtime;

// The fake runtime's Direct3D object: answers from the runtime's script.
class FakeDirect3D9 : public IDirect3D9 {
public:
    explicit FakeDirect3D9(FakeD3D9Runtime& runtime) : m_runtime(runtime) {}

    HRESULT GetAdapterIdentifier(uint32_t adapter, uint32_t flags,
                                 D3DADAPTER_IDENTIFIER9* identifier) override;
    HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) override;
    HRESULT CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                              uint32_t usage, D3DRESOURCETYPE resourceType,
                              D3DFORMAT checkFormat) override;
    HRESULT CheckDeviceMultiSampleType(uint32_t adapter, D3DDEVTYPE deviceType,
                                       D3DFORMAT surfaceFormat, bool windowed,
                                       D3DMULTISAMPLE_TYPE type, uint32_t* qualityLevels) override;
    HRESULT CheckDepthStencilMatch(uint32_t adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                   D3DFORMAT renderTargetFormat,
                                   D3DFORMAT depthStencilFormat) override;
    HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                         uint32_t behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                         IDirect3DDevice9** device) override;

private:
    FakeD3D9Runtime& m_runtime;
};
