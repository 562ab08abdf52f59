// The Direct3D 9 driver's own forms of the shared states, and the states only it has: the
// per-material anti-aliasing, the scissor and the shader constants.

#include "engine/video/d3d/D3D9Driver.h"
#include "engine/video/d3d/D3D9MaterialPass.h"

namespace {

constexpr uint32_t kAlphaToCoverageOn = makeFourCC('A', 'T', 'O', 'C');
constexpr uint32_t kAtiAlphaToCoverageOn = makeFourCC('A', '2', 'M', '1');
constexpr uint32_t kAtiAlphaToCoverageOff = makeFourCC('A', '2', 'M', '0');
constexpr uint8_t kMultiSampleFlags = 1 | 2;
constexpr uint8_t kLineSmoothFlag = 4;
constexpr uint8_t kAlphaToCoverageFlag = 16;

} // namespace

void CD3D9Driver::setSamplerState(uint32_t stage, D3DSAMPLERSTATETYPE type, uint32_t value) {
    m_device->SetSamplerState(stage, type, value);
}

HRESULT CD3D9Driver::setVertexFormat(uint32_t fvf) {
    return m_device->SetFVF(fvf);
}

HRESULT CD3D9Driver::getRenderTarget(IDirect3DSurface9** surface) {
    return m_device->GetRenderTarget(0, surface);
}

HRESULT CD3D9Driver::setRenderTarget(IDirect3DSurface9* surface) {
    return m_device->SetRenderTarget(0, surface);
}

CRefPointer<IDirect3DSurface9> CD3D9Driver::copyFrontBuffer() {
    D3DDISPLAYMODE mode;
    IDirect3DSurface9* plain = nullptr;
    if (FAILED(m_device->GetDisplayMode(0, &mode)) ||
        FAILED(m_device->CreateOffscreenPlainSurface(mode.Width, mode.Height, D3DFMT_A8R8G8B8,
                                                     D3DPOOL_SCRATCH, &plain)))
        return nullptr;
    CRefPointer<IDirect3DSurface9> surface(plain);
    if (FAILED(m_device->GetFrontBufferData(0, surface.get())))
        return nullptr;
    return surface;
}

void CD3D9Driver::scissorImage(const CPixelRect* clip) {
    m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, clip != nullptr);
    if (clip) {
        const RECT scissor{clip->left, clip->top, clip->right, clip->bottom};
        m_device->SetScissorRect(&scissor);
    }
}

void CD3D9Driver::setAntiAliasStates(uint8_t flags, uint8_t lastFlags) {
    if (m_alphaToCoverage) {
        if (flags & kAlphaToCoverageFlag) {
            if (m_vendorId == kVendorNvidia)
                m_device->SetRenderState(D3DRS_ADAPTIVETESS_Y, kAlphaToCoverageOn);
            else if (m_vendorId == kVendorAti)
                m_device->SetRenderState(D3DRS_POINTSIZE, kAtiAlphaToCoverageOn);
        } else if (lastFlags & kAlphaToCoverageFlag) {
            if (m_vendorId == kVendorNvidia)
                m_device->SetRenderState(D3DRS_ADAPTIVETESS_Y, 0);
            else if (m_vendorId == kVendorAti)
                m_device->SetRenderState(D3DRS_POINTSIZE, kAtiAlphaToCoverageOff);
        }
    }
    if (m_antiAliasing == 0)
        return;
    if (flags & kMultiSampleFlags)
        m_device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, true);
    else if (lastFlags & kMultiSampleFlags)
        m_device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, false);
    if (flags & kLineSmoothFlag)
        m_device->SetRenderState(D3DRS_ANTIALIASEDLINEENABLE, true);
    else if (lastFlags & kLineSmoothFlag)
        m_device->SetRenderState(D3DRS_ANTIALIASEDLINEENABLE, false);
}

void CD3D9Driver::setScissorRect(const CPixelRect& rect) {
    const RECT scissor = {rect.left, rect.top, rect.right, rect.bottom};
    m_device->SetScissorRect(&scissor);
}

void CD3D9Driver::enableScissor(bool on) {
    m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, on);
}

void CD3D9Driver::setVertexShaderConstants(const float* data, int32_t firstRegister,
                                           int32_t registerCount) {
    if (data)
        m_device->SetVertexShaderConstantF(uint32_t(firstRegister), data, uint32_t(registerCount));
}

void CD3D9Driver::setPixelShaderConstants(const float* data, int32_t firstRegister,
                                          int32_t registerCount) {
    if (data)
        m_device->SetPixelShaderConstantF(uint32_t(firstRegister), data, uint32_t(registerCount));
}

bool CD3D9Driver::setShaderVariable(bool vertex, const char* name, const float* data,
                                    int32_t count) {
    // Only this driver's own renderers take variables; an empty slot or a foreign pass refuses.
    auto* pass = dynamic_cast<CD3D9MaterialPass*>(currentPass());
    return pass && pass->setVariable(vertex, name, data, count);
}

bool CD3D9Driver::setVertexShaderConstant(const char* name, const float* data, int32_t count) {
    return setShaderVariable(true, name, data, count);
}

bool CD3D9Driver::setPixelShaderConstant(const char* name, const float* data, int32_t count) {
    return setShaderVariable(false, name, data, count);
}
