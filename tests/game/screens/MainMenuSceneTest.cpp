#include "game/screens/MainMenuScene.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/core/Engine.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/GameClassRegistration.h"
#include "tests/game/app/GameHarness.h"

namespace {

CNameId nameOf(const char* name) {
    return CNameId(CString(name));
}

std::string stateOf(const BaseNode* node) {
    const NodeState* state = node != nullptr ? node->getCurrentState() : nullptr;
    return state != nullptr ? state->getName().toString().c_str() : "";
}

// The main menu opened in place of the logos, the game's classes registered as the intro
// registers them.
class MainMenuSceneTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(game.start()); }

    void openMenu() {
        registerGameClasses();
        const CRefPointer<CContent> loaded =
            content().load(contentType("snod"), u"scenes/MainMenuScene.qscn", true);
        auto* node = static_cast<BaseNode*>(loaded.get());
        ASSERT_TRUE(node && node->isKindOf(GMainMenuScene::kTypeId));
        menu = CRefPointer<SceneNode>::share(static_cast<SceneNode*>(node));
        manager().openScene(menu.get(), CNameId());
    }

    BaseNode* find(const char* path) const {
        BaseNode* node = menu.get();
        std::string rest = path;
        while (node != nullptr && !rest.empty()) {
            const size_t slash = rest.find('/');
            node = node->findChild(nameOf(rest.substr(0, slash).c_str()), 1);
            rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
        }
        return node;
    }
    std::string text(const char* path) const {
        return CString(static_cast<TextNode*>(find(path))->getText().c_str()).c_str();
    }
    // A control of the menu reports a click, as a button does when its press has played.
    void press(const char* name) {
        CRefPointer<ControlNode> control(
            new ControlNode(CContentKey(), find("Scene/Menu"), nullptr));
        control->setName(nameOf(name));
        control->postEvent(control.get(), CEventReceiver::RouteSelfThenParents,
                           *CRefPointer<CEvent>(new CEventControlClicked(control.get())));
        game.advance(20);
        control->setParent(nullptr);
    }
    std::string current() const {
        return manager().getCurrentScene()->getName().toString().c_str();
    }
    CProfileParameters& addPlayer(const char16_t* name, int32_t difficulty) {
        CProfileManager& profiles = game.profiles();
        profiles.addProfile(name);
        profiles.setActiveProfile(profiles.getProfileCount() - 1);
        profiles.getActiveProfile()->setInt("PlayerDifficulty", difficulty);
        return *profiles.getActiveProfile();
    }

    CContentManager& content() const { return *game.application().getContentManager(); }
    SceneManager& manager() const { return *game.application().getSceneManager(); }

    GameHarness game;
    CRefPointer<SceneNode> menu;
};

TEST_F(MainMenuSceneTest, WithoutAPlayerItSendsTheUserToPlayerSelection) {
    openMenu();
    EXPECT_EQ(text("Scene/Menu/WelcomeText"), "Welcome, !");
    EXPECT_FALSE(find("Scene/Menu/DifficultyIcon")->isVisible());
    game.advance(380);
    EXPECT_EQ(current(), "MainMenuScene") << "while it still comes into view";
    game.advance(40);
    EXPECT_EQ(current(), "SelectPlayerScene");
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
        addPlayer(u"Anna", c.difficulty);
        openMenu();
        EXPECT_EQ(text("Scene/Menu/WelcomeText"), "Welcome, Anna!");
        EXPECT_TRUE(find("Scene/Menu/DifficultyIcon")->isVisible());
        EXPECT_EQ(stateOf(find("Scene/Menu/DifficultyIcon")), c.icon) << c.difficulty;
        game.profiles().removeProfile(0);
    }
}

TEST_F(MainMenuSceneTest, TheHeroineSaysHelloOnlyOnAForwardArrival) {
    addPlayer(u"Anna", 0);
    openMenu();
    BaseNode* heroine = find("Scene/Bg/Nelia");
    game.advance(420);
    EXPECT_EQ(stateOf(heroine), "FirstHello1");
    EXPECT_EQ(current(), "MainMenuScene");
    game.advance(1000);
    heroine->stopCurrentState(false);

    press("OptionsButton");
    game.advance(600);
    ASSERT_EQ(current(), "OptionsScene");
    EXPECT_TRUE(menu->isVisible());
    manager().getCurrentScene()->navigateBack(0, CNameId(), CNameId());
    game.advance(600);
    ASSERT_EQ(current(), "MainMenuScene");
    EXPECT_EQ(stateOf(heroine), "") << "no hello when coming back";
}

TEST_F(MainMenuSceneTest, TheHeroinePlaysAnIdleAnimationEveryFiveToEightSeconds) {
    addPlayer(u"Anna", 0);
    openMenu();
    game.advance(1500);
    BaseNode* heroine = find("Scene/Bg/Nelia");
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
    addPlayer(u"Anna", 0);
    const CRefPointer<CContent> templates =
        content().load(contentType("snod"), u"levels/common/TemplateCollection.qscn", true);
    game.application().getLevelSceneManager()->setTemplateCollection(
        static_cast<TemplateCollectionNode*>(static_cast<BaseNode*>(templates.get())));
    const CContentKey unused(&content(), u"scenes/images/Dim.png");
    content().loadAtlasTexture(u"scenes/images/Dim.png", true);
    ASSERT_NE(content().find(contentType("atex"), unused), nullptr);
    openMenu();
    game.advance(420);
    EXPECT_EQ(game.application().getLevelSceneManager()->getTemplateCollection(), nullptr);
    EXPECT_EQ(content().find(contentType("atex"), unused), nullptr);
    const CContentKey shown(&content(), u"scenes/images/MainMenuBg.png");
    EXPECT_NE(content().find(contentType("atex"), shown), nullptr) << "still drawn";
}

TEST_F(MainMenuSceneTest, NewGameForANewPlayerStartsAtTheFirstLevel) {
    CProfileParameters& player = addPlayer(u"Anna", 0);
    player.setInt("LevelIndex", 7);
    openMenu();
    game.advance(420);
    press("NewGameButton");
    EXPECT_EQ(player.getInt("LevelIndex"), 1);

    player.setInt("LevelIndex", 7);
    player.setInt("MaxUnlockedLevelIndex", 1);
    press("NewGameButton");
    EXPECT_EQ(player.getInt("LevelIndex"), 7);
}

} // namespace
