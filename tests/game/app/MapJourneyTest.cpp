#include <gtest/gtest.h>

#include <string>

#include "engine/io/ProfileManager.h"
#include "engine/platform/host/HostMessages.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TextNode.h"
#include "game/app/LevelConfig.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/MoneyText.h"
#include "game/effects/SplineMovableNode.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/MapLocationButton.h"
#include "game/screens/MapScene.h"
#include "tests/game/app/GameHarness.h"
#include "tests/game/app/ScreenInput.h"

// A new player's road from the main menu through the first level back to the map, as the
// program runs it: the game's own start-up, content and profile, the window's mouse and
// keyboard, and the developer keys for a quick master day.
namespace {

constexpr uint32_t kKeyEnd = 35;

class MapJourneyTest : public ::testing::Test {
protected:
    SceneNode* current() { return game.application().getSceneManager()->getCurrentScene(); }
    std::string currentType() {
        SceneNode* scene = current();
        return scene != nullptr ? CString(scene->getTypeName().c_str()).c_str() : "";
    }
    BaseNode* find(BaseNode* from, const std::string& path) {
        BaseNode* node = from;
        for (size_t start = 0; node != nullptr && start <= path.size();) {
            const size_t end = std::min(path.find('/', start), path.size());
            node = node->findChild(CNameId(CString(path.substr(start, end - start).c_str())), 1);
            start = end + 1;
        }
        return node;
    }
    bool reach(const char* type, uint32_t ms) {
        for (uint32_t waited = 0; waited < ms && currentType() != type; waited += 100)
            game.advance(100);
        return currentType() == type;
    }
    void click(BaseNode* node) {
        ASSERT_NE(node, nullptr);
        screen_input::clickNode(game, *node);
        game.advance(600);
    }
    void click(const char* path) { click(find(current(), path)); }
    static CStringW textOf(const BaseNode* node) {
        return node != nullptr ? static_cast<const TextNode*>(node)->getText() : CStringW();
    }

    // From the first start to the main menu, through the name entry and player selection.
    void becomeNewPlayer() {
        ASSERT_TRUE(game.start());
        for (int ms = 0; ms < 20000 && currentType() != "GSelectPlayerInputNameScene"; ms += 100) {
            if (currentType() == "GLogosScene")
                screen_input::clickNode(game, *current());
            game.advance(100);
        }
        ASSERT_EQ(currentType(), "GSelectPlayerInputNameScene");
        game.advance(1000);
        for (char16_t letter : std::u16string(u"MIA"))
            game.typeKey(letter, char16_t(letter + 32));
        click("Scene/EasyButton");
        click("Scene/OkButton");
        ASSERT_TRUE(reach("GSelectPlayerScene", 3000)) << currentType();
        click("Scene/OkButton");
        ASSERT_TRUE(reach("GMainMenuScene", 3000)) << currentType();
    }

    // The briefing and the new client closed, then a master day ended by the developer keys.
    void playLevelOneToTheEnd() {
        ASSERT_TRUE(reach("GGameBriefingScene", 20000)) << currentType();
        for (const char* popup : {"GGameBriefingScene", "GGameNewClientScene"}) {
            ASSERT_TRUE(reach(popup, 2000)) << currentType();
            game.advance(1000);
            click("Scene/BackButton");
        }
        ASSERT_TRUE(reach("GGamePlayScene", 2000));
        game.advance(2000);
        developerMode = true;
        game.typeKey('E', 0);
        game.advance(3000);
        game.typeKey(kKeyEnd, 0);
        game.advance(100);
        developerMode = false;
        ASSERT_TRUE(reach("GLevelCompletedScene", 20000)) << currentType();
        game.advance(3000);
    }

    GameHarness game;
};

TEST_F(MapJourneyTest, ANewPlayerPlaysLevelOneFromTheMapAndComesBackToIt) {
    becomeNewPlayer();
    click("Scene/Menu/NewGameButton");
    ASSERT_TRUE(reach("GComicsScene", 2000)) << currentType();
    auto* map = static_cast<GMapScene*>(current()->getPreviousScene());
    ASSERT_TRUE(map != nullptr && map->isKindOf(GMapScene::kTypeId)) << "the comic over the map";
    EXPECT_EQ(map->getCurrentLevelButton(), map->getLevelButtons()[0]);
    game.advance(1000);
    click("Scene/NextButton");
    ASSERT_TRUE(reach("GLoadingLevelScene", 2000)) << currentType();
    playLevelOneToTheEnd();

    click("Scene/NextButton");
    ASSERT_TRUE(reach("GMapScene", 2000)) << currentType();
    ASSERT_EQ(current(), map);
    BaseNode& effects = *find(map, "Scene/Effects");
    ASSERT_EQ(effects.getChildCount(), 1u) << "the star flies";
    const auto& flight = *static_cast<GSplineMovableNode*>(effects.getChild(0));
    EXPECT_EQ(flight.getPoints()[1].x, 219);
    EXPECT_EQ(flight.getPoints()[1].y, 712);
    game.advance(3000);
    EXPECT_EQ(effects.getChildCount(), 0u) << "landed";
    const CArray<GMapLocationButton*>& buttons = map->getLevelButtons();
    EXPECT_EQ(buttons[0]->getStarType(), 3);
    EXPECT_TRUE(buttons[1]->isEnabled());
    EXPECT_FALSE(buttons[2]->isEnabled());
    EXPECT_EQ(map->getCurrentLevelButton(), buttons[1]);
    EXPECT_EQ(game.player().getInt("LevelIndex"), 2);

    screen_input::moveTo(game, screen_input::centreOf(*buttons[1]));
    game.advance(700);
    EXPECT_TRUE(map->getInfoWindow()->isVisible());
    const GLevelConfig* levelTwo = game.application().getLevelList()->getLevel(1);
    ASSERT_NE(levelTwo, nullptr);
    const CStringW goals = formatMoneyText(int32_t(levelTwo->targetMoney))
                               .append(u"\n")
                               .append(formatMoneyText(int32_t(levelTwo->targetExpertMoney)))
                               .append(u"\n")
                               .append(formatMoneyText(int32_t(levelTwo->targetMasterMoney)));
    EXPECT_EQ(textOf(find(map, "Scene/Hint/MoneyText")), goals) << "level 1.2's goals";
    EXPECT_EQ(textOf(find(map, "Scene/Hint/LevelText")), CStringW(u"Level 2"));

    // Level 2 loads and starts with its pop-ups; its pause menu leads back to the map.
    screen_input::clickNode(game, *find(current(), "Scene/PlayButton"));
    ASSERT_TRUE(reach("GGameBriefingScene", 20000)) << currentType();
    EXPECT_EQ(game.application().getLevelList()->getLevel(1)->levelIndex, 2);
    for (int popup = 0; popup < 3 && currentType() != "GGamePlayScene"; ++popup) {
        game.advance(1000);
        click("Scene/BackButton");
        game.advance(600);
    }
    ASSERT_EQ(currentType(), "GGamePlayScene");
    game.typeKey(VK_ESCAPE, 0);
    game.advance(600);
    ASSERT_EQ(currentType(), "GInGameMenuScene");
    click("Scene/MapButton");
    ASSERT_TRUE(reach("GMapScene", 3000)) << currentType();
    game.advance(600);
    click("Scene/BackButton");
    EXPECT_TRUE(reach("GMainMenuScene", 3000)) << currentType();
}

} // namespace
