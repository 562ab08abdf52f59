#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Color.h"
#include "engine/core/Matrix4.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/video/Blitter.h"
#include "engine/video/IDriverTexture.h"
#include "engine/video/PixelSize.h"
#include "engine/video/VertexTypes.h"

struct CLight;
class CProperties;
class CQuadBatcher;
class CSoftwareImage;
class IMaterialPass;
class IMeshBuffer;
class IShaderServices;
class RenderMaterial;

enum EDriverKind : uint32_t {
    DRIVER_KIND_NULL = 0,
    DRIVER_KIND_DIRECT3D8 = 1,
    DRIVER_KIND_DIRECT3D9 = 2,
    DRIVER_KIND_OPENGL = 3,
};

// Capabilities for hasFeature and setFeatureEnabled.
enum EDriverFeature : uint32_t {
    FEATURE_RENDER_TO_TEXTURE = 0,
    FEATURE_HARDWARE_TRANSFORM_LIGHTING = 1,
    FEATURE_MULTITEXTURE = 2,
    FEATURE_BILINEAR_FILTER = 3,
    FEATURE_MIP_MAPS = 4,
    FEATURE_AUTO_MIP_MAPS = 5,
    FEATURE_STENCIL_BUFFER = 6,
    FEATURE_VERTEX_SHADER_1_1 = 7,
    FEATURE_VERTEX_SHADER_2_0 = 8,
    FEATURE_VERTEX_SHADER_3_0 = 9,
    FEATURE_PIXEL_SHADER_1_1 = 10,
    FEATURE_PIXEL_SHADER_1_2 = 11,
    FEATURE_PIXEL_SHADER_1_3 = 12,
    FEATURE_PIXEL_SHADER_1_4 = 13,
    FEATURE_PIXEL_SHADER_2_0 = 14,
    FEATURE_PIXEL_SHADER_3_0 = 15,
    FEATURE_ASM_VERTEX_PROGRAMS = 16,
    FEATURE_ASM_FRAGMENT_PROGRAMS = 17,
    FEATURE_GLSL = 18,
    FEATURE_HLSL = 19,
    FEATURE_NON_SQUARE_TEXTURES = 20,
    FEATURE_NON_POWER_OF_TWO_TEXTURES = 21,
    FEATURE_FRAME_BUFFER_OBJECTS = 22,
    FEATURE_VERTEX_BUFFER_OBJECTS = 23,
    FEATURE_MULTISAMPLING = 24,
    FEATURE_COLOR_WRITE_MASK = 25,
    FEATURE_COUNT = 26,
};

// Slots of the driver's matrix table; all start as identity.
enum ETransformSlot : uint32_t {
    TRANSFORM_VIEW = 0,
    TRANSFORM_WORLD = 1,
    TRANSFORM_PROJECTION = 2,
    TRANSFORM_TEXTURE_0 = 3,
    TRANSFORM_COUNT = 7,
};

// Bits of the texture option mask, read whenever a texture is made.
enum ETextureOption : uint32_t {
    TEXTURE_PREFER_16_BIT = 1,
    TEXTURE_PREFER_32_BIT = 2,
    TEXTURE_CREATE_MIP_MAPS = 4,
    TEXTURE_NO_ALPHA_CHANNEL = 8,
    // The texture keeps no copy of its source image.
    TEXTURE_RELEASE_SOURCE_IMAGE = 16,
};

// A user clip plane a x + b y + c z + d = 0.
struct CClipPlane {
    float a = 0;
    float b = 0;
    float c = 0;
    float d = 0;
};

// The one interface through which everything draws. A driver starts with one reference; the
// device holds it. Drawing drivers derive from CNullRenderDriver, which implements all of this
// without drawing.
//
// Rectangles are pixel rectangles with exclusive right and bottom; "none" arguments are null
// pointers.
class IRenderDriver : public virtual CRefCounted {
public:
    // Begins a frame and clears what is asked. False means the frame cannot be drawn: the caller
    // then draws nothing and does not present. The last two arguments serve drivers that present
    // into another window.
    virtual bool startFrame(bool clearBackBuffer, bool clearDepthBuffer, CColor clearColor,
                            void* presentationWindow, const CPixelRect* sourceRect) = 0;
    virtual bool presentFrame() = 0;
    virtual bool hasFeature(uint32_t feature) const = 0;
    virtual void setFeatureEnabled(uint32_t feature, bool enabled) = 0;
    // 3D drawing: projection and model view from the matrix table, current material.
    virtual bool setRenderStates3D() = 0;
    // Screen-space drawing of the quad batch in pixels of the current render target.
    virtual bool setRenderStates2D() = 0;
    virtual void setMatrix(uint32_t slot, const CMatrix4& matrix) = 0;
    // The identity for a slot outside the table.
    virtual const CMatrix4& getMatrix(uint32_t slot) const = 0;
    // Takes effect at the next draw.
    virtual void applyMaterial(const RenderMaterial& material) = 0;

    virtual CRefPointer<IDriverTexture> createTexture(CSoftwareImage* image) = 0;
    // A texture made from a cleared image of that size and format.
    virtual CRefPointer<IDriverTexture> createBlankTexture(CPixelSize size,
                                                           int32_t colorFormat) = 0;
    virtual CRefPointer<IDriverTexture> createRenderTargetTexture(CPixelSize size,
                                                                  int32_t formatCode) = 0;
    // Keys the colour of the texel at (x, y); a texel outside the texture keys nothing.
    virtual void makeColorKeyFromPixel(IDriverTexture* texture, int32_t x, int32_t y) = 0;
    // Texels of the colour become transparent black, all others opaque. Formats A1R5G5B5 and
    // A8R8G8B8 only.
    virtual void makeColorKey(IDriverTexture* texture, CColor color) = 0;
    // Kind 0 is the frame buffer.
    virtual bool useRenderTargetKind(uint32_t kind, bool clearBackBuffer, bool clearDepthBuffer,
                                     CColor clearColor) = 0;
    // None goes back to the frame buffer.
    virtual bool useRenderTargetTexture(IDriverTexture* texture, bool clearBackBuffer,
                                        bool clearDepthBuffer, CColor clearColor) = 0;
    virtual void setViewportRect(const CPixelRect& rect) = 0;
    virtual const CPixelRect& getViewportRect() const = 0;
    // The driver's own texture class made from the image.
    virtual CRefPointer<IDriverTexture> createDeviceTexture(CSoftwareImage* image) = 0;

    // Every driver counts the primitives before it draws. Without indices the vertices are
    // taken in order.
    virtual void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                                uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                                uint32_t primitiveType) = 0;
    virtual void drawIndexedTrianglesTangents(const CVertexTangents* vertices, uint32_t vertexCount,
                                              const uint16_t* indices, uint32_t triangleCount) = 0;
    virtual void drawIndexedTrianglesTwoCoords(const CVertexTwoCoords* vertices,
                                               uint32_t vertexCount, const uint16_t* indices,
                                               uint32_t triangleCount) = 0;
    virtual void drawIndexedTriangles(const CVertexNormal* vertices, uint32_t vertexCount,
                                      const uint16_t* indices, uint32_t triangleCount) = 0;
    virtual void drawTriangleFanTwoCoords(const CVertexTwoCoords* vertices, uint32_t vertexCount,
                                          const uint16_t* indices, uint32_t triangleCount) = 0;
    virtual void drawTriangleFan(const CVertexNormal* vertices, uint32_t vertexCount,
                                 const uint16_t* indices, uint32_t triangleCount) = 0;

    // Corner colours top-left, bottom-left, bottom-right, top-right; none means white.
    virtual void drawImageScaled(IDriverTexture* texture, const CPixelRect& destination,
                                 const CPixelRect& source, const CPixelRect* clip,
                                 const CColor* cornerColors, bool useAlphaChannel) = 0;
    // The rectangles picked by the indices side by side, each advancing by its width plus the
    // spacing; indices outside the list are skipped.
    virtual void drawImageRun(IDriverTexture* texture, CPixelPoint position,
                              const CArray<CPixelRect>& sourceRects, const CArray<int32_t>& indices,
                              int32_t spacing, const CPixelRect* clip, CColor color,
                              bool useAlphaChannel) = 0;
    virtual void drawImagePart(IDriverTexture* texture, CPixelPoint position,
                               const CPixelRect& source, const CPixelRect* clip, CColor color,
                               bool useAlphaChannel) = 0;
    virtual void drawImage(IDriverTexture* texture, CPixelPoint position) = 0;
    virtual void drawRectGradient(const CPixelRect& rect, CColor topLeft, CColor topRight,
                                  CColor bottomLeft, CColor bottomRight,
                                  const CPixelRect* clip) = 0;
    virtual void drawRect(CColor color, const CPixelRect& rect, const CPixelRect* clip) = 0;
    virtual void drawLine2D(CVector2d start, CVector2d end, CColor color) = 0;
    virtual void plotPixel(uint32_t x, uint32_t y, CColor color) = 0;
    // The first corner lies straight below the centre; nothing below 2 corners.
    virtual void drawRegularPolygon(CVector2d centre, float radius, CColor color,
                                    int32_t cornerCount) = 0;
    virtual void drawStencilShadowVolume(const CVector3d* triangles, uint32_t vertexCount,
                                         bool depthFail) = 0;
    virtual void drawStencilShadow(bool clearStencilBuffer, CColor topLeft, CColor topRight,
                                   CColor bottomLeft, CColor bottomRight) = 0;
    virtual void drawGeometryBuffer(const IMeshBuffer* mesh) = 0;

    virtual void setFogParameters(CColor color, bool linearFog, float start, float end,
                                  float density, bool perPixelFog, bool rangeFog) = 0;
    virtual CPixelSize getBackBufferSize() const = 0;
    virtual uint32_t getColorDepth() const = 0;
    virtual int32_t getBackBufferFormat() const = 0;
    virtual CPixelSize getRenderTargetSize() const = 0;
    virtual uint32_t getFrameRate() const = 0;
    // Mode 0 the last presented frame, 1 per second over the last counting window, any other
    // the total since the driver was made.
    virtual uint32_t getPrimitiveCount(uint32_t mode) const = 0;

    virtual void removeAllLights() = 0;
    // The new light's index.
    virtual int32_t addLight(const CLight& light) = 0;
    virtual uint32_t getMaxLightCount() const = 0;
    virtual uint32_t getLightCount() const = 0;
    virtual void setLightEnabled(uint32_t index, bool on) = 0;
    virtual const CLight* getLight(uint32_t index) const = 0;

    virtual const char16_t* getDriverName() const = 0;
    virtual uint32_t getMaxPrimitiveCount() const = 0;
    // Setting option 1 or 2 clears both first; answers the new mask.
    virtual uint32_t setTextureOption(uint32_t option, bool on) = 0;
    // Whether any bit of the argument is set.
    virtual bool getTextureOption(uint32_t option) const = 0;
    virtual CRefPointer<CSoftwareImage> makeImageFromData(int32_t colorFormat, CPixelSize size,
                                                          void* data, bool adoptData,
                                                          bool ownsData) = 0;
    virtual void handleResize(CPixelSize size) = 0;

    // Places a pass at a material type, padding the list with "null" entries without a pass;
    // without a name an index below 26 gets its built-in name. Answers the index, or -1 without
    // a pass or for a negative index.
    virtual int32_t setMaterialPass(int32_t index, IMaterialPass* pass, const char* name) = 0;
    virtual IMaterialPass* getMaterialPass(uint32_t index) const = 0;
    virtual uint32_t getMaterialPassCount() const = 0;
    virtual const char* getMaterialPassName(uint32_t index) const = 0;
    // The built-in entries below 26 keep their names.
    virtual void renameMaterialPass(uint32_t index, const char* name) = 0;
    virtual CRefPointer<CProperties>
    createPropertiesFromMaterial(const RenderMaterial& material) = 0;
    virtual void fillMaterialFromProperties(RenderMaterial& material,
                                            const CProperties* properties) = 0;
    // Five words a real driver fills with its device, context and window handles.
    virtual const uintptr_t* getPlatformData() const = 0;
    virtual uint32_t getDriverKind() const = 0;
    virtual IShaderServices* getShaderServices() = 0;
    virtual CQuadBatcher* getQuadBatcher() = 0;
    virtual void clearDepthBuffer() = 0;
    virtual CRefPointer<CSoftwareImage> captureScreen() = 0;
    virtual bool setClipPlane(uint32_t index, const CClipPlane& plane, bool enable) = 0;
    virtual void enableClipPlane(uint32_t index, bool on) = 0;
    virtual void setScissorRect(const CPixelRect& rect) = 0;
    virtual void enableScissor(bool on) = 0;
    virtual void setAmbientLight(const CColorf& color) = 0;
    virtual const char* getAdapterDescription() const = 0;
    // Does nothing in every driver.
    virtual void draw2DPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                                  uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                                  uint32_t primitiveType) = 0;
    // The colour format a new texture of an image of this format gets under the texture options.
    virtual int32_t chooseTextureFormat(int32_t colorFormat) const = 0;
    virtual void drawLine3D(const CVector3d& start, const CVector3d& end, CColor color) = 0;
};
