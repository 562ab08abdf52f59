#include <cmath>
#include <functional>

#include "engine/video/ColorFormat.h"
#include "engine/video/d3d/D3DDriverFactories.h"
#include "tests/video/d3d/BaseStatesPass.h"
#include "tests/video/d3d/D3DDriverFixture.h"

namespace {

std::string lineOf(const std::string& log, const std::string& part) {
    const size_t at = log.find(part);
    if (at == std::string::npos)
        return "";
    const size_t start = log.rfind('\n', at);
    const size_t end = log.find_first_of("\r\n", at);
    return log.substr(start == std::string::npos ? 0 : start + 1,
                      end == std::string::npos ? std::string::npos : end - start - 1);
}

} // namespace

TEST(D3D9DriverInitTest, EveryFailingStepLogsItsLineAndGivesNoDriver) {
    struct Case {
        const char* name;
        std::function<void(FakeD3D9Runtime&)> setUp;
        std::vector<const char*> lines;
    };
    const Case cases[] = {
        {"no library",
         [](FakeD3D9Runtime&) { CD3DModuleRegistry::instance().unregisterModule("d3d9.dll"); },
         {"ERR: Error, could not load d3d9.dll."}},
        {"no entry point",
         [](FakeD3D9Runtime&) { CD3DModuleRegistry::instance().registerModule("d3d9.dll", {}); },
         {"ERR: Error, could not get proc adress of Direct3DCreate9."}},
        {"no Direct3D object",
         [](FakeD3D9Runtime& r) { r.script.createGivesNone = true; },
         {"ERR: Error initializing D3D."}},
        {"no display mode",
         [](FakeD3D9Runtime& r) { r.script.displayModeFails = true; },
         {"ERR: Could not get Adapter Display mode."}},
        {"no depth format",
         [](FakeD3D9Runtime& r) {
             r.script.refusedFormats = {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D16};
         },
         {"WRN: Device does not support required depth buffer."}},
        {"no device of any vertex processing",
         [](FakeD3D9Runtime& r) { r.script.refusedBehaviorBits = 0x20 | 0x40 | 0x80; },
         {"ERR: Was not able to create Direct3D9 device.",
          "ERR: Was not able to create DIRECT3D9 device."}},
    };
    for (const Case& c : cases) {
        FakeD3D9Runtime runtime;
        c.setUp(runtime);
        CreationParameters parameters;
        CRefPointer<IRenderDriver> driver;
        testing::internal::CaptureStdout();
        driver = createD3D9Driver(parameters, nullptr);
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(driver, nullptr) << c.name;
        for (const char* line : c.lines)
            EXPECT_NE(log.find(line), std::string::npos) << c.name << ": " << line << "\n" << log;
        EXPECT_EQ(runtime.device(), nullptr) << c.name;
    }
}

TEST_F(D3D9DriverTest, StartsWindowedOnTheDisplayFormatAndLogsTheAdapter) {
    ASSERT_TRUE(start()) << startLog;
    EXPECT_EQ(runtime.lastSdkVersion, 32u);
    EXPECT_NE(startLog.find("INF: Fake Adapter fake.dll 6.14.10.9"), std::string::npos) << startLog;
    const D3DPRESENT_PARAMETERS& p = runtime.device()->presentParameters;
    EXPECT_TRUE(p.Windowed);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.BackBufferWidth, 0u);
    EXPECT_EQ(p.hDeviceWindow, 7u);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_TRUE(p.EnableAutoDepthStencil);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D32);
    EXPECT_EQ(p.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(runtime.device()->behaviorFlags, uint32_t(D3DCREATE_HARDWARE_VERTEXPROCESSING));
    EXPECT_EQ(runtime.device()->fvf, 0x142u);
    // An X8R8G8B8 back buffer is reported as A8R8G8B8.
    EXPECT_EQ(driver->getBackBufferFormat(), COLOR_FORMAT_A8R8G8B8);
    const uintptr_t* data = driver->getPlatformData();
    EXPECT_EQ(data[0], 0u);
    EXPECT_EQ(data[1], 1u);
    EXPECT_NE(data[2], 0u);
    EXPECT_EQ(data[3], uintptr_t(static_cast<IDirect3DDevice9*>(runtime.device())));
    EXPECT_EQ(data[4], 7u);
    EXPECT_EQ(driver->getRenderTargetSize(), (CPixelSize{640, 480}));
    EXPECT_STREQ(driver->getAdapterDescription(), "Intel Corporation");
}

TEST_F(D3D9DriverTest, FullScreenTakesTheScreenSizeAndTheDepthOfTheParameters) {
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
        EXPECT_EQ(p.BackBufferHeight, 480u);
        EXPECT_EQ(p.BackBufferFormat, c.format);
        EXPECT_EQ(p.hDeviceWindow, 0u);
        EXPECT_EQ(p.PresentationInterval, c.interval);
    }
}

TEST_F(D3D9DriverTest, DeviceCreationFallsBackFromHardwareToMixedToSoftware) {
    struct Case {
        uint32_t refused;
        bool preserveFloats;
        uint32_t flags;
    };
    const Case cases[] = {
        {0x40, false, 0x80},
        {0x40 | 0x80, false, 0x20},
        {0x40 | 0x80, true, 0x20 | 0x2},
        {0, true, 0x40 | 0x2},
    };
    for (const Case& c : cases) {
        runtime.script.refusedBehaviorBits = c.refused;
        parameters.highPrecisionFloat = c.preserveFloats;
        ASSERT_TRUE(start()) << startLog;
        EXPECT_EQ(runtime.device()->behaviorFlags, c.flags) << c.refused;
        EXPECT_EQ(startLog.find("Was not able"), std::string::npos);
    }
}

TEST_F(D3D9DriverTest, AntiAliasingTakesTheHighestAcceptedLevelFrom16Down) {
    parameters.antiAlias = 20;
    runtime.script.multiSampleLevels = {4, 2};
    ASSERT_TRUE(start()) << startLog;
    EXPECT_TRUE(runtime.logged("CheckDeviceMultiSampleType(22, 1, 16)"));
    EXPECT_FALSE(runtime.logged("CheckDeviceMultiSampleType(22, 1, 20)"));
    EXPECT_EQ(runtime.count("CheckDeviceMultiSampleType"), 13u);
    EXPECT_EQ(runtime.device()->presentParameters.MultiSampleType, D3DMULTISAMPLE_TYPE(4));
    EXPECT_EQ(runtime.device()->presentParameters.MultiSampleQuality, 2u);
}

TEST_F(D3D9DriverTest, AntiAliasingRefusedAtEveryLevelWarnsOnceAndRunsWithout) {
    parameters.antiAlias = 4;
    ASSERT_TRUE(start()) << startLog;
    const std::string warning =
        "Anti aliasing disabled because hardware/driver lacks necessary caps.";
    EXPECT_EQ(startLog.find(warning), startLog.rfind(warning));
    EXPECT_NE(startLog.find("WRN: " + warning), std::string::npos) << startLog;
    EXPECT_EQ(runtime.device()->presentParameters.MultiSampleType, D3DMULTISAMPLE_NONE);
    // Without multisampling, materials never switch it.
    driver->setMaterialPass(0, CRefPointer<IMaterialPass>(new BaseStatesPass).get(), nullptr);
    RenderMaterial material;
    material.antiAliasFlags = 1;
    driver->applyMaterial(material);
    driver->setRenderStates3D();
    EXPECT_EQ(runtime.count("SetRenderState(161,"), 0u);
}

TEST_F(D3D9DriverTest, DepthAndStencilFormatsFallBackInOrder) {
    struct Case {
        const char* name;
        bool stencil;
        std::set<uint32_t> refused;
        bool mismatch;
        uint32_t stencilCaps;
        D3DFORMAT format;
        bool stencilKept;
        const char* warning;
    };
    const uint32_t allCaps = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_INCRSAT | D3DSTENCILCAPS_DECRSAT;
    const Case cases[] = {
        {"D24S8", true, {}, false, allCaps, D3DFMT_D24S8, true, nullptr},
        {"D24S8 not matching",
         true,
         {},
         true,
         allCaps,
         D3DFMT_D32,
         false,
         "Depth-stencil format is not compatible with display format, disabling stencil buffer."},
        {"D24X4S4", true, {D3DFMT_D24S8}, false, allCaps, D3DFMT_D24X4S4, true, nullptr},
        {"D15S1",
         true,
         {D3DFMT_D24S8, D3DFMT_D24X4S4},
         false,
         allCaps,
         D3DFMT_D15S1,
         true,
         nullptr},
        {"no stencil format",
         true,
         {D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D15S1},
         false,
         allCaps,
         D3DFMT_D32,
         false,
         "Device does not support stencilbuffer, disabling stencil buffer."},
        {"D24X8", false, {D3DFMT_D32}, false, allCaps, D3DFMT_D24X8, false, nullptr},
        {"D16", false, {D3DFMT_D32, D3DFMT_D24X8}, false, allCaps, D3DFMT_D16, false, nullptr},
        {"stencil caps lacking",
         true,
         {},
         false,
         D3DSTENCILCAPS_KEEP,
         D3DFMT_D24S8,
         false,
         "Device not able to use stencil buffer, disabling stencil buffer."},
    };
    for (const Case& c : cases) {
        parameters.stencilBuffer = c.stencil;
        runtime.script.refusedFormats = c.refused;
        runtime.script.depthStencilMismatch = c.mismatch;
        runtime.script.caps.StencilCaps = c.stencilCaps;
        ASSERT_TRUE(start()) << c.name << startLog;
        EXPECT_EQ(runtime.device()->presentParameters.AutoDepthStencilFormat, c.format) << c.name;
        EXPECT_EQ(driver->hasFeature(FEATURE_STENCIL_BUFFER), c.stencilKept) << c.name;
        if (c.warning)
            EXPECT_NE(startLog.find(std::string("WRN: ") + c.warning), std::string::npos)
                << c.name << startLog;
        else
            EXPECT_EQ(startLog.find("WRN: "), std::string::npos) << c.name << startLog;
        // Each frame clears the stencil only while the driver keeps a stencil buffer.
        runtime.log.clear();
        driver->startFrame(false, false, CColor(0), nullptr, nullptr);
        EXPECT_TRUE(runtime.logged(c.stencilKept ? "Clear(4, 0, 1065353216, 0)"
                                                 : "Clear(0, 0, 1065353216, 0)"))
            << c.name;
    }
}

TEST_F(D3D9DriverTest, VendorIdNamesTheAdapterAndDecidesAlphaToCoverage) {
    struct Case {
        uint32_t vendor;
        bool atocFormatRefused;
        const char* name;
        const char* coverageState; // the render state line alpha to coverage writes, or none
    };
    const std::string nvidiaOn = "SetRenderState(181, " + std::to_string(0x434F5441) + ")";
    const std::string atiOn = "SetRenderState(154, " + std::to_string(0x314D3241) + ")";
    const Case cases[] = {
        {0x10DE, false, "NVIDIA Corporation", nvidiaOn.c_str()},
        {0x10DE, true, "NVIDIA Corporation", nullptr},
        {0x1002, true, "ATI Technologies Inc.", atiOn.c_str()},
        {0x102B, false, "Matrox Electronic Systems Ltd.", nullptr},
        {0x121A, false, "3dfx Interactive Inc", nullptr},
        {0x5333, false, "S3 Graphics Co., Ltd.", nullptr},
        {0x8086, false, "Intel Corporation", nullptr},
        {0x1234, false, "Unknown VendorId: 4660", nullptr},
    };
    for (const Case& c : cases) {
        runtime.script.identifier.VendorId = c.vendor;
        runtime.script.refusedFormats.clear();
        if (c.atocFormatRefused)
            runtime.script.refusedFormats.insert(0x434F5441);
        ASSERT_TRUE(start()) << startLog;
        EXPECT_STREQ(driver->getAdapterDescription(), c.name);
        driver->setMaterialPass(0, CRefPointer<IMaterialPass>(new BaseStatesPass).get(), nullptr);
        RenderMaterial material;
        material.antiAliasFlags = 16;
        driver->applyMaterial(material);
        runtime.log.clear();
        driver->setRenderStates3D();
        if (c.coverageState)
            EXPECT_TRUE(runtime.logged(c.coverageState)) << c.name;
        else
            EXPECT_EQ(runtime.count("SetRenderState(181,") + runtime.count("SetRenderState(154,"),
                      0u)
                << c.name;
    }
}

TEST_F(D3D9DriverTest, WithoutAnAdapterIdentifierNoVendorIsRecorded) {
    runtime.script.identifierFails = true;
    ASSERT_TRUE(start());
    EXPECT_STREQ(driver->getAdapterDescription(), "");
    EXPECT_EQ(startLog.find("Fake Adapter"), std::string::npos);
}

TEST_F(D3D9DriverTest, FeaturesFollowTheDeviceCaps) {
    D3DCAPS9& caps = runtime.script.caps;
    caps = D3DCAPS9();
    caps.VertexShaderVersion = D3DVS_VERSION(1, 1);
    caps.PixelShaderVersion = D3DPS_VERSION(1, 3);
    caps.TextureCaps = D3DPTEXTURECAPS_POW2;
    ASSERT_TRUE(start()) << startLog;
    struct Case {
        uint32_t feature;
        bool available;
    };
    const Case cases[] = {
        {FEATURE_RENDER_TO_TEXTURE, false},
        {FEATURE_HARDWARE_TRANSFORM_LIGHTING, false},
        {FEATURE_MULTITEXTURE, true},
        {FEATURE_BILINEAR_FILTER, true},
        {FEATURE_MIP_MAPS, false},
        {FEATURE_AUTO_MIP_MAPS, false},
        {FEATURE_VERTEX_SHADER_1_1, true},
        {FEATURE_HLSL, true},
        {FEATURE_VERTEX_SHADER_2_0, false},
        {FEATURE_PIXEL_SHADER_1_3, true},
        {FEATURE_PIXEL_SHADER_1_4, false},
        {FEATURE_NON_SQUARE_TEXTURES, true},
        {FEATURE_NON_POWER_OF_TWO_TEXTURES, false},
        {FEATURE_COLOR_WRITE_MASK, false},
        {FEATURE_FRAME_BUFFER_OBJECTS, false},
        {FEATURE_COUNT, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(driver->hasFeature(c.feature), c.available) << c.feature;
    driver->setFeatureEnabled(FEATURE_MULTITEXTURE, false);
    EXPECT_FALSE(driver->hasFeature(FEATURE_MULTITEXTURE));
    // Mip maps cannot be asked of a device without them.
    EXPECT_EQ(driver->setTextureOption(TEXTURE_CREATE_MIP_MAPS, true) & TEXTURE_CREATE_MIP_MAPS,
              0u);
    EXPECT_EQ(driver->getMaxLightCount(), 0u);
}

TEST_F(D3D9DriverTest, EachDriverLoadsItsOwnDirect3DObject) {
    ASSERT_TRUE(start());
    CRefPointer<CD3D9Driver> first = driver;
    ASSERT_TRUE(start());
    EXPECT_EQ(runtime.createCalls, 2u);
    EXPECT_NE(first->getPlatformData()[2], driver->getPlatformData()[2]);
}

TEST_F(D3D9DriverTest, FramesClearBeginEndAndPresentWithTheStoredWindowAndRectangle) {
    parameters.stencilBuffer = true;
    device();
    runtime.log.clear();
    const CPixelRect source{1, 2, 30, 40};
    EXPECT_TRUE(
        driver->startFrame(true, true, CColor(0xFF102030), reinterpret_cast<void*>(9), &source));
    EXPECT_TRUE(driver->presentFrame());
    const std::vector<std::string> expected = {"Clear(7, 4279246896, 1065353216, 0)", "BeginScene",
                                               "EndScene", "Present(1 2 30 40, 9)"};
    EXPECT_EQ(runtime.log, expected);
    runtime.log.clear();
    EXPECT_TRUE(driver->startFrame(true, false, CColor(0), nullptr, nullptr));
    EXPECT_TRUE(driver->presentFrame());
    EXPECT_TRUE(runtime.logged("Clear(5, 0, 1065353216, 0)"));
    EXPECT_TRUE(runtime.logged("Present(none, 0)"));
}

TEST_F(D3D9DriverTest, FrameFailuresAreLoggedAndReported) {
    device();
    runtime.script.clearResult = D3DERR_INVALIDCALL;
    std::string log = captureLog(
        [&] { EXPECT_TRUE(driver->startFrame(true, true, CColor(0), nullptr, nullptr)); });
    EXPECT_TRUE(contains(log, "WRN: DIRECT3D9 clear failed.")) << log;
    runtime.script.beginSceneResult = D3DERR_INVALIDCALL;
    log = captureLog(
        [&] { EXPECT_FALSE(driver->startFrame(true, true, CColor(0), nullptr, nullptr)); });
    EXPECT_TRUE(contains(log, "WRN: DIRECT3D9 begin scene failed.")) << log;
    runtime.script.endSceneResult = D3DERR_INVALIDCALL;
    log = captureLog([&] { EXPECT_FALSE(driver->presentFrame()); });
    EXPECT_TRUE(contains(log, "WRN: DIRECT3D9 end scene failed.")) << log;
    EXPECT_EQ(runtime.count("Present"), 0u);
}

TEST_F(D3D9DriverTest, PresentFailuresAreNamedAndOnlyALostDeviceIsRemembered) {
    struct Case {
        HRESULT result;
        const char* line;
        bool lost;
    };
    const Case cases[] = {
        {D3DERR_DEVICELOST, "WRN: Present failed: DIRECT3D9 device lost.", true},
        {D3DERR_INVALIDCALL, "WRN: Present failed: Invalid Call", false},
        {D3DERR_DEVICEREMOVED, "WRN: Present failed: Device removed.", false},
        {E_OUTOFMEMORY, "WRN: DIRECT3D9 present failed.", false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(start());
        EXPECT_TRUE(driver->wasResetSincePresent());
        runtime.script.presentResults = {c.result};
        const std::string log = captureLog([&] { EXPECT_FALSE(driver->presentFrame()); });
        EXPECT_TRUE(contains(log, c.line)) << log;
        // Cleared even by a failed present.
        EXPECT_FALSE(driver->wasResetSincePresent());
        runtime.log.clear();
        driver->startFrame(true, false, CColor(0), nullptr, nullptr);
        EXPECT_EQ(runtime.count("TestCooperativeLevel"), c.lost ? 1u : 0u) << c.line;
    }
}

TEST_F(D3D9DriverTest, ALostDeviceSkipsFramesUntilItCanBeResetThenRestoresItsStates) {
    device();
    driver->setAmbientLight(CColorf(1.0f, 0.5f, 0.0f, 1.0f));
    runtime.script.presentResults = {D3DERR_DEVICELOST};
    driver->presentFrame();

    // Still lost at the second test: the frame is skipped after one 100 ms sleep.
    runtime.script.cooperativeLevels = {D3DERR_DEVICELOST, D3DERR_DEVICELOST};
    runtime.log.clear();
    EXPECT_FALSE(driver->startFrame(true, false, CColor(0), nullptr, nullptr));
    EXPECT_EQ(runtime.count("TestCooperativeLevel"), 2u);
    EXPECT_EQ(runtime.count("Clear"), 0u);
    EXPECT_GE(host.findCall("sleep 100"), 0);

    // Lost, then ready to reset: reset and draw.
    runtime.script.cooperativeLevels = {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET};
    runtime.device()->renderStates.clear();
    runtime.log.clear();
    const std::string log = captureLog(
        [&] { EXPECT_TRUE(driver->startFrame(true, false, CColor(0), nullptr, nullptr)); });
    EXPECT_TRUE(contains(log, "INF: Resetting D3D9 device.")) << log;
    EXPECT_TRUE(runtime.logged("Reset(0, 0)"));
    EXPECT_TRUE(runtime.logged("SetFVF(322)"));
    EXPECT_TRUE(runtime.logged("BeginScene"));
    EXPECT_TRUE(driver->wasResetSincePresent());
    // Fog and ambient light are back on the device.
    EXPECT_EQ(runtime.device()->renderState(D3DRS_AMBIENT), 0xFFFF7F00u);
    EXPECT_EQ(runtime.device()->floatRenderState(D3DRS_FOGEND), 100.0f);

    // Reset clears the lost state: the next frame does not test the device.
    runtime.log.clear();
    EXPECT_TRUE(driver->startFrame(true, false, CColor(0), nullptr, nullptr));
    EXPECT_EQ(runtime.count("TestCooperativeLevel"), 0u);
}

TEST_F(D3D9DriverTest, AFailedResetSkipsTheFrameAndNamesTheCause) {
    struct Case {
        HRESULT result;
        const char* line;
    };
    const Case cases[] = {
        {D3DERR_OUTOFVIDEOMEMORY, "WRN: Resetting failed due to out of memory."},
        {D3DERR_DRIVERINTERNALERROR, "WRN: Resetting failed due to internal error."},
        {D3DERR_DEVICELOST, "WRN: Resetting failed due to device lost."},
        {D3DERR_DEVICENOTRESET, "WRN: Resetting failed due to not reset."},
        {D3DERR_INVALIDCALL, "WRN: Resetting failed due to invalid call."},
        {D3DERR_DEVICEREMOVED, "WRN: Resetting failed due to device removed."},
        {E_OUTOFMEMORY, "WRN: Resetting failed due to unknown reason: -2147024882"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(start());
        runtime.script.presentResults = {D3DERR_DEVICELOST};
        driver->presentFrame();
        runtime.script.cooperativeLevels = {D3DERR_DEVICENOTRESET, D3DERR_DEVICENOTRESET};
        runtime.script.resetResults = {c.result};
        const std::string log = captureLog(
            [&] { EXPECT_FALSE(driver->startFrame(true, false, CColor(0), nullptr, nullptr)); });
        EXPECT_EQ(lineOf(log, "Resetting failed"), c.line);
        // Still lost: the next frame tests the device again.
        runtime.log.clear();
        EXPECT_TRUE(driver->startFrame(true, false, CColor(0), nullptr, nullptr)) << c.line;
        EXPECT_EQ(runtime.count("TestCooperativeLevel"), 1u) << c.line;
    }
}

TEST_F(D3D9DriverTest, ResizingResetsTheDeviceWithTheNewBackBufferSize) {
    device();
    runtime.log.clear();
    driver->handleResize({800, 600});
    EXPECT_TRUE(runtime.logged("Reset(800, 600)"));
    EXPECT_EQ(driver->getViewportRect().right, 800);
    EXPECT_EQ(driver->getViewportRect().bottom, 600);
    EXPECT_TRUE(driver->wasResetSincePresent());
}
