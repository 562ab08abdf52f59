#include <gtest/gtest.h>

#include "engine/video/QuadBatcher.h"
#include "support/GoldenImage.h"
#include "support/ReferenceScenes.h"
#include "video/opengl/GLDriverFixture.h"

// Reference scenes drawn by the OpenGL driver and compared with their golden pictures. Every
// driver draws these scenes the same way.
namespace {

using reference_scenes::addQuad;
using reference_scenes::checkerTexel;

constexpr uint32_t kWidth = kReferenceSceneWidth;
constexpr uint32_t kHeight = kReferenceSceneHeight;

class OpenGLDriverPictureTest : public GLDriverTest {
protected:
    void expectScene(size_t index) {
        const ReferenceScene& scene = kReferenceScenes[index];
        open(glParameters(kWidth, kHeight));
        scene.draw(*canvas);
        EXPECT_TRUE(matchesGolden(*driver->captureScreen(), scene.golden));
    }
};

TEST_F(OpenGLDriverPictureTest, FlatShapes) {
    expectScene(0);
}

TEST_F(OpenGLDriverPictureTest, Images) {
    expectScene(1);
}

TEST_F(OpenGLDriverPictureTest, FogAndLight) {
    expectScene(2);
}

TEST_F(OpenGLDriverPictureTest, SingleTextureMaterials) {
    expectScene(3);
}

TEST_F(OpenGLDriverPictureTest, TwoLayerMaterials) {
    expectScene(4);
}

TEST_F(OpenGLDriverPictureTest, RenderTarget) {
    expectScene(5);
}

TEST_F(OpenGLDriverPictureTest, LinesAndPixels) {
    expectScene(6);
}

TEST_F(OpenGLDriverPictureTest, ShaderMaterials) {
    open(glParameters(kWidth, kHeight));
    const int32_t asmType = driver->createAsmMaterial(
        nullptr,
        "!!ARBfp1.0\nTEMP t;\nTEX t, fragment.texcoord[0], texture[0], 2D;\n"
        "MUL result.color, t, fragment.color;\nEND\n",
        nullptr, MATERIAL_SOLID, 0);
    const int32_t glslType = driver->createHighLevelMaterial(
        "void main() { gl_Position = ftransform(); gl_TexCoord[0] = gl_MultiTexCoord0; "
        "gl_FrontColor = gl_Color; }",
        "main", 0,
        "uniform sampler2D image; void main() { vec4 t = texture2D(image, gl_TexCoord[0].st); "
        "gl_FragColor = vec4(t.gbr, 1.0) * gl_Color; }",
        "main", 0, nullptr, MATERIAL_SOLID, 0);
    ASSERT_GE(asmType, 26);
    ASSERT_GE(glslType, 26);
    begin2D(CColor(0xFF101010));
    CImageTexture* checker = imageTexture(makeTestImage(8, 8, checkerTexel));
    CQuadBatcher& batch = *driver->getQuadBatcher();
    batch.begin();
    const int32_t types[] = {asmType, glslType};
    for (int i = 0; i < 2; ++i) {
        RenderMaterial material = flatMaterial(uint32_t(types[i]));
        material.layerCount = 1;
        material.layers[0].texture = checker;
        const float x = 4 + 46 * float(i);
        addQuad(batch, material, x, 8, x + 40, 64, CColor(0xFFFFC080));
    }
    batch.end();
    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "gl-shader-materials"));
}

} // namespace
