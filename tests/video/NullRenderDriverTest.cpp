#include "engine/video/NullRenderDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/io/MemoryBlockFile.h"
#include "tests/video/RecordingRenderDriver.h"

namespace {

CRefPointer<IMaterialPass> makePass() {
    return CRefPointer<IMaterialPass>(new IMaterialPass());
}

std::vector<uint32_t> texels32(const FakeDriverTexture& texture) {
    std::vector<uint32_t> texels(texture.pixels.size() / 4);
    std::memcpy(texels.data(), texture.pixels.data(), texture.pixels.size());
    return texels;
}

void setTexels32(FakeDriverTexture& texture, const std::vector<uint32_t>& texels) {
    std::memcpy(texture.pixels.data(), texels.data(), texture.pixels.size());
}

TEST(NullRenderDriverTest, StartsAsAnEmptyScreenWithTheBuiltInPasses) {
    CreationParameters parameters;
    parameters.width = 1024;
    parameters.height = 768;
    parameters.bits = 32;
    CRefPointer<IRenderDriver> driver = createNullRenderDriver(parameters, nullptr, nullptr);

    EXPECT_EQ(std::u16string(driver->getDriverName()), u"Null Device");
    EXPECT_EQ(driver->getDriverKind(), uint32_t(DRIVER_KIND_NULL));
    EXPECT_EQ(driver->getBackBufferSize(), (CPixelSize{1024, 768}));
    EXPECT_EQ(driver->getColorDepth(), 32u);
    const CPixelRect viewport = driver->getViewportRect();
    EXPECT_EQ(viewport.right, 1024);
    EXPECT_EQ(viewport.bottom, 768);
    EXPECT_EQ(driver->getFrameRate(), 60u);
    EXPECT_TRUE(driver->getTextureOption(TEXTURE_CREATE_MIP_MAPS));
    EXPECT_FALSE(driver->getTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE));
    EXPECT_FALSE(driver->hasFeature(FEATURE_MULTITEXTURE));
    EXPECT_EQ(driver->getShaderServices(), nullptr);
    EXPECT_NE(driver->getQuadBatcher(), nullptr);
    EXPECT_TRUE(driver->getMatrix(TRANSFORM_PROJECTION).isIdentity());
    EXPECT_TRUE(driver->getMatrix(TRANSFORM_COUNT).isIdentity());

    ASSERT_EQ(driver->getMaterialPassCount(), 26u);
    struct Case {
        uint32_t type;
        const char* name;
    };
    const Case cases[] = {{0, "solid"},
                          {9, "detail_map"},
                          {15, "trans_vertex_alpha"},
                          {23, "onetexture_blend"},
                          {25, "trans_alphach_vertexalpha_add"}};
    for (const Case& c : cases) {
        EXPECT_STREQ(driver->getMaterialPassName(c.type), c.name);
        EXPECT_NE(driver->getMaterialPass(c.type), nullptr) << c.name;
    }
}

TEST(NullRenderDriverTest, MaterialPassListPadsAndKeepsBuiltInNames) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    auto pass = makePass();
    ASSERT_EQ(driver->setMaterialPass(0, pass.get(), nullptr), 0);
    ASSERT_EQ(driver->setMaterialPass(1, pass.get(), "mine"), 1);

    EXPECT_EQ(driver->setMaterialPass(9, pass.get(), nullptr), 9);
    ASSERT_EQ(driver->getMaterialPassCount(), 10u);
    EXPECT_STREQ(driver->getMaterialPassName(0), "solid");
    EXPECT_STREQ(driver->getMaterialPassName(1), "mine");
    for (uint32_t i = 2; i < 9; ++i) {
        EXPECT_STREQ(driver->getMaterialPassName(i), "null") << i;
        EXPECT_EQ(driver->getMaterialPass(i), nullptr) << i;
    }
    EXPECT_STREQ(driver->getMaterialPassName(9), "detail_map");
    EXPECT_EQ(driver->getMaterialPass(9), pass.get());
    EXPECT_EQ(pass->getRefCount(), 4);

    // Refused: no pass, or no index.
    EXPECT_EQ(driver->setMaterialPass(12, nullptr, "x"), -1);
    EXPECT_EQ(driver->setMaterialPass(-1, pass.get(), "x"), -1);
    EXPECT_EQ(driver->getMaterialPassCount(), 10u);

    EXPECT_EQ(driver->setMaterialPass(27, pass.get(), nullptr), 27);
    EXPECT_STREQ(driver->getMaterialPassName(27), "");
    EXPECT_STREQ(driver->getMaterialPassName(26), "null");
    driver->renameMaterialPass(27, "shader");
    driver->renameMaterialPass(9, "renamed");
    driver->renameMaterialPass(40, "missing");
    EXPECT_STREQ(driver->getMaterialPassName(27), "shader");
    EXPECT_STREQ(driver->getMaterialPassName(9), "detail_map");

    EXPECT_EQ(driver->getMaterialPass(28), nullptr);
    EXPECT_EQ(driver->getMaterialPassName(28), nullptr);
}

TEST(NullRenderDriverTest, TextureOptionsKeepOnePreference) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    struct Step {
        uint32_t option;
        bool on;
        uint32_t mask;
    };
    const Step steps[] = {
        {TEXTURE_PREFER_16_BIT, true, 4 | 1},     {TEXTURE_PREFER_32_BIT, true, 4 | 2},
        {TEXTURE_PREFER_16_BIT, false, 4 | 2},    {TEXTURE_RELEASE_SOURCE_IMAGE, true, 4 | 2 | 16},
        {TEXTURE_CREATE_MIP_MAPS, false, 2 | 16}, {TEXTURE_PREFER_16_BIT, true, 1 | 16},
    };
    for (const Step& s : steps)
        EXPECT_EQ(driver->setTextureOption(s.option, s.on), s.mask) << s.option << s.on;
    EXPECT_TRUE(driver->getTextureOption(TEXTURE_PREFER_16_BIT | TEXTURE_PREFER_32_BIT));
    EXPECT_FALSE(driver->getTextureOption(TEXTURE_PREFER_32_BIT));
}

TEST(NullRenderDriverTest, ChooseTextureFormatFollowsTheOptions) {
    struct Case {
        uint32_t options;
        int32_t requested;
        int32_t chosen;
    };
    const Case cases[] = {
        {0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {0, 4, 4}, {0, 7, 4},  {0, -1, 4}, {2, 0, 4},
        {2, 1, 4}, {2, 2, 4}, {2, 3, 3}, {2, 4, 4}, {1, 0, 0}, {1, 2, 2},  {1, 3, 2},  {1, 4, 1},
        {8, 0, 2}, {8, 1, 2}, {8, 3, 3}, {8, 4, 3}, {9, 4, 2}, {10, 1, 4}, {10, 4, 3}, {9, 7, 4},
    };
    for (const Case& c : cases) {
        CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
        for (uint32_t bit = 1; bit <= 8; bit <<= 1) {
            if (c.options & bit)
                driver->setTextureOption(bit, true);
        }
        EXPECT_EQ(driver->chooseTextureFormat(c.requested), c.chosen)
            << "options " << c.options << " format " << c.requested;
    }
}

TEST(NullRenderDriverTest, ColorKeyMakesTheKeyTransparentAndTheRestOpaque) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    CRefPointer<FakeDriverTexture> argb(new FakeDriverTexture(COLOR_FORMAT_A8R8G8B8, 2, 2));
    setTexels32(*argb, {0x00112233, 0x80FF00FF, 0xFFFF00FF, 0x12345678});
    driver->makeColorKey(argb.get(), CColor(0x00FF00FF));
    EXPECT_EQ(texels32(*argb), (std::vector<uint32_t>{0xFF112233, 0, 0, 0xFF345678}));
    EXPECT_EQ(argb->unmaps, 1);

    CRefPointer<FakeDriverTexture> a1r5g5b5(new FakeDriverTexture(COLOR_FORMAT_A1R5G5B5, 3, 1));
    const uint16_t texels[3] = {0x7C00, 0x001F, 0xFC00};
    std::memcpy(a1r5g5b5->pixels.data(), texels, sizeof(texels));
    driver->makeColorKey(a1r5g5b5.get(), CColor(0xFFFF0000));
    uint16_t keyed[3];
    std::memcpy(keyed, a1r5g5b5->pixels.data(), sizeof(keyed));
    EXPECT_EQ(keyed[0], 0);
    EXPECT_EQ(keyed[1], 0x801F);
    EXPECT_EQ(keyed[2], 0);

    // The key taken from a texel: (1, 1) of a 3 x 2 texture.
    CRefPointer<FakeDriverTexture> picked(new FakeDriverTexture(COLOR_FORMAT_A8R8G8B8, 3, 2));
    setTexels32(*picked, {0x00000001, 0x00ABCDEF, 2, 3, 0x80ABCDEF, 4});
    driver->makeColorKeyFromPixel(picked.get(), 1, 1);
    EXPECT_EQ(texels32(*picked),
              (std::vector<uint32_t>{0xFF000001, 0, 0xFF000002, 0xFF000003, 0, 0xFF000004}));
    EXPECT_EQ(picked->maps, picked->unmaps);
}

TEST(NullRenderDriverTest, ColorKeyLeavesTheTextureAloneWhenItCannot) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    struct Case {
        const char* what;
        int32_t format;
        bool mapFails;
        int32_t x;
        int32_t y;
        int maps;
    };
    const Case cases[] = {
        {"R5G6B5", COLOR_FORMAT_R5G6B5, false, 0, 0, 0},
        {"R8G8B8", COLOR_FORMAT_R8G8B8, false, 0, 0, 0},
        {"map fails", COLOR_FORMAT_A8R8G8B8, true, 0, 0, 1},
        {"right of the texture", COLOR_FORMAT_A8R8G8B8, false, 3, 0, 1},
        {"below the texture", COLOR_FORMAT_A8R8G8B8, false, 0, 2, 1},
        {"left of the texture", COLOR_FORMAT_A8R8G8B8, false, -1, 1, 1},
        {"far away", COLOR_FORMAT_A1R5G5B5, false, 1, 1 << 30, 1},
    };
    for (const Case& c : cases) {
        CRefPointer<FakeDriverTexture> texture(new FakeDriverTexture(c.format, 3, 2));
        std::memset(texture->pixels.data(), 0x11, texture->pixels.size());
        texture->mapFails = c.mapFails;
        const std::vector<uint8_t> before = texture->pixels;
        driver->makeColorKeyFromPixel(texture.get(), c.x, c.y);
        if (c.x == 0 && c.y == 0)
            driver->makeColorKey(texture.get(), CColor(0x11111111));
        EXPECT_EQ(texture->pixels, before) << c.what;
        EXPECT_GE(texture->maps, c.maps) << c.what;
        EXPECT_EQ(texture->unmaps, c.mapFails ? 0 : texture->maps) << c.what;
    }
    driver->makeColorKey(nullptr, CColor());
    driver->makeColorKeyFromPixel(nullptr, 0, 0);
}

TEST(NullRenderDriverTest, TexturesComeFromClearedImages) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    CRefPointer<IDriverTexture> texture = driver->createBlankTexture({3, 2}, COLOR_FORMAT_A8R8G8B8);
    ASSERT_TRUE(texture);
    ASSERT_EQ(driver->textureImages.size(), 1u);
    const CSoftwareImage& image = *driver->textureImages[0];
    EXPECT_EQ(image.getWidth(), 3);
    EXPECT_EQ(image.getHeight(), 2);
    EXPECT_EQ(image.getFormat(), COLOR_FORMAT_A8R8G8B8);
    const std::vector<uint8_t> zeros(image.getBufferSize(), 0);
    EXPECT_EQ(std::memcmp(image.getData(), zeros.data(), zeros.size()), 0);
    // The driver has dropped its own reference; once the texture that keeps the image is gone,
    // only this record holds it.
    texture.reset();
    EXPECT_EQ(image.getRefCount(), 1);

    EXPECT_FALSE(driver->createBlankTexture({3, 2}, 9));
    EXPECT_FALSE(driver->createBlankTexture({0x80000000u, 1}, COLOR_FORMAT_R5G6B5));
    EXPECT_FALSE(driver->createTexture(nullptr));
    EXPECT_EQ(driver->textureImages.size(), 1u);
}

TEST(NullRenderDriverTest, ImageRunSkipsIndicesOutsideTheList) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    CArray<CPixelRect> rects;
    rects.append({0, 0, 10, 5});
    rects.append({10, 0, 14, 5});
    CArray<int32_t> indices;
    for (int32_t index : {1, 5, 0, -1, 2, 1})
        indices.append(index);
    driver->drawImageRun(nullptr, {100, 7}, rects, indices, 2, nullptr, CColor(), true);

    ASSERT_EQ(driver->imageParts.size(), 3u);
    const int32_t expectedX[3] = {100, 106, 118};
    const int32_t expectedLeft[3] = {10, 0, 10};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(driver->imageParts[i].position.x, expectedX[i]) << i;
        EXPECT_EQ(driver->imageParts[i].position.y, 7) << i;
        EXPECT_EQ(driver->imageParts[i].source.left, expectedLeft[i]) << i;
    }

    CRefPointer<FakeDriverTexture> texture(new FakeDriverTexture(COLOR_FORMAT_A8R8G8B8, 16, 8));
    driver->drawImage(texture.get(), {1, 2});
    driver->drawImage(nullptr, {1, 2});
    ASSERT_EQ(driver->imageParts.size(), 4u);
    EXPECT_EQ(driver->imageParts[3].source.right, 16);
    EXPECT_EQ(driver->imageParts[3].source.bottom, 8);
}

TEST(NullRenderDriverTest, RegularPolygonStartsBelowTheCentre) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    driver->drawRegularPolygon({10, 20}, 5, CColor(), 1);
    EXPECT_TRUE(driver->lines.empty());

    driver->drawRegularPolygon({10, 20}, 5, CColor(), 4);
    const CVector2d corners[4] = {{10, 25}, {15, 20}, {10, 15}, {5, 20}};
    const int expected[4][2] = {{1, 0}, {2, 1}, {3, 2}, {3, 0}};
    ASSERT_EQ(driver->lines.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const CVector2d start = corners[expected[i][0]];
        const CVector2d end = corners[expected[i][1]];
        EXPECT_NEAR(driver->lines[i].start.x, start.x, 1e-4) << i;
        EXPECT_NEAR(driver->lines[i].start.y, start.y, 1e-4) << i;
        EXPECT_NEAR(driver->lines[i].end.x, end.x, 1e-4) << i;
        EXPECT_NEAR(driver->lines[i].end.y, end.y, 1e-4) << i;
    }
}

TEST(NullRenderDriverTest, FramesCountTheirPrimitives) {
    RenderTestClock clock;
    CRefPointer<RecordingRenderDriver> driver(
        new RecordingRenderDriver(CRefPointer<CTimer>(new CTimer(clock))));
    clock.nowMs = 2000;
    ASSERT_TRUE(driver->startFrame(true, true, CColor(), nullptr, nullptr));
    driver->drawPrimitives(nullptr, 0, nullptr, 2, VERTEX_TYPE_NORMAL, 0, PRIMITIVE_LINES);
    CRefPointer<FakeMeshBuffer> mesh(new FakeMeshBuffer());
    mesh->primitiveCount = 3;
    driver->drawGeometryBuffer(mesh.get());
    driver->drawGeometryBuffer(nullptr);
    ASSERT_TRUE(driver->presentFrame());
    EXPECT_EQ(driver->getPrimitiveCount(0), 5u);
    EXPECT_EQ(driver->getPrimitiveCount(1), 3u);
    EXPECT_EQ(driver->getFrameRate(), 1u);

    clock.nowMs = 2016;
    driver->startFrame(true, true, CColor(), nullptr, nullptr);
    const uint16_t indices[12] = {};
    driver->drawIndexedTriangles(nullptr, 1, indices, 4);
    driver->presentFrame();
    EXPECT_EQ(driver->getPrimitiveCount(0), 4u);
    EXPECT_EQ(driver->getPrimitiveCount(2), 9u);
    ASSERT_EQ(driver->draws.size(), 3u);
    EXPECT_EQ(driver->draws[1].primitiveType, uint32_t(PRIMITIVE_TRIANGLES));
    EXPECT_EQ(driver->draws[2].vertexType, uint32_t(VERTEX_TYPE_NORMAL));

    driver->maxPrimitives = 10;
    EXPECT_TRUE(driver->checkPrimitiveCount(10));
    EXPECT_FALSE(driver->checkPrimitiveCount(11));
}

TEST(NullRenderDriverTest, ResizeWidensOnlyAWholeScreenViewport) {
    struct Case {
        CPixelRect viewport;
        CPixelRect afterResize;
    };
    const Case cases[] = {
        {{0, 0, 800, 600}, {0, 0, 1024, 768}},
        {{10, 20, 810, 620}, {0, 0, 1024, 768}},
        {{0, 0, 400, 600}, {0, 0, 400, 600}},
    };
    for (const Case& c : cases) {
        CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
        driver->setViewportRect(c.viewport);
        driver->handleResize({1024, 768});
        const CPixelRect& viewport = driver->getViewportRect();
        EXPECT_EQ(viewport.left, c.afterResize.left) << c.viewport.right;
        EXPECT_EQ(viewport.right, c.afterResize.right) << c.viewport.right;
        EXPECT_EQ(viewport.bottom, c.afterResize.bottom) << c.viewport.right;
        EXPECT_EQ(driver->getBackBufferSize(), (CPixelSize{1024, 768}));
    }
}

TEST(NullRenderDriverTest, LightsAreKeptInOrder) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    CLight light;
    light.kind = LIGHT_SPOT;
    EXPECT_EQ(driver->addLight(light), 0);
    light.kind = LIGHT_DIRECTIONAL;
    EXPECT_EQ(driver->addLight(light), 1);
    EXPECT_EQ(driver->getLightCount(), 2u);
    ASSERT_NE(driver->getLight(1), nullptr);
    EXPECT_EQ(driver->getLight(1)->kind, LIGHT_DIRECTIONAL);
    EXPECT_EQ(driver->getLight(2), nullptr);
    driver->removeAllLights();
    EXPECT_EQ(driver->getLightCount(), 0u);
    EXPECT_EQ(driver->getLight(0), nullptr);
}

// Records the program texts that reach the text form.
class ShaderTextDriver : public RecordingRenderDriver {
public:
    int32_t createHighLevelMaterial(const char* vertexProgram, const char*, int32_t,
                                    const char* pixelProgram, const char*, int32_t,
                                    IShaderCallback*, int32_t, int32_t) override {
        ++calls;
        vertexText = vertexProgram ? vertexProgram : "<none>";
        pixelText = pixelProgram ? pixelProgram : "<none>";
        return 30;
    }

    int calls = 0;
    std::string vertexText;
    std::string pixelText;
};

TEST(NullRenderDriverTest, ShaderProgramsAreReadWhole) {
    CRefPointer<ShaderTextDriver> driver(new ShaderTextDriver());
    char program[] = "void main() {}";
    CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
        reinterpret_cast<uint8_t*>(program), int32_t(std::strlen(program)), u"both.glsl", false));

    // One file holding both programs is read twice from its start.
    EXPECT_EQ(driver->createHighLevelMaterialFromFiles(file.get(), "main", 0, file.get(), "main", 0,
                                                       nullptr, 0, 0),
              30);
    EXPECT_EQ(driver->vertexText, program);
    EXPECT_EQ(driver->pixelText, program);

    file->seekTo(0, false);
    driver->createHighLevelMaterialFromFiles(nullptr, "", 0, file.get(), "", 0, nullptr, 0, 0);
    EXPECT_EQ(driver->vertexText, "<none>");
    EXPECT_EQ(driver->pixelText, program);

    // A path that does not open stops before the text form.
    EXPECT_EQ(driver->createHighLevelMaterialFromPaths(u"missing.vert", "", 0, nullptr, "", 0,
                                                       nullptr, 0, 0),
              -1);
    EXPECT_EQ(driver->createAsmMaterialFromPaths(nullptr, u"missing.frag", nullptr, 0, 0), -1);
    EXPECT_EQ(driver->calls, 2);
    EXPECT_EQ(driver->createAsmMaterial("a", "b", nullptr, 0, 0), -1);
}

} // namespace
