#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/scene/ControlNode.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneNode.h"
#include "tests/scene/SceneFileFixtures.h"
#include "tests/scene/SceneTestNodes.h"
#include "tests/scene/SceneXmlFixtures.h"

namespace {

// A game scene class that files can ask for by ClassOverride.
class GameScene : public NodeClass<GameScene, SceneNode> {
public:
    static constexpr uint32_t kTypeId = 4101;
    static constexpr const char16_t* kTypeName = u"GameScene";
    using NodeClass::NodeClass;
};

std::string readFixture(const char* name) {
    std::ifstream in(std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "scene" / "fixtures" /
                         name,
                     std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The writer's UTF-16 text as UTF-8 without the byte-order mark and without carriage returns.
std::string asPlainText(const std::u16string& text) {
    std::string plain;
    for (char16_t unit : text) {
        if (unit != u'\r' && unit != 0xFEFF)
            plain += unit < 0x80 ? char(unit) : '?';
    }
    return plain;
}

std::string savedText(BaseNode& node) {
    XmlCapture capture;
    capture.writer().writeHeader();
    node.saveToXml(capture.writer());
    return asPlainText(capture.text());
}

TEST(SceneFileTest, TypesComeFromClassOverrideWhenItIsRegisteredElseFromType) {
    SceneFiles scenes;
    scenes.factory->registerNodeType(u"GameScene", &createNodeOf<GameScene>);
    scenes.files->add(u"game.qscn",
                      "<SceneNode Type=\"SceneNode\" ClassOverride=\"GameScene\">"
                      "<SceneNode Type=\"ControlNode\" ClassOverride=\"Missing\"/>"
                      "<SceneNode Type=\"Missing\"><Properties><string Name=\"Name\" "
                      "Value=\"lost\"/></Properties><SceneNode Type=\"BaseNode\"/></SceneNode>"
                      "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" "
                      "Value=\"last\"/></Properties></SceneNode>"
                      "</SceneNode>");
    const CRefPointer<BaseNode> game = scenes.load(u"game.qscn");
    ASSERT_TRUE(game);
    EXPECT_EQ(game->getTypeId(), GameScene::kTypeId);
    EXPECT_EQ(game->getName(), CNameId()); // the unknown child's properties stayed with it
    ASSERT_EQ(game->getChildCount(), 2u);
    EXPECT_EQ(game->getChild(0)->getTypeId(), ControlNode::kTypeId);
    EXPECT_EQ(game->getChild(1)->getName(), nameId("last"));
    // The class made is saved under its own name.
    EXPECT_NE(savedText(*game).find("<SceneNode Type=\"GameScene\">"), std::string::npos);

    scenes.files->add(u"plain.qscn", "<SceneNode Type=\"SceneNode\" ClassOverride=\"Nope\"/>");
    EXPECT_EQ(scenes.load(u"plain.qscn")->getTypeId(), SceneNode::kTypeId);
    scenes.files->add(u"unknown.qscn", "<SceneNode Type=\"Nope\"><SceneNode Type=\"BaseNode\"/>"
                                       "</SceneNode>");
    EXPECT_FALSE(scenes.load(u"unknown.qscn"));
}

TEST(SceneFileTest, RegisteringANameAgainKeepsTheFirstType) {
    SceneFiles scenes;
    scenes.factory->registerNodeType(u"SceneNode", &createNodeOf<GameScene>);
    const CRefPointer<BaseNode> node = scenes.factory->createNode(u"SceneNode", CContentKey());
    EXPECT_EQ(node->getTypeId(), SceneNode::kTypeId);
    EXPECT_FALSE(scenes.factory->createNode(u"sceneNode", CContentKey()));
}

TEST(SceneFileTest, IncludedFilesGiveIndependentTrees) {
    SceneFiles scenes;
    scenes.files->add(u"scenes/menu.qscn", "<SceneNode Type=\"SceneNode\">"
                                           "<SceneNode File=\"button.qscn\"/>"
                                           "<SceneNode File=\"button.qscn\"/>"
                                           "<SceneNode File=\"missing.qscn\"/>"
                                           "</SceneNode>");
    scenes.files->add(u"scenes/button.qscn",
                      "<SceneNode Type=\"ControlNode\"><SceneNode Type=\"BaseNode\"/></SceneNode>");
    const CRefPointer<BaseNode> menu = scenes.load(u"scenes/menu.qscn");
    const CRefPointer<BaseNode> alone = scenes.load(u"scenes/button.qscn");
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->getChildCount(), 2u);
    BaseNode* first = menu->getChild(0);
    BaseNode* second = menu->getChild(1);
    EXPECT_NE(first, second);
    EXPECT_NE(first, alone.get());
    first->setPosition({5, 5, 5});
    EXPECT_EQ(second->getPosition(), CVector3d(0, 0, 0));
    EXPECT_EQ(alone->getPosition(), CVector3d(0, 0, 0));
    EXPECT_EQ(second->getChildCount(), 1u);
    // Each request hands out a fresh copy of the cached tree.
    EXPECT_NE(scenes.load(u"scenes/menu.qscn").get(), menu.get());
}

TEST(SceneFileTest, FilesThatIncludeThemselvesAreRefusedWithALogLine) {
    SceneFiles scenes;
    scenes.files->add(u"a.qscn", "<SceneNode Type=\"SceneNode\"><SceneNode File=\"b.qscn\"/>"
                                 "<SceneNode File=\"a.qscn\"/></SceneNode>");
    scenes.files->add(u"b.qscn", "<SceneNode Type=\"BaseNode\"><SceneNode File=\"a.qscn\"/>"
                                 "<SceneNode Type=\"BaseNode\"/></SceneNode>");
    testing::internal::CaptureStdout();
    const CRefPointer<BaseNode> a = scenes.load(u"a.qscn");
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(a);
    ASSERT_EQ(a->getChildCount(), 1u);
    EXPECT_EQ(a->getChild(0)->getChildCount(), 1u);
    EXPECT_NE(output.find("Scene file includes itself: a.qscn"), std::string::npos);
}

TEST(SceneFileTest, StatesBlocksAndTheirDefaultStateLoad) {
    SceneFiles scenes;
    scenes.files->add(u"states.qscn",
                      "<SceneNode Type=\"BaseNode\"><States><Properties>"
                      "<string Name=\"DefaultState\" Value=\"Idle\"/></Properties>"
                      "<State Name=\"Idle\" NextState=\"Walk\"><Animator Type=\"Unknown\">"
                      "<KeyFrame t=\"5\"/></Animator><Animator Type=\"KeyFrame\"/></State>"
                      "<State Name=\"Idle\"/><State Name=\"Walk\"/></States></SceneNode>");
    const CRefPointer<BaseNode> node = scenes.load(u"states.qscn");
    ASSERT_TRUE(node);
    EXPECT_EQ(node->getDefaultState(), nameId("Idle"));
    EXPECT_EQ(node->getStates().size(), 2u);
    NodeState* idle = node->findState(nameId("Idle"));
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->getNextState(), nameId("Walk")); // the first of two states of a name
    ASSERT_EQ(idle->getAnimatorCount(), 1u);         // the unknown type is passed over
    EXPECT_NE(asKeyFrame(idle->getAnimator(0)), nullptr);
}

TEST(SceneFileTest, SavingThenLoadingGivesTheSameText) {
    SceneFiles scenes;
    const std::string golden = readFixture("RoundTrip.qscn");
    ASSERT_FALSE(golden.empty());
    scenes.files->add(u"round.qscn", golden);
    const CRefPointer<BaseNode> tree = scenes.load(u"round.qscn");
    ASSERT_TRUE(tree);
    std::string expected;
    for (char c : golden) {
        if (c != '\r')
            expected += c;
    }
    EXPECT_EQ(savedText(*tree), expected);
}

TEST(SceneFileTest, ATreeOfDefaultsSavesOnlyTypesAndTheControlsFocusFlag) {
    SceneFiles scenes;
    const CRefPointer<BaseNode> root(new BaseNode(CContentKey(), nullptr, nullptr));
    const CRefPointer<ControlNode> control(new ControlNode(CContentKey(), root.get(), nullptr));
    EXPECT_EQ(savedText(*root), "<?xml version=\"1.0\"?>\n"
                                "<SceneNode Type=\"BaseNode\">\n"
                                "\t<SceneNode Type=\"ControlNode\">\n"
                                "\t\t<Properties>\n"
                                "\t\t\t<bool Name=\"IsFocusOnHover\" Value=\"false\" />\n"
                                "\t\t</Properties>\n"
                                "\t</SceneNode>\n"
                                "</SceneNode>\n");
}

} // namespace
