#include <gtest/gtest.h>

#include <string>

#include "engine/io/ProfileManager.h"
#include "engine/platform/host/HostMessages.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/TextNode.h"
#include "game/app/MoneyText.h"
#include "game/app/UpgradeCatalog.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/ShopListNode.h"
#include "game/screens/ShopOffer.h"
#include "tests/game/app/GameJourney.h"

// A player at level 3 goes from the main menu through the map to the shop, buys an upgrade and
// plays the level with it, restarts it, and finds it again in level 4's shop, as the program
// runs it.
namespace {

class ShopJourneyTest : public GameJourneyTest {
protected:
    static std::string stateOf(const BaseNode* node) {
        const NodeState* state = node != nullptr ? node->getCurrentState() : nullptr;
        return state != nullptr ? state->getName().toString().c_str() : "";
    }
    // A player at level 3 with level 1 and 2 played, the game started again on that profile.
    void startAtLevelThree(int32_t earned) {
        ASSERT_TRUE(game().start());
        CProfileParameters& player = game().player();
        player.setInt("LevelIndex", 3);
        player.setInt("MaxUnlockedLevelIndex", 2);
        player.setString("Level1Stats", CString().append(earned).append(";60000;10"));
        player.setString("Level2Stats", "0;60000;10");
        player.setBool("ShowTutorialOn", false);
        game().profiles().saveUserProfiles();
        ASSERT_TRUE(game().start());
        ASSERT_TRUE(passLogos("GMainMenuScene")) << currentType();
    }
    // The environment's plants in the level's background.
    static BaseNode* plantsOf(const GGameLevelScene& level) {
        return level.getBackground()->findChild(CNameId(CString("Plants")), 1);
    }
};

TEST_F(ShopJourneyTest, AnUpgradeBoughtBeforeLevelThreeStaysThroughItsRestartIntoLevelFoursShop) {
    ASSERT_NO_FATAL_FAILURE(startAtLevelThree(5000));
    game().advance(2000);
    click("Scene/Menu/NewGameButton");
    ASSERT_TRUE(reach("GMapScene", 3000)) << currentType();
    game().advance(1000);
    click("Scene/PlayButton");
    ASSERT_TRUE(reach("GGameShopScene", 20000)) << currentType();
    auto& shop = *static_cast<GGameShopScene*>(current());
    game().advance(1000);
    pointTo(CVector3d(500, 60, 0));
    EXPECT_EQ(shop.getMoney(), 5000);
    EXPECT_EQ(shownText(find("Scene/Menu/Money/MoneyText")),
              CString(formatMoneyText(5000).c_str()).c_str());

    // Level 3 offers one thing: plants for the club, in the environment's first slot.
    GShopListNode& strip = *shop.getItemsList();
    ASSERT_EQ(strip.getItemCount(), 1);
    const GUpgradeItem plants = *shop.getOffers()[0]->next;
    ASSERT_EQ(plants.name, CNameId(CString("Up1")));
    ASSERT_EQ(plants.type, CNameId(CString("Plants1")));
    ASSERT_LT(plants.price, 5000);
    const int32_t price = plants.price;
    BaseNode* piece = plantsOf(*shop.getLevel());
    ASSERT_NE(piece, nullptr);
    EXPECT_NE(stateOf(piece), "Plants1Show");
    EXPECT_FALSE(piece->isVisible()) << "not yet in the club";
    BaseNode& element = *strip.getElement(strip.elementIndexOfItem(0));

    pointTo(screen_input::centreOf(element));
    EXPECT_EQ(shop.getPreviewedOffer(), 0);
    EXPECT_EQ(stateOf(piece), "Plants1Show") << "previewed on the level";
    // The hint speaks of game objects; an environment offer shows only its piece.
    BaseNode* hint = find("Scene/HintNode");
    ASSERT_NE(hint, nullptr);
    EXPECT_FALSE(hint->isVisible());

    screen_input::clickNode(game(), element);
    game().advance(1000);
    EXPECT_EQ(shop.getMoney(), 5000 - price);
    EXPECT_EQ(shownText(find("Scene/Menu/Money/MoneyText")),
              CString(formatMoneyText(5000 - price).c_str()).c_str());
    EXPECT_EQ(stateOf(piece), "Plants1HideBought") << "bought";
    EXPECT_TRUE(piece->isVisible()) << "bought";
    pointTo(CVector3d(500, 60, 0));
    EXPECT_TRUE(piece->isVisible()) << "kept when the pointer leaves";

    GGameLevelScene* level = continueIntoLevel();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getLevelConfig()->levelIndex, 3);
    EXPECT_EQ(stateOf(plantsOf(*level)), "Plants1") << "the level has the upgrade";
    EXPECT_TRUE(plantsOf(*level)->isVisible());

    game().advance(3000);
    const int32_t elapsed = level->getElapsedMs();
    ASSERT_GT(elapsed, 0);
    game().typeKey(VK_ESCAPE, 0);
    game().advance(600);
    ASSERT_EQ(currentType(), "GInGameMenuScene");
    click("Scene/RestartButton");
    ASSERT_TRUE(reach("GLoadingLevelScene", 2000)) << currentType();
    ASSERT_TRUE(reach("GGamePlayScene", 20000)) << currentType();
    game().advance(1000);
    GGameLevelScene* again = static_cast<GGamePlayScene*>(current())->getLevel();
    ASSERT_NE(again, nullptr);
    EXPECT_LT(again->getElapsedMs(), elapsed) << "the day begins again";
    EXPECT_EQ(stateOf(plantsOf(*again)), "Plants1") << "the restart keeps the upgrade";
    EXPECT_TRUE(plantsOf(*again)->isVisible());

    // Level 3 passed for nothing: level 4's shop starts from what level 3's shop left.
    game().typeKey(VK_ESCAPE, 0);
    game().advance(600);
    click("Scene/ExitGameButton");
    ASSERT_TRUE(reach("GMainMenuScene", 3000)) << currentType();
    CProfileParameters& player = game().player();
    player.setInt("LevelIndex", 4);
    player.setInt("MaxUnlockedLevelIndex", 3);
    player.setString("Level3Stats", "0;60000;10");
    game().advance(1000);
    click("Scene/Menu/NewGameButton");
    ASSERT_TRUE(reach("GMapScene", 3000)) << currentType();
    game().advance(1000);
    click("Scene/PlayButton");
    ASSERT_TRUE(reach("GGameShopScene", 20000)) << currentType();
    auto& next = *static_cast<GGameShopScene*>(current());
    game().advance(1000);
    EXPECT_EQ(next.getLevel()->getLevelConfig()->levelIndex, 4);
    EXPECT_EQ(next.getMoney(), 5000 - price);
    for (const CRefPointer<GShopOffer>& offer : next.getOffers())
        EXPECT_NE(offer->next->type, plants.type) << "sold once";
    EXPECT_EQ(stateOf(plantsOf(*next.getLevel())), "Plants1");
    EXPECT_TRUE(plantsOf(*next.getLevel())->isVisible());
}

} // namespace
