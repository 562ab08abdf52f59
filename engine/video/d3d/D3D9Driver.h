#pragma once

#include <cstdint>

#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/video/IRendererServices.h"
#include "engine/video/NullRenderDriver.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/d3d/host/D3D9Types.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/IDirect3D9.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"

// The video driver that draws through a Direct3D 9 runtime, loaded by name as "d3d9.dll". It
// mirrors the engine's state on the device and sends a state only when it changed.
class CD3D9Driver : public CNullRenderDriver, public IRendererServices {
public:
    enum ERenderMode : int32_t {
        RENDER_MODE_NONE = 0,
        RENDER_MODE_2D = 1,
        RENDER_MODE_3D = 2,
        RENDER_MODE_SHADOW_FILL = 3,
        RENDER_MODE_SHADOW_VOLUME_ZFAIL = 4,
        RENDER_MODE_SHADOW_VOLUME_ZPASS = 5,
    };

    CD3D9Driver(const CreationParameters& parameters, IVirtualFileSystem* fileSystem);

    // Loads the runtime and creates the device; false, logged, when any step fails.
    bool initDevice(const CreationParameters& parameters);
    // Resets the lost or resized device and puts every state back.
    bool resetDevice();
    // True from construction and from the start of every reset until the next present.
    bool wasResetSincePresent() const { return m_resetSincePresent; }

    // Binds the texture's Direct3D texture at the stage (none unbinds); false, logged, for a
    // texture of another driver.
    bool setStageTexture(uint32_t stage, IDriverTexture* texture);
    // Sets the vertex format of the type unless it is the current one.
    void setVertexType(int32_t vertexType);
    // The states of 2D image and rectangle drawing.
    void enter2DImageMode();
    void set2DImageStates(bool vertexAlpha, bool textured, bool useTextureAlpha);
    // The states of the stencil shadow volume and of the shadow fill.
    void enterShadowVolumeMode(bool depthFail);
    void enterShadowFillMode(bool alpha);
    // The transparent renderers draw the current material without depth writes.
    void disableCurrentDepthWrite() { m_currentMaterial.depthWrite = false; }

    const D3DCAPS9& getCaps() const { return m_caps; }
    D3DFORMAT getBackBufferD3DFormat() const { return m_backBufferD3DFormat; }

    bool startFrame(bool clearBackBuffer, bool clearDepthBuffer, CColor clearColor,
                    void* presentationWindow, const CPixelRect* sourceRect) override;
    bool presentFrame() override;
    bool hasFeature(uint32_t feature) const override;
    bool setRenderStates3D() override;
    bool setRenderStates2D() override;
    void setMatrix(uint32_t slot, const CMatrix4& matrix) override;
    void applyMaterial(const RenderMaterial& material) override;
    CRefPointer<IDriverTexture> createRenderTargetTexture(CPixelSize size,
                                                          int32_t formatCode) override;
    bool useRenderTargetTexture(IDriverTexture* texture, bool clearBackBuffer,
                                bool clearDepthBuffer, CColor clearColor) override;
    void setViewportRect(const CPixelRect& rect) override;
    CRefPointer<IDriverTexture> createDeviceTexture(CSoftwareImage* image) override;
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
    int32_t getBackBufferFormat() const override { return m_backBufferColorFormat; }
    CPixelSize getRenderTargetSize() const override;
    void removeAllLights() override;
    int32_t addLight(const CLight& light) override;
    uint32_t getMaxLightCount() const override { return m_caps.MaxActiveLights; }
    void setLightEnabled(uint32_t index, bool on) override;
    const char16_t* getDriverName() const override { return u"Direct3D 9.0"; }
    uint32_t getMaxPrimitiveCount() const override { return m_caps.MaxPrimitiveCount; }
    uint32_t setTextureOption(uint32_t option, bool on) override;
    void handleResize(CPixelSize size) override;
    uint32_t getDriverKind() const override { return DRIVER_KIND_DIRECT3D9; }
    IShaderServices* getShaderServices() override { return this; }
    bool setClipPlane(uint32_t index, const CClipPlane& plane, bool enable) override;
    void enableClipPlane(uint32_t index, bool on) override;
    void setScissorRect(const CPixelRect& rect) override;
    void enableScissor(bool on) override;
    void setAmbientLight(const CColorf& color) override;
    const char* getAdapterDescription() const override { return m_vendorName.c_str(); }
    void clearDepthBuffer() override;
    CRefPointer<CSoftwareImage> captureScreen() override;
    void drawLine3D(const CVector3d& start, const CVector3d& end, CColor color) override;

    // Shader materials become the next material types; -1, logged, when none was made.
    int32_t createHighLevelMaterial(const char* vertexProgram, const char* vertexEntry,
                                    int32_t vertexTarget, const char* pixelProgram,
                                    const char* pixelEntry, int32_t pixelTarget,
                                    IShaderCallback* callback, int32_t baseMaterialType,
                                    int32_t userData) override;
    int32_t createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                              IShaderCallback* callback, int32_t baseMaterialType,
                              int32_t userData) override;

    void setBaseRenderStates(const RenderMaterial& material, const RenderMaterial& last,
                             bool resetAllStates) override;
    void setVertexShaderConstants(const float* data, int32_t firstRegister,
                                  int32_t registerCount) override;
    bool setVertexShaderConstant(const char* name, const float* data, int32_t count) override;
    void setPixelShaderConstants(const float* data, int32_t firstRegister,
                                 int32_t registerCount) override;
    bool setPixelShaderConstant(const char* name, const float* data, int32_t count) override;
    IRenderDriver* getVideoDriver() override { return this; }

protected:
    ~CD3D9Driver() override;

private:
    static constexpr uint16_t kVendorNvidia = 0x10DE;
    static constexpr uint16_t kVendorAti = 0x1002;

    bool loadRuntime();
    void readAdapterIdentifier();
    void fillPresentParameters(const CreationParameters& parameters,
                               const D3DDISPLAYMODE& displayMode);
    void chooseMultiSampling();
    bool chooseDepthStencilFormat(D3DFORMAT displayFormat);
    bool isDepthFormatAccepted(D3DFORMAT format);
    bool createDevice(HWND window, bool preserveFloats);
    void checkStencilCaps();
    void probeAlphaToCoverage();
    void readBackBufferFormat();
    void createMaterialPasses();
    void clearStageTextures();
    IMaterialPass* baseRendererOf(int32_t baseMaterialType) const;

    // The renderer at the current material's type, or none.
    IMaterialPass* currentPass() const;
    // The Direct3D matrix of a transform slot, and of the 2D pixel projection.
    void sendMatrix(D3DTRANSFORMSTATETYPE state, const CMatrix4& matrix);
    void send2DProjection();
    bool setShaderVariable(bool vertex, const char* name, const float* data, int32_t count);
    // Draws a pixel-space primitive of type-0 vertices with the current material.
    void draw2DPrimitive(const CVertex* vertices, uint32_t vertexCount, D3DPRIMITIVETYPE type,
                         uint32_t primitiveCount, const uint16_t* indices);
    // A quad of type-1 vertices as two indexed triangles.
    void drawQuad(const CVertexNormal (&quad)[4]);
    void drawPoints(const void* vertices, uint32_t vertexCount, const void* indices,
                    D3DFORMAT indexFormat, uint32_t primitiveCount, uint32_t stride, bool sprites);
    void drawLineLoop(const void* vertices, uint32_t vertexCount, const void* indices,
                      uint32_t indexType, uint32_t primitiveCount, uint32_t stride);
    void drawIndexedOrNot(D3DPRIMITIVETYPE type, const void* vertices, uint32_t vertexCount,
                          const void* indices, D3DFORMAT indexFormat, uint32_t primitiveCount,
                          uint32_t stride);
    void drawShadowPass(const CVector3d* triangles, uint32_t vertexCount, uint32_t cullMode,
                        D3DRENDERSTATETYPE operation, uint32_t value);
    bool restoreBackBuffer();
    void setIdentityTransforms();
    void setStageOperation(uint32_t stage, uint32_t colorOperation, uint32_t alphaOperation);
    // Source alpha over inverse source alpha, or no blending.
    void setAlphaBlending(bool on);

    void setColorStates(const RenderMaterial& material);
    void setColorMaterialStates(uint8_t mode);
    void setDepthStates(uint8_t depthTest);
    void setAntiAliasStates(uint8_t flags, uint8_t lastFlags);
    void setLayerStates(const RenderMaterial& material, const RenderMaterial& last,
                        bool resetAllStates);
    void setFilterStates(uint32_t stage, const RenderMaterialLayer& layer);

    int32_t m_renderMode = RENDER_MODE_NONE;
    // In 2D mode: whether the image states (identity transforms, no material) are on the device
    // rather than the material's states and the pixel projection.
    bool m_imageStates = false;
    D3DPRESENT_PARAMETERS m_presentParams;
    RenderMaterial m_currentMaterial;
    RenderMaterial m_lastMaterial;
    bool m_resetAllStates = true;
    bool m_stencilBuffer;
    CRefPointer<IDriverTexture> m_stageTextures[4];
    CRefPointer<CD3DModule> m_module;
    CRefPointer<IDirect3D9> m_d3d;
    CRefPointer<IDirect3DDevice9> m_device;
    CRefPointer<IDirect3DSurface9> m_savedBackBuffer;
    CPixelSize m_renderTargetSize{0, 0};
    CPixelSize m_d3dScreenSize{0, 0};
    HWND m_window = 0;
    HWND m_presentWindow = 0;
    bool m_hasPresentSourceRect = false;
    RECT m_presentSourceRect;
    D3DCAPS9 m_caps;
    int32_t m_currentVertexType = -1;
    uint32_t m_maxTextureStages = 0;
    uint32_t m_maxClipPlanes = 0;
    float m_maxLightDistance;
    int32_t m_lastLightIndex = -1;
    int32_t m_backBufferColorFormat;
    D3DFORMAT m_backBufferD3DFormat = D3DFMT_A8R8G8B8;
    bool m_deviceLost = false;
    bool m_fullScreen;
    bool m_resetSincePresent = true;
    uint8_t m_antiAliasing = 0;
    CColorf m_ambientLight;
    CString m_vendorName;
    uint16_t m_vendorId = 0;
    bool m_alphaToCoverage = false;
};
