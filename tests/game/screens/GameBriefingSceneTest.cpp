#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/Utf.h"
#include "engine/io/Dictionary.h"
#include "engine/scene/TextNode.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelsConfiguration.h"
#include "tests/game/screens/ScreenFixture.h"

// The briefing opened over a plain scene with the game's dictionary and a level list of its
// own: twelve levels, the last with odd targets.
namespace {

class GameBriefingSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        std::string levels = "<LevelsConfiguration>";
        for (int level = 1; level <= 11; ++level)
            levels += "<Level><TargetMoney Value=\"200\"/><TargetExpertMoney Value=\"300\"/>"
                      "<TargetMasterMoney Value=\"400\"/></Level>";
        levels += "<Level><TargetMoney Value=\"1234.9\"/><TargetExpertMoney Value=\"99999\"/>"
                  "<TargetMasterMoney Value=\"1000000\"/></Level></LevelsConfiguration>";
        write("levels/common/LevelConfigsEasy.xml", levels);
        CProfileParameters& player = game.player();
        player.setInt("PlayerDifficulty", 1);
        IVirtualFileSystem& files = *game.engine().getFileSystem();
        CEngineServices::instance()->getDictionary()->readXml(
            files.openXmlReader(u"strings/Dictionary.xml").get());
        theApplication->getLevelList()->clear();
        theApplication->getLevelList()->loadFile(files, player, nullptr);
        opener = plainScene();
        manager().openScene(opener.get(), CNameId());
        settle();
    }

    std::string shown(const char* path) const {
        const auto* text = findAs<TextNode>(path);
        return text != nullptr ? utf16ToUtf8(text->getShownText().c_str()).c_str() : "";
    }

    CRefPointer<SceneNode> opener;
};

TEST_F(GameBriefingSceneTest, ShowsTheLevelsActPlaceBriefingAndTargets) {
    struct Case {
        int32_t levelIndex;
        const char* title;
        const char* description;
        const char* bronze;
        const char* silver;
        const char* gold;
    };
    const Case cases[] = {
        {1, "Level 1.1", "Welcome to your club!", "$200", "$300", "$400"},
        {11, "Level 1.11", "Keep the queue moving", "$200", "$300", "$400"},
        {12, "Level 2.1", "A new club in town", "$1,234", "$99,999", "$1,000,000"},
        // No record: the targets stay as the scene file has them.
        {13, "Level 2.2", "Hip-hop dancers", "", "", ""},
    };
    for (const Case& c : cases) {
        game.player().setInt("LevelIndex", c.levelIndex);
        open(u"scenes/BriefingScene.qscn");
        EXPECT_EQ(currentName(), "BriefingScene");
        EXPECT_EQ(shown("Scene/TitleText"), c.title);
        EXPECT_EQ(shown("Scene/DescText").substr(0, std::string(c.description).size()),
                  c.description);
        EXPECT_EQ(shown("Scene/BronzeGoal/Money"), c.bronze) << c.levelIndex;
        EXPECT_EQ(shown("Scene/SilverGoal/Money"), c.silver) << c.levelIndex;
        EXPECT_EQ(shown("Scene/GoldGoal/Money"), c.gold) << c.levelIndex;
        click("Scene/BackButton");
        EXPECT_EQ(current(), opener.get()) << "back goes back";
    }
}

} // namespace
