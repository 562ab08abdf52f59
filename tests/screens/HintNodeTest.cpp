#include "game/screens/HintNode.h"

#include <gtest/gtest.h>

#include "tests/screens/WidgetFixtures.h"

namespace {

class HintNodeTest : public WidgetTest {
protected:
    HintNodeTest() {
        scene = openScene(R"(
<SceneNode Type="GHintNode"><Properties><string Name="Name" Value="Bound"/>
<bool Name="Visible" Value="true"/></Properties>
  <SceneNode Type="TextNode"><Properties><string Name="Name" Value="Title"/></Properties>
  </SceneNode>
  <SceneNode Type="TextNode"><Properties><string Name="Name" Value="Text"/></Properties>
  </SceneNode>
  <SceneNode Type="SpriteNode"><Properties><string Name="Name" Value="Arrow"/></Properties>
  </SceneNode>
  <SceneNode Type="BaseNode"><Properties><string Name="Name" Value="ArrowL"/></Properties>
  </SceneNode>
  <SceneNode Type="TextNode"><Properties><string Name="Name" Value="ArrowR"/></Properties>
  </SceneNode>
</SceneNode>
<SceneNode Type="GHintNode"><Properties><string Name="Name" Value="Odd"/></Properties>
  <SceneNode Type="SpriteNode"><Properties><string Name="Name" Value="Title"/></Properties>
  </SceneNode>
  <SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Body"/></Properties>
    <SceneNode Type="TextNode"><Properties><string Name="Name" Value="Text"/></Properties>
    </SceneNode>
  </SceneNode>
</SceneNode>)");
    }

    CRefPointer<SceneNode> scene;
};

TEST_F(HintNodeTest, BindsItsDirectChildrenOfTheRightKindAndStartsHidden) {
    struct Case {
        const char* hint;
        const char* title;
        const char* text;
        const char* arrow;
        const char* arrowLeft;
        const char* arrowRight;
    };
    const Case cases[] = {
        {"Bound", "Title", "Text", "Arrow", "ArrowL", "ArrowR"},
        // A sprite is no title; a text one level down is not the hint's.
        {"Odd", nullptr, nullptr, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        GHintNode& hint = find<GHintNode>(*scene, c.hint);
        const auto child = [&hint](const char* name) {
            return name ? hint.findChild(nameId(name), 1) : nullptr;
        };
        EXPECT_EQ(hint.getTitle(), child(c.title)) << c.hint;
        EXPECT_EQ(hint.getText(), child(c.text)) << c.hint;
        EXPECT_EQ(hint.getArrow(), child(c.arrow)) << c.hint;
        EXPECT_EQ(hint.getArrowLeft(), child(c.arrowLeft)) << c.hint;
        EXPECT_EQ(hint.getArrowRight(), child(c.arrowRight)) << c.hint;
        EXPECT_FALSE(hint.isVisible()) << c.hint << ", whatever its file said";
    }
}

TEST_F(HintNodeTest, ACloneBindsItsOwnChildrenAndStartsHidden) {
    GHintNode& hint = find<GHintNode>(*scene, "Bound");
    hint.setVisible(true);
    const CRefPointer<BaseNode> copy = hint.clone(scene.get(), nullptr);
    ASSERT_TRUE(copy && copy->isKindOf(GHintNode::kTypeId));
    const auto& clone = static_cast<const GHintNode&>(*copy);
    EXPECT_FALSE(clone.isVisible());
    EXPECT_EQ(clone.getTitle(), clone.findChild(nameId("Title"), 1));
    EXPECT_NE(clone.getTitle(), hint.getTitle());
    EXPECT_EQ(clone.getText(), clone.findChild(nameId("Text"), 1));
    EXPECT_EQ(clone.getArrowRight(), clone.findChild(nameId("ArrowR"), 1));
    EXPECT_NE(clone.getArrowRight(), nullptr);
}

} // namespace
