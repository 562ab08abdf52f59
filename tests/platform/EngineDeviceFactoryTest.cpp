#include "engine/platform/EngineDeviceFactory.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/Engine.h"
#include "platform/DeviceFixture.h"

namespace {

using EngineDeviceFactoryTest = DeviceTest;

TEST_F(EngineDeviceFactoryTest, DriverThatCannotBeMadeClosesAndReleasesTheDevice) {
    struct Case {
        uint32_t driverType;
        const char* logLine;
    };
    const Case cases[] = {
        {1, "ERR: Could not create DIRECT3D8 Driver."},
        {2, "ERR: Could not create DIRECT3D9 Driver."},
        {3, "ERR: Could not create OpenGL driver."},
        {4, "ERR: OpenGLES1 driver was not compiled in."},
        {9, "ERR: Unable to create video driver of unknown type."},
    };
    // Without its registered factory the OpenGL driver cannot be made either.
    openGLDriverFactory() = nullptr;
    for (const Case& c : cases) {
        host.clearCalls();
        CEngine* engine = nullptr;
        const std::string log = captureLog(
            [&] { engine = createEngineDevice(windowed(c.driverType), host, nullptr, clock); });
        EXPECT_EQ(engine, nullptr) << c.driverType;
        EXPECT_NE(log.find(c.logLine), std::string::npos) << c.driverType << log;
        EXPECT_NE(log.find("closeDevice() was called"), std::string::npos) << c.driverType;
        uint32_t destroyed = 0;
        for (uint32_t i = 0; i < host.calls().size(); ++i)
            destroyed += std::string(host.calls()[i].c_str()).rfind("destroyWindow", 0) == 0;
        EXPECT_EQ(destroyed, 1u) << c.driverType;
        EXPECT_EQ(host.queuedMessages(), 0u) << c.driverType << ": the quit message is taken";
    }
}

TEST_F(EngineDeviceFactoryTest, DeviceThatWorksBecomesTheEngine) {
    CEngine* engine = createEngineDevice(windowed(0), host, nullptr, clock);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(CEngine::instance(), engine);
    engine->release();
}

} // namespace
