#include "engine/scene/NineGridSpriteNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataScalars.h"
#include "tests/scene/SpriteFixtures.h"

namespace {

CRefPointer<NineGridSpriteNode> makeGrid() {
    return CRefPointer<NineGridSpriteNode>(new NineGridSpriteNode(CContentKey(), nullptr, nullptr));
}

// A 30 x 30 image in the corner of a 32 x 32 texture.
CRefPointer<CAtlasTexture> makeFrameImage() {
    return makeAtlasTexture(u"frame.png", 30, 30, 32, 32, CRect(0, 0, 30, 30),
                            [](int32_t, int32_t) { return 0x00FFFFFFu; });
}

// The nine quads as the batch draws them: four vertices each, row by row.
std::vector<CVertex> drawGrid(NineGridSpriteNode& grid) {
    RenderList list;
    grid.collectDrawables(list);
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    grid.render(driver.get(), nullptr);
    driver->getQuadBatcher()->flush();
    return driver->draws.empty() ? std::vector<CVertex>() : driver->draws[0].vertices;
}

TEST(NineGridSpriteNodeTest, CornersKeepTheirSizeWhileEdgesAndCentreStretch) {
    const CRefPointer<NineGridSpriteNode> grid = makeGrid();
    grid->setImage(makeFrameImage().get());
    grid->setBounds({100, 50, 0});
    grid->setPosition({5, 7, 0});
    grid->setTintColor(CColor(0x80FFFFFFu));

    const std::vector<CVertex> vertices = drawGrid(*grid);

    ASSERT_EQ(vertices.size(), 36u);
    const float xs[4] = {0, 10, 90, 100};
    const float ys[4] = {0, 10, 40, 50};
    const float us[4] = {0, 0.3125f, 0.625f, 0.9375f};
    const int right[4] = {0, 1, 1, 0};
    const int down[4] = {0, 0, 1, 1};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            for (int corner = 0; corner < 4; ++corner) {
                const CVertex& v = vertices[size_t((row * 3 + column) * 4 + corner)];
                const int i = column + right[corner];
                const int j = row + down[corner];
                EXPECT_EQ(v.position, CVector3d(5 + xs[i], 7 + ys[j], 0))
                    << row << column << corner;
                EXPECT_EQ(v.texCoord, CVector2d(us[i], us[j])) << row << column << corner;
                EXPECT_EQ(v.color.value, 0x80FFFFFFu);
            }
        }
    }
}

// Borders wider together than the bounds would give the middle column a negative width and
// cross the quads over (a slider's bar near 0 looked like a bow-tie): they share the bounds in
// their proportion instead, and the image's corners are squeezed into them.
TEST(NineGridSpriteNodeTest, BordersWiderThanTheBoundsShareThemWithoutCrossing) {
    struct Case {
        CVector3d bounds;
        CVector2d topLeft;
        CVector2d bottomRight;
        float xs[4];
        float ys[4];
    };
    const Case cases[] = {
        {{30, 30, 0}, {20, 10}, {20, 10}, {0, 15, 15, 30}, {0, 10, 20, 30}},
        {{4, 16, 0}, {7, 7}, {1, 7}, {0, 3.5f, 3.5f, 4}, {0, 7, 9, 16}},
        {{0, 5, 0}, {7, 10}, {7, 0}, {0, 0, 0, 0}, {0, 5, 5, 5}},
    };
    const int right[4] = {0, 1, 1, 0};
    const int down[4] = {0, 0, 1, 1};
    for (const Case& c : cases) {
        const CRefPointer<NineGridSpriteNode> grid = makeGrid();
        grid->setImage(makeFrameImage().get());
        grid->setBounds(c.bounds);
        grid->setTopLeftDelta(c.topLeft);
        grid->setBottomRightDelta(c.bottomRight);
        const std::vector<CVertex> vertices = drawGrid(*grid);
        ASSERT_EQ(vertices.size(), 36u);
        for (size_t v = 0; v < vertices.size(); ++v) {
            const size_t cell = v / 4;
            const int i = int(cell % 3) + right[v % 4];
            const int j = int(cell / 3) + down[v % 4];
            EXPECT_EQ(vertices[v].position, CVector3d(c.xs[i], c.ys[j], 0)) << c.bounds.x << v;
        }
        EXPECT_FLOAT_EQ(vertices[1].texCoord.x, c.topLeft.x / 32) << "the corner's whole image";
    }
}

TEST(NineGridSpriteNodeTest, DrawsOnlyWithAPageAndIsHitAnywhereInsideItsBounds) {
    const CRefPointer<NineGridSpriteNode> grid = makeGrid();
    RenderList list;
    grid->collectDrawables(list);
    EXPECT_EQ(list.size(), 0u);
    EXPECT_TRUE(drawGrid(*grid).empty());

    const CRefPointer<CAtlasTexture> image = makeFrameImage();
    grid->setImage(image.get());
    grid->collectDrawables(list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].sortKey, image->getPage()->getSerial());
    // Every pixel of the image is transparent.
    EXPECT_TRUE(grid->hitTest({50, 50, 0}));
    EXPECT_FALSE(grid->hitTest({150, 50, 0}));
    grid->setTintColor(CColor(0x14FFFFFFu));
    EXPECT_FALSE(grid->hitTest({50, 50, 0}));

    image->getPage()->setTexture(nullptr);
    list.clear();
    grid->collectDrawables(list);
    EXPECT_EQ(list.size(), 0u);
}

TEST(NineGridSpriteNodeTest, SavesChangedDeltasAndTheImageAndLoadsThemBack) {
    const CRefPointer<NineGridSpriteNode> source = makeGrid();
    CRefPointer<CProperties> saved(new CProperties());
    source->saveProperties(*saved);
    EXPECT_EQ(saved->getCount(), 0);

    const CRefPointer<CAtlasTexture> image = makeFrameImage();
    source->setImage(image.get());
    source->setBottomRightDelta({4, 6});
    source->saveProperties(*saved);
    ASSERT_EQ(saved->getCount(), 2);
    EXPECT_EQ(std::string(saved->getNameAt(0).c_str()), "AtlasTexture");
    EXPECT_EQ(std::string(saved->getNameAt(1).c_str()), "BottomRightDelta");

    const CRefPointer<NineGridSpriteNode> copy = makeGrid();
    saved->addInt("TopLeftDelta", 3);
    copy->loadProperties(*saved);
    EXPECT_EQ(copy->getImage(), image.get());
    EXPECT_EQ(copy->getBottomRightDelta(), CVector2d(4, 6));
    EXPECT_EQ(copy->getTopLeftDelta(), CVector2d(0, 0));

    const int32_t delta = copy->findProperty("TopLeftDelta");
    EXPECT_EQ(delta, 12);
    copy->setPropertyByIndex(delta, makeVector2dProperty({7, 8}));
    EXPECT_EQ(copy->getTopLeftDelta(), CVector2d(7, 8));
    copy->setPropertyByIndex(copy->findProperty("AtlasTexture"), makeIntProperty(1));
    EXPECT_EQ(copy->getImage(), nullptr);
}

TEST(NineGridSpriteNodeTest, ACloneHasTheSameImageAndDeltas) {
    const CRefPointer<NineGridSpriteNode> source = makeGrid();
    source->setImage(makeFrameImage().get());
    source->setTopLeftDelta({1, 2});
    source->setBottomRightDelta({3, 4});

    const CRefPointer<BaseNode> clone = source->clone(nullptr, nullptr);

    ASSERT_TRUE(clone->isKindOf(NineGridSpriteNode::kTypeId) && !clone->isKindOf(3));
    const auto& copy = static_cast<const NineGridSpriteNode&>(*clone);
    EXPECT_EQ(copy.getImage(), source->getImage());
    EXPECT_EQ(copy.getTopLeftDelta(), CVector2d(1, 2));
    EXPECT_EQ(copy.getBottomRightDelta(), CVector2d(3, 4));
}

} // namespace
