#include "game/screens/MainMenuScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tests/game/screens/ScreenFixture.h"

namespace {

// The results screen, as far as the menu tells it from other screens.
class FakeResultsScene : public NodeClass<FakeResultsScene, SceneNode> {
public:
    static constexpr uint32_t kTypeId = 1117;
    static constexpr const char16_t* kTypeName = u"GLevelCompletedScene";
    using NodeClass::NodeClass;
};

// The main menu opened in place of the logos, its arrival left to each test.
class MainMenuSceneTest : public ScreenTest {
protected:
    // ScreenTest::openMenu without the wait for the arrival.
    void openMenuUnsettled() {
        const CRefPointer<CContent> loaded =
            content().load(contentType("snod"), u"scenes/MainMenuScene.qscn", true);
        auto* node = static_cast<BaseNode*>(loaded.get());
        ASSERT_TRUE(node && node->isKindOf(GMainMenuScene::kTypeId));
        menu = CRefPointer<SceneNode>::share(static_cast<SceneNode*>(node));
        manager().openScene(menu.get(), CNameId());
    }

    // A node of the menu, current or not.
    BaseNode* inMenu(const char* path) const { return findIn(menu.get(), path); }
    std::string text(const char* path) const {
        return CString(static_cast<TextNode*>(inMenu(path))->getText().c_str()).c_str();
    }
    // A control of the menu reports a click, as a button does when its press has played.
    void press(const char* name) {
        CRefPointer<ControlNode> control(
            new ControlNode(CContentKey(), inMenu("Scene/Menu"), nullptr));
        control->setName(ScreenTest::name(name));
        control->postEvent(control.get(), CEventReceiver::RouteSelfThenParents,
                           *CRefPointer<CEvent>(new CEventControlClicked(control.get())));
        game.advance(20);
        control->setParent(nullptr);
    }
    CProfileParameters& addCurrentPlayer(const char16_t* name, int32_t difficulty) {
        CProfileParameters& player = addPlayer(name, difficulty);
        game.profiles().setActiveProfile(game.profiles().getProfileCount() - 1);
        return player;
    }

    CRefPointer<SceneNode> menu;
};

TEST_F(MainMenuSceneTest, WithoutAPlayerItSendsTheUserToPlayerSelection) {
    openMenuUnsettled();
    EXPECT_EQ(text("Scene/Menu/WelcomeText"), "Welcome, !");
    EXPECT_FALSE(inMenu("Scene/Menu/DifficultyIcon")->isVisible());
    game.advance(380);
    EXPECT_EQ(currentName(), "MainMenuScene") << "while it still comes into view";
    game.advance(40);
    EXPECT_EQ(currentName(), "SelectPlayerScene");
    EXPECT_TRUE(menu->isVisible()) << "kept behind the player selection";

    press("NewGameButton");
    EXPECT_EQ(game.profiles().getProfileCount(), 0) << "no game without a player";
}

TEST_F(MainMenuSceneTest, ItGreetsThePlayerWithTheIconOfTheirDifficulty) {
    struct Case {
        int32_t difficulty;
        const char* icon;
    };
    for (const Case& c : {Case{1, "Easy"}, Case{0, "Hard"}, Case{2, "Easy"}}) {
        addCurrentPlayer(u"Anna", c.difficulty);
        openMenuUnsettled();
        EXPECT_EQ(text("Scene/Menu/WelcomeText"), "Welcome, Anna!");
        EXPECT_TRUE(inMenu("Scene/Menu/DifficultyIcon")->isVisible());
        EXPECT_EQ(stateOf(inMenu("Scene/Menu/DifficultyIcon")), c.icon) << c.difficulty;
        game.profiles().removeProfile(0);
    }
}

TEST_F(MainMenuSceneTest, TheHeroineSaysHelloOnlyOnAForwardArrival) {
    addCurrentPlayer(u"Anna", 0);
    openMenuUnsettled();
    BaseNode* heroine = inMenu("Scene/Bg/Nelia");
    game.advance(420);
    EXPECT_EQ(stateOf(heroine), "FirstHello1");
    EXPECT_EQ(currentName(), "MainMenuScene");
    game.advance(1000);
    heroine->stopCurrentState(false);

    press("OptionsButton");
    game.advance(600);
    ASSERT_EQ(currentName(), "OptionsScene");
    EXPECT_TRUE(menu->isVisible());
    manager().getCurrentScene()->navigateBack(0, CNameId(), CNameId());
    game.advance(600);
    ASSERT_EQ(currentName(), "MainMenuScene");
    EXPECT_EQ(stateOf(heroine), "") << "no hello when coming back";
}

TEST_F(MainMenuSceneTest, TheHeroinePlaysAnIdleAnimationEveryFiveToEightSeconds) {
    addCurrentPlayer(u"Anna", 0);
    openMenuUnsettled();
    game.advance(1500);
    BaseNode* heroine = inMenu("Scene/Bg/Nelia");
    const std::set<std::string> idles = {"Blink", "Blink1", "Boring1", "Boring2", "Smile"};
    auto idleStarted = [&] {
        for (uint32_t i = 0; i < heroine->getChildCount(); ++i) {
            BaseNode* part = heroine->getChild(i);
            if (idles.count(stateOf(part)) != 0) {
                part->stopCurrentState(false);
                return true;
            }
        }
        return false;
    };
    // The countdowns run on the menu's ticks, which start after its 400 ms arrival.
    int last = 400;
    for (int idle = 0; idle < 3; ++idle) {
        int ms = 1500;
        while (!idleStarted() && ms < 20000) {
            game.advance(20);
            ms += 20;
        }
        if (idle == 0) {
            EXPECT_GE(ms - last, 5000);
            EXPECT_LE(ms - last, 8000 + 60);
        }
        last = ms;
        game.advance(1500);
    }
}

TEST_F(MainMenuSceneTest, ArrivingReleasesTheLevelsTemplatesAndUnusedContent) {
    addCurrentPlayer(u"Anna", 0);
    const CRefPointer<CContent> templates =
        content().load(contentType("snod"), u"levels/common/TemplateCollection.qscn", true);
    game.application().getLevelSceneManager()->setTemplateCollection(
        static_cast<TemplateCollectionNode*>(static_cast<BaseNode*>(templates.get())));
    const CContentKey unused(&content(), u"scenes/images/IntroBg.png");
    content().loadAtlasTexture(u"scenes/images/IntroBg.png", true);
    ASSERT_NE(content().find(contentType("atex"), unused), nullptr);
    openMenuUnsettled();
    game.advance(420);
    EXPECT_EQ(game.application().getLevelSceneManager()->getTemplateCollection(), nullptr);
    EXPECT_EQ(content().find(contentType("atex"), unused), nullptr);
    const CContentKey shown(&content(), u"scenes/images/MainMenuBg.png");
    EXPECT_NE(content().find(contentType("atex"), shown), nullptr) << "still drawn";
}

TEST_F(MainMenuSceneTest, NewGameForANewPlayerStartsAtTheFirstLevel) {
    CProfileParameters& player = addCurrentPlayer(u"Anna", 0);
    player.setInt("LevelIndex", 7);
    openMenuUnsettled();
    game.advance(420);
    press("NewGameButton");
    EXPECT_EQ(player.getInt("LevelIndex"), 1);

    player.setInt("LevelIndex", 7);
    player.setInt("MaxUnlockedLevelIndex", 1);
    press("NewGameButton");
    EXPECT_EQ(player.getInt("LevelIndex"), 7);
}

// After the last level the results screen returns to the menu, which shows the credits
// instead; a click anywhere brings the menu back.
TEST_F(MainMenuSceneTest, AfterTheResultsTheCreditsScrollUntilAClick) {
    addCurrentPlayer(u"Anna", 0);
    openMenuUnsettled();
    settle();
    BaseNode* clip = inMenu("Scene/Bg/ClipNode");
    for (int round = 0; round < 2; ++round) {
        const CRefPointer<SceneNode> results(new FakeResultsScene(CContentKey(), nullptr, nullptr));
        menu->openScene(results.get(), false, CNameId(), CNameId());
        settle();
        results->navigateBack(0, CNameId(), CNameId());
        settle();
        ASSERT_EQ(currentName(), "MainMenuScene");
        EXPECT_FALSE(inMenu("Scene/Menu")->isVisible());
        EXPECT_TRUE(inMenu("Scene/CreditsTipText")->isVisible());
        EXPECT_TRUE(clip->isVisible());
        EXPECT_EQ(stateOf(inMenu("Scene/Bg/ClipNode/CreditsScroll")), "Scrolling");
        EXPECT_EQ(clip->getPreReceivers().size(), 1u) << "once, however often it shows";

        clickAt(*menu, 0.1f, 0.9f);
        EXPECT_TRUE(inMenu("Scene/Menu")->isVisible());
        EXPECT_FALSE(inMenu("Scene/CreditsTipText")->isVisible());
        EXPECT_FALSE(clip->isVisible());
        EXPECT_EQ(currentName(), "MainMenuScene") << "the click opened nothing";
    }
    EXPECT_EQ(clip->getPreReceivers().size(), 0u);
}

TEST_F(MainMenuSceneTest, QuitEndsTheGame) {
    addCurrentPlayer(u"Anna", 0);
    openMenuUnsettled();
    settle();
    expectQuitEndsTheProgram(*inMenu("Scene/Menu/QuitButton"));
}

// The menu's scene file cut short before its panel: the menu opens without the panel, and the
// log says which file is damaged and where it stops.
TEST_F(MainMenuSceneTest, AMenuFileCutShortIsReportedOnceWithItsLine) {
    std::ifstream source(std::string(VANTOR_SOURCE_DIR) +
                         "/content/assets/scenes/MainMenuScene.qscn");
    std::string cut((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    const size_t panel = cut.find("Value=\"Menu\"");
    ASSERT_NE(panel, std::string::npos);
    cut.resize(panel);
    const int lines = int(std::count(cut.begin(), cut.end(), '\n')) + 1;
    write("scenes/MainMenuScene.qscn", cut);
    openMenuUnsettled();
    EXPECT_EQ(inMenu("Scene/Menu"), nullptr);
    const std::string problems = game.logProblems();
    const std::string warning = "WRN: XML file scenes/MainMenuScene.qscn is damaged: it ends at "
                                "line " +
                                std::to_string(lines) + " inside markup\n";
    EXPECT_EQ(problems, warning);
}

} // namespace
