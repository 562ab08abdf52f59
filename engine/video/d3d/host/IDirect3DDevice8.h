#pragma once

#include "engine/video/d3d/host/D3D8Types.h"
#include "engine/video/d3d/host/IDirect3DDeviceCommon.h"

// The device of a Direct3D 8 runtime: the shared calls and those only Direct3D 8 has. Shaders
// are handles; the vertex format is set as a vertex shader.
class IDirect3DDevice8 : public IDirect3DDeviceCommon {
public:
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS8* parameters) = 0;
    virtual HRESULT GetBackBuffer(uint32_t index, D3DBACKBUFFER_TYPE type,
                                  IDirect3DSurface8** backBuffer) = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS8* caps) = 0;
    virtual HRESULT GetRasterStatus(D3DRASTER_STATUS* status) = 0;
    virtual HRESULT GetDisplayMode(D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT GetRenderTarget(IDirect3DSurface8** surface) = 0;
    virtual HRESULT GetDepthStencilSurface(IDirect3DSurface8** surface) = 0;
    // The back buffer or a level of a render-target texture, with the depth-stencil surface to
    // draw with.
    virtual HRESULT SetRenderTarget(IDirect3DSurface8* surface,
                                    IDirect3DSurface8* depthStencil) = 0;
    // A lockable system-memory surface.
    virtual HRESULT CreateImageSurface(uint32_t width, uint32_t height, D3DFORMAT format,
                                       IDirect3DSurface8** surface) = 0;
    // Copies the whole source into the destination of the same size and format; rectangles are
    // not offered and must be none.
    virtual HRESULT CopyRects(IDirect3DSurface8* source, const RECT* sourceRects, uint32_t count,
                              IDirect3DSurface8* destination, const void* destPoints) = 0;
    // The screen as last presented, into an A8R8G8B8 surface of the display mode's size.
    virtual HRESULT GetFrontBuffer(IDirect3DSurface8* destination) = 0;
    // A flexible vertex format or a handle from CreateVertexShader.
    virtual HRESULT SetVertexShader(uint32_t handle) = 0;
    virtual HRESULT CreateVertexShader(const uint32_t* declaration, const uint32_t* function,
                                       uint32_t* handle, uint32_t usage) = 0;
    virtual HRESULT DeleteVertexShader(uint32_t handle) = 0;
    virtual HRESULT SetVertexShaderConstant(uint32_t startRegister, const void* data,
                                            uint32_t registerCount) = 0;
    virtual HRESULT CreatePixelShader(const uint32_t* function, uint32_t* handle) = 0;
    // 0 sets none.
    virtual HRESULT SetPixelShader(uint32_t handle) = 0;
    virtual HRESULT DeletePixelShader(uint32_t handle) = 0;
    virtual HRESULT SetPixelShaderConstant(uint32_t startRegister, const void* data,
                                           uint32_t registerCount) = 0;
};
