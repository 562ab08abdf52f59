#include <gtest/gtest.h>

#include <string>

#include "engine/audio/SoundPlayer.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/ListNode.h"
#include "engine/ui/MessageBoxNode.h"
#include "game/screens/OptionsScene.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// A player's first evening with the game, as the program runs it: only the mouse and the
// keyboard of the window, and the game's own start-up, content and profile files.
class PlayerJourneyTest : public ScreenTest {
protected:
    // "Tester" has played before.
    void SetUp() override {
        ASSERT_TRUE(game.start());
        game.player();
        game.profiles().saveUserProfiles();
        ASSERT_TRUE(game.start());
    }

    // Clicks through the logos and waits for the intro to open the menu.
    void reachMainMenu() {
        for (int ms = 0; ms < 20000 && currentName() != "MainMenuScene"; ms += 100) {
            if (currentName() == "LogosScene")
                screen_input::click(game, screen_input::centreOf(*current()));
            game.advance(100);
        }
        ASSERT_EQ(currentName(), "MainMenuScene");
        settle();
    }

    std::string text(const char* path) const {
        return CString(findAs<TextNode>(path)->getText().c_str()).c_str();
    }
    ListNode& players() const { return *findAs<ListNode>("Scene/PlayersList"); }
    void clickPlayer(int32_t item) {
        click(players().getElement(uint32_t(players().elementIndexOf(item))));
    }
    void clickBoxButton(uint32_t index) {
        ASSERT_EQ(current()->getTypeName(), CStringW(u"MessageBoxNode"));
        click(static_cast<MessageBoxNode*>(current())->getButtons()[index].get());
    }
};

TEST_F(PlayerJourneyTest, ANewPlayerChoosesOptionsDeletesTheOldOneAndQuits) {
    reachMainMenu();
    EXPECT_EQ(text("Scene/Menu/WelcomeText"), "Welcome, Tester!");

    click("Scene/Menu/ChangePlayerButton");
    ASSERT_EQ(currentName(), "SelectPlayerScene");
    click("Scene/NewPlayerButton");
    ASSERT_EQ(currentName(), "SelectPlayerInputNameScene");
    type(u"Anna");
    click("Scene/EasyButton");
    click("Scene/OkButton");
    ASSERT_EQ(currentName(), "SelectPlayerScene");
    EXPECT_EQ(players().getItemsCount(), 2);
    EXPECT_EQ(players().getSelectedItem(), 1);
    click("Scene/OkButton");
    ASSERT_EQ(currentName(), "MainMenuScene");
    EXPECT_EQ(text("Scene/Menu/WelcomeText"), "Welcome, Anna!");
    EXPECT_EQ(stateOf(find("Scene/Menu/DifficultyIcon")), "Easy");
    ASSERT_NE(stored(u"Anna"), nullptr);
    EXPECT_EQ(stored(u"Anna")->getInt("PlayerDifficulty"), 1);
    EXPECT_EQ(storedProfiles()->getActiveProfile()->getName(), CStringW(u"Anna"));

    click("Scene/Menu/OptionsButton");
    ASSERT_EQ(currentName(), "OptionsScene");
    clickAt(*find("Scene/SoundSlider"), 0.8f, 0.5f);
    clickAt(*find("Scene/MusicSlider"), 0.3f, 0.5f);
    CSoundPlayer& sound = *game.engine().getSoundPlayer();
    EXPECT_NEAR(sound.getGroupVolume(0), 0.8f, 0.01f);
    EXPECT_NEAR(sound.getGroupVolume(1), 0.3f, 0.01f);
    click("Scene/MuteButton");
    EXPECT_EQ(sound.getGroupVolume(0), 0.0f);
    EXPECT_EQ(sound.getGroupVolume(1), 0.0f);
    click("Scene/FullscreenButton");
    EXPECT_FALSE(game.host.window(game.window())->fullScreen);
    click("Scene/CursorButton");
    EXPECT_EQ(game.host.window(game.window())->cursor, kSystemArrowCursor);
    click("Scene/DragViaClickButton");
    const CProfileParameters& anna = *stored(u"Anna");
    EXPECT_NEAR(anna.getFloat("SoundVolume"), 80.0f, 1.0f);
    EXPECT_NEAR(anna.getFloat("MusicVolume"), 30.0f, 1.0f);
    EXPECT_FALSE(anna.getBool("SoundOn"));
    EXPECT_FALSE(anna.getBool("MusicOn"));
    EXPECT_FALSE(anna.getBool("FullScreen"));
    EXPECT_TRUE(anna.getBool("WindowsCursor"));
    EXPECT_FALSE(anna.getBool("DragViaClick"));
    click("Scene/BackButton");
    ASSERT_EQ(currentName(), "MainMenuScene");

    click("Scene/Menu/ChangePlayerButton");
    clickPlayer(0);
    click("Scene/DeletePlayerButton");
    clickBoxButton(0);
    ASSERT_EQ(currentName(), "SelectPlayerScene");
    EXPECT_EQ(players().getItemsCount(), 1);
    EXPECT_EQ(stored(u"Tester"), nullptr);
    click("Scene/OkButton");
    ASSERT_EQ(currentName(), "MainMenuScene");
    EXPECT_EQ(text("Scene/Menu/WelcomeText"), "Welcome, Anna!");

    expectQuitEndsTheProgram(*find("Scene/Menu/QuitButton"));
}

// Without any player the menu leads straight to the name entry; the one new player is
// selected and confirmed.
TEST_F(PlayerJourneyTest, AFirstStartAsksForANameAtOnce) {
    game.profiles().removeProfile(0);
    game.profiles().saveUserProfiles();
    ASSERT_TRUE(game.start());
    reachMainMenu();
    settle();
    ASSERT_EQ(currentName(), "SelectPlayerInputNameScene");
    type(u"Bea");
    typeKey(kKeyEnter);
    ASSERT_EQ(currentName(), "SelectPlayerScene");
    EXPECT_EQ(players().getItemsCount(), 1);
    EXPECT_EQ(players().getSelectedItem(), 0);
    click("Scene/OkButton");
    ASSERT_EQ(currentName(), "MainMenuScene");
    EXPECT_EQ(text("Scene/Menu/WelcomeText"), "Welcome, Bea!");
    EXPECT_EQ(stateOf(find("Scene/Menu/DifficultyIcon")), "Hard");
}

} // namespace
