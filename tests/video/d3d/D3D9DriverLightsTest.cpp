#include <cmath>
#include <limits>
#include <numbers>

#include "tests/video/d3d/D3DDriverFixture.h"

namespace {

float radians(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

} // namespace

TEST_F(D3D9DriverTest, TheStoredFogReachesTheNewDevice) {
    const FakeDirect3DDevice9& d = device();
    EXPECT_EQ(d.renderState(D3DRS_FOGCOLOR), 0x00FFFFFFu);
    EXPECT_EQ(d.renderState(D3DRS_FOGVERTEXMODE), uint32_t(D3DFOG_LINEAR));
    EXPECT_FLOAT_EQ(d.floatRenderState(D3DRS_FOGSTART), 50.0f);
    EXPECT_FLOAT_EQ(d.floatRenderState(D3DRS_FOGEND), 100.0f);
    EXPECT_EQ(d.renderState(D3DRS_RANGEFOGENABLE, 7), 0u);
}

TEST_F(D3D9DriverTest, FogSetsOnlyTheStatesOfItsKind) {
    struct Case {
        bool linear;
        bool perPixel;
        std::vector<std::string> lines;
    };
    const std::string start = std::to_string(floatBits(10.0f));
    const std::string end = std::to_string(floatBits(20.0f));
    const std::string density = std::to_string(floatBits(0.5f));
    const Case cases[] = {
        {true,
         false,
         {"SetRenderState(34, 4278190335)", "SetRenderState(140, 3)",
          "SetRenderState(36, " + start + ")", "SetRenderState(37, " + end + ")",
          "SetRenderState(48, 1)"}},
        {false,
         false,
         {"SetRenderState(34, 4278190335)", "SetRenderState(140, 1)",
          "SetRenderState(38, " + density + ")", "SetRenderState(48, 1)"}},
        {true,
         true,
         {"SetRenderState(34, 4278190335)", "SetRenderState(35, 3)",
          "SetRenderState(36, " + start + ")", "SetRenderState(37, " + end + ")"}},
        {false,
         true,
         {"SetRenderState(34, 4278190335)", "SetRenderState(35, 1)",
          "SetRenderState(38, " + density + ")"}},
    };
    device();
    for (const Case& c : cases) {
        runtime.log.clear();
        driver->setFogParameters(CColor(0xFF0000FF), c.linear, 10.0f, 20.0f, 0.5f, c.perPixel,
                                 true);
        EXPECT_EQ(runtime.log, c.lines) << c.linear << c.perPixel;
    }
}

TEST_F(D3D9DriverTest, AmbientLightIsSentAsAPackedColour) {
    device();
    // Each channel times 255, truncated and held within 0 to 255: 1.2 stays full.
    driver->setAmbientLight(CColorf(1.2f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(runtime.device()->renderState(D3DRS_AMBIENT), 0xFFFF7F00u);
}

TEST_F(D3D9DriverTest, LightsBecomeDeviceLightsAndAreEnabled) {
    device();
    CLight spot;
    spot.kind = LIGHT_SPOT;
    spot.innerCone = 10.0f;
    spot.outerCone = 20.0f;
    spot.radius = 250.0f;
    spot.falloff = 2.0f;
    spot.linearAttenuation = 0.25f;
    spot.diffuse = CColorf(1.0f, 0.5f, 0.25f, 1.0f);
    spot.position = CVector3d(1.0f, 2.0f, 3.0f);
    spot.direction = CVector3d(0.0f, -1.0f, 0.0f);
    EXPECT_EQ(driver->addLight(spot), 0);
    const D3DLIGHT9& light = runtime.device()->lights.at(0);
    EXPECT_EQ(light.Type, D3DLIGHT_SPOT);
    EXPECT_FLOAT_EQ(light.Theta, radians(20.0f));
    EXPECT_FLOAT_EQ(light.Phi, radians(40.0f));
    EXPECT_FLOAT_EQ(light.Range, 250.0f);
    EXPECT_FLOAT_EQ(light.Falloff, 2.0f);
    EXPECT_FLOAT_EQ(light.Attenuation1, 0.25f);
    EXPECT_FLOAT_EQ(light.Diffuse.g, 0.5f);
    EXPECT_FLOAT_EQ(light.Position.z, 3.0f);
    EXPECT_FLOAT_EQ(light.Direction.y, -1.0f);
    EXPECT_TRUE(runtime.device()->lightsEnabled.at(0));

    CLight far;
    far.kind = LIGHT_DIRECTIONAL;
    far.radius = std::numeric_limits<float>::max();
    EXPECT_EQ(driver->addLight(far), 1);
    EXPECT_EQ(runtime.device()->lights.at(1).Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_FLOAT_EQ(runtime.device()->lights.at(1).Range,
                    std::sqrt(std::numeric_limits<float>::max()));
    EXPECT_EQ(driver->getLightCount(), 2u);
    EXPECT_EQ(driver->getMaxLightCount(), 8u);
}

TEST_F(D3D9DriverTest, ARefusedLightAnswersMinusOneAndTheNextTakesTheFollowingIndex) {
    device();
    runtime.script.refusedLights = {1};
    EXPECT_EQ(driver->addLight(CLight()), 0);
    EXPECT_EQ(driver->addLight(CLight()), -1);
    EXPECT_EQ(driver->addLight(CLight()), 2);
    EXPECT_EQ(runtime.device()->lightsEnabled.count(1), 0u);
    EXPECT_EQ(runtime.device()->lights.at(2).Type, D3DLIGHT_POINT);
}

TEST_F(D3D9DriverTest, LightsAreSwitchedWithinTheIndicesInUse) {
    device();
    driver->addLight(CLight());
    driver->addLight(CLight());
    driver->setLightEnabled(1, false);
    EXPECT_FALSE(runtime.device()->lightsEnabled.at(1));
    runtime.log.clear();
    driver->setLightEnabled(2, true);
    EXPECT_TRUE(runtime.log.empty());

    driver->removeAllLights();
    EXPECT_FALSE(runtime.device()->lightsEnabled.at(0));
    EXPECT_EQ(driver->getLightCount(), 0u);
    driver->setLightEnabled(0, true);
    EXPECT_FALSE(runtime.device()->lightsEnabled.at(0));
    EXPECT_EQ(driver->addLight(CLight()), 0);
}

TEST_F(D3D9DriverTest, ClipPlanesMoveWithTheWorldAndSetTheirEnableBit) {
    struct Case {
        const char* name;
        CClipPlane plane;
        float translateY;
        std::array<float, 4> sent;
    };
    const Case cases[] = {
        {"identity", {0, 1, 0, -2}, 0, {0, 1, 0, -2}},
        {"translated", {0, 1, 0, 0}, 5, {0, 1, 0, -5}},
        // y = 2 written with a normal of length 2, then moved to y = 7.
        {"unnormalised", {0, 2, 0, -4}, 5, {0, 2, 0, -14}},
    };
    device();
    for (const Case& c : cases) {
        CMatrix4 world;
        world.set(3, 1, c.translateY);
        driver->setMatrix(TRANSFORM_WORLD, world);
        EXPECT_TRUE(driver->setClipPlane(2, c.plane, true)) << c.name;
        const std::array<float, 4>& sent = runtime.device()->clipPlanes.at(2);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(sent[i], c.sent[i], 1e-5f) << c.name << " " << i;
    }
    driver->setClipPlane(0, {1, 0, 0, 0}, true);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_CLIPPLANEENABLE), 0b101u);
    runtime.log.clear();
    EXPECT_TRUE(driver->setClipPlane(2, {1, 0, 0, 0}, false));
    EXPECT_EQ(runtime.count("SetClipPlane"), 0u);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_CLIPPLANEENABLE), 0b001u);
}

TEST_F(D3D9DriverTest, ClipPlanesPastTheDeviceCountAreRefused) {
    runtime.script.caps.MaxUserClipPlanes = 2;
    device();
    runtime.log.clear();
    EXPECT_FALSE(driver->setClipPlane(2, {0, 1, 0, 0}, true));
    driver->enableClipPlane(2, true);
    EXPECT_TRUE(runtime.log.empty());
    EXPECT_TRUE(driver->setClipPlane(1, {0, 1, 0, 0}, true));
}

TEST_F(D3D9DriverTest, AWorldThatCannotBeInvertedFlattensThePlane) {
    device();
    CMatrix4 flat;
    flat.set(1, 1, 0.0f);
    driver->setMatrix(TRANSFORM_WORLD, flat);
    driver->setClipPlane(0, {0, 1, 0, -3}, true);
    const std::array<float, 4> zero = {0, 0, 0, 0};
    EXPECT_EQ(runtime.device()->clipPlanes.at(0), zero);
}

TEST_F(D3D9DriverTest, ScissorRectangleAndTestReachTheDevice) {
    device();
    driver->setScissorRect({10, 20, 110, 220});
    driver->enableScissor(true);
    const RECT& scissor = runtime.device()->scissor;
    EXPECT_EQ(scissor.left, 10);
    EXPECT_EQ(scissor.top, 20);
    EXPECT_EQ(scissor.right, 110);
    EXPECT_EQ(scissor.bottom, 220);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_SCISSORTESTENABLE), 1u);
    driver->enableScissor(false);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_SCISSORTESTENABLE), 0u);
}
