#include "game/app/GameClassRegistration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/Utf.h"
#include "engine/io/ContentManager.h"
#include "engine/io/DiskInputFile.h"
#include "engine/io/VirtualFilesReaderQca.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneNode.h"
#include "game/app/ContentArchivePassword.h"
#include "tests/game/app/GameHarness.h"

namespace {

class GameClassRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path file = game.contentBase() / "extra" / "scenes" / "Loose.qscn";
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "<SceneNode Type=\"SceneNode\"><SceneNode Type=\"GClientNode\"/>"
                               "<SceneNode Type=\"BaseNode\"/></SceneNode>";
        ASSERT_TRUE(game.start(u"extra"));
    }

    CRefPointer<BaseNode> load(const char16_t* file) const {
        const CRefPointer<CContent> loaded =
            game.application().getContentManager()->load(contentType("snod"), file, true);
        return CRefPointer<BaseNode>::share(static_cast<BaseNode*>(loaded.get()));
    }

    GameHarness game;
};

TEST_F(GameClassRegistrationTest, SceneFilesMakeGameClassesOnlyOnceTheyAreRegistered) {
    // Loaded scenes stay cached as they were made, so each file is loaded once here.
    const CRefPointer<BaseNode> early = load(u"scenes/SelectPlayerScene.qscn");
    ASSERT_TRUE(early);
    EXPECT_EQ(early->getTypeName(), CStringW(u"SceneNode")) << "its engine type instead";
    const CRefPointer<BaseNode> loose = load(u"scenes/Loose.qscn");
    ASSERT_TRUE(loose);
    EXPECT_EQ(loose->getChildCount(), 1u) << "a node of an unknown class is left out";
    EXPECT_NE(game.logText().find("Unknown node type: GClientNode"), std::string::npos);

    registerGameClasses();
    const CRefPointer<BaseNode> menu = load(u"scenes/MainMenuScene.qscn");
    EXPECT_EQ(menu->getTypeName(), CStringW(u"GMainMenuScene"));
    for (uint32_t kind : {1103u, 1100u, 6u, 5u, 0u})
        EXPECT_TRUE(menu->isKindOf(kind)) << kind;
    EXPECT_FALSE(menu->isKindOf(1104));
}

TEST_F(GameClassRegistrationTest, TheStartUpRegistersTheDebugStatisticsLogosAndIntroScenes) {
    CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
    struct Case {
        const char16_t* name;
        uint32_t id;
    };
    for (const Case& c : {Case{u"GDebugStatsScene", 1000}, Case{u"GLogosScene", 1101},
                          Case{u"GIntroScene", 1102}}) {
        const CRefPointer<BaseNode> scene = factory.createNode(c.name, CContentKey());
        ASSERT_TRUE(scene);
        EXPECT_EQ(scene->getTypeId(), c.id);
        for (uint32_t kind : {1100u, 6u, 5u, 0u})
            EXPECT_TRUE(scene->isKindOf(kind)) << kind;
    }
    EXPECT_FALSE(factory.createNode(u"GMainMenuScene", CContentKey()));
}

// Every scene file of the content set, loaded through the node factory once the game's
// classes are registered: each root is of its game class when that class is registered (of
// its engine type until then), and no node names a class nobody knows.
TEST_F(GameClassRegistrationTest, EveryContentSceneFileLoadsThroughTheFactory) {
    registerGameClasses();
    const CRefPointer<CVirtualFilesReaderQca> archive(new CVirtualFilesReaderQca(
        createDiskInputFile(utf8ToUtf16(VELMORA_CONTENT_ARCHIVE)).get(), kContentArchivePassword));
    const CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
    int files = 0;
    for (uint32_t i = 0; i < archive->entryCount(); ++i) {
        const CStringW name = archive->entryAt(i)->name;
        const std::string file = utf16ToUtf8(name.c_str()).c_str();
        if (file.size() < 5 || file.compare(file.size() - 5, 5, ".qscn") != 0)
            continue;
        const CRefPointer<CXmlTextReader> root(new CXmlTextReader(archive->openEntry(name).get()));
        while (root->readNext() && root->nodeKind() != CXmlTextReader::kElement) {
        }
        const CStringW gameClass = root->getAttribute(u"ClassOverride");
        const bool registered =
            !gameClass.isEmpty() && factory.createNode(gameClass, CContentKey());
        const CRefPointer<BaseNode> scene = load(name.c_str());
        ASSERT_TRUE(scene) << file;
        EXPECT_EQ(scene->getTypeName(), registered ? gameClass : root->getAttribute(u"Type"))
            << file;
        ++files;
    }
    EXPECT_GT(files, 0);
    EXPECT_EQ(game.logProblems(), "");
}

} // namespace
