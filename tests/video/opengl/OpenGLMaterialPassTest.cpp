#include <gtest/gtest.h>

#include <algorithm>

#include "engine/video/QuadBatcher.h"
#include "video/opengl/GLDriverFixture.h"

// The fixed-function material passes: the colour each one puts over a blue background, and
// which states they send when materials follow one another.
namespace {

constexpr uint32_t kBackground = 0xFF0000C8;

class OpenGLMaterialPassTest : public GLDriverTest {
protected:
    // A material of the type whose texture has one colour.
    RenderMaterial material(uint32_t type, uint32_t texel, float parameter = 0) {
        RenderMaterial m = flatMaterial(type);
        m.typeParameter = parameter;
        m.layerCount = 1;
        m.layers[0].texture =
            imageTexture(makeTestImage(4, 4, [texel](int32_t, int32_t) { return texel; }));
        return m;
    }

    // One 8 x 8 quad of the material, drawn at once.
    void draw(const RenderMaterial& m, float x, float y, CColor color) {
        const CVector2d corners[4] = {{x, y}, {x + 8, y}, {x + 8, y + 8}, {x, y + 8}};
        const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        CQuadBatcher& batch = *driver->getQuadBatcher();
        batch.addQuad(&m, corners, texCoords, 0, color);
        batch.flush();
    }
};

TEST_F(OpenGLMaterialPassTest, EachPassBlendsAsItsTypeSays) {
    struct Case {
        const char* what;
        uint32_t type;
        float parameter;
        uint32_t texel;
        uint32_t vertex;
        uint32_t expected;
    };
    const Case cases[] = {
        {"solid ignores alpha", MATERIAL_SOLID, 0, 0x80FF0000, 0xFFFFFFFF, 0xFF0000},
        {"additive", MATERIAL_TRANS_ADD, 0, 0xFF800000, 0xFFFFFFFF, 0x8000C8},
        {"alpha 100 under reference 0.5", MATERIAL_TRANS_ALPHACH, 0.5f, 0x64FF0000, 0xFFFFFFFF,
         0x0000C8},
        {"alpha 100 over reference 0.25", MATERIAL_TRANS_ALPHACH, 0.25f, 0x64FF0000, 0xFFFFFFFF,
         0x64007A},
        {"reference 0 means 0.5, alpha 127 passes", MATERIAL_TRANS_ALPHACH, 0, 0x7FFF0000,
         0xFFFFFFFF, 0x7F0064},
        {"tested, unblended, tinted", MATERIAL_TRANS_ALPHACH_REF, 0, 0xC8FF0000, 0xFF808080,
         0x800000},
        {"tested away", MATERIAL_TRANS_ALPHACH_REF, 0, 0x64FF0000, 0xFFFFFFFF, 0x0000C8},
        {"vertex alpha", MATERIAL_TRANS_VERTEX_ALPHA, 0, 0x00FF0000, 0x80FFFFFF, 0x800064},
        {"one-texture blend 67079: alpha blending", MATERIAL_ONETEXTURE_BLEND, 67079.0f, 0x80FF0000,
         0xFFFFFFFF, 0x800064},
        {"one-texture blend scaled twice", MATERIAL_ONETEXTURE_BLEND, float(0x020607), 0x80400000,
         0xFFFFFFFF, 0x400064},
        {"one-texture blend of source colour over nothing", MATERIAL_ONETEXTURE_BLEND,
         float(0x0400), 0x80FF0000, 0xFFFFFFFF, 0xFF0000},
        {"texture and vertex alpha", MATERIAL_TRANS_ALPHACH_VERTEXALPHA, 0, 0x80FF0000, 0x80FFFFFF,
         0x400096},
        {"added vertex colour", MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD, 0, 0xFF400000, 0xFF004000,
         0x404000},
    };
    open();
    begin2D(CColor(kBackground));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const float x = float(i % 6) * 10;
        const float y = float(i / 6) * 10;
        draw(material(c.type, c.texel, c.parameter), x, y, CColor(c.vertex));
        EXPECT_TRUE(nearColor(pixel(int32_t(x) + 4, int32_t(y) + 4), CColor(c.expected), 2))
            << c.what;
    }
}

// Sprites lie at depth 1 and nine-grid frames at depth 0: a sprite drawn first must not hide
// a frame drawn over it.
TEST_F(OpenGLMaterialPassTest, SpriteTypesWriteNoDepth) {
    open();
    begin2D(CColor(kBackground));
    const uint32_t types[] = {MATERIAL_TRANS_ALPHACH_VERTEXALPHA,
                              MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD};
    for (size_t i = 0; i < std::size(types); ++i) {
        RenderMaterial below = material(types[i], 0xFFFF0000);
        RenderMaterial above = material(types[i], 0xFF00FF00);
        below.depthTest = above.depthTest = 1;
        // The texel's own colour: modulated by white, or black added.
        const CColor vertex(types[i] == MATERIAL_TRANS_ALPHACH_VERTEXALPHA ? 0xFFFFFFFF
                                                                           : 0xFF000000);
        const float x = float(i) * 10;
        const CVector2d corners[4] = {{x, 0}, {x + 8, 0}, {x + 8, 8}, {x, 8}};
        const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        CQuadBatcher& batch = *driver->getQuadBatcher();
        batch.addQuad(&below, corners, texCoords, 1, vertex);
        batch.addQuad(&above, corners, texCoords, 0, vertex);
        batch.flush();
        EXPECT_TRUE(nearColor(pixel(int32_t(x) + 4, 4), CColor(0x00FF00), 2)) << types[i];
    }
}

TEST_F(OpenGLMaterialPassTest, StatesAreSentOnlyWhenTheyChange) {
    open(glParameters(), true);
    const RenderMaterial additive = material(MATERIAL_TRANS_ADD, 0xFF800000);
    begin2D();
    draw(additive, 0, 0, CColor(0xFFFFFFFF));
    recorder->calls.clear();
    draw(additive, 10, 0, CColor(0xFFFFFFFF));
    EXPECT_EQ(recorder->count(glCall("BlendFunc", GL_ONE, GL_ONE_MINUS_SRC_COLOR)), 0u);
    EXPECT_EQ(recorder->count(glCall("Enable", GL_BLEND)), 0u);
    EXPECT_TRUE(recorder->callsStartingWith("ShadeModel").empty());
    EXPECT_EQ(recorder->callsStartingWith("DrawElements").size(), 1u);

    recorder->calls.clear();
    RenderMaterial solid = additive;
    solid.type = MATERIAL_SOLID;
    draw(solid, 20, 0, CColor(0xFFFFFFFF));
    const auto& calls = recorder->calls;
    const auto blendOff = std::find(calls.begin(), calls.end(), glCall("Disable", GL_BLEND));
    const auto modulate =
        std::find(calls.begin(), calls.end(),
                  glCall("TexEnvi", GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE));
    ASSERT_NE(blendOff, calls.end()) << "the additive pass undoes its blending";
    ASSERT_NE(modulate, calls.end());
    EXPECT_LT(blendOff, modulate) << "before the solid pass applies";

    RenderMaterial tested = material(MATERIAL_TRANS_ALPHACH, 0xFFFFFFFF, 0.5f);
    draw(tested, 30, 0, CColor(0xFFFFFFFF));
    recorder->calls.clear();
    tested.typeParameter = 0.25f;
    draw(tested, 40, 0, CColor(0xFFFFFFFF));
    EXPECT_EQ(recorder->count(glCall("AlphaFunc", GL_GEQUAL, 63.0f / 255.0f)), 1u)
        << "a new reference alone applies the pass again";
}

// A frame as the game draws it: 2D first, then the sphere-mapped quad in 3D. The picture and
// the caller's texture matrix stay the same from frame to frame.
TEST_F(OpenGLMaterialPassTest, SphereMapIsTheSameEveryFrameAndLeavesTheTextureMatrix) {
    open();
    RenderMaterial sphere = flatMaterial(MATERIAL_SPHERE_MAP);
    sphere.backFaceCulling = false;
    sphere.layerCount = 1;
    sphere.layers[0].texture = imageTexture(makeTestImage(8, 8, [](int32_t x, int32_t y) {
        return 0xFF000000u | uint32_t(x * 32) << 16 | uint32_t(y * 32) << 8;
    }));
    CVertexNormal quad[4];
    const float xs[4] = {-1, 1, 1, -1};
    const float ys[4] = {1, 1, -1, -1};
    for (int k = 0; k < 4; ++k) {
        quad[k].position = CVector3d(xs[k], ys[k], 0.5f);
        quad[k].normal = CVector3d(0.3f * xs[k], 0.6f * ys[k], -0.7f);
        quad[k].color = CColor(0xFFFFFFFF);
    }
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    uint32_t frames[2] = {};
    for (uint32_t& frame : frames) {
        driver->applyMaterial(flatMaterial());
        begin2D();
        driver->getQuadBatcher()->end();
        driver->setRenderStates3D();
        driver->applyMaterial(sphere);
        driver->drawIndexedTriangles(quad, 4, indices, 2);
        frame = pixel(16, 8).value;
        driver->presentFrame();
    }
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_TRUE(driver->getMatrix(TRANSFORM_TEXTURE_0).isIdentity());
}

} // namespace
