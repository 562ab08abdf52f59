#include <gtest/gtest.h>

#include "engine/video/QuadBatcher.h"
#include "support/GoldenImage.h"
#include "video/opengl/GLDriverFixture.h"

// Reference scenes drawn by the OpenGL driver and compared with their golden pictures. Every
// driver draws these scenes the same way.
namespace {

using OpenGLDriverPictureTest = GLDriverTest;

constexpr uint32_t kWidth = 96;
constexpr uint32_t kHeight = 72;

// Eight by eight: a colour checker whose alpha falls from left to right.
uint32_t checkerTexel(int32_t x, int32_t y) {
    const uint32_t alpha = 255 - uint32_t(x) * 32;
    const uint32_t colour = ((x / 2 + y / 2) & 1) ? 0xFFC040u : 0x4060FFu;
    return alpha << 24 | colour;
}

CVector2d point(float x, float y) {
    return CVector2d(x, y);
}

void addQuad(CQuadBatcher& batch, const RenderMaterial& material, float left, float top,
             float right, float bottom, CColor color) {
    const CVector2d corners[4] = {point(left, top), point(right, top), point(right, bottom),
                                  point(left, bottom)};
    const CVector2d texCoords[4] = {point(0, 0), point(1, 0), point(1, 1), point(0, 1)};
    batch.addQuad(&material, corners, texCoords, 0, color);
}

TEST_F(OpenGLDriverPictureTest, FlatShapes) {
    open(glParameters(kWidth, kHeight));
    RenderMaterial flat = flatMaterial();
    driver->applyMaterial(flat);
    begin2D(CColor(0xFF102040));
    driver->drawRectGradient({4, 4, 44, 34}, CColor(0xFFFF0000), CColor(0xFF00FF00),
                             CColor(0xFF0000FF), CColor(0xFFFFFFFF), nullptr);
    const CPixelRect clip{50, 4, 70, 20};
    driver->drawRect(CColor(0xFFFF8000), {40, 0, 90, 30}, &clip);
    driver->drawRegularPolygon(CVector2d(70, 48), 16, CColor(0xFFFFFF00), 6);
    for (int i = 0; i < 5; ++i)
        driver->drawLine2D(CVector2d(4, 40 + 6 * float(i)), CVector2d(44, 68 - 6 * float(i)),
                           CColor(0xFF00FFFF));
    for (uint32_t x = 4; x < 92; x += 4)
        driver->plotPixel(x, 70, CColor(0xFFFFFFFF));
    CQuadBatcher& batch = *driver->getQuadBatcher();
    batch.begin();
    addQuad(batch, flat, 76, 4, 92, 20, CColor(0xFF80FF80));
    addQuad(batch, flat, 80, 8, 94, 28, CColor(0xFFFF80FF));
    batch.end();
    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "gl-flat-shapes"));
}

TEST_F(OpenGLDriverPictureTest, Images) {
    open(glParameters(kWidth, kHeight));
    begin2D(CColor(0xFF203020));
    CRefPointer<IDriverTexture> checker =
        driver->createTexture(makeImage(8, 8, checkerTexel).get());
    driver->drawImage(checker.get(), {2, 2});
    driver->drawImagePart(checker.get(), {12, 2}, {2, 2, 8, 8}, nullptr, CColor(0xFFFFFFFF), true);
    driver->drawImagePart(checker.get(), {22, 2}, {0, 0, 8, 8}, nullptr, CColor(0x80FF8080), false);
    const CColor corners[4] = {CColor(0xFFFFFFFF), CColor(0xFFFF0000), CColor(0x8000FF00),
                               CColor(0xFF0000FF)};
    driver->drawImageScaled(checker.get(), {2, 14, 34, 46}, {0, 0, 8, 8}, nullptr, corners, true);
    const CPixelRect clip{40, 14, 80, 30};
    driver->drawImageScaled(checker.get(), {36, 10, 92, 40}, {0, 0, 8, 8}, &clip, nullptr, false);
    CArray<CPixelRect> glyphs;
    glyphs.append({0, 0, 3, 8});
    glyphs.append({3, 0, 8, 4});
    CArray<int32_t> text;
    for (const int32_t index : {0, 1, 1, 0, 1})
        text.append(index);
    const CPixelRect runClip{40, 44, 58, 60};
    driver->drawImageRunClipped(checker.get(), {40, 48}, glyphs, text, &runClip, CColor(0xFFFFFFFF),
                                true);
    RenderMaterial sprite = flatMaterial(MATERIAL_TRANS_ALPHACH_VERTEXALPHA);
    sprite.layerCount = 1;
    sprite.layers[0].texture = imageTexture(makeImage(8, 8, checkerTexel));
    RenderMaterial additive = sprite;
    additive.type = MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD;
    CQuadBatcher& batch = *driver->getQuadBatcher();
    batch.begin();
    addQuad(batch, sprite, 2, 50, 34, 70, CColor(0xFFFFFFFF));
    addQuad(batch, sprite, 62, 44, 94, 70, CColor(0x80FFFFFF));
    addQuad(batch, additive, 70, 50, 90, 66, CColor(0xFF404040));
    batch.end();
    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "gl-images"));
}

// Looking along +z, objects from z 1 to 100.
CMatrix4 perspective() {
    CMatrix4 projection;
    const float nearZ = 1.0f;
    const float farZ = 100.0f;
    projection.set(0, 1.5f);
    projection.set(5, 2.0f);
    projection.set(10, farZ / (farZ - nearZ));
    projection.set(11, 1.0f);
    projection.set(14, -nearZ * farZ / (farZ - nearZ));
    projection.set(15, 0.0f);
    return projection;
}

TEST_F(OpenGLDriverPictureTest, FogAndLight) {
    open(glParameters(kWidth, kHeight));
    driver->setFogParameters(CColor(0xFF8090A0), true, 2.0f, 12.0f, 0.0f, false, false);
    driver->setMatrix(TRANSFORM_PROJECTION, perspective());
    CLight sun;
    sun.kind = LIGHT_DIRECTIONAL;
    sun.direction = CVector3d(0.6f, -0.3f, 1.0f);
    sun.diffuse = CColorf(1.0f, 0.9f, 0.7f, 1.0f);
    sun.constantAttenuation = 1.0f;
    driver->addLight(sun);
    driver->setAmbientLight(CColorf(0.2f, 0.2f, 0.3f, 1.0f));
    driver->startFrame(true, true, CColor(0xFF8090A0), nullptr, nullptr);
    driver->setRenderStates3D();
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    RenderMaterial fogged = flatMaterial();
    fogged.fog = true;
    fogged.backFaceCulling = false;
    const CColor colours[3] = {CColor(0xFFFF4040), CColor(0xFF40FF40), CColor(0xFF4040FF)};
    for (int i = 0; i < 3; ++i) {
        const float z = 3.0f + 4.0f * float(i);
        const float x = -2.2f + 1.6f * float(i) * z / 6.0f;
        CVertexNormal quad[4];
        const float xs[4] = {x, x + z * 0.3f, x + z * 0.3f, x};
        const float ys[4] = {z * 0.25f, z * 0.25f, -z * 0.25f, -z * 0.25f};
        for (int k = 0; k < 4; ++k) {
            quad[k].position = CVector3d(xs[k], ys[k], z);
            quad[k].normal = CVector3d(0, 0, -1);
            quad[k].color = colours[i];
        }
        driver->applyMaterial(fogged);
        driver->drawIndexedTriangles(quad, 4, indices, 2);
    }
    RenderMaterial lit = fogged;
    lit.fog = false;
    lit.lighting = true;
    CVertexNormal tile[4];
    const float xs[4] = {1.0f, 2.5f, 2.5f, 1.0f};
    const float ys[4] = {-0.5f, -0.5f, -2.0f, -2.0f};
    for (int k = 0; k < 4; ++k) {
        tile[k].position = CVector3d(xs[k], ys[k], 4.0f);
        tile[k].normal = CVector3d(0, 0, -1);
        tile[k].color = CColor(0xFFFFFFFF);
    }
    driver->applyMaterial(lit);
    driver->drawIndexedTriangles(tile, 4, indices, 2);
    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "gl-fog-and-light"));
}

} // namespace
