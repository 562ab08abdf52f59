#include <string>

#include "game/app/GameApplication.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/LoadingLevelScene.h"
#include "tests/game/screens/ScreenFixture.h"

// The level-loading screen opened over a plain scene, with the game's content but lists of
// levels of its own: 34 easy levels in setting 1 but for 30 to 32 (settings 6 to 8, whose
// files are broken), one hard level. The steps are timed by the test, which takes the screen
// off its clock once it has arrived.
namespace {

// The fill's width after each number of steps of the full table (weights 5 and then 10 of
// 100 on a bar of 300 units, to the nearest 8), and of the restart table (30 each).
constexpr float kFullFill[] = {0, 16, 48, 72, 104, 136, 168, 192};
constexpr float kRestartFill[] = {0, 88, 184, 272};

std::string easyLevels() {
    std::string levels = "<LevelsConfiguration>";
    for (int level = 1; level <= 34; ++level) {
        const int setting = level >= 30 && level <= 32 ? level - 24 : 1;
        levels += "<Level><SettingIndex Value=\"" + std::to_string(setting) + "\"/></Level>";
    }
    return levels + "</LevelsConfiguration>";
}

// One slot "Pad" whose bought upgrade tells which purchase state was applied.
std::string upgrades(const char* firstType) {
    return std::string("<Upgrades><Level Index=\"1\"><Locations>") + "<U Name=\"Pad\" Type=\"" +
           firstType +
           "\" Price=\"0\"/><U Name=\"Pad\" Type=\"T2\" Price=\"5\"/>"
           "<U Name=\"Pad\" Type=\"T3\" Price=\"5\"/></Locations></Level></Upgrades>";
}

const char* const kPlainScene = "<SceneNode Type=\"SceneNode\"/>";
const char* const kEmptyCollection = "<SceneNode Type=\"TemplateCollectionNode\"/>";

class LoadingLevelSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        write("levels/common/LevelConfigsEasy.xml", easyLevels());
        write("levels/common/LevelConfigs.xml",
              "<LevelsConfiguration><Level><SettingIndex Value=\"1\"/></Level>"
              "</LevelsConfiguration>");
        write("levels/setting1/UpgradesEasy.xml", upgrades("T1"));
        write("levels/setting1/Upgrades.xml", upgrades("Hard"));
        write("levels/setting6/TemplateCollection.qscn", kEmptyCollection);
        write("levels/setting6/Level.qscn", kPlainScene);
        write("levels/setting8/TemplateCollection.qscn", kPlainScene);
        opener = plainScene();
        manager().openScene(opener.get(), CNameId());
        settle();
        game.player().setInt("PlayerDifficulty", 1);
    }

    // Opened over the plain scene for that level; held once it has arrived.
    GLoadingLevelScene* openLoading(int32_t levelIndex) {
        game.player().setInt("LevelIndex", levelIndex);
        SceneNode* opened = opener->openSceneFile(u"scenes/LoadingLevelScene.qscn", false,
                                                  name("NavFrom"), name("NavTo"));
        EXPECT_TRUE(opened != nullptr && opened->isKindOf(GLoadingLevelScene::kTypeId));
        screen = CRefPointer<GLoadingLevelScene>::share(static_cast<GLoadingLevelScene*>(opened));
        hold();
        return screen.get();
    }
    void hold() { takeOffClock(*screen); }
    // One tick after more than the step gap.
    void step() {
        screen->OnUpdate(GLoadingLevelScene::kStepGapMs + 1);
        game.advance(20);
    }
    float fillWidth() const { return findIn(screen.get(), "Scene/Progress/Fill")->getBounds().x; }
    // The problems logged since the last call.
    std::string newProblems() {
        const std::string all = game.logProblems();
        const std::string fresh = all.substr(m_problemsSeen);
        m_problemsSeen = all.size();
        return fresh;
    }
    // The screen of that kind that shows the level, its scene manager hung under its "Scene".
    BaseNode* screenOver(uint32_t kind) const {
        BaseNode* node = game.application().getLevelSceneManager();
        while (node != nullptr && !node->isKindOf(kind))
            node = node->getParent();
        return node;
    }
    BaseNode* inLevelScreen() const { return screenOver(GGamePlayScene::kTypeId); }
    std::string boughtPad() const {
        const GUpgradeItem* current = nullptr;
        const GUpgradeItem* next = nullptr;
        theApplication->getUpgradeCatalog(1)->getCurrentAndNext(name("Pad"), current, next);
        return current != nullptr ? current->type.toString().c_str() : "";
    }
    // The screen's steps run until it has left, forward or back, and its leaving has played.
    void runSteps() {
        for (int tick = 0; tick < 40 && current() == screen.get(); ++tick)
            step();
    }
    void runUntilBack() {
        runSteps();
        settle();
    }

    CRefPointer<SceneNode> opener;
    CRefPointer<GLoadingLevelScene> screen;

private:
    size_t m_problemsSeen = 0;
};

TEST_F(LoadingLevelSceneTest, AStepRunsOnTheFirstTickAfterMoreThan100Ms) {
    openLoading(1);
    EXPECT_EQ(fillWidth(), kFullFill[0]);
    // Whatever the clock gathered before the hold.
    screen->OnUpdate(101);
    EXPECT_EQ(fillWidth(), kFullFill[1]);
    screen->OnUpdate(100);
    EXPECT_EQ(fillWidth(), kFullFill[1]) << "100 ms is not enough";
    screen->OnUpdate(1);
    EXPECT_EQ(fillWidth(), kFullFill[2]);
    screen->OnUpdate(60);
    screen->OnUpdate(41);
    EXPECT_EQ(fillWidth(), kFullFill[3]) << "the gap gathers over ticks";
}

// Levels from the third on but the first of each act go on to the shop, the others to the
// in-level screen, with the level open in the level's scene manager under either.
TEST_F(LoadingLevelSceneTest, TheShopComesBeforeLevelsFromTheThirdButTheFirstOfEachAct) {
    struct Case {
        int32_t levelIndex;
        bool shop;
    };
    const Case cases[] = {{1, false},  {2, false}, {12, false}, {23, false},
                          {34, false}, {3, true},  {13, true}};
    SceneManager& levelManager = *game.application().getLevelSceneManager();
    for (const Case& c : cases) {
        openLoading(c.levelIndex);
        runSteps();
        if (c.shop) {
            settle();
            EXPECT_EQ(screenOver(GGameShopScene::kTypeId), current()) << c.levelIndex;
        } else {
            EXPECT_NE(screenOver(GGamePlayScene::kTypeId), nullptr) << c.levelIndex;
            EXPECT_EQ(currentName(), "BriefingScene") << "the in-level screen starts the level";
        }
        EXPECT_EQ(fillWidth(), kFullFill[7]) << c.levelIndex;
        SceneNode* level = levelManager.getCurrentScene();
        EXPECT_TRUE(level != nullptr && level->isKindOf(GGameLevelScene::kTypeId));
        EXPECT_EQ(newProblems(), "") << c.levelIndex;
        manager().openScene(opener.get(), CNameId());
        levelManager.openScene(nullptr, CNameId());
        settle();
    }
}

TEST_F(LoadingLevelSceneTest, AFailingStepGoesBackWithOneWarningNamingItsFile) {
    struct Case {
        int32_t levelIndex;
        int32_t difficulty;
        uint32_t stepsDone;
        const char* problem;
    };
    const Case cases[] = {
        {0, 1, 0, "WRN: Level loading step 1: levels/common/LevelConfigsEasy.xml has no level 0\n"},
        {35, 1, 0,
         "WRN: Level loading step 1: levels/common/LevelConfigsEasy.xml has no level 35\n"},
        {2, 0, 0, "WRN: Level loading step 1: levels/common/LevelConfigs.xml has no level 2\n"},
        {31, 1, 2,
         "WRN: Level loading step 3: levels/setting7/TemplateCollection.qscn did not load\n"},
        {32, 1, 2,
         "WRN: Level loading step 3: levels/setting8/TemplateCollection.qscn is not a template "
         "collection\n"},
        {30, 1, 3, "WRN: Level loading step 4: levels/setting6/Level.qscn is not a level\n"},
    };
    for (const Case& c : cases) {
        game.player().setInt("PlayerDifficulty", c.difficulty);
        openLoading(c.levelIndex);
        runUntilBack();
        EXPECT_EQ(current(), opener.get()) << c.levelIndex;
        EXPECT_EQ(fillWidth(), kFullFill[c.stepsDone]) << c.levelIndex;
        EXPECT_EQ(newProblems(), c.problem) << c.levelIndex;
        EXPECT_EQ(game.player().getInt("LevelIndex"), c.levelIndex) << "nothing written";
    }
}

// A restart reads the configuration again and goes straight on to a new in-level screen with
// the level loaded before, reset, whatever level the player has moved on to.
TEST_F(LoadingLevelSceneTest, ComingBackRunsTheRestartStepsOnTheLevelLoadedBefore) {
    openLoading(1);
    runSteps();
    const CRefPointer<BaseNode> firstScreen = CRefPointer<BaseNode>::share(inLevelScreen());
    ASSERT_TRUE(firstScreen);
    SceneManager& levelManager = *game.application().getLevelSceneManager();
    const CRefPointer<SceneNode> level =
        CRefPointer<SceneNode>::share(levelManager.getCurrentScene());
    const TemplateCollectionNode* templates = levelManager.getTemplateCollection();

    settle();
    ASSERT_EQ(currentName(), "BriefingScene");
    // A first completion has moved the player on; the restart still replays the level held.
    game.player().setInt("LevelIndex", 2);
    // As the in-level screen's menu restarts the level.
    current()->navigateBackToType(GLoadingLevelScene::kTypeId, name("NavBackFrom"),
                                  name("NavBackTo"));
    hold();
    EXPECT_EQ(fillWidth(), kRestartFill[0]);
    step();
    EXPECT_EQ(fillWidth(), kRestartFill[1]);
    step();
    EXPECT_EQ(fillWidth(), kRestartFill[2]);
    runSteps();
    EXPECT_EQ(fillWidth(), kRestartFill[3]);
    EXPECT_NE(inLevelScreen(), nullptr);
    EXPECT_NE(inLevelScreen(), firstScreen.get());
    EXPECT_EQ(levelManager.getCurrentScene(), level.get()) << "the level is reused";
    EXPECT_EQ(levelManager.getTemplateCollection(), templates);
    settle();
    EXPECT_EQ(newProblems(), "");
}

// The first visit of a level starts from the purchases the previous level's shop left, a
// restart and an act's first level from the level's own.
TEST_F(LoadingLevelSceneTest, ThePurchasesAppliedAreThoseOfTheLevelBeforeUnlessItStartsAnAct) {
    CProfileParameters& player = game.player();
    player.setString("Level4Locations", "Pad;T2");
    player.setString("Level5Locations", "Pad;T3");
    player.setString("Level11Locations", "Pad;T2");
    player.setString("Level12Locations", "Pad;T3");
    openLoading(5);
    step();
    EXPECT_EQ(boughtPad(), "T2") << "level 5, first visit";

    const CRefPointer<SceneNode> over = plainScene();
    screen->openScene(over.get(), false, name("NavFrom"), name("NavTo"));
    settle();
    over->navigateBack(0, name("NavBackFrom"), name("NavBackTo"));
    hold();
    step();
    EXPECT_EQ(boughtPad(), "T3") << "level 5, restarted";
    manager().openScene(opener.get(), CNameId());
    settle();

    openLoading(12);
    step();
    EXPECT_EQ(boughtPad(), "T3") << "level 12, first of act 2";
    manager().openScene(opener.get(), CNameId());
    settle();

    player.setInt("PlayerDifficulty", 0);
    player.setString("Level1Locations", "");
    openLoading(1);
    step();
    EXPECT_EQ(boughtPad(), "Hard") << "the hard upgrades";
}

} // namespace
