#include "engine/video/d3d/host/Direct3D8On9.h"

namespace {

// The sampler state a Direct3D 8 stage state stands for, or 0 for a true stage state.
D3DSAMPLERSTATETYPE samplerStateOf(D3DTEXTURESTAGESTATETYPE type) {
    switch (type) {
    case D3DTSS_ADDRESSU:
        return D3DSAMP_ADDRESSU;
    case D3DTSS_ADDRESSV:
        return D3DSAMP_ADDRESSV;
    case D3DTSS_MAGFILTER:
        return D3DSAMP_MAGFILTER;
    case D3DTSS_MINFILTER:
        return D3DSAMP_MINFILTER;
    case D3DTSS_MIPFILTER:
        return D3DSAMP_MIPFILTER;
    case D3DTSS_MIPMAPLODBIAS:
        return D3DSAMP_MIPMAPLODBIAS;
    case D3DTSS_MAXANISOTROPY:
        return D3DSAMP_MAXANISOTROPY;
    default:
        return D3DSAMPLERSTATETYPE(0);
    }
}

// The Direct3D 9 parameters that present as the Direct3D 8 ones ask: a windowed swap chain
// presents at once (Direct3D 8 waits for the blank itself when it wants).
D3DPRESENT_PARAMETERS presentParametersOf(const D3DPRESENT_PARAMETERS8& parameters) {
    D3DPRESENT_PARAMETERS result;
    result.BackBufferWidth = parameters.BackBufferWidth;
    result.BackBufferHeight = parameters.BackBufferHeight;
    result.BackBufferFormat = parameters.BackBufferFormat;
    result.BackBufferCount = parameters.BackBufferCount;
    result.MultiSampleType = parameters.MultiSampleType;
    result.SwapEffect = parameters.SwapEffect;
    result.hDeviceWindow = parameters.hDeviceWindow;
    result.Windowed = parameters.Windowed;
    result.EnableAutoDepthStencil = parameters.EnableAutoDepthStencil;
    result.AutoDepthStencilFormat = parameters.AutoDepthStencilFormat;
    result.Flags = parameters.Flags;
    result.FullScreen_RefreshRateInHz = parameters.FullScreen_RefreshRateInHz;
    result.PresentationInterval = parameters.Windowed ? D3DPRESENT_INTERVAL_IMMEDIATE
                                                      : parameters.FullScreen_PresentationInterval;
    return result;
}

} // namespace

HRESULT CDirect3D8On9::GetAdapterIdentifier(uint32_t adapter, uint32_t flags,
                                            D3DADAPTER_IDENTIFIER8* identifier) {
    return m_d3d->GetAdapterIdentifier(adapter, flags, identifier);
}

HRESULT CDirect3D8On9::GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) {
    return m_d3d->GetAdapterDisplayMode(adapter, mode);
}

HRESULT CDirect3D8On9::CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE deviceType,
                                         D3DFORMAT adapterFormat, uint32_t usage,
                                         D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
    return m_d3d->CheckDeviceFormat(adapter, deviceType, adapterFormat, usage, resourceType,
                                    checkFormat);
}

HRESULT CDirect3D8On9::CheckDepthStencilMatch(uint32_t adapter, D3DDEVTYPE deviceType,
                                              D3DFORMAT adapterFormat, D3DFORMAT renderTargetFormat,
                                              D3DFORMAT depthStencilFormat) {
    return m_d3d->CheckDepthStencilMatch(adapter, deviceType, adapterFormat, renderTargetFormat,
                                         depthStencilFormat);
}

HRESULT CDirect3D8On9::CheckDeviceMultiSampleType(uint32_t adapter, D3DDEVTYPE deviceType,
                                                  D3DFORMAT surfaceFormat, bool windowed,
                                                  D3DMULTISAMPLE_TYPE type) {
    uint32_t qualityLevels = 0;
    return m_d3d->CheckDeviceMultiSampleType(adapter, deviceType, surfaceFormat, windowed, type,
                                             &qualityLevels);
}

HRESULT CDirect3D8On9::CreateDevice(uint32_t adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                    uint32_t behaviorFlags, D3DPRESENT_PARAMETERS8* parameters,
                                    IDirect3DDevice8** device) {
    *device = nullptr;
    D3DPRESENT_PARAMETERS parameters9 = presentParametersOf(*parameters);
    IDirect3DDevice9* device9 = nullptr;
    const HRESULT result = m_d3d->CreateDevice(adapter, deviceType, focusWindow, behaviorFlags,
                                               &parameters9, &device9);
    if (FAILED(result))
        return result;
    const CRefPointer<IDirect3DDevice9> holder(device9);
    *device = new CDirect3DDevice8On9(device9);
    return D3D_OK;
}

HRESULT CDirect3DDevice8On9::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                                                  uint32_t value) {
    const D3DSAMPLERSTATETYPE sampler = samplerStateOf(type);
    if (sampler != D3DSAMPLERSTATETYPE(0))
        return m_device->SetSamplerState(stage, sampler, value);
    return m_device->SetTextureStageState(stage, type, value);
}

HRESULT CDirect3DDevice8On9::Reset(D3DPRESENT_PARAMETERS8* parameters) {
    D3DPRESENT_PARAMETERS parameters9 = presentParametersOf(*parameters);
    return m_device->Reset(&parameters9);
}

HRESULT CDirect3DDevice8On9::GetDeviceCaps(D3DCAPS8* caps) {
    const HRESULT result = m_device->GetDeviceCaps(caps);
    // Direct3D 8 has no simultaneous render targets to count.
    caps->NumSimultaneousRTs = 0;
    return result;
}

HRESULT CDirect3DDevice8On9::CopyRects(IDirect3DSurface8* source, const RECT* sourceRects,
                                       uint32_t count, IDirect3DSurface8* destination,
                                       const void* destPoints) {
    if (!source || !destination || sourceRects || count != 0 || destPoints)
        return D3DERR_INVALIDCALL;
    return m_device->GetRenderTargetData(source, destination);
}

const CDirect3DDevice8On9::VertexShader*
CDirect3DDevice8On9::findVertexShader(uint32_t handle) const {
    for (uint32_t i = 0; i < m_vertexShaders.size(); ++i) {
        if (m_vertexShaders[i].handle == handle)
            return &m_vertexShaders[i];
    }
    return nullptr;
}

const CDirect3DDevice8On9::PixelShader*
CDirect3DDevice8On9::findPixelShader(uint32_t handle) const {
    for (uint32_t i = 0; i < m_pixelShaders.size(); ++i) {
        if (m_pixelShaders[i].handle == handle)
            return &m_pixelShaders[i];
    }
    return nullptr;
}

HRESULT CDirect3DDevice8On9::SetVertexShader(uint32_t handle) {
    if (isVertexShaderHandle(handle)) {
        const VertexShader* shader = findVertexShader(handle);
        if (!shader)
            return D3DERR_INVALIDCALL;
        m_currentVertexShader = handle;
        return m_device->SetVertexShader(shader->shader.get());
    }
    if (m_currentVertexShader != 0) {
        m_device->SetVertexShader(nullptr);
        m_currentVertexShader = 0;
    }
    return m_device->SetFVF(handle);
}

HRESULT CDirect3DDevice8On9::CreateVertexShader(const uint32_t* declaration,
                                                const uint32_t* function, uint32_t* handle,
                                                uint32_t) {
    *handle = 0;
    if (!declaration || !function)
        return D3DERR_INVALIDCALL;
    IDirect3DVertexShader9* created = nullptr;
    const HRESULT result = m_device->CreateVertexShader(function, &created);
    if (FAILED(result))
        return result;
    VertexShader shader;
    shader.shader = CRefPointer<IDirect3DVertexShader9>(created);
    for (const uint32_t* token = declaration; *token != D3DVSD_END(); ++token)
        shader.declaration.append(*token);
    shader.handle = m_nextHandle * 2 + 1;
    ++m_nextHandle;
    *handle = shader.handle;
    m_vertexShaders.append(std::move(shader));
    return D3D_OK;
}

HRESULT CDirect3DDevice8On9::DeleteVertexShader(uint32_t handle) {
    for (uint32_t i = 0; i < m_vertexShaders.size(); ++i) {
        if (m_vertexShaders[i].handle != handle)
            continue;
        if (m_currentVertexShader == handle) {
            m_device->SetVertexShader(nullptr);
            m_currentVertexShader = 0;
        }
        m_vertexShaders.eraseAt(i);
        return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT CDirect3DDevice8On9::CreatePixelShader(const uint32_t* function, uint32_t* handle) {
    *handle = 0;
    IDirect3DPixelShader9* created = nullptr;
    const HRESULT result = m_device->CreatePixelShader(function, &created);
    if (FAILED(result))
        return result;
    PixelShader shader;
    shader.shader = CRefPointer<IDirect3DPixelShader9>(created);
    shader.handle = m_nextHandle * 2;
    ++m_nextHandle;
    *handle = shader.handle;
    m_pixelShaders.append(std::move(shader));
    return D3D_OK;
}

HRESULT CDirect3DDevice8On9::SetPixelShader(uint32_t handle) {
    if (handle == 0)
        return m_device->SetPixelShader(nullptr);
    const PixelShader* shader = findPixelShader(handle);
    return shader ? m_device->SetPixelShader(shader->shader.get()) : D3DERR_INVALIDCALL;
}

HRESULT CDirect3DDevice8On9::DeletePixelShader(uint32_t handle) {
    for (uint32_t i = 0; i < m_pixelShaders.size(); ++i) {
        if (m_pixelShaders[i].handle == handle) {
            m_pixelShaders.eraseAt(i);
            return D3D_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

CArray<uint32_t> CDirect3DDevice8On9::getDeclaration(uint32_t handle) const {
    const VertexShader* shader = findVertexShader(handle);
    return shader ? shader->declaration : CArray<uint32_t>();
}

uint32_t CDirect3DDevice8On9::getShaderCount() const {
    return m_vertexShaders.size() + m_pixelShaders.size();
}
