#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/PropertyDataScalars.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/LocationNode.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/ShopListNode.h"
#include "tests/game/app/ScreenInput.h"
#include "tests/game/screens/GamePlaySceneFixture.h"

// The game's shop before setting 1's level 3, with a level list and upgrades of the tests' own:
// "DancePad1" may become a super pad for 1500 (its last upgrade), the environment's "Up1"
// offers plants for 200 and then lights, "Up4" posters for more than anyone has, and "Up3" has
// its mirror for free, with nothing left to sell. The strip shows the pad, the posters and the
// plants, in that order.
namespace {

const char kLevels[] =
    "<LevelsConfiguration>"
    "<Level><SettingIndex Value=\"1\"/><LevelTime Value=\"60\"/><TargetMoney Value=\"4\"/></Level>"
    "<Level><SettingIndex Value=\"1\"/><LevelTime Value=\"60\"/><TargetMoney Value=\"4\"/></Level>"
    "<Level><SettingIndex Value=\"1\"/><LevelTime Value=\"60\"/><TargetMoney Value=\"4\"/></Level>"
    "</LevelsConfiguration>";

const char kUpgrades[] =
    "<Upgrades>"
    "<Level Index=\"1\"><Locations>"
    "<U Name=\"DancePad1\" Type=\"DancePad1\" Price=\"0\"/>"
    "<U Name=\"DancePad2\" Type=\"DancePad1\" Price=\"0\"/>"
    "</Locations><Staff><U Name=\"Hero\" Type=\"Hero1\" Price=\"0\"/></Staff><Env>"
    "<U Name=\"Up1\" Price=\"0\"/><U Name=\"Up3\" Price=\"0\"/>"
    "<U Name=\"Up3\" Type=\"Mirror1\" Price=\"0\"/><U Name=\"Up4\" Price=\"0\"/>"
    "</Env></Level>"
    "<Level Index=\"3\"><Locations>"
    "<U Name=\"DancePad1\" Type=\"SuperPad1\" Price=\"1500\"/>"
    "</Locations><Staff></Staff><Env>"
    "<U Name=\"Up1\" Type=\"Plants1\" Price=\"200\"/><U Name=\"Up1\" Type=\"Lights1\" "
    "Price=\"300\"/>"
    "<U Name=\"Up4\" Type=\"Posters1\" Price=\"99999\"/>"
    "</Env></Level></Upgrades>";

constexpr uint32_t kDimmed = 0xFF888888u;
constexpr uint32_t kLit = 0xFFFFFFFFu;

CNameId named(const char* text) {
    return CNameId(CString(text));
}

class GameShopScenePurchaseTest : public GamePlaySceneTest {
protected:
    void writeContent() override {
        harness.write("levels/common/LevelConfigsEasy.xml", kLevels);
        harness.write("levels/setting1/UpgradesEasy.xml", kUpgrades);
        harness.armClientQueue = false;
    }

    // Level 3's shop, after levels 1 and 2 earned that much between them.
    GGameShopScene& openShop(int32_t earned) {
        harness.game.player().setString("Level1Stats", CString().append(earned).append(";0;0"));
        harness.game.player().setString("Level2Stats", "0;0;0");
        // No tutorial takes the clicks first.
        harness.game.player().setBool("ShowTutorialOn", false);
        load(3);
        const CRefPointer<CContent> loaded =
            harness.content().load(contentType("snod"), u"scenes/GameShopScene.qscn", true);
        auto* node = static_cast<BaseNode*>(loaded.get());
        EXPECT_TRUE(node != nullptr && node->isKindOf(GGameShopScene::kTypeId));
        shop = CRefPointer<GGameShopScene>::share(static_cast<GGameShopScene*>(node));
        EXPECT_TRUE(shop->setLevel(level, harness.catalog()));
        manager().getCurrentScene()->openScene(shop.get(), false, CNameId(), CNameId());
        harness.advance(2);
        leave();
        return *shop;
    }

    std::string text(const std::string& path) const {
        const BaseNode* node = nodeAtPath(shop.get(), path);
        return node != nullptr && node->isKindOf(TextNode::kTypeId) ? shown(*node) : "";
    }
    GShopListNode& strip() const { return *shop->getItemsList(); }
    BaseNode* element(int32_t k) const { return strip().getElement(k); }
    BaseNode* background() const { return level->getBackground(); }
    BaseNode* piece(const char* name) const { return background()->findChild(named(name), 1); }
    GLocationNode* location(const char* name) const {
        for (const CRefPointer<GLocationNode>& found : level->getLocations()) {
            if (found->getName() == named(name))
                return found.get();
        }
        return nullptr;
    }
    // The slot's current upgrade type; empty for none.
    std::string current(const char* slot) const {
        const GUpgradeItem* now = nullptr;
        const GUpgradeItem* next = nullptr;
        harness.catalog()->getCurrentAndNext(named(slot), now, next);
        return now != nullptr && now->type != CNameId() ? now->type.toString().c_str() : "";
    }
    bool deliver(CEvent& event) { return shop->OnEvent(event); }
    // The pointer over the element, then off the strip over the menu. The window system's
    // cursor goes along, as the shop asks it where the pointer is after a purchase.
    void pointTo(const CVector3d& at) {
        HostRect window;
        harness.game.host.getWindowRect(harness.game.window(), window);
        harness.game.host.cursorPosition = {window.left + int32_t(at.x),
                                            window.top + int32_t(at.y)};
        screen_input::moveTo(harness.game, at);
        harness.advance(1);
    }
    void hover(int32_t k) { pointTo(screen_input::centreOf(*element(k))); }
    void leave() { pointTo(CVector3d(500, 60, 0)); }
    // Clicked as a player clicks: hovered first, the click reported once the press has played.
    void click(int32_t k) {
        hover(k);
        screen_input::clickNode(harness.game, *element(k));
        harness.advance(10);
    }
    // Each element stands still, so that only what comes next shows.
    void stopElements() {
        for (uint32_t k = 0; k < strip().getElementCount(); ++k)
            element(int32_t(k))->stopCurrentState(false);
    }
    size_t played(const char* cue) { return harness.trace().cueTicks(cue).size(); }

    CRefPointer<GGameShopScene> shop;
};

} // namespace

TEST_F(GameShopScenePurchaseTest, HoveringAnObjectsOfferShowsItsNextLookAndHintUntilLeft) {
    openShop(3000);
    ASSERT_EQ(strip().getItemCount(), 3);
    GLocationNode& pad = *location("DancePad1");
    EXPECT_EQ(pad.getTintColor().value, kDimmed);

    hover(0);
    EXPECT_EQ(shop->getPreviewedOffer(), 0);
    EXPECT_EQ(pad.getTemplateName(), named("SuperPad1"));
    EXPECT_EQ(pad.getTintColor().value, kLit);
    BaseNode* hint = shop->findChild(named("Scene"), 1)->findChild(named("HintNode"), 1);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->getPosition().z, 3000);
    EXPECT_EQ(text("Scene/HintNode/Title"), "Super Pad");
    EXPECT_EQ(text("Scene/HintNode/Text"),
              "A big stage where several clients dance together and follow the arrows for extra "
              "hearts.");

    leave();
    EXPECT_EQ(shop->getPreviewedOffer(), -1);
    EXPECT_EQ(pad.getTemplateName(), named("DancePad1"));
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
    EXPECT_EQ(location("DancePad1")->getTemplateName(), named("SuperPad1"));
    EXPECT_EQ(stateOf(location("DancePad1")), "HideBought");
    ASSERT_EQ(strip().getItemCount(), 2);
    for (int32_t k : {0, 1})
        EXPECT_EQ(stateOf(element(k)), "SlideL") << k;
    EXPECT_FALSE(element(2)->isVisible());
    // Each element slides from the template's offset into its own place.
    const auto* own =
        static_cast<const KeyFrame*>(element(1)->findState(named("SlideL"))->getAnimator(0));
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
        button->setName(named(c.button));
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
