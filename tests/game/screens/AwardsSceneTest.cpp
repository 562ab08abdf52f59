#include "game/screens/AwardsScene.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/scene/TextNode.h"
#include "game/app/AwardTracker.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// Award i's state in the profile's list: i zeros, the state, zeros up to seventeen.
std::string viewStates(int award, int state) {
    std::string list;
    for (int i = 0; i < GAwardTracker::kAwardCount; ++i) {
        list += i == 0 ? "" : ";";
        list += char('0' + (i == award ? state : 0));
    }
    return list;
}

GAwardTracker& awards() {
    return *theApplication->getAwardTracker();
}

// The gallery as a player reaches it: "Tester" has earned award 0 in a level and not yet seen
// it; the game starts as the program starts it and the mouse and keyboard lead the way.
class AwardsJourneyTest : public ScreenTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.start());
        CProfileParameters& tester = game.player();
        tester.setString("AchievementsProgress", viewStates(0, 1).c_str());
        tester.setString("AchievementsViewState", viewStates(0, 1).c_str());
        game.profiles().saveUserProfiles();
        ASSERT_TRUE(game.start());
        for (int ms = 0; ms < 20000 && currentName() != "MainMenuScene"; ms += 100)
            game.advance(100);
        ASSERT_EQ(currentName(), "MainMenuScene");
        settle();
        menu = current();
    }

    void openGallery() {
        click(findIn(menu, "Scene/Menu/AwardsButton"));
        ASSERT_EQ(currentName(), "AwardsScene");
    }
    BaseNode* award(int number) const {
        return find(("Scene/AchievementsNode/Achievement_" + std::to_string(number)).c_str());
    }
    void pointAt(const BaseNode& node) {
        screen_input::moveTo(game, screen_input::centreOf(node));
        game.advance(60);
    }
    std::string storedViewStates() {
        return stored(u"Tester")->getString("AchievementsViewState").c_str();
    }
    BaseNode* hint() const { return find("Scene/HintNode"); }
    std::u16string hintText() const {
        return findAs<TextNode>("Scene/HintNode/HintText")->getText().c_str();
    }
    // The menu came back and slid its panel in.
    void expectBackAtTheMenu(const char* how) {
        EXPECT_EQ(current(), menu) << how;
        EXPECT_EQ(stateOf(findIn(menu, "Scene")), "NavBackToSlide") << how;
        EXPECT_EQ(stateOf(findIn(menu, "Scene/Menu")), "SlideIn") << how;
    }

    SceneNode* menu = nullptr;
};

// A new award plays its first look once and is stored as seen with the profile; later visits
// show it earned without saving anything.
TEST_F(AwardsJourneyTest, ANewAwardIsShownOnceAndStoredAsSeen) {
    openGallery();
    EXPECT_EQ(stateOf(award(1)), "FirstOn");
    EXPECT_EQ(stateOf(award(2)), "Off");
    EXPECT_EQ(awards().isAchieved(0), 2);
    EXPECT_EQ(storedViewStates(), viewStates(0, 2));

    typeKey(kKeyEscape);
    expectBackAtTheMenu("Escape");
    // Changed in memory only: a save would write it.
    game.player().setInt("UnsavedMark", 1);
    openGallery();
    EXPECT_EQ(stateOf(award(1)), "On");
    EXPECT_EQ(stateOf(findIn(award(1), "Shine")), "On") << "its children too";
    EXPECT_EQ(stored(u"Tester")->getInt("UnsavedMark"), 0) << "nothing new, nothing saved";

    typeKey(kKeyEnter);
    expectBackAtTheMenu("Enter");
    EXPECT_TRUE(awards().reportProgress(2, 30));
    openGallery();
    EXPECT_EQ(stateOf(award(3)), "FirstOn");
    EXPECT_EQ(stored(u"Tester")->getInt("UnsavedMark"), 1) << "saved with the award seen";
    click(find("Scene/BackButton"));
    expectBackAtTheMenu("Back");
}

// The hint tells what an award asks for until it is earned, then what it was given for; it
// shows beside the award under the pointer and nowhere else.
TEST_F(AwardsJourneyTest, TheHintExplainsTheAwardUnderThePointer) {
    openGallery();
    BaseNode* third = award(3);
    pointAt(*third);
    EXPECT_TRUE(hint()->isVisible());
    EXPECT_EQ(stateOf(hint()), "OnAppear");
    EXPECT_EQ(hintText(), u"%AwardBefore_3%");
    EXPECT_EQ(CString(findAs<TextNode>("Scene/HintNode/HintText")->getShownText().c_str()),
              CString("Reach the expert grade in 30 levels."));
    const CVector3d beside = hint()->getPosition();
    pointAt(*award(5));
    EXPECT_NE(hint()->getPosition().x, beside.x) << "the bubble moves to the award";

    BaseNode* back = find("Scene/BackButton");
    pointAt(*back);
    EXPECT_FALSE(hint()->isVisible()) << "no hint for the back button";
    EXPECT_EQ(stateOf(hint()), "OnDisappear");
    hint()->stopCurrentState(false);
    screen_input::moveTo(game, CVector3d(4, 4, 0));
    game.advance(60);
    EXPECT_EQ(stateOf(hint()), "OnDisappear") << "leaving the button hides the hint";

    typeKey(kKeyEscape);
    EXPECT_TRUE(awards().reportProgress(2, 30));
    openGallery();
    pointAt(*award(3));
    EXPECT_EQ(hintText(), u"%AwardAfter_3%");
}

// The gallery on a scene file of the test's own, which lacks the node of award 1.
class AwardsSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        game.profiles().addProfile(u"Anna");
        game.profiles().setActiveProfile(0);
        game.profiles().saveUserProfiles();
        write("scenes/Gallery.qscn",
              "<SceneNode Type=\"SceneNode\" ClassOverride=\"GAwardsScene\"><SceneNode "
              "Type=\"ControlNode\"><Properties><string Name=\"Name\" Value=\"Scene\"/>"
              "</Properties><SceneNode Type=\"ControlNode\"><Properties><string Name=\"Name\" "
              "Value=\"AchievementsNode\"/></Properties><SceneNode Type=\"ControlNode\">"
              "<Properties><string Name=\"Name\" Value=\"Achievement_1\"/></Properties><States>"
              "<State Name=\"Off\"/><State Name=\"FirstOn\"/><State Name=\"On\"/></States>"
              "</SceneNode></SceneNode></SceneNode></SceneNode>");
        openMenu();
    }
};

// A state that no award can have leaves its node alone; an award whose node is missing stays
// unseen; with nothing seen, nothing is saved.
TEST_F(AwardsSceneTest, BadStatesAndMissingNodesChangeNothing) {
    awards().loadViewState(u"7;1");
    game.player().setInt("UnsavedMark", 1);
    SceneNode* gallery = open(u"scenes/Gallery.qscn");
    ASSERT_EQ(gallery->getTypeName(), CStringW(u"GAwardsScene"));
    EXPECT_EQ(stateOf(find("Scene/AchievementsNode/Achievement_1")), "");
    EXPECT_EQ(awards().isAchieved(0), 7);
    EXPECT_EQ(awards().isAchieved(1), 1);
    EXPECT_EQ(stored(u"Anna")->getInt("UnsavedMark"), 0);
}

} // namespace
