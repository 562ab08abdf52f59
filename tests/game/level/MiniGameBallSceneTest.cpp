#include "game/level/MiniGameBallScene.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/Utf.h"
#include "engine/scene/SpriteNode.h"
#include "engine/ui/ButtonNode.h"
#include "engine/video/AtlasTexture.h"
#include "tests/game/level/FixtureMiniGames.h"

namespace {

using namespace fixture_minigames;

// The content name of the ball's picture; empty without one.
std::string pictureOf(const ButtonNode* ball) {
    const BaseNode* image = ball->findChild(named("Image"), 1);
    const CAtlasTexture* picture = static_cast<const SpriteNode*>(image)->getImage();
    return picture != nullptr ? utf16ToUtf8(picture->getContentName().c_str()).c_str() : "";
}

class MiniGameBallSceneTest : public MiniGameTest {};

TEST_F(MiniGameBallSceneTest, TheRightBallWearsTheClientsColourAndTheOthersThePicturesInTurn) {
    struct Case {
        int32_t colour;
        const char* right;
    };
    const Case cases[] = {
        {2, "BallRed.png"},
        {5, "BallYellow.png"},
        {-1, "BallNeutral.png"},
    };
    const std::string folder = "levels/minigames/balls/";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        GClientNode* client = nullptr;
        if (c.colour >= 0) {
            client = spawn("Dancer", fixture_clients::wishes({{{"Dance"}}}));
            client->setColor(c.colour);
        }
        GMiniGameBallScene* game = open<GMiniGameBallScene>(u"minigames/Ball4.qscn", 0, client);
        ASSERT_NE(game, nullptr);
        ASSERT_EQ(game->getBalls().size(), 4u);
        const char* inTurn[] = {"Striped.png", "Dotted.png"};
        for (uint32_t i = 0; i < 4; ++i) {
            const ButtonNode* ball = game->getBalls()[i];
            const bool right = ball == game->getCorrectBall();
            EXPECT_EQ(pictureOf(ball), folder + (right ? c.right : inTurn[i % 2])) << i;
        }
        click(game->getCorrectBall());
    }
}

TEST_F(MiniGameBallSceneTest, WrongBallsVanishOneByOneAndOnlyTheRightBallClosesTheGame) {
    GMiniGameBallScene* game = open<GMiniGameBallScene>(u"minigames/Ball3.qscn");
    ASSERT_NE(game, nullptr);
    const CRefPointer<GMiniGameBallScene> held = CRefPointer<GMiniGameBallScene>::share(game);
    for (ButtonNode* ball : game->getBalls()) {
        if (ball == game->getCorrectBall())
            continue;
        click(ball);
        EXPECT_FALSE(ball->isVisible());
        EXPECT_EQ(current(), game) << "a wrong ball leaves the game open";
    }
    int32_t visible = 0;
    for (ButtonNode* ball : game->getBalls())
        visible += ball->isVisible() ? 1 : 0;
    EXPECT_EQ(visible, 1);
    click(game->getCorrectBall());
    EXPECT_EQ(current(), &level());
    EXPECT_TRUE(game->isClosed());
    EXPECT_EQ(game->getResult(), 0) << "the ball game never sets a result";
}

// Without pictures in the record, or without a record, a right ball is drawn all the same, so
// that the game can end; every ball keeps its picture from the scene file.
TEST_F(MiniGameBallSceneTest, WithoutPicturesOrARecordARightBallStillClosesTheGame) {
    for (int32_t configuration : {1, 7}) {
        SCOPED_TRACE(configuration);
        GMiniGameBallScene* game = open<GMiniGameBallScene>(u"minigames/Ball3.qscn", configuration);
        ASSERT_NE(game, nullptr);
        ASSERT_NE(game->getCorrectBall(), nullptr);
        for (const ButtonNode* ball : game->getBalls())
            EXPECT_EQ(pictureOf(ball), "");
        click(game->getCorrectBall());
        EXPECT_EQ(current(), &level());
    }
}

} // namespace
