#pragma once

#include "engine/video/d3d/host/D3D9Types.h"
#include "engine/video/d3d/host/IDirect3DDeviceCommon.h"

class IDirect3DPixelShader9;
class IDirect3DSurface9;
class IDirect3DTexture9;
class IDirect3DVertexShader9;

// The device of a Direct3D 9 runtime: the shared calls and those only Direct3D 9 has.
class IDirect3DDevice9 : public IDirect3DDeviceCommon {
public:
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) = 0;
    virtual HRESULT GetBackBuffer(uint32_t swapChain, uint32_t index, D3DBACKBUFFER_TYPE type,
                                  IDirect3DSurface9** backBuffer) = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS9* caps) = 0;
    virtual HRESULT SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) = 0;
    virtual HRESULT SetScissorRect(const RECT* rect) = 0;
    virtual HRESULT SetFVF(uint32_t fvf) = 0;
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
    // Where the swap chain's scan-out is; runtimes that cannot tell report vertical blank.
    virtual HRESULT GetRasterStatus(uint32_t swapChain, D3DRASTER_STATUS* status) = 0;
    // The automatic depth-stencil surface.
    virtual HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) = 0;
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
