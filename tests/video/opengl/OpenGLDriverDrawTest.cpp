#include <gtest/gtest.h>

#include "engine/video/QuadBatcher.h"
#include "video/opengl/GLDriverFixture.h"

// What the driver draws, read back from Mesa's software renderer.
namespace {

using OpenGLDriverDrawTest = GLDriverTest;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlack = 0xFF000000;

uint32_t rgb(CColor color) {
    return color.value & 0xFFFFFF;
}

// A texel whose red grows with x and green with y, so a pixel tells which texel it shows.
uint32_t gradientTexel(int32_t x, int32_t y) {
    return 0xFF000000u | uint32_t(x * 16) << 16 | uint32_t(y * 16) << 8;
}

// The four vertices of an axis-aligned quad of one colour, for any vertex type.
template <typename Vertex>
void fillQuad(Vertex (&v)[4], float left, float top, float right, float bottom, CColor color) {
    const float xs[4] = {left, right, right, left};
    const float ys[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        v[i] = Vertex();
        v[i].position = CVector3d(xs[i], ys[i], 0);
        v[i].color = color;
    }
}

TEST_F(OpenGLDriverDrawTest, ClearColourReadsBack) {
    open();
    driver->startFrame(true, true, CColor(0xFF336699), nullptr, nullptr);
    EXPECT_EQ(rgb(pixel(0, 0)), 0x336699u);
    EXPECT_EQ(rgb(pixel(63, 47)), 0x336699u);
    EXPECT_TRUE(driver->presentFrame());
}

// Three pixels a row make rows of nine bytes, which GL would pad to twelve.
TEST_F(OpenGLDriverDrawTest, CaptureIsTopDownWithAndWithoutPackInvert) {
    for (const uint32_t size : {48u, 3u}) {
        for (const bool packInvert : {true, false}) {
            configureRecorder = [&](RecordingGL& gl) {
                if (!packInvert)
                    gl.hiddenExtensions = {"GL_MESA_pack_invert"};
            };
            open(glParameters(size, size), true);
            driver->applyMaterial(flatMaterial());
            begin2D();
            driver->drawRect(CColor(kRed), {0, 0, int32_t(size), 2}, nullptr);
            CRefPointer<CSoftwareImage> capture = driver->captureScreen();
            ASSERT_TRUE(capture);
            EXPECT_EQ(capture->getFormat(), COLOR_FORMAT_R8G8B8);
            EXPECT_EQ(capture->getWidth(), int32_t(size));
            EXPECT_EQ(rgb(capture->pixelAt(2, 0)), 0xFF0000u) << size << packInvert;
            EXPECT_EQ(rgb(capture->pixelAt(2, 1)), 0xFF0000u) << size << packInvert;
            EXPECT_EQ(rgb(capture->pixelAt(2, 2)), 0u) << size << packInvert;
            EXPECT_EQ(rgb(capture->pixelAt(2, int32_t(size) - 1)), 0u) << size << packInvert;
            EXPECT_EQ(recorder->count(glCall("PixelStorei", GL_PACK_INVERT_MESA, GL_TRUE)),
                      packInvert ? 1u : 0u);
        }
    }
}

TEST_F(OpenGLDriverDrawTest, VertexColoursOfEveryVertexTypeReachThePixels) {
    open();
    driver->applyMaterial(flatMaterial());
    begin2D();
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    CVertex standard[4];
    fillQuad(standard, 0, 0, 16, 16, CColor(0xFFFF0000));
    driver->drawPrimitives(standard, 4, indices, 2, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                           PRIMITIVE_TRIANGLES);
    CVertexNormal normal[4];
    fillQuad(normal, 16, 0, 32, 16, CColor(0x8000FF00));
    driver->drawIndexedTriangles(normal, 4, indices, 2);
    CVertexTwoCoords twoCoords[4];
    fillQuad(twoCoords, 32, 0, 48, 16, CColor(0xFF0000FF));
    driver->drawIndexedTrianglesTwoCoords(twoCoords, 4, indices, 2);
    CVertexTangents tangents[4];
    fillQuad(tangents, 48, 0, 64, 16, CColor(0xFFFFFF00));
    driver->drawIndexedTrianglesTangents(tangents, 4, indices, 2);
    EXPECT_EQ(rgb(pixel(8, 8)), 0xFF0000u);
    EXPECT_EQ(rgb(pixel(24, 8)), 0x00FF00u) << "alpha does not leak into the colour";
    EXPECT_EQ(rgb(pixel(40, 8)), 0x0000FFu);
    EXPECT_EQ(rgb(pixel(56, 8)), 0xFFFF00u);
    EXPECT_EQ(rgb(pixel(8, 20)), 0u);
    driver->presentFrame();
    EXPECT_EQ(driver->getPrimitiveCount(0), 8u);
}

TEST_F(OpenGLDriverDrawTest, ViewportClipsAndScalesTheTarget) {
    open();
    driver->applyMaterial(flatMaterial());
    begin2D();
    driver->setViewportRect({8, 8, 24, 24});
    driver->drawRect(CColor(kRed), {0, 0, 64, 48}, nullptr);
    EXPECT_EQ(rgb(pixel(8, 8)), 0xFF0000u);
    EXPECT_EQ(rgb(pixel(23, 23)), 0xFF0000u);
    EXPECT_EQ(rgb(pixel(7, 8)), 0u);
    EXPECT_EQ(rgb(pixel(24, 23)), 0u);
}

TEST_F(OpenGLDriverDrawTest, RectanglesAreCutToTheirClip) {
    open();
    driver->applyMaterial(flatMaterial());
    begin2D();
    const CPixelRect clip{20, 0, 30, 100};
    driver->drawRect(CColor(kRed), {10, 10, 40, 40}, &clip);
    const CPixelRect away{50, 0, 60, 5};
    driver->drawRect(CColor(0xFF00FF00), {10, 10, 40, 40}, &away);
    EXPECT_EQ(rgb(pixel(19, 20)), 0u);
    EXPECT_EQ(rgb(pixel(20, 20)), 0xFF0000u);
    EXPECT_EQ(rgb(pixel(29, 39)), 0xFF0000u);
    EXPECT_EQ(rgb(pixel(30, 20)), 0u);
    EXPECT_EQ(rgb(pixel(29, 40)), 0u);
    EXPECT_EQ(rgb(pixel(55, 2)), 0u) << "a clip that misses draws nothing";
}

TEST_F(OpenGLDriverDrawTest, DrawImagePartIsCutToTheClipAndTheTarget) {
    open();
    begin2D();
    CRefPointer<IDriverTexture> texture =
        driver->createTexture(makeTestImage(16, 16, gradientTexel).get());
    const CPixelRect clip{0, 0, 10, 48};
    driver->drawImagePart(texture.get(), {-4, 2}, {0, 0, 16, 16}, &clip, CColor(0xFFFFFFFF), false);
    driver->drawImagePart(texture.get(), {60, 40}, {0, 0, 16, 16}, nullptr, CColor(0xFFFFFFFF),
                          false);
    EXPECT_EQ(pixel(0, 2).value, gradientTexel(4, 0)) << "the source moves with the cut";
    EXPECT_EQ(pixel(9, 17).value, gradientTexel(13, 15));
    EXPECT_EQ(rgb(pixel(10, 2)), 0u);
    EXPECT_EQ(rgb(pixel(0, 1)), 0u);
    EXPECT_EQ(pixel(63, 47).value, gradientTexel(3, 7)) << "cut by the right and bottom edge";
}

TEST_F(OpenGLDriverDrawTest, PaddedTexturesShowTheirImageNotThePadding) {
    open();
    driver->setFeatureEnabled(FEATURE_NON_POWER_OF_TWO_TEXTURES, false);
    begin2D();
    CRefPointer<IDriverTexture> texture =
        driver->createTexture(makeTestImage(12, 10, gradientTexel).get());
    ASSERT_EQ(texture->getSize(), (CPixelSize{16, 16}));
    driver->drawImage(texture.get(), {0, 0});
    const CColor white[4] = {CColor(0xFFFFFFFF), CColor(0xFFFFFFFF), CColor(0xFFFFFFFF),
                             CColor(0xFFFFFFFF)};
    driver->drawImageScaled(texture.get(), {20, 0, 44, 20}, {0, 0, 12, 10}, nullptr, white, false);
    EXPECT_EQ(pixel(11, 9).value, gradientTexel(11, 9));
    EXPECT_EQ(rgb(pixel(12, 9)), 0u);
    EXPECT_TRUE(nearColor(pixel(37, 9), CColor(gradientTexel(8, 4)), 8))
        << "scaled, the image fills the destination; the padding stays outside";
}

TEST_F(OpenGLDriverDrawTest, PointsAndLinesLightThePixelsTheyName) {
    open();
    driver->applyMaterial(flatMaterial());
    begin2D();
    driver->plotPixel(5, 5, CColor(kRed));
    driver->drawLine2D(CVector2d(10, 5), CVector2d(10, 15), CColor(kRed));
    EXPECT_EQ(rgb(pixel(5, 5)), 0xFF0000u);
    EXPECT_EQ(rgb(pixel(5, 4)), 0u);
    EXPECT_EQ(rgb(pixel(10, 5)), 0xFF0000u);
    EXPECT_EQ(rgb(pixel(10, 14)), 0xFF0000u);
    EXPECT_EQ(rgb(pixel(9, 10)), 0u);
    EXPECT_EQ(rgb(pixel(11, 10)), 0u);
}

// Points are squares of the material's thickness; with indices, the indexed vertices.
TEST_F(OpenGLDriverDrawTest, PointsTakeTheThicknessAndTheirIndices) {
    open();
    RenderMaterial thick = flatMaterial();
    thick.thickness = 4;
    driver->applyMaterial(thick);
    begin2D();
    CVertex points[3] = {};
    const float xs[3] = {10, 20, 30};
    for (int i = 0; i < 3; ++i) {
        points[i].position = CVector3d(xs[i], 10, 0);
        points[i].color = CColor(kRed);
    }
    const uint16_t last[1] = {2};
    driver->drawPrimitives(points, 3, last, 1, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                           PRIMITIVE_POINTS);
    EXPECT_EQ(rgb(pixel(10, 10)), 0u) << "the first vertex is not indexed";
    for (const CPixelPoint lit : {CPixelPoint{28, 8}, CPixelPoint{31, 11}})
        EXPECT_EQ(rgb(pixel(lit.x, lit.y)), 0xFF0000u) << lit.x << "," << lit.y;
    EXPECT_EQ(rgb(pixel(32, 10)), 0u);
    EXPECT_EQ(rgb(pixel(27, 10)), 0u);
}

TEST_F(OpenGLDriverDrawTest, ImageDrawingLeavesNoBlendingBehindForTheBatch) {
    open();
    RenderMaterial solid = flatMaterial();
    CQuadBatcher& batch = *driver->getQuadBatcher();
    const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const CVector2d left[4] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}};
    const CVector2d right[4] = {{32, 0}, {48, 0}, {48, 16}, {32, 16}};
    begin2D();
    batch.addQuad(&solid, left, texCoords, 0, CColor(0x80FF0000));
    batch.flush();
    CRefPointer<IDriverTexture> texture = driver->createTexture(
        makeTestImage(4, 4, [](int32_t, int32_t) { return 0x80FFFFFFu; }).get());
    driver->drawImagePart(texture.get(), {20, 20}, {0, 0, 4, 4}, nullptr, CColor(0xFFFFFFFF), true);
    batch.addQuad(&solid, right, texCoords, 0, CColor(0x80FF0000));
    batch.flush();
    EXPECT_EQ(rgb(pixel(8, 8)), 0xFF0000u) << "solid draws opaque";
    EXPECT_TRUE(nearColor(pixel(21, 21), CColor(0xFF808080)));
    EXPECT_EQ(rgb(pixel(40, 8)), 0xFF0000u) << "still opaque after the blended image";
}

// The image's texture was the first layer of a two-layer batch material just before.
TEST_F(OpenGLDriverDrawTest, ImageDrawingSetsUpItsOwnStageAfterATwoLayerMaterial) {
    open();
    CImageTexture* halfAlpha =
        imageTexture(makeTestImage(4, 4, [](int32_t, int32_t) { return 0x80FFFFFFu; }));
    RenderMaterial twoLayers = flatMaterial(MATERIAL_SOLID_2LAYER);
    twoLayers.layerCount = 2;
    twoLayers.layers[0].texture = halfAlpha;
    twoLayers.layers[1].texture =
        imageTexture(makeTestImage(4, 4, [](int32_t, int32_t) { return 0xFF00FF00u; }));
    const CVector2d corners[4] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
    const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    begin2D();
    driver->getQuadBatcher()->addQuad(&twoLayers, corners, texCoords, 0, CColor(0xFFFFFFFF));
    driver->getQuadBatcher()->flush();
    driver->drawImagePart(halfAlpha->getTexture(), {20, 20}, {0, 0, 4, 4}, nullptr,
                          CColor(0xFFFFFFFF), true);
    EXPECT_TRUE(nearColor(pixel(21, 21), CColor(0xFF808080))) << "blended by the texture's alpha";
}

TEST_F(OpenGLDriverDrawTest, FogThickensWithDepth) {
    open();
    RenderMaterial fogged = flatMaterial();
    fogged.fog = true;
    fogged.backFaceCulling = false;
    driver->applyMaterial(fogged);
    driver->setFogParameters(CColor(0xFF000000), true, 0.0f, 1.0f, 0.0f, false, false);
    driver->startFrame(true, true, CColor(0xFF0000FF), nullptr, nullptr);
    driver->setRenderStates3D();
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    CVertexNormal nearQuad[4];
    fillQuad(nearQuad, -1.0f, 1.0f, 0.0f, -1.0f, CColor(0xFFFFFFFF));
    CVertexNormal farQuad[4];
    fillQuad(farQuad, 0.0f, 1.0f, 1.0f, -1.0f, CColor(0xFFFFFFFF));
    for (int i = 0; i < 4; ++i) {
        nearQuad[i].position.z = 0.25f;
        farQuad[i].position.z = 0.75f;
    }
    driver->drawIndexedTriangles(nearQuad, 4, indices, 2);
    driver->drawIndexedTriangles(farQuad, 4, indices, 2);
    EXPECT_TRUE(nearColor(pixel(16, 24), CColor(0xFFBFBFBF), 3)) << "three quarters of white";
    EXPECT_TRUE(nearColor(pixel(48, 24), CColor(0xFF404040), 3)) << "one quarter of white";
}

TEST_F(OpenGLDriverDrawTest, StencilShadowTintsWhereTheVolumeLies) {
    CreationParameters parameters = glParameters();
    parameters.stencilBuffer = true;
    open(parameters);
    ASSERT_TRUE(driver->hasFeature(FEATURE_STENCIL_BUFFER));
    driver->applyMaterial(flatMaterial());
    driver->startFrame(true, true, CColor(kBlack), nullptr, nullptr);
    driver->setRenderStates3D();
    const CColor none(0);
    driver->drawStencilShadow(true, none, none, none, none);
    const CVector3d volume[3] = {{-0.5f, -0.5f, 0.5f}, {0.0f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}};
    driver->drawStencilShadowVolume(volume, 3, false);
    const CColor shade(0x80FF0000);
    driver->drawStencilShadow(true, shade, shade, shade, shade);
    EXPECT_TRUE(nearColor(pixel(32, 28), CColor(0xFF800000), 2)) << "inside the volume";
    EXPECT_EQ(rgb(pixel(2, 2)), 0u) << "outside it";
    EXPECT_EQ(rgb(pixel(32, 4)), 0u);
}

} // namespace
