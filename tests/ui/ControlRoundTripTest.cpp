#include <gtest/gtest.h>

#include <string>

#include "tests/scene/SceneXmlFixtures.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

// The writer's UTF-16 text as plain text, without the byte-order mark and carriage returns.
std::string savedText(const BaseNode& node) {
    XmlCapture capture;
    capture.writer().writeHeader();
    node.saveToXml(capture.writer());
    std::string plain;
    for (const char16_t unit : capture.text()) {
        if (unit != u'\r' && unit != 0xFEFF)
            plain += unit < 0x80 ? char(unit) : '?';
    }
    return plain;
}

// "RoundTrip.qscn" holds every control with properties that differ from their defaults, as
// the writer writes them: loading it and saving the tree again gives the same text.
TEST_F(ControlSceneTest, EveryControlSavesWhatItLoaded) {
    const CRefPointer<BaseNode> tree = scenes.load(u"RoundTrip.qscn");
    ASSERT_TRUE(tree);
    std::string expected;
    for (const char c : readUiFixture("RoundTrip.qscn")) {
        if (c != '\r')
            expected += c;
    }
    EXPECT_EQ(savedText(*tree), expected);
}

TEST_F(ControlSceneTest, DefaultsAreNotWrittenButASoundNodesPlayIs) {
    scenes.files->add(u"defaults.qscn", R"(<SceneNode Type="SceneNode">
<SceneNode Type="CheckBoxNode"><Properties><bool Name="IsChecked" Value="false"/></Properties>
</SceneNode>
<SceneNode Type="EditNode"><Properties><int Name="MaxTextLength" Value="-1"/></Properties>
</SceneNode>
<SceneNode Type="SliderNode"><Properties><float Name="Value" Value="50"/></Properties>
</SceneNode>
<SceneNode Type="SoundNode"><Properties><bool Name="Play" Value="false"/></Properties>
</SceneNode>
<SceneNode Type="ButtonNode"><Properties><stringw Name="Text" Value=""/></Properties>
</SceneNode>
<SceneNode Type="ListNode"><Properties><int Name="ItemsCount" Value="2"/>
<stringwArray Name="Strings"><stringw Value="a"/><stringw Value="b"/></stringwArray>
</Properties></SceneNode>
<SceneNode Type="TabSceneNode"><Properties><int Name="ActiveTabIndex" Value="-1"/>
</Properties></SceneNode>
</SceneNode>)");
    const std::string saved = savedText(*scenes.load(u"defaults.qscn"));
    for (const char* name :
         {"IsChecked", "MaxTextLength", "\"Value\"", "\"Text\"", "ItemsCount", "ActiveTabIndex"})
        EXPECT_EQ(saved.find(name), std::string::npos) << name;
    EXPECT_NE(saved.find("<bool Name=\"Play\" Value=\"false\" />"), std::string::npos);
}

} // namespace
