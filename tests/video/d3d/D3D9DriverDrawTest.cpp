#include <cstring>
#include <string>
#include <vector>

#include "engine/video/SoftwareImage.h"
#include "tests/video/d3d/D3DDriverFixture.h"

// The drawing operations, render-target switches and screen capture on the fake runtime, which
// keeps the vertices and indices of the last draw.
namespace {

class D3D9DriverDrawTest : public D3D9DriverTest {
protected:
    void SetUp() override {
        parameters.stencilBuffer = true;
        device();
        runtime.log.clear();
    }

    std::vector<std::string> draws() const {
        std::vector<std::string> lines;
        for (const std::string& line : runtime.log) {
            if (line.rfind("Draw", 0) == 0)
                lines.push_back(line);
        }
        return lines;
    }

    CRefPointer<IDriverTexture> texture(int32_t width, int32_t height) {
        CRefPointer<CSoftwareImage> image =
            CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, width, height);
        return driver->createTexture(image.get());
    }

    uint32_t state(uint32_t type) const { return runtime.device()->renderState(type); }
};

} // namespace

TEST_F(D3D9DriverDrawTest, EachPrimitiveTypeBecomesItsDeviceDraw) {
    const CVertex vertices[6] = {};
    const uint16_t indices[6] = {0, 1, 2, 3, 4, 5};
    struct Case {
        uint32_t type;
        bool indexed;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {PRIMITIVE_POINTS, false, {"DrawPrimitiveUP(1, 2, 24)"}},
        {PRIMITIVE_LINE_STRIP, true, {"DrawIndexedPrimitiveUP(3, 0, 6, 2, 101, 24)"}},
        {PRIMITIVE_LINES, false, {"DrawPrimitiveUP(2, 2, 24)"}},
        {PRIMITIVE_TRIANGLE_STRIP, true, {"DrawIndexedPrimitiveUP(5, 0, 6, 2, 101, 24)"}},
        {PRIMITIVE_TRIANGLE_FAN, false, {"DrawPrimitiveUP(6, 2, 24)"}},
        {PRIMITIVE_TRIANGLES, true, {"DrawIndexedPrimitiveUP(4, 0, 6, 2, 101, 24)"}},
        {PRIMITIVE_QUADS, true, {}},
        {PRIMITIVE_POLYGON, false, {}},
    };
    driver->setRenderStates2D();
    for (const Case& c : cases) {
        runtime.log.clear();
        driver->drawPrimitives(vertices, 6, c.indexed ? indices : nullptr, 2, VERTEX_TYPE_STANDARD,
                               INDEX_TYPE_16_BIT, c.type);
        EXPECT_EQ(draws(), c.expected) << c.type;
    }
    runtime.log.clear();
    driver->drawPrimitives(vertices, 6, indices, 0, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                           PRIMITIVE_TRIANGLES);
    EXPECT_TRUE(runtime.log.empty());
    driver->presentFrame();
    EXPECT_EQ(driver->getPrimitiveCount(0), 2u * 8);
}

TEST_F(D3D9DriverDrawTest, ALineLoopClosesFromItsLastVertexToItsFirst) {
    const CVertex vertices[4] = {};
    const uint32_t indices[4] = {3, 2, 1, 0};
    driver->setRenderStates2D();
    driver->drawPrimitives(vertices, 4, nullptr, 4, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                           PRIMITIVE_LINE_LOOP);
    EXPECT_EQ(draws(), (std::vector<std::string>{"DrawPrimitiveUP(3, 3, 24)",
                                                 "DrawIndexedPrimitiveUP(2, 0, 4, 1, 101, 24)"}));
    EXPECT_EQ(runtime.device()->lastIndices, (std::vector<uint32_t>{3, 0}));
    driver->drawPrimitives(vertices, 4, indices, 4, VERTEX_TYPE_STANDARD, INDEX_TYPE_32_BIT,
                           PRIMITIVE_LINE_LOOP);
    EXPECT_EQ(runtime.device()->lastIndices, (std::vector<uint32_t>{0, 3}));
}

TEST_F(D3D9DriverDrawTest, PointsScaleWithDistanceAtTheMaterialsThickness) {
    RenderMaterial material;
    material.thickness = 3.0f;
    driver->applyMaterial(material);
    driver->setRenderStates3D();
    const CVertexNormal points[2] = {};
    driver->drawPrimitives(points, 2, nullptr, 2, VERTEX_TYPE_NORMAL, INDEX_TYPE_16_BIT,
                           PRIMITIVE_POINT_SPRITES);
    const FakeDirect3DDevice9& d = *runtime.device();
    EXPECT_EQ(d.fvf, 0x152u);
    EXPECT_EQ(draws(), std::vector<std::string>{"DrawPrimitiveUP(1, 2, 36)"});
    EXPECT_TRUE(runtime.logged("SetRenderState(156, 1)"));
    EXPECT_EQ(d.floatRenderState(D3DRS_POINTSIZE), 3.0f);
    EXPECT_EQ(d.floatRenderState(D3DRS_POINTSCALE_C), 1.0f);
    EXPECT_EQ(state(D3DRS_POINTSCALEENABLE), 0u);
    EXPECT_EQ(state(D3DRS_POINTSPRITEENABLE), 0u);
}

TEST_F(D3D9DriverDrawTest, NothingIsDrawnInAStencilModeUntilADrawingModeReturns) {
    const CVector3d volume[3] = {};
    driver->drawStencilShadowVolume(volume, 3, true);
    runtime.log.clear();
    const CVertex vertices[3] = {};
    driver->drawPrimitives(vertices, 3, nullptr, 1, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                           PRIMITIVE_TRIANGLES);
    EXPECT_TRUE(draws().empty());
    driver->setRenderStates2D();
    driver->drawPrimitives(vertices, 3, nullptr, 1, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                           PRIMITIVE_TRIANGLES);
    EXPECT_EQ(draws().size(), 1u);
}

TEST_F(D3D9DriverDrawTest, ImagePartsAreClippedWithTheirSourceAndSampledAtTexelCentres) {
    CRefPointer<IDriverTexture> image = texture(32, 16);
    const CPixelRect clip{10, 0, 640, 480};
    driver->drawImagePart(image.get(), {6, 4}, {0, 0, 8, 8}, &clip, CColor(0xFFFFFFFF), false);
    const std::vector<CVertexNormal> quad = normalVertices();
    ASSERT_EQ(quad.size(), 4u);
    // Four pixels cut on the left: the source starts at texel 4.
    EXPECT_FLOAT_EQ(quad[0].texCoord.x, 4.5f / 32);
    EXPECT_FLOAT_EQ(quad[2].texCoord.x, 8.5f / 32);
    EXPECT_FLOAT_EQ(quad[2].texCoord.y, 8.5f / 16);
    EXPECT_FLOAT_EQ(quad[0].position.x, (10.0f - 320) / 320);
    EXPECT_FLOAT_EQ(quad[0].position.y, (240.0f - 4) / 240);
    EXPECT_EQ(runtime.device()->fvf, 0x152u);
    EXPECT_EQ(state(D3DRS_ALPHABLENDENABLE), 0u);

    runtime.log.clear();
    driver->drawImagePart(image.get(), {-20, 4}, {0, 0, 8, 8}, nullptr, CColor(0xFFFFFFFF), true);
    driver->drawImagePart(image.get(), {4, 4}, {8, 0, 4, 8}, nullptr, CColor(0xFFFFFFFF), true);
    EXPECT_TRUE(draws().empty());
}

TEST_F(D3D9DriverDrawTest, ScaledImagesTakeCornerColoursAndAClipForOneDraw) {
    CRefPointer<IDriverTexture> image = texture(16, 16);
    const CColor corners[4] = {CColor(0xFF000001), CColor(0xFF000002), CColor(0x80000003),
                               CColor(0xFF000004)};
    const CPixelRect clip{1, 2, 3, 4};
    driver->drawImageScaled(image.get(), {0, 0, 320, 240}, {0, 0, 8, 16}, &clip, corners, true);
    const std::vector<CVertexNormal> quad = normalVertices();
    ASSERT_EQ(quad.size(), 4u);
    // Upper left, upper right, lower right, lower left.
    EXPECT_EQ(quad[0].color.value, 0xFF000001u);
    EXPECT_EQ(quad[1].color.value, 0xFF000004u);
    EXPECT_EQ(quad[2].color.value, 0x80000003u);
    EXPECT_EQ(quad[3].color.value, 0xFF000002u);
    // Edges on the pixels' corners, half a pixel up and left of their coordinates.
    EXPECT_NEAR(quad[2].position.x, -0.5f / 320, 1e-6);
    EXPECT_NEAR(quad[2].position.y, 0.5f / 240, 1e-6);
    EXPECT_FLOAT_EQ(quad[1].texCoord.x, 0.5f);
    EXPECT_TRUE(runtime.logged("SetScissorRect(1, 2, 3, 4)"));
    EXPECT_EQ(state(D3DRS_SCISSORTESTENABLE), 0u);
    // A translucent corner blends by the texture's alpha times the vertices'.
    EXPECT_EQ(state(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(runtime.device()->stageState(0, D3DTSS_ALPHAOP), uint32_t(D3DTOP_MODULATE));
}

TEST_F(D3D9DriverDrawTest, RectanglesLinesAndPixelsDrawInPixelsWithTheMaterial) {
    driver->drawRectGradient({10, 20, 30, 40}, CColor(1), CColor(2), CColor(3), CColor(4), nullptr);
    const std::vector<uint8_t>& bytes = runtime.device()->lastVertices;
    ASSERT_EQ(bytes.size(), 4 * sizeof(CVertex));
    CVertex quad[4];
    std::memcpy(quad, bytes.data(), sizeof(quad));
    EXPECT_EQ(quad[1].position.x, 30.0f);
    EXPECT_EQ(quad[1].color.value, 2u);
    EXPECT_EQ(quad[2].color.value, 4u);
    EXPECT_EQ(quad[3].color.value, 3u);
    EXPECT_EQ(runtime.device()->fvf, 0x142u);
    EXPECT_EQ(runtime.device()->textures[0], nullptr);

    runtime.log.clear();
    driver->drawRectGradient({30, 20, 10, 40}, CColor(1), CColor(2), CColor(3), CColor(4), nullptr);
    EXPECT_TRUE(draws().empty());
    const CPixelRect clip{0, 0, 5, 5};
    driver->drawRectGradient({10, 20, 30, 40}, CColor(1), CColor(2), CColor(3), CColor(4), &clip);
    std::memcpy(quad, runtime.device()->lastVertices.data(), sizeof(quad));
    EXPECT_EQ(quad[0].position.x, quad[1].position.x) << "cut to nothing";

    runtime.log.clear();
    driver->drawLine2D(CVector2d(1, 2), CVector2d(3, 4), CColor(5));
    driver->plotPixel(640, 480, CColor(6));
    driver->plotPixel(641, 0, CColor(6));
    EXPECT_EQ(draws(),
              (std::vector<std::string>{"DrawPrimitiveUP(2, 1, 24)", "DrawPrimitiveUP(1, 1, 24)"}));
}

TEST_F(D3D9DriverDrawTest, MaterialDrawingAfterAnImageGetsItsPixelProjectionBack) {
    CRefPointer<IDriverTexture> image = texture(4, 4);
    driver->setRenderStates2D();
    driver->drawImagePart(image.get(), {0, 0}, {0, 0, 4, 4}, nullptr, CColor(0xFFFFFFFF), false);
    EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_PROJECTION].m[0], 1.0f);
    driver->drawRect(CColor(0xFFFFFFFF), {0, 0, 4, 4}, nullptr);
    EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_PROJECTION].m[0], 2.0f / 640);
    driver->drawImagePart(image.get(), {0, 0}, {0, 0, 4, 4}, nullptr, CColor(0xFFFFFFFF), false);
    EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_PROJECTION].m[0], 1.0f);
}

TEST_F(D3D9DriverDrawTest, AThreeDLineDrawsWithTheThreeDStates) {
    driver->setRenderStates2D();
    driver->drawLine3D(CVector3d(1, 2, 3), CVector3d(4, 5, 6), CColor(0xFF00FF00));
    const std::vector<CVertexNormal> line = normalVertices();
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[1].position.z, 6.0f);
    EXPECT_EQ(line[0].color.value, 0xFF00FF00u);
    EXPECT_EQ(runtime.device()->fvf, 0x152u);
    EXPECT_EQ(state(D3DRS_STENCILENABLE), 0u);
}

TEST_F(D3D9DriverDrawTest, ShadowVolumesCountBothFacesThenTheFillCoversTheMarkedPixels) {
    const CVector3d volume[6] = {};
    driver->drawStencilShadowVolume(volume, 6, true);
    std::vector<std::string> sequence;
    for (const std::string& line : runtime.log) {
        if (line.rfind("SetRenderState(22,", 0) == 0 || line.rfind("SetRenderState(54,", 0) == 0 ||
            line.rfind("Draw", 0) == 0)
            sequence.push_back(line);
    }
    EXPECT_EQ(sequence,
              (std::vector<std::string>{"SetRenderState(54, 1)", "SetRenderState(22, 2)",
                                        "SetRenderState(54, 4)", "DrawPrimitiveUP(4, 2, 12)",
                                        "SetRenderState(22, 3)", "SetRenderState(54, 5)",
                                        "DrawPrimitiveUP(4, 2, 12)"}));
    EXPECT_EQ(runtime.device()->fvf, uint32_t(D3DFVF_XYZ));
    EXPECT_EQ(state(D3DRS_STENCILREF), 0u);

    runtime.log.clear();
    driver->drawStencilShadow(true, CColor(0x80000000), CColor(0x80000000), CColor(0x80000000),
                              CColor(0x80000000));
    EXPECT_EQ(state(D3DRS_STENCILFUNC), uint32_t(D3DCMP_LESSEQUAL));
    EXPECT_EQ(state(D3DRS_STENCILENABLE), 1u);
    EXPECT_EQ(state(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(runtime.log.back(), "Clear(4, 0, 1065353216, 0)");
    EXPECT_EQ(normalVertices()[0].position.x, -1.0f);
}

TEST_F(D3D9DriverDrawTest, WithoutAStencilBufferShadowsDrawNothing) {
    parameters.stencilBuffer = false;
    ASSERT_TRUE(start());
    runtime.log.clear();
    const CVector3d volume[3] = {};
    driver->drawStencilShadowVolume(volume, 3, false);
    driver->drawStencilShadow(false, CColor(0), CColor(0), CColor(0), CColor(0));
    EXPECT_TRUE(runtime.log.empty());
}

TEST_F(D3D9DriverDrawTest, TheViewportIsClippedToTheScreenAndEmptyOnesWarn) {
    driver->setViewportRect({-10, 20, 100, 900});
    EXPECT_TRUE(runtime.logged("SetViewport(0, 20, 100, 460)"));
    const std::string log = captureLog([&] { driver->setViewportRect({700, 10, 800, 20}); });
    EXPECT_TRUE(contains(log, "Failed setting the viewport."));
    const CPixelRect stored = driver->getViewportRect();
    EXPECT_EQ(stored.left, 640);
    EXPECT_EQ(stored.right, 640);
}

TEST_F(D3D9DriverDrawTest, RenderTargetsSwitchAndComeBack) {
    CRefPointer<IDriverTexture> target =
        driver->createRenderTargetTexture({640, 480}, COLOR_FORMAT_A8R8G8B8);
    CRefPointer<IDriverTexture> wider =
        driver->createRenderTargetTexture({641, 480}, COLOR_FORMAT_A8R8G8B8);
    CRefPointer<IDriverTexture> plain = texture(4, 4);
    struct Refusal {
        IDriverTexture* texture;
        const char* message;
    };
    const Refusal refusals[] = {
        {wider.get(),
         "Error: Tried to set a render target texture which is bigger than the screen."},
        {plain.get(), "Fatal Error: Tried to set a non render target texture as render target."},
    };
    for (const Refusal& r : refusals) {
        bool used = true;
        const std::string log = captureLog(
            [&] { used = driver->useRenderTargetTexture(r.texture, false, false, CColor()); });
        EXPECT_FALSE(used);
        EXPECT_TRUE(contains(log, r.message)) << log;
    }
    runtime.log.clear();
    EXPECT_TRUE(driver->useRenderTargetTexture(target.get(), true, false, CColor(0xFF112233)));
    EXPECT_EQ(driver->getRenderTargetSize(), (CPixelSize{640, 480}));
    EXPECT_TRUE(driver->useRenderTargetTexture(target.get(), false, false, CColor()));
    EXPECT_TRUE(driver->useRenderTargetTexture(nullptr, false, true, CColor()));
    EXPECT_EQ(runtime.log,
              (std::vector<std::string>{
                  "GetRenderTarget(0)", "SetRenderTarget(0, texture1.0)",
                  "Clear(1, 4279312947, 1065353216, 0)", "SetRenderTarget(0, texture1.0)",
                  "SetRenderTarget(0, backbuffer)", "Clear(2, 0, 1065353216, 0)"}));
    runtime.log.clear();
    EXPECT_TRUE(driver->useRenderTargetTexture(nullptr, false, false, CColor()));
    EXPECT_TRUE(runtime.log.empty());

    runtime.script.setRenderTargetResult = D3DERR_INVALIDCALL;
    const std::string log = captureLog([&] {
        EXPECT_FALSE(driver->useRenderTargetTexture(target.get(), false, false, CColor()));
    });
    EXPECT_TRUE(contains(log, "Error: Could not set render target."));
}

TEST_F(D3D9DriverDrawTest, TheCaptureIsTheScreenUnderTheWindowMadeOpaque) {
    HostWindowDesc desc;
    desc.x = 30;
    desc.y = 20;
    desc.width = 640;
    desc.height = 480;
    parameters.windowHandle = host.createWindow(desc);
    ASSERT_TRUE(start());
    HostPoint origin{0, 0};
    host.clientToScreen(HostWindow(parameters.windowHandle), origin);
    CRefPointer<CSoftwareImage> capture = driver->captureScreen();
    ASSERT_TRUE(capture);
    EXPECT_EQ(capture->getWidth(), 640);
    EXPECT_EQ(capture->getHeight(), 480);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{639, 479}, std::pair{17, 5}})
        EXPECT_EQ(capture->pixelAt(x, y).value,
                  0xFF000000u | FakeDirect3DDevice9::frontBufferPixel(uint32_t(origin.x + x),
                                                                      uint32_t(origin.y + y)));
    EXPECT_TRUE(runtime.logged("CreateOffscreenPlainSurface(1024, 768, 21, 3)"));
    runtime.script.frontBufferFails = true;
    EXPECT_FALSE(driver->captureScreen());
}

TEST_F(D3D9DriverDrawTest, TheDepthClearWarnsWhenTheDeviceRefuses) {
    driver->clearDepthBuffer();
    EXPECT_TRUE(runtime.logged("Clear(2, 0, 1065353216, 0)"));
    runtime.script.clearResult = D3DERR_INVALIDCALL;
    const std::string log = captureLog([&] { driver->clearDepthBuffer(); });
    EXPECT_TRUE(contains(log, "CD3D9Driver clearZBuffer() failed."));
}

// An image in a larger power-of-two storage sits in its top-left corner: texture coordinates
// count in the storage, or the padding would be stretched over the image.
TEST_F(D3D9DriverTest, ImageCoordinatesCountInTheTexturesStorage) {
    runtime.script.caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
    device();
    CRefPointer<IDriverTexture> image = driver->createTexture(
        makeTestImage(100, 30, [](int32_t, int32_t) { return 0xFFFFFFFFu; }).get());
    ASSERT_EQ(image->getSize(), (CPixelSize{128, 32}));
    driver->drawImageScaled(image.get(), {0, 0, 100, 30}, {0, 0, 100, 30}, nullptr, nullptr, true);
    std::vector<CVertexNormal> quad = normalVertices();
    EXPECT_FLOAT_EQ(quad[2].texCoord.x, 100.0f / 128.0f);
    EXPECT_FLOAT_EQ(quad[2].texCoord.y, 30.0f / 32.0f);
    driver->drawImagePart(image.get(), {0, 0}, {10, 0, 20, 30}, nullptr, CColor(0xFFFFFFFF), true);
    quad = normalVertices();
    EXPECT_FLOAT_EQ(quad[0].texCoord.x, 10.5f / 128.0f);
    EXPECT_FLOAT_EQ(quad[2].texCoord.x, 20.5f / 128.0f);
}
