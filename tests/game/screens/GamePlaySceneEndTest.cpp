#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/platform/InputEvents.h"
#include "engine/platform/SystemFlowEvents.h"
#include "game/level/GameLevelScene.h"
#include "tests/game/app/ScreenInput.h"
#include "tests/game/screens/GamePlaySceneFixture.h"

namespace {

constexpr uint32_t kEscape = 27;

// The level played on, with no tutorial or pop-up in the way.
class GamePlaySceneEndTest : public GamePlaySceneTest {
protected:
    void SetUp() override {
        GamePlaySceneTest::SetUp();
        harness.game.player().setBool("ShowTutorialOn", false);
        load().reset(false);
        show();
        ASSERT_EQ(manager().getCurrentScene(), screen.get());
    }

    std::string currentName() const {
        const SceneNode* current = manager().getCurrentScene();
        return current != nullptr ? current->getName().toString().c_str() : "";
    }
    BaseNode* inMenu(const std::string& path) const {
        return nodeAtPath(manager().getCurrentScene(), path);
    }
};

// Escape and the menu button pause the level under the menu; Resume lets it go on.
TEST_F(GamePlaySceneEndTest, MenuStopsTheLevelsTimeUntilResume) {
    const auto escape = [this] {
        const CRefPointer<CEvent> up(new CEventInputKeyUp(0, kEscape, false, false));
        screen->OnEvent(*up);
    };
    const auto menuButton = [this] {
        screen_input::clickNode(harness.game, *find("Scene/MenuButton"));
    };
    for (const auto& open : {std::function<void()>(escape), std::function<void()>(menuButton)}) {
        harness.advance(20);
        open();
        harness.advance(60);
        ASSERT_EQ(currentName(), "InGameMenuScene");
        const int32_t elapsed = level->getElapsedMs();
        harness.advance(50);
        EXPECT_EQ(level->getElapsedMs(), elapsed);
        screen_input::clickNode(harness.game, *inMenu("Scene/ResumeButton"));
        harness.advance(60);
        ASSERT_EQ(manager().getCurrentScene(), screen.get());
        harness.advance(20);
        EXPECT_GT(level->getElapsedMs(), elapsed);
    }
}

TEST_F(GamePlaySceneEndTest, LosingTheWindowFocusOpensTheMenu) {
    const CRefPointer<CEvent> active(new CEventSystemFlowActivate(true));
    screen->OnEvent(*active);
    harness.advance(10);
    EXPECT_EQ(manager().getCurrentScene(), screen.get()) << "gaining the focus does nothing";
    const CRefPointer<CEvent> inactive(new CEventSystemFlowActivate(false));
    screen->OnEvent(*inactive);
    harness.advance(60);
    EXPECT_EQ(currentName(), "InGameMenuScene");
    const int32_t elapsed = level->getElapsedMs();
    harness.advance(20);
    EXPECT_EQ(level->getElapsedMs(), elapsed);
}

} // namespace
