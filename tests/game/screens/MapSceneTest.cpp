#include "game/screens/MapScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/io/ProfileManager.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/MessageBoxNode.h"
#include "game/app/LevelsConfiguration.h"
#include "game/screens/MapLocationButton.h"
#include "game/screens/TutorialController.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// The map in the game, over the logos, for a player whose progress each test sets; twelve
// levels with the goals 1,000, 1,500 and 2,000 (the thirteenth and later have no record).
class MapSceneTest : public ScreenTest {
protected:
    struct Progress {
        int32_t levelIndex = 1;
        int32_t maxUnlocked = 0;
        int32_t lastCompleted = -1;
        std::vector<int32_t> slots = {-1, -1, -1, -1};
    };

    void SetUp() override {
        ScreenTest::SetUp();
        std::string levels = "<LevelsConfiguration>";
        for (int level = 1; level <= 12; ++level)
            levels += "<Level><LevelIndex Value=\"" + std::to_string(level) +
                      "\"/><TargetMoney Value=\"1000\"/><TargetExpertMoney Value=\"1500\"/>"
                      "<TargetMasterMoney Value=\"2000\"/></Level>";
        levels += "</LevelsConfiguration>";
        write("levels/common/LevelConfigs.xml", levels);
        write("levels/common/LevelConfigsEasy.xml", levels);
        LevelsConfiguration& list = *game.application().getLevelList();
        list.clear();
        ASSERT_TRUE(list.loadFile(*game.engine().getFileSystem(), player(), nullptr));
        player().setBool("ShowTutorialOn", false);
    }

    CProfileParameters& player() { return game.player(); }

    void setProgress(const Progress& progress) {
        player().setInt("LevelIndex", progress.levelIndex);
        player().setInt("MaxUnlockedLevelIndex", progress.maxUnlocked);
        player().setInt("LastCompletedLevelIndex", progress.lastCompleted);
        for (size_t act = 0; act < progress.slots.size(); ++act)
            player().setInt(slotKey(int32_t(act)), progress.slots[act]);
    }
    static CString slotKey(int32_t act) {
        return CString("S").append(act + 1).append("_LevelIndex");
    }

    // A map of its own, loaded anew, once it has arrived.
    GMapScene& openMap() {
        content().releaseUnused();
        SceneNode* scene = open(u"scenes/MapScene.qscn");
        EXPECT_TRUE(scene != nullptr && scene->isKindOf(GMapScene::kTypeId));
        return *static_cast<GMapScene*>(scene);
    }
    void closeMap() {
        current()->navigateBack(0, CNameId(), CNameId());
        settle();
    }

    // The slot whose button has the current look; -1 for none.
    static int32_t currentSlot(const GMapScene& map) {
        const CArray<GMapLocationButton*>& buttons = map.getLevelButtons();
        for (uint32_t slot = 0; slot < buttons.size(); ++slot)
            if (buttons[slot] == map.getCurrentLevelButton()) {
                EXPECT_EQ(buttons[slot]->getTemplateName(), name("MapButtonCurrent"));
                return int32_t(slot);
            }
        return -1;
    }
    // The enabled buttons, which are the first ones of the act.
    static int32_t enabledSlots(const GMapScene& map) {
        int32_t enabled = 0;
        for (const GMapLocationButton* button : map.getLevelButtons())
            enabled += button->isEnabled() ? 1 : 0;
        return enabled;
    }
    static std::string textOf(const BaseNode* node) {
        return node != nullptr
                   ? CString(static_cast<const TextNode*>(node)->getText().c_str()).c_str()
                   : "";
    }
};

// What the page shows for the player's progress, and after the player presses an act tab.
TEST_F(MapSceneTest, ThePageFollowsTheProgressAndTheActPressed) {
    struct Case {
        const char* what;
        Progress progress;
        int32_t actPressed; // -1: none
        int32_t act;
        int32_t current;
        int32_t enabled;
        int32_t levelIndex;
        std::vector<int32_t> slots;
    };
    const Case cases[] = {
        {"a new player", {1, 0, -1, {-1, -1, -1, -1}}, -1, 0, 0, 1, 1, {0, -1, -1, -1}},
        {"LevelIndex 0 reads as 1", {0, 0, -1, {-1, -1, -1, -1}}, -1, 0, 0, 1, 0, {0, -1, -1, -1}},
        {"level 1.6 of 2.4 unlocked",
         {6, 14, 5, {-1, -1, -1, -1}},
         -1,
         0,
         5,
         11,
         6,
         {5, -1, -1, -1}},
        {"act 2 with no slot chosen", {5, 14, 4, {4, -1, -1, -1}}, 1, 1, -1, 4, 5, {4, -1, -1, -1}},
        {"act 2 with slot 3 chosen", {5, 14, 4, {4, 3, -1, -1}}, 1, 1, 3, 4, 15, {4, 3, -1, -1}},
        {"a slot key outside the buttons",
         {5, 14, 4, {4, 11, -1, -1}},
         1,
         1,
         -1,
         4,
         5,
         {4, 11, -1, -1}},
        {"an act with nothing unlocked",
         {5, 8, 4, {4, -1, -1, -1}},
         2,
         2,
         -1,
         0,
         5,
         {4, -1, -1, -1}},
        {"the act shown pressed again",
         {3, 3, 2, {-1, -1, -1, -1}},
         0,
         0,
         2,
         4,
         3,
         {2, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        setProgress(c.progress);
        GMapScene& map = openMap();
        ASSERT_EQ(map.getLevelButtons().size(), 11u);
        ASSERT_EQ(map.getActButtons().size(), 4u);
        if (c.actPressed >= 0) {
            BaseNode& tab = *map.getActButtons()[uint32_t(c.actPressed)];
            click(&tab);
            const bool turned = c.actPressed != (std::max(c.progress.levelIndex, 1) - 1) / 11;
            EXPECT_EQ(stateOf(find("Scene/LevelButtons")),
                      turned ? "ChangeActAfter" : "FirstTimeAnim")
                << c.what;
        }
        EXPECT_EQ(map.getSelectedAct(), c.act) << c.what;
        for (int32_t act = 0; act < 4; ++act)
            EXPECT_EQ(find(("Scene/ActButtons/Act" + std::to_string(act + 1) + "/Mark").c_str())
                          ->isVisible(),
                      act == c.act)
                << c.what << ", act " << act + 1;
        EXPECT_EQ(currentSlot(map), c.current) << c.what;
        EXPECT_EQ(enabledSlots(map), c.enabled) << c.what;
        EXPECT_EQ(player().getInt("LevelIndex"), c.levelIndex) << c.what;
        for (int32_t act = 0; act < 4; ++act)
            EXPECT_EQ(player().getInt(slotKey(act)), c.slots[size_t(act)]) << c.what;
        const std::string caption = std::to_string(c.act + 1) + ".11";
        EXPECT_EQ(CString(map.getLevelButtons()[10]->getText().c_str()).c_str(), caption);
        closeMap();
    }
}

// A level pressed becomes the current one and the choice is saved at once.
TEST_F(MapSceneTest, ALevelPressedIsCurrentAndSaved) {
    setProgress({1, 14, 13, {0, -1, -1, -1}});
    GMapScene& map = openMap();
    click(map.getActButtons()[1]);
    click(map.getLevelButtons()[2]);
    EXPECT_EQ(currentSlot(map), 2);
    EXPECT_EQ(map.getLevelButtons()[0]->getTemplateName(), name("MapButton"));
    const CProfileParameters& saved = *stored(u"Tester");
    EXPECT_EQ(saved.getInt("LevelIndex"), 14);
    EXPECT_EQ(saved.getInt("S2_LevelIndex"), 2);
}

// The map's tutorial before the first pass runs once: its first hint goes on by a click, the
// second lets the play button through to the loading screen.
TEST_F(MapSceneTest, TheFirstMapTutorialRunsOnce) {
    setProgress({1, 0, -1, {-1, -1, -1, -1}});
    player().setBool("ShowTutorialOn", true);
    GMapScene& map = openMap();
    ASSERT_NE(map.getTutorial(), nullptr);
    EXPECT_TRUE(player().getBool("ShownTutorialMapLevel-1"));
    EXPECT_EQ(map.getTutorial()->getCurrentHint(), 0);
    screen_input::click(game, CVector3d(500, 400, 0));
    settle();
    ASSERT_NE(map.getTutorial(), nullptr);
    EXPECT_EQ(map.getTutorial()->getCurrentHint(), 1);
    screen_input::clickNode(game, *find("Scene/PlayButton"));
    game.advance(200);
    EXPECT_EQ(currentName(), "LoadingLevelScene");
    for (int back = 0; back < 5 && current() != &map; ++back) {
        current()->navigateBack(0, CNameId(), CNameId());
        settle();
    }
    ASSERT_EQ(current(), &map);
    EXPECT_EQ(map.getTutorial(), nullptr) << "shown once";
}

// The star of a level is the grade of the money of its last pass, against its goals.
TEST_F(MapSceneTest, AnUnlockedLevelShowsTheStarOfItsLastPass) {
    struct Case {
        const char* stats;
        int32_t star;
    };
    const Case cases[] = {
        {"999;60000;12", 0},
        {"1200;60000;12", 1},
        {"1500;60000;12", 2},
        {"2000;60000;12", 3},
        {"", 0},
        {"none", 0},
    };
    for (const Case& c : cases) {
        setProgress({6, 5, 5, {-1, -1, -1, -1}});
        player().setString("Level5Stats", c.stats);
        GMapScene& map = openMap();
        EXPECT_EQ(map.getLevelButtons()[4]->getStarType(), c.star) << c.stats;
        closeMap();
    }
}

// The info window opens 500 ms after the pointer came to rest on a level button, over that
// button, with the level's act, place and goals.
TEST_F(MapSceneTest, TheInfoWindowOpensOverTheButtonThePointerRestsOn) {
    setProgress({1, 20, 19, {-1, -1, -1, -1}});
    GMapScene& map = openMap();
    BaseNode& hint = *map.getInfoWindow();
    const auto restOn = [this, &map](uint32_t slot) {
        screen_input::moveTo(game, screen_input::centreOf(*map.getLevelButtons()[slot]));
    };

    restOn(2);
    game.advance(440);
    EXPECT_FALSE(hint.isVisible()) << "too early";
    restOn(3);
    game.advance(440);
    EXPECT_FALSE(hint.isVisible()) << "the countdown starts again on another button";
    game.advance(120);
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(stateOf(&hint), "OnAppear");
    const CVector3d& at = hint.getPosition();
    EXPECT_EQ(at.x, 189 + 3 * 70);
    EXPECT_EQ(at.y, 672 + 10);
    EXPECT_EQ(textOf(find("Scene/Hint/ActText")), "Act 1");
    EXPECT_EQ(textOf(find("Scene/Hint/LevelText")), "Level 4");
    EXPECT_EQ(textOf(find("Scene/Hint/MoneyText")), "$1,000\n$1,500\n$2,000");

    screen_input::moveTo(game, CVector3d(500, 400, 0));
    settle();
    EXPECT_FALSE(hint.isVisible()) << "hidden when the pointer leaves";
    restOn(5);
    game.advance(300);
    screen_input::moveTo(game, CVector3d(500, 400, 0));
    game.advance(800);
    EXPECT_FALSE(hint.isVisible()) << "not shown when the pointer left earlier";

    // Act 2 holds levels 12 to 22, of which only 12 has a record.
    click(map.getActButtons()[1]);
    restOn(1);
    settle();
    EXPECT_EQ(textOf(find("Scene/Hint/ActText")), "Act 2");
    EXPECT_EQ(textOf(find("Scene/Hint/LevelText")), "Level 2");
    EXPECT_EQ(textOf(find("Scene/Hint/MoneyText")), "");
}

// The developer keys open the comics and unlock every level, and only in the developer mode.
TEST_F(MapSceneTest, TheDeveloperKeysWorkOnlyInTheDeveloperMode) {
    setProgress({1, 0, -1, {-1, -1, -1, -1}});
    GMapScene& map = openMap();
    for (uint32_t key : {uint32_t('1'), uint32_t('5'), uint32_t('U')}) {
        typeKey(key);
        EXPECT_EQ(current(), &map) << char(key);
    }
    EXPECT_EQ(player().getInt("MaxUnlockedLevelIndex"), 0);
    EXPECT_EQ(enabledSlots(map), 1);

    developerMode = true;
    typeKey('U');
    EXPECT_EQ(enabledSlots(map), 11);
    EXPECT_EQ(stored(u"Tester")->getInt("MaxUnlockedLevelIndex"), 1000) << "saved at once";
    typeKey('3');
    developerMode = false;
    EXPECT_EQ(currentName(), "ComicsScene3");
}

// A box over the map quits with its first button and leaves the game running with another.
TEST_F(MapSceneTest, TheFirstButtonOfABoxOverTheMapQuits) {
    GMapScene& map = openMap();
    CArray<CStringW> buttons;
    buttons.append(u"%Yes%");
    buttons.append(u"%No%");
    const auto box = [&] {
        auto* shown = static_cast<MessageBoxNode*>(
            map.showMessageBox(name("MessageBox2Buttons"), buttons, CStringW(), u"Quit?"));
        settle();
        EXPECT_EQ(current(), shown);
        return shown;
    };
    click(box()->getButtons()[1].get());
    EXPECT_EQ(current(), &map);
    EXPECT_TRUE(game.engine().runOnce()) << "the game goes on";
    expectQuitEndsTheProgram(*box()->getButtons()[0]);
}

} // namespace
