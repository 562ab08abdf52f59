#include "tests/support/d3d/FakeDirect3DDevice9.h"

#include <bit>
#include <string>

#include "engine/video/d3d/host/IDirect3DSurface9.h"
#include "tests/support/d3d/FakeD3D9Runtime.h"

namespace {

class FakeSurface : public IDirect3DSurface9 {
public:
    explicit FakeSurface(D3DFORMAT format) : m_format(format) {}

    HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
        *desc = D3DSURFACE_DESC();
        desc->Format = m_format;
        return D3D_OK;
    }

private:
    D3DFORMAT m_format;
};

HRESULT takeNext(std::deque<HRESULT>& results) {
    if (results.empty())
        return D3D_OK;
    const HRESULT result = results.front();
    results.pop_front();
    return result;
}

std::string args(std::initializer_list<uint32_t> values) {
    std::string text;
    for (const uint32_t value : values)
        text += (text.empty() ? "" : ", ") + std::to_string(value);
    return "(" + text + ")";
}

} // namespace

HRESULT FakeDirect3DDevice9::TestCooperativeLevel() {
    m_runtime.record("TestCooperativeLevel");
    return takeNext(m_runtime.script.cooperativeLevels);
}

HRESULT FakeDirect3DDevice9::Reset(D3DPRESENT_PARAMETERS* parameters) {
    m_runtime.record("Reset" + args({parameters->BackBufferWidth, parameters->BackBufferHeight}));
    const HRESULT result = takeNext(m_runtime.script.resetResults);
    if (!FAILED(result))
        presentParameters = *parameters;
    return result;
}

HRESULT FakeDirect3DDevice9::Present(const RECT* sourceRect, const RECT*, HWND window,
                                     const void*) {
    std::string line = "Present(";
    if (sourceRect)
        line += std::to_string(sourceRect->left) + " " + std::to_string(sourceRect->top) + " " +
                std::to_string(sourceRect->right) + " " + std::to_string(sourceRect->bottom);
    else
        line += "none";
    m_runtime.record(line + ", " + std::to_string(window) + ")");
    return takeNext(m_runtime.script.presentResults);
}

HRESULT FakeDirect3DDevice9::GetBackBuffer(uint32_t, uint32_t, D3DBACKBUFFER_TYPE,
                                           IDirect3DSurface9** backBuffer) {
    m_runtime.record("GetBackBuffer");
    if (m_runtime.script.backBufferFails)
        return D3DERR_INVALIDCALL;
    *backBuffer = new FakeSurface(m_runtime.script.backBufferFormat);
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::GetDeviceCaps(D3DCAPS9* caps) {
    m_runtime.record("GetDeviceCaps");
    *caps = m_runtime.script.caps;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::BeginScene() {
    m_runtime.record("BeginScene");
    return m_runtime.script.beginSceneResult;
}

HRESULT FakeDirect3DDevice9::EndScene() {
    m_runtime.record("EndScene");
    return m_runtime.script.endSceneResult;
}

HRESULT FakeDirect3DDevice9::Clear(uint32_t, const RECT*, uint32_t flags, D3DCOLOR color, float z,
                                   uint32_t stencil) {
    m_runtime.record("Clear" + args({flags, color, std::bit_cast<uint32_t>(z), stencil}));
    return m_runtime.script.clearResult;
}

HRESULT FakeDirect3DDevice9::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    m_runtime.record("SetTransform" + args({state}));
    transforms[state] = *matrix;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetMaterial(const D3DMATERIAL9* value) {
    m_runtime.record("SetMaterial");
    material = *value;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetLight(uint32_t index, const D3DLIGHT9* light) {
    m_runtime.record("SetLight" + args({index}));
    if (m_runtime.script.refusedLights.count(index))
        return D3DERR_INVALIDCALL;
    lights[index] = *light;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::LightEnable(uint32_t index, bool enable) {
    m_runtime.record("LightEnable" + args({index, enable}));
    lightsEnabled[index] = enable;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetClipPlane(uint32_t index, const float* plane) {
    m_runtime.record("SetClipPlane" + args({index}));
    clipPlanes[index] = {plane[0], plane[1], plane[2], plane[3]};
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    m_runtime.record("SetRenderState" + args({state, value}));
    renderStates[state] = value;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) {
    *value = renderState(state);
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                                                  uint32_t value) {
    m_runtime.record("SetTextureStageState" + args({stage, type, value}));
    stageStates[{stage, type}] = value;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type,
                                             uint32_t value) {
    m_runtime.record("SetSamplerState" + args({sampler, type, value}));
    samplerStates[{sampler, type}] = value;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetScissorRect(const RECT* rect) {
    m_runtime.record("SetScissorRect" + args({uint32_t(rect->left), uint32_t(rect->top),
                                              uint32_t(rect->right), uint32_t(rect->bottom)}));
    scissor = *rect;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetFVF(uint32_t value) {
    m_runtime.record("SetFVF" + args({value}));
    if (FAILED(m_runtime.script.setFVFResult))
        return m_runtime.script.setFVFResult;
    fvf = value;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount,
                                             const void*, uint32_t stride) {
    m_runtime.record("DrawPrimitiveUP" + args({type, primitiveCount, stride}));
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex,
                                                    uint32_t vertexCount, uint32_t primitiveCount,
                                                    const void*, D3DFORMAT indexFormat, const void*,
                                                    uint32_t stride) {
    m_runtime.record("DrawIndexedPrimitiveUP" + args({type, minVertexIndex, vertexCount,
                                                      primitiveCount, indexFormat, stride}));
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetVertexShaderConstantF(uint32_t startRegister, const float*,
                                                      uint32_t registerCount) {
    m_runtime.record("SetVertexShaderConstantF" + args({startRegister, registerCount}));
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetPixelShaderConstantF(uint32_t startRegister, const float*,
                                                     uint32_t registerCount) {
    m_runtime.record("SetPixelShaderConstantF" + args({startRegister, registerCount}));
    return D3D_OK;
}

uint32_t FakeDirect3DDevice9::renderState(uint32_t state, uint32_t fallback) const {
    const auto found = renderStates.find(state);
    return found == renderStates.end() ? fallback : found->second;
}

float FakeDirect3DDevice9::floatRenderState(uint32_t state) const {
    return std::bit_cast<float>(renderState(state));
}

uint32_t FakeDirect3DDevice9::samplerState(uint32_t sampler, uint32_t type) const {
    const auto found = samplerStates.find({sampler, type});
    return found == samplerStates.end() ? 0 : found->second;
}
