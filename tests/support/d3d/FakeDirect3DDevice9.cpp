#include "tests/support/d3d/FakeDirect3DDevice9.h"

#include <bit>
#include <cstring>
#include <string>

#include "engine/video/d3d/host/IDirect3DSurface9.h"
#include "engine/video/d3d/host/MemorySurface9.h"
#include "engine/video/d3d/host/MemoryTexture9.h"
#include "tests/support/d3d/FakeD3D9Runtime.h"

namespace {

class FakeVertexShader : public IDirect3DVertexShader9 {};
class FakePixelShader : public IDirect3DPixelShader9 {};

HRESULT takeNext(std::deque<HRESULT>& results) {
    if (results.empty())
        return D3D_OK;
    const HRESULT result = results.front();
    results.pop_front();
    return result;
}

uint32_t verticesOf(D3DPRIMITIVETYPE type, uint32_t count) {
    switch (type) {
    case D3DPT_POINTLIST:
        return count;
    case D3DPT_LINELIST:
        return count * 2;
    case D3DPT_LINESTRIP:
        return count + 1;
    case D3DPT_TRIANGLELIST:
        return count * 3;
    default:
        return count + 2;
    }
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
    *backBuffer =
        new CMemorySurface9(presentParameters.BackBufferWidth, presentParameters.BackBufferHeight,
                            m_runtime.script.backBufferFormat, D3DPOOL_DEFAULT);
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
                                             const void* vertices, uint32_t stride) {
    m_runtime.record("DrawPrimitiveUP" + args({type, primitiveCount, stride}));
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    lastVertices.assign(bytes, bytes + size_t(verticesOf(type, primitiveCount)) * stride);
    lastIndices.clear();
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex,
                                                    uint32_t vertexCount, uint32_t primitiveCount,
                                                    const void* indices, D3DFORMAT indexFormat,
                                                    const void* vertices, uint32_t stride) {
    m_runtime.record("DrawIndexedPrimitiveUP" + args({type, minVertexIndex, vertexCount,
                                                      primitiveCount, indexFormat, stride}));
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    lastVertices.assign(bytes, bytes + size_t(vertexCount) * stride);
    lastIndices.clear();
    for (uint32_t i = 0; i < verticesOf(type, primitiveCount); ++i)
        lastIndices.push_back(indexFormat == D3DFMT_INDEX32
                                  ? static_cast<const uint32_t*>(indices)[i]
                                  : static_cast<const uint16_t*>(indices)[i]);
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                                           uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                           IDirect3DTexture9** texture) {
    m_runtime.record("CreateTexture" + args({width, height, levels, usage, format, pool}));
    const FakeD3D9Script& script = m_runtime.script;
    if (script.refusedTextureFormats.count(format))
        return D3DERR_NOTAVAILABLE;
    if ((usage & D3DUSAGE_RENDERTARGET) && FAILED(script.renderTargetResult))
        return script.renderTargetResult;
    if (format == D3DFMT_UNKNOWN)
        return D3DERR_INVALIDCALL;
    *texture = new CMemoryTexture9(width, height, levels, usage, format, pool);
    names[*texture] = "texture" + std::to_string(names.size() + 1);
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetTexture(uint32_t stage, IDirect3DTexture9* texture) {
    m_runtime.record("SetTexture(" + std::to_string(stage) + ", " + nameOf(texture) + ")");
    textures[stage] = CRefPointer<IDirect3DTexture9>::share(texture);
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetViewport(const D3DVIEWPORT9* value) {
    m_runtime.record("SetViewport" + args({value->X, value->Y, value->Width, value->Height}));
    if (!FAILED(m_runtime.script.viewportResult))
        viewport = *value;
    return m_runtime.script.viewportResult;
}

HRESULT FakeDirect3DDevice9::GetRenderTarget(uint32_t index, IDirect3DSurface9** surface) {
    m_runtime.record("GetRenderTarget" + args({index}));
    if (m_runtime.script.getRenderTargetFails)
        return D3DERR_INVALIDCALL;
    if (!renderTarget) {
        backBuffer = CRefPointer<IDirect3DSurface9>(new CMemorySurface9(
            presentParameters.BackBufferWidth, presentParameters.BackBufferHeight, D3DFMT_X8R8G8B8,
            D3DPOOL_DEFAULT));
        names[backBuffer.get()] = "backbuffer";
        renderTarget = backBuffer;
    }
    renderTarget->addRef();
    *surface = renderTarget.get();
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetRenderTarget(uint32_t index, IDirect3DSurface9* surface) {
    std::string target = nameOf(surface);
    if (const auto* level = dynamic_cast<CMemoryTextureLevel9*>(surface))
        target = nameOf(&level->texture()) + "." + std::to_string(level->level());
    m_runtime.record("SetRenderTarget(" + std::to_string(index) + ", " + target + ")");
    if (!FAILED(m_runtime.script.setRenderTargetResult))
        renderTarget = CRefPointer<IDirect3DSurface9>::share(surface);
    return m_runtime.script.setRenderTargetResult;
}

HRESULT FakeDirect3DDevice9::GetRenderTargetData(IDirect3DSurface9*,
                                                 IDirect3DSurface9* destination) {
    m_runtime.record("GetRenderTargetData(" + nameOf(destination) + ")");
    D3DLOCKED_RECT locked;
    if (FAILED(destination->LockRect(&locked, nullptr, 0)))
        return D3DERR_INVALIDCALL;
    // A render target reads back as 0x11 bytes.
    D3DSURFACE_DESC desc;
    destination->GetDesc(&desc);
    for (uint32_t y = 0; y < desc.Height; ++y)
        std::memset(static_cast<uint8_t*>(locked.pBits) + size_t(y) * size_t(locked.Pitch), 0x11,
                    size_t(locked.Pitch));
    destination->UnlockRect();
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::CreateOffscreenPlainSurface(uint32_t width, uint32_t height,
                                                         D3DFORMAT format, D3DPOOL pool,
                                                         IDirect3DSurface9** surface) {
    m_runtime.record("CreateOffscreenPlainSurface" + args({width, height, format, pool}));
    *surface = new CMemorySurface9(width, height, format, pool);
    names[*surface] = "surface" + std::to_string(names.size() + 1);
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::GetDisplayMode(uint32_t, D3DDISPLAYMODE* mode) {
    *mode = m_runtime.script.displayMode;
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::GetFrontBufferData(uint32_t, IDirect3DSurface9* destination) {
    m_runtime.record("GetFrontBufferData(" + nameOf(destination) + ")");
    if (m_runtime.script.frontBufferFails)
        return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc;
    destination->GetDesc(&desc);
    D3DLOCKED_RECT locked;
    if (FAILED(destination->LockRect(&locked, nullptr, 0)))
        return D3DERR_INVALIDCALL;
    for (uint32_t y = 0; y < desc.Height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) +
                                                size_t(y) * size_t(locked.Pitch));
        for (uint32_t x = 0; x < desc.Width; ++x)
            row[x] = frontBufferPixel(x, y);
    }
    destination->UnlockRect();
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::GetRasterStatus(uint32_t, D3DRASTER_STATUS* status) {
    m_runtime.record("GetRasterStatus");
    std::deque<FakeRasterStatus>& answers = m_runtime.script.rasterStatuses;
    const FakeRasterStatus answer = answers.empty() ? FakeRasterStatus() : answers.front();
    if (!answers.empty())
        answers.pop_front();
    status->InVBlank = answer.inVerticalBlank;
    return answer.result;
}

HRESULT FakeDirect3DDevice9::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    m_runtime.record("GetDepthStencilSurface");
    if (!depthStencil) {
        depthStencil = CRefPointer<IDirect3DSurface9>(new CMemorySurface9(
            presentParameters.BackBufferWidth, presentParameters.BackBufferHeight,
            presentParameters.AutoDepthStencilFormat, D3DPOOL_DEFAULT));
        names[depthStencil.get()] = "depthstencil";
    }
    depthStencil->addRef();
    *surface = depthStencil.get();
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::CreateVertexShader(const uint32_t* function,
                                                IDirect3DVertexShader9** shader) {
    m_runtime.record("CreateVertexShader(" + std::to_string(function ? function[0] : 0) + ")");
    if (m_runtime.script.createShaderFails)
        return D3DERR_INVALIDCALL;
    *shader = new FakeVertexShader;
    names[*shader] = "vs" + std::to_string(function ? function[0] : 0);
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetVertexShader(IDirect3DVertexShader9* shader) {
    m_runtime.record("SetVertexShader(" + nameOf(shader) + ")");
    if (!FAILED(m_runtime.script.setShaderResult))
        vertexShader = CRefPointer<IDirect3DVertexShader9>::share(shader);
    return m_runtime.script.setShaderResult;
}

HRESULT FakeDirect3DDevice9::GetVertexShader(IDirect3DVertexShader9** shader) {
    if (vertexShader)
        vertexShader->addRef();
    *shader = vertexShader.get();
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::CreatePixelShader(const uint32_t* function,
                                               IDirect3DPixelShader9** shader) {
    m_runtime.record("CreatePixelShader(" + std::to_string(function ? function[0] : 0) + ")");
    if (m_runtime.script.createShaderFails)
        return D3DERR_INVALIDCALL;
    *shader = new FakePixelShader;
    names[*shader] = "ps" + std::to_string(function ? function[0] : 0);
    return D3D_OK;
}

HRESULT FakeDirect3DDevice9::SetPixelShader(IDirect3DPixelShader9* shader) {
    m_runtime.record("SetPixelShader(" + nameOf(shader) + ")");
    if (!FAILED(m_runtime.script.setShaderResult))
        pixelShader = CRefPointer<IDirect3DPixelShader9>::share(shader);
    return m_runtime.script.setShaderResult;
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

uint32_t FakeDirect3DDevice9::stageState(uint32_t stage, uint32_t type) const {
    const auto found = stageStates.find({stage, type});
    return found == stageStates.end() ? 0 : found->second;
}

std::string FakeDirect3DDevice9::nameOf(const void* object) const {
    if (!object)
        return "none";
    const auto found = names.find(object);
    return found == names.end() ? "unknown" : found->second;
}

uint32_t FakeDirect3DDevice9::samplerState(uint32_t sampler, uint32_t type) const {
    const auto found = samplerStates.find({sampler, type});
    return found == samplerStates.end() ? 0 : found->second;
}
