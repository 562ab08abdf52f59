#include "game/screens/TwoSpritesProgressBarNode.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/screens/WidgetFixtures.h"

namespace {

class TwoSpritesProgressBarNodeTest : public WidgetTest {
protected:
    // A bar "Star" of the two 40 x 20 images, with the value and bounds.
    GTwoSpritesProgressBarNode& openBar(float value, const char* bounds) {
        scene = openScene(R"(<SceneNode Type="GTwoSpritesProgressBarNode"><Properties>
<string Name="Name" Value="Star"/><vector3d Name="Position" Value="10;20;0"/>
<vector3d Name="Bounds" Value=")" +
                          std::string(bounds) + R"("/><float Name="Value" Value=")" +
                          std::to_string(value) +
                          R"("/><atlasTexture Name="AtlasTexture1" Value="images/Empty.png"/>
<atlasTexture Name="AtlasTexture2" Value="images/Full.png"/></Properties></SceneNode>)");
        return find<GTwoSpritesProgressBarNode>(*scene, "Star");
    }

    CRefPointer<SceneNode> scene;
};

TEST_F(TwoSpritesProgressBarNodeTest, TheSecondImageFillsFromTheLeftOrFromTheBottom) {
    struct Part {
        CVector3d position;
        CVector3d bounds;
        CVector2d pivot;
    };
    struct Case {
        const char* bounds;
        float value;
        Part first;
        Part second;
    };
    const Case cases[] = {
        {"100;100;0", 0, {{0, 0, 0}, {40, 20, 0}, {0, 0}}, {{0, 0, 0}, {0, 20, 0}, {0, 0}}},
        {"100;100;0", 30, {{12, 0, 0}, {28, 20, 0}, {12, 0}}, {{0, 0, 0}, {12, 20, 0}, {0, 0}}},
        {"100;100;0", 100, {{40, 0, 0}, {0, 20, 0}, {40, 0}}, {{0, 0, 0}, {40, 20, 0}, {0, 0}}},
        // 40 x 200 stands upright, whatever the images' shape.
        {"40;200;0", 0, {{0, 0, 0}, {40, 20, 0}, {0, 0}}, {{0, 20, 0}, {40, 0, 0}, {0, 20}}},
        {"40;200;0", 30, {{0, 0, 0}, {40, 14, 0}, {0, 0}}, {{0, 14, 0}, {40, 6, 0}, {0, 14}}},
        {"40;200;0", 100, {{0, 0, 0}, {40, 0, 0}, {0, 0}}, {{0, 0, 0}, {40, 20, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        GTwoSpritesProgressBarNode& bar = openBar(c.value, c.bounds);
        const std::string name = std::string(c.bounds) + " at " + std::to_string(c.value);
        const SpriteNode& first = bar.getFirstSprite();
        const SpriteNode& second = bar.getSecondSprite();
        EXPECT_EQ(first.getPosition(), c.first.position) << name;
        EXPECT_EQ(first.getBounds(), c.first.bounds) << name;
        EXPECT_EQ(first.getImagePivotPoint(), c.first.pivot) << name;
        EXPECT_EQ(second.getPosition(), c.second.position) << name;
        EXPECT_EQ(second.getBounds(), c.second.bounds) << name;
        EXPECT_EQ(second.getImagePivotPoint(), c.second.pivot) << name;
    }
}

TEST_F(TwoSpritesProgressBarNodeTest, TheSpritesAreDrawnCutToTheirPartsButAreNotChildren) {
    GTwoSpritesProgressBarNode& bar = openBar(30, "100;100;0");
    EXPECT_EQ(bar.getChildCount(), 0u);
    EXPECT_EQ(bar.getFirstSprite().getName(), nameId("_Texture1"));
    EXPECT_EQ(bar.getSecondSprite().getName(), nameId("_Texture2"));
    const RenderList list = collect(*scene);
    ASSERT_EQ(list.size(), 2u);
    const CQuadRecord& rest = bar.getFirstSprite().getQuad();
    EXPECT_EQ(rest.vertices[0].position.x, 22) << "from 30% of 40 on, at x 10";
    EXPECT_EQ(rest.vertices[1].position.x, 50);
    EXPECT_FLOAT_EQ(rest.vertices[0].texCoord.x, 0.3f);
    EXPECT_EQ(rest.vertices[0].texCoord.y, 0);
    const CQuadRecord& filled = bar.getSecondSprite().getQuad();
    EXPECT_EQ(filled.vertices[0].position.x, 10);
    EXPECT_EQ(filled.vertices[1].position.x, 22);
    EXPECT_FLOAT_EQ(filled.vertices[1].texCoord.x, 0.3f);

    bar.setValue(50);
    EXPECT_EQ(bar.getSecondSprite().getBounds().x, 20);
    const CRefPointer<BaseNode> copy = bar.clone(scene.get(), nullptr);
    auto& copied = static_cast<GTwoSpritesProgressBarNode&>(*copy);
    EXPECT_NE(&copied.getSecondSprite(), &bar.getSecondSprite());
    EXPECT_EQ(copied.getAtlasTexture2(), bar.getAtlasTexture2());
    EXPECT_EQ(copied.getSecondSprite().getBounds().x, 20);
}

} // namespace
