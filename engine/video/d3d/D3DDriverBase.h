#pragma once

#include <cstdint>

#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"
#include "engine/video/IRendererServices.h"
#include "engine/video/NullRenderDriver.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/d3d/host/D3D9Types.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/IDirect3DCommon.h"
#include "engine/video/d3d/host/IDirect3DDeviceCommon.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"

// What the Direct3D 8 and 9 drivers do alike: the mode machine, the material states every
// renderer shares, stage textures, fog, lights, clip planes, drawing, render-target switches and
// the screen capture. Where the two versions differ in form, each driver answers a hook with
// its own device call; where they differ in behaviour, the traits say how.
class CD3DDriverBase : public CNullRenderDriver, public IRendererServices {
public:
    enum ERenderMode : int32_t {
        RENDER_MODE_NONE = 0,
        RENDER_MODE_2D = 1,
        RENDER_MODE_3D = 2,
        RENDER_MODE_SHADOW_FILL = 3,
        RENDER_MODE_SHADOW_VOLUME_ZFAIL = 4,
        RENDER_MODE_SHADOW_VOLUME_ZPASS = 5,
    };

    struct Traits {
        // The driver kind of the textures the driver takes.
        uint32_t driverKind;
        const char* clearFailed;
        const char* beginSceneFailed;
        const char* clearDepthFailed;
        // Texture matrices mark the transforms changed as view, world and projection do.
        bool textureMatricesChangeTransforms;
        // 2D images: linear filtering, specular off and stage 0 wrapped; otherwise point
        // filtering and every stage wrapped.
        bool linearImages;
        // The vertex format is set only when the vertex type changes.
        bool cacheVertexType;
        // A scaled image's clip is the scissor test; otherwise the quad is cut to it.
        bool scissorScaledImages;
    };

    // Resets the lost or resized device and puts every state back.
    virtual bool resetDevice() = 0;

    // Binds the texture's Direct3D texture at the stage (none unbinds); false, logged, for a
    // texture of another driver.
    bool setStageTexture(uint32_t stage, IDriverTexture* texture);
    // Sets the vertex format of the type (unless it is the current one, where the traits say).
    void setVertexType(int32_t vertexType);
    // The states of 2D image and rectangle drawing. Scaled images are filtered linearly, as
    // every driver filters them; the traits choose the filter of the others.
    void enter2DImageMode();
    void set2DImageStates(bool vertexAlpha, bool textured, bool useTextureAlpha,
                          bool scaled = false);
    // The states of the stencil shadow volume and of the shadow fill.
    void enterShadowVolumeMode(bool depthFail);
    void enterShadowFillMode(bool alpha);
    // The transparent renderers draw the current material without depth writes.
    void disableCurrentDepthWrite() { m_currentMaterial.depthWrite = false; }

    const D3DCAPS9& getCaps() const { return m_caps; }
    IDirect3DDeviceCommon* getCommonDevice() const { return m_common; }

    bool startFrame(bool clearBackBuffer, bool clearDepthBuffer, CColor clearColor,
                    void* presentationWindow, const CPixelRect* sourceRect) override;
    bool hasFeature(uint32_t feature) const override;
    bool setRenderStates3D() override;
    bool setRenderStates2D() override;
    void setMatrix(uint32_t slot, const CMatrix4& matrix) override;
    void applyMaterial(const RenderMaterial& material) override;
    bool useRenderTargetTexture(IDriverTexture* texture, bool clearBackBuffer,
                                bool clearDepthBuffer, CColor clearColor) override;
    void setViewportRect(const CPixelRect& rect) override;
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
    CPixelSize getRenderTargetSize() const override;
    void removeAllLights() override;
    int32_t addLight(const CLight& light) override;
    uint32_t getMaxLightCount() const override { return m_caps.MaxActiveLights; }
    void setLightEnabled(uint32_t index, bool on) override;
    uint32_t getMaxPrimitiveCount() const override { return m_caps.MaxPrimitiveCount; }
    uint32_t setTextureOption(uint32_t option, bool on) override;
    bool setClipPlane(uint32_t index, const CClipPlane& plane, bool enable) override;
    void enableClipPlane(uint32_t index, bool on) override;
    void setAmbientLight(const CColorf& color) override;
    void clearDepthBuffer() override;
    CRefPointer<CSoftwareImage> captureScreen() override;
    void drawLine3D(const CVector3d& start, const CVector3d& end, CColor color) override;

    void setBaseRenderStates(const RenderMaterial& material, const RenderMaterial& last,
                             bool resetAllStates) override;
    IRenderDriver* getVideoDriver() override { return this; }

protected:
    CD3DDriverBase(const CreationParameters& parameters, IVirtualFileSystem* fileSystem,
                   const Traits& traits);
    ~CD3DDriverBase() override = default;

    // The version's form of a sampler state, of setting a flexible vertex format, of getting
    // and setting render target 0, and the front buffer copied into an A8R8G8B8 surface of the
    // display mode's size (none on failure).
    virtual void setSamplerState(uint32_t stage, D3DSAMPLERSTATETYPE type, uint32_t value) = 0;
    virtual HRESULT setVertexFormat(uint32_t fvf) = 0;
    virtual HRESULT getRenderTarget(IDirect3DSurface9** surface) = 0;
    virtual HRESULT setRenderTarget(IDirect3DSurface9* surface) = 0;
    virtual CRefPointer<IDirect3DSurface9> copyFrontBuffer() = 0;
    // The screen size render targets and the viewport are held to.
    virtual CPixelSize getDeviceScreenSize() const = 0;
    // The per-material anti-aliasing states, where the version has them.
    virtual void setAntiAliasStates(uint8_t, uint8_t) {}
    // The scissor of a scaled image's clip (none ends it), where the traits ask for it.
    virtual void scissorImage(const CPixelRect*) {}

    // The Direct3D object of the runtime library's creation function; false, logged, when the
    // library, the function or the object is missing. The module stays loaded with the driver.
    template <class Direct3D>
    static bool loadRuntime(CRefPointer<CD3DModule>& module, CRefPointer<Direct3D>& d3d,
                            const char* library, const char* function, uint32_t sdkVersion) {
        const D3DModuleExport* create = findCreateFunction(module, library, function);
        if (create) {
            using Create = Direct3D* (*)(void* context, uint32_t sdkVersion);
            d3d = CRefPointer<Direct3D>(
                reinterpret_cast<Create>(create->function)(create->context, sdkVersion));
        }
        return create && reportDirect3D(d3d.get() != nullptr);
    }
    // The device for the window, with hardware, then mixed, then software vertex processing
    // until one is made; false, logged with each line, when none is.
    template <class Direct3D, class Device, class Parameters>
    bool createDevice(Direct3D& d3d, Parameters& parameters, bool preserveFloats,
                      CRefPointer<Device>& device, const char* noneMade, const char* noDevice) {
        const uint32_t extra = preserveFloats ? D3DCREATE_FPU_PRESERVE : 0;
        for (const uint32_t flags :
             {D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DCREATE_MIXED_VERTEXPROCESSING,
              D3DCREATE_SOFTWARE_VERTEXPROCESSING}) {
            Device* created = nullptr;
            if (!FAILED(d3d.CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window,
                                         flags | extra, &parameters, &created))) {
                device = CRefPointer<Device>(created);
                m_common = created;
                return true;
            }
        }
        reportNoDevice(noneMade, noDevice);
        return false;
    }

    // Steps of device initialisation both versions take: the depth-stencil format (switching
    // the stencil buffer off where it cannot be had; false, logged, without any depth format),
    // the adapter's line in the log, the stencil capabilities, and the states every new or
    // reset device gets.
    bool chooseDepthStencilFormat(IDirect3DCommon& d3d, D3DFORMAT backBufferFormat,
                                  D3DFORMAT displayFormat, D3DFORMAT& chosen);
    static void logAdapterIdentifier(const D3DADAPTER_IDENTIFIER9& identifier);
    void checkStencilCaps();
    void fillPlatformData(uintptr_t first, uintptr_t d3d, uintptr_t device);
    void reapplyFog();
    void restoreStatesAfterReset();
    // Presents to the window and source rectangle of the last startFrame.
    HRESULT presentToWindow();

    // Drops what holds on to the device, before the driver releases it.
    void dropDeviceResources();
    // The renderer at the current material's type, or none.
    IMaterialPass* currentPass() const;
    // Whether the states of the last material's renderer are on the device: 3D mode, or 2D mode
    // drawing with a material.
    bool inMaterialMode() const;
    // The last material's renderer takes back what it set, such as an alpha test or a sphere
    // map, which would otherwise stay on under what is drawn next.
    void restoreLastRenderer();
    // The renderer a shader material builds on, or none.
    IMaterialPass* baseRendererOf(int32_t baseMaterialType) const;
    void clearStageTextures();

    const Traits m_traits;
    // The device as both versions share it; set by the driver that owns it.
    IDirect3DDeviceCommon* m_common = nullptr;
    int32_t m_renderMode = RENDER_MODE_NONE;
    // In 2D mode: whether the image states (identity transforms, no material) are on the device
    // rather than the material's states and the pixel projection.
    bool m_imageStates = false;
    RenderMaterial m_currentMaterial;
    RenderMaterial m_lastMaterial;
    bool m_resetAllStates = true;
    bool m_stencilBuffer;
    CRefPointer<IDriverTexture> m_stageTextures[4];
    CRefPointer<IDirect3DSurface9> m_savedBackBuffer;
    CPixelSize m_renderTargetSize{0, 0};
    HWND m_window = 0;
    HWND m_presentWindow = 0;
    bool m_hasPresentSourceRect = false;
    RECT m_presentSourceRect;
    D3DCAPS9 m_caps;
    int32_t m_currentVertexType = -1;
    float m_maxLightDistance;
    int32_t m_lastLightIndex = -1;
    bool m_deviceLost = false;
    CColorf m_ambientLight;

private:
    struct ScaledImage {
        CPixelRect destination;
        float u[2];
        float v[2];
        // Upper left, lower left, lower right, upper right.
        CColor colors[4];
    };

    static const D3DModuleExport* findCreateFunction(CRefPointer<CD3DModule>& module,
                                                     const char* library, const char* function);
    static bool reportDirect3D(bool created);
    static void reportNoDevice(const char* noneMade, const char* noDevice);
    static bool cutScaledImage(ScaledImage& image, const CPixelRect& clip);
    // The Direct3D matrix of a transform slot, and of the 2D pixel projection.
    void sendMatrix(D3DTRANSFORMSTATETYPE state, const CMatrix4& matrix);
    void send2DProjection();
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
    bool isDepthFormatAccepted(IDirect3DCommon& d3d, D3DFORMAT backBufferFormat, D3DFORMAT format);

    void setColorStates(const RenderMaterial& material);
    void setColorMaterialStates(uint8_t mode);
    void setDepthStates(uint8_t depthTest);
    void setLayerStates(const RenderMaterial& material, const RenderMaterial& last,
                        bool resetAllStates);
    void setFilterStates(uint32_t stage, const RenderMaterialLayer& layer);
};
