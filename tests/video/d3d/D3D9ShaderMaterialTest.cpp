#include <string>

#include "engine/video/IRendererServices.h"
#include "engine/video/IShaderCallback.h"
#include "engine/video/d3d/D3DX9Library.h"
#include "tests/support/d3d/FakeD3DX9.h"
#include "tests/video/d3d/D3DDriverFixture.h"

// Shader materials on the fake runtime and the fake extension library.
namespace {

// Logs what it hears and sets a named constant when asked for constants.
class RecordingCallback : public IShaderCallback {
public:
    explicit RecordingCallback(FakeD3D9Runtime& runtime) : m_runtime(runtime) {}

    void onSetMaterial(const RenderMaterial& material) override {
        m_runtime.record("onSetMaterial(" + std::to_string(material.type) + ")");
    }
    void onSetConstants(IRendererServices* services, int32_t userData) override {
        m_runtime.record("onSetConstants(" + std::to_string(userData) + ")");
        const float values[4] = {1, 2, 3, 4};
        services->setVertexShaderConstant("transform", values, 4);
    }

private:
    FakeD3D9Runtime& m_runtime;
};

class D3D9ShaderMaterialTest : public D3D9DriverTest {
protected:
    void SetUp() override {
        device();
        library.constants = {{"transform", 0, 4}, {"tint", 4, 1}};
    }

    void draw(uint32_t type) {
        RenderMaterial material;
        material.type = type;
        driver->applyMaterial(material);
        driver->setRenderStates3D();
    }

    FakeD3DX9 library{runtime};
    CRefPointer<RecordingCallback> callback{new RecordingCallback(runtime)};
};

} // namespace

TEST_F(D3D9ShaderMaterialTest, AnAssemblyMaterialSetsItsProgramsAndItsBaseRenderersStates) {
    const int32_t type = driver->createAsmMaterial("vs.1.1 mov oPos, v0", "ps.1.1 mov r0, v0",
                                                   callback.get(), MATERIAL_TRANS_ADD, 42);
    ASSERT_EQ(type, 26);
    EXPECT_EQ(driver->getMaterialPassCount(), 27u);
    EXPECT_TRUE(driver->getMaterialPass(26)->usesTransparency());
    EXPECT_TRUE(runtime.logged("CreateVertexShader(19)"));
    EXPECT_TRUE(runtime.logged("CreatePixelShader(17)"));
    EXPECT_EQ(driver->createAsmMaterial(nullptr, "ps.1.1", nullptr, MATERIAL_SOLID, 0), 27);

    runtime.log.clear();
    draw(uint32_t(type));
    EXPECT_TRUE(runtime.logged("SetVertexShader(vs19)"));
    EXPECT_TRUE(runtime.logged("SetPixelShader(ps17)"));
    EXPECT_TRUE(runtime.logged("onSetMaterial(26)"));
    EXPECT_TRUE(runtime.logged("onSetConstants(42)"));
    EXPECT_EQ(runtime.device()->renderState(D3DRS_DESTBLEND), uint32_t(D3DBLEND_INVSRCCOLOR));
    draw(MATERIAL_SOLID);
    EXPECT_EQ(runtime.device()->vertexShader, nullptr);
    EXPECT_EQ(runtime.device()->pixelShader, nullptr);
}

TEST_F(D3D9ShaderMaterialTest, AssemblyFailuresAreLoggedAndMakeNoMaterial) {
    struct Case {
        const char* vertex;
        const char* pixel;
        bool deviceRefuses;
        const char* message;
    };
    const Case cases[] = {
        {"vs error", nullptr, false, "Vertex shader compilation failed: vs error"},
        {nullptr, "ps error", false, "Pixel shader compilation failed:"},
        {nullptr, "ps error", false, "INF: ps error"},
        {"vs.1.1", nullptr, true, "Could not create vertex shader."},
        {nullptr, "ps.1.1", true, "Could not create pixel shader."},
    };
    for (const Case& c : cases) {
        runtime.script.createShaderFails = c.deviceRefuses;
        int32_t type = 0;
        const std::string log = captureLog([&] {
            type = driver->createAsmMaterial(c.vertex, c.pixel, nullptr, MATERIAL_SOLID, 0);
        });
        EXPECT_EQ(type, -1) << c.message;
        EXPECT_TRUE(contains(log, c.message)) << log;
        EXPECT_EQ(driver->getMaterialPassCount(), 26u);
    }
}

TEST_F(D3D9ShaderMaterialTest, AMissingLibraryIsReportedOnceAndDisablesShaders) {
    CD3DModuleRegistry::instance().unregisterModule("d3dx9_30.dll");
    CD3DX9Library::instance().forget();
    const std::string first = captureLog([&] {
        EXPECT_EQ(driver->createAsmMaterial("vs.1.1", nullptr, nullptr, MATERIAL_SOLID, 0), -1);
    });
    EXPECT_TRUE(contains(first, "Could not load shader function D3DXAssembleShader from dll, "
                                "shaders disabled: d3dx9_30.dll"));
    EXPECT_TRUE(contains(first, "Could not create vertex shader."));
    const std::string second = captureLog([&] {
        EXPECT_EQ(driver->createAsmMaterial(nullptr, "ps.1.1", nullptr, MATERIAL_SOLID, 0), -1);
    });
    EXPECT_FALSE(contains(second, "Could not load shader function"));
    EXPECT_TRUE(contains(second, "Could not create pixel shader."));
    // The compiler is looked up on its own, and once disabled fails without a word.
    const std::string compiled = captureLog([&] {
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(driver->createHighLevelMaterial("float4 main()", "main", 0, nullptr, "main",
                                                      0, nullptr, MATERIAL_SOLID, 0),
                      -1);
    });
    EXPECT_EQ(compiled.find("D3DXCompileShader from dll"),
              compiled.rfind("D3DXCompileShader from dll"));
    EXPECT_FALSE(contains(compiled, "Could not create"));
}

TEST_F(D3D9ShaderMaterialTest, HighLevelProgramsCompileForTheirTargetsOnly) {
    struct Case {
        int32_t vertexTarget;
        int32_t pixelTarget;
        const char* message;
    };
    const Case refused[] = {
        {4, 0, "Invalid HLSL vertex shader compilation target"},
        {-1, 0, "Invalid HLSL vertex shader compilation target"},
        {0, 8, "Invalid HLSL pixel shader compilation target"},
    };
    for (const Case& c : refused) {
        int32_t type = 0;
        const std::string log = captureLog([&] {
            type = driver->createHighLevelMaterial("vs", "main", c.vertexTarget, "ps", "main",
                                                   c.pixelTarget, nullptr, MATERIAL_SOLID, 0);
        });
        EXPECT_EQ(type, -1);
        EXPECT_TRUE(contains(log, c.message)) << c.vertexTarget << " " << c.pixelTarget;
    }
    EXPECT_EQ(runtime.count("D3DXCompileShader"), 0u);
    const std::string log = captureLog([&] {
        EXPECT_EQ(driver->createHighLevelMaterial("vs error", "main", 0, nullptr, "main", 0,
                                                  nullptr, MATERIAL_SOLID, 0),
                  -1);
    });
    EXPECT_TRUE(contains(log, "HLSL vertex shader compilation failed:"));
    EXPECT_TRUE(contains(log, "vs error"));
    EXPECT_EQ(driver->createHighLevelMaterial("float4 vs()", "vs", 3, "float4 ps()", "ps", 5,
                                              callback.get(), MATERIAL_SOLID, 7),
              26);
    EXPECT_TRUE(runtime.logged("D3DXCompileShader(vs, vs_3_0)"));
    EXPECT_TRUE(runtime.logged("D3DXCompileShader(ps, ps_2_a)"));
}

TEST_F(D3D9ShaderMaterialTest, NamedConstantsAreSetOrListedWhenUnknown) {
    const int32_t type = driver->createHighLevelMaterial("float4 vs()", "vs", 1, nullptr, "ps", 0,
                                                         callback.get(), MATERIAL_SOLID, 7);
    ASSERT_EQ(type, 26);
    runtime.log.clear();
    draw(uint32_t(type));
    // Defaults first, then the callback, whose constant reaches the table.
    const auto at = [this](const std::string& line) {
        return std::find(runtime.log.begin(), runtime.log.end(), line) - runtime.log.begin();
    };
    EXPECT_LT(at("SetDefaults"), at("onSetConstants(7)"));
    EXPECT_LT(at("onSetConstants(7)"), at("SetFloatArray(transform, 4)"));
    EXPECT_LT(at("SetFloatArray(transform, 4)"), std::ptrdiff_t(runtime.log.size()));

    const float value = 1;
    bool set = true;
    const std::string log =
        captureLog([&] { set = driver->setVertexShaderConstant("missing", &value, 1); });
    EXPECT_FALSE(set);
    EXPECT_TRUE(contains(log, "HLSL Variable to set not found: 'missing'. Available variables "
                              "are:"));
    EXPECT_TRUE(contains(log, "  'transform' Registers:[begin:0, count:4]"));
    EXPECT_TRUE(contains(log, "  'tint' Registers:[begin:4, count:1]"));
    EXPECT_FALSE(driver->setPixelShaderConstant("tint", &value, 1)) << "no pixel program";
}
