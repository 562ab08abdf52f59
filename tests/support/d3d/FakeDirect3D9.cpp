#include "tests/support/d3d/FakeDirect3D9.h"

#include <string>

#include "tests/support/d3d/FakeD3D9Runtime.h"
#include "tests/support/d3d/FakeDirect3DDevice9.h"

HRESULT FakeDirect3D9::GetAdapterIdentifier(uint32_t adapter, uint32_t flags,
                                            D3DADAPTER_IDENTIFIER9* identifier) {
    m_runtime.record("GetAdapterIdentifier(" + std::to_string(adapter) + ", " +
                     std::to_string(flags) + ")");
    if (m_runtime.script.identifierFails)
        return D3DERR_INVALIDCALL;
    *identifier = m_runtime.script.identifier;
    return D3D_OK;
}

HRESULT FakeDirect3D9::GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) {
    m_runtime.record("GetAdapterDisplayMode(" + std::to_string(adapter) + ")");
    if (m_runtime.script.displayModeFails)
        return D3DERR_INVALIDCALL;
    *mode = m_runtime.script.displayMode;
    return D3D_OK;
}

HRESULT FakeDirect3D9::CheckDeviceFormat(uint32_t, D3DDEVTYPE, D3DFORMAT adapterFormat,
                                         uint32_t usage, D3DRESOURCETYPE, D3DFORMAT checkFormat) {
    m_runtime.record("CheckDeviceFormat(" + std::to_string(adapterFormat) + ", " +
                     std::to_string(usage) + ", " + std::to_string(checkFormat) + ")");
    return m_runtime.script.refusedFormats.count(checkFormat) ? D3DERR_NOTAVAILABLE : D3D_OK;
}

HRESULT FakeDirect3D9::CheckDeviceMultiSampleType(uint32_t, D3DDEVTYPE, D3DFORMAT surfaceFormat,
                                                  bool windowed, D3DMULTISAMPLE_TYPE type,
                                                  uint32_t* qualityLevels) {
    m_runtime.record("CheckDeviceMultiSampleType(" + std::to_string(surfaceFormat) + ", " +
                     std::to_string(windowed) + ", " + std::to_string(type) + ")");
    if (!m_runtime.script.multiSampleLevels.count(type))
        return D3DERR_NOTAVAILABLE;
    *qualityLevels = m_runtime.script.qualityLevels;
    return D3D_OK;
}

HRESULT FakeDirect3D9::CheckDepthStencilMatch(uint32_t, D3DDEVTYPE, D3DFORMAT adapterFormat,
                                              D3DFORMAT renderTargetFormat,
                                              D3DFORMAT depthStencilFormat) {
    m_runtime.record("CheckDepthStencilMatch(" + std::to_string(adapterFormat) + ", " +
                     std::to_string(renderTargetFormat) + ", " +
                     std::to_string(depthStencilFormat) + ")");
    return m_runtime.script.depthStencilMismatch ? D3DERR_NOTAVAILABLE : D3D_OK;
}

HRESULT FakeDirect3D9::CreateDevice(uint32_t, D3DDEVTYPE, HWND focusWindow, uint32_t behaviorFlags,
                                    D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    m_runtime.record("CreateDevice(" + std::to_string(focusWindow) + ", " +
                     std::to_string(behaviorFlags) + ")");
    if (behaviorFlags & m_runtime.script.refusedBehaviorBits)
        return D3DERR_NOTAVAILABLE;
    auto* created = new FakeDirect3DDevice9(m_runtime, behaviorFlags, *parameters);
    m_runtime.adoptDevice(created);
    *device = created;
    return D3D_OK;
}
