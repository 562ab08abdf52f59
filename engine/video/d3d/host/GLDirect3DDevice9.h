#pragma once

#include <cstdint>

#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/IHostGL.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"

class IHostWindowSystem;

// A Direct3D 9 device on a GL context of one window. Every state the caller sets is kept in a
// mirror and marked dirty; a draw sends the dirty ones to GL first. Direct3D's conventions are
// kept on the way: its matrices load as they are (row vectors read as GL's columns), its 0 to 1
// depth range and its pixel centres on whole coordinates are mapped by one matrix in front of the
// projection, and its clockwise front faces and top-left window origin are turned around.
class CGLDirect3DDevice9 : public IDirect3DDevice9 {
public:
    // A context for the window in the parameters' format; none when the window system has no
    // such format or context.
    static CGLDirect3DDevice9* create(IHostWindowSystem& host, IHostGL& gl, HostWindow window,
                                      const D3DPRESENT_PARAMETERS& parameters);

    HRESULT TestCooperativeLevel() override { return D3D_OK; }
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                    const void* dirtyRegion) override;
    HRESULT GetBackBuffer(uint32_t swapChain, uint32_t index, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** backBuffer) override;
    HRESULT GetDeviceCaps(D3DCAPS9* caps) override;
    HRESULT BeginScene() override { return D3D_OK; }
    HRESULT EndScene() override { return D3D_OK; }
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
    // Shaders are not offered (the caps say so); constants are accepted and dropped.
    HRESULT SetVertexShaderConstantF(uint32_t, const float*, uint32_t) override { return D3D_OK; }
    HRESULT SetPixelShaderConstantF(uint32_t, const float*, uint32_t) override { return D3D_OK; }

    // The GL entry points of the device's context, for reading back what it drew.
    const GLFunctions& functions() const { return m_gl; }

protected:
    ~CGLDirect3DDevice9() override;

private:
    static constexpr uint32_t kRenderStateCount = 256;
    static constexpr uint32_t kMaxLights = 8;
    static constexpr uint32_t kMaxClipPlanes = 6;
    static constexpr uint32_t kStageCount = 8;
    static constexpr uint32_t kStageStateCount = 33;
    static constexpr uint32_t kSamplerStateCount = 14;

    struct Light {
        D3DLIGHT9 light;
        bool enabled = false;
    };

    CGLDirect3DDevice9(IHostWindowSystem& host, IHostGL& facet, HostWindow window,
                       HostGLContext context, const D3DPRESENT_PARAMETERS& parameters);

    void setDefaultStates();
    void readTargetSize();
    void markDirty(uint32_t state) { m_dirtyStates[state / 64] |= uint64_t(1) << (state % 64); }
    // Sends what changed since the last draw.
    void flushStates();
    void setEnabled(GLenum capability, bool on);
    void applyRenderState(uint32_t state);
    void applyFogStates();
    void applyMaterialStates();
    void applyTransforms();
    void applyLights();
    void applyClipPlanes();
    void applyScissor();
    // Sets the vertex arrays of the current format over the vertices.
    void bindVertices(const void* vertices, uint32_t stride);

    IHostWindowSystem& m_host;
    IHostGL& m_facet;
    GLFunctions m_gl;
    HostWindow m_window;
    HostGLContext m_context;
    D3DPRESENT_PARAMETERS m_parameters;
    int32_t m_targetWidth = 0;
    int32_t m_targetHeight = 0;
    D3DCAPS9 m_caps;

    uint32_t m_renderStates[kRenderStateCount] = {};
    uint64_t m_dirtyStates[kRenderStateCount / 64] = {};
    uint32_t m_stageStates[kStageCount][kStageStateCount] = {};
    uint32_t m_samplerStates[kStageCount][kSamplerStateCount] = {};
    D3DMATRIX m_world;
    D3DMATRIX m_view;
    D3DMATRIX m_projection;
    bool m_transformsDirty = true;
    D3DMATERIAL9 m_material;
    bool m_materialDirty = true;
    Light m_lights[kMaxLights];
    bool m_lightsDirty = true;
    float m_clipPlanes[kMaxClipPlanes][4] = {};
    bool m_clipPlanesDirty = true;
    RECT m_scissor;
    bool m_scissorDirty = true;
    uint32_t m_fvf = 0;
};
