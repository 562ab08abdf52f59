#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/video/AtlasTexture.h"
#include "engine/video/ImageTexture.h"
#include "tests/video/ImageFixtures.h"
#include "tests/video/RecordingRenderDriver.h"

// An atlas texture over part of a page: the page image is width x height pixels of pixel(x, y)
// (ARGB), its texture is storageWidth x storageHeight and keeps the image when asked; the
// rectangle is in pixels of the page.
template <typename Pixel>
CRefPointer<CAtlasTexture> makeAtlasTexture(const char16_t* name, int32_t width, int32_t height,
                                            uint32_t storageWidth, uint32_t storageHeight,
                                            CRect pixels, Pixel pixel, bool keepImage = true,
                                            CVector2d before = {}, CVector2d after = {}) {
    const CRefPointer<CSoftwareImage> image =
        fixtures::drawnImage(COLOR_FORMAT_A8R8G8B8, width, height, pixel);
    const CRefPointer<IDriverTexture> texture(
        new FakeDriverTexture(COLOR_FORMAT_A8R8G8B8, uint32_t(width), uint32_t(height),
                              storageWidth, storageHeight, keepImage ? image : nullptr));
    const CRefPointer<CImageTexture> page(
        new CImageTexture(CContentKey(), u"page.png", texture.get()));
    const float w = float(storageWidth);
    const float h = float(storageHeight);
    const CRect rect(pixels.left / w, pixels.top / h, pixels.right / w, pixels.bottom / h);
    return CRefPointer<CAtlasTexture>(
        new CAtlasTexture(CContentKey(nullptr, name), page, rect, before, after));
}

// A whole opaque image on a texture of its own size.
inline CRefPointer<CAtlasTexture> makeWholeImage(int32_t width, int32_t height) {
    return makeAtlasTexture(u"image.png", width, height, uint32_t(width), uint32_t(height),
                            CRect(0, 0, float(width), float(height)),
                            [](int32_t, int32_t) { return 0xFFFFFFFFu; });
}

// Records, besides draws and materials, the world matrices and clip planes set, in order.
class ClipRecordingDriver : public RecordingRenderDriver {
public:
    void setMatrix(uint32_t slot, const CMatrix4& matrix) override {
        RecordingRenderDriver::setMatrix(slot, matrix);
        if (slot == TRANSFORM_WORLD)
            log.push_back("world " + number(matrix[12]) + "," + number(matrix[13]));
    }
    bool setClipPlane(uint32_t index, const CClipPlane& plane, bool enable) override {
        log.push_back("plane " + std::to_string(index) + (enable ? " on " : " off ") +
                      number(plane.a) + "," + number(plane.b) + "," + number(plane.c) + "," +
                      number(plane.d));
        return true;
    }
    void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override {
        RecordingRenderDriver::drawPrimitives(vertices, vertexCount, indices, primitiveCount,
                                              vertexType, indexType, primitiveType);
        log.push_back("draw " + std::to_string(primitiveCount));
    }

    std::vector<std::string> log;

private:
    static std::string number(float value) {
        std::string text = std::to_string(value);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
        return text;
    }
};
