#include "engine/platform/host/HostGLSdl.h"

#include <gtest/gtest.h>

#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/HostWindowSystemSdl.h"

// Runs under SDL's offscreen video driver on Mesa's software renderer.
namespace {

class HostGLSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.isReady());
        ASSERT_NE(host.getGL(), nullptr);
        HostWindowDesc desc;
        desc.title = "GL";
        desc.width = 64;
        desc.height = 48;
        window = host.createWindow(desc);
        ASSERT_NE(window, kNoHostWindow);
    }

    IHostGL& gl() { return *host.getGL(); }

    // A window with a 32-bit format, its context current.
    HostGLContext openContext() {
        HostGLPixelFormat wanted;
        wanted.depthBits = 24;
        const int32_t format = gl().choosePixelFormat(wanted);
        EXPECT_GT(format, 0);
        EXPECT_TRUE(gl().setPixelFormat(window, format));
        const HostGLContext context = gl().createContext(window);
        EXPECT_NE(context, kNoHostGLContext);
        EXPECT_TRUE(gl().makeCurrent(window, context));
        return context;
    }

    CHostWindowSystemSdl host;
    HostWindow window = kNoHostWindow;
};

TEST_F(HostGLSdlTest, FormatsDescribeWhatTheContextGot) {
    HostGLPixelFormat wanted;
    wanted.depthBits = 24;
    wanted.stencilBits = 1;
    const int32_t format = gl().choosePixelFormat(wanted);
    ASSERT_GT(format, 0);
    HostGLPixelFormat described;
    ASSERT_TRUE(gl().describePixelFormat(format, described));
    EXPECT_EQ(described.redBits, 8);
    EXPECT_GE(described.depthBits, 24);
    EXPECT_GE(described.stencilBits, 1);
    EXPECT_FALSE(gl().describePixelFormat(format + 100, described));
    EXPECT_FALSE(gl().setPixelFormat(window, format + 100));
}

// For the log: asked before any context, with none current, and again with one current, which
// stays current.
TEST_F(HostGLSdlTest, TheRendererIsDescribedWithOrWithoutACurrentContext) {
    CString renderer;
    CString version;
    ASSERT_TRUE(gl().describeRenderer(renderer, version));
    EXPECT_FALSE(renderer.isEmpty());
    EXPECT_GE(parseGLVersion(version.c_str()), 100u) << version.c_str();
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
    openContext();
    SDL_GLContext current = SDL_GL_GetCurrentContext();
    CString again;
    ASSERT_TRUE(gl().describeRenderer(again, version));
    EXPECT_EQ(again, renderer);
    EXPECT_EQ(SDL_GL_GetCurrentContext(), current);
}

TEST_F(HostGLSdlTest, AFormatSetOnAWindowKeepsItsHandleAndSize) {
    const HostGLContext context = openContext();
    EXPECT_TRUE(host.isWindow(window));
    HostRect client;
    ASSERT_TRUE(host.getClientRect(window, client));
    EXPECT_EQ(client.width(), 64);
    EXPECT_EQ(client.height(), 48);
    EXPECT_TRUE(gl().makeCurrent(window, kNoHostGLContext));
    EXPECT_TRUE(gl().deleteContext(context));
    EXPECT_FALSE(gl().deleteContext(context));
}

TEST_F(HostGLSdlTest, DrawsThroughTheLoadedTable) {
    openContext();
    GLFunctions functions;
    const char* missing = "none";
    ASSERT_TRUE(functions.load(gl(), &missing));
    EXPECT_EQ(missing, nullptr);
    functions.ClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    functions.Clear(GL_COLOR_BUFFER_BIT);
    uint8_t pixel[4] = {};
    functions.ReadPixels(3, 3, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 0);
    EXPECT_TRUE(gl().swapBuffers(window));
}

TEST_F(HostGLSdlTest, LookupAnswersOnlyFunctionsTheContextOffers) {
    EXPECT_EQ(gl().getProcAddress("glClear"), nullptr) << "no context current";
    openContext();
    EXPECT_NE(gl().getProcAddress("glClear"), nullptr);
    EXPECT_NE(SDL_GL_GetProcAddress("glFooBar"), nullptr) << "SDL answers any name";
    EXPECT_EQ(gl().getProcAddress("glFooBar"), nullptr);
}

} // namespace
