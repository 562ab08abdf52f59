#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/screens/WidgetFixtures.h"

namespace {

std::string fixture(const char* name) {
    std::ifstream in(std::string(VANTOR_SOURCE_DIR) + "/tests/screens/fixtures/" + name,
                     std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

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

using WidgetClassesTest = WidgetTest;

TEST_F(WidgetClassesTest, TheNodeFactoryMakesEachWidgetByItsTypeName) {
    struct Case {
        const char16_t* name;
        uint32_t id;
        std::vector<uint32_t> kinds;
    };
    const Case cases[] = {
        {u"GEllipseSectorNode", 1122, {0}},  {u"EllipseProgressBarNode", 1125, {14, 5, 0}},
        {u"GCounterTextNode", 1124, {2, 0}}, {u"GTwoSpritesProgressBarNode", 1126, {14, 5, 0}},
        {u"GHintNode", 1128, {0}},           {u"GSectorSpriteNode", 1123, {0}},
    };
    const CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
    for (const Case& c : cases) {
        const std::string name = utf16ToUtf8(c.name).c_str();
        const CRefPointer<BaseNode> node = factory.createNode(c.name, CContentKey());
        ASSERT_TRUE(node) << name;
        EXPECT_EQ(node->getTypeName(), CStringW(c.name)) << name;
        EXPECT_EQ(node->getClassName(), CStringW(c.name)) << name;
        EXPECT_EQ(node->getTypeId(), c.id) << name;
        EXPECT_TRUE(node->isKindOf(c.id)) << name;
        for (uint32_t kind : c.kinds)
            EXPECT_TRUE(node->isKindOf(kind)) << name << " " << kind;
        EXPECT_FALSE(node->isKindOf(3)) << name;
        EXPECT_EQ(node->getParent(), nullptr) << name;
    }
}

// "RoundTrip.qscn" holds every widget with each of its properties away from its default, as
// the writer writes them: loading it and saving the tree again gives the same text.
TEST_F(WidgetClassesTest, EveryWidgetSavesWhatItLoaded) {
    std::string expected;
    for (const char c : fixture("RoundTrip.qscn")) {
        if (c != '\r')
            expected += c;
    }
    writeText("RoundTrip.qscn", expected);
    const CRefPointer<BaseNode> tree = load<BaseNode>("snod", "RoundTrip.qscn");
    ASSERT_TRUE(tree);
    EXPECT_EQ(savedText(*tree), expected);
}

// Properties at their defaults are not written, but for two: a counter writes its latch when
// it is clear (only as false), and a sector sprite its end angle unless it is 0.
TEST_F(WidgetClassesTest, DefaultsAreNotWrittenButALatchAndAnEndAngleAre) {
    struct Case {
        const char* node;
        const char* written; // or none
        const char* key;
    };
    const Case cases[] = {
        {R"(<SceneNode Type="GCounterTextNode"/>)",
         R"(<bool Name="StartCounting" Value="false" />)", "StartCounting"},
        {R"(<SceneNode Type="GCounterTextNode"><Properties>
<bool Name="StartCounting" Value="true"/></Properties></SceneNode>)",
         nullptr, "StartCounting"},
        {R"(<SceneNode Type="GSectorSpriteNode"/>)",
         R"(<float Name="Angle2" Value="360.000000" />)", "Angle2"},
        {R"(<SceneNode Type="GSectorSpriteNode"><Properties>
<float Name="Angle2" Value="0"/></Properties></SceneNode>)",
         nullptr, "Angle2"},
        {R"(<SceneNode Type="GEllipseSectorNode"><Properties><int Name="Angle2" Value="360"/>
<int Name="MaxVerticesCount" Value="32"/></Properties></SceneNode>)",
         nullptr, "<Properties>"},
        {R"(<SceneNode Type="EllipseProgressBarNode"/>)", nullptr, "FillType"},
        {R"(<SceneNode Type="GTwoSpritesProgressBarNode"/>)", nullptr, "AtlasTexture"},
    };
    int file = 0;
    for (const Case& c : cases) {
        const std::string name = "defaults" + std::to_string(++file) + ".qscn";
        writeText(name, c.node);
        const CRefPointer<BaseNode> node = load<BaseNode>("snod", name);
        ASSERT_TRUE(node) << c.node;
        const std::string saved = savedText(*node);
        if (c.written != nullptr)
            EXPECT_NE(saved.find(c.written), std::string::npos) << saved;
        else
            EXPECT_EQ(saved.find(c.key), std::string::npos) << saved;
    }
}

} // namespace
