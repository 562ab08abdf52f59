#include <gtest/gtest.h>

#include <string>

#include "engine/scene/NineGridSpriteNode.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneNodeProcessor.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TextNode.h"
#include "tests/scene/SceneXmlFixtures.h"
#include "tests/scene/TextFixtures.h"

namespace {

// Scene files over the test font and an atlas, read with the engine's node factory.
class DrawingNodeSceneFileTest : public TextNodeTest {
protected:
    DrawingNodeSceneFileTest() {
        processors->registerProcessor(CRefPointer<IContentProcessor>(
            new CSceneNodeProcessor(CRefPointer<CNodeFactory>(new CNodeFactory()))));
        writeImage("atlases/ui.png", 64, 32);
        writeText("atlases/ui.xml", R"(<AtlasTextureCollection><a f="ui.png"/>
<t n="Button.png" r="0,0,32,16"/><t n="Frame.png" r="32,0,64,32"/></AtlasTextureCollection>)");
        EXPECT_TRUE(manager->load(contentType("atxc"), u"atlases/ui.xml", false));
    }

    CRefPointer<BaseNode> loadScene(const std::string& name) {
        return load<BaseNode>("snod", name);
    }

    static std::string saved(const BaseNode& node) {
        XmlCapture capture;
        node.saveToXml(capture.writer());
        return utf16ToUtf8(capture.text().c_str()).c_str();
    }
};

const char* const kScene = R"(<SceneNode Type="BaseNode">
<SceneNode Type="SpriteNode"><Properties>
  <string Name="Name" Value="Logo"/>
  <atlasTexture Name="AtlasTexture" Value="Button.png"/>
  <vector2d Name="ImagePivotPoint" Value="16;8"/>
  <int Name="BlendType" Value="1"/>
</Properties></SceneNode>
<SceneNode Type="NineGridSpriteNode"><Properties>
  <string Name="Name" Value="Panel"/>
  <vector2d Name="TopLeftDelta" Value="6;6"/>
  <atlasTexture Name="AtlasTexture" Value="Frame.png"/>
</Properties></SceneNode>
<SceneNode Type="TextNode"><Properties>
  <string Name="Name" Value="Caption"/>
  <vector3d Name="Bounds" Value="35;20;0"/>
  <bool Name="WordWrap" Value="true"/>
  <font Name="Font" Value="fonts/mono.qfnt"/>
  <stringw Name="Text" Value="one two"/>
</Properties></SceneNode>
</SceneNode>)";

TEST_F(DrawingNodeSceneFileTest, SpritesFramesAndTextsLoadFromSceneFilesAndSaveBack) {
    writeText("menu.qscn", kScene);
    const CRefPointer<BaseNode> scene = loadScene("menu.qscn");
    ASSERT_TRUE(scene);
    ASSERT_EQ(scene->getChildCount(), 3u);

    ASSERT_TRUE(scene->getChild(0)->isKindOf(SpriteNode::kTypeId));
    const auto& logo = static_cast<SpriteNode&>(*scene->getChild(0));
    EXPECT_EQ(logo.getImage(), load<CAtlasTexture>("atex", "Button.png").get());
    EXPECT_EQ(logo.getImagePivotPoint(), CVector2d(16, 8));
    EXPECT_EQ(logo.getBlendType(), 1);
    ASSERT_TRUE(scene->getChild(1)->isKindOf(NineGridSpriteNode::kTypeId));
    const auto& panel = static_cast<NineGridSpriteNode&>(*scene->getChild(1));
    EXPECT_EQ(panel.getImage(), load<CAtlasTexture>("atex", "Frame.png").get());
    EXPECT_EQ(panel.getTopLeftDelta(), CVector2d(6, 6));
    ASSERT_TRUE(scene->getChild(2)->isKindOf(TextNode::kTypeId));
    const auto& caption = static_cast<TextNode&>(*scene->getChild(2));
    EXPECT_EQ(caption.getFont(), font.get());
    EXPECT_EQ(linesOf(caption), (std::vector<std::string>{"one", "two"}));
    RenderList list;
    scene->collectDrawables(list);
    EXPECT_EQ(list.size(), 3u);

    const std::string text = saved(*scene);
    for (const char* expected :
         {R"(<SceneNode Type="SpriteNode">)", R"(Name="AtlasTexture" Value="Button.png")",
          R"(<SceneNode Type="NineGridSpriteNode">)", R"(Name="AtlasTexture" Value="Frame.png")",
          R"(<SceneNode Type="TextNode">)", R"(Name="Font" Value="fonts/mono.qfnt")",
          R"(Name="Text" Value="one two")"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
    writeText("again.qscn", text);
    const CRefPointer<BaseNode> again = loadScene("again.qscn");
    ASSERT_TRUE(again);
    EXPECT_EQ(saved(*again), text);
}

} // namespace
