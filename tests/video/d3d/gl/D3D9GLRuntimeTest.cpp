#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/D3D9Driver.h"
#include "engine/video/d3d/D3DDriverFactories.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "engine/video/d3d/host/GLDirect3DDevice9.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"
#include "tests/video/d3d/BaseStatesPass.h"

// The Direct3D 9 driver on the GL runtime, drawing into an offscreen SDL window on Mesa, beside
// the OpenGL driver drawing the same.
namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;

struct Rgb {
    int r;
    int g;
    int b;
};

using Picture = std::vector<Rgb>;
// Draws the vertices as a fan of two triangles with the driver's current states.
using DrawFan = std::function<void(const CVertex (&quad)[4])>;

CreationParameters parametersFor(uint32_t driverType, HostWindow window) {
    CreationParameters parameters;
    parameters.driverType = driverType;
    parameters.width = kWidth;
    parameters.height = kHeight;
    parameters.bits = 32;
    parameters.windowHandle = window;
    return parameters;
}

// Unlit, both faces: vertex colours as they are.
RenderMaterial flatMaterial() {
    RenderMaterial material;
    material.lighting = false;
    material.backFaceCulling = false;
    return material;
}

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

class D3D9GLRuntimeTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.isReady()); }

    void TearDown() override {
        d3d.reset();
        CD3DModuleRegistry::instance().unregisterModule("d3d9.dll");
        CD3DModuleRegistry::instance().setHostWindowSystem(nullptr);
    }

    HostWindow openWindow() {
        HostWindowDesc desc;
        desc.title = "Direct3D 9";
        desc.width = kWidth;
        desc.height = kHeight;
        const HostWindow window = host.createWindow(desc);
        EXPECT_NE(window, kNoHostWindow);
        return window;
    }

    void openD3D() {
        CD3DModuleRegistry::instance().setHostWindowSystem(&host);
        registerGLDirect3D9Module(host);
        d3d = createD3D9Driver(parametersFor(2, openWindow()), nullptr);
        ASSERT_NE(d3d, nullptr);
        d3d->setMaterialPass(MATERIAL_SOLID, CRefPointer<IMaterialPass>(new BaseStatesPass).get(),
                             nullptr);
        device = reinterpret_cast<IDirect3DDevice9*>(d3d->getPlatformData()[3]);
    }

    void drawFan(const CVertex (&quad)[4]) {
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(CVertex)), D3D_OK);
    }

    // A pixel of the Direct3D back buffer, counted from the top-left corner.
    Rgb pixel(int32_t x, int32_t y) {
        const GLFunctions& gl = static_cast<CGLDirect3DDevice9*>(device)->functions();
        uint8_t rgba[4] = {};
        gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
        gl.ReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2]};
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
            parametersFor(3, openWindow()), nullptr, nullptr, *host.getGL());
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

    static void expectNear(Rgb actual, Rgb expected, int tolerance, const std::string& where) {
        EXPECT_LE(std::abs(actual.r - expected.r), tolerance) << where << " red " << actual.r;
        EXPECT_LE(std::abs(actual.g - expected.g), tolerance) << where << " green " << actual.g;
        EXPECT_LE(std::abs(actual.b - expected.b), tolerance) << where << " blue " << actual.b;
    }

    CHostWindowSystemSdl host;
    CRefPointer<IRenderDriver> d3d;
    IDirect3DDevice9* device = nullptr;
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
