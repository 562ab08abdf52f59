#include "engine/scene/SpriteNode.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataScalars.h"
#include "tests/scene/SpriteFixtures.h"

namespace {

CRefPointer<SpriteNode> makeSprite(BaseNode* parent = nullptr) {
    return CRefPointer<SpriteNode>(new SpriteNode(CContentKey(), parent, nullptr));
}

std::vector<std::string> keysOf(const CProperties& properties) {
    std::vector<std::string> keys;
    for (int32_t i = 0; i < properties.getCount(); ++i)
        keys.push_back(properties.getNameAt(i).c_str());
    return keys;
}

// Brings the node's drawing state up to date, as the drawing pass does.
RenderList collect(BaseNode& node) {
    RenderList list;
    node.collectDrawables(list);
    return list;
}

TEST(SpriteNodeTest, TheImagePivotLiesOnTheNodeOrigin) {
    const CRefPointer<SpriteNode> sprite = makeSprite();
    sprite->setImage(makeWholeImage(64, 32).get());
    sprite->setImagePivotPoint({32, 16});
    collect(*sprite);

    const CQuadRecord& quad = sprite->getQuad();
    const CVector3d corners[4] = {{-32, -16, 1}, {32, -16, 1}, {32, 16, 1}, {-32, 16, 1}};
    const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(quad.vertices[i].position, corners[i]) << i;
        EXPECT_EQ(quad.vertices[i].texCoord, texCoords[i]) << i;
        EXPECT_EQ(quad.vertices[i].color.value, 0xFFFFFFFFu) << i;
    }
    EXPECT_EQ(quad.material->type, uint32_t(MATERIAL_TRANS_ALPHACH_VERTEXALPHA));
    EXPECT_EQ(quad.material->layers[0].texture, sprite->getImage()->getPage());
    EXPECT_EQ(quad.material->layers[0].wrapMode, 1);
    EXPECT_FALSE(quad.material->lighting);
}

// The image is the middle half of a 128 x 64 page (u from 0.25 to 0.75, 64 pixels wide), with
// 2 pixels before it and 3 after.
TEST(SpriteNodeTest, StretchModesPlaceAndCutTheImageAgainstTheBounds) {
    struct Case {
        const char* what;
        int32_t stretch;
        float boundsX;
        float pivotX;
        float left;
        float right;
        float uLeft;
        float uRight;
        float boundsAfter;
    };
    const Case cases[] = {
        {"own size", SpriteNode::STRETCH_NONE, 100, 32, -30, 34, 0.25f, 0.75f, 100},
        {"unknown mode", 7, 100, 32, -30, 34, 0.25f, 0.75f, 100},
        {"to the bounds", SpriteNode::STRETCH_TO_BOUNDS, 200, 0, 2, 197, 0.25f, 0.75f, 200},
        {"bounds follow", SpriteNode::STRETCH_BOUNDS_TO_IMAGE, 100, 32, -30, 34, 0.25f, 0.75f, 64},
        {"cropped right", SpriteNode::STRETCH_CROP, 40, 0, 2, 40, 0.25f, 0.75f - 0.5f * 26 / 64,
         40},
        {"cropped left", SpriteNode::STRETCH_CROP, 40, 32, 0, 34, 0.25f + 0.5f * 30 / 64, 0.75f,
         40},
    };
    const CRefPointer<CAtlasTexture> image =
        makeAtlasTexture(u"part.png", 128, 64, 128, 64, CRect(32, 0, 96, 32),
                         [](int32_t, int32_t) { return 0xFFFFFFFFu; }, true, {2, 0}, {3, 0});
    for (const Case& c : cases) {
        const CRefPointer<SpriteNode> sprite = makeSprite();
        sprite->setWrapType(0);
        sprite->setBounds({c.boundsX, 100, 0});
        sprite->setImagePivotPoint({c.pivotX, 0});
        sprite->setImage(image.get());
        sprite->setImageStretchX(c.stretch);
        collect(*sprite);

        const CVertex* v = sprite->getQuad().vertices;
        EXPECT_FLOAT_EQ(v[0].position.x, c.left) << c.what;
        EXPECT_FLOAT_EQ(v[1].position.x, c.right) << c.what;
        EXPECT_FLOAT_EQ(v[0].texCoord.x, c.uLeft) << c.what;
        EXPECT_FLOAT_EQ(v[1].texCoord.x, c.uRight) << c.what;
        EXPECT_EQ(sprite->getBounds().x, c.boundsAfter) << c.what;
    }
}

TEST(SpriteNodeTest, AWholeRepeatingTextureTilesAcrossTheBounds) {
    for (const int32_t wrap : {0, 1}) {
        const CRefPointer<SpriteNode> sprite = makeSprite();
        sprite->setWrapType(wrap);
        sprite->setBounds({256, 100, 0});
        sprite->setImage(makeWholeImage(64, 32).get());
        sprite->setImageStretchX(SpriteNode::STRETCH_TO_BOUNDS);
        collect(*sprite);

        EXPECT_EQ(sprite->getQuad().vertices[1].position.x, 256) << wrap;
        EXPECT_EQ(sprite->getQuad().vertices[1].texCoord.x, wrap == 0 ? 4 : 1) << wrap;
    }
}

TEST(SpriteNodeTest, FlipsMirrorTheTextureAndCornersFollowTheTransform) {
    const CRefPointer<SpriteNode> sprite = makeSprite();
    sprite->setImage(makeWholeImage(64, 32).get());
    sprite->setPosition({100, 50, 7});
    sprite->setScale({2, 1, 1});
    sprite->setFlipX(true);
    sprite->setFlipY(true);
    sprite->setTintColor(CColor(0x80FF0000u));
    const RenderList list = collect(*sprite);

    const CVertex* v = sprite->getQuad().vertices;
    const CVector3d corners[4] = {{100, 50, 1}, {228, 50, 1}, {228, 82, 1}, {100, 82, 1}};
    const CVector2d texCoords[4] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].position, corners[i]) << i;
        EXPECT_EQ(v[i].texCoord, texCoords[i]) << i;
        EXPECT_EQ(v[i].color.value, 0x80FF0000u) << i;
    }
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].depth, 7);
}

// A 4 x 2 image whose columns have the alphas 21, 20, 255 and 0, drawn ten times its size at
// (100, 100): world x 100 + 10 c + 5 is the middle of column c.
uint32_t columnAlphas(int32_t x, int32_t) {
    const uint32_t alphas[4] = {21, 20, 255, 0};
    return alphas[x] << 24 | 0x00FFFFFFu;
}

CRefPointer<SpriteNode> makeColumnSprite(bool keepPixels) {
    const CRefPointer<SpriteNode> sprite = makeSprite();
    sprite->setImage(
        makeAtlasTexture(u"columns.png", 4, 2, 4, 2, CRect(0, 0, 4, 2), columnAlphas, keepPixels)
            .get());
    sprite->setPosition({100, 100, 0});
    sprite->setScale({10, 10, 1});
    return sprite;
}

TEST(SpriteNodeTest, HitsArePixelsWithAlphaAbove20WhereTheImageIsDrawn) {
    struct Case {
        const char* what;
        bool flip;
        CVector2d pivot;
        // Hits at world x 85, 95, ..., 155 on the row of y.
        float y;
        const char* hits;
    };
    const Case cases[] = {
        {"plain", false, {0, 0}, 105, "..X.X..."},
        {"pivoted", false, {2, 1}, 95, "X.X....."},
        {"pivoted and flipped", true, {2, 1}, 95, ".X.X...."},
        {"below the image", false, {0, 0}, 125, "........"},
    };
    for (const Case& c : cases) {
        const CRefPointer<SpriteNode> sprite = makeColumnSprite(true);
        sprite->setFlipX(c.flip);
        sprite->setImagePivotPoint(c.pivot);
        collect(*sprite);

        std::string hits;
        for (int i = 0; i < 8; ++i)
            hits += sprite->hitTest({85.0f + 10 * float(i), c.y, 0}) ? 'X' : '.';
        EXPECT_EQ(hits, c.hits) << c.what;
    }
}

TEST(SpriteNodeTest, HitsFollowTheImageStretchedAcrossTheBounds) {
    const CRefPointer<SpriteNode> sprite = makeColumnSprite(true);
    sprite->setBounds({8, 2, 0});
    sprite->setImageStretchX(SpriteNode::STRETCH_TO_BOUNDS);
    collect(*sprite);

    std::string hits;
    for (int i = 0; i < 8; ++i)
        hits += sprite->hitTest({105.0f + 10 * float(i), 105, 0}) ? 'X' : '.';
    EXPECT_EQ(hits, "XX..XX..");
}

TEST(SpriteNodeTest, WithoutKeptPixelsTheWholeImageIsHit) {
    const CRefPointer<SpriteNode> sprite = makeColumnSprite(false);
    collect(*sprite);

    EXPECT_TRUE(sprite->hitTest({135, 105, 0}));
    EXPECT_TRUE(sprite->hitTest({115, 105, 0}));
    EXPECT_FALSE(sprite->hitTest({145, 105, 0}));
}

TEST(SpriteNodeTest, HiddenFaintUnhittableOrImagelessSpritesAreNotHit) {
    const CVector3d opaque(125, 105, 0);
    {
        const CRefPointer<SpriteNode> sprite = makeColumnSprite(true);
        collect(*sprite);
        ASSERT_TRUE(sprite->hitTest(opaque));
        sprite->setTintColor(CColor(0x15FFFFFFu));
        EXPECT_TRUE(sprite->hitTest(opaque));
        sprite->setTintColor(CColor(0x14FFFFFFu));
        EXPECT_FALSE(sprite->hitTest(opaque));
    }
    {
        const CRefPointer<SpriteNode> sprite = makeColumnSprite(true);
        collect(*sprite);
        sprite->setVisible(false);
        EXPECT_FALSE(sprite->hitTest(opaque));
        sprite->setVisible(true);
        sprite->setCanBeHit(false);
        EXPECT_FALSE(sprite->hitTest(opaque));
        sprite->setCanBeHit(true);
        sprite->setImage(nullptr);
        EXPECT_FALSE(sprite->hitTest(opaque));
    }
}

TEST(SpriteNodeTest, OnlySpritesShowingAnImageAddADrawable) {
    const CRefPointer<CAtlasTexture> image = makeWholeImage(8, 8);
    const CRefPointer<SpriteNode> parent = makeSprite();
    const CRefPointer<SpriteNode> child = makeSprite(parent.get());
    child->setImage(image.get());
    child->setPosition({0, 0, 3});

    RenderList list = collect(*parent);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].node, child.get());
    EXPECT_EQ(list[0].depth, 3);
    EXPECT_EQ(list[0].sortKey, image->getPage()->getSerial());

    parent->setImage(image.get());
    EXPECT_EQ(collect(*parent).size(), 2u);
    child->setTintColor(CColor(0x00FFFFFFu));
    list = collect(*parent);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].node, parent.get());
    parent->setVisible(false);
    EXPECT_EQ(collect(*parent).size(), 0u);

    // While the driver is replaced the page has no texture.
    image->getPage()->setTexture(nullptr);
    EXPECT_EQ(collect(*child).size(), 0u);
}

// A page given memory from the top of a small arena down: each one lies below the one made
// before it, as pages made where older ones were freed may.
class DescendingPage : public CImageTexture {
public:
    static constexpr size_t kPages = 16;

    DescendingPage() : CImageTexture(CContentKey(), u"page.png", texture().get()) {}

    static void* operator new(size_t size) {
        static constexpr size_t kSlot = (sizeof(DescendingPage) + 63) / 64 * 64;
        alignas(64) static std::byte arena[kPages * kSlot];
        static size_t next = 0;
        EXPECT_LE(size, kSlot);
        next = next == 0 ? kPages - 1 : next - 1;
        return arena + next * kSlot;
    }
    static void operator delete(void*) {}

protected:
    ~DescendingPage() override = default;

private:
    static CRefPointer<IDriverTexture> texture() {
        return CRefPointer<IDriverTexture>(new FakeDriverTexture(COLOR_FORMAT_A8R8G8B8, 4, 4));
    }
};

// Overlapping sprites of one depth draw in the same order in every run, whatever memory their
// pages were given: the page made first, first.
TEST(SpriteNodeTest, SpritesOfOneDepthDrawInTheOrderTheirPagesWereMade) {
    std::vector<CRefPointer<CAtlasTexture>> images;
    for (size_t i = 0; i < DescendingPage::kPages; ++i)
        images.emplace_back(new CAtlasTexture(CContentKey(),
                                              CRefPointer<CImageTexture>(new DescendingPage()),
                                              CRect(0, 0, 1, 1), {}, {}));
    const CRefPointer<SpriteNode> parent = makeSprite();
    std::vector<CRefPointer<SpriteNode>> children;
    for (auto image = images.rbegin(); image != images.rend(); ++image) {
        children.push_back(makeSprite(parent.get()));
        children.back()->setImage(image->get());
    }

    RenderList list = collect(*parent);
    sortRenderList(list);
    ASSERT_EQ(list.size(), children.size());
    for (size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(list[uint32_t(i)].node, children[children.size() - 1 - i].get()) << i;
}

TEST(SpriteNodeTest, RendersOneFanAfterTheBatchClippedByPlanesWhenAsked) {
    const CRefPointer<SpriteNode> sprite = makeSprite();
    sprite->setImage(makeWholeImage(8, 8).get());
    sprite->setBlendType(1);
    collect(*sprite);
    CRefPointer<ClipRecordingDriver> driver(new ClipRecordingDriver());
    RenderMaterial plain;
    const CVector2d corners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    driver->getQuadBatcher()->addQuad(&plain, corners, corners, 0, CColor(0xFFFFFFFFu));

    const CRect clip(10, 20, 30, 40);
    sprite->render(driver.get(), &clip);

    EXPECT_EQ(driver->log, (std::vector<std::string>{
                               "draw 2",
                               "world 0,0",
                               "plane 0 on 0,1,0,-20",
                               "plane 1 on 0,-1,0,40",
                               "plane 2 on 1,0,0,-10",
                               "plane 3 on -1,0,0,30",
                               "draw 2",
                               "plane 0 off 0,1,0,0",
                               "plane 1 off 0,-1,0,0",
                               "plane 2 off 1,0,0,0",
                               "plane 3 off -1,0,0,0",
                           }));
    const RecordingRenderDriver::Draw& draw = driver->draws.back();
    EXPECT_EQ(draw.primitiveType, uint32_t(PRIMITIVE_TRIANGLE_FAN));
    ASSERT_EQ(draw.vertices.size(), 4u);
    EXPECT_EQ(draw.vertices[2].position, sprite->getQuad().vertices[2].position);
    EXPECT_EQ(draw.texture, sprite->getImage()->getPage());
    EXPECT_EQ(driver->applied.type, uint32_t(MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD));

    driver->log.clear();
    sprite->render(driver.get(), nullptr);
    EXPECT_EQ(driver->log, (std::vector<std::string>{"draw 2"}));
}

TEST(SpriteNodeTest, SavesWhatDiffersFromTheDefaultsAndLoadsItBack) {
    const CRefPointer<CAtlasTexture> image = makeWholeImage(8, 8);
    const CRefPointer<SpriteNode> source = makeSprite();
    CRefPointer<CProperties> saved(new CProperties());
    source->saveProperties(*saved);
    EXPECT_EQ(saved->getCount(), 0);

    source->setImageStretchX(SpriteNode::STRETCH_TO_BOUNDS);
    source->setImageStretchY(SpriteNode::STRETCH_CROP);
    source->setImagePivotPoint({3, 4});
    source->setWrapType(0);
    source->setFlipX(true);
    source->setFlipY(true);
    source->setBlendType(1);
    source->setImage(image.get());
    source->saveProperties(*saved);
    EXPECT_EQ(keysOf(*saved), (std::vector<std::string>{"ImageStretchX", "ImageStretchY",
                                                        "ImagePivotPoint", "WrapType", "FlipX",
                                                        "FlipY", "BlendType", "AtlasTexture"}));

    const CRefPointer<SpriteNode> copy = makeSprite();
    copy->loadProperties(*saved);
    EXPECT_EQ(copy->getImageStretchX(), SpriteNode::STRETCH_TO_BOUNDS);
    EXPECT_EQ(copy->getImageStretchY(), SpriteNode::STRETCH_CROP);
    EXPECT_EQ(copy->getImagePivotPoint(), CVector2d(3, 4));
    EXPECT_EQ(copy->getWrapType(), 0);
    EXPECT_TRUE(copy->getFlipX() && copy->getFlipY());
    EXPECT_EQ(copy->getBlendType(), 1);
    EXPECT_EQ(copy->getImage(), image.get());

    // The bounds keep the image's size; the mode is not written.
    const CRefPointer<SpriteNode> following = makeSprite();
    following->setImageStretchX(SpriteNode::STRETCH_BOUNDS_TO_IMAGE);
    following->setImageStretchY(SpriteNode::STRETCH_BOUNDS_TO_IMAGE);
    CRefPointer<CProperties> none(new CProperties());
    following->saveProperties(*none);
    EXPECT_EQ(none->getCount(), 0);
}

TEST(SpriteNodeTest, LoadingConvertsValuesOfOtherTypesAndIgnoresUnknownWrapModes) {
    const CRefPointer<SpriteNode> sprite = makeSprite();
    sprite->setImage(makeWholeImage(8, 8).get());
    sprite->setImagePivotPoint({1, 1});
    sprite->setWrapType(2);
    sprite->setBlendType(1);
    CRefPointer<CProperties> values(new CProperties());
    values->addInt("BlendType", 7);
    values->addInt("WrapType", 9);
    values->addInt("ImagePivotPoint", 5);
    values->addInt("AtlasTexture", 5);
    values->addInt("FlipX", 1);
    sprite->loadProperties(*values);

    EXPECT_EQ(sprite->getBlendType(), 0);
    EXPECT_EQ(sprite->getQuad().material->type, uint32_t(MATERIAL_TRANS_ALPHACH_VERTEXALPHA));
    EXPECT_EQ(sprite->getWrapType(), 2);
    EXPECT_EQ(sprite->getImagePivotPoint(), CVector2d(0, 0));
    EXPECT_EQ(sprite->getImage(), nullptr);
    EXPECT_FALSE(sprite->getFlipX());

    values->clear();
    values->addBool("WrapType", true);
    sprite->loadProperties(*values);
    EXPECT_EQ(sprite->getWrapType(), 0);
}

TEST(SpriteNodeTest, PropertiesByNameFollowTheBaseNodesOnes) {
    const CRefPointer<SpriteNode> sprite = makeSprite();
    const std::vector<const char*> own = {"ImageStretchX", "ImageStretchY", "ImagePivotPoint",
                                          "WrapType",      "FlipX",         "FlipY",
                                          "BlendType",     "AtlasTexture"};
    ASSERT_EQ(sprite->getPropertyTable().size(), 11 + own.size());
    for (size_t i = 0; i < own.size(); ++i)
        EXPECT_EQ(sprite->findProperty(own[i]), int32_t(11 + i)) << own[i];

    const CRefPointer<CAtlasTexture> image = makeWholeImage(8, 8);
    const int32_t texture = sprite->findProperty("AtlasTexture");
    sprite->setPropertyByIndex(texture, makeAtlasTextureProperty(image.get()));
    EXPECT_EQ(sprite->getImage(), image.get());
    const CRefPointer<CPropertyData> value = sprite->getPropertyByIndex(texture);
    ASSERT_EQ(value->getTypeId(), CPropertyDataAtlasTexture::kTypeId);
    EXPECT_EQ(static_cast<CPropertyDataAtlasTexture&>(*value).getTexture(), image.get());
    sprite->setPropertyByIndex(sprite->findProperty("BlendType"), makeIntProperty(1));
    EXPECT_EQ(sprite->getBlendType(), 1);
}

TEST(SpriteNodeTest, ACloneShowsTheSameImageTheSameWay) {
    const CRefPointer<SpriteNode> source = makeSprite();
    source->setImage(makeWholeImage(64, 32).get());
    source->setImagePivotPoint({32, 16});
    source->setImageStretchY(SpriteNode::STRETCH_CROP);
    source->setWrapType(4);
    source->setFlipX(true);
    source->setBlendType(1);

    const CRefPointer<BaseNode> clone = source->clone(nullptr, nullptr);
    ASSERT_TRUE(clone->isKindOf(SpriteNode::kTypeId));
    auto& copy = static_cast<SpriteNode&>(*clone);
    collect(*source);
    collect(copy);

    EXPECT_EQ(copy.getImage(), source->getImage());
    EXPECT_EQ(copy.getImageStretchY(), SpriteNode::STRETCH_CROP);
    EXPECT_EQ(copy.getWrapType(), 4);
    EXPECT_EQ(copy.getBlendType(), 1);
    EXPECT_EQ(copy.getQuad().material->type, uint32_t(MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(copy.getQuad().vertices[i].position, source->getQuad().vertices[i].position);
        EXPECT_EQ(copy.getQuad().vertices[i].texCoord, source->getQuad().vertices[i].texCoord);
    }
    EXPECT_TRUE(copy.isKindOf(0) && !copy.isKindOf(2));
    EXPECT_TRUE(copy.getTypeName() == u"SpriteNode");
}

} // namespace
