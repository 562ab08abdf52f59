#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "video/opengl/GLDriverFixture.h"

// The driver on the scripted GL facet: pixel formats, context, version and extension handling,
// and what it sends for lights and limits. No window system is involved.
namespace {

constexpr HostWindow kWindow = 7;

CRefPointer<COpenGLRenderDriver> makeDriver(RecordingGL& gl,
                                            CreationParameters parameters = glParameters()) {
    parameters.windowHandle = kWindow;
    return COpenGLRenderDriver::create(parameters, nullptr, nullptr, gl);
}

std::string choose(int colour, int alpha, int depth, int stencil, int samples) {
    return "choosePixelFormat " + std::to_string(colour) + " " + std::to_string(alpha) + " " +
           std::to_string(depth) + " " + std::to_string(stencil) + " " + std::to_string(samples);
}

TEST(OpenGLDriverContextTest, PixelFormatFallsBackPassByPass) {
    struct Case {
        const char* what;
        uint32_t bits;
        bool stencil;
        bool (*accepts)(const HostGLPixelFormat&);
        std::vector<std::string> requests;
        bool created;
    };
    const Case cases[] = {
        {"first pass",
         32,
         true,
         [](const HostGLPixelFormat&) { return true; },
         {choose(32, 0, 24, 1, 0)},
         true},
        {"stencil refused",
         32,
         true,
         [](const HostGLPixelFormat& f) { return f.stencilBits == 0; },
         {choose(32, 0, 24, 1, 0), choose(32, 0, 24, 0, 0)},
         true},
        {"only 16-bit depth",
         32,
         false,
         [](const HostGLPixelFormat& f) { return f.depthBits <= 16; },
         {choose(32, 0, 24, 0, 0), choose(32, 0, 24, 0, 0), choose(32, 0, 16, 0, 0)},
         true},
        {"16-bit colour skips the 16-bit depth pass",
         16,
         false,
         [](const HostGLPixelFormat& f) { return f.depthBits <= 16; },
         {choose(16, 0, 24, 0, 0), choose(16, 0, 24, 0, 0)},
         false},
        {"nothing at all",
         32,
         true,
         [](const HostGLPixelFormat&) { return false; },
         {choose(32, 0, 24, 1, 0), choose(32, 0, 24, 0, 0), choose(32, 0, 24, 0, 0),
          choose(32, 0, 16, 0, 0)},
         false},
    };
    for (const Case& c : cases) {
        RecordingGL gl;
        gl.acceptsFormat = c.accepts;
        CreationParameters parameters = glParameters();
        parameters.bits = c.bits;
        parameters.stencilBuffer = c.stencil;
        CRefPointer<COpenGLRenderDriver> driver;
        const std::string log = captureLog([&] { driver = makeDriver(gl, parameters); });
        EXPECT_EQ(gl.callsStartingWith("choosePixelFormat"), c.requests) << c.what;
        EXPECT_EQ(bool(driver), c.created) << c.what;
        if (!c.created) {
            EXPECT_NE(log.find("ERR: Cannot create a GL device context: No suitable format."),
                      std::string::npos)
                << c.what;
        }
    }
}

TEST(OpenGLDriverContextTest, RefusedStencilIsWarnedOnceAndSwitchesStencilShadowsOff) {
    RecordingGL gl;
    gl.acceptsFormat = [](const HostGLPixelFormat& f) { return f.stencilBits == 0; };
    CreationParameters parameters = glParameters();
    parameters.stencilBuffer = true;
    CRefPointer<COpenGLRenderDriver> driver;
    const std::string log = captureLog([&] { driver = makeDriver(gl, parameters); });
    ASSERT_TRUE(driver);
    const std::string warning =
        "WRN: Cannot create a GL device with stencil buffer, disabling stencil shadows.";
    EXPECT_NE(log.find(warning), std::string::npos);
    EXPECT_EQ(log.find(warning), log.rfind(warning));
    EXPECT_FALSE(driver->hasFeature(FEATURE_STENCIL_BUFFER));

    RecordingGL withStencil;
    CRefPointer<COpenGLRenderDriver> stencilDriver = makeDriver(withStencil, parameters);
    EXPECT_TRUE(stencilDriver->hasFeature(FEATURE_STENCIL_BUFFER));
}

TEST(OpenGLDriverContextTest, SampleCountIsLoweredUntilAFormatHasIt) {
    struct Case {
        uint8_t asked;
        int mostSamples;
        int firstRequest;
        uint8_t kept;
    };
    const Case cases[] = {
        {8, 4, 8, 4},
        {20, 16, 16, 16},
        // No multisample format at all: the count stays, the plain format is used.
        {8, 0, 8, 8},
    };
    for (const Case& c : cases) {
        RecordingGL gl;
        gl.acceptsFormat = [&](const HostGLPixelFormat& f) { return f.samples <= c.mostSamples; };
        CreationParameters parameters = glParameters();
        parameters.antiAlias = c.asked;
        parameters.depthBits = 24;
        CRefPointer<COpenGLRenderDriver> driver = makeDriver(gl, parameters);
        ASSERT_TRUE(driver);
        const std::vector<std::string> requests = gl.callsStartingWith("choosePixelFormat");
        ASSERT_GE(requests.size(), 2u);
        EXPECT_EQ(requests[1], choose(24, 8, 24, 0, c.firstRequest)) << int(c.asked);
        EXPECT_EQ(driver->getAntiAliasSamples(), c.kept) << int(c.asked);
        // Multisampling and smooth lines are on even when no format has the samples.
        EXPECT_GE(gl.count(glCall("Enable", GL_MULTISAMPLE_ARB)), 1u) << int(c.asked);
        EXPECT_EQ(gl.count(glCall("Disable", GL_MULTISAMPLE_ARB)), 0u) << int(c.asked);
        EXPECT_GE(gl.count(glCall("Enable", GL_LINE_SMOOTH)), 1u) << int(c.asked);
    }
}

TEST(OpenGLDriverContextTest, ContextThatCannotBeMadeGivesNoDriver) {
    RecordingGL gl;
    gl.refuseContext = true;
    CRefPointer<COpenGLRenderDriver> driver;
    const std::string log = captureLog([&] { driver = makeDriver(gl); });
    EXPECT_FALSE(driver);
    EXPECT_NE(log.find("ERR: Cannot create a GL rendering context."), std::string::npos);
}

TEST(OpenGLDriverContextTest, RefusedVerticalSyncIsNoError) {
    RecordingGL gl;
    CreationParameters parameters = glParameters();
    parameters.verticalSync = true;
    CRefPointer<COpenGLRenderDriver> driver;
    const std::string log = captureLog([&] { driver = makeDriver(gl, parameters); });
    EXPECT_TRUE(driver);
    EXPECT_EQ(gl.count("setSwapInterval 1"), 1u);
    EXPECT_EQ(log.find("ERR:"), std::string::npos);
}

TEST(OpenGLDriverContextTest, VersionTextGivesNumberNameAndWarning) {
    struct Case {
        const char* version;
        const char* extensions;
        const char16_t* name;
        bool oldWarning;
        bool glsl;
    };
    const Case cases[] = {
        {"1.1.0", "GL_ARB_multitexture", u"OpenGL 1.1.0", true, false},
        {"2.1.2 NVIDIA 190.40", "GL_ARB_multitexture", u"OpenGL 2.1.2", false, true},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", "GL_ARB_multitexture", u"OpenGL 4.5", false,
         true},
        {"1.5", "GL_ARB_multitexture GL_ARB_shading_language_100", u"OpenGL 1.5", false, true},
    };
    for (const Case& c : cases) {
        RecordingGL gl;
        gl.version = c.version;
        gl.extensionList = c.extensions;
        CRefPointer<COpenGLRenderDriver> driver;
        const std::string log = captureLog([&] { driver = makeDriver(gl); });
        ASSERT_TRUE(driver) << c.version;
        EXPECT_EQ(CStringW(driver->getDriverName()), CStringW(c.name)) << c.version;
        EXPECT_EQ(log.find("WRN: OpenGL driver version is not 1.2 or better.") != std::string::npos,
                  c.oldWarning)
            << c.version;
        EXPECT_EQ(driver->hasFeature(FEATURE_GLSL), c.glsl) << c.version;
    }
}

TEST(OpenGLDriverContextTest, LastExtensionNameCountsWithoutATrailingBlank) {
    RecordingGL gl;
    gl.extensionList = "GL_ARB_multitexture GL_EXT_framebuffer_object";
    CRefPointer<COpenGLRenderDriver> driver = makeDriver(gl);
    EXPECT_TRUE(driver->hasFeature(FEATURE_FRAME_BUFFER_OBJECTS));
    driver->setFeatureEnabled(FEATURE_FRAME_BUFFER_OBJECTS, false);
    EXPECT_FALSE(driver->hasFeature(FEATURE_FRAME_BUFFER_OBJECTS)) << "masked by the caller";
}

TEST(OpenGLDriverContextTest, MultitexturingNeedsItsEntryPointsAndTwoUnits) {
    struct Case {
        GLint units;
        const char* hidden;
        const char* warning;
    };
    const Case cases[] = {
        {1, "", "WRN: Warning: OpenGL device only has one texture unit. Disabling multitexturing."},
        {4, "GL_ARB_multitexture",
         "WRN: Failed to load OpenGL's multitexture extension, proceeding without."},
    };
    for (const Case& c : cases) {
        RecordingGL gl;
        gl.integers[GL_MAX_TEXTURE_UNITS_ARB] = c.units;
        gl.hiddenExtensions = {c.hidden};
        CRefPointer<COpenGLRenderDriver> driver;
        const std::string log = captureLog([&] { driver = makeDriver(gl); });
        EXPECT_FALSE(driver->hasFeature(FEATURE_MULTITEXTURE)) << c.warning;
        EXPECT_NE(log.find(c.warning), std::string::npos) << c.warning;
    }
}

TEST(OpenGLDriverContextTest, WithTwoGLLightsAThirdLightWaitsForAFreeOne) {
    RecordingGL gl;
    gl.integers[GL_MAX_LIGHTS] = 2;
    CRefPointer<COpenGLRenderDriver> driver = makeDriver(gl);
    EXPECT_EQ(driver->getMaxLightCount(), 2u);
    gl.calls.clear();
    CLight light;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(driver->addLight(light), i);
    EXPECT_EQ(gl.count(glCall("Enable", GL_LIGHT0)), 1u);
    EXPECT_EQ(gl.count(glCall("Enable", GL_LIGHT1)), 1u);
    EXPECT_EQ(gl.count(glCall("Enable", GL_LIGHT0 + 2)), 0u);

    gl.calls.clear();
    driver->setLightEnabled(0, false);
    EXPECT_EQ(gl.count(glCall("Disable", GL_LIGHT0)), 1u);
    EXPECT_EQ(gl.count(glCall("Enable", GL_LIGHT0)), 1u) << "the third light takes light 0";

    gl.calls.clear();
    driver->setLightEnabled(0, true);
    EXPECT_EQ(gl.count(glCall("Enable", GL_LIGHT0)), 0u) << "none is free for the first again";
    EXPECT_EQ(gl.count(glCall("Enable", GL_LIGHT1)), 0u);
}

TEST(OpenGLDriverContextTest, LimitsRefuseWhatTheImplementationLacks) {
    RecordingGL gl;
    CRefPointer<COpenGLRenderDriver> driver = makeDriver(gl);
    gl.calls.clear();
    std::string log = captureLog([&] {
        CVertex vertices[3] = {};
        driver->drawPrimitives(vertices, 3, nullptr, 65536, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                               PRIMITIVE_TRIANGLES);
        driver->drawPrimitives(vertices, 0, nullptr, 1, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                               PRIMITIVE_TRIANGLES);
    });
    EXPECT_NE(log.find("ERR: Could not draw triangles, too many primitives(65536), maxium is "
                       "65535."),
              std::string::npos);
    EXPECT_TRUE(gl.callsStartingWith("Draw").empty());
    driver->presentFrame();
    EXPECT_EQ(driver->getPrimitiveCount(0), 0u);

    EXPECT_FALSE(driver->setClipPlane(6, CClipPlane{}, true)) << "the scripted GL has six";
    EXPECT_TRUE(driver->setClipPlane(5, CClipPlane{}, true));

    log = captureLog([&] { EXPECT_FALSE(driver->useRenderTargetKind(1, false, false, CColor())); });
    EXPECT_NE(log.find("ERR: Fatal Error: For render textures call setRenderTarget with the "
                       "actual texture as first parameter."),
              std::string::npos);
    gl.calls.clear();
    EXPECT_FALSE(driver->useRenderTargetKind(2, false, false, CColor()));
    EXPECT_EQ(gl.count(glCall("DrawBuffer", GL_BACK)), 1u) << "drawing stays in the back buffer";
}

TEST(OpenGLDriverContextTest, ViewportAndPixelsOutsideTheTargetAreNotDrawn) {
    RecordingGL gl;
    CRefPointer<COpenGLRenderDriver> driver = makeDriver(gl);
    gl.calls.clear();
    driver->setViewportRect({70, 10, 90, 20});
    const CPixelRect& stored = driver->getViewportRect();
    EXPECT_EQ(stored.right - stored.left, 0);
    EXPECT_TRUE(gl.callsStartingWith("Viewport").empty());
    driver->setViewportRect({-5, 40, 30, 60});
    EXPECT_EQ(driver->getViewportRect().left, 0);
    EXPECT_EQ(driver->getViewportRect().bottom, 48);
    EXPECT_EQ(gl.count(glCall("Viewport", 0, 0, 30, 8)), 1u) << "GL counts rows from the bottom";

    gl.calls.clear();
    driver->plotPixel(64, 0, CColor(0xFFFFFFFF));
    EXPECT_EQ(gl.count(glCall("Begin", GL_POINTS)), 1u) << "the right edge is still accepted";
    driver->plotPixel(65, 0, CColor(0xFFFFFFFF));
    driver->plotPixel(0, 49, CColor(0xFFFFFFFF));
    EXPECT_EQ(gl.count(glCall("Begin", GL_POINTS)), 1u);
}

} // namespace
