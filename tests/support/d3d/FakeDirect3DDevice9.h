#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"
#include "engine/video/d3d/host/IDirect3DShader9.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"
#include "engine/video/d3d/host/IDirect3DTexture9.h"

class FakeD3D9Runtime;

// The fake runtime's device: logs every call, answers from the script and keeps the states it
// was given, so tests can read what a driver left on the device.
class FakeDirect3DDevice9 : public IDirect3DDevice9 {
public:
    FakeDirect3DDevice9(FakeD3D9Runtime& runtime, uint32_t behaviorFlags,
                        const D3DPRESENT_PARAMETERS& parameters)
        : behaviorFlags(behaviorFlags), presentParameters(parameters), m_runtime(runtime) {}

    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                    const void* dirtyRegion) override;
    HRESULT GetBackBuffer(uint32_t swapChain, uint32_t index, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** backBuffer) override;
    HRESULT GetDeviceCaps(D3DCAPS9* caps) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(uint32_t rectCount, const RECT* rects, uint32_t flags, D3DCOLOR color, float z,
                  uint32_t stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT SetLight(uint32_t index, const D3DLIGHT9* light) override;
    HRESULT LightEnable(uint32_t index, bool enable) override;
    HRESULT SetClipPlane(uint32_t index, const float* plane) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) override;
    HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                                 uint32_t value) override;
    HRESULT SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) override;
    HRESULT SetScissorRect(const RECT* rect) override;
    HRESULT SetFVF(uint32_t fvf) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                            uint32_t stride) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex,
                                   uint32_t vertexCount, uint32_t primitiveCount,
                                   const void* indices, D3DFORMAT indexFormat, const void* vertices,
                                   uint32_t stride) override;
    HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) override;
    HRESULT SetTexture(uint32_t stage, IDirect3DTexture9* texture) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetRenderTarget(uint32_t index, IDirect3DSurface9** surface) override;
    HRESULT SetRenderTarget(uint32_t index, IDirect3DSurface9* surface) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                IDirect3DSurface9* destination) override;
    HRESULT CreateOffscreenPlainSurface(uint32_t width, uint32_t height, D3DFORMAT format,
                                        D3DPOOL pool, IDirect3DSurface9** surface) override;
    HRESULT GetDisplayMode(uint32_t swapChain, D3DDISPLAYMODE* mode) override;
    HRESULT GetFrontBufferData(uint32_t swapChain, IDirect3DSurface9* destination) override;
    HRESULT GetRasterStatus(uint32_t swapChain, D3DRASTER_STATUS* status) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override;
    HRESULT CreateVertexShader(const uint32_t* function, IDirect3DVertexShader9** shader) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override;
    HRESULT GetVertexShader(IDirect3DVertexShader9** shader) override;
    HRESULT CreatePixelShader(const uint32_t* function, IDirect3DPixelShader9** shader) override;
    HRESULT SetPixelShader(IDirect3DPixelShader9* shader) override;
    HRESULT SetVertexShaderConstantF(uint32_t startRegister, const float* data,
                                     uint32_t registerCount) override;
    HRESULT SetPixelShaderConstantF(uint32_t startRegister, const float* data,
                                    uint32_t registerCount) override;

    // A render state as last set, or the fallback when it never was.
    uint32_t renderState(uint32_t state, uint32_t fallback = 0) const;
    float floatRenderState(uint32_t state) const;
    uint32_t samplerState(uint32_t sampler, uint32_t type) const;
    uint32_t stageState(uint32_t stage, uint32_t type) const;
    // The name the log gives a texture or surface: "texture1", "surface2", "backbuffer".
    std::string nameOf(const void* object) const;

    // The screen the front buffer shows: the pixel at (x, y) is x | y << 16 with alpha 0.
    static uint32_t frontBufferPixel(uint32_t x, uint32_t y) { return x | y << 16; }

    uint32_t behaviorFlags;
    D3DPRESENT_PARAMETERS presentParameters;
    uint32_t fvf = 0;
    RECT scissor;
    D3DMATERIAL9 material;
    std::map<uint32_t, uint32_t> renderStates;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> stageStates;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> samplerStates;
    std::map<uint32_t, D3DMATRIX> transforms;
    std::map<uint32_t, D3DLIGHT9> lights;
    std::map<uint32_t, bool> lightsEnabled;
    std::map<uint32_t, std::array<float, 4>> clipPlanes;
    std::map<uint32_t, CRefPointer<IDirect3DTexture9>> textures;
    D3DVIEWPORT9 viewport;
    CRefPointer<IDirect3DSurface9> backBuffer;
    CRefPointer<IDirect3DSurface9> renderTarget;
    CRefPointer<IDirect3DSurface9> depthStencil;
    CRefPointer<IDirect3DVertexShader9> vertexShader;
    CRefPointer<IDirect3DPixelShader9> pixelShader;
    std::map<const void*, std::string> names;
    // The vertices and indices of the last draw.
    std::vector<uint8_t> lastVertices;
    std::vector<uint32_t> lastIndices;

private:
    FakeD3D9Runtime& m_runtime;
};
