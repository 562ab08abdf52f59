#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/video/d3d/D3D8Driver.h"
#include "engine/video/d3d/D3D9Driver.h"
#include "engine/video/d3d/D3DFixedFunctionRenderer.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "support/FakeHostWindowSystem.h"
#include "tests/support/TestImage.h"
#include "tests/support/d3d/FakeD3D9Runtime.h"
#include "tests/support/d3d/FakeDirect3DDevice9.h"

// A Direct3D driver on the fake runtime, sleeping on the fake window layer's clock.
template <class Driver>
class D3DDriverTestBase : public testing::Test {
protected:
    D3DDriverTestBase() {
        CD3DModuleRegistry::instance().setHostWindowSystem(&host);
        parameters.driverType = std::is_same_v<Driver, CD3D8Driver> ? 1 : 2;
        parameters.width = 640;
        parameters.height = 480;
        parameters.bits = 32;
        parameters.windowHandle = 7;
    }
    ~D3DDriverTestBase() override {
        driver.reset();
        CD3DModuleRegistry::instance().setHostWindowSystem(nullptr);
    }

    // Makes the driver and initialises its device as the factory does; the log lines written
    // meanwhile go to startLog.
    bool start() {
        testing::internal::CaptureStdout();
        driver = CRefPointer<Driver>(new Driver(parameters, nullptr));
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

    // The last draw's vertices as type-1 records.
    std::vector<CVertexNormal> normalVertices() const {
        const std::vector<uint8_t>& bytes = runtime.device()->lastVertices;
        std::vector<CVertexNormal> vertices(bytes.size() / sizeof(CVertexNormal));
        std::memcpy(vertices.data(), bytes.data(), vertices.size() * sizeof(CVertexNormal));
        return vertices;
    }

    static bool contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    FakeHostWindowSystem host;
    FakeD3D9Runtime runtime;
    CreationParameters parameters;
    CRefPointer<Driver> driver;
    std::string startLog;
};

using D3D9DriverTest = D3DDriverTestBase<CD3D9Driver>;
using D3D8DriverTest = D3DDriverTestBase<CD3D8Driver>;
