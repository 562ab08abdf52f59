#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"
#include "support/RecordingGL.h"
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

// A material that shows vertex colours and textures as they are: no lighting.
inline RenderMaterial flatMaterial(uint32_t type = MATERIAL_SOLID) {
    RenderMaterial material;
    material.type = type;
    material.lighting = false;
    return material;
}

// A driver on a real offscreen window under Mesa's software renderer, optionally with its GL
// calls recorded. Pixels are read back top-down through captureScreen.
class GLDriverTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.isReady()); }

    // Opens the window and the driver; with record, every GL call goes through a recorder.
    void open(CreationParameters parameters = glParameters(), bool record = false) {
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
    }

    void TearDown() override {
        images.clear();
        driver.reset();
        recorder.reset();
    }

    CColor pixel(int32_t x, int32_t y) {
        CRefPointer<CSoftwareImage> capture = driver->captureScreen();
        return capture ? capture->pixelAt(x, y) : CColor();
    }

    // An image texture, kept by the test, made from an image the test fills.
    CImageTexture* imageTexture(const CRefPointer<CSoftwareImage>& image) {
        CRefPointer<IDriverTexture> texture = driver->createTexture(image.get());
        CRefPointer<CImageTexture> holder(new CImageTexture(CContentKey(), u"", texture.get()));
        images.push_back(holder);
        return holder.get();
    }

    // The usual first steps of a frame's 2D drawing.
    void begin2D(CColor clearColor = CColor(0xFF000000)) {
        driver->startFrame(true, true, clearColor, nullptr, nullptr);
        driver->getQuadBatcher()->begin();
    }

    CHostWindowSystemSdl host;
    HostWindow window = kNoHostWindow;
    std::unique_ptr<RecordingGL> recorder;
    // Runs on a new recorder before the driver is made over it.
    std::function<void(RecordingGL&)> configureRecorder;
    CRefPointer<COpenGLRenderDriver> driver;
    std::vector<CRefPointer<CImageTexture>> images;
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
