#include <string>

#include "support/GoldenImage.h"
#include "support/ReferenceScenes.h"
#include "tests/video/d3d/gl/D3D9GLFixture.h"

// The reference scenes through both Direct3D drivers on the GL runtime, compared with the OpenGL
// driver's golden pictures of them: the same picture on every driver. A failure writes the
// picture drawn and its difference as golden-output/d3d<n>-<golden>.*.png.
namespace {

// Pixels whose edges llvmpipe may place apart between the two ways of drawing.
constexpr int64_t kEdgePixels = 4;

class D3DReferenceSceneTest : public D3D9GLTest {
protected:
    static constexpr int32_t kWidth = int32_t(kReferenceSceneWidth);
    static constexpr int32_t kHeight = int32_t(kReferenceSceneHeight);

    void expectScenesAsOpenGL(uint32_t driverType) {
        const std::string prefix = driverType == 1 ? "d3d8-" : "d3d9-";
        for (const ReferenceScene& scene : kReferenceScenes) {
            d3d.reset();
            openD3D(kWidth, kHeight, driverType);
            ReferenceSceneCanvas canvas{*d3d, {}};
            scene.draw(canvas);
            EXPECT_TRUE(matchesGoldenOf(*backBuffer(), scene.golden, prefix + scene.golden, 3,
                                        kEdgePixels));
            EXPECT_TRUE(d3d->presentFrame()) << scene.golden;
        }
    }

    // The back buffer as drawn, read through the runtime's GL context.
    CRefPointer<CSoftwareImage> backBuffer() {
        CRefPointer<CSoftwareImage> image =
            CSoftwareImage::create(CContentKey(), COLOR_FORMAT_R8G8B8, kWidth, kHeight);
        const GLFunctions& gl = static_cast<CGLDirect3DDevice9*>(device)->functions();
        gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
        for (int32_t y = 0; y < kHeight; ++y)
            gl.ReadPixels(0, kHeight - 1 - y, kWidth, 1, GL_RGB, GL_UNSIGNED_BYTE,
                          image->getData() + size_t(y) * size_t(image->getPitch()));
        return image;
    }
};

} // namespace

TEST_F(D3DReferenceSceneTest, Direct3D9DrawsTheReferenceScenesAsOpenGLDoes) {
    expectScenesAsOpenGL(2);
}

TEST_F(D3DReferenceSceneTest, Direct3D8DrawsTheReferenceScenesAsOpenGLDoes) {
    expectScenesAsOpenGL(1);
}
