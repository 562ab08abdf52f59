#include <gtest/gtest.h>

#include <algorithm>

#include "engine/io/ProfileManager.h"
#include "engine/platform/InputEvents.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelConfig.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/EllipseSectorNode.h"
#include "game/screens/TutorialController.h"
#include "tests/game/screens/GamePlaySceneFixture.h"

namespace {

// A tutorial over at its first step, and one whose hint nothing ends.
const char kEmptyTutorial[] = "<Tutorial></Tutorial>";
const char kWaitingTutorial[] = "<Tutorial><Hint><Text Value=\"Wait\"/></Hint></Tutorial>";

class GamePlaySceneStartTest : public GamePlaySceneTest {
protected:
    bool cleared(const char* key) { return !harness.game.player().getBool(key); }
    // Whether any of the level's queued clients is on its way.
    bool clientsArmed() const {
        for (const GGameLevelScene::SpawnRecord& record : level->getSpawnRecords()) {
            if (record.countdown >= 0 || record.spawned)
                return true;
        }
        return false;
    }
    BaseNode* skipButton() const { return find("Scene/GameMenu/SkipTutorialButton"); }
    std::string darkState() const { return stateOf(find("Scene/DarkFg")); }
};

class GamePlaySceneTutorialTest : public GamePlaySceneStartTest {
protected:
    // As for every new player.
    void SetUp() override {
        GamePlaySceneStartTest::SetUp();
        harness.game.player().setBool("ShowTutorialOn", true);
    }
    void writeContent() override {
        harness.write("levels/tutorials/Level1.xml", kWaitingTutorial);
        harness.write("levels/tutorials/DancePad1.xml", kEmptyTutorial);
        harness.write("levels/tutorials/Masseur1.xml", kWaitingTutorial);
    }
};

// The loading screen's restart: the level starts again at once, without its pop-ups.
TEST_F(GamePlaySceneStartTest, RestartShowsNoPopupAndArmsTheClients) {
    harness.game.player().setBool("ShowTutorialOn", false);
    load().reset(false);
    // The queue's clients made again, none on its way.
    level->spawnQueuedClients(level->getLevelConfig()->clientsQueue,
                              harness.levelManager().getTemplateCollection());
    ASSERT_FALSE(clientsArmed());
    show();
    EXPECT_TRUE(screen->isBriefingDone());
    EXPECT_TRUE(screen->isNewClientDone());
    EXPECT_EQ(manager().getCurrentScene(), screen.get());
    EXPECT_TRUE(clientsArmed());
    EXPECT_EQ(screen->getTutorials().size(), 0u);
    EXPECT_FALSE(skipButton()->isVisible());
}

// With its level tutorial only, the level goes on when the tutorial ends: no fade, no restart.
TEST_F(GamePlaySceneTutorialTest, LevelTutorialAloneLetsTheLevelGoOn) {
    load().reset(false);
    show();
    ASSERT_EQ(screen->getTutorials().size(), 1u);
    // Started with the pop-ups behind: the skip button shows, and the queue waits for it.
    EXPECT_TRUE(skipButton()->isVisible());
    EXPECT_TRUE(level->isTutorialQueueMode());
    EXPECT_TRUE(level->hasTutorial());
    screen->getTutorials()[0]->skip();
    harness.advance(5);
    EXPECT_EQ(screen->getTutorials().size(), 0u);
    EXPECT_FALSE(skipButton()->isVisible());
    EXPECT_FALSE(level->isTutorialQueueMode());
    EXPECT_FALSE(level->hasTutorial());
    EXPECT_FALSE(screen->isStartPending());
    EXPECT_NE(darkState(), "RestartBefore");
}

// Level 1 from the start: the briefing, then the pop-up presenting its new client type, then
// its tutorial; the level waits under each pop-up.
TEST_F(GamePlaySceneTutorialTest, BriefingThenNewClientThenTheTutorial) {
    play();
    ASSERT_EQ(std::string(CString(manager().getCurrentScene()->getTypeName().c_str()).c_str()),
              "GGameBriefingScene");
    EXPECT_TRUE(level->isPaused());
    EXPECT_FALSE(skipButton()->isVisible());
    // Once it has come in.
    const auto closePopup = [this] {
        harness.advance(30);
        manager().getCurrentScene()->navigateBack(0, CNameId(), CNameId());
        harness.advance(30);
    };
    closePopup();
    EXPECT_TRUE(screen->isBriefingDone());
    ASSERT_EQ(std::string(CString(manager().getCurrentScene()->getTypeName().c_str()).c_str()),
              "GGameNewClientScene");
    EXPECT_EQ(harness.trace().cueTicks("NewClientWindow").size(), 1u);
    EXPECT_FALSE(skipButton()->isVisible());
    closePopup();
    EXPECT_TRUE(screen->isNewClientDone());
    EXPECT_EQ(manager().getCurrentScene(), screen.get());
    EXPECT_FALSE(level->isPaused());
    ASSERT_EQ(screen->getTutorials().size(), 1u);
    EXPECT_TRUE(skipButton()->isVisible());
    EXPECT_TRUE(level->isTutorialQueueMode());
}

// Tutorials of newly opened objects of setting 1 run first, each shown once; the end of each
// restarts the level behind a fade to black.
TEST_F(GamePlaySceneTutorialTest, ObjectTutorialsRunFirstAndRestartTheLevelThroughTheFade) {
    harness.game.player().setBool("ShowTutorialOn", false);
    load().queueNewlyOpened(CNameId(CString("DancePad1")));
    level->queueNewlyOpened(CNameId(CString("SandwichMachine2")));
    show();
    EXPECT_TRUE(harness.game.player().getBool("ShownTutorialDancePad1"));
    EXPECT_TRUE(harness.game.player().getBool("ShownTutorialSandwichMachine2"));
    // Started at once, and over at its first step: the fade comes.
    EXPECT_EQ(screen->getTutorials().size(), 0u);
    EXPECT_TRUE(screen->isStartPending());
    EXPECT_EQ(darkState(), "RestartBefore");
    harness.advance(40);
    EXPECT_FALSE(screen->isStartPending());
    EXPECT_EQ(darkState(), "RestartAfter");
    EXPECT_EQ(stateOf(find("Scene/GameMenu/Time/TimeClosedNode")), "Opened");
    EXPECT_FALSE(skipButton()->isVisible());

    // Shown once to each player.
    load().queueNewlyOpened(CNameId(CString("DancePad1")));
    show();
    EXPECT_FALSE(screen->isStartPending());
}

// The skip button ends the running tutorial and switches tutorials off for the player.
TEST_F(GamePlaySceneTutorialTest, SkipTutorialButtonEndsItAndStoresTheChoice) {
    load().queueNewlyOpened(CNameId(CString("MassageTable1")));
    show();
    ASSERT_EQ(screen->getTutorials().size(), 2u);
    EXPECT_TRUE(skipButton()->isVisible());
    harness.advance(10);
    ASSERT_EQ(screen->getTutorials().size(), 2u);
    const CRefPointer<CEvent> click(new CEventControlClicked(skipButton()));
    screen->OnEvent(*click);
    EXPECT_TRUE(cleared("ShowTutorialOn"));
    EXPECT_EQ(screen->getTutorials().size(), 1u);
    EXPECT_TRUE(screen->isStartPending());
}

// While another screen covers it the level stands still; back in front, it goes on.
TEST_F(GamePlaySceneStartTest, LevelStandsStillWhileAnotherScreenCoversIt) {
    harness.game.player().setBool("ShowTutorialOn", false);
    load().reset(false);
    show();
    const CRefPointer<SceneNode> cover(
        new SceneNode(CContentKey(&harness.content(), u"scenes/Cover.qscn"), nullptr, nullptr));
    screen->openScene(cover.get(), true, CNameId(), CNameId());
    harness.advance(20);
    const int32_t elapsed = level->getElapsedMs();
    EXPECT_TRUE(level->isPaused());
    harness.advance(20);
    EXPECT_EQ(level->getElapsedMs(), elapsed);
    cover->navigateBack(0, CNameId(), CNameId());
    harness.advance(20);
    EXPECT_FALSE(level->isPaused());
    EXPECT_GT(level->getElapsedMs(), elapsed);
}

// The arrow turns with the day and never past a whole turn; a day without length keeps it at 0.
TEST_F(GamePlaySceneStartTest, ClockFollowsTheDayAndNeverPassesAWholeTurn) {
    harness.game.player().setBool("ShowTutorialOn", false);
    load().reset(false);
    GLevelConfig& config = *level->getLevelConfig();
    config.levelTime = 2;
    show();
    BaseNode* arrow = find("Scene/GameMenu/Time/Arrow");
    auto* sector = static_cast<GEllipseSectorNode*>(find("Scene/GameMenu/Time/Ellipse"));
    float largest = 0;
    for (int frame = 0; frame < 150 && !level->isClosed(); ++frame) {
        harness.advance(1);
        largest = std::max(largest, arrow->getRotation().z);
        EXPECT_LE(sector->getAngle1(), 360);
    }
    EXPECT_TRUE(level->isClosed());
    EXPECT_GT(largest, 300.0f);
    EXPECT_LE(largest, 360.0f);

    load().reset(false);
    level->getLevelConfig()->levelTime = 0;
    show();
    harness.advance(20);
    EXPECT_EQ(find("Scene/GameMenu/Time/Arrow")->getRotation().z, 0.0f);
}

// The developer's keys, in the developer mode only.
TEST_F(GamePlaySceneStartTest, DeveloperKeysAddMoneyAndRestart) {
    harness.game.player().setBool("ShowTutorialOn", false);
    load().reset(false);
    GLevelConfig& config = *level->getLevelConfig();
    config.targetMoney = 1000;
    config.targetExpertMoney = 2000;
    config.targetMasterMoney = 3000;
    show();
    // Only the keys change the money.
    level->setClientGenerationPaused(true);
    struct Case {
        uint32_t key;
        bool shift;
        bool control;
        float total;
    };
    const Case cases[] = {
        {107, false, false, 1000}, // numeric-pad plus
        {69, false, false, 3001},  // E: just past the master target
        {69, true, true, 999},     // Shift+Control+E: back below the goal
        {69, true, true, 1001},    // and just past it again
        {69, true, false, 2001},   // Shift+E: past the expert target
        {69, false, false, 3001},  // E
    };
    const auto press = [this](uint32_t key, bool shift, bool control) {
        const CRefPointer<CEvent> up(new CEventInputKeyUp(0, key, shift, control));
        screen->OnEvent(*up);
        harness.advance(300);
    };
    press(107, false, false);
    EXPECT_EQ(level->getMoney(GGameLevelScene::kMoneyComponents), 0.0f) << "not in developer mode";
    developerMode = true;
    for (const Case& c : cases) {
        press(c.key, c.shift, c.control);
        EXPECT_EQ(level->getMoney(GGameLevelScene::kMoneyComponents), c.total) << c.key;
    }
    press(82, true, false);
    EXPECT_EQ(level->getMoney(GGameLevelScene::kMoneyComponents), 0.0f);
    EXPECT_TRUE(level->isRestarted());
    developerMode = false;
}

} // namespace

namespace {

bool hangsUnder(const SceneManager& levelManager, GGamePlayScene& screen) {
    return levelManager.getParent() == screen.findChild(CNameId(CString("Scene")), 1);
}

// A newer screen that took the level over keeps it when the older one goes; the last screen
// to go takes the level out of its manager.
TEST_F(GamePlaySceneStartTest, SecondScreenTakingTheLevelOverKeepsIt) {
    harness.game.player().setBool("ShowTutorialOn", false);
    load().reset(false);
    show();
    SceneManager& levelManager = harness.levelManager();
    CRefPointer<GGamePlayScene> first = screen;
    const auto back = [this] {
        manager().getCurrentScene()->navigateBack(0, CNameId(), CNameId());
        harness.advance(2);
    };
    back();
    show();
    ASSERT_TRUE(hangsUnder(levelManager, *screen));
    ASSERT_EQ(first->getRefCount(), 1);
    first = nullptr;
    EXPECT_TRUE(hangsUnder(levelManager, *screen));
    EXPECT_EQ(levelManager.getCurrentScene(), level);
    const int32_t elapsed = level->getElapsedMs();
    harness.advance(10);
    EXPECT_GT(level->getElapsedMs(), elapsed);

    back();
    ASSERT_EQ(screen->getRefCount(), 1);
    screen = nullptr;
    EXPECT_EQ(levelManager.getCurrentScene(), nullptr);
}

} // namespace
