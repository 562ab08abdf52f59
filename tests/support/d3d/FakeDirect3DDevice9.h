#pragma once

#include <array>
#include <map>
#include <utility>

#include "engine/video/d3d/host/IDirect3DDevice9.h"

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
    HRESULT SetVertexShaderConstantF(uint32_t startRegister, const float* data,
                                     uint32_t registerCount) override;
    HRESULT SetPixelShaderConstantF(uint32_t startRegister, const float* data,
                                    uint32_t registerCount) override;

    // A render state as last set, or the fallback when it never was.
    uint32_t renderState(uint32_t state, uint32_t fallback = 0) const;
    float floatRenderState(uint32_t state) const;
    uint32_t samplerState(uint32_t sampler, uint32_t type) const;

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

private:
    FakeD3D9Runtime& m_runtime;
};
