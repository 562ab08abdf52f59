#pragma once

#include "engine/core/RefCounted.h"
#include "engine/video/d3d/host/D3D9Types.h"

class IDirect3DTexture9;

// The calls the devices of Direct3D 8 and 9 share in the same form, so that what both drivers
// do alike is written once. Out-pointers of objects receive a reference the caller releases.
class IDirect3DDeviceCommon : public CRefCounted {
public:
    // D3D_OK, D3DERR_DEVICELOST or D3DERR_DEVICENOTRESET.
    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                            const void* dirtyRegion) = 0;
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
};
