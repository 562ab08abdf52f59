#pragma once

#include "engine/core/RefCounted.h"
#include "engine/video/d3d/host/D3D9Types.h"

class IDirect3DPixelShader9;
class IDirect3DSurface9;
class IDirect3DTexture9;
class IDirect3DVertexShader9;

// The device of a Direct3D 9 runtime. Out-pointers of objects receive a reference the caller
// releases.
class IDirect3DDevice9 : public CRefCounted {
public:
    // D3D_OK, D3DERR_DEVICELOST or D3DERR_DEVICENOTRESET.
    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) = 0;
    virtual HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                            const void* dirtyRegion) = 0;
    virtual HRESULT GetBackBuffer(uint32_t swapChain, uint32_t index, D3DBACKBUFFER_TYPE type,
                                  IDirect3DSurface9** backBuffer) = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS9* caps) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // Rectangles are not used by the drivers: the whole target is cleared.
    virtual HRESULT Clear(uint32_t rectCount, const RECT* rects, uint32_t flags, D3DCOLOR color,
                          float z, uint32_t stencil) = 0;
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL9* material) = 0;
    virtual HRESULT SetLight(uint32_t index, const D3DLIGHT9* light) = 0;
    virtual HRESULT LightEnable(uint32_t index, bool enable) = 0;
    virtual HRESULT SetClipPlane(uint32_t index, const float* plane) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) = 0;
    virtual HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                                         uint32_t value) = 0;
    virtual HRESULT SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) = 0;
    virtual HRESULT SetScissorRect(const RECT* rect) = 0;
    virtual HRESULT SetFVF(uint32_t fvf) = 0;
    // Draws from the caller's memory, laid out by the current vertex format.
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount,
                                    const void* vertices, uint32_t stride) = 0;
    virtual HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex,
                                           uint32_t vertexCount, uint32_t primitiveCount,
                                           const void* indices, D3DFORMAT indexFormat,
                                           const void* vertices, uint32_t stride) = 0;
    // Levels 0 makes the whole chain down to 1 x 1.
    virtual HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                  D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) = 0;
    // None unbinds the stage.
    virtual HRESULT SetTexture(uint32_t stage, IDirect3DTexture9* texture) = 0;
    virtual HRESULT SetViewport(const D3DVIEWPORT9* viewport) = 0;
    virtual HRESULT GetRenderTarget(uint32_t index, IDirect3DSurface9** surface) = 0;
    // The back buffer or a level of a render-target texture; the viewport becomes the whole
    // target.
    virtual HRESULT SetRenderTarget(uint32_t index, IDirect3DSurface9* surface) = 0;
    // Copies a render target into a system-memory surface of the same size and format.
    virtual HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                        IDirect3DSurface9* destination) = 0;
    virtual HRESULT CreateOffscreenPlainSurface(uint32_t width, uint32_t height, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DSurface9** surface) = 0;
    // The display mode of the swap chain, and the screen as last presented, copied into an
    // A8R8G8B8 surface of that size.
    virtual HRESULT GetDisplayMode(uint32_t swapChain, D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT GetFrontBufferData(uint32_t swapChain, IDirect3DSurface9* destination) = 0;
    virtual HRESULT CreateVertexShader(const uint32_t* function,
                                       IDirect3DVertexShader9** shader) = 0;
    virtual HRESULT SetVertexShader(IDirect3DVertexShader9* shader) = 0;
    // The current vertex shader with a reference the caller releases, or none.
    virtual HRESULT GetVertexShader(IDirect3DVertexShader9** shader) = 0;
    virtual HRESULT CreatePixelShader(const uint32_t* function, IDirect3DPixelShader9** shader) = 0;
    virtual HRESULT SetPixelShader(IDirect3DPixelShader9* shader) = 0;
    virtual HRESULT SetVertexShaderConstantF(uint32_t startRegister, const float* data,
                                             uint32_t registerCount) = 0;
    virtual HRESULT SetPixelShaderConstantF(uint32_t startRegister, const float* data,
                                            uint32_t registerCount) = 0;
};
