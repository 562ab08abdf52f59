#include <gtest/gtest.h>

#include "engine/io/ProfileManager.h"
#include "support/GoldenImage.h"
#include "tests/game/app/GameOnSdl.h"
#include "tests/game/screens/GameShopScenePurchaseFixture.h"

// The shop before level 3 as a player sees it, drawn by the OpenGL driver on SDL's offscreen
// windows on Mesa and compared with its golden pictures.
namespace {

class GameShopScenePictureTest : public GameShopScenePurchaseTest {
protected:
    // On SDL, for a player who plays in a window of the game's size.
    void writeContent() override {
        GameShopScenePurchaseTest::writeContent();
        gameOnSdl() = &harness.game;
        harness.game.settings.registerLibraries = &registerGameOnSdl;
        harness.renderSound = false;
        harness.inputHost = &sdlHostWindowSystem();
        ASSERT_TRUE(harness.game.start());
        harness.game.player().setBool("FullScreen", false);
        harness.game.profiles().saveUserProfiles();
    }
    void TearDown() override {
        shop = nullptr;
        harness.stop();
        gameOnSdl() = nullptr;
    }
};

// On arrival the level lies dimmed behind the strip; an offer pointed at shows the pad as a
// super pad, lit, with its hint.
TEST_F(GameShopScenePictureTest, ShopOnArrivalAndWithAnOfferHovered) {
    openShop(3000);
    CRefPointer<CSoftwareImage> picture = drawFrameWithOpenGl(harness.game);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*picture, "screens-shop", 4));

    hover(0);
    picture = drawFrameWithOpenGl(harness.game);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*picture, "screens-shop-hovered", 4));
}

} // namespace
