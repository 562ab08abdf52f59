#include <string>
#include <vector>

#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/D3D8DriverTexture.h"
#include "engine/video/d3d/D3D9DriverTexture.h"
#include "engine/video/d3d/host/Direct3D8On9.h"
#include "engine/video/d3d/host/MemoryTexture9.h"
#include "tests/video/d3d/D3DDriverFixture.h"

// The Direct3D 8 driver's textures, render targets, drawing differences, renderers and assembly
// shaders on the fake runtime.
namespace {

class D3D8DriverResourceTest : public D3D8DriverTest {
protected:
    void SetUp() override {
        parameters.stencilBuffer = true;
        device();
        runtime.log.clear();
    }

    static CPixelMemory9* levelOf(IDriverTexture& texture, uint32_t level) {
        IDirect3DTexture9* d3d = static_cast<CD3D8DriverTexture&>(texture).getD3DTexture();
        return static_cast<CMemoryTexture9*>(d3d)->levelMemory(level);
    }

    CDirect3DDevice8On9& device8() const {
        return *static_cast<CDirect3DDevice8On9*>(
            reinterpret_cast<IDirect3DDevice8*>(driver->getPlatformData()[3]));
    }
};

} // namespace

TEST_F(D3D8DriverResourceTest, MipLevelsOfA1R5G5B5AverageTheirFieldsDownToOnePixel) {
    driver->setTextureOption(TEXTURE_CREATE_MIP_MAPS, true);
    // Odd columns carry the alpha bit, and red 31 on odd rows.
    CRefPointer<CSoftwareImage> image = makeTestImage(
        64, 16,
        [](int32_t x, int32_t y) { return (x % 2 ? 0xFF000000u : 0) | (y % 2 ? 0xF80000u : 0); },
        COLOR_FORMAT_A1R5G5B5);
    CRefPointer<IDriverTexture> texture;
    const std::string log = captureLog([&] { texture = driver->createTexture(image.get()); });
    ASSERT_TRUE(texture->hasMipLevels());
    EXPECT_EQ(texture->getDriverKind(), uint32_t(DRIVER_KIND_DIRECT3D8));
    EXPECT_FALSE(contains(log, "mip")) << log;
    const CPixelMemory9* level1 = levelOf(*texture, 1);
    ASSERT_EQ(level1->getWidth(), 32u);
    // Red (0 + 0 + 31 + 31) / 4 = 15; two of the four pixels lack the alpha bit.
    EXPECT_EQ(loadPixel16(const_cast<CPixelMemory9*>(level1)->getBits()), uint16_t(15 << 10));
    // Every level down to 6 (1 x 1) holds the same, past the one-pixel-high level 4 (4 x 1).
    for (uint32_t level = 2; level <= 6; ++level) {
        CPixelMemory9* memory = levelOf(*texture, level);
        EXPECT_EQ(loadPixel16(memory->getBits()), uint16_t(15 << 10)) << level;
    }
}

// Columns alternate between black and white: every level below is grey, down to 1 x 1.
TEST_F(D3D8DriverResourceTest, SixteenBitMipLevelsOfEveryFormatAreFiltered) {
    driver->setTextureOption(TEXTURE_CREATE_MIP_MAPS, true);
    struct Case {
        int32_t format;
        uint16_t grey;
    };
    const Case cases[] = {
        {COLOR_FORMAT_R5G6B5, uint16_t(15 << 11 | 31 << 5 | 15)},
        {COLOR_FORMAT_A1R5G5B5, uint16_t(0x8000 | 15 << 10 | 15 << 5 | 15)},
        {COLOR_FORMAT_A4R4G4B4, uint16_t(0xF777)},
    };
    for (const Case& c : cases) {
        CRefPointer<CSoftwareImage> image = makeTestImage(
            4, 4, [](int32_t x, int32_t) { return x % 2 ? 0xFFFFFFFFu : 0xFF000000u; }, c.format);
        CRefPointer<IDriverTexture> texture;
        const std::string log = captureLog([&] { texture = driver->createTexture(image.get()); });
        ASSERT_EQ(texture->getColorFormat(), c.format);
        EXPECT_FALSE(contains(log, "mip")) << log;
        for (uint32_t level = 1; level <= 2; ++level)
            EXPECT_EQ(loadPixel16(levelOf(*texture, level)->getBits()), c.grey)
                << c.format << " " << level;
    }
}

TEST_F(D3D8DriverResourceTest, TextureFailuresNameDirect3D8) {
    runtime.script.refusedTextureFormats = {D3DFMT_A8R8G8B8, D3DFMT_A1R5G5B5};
    CRefPointer<CSoftwareImage> image = makeTestImage(
        4, 4, [](int32_t, int32_t) { return 0xFFFFFFFFu; }, COLOR_FORMAT_A8R8G8B8);
    CRefPointer<IDriverTexture> texture;
    const std::string log = captureLog([&] { texture = driver->createTexture(image.get()); });
    EXPECT_TRUE(contains(log, "WRN: Could not create DIRECT3D8 Texture.")) << log;
    EXPECT_EQ(texture->mapPixels(true), nullptr);
}

TEST_F(D3D8DriverResourceTest, RenderTargetsTakeTheBackBuffersFormatWhateverIsAsked) {
    runtime.script.backBufferFormat = D3DFMT_X8R8G8B8;
    for (const int32_t format :
         {int32_t(COLOR_FORMAT_A1R5G5B5), int32_t(COLOR_FORMAT_R5G6B5), 12}) {
        runtime.log.clear();
        CRefPointer<IDriverTexture> target = driver->createRenderTargetTexture({64, 32}, format);
        EXPECT_TRUE(runtime.logged("CreateTexture(64, 32, 1, 1, 21, 0)")) << format;
        EXPECT_EQ(target->getColorFormat(), COLOR_FORMAT_A8R8G8B8);
        EXPECT_EQ(target->getPitch(), 256u);
    }
    runtime.script.backBufferFails = true;
    const std::string log = captureLog([&] {
        driver->createRenderTargetTexture({64, 32}, COLOR_FORMAT_A8R8G8B8);
    });
    EXPECT_TRUE(contains(log, "WRN: Could not create RenderTarget texture: could not get "
                              "BackBuffer."))
        << log;
}

TEST_F(D3D8DriverResourceTest, ARenderTargetIsReadBackThroughOneImageSurface) {
    CRefPointer<IDriverTexture> target =
        driver->createRenderTargetTexture({8, 4}, COLOR_FORMAT_A8R8G8B8);
    for (int i = 0; i < 2; ++i) {
        const auto* pixels = static_cast<const uint8_t*>(target->mapPixels(true));
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(loadPixel32(pixels + target->getPitch() * 3 + 28), 0x11111111u);
        target->unmapPixels();
    }
    EXPECT_EQ(runtime.count("CreateOffscreenPlainSurface(8, 4, 21, 2)"), 1u);
    EXPECT_EQ(runtime.count("GetRenderTargetData("), 2u);
}

TEST_F(D3D8DriverResourceTest, AFailedSwitchKeepsTheRenderTargetSize) {
    CRefPointer<IDriverTexture> target =
        driver->createRenderTargetTexture({64, 32}, COLOR_FORMAT_A8R8G8B8);
    runtime.script.setRenderTargetResult = D3DERR_INVALIDCALL;
    const std::string log = captureLog([&] {
        EXPECT_FALSE(driver->useRenderTargetTexture(target.get(), false, false, CColor()));
    });
    EXPECT_TRUE(contains(log, "Error: Could not set render target.")) << log;
    EXPECT_EQ(driver->getRenderTargetSize(), (CPixelSize{640, 480}));
    runtime.script.setRenderTargetResult = D3D_OK;
    EXPECT_TRUE(driver->useRenderTargetTexture(target.get(), false, false, CColor()));
    EXPECT_EQ(driver->getRenderTargetSize(), (CPixelSize{64, 32}));
    EXPECT_EQ(runtime.count("GetDepthStencilSurface"), 2u);
    // Textures of the other Direct3D driver are not this driver's.
    FakeD3D9Runtime other;
    CRefPointer<CD3D9Driver> driver9(new CD3D9Driver(parameters, nullptr));
    captureLog([&] { driver9->initDevice(parameters); });
    CRefPointer<IDriverTexture> foreign =
        driver9->createRenderTargetTexture({8, 8}, COLOR_FORMAT_A8R8G8B8);
    const std::string refusal = captureLog([&] {
        EXPECT_FALSE(driver->useRenderTargetTexture(foreign.get(), false, false, CColor()));
        EXPECT_FALSE(driver->setStageTexture(0, foreign.get()));
    });
    EXPECT_TRUE(contains(refusal, "Fatal Error: Tried to set a texture not owned by this driver."));
}

TEST_F(D3D8DriverResourceTest, ScaledImagesAreCutToTheirClip) {
    CRefPointer<IDriverTexture> image = driver->createTexture(
        makeTestImage(
            16, 16, [](int32_t, int32_t) { return 0xFFFFFFFFu; }, COLOR_FORMAT_A8R8G8B8)
            .get());
    const CColor corners[4] = {CColor(0xFF000000), CColor(0xFF0000FF), CColor(0xFF0000FF),
                               CColor(0xFF000000)};
    // The right half of a 320 x 240 image at the origin, and its top quarter.
    const CPixelRect clip{160, -10, 400, 60};
    driver->drawImageScaled(image.get(), {0, 0, 320, 240}, {0, 0, 16, 16}, &clip, corners, true);
    const std::vector<CVertexNormal> quad = normalVertices();
    ASSERT_EQ(quad.size(), 4u);
    // Edges on the pixels' corners, half a pixel up and left of their coordinates.
    EXPECT_FLOAT_EQ(quad[0].position.x, (160 - 0.5f) / 320 - 1);
    EXPECT_FLOAT_EQ(quad[0].position.y, 1 + 0.5f / 240);
    EXPECT_FLOAT_EQ(quad[2].position.x, (320 - 0.5f) / 320 - 1);
    EXPECT_FLOAT_EQ(quad[2].position.y, 1 - (60 - 0.5f) / 240);
    EXPECT_FLOAT_EQ(quad[0].texCoord.x, 0.5f);
    EXPECT_FLOAT_EQ(quad[2].texCoord.x, 1.0f);
    EXPECT_FLOAT_EQ(quad[2].texCoord.y, 0.25f);
    // Blue rises from top to bottom: a quarter of the way down at the cut.
    EXPECT_EQ(quad[2].color.getBlue(), 63u);
    EXPECT_EQ(runtime.count("SetScissorRect"), 0u);
    runtime.log.clear();
    const CPixelRect outside{400, 0, 500, 100};
    driver->drawImageScaled(image.get(), {0, 0, 320, 240}, {0, 0, 16, 16}, &outside, nullptr, true);
    EXPECT_EQ(runtime.count("Draw"), 0u);
}

TEST_F(D3D8DriverResourceTest, ImagesFilterByPointAndWrapEveryStage) {
    CRefPointer<IDriverTexture> image = driver->createTexture(
        makeTestImage(
            4, 4, [](int32_t, int32_t) { return 0xFFFFFFFFu; }, COLOR_FORMAT_A8R8G8B8)
            .get());
    driver->drawImagePart(image.get(), {0, 0}, {0, 0, 4, 4}, nullptr, CColor(0xFFFFFFFF), true);
    FakeDirect3DDevice9& fake = *runtime.device();
    EXPECT_EQ(fake.samplerState(0, D3DSAMP_MINFILTER), uint32_t(D3DTEXF_POINT));
    EXPECT_EQ(fake.samplerState(0, D3DSAMP_MIPFILTER), uint32_t(D3DTEXF_NONE));
    EXPECT_EQ(fake.samplerState(0, D3DSAMP_MAGFILTER), uint32_t(D3DTEXF_POINT));
    for (uint32_t stage = 0; stage < 4; ++stage)
        EXPECT_EQ(fake.samplerState(stage, D3DSAMP_ADDRESSU), uint32_t(D3DTADDRESS_WRAP));
    EXPECT_EQ(runtime.count("SetRenderState(29,"), 0u);
}

TEST_F(D3D8DriverResourceTest, TransVertexAlphaLeavesStageOnesAlphaAsItWas) {
    RenderMaterial material;
    material.type = MATERIAL_TRANS_VERTEX_ALPHA;
    driver->applyMaterial(material);
    driver->setRenderStates3D();
    EXPECT_EQ(runtime.device()->stageState(1, D3DTSS_COLOROP), uint32_t(D3DTOP_DISABLE));
    EXPECT_EQ(runtime.count("SetTextureStageState(1, 4,"), 0u);
    EXPECT_TRUE(driver->getMaterialPass(MATERIAL_TRANS_VERTEX_ALPHA)->usesTransparency());
}

TEST_F(D3D8DriverResourceTest, AssemblyMaterialsAreMadeWithTheEnginesVertexDeclaration) {
    const char* vertex = "vs.1.1\nm4x4 oPos, v0, c0\nmov oD0, v2 ; colour\nmov oT0, v3\n";
    const char* pixel = "ps.1.1\ntex t0\nmul r0, t0, v0\n";
    const int32_t type = driver->createAsmMaterial(vertex, pixel, nullptr, MATERIAL_TRANS_ADD, 0);
    EXPECT_EQ(type, int32_t(MATERIAL_BUILT_IN_COUNT));
    EXPECT_TRUE(driver->getMaterialPass(uint32_t(type))->usesTransparency());
    EXPECT_EQ(device8().getShaderCount(), 2u);
    const CArray<uint32_t> declaration = device8().getDeclaration(3);
    const uint32_t expected[] = {D3DVSD_STREAM(0),
                                 D3DVSD_REG(0, D3DVSDT_FLOAT3),
                                 D3DVSD_REG(1, D3DVSDT_FLOAT3),
                                 D3DVSD_REG(2, D3DVSDT_D3DCOLOR),
                                 D3DVSD_REG(3, D3DVSDT_FLOAT2),
                                 D3DVSD_REG(4, D3DVSDT_FLOAT2)};
    ASSERT_EQ(declaration.size(), std::size(expected));
    for (uint32_t i = 0; i < declaration.size(); ++i)
        EXPECT_EQ(declaration[i], expected[i]) << i;
    // Drawing sets both shaders; leaving sets no pixel shader and keeps the vertex shader.
    RenderMaterial material;
    material.type = uint32_t(type);
    driver->applyMaterial(material);
    driver->setRenderStates3D();
    EXPECT_NE(runtime.device()->vertexShader, nullptr);
    EXPECT_NE(runtime.device()->pixelShader, nullptr);
    driver->applyMaterial(RenderMaterial());
    driver->setRenderStates3D();
    EXPECT_EQ(runtime.device()->pixelShader, nullptr);
    EXPECT_NE(runtime.device()->vertexShader, nullptr);
}

TEST_F(D3D8DriverResourceTest, AssemblyFailuresAreLoggedWithTheAssemblersMessages) {
    struct Case {
        const char* vertex;
        const char* pixel;
        bool refuseShaders;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"vs.1.1\nmov oPos, v0\nfoo r0, v1\n",
         nullptr,
         false,
         {"WRN: Vertex shader compilation failed: D3DX8 Shader Assembler Version 0.91\n(3): "
          "error: unknown instruction 'foo'"}},
        {nullptr,
         "ps.1.1\nmul r0, t0\n",
         false,
         {"INF: Pixel shader compilation failed:\r",
          "INF: D3DX8 Shader Assembler Version 0.91\n(2): error: 'mul' takes 3 operands"}},
        {"mov oPos, v0\n",
         nullptr,
         false,
         {"Vertex shader compilation failed: D3DX8 Shader Assembler Version 0.91\n(1): error: "
          "missing version declaration"}},
        {"vs.1.1\nmov oPos, v0\n", nullptr, true, {"INF: Could not create vertex shader."}},
        {nullptr, "ps.1.4\ntexld r0, t0\n", true, {"INF: Could not create pixel shader."}},
    };
    for (const Case& c : cases) {
        runtime.script.createShaderFails = c.refuseShaders;
        const uint32_t count = driver->getMaterialPassCount();
        int32_t type = 0;
        const std::string log =
            captureLog([&] { type = driver->createAsmMaterial(c.vertex, c.pixel, nullptr, 0, 0); });
        EXPECT_EQ(type, -1);
        EXPECT_EQ(driver->getMaterialPassCount(), count);
        for (const std::string& line : c.lines)
            EXPECT_TRUE(contains(log, line)) << line << "\n" << log;
    }
    EXPECT_EQ(device8().getShaderCount(), 0u);
}

// On a target of odd size image parts keep their size: the corners map by the target's size,
// not by its halves, which would stretch them by (n / 2) / floor(n / 2).
TEST_F(D3D8DriverTest, ImagePartsKeepTheirSizeOnOddTargets) {
    parameters.width = 9;
    parameters.height = 7;
    device();
    CRefPointer<IDriverTexture> image = driver->createTexture(
        makeTestImage(16, 16, [](int32_t, int32_t) { return 0xFFFFFFFFu; }).get());
    driver->drawImagePart(image.get(), {0, 0}, {0, 0, 9, 7}, nullptr, CColor(0xFFFFFFFF), true);
    const std::vector<CVertexNormal> quad = normalVertices();
    // Nine pixels across are two clip-space units wide, seven down as well.
    EXPECT_FLOAT_EQ(quad[1].position.x - quad[0].position.x, 2.0f);
    EXPECT_FLOAT_EQ(quad[0].position.y - quad[3].position.y, 2.0f);
}
