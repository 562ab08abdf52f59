#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "engine/platform/EngineDeviceFactory.h"
#include "engine/platform/VantorDeviceWin32.h"
#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/platform/host/SdlPlatform.h"
#include "platform/DeviceFixture.h"

// The device on real windows under SDL's offscreen video driver, with a null driver standing
// in for OpenGL.
namespace {

class VantorDeviceWin32SdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.isReady());
        openGLDriverFactory() = &TestOpenGLDriver::create;
        CreationParameters parameters;
        parameters.driverType = 3;
        parameters.width = 320;
        parameters.height = 240;
        device = static_cast<CVantorDeviceWin32*>(createEngineDevice(parameters, host));
        ASSERT_NE(device, nullptr);
        device->addReceiver(&recorder, 0);
    }

    void TearDown() override {
        if (device != nullptr)
            device->release();
        openGLDriverFactory() = nullptr;
    }

    // Passes of the main loop until it ends; false when it does not end within the limit.
    bool runUntilQuit(int passes = 200) {
        for (int i = 0; i < passes; ++i) {
            if (!device->runOnce())
                return true;
        }
        return false;
    }

    void pushWindowClose() {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(host.sdlWindow(device->getWindow()));
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    std::vector<uint32_t> systemEvents(std::initializer_list<uint32_t> ids) const {
        std::vector<uint32_t> seen;
        for (uint32_t id : recorder.ids()) {
            for (uint32_t wanted : ids) {
                if (id == wanted)
                    seen.push_back(id);
            }
        }
        return seen;
    }

    CHostWindowSystemSdl host;
    EventRecorder recorder;
    CVantorDeviceWin32* device = nullptr;
};

TEST_F(VantorDeviceWin32SdlTest, OpensARealWindowAndRunsFrames) {
    SDL_Window* window = host.sdlWindow(device->getWindow());
    ASSERT_NE(window, nullptr);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(CEngine::instance(), device);
    EXPECT_EQ(device->getVideoDriver()->getDriverKind(), uint32_t(DRIVER_KIND_OPENGL));
    for (int i = 0; i < 20 && recorder.count(17) == 0; ++i)
        EXPECT_TRUE(device->runOnce());
    EXPECT_GT(recorder.count(17), 0u) << "frames render";
}

TEST_F(VantorDeviceWin32SdlTest, WindowManagerCloseEndsTheLoop) {
    const HostWindow window = device->getWindow();
    pushWindowClose();
    EXPECT_TRUE(runUntilQuit());
    EXPECT_EQ(systemEvents({21, 22}), (std::vector<uint32_t>{21, 22}));
    EXPECT_FALSE(host.isWindow(window));
}

TEST_F(VantorDeviceWin32SdlTest, RefusedCloseKeepsTheWindow) {
    recorder.handled = {21};
    pushWindowClose();
    EXPECT_FALSE(runUntilQuit(30));
    EXPECT_EQ(systemEvents({21, 22}), std::vector<uint32_t>{21});
    EXPECT_TRUE(host.isWindow(device->getWindow()));
}

TEST_F(VantorDeviceWin32SdlTest, CloseDeviceEndsTheLoop) {
    device->closeDevice();
    EXPECT_TRUE(runUntilQuit());
    EXPECT_EQ(systemEvents({21, 22}), std::vector<uint32_t>{22});
}

} // namespace
