#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/video/d3d/D3D9Driver.h"
#include "engine/video/d3d/D3DFixedFunctionRenderer.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "support/FakeHostWindowSystem.h"
#include "tests/support/d3d/FakeD3D9Runtime.h"
#include "tests/support/d3d/FakeDirect3DDevice9.h"

// A Direct3D 9 driver on the fake runtime, sleeping on the fake window layer's clock.
class D3D9DriverTest : public testing::Test {
protected:
    D3D9DriverTest() {
        CD3DModuleRegistry::instance().setHostWindowSystem(&host);
        parameters.driverType = 2;
        parameters.width = 640;
        parameters.height = 480;
        parameters.bits = 32;
        parameters.windowHandle = 7;
    }
    ~D3D9DriverTest() override {
        driver.reset();
        CD3DModuleRegistry::instance().setHostWindowSystem(nullptr);
    }

    // Makes the driver and initialises its device as the factory does; the log lines written
    // meanwhile go to startLog.
    bool start() {
        testing::internal::CaptureStdout();
        driver = CRefPointer<CD3D9Driver>(new CD3D9Driver(parameters, nullptr));
        const bool started = driver->initDevice(parameters);
        startLog = testing::internal::GetCapturedStdout();
        return started;
    }

    // Starts, or fails the test.
    FakeDirect3DDevice9& device() {
        if (!driver) {
            EXPECT_TRUE(start()) << startLog;
        }
        return *runtime.device();
    }

    template <typename Fn>
    static std::string captureLog(Fn fn) {
        testing::internal::CaptureStdout();
        fn();
        return testing::internal::GetCapturedStdout();
    }

    static bool contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    FakeHostWindowSystem host;
    FakeD3D9Runtime runtime;
    CreationParameters parameters;
    CRefPointer<CD3D9Driver> driver;
    std::string startLog;
};
