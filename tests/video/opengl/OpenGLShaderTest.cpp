#include <gtest/gtest.h>

#include <functional>

#include "engine/video/IRendererServices.h"
#include "engine/video/IShaderCallback.h"
#include "engine/video/QuadBatcher.h"
#include "video/opengl/GLDriverFixture.h"

// Shader materials: assembly programs and programs in the shading language, compiled by Mesa,
// placed after the built-in material types and drawn.
namespace {

using OpenGLShaderTest = GLDriverTest;

constexpr const char* kPassThroughVertexProgram =
    "!!ARBvp1.0\n"
    "DP4 result.position.x, state.matrix.mvp.row[0], vertex.position;\n"
    "DP4 result.position.y, state.matrix.mvp.row[1], vertex.position;\n"
    "DP4 result.position.z, state.matrix.mvp.row[2], vertex.position;\n"
    "DP4 result.position.w, state.matrix.mvp.row[3], vertex.position;\n"
    "MOV result.color, vertex.color;\n"
    "END\n";
constexpr const char* kConstantFragmentProgram = "!!ARBfp1.0\n"
                                                 "MOV result.color, program.local[0];\n"
                                                 "END\n";
constexpr const char* kVertexShader =
    "void main() { gl_Position = ftransform(); gl_FrontColor = gl_Color; }";
constexpr const char* kTintShader =
    "uniform vec4 tint; void main() { gl_FragColor = tint * gl_Color; }";

// Sets the constants the test gives, and remembers whether the last one was taken.
class Callback : public IShaderCallback {
public:
    void onSetMaterial(const RenderMaterial&) override { ++materials; }
    void onSetConstants(IRendererServices* services, int32_t userData) override {
        lastUserData = userData;
        if (setConstants)
            accepted = setConstants(*services);
    }

    std::function<bool(IRendererServices&)> setConstants;
    int materials = 0;
    int32_t lastUserData = 0;
    bool accepted = false;
};

void drawQuad(COpenGLRenderDriver& driver, uint32_t type, float x) {
    RenderMaterial material = flatMaterial();
    material.type = type;
    const CVector2d corners[4] = {{x, 0}, {x + 8, 0}, {x + 8, 8}, {x, 8}};
    const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    CQuadBatcher& batch = *driver.getQuadBatcher();
    batch.addQuad(&material, corners, texCoords, 0, CColor(0xFFFFFFFF));
    batch.flush();
}

TEST_F(OpenGLShaderTest, AssemblyProgramsCompileDrawAndTakeTheNextFreeType) {
    open();
    CRefPointer<Callback> callback(new Callback());
    callback->setConstants = [](IRendererServices& services) {
        const float green[4] = {0, 1, 0, 1};
        services.setPixelShaderConstants(green, 0, 1);
        return true;
    };
    const int32_t both = driver->createAsmMaterial(
        kPassThroughVertexProgram, kConstantFragmentProgram, callback.get(), MATERIAL_SOLID, 7);
    const int32_t pixelOnly = driver->createAsmMaterial(nullptr, kConstantFragmentProgram,
                                                        callback.get(), MATERIAL_SOLID, 8);
    EXPECT_EQ(both, 26);
    EXPECT_EQ(pixelOnly, 27);
    begin2D();
    drawQuad(*driver, uint32_t(both), 0);
    EXPECT_EQ(callback->lastUserData, 7);
    drawQuad(*driver, uint32_t(pixelOnly), 10);
    EXPECT_EQ(callback->lastUserData, 8);
    EXPECT_GE(callback->materials, 2);
    EXPECT_EQ(pixel(4, 4).value & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(pixel(14, 4).value & 0xFFFFFF, 0x00FF00u);
    drawQuad(*driver, MATERIAL_SOLID, 20);
    EXPECT_EQ(pixel(24, 4).value & 0xFFFFFF, 0xFFFFFFu) << "the programs are off again";
}

TEST_F(OpenGLShaderTest, APixelProgramAloneLeavesTheVertexStageFixed) {
    open(glParameters(), true);
    const int32_t type =
        driver->createAsmMaterial(nullptr, kConstantFragmentProgram, nullptr, MATERIAL_SOLID, 0);
    EXPECT_EQ(recorder->callsStartingWith("GenProgramsARB").size(), 1u);
    begin2D();
    drawQuad(*driver, uint32_t(type), 0);
    EXPECT_EQ(recorder->count(glCall("Enable", GL_FRAGMENT_PROGRAM_ARB)), 1u);
    EXPECT_EQ(recorder->count(glCall("Enable", GL_VERTEX_PROGRAM_ARB)), 0u);
}

TEST_F(OpenGLShaderTest, ProgramsThatDoNotBuildMakeNoMaterial) {
    open();
    const uint32_t passes = driver->getMaterialPassCount();
    std::string log = captureLog([&] {
        EXPECT_EQ(driver->createAsmMaterial(nullptr, "!!ARBfp1.0\nNOPE;\nEND\n", nullptr,
                                            MATERIAL_SOLID, 0),
                  -1);
    });
    EXPECT_NE(log.find("INF: Pixel shader compilation failed at position"), std::string::npos);
    log = captureLog([&] {
        EXPECT_EQ(driver->createHighLevelMaterial(kVertexShader, "main", 0, "void main() { nope }",
                                                  "main", 0, nullptr, MATERIAL_SOLID, 0),
                  -1);
    });
    EXPECT_NE(log.find("INF: GLSL shader failed to compile"), std::string::npos);
    log = captureLog([&] {
        EXPECT_EQ(driver->createHighLevelMaterial(kVertexShader, "main", 0,
                                                  "void helper(); void main() { helper(); }",
                                                  "main", 0, nullptr, MATERIAL_SOLID, 0),
                  -1);
    });
    EXPECT_NE(log.find("INF: GLSL shader program failed to link"), std::string::npos);
    EXPECT_EQ(driver->getMaterialPassCount(), passes);
}

TEST_F(OpenGLShaderTest, ShadingLanguageProgramsSetUniformsByName) {
    open(glParameters(), true);
    CRefPointer<Callback> callback(new Callback());
    callback->setConstants = [](IRendererServices& services) {
        const float tint[4] = {1, 0.5f, 0, 1};
        return services.setPixelShaderConstant("tint", tint, 4);
    };
    const int32_t tinted = driver->createHighLevelMaterial(
        kVertexShader, "main", 0, kTintShader, "main", 0, callback.get(), MATERIAL_SOLID, 3);
    ASSERT_EQ(tinted, 26);
    begin2D();
    drawQuad(*driver, uint32_t(tinted), 0);
    EXPECT_TRUE(callback->accepted);
    EXPECT_TRUE(nearColor(pixel(4, 4), CColor(0xFFFF8000), 1));

    CRefPointer<Callback> noUniforms(new Callback());
    noUniforms->setConstants = [](IRendererServices& services) {
        const float value[4] = {1, 1, 1, 1};
        return services.setPixelShaderConstant("tint", value, 4);
    };
    const int32_t plain = driver->createHighLevelMaterial(
        kVertexShader, "main", 0, "void main() { gl_FragColor = gl_Color; }", "main", 0,
        noUniforms.get(), MATERIAL_SOLID, 0);
    drawQuad(*driver, uint32_t(plain), 10);
    EXPECT_FALSE(noUniforms->accepted) << "a program without uniforms takes no constant";
    EXPECT_EQ(pixel(14, 4).value & 0xFFFFFF, 0xFFFFFFu);

    CRefPointer<Callback> matrices(new Callback());
    matrices->setConstants = [](IRendererServices& services) {
        float values[32] = {};
        values[0] = values[5] = values[10] = values[15] = 1;
        values[16] = values[21] = values[26] = values[31] = 1;
        return services.setPixelShaderConstant("pair", values, 32);
    };
    const int32_t matrixType = driver->createHighLevelMaterial(
        "uniform mat4 pair[2]; void main() { gl_Position = pair[0] * pair[1] * ftransform(); "
        "gl_FrontColor = gl_Color; }",
        "main", 0, nullptr, "main", 0, matrices.get(), MATERIAL_SOLID, 0);
    recorder->calls.clear();
    drawQuad(*driver, uint32_t(matrixType), 20);
    EXPECT_FALSE(matrices->accepted) << "the uniform is named pair[0]";
    matrices->setConstants = [](IRendererServices& services) {
        float values[32] = {};
        return services.setPixelShaderConstant("pair[0]", values, 32);
    };
    drawQuad(*driver, uint32_t(matrixType), 20);
    EXPECT_TRUE(matrices->accepted);
    const std::vector<std::string> sets = recorder->callsStartingWith("UniformMatrix4fvARB");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_NE(sets[0].find(" 2 0 ptr"), std::string::npos) << "32 floats are two matrices";
}

TEST_F(OpenGLShaderTest, SamplerUniformsTakeTheUnitNumberNotTheFloatsBits) {
    open();
    CRefPointer<Callback> callback(new Callback());
    callback->setConstants = [](IRendererServices& services) {
        const float unit = 1.0f;
        return services.setPixelShaderConstant("second", &unit, 1);
    };
    const int32_t type = driver->createHighLevelMaterial(
        kVertexShader, "main", 0,
        "uniform sampler2D second; void main() { gl_FragColor = texture2D(second, vec2(0.5)); }",
        "main", 0, callback.get(), MATERIAL_SOLID, 0);
    RenderMaterial material = flatMaterial();
    material.type = uint32_t(type);
    material.layerCount = 2;
    material.layers[0].texture =
        imageTexture(makeTestImage(2, 2, [](int32_t, int32_t) { return 0xFFFF0000u; }));
    material.layers[1].texture =
        imageTexture(makeTestImage(2, 2, [](int32_t, int32_t) { return 0xFF00FF00u; }));
    begin2D();
    const CVector2d corners[4] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
    const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    driver->getQuadBatcher()->addQuad(&material, corners, texCoords, 0, CColor(0xFFFFFFFF));
    driver->getQuadBatcher()->flush();
    EXPECT_TRUE(callback->accepted);
    EXPECT_EQ(pixel(4, 4).value & 0xFFFFFF, 0x00FF00u) << "the second layer's texture";
}

} // namespace
