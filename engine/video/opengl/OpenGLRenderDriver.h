#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/Array.h"
#include "engine/core/Matrix4.h"
#include "engine/core/String.h"
#include "engine/platform/host/IHostGL.h"
#include "engine/video/IRendererServices.h"
#include "engine/video/NullRenderDriver.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/opengl/GLExtensions.h"

struct GLFunctions;
class COpenGLDriverTexture;

// The video driver that draws with OpenGL 1.x through the window layer's GL facet. It keeps
// the last applied material and sends only what changed; 2D drawing comes in two forms: the
// quad batch with the current material, and direct image and rectangle drawing with states of
// its own.
class COpenGLRenderDriver : public CNullRenderDriver, public IRendererServices {
public:
    // Opens a context on the window the parameters name and sets the driver up; none, with the
    // reason in the log, when the window system offers no suitable format or context.
    static CRefPointer<COpenGLRenderDriver> create(const CreationParameters& parameters,
                                                   IVirtualFileSystem* fileSystem,
                                                   CRefPointer<CTimer> timer, IHostGL& host);

    bool startFrame(bool clearBackBuffer, bool clearDepthBuffer, CColor clearColor,
                    void* presentationWindow, const CPixelRect* sourceRect) override;
    bool presentFrame() override;
    bool hasFeature(uint32_t feature) const override;
    bool setRenderStates3D() override;
    bool setRenderStates2D() override;
    void setMatrix(uint32_t slot, const CMatrix4& matrix) override;
    void applyMaterial(const RenderMaterial& material) override;
    bool useRenderTargetKind(uint32_t kind, bool clearBackBuffer, bool clearDepthBuffer,
                             CColor clearColor) override;
    bool useRenderTargetTexture(IDriverTexture* texture, bool clearBackBuffer,
                                bool clearDepthBuffer, CColor clearColor) override;
    void setViewportRect(const CPixelRect& rect) override;
    CRefPointer<IDriverTexture> createDeviceTexture(CSoftwareImage* image) override;
    // A frame-buffer object with its own depth buffer, or a plain texture that takes copies of
    // the frame buffer where frame-buffer objects are missing.
    CRefPointer<IDriverTexture> createRenderTargetTexture(CPixelSize size,
                                                          int32_t formatCode) override;

    void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override;
    void drawImageScaled(IDriverTexture* texture, const CPixelRect& destination,
                         const CPixelRect& source, const CPixelRect* clip,
                         const CColor* cornerColors, bool useAlphaChannel) override;
    void drawImagePart(IDriverTexture* texture, CPixelPoint position, const CPixelRect& source,
                       const CPixelRect* clip, CColor color, bool useAlphaChannel) override;
    void drawRectGradient(const CPixelRect& rect, CColor topLeft, CColor topRight,
                          CColor bottomLeft, CColor bottomRight, const CPixelRect* clip) override;
    void drawLine2D(CVector2d start, CVector2d end, CColor color) override;
    void plotPixel(uint32_t x, uint32_t y, CColor color) override;
    void drawStencilShadowVolume(const CVector3d* triangles, uint32_t vertexCount,
                                 bool depthFail) override;
    void drawStencilShadow(bool clearStencilBuffer, CColor topLeft, CColor topRight,
                           CColor bottomLeft, CColor bottomRight) override;

    void setFogParameters(CColor color, bool linearFog, float start, float end, float density,
                          bool perPixelFog, bool rangeFog) override;
    int32_t getBackBufferFormat() const override { return m_backBufferFormat; }
    CPixelSize getRenderTargetSize() const override;
    void removeAllLights() override;
    int32_t addLight(const CLight& light) override;
    uint32_t getMaxLightCount() const override { return m_extensions.getMaxLights(); }
    void setLightEnabled(uint32_t index, bool on) override;
    const char16_t* getDriverName() const override { return m_name.c_str(); }
    uint32_t getMaxPrimitiveCount() const override { return 65535; }
    void handleResize(CPixelSize size) override;
    uint32_t getDriverKind() const override { return DRIVER_KIND_OPENGL; }
    IShaderServices* getShaderServices() override { return this; }
    void clearDepthBuffer() override;
    CRefPointer<CSoftwareImage> captureScreen() override;
    bool setClipPlane(uint32_t index, const CClipPlane& plane, bool enable) override;
    void enableClipPlane(uint32_t index, bool on) override;
    void setScissorRect(const CPixelRect& rect) override;
    void enableScissor(bool on) override;
    void setAmbientLight(const CColorf& color) override;
    const char* getAdapterDescription() const override { return m_vendor.c_str(); }

    // Shader materials take the next free material type from 26 on and answer it; -1 when the
    // programs do not compile.
    int32_t createHighLevelMaterial(const char* vertexProgram, const char* vertexEntry,
                                    int32_t vertexTarget, const char* pixelProgram,
                                    const char* pixelEntry, int32_t pixelTarget,
                                    IShaderCallback* callback, int32_t baseMaterialType,
                                    int32_t userData) override;
    int32_t createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                              IShaderCallback* callback, int32_t baseMaterialType,
                              int32_t userData) override;

    // The states every material type shares, and shader constants for assembly programs.
    void setBaseRenderStates(const RenderMaterial& material, const RenderMaterial& last,
                             bool resetAllStates) override;
    void setVertexShaderConstants(const float* data, int32_t firstRegister,
                                  int32_t registerCount) override;
    bool setVertexShaderConstant(const char* name, const float* data, int32_t count) override;
    void setPixelShaderConstants(const float* data, int32_t firstRegister,
                                 int32_t registerCount) override;
    bool setPixelShaderConstant(const char* name, const float* data, int32_t count) override;
    IRenderDriver* getVideoDriver() override { return this; }

    // The rectangles picked by the indices side by side without spacing, under one clip.
    void drawImageRunClipped(IDriverTexture* texture, CPixelPoint position,
                             const CArray<CPixelRect>& sourceRects, const CArray<int32_t>& indices,
                             const CPixelRect* clip, CColor color, bool useAlphaChannel);

    // Texture stages: binding none switches texturing off on the stage, which is the active one
    // afterwards. False for a stage the implementation lacks and for a texture of another
    // driver.
    bool bindTexture(uint32_t stage, IDriverTexture* texture);
    bool unbindTexturesFrom(uint32_t firstStage);
    // The material's four layers on stages 0 to 3; stages past its layers are unbound.
    void bindMaterialLayers(const RenderMaterial& material);
    // Makes the stage the active one when there is more than one.
    void selectTextureStage(uint32_t stage) const;
    // The stage whose coordinates a material type generates for its sphere map, or -1.
    int32_t sphereMappedStage(uint32_t materialType) const;

    const GLFunctions& gl() const { return *m_gl; }
    const CGLExtensions& extensions() const { return m_extensions; }
    uint8_t getAntiAliasSamples() const { return m_antiAliasSamples; }
    // The transparent passes draw the current material without writing depth.
    void disableCurrentDepthWrite() { m_currentMaterial.depthWrite = false; }

    // Textures tell the driver about their life, so that no stale pointer to one stays bound
    // and the driver can tell the ones left at its end that it is gone.
    void addTexture(COpenGLDriverTexture* texture);
    void removeTexture(COpenGLDriverTexture* texture);

protected:
    ~COpenGLRenderDriver() override;

private:
    enum ERenderMode : uint32_t {
        RENDER_MODE_NONE = 0,
        RENDER_MODE_2D = 1,
        RENDER_MODE_3D = 2,
        // Direct image and rectangle drawing: a 2D mode whose states no material describes,
        // so leaving it applies the next material in full.
        RENDER_MODE_2D_DIRECT = 3,
    };

    struct ClipPlaneEntry {
        CClipPlane plane;
        bool enabled = false;
    };

    // The GL light of the light at the same index of the light list; -1 when it has none.
    struct LightEntry {
        int32_t glLight = -1;
        bool enabled = true;
    };

    COpenGLRenderDriver(const CreationParameters& parameters, IVirtualFileSystem* fileSystem,
                        CRefPointer<CTimer> timer, IHostGL& host);

    bool initContext(const CreationParameters& parameters);
    bool probePixelFormat(const CreationParameters& parameters, const HostGLPixelFormat& descriptor,
                          int32_t& format, uint8_t& samples);
    int32_t chooseWithFallBacks(const CreationParameters& parameters, HostGLPixelFormat descriptor,
                                const char* finalMessage);
    void initDriver(CPixelSize size, bool stencilBuffer);
    void readDriverName();
    void createMaterialPasses();
    int32_t addShaderPass(IMaterialPass* pass);

    void clear(bool backBuffer, bool depthBuffer, bool stencilBuffer, CColor color);
    // Makes the current material's states current when it changed or all states are to be
    // sent, then asks its pass before the draw.
    bool applyCurrentMaterial();
    void enterMaterialMode(uint32_t mode);
    void leaveMaterialMode();
    void loadOrthoProjection();
    void loadProjection();
    void setViewport(int32_t x, int32_t y, CPixelSize size);
    void loadModelView();
    void loadTextureMatrix(uint32_t stage);
    void reloadClipPlanes();
    bool isRenderTargetLayer(uint32_t stage) const;

    // Direct 2D drawing: the texture goes to stage 0; scaled images are filtered.
    bool setRenderStates2DDirect(bool vertexAlpha, IDriverTexture* texture, bool alphaChannel,
                                 bool filtered);
    // Switches the scissor test on for a clip; false for an inverted clip.
    bool scissorTo(const CPixelRect* clip);
    void drawTexturedQuad(const CPixelRect& destination, IDriverTexture* texture, float left,
                          float top, float right, float bottom, const CColor* colors);
    void drawFlatQuad(const CPixelRect& rect, const CColor (&colors)[4]);
    void drawClientArrays(const void* vertices, const void* indices, uint32_t primitiveCount,
                          uint32_t vertexType, uint32_t indexType, uint32_t primitiveType);
    void convertVertexColors(const void* vertices, uint32_t vertexCount, uint32_t vertexType);
    void setPointStates(bool sprites, bool on);

    void assignGLLight(uint32_t index);
    void setGLLight(int32_t glLight, const CLight& light);

    IHostGL& m_host;
    std::unique_ptr<GLFunctions> m_gl;
    CGLExtensions m_extensions;
    CStringW m_name;
    CArray<uint8_t> m_colorBuffer;
    uint32_t m_renderMode = RENDER_MODE_NONE;
    bool m_resetAllStates = true;
    uint8_t m_antiAliasSamples;
    RenderMaterial m_currentMaterial;
    RenderMaterial m_lastMaterial;
    CRefPointer<IDriverTexture> m_currentRenderTarget;
    IDriverTexture* m_boundTextures[4] = {nullptr, nullptr, nullptr, nullptr};
    CArray<ClipPlaneEntry> m_clipPlanes;
    CPixelSize m_renderTargetSize;
    // The size of the GL viewport last set.
    CPixelSize m_viewportSize;
    CString m_vendor;
    CMatrix4 m_textureFlip;
    int32_t m_backBufferFormat = 3;
    uint32_t m_renderTargetKind = 0;
    bool m_doubleBuffered = true;
    CArray<LightEntry> m_lightEntries;
    CArray<COpenGLDriverTexture*> m_textures;
    HostGLContext m_context = kNoHostGLContext;
    HostWindow m_window;
};

class IHostWindowSystem;

// The OpenGL driver the device makes for driver type 3, drawing into the parameters' window
// through the window system's GL facet; none when the system has no facet or no context
// could be made.
CRefPointer<IRenderDriver> createOpenGLDriver(const CreationParameters& parameters,
                                              IVirtualFileSystem* fileSystem,
                                              CRefPointer<CTimer> timer, IHostWindowSystem& host);
