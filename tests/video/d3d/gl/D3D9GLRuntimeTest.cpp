#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/platform/host/GLFunctions.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"
#include "tests/video/d3d/gl/D3D9GLFixture.h"

// The Direct3D 9 driver on the GL runtime, drawing into an offscreen SDL window on Mesa, beside
// the OpenGL driver drawing the same.
namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;

using Picture = std::vector<Rgb>;
// Draws the vertices as a fan of two triangles with the driver's current states.
using DrawFan = std::function<void(const CVertex (&quad)[4])>;

// A left-handed perspective, 90 degrees wide, depth 1 to 100 onto 0 to 1.
CMatrix4 perspective() {
    CMatrix4 projection;
    for (int i = 0; i < 16; ++i)
        projection.set(i, 0.0f);
    const float nearPlane = 1.0f;
    const float farPlane = 100.0f;
    projection.set(0, 0, 1.0f);
    projection.set(1, 1, float(kWidth) / float(kHeight));
    projection.set(2, 2, farPlane / (farPlane - nearPlane));
    projection.set(2, 3, 1.0f);
    projection.set(3, 2, -nearPlane * farPlane / (farPlane - nearPlane));
    return projection;
}

void fillQuad(CVertex (&quad)[4], float left, float top, float right, float bottom, float z,
              const uint32_t (&colors)[4]) {
    const float xs[4] = {left, right, right, left};
    const float ys[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i)
        quad[i] = {CVector3d(xs[i], ys[i], z), CColor(colors[i]), CVector2d(0, 0)};
}

// A quad in linear fog half way between its start and end, then a 2D quad of four colours over
// it.
void drawScene(IRenderDriver& driver, const DrawFan& fan) {
    ASSERT_TRUE(driver.startFrame(true, true, CColor(0xFF202020), nullptr, nullptr));
    driver.setMatrix(TRANSFORM_PROJECTION, perspective());
    driver.setFogParameters(CColor(0xFF0000FF), true, 0.0f, 10.0f, 0.0f, false, false);
    RenderMaterial fogged = flatMaterial();
    fogged.fog = true;
    driver.applyMaterial(fogged);
    ASSERT_TRUE(driver.setRenderStates3D());
    CVertex quad[4];
    const uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    // Edges three quarters into pixels 16 to 47 and rows 8 to 39: Direct3D samples pixels at
    // their whole coordinates and GL at their centres, and this is where both cover the same.
    fillQuad(quad, -2.3828125f, 2.3828125f, 2.4609375f, -2.4609375f, 5.0f, white);
    fan(quad);
    RenderMaterial flat = flatMaterial();
    flat.depthTest = 0;
    driver.applyMaterial(flat);
    ASSERT_TRUE(driver.setRenderStates2D());
    const uint32_t corners[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    fillQuad(quad, 4, 6, 28, 22, 0, corners);
    fan(quad);
}

class D3D9GLRuntimeTest : public D3D9GLTest {
protected:
    void openD3D() { D3D9GLTest::openD3D(kWidth, kHeight); }

    void drawFan(const CVertex (&quad)[4]) {
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(CVertex)), D3D_OK);
    }

    Picture picture() {
        Picture result;
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x)
                result.push_back(pixel(x, y));
        }
        return result;
    }

    // The scene as the OpenGL driver draws it, in a window of its own.
    Picture drawnByOpenGL() {
        CRefPointer<COpenGLRenderDriver> gl = COpenGLRenderDriver::create(
            parametersFor(3, openWindow(kWidth, kHeight), kWidth, kHeight), nullptr, nullptr,
            *host.getGL());
        EXPECT_TRUE(gl);
        Picture result;
        if (!gl)
            return result;
        drawScene(*gl, [&gl](const CVertex(&quad)[4]) {
            gl->drawPrimitives(quad, 4, nullptr, 2, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                               PRIMITIVE_TRIANGLE_FAN);
        });
        const CRefPointer<CSoftwareImage> capture = gl->captureScreen();
        EXPECT_TRUE(capture);
        for (int32_t y = 0; capture && y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                const CColor color = capture->pixelAt(x, y);
                result.push_back(
                    {int(color.getRed()), int(color.getGreen()), int(color.getBlue())});
            }
        }
        return result;
    }
};

} // namespace

TEST_F(D3D9GLRuntimeTest, ClearFillsTheBackBuffer) {
    openD3D();
    ASSERT_TRUE(d3d->startFrame(true, true, CColor(0xFF3366CC), nullptr, nullptr));
    expectNear(pixel(0, 0), {0x33, 0x66, 0xCC}, 0, "top left");
    expectNear(pixel(kWidth - 1, kHeight - 1), {0x33, 0x66, 0xCC}, 0, "bottom right");
    EXPECT_TRUE(d3d->presentFrame());
}

TEST_F(D3D9GLRuntimeTest, ATwoDQuadCoversExactlyItsPixels) {
    openD3D();
    ASSERT_TRUE(d3d->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr));
    RenderMaterial material = flatMaterial();
    material.depthTest = 0;
    d3d->applyMaterial(material);
    ASSERT_TRUE(d3d->setRenderStates2D());
    CVertex quad[4];
    const uint32_t red[4] = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000};
    fillQuad(quad, 10, 10, 30, 20, 0, red);
    drawFan(quad);
    struct Case {
        int32_t x;
        int32_t y;
        bool inside;
    };
    const Case cases[] = {{10, 10, true},  {29, 19, true}, {20, 15, true}, {9, 10, false},
                          {30, 10, false}, {10, 9, false}, {10, 20, false}};
    for (const Case& c : cases) {
        const Rgb expected = c.inside ? Rgb{255, 0, 0} : Rgb{0, 0, 0};
        expectNear(pixel(c.x, c.y), expected, 0, std::to_string(c.x) + "," + std::to_string(c.y));
    }
}

// Texel centres on pixel centres, also where half the target's size is no whole number.
TEST_F(D3D9GLRuntimeTest, ImagesLandOnTheirPixelsOnTargetsOfOddSize) {
    const uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFC08040};
    for (const uint32_t driverType : {2u, 1u}) {
        d3d.reset();
        D3D9GLTest::openD3D(9, 7, driverType);
        ASSERT_TRUE(d3d->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr));
        CRefPointer<IDriverTexture> texture = d3d->createTexture(
            makeTestImage(2, 2, [&](int32_t x, int32_t y) { return colours[y * 2 + x]; }).get());
        d3d->drawImage(texture.get(), {3, 2});
        for (int32_t y = 1; y < 5; ++y) {
            for (int32_t x = 2; x < 6; ++x) {
                const bool inside = x >= 3 && x < 5 && y >= 2 && y < 4;
                const uint32_t colour = inside ? colours[(y - 2) * 2 + x - 3] : 0xFF000000;
                expectNear(pixel(x, y),
                           {int(colour >> 16 & 0xFF), int(colour >> 8 & 0xFF), int(colour & 0xFF)},
                           1,
                           "driver " + std::to_string(driverType) + " at " + std::to_string(x) +
                               "," + std::to_string(y));
            }
        }
    }
}

TEST_F(D3D9GLRuntimeTest, LinearFogBlendsByDistanceFromTheEye) {
    openD3D();
    drawScene(*d3d, [this](const CVertex(&quad)[4]) { drawFan(quad); });
    // Half way from the fog's start to its end: half white, half blue.
    expectNear(pixel(kWidth / 2, kHeight / 2), {128, 128, 255}, 2, "centre");
}

TEST_F(D3D9GLRuntimeTest, TheSceneMatchesTheOpenGLDriverPixelForPixel) {
    const Picture expected = drawnByOpenGL();
    ASSERT_EQ(expected.size(), size_t(kWidth * kHeight));
    openD3D();
    drawScene(*d3d, [this](const CVertex(&quad)[4]) { drawFan(quad); });
    const Picture actual = picture();
    int differing = 0;
    for (size_t i = 0; i < actual.size() && differing < 5; ++i) {
        const Rgb& a = actual[i];
        const Rgb& e = expected[i];
        if (std::abs(a.r - e.r) > 2 || std::abs(a.g - e.g) > 2 || std::abs(a.b - e.b) > 2) {
            ++differing;
            expectNear(a, e, 2, std::to_string(i % kWidth) + "," + std::to_string(i / kWidth));
        }
    }
}

TEST_F(D3D9GLRuntimeTest, ADeviceThatGoesLeavesAnotherDeviceDrawing) {
    openD3D();
    CRefPointer<IRenderDriver> first = d3d;
    // A texture and a draw give the first device GL objects to delete when it goes.
    ASSERT_TRUE(first->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr));
    first->drawImage(
        first
            ->createTexture(makeTestImage(4, 4, [](int32_t, int32_t) { return 0xFFFFFFFFu; }).get())
            .get(),
        {0, 0});
    openD3D();
    // The first device deletes its GL objects in its own context and gives the current one back.
    first.reset();
    ASSERT_TRUE(d3d->startFrame(true, true, CColor(0xFF3366CC), nullptr, nullptr));
    expectNear(pixel(1, 1), {0x33, 0x66, 0xCC}, 0, "after the first device went");
}

// The driver's line names the renderer and the OpenGL version, where it said "OpenGL ...
// 0.0.0.0"; they are known before any context of the device.
TEST_F(D3D9GLRuntimeTest, TheDriverLineNamesTheRendererAndTheOpenGLVersion) {
    CString renderer;
    CString version;
    ASSERT_TRUE(host.getGL()->describeRenderer(renderer, version));
    const uint32_t glVersion = parseGLVersion(version.c_str());
    ASSERT_GE(glVersion, 100u) << version.c_str();
    testing::internal::CaptureStdout();
    openD3D();
    const std::string log = testing::internal::GetCapturedStdout();
    const std::string line = std::string("INF: ") + renderer.c_str() + " Direct3D 9 on OpenGL " +
                             std::to_string(glVersion / 100) + "." +
                             std::to_string(glVersion % 100) + ".0.0\r\n";
    EXPECT_NE(log.find(line), std::string::npos) << log;
}
