#include "game/level/MiniGameDrinkScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/game/level/FixtureMiniGames.h"

namespace {

using namespace fixture_minigames;

class MiniGameDrinkSceneTest : public MiniGameTest {
protected:
    static int32_t shownValue(const GMiniGameDrinkScene& game) {
        return game.getValues()[uint32_t(game.getCurrent())];
    }
    static bool visible(const GMiniGameDrinkScene& game, const char* name) {
        const BaseNode* node = nodeIn(&game, name);
        return node != nullptr && node->isVisible();
    }
    static void press(GMiniGameDrinkScene& game, const char* button) {
        click(nodeIn(&game, button));
    }
    // Next until the cup holding the value shows.
    static void browseTo(GMiniGameDrinkScene& game, int32_t value) {
        for (int32_t i = 0; i < game.getCount() && shownValue(game) != value; ++i)
            press(game, "Button2");
        ASSERT_EQ(shownValue(game), value);
    }
};

TEST_F(MiniGameDrinkSceneTest, TheCupsInPlayHideAPermutationAndTheGameOpensOnTheCupHoldingOne) {
    // Three cups and five icons, five cups and three icons.
    for (const char16_t* file : {u"minigames/Drink3.qscn", u"minigames/DrinkFewIcons.qscn"}) {
        GMiniGameDrinkScene* game = open<GMiniGameDrinkScene>(file);
        ASSERT_NE(game, nullptr);
        ASSERT_EQ(game->getCount(), 3) << "the fewer of cups and money icons";
        std::vector<int32_t> values(game->getValues().begin(), game->getValues().end());
        std::sort(values.begin(), values.end());
        EXPECT_EQ(values, (std::vector<int32_t>{1, 2, 3}));
        EXPECT_EQ(shownValue(*game), 1);
        for (int32_t i = 0; i < 3; ++i) {
            const std::string cup = "Cup" + std::to_string(i);
            EXPECT_EQ(visible(*game, cup.c_str()), i == game->getCurrent()) << cup;
        }
        EXPECT_TRUE(visible(*game, "Money0"));
        EXPECT_FALSE(visible(*game, "Money1"));
        EXPECT_TRUE(visible(*game, "f1"));
        EXPECT_FALSE(visible(*game, "f2") || visible(*game, "f3"));
        press(*game, "Button3");
    }
}

TEST_F(MiniGameDrinkSceneTest, TheFaceAndTheMoneyIconsShowTheValueOfTheCupOnShow) {
    GMiniGameDrinkScene* game = open<GMiniGameDrinkScene>(u"minigames/Drink5.qscn");
    ASSERT_NE(game, nullptr);
    for (int32_t step = 0; step < 5; ++step) {
        const int32_t value = shownValue(*game);
        SCOPED_TRACE(value);
        EXPECT_EQ(visible(*game, "f1"), value == 1);
        EXPECT_EQ(visible(*game, "f2"), value >= 2 && value <= 4);
        EXPECT_EQ(visible(*game, "f3"), value == 5);
        int32_t icons = 0;
        for (int32_t i = 0; i < 5; ++i)
            icons += visible(*game, ("Money" + std::to_string(i)).c_str()) ? 1 : 0;
        EXPECT_EQ(icons, value);
        press(*game, "Button2");
    }
}

TEST_F(MiniGameDrinkSceneTest, BothArrowsWrapAroundTheRow) {
    GMiniGameDrinkScene* game = open<GMiniGameDrinkScene>(u"minigames/Drink5.qscn");
    ASSERT_NE(game, nullptr);
    while (game->getCurrent() != 0)
        press(*game, "Button2");
    press(*game, "Button1");
    EXPECT_EQ(game->getCurrent(), 4) << "previous on the first cup shows the last";
    press(*game, "Button2");
    EXPECT_EQ(game->getCurrent(), 0) << "next on the last cup shows the first";
}

TEST_F(MiniGameDrinkSceneTest, ChoosingACupClosesTheGameWithItsValue) {
    GMiniGameDrinkScene* game = open<GMiniGameDrinkScene>(u"minigames/Drink5.qscn");
    ASSERT_NE(game, nullptr);
    const CRefPointer<GMiniGameDrinkScene> held = CRefPointer<GMiniGameDrinkScene>::share(game);
    browseTo(*game, 4);
    const std::string cup = "Cup" + std::to_string(game->getCurrent());
    press(*game, "Button3");
    EXPECT_EQ(current(), &level());
    EXPECT_EQ(game->getResult(), 1);
    EXPECT_EQ(game->getChosenValue(), 4);
    EXPECT_FALSE(visible(*game, cup.c_str()));
}

// Nothing in play: the arrows do nothing and choosing closes the game with nothing chosen.
TEST_F(MiniGameDrinkSceneTest, AGameWithoutCupsClosesWithResultZero) {
    GMiniGameDrinkScene* game = open<GMiniGameDrinkScene>(u"minigames/DrinkNoCups.qscn");
    ASSERT_NE(game, nullptr);
    const CRefPointer<GMiniGameDrinkScene> held = CRefPointer<GMiniGameDrinkScene>::share(game);
    EXPECT_EQ(game->getCount(), 0);
    press(*game, "Button1");
    press(*game, "Button2");
    EXPECT_EQ(current(), game);
    press(*game, "Button3");
    EXPECT_EQ(current(), &level());
    EXPECT_EQ(game->getResult(), 0);
    EXPECT_EQ(game->getChosenValue(), 0);
}

} // namespace
