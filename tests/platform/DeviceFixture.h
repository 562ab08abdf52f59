#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/MonotonicClock.h"
#include "engine/platform/DriverFactories.h"
#include "engine/platform/VantorDeviceWin32.h"
#include "engine/video/NullRenderDriver.h"
#include "support/FakeHostWindowSystem.h"

// Time that moves only with the fake window system's tick count, so the device's sleeps move
// the engine's clock.
class HostTickClock : public IClockSource {
public:
    explicit HostTickClock(FakeHostWindowSystem& host) : m_host(host) {}

    bool queryFrequency(uint64_t& countsPerSecond) override {
        countsPerSecond = 1000;
        return true;
    }
    bool queryCounter(uint64_t& counts) override {
        counts = m_host.tickCount;
        return true;
    }
    uint32_t getTickCount() override { return m_host.tickCount; }

private:
    FakeHostWindowSystem& m_host;
};

// A null driver that answers as the OpenGL one, for the device's driver type 3.
class TestOpenGLDriver : public CNullRenderDriver {
public:
    using CNullRenderDriver::CNullRenderDriver;
    uint32_t getDriverKind() const override { return DRIVER_KIND_OPENGL; }

    // How many window-system calls the fake had logged when the last driver was made.
    static inline uint32_t callsAtCreation = 0;

    static CRefPointer<IRenderDriver> create(const CreationParameters& parameters,
                                             IVirtualFileSystem* fileSystem,
                                             CRefPointer<CTimer> timer, IHostWindowSystem& host) {
        if (auto* fake = dynamic_cast<FakeHostWindowSystem*>(&host))
            callsAtCreation = fake->calls().size();
        return CRefPointer<IRenderDriver>(new TestOpenGLDriver(parameters, fileSystem, timer));
    }
};

// Keeps every event it is offered and handles the type ids it is told to.
class EventRecorder : public CEventReceiver {
public:
    EventRecorder() { setCategoryMask(0xFFFFFFFFu); }
    ~EventRecorder() override = default;

    bool OnEvent(CEvent& event) override {
        events.push_back(CRefPointer<CEvent>::share(&event));
        for (uint32_t id : handled) {
            if (id == event.getTypeId())
                return true;
        }
        return false;
    }

    std::vector<uint32_t> ids() const {
        std::vector<uint32_t> result;
        for (const auto& event : events)
            result.push_back(event->getTypeId());
        return result;
    }
    uint32_t count(uint32_t id) const {
        uint32_t n = 0;
        for (const auto& event : events)
            n += event->getTypeId() == id ? 1 : 0;
        return n;
    }
    // The last event of the type, or null.
    template <typename T>
    const T* last() const {
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if ((*it)->getTypeId() == T::Id)
                return static_cast<const T*>(it->get());
        }
        return nullptr;
    }

    std::vector<CRefPointer<CEvent>> events;
    std::vector<uint32_t> handled;
};

// A device on the fake window system with a recorder at priority 0. By default it opens an
// 800 x 600 window with the test OpenGL driver.
class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override { openGLDriverFactory() = &TestOpenGLDriver::create; }
    void TearDown() override {
        device.reset();
        openGLDriverFactory() = nullptr;
    }

    static CreationParameters windowed(uint32_t driverType = 3) {
        CreationParameters parameters;
        parameters.driverType = driverType;
        return parameters;
    }
    static CreationParameters fullScreen() {
        CreationParameters parameters = windowed();
        parameters.fullScreen = true;
        return parameters;
    }

    void make(const CreationParameters& parameters = windowed()) {
        device = CRefPointer<CVantorDeviceWin32>(
            new CVantorDeviceWin32(parameters, host, nullptr, clock));
        device->addReceiver(&recorder, 0);
        recorder.events.clear();
        host.clearCalls();
    }

    HostWindow window() const { return device->getWindow(); }

    int64_t send(uint32_t message, uint64_t wParam = 0, int32_t x = 0, int32_t y = 0) {
        HostMessage record;
        record.window = window();
        record.message = message;
        record.wParam = wParam;
        record.x = x;
        record.y = y;
        return device->windowProc(record);
    }

    void queue(uint32_t message, uint64_t wParam = 0) {
        HostMessage record;
        record.window = message == WM_QUIT ? kNoHostWindow : window();
        record.message = message;
        record.wParam = wParam;
        host.postMessage(record);
    }

    bool called(const char* text) const { return host.findCall(text) >= 0; }

    FakeHostWindowSystem host;
    HostTickClock clock{host};
    EventRecorder recorder;
    CRefPointer<CVantorDeviceWin32> device;
};

// The lines the logger writes while fn runs.
template <typename Fn>
std::string captureLog(Fn fn) {
    ::testing::internal::CaptureStdout();
    fn();
    return ::testing::internal::GetCapturedStdout();
}
