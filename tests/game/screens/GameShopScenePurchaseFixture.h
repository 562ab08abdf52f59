#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/io/ContentManager.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
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
inline const char kShopLevels[] =
    "<LevelsConfiguration>"
    "<Level><SettingIndex Value=\"1\"/><LevelTime Value=\"60\"/><TargetMoney Value=\"4\"/></Level>"
    "<Level><SettingIndex Value=\"1\"/><LevelTime Value=\"60\"/><TargetMoney Value=\"4\"/></Level>"
    "<Level><SettingIndex Value=\"1\"/><LevelTime Value=\"60\"/><TargetMoney Value=\"4\"/></Level>"
    "</LevelsConfiguration>";

inline const char kShopUpgrades[] =
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

inline constexpr uint32_t kDimmed = 0xFF888888u;
inline constexpr uint32_t kLit = 0xFFFFFFFFu;

inline CNameId shopName(const char* text) {
    return CNameId(CString(text));
}

class GameShopScenePurchaseTest : public GamePlaySceneTest {
protected:
    void writeContent() override {
        harness.write("levels/common/LevelConfigsEasy.xml", kShopLevels);
        harness.write("levels/setting1/UpgradesEasy.xml", kShopUpgrades);
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
    BaseNode* piece(const char* name) const { return background()->findChild(shopName(name), 1); }
    GLocationNode* location(const char* name) const {
        for (const CRefPointer<GLocationNode>& found : level->getLocations()) {
            if (found->getName() == shopName(name))
                return found.get();
        }
        return nullptr;
    }
    // The slot's current upgrade type; empty for none.
    std::string current(const char* slot) const {
        const GUpgradeItem* now = nullptr;
        const GUpgradeItem* next = nullptr;
        harness.catalog()->getCurrentAndNext(shopName(slot), now, next);
        return now != nullptr && now->type != CNameId() ? now->type.toString().c_str() : "";
    }
    bool deliver(CEvent& event) { return shop->OnEvent(event); }
    // The pointer over the element, then off the strip over the menu: through the window
    // layer the game runs on, else the harness's, whose cursor goes along, as the shop asks it
    // where the pointer is after a purchase.
    void pointTo(const CVector3d& at) {
        if (harness.inputHost != nullptr) {
            HostMessage moved;
            moved.window = harness.game.window();
            moved.message = WM_MOUSEMOVE;
            moved.x = int32_t(at.x);
            moved.y = int32_t(at.y);
            harness.inputHost->postMessage(moved);
            harness.game.engine().runOnce();
        } else {
            HostRect window;
            harness.game.host.getWindowRect(harness.game.window(), window);
            harness.game.host.cursorPosition = {window.left + int32_t(at.x),
                                                window.top + int32_t(at.y)};
            screen_input::moveTo(harness.game, at);
        }
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
