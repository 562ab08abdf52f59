#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/D3DDriverFactories.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/Direct3D8On9.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "engine/video/d3d/host/GLDirect3DDevice9.h"
#include "tests/support/TestImage.h"

struct Rgb {
    int r;
    int g;
    int b;
};

inline CreationParameters parametersFor(uint32_t driverType, HostWindow window, int32_t width,
                                        int32_t height) {
    CreationParameters parameters;
    parameters.driverType = driverType;
    parameters.width = uint32_t(width);
    parameters.height = uint32_t(height);
    parameters.bits = 32;
    parameters.stencilBuffer = true;
    parameters.windowHandle = window;
    return parameters;
}

// Unlit, both faces: vertex colours as they are.
inline RenderMaterial flatMaterial(uint32_t type = MATERIAL_SOLID) {
    RenderMaterial material;
    material.type = type;
    material.lighting = false;
    material.backFaceCulling = false;
    return material;
}

// A Direct3D driver on the GL runtime, drawing into an offscreen SDL window on Mesa.
class D3D9GLTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.isReady()); }

    void TearDown() override {
        d3d.reset();
        CD3DModuleRegistry::instance().unregisterModule("d3d9.dll");
        CD3DModuleRegistry::instance().unregisterModule("d3d8.dll");
        CD3DModuleRegistry::instance().setHostWindowSystem(nullptr);
    }

    HostWindow openWindow(int32_t width, int32_t height) {
        HostWindowDesc desc;
        desc.title = "Direct3D 9";
        desc.width = width;
        desc.height = height;
        const HostWindow window = host.createWindow(desc);
        EXPECT_NE(window, kNoHostWindow);
        return window;
    }

    // The Direct3D 9 driver, or the Direct3D 8 one for driver type 1.
    void openD3D(int32_t width, int32_t height, uint32_t driverType = 2) {
        CD3DModuleRegistry::instance().setHostWindowSystem(&host);
        registerGLDirect3DModules(host);
        const CreationParameters parameters =
            parametersFor(driverType, openWindow(width, height), width, height);
        d3d = driverType == 1 ? createD3D8Driver(parameters, nullptr)
                              : createD3D9Driver(parameters, nullptr);
        ASSERT_NE(d3d, nullptr);
        device = driverType == 1
                     ? static_cast<CDirect3DDevice8On9*>(
                           reinterpret_cast<IDirect3DDevice8*>(d3d->getPlatformData()[3]))
                           ->getDevice9()
                     : reinterpret_cast<IDirect3DDevice9*>(d3d->getPlatformData()[3]);
        m_height = height;
    }

    // A pixel of the Direct3D back buffer, counted from the top-left corner.
    Rgb pixel(int32_t x, int32_t y) {
        const GLFunctions& gl = static_cast<CGLDirect3DDevice9*>(device)->functions();
        uint8_t rgba[4] = {};
        gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
        gl.ReadPixels(x, m_height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2]};
    }

    // The driver's texture of an image, as a material layer holds it.
    CImageTexture* imageTexture(const CRefPointer<CSoftwareImage>& image) {
        CRefPointer<IDriverTexture> texture = d3d->createTexture(image.get());
        holders.push_back(
            CRefPointer<CImageTexture>(new CImageTexture(CContentKey(), u"", texture.get())));
        return holders.back().get();
    }

    static void expectNear(Rgb actual, Rgb expected, int tolerance, const std::string& where) {
        EXPECT_LE(std::abs(actual.r - expected.r), tolerance) << where << " red " << actual.r;
        EXPECT_LE(std::abs(actual.g - expected.g), tolerance) << where << " green " << actual.g;
        EXPECT_LE(std::abs(actual.b - expected.b), tolerance) << where << " blue " << actual.b;
    }

    CHostWindowSystemSdl host;
    CRefPointer<IRenderDriver> d3d;
    IDirect3DDevice9* device = nullptr;
    std::vector<CRefPointer<CImageTexture>> holders;

private:
    int32_t m_height = 0;
};
