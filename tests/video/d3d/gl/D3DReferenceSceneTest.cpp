#include <cstdlib>
#include <string>

#include "engine/video/opengl/OpenGLRenderDriver.h"
#include "support/ReferenceScenes.h"
#include "tests/video/d3d/gl/D3D9GLFixture.h"

// The reference scenes through both Direct3D drivers on the GL runtime, beside the OpenGL driver
// drawing them. Fills, sprites, materials of one texture, fog, light and render targets come out
// the same; what Direct3D itself does differently may not: a gradient rectangle splits along
// the other diagonal, lines and single pixels on pixel corners round to the other side, images
// are placed half a pixel off and filter across their edges, a second texture read through
// coordinates the vertices lack, and camera-space sphere coordinates. Each scene has a budget
// of differing pixels that holds those and catches anything more.
namespace {

constexpr int kTolerance = 3;

struct Budget {
    const char* golden;
    int differing;
};

const Budget kBudgets[kReferenceSceneCount] = {
    // The gradient's diagonal (1,200 pixels), lines and the plotted pixels.
    {"gl-flat-shapes", 1500},
    // Corner colours along the other diagonal; scaled images half a pixel off.
    {"gl-images", 1450},
    {"gl-fog-and-light", 40},
    // onetexture_blend takes the texture's alpha alone; the vertex-alpha discs differ at their
    // rims.
    {"gl-materials-single-texture", 650},
    // The detail map's second coordinates and the sphere maps.
    {"gl-materials-two-layers", 3700},
    // The triangle's lines and the scaled target's edges.
    {"gl-render-target", 350},
};

class D3DReferenceSceneTest : public D3D9GLTest {
protected:
    static constexpr int32_t kWidth = int32_t(kReferenceSceneWidth);
    static constexpr int32_t kHeight = int32_t(kReferenceSceneHeight);

    void expectScenesAsOpenGL(uint32_t driverType) {
        for (size_t i = 0; i < kReferenceSceneCount; ++i) {
            const ReferenceScene& scene = kReferenceScenes[i];
            const CRefPointer<CSoftwareImage> expected = drawnByOpenGL(scene);
            ASSERT_TRUE(expected) << scene.golden;
            // One device at a time: each draws on the GL context it made current.
            d3d.reset();
            openD3D(kWidth, kHeight, driverType);
            ReferenceSceneCanvas canvas{*d3d, {}};
            scene.draw(canvas);
            const int differing = countDiffering(*backBuffer(), *expected);
            EXPECT_LE(differing, kBudgets[i].differing) << scene.golden;
            EXPECT_TRUE(d3d->presentFrame()) << scene.golden;
        }
    }

    CRefPointer<CSoftwareImage> drawnByOpenGL(const ReferenceScene& scene) {
        d3d.reset();
        CRefPointer<COpenGLRenderDriver> gl = COpenGLRenderDriver::create(
            parametersFor(3, openWindow(kWidth, kHeight), kWidth, kHeight), nullptr, nullptr,
            *host.getGL());
        if (!gl)
            return nullptr;
        ReferenceSceneCanvas canvas{*gl, {}};
        scene.draw(canvas);
        return gl->captureScreen();
    }

    // The back buffer as drawn, read through the runtime's GL context.
    CRefPointer<CSoftwareImage> backBuffer() {
        CRefPointer<CSoftwareImage> image =
            CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, kWidth, kHeight);
        const GLFunctions& gl = static_cast<CGLDirect3DDevice9*>(device)->functions();
        gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
        for (int32_t y = 0; y < kHeight; ++y)
            gl.ReadPixels(0, kHeight - 1 - y, kWidth, 1, GL_BGRA, GL_UNSIGNED_BYTE,
                          image->getData() + size_t(y) * size_t(image->getPitch()));
        return image;
    }

    static int countDiffering(const CSoftwareImage& actual, const CSoftwareImage& expected) {
        int differing = 0;
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                const uint32_t a = actual.pixelAt(x, y).value;
                const uint32_t e = expected.pixelAt(x, y).value;
                for (int shift = 0; shift < 24; shift += 8) {
                    if (std::abs(int((a >> shift) & 0xFF) - int((e >> shift) & 0xFF)) >
                        kTolerance) {
                        ++differing;
                        break;
                    }
                }
            }
        }
        return differing;
    }
};

} // namespace

TEST_F(D3DReferenceSceneTest, Direct3D9DrawsTheReferenceScenesAsOpenGLDoes) {
    expectScenesAsOpenGL(2);
}

TEST_F(D3DReferenceSceneTest, Direct3D8DrawsTheReferenceScenesAsOpenGLDoes) {
    expectScenesAsOpenGL(1);
}
