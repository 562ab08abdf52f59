#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/core/DeviceFactory.h"
#include "engine/core/Event.h"
#include "engine/core/EventReceiver.h"
#include "engine/platform/DriverFactories.h"
#include "engine/platform/EngineDeviceFactory.h"
#include "engine/platform/PlatformRegistration.h"
#include "engine/platform/VantorDeviceWin32.h"
#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/video/IShaderServices.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

// The program's start-up path for driver type 3: the registered maker gives the device an
// OpenGL driver on its own window, and frames drawn from the render event reach the window.
namespace {

constexpr uint32_t kRenderEvent = 17;

// Draws every frame the engine asks for, as the application's render handler does.
class FramePainter : public CEventReceiver {
public:
    FramePainter() { setCategoryMask(0xFFFFFFFFu); }

    bool OnEvent(CEvent& event) override {
        if (event.getTypeId() != kRenderEvent)
            return false;
        IRenderDriver* driver = CEngine::instance()->getVideoDriver();
        if (driver->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr)) {
            RenderMaterial unlit;
            unlit.lighting = false;
            driver->applyMaterial(unlit);
            driver->drawRect(CColor(0xFF20A040), {0, 0, 160, 120}, nullptr);
            presented += driver->presentFrame() ? 1 : 0;
        }
        return false;
    }

    int presented = 0;
};

TEST(OpenGLDeviceTest, DriverType3OpensItsWindowAndPresentsFrames) {
    const DeviceFactory savedDevice = deviceFactory();
    registerPlatformLibrary();
    EXPECT_EQ(openGLDriverFactory(), &createOpenGLDriver);

    CHostWindowSystemSdl host;
    ASSERT_TRUE(host.isReady());
    CreationParameters parameters;
    parameters.driverType = 3;
    parameters.width = 160;
    parameters.height = 120;
    parameters.bits = 32;
    auto* device = static_cast<CVantorDeviceWin32*>(createEngineDevice(parameters, host));
    ASSERT_NE(device, nullptr);
    IRenderDriver* driver = device->getVideoDriver();
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->getDriverKind(), uint32_t(DRIVER_KIND_OPENGL));
    EXPECT_EQ(CStringW(driver->getDriverName()).subString(0, 7), CStringW(u"OpenGL "));
    EXPECT_TRUE(host.isWindow(device->getWindow()));

    CRefPointer<FramePainter> painter(new FramePainter());
    device->addReceiver(painter.get(), 0);
    for (int i = 0; i < 200 && painter->presented < 3; ++i)
        device->runOnce();
    EXPECT_GE(painter->presented, 3);
    CRefPointer<CSoftwareImage> frame = driver->captureScreen();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->pixelAt(80, 60).value, 0xFF20A040u);

    device->removeReceiver(painter.get());
    device->release();
    openGLDriverFactory() = nullptr;
    deviceFactory() = savedDevice;
}

// The content processors hold the driver too. The device lets every holder go while GL is
// still loaded, so the shader materials delete their programs before the window takes GL away.
TEST(OpenGLDeviceTest, ShutsDownCleanlyWithShaderMaterials) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            registerPlatformLibrary();
            CHostWindowSystemSdl host;
            CreationParameters parameters;
            parameters.driverType = 3;
            parameters.width = 64;
            parameters.height = 48;
            parameters.bits = 32;
            CEngine* device = createEngineDevice(parameters, host);
            IShaderServices* shaders =
                device ? device->getVideoDriver()->getShaderServices() : nullptr;
            const bool made =
                shaders &&
                shaders->createHighLevelMaterial("void main() { gl_Position = ftransform(); }",
                                                 "main", 0,
                                                 "void main() { gl_FragColor = vec4(1.0); }",
                                                 "main", 0, nullptr, MATERIAL_SOLID, 0) >= 0 &&
                shaders->createAsmMaterial(nullptr,
                                           "!!ARBfp1.0\nMOV result.color, fragment.color;\nEND\n",
                                           nullptr, MATERIAL_SOLID, 0) >= 0;
            if (device)
                device->release();
            std::exit(made ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
