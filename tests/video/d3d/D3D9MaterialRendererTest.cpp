#include <algorithm>
#include <string>
#include <vector>

#include "engine/video/ImageTexture.h"
#include "engine/video/SoftwareImage.h"
#include "tests/video/d3d/D3DDriverFixture.h"

// The fixed-function renderers on the fake runtime: each type's stages, blending and alpha test
// as the device holds them after a draw, and what switching between types sends.
namespace {

class D3D9MaterialRendererTest : public D3D9DriverTest {
protected:
    void SetUp() override { device(); }

    void draw3D(const RenderMaterial& material) {
        driver->applyMaterial(material);
        driver->setRenderStates3D();
    }

    static RenderMaterial materialOf(uint32_t type, float parameter = 0) {
        RenderMaterial material;
        material.type = type;
        material.typeParameter = parameter;
        return material;
    }

    uint32_t stage(uint32_t index, uint32_t type) const {
        return runtime.device()->stageState(index, type);
    }
    uint32_t state(uint32_t type) const { return runtime.device()->renderState(type); }
};

} // namespace

TEST_F(D3D9MaterialRendererTest, ThirteenTypesHaveRenderersAndTheTransparentOnesSaySo) {
    const std::vector<uint32_t> placed(std::begin(CD3DFixedFunctionRenderer::kTypes),
                                       std::end(CD3DFixedFunctionRenderer::kTypes));
    const std::vector<uint32_t> transparent = {12, 13, 15, 16, 24, 25};
    for (uint32_t type = 0; type < MATERIAL_BUILT_IN_COUNT; ++type) {
        IMaterialPass* pass = driver->getMaterialPass(type);
        const bool expected = std::count(placed.begin(), placed.end(), type) != 0;
        ASSERT_EQ(pass != nullptr, expected) << type;
        if (pass) {
            EXPECT_EQ(pass->usesTransparency(),
                      std::count(transparent.begin(), transparent.end(), type) != 0)
                << type;
        }
    }
    EXPECT_STREQ(driver->getMaterialPassName(MATERIAL_ONETEXTURE_BLEND), "onetexture_blend");
}

TEST_F(D3D9MaterialRendererTest, EachFamilySetsItsStagesAndBlending) {
    struct Case {
        uint32_t type;
        float parameter;
        uint32_t colorOp0, colorArg2, alphaOp0, alphaArg1, colorOp1;
        bool blend;
        uint32_t source, destination;
        bool alphaTest;
        uint32_t alphaRef;
    };
    const uint32_t modulate = D3DTOP_MODULATE, off = D3DTOP_DISABLE, arg1 = D3DTOP_SELECTARG1;
    const uint32_t tex = D3DTA_TEXTURE, diffuse = D3DTA_DIFFUSE, current = D3DTA_CURRENT;
    const uint32_t sa = D3DBLEND_SRCALPHA, isa = D3DBLEND_INVSRCALPHA;
    const Case cases[] = {
        {MATERIAL_SOLID, 0, modulate, diffuse, off, 0, off, false, 0, 0, false, 0},
        {MATERIAL_SOLID_2LAYER, 0, arg1, 0, off, 0, D3DTOP_BLENDDIFFUSEALPHA, false, 0, 0, false,
         0},
        {MATERIAL_DETAIL_MAP, 0, modulate, diffuse, off, 0, D3DTOP_ADDSIGNED, false, 0, 0, false,
         0},
        {MATERIAL_TRANS_ADD, 0, modulate, diffuse, off, 0, off, true, D3DBLEND_ONE,
         D3DBLEND_INVSRCCOLOR, false, 0},
        {MATERIAL_TRANS_ALPHACH, 0.5f, modulate, current, arg1, tex, off, true, sa, isa, true, 127},
        {MATERIAL_TRANS_ALPHACH, 0.0f, modulate, current, arg1, tex, off, true, sa, isa, true, 127},
        {MATERIAL_TRANS_ALPHACH, 1.0f, modulate, current, arg1, tex, off, true, sa, isa, true, 255},
        {MATERIAL_TRANS_ALPHACH_REF, 0, modulate, current, arg1, tex, off, false, 0, 0, true, 127},
        {MATERIAL_TRANS_VERTEX_ALPHA, 0, modulate, diffuse, arg1, diffuse, off, true, sa, isa,
         false, 0},
        {MATERIAL_TRANS_REFLECTION_2LAYER, 0, modulate, diffuse, off, 0, modulate, true, sa, isa,
         false, 0},
        {MATERIAL_TRANS_ALPHACH_VERTEXALPHA, 0, modulate, diffuse, modulate, tex, off, true, sa,
         isa, false, 0},
        {MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD, 0, D3DTOP_ADD, diffuse, modulate, tex, off, true,
         sa, isa, false, 0},
        // Source factor 6 and destination 7, modulation 2.
        {MATERIAL_ONETEXTURE_BLEND, float(0x020607), D3DTOP_MODULATE2X, diffuse, arg1, tex, off,
         true, sa, isa, false, 0},
        // Source colour over zero: no blending at all.
        {MATERIAL_ONETEXTURE_BLEND, float(0x000400), modulate, diffuse, off, 0, off, false, 0, 0,
         false, 0},
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(c.type) + " " + std::to_string(c.parameter);
        draw3D(materialOf(MATERIAL_SOLID));
        draw3D(materialOf(c.type, c.parameter));
        EXPECT_EQ(stage(0, D3DTSS_COLOROP), c.colorOp0) << name;
        EXPECT_EQ(stage(0, D3DTSS_COLORARG1), tex) << name;
        if (c.colorArg2) {
            EXPECT_EQ(stage(0, D3DTSS_COLORARG2), c.colorArg2) << name;
        }
        EXPECT_EQ(stage(0, D3DTSS_ALPHAOP), c.alphaOp0) << name;
        if (c.alphaArg1) {
            EXPECT_EQ(stage(0, D3DTSS_ALPHAARG1), c.alphaArg1) << name;
        }
        EXPECT_EQ(stage(1, D3DTSS_COLOROP), c.colorOp1) << name;
        EXPECT_EQ(state(D3DRS_ALPHABLENDENABLE), uint32_t(c.blend)) << name;
        if (c.blend) {
            EXPECT_EQ(state(D3DRS_SRCBLEND), c.source) << name;
            EXPECT_EQ(state(D3DRS_DESTBLEND), c.destination) << name;
        }
        EXPECT_EQ(state(D3DRS_ALPHATESTENABLE), uint32_t(c.alphaTest)) << name;
        if (c.alphaTest) {
            EXPECT_EQ(state(D3DRS_ALPHAREF), c.alphaRef) << name;
            EXPECT_EQ(state(D3DRS_ALPHAFUNC), uint32_t(D3DCMP_GREATEREQUAL)) << name;
        }
    }
}

TEST_F(D3D9MaterialRendererTest, SolidAgainWritesOnlyItsTwoStandingStates) {
    draw3D(materialOf(MATERIAL_SOLID));
    RenderMaterial changed = materialOf(MATERIAL_SOLID);
    changed.lighting = false;
    runtime.log.clear();
    draw3D(changed);
    const std::vector<std::string> expected = {"SetTextureStageState(1, 1, 1)",
                                               "SetRenderState(27, 0)", "SetRenderState(137, 0)"};
    EXPECT_EQ(runtime.log, expected);
}

TEST_F(D3D9MaterialRendererTest, AnAlphaReferenceChangeAloneReappliesTheStates) {
    draw3D(materialOf(MATERIAL_TRANS_ALPHACH, 0.5f));
    runtime.log.clear();
    draw3D(materialOf(MATERIAL_TRANS_ALPHACH, 0.25f));
    EXPECT_EQ(state(D3DRS_ALPHAREF), 63u);
    EXPECT_TRUE(runtime.logged("SetTextureStageState(0, 4, 2)"));
}

// The sprites' types too: a sprite drawn later at the same depth must not be hidden.
TEST_F(D3D9MaterialRendererTest, TransparentTypesDrawWithoutDepthWritesAndLeaveTheCallersFlag) {
    for (const uint32_t type :
         {MATERIAL_TRANS_ADD, MATERIAL_TRANS_ALPHACH, MATERIAL_TRANS_VERTEX_ALPHA,
          MATERIAL_TRANS_ALPHACH_VERTEXALPHA, MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD}) {
        draw3D(materialOf(MATERIAL_SOLID));
        EXPECT_EQ(state(D3DRS_ZWRITEENABLE), 1u) << type;
        const RenderMaterial transparent = materialOf(type);
        draw3D(transparent);
        EXPECT_EQ(state(D3DRS_ZWRITEENABLE), 0u) << type;
        EXPECT_TRUE(transparent.depthWrite) << type;
    }
}

TEST_F(D3D9MaterialRendererTest, SphereMapsGenerateCoordinatesAndAreTakenBackAfterwards) {
    struct Case {
        uint32_t type;
        uint32_t stage;
        uint32_t source;
    };
    const Case cases[] = {{MATERIAL_SPHERE_MAP, 0, D3DTSS_TCI_CAMERASPACENORMAL},
                          {MATERIAL_REFLECTION_2LAYER, 1, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR}};
    for (const Case& c : cases) {
        draw3D(materialOf(c.type));
        EXPECT_EQ(stage(c.stage, D3DTSS_TEXCOORDINDEX), c.source) << c.type;
        EXPECT_EQ(stage(c.stage, D3DTSS_TEXTURETRANSFORMFLAGS), uint32_t(D3DTTFF_COUNT2));
        const D3DMATRIX& matrix = runtime.device()->transforms[D3DTS_TEXTURE0 + c.stage];
        EXPECT_FLOAT_EQ(matrix.m[0], 0.5f);
        EXPECT_FLOAT_EQ(matrix.m[5], -0.5f);
        EXPECT_FLOAT_EQ(matrix.m[12], 0.5f);
        EXPECT_FLOAT_EQ(matrix.m[13], 0.5f);
        draw3D(materialOf(MATERIAL_SOLID));
        EXPECT_EQ(stage(c.stage, D3DTSS_TEXCOORDINDEX), c.stage) << c.type;
        EXPECT_EQ(stage(c.stage, D3DTSS_TEXTURETRANSFORMFLAGS), uint32_t(D3DTTFF_DISABLE));
        EXPECT_FLOAT_EQ(runtime.device()->transforms[D3DTS_TEXTURE0 + c.stage].m[0], 1.0f);
    }
    draw3D(materialOf(MATERIAL_TRANS_ALPHACH_VERTEXALPHA));
    draw3D(materialOf(MATERIAL_SOLID));
    EXPECT_EQ(state(D3DRS_ALPHATESTENABLE), 0u);
}

TEST_F(D3D9MaterialRendererTest, LayersBindTheirTexturesOnceAndNoneUnbinds) {
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, 4, 4);
    CRefPointer<IDriverTexture> texture = driver->createTexture(image.get());
    CRefPointer<CImageTexture> holder(new CImageTexture(CContentKey(), u"", texture.get()));
    RenderMaterial material;
    material.layerCount = 2;
    material.layers[0].texture = holder.get();
    runtime.log.clear();
    driver->applyMaterial(material);
    driver->applyMaterial(material);
    EXPECT_EQ(runtime.count("SetTexture(0, texture"), 1u);
    EXPECT_EQ(runtime.count("SetTexture(1,"), 0u) << "stage 1 held none already";
    material.layers[0].texture = nullptr;
    driver->applyMaterial(material);
    EXPECT_TRUE(runtime.logged("SetTexture(0, none)"));
    EXPECT_EQ(stage(0, D3DTSS_TEXTURETRANSFORMFLAGS), uint32_t(D3DTTFF_DISABLE));
    // A reset forgets what was bound.
    driver->applyMaterial(materialOf(MATERIAL_SOLID));
    material.layers[0].texture = holder.get();
    driver->applyMaterial(material);
    runtime.script.resetResults.clear();
    driver->handleResize({640, 480});
    runtime.log.clear();
    driver->applyMaterial(material);
    EXPECT_EQ(runtime.count("SetTexture(0, texture"), 1u);
}

TEST_F(D3D9MaterialRendererTest, ATextureOfAnotherDriverIsRefused) {
    struct ForeignTexture : IDriverTexture {
        void* mapPixels(bool) override { return nullptr; }
        void unmapPixels() override {}
        CPixelSize getSourceSize() const override { return {1, 1}; }
        CPixelSize getSize() const override { return {1, 1}; }
        uint32_t getDriverKind() const override { return DRIVER_KIND_OPENGL; }
        int32_t getColorFormat() const override { return 4; }
        uint32_t getPitch() const override { return 4; }
        bool hasMipLevels() const override { return false; }
        void regenerateMipLevels() override {}
        bool isRenderTarget() const override { return false; }
        CSoftwareImage* getSourceImage() const override { return nullptr; }
        void dropSourceImage() override {}
    };
    CRefPointer<ForeignTexture> foreign(new ForeignTexture);
    bool set = true;
    const std::string log = captureLog([&] { set = driver->setStageTexture(0, foreign.get()); });
    EXPECT_FALSE(set);
    EXPECT_TRUE(contains(log, "Fatal Error: Tried to set a texture not owned by this driver."));
    EXPECT_EQ(runtime.count("SetTexture("), 0u);
}

TEST_F(D3D9MaterialRendererTest, VertexTypesSetTheirFormatsOnce) {
    struct Case {
        int32_t type;
        const char* line;
    };
    const Case cases[] = {
        {1, "SetFVF(338)"}, {2, "SetFVF(594)"}, {3, "SetFVF(1311570)"}, {0, "SetFVF(322)"}};
    for (const Case& c : cases) {
        runtime.log.clear();
        driver->setVertexType(c.type);
        driver->setVertexType(c.type);
        EXPECT_EQ(runtime.log, std::vector<std::string>{c.line}) << c.type;
    }
    runtime.log.clear();
    driver->setVertexType(7);
    EXPECT_TRUE(runtime.log.empty());
}

// The detail layer reads the second coordinates of vertices that have them, and the first of
// those with one set, not coordinates they lack.
TEST_F(D3D9MaterialRendererTest, TheDetailLayerReadsTheCoordinatesTheVerticesHave) {
    const struct {
        int32_t vertexType;
        uint32_t coordinateSet;
    } cases[] = {{VERTEX_TYPE_STANDARD, 0},
                 {VERTEX_TYPE_NORMAL, 0},
                 {VERTEX_TYPE_TWO_COORDS, 1},
                 {VERTEX_TYPE_TANGENTS, 1}};
    for (const auto& c : cases) {
        driver->setVertexType(c.vertexType);
        draw3D(materialOf(MATERIAL_DETAIL_MAP));
        EXPECT_EQ(stage(1, D3DTSS_TEXCOORDINDEX), c.coordinateSet) << c.vertexType;
        driver->setRenderStates2D();
        EXPECT_EQ(stage(1, D3DTSS_TEXCOORDINDEX), c.coordinateSet) << c.vertexType;
    }
}
