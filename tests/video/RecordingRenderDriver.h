#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/core/MonotonicClock.h"
#include "engine/core/Timer.h"
#include "engine/video/IMeshBuffer.h"
#include "engine/video/NullRenderDriver.h"
#include "engine/video/SoftwareImage.h"

// A clock the tests set by hand, in milliseconds.
class RenderTestClock : public IClockSource {
public:
    bool queryFrequency(uint64_t&) override { return false; }
    bool queryCounter(uint64_t&) override { return false; }
    uint32_t getTickCount() override { return nowMs; }

    uint32_t nowMs = 0;
};

// A texture over a byte buffer of its own; counts its mappings. Its storage may be larger
// than its image, and it may keep the image it was made from.
class FakeDriverTexture : public IDriverTexture {
public:
    FakeDriverTexture(int32_t format, uint32_t width, uint32_t height)
        : FakeDriverTexture(format, width, height, width, height, nullptr) {}
    FakeDriverTexture(int32_t format, uint32_t width, uint32_t height, uint32_t storageWidth,
                      uint32_t storageHeight, CRefPointer<CSoftwareImage> image)
        : format(format), width(width), height(height), storageWidth(storageWidth),
          storageHeight(storageHeight), sourceImage(std::move(image)),
          pixels(size_t(width) * height * uint32_t(bytesPerPixelOf(format))) {}

    void* mapPixels(bool) override {
        ++maps;
        return mapFails ? nullptr : pixels.data();
    }
    void unmapPixels() override { ++unmaps; }
    CPixelSize getSourceSize() const override { return {width, height}; }
    CPixelSize getSize() const override { return {storageWidth, storageHeight}; }
    uint32_t getDriverKind() const override { return DRIVER_KIND_NULL; }
    int32_t getColorFormat() const override { return format; }
    uint32_t getPitch() const override { return width * uint32_t(bytesPerPixelOf(format)); }
    bool hasMipLevels() const override { return false; }
    void regenerateMipLevels() override {}
    bool isRenderTarget() const override { return false; }
    CSoftwareImage* getSourceImage() const override { return sourceImage.get(); }
    void dropSourceImage() override { sourceImage.reset(); }

    int32_t format;
    uint32_t width;
    uint32_t height;
    uint32_t storageWidth;
    uint32_t storageHeight;
    CRefPointer<CSoftwareImage> sourceImage;
    std::vector<uint8_t> pixels;
    bool mapFails = false;
    int maps = 0;
    int unmaps = 0;
};

// Vertices of type 0 and indices in standard containers.
class FakeMeshBuffer : public IMeshBuffer {
public:
    const void* getVertices() const override { return vertices.data(); }
    void* getVertices() override { return vertices.data(); }
    uint32_t getVertexCount() const override { return uint32_t(vertices.size()); }
    const uint16_t* getIndices() const override { return indices.data(); }
    uint16_t* getIndices() override { return indices.data(); }
    uint32_t getIndexCount() const override { return uint32_t(indices.size()); }
    const CMeshBounds& getBoundingBox() const override { return bounds; }
    void setBoundingBox(const CMeshBounds& box) override { bounds = box; }
    void recomputeBoundingBox() override {}
    uint32_t getVertexType() const override { return VERTEX_TYPE_STANDARD; }
    void append(const void*, uint32_t, const uint16_t*, uint32_t) override {}

    std::vector<CVertex> vertices;
    std::vector<uint16_t> indices;
    CMeshBounds bounds;
};

// A null driver that records what reaches it: draws with copies of their type-0 vertices and
// 16-bit indices, applied materials, image parts, lines and the images textures are made from.
// Its textures keep their images unless the driver's option says otherwise; with padding their
// storage is the next power of two, as on a driver without non-power-of-two textures.
class RecordingRenderDriver : public CNullRenderDriver {
public:
    struct Draw {
        std::vector<CVertex> vertices;
        std::vector<uint16_t> indices;
        uint32_t primitiveCount;
        uint32_t vertexType;
        uint32_t primitiveType;
        // The texture of layer 0 of the material applied last before the draw.
        CImageTexture* texture;
    };
    struct ImagePart {
        CPixelPoint position;
        CPixelRect source;
    };
    struct Line {
        CVector2d start;
        CVector2d end;
    };

    explicit RecordingRenderDriver(CRefPointer<CTimer> timer = nullptr)
        : CNullRenderDriver(CreationParameters(), nullptr, std::move(timer)) {}

    void applyMaterial(const RenderMaterial& material) override {
        applied.assign(material);
        ++applyCount;
    }

    // As a drawing driver does.
    void setViewportRect(const CPixelRect& rect) override { m_viewport = rect; }

    void drawPrimitives(const void* vertexData, uint32_t vertexCount, const void* indexData,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override {
        CNullRenderDriver::drawPrimitives(vertexData, vertexCount, indexData, primitiveCount,
                                          vertexType, indexType, primitiveType);
        Draw draw{{}, {}, primitiveCount, vertexType, primitiveType, applied.layers[0].texture};
        if (vertexType == VERTEX_TYPE_STANDARD) {
            const auto* vertices = static_cast<const CVertex*>(vertexData);
            draw.vertices.assign(vertices, vertices + vertexCount);
        }
        if (indexData && primitiveType == PRIMITIVE_TRIANGLES) {
            const auto* indices = static_cast<const uint16_t*>(indexData);
            draw.indices.assign(indices, indices + primitiveCount * 3);
        }
        draws.push_back(draw);
    }

    uint32_t getMaxPrimitiveCount() const override { return maxPrimitives; }

    void drawImagePart(IDriverTexture*, CPixelPoint position, const CPixelRect& source,
                       const CPixelRect*, CColor, bool) override {
        imageParts.push_back({position, source});
    }

    void drawLine2D(CVector2d start, CVector2d end, CColor) override {
        lines.push_back({start, end});
    }

    CRefPointer<IDriverTexture> createDeviceTexture(CSoftwareImage* image) override {
        textureImages.push_back(CRefPointer<CSoftwareImage>::share(image));
        const uint32_t width = uint32_t(image->getWidth());
        const uint32_t height = uint32_t(image->getHeight());
        const bool keep = !getTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE);
        return CRefPointer<IDriverTexture>(
            new FakeDriverTexture(image->getFormat(), width, height, padded(width), padded(height),
                                  keep ? CRefPointer<CSoftwareImage>::share(image) : nullptr));
    }

    uint32_t getDriverKind() const override { return kind; }

    using CNullRenderDriver::checkPrimitiveCount;

    RenderMaterial applied;
    int applyCount = 0;
    std::vector<Draw> draws;
    std::vector<ImagePart> imageParts;
    std::vector<Line> lines;
    std::vector<CRefPointer<CSoftwareImage>> textureImages;
    uint32_t maxPrimitives = 0xFFFFFFFFu;
    bool padTextures = false;
    uint32_t kind = DRIVER_KIND_NULL;

private:
    uint32_t padded(uint32_t size) const {
        uint32_t storage = 1;
        while (padTextures && storage < size)
            storage *= 2;
        return padTextures ? storage : size;
    }
};

// Textures are only compared by address in these tests, so any distinct address will do.
inline CImageTexture* fakeImageTexture(int which) {
    static char slots[4];
    return reinterpret_cast<CImageTexture*>(&slots[which]);
}
