#include <gtest/gtest.h>

#include <set>

#include "engine/io/ProfileManager.h"
#include "engine/platform/host/HostMessages.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/TextNode.h"
#include "game/app/MoneyText.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/TutorialController.h"
#include "tests/game/app/GameJourney.h"

// A new player's way into the first level.
namespace {

using GamePlaySceneJourneyTest = GameJourneyTest;

TEST_F(GamePlaySceneJourneyTest, ANewPlayerReachesLevelOneAndPlaysItToTheEnd) {
    ASSERT_TRUE(game().start());
    ASSERT_TRUE(passLogos("GSelectPlayerInputNameScene")) << currentType();
    game().advance(1000);
    type(u"Nia");
    click("Scene/EasyButton");
    click("Scene/OkButton");
    ASSERT_TRUE(reach("GSelectPlayerScene", 3000)) << currentType();
    click("Scene/OkButton");
    ASSERT_TRUE(reach("GMainMenuScene", 3000)) << currentType();

    // As the main menu opens it over the map for a new player.
    current()->openSceneFile(u"scenes/ComicsScene1.qscn", false, CNameId(), CNameId());
    ASSERT_TRUE(reach("GComicsScene", 2000));
    game().advance(1000);
    click("Scene/NextButton");
    ASSERT_TRUE(reach("GLoadingLevelScene", 2000));
    ASSERT_TRUE(reach("GGameBriefingScene", 20000));
    auto* screen = static_cast<GGamePlayScene*>(current()->getPreviousScene());
    ASSERT_TRUE(screen != nullptr && screen->isKindOf(GGamePlayScene::kTypeId));
    game().advance(1000);
    click("Scene/BackButton");
    ASSERT_TRUE(reach("GGameNewClientScene", 2000)) << currentType();
    game().advance(1000);
    click("Scene/BackButton");
    ASSERT_TRUE(reach("GGamePlayScene", 2000));

    // The heroine's tutorial, followed hint by hint: clicks to go on, the first client taken
    // to the pad of her colour and her money taken at the check-out.
    GGameLevelScene& level = *screen->getLevel();
    ASSERT_EQ(screen->getTutorials().size(), 1u);
    const auto levelNode = [&level](const char* name) {
        return level.findChild(CNameId(CString(name)), 0);
    };
    std::set<int32_t> acted;
    for (int frame = 0; frame < 3000 && screen->getTutorials().size() != 0; ++frame) {
        const int32_t hint = screen->getTutorials()[0]->getCurrentHint();
        if (acted.insert(hint).second) {
            // Hints 0 and 9 wait for a click, 3 for the pick-up, 4 for the pad, 7 for the pay.
            if (hint == 0 || hint == 9)
                harness.click(*levelNode("DancePad2"));
            else if (hint == 3 || hint == 7)
                harness.click(*level.findClient(CNameId(CString("1"))));
            else if (hint == 4)
                harness.click(*levelNode("DancePad1"));
        }
        game().advance(20);
    }
    ASSERT_EQ(screen->getTutorials().size(), 0u) << "stopped at hint " << *acted.rbegin();
    EXPECT_FALSE(find("Scene/GameMenu/SkipTutorialButton")->isVisible());

    for (int frame = 0; frame < 30000 && !level.isClosed(); ++frame) {
        playFrame(level);
        game().advance(20);
    }
    ASSERT_TRUE(level.isClosed());
    game().advance(3000);
    EXPECT_GT(paid.size(), 0u);
    const auto* money = static_cast<const TextNode*>(find("Scene/GameMenu/Money/MoneyText"));
    ASSERT_NE(money, nullptr);
    const float total = level.getMoney(GGameLevelScene::kMoneyComponents);
    EXPECT_GT(total, 0.0f);
    EXPECT_EQ(CString(money->getShownText().c_str()),
              CString(formatMoneyText(int32_t(total + 0.5f)).c_str()));
    const NodeState* sign = find("Scene/GameMenu/Time/TimeClosedNode")->getCurrentState();
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(sign->getName(), CNameId(CString("Closed")));
}

// In the developer mode Control+S saves the level and Control+L goes back to the loading
// screen, whose next in-level screen goes on from the saved level.
TEST_F(GamePlaySceneJourneyTest, ControlSThenControlLRestoresTheLevelThroughTheLoadingScreen) {
    ASSERT_TRUE(game().start());
    game().player().setInt("LevelIndex", 1);
    game().player().setBool("ShowTutorialOn", false);
    ASSERT_TRUE(passLogos("GMainMenuScene")) << currentType();
    current()->openSceneFile(u"scenes/LoadingLevelScene.qscn", false, CNameId(), CNameId());
    ASSERT_TRUE(reach("GGameBriefingScene", 20000)) << currentType();
    for (const char* popup : {"GGameBriefingScene", "GGameNewClientScene"}) {
        ASSERT_TRUE(reach(popup, 2000)) << currentType();
        game().advance(1000);
        click("Scene/BackButton");
    }
    ASSERT_TRUE(reach("GGamePlayScene", 2000));
    GGameLevelScene* level = static_cast<GGamePlayScene*>(current())->getLevel();
    game().advance(3000);

    developerMode = true;
    const auto typeWithControl = [this](uint32_t key) {
        game().host.setKeyDown(VK_CONTROL, true);
        game().typeKey(key, 0);
        game().runMessages();
        game().host.setKeyDown(VK_CONTROL, false);
    };
    typeWithControl('S');
    const int32_t saved = level->getElapsedMs();
    game().advance(3000);
    ASSERT_GT(level->getElapsedMs(), saved + 2000);
    typeWithControl('L');
    ASSERT_TRUE(reach("GLoadingLevelScene", 2000)) << currentType();
    ASSERT_TRUE(reach("GGamePlayScene", 5000)) << currentType();
    auto* screen = static_cast<GGamePlayScene*>(current());
    developerMode = false;
    EXPECT_EQ(screen->getLevel(), level);
    EXPECT_TRUE(screen->isBriefingDone());
    EXPECT_FALSE(game().player().getBool("Cheat_LoadAfterRestart"));
    EXPECT_GE(level->getElapsedMs(), saved);
    EXPECT_LT(level->getElapsedMs(), saved + 1000);
}

} // namespace
