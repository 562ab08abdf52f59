#include <gtest/gtest.h>

#include <string>

#include "engine/platform/host/HostMessages.h"
#include "engine/scene/TextNode.h"
#include "game/app/GameApplication.h"
#include "game/app/MoneyText.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/MapScene.h"
#include "game/screens/ShopListNode.h"
#include "game/screens/ShopOffer.h"
#include "tests/game/app/GameJourney.h"

// A new player's first evening as the program runs it: the first comic, levels 1 and 2 ended by
// the developer keys with the map between them, level 3's shop and one purchase, then the main
// menu's awards and credits.
namespace {

constexpr uint32_t kKeyEnd = 35;

class FirstEveningJourneyTest : public GameJourneyTest {
protected:
    // From the first start to the main menu, through the name entry and player selection.
    void becomeNewPlayer() {
        ASSERT_TRUE(game().start());
        ASSERT_TRUE(passLogos("GSelectPlayerInputNameScene")) << currentType();
        game().advance(1000);
        for (char16_t letter : std::u16string(u"MIA"))
            game().typeKey(letter, char16_t(letter + 32));
        click("Scene/EasyButton");
        click("Scene/OkButton");
        ASSERT_TRUE(reach("GSelectPlayerScene", 3000)) << currentType();
        click("Scene/OkButton");
        ASSERT_TRUE(reach("GMainMenuScene", 3000)) << currentType();
    }
    // The level's pop-ups closed, then a master day ended by the developer keys.
    void playToTheEnd(int32_t levelIndex) {
        ASSERT_TRUE(reach("GGameBriefingScene", 20000)) << currentType();
        for (int popup = 0; popup < 3 && currentType() != "GGamePlayScene"; ++popup) {
            game().advance(1000);
            click("Scene/BackButton");
            game().advance(600);
        }
        ASSERT_EQ(currentType(), "GGamePlayScene");
        EXPECT_EQ(static_cast<GGamePlayScene*>(current())->getLevel()->getLevelConfig()->levelIndex,
                  levelIndex);
        game().advance(2000);
        developerMode = true;
        game().typeKey('E', 0);
        game().advance(3000);
        game().typeKey(kKeyEnd, 0);
        game().advance(100);
        developerMode = false;
        ASSERT_TRUE(reach("GLevelCompletedScene", 20000)) << currentType();
        game().advance(3000);
    }
    // The results' Next leads to the map, its next level current.
    void backToTheMap(GMapScene* map, size_t next) {
        click("Scene/NextButton");
        ASSERT_TRUE(reach("GMapScene", 3000)) << currentType();
        ASSERT_EQ(current(), map);
        game().advance(3000);
        EXPECT_EQ(map->getCurrentLevelButton(), map->getLevelButtons()[next]);
        EXPECT_EQ(game().player().getInt("LevelIndex"), int32_t(next + 1));
    }
};

TEST_F(FirstEveningJourneyTest, ANewPlayerPlaysToLevelThreesShopAndVisitsAwardsAndCredits) {
    ASSERT_NO_FATAL_FAILURE(becomeNewPlayer());
    click("Scene/Menu/NewGameButton");
    ASSERT_TRUE(reach("GComicsScene", 2000)) << currentType();
    auto* map = static_cast<GMapScene*>(current()->getPreviousScene());
    ASSERT_TRUE(map != nullptr && map->isKindOf(GMapScene::kTypeId)) << "the comic over the map";
    game().advance(1000);
    click("Scene/NextButton");
    ASSERT_TRUE(reach("GLoadingLevelScene", 2000)) << currentType();
    ASSERT_NO_FATAL_FAILURE(playToTheEnd(1));
    ASSERT_NO_FATAL_FAILURE(backToTheMap(map, 1));

    click("Scene/PlayButton");
    ASSERT_NO_FATAL_FAILURE(playToTheEnd(2));
    ASSERT_NO_FATAL_FAILURE(backToTheMap(map, 2));

    click("Scene/PlayButton");
    ASSERT_TRUE(reach("GLoadingLevelScene", 2000)) << currentType();
    ASSERT_TRUE(reach("GGameShopScene", 20000)) << currentType();
    auto& shop = *static_cast<GGameShopScene*>(current());
    EXPECT_EQ(shop.getLevel()->getLevelConfig()->levelIndex, 3);
    game().advance(1000);
    // A new player's shop tutorial: three hints, each closed by a click.
    for (int hint = 0; hint < 3; ++hint) {
        screen_input::click(game(), CVector3d(500, 60, 0));
        game().advance(600);
    }
    pointTo(CVector3d(500, 60, 0));
    const int32_t money = shop.getMoney();
    EXPECT_EQ(shownText(find("Scene/Menu/Money/MoneyText")),
              CString(formatMoneyText(money).c_str()).c_str());
    GShopListNode& strip = *shop.getItemsList();
    ASSERT_GE(strip.getItemCount(), 1);
    const int32_t price = shop.getOffers()[0]->next->price;
    ASSERT_GT(price, 0);
    ASSERT_LE(price, money) << "the first evening's earnings buy level 3's first offer";
    BaseNode& element = *strip.getElement(strip.elementIndexOfItem(0));
    pointTo(screen_input::centreOf(element));
    EXPECT_EQ(shop.getPreviewedOffer(), 0);
    screen_input::clickNode(game(), element);
    game().advance(1000);
    EXPECT_EQ(shop.getMoney(), money - price);
    EXPECT_EQ(shownText(find("Scene/Menu/Money/MoneyText")),
              CString(formatMoneyText(money - price).c_str()).c_str());
    pointTo(CVector3d(500, 60, 0));

    GGameLevelScene* level = continueIntoLevel();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getLevelConfig()->levelIndex, 3);
    game().advance(3000);
    EXPECT_GT(level->getElapsedMs(), 0) << "level 3 plays";

    game().typeKey(VK_ESCAPE, 0);
    game().advance(600);
    ASSERT_EQ(currentType(), "GInGameMenuScene");
    click("Scene/ExitGameButton");
    ASSERT_TRUE(reach("GMainMenuScene", 3000)) << currentType();
    SceneNode* menu = current();
    game().advance(1000);
    for (const char* screen : {"Awards", "Credits"}) {
        click((std::string("Scene/Menu/") + screen + "Button").c_str());
        EXPECT_TRUE(reach((std::string("G") + screen + "Scene").c_str(), 2000)) << currentType();
        game().advance(1000);
        click("Scene/BackButton");
        EXPECT_TRUE(reach("GMainMenuScene", 2000)) << screen << " closes: " << currentType();
        EXPECT_EQ(current(), menu) << screen;
        game().advance(1000);
    }
}

} // namespace
