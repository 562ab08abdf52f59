#include "game/screens/InGameMenuScene.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/ui/TabSceneNode.h"
#include "game/screens/HelpScene.h"
#include "tests/game/screens/LevelScreensFixture.h"

namespace {

// The pause menu opened over the level's screen, as the level's screen opens it.
class InGameMenuSceneTest : public LevelScreensTest {
protected:
    void SetUp() override {
        LevelScreensTest::SetUp();
        openMenuOverLevel();
    }

    void openMenuOverLevel() {
        menu = openOverLevel(u"scenes/InGameMenuScene.qscn");
        ASSERT_EQ(currentName(), "InGameMenuScene");
        ASSERT_EQ(menu->getTypeName(), CStringW(GInGameMenuScene::kTypeName));
    }
    // Back on the way into the level from wherever a button led.
    void backToTheLevel() {
        if (current() != menu && current()->getPreviousScene() == menu) {
            current()->navigateBack(1, CNameId(), CNameId());
            settle();
        }
        const char* const on[] = {"MainMenuScene", "Map", "Loading"};
        const char16_t* const next[] = {u"scenes/TestMap.qscn", u"scenes/TestLoading.qscn",
                                        u"scenes/TestPlay.qscn"};
        for (size_t step = 0; step < 3; ++step) {
            if (currentName() == on[step])
                open(next[step]);
        }
        ASSERT_EQ(currentName(), "Play");
    }

    SceneNode* menu = nullptr;
};

// The screens left for the map, the main menu or the loading screen play no state of their own
// ("None"), so the menu keeps the look it arrived with while it goes.
TEST_F(InGameMenuSceneTest, EachButtonLeadsToItsScreenWithItsTransitions) {
    struct Case {
        const char* button;
        const char* shown;
        const char* entered; // empty: not looked at
        const char* menuState;
        bool menuStaysUnder;
    };
    const Case cases[] = {
        {"Scene/ResumeButton", "Play", "NavBackTo", "NavBackFrom", false},
        {"Scene/RestartButton", "Loading", "NavBackTo", "NavTo", false},
        {"Scene/OptionsButton", "OptionsScene", "NavTo2", "NavTo", true},
        {"Scene/HelpButton", "HelpScene", "NavTo", "NavTo", true},
        {"Scene/MapButton", "Map", "NavBackTo", "NavTo", false},
        {"Scene/ExitGameButton", "MainMenuScene", "", "NavTo", false},
    };
    for (const Case& c : cases) {
        const CRefPointer<SceneNode> left = CRefPointer<SceneNode>::share(menu);
        click(c.button);
        EXPECT_EQ(currentName(), c.shown) << c.button;
        if (*c.entered != '\0') {
            EXPECT_EQ(stateOf(find("Scene")), c.entered) << c.button;
        }
        EXPECT_EQ(stateOf(findIn(left.get(), "Scene")), c.menuState) << c.button;
        EXPECT_EQ(left->getParent() != nullptr && left->isVisible(), c.menuStaysUnder) << c.button;
        backToTheLevel();
        openMenuOverLevel();
    }
}

TEST_F(InGameMenuSceneTest, EscapeResumesTheLevel) {
    typeKey(kKeyEscape);
    EXPECT_EQ(currentName(), "Play");
    EXPECT_EQ(stateOf(find("Scene")), "NavBackTo");
    typeKey(kKeyEnter);
    EXPECT_EQ(currentName(), "Play") << "other keys do nothing";
}

// The help over the menu, with its three pages.
class HelpSceneTest : public InGameMenuSceneTest {
protected:
    void SetUp() override {
        InGameMenuSceneTest::SetUp();
        click("Scene/HelpButton");
        ASSERT_EQ(currentName(), "HelpScene");
        tabs = findAs<TabSceneNode>("Scene/TabScene");
    }

    // "page prev next": the active page and each paging button as "shown" or "-", hidden and
    // disabled.
    std::string paging() const {
        std::string text = std::to_string(tabs->getActiveTabIndex());
        for (const char* path : {"Scene/ButtonPrev", "Scene/ButtonNext"}) {
            const auto* button = findAs<ControlNode>(path);
            const bool shown = button->isVisible() && button->isEnabled();
            const bool hidden = !button->isVisible() && !button->isEnabled();
            text += shown ? " shown" : hidden ? " -" : " half";
        }
        return text;
    }

    TabSceneNode* tabs = nullptr;
};

TEST_F(HelpSceneTest, ThePagesTurnWhereThereIsAPageToTurnTo) {
    EXPECT_EQ(tabs->getTabsCount(), 3);
    EXPECT_EQ(paging(), "0 - shown");
    struct Step {
        const char* button;
        const char* paging;
    };
    // A hidden button takes no click.
    const Step steps[] = {
        {"Scene/ButtonNext", "1 shown shown"}, {"Scene/ButtonNext", "2 shown -"},
        {"Scene/ButtonNext", "2 shown -"},     {"Scene/ButtonPrev", "1 shown shown"},
        {"Scene/ButtonPrev", "0 - shown"},     {"Scene/ButtonPrev", "0 - shown"},
    };
    for (const Step& step : steps) {
        click(step.button);
        EXPECT_EQ(paging(), step.paging) << step.button;
        EXPECT_TRUE(tabs->getTab(tabs->getActiveTabIndex())->isVisible());
    }
}

TEST_F(HelpSceneTest, BackEscapeAndEnterReturnToTheMenuSlidingIn) {
    for (const int way : {0, 1, 2}) {
        if (way == 0)
            click("Scene/BackButton");
        else
            typeKey(way == 1 ? kKeyEscape : kKeyEnter);
        EXPECT_EQ(current(), menu) << way;
        EXPECT_EQ(stateOf(find("Scene")), "NavBackToSlide") << way;
        click("Scene/HelpButton");
        ASSERT_EQ(currentName(), "HelpScene");
        EXPECT_EQ(findAs<TabSceneNode>("Scene/TabScene")->getActiveTabIndex(), 0) << "anew";
    }
}

} // namespace
