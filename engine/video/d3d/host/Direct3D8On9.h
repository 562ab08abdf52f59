#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/video/d3d/host/IDirect3D8.h"
#include "engine/video/d3d/host/IDirect3D9.h"
#include "engine/video/d3d/host/IDirect3DDevice8.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"
#include "engine/video/d3d/host/IDirect3DShader9.h"

// Direct3D 8 on a Direct3D 9 runtime of ours: each Direct3D 8 call becomes the Direct3D 9 call
// that does the same (stage sampler states become sampler states, a vertex format set as a
// shader becomes SetFVF, image surfaces are system-memory planes, ...), so every runtime we have
// serves both versions.
class CDirect3D8On9 : public IDirect3D8 {
public:
    explicit CDirect3D8On9(IDirect3D9* d3d) : m_d3d(CRefPointer<IDirect3D9>::share(d3d)) {}

    HRESULT GetAdapterIdentifier(uint32_t adapter, uint32_t flags,
                                 D3DADAPTER_IDENTIFIER8* identifier) override;
    HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) override;
    HRESULT CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                              uint32_t usage, D3DRESOURCETYPE resourceType,
                              D3DFORMAT checkFormat) override;
    HRESULT CheckDepthStencilMatch(uint32_t adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                   D3DFORMAT renderTargetFormat,
                                   D3DFORMAT depthStencilFormat) override;
    HRESULT CheckDeviceMultiSampleType(uint32_t adapter, D3DDEVTYPE deviceType,
                                       D3DFORMAT surfaceFormat, bool windowed,
                                       D3DMULTISAMPLE_TYPE type) override;
    HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                         uint32_t behaviorFlags, D3DPRESENT_PARAMETERS8* parameters,
                         IDirect3DDevice8** device) override;

private:
    CRefPointer<IDirect3D9> m_d3d;
};

class CDirect3DDevice8On9 : public IDirect3DDevice8 {
public:
    explicit CDirect3DDevice8On9(IDirect3DDevice9* device)
        : m_device(CRefPointer<IDirect3DDevice9>::share(device)) {}

    HRESULT TestCooperativeLevel() override { return m_device->TestCooperativeLevel(); }
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                    const void* dirtyRegion) override {
        return m_device->Present(sourceRect, destRect, destWindowOverride, dirtyRegion);
    }
    HRESULT BeginScene() override { return m_device->BeginScene(); }
    HRESULT EndScene() override { return m_device->EndScene(); }
    HRESULT Clear(uint32_t rectCount, const RECT* rects, uint32_t flags, D3DCOLOR color, float z,
                  uint32_t stencil) override {
        return m_device->Clear(rectCount, rects, flags, color, z, stencil);
    }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        return m_device->SetTransform(state, matrix);
    }
    HRESULT SetMaterial(const D3DMATERIAL8* material) override {
        return m_device->SetMaterial(material);
    }
    HRESULT SetLight(uint32_t index, const D3DLIGHT8* light) override {
        return m_device->SetLight(index, light);
    }
    HRESULT LightEnable(uint32_t index, bool enable) override {
        return m_device->LightEnable(index, enable);
    }
    HRESULT SetClipPlane(uint32_t index, const float* plane) override {
        return m_device->SetClipPlane(index, plane);
    }
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override {
        return m_device->SetRenderState(state, value);
    }
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) override {
        return m_device->GetRenderState(state, value);
    }
    HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                                 uint32_t value) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                            uint32_t stride) override {
        return m_device->DrawPrimitiveUP(type, primitiveCount, vertices, stride);
    }
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex,
                                   uint32_t vertexCount, uint32_t primitiveCount,
                                   const void* indices, D3DFORMAT indexFormat, const void* vertices,
                                   uint32_t stride) override {
        return m_device->DrawIndexedPrimitiveUP(type, minVertexIndex, vertexCount, primitiveCount,
                                                indices, indexFormat, vertices, stride);
    }
    HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) override {
        return m_device->CreateTexture(width, height, levels, usage, format, pool, texture);
    }
    HRESULT SetTexture(uint32_t stage, IDirect3DTexture8* texture) override {
        return m_device->SetTexture(stage, texture);
    }
    HRESULT SetViewport(const D3DVIEWPORT8* viewport) override {
        return m_device->SetViewport(viewport);
    }

    HRESULT Reset(D3DPRESENT_PARAMETERS8* parameters) override;
    HRESULT GetBackBuffer(uint32_t index, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface8** backBuffer) override {
        return m_device->GetBackBuffer(0, index, type, backBuffer);
    }
    HRESULT GetDeviceCaps(D3DCAPS8* caps) override;
    HRESULT GetRasterStatus(D3DRASTER_STATUS* status) override {
        return m_device->GetRasterStatus(0, status);
    }
    HRESULT GetDisplayMode(D3DDISPLAYMODE* mode) override {
        return m_device->GetDisplayMode(0, mode);
    }
    HRESULT GetRenderTarget(IDirect3DSurface8** surface) override {
        return m_device->GetRenderTarget(0, surface);
    }
    HRESULT GetDepthStencilSurface(IDirect3DSurface8** surface) override {
        return m_device->GetDepthStencilSurface(surface);
    }
    // Our runtimes keep one depth-stencil surface for every target.
    HRESULT SetRenderTarget(IDirect3DSurface8* surface, IDirect3DSurface8*) override {
        return m_device->SetRenderTarget(0, surface);
    }
    HRESULT CreateImageSurface(uint32_t width, uint32_t height, D3DFORMAT format,
                               IDirect3DSurface8** surface) override {
        return m_device->CreateOffscreenPlainSurface(width, height, format, D3DPOOL_SYSTEMMEM,
                                                     surface);
    }
    HRESULT CopyRects(IDirect3DSurface8* source, const RECT* sourceRects, uint32_t count,
                      IDirect3DSurface8* destination, const void* destPoints) override;
    HRESULT GetFrontBuffer(IDirect3DSurface8* destination) override {
        return m_device->GetFrontBufferData(0, destination);
    }
    HRESULT SetVertexShader(uint32_t handle) override;
    HRESULT CreateVertexShader(const uint32_t* declaration, const uint32_t* function,
                               uint32_t* handle, uint32_t usage) override;
    HRESULT DeleteVertexShader(uint32_t handle) override;
    HRESULT SetVertexShaderConstant(uint32_t startRegister, const void* data,
                                    uint32_t registerCount) override {
        return m_device->SetVertexShaderConstantF(startRegister, static_cast<const float*>(data),
                                                  registerCount);
    }
    HRESULT CreatePixelShader(const uint32_t* function, uint32_t* handle) override;
    HRESULT SetPixelShader(uint32_t handle) override;
    HRESULT DeletePixelShader(uint32_t handle) override;
    HRESULT SetPixelShaderConstant(uint32_t startRegister, const void* data,
                                   uint32_t registerCount) override {
        return m_device->SetPixelShaderConstantF(startRegister, static_cast<const float*>(data),
                                                 registerCount);
    }

    IDirect3DDevice9* getDevice9() const { return m_device.get(); }
    // The declaration a vertex shader was made with, up to its end token; empty for none.
    CArray<uint32_t> getDeclaration(uint32_t handle) const;
    // Shaders that were made and not yet deleted.
    uint32_t getShaderCount() const;

private:
    struct VertexShader {
        uint32_t handle = 0;
        CRefPointer<IDirect3DVertexShader9> shader;
        CArray<uint32_t> declaration;
    };
    struct PixelShader {
        uint32_t handle = 0;
        CRefPointer<IDirect3DPixelShader9> shader;
    };

    const VertexShader* findVertexShader(uint32_t handle) const;
    const PixelShader* findPixelShader(uint32_t handle) const;

    CRefPointer<IDirect3DDevice9> m_device;
    CArray<VertexShader> m_vertexShaders;
    CArray<PixelShader> m_pixelShaders;
    uint32_t m_nextHandle = 1;
    uint32_t m_currentVertexShader = 0;
};
