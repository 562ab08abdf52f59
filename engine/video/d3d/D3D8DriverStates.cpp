// The Direct3D 8 driver's forms of the shared device calls, its scissor and its shader
// constants and materials.

#include "engine/video/d3d/D3D8AsmShaderRenderer.h"
#include "engine/video/d3d/D3D8Driver.h"
#include "engine/video/d3d/D3DLog.h"

namespace {

// Direct3D 8 keeps the sampler states among the stage states.
D3DTEXTURESTAGESTATETYPE stageStateOf(D3DSAMPLERSTATETYPE type) {
    switch (type) {
    case D3DSAMP_ADDRESSU:
        return D3DTSS_ADDRESSU;
    case D3DSAMP_ADDRESSV:
        return D3DTSS_ADDRESSV;
    case D3DSAMP_MAGFILTER:
        return D3DTSS_MAGFILTER;
    case D3DSAMP_MINFILTER:
        return D3DTSS_MINFILTER;
    case D3DSAMP_MIPFILTER:
        return D3DTSS_MIPFILTER;
    case D3DSAMP_MIPMAPLODBIAS:
        return D3DTSS_MIPMAPLODBIAS;
    default:
        return D3DTSS_MAXANISOTROPY;
    }
}

} // namespace

void CD3D8Driver::setSamplerState(uint32_t stage, D3DSAMPLERSTATETYPE type, uint32_t value) {
    m_device->SetTextureStageState(stage, stageStateOf(type), value);
}

HRESULT CD3D8Driver::setVertexFormat(uint32_t fvf) {
    return m_device->SetVertexShader(fvf);
}

HRESULT CD3D8Driver::getRenderTarget(IDirect3DSurface9** surface) {
    return m_device->GetRenderTarget(surface);
}

// The target keeps the device's depth-stencil surface.
HRESULT CD3D8Driver::setRenderTarget(IDirect3DSurface9* surface) {
    IDirect3DSurface8* depthStencil = nullptr;
    if (FAILED(m_device->GetDepthStencilSurface(&depthStencil)))
        depthStencil = nullptr;
    const CRefPointer<IDirect3DSurface8> holder(depthStencil);
    return m_device->SetRenderTarget(surface, depthStencil);
}

CRefPointer<IDirect3DSurface9> CD3D8Driver::copyFrontBuffer() {
    D3DDISPLAYMODE mode;
    IDirect3DSurface8* image = nullptr;
    if (FAILED(m_device->GetDisplayMode(&mode)) ||
        FAILED(m_device->CreateImageSurface(mode.Width, mode.Height, D3DFMT_A8R8G8B8, &image)))
        return nullptr;
    CRefPointer<IDirect3DSurface8> surface(image);
    if (FAILED(m_device->GetFrontBuffer(surface.get())))
        return nullptr;
    return surface;
}

void CD3D8Driver::enableScissor(bool on) {
    if (!on) {
        for (uint32_t index = 0; index < 4; ++index)
            enableClipPlane(index, false);
        return;
    }
    const CPixelRect& r = m_scissorRect;
    const CClipPlane planes[4] = {{0, 1, 0, -float(r.top)},
                                  {-1, 0, 0, float(r.right)},
                                  {0, -1, 0, float(r.bottom)},
                                  {1, 0, 0, -float(r.left)}};
    for (uint32_t index = 0; index < 4; ++index)
        setClipPlane(index, planes[index], true);
}

void CD3D8Driver::setVertexShaderConstants(const float* data, int32_t firstRegister,
                                           int32_t registerCount) {
    if (data)
        m_device->SetVertexShaderConstant(uint32_t(firstRegister), data, uint32_t(registerCount));
}

void CD3D8Driver::setPixelShaderConstants(const float* data, int32_t firstRegister,
                                          int32_t registerCount) {
    if (data)
        m_device->SetPixelShaderConstant(uint32_t(firstRegister), data, uint32_t(registerCount));
}

bool CD3D8Driver::setVertexShaderConstant(const char*, const float*, int32_t) {
    logD3DInformation("Cannot set constant, no HLSL supported in D3D8");
    return false;
}

bool CD3D8Driver::setPixelShaderConstant(const char*, const float*, int32_t) {
    logD3DInformation("Cannot set constant, no HLSL supported in D3D8");
    return false;
}

int32_t CD3D8Driver::createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                                       IShaderCallback* callback, int32_t baseMaterialType,
                                       int32_t userData) {
    if (!m_device)
        return -1;
    const CRefPointer<CD3D8AsmShaderRenderer> renderer =
        CD3D8AsmShaderRenderer::create(m_device.get(), vertexProgram, pixelProgram, callback,
                                       baseRendererOf(baseMaterialType), userData);
    if (!renderer)
        return -1;
    return setMaterialPass(int32_t(getMaterialPassCount()), renderer.get(), nullptr);
}
