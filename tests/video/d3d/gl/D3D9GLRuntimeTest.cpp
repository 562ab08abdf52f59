#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/video/d3d/D3D9Driver.h"
#include "engine/video/d3d/D3DDriverFactories.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "engine/video/d3d/host/GLDirect3DDevice9.h"
#include "tests/video/d3d/BaseStatesPass.h"

// The Direct3D 9 driver on the GL runtime, drawing into an offscreen SDL window on Mesa.
namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;

struct Rgb {
    int r;
    int g;
    int b;
};

class D3D9GLRuntimeTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.isReady());
        HostWindowDesc desc;
        desc.title = "Direct3D 9";
        desc.width = kWidth;
        desc.height = kHeight;
        window = host.createWindow(desc);
        ASSERT_NE(window, kNoHostWindow);
        CD3DModuleRegistry::instance().setHostWindowSystem(&host);
        registerGLDirect3D9Module(host);
        CreationParameters parameters;
        parameters.driverType = 2;
        parameters.width = kWidth;
        parameters.height = kHeight;
        parameters.bits = 32;
        parameters.windowHandle = window;
        driver = createD3D9Driver(parameters, nullptr);
        ASSERT_NE(driver, nullptr);
        driver->setMaterialPass(MATERIAL_SOLID,
                                CRefPointer<IMaterialPass>(new BaseStatesPass).get(), nullptr);
        device = reinterpret_cast<IDirect3DDevice9*>(driver->getPlatformData()[3]);
    }

    void TearDown() override {
        driver.reset();
        CD3DModuleRegistry::instance().unregisterModule("d3d9.dll");
        CD3DModuleRegistry::instance().setHostWindowSystem(nullptr);
    }

    // A pixel of the back buffer, counted from the top-left corner.
    Rgb pixel(int32_t x, int32_t y) {
        const GLFunctions& gl = static_cast<CGLDirect3DDevice9*>(device)->functions();
        uint8_t rgba[4] = {};
        gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
        gl.ReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2]};
    }

    static void expectNear(Rgb actual, Rgb expected, int tolerance, const char* where) {
        EXPECT_LE(std::abs(actual.r - expected.r), tolerance) << where << " red " << actual.r;
        EXPECT_LE(std::abs(actual.g - expected.g), tolerance) << where << " green " << actual.g;
        EXPECT_LE(std::abs(actual.b - expected.b), tolerance) << where << " blue " << actual.b;
    }

    // Unlit, untested depth: vertex colours as they are.
    static RenderMaterial flatMaterial() {
        RenderMaterial material;
        material.lighting = false;
        material.backFaceCulling = false;
        return material;
    }

    CHostWindowSystemSdl host;
    HostWindow window = kNoHostWindow;
    CRefPointer<IRenderDriver> driver;
    IDirect3DDevice9* device = nullptr;
};

} // namespace

TEST_F(D3D9GLRuntimeTest, ClearFillsTheBackBuffer) {
    ASSERT_TRUE(driver->startFrame(true, true, CColor(0xFF3366CC), nullptr, nullptr));
    expectNear(pixel(0, 0), {0x33, 0x66, 0xCC}, 0, "top left");
    expectNear(pixel(kWidth - 1, kHeight - 1), {0x33, 0x66, 0xCC}, 0, "bottom right");
    EXPECT_TRUE(driver->presentFrame());
}

TEST_F(D3D9GLRuntimeTest, ATwoDQuadCoversExactlyItsPixels) {
    ASSERT_TRUE(driver->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr));
    RenderMaterial material = flatMaterial();
    material.depthTest = 0;
    driver->applyMaterial(material);
    ASSERT_TRUE(driver->setRenderStates2D());
    const CVertex quad[4] = {
        {CVector3d(10, 10, 0), CColor(0xFFFF0000), CVector2d(0, 0)},
        {CVector3d(30, 10, 0), CColor(0xFFFF0000), CVector2d(1, 0)},
        {CVector3d(30, 20, 0), CColor(0xFFFF0000), CVector2d(1, 1)},
        {CVector3d(10, 20, 0), CColor(0xFFFF0000), CVector2d(0, 1)},
    };
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(CVertex)), D3D_OK);
    struct Case {
        int32_t x;
        int32_t y;
        bool inside;
    };
    const Case cases[] = {{10, 10, true},  {29, 19, true}, {20, 15, true}, {9, 10, false},
                          {30, 10, false}, {10, 9, false}, {10, 20, false}};
    for (const Case& c : cases) {
        const Rgb expected = c.inside ? Rgb{255, 0, 0} : Rgb{0, 0, 0};
        expectNear(pixel(c.x, c.y), expected, 0,
                   (std::to_string(c.x) + "," + std::to_string(c.y)).c_str());
    }
}

TEST_F(D3D9GLRuntimeTest, LinearFogBlendsByDistanceFromTheEye) {
    // A left-handed perspective: 90 degrees wide, depth 1 to 100 onto 0 to 1.
    CMatrix4 projection;
    for (int i = 0; i < 16; ++i)
        projection.set(i, 0.0f);
    const float near = 1.0f;
    const float far = 100.0f;
    projection.set(0, 0, 1.0f);
    projection.set(1, 1, float(kWidth) / float(kHeight));
    projection.set(2, 2, far / (far - near));
    projection.set(2, 3, 1.0f);
    projection.set(3, 2, -near * far / (far - near));
    driver->setMatrix(TRANSFORM_PROJECTION, projection);
    driver->setFogParameters(CColor(0xFF0000FF), true, 0.0f, 10.0f, 0.0f, false, false);
    ASSERT_TRUE(driver->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr));
    RenderMaterial material = flatMaterial();
    material.fog = true;
    driver->applyMaterial(material);
    ASSERT_TRUE(driver->setRenderStates3D());
    const float z = 5.0f;
    const CVertex quad[4] = {
        {CVector3d(-z, z, z), CColor(0xFFFFFFFF), CVector2d(0, 0)},
        {CVector3d(z, z, z), CColor(0xFFFFFFFF), CVector2d(1, 0)},
        {CVector3d(z, -z, z), CColor(0xFFFFFFFF), CVector2d(1, 1)},
        {CVector3d(-z, -z, z), CColor(0xFFFFFFFF), CVector2d(0, 1)},
    };
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(CVertex)), D3D_OK);
    // Half way from the fog's start to its end: half white, half blue.
    expectNear(pixel(kWidth / 2, kHeight / 2), {128, 128, 255}, 2, "centre");
}
