#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

#include "game/effects/BaloonNode.h"
#include "game/effects/BurstGravityNode.h"
#include "game/effects/CircularBirdNode.h"
#include "game/effects/CircularMovableNode.h"
#include "game/effects/JumpingRowNode.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// The nodes of the subtree, the root included.
uint32_t countNodes(const BaseNode& node) {
    uint32_t count = 1;
    for (uint32_t i = 0; i < node.getChildCount(); ++i)
        count += countNodes(*node.getChild(i));
    return count;
}

// A minute of the main menu as the game runs it: seeded and on the harness's clock.
class MainMenuEffectsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        addPlayer(u"Anna", 1);
        game.profiles().setActiveProfile(0);
        menu = openMenu();
        ASSERT_EQ(currentName(), "MainMenuScene");
    }

    SceneNode* menu = nullptr;
};

TEST_F(MainMenuEffectsTest, ForAMinuteEveryEffectRunsOnTheMenusClockAndBalloonsComeAndGo) {
    BaseNode* bg = find("Scene/Bg");
    ASSERT_NE(bg, nullptr);
    const IScheduler* clock = menu->getClock();
    EXPECT_EQ(findAs<GCircularBirdNode>("Scene/Bg/Bird1")->getScheduler(), clock);
    EXPECT_EQ(findAs<GCircularBirdNode>("Scene/Bg/Bird2")->getScheduler(), clock);
    EXPECT_EQ(findAs<GCircularMovableNode>("Scene/Bg/NoteOrbit")->getScheduler(), clock);
    EXPECT_EQ(findAs<GJumpingRowNode>("Scene/Bg/Dancers")->getScheduler(), clock);
    EXPECT_EQ(findAs<GBurstGravityNode>("Scene/Bg/Sparkles/Sparkle1")->getScheduler(), clock);
    EXPECT_EQ(findAs<GBaloonNode>("Scene/Bg/BalloonLayer/Balloon1")->getScheduler(), clock);
    BaseNode* spawner = find("Scene/Bg/BalloonLayer/Balloons");
    ASSERT_NE(spawner, nullptr);
    const uint32_t start = countNodes(*bg);
    uint32_t most = start;
    std::set<const BaseNode*> balloons;
    int sparklesSeen = 0;
    int jumpsSeen = 0;
    const CVector3d noteStart = find("Scene/Bg/NoteOrbit/Note")->getPosition();
    for (int second = 0; second < 60; ++second) {
        for (int step = 0; step < 5; ++step) {
            game.advance(200);
            for (uint32_t i = 0; i < spawner->getChildCount(); ++i)
                balloons.insert(spawner->getChild(i));
            sparklesSeen += find("Scene/Bg/Sparkles/Sparkle1")->isVisible();
            for (uint32_t i = 0; i < find("Scene/Bg/Dancers")->getChildCount(); ++i)
                jumpsSeen += find("Scene/Bg/Dancers")->getChild(i)->getPosition().y < 0;
        }
        most = std::max(most, countNodes(*bg));
    }
    EXPECT_GE(balloons.size(), 15u) << "about one every two seconds";
    // A balloon is two nodes; at most about eight fly at once.
    EXPECT_LE(most, start + 16) << "balloons go as they come";
    EXPECT_EQ(find("Scene/Bg/BalloonLayer/Balloon1"), nullptr) << "a placed one goes too";
    EXPECT_GT(sparklesSeen, 10);
    EXPECT_GT(jumpsSeen, 10);
    EXPECT_FALSE(find("Scene/Bg/NoteOrbit/Note")->getPosition() == noteStart);
    for (const char* path : {"Scene/Bg/Bird1", "Scene/Bg/Bird2"})
        EXPECT_NE(static_cast<GCircularBirdNode*>(find(path))->getBird(), nullptr) << path;
    EXPECT_EQ(game.logProblems(), "");
}

} // namespace
