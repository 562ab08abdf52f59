#include "engine/video/NullRenderDriver.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "engine/core/Logger.h"
#include "engine/core/Properties.h"
#include "engine/io/IInputFile.h"
#include "engine/video/ColorFormat.h"
#include "engine/video/IMeshBuffer.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/SoftwareImage.h"

namespace {

// How many texels a mapped texture holds: its storage size. The pitch may be the kept image's,
// or 0 without one.
uint64_t texelCountOf(const IDriverTexture& texture) {
    const CPixelSize size = texture.getSize();
    return uint64_t(size.width) * size.height;
}

uint32_t keyFromColor(int32_t format, CColor color) {
    if (format == COLOR_FORMAT_A8R8G8B8)
        return color.value | 0xFF000000u;
    return a1r5g5b5FromArgb(color.value) | 0x8000u;
}

uint32_t keyFromTexel(int32_t format, const uint8_t* pixels, uint64_t index) {
    if (format == COLOR_FORMAT_A8R8G8B8)
        return loadPixel32(pixels + index * 4) | 0xFF000000u;
    return loadPixel16(pixels + index * 2) | 0x8000u;
}

// Every texel becomes opaque, except those equal to the key, which become transparent black.
void keyTexels(uint8_t* pixels, int32_t format, uint64_t count, uint32_t key) {
    if (format == COLOR_FORMAT_A8R8G8B8) {
        for (uint64_t i = 0; i < count; ++i) {
            const uint32_t texel = loadPixel32(pixels + i * 4) | 0xFF000000u;
            storePixel32(pixels + i * 4, texel == key ? 0 : texel);
        }
        return;
    }
    for (uint64_t i = 0; i < count; ++i) {
        const uint32_t texel = loadPixel16(pixels + i * 2) | 0x8000u;
        storePixel16(pixels + i * 2, uint16_t(texel == key ? 0 : texel));
    }
}

// The rest of the file from the current position, zero-terminated.
CArray<char> readWholeText(IInputFile* file) {
    CArray<char> text;
    char chunk[4096];
    int32_t count;
    while ((count = file->readBytes(chunk, sizeof(chunk))) > 0) {
        for (int32_t i = 0; i < count; ++i)
            text.append(chunk[i]);
    }
    text.append('\0');
    return text;
}

// The texts of both program files, each none without its file. One file may hold both programs.
struct ProgramTexts {
    CArray<char> vertex;
    CArray<char> pixel;
    const char* vertexText = nullptr;
    const char* pixelText = nullptr;

    ProgramTexts(const ProgramTexts&) = delete;
    ProgramTexts(IInputFile* vertexFile, IInputFile* pixelFile) {
        if (vertexFile) {
            vertex = readWholeText(vertexFile);
            vertexText = vertex.data();
        }
        if (pixelFile) {
            if (pixelFile == vertexFile)
                pixelFile->seekTo(0, false);
            pixel = readWholeText(pixelFile);
            pixelText = pixel.data();
        }
    }
};

// True with no file for no path; false, logged with the failure text, when the path does not
// open.
bool openProgramFile(IVirtualFileSystem* fileSystem, const char16_t* path,
                     const char16_t* failureText, CRefPointer<IInputFile>& file) {
    if (!path)
        return true;
    if (fileSystem)
        file = fileSystem->openInputFile(CStringW(path));
    if (file)
        return true;
    CLogger::instance()->log(CStringW(failureText) + path, CLogger::LevelWarning);
    return false;
}

// Both program files of a material by path, each none without its path.
struct ProgramFiles {
    CRefPointer<IInputFile> vertex;
    CRefPointer<IInputFile> pixel;

    // False when a path does not open.
    bool open(IVirtualFileSystem* fileSystem, const char16_t* vertexPath,
              const char16_t* pixelPath) {
        return openProgramFile(fileSystem, vertexPath,
                               u"Could not open vertex shader program file: ", vertex) &&
               openProgramFile(fileSystem, pixelPath, u"Could not open pixel shader program file: ",
                               pixel);
    }
};

} // namespace

CNullRenderDriver::CNullRenderDriver(const CreationParameters& parameters,
                                     IVirtualFileSystem* fileSystem, CRefPointer<CTimer> timer)
    : m_fileSystem(CRefPointer<IVirtualFileSystem>::share(fileSystem)),
      m_timer(timer ? std::move(timer) : CRefPointer<CTimer>(new CTimer())),
      m_screenSize{parameters.width, parameters.height}, m_colorDepth(parameters.bits) {
    // Runs while the object is still the null part, so every driver first names "Null Device".
    CLogger::instance()->log(CStringW(u"Using renderer: ") + getDriverName(),
                             CLogger::LevelInformation);
    m_textureOptions = TEXTURE_CREATE_MIP_MAPS;
    m_viewport = {0, 0, int32_t(m_screenSize.width), int32_t(m_screenSize.height)};
    m_quadBatcher = CRefPointer<CQuadBatcher>(new CQuadBatcher(this));
    std::memset(m_featureEnabled, 1, sizeof(m_featureEnabled));
}

bool CNullRenderDriver::startFrame(bool, bool, CColor, void*, const CPixelRect*) {
    m_framePrimitives = 0;
    return true;
}

bool CNullRenderDriver::presentFrame() {
    m_frameRateCounter.registerFrame(m_timer->getRealTime(), m_framePrimitives);
    return true;
}

bool CNullRenderDriver::hasFeature(uint32_t) const {
    return false;
}

void CNullRenderDriver::setFeatureEnabled(uint32_t feature, bool enabled) {
    if (feature < FEATURE_COUNT)
        m_featureEnabled[feature] = enabled ? 1 : 0;
}

bool CNullRenderDriver::setRenderStates3D() {
    return false;
}

bool CNullRenderDriver::setRenderStates2D() {
    return false;
}

void CNullRenderDriver::setMatrix(uint32_t, const CMatrix4&) {}

const CMatrix4& CNullRenderDriver::getMatrix(uint32_t slot) const {
    return slot < TRANSFORM_COUNT ? m_transforms[slot] : CMatrix4::identity();
}

void CNullRenderDriver::applyMaterial(const RenderMaterial&) {}

CRefPointer<IDriverTexture> CNullRenderDriver::createTexture(CSoftwareImage* image) {
    if (!image)
        return nullptr;
    return createDeviceTexture(image);
}

CRefPointer<IDriverTexture> CNullRenderDriver::createBlankTexture(CPixelSize size,
                                                                  int32_t colorFormat) {
    CRefPointer<CSoftwareImage> image = CSoftwareImage::create(
        CContentKey(), colorFormat, int32_t(size.width), int32_t(size.height));
    if (!image)
        return nullptr;
    return createDeviceTexture(image.get());
}

CRefPointer<IDriverTexture> CNullRenderDriver::createRenderTargetTexture(CPixelSize, int32_t) {
    return nullptr;
}

uint8_t* CNullRenderDriver::mapForColorKey(IDriverTexture* texture) {
    const int32_t format = texture->getColorFormat();
    if (format != COLOR_FORMAT_A1R5G5B5 && format != COLOR_FORMAT_A8R8G8B8) {
        CLogger::instance()->logChars(
            "Error: Unsupported texture color format for making color key channel.",
            CLogger::LevelError);
        return nullptr;
    }
    auto* pixels = static_cast<uint8_t*>(texture->mapPixels(false));
    if (!pixels)
        CLogger::instance()->logChars("Could not lock texture for making color key channel.",
                                      CLogger::LevelError);
    return pixels;
}

void CNullRenderDriver::makeColorKeyFromPixel(IDriverTexture* texture, int32_t x, int32_t y) {
    if (!texture)
        return;
    uint8_t* pixels = mapForColorKey(texture);
    if (!pixels)
        return;
    const int32_t format = texture->getColorFormat();
    const CPixelSize size = texture->getSize();
    const uint64_t count = texelCountOf(*texture);
    const uint64_t index = uint64_t(uint32_t(y)) * size.width + uint32_t(x);
    if (x < 0 || y < 0 || uint32_t(x) >= size.width || uint32_t(y) >= size.height ||
        index >= count) {
        CLogger::instance()->logChars("Color key pixel lies outside the texture.",
                                      CLogger::LevelWarning);
        texture->unmapPixels();
        return;
    }
    keyTexels(pixels, format, count, keyFromTexel(format, pixels, index));
    texture->unmapPixels();
}

void CNullRenderDriver::makeColorKey(IDriverTexture* texture, CColor color) {
    if (!texture)
        return;
    uint8_t* pixels = mapForColorKey(texture);
    if (!pixels)
        return;
    const int32_t format = texture->getColorFormat();
    keyTexels(pixels, format, texelCountOf(*texture), keyFromColor(format, color));
    texture->unmapPixels();
}

bool CNullRenderDriver::useRenderTargetKind(uint32_t kind, bool clearBackBuffer,
                                            bool clearDepthBuffer, CColor clearColor) {
    if (kind != 0)
        return false;
    return useRenderTargetTexture(nullptr, clearBackBuffer, clearDepthBuffer, clearColor);
}

bool CNullRenderDriver::useRenderTargetTexture(IDriverTexture*, bool, bool, CColor) {
    return false;
}

void CNullRenderDriver::setViewportRect(const CPixelRect&) {}

CRefPointer<IDriverTexture> CNullRenderDriver::createDeviceTexture(CSoftwareImage*) {
    return nullptr;
}

void CNullRenderDriver::drawPrimitives(const void*, uint32_t, const void*, uint32_t primitiveCount,
                                       uint32_t, uint32_t, uint32_t) {
    m_framePrimitives += primitiveCount;
}

void CNullRenderDriver::drawIndexedTrianglesTangents(const CVertexTangents* vertices,
                                                     uint32_t vertexCount, const uint16_t* indices,
                                                     uint32_t triangleCount) {
    drawPrimitives(vertices, vertexCount, indices, triangleCount, VERTEX_TYPE_TANGENTS,
                   INDEX_TYPE_16_BIT, PRIMITIVE_TRIANGLES);
}

void CNullRenderDriver::drawIndexedTrianglesTwoCoords(const CVertexTwoCoords* vertices,
                                                      uint32_t vertexCount, const uint16_t* indices,
                                                      uint32_t triangleCount) {
    drawPrimitives(vertices, vertexCount, indices, triangleCount, VERTEX_TYPE_TWO_COORDS,
                   INDEX_TYPE_16_BIT, PRIMITIVE_TRIANGLES);
}

void CNullRenderDriver::drawIndexedTriangles(const CVertexNormal* vertices, uint32_t vertexCount,
                                             const uint16_t* indices, uint32_t triangleCount) {
    drawPrimitives(vertices, vertexCount, indices, triangleCount, VERTEX_TYPE_NORMAL,
                   INDEX_TYPE_16_BIT, PRIMITIVE_TRIANGLES);
}

void CNullRenderDriver::drawTriangleFanTwoCoords(const CVertexTwoCoords* vertices,
                                                 uint32_t vertexCount, const uint16_t* indices,
                                                 uint32_t triangleCount) {
    drawPrimitives(vertices, vertexCount, indices, triangleCount, VERTEX_TYPE_TWO_COORDS,
                   INDEX_TYPE_16_BIT, PRIMITIVE_TRIANGLE_FAN);
}

void CNullRenderDriver::drawTriangleFan(const CVertexNormal* vertices, uint32_t vertexCount,
                                        const uint16_t* indices, uint32_t triangleCount) {
    drawPrimitives(vertices, vertexCount, indices, triangleCount, VERTEX_TYPE_NORMAL,
                   INDEX_TYPE_16_BIT, PRIMITIVE_TRIANGLE_FAN);
}

void CNullRenderDriver::drawImageScaled(IDriverTexture*, const CPixelRect&, const CPixelRect&,
                                        const CPixelRect*, const CColor*, bool) {}

void CNullRenderDriver::drawImageRun(IDriverTexture* texture, CPixelPoint position,
                                     const CArray<CPixelRect>& sourceRects,
                                     const CArray<int32_t>& indices, int32_t spacing,
                                     const CPixelRect* clip, CColor color, bool useAlphaChannel) {
    for (const int32_t index : indices) {
        if (index < 0 || uint32_t(index) >= sourceRects.size())
            continue;
        const CPixelRect& source = sourceRects[uint32_t(index)];
        drawImagePart(texture, position, source, clip, color, useAlphaChannel);
        position.x += source.right - source.left + spacing;
    }
}

void CNullRenderDriver::drawImagePart(IDriverTexture*, CPixelPoint, const CPixelRect&,
                                      const CPixelRect*, CColor, bool) {}

void CNullRenderDriver::drawImage(IDriverTexture* texture, CPixelPoint position) {
    if (!texture)
        return;
    const CPixelRect source = rectFromPositionAndSize({0, 0}, texture->getSourceSize());
    drawImagePart(texture, position, source, nullptr, CColor(0xFFFFFFFF), false);
}

void CNullRenderDriver::drawRectGradient(const CPixelRect&, CColor, CColor, CColor, CColor,
                                         const CPixelRect*) {}

void CNullRenderDriver::drawRect(CColor color, const CPixelRect& rect, const CPixelRect* clip) {
    drawRectGradient(rect, color, color, color, color, clip);
}

void CNullRenderDriver::drawLine2D(CVector2d, CVector2d, CColor) {}

void CNullRenderDriver::plotPixel(uint32_t, uint32_t, CColor) {}

void CNullRenderDriver::drawRegularPolygon(CVector2d centre, float radius, CColor color,
                                           int32_t cornerCount) {
    if (cornerCount < 2)
        return;
    constexpr float kTwoPi = 6.28318530718f;
    CVector2d first;
    CVector2d previous;
    for (int32_t i = 0; i < cornerCount; ++i) {
        const float angle = float(i) / float(cornerCount) * kTwoPi;
        const CVector2d point(centre.x + std::sin(angle) * radius,
                              centre.y + std::cos(angle) * radius);
        if (i == 0)
            first = point;
        else
            drawLine2D(point, previous, color);
        previous = point;
    }
    drawLine2D(previous, first, color);
}

void CNullRenderDriver::drawStencilShadowVolume(const CVector3d*, uint32_t, bool) {}

void CNullRenderDriver::drawStencilShadow(bool, CColor, CColor, CColor, CColor) {}

void CNullRenderDriver::drawGeometryBuffer(const IMeshBuffer* mesh) {
    if (!mesh)
        return;
    drawPrimitives(mesh->getVertices(), mesh->getVertexCount(), mesh->getIndices(),
                   mesh->primitiveCount, mesh->getVertexType(), INDEX_TYPE_16_BIT,
                   mesh->primitiveType);
}

void CNullRenderDriver::setFogParameters(CColor color, bool linearFog, float start, float end,
                                         float density, bool perPixelFog, bool rangeFog) {
    m_fog.color = color;
    m_fog.linear = linearFog;
    m_fog.start = start;
    m_fog.end = end;
    m_fog.density = density;
    m_fog.perPixel = perPixelFog;
    m_fog.range = rangeFog;
}

int32_t CNullRenderDriver::getBackBufferFormat() const {
    return COLOR_FORMAT_R5G6B5;
}

uint32_t CNullRenderDriver::getPrimitiveCount(uint32_t mode) const {
    switch (mode) {
    case 0:
        return m_frameRateCounter.getLastFramePrimitives();
    case 1:
        return m_frameRateCounter.getPrimitivesPerSecond();
    default:
        return m_frameRateCounter.getTotalPrimitives();
    }
}

void CNullRenderDriver::removeAllLights() {
    m_lights.clear();
}

int32_t CNullRenderDriver::addLight(const CLight& light) {
    m_lights.append(light);
    return int32_t(m_lights.size() - 1);
}

uint32_t CNullRenderDriver::getMaxLightCount() const {
    return 0;
}

void CNullRenderDriver::setLightEnabled(uint32_t, bool) {}

const CLight* CNullRenderDriver::getLight(uint32_t index) const {
    return index < m_lights.size() ? &m_lights[index] : nullptr;
}

const char16_t* CNullRenderDriver::getDriverName() const {
    return u"Null Device";
}

uint32_t CNullRenderDriver::getMaxPrimitiveCount() const {
    return 0xFFFFFFFFu;
}

uint32_t CNullRenderDriver::setTextureOption(uint32_t option, bool on) {
    if (on && (option == TEXTURE_PREFER_16_BIT || option == TEXTURE_PREFER_32_BIT))
        m_textureOptions &= ~uint32_t(TEXTURE_PREFER_16_BIT | TEXTURE_PREFER_32_BIT);
    if (on)
        m_textureOptions |= option;
    else
        m_textureOptions &= ~option;
    return m_textureOptions;
}

bool CNullRenderDriver::getTextureOption(uint32_t option) const {
    return (m_textureOptions & option) != 0;
}

CRefPointer<CSoftwareImage> CNullRenderDriver::makeImageFromData(int32_t colorFormat,
                                                                 CPixelSize size, void* data,
                                                                 bool adoptData, bool ownsData) {
    return CRefPointer<CSoftwareImage>(new CSoftwareImage(CContentKey(), colorFormat,
                                                          int32_t(size.width), int32_t(size.height),
                                                          data, adoptData, ownsData));
}

void CNullRenderDriver::handleResize(CPixelSize size) {
    // A viewport that covered the whole screen keeps covering it; a partial one stays put.
    if (int64_t(m_viewport.right) - m_viewport.left == int64_t(m_screenSize.width) &&
        int64_t(m_viewport.bottom) - m_viewport.top == int64_t(m_screenSize.height))
        m_viewport = {0, 0, int32_t(size.width), int32_t(size.height)};
    m_screenSize = size;
}

int32_t CNullRenderDriver::setMaterialPass(int32_t index, IMaterialPass* pass, const char* name) {
    if (!pass || index < 0)
        return -1;
    if (!name) {
        const char* builtIn = builtInMaterialName(uint32_t(index));
        name = builtIn ? builtIn : "";
    }
    while (m_materialPasses.size() < uint32_t(index) + 1)
        m_materialPasses.append(MaterialPassEntry{CString("null"), nullptr});
    MaterialPassEntry& entry = m_materialPasses[uint32_t(index)];
    entry.name = name;
    entry.pass = CRefPointer<IMaterialPass>::share(pass);
    return index;
}

IMaterialPass* CNullRenderDriver::getMaterialPass(uint32_t index) const {
    return index < m_materialPasses.size() ? m_materialPasses[index].pass.get() : nullptr;
}

const char* CNullRenderDriver::getMaterialPassName(uint32_t index) const {
    return index < m_materialPasses.size() ? m_materialPasses[index].name.c_str() : nullptr;
}

void CNullRenderDriver::renameMaterialPass(uint32_t index, const char* name) {
    if (index >= MATERIAL_BUILT_IN_COUNT && index < m_materialPasses.size())
        m_materialPasses[index].name = name ? name : "";
}

CRefPointer<CProperties> CNullRenderDriver::createPropertiesFromMaterial(const RenderMaterial&) {
    return CRefPointer<CProperties>(new CProperties());
}

void CNullRenderDriver::fillMaterialFromProperties(RenderMaterial&, const CProperties*) {}

uint32_t CNullRenderDriver::getDriverKind() const {
    return DRIVER_KIND_NULL;
}

IShaderServices* CNullRenderDriver::getShaderServices() {
    return nullptr;
}

void CNullRenderDriver::clearDepthBuffer() {}

CRefPointer<CSoftwareImage> CNullRenderDriver::captureScreen() {
    return nullptr;
}

bool CNullRenderDriver::setClipPlane(uint32_t, const CClipPlane&, bool) {
    return false;
}

void CNullRenderDriver::enableClipPlane(uint32_t, bool) {}

void CNullRenderDriver::setScissorRect(const CPixelRect&) {}

void CNullRenderDriver::enableScissor(bool) {}

void CNullRenderDriver::setAmbientLight(const CColorf&) {}

const char* CNullRenderDriver::getAdapterDescription() const {
    return "Not available on this driver.";
}

void CNullRenderDriver::draw2DPrimitives(const void*, uint32_t, const void*, uint32_t, uint32_t,
                                         uint32_t, uint32_t) {}

int32_t CNullRenderDriver::chooseTextureFormat(int32_t colorFormat) const {
    if (getTextureOption(TEXTURE_NO_ALPHA_CHANNEL)) {
        if (colorFormat == COLOR_FORMAT_A1R5G5B5 || colorFormat == COLOR_FORMAT_A4R4G4B4)
            colorFormat = COLOR_FORMAT_R5G6B5;
        else if (colorFormat == COLOR_FORMAT_A8R8G8B8)
            colorFormat = COLOR_FORMAT_R8G8B8;
    }
    switch (colorFormat) {
    case COLOR_FORMAT_A1R5G5B5:
    case COLOR_FORMAT_A4R4G4B4:
    case COLOR_FORMAT_R5G6B5:
        return getTextureOption(TEXTURE_PREFER_32_BIT) ? COLOR_FORMAT_A8R8G8B8 : colorFormat;
    case COLOR_FORMAT_R8G8B8:
        return getTextureOption(TEXTURE_PREFER_16_BIT) ? COLOR_FORMAT_R5G6B5 : COLOR_FORMAT_R8G8B8;
    case COLOR_FORMAT_A8R8G8B8:
        // A4R4G4B4 keeps some alpha, which sprites need more than colour depth.
        return getTextureOption(TEXTURE_PREFER_16_BIT) ? COLOR_FORMAT_A4R4G4B4
                                                       : COLOR_FORMAT_A8R8G8B8;
    default:
        return COLOR_FORMAT_A8R8G8B8;
    }
}

void CNullRenderDriver::drawLine3D(const CVector3d&, const CVector3d&, CColor) {}

bool CNullRenderDriver::checkPrimitiveCount(uint32_t primitiveCount) const {
    const uint32_t maximum = getMaxPrimitiveCount();
    if (primitiveCount <= maximum)
        return true;
    char message[128];
    std::snprintf(message, sizeof(message),
                  "Could not draw triangles, too many primitives(%u), maxium is %u.",
                  primitiveCount, maximum);
    CLogger::instance()->logChars(message, CLogger::LevelError);
    return false;
}

int32_t CNullRenderDriver::createHighLevelMaterial(const char*, const char*, int32_t, const char*,
                                                   const char*, int32_t, IShaderCallback*, int32_t,
                                                   int32_t) {
    CLogger::instance()->logChars(
        "High level shader materials not available (yet) in this driver, sorry",
        CLogger::LevelInformation);
    return -1;
}

int32_t CNullRenderDriver::createHighLevelMaterialFromFiles(
    IInputFile* vertexFile, const char* vertexEntry, int32_t vertexTarget, IInputFile* pixelFile,
    const char* pixelEntry, int32_t pixelTarget, IShaderCallback* callback,
    int32_t baseMaterialType, int32_t userData) {
    const ProgramTexts texts(vertexFile, pixelFile);
    return createHighLevelMaterial(texts.vertexText, vertexEntry, vertexTarget, texts.pixelText,
                                   pixelEntry, pixelTarget, callback, baseMaterialType, userData);
}

int32_t CNullRenderDriver::createHighLevelMaterialFromPaths(
    const char16_t* vertexPath, const char* vertexEntry, int32_t vertexTarget,
    const char16_t* pixelPath, const char* pixelEntry, int32_t pixelTarget,
    IShaderCallback* callback, int32_t baseMaterialType, int32_t userData) {
    ProgramFiles files;
    if (!files.open(m_fileSystem.get(), vertexPath, pixelPath))
        return -1;
    return createHighLevelMaterialFromFiles(files.vertex.get(), vertexEntry, vertexTarget,
                                            files.pixel.get(), pixelEntry, pixelTarget, callback,
                                            baseMaterialType, userData);
}

int32_t CNullRenderDriver::createAsmMaterial(const char*, const char*, IShaderCallback*, int32_t,
                                             int32_t) {
    CLogger::instance()->logChars("Shader materials not implemented yet in this driver, sorry.",
                                  CLogger::LevelInformation);
    return -1;
}

int32_t CNullRenderDriver::createAsmMaterialFromPaths(const char16_t* vertexPath,
                                                      const char16_t* pixelPath,
                                                      IShaderCallback* callback,
                                                      int32_t baseMaterialType, int32_t userData) {
    ProgramFiles files;
    if (!files.open(m_fileSystem.get(), vertexPath, pixelPath))
        return -1;
    return createAsmMaterialFromFiles(files.vertex.get(), files.pixel.get(), callback,
                                      baseMaterialType, userData);
}

int32_t CNullRenderDriver::createAsmMaterialFromFiles(IInputFile* vertexFile, IInputFile* pixelFile,
                                                      IShaderCallback* callback,
                                                      int32_t baseMaterialType, int32_t userData) {
    const ProgramTexts texts(vertexFile, pixelFile);
    return createAsmMaterial(texts.vertexText, texts.pixelText, callback, baseMaterialType,
                             userData);
}

CRefPointer<IRenderDriver> createNullRenderDriver(const CreationParameters& parameters,
                                                  IVirtualFileSystem* fileSystem,
                                                  CRefPointer<CTimer> timer) {
    CRefPointer<IRenderDriver> driver(
        new CNullRenderDriver(parameters, fileSystem, std::move(timer)));
    for (uint32_t type = 0; type < MATERIAL_BUILT_IN_COUNT; ++type) {
        CRefPointer<IMaterialPass> pass(new IMaterialPass());
        driver->setMaterialPass(int32_t(type), pass.get(), nullptr);
    }
    return driver;
}
