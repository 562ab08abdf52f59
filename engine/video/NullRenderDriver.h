#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Timer.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/video/FrameRateCounter.h"
#include "engine/video/IMaterialPass.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/IShaderServices.h"
#include "engine/video/Light.h"
#include "engine/video/QuadBatcher.h"

// A complete driver that draws nothing, and the base of every drawing driver: it keeps the
// bookkeeping all drivers share (frame counting, matrices, viewport, fog, lights, texture options,
// material passes, colour keys, the quad batcher). A program running on it makes every drawing
// call and shows nothing.
class CNullRenderDriver : public IRenderDriver, public IShaderServices {
public:
    // The timer gives the real time of presented frames; without one the driver reads the
    // system clock. The file system opens shader program files and may be none.
    CNullRenderDriver(const CreationParameters& parameters, IVirtualFileSystem* fileSystem,
                      CRefPointer<CTimer> timer);

    bool startFrame(bool clearBackBuffer, bool clearDepthBuffer, CColor clearColor,
                    void* presentationWindow, const CPixelRect* sourceRect) override;
    bool presentFrame() override;
    bool hasFeature(uint32_t feature) const override;
    void setFeatureEnabled(uint32_t feature, bool enabled) override;
    bool setRenderStates3D() override;
    bool setRenderStates2D() override;
    void setMatrix(uint32_t slot, const CMatrix4& matrix) override;
    const CMatrix4& getMatrix(uint32_t slot) const override;
    void applyMaterial(const RenderMaterial& material) override;

    CRefPointer<IDriverTexture> createTexture(CSoftwareImage* image) override;
    CRefPointer<IDriverTexture> createBlankTexture(CPixelSize size, int32_t colorFormat) override;
    CRefPointer<IDriverTexture> createRenderTargetTexture(CPixelSize size,
                                                          int32_t formatCode) override;
    void makeColorKeyFromPixel(IDriverTexture* texture, int32_t x, int32_t y) override;
    void makeColorKey(IDriverTexture* texture, CColor color) override;
    bool useRenderTargetKind(uint32_t kind, bool clearBackBuffer, bool clearDepthBuffer,
                             CColor clearColor) override;
    bool useRenderTargetTexture(IDriverTexture* texture, bool clearBackBuffer,
                                bool clearDepthBuffer, CColor clearColor) override;
    void setViewportRect(const CPixelRect& rect) override;
    const CPixelRect& getViewportRect() const override { return m_viewport; }
    CRefPointer<IDriverTexture> createDeviceTexture(CSoftwareImage* image) override;

    void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override;
    void drawIndexedTrianglesTangents(const CVertexTangents* vertices, uint32_t vertexCount,
                                      const uint16_t* indices, uint32_t triangleCount) override;
    void drawIndexedTrianglesTwoCoords(const CVertexTwoCoords* vertices, uint32_t vertexCount,
                                       const uint16_t* indices, uint32_t triangleCount) override;
    void drawIndexedTriangles(const CVertexNormal* vertices, uint32_t vertexCount,
                              const uint16_t* indices, uint32_t triangleCount) override;
    void drawTriangleFanTwoCoords(const CVertexTwoCoords* vertices, uint32_t vertexCount,
                                  const uint16_t* indices, uint32_t triangleCount) override;
    void drawTriangleFan(const CVertexNormal* vertices, uint32_t vertexCount,
                         const uint16_t* indices, uint32_t triangleCount) override;

    void drawImageScaled(IDriverTexture* texture, const CPixelRect& destination,
                         const CPixelRect& source, const CPixelRect* clip,
                         const CColor* cornerColors, bool useAlphaChannel) override;
    void drawImageRun(IDriverTexture* texture, CPixelPoint position,
                      const CArray<CPixelRect>& sourceRects, const CArray<int32_t>& indices,
                      int32_t spacing, const CPixelRect* clip, CColor color,
                      bool useAlphaChannel) override;
    void drawImagePart(IDriverTexture* texture, CPixelPoint position, const CPixelRect& source,
                       const CPixelRect* clip, CColor color, bool useAlphaChannel) override;
    void drawImage(IDriverTexture* texture, CPixelPoint position) override;
    void drawRectGradient(const CPixelRect& rect, CColor topLeft, CColor topRight,
                          CColor bottomLeft, CColor bottomRight, const CPixelRect* clip) override;
    void drawRect(CColor color, const CPixelRect& rect, const CPixelRect* clip) override;
    void drawLine2D(CVector2d start, CVector2d end, CColor color) override;
    void plotPixel(uint32_t x, uint32_t y, CColor color) override;
    void drawRegularPolygon(CVector2d centre, float radius, CColor color,
                            int32_t cornerCount) override;
    void drawStencilShadowVolume(const CVector3d* triangles, uint32_t vertexCount,
                                 bool depthFail) override;
    void drawStencilShadow(bool clearStencilBuffer, CColor topLeft, CColor topRight,
                           CColor bottomLeft, CColor bottomRight) override;
    void drawGeometryBuffer(const IMeshBuffer* mesh) override;

    void setFogParameters(CColor color, bool linearFog, float start, float end, float density,
                          bool perPixelFog, bool rangeFog) override;
    CPixelSize getBackBufferSize() const override { return m_screenSize; }
    uint32_t getColorDepth() const override { return m_colorDepth; }
    int32_t getBackBufferFormat() const override;
    CPixelSize getRenderTargetSize() const override { return m_screenSize; }
    uint32_t getFrameRate() const override { return m_frameRateCounter.getFramesPerSecond(); }
    uint32_t getPrimitiveCount(uint32_t mode) const override;

    void removeAllLights() override;
    int32_t addLight(const CLight& light) override;
    uint32_t getMaxLightCount() const override;
    uint32_t getLightCount() const override { return m_lights.size(); }
    void setLightEnabled(uint32_t index, bool on) override;
    const CLight* getLight(uint32_t index) const override;

    const char16_t* getDriverName() const override;
    uint32_t getMaxPrimitiveCount() const override;
    uint32_t setTextureOption(uint32_t option, bool on) override;
    bool getTextureOption(uint32_t option) const override;
    CRefPointer<CSoftwareImage> makeImageFromData(int32_t colorFormat, CPixelSize size, void* data,
                                                  bool adoptData, bool ownsData) override;
    void handleResize(CPixelSize size) override;

    int32_t setMaterialPass(int32_t index, IMaterialPass* pass, const char* name) override;
    IMaterialPass* getMaterialPass(uint32_t index) const override;
    uint32_t getMaterialPassCount() const override { return m_materialPasses.size(); }
    const char* getMaterialPassName(uint32_t index) const override;
    void renameMaterialPass(uint32_t index, const char* name) override;
    CRefPointer<CProperties> createPropertiesFromMaterial(const RenderMaterial& material) override;
    void fillMaterialFromProperties(RenderMaterial& material,
                                    const CProperties* properties) override;
    const uintptr_t* getPlatformData() const override { return m_platformData; }
    uint32_t getDriverKind() const override;
    IShaderServices* getShaderServices() override;
    CQuadBatcher* getQuadBatcher() override { return m_quadBatcher.get(); }
    void clearDepthBuffer() override;
    CRefPointer<CSoftwareImage> captureScreen() override;
    bool setClipPlane(uint32_t index, const CClipPlane& plane, bool enable) override;
    void enableClipPlane(uint32_t index, bool on) override;
    void setScissorRect(const CPixelRect& rect) override;
    void enableScissor(bool on) override;
    void setAmbientLight(const CColorf& color) override;
    const char* getAdapterDescription() const override;
    void draw2DPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                          uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                          uint32_t primitiveType) override;
    int32_t chooseTextureFormat(int32_t colorFormat) const override;
    void drawLine3D(const CVector3d& start, const CVector3d& end, CColor color) override;

    int32_t createHighLevelMaterial(const char* vertexProgram, const char* vertexEntry,
                                    int32_t vertexTarget, const char* pixelProgram,
                                    const char* pixelEntry, int32_t pixelTarget,
                                    IShaderCallback* callback, int32_t baseMaterialType,
                                    int32_t userData) override;
    int32_t createHighLevelMaterialFromFiles(IInputFile* vertexFile, const char* vertexEntry,
                                             int32_t vertexTarget, IInputFile* pixelFile,
                                             const char* pixelEntry, int32_t pixelTarget,
                                             IShaderCallback* callback, int32_t baseMaterialType,
                                             int32_t userData) override;
    int32_t createHighLevelMaterialFromPaths(const char16_t* vertexPath, const char* vertexEntry,
                                             int32_t vertexTarget, const char16_t* pixelPath,
                                             const char* pixelEntry, int32_t pixelTarget,
                                             IShaderCallback* callback, int32_t baseMaterialType,
                                             int32_t userData) override;
    int32_t createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                              IShaderCallback* callback, int32_t baseMaterialType,
                              int32_t userData) override;
    int32_t createAsmMaterialFromPaths(const char16_t* vertexPath, const char16_t* pixelPath,
                                       IShaderCallback* callback, int32_t baseMaterialType,
                                       int32_t userData) override;
    int32_t createAsmMaterialFromFiles(IInputFile* vertexFile, IInputFile* pixelFile,
                                       IShaderCallback* callback, int32_t baseMaterialType,
                                       int32_t userData) override;

protected:
    struct MaterialPassEntry {
        CString name;
        CRefPointer<IMaterialPass> pass;
    };

    struct FogParameters {
        bool linear = true;
        float start = 50.0f;
        float end = 100.0f;
        float density = 0.01f;
        bool perPixel = false;
        bool range = false;
        CColor color{0x00FFFFFF};
    };

    ~CNullRenderDriver() override = default;

    // False, with a log line, when the count exceeds getMaxPrimitiveCount; every drawing
    // driver's drawPrimitives asks it before drawing.
    bool checkPrimitiveCount(uint32_t primitiveCount) const;

    CArray<CLight> m_lights;
    CArray<MaterialPassEntry> m_materialPasses;
    CRefPointer<IVirtualFileSystem> m_fileSystem;
    CRefPointer<CTimer> m_timer;
    CRefPointer<CQuadBatcher> m_quadBatcher;
    CMatrix4 m_transforms[TRANSFORM_COUNT];
    // Set by setMatrix and handleResize; cleared once a drawing driver has loaded the matrices.
    bool m_transformChanged = true;
    CPixelRect m_viewport;
    CPixelSize m_screenSize;
    uint32_t m_colorDepth;
    CFrameRateCounter m_frameRateCounter;
    uint32_t m_framePrimitives = 0;
    uint32_t m_textureOptions = 0;
    FogParameters m_fog;
    uintptr_t m_platformData[5] = {0, 0, 0, 0, 0};
    uint8_t m_featureEnabled[FEATURE_COUNT];

private:
    // Maps the texture for writing when its format can take a colour key; none, logged,
    // otherwise.
    static uint8_t* mapForColorKey(IDriverTexture* texture);
};

// A null driver with a pass that does nothing at each of the 26 built-in material types.
CRefPointer<IRenderDriver> createNullRenderDriver(const CreationParameters& parameters,
                                                  IVirtualFileSystem* fileSystem,
                                                  CRefPointer<CTimer> timer);
