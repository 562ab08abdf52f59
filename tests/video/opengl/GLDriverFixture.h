#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"
#include "support/RecordingGL.h"
#include "support/ReferenceScenes.h"
#include "support/TestImage.h"

// What the log printed while fn ran.
template <typename Fn>
std::string captureLog(Fn fn) {
    ::testing::internal::CaptureStdout();
    fn();
    return ::testing::internal::GetCapturedStdout();
}

inline CreationParameters glParameters(uint32_t width = 64, uint32_t height = 48) {
    CreationParameters parameters;
    parameters.driverType = 3;
    parameters.width = width;
    parameters.height = height;
    parameters.bits = 32;
    return parameters;
}

using reference_scenes::flatMaterial;

// A driver on a real offscreen window under Mesa's software renderer, optionally with its GL
// calls recorded. Pixels are read back top-down through captureScreen.
class GLDriverTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.isReady()); }

    // Opens the window and the driver; with record, every GL call goes through a recorder.
    void open(CreationParameters parameters = glParameters(), bool record = false) {
        canvas.reset();
        driver.reset();
        recorder.reset();
        HostWindowDesc desc;
        desc.title = "GL test";
        desc.width = int32_t(parameters.width);
        desc.height = int32_t(parameters.height);
        window = host.createWindow(desc);
        ASSERT_NE(window, kNoHostWindow);
        parameters.windowHandle = window;
        if (record)
            recorder = std::make_unique<RecordingGL>(host.getGL());
        if (record && configureRecorder)
            configureRecorder(*recorder);
        IHostGL& gl = record ? *recorder : *host.getGL();
        driver = COpenGLRenderDriver::create(parameters, nullptr, nullptr, gl);
        ASSERT_TRUE(driver);
        canvas.emplace(ReferenceSceneCanvas{*driver, {}});
    }

    void TearDown() override {
        canvas.reset();
        driver.reset();
        recorder.reset();
    }

    CColor pixel(int32_t x, int32_t y) {
        CRefPointer<CSoftwareImage> capture = driver->captureScreen();
        return capture ? capture->pixelAt(x, y) : CColor();
    }

    CImageTexture* imageTexture(const CRefPointer<CSoftwareImage>& image) {
        return canvas->imageTexture(image);
    }
    void begin2D(CColor clearColor = CColor(0xFF000000)) { canvas->begin2D(clearColor); }

    CHostWindowSystemSdl host;
    HostWindow window = kNoHostWindow;
    std::unique_ptr<RecordingGL> recorder;
    // Runs on a new recorder before the driver is made over it.
    std::function<void(RecordingGL&)> configureRecorder;
    CRefPointer<COpenGLRenderDriver> driver;
    // The open driver's, keeping the image textures the test makes.
    std::optional<ReferenceSceneCanvas> canvas;
};

// Channels within the tolerance, for colours that pass through blending or filtering.
inline ::testing::AssertionResult nearColor(CColor actual, CColor expected, int tolerance = 2) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int((actual.value >> shift) & 0xFF);
        const int e = int((expected.value >> shift) & 0xFF);
        if (a - e > tolerance || e - a > tolerance) {
            char text[64];
            std::snprintf(text, sizeof(text), "colour %08x is not near %08x", actual.value,
                          expected.value);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}
