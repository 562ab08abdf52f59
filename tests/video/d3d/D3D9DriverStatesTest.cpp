#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "engine/video/d3d/D3D9MaterialPass.h"
#include "tests/video/d3d/D3DDriverFixture.h"

namespace {

// A renderer that logs its calls into the runtime's log and sets the shared states as the
// driver's own renderers do.
class LoggingPass : public CD3D9MaterialPass {
public:
    LoggingPass(FakeD3D9Runtime& runtime, const char* name) : m_runtime(runtime), m_name(name) {}

    void applyStates(const RenderMaterial& material, const RenderMaterial& last, bool reset,
                     IRendererServices* services) override {
        m_runtime.record(m_name + ".applyStates(" + std::to_string(reset) + ")");
        services->setBaseRenderStates(material, last, reset);
    }
    bool beforeDraw(IRendererServices*, uint32_t) override { return drawAnswer; }
    void restoreStates() override { m_runtime.record(m_name + ".restoreStates"); }
    bool setVariable(bool vertex, const char* name, const float*, int32_t count) override {
        m_runtime.record(m_name + ".setVariable(" + std::to_string(vertex) + ", " + name + ", " +
                         std::to_string(count) + ")");
        return true;
    }

    bool drawAnswer = true;

private:
    FakeD3D9Runtime& m_runtime;
    std::string m_name;
};

class D3D9StatesTest : public D3D9DriverTest {
protected:
    // Places logging renderers at types 0 and 12 and starts.
    void SetUp() override {
        device();
        driver->setMaterialPass(MATERIAL_SOLID, solid.get(), nullptr);
        driver->setMaterialPass(MATERIAL_TRANS_ADD, transAdd.get(), nullptr);
        draw3D(RenderMaterial());
        runtime.log.clear();
    }

    bool draw3D(const RenderMaterial& material) {
        driver->applyMaterial(material);
        return driver->setRenderStates3D();
    }

    size_t renderStatesSent() const { return runtime.count("SetRenderState("); }

    CRefPointer<LoggingPass> solid{new LoggingPass(runtime, "solid")};
    CRefPointer<LoggingPass> transAdd{new LoggingPass(runtime, "transAdd")};
};

} // namespace

TEST_F(D3D9StatesTest, TheSameMaterialTwiceSendsNothingTheSecondTime) {
    RenderMaterial material;
    material.wireframe = true;
    material.depthTest = 3;
    draw3D(material);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_FILLMODE), uint32_t(D3DFILL_WIREFRAME));
    runtime.log.clear();
    draw3D(material);
    EXPECT_TRUE(runtime.log.empty()) << runtime.log.front();
}

TEST_F(D3D9StatesTest, EachStateGroupIsWrittenOnlyWhenItsFieldsChanged) {
    struct Case {
        const char* name;
        void (*change)(RenderMaterial&);
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"lighting", [](RenderMaterial& m) { m.lighting = false; }, {"SetRenderState(137, 0)"}},
        {"flat", [](RenderMaterial& m) { m.smoothShading = false; }, {"SetRenderState(9, 1)"}},
        {"points", [](RenderMaterial& m) { m.pointCloud = true; }, {"SetRenderState(8, 1)"}},
        {"depth writes",
         [](RenderMaterial& m) { m.depthWrite = false; },
         {"SetRenderState(14, 0)"}},
        {"front faces",
         [](RenderMaterial& m) { m.frontFaceCulling = true; },
         {"SetRenderState(22, 2)"}},
        {"no culling",
         [](RenderMaterial& m) { m.backFaceCulling = false; },
         {"SetRenderState(22, 1)"}},
        {"fog", [](RenderMaterial& m) { m.fog = true; }, {"SetRenderState(28, 1)"}},
        {"normals",
         [](RenderMaterial& m) { m.normalizeNormals = true; },
         {"SetRenderState(143, 1)"}},
        {"depth off keeps the function",
         [](RenderMaterial& m) { m.depthTest = 0; },
         {"SetRenderState(7, 0)"}},
        {"depth greater",
         [](RenderMaterial& m) { m.depthTest = 6; },
         {"SetRenderState(7, 1)", "SetRenderState(23, 5)"}},
        {"depth past the table", [](RenderMaterial& m) { m.depthTest = 8; }, {}},
        {"colour mask red and alpha",
         [](RenderMaterial& m) { m.colorWriteMask = 1 | 2; },
         {"SetRenderState(168, 9)"}},
        {"point size",
         [](RenderMaterial& m) { m.thickness = 2.0f; },
         {"SetRenderState(154, 1073741824)"}},
        {"colour material alone writes its five states",
         [](RenderMaterial& m) { m.colorMaterial = 5; },
         {"SetRenderState(141, 1)", "SetRenderState(145, 1)", "SetRenderState(147, 1)",
          "SetRenderState(148, 0)", "SetRenderState(146, 0)"}},
    };
    for (const Case& c : cases) {
        RenderMaterial material;
        c.change(material);
        runtime.log.clear();
        draw3D(material);
        std::vector<std::string> sent;
        for (const std::string& line : runtime.log) {
            if (line.rfind("Set", 0) == 0)
                sent.push_back(line);
        }
        std::vector<std::string> expected = c.lines;
        std::sort(sent.begin(), sent.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sent, expected) << c.name;
        draw3D(RenderMaterial());
    }
}

TEST_F(D3D9StatesTest, ColoursGoToTheDeviceMaterialAsFloats) {
    RenderMaterial material;
    material.diffuseColor = CColor(0x80FF0000);
    material.emissiveColor = CColor(0xFF000033);
    material.shininess = 12.0f;
    draw3D(material);
    const D3DMATERIAL9& sent = runtime.device()->material;
    EXPECT_FLOAT_EQ(sent.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(sent.Diffuse.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(sent.Emissive.b, 0.2f);
    EXPECT_FLOAT_EQ(sent.Ambient.g, 1.0f);
    EXPECT_FLOAT_EQ(sent.Power, 12.0f);
}

TEST_F(D3D9StatesTest, AResetDoesNotRewriteTheColourMaterial) {
    driver->setRenderStates2D();
    runtime.log.clear();
    draw3D(RenderMaterial());
    EXPECT_TRUE(runtime.logged("solid.applyStates(1)"));
    EXPECT_TRUE(runtime.logged("SetRenderState(137, 1)"));
    EXPECT_EQ(runtime.count("SetRenderState(141,"), 0u);
    EXPECT_EQ(runtime.count("SetRenderState(145,"), 0u);
}

TEST_F(D3D9StatesTest, TextureLayersSetTheirSamplers) {
    RenderMaterial material;
    material.layerCount = 2;
    material.layers[0].lodBias = -8;
    material.layers[0].wrapMode = 3;
    material.layers[1].wrapMode = 4;
    material.layers[1].trilinearFilter = true;
    material.layers[1].anisotropy = 16;
    material.layers[2].wrapMode = 1;
    draw3D(material);
    const FakeDirect3DDevice9& d = *runtime.device();
    EXPECT_EQ(d.samplerState(0, D3DSAMP_MIPMAPLODBIAS), floatBits(-1.0f));
    EXPECT_EQ(d.samplerState(0, D3DSAMP_ADDRESSU), uint32_t(D3DTADDRESS_BORDER));
    EXPECT_EQ(d.samplerState(1, D3DSAMP_ADDRESSV), uint32_t(D3DTADDRESS_MIRROR));
    // The device's anisotropy is the cap of the wanted one.
    EXPECT_EQ(d.samplerState(1, D3DSAMP_MAGFILTER), uint32_t(D3DTEXF_ANISOTROPIC));
    EXPECT_EQ(d.samplerState(1, D3DSAMP_MINFILTER), uint32_t(D3DTEXF_ANISOTROPIC));
    EXPECT_EQ(d.samplerState(1, D3DSAMP_MAXANISOTROPY), 8u);
    EXPECT_EQ(d.samplerState(1, D3DSAMP_MIPFILTER), uint32_t(D3DTEXF_LINEAR));
    // Only the layers in use.
    EXPECT_EQ(runtime.count("SetSamplerState(2,"), 0u);
}

TEST_F(D3D9StatesTest, FiltersFollowTheLayerAndTheDeviceCaps) {
    struct Case {
        bool bilinear;
        bool trilinear;
        uint8_t anisotropy;
        uint32_t filterCaps;
        uint32_t mag;
        uint32_t min;
        uint32_t mip;
    };
    const uint32_t allCaps = D3DPTFILTERCAPS_MAGFANISOTROPIC | D3DPTFILTERCAPS_MINFANISOTROPIC;
    const Case cases[] = {
        {false, false, 0, allCaps, D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_NONE},
        {true, false, 0, allCaps, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_POINT},
        {false, false, 4, D3DPTFILTERCAPS_MINFANISOTROPIC, D3DTEXF_LINEAR, D3DTEXF_ANISOTROPIC,
         D3DTEXF_POINT},
        {false, false, 4, 0, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_POINT},
    };
    for (const Case& c : cases) {
        runtime.script.caps.TextureFilterCaps = c.filterCaps;
        ASSERT_TRUE(start());
        driver->setMaterialPass(MATERIAL_SOLID, solid.get(), nullptr);
        RenderMaterial material;
        material.layerCount = 1;
        material.layers[0].bilinearFilter = c.bilinear;
        material.layers[0].trilinearFilter = c.trilinear;
        material.layers[0].anisotropy = c.anisotropy;
        // Coming back from 2D writes every state.
        driver->setRenderStates2D();
        runtime.log.clear();
        draw3D(material);
        const FakeDirect3DDevice9& d = *runtime.device();
        EXPECT_EQ(d.samplerState(0, D3DSAMP_MAGFILTER), c.mag) << c.filterCaps;
        EXPECT_EQ(d.samplerState(0, D3DSAMP_MINFILTER), c.min) << c.filterCaps;
        EXPECT_EQ(d.samplerState(0, D3DSAMP_MIPFILTER), c.mip) << c.filterCaps;
        EXPECT_EQ(runtime.count("SetSamplerState(0, 10,"),
                  c.mag == D3DTEXF_ANISOTROPIC || c.min == D3DTEXF_ANISOTROPIC ? 1u : 0u);
    }
}

TEST_F(D3D9StatesTest, NoLayersNoSamplerStates) {
    RenderMaterial material;
    material.layerCount = 0;
    material.layers[0].lodBias = 4;
    driver->setRenderStates2D();
    runtime.log.clear();
    draw3D(material);
    EXPECT_TRUE(runtime.logged("solid.applyStates(1)"));
    EXPECT_EQ(runtime.count("SetSamplerState"), 0u);
}

TEST_F(D3D9StatesTest, ColourMaskNeedsTheDeviceCap) {
    runtime.script.caps.PrimitiveMiscCaps = 0;
    ASSERT_TRUE(start());
    driver->setMaterialPass(MATERIAL_SOLID, solid.get(), nullptr);
    RenderMaterial material;
    material.colorWriteMask = 2;
    draw3D(material);
    EXPECT_EQ(runtime.count("SetRenderState(168,"), 0u);
}

TEST_F(D3D9StatesTest, MultisamplingAndLineSmoothingFollowTheMaterialWhenTheDeviceHasSamples) {
    parameters.antiAlias = 4;
    runtime.script.multiSampleLevels = {4};
    ASSERT_TRUE(start());
    driver->setMaterialPass(MATERIAL_SOLID, solid.get(), nullptr);
    RenderMaterial material;
    material.antiAliasFlags = 2;
    draw3D(material);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_MULTISAMPLEANTIALIAS), 1u);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_ANTIALIASEDLINEENABLE, 7), 0u);
    material.antiAliasFlags = 4;
    draw3D(material);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_MULTISAMPLEANTIALIAS), 0u);
    EXPECT_EQ(runtime.device()->renderState(D3DRS_ANTIALIASEDLINEENABLE), 1u);
}

// An alpha test or a sphere map of the old type would otherwise stay on under the next
// material or image, in 3D and in 2D alike.
TEST_F(D3D9StatesTest, ChangingTypeRestoresTheOldRendererFirst) {
    RenderMaterial material;
    material.type = MATERIAL_TRANS_ADD;
    draw3D(material);
    const std::vector<std::string> expected = {"solid.restoreStates", "transAdd.applyStates(0)"};
    EXPECT_EQ(std::vector<std::string>(runtime.log.begin(), runtime.log.begin() + 2), expected);
    material.type = MATERIAL_SOLID;
    driver->applyMaterial(material);
    runtime.log.clear();
    driver->setRenderStates2D();
    const auto at = [this](const std::string& line) {
        return std::find(runtime.log.begin(), runtime.log.end(), line) - runtime.log.begin();
    };
    EXPECT_LT(at("transAdd.restoreStates"), at("solid.applyStates(1)"));
    EXPECT_LT(at("solid.applyStates(1)"), std::ssize(runtime.log));
    // Images leave the material's states; a second image finds them gone already.
    runtime.log.clear();
    driver->set2DImageStates(false, true, true);
    driver->set2DImageStates(false, true, true);
    EXPECT_EQ(runtime.count("solid.restoreStates"), 1u);
    // Back from images nothing is left to restore.
    runtime.log.clear();
    material.type = MATERIAL_TRANS_ADD;
    driver->applyMaterial(material);
    driver->setRenderStates2D();
    EXPECT_EQ(runtime.count("solid.restoreStates"), 0u);
    EXPECT_TRUE(runtime.logged("transAdd.applyStates(1)"));
}

TEST_F(D3D9StatesTest, ModesAnswerTheRenderersBeforeDraw) {
    solid->drawAnswer = false;
    EXPECT_FALSE(draw3D(RenderMaterial()));
    EXPECT_FALSE(driver->setRenderStates2D());
    // An empty slot draws with whatever is set.
    RenderMaterial material;
    material.type = MATERIAL_LIGHTMAP;
    EXPECT_TRUE(draw3D(material));
    EXPECT_TRUE(driver->setRenderStates2D());
}

TEST_F(D3D9StatesTest, TwoDModeSetsAPixelProjectionOnlyWhenTransformsChanged) {
    driver->setRenderStates2D();
    const D3DMATRIX& projection = runtime.device()->transforms[D3DTS_PROJECTION];
    const float expected[16] = {
        2.0f / 640,        0, 0, 0, 0, -2.0f / 480, 0, 0, 0, 0, 1.0f / 20000, 0, -1.0f - 1.0f / 640,
        1.0f + 1.0f / 480, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(projection.m[i], expected[i]) << i;
    EXPECT_TRUE(runtime.logged("SetRenderState(52, 0)"));
    runtime.log.clear();
    driver->setRenderStates2D();
    EXPECT_EQ(runtime.count("SetTransform"), 0u);
    driver->setMatrix(TRANSFORM_WORLD, CMatrix4());
    runtime.log.clear();
    driver->setRenderStates2D();
    EXPECT_TRUE(runtime.logged("SetTransform(2)"));
    EXPECT_TRUE(runtime.logged("SetTransform(3)"));
    EXPECT_FALSE(runtime.logged("SetTransform(256)"));
}

TEST_F(D3D9StatesTest, ThreeDModeSendsTheStoredTransformsAfterAnotherMode) {
    CMatrix4 view;
    view.set(3, 0, 5.0f);
    driver->setMatrix(TRANSFORM_VIEW, view);
    EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_VIEW].m[12], 5.0f);
    EXPECT_FLOAT_EQ(driver->getMatrix(TRANSFORM_VIEW).at(3, 0), 5.0f);
    driver->setRenderStates2D();
    EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_VIEW].m[12], 0.0f);
    runtime.log.clear();
    draw3D(RenderMaterial());
    EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_VIEW].m[12], 5.0f);
    EXPECT_TRUE(runtime.logged("SetTransform(256)"));
    EXPECT_TRUE(runtime.logged("SetTransform(3)"));
    EXPECT_TRUE(runtime.logged("solid.applyStates(1)"));
}

TEST_F(D3D9StatesTest, TextureMatricesSetTheirStageTransform) {
    CMatrix4 scroll;
    scroll.set(2, 0, 0.25f);
    driver->setMatrix(TRANSFORM_TEXTURE_0 + 1, scroll);
    EXPECT_TRUE(runtime.logged("SetTextureStageState(1, 24, 2)"));
    EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_TEXTURE0 + 1].m[8], 0.25f);
    driver->setMatrix(TRANSFORM_TEXTURE_0, CMatrix4());
    EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_TEXTURE0].m[0], 1.0f);
}

TEST_F(D3D9StatesTest, ShaderConstantsReachTheDeviceOrTheCurrentRenderer) {
    const float values[8] = {};
    driver->setVertexShaderConstants(values, 3, 2);
    driver->setPixelShaderConstants(values, 1, 1);
    driver->setVertexShaderConstants(nullptr, 0, 1);
    EXPECT_TRUE(runtime.logged("SetVertexShaderConstantF(3, 2)"));
    EXPECT_TRUE(runtime.logged("SetPixelShaderConstantF(1, 1)"));
    EXPECT_EQ(runtime.count("SetVertexShaderConstantF"), 1u);
    EXPECT_TRUE(driver->setPixelShaderConstant("tint", values, 4));
    EXPECT_TRUE(runtime.logged("solid.setVariable(0, tint, 4)"));
    // Outside the renderers or on a renderer without variables: refused.
    RenderMaterial material;
    material.type = 40;
    driver->applyMaterial(material);
    EXPECT_FALSE(driver->setVertexShaderConstant("tint", values, 4));
    driver->setMaterialPass(MATERIAL_SOLID,
                            CRefPointer<CD3D9MaterialPass>(new CD3D9MaterialPass).get(), nullptr);
    driver->applyMaterial(RenderMaterial());
    const std::string log =
        captureLog([&] { EXPECT_FALSE(driver->setVertexShaderConstant("tint", values, 4)); });
    EXPECT_TRUE(contains(log, "INF: Invalid material to set variable in.")) << log;
}
