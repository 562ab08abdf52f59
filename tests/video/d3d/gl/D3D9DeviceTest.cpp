#include <gtest/gtest.h>

#include "engine/core/DeviceFactory.h"
#include "engine/core/Event.h"
#include "engine/core/EventReceiver.h"
#include "engine/platform/EngineDeviceFactory.h"
#include "engine/platform/PlatformRegistration.h"
#include "engine/platform/VantorDeviceWin32.h"
#include "engine/platform/host/SdlPlatform.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"

// The program's start-up path for the default driver type 2, and for type 1: the platform library
// registers the Direct3D runtime on OpenGL, and the device on the process's window system draws
// with it.
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

// Draws a few frames through the device of the driver type and captures the last.
void expectDeviceDrawsWith(uint32_t driverType, uint32_t driverKind, const char16_t* name) {
    const DeviceFactory savedDevice = deviceFactory();
    registerPlatformLibrary();
    ASSERT_TRUE(CD3DModuleRegistry::instance().loadLibrary("d3d9.dll"));
    ASSERT_TRUE(CD3DModuleRegistry::instance().loadLibrary("d3d8.dll"));

    CreationParameters parameters;
    parameters.driverType = driverType;
    parameters.width = 160;
    parameters.height = 120;
    parameters.bits = 32;
    auto* device = static_cast<CVantorDeviceWin32*>(createEngineDevice(parameters));
    ASSERT_NE(device, nullptr);
    IRenderDriver* driver = device->getVideoDriver();
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->getDriverKind(), driverKind);
    EXPECT_EQ(CStringW(driver->getDriverName()), CStringW(name));
    EXPECT_TRUE(sdlHostWindowSystem().isWindow(device->getWindow()));

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
    CD3DModuleRegistry::instance().unregisterModule("d3d9.dll");
    CD3DModuleRegistry::instance().unregisterModule("d3d8.dll");
    CD3DModuleRegistry::instance().setHostWindowSystem(nullptr);
    deviceFactory() = savedDevice;
}

TEST(D3D9DeviceTest, TheDefaultDriverTypeDrawsWithDirect3D9AndPresentsFrames) {
    expectDeviceDrawsWith(2, DRIVER_KIND_DIRECT3D9, u"Direct3D 9.0");
}

TEST(D3D9DeviceTest, DriverTypeOneDrawsWithDirect3D8AndPresentsFrames) {
    expectDeviceDrawsWith(1, DRIVER_KIND_DIRECT3D8, u"Direct3D 8.1");
}

} // namespace
