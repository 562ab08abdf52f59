#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/video/d3d/host/GLContext9.h"
#include "engine/video/d3d/host/GLTexture9.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"

class IHostWindowSystem;

// A Direct3D 9 device on a GL context of one window. Every state the caller sets is kept in a
// mirror and marked dirty; a draw sends the dirty ones to GL first. Direct3D's conventions are
// kept on the way: its matrices load as they are (row vectors read as GL's columns), its 0 to 1
// depth range and its pixel centres on whole coordinates are mapped by one matrix in front of the
// projection, its clockwise front faces and top-left origins are turned around, and its texture
// stages become GL texture units combining as the stage operations say. Render-target textures
// are frame buffer objects. There are no shaders: the capabilities offer none.
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
    // GL does not tell where the scan-out is: always in the blank.
    HRESULT GetRasterStatus(uint32_t swapChain, D3DRASTER_STATUS* status) override;
    // The window's depth-stencil buffer is not a surface of its own.
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override {
        *surface = nullptr;
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT CreateVertexShader(const uint32_t*, IDirect3DVertexShader9**) override {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override {
        return shader ? D3DERR_INVALIDCALL : D3D_OK;
    }
    HRESULT GetVertexShader(IDirect3DVertexShader9** shader) override;
    HRESULT CreatePixelShader(const uint32_t*, IDirect3DPixelShader9**) override {
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT SetPixelShader(IDirect3DPixelShader9* shader) override {
        return shader ? D3DERR_INVALIDCALL : D3D_OK;
    }
    // Constants are accepted and dropped.
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

    struct Stage {
        uint32_t states[kStageStateCount] = {};
        uint32_t samplerStates[kSamplerStateCount] = {};
        D3DMATRIX transform;
        CRefPointer<CGLTexture9> texture;
        bool dirty = true;
    };

    CGLDirect3DDevice9(IHostWindowSystem& host, CGLContext9& context,
                       const D3DPRESENT_PARAMETERS& parameters);

    void setDefaultStates();
    void setDefaultStageStates();
    void readBackBufferSize();
    // Drawing goes to the back buffer or the texture; the viewport becomes the whole target.
    void bindTarget();
    void applyViewport();
    void markDirty(uint32_t state) { m_dirtyStates[state / 64] |= uint64_t(1) << (state % 64); }
    // Sends what changed since the last draw of primitives of that GL mode.
    void flushStates(GLenum mode);
    void setEnabled(GLenum capability, bool on);
    void applyRenderState(uint32_t state);
    void applyFogStates();
    void applyPointStates();
    void applyMaterialStates();
    void applyTransforms();
    void applyLights();
    void applyClipPlanes();
    void applyScissor();
    // Texture units: each stage up to the first disabled one.
    void applyStages();
    void applyStage(uint32_t unit, Stage& stage);
    void applyCombiner(const uint32_t* states, bool alpha);
    void applyCoordinateSource(uint32_t unit, const Stage& stage);
    // Sets the vertex arrays of the current format over the vertices.
    void bindVertices(const void* vertices, uint32_t stride);
    void bindTextureCoordinates(const uint8_t* coordinates, uint32_t stride);
    GLuint whiteTexture();

    IHostWindowSystem& m_host;
    CRefPointer<CGLContext9> m_context;
    const GLFunctions& m_gl;
    D3DPRESENT_PARAMETERS m_parameters;
    int32_t m_backBufferWidth = 0;
    int32_t m_backBufferHeight = 0;
    D3DCAPS9 m_caps;
    CRefPointer<IDirect3DSurface9> m_backBuffer;
    // The current target: the back buffer or a level of a render-target texture.
    CRefPointer<IDirect3DSurface9> m_target;
    CGLTexture9* m_targetTexture = nullptr;
    int32_t m_targetWidth = 0;
    int32_t m_targetHeight = 0;
    D3DVIEWPORT9 m_viewport;
    bool m_doubleBuffered = true;

    uint32_t m_renderStates[kRenderStateCount] = {};
    uint64_t m_dirtyStates[kRenderStateCount / 64] = {};
    Stage m_stages[kStageCount];
    uint32_t m_unitCount = 1;
    uint32_t m_enabledUnits = 0;
    GLuint m_whiteTexture = 0;
    D3DMATRIX m_world;
    D3DMATRIX m_view;
    D3DMATRIX m_projection;
    bool m_transformsDirty = true;
    // Whether the loaded transforms move rows' centres a little up, as triangles need.
    bool m_trianglesNudged = true;
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
