#include <functional>
#include <string>
#include <vector>

#include "engine/video/ColorFormat.h"
#include "engine/video/d3d/D3DDriverFactories.h"
#include "tests/video/d3d/D3DDriverFixture.h"

// The Direct3D 8 driver's device, frames and states where they differ from Direct3D 9's, on the
// fake runtime seen through its Direct3D 8 face.

TEST(D3D8DriverInitTest, EveryFailingStepLogsItsLineAndGivesNoDriver) {
    struct Case {
        const char* name;
        std::function<void(FakeD3D9Runtime&)> setUp;
        std::vector<const char*> lines;
        size_t times = 1;
    };
    const Case cases[] = {
        {"no library",
         [](FakeD3D9Runtime&) { CD3DModuleRegistry::instance().unregisterModule("d3d8.dll"); },
         {"ERR: Error, could not load d3d8.dll."}},
        {"no entry point",
         [](FakeD3D9Runtime&) { CD3DModuleRegistry::instance().registerModule("d3d8.dll", {}); },
         {"ERR: Error, could not get proc adress of Direct3DCreate8."}},
        {"no Direct3D object",
         [](FakeD3D9Runtime& r) { r.script.createGivesNone = true; },
         {"ERR: Error initializing D3D."}},
        {"no display mode",
         [](FakeD3D9Runtime& r) { r.script.displayModeFails = true; },
         {"ERR: Error: Could not get Adapter Display mode."}},
        {"no depth format",
         [](FakeD3D9Runtime& r) {
             r.script.refusedFormats = {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D16};
         },
         {"WRN: Device does not support required depth buffer."}},
        {"no device of any vertex processing",
         [](FakeD3D9Runtime& r) { r.script.refusedBehaviorBits = 0x20 | 0x40 | 0x80; },
         {"ERR: Was not able to create Direct3D8 device."},
         2},
    };
    for (const Case& c : cases) {
        FakeD3D9Runtime runtime;
        c.setUp(runtime);
        CreationParameters parameters;
        testing::internal::CaptureStdout();
        const CRefPointer<IRenderDriver> driver = createD3D8Driver(parameters, nullptr);
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(driver, nullptr) << c.name;
        for (const char* line : c.lines) {
            size_t times = 0;
            for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
                ++times;
            EXPECT_EQ(times, c.times) << c.name << ": " << line << "\n" << log;
        }
        EXPECT_EQ(runtime.device(), nullptr) << c.name;
    }
}

TEST_F(D3D8DriverTest, StartsWindowedAndNamesItselfAsDirect3D8) {
    ASSERT_TRUE(start()) << startLog;
    EXPECT_EQ(runtime.lastSdkVersion, 120u);
    EXPECT_TRUE(runtime.logged("GetAdapterIdentifier(0, 2)"));
    EXPECT_TRUE(contains(startLog, "INF: Fake Adapter fake.dll 6.14.10.9")) << startLog;
    const D3DPRESENT_PARAMETERS& p = runtime.device()->presentParameters;
    EXPECT_TRUE(p.Windowed);
    EXPECT_EQ(p.hDeviceWindow, 7u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D32);
    EXPECT_EQ(runtime.device()->fvf, 0x142u);
    EXPECT_EQ(CStringW(driver->getDriverName()), CStringW(u"Direct3D 8.1"));
    EXPECT_EQ(driver->getDriverKind(), uint32_t(DRIVER_KIND_DIRECT3D8));
    // No vendor and no back-buffer query: the null driver's answers.
    EXPECT_STREQ(driver->getAdapterDescription(), "Not available on this driver.");
    EXPECT_EQ(driver->getBackBufferFormat(), COLOR_FORMAT_R5G6B5);
    EXPECT_EQ(runtime.count("GetBackBuffer"), 0u);
    const uintptr_t* data = driver->getPlatformData();
    EXPECT_EQ(data[1], 0u);
    EXPECT_NE(data[3], 0u);
    EXPECT_EQ(data[4], 7u);
    // Every stage may filter with the device's anisotropy, at most 16.
    for (uint32_t stage = 0; stage < 4; ++stage)
        EXPECT_EQ(runtime.device()->samplerState(stage, D3DSAMP_MAXANISOTROPY), 8u) << stage;
}

TEST_F(D3D8DriverTest, FullScreenPresentsOnTheBlankOnlyWithVerticalSync) {
    struct Case {
        uint32_t bits;
        bool verticalSync;
        D3DFORMAT format;
        uint32_t interval;
    };
    const Case cases[] = {
        {32, false, D3DFMT_X8R8G8B8, D3DPRESENT_INTERVAL_IMMEDIATE},
        {16, true, D3DFMT_R5G6B5, D3DPRESENT_INTERVAL_ONE},
    };
    for (const Case& c : cases) {
        parameters.fullScreen = true;
        parameters.bits = c.bits;
        parameters.verticalSync = c.verticalSync;
        ASSERT_TRUE(start()) << startLog;
        const D3DPRESENT_PARAMETERS& p = runtime.device()->presentParameters;
        EXPECT_FALSE(p.Windowed) << c.bits;
        EXPECT_EQ(p.BackBufferWidth, 640u);
        EXPECT_EQ(p.BackBufferFormat, c.format);
        EXPECT_EQ(p.hDeviceWindow, 7u);
        EXPECT_EQ(p.PresentationInterval, c.interval);
    }
}

TEST_F(D3D8DriverTest, AntiAliasingFromTwoUpTakesTheHighestAcceptedLevel) {
    struct Case {
        uint8_t level;
        std::set<uint32_t> accepted;
        uint32_t checks;
        uint32_t chosen;
        bool warned;
    };
    const Case cases[] = {
        {1, {}, 0, 0, false},
        {20, {4}, 13, 4, false},
        {2, {}, 1, 0, true},
    };
    for (const Case& c : cases) {
        runtime.log.clear();
        parameters.antiAlias = c.level;
        runtime.script.multiSampleLevels = c.accepted;
        ASSERT_TRUE(start()) << startLog;
        EXPECT_EQ(runtime.count("CheckDeviceMultiSampleType"), c.checks) << int(c.level);
        EXPECT_EQ(uint32_t(runtime.device()->presentParameters.MultiSampleType), c.chosen);
        EXPECT_EQ(runtime.device()->renderState(D3DRS_MULTISAMPLEANTIALIAS), c.chosen ? 1u : 0u);
        EXPECT_EQ(contains(startLog, "Anti aliasing disabled"), c.warned) << int(c.level);
    }
}

TEST_F(D3D8DriverTest, FramesLogDirect3D8Failures) {
    device();
    struct Case {
        const char* name;
        std::function<void(FakeD3D9Script&)> setUp;
        const char* line;
        bool started;
        bool presented;
    };
    const Case cases[] = {
        {"clear", [](FakeD3D9Script& s) { s.clearResult = D3DERR_INVALIDCALL; },
         "WRN: Direct3D8 clear failed.", true, true},
        {"begin", [](FakeD3D9Script& s) { s.beginSceneResult = D3DERR_INVALIDCALL; },
         "WRN: Direct3D8 begin scene failed.", false, true},
        {"end", [](FakeD3D9Script& s) { s.endSceneResult = D3DERR_INVALIDCALL; },
         "WRN: DIRECT3D8 end scene failed.", true, false},
        {"present", [](FakeD3D9Script& s) { s.presentResults = {D3DERR_INVALIDCALL}; },
         "WRN: DIRECT3D8 present failed.", true, false},
        {"lost", [](FakeD3D9Script& s) { s.presentResults = {D3DERR_DEVICELOST}; },
         "WRN: DIRECT3D8 device lost.", true, false},
    };
    for (const Case& c : cases) {
        runtime.script = FakeD3D9Script();
        c.setUp(runtime.script);
        bool started = false;
        bool presented = false;
        const std::string log = captureLog([&] {
            started = driver->startFrame(true, true, CColor(), nullptr, nullptr);
            presented = driver->presentFrame();
        });
        EXPECT_EQ(started, c.started) << c.name;
        EXPECT_EQ(presented, c.presented) << c.name;
        EXPECT_TRUE(contains(log, c.line)) << c.name << "\n" << log;
    }
    // The lost device is reset at the next frame that finds it can be.
    runtime.script.cooperativeLevels = {D3DERR_DEVICENOTRESET};
    const std::string log = captureLog(
        [&] { EXPECT_TRUE(driver->startFrame(true, true, CColor(), nullptr, nullptr)); });
    EXPECT_TRUE(contains(log, "INF: Resetting D3D8 device.")) << log;
}

TEST_F(D3D8DriverTest, AFailedResetNamesOnlyALostDevice) {
    device();
    const std::pair<HRESULT, const char*> cases[] = {
        {D3DERR_DEVICELOST, "WRN: Resetting failed due to device lost."},
        {D3DERR_OUTOFVIDEOMEMORY, "WRN: Resetting failed.\r"},
        {D3DERR_INVALIDCALL, "WRN: Resetting failed.\r"},
    };
    for (const auto& [result, line] : cases) {
        runtime.script.resetResults = {result};
        const std::string log = captureLog([&] { EXPECT_FALSE(driver->resetDevice()); });
        EXPECT_TRUE(contains(log, line)) << log;
    }
}

TEST_F(D3D8DriverTest, WindowedVerticalSyncPollsTheRasterUntilTheBlank) {
    parameters.verticalSync = true;
    runtime.script.caps.Caps = D3DCAPS_READ_SCANLINE;
    device();
    struct Case {
        std::deque<FakeRasterStatus> statuses;
        size_t reads;
    };
    const Case cases[] = {
        {{{D3D_OK, false}, {D3D_OK, false}, {D3D_OK, true}}, 3},
        // A failed read ends the wait at once.
        {{{D3D_OK, false}, {D3DERR_INVALIDCALL, false}, {D3D_OK, false}}, 2},
    };
    for (const Case& c : cases) {
        runtime.script.rasterStatuses = c.statuses;
        runtime.log.clear();
        driver->startFrame(true, true, CColor(), nullptr, nullptr);
        EXPECT_TRUE(driver->presentFrame());
        EXPECT_EQ(runtime.count("GetRasterStatus"), c.reads);
        EXPECT_EQ(runtime.log.back().rfind("Present", 0), 0u);
    }
    // A device that cannot read its scan line is not asked.
    runtime.script.caps.Caps = 0;
    ASSERT_TRUE(start());
    runtime.log.clear();
    driver->startFrame(true, true, CColor(), nullptr, nullptr);
    driver->presentFrame();
    EXPECT_EQ(runtime.count("GetRasterStatus"), 0u);
}

TEST_F(D3D8DriverTest, RenderToTextureIsAlwaysThereAndHighLevelShadersNever) {
    runtime.script.caps.NumSimultaneousRTs = 0;
    device();
    EXPECT_TRUE(driver->hasFeature(FEATURE_RENDER_TO_TEXTURE));
    EXPECT_FALSE(driver->hasFeature(FEATURE_HLSL));
    EXPECT_TRUE(driver->hasFeature(FEATURE_VERTEX_SHADER_2_0));
}

TEST_F(D3D8DriverTest, VertexFormatsAreSetEveryTime) {
    device();
    runtime.log.clear();
    for (int i = 0; i < 2; ++i) {
        const CVertex quad[3] = {};
        driver->setRenderStates3D();
        driver->drawPrimitives(quad, 3, nullptr, 1, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                               PRIMITIVE_TRIANGLES);
    }
    EXPECT_EQ(runtime.count("SetFVF(322)"), 2u);
}

TEST_F(D3D8DriverTest, TextureMatricesLeaveTheTwoDTransformsAlone) {
    device();
    driver->applyMaterial(RenderMaterial());
    driver->setRenderStates2D();
    runtime.log.clear();
    driver->setMatrix(TRANSFORM_TEXTURE_0, CMatrix4::identity());
    driver->setRenderStates2D();
    EXPECT_EQ(runtime.count("SetTransform(3"), 0u);
    driver->setMatrix(TRANSFORM_WORLD, CMatrix4::identity());
    driver->setRenderStates2D();
    EXPECT_EQ(runtime.count("SetTransform(3"), 1u);
}

TEST_F(D3D8DriverTest, TheScissorIsFourClipPlanesAroundTheStoredRectangle) {
    device();
    driver->setScissorRect({10, 20, 110, 220});
    driver->enableScissor(true);
    const std::array<float, 4> planes[4] = {
        {0, 1, 0, -20}, {-1, 0, 0, 110}, {0, -1, 0, 220}, {1, 0, 0, -10}};
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(runtime.device()->clipPlanes[i], planes[i]) << i;
    EXPECT_EQ(runtime.device()->renderState(D3DRS_CLIPPLANEENABLE), 0xFu);
    // Off disables the four planes, also when another use had enabled them; others stay.
    driver->enableClipPlane(4, true);
    driver->enableScissor(false);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_CLIPPLANEENABLE), 0x10u);
    EXPECT_EQ(runtime.count("SetScissorRect"), 0u);
}

TEST_F(D3D8DriverTest, ConstantsByNameAreRefusedWithoutHighLevelShaders) {
    device();
    const float values[4] = {1, 2, 3, 4};
    int32_t type = 0;
    const std::string log = captureLog([&] {
        EXPECT_FALSE(driver->setVertexShaderConstant("light", values, 4));
        EXPECT_FALSE(driver->setPixelShaderConstant("light", values, 4));
        type = driver->createHighLevelMaterial("", "main", 0, "", "main", 0, nullptr, 0, 0);
    });
    EXPECT_EQ(type, -1);
    EXPECT_TRUE(contains(log, "INF: Cannot set constant, no HLSL supported in D3D8")) << log;
    EXPECT_TRUE(contains(log, "High level shader materials not available (yet) in this driver, "
                              "sorry"))
        << log;
    driver->setVertexShaderConstants(values, 2, 1);
    EXPECT_TRUE(runtime.logged("SetVertexShaderConstantF(2, 1)"));
}
