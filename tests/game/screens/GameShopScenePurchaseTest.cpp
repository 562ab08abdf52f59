#include <gtest/gtest.h>

#include <string>

#include "engine/core/PropertyDataScalars.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/KeyFrame.h"
#include "tests/game/screens/GameShopScenePurchaseFixture.h"

TEST_F(GameShopScenePurchaseTest, HoveringAnObjectsOfferShowsItsNextLookAndHintUntilLeft) {
    openShop(3000);
    ASSERT_EQ(strip().getItemCount(), 3);
    GLocationNode& pad = *location("DancePad1");
    EXPECT_EQ(pad.getTintColor().value, kDimmed);

    hover(0);
    EXPECT_EQ(shop->getPreviewedOffer(), 0);
    EXPECT_EQ(pad.getTemplateName(), shopName("SuperPad1"));
    EXPECT_EQ(pad.getTintColor().value, kLit);
    BaseNode* hint = shop->findChild(shopName("Scene"), 1)->findChild(shopName("HintNode"), 1);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->getPosition().z, 3000);
    EXPECT_EQ(text("Scene/HintNode/Title"), "Super Pad");
    EXPECT_EQ(text("Scene/HintNode/Text"),
              "A big stage where several clients dance together and follow the arrows for extra "
              "hearts.");

    leave();
    EXPECT_EQ(shop->getPreviewedOffer(), -1);
    EXPECT_EQ(pad.getTemplateName(), shopName("DancePad1"));
    EXPECT_EQ(pad.getTintColor().value, kDimmed);
    EXPECT_EQ(stateOf(hint), "OnDisappear");
    harness.advance(50);
    EXPECT_FALSE(hint->isVisible());
}

TEST_F(GameShopScenePurchaseTest, TheLastUpgradeOfALocationShortensTheStripThatSlidesInPlace) {
    openShop(3000);
    ASSERT_EQ(strip().getItemCount(), 3);
    const CVector3d secondPlace = element(1)->getPosition();
    stopElements();
    click(0);

    EXPECT_EQ(current("DancePad1"), "SuperPad1");
    EXPECT_EQ(location("DancePad1")->getTemplateName(), shopName("SuperPad1"));
    EXPECT_EQ(stateOf(location("DancePad1")), "HideBought");
    ASSERT_EQ(strip().getItemCount(), 2);
    for (int32_t k : {0, 1})
        EXPECT_EQ(stateOf(element(k)), "SlideL") << k;
    EXPECT_FALSE(element(2)->isVisible());
    // Each element slides from the template's offset into its own place.
    const auto* own =
        static_cast<const KeyFrame*>(element(1)->findState(shopName("SlideL"))->getAnimator(0));
    const auto* from = static_cast<const CPropertyDataVector3d*>(own->getKeys()[0].values[0].get());
    EXPECT_FLOAT_EQ(from->getValue().x, secondPlace.x + 120);
    EXPECT_EQ(shop->getOfferBeingBought(), -1);
    // The posters moved into the bought place and are previewed there.
    EXPECT_EQ(shop->getPreviewedOffer(), 0);
    EXPECT_EQ(stateOf(piece("Posters")), "Posters1Show");
    EXPECT_EQ(piece("Posters")->getTintColor().value, kLit);
    EXPECT_EQ(played("ShopBought"), 1u);
}

TEST_F(GameShopScenePurchaseTest, APurchaseThatKeepsTheCountGrowsTheOfferReplacingIt) {
    openShop(3000);
    stopElements();
    click(2);

    EXPECT_EQ(current("Up1"), "Plants1");
    EXPECT_EQ(stateOf(piece("Plants")), "Plants1HideBought");
    EXPECT_TRUE(piece("Plants")->isVisible());
    EXPECT_EQ(strip().getItemCount(), 3);
    EXPECT_EQ(shop->getMoney(), 2800);
    for (int32_t k = 0; k < 3; ++k)
        EXPECT_EQ(stateOf(element(k)), k == 2 ? "Grow" : "") << k;
    // The lights, next in the slot, are previewed where the plants were.
    EXPECT_EQ(shop->getPreviewedOffer(), 2);
    EXPECT_EQ(stateOf(piece("Lights")), "Lights1Show");
}

TEST_F(GameShopScenePurchaseTest, MoneyEffectShowsThePriceUngroupedUnderTheGroupedDisplay) {
    openShop(3000);
    click(0);

    EXPECT_EQ(text("Scene/Menu/Money/MoneyText"), "$1,500");
    BaseNode* effects = level->getEffectsHolder();
    ASSERT_EQ(effects->getChildCount(), 1u);
    const BaseNode* effect = effects->getChild(0);
    EXPECT_EQ(effect->getPosition().y, location("DancePad1")->getPosition().y - 50);
    const BaseNode* money = nodeAtPath(effects->getChild(0), "Holder/Money");
    ASSERT_TRUE(money != nullptr);
    EXPECT_EQ(shown(*money), "$-1500");
    // It rises and goes by itself.
    harness.advance(100);
    EXPECT_EQ(effects->getChildCount(), 0u);
}

// An offer too dear for the money cannot be clicked: the click lands on the strip, which says
// that it cannot be bought.
TEST_F(GameShopScenePurchaseTest, AClickOnAnOfferTooDearReachesTheStripThatSaysSo) {
    openShop(3000);
    ASSERT_TRUE(element(1)->isVisible());
    click(1);
    EXPECT_EQ(played("ShopCantBought"), 1u);
    EXPECT_EQ(played("ShopBought"), 0u);
    EXPECT_EQ(current("Up4"), "");
    EXPECT_EQ(shop->getMoney(), 3000);
}

TEST_F(GameShopScenePurchaseTest, ALocationPressedInTheLevelIsBoughtOnlyWithTheMoney) {
    const struct {
        int32_t earned;
        const char* type;
        int32_t money;
    } cases[] = {{1499, "DancePad1", 1499}, {1500, "SuperPad1", 0}};
    for (const auto& c : cases) {
        openShop(c.earned);
        CEventControlClicked click(location("DancePad1"));
        EXPECT_FALSE(deliver(click));
        harness.advance(1);
        const bool bought = c.money == 0;
        EXPECT_EQ(current("DancePad1"), c.type) << c.earned;
        EXPECT_EQ(shop->getMoney(), c.money) << c.earned;
        EXPECT_EQ(played("ShopBought"), bought ? 1u : 0u) << c.earned;
        EXPECT_EQ(level->getEffectsHolder()->getChildCount(), bought ? 1u : 0u) << c.earned;
    }
}

TEST_F(GameShopScenePurchaseTest, LeavingAnEnvironmentButtonTurnsBackOnlyWhatIsStillForSale) {
    openShop(3000);
    const struct {
        const char* button;
        const char* piece;
        const char* state;
    } cases[] = {{"Up1", "Plants", "Up1Back"}, {"Up3", "Mirror", "Mirror1"}};
    for (const auto& c : cases) {
        const CRefPointer<BaseNode> button(new BaseNode(CContentKey(), nullptr, nullptr));
        button->setName(shopName(c.button));
        CEventControlUnhovered left(button.get());
        EXPECT_TRUE(deliver(left)) << c.button;
        EXPECT_EQ(stateOf(piece(c.piece)), c.state) << c.button;
    }
}

// Presses that do not come from an enabled element (the engine's list, a tutorial) are checked
// as well.
TEST_F(GameShopScenePurchaseTest, AnEnvironmentOfferTooDearIsRefused) {
    openShop(3000);
    GShopListItemPressedEvent pressed(1);
    EXPECT_TRUE(deliver(pressed));
    harness.advance(1);
    EXPECT_EQ(current("Up4"), "");
    EXPECT_EQ(shop->getMoney(), 3000);
    EXPECT_FALSE(piece("Posters")->isVisible());
    EXPECT_EQ(played("ShopBought"), 0u);
    EXPECT_EQ(strip().getItemCount(), 3);
}
