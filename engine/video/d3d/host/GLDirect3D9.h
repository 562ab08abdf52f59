#pragma once

#include "engine/video/d3d/host/IDirect3D9.h"

class IHostGL;
class IHostWindowSystem;

// Direct3D 9 on OpenGL: the object of our runtime, drawing into the windows of the window layer
// through its GL facet. One adapter, the desktop's display mode, the formats a GL window offers.
class CGLDirect3D9 : public IDirect3D9 {
public:
    // The driver name is the adapter's, as identified; it must outlive the object.
    CGLDirect3D9(IHostWindowSystem& host, IHostGL& gl, const char* driverName)
        : m_host(host), m_gl(gl), m_driverName(driverName) {}

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
    IHostWindowSystem& m_host;
    IHostGL& m_gl;
    const char* m_driverName;
};

// Registers the runtime as "d3d9.dll" and, through Direct3D 8 on Direct3D 9, as "d3d8.dll" for the
// window system, which must outlive the registration; a window system without a GL facet gives no
// Direct3D object.
void registerGLDirect3DModules(IHostWindowSystem& host);
// The same for the window system the function gives when a driver first loads the runtime,
// which then also becomes the module registry's window layer: registering starts no window
// system.
void registerGLDirect3DModules(IHostWindowSystem& (*host)());
