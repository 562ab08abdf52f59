#include "game/screens/SelectPlayerScene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/audio/SoundPlayer.h"
#include "engine/ui/ListNode.h"
#include "engine/ui/MessageBoxNode.h"
#include "game/app/AwardTracker.h"
#include "game/app/LevelsConfiguration.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

class SelectPlayerSceneTest : public ScreenTest {
protected:
    // The menu with the first player current, then player selection from its button.
    void openSelection(const std::vector<const char16_t*>& players) {
        for (const char16_t* player : players)
            addPlayer(player, 0);
        game.profiles().setActiveProfile(0);
        openMenu();
        click("Scene/Menu/ChangePlayerButton");
        ASSERT_EQ(currentName(), "SelectPlayerScene");
    }

    ListNode& list() const { return *findAs<ListNode>("Scene/PlayersList"); }
    std::string itemText(int32_t item) const {
        return CString(list().getItem(item)->texts[0].c_str()).c_str();
    }
    void clickItem(int32_t item) {
        click(list().getElement(uint32_t(list().elementIndexOf(item))));
    }
    // Delete, then the box's button: 0 "Yes", 1 "No".
    void deleteSelected(int32_t answer) {
        click("Scene/DeletePlayerButton");
        ASSERT_EQ(current()->getTypeName(), CStringW(u"MessageBoxNode"));
        auto* box = static_cast<MessageBoxNode*>(current());
        click(box->getButtons()[uint32_t(answer)].get());
    }
    bool enabled(const char* path) const { return findAs<ControlNode>(path)->isEnabled(); }
};

TEST_F(SelectPlayerSceneTest, ListsThePlayersWithTheCurrentOneSelected) {
    addPlayer(u"Bea", 1);
    openSelection({u"Ann", u"Cid"});
    ASSERT_EQ(list().getItemsCount(), 3);
    EXPECT_EQ(itemText(0), "Bea");
    EXPECT_EQ(itemText(2), "Cid");
    EXPECT_EQ(list().getSelectedItem(), 0);
    BaseNode* icon = findIn(list().getElement(0), "Difficulty");
    EXPECT_EQ(stateOf(icon), "Easy");
    EXPECT_EQ(stateOf(findIn(list().getElement(1), "Difficulty")), "Hard");
}

TEST_F(SelectPlayerSceneTest, TheNewPlayerButtonSitsUnderTheLastRowUntilThereAreEight) {
    openSelection({u"P1", u"P2", u"P3", u"P4", u"P5", u"P6", u"P7"});
    auto* button = findAs<ControlNode>("Scene/NewPlayerButton");
    EXPECT_FLOAT_EQ(button->getPosition().y, list().getPosition().y +
                                                 list().getElementPosition(6).y +
                                                 list().getElementSize().y);
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(button->isEnabled());

    click(button);
    type(u"P8");
    typeKey(kKeyEnter);
    ASSERT_EQ(currentName(), "SelectPlayerScene");
    EXPECT_EQ(list().getSelectedItem(), 7) << "the new player";
    EXPECT_FALSE(button->isVisible());
    EXPECT_FALSE(button->isEnabled());

    deleteSelected(0);
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(button->isEnabled());
}

TEST_F(SelectPlayerSceneTest, AfterANewPlayerOnlyTheSelectedRowLooksSelected) {
    openSelection({u"Ann", u"Bea"});
    click("Scene/NewPlayerButton");
    type(u"Cid");
    typeKey(kKeyEnter);
    ASSERT_EQ(currentName(), "SelectPlayerScene");
    ASSERT_EQ(list().getSelectedItem(), 2);
    for (int32_t item = 0; item < 3; ++item) {
        BaseNode* row = list().getElement(uint32_t(list().elementIndexOf(item)));
        EXPECT_EQ(stateOf(findIn(row, "Bg")), item == 2 ? "Focus" : "Normal") << item;
    }
    EXPECT_EQ(list().getFocusedChild(), list().getElement(2)) << "the keys go on from there";
}

TEST_F(SelectPlayerSceneTest, DeletingAsksFirstThenSelectsTheRowThatTookItsPlace) {
    openSelection({u"Ann", u"Bea", u"Cid"});
    clickItem(1);
    deleteSelected(1);
    EXPECT_EQ(list().getItemsCount(), 3) << "No keeps the player";
    EXPECT_NE(game.profiles().getActiveProfile(), nullptr);

    deleteSelected(0);
    ASSERT_EQ(list().getItemsCount(), 2);
    EXPECT_EQ(itemText(1), "Cid");
    EXPECT_EQ(list().getSelectedItem(), 1);
    EXPECT_EQ(game.profiles().getActiveProfile(), nullptr) << "to be confirmed again";
    const CRefPointer<CProfileManager> stored = storedProfiles();
    ASSERT_EQ(stored->getProfileCount(), 2);
    EXPECT_EQ(stored->findProfile(u"Bea"), nullptr);

    click("Scene/CancelButton");
    EXPECT_EQ(currentName(), "SelectPlayerScene") << "the menu sends the user back at once";
}

TEST_F(SelectPlayerSceneTest, DeletingTheOnlyPlayerLeavesNothingToConfirmOrDelete) {
    openSelection({u"Ann"});
    deleteSelected(0);
    EXPECT_EQ(list().getItemsCount(), 0);
    EXPECT_FALSE(enabled("Scene/OkButton"));
    EXPECT_FALSE(enabled("Scene/DeletePlayerButton"));
    EXPECT_TRUE(enabled("Scene/NewPlayerButton"));
    typeKey(kKeyEnter);
    EXPECT_EQ(currentName(), "SelectPlayerScene");
    EXPECT_EQ(game.profiles().getActiveProfile(), nullptr);
}

// OK, Enter and Esc all confirm; the player's level list, awards and volumes follow.
TEST_F(SelectPlayerSceneTest, ConfirmingMakesThePlayerCurrentAndLoadsWhatDependsOnThem) {
    struct Case {
        const char* how;
        int32_t difficulty;
        uint32_t levels;
    };
    const Case cases[] = {{"OkButton", 0, 1}, {"Enter", 1, 2}, {"Esc", 1, 2}};
    for (const Case& c : cases) {
        while (game.profiles().getProfileCount() > 0)
            game.profiles().removeProfile(0);
        CProfileParameters& chosen = addPlayer(u"Bea", c.difficulty);
        setPropertyStringW(chosen, "AchievementsProgress", u"0;29;0;5");
        setPropertyStringW(chosen, "AchievementsViewState", u"1;0;0;2");
        chosen.setFloat("MusicVolume", 30.0f);
        openSelection({u"Ann"});
        clickItem(0);
        ASSERT_EQ(list().getSelectedItem(), 0);
        if (std::string(c.how) == "OkButton")
            click("Scene/OkButton");
        else
            typeKey(std::string(c.how) == "Enter" ? kKeyEnter : kKeyEscape);
        EXPECT_EQ(currentName(), "MainMenuScene") << c.how;
        EXPECT_EQ(game.profiles().getActiveProfile(), &chosen) << c.how;
        EXPECT_EQ(storedProfiles()->getActiveProfile()->getName(), CStringW(u"Bea")) << c.how;
        EXPECT_EQ(game.application().getLevelList()->getLevelCount(), c.levels) << c.how;
        GAwardTracker& awards = *game.application().getAwardTracker();
        EXPECT_EQ(awards.isAchieved(0), 1) << c.how;
        EXPECT_EQ(awards.isAchieved(3), 2) << c.how;
        EXPECT_TRUE(awards.reportProgress(1, 1)) << c.how << ": 29 of 30 read";
        EXPECT_FLOAT_EQ(game.engine().getSoundPlayer()->getGroupVolume(1), 0.3f) << c.how;
    }
}

TEST_F(SelectPlayerSceneTest, CancelKeepsTheCurrentPlayer) {
    openSelection({u"Ann", u"Bea"});
    clickItem(1);
    click("Scene/CancelButton");
    EXPECT_EQ(currentName(), "MainMenuScene");
    EXPECT_EQ(game.profiles().getActiveProfile()->getName(), CStringW(u"Ann"));
}

} // namespace
