#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/platform/InputEvents.h"
#include "game/app/BaseSceneNode.h"
#include "game/screens/ShopOffer.h"

class CEngine;
class CProfileParameters;
class ControlNode;
class GGameLevelScene;
class GLevelConfig;
class GLocationNode;
class GObjectNode;
class GShopListNode;
class GStaffNode;
class GTutorialController;
class TextNode;
class UpgradeCatalog;

// The shop before a level, "scenes/GameShopScene.qscn". The level the loading screen opened
// hangs dimmed under its "Scene", its clients held back, while a strip of offers ("ItemsList")
// sells upgrades of its locations, staff and environment for the money the act's earlier levels
// earned. "ContinueButton" stores what was bought and plays the level; "MenuButton" goes back
// past the loading screen. A tutorial may run on top.
class GGameShopScene : public NodeClass<GGameShopScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1112;
    static constexpr const char16_t* kTypeName = u"GGameShopScene";

    GGameShopScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    // The level opened by the loading screen and its setting's catalogue; the shop's tutorial
    // is read when the player wants tutorials. False, keeping nothing, without a "Scene".
    bool setLevel(GGameLevelScene* level, UpgradeCatalog* catalog);

    // Arriving: the music, and forward the level attached and dimmed, the money and the offers.
    // Leaving: the level stands still.
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    // Arrived forward: the tutorial starts.
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    bool OnUpdate(uint32_t elapsedMs) override;
    bool OnKeyUp(CEventInputKeyUp& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;

    GGameLevelScene* getLevel() const { return m_level.get(); }
    UpgradeCatalog* getCatalog() const { return m_catalog.get(); }
    GShopListNode* getItemsList() const { return m_itemsList; }
    GTutorialController* getTutorial() const { return m_tutorial.get(); }
    int32_t getMoney() const { return m_money; }
    // The offers of the strip, in its order.
    const CArray<CRefPointer<GShopOffer>>& getOffers() const { return m_previousOffers; }
    int32_t getPreviewedOffer() const { return m_previewedOffer; }
    int32_t getOfferBeingBought() const { return m_offerBeingBought; }

protected:
    ~GGameShopScene() override;

private:
    GLevelConfig* levelConfig() const;
    int32_t levelIndex() const;
    int32_t settingIndex() const;
    CEngine* engine() const;
    CProfileParameters* player() const;
    void startShopTutorial();
    void endTutorial();
    // The level drawn under "Scene" and prepared for the shop, then the money and the offers.
    void attachLevel();
    // "Level" + N + "Locations", "...Staff" and "...Env" in the player's profile.
    void storePurchases() const;
    bool continueToLevel();

    // Money and offers (GameShopSceneOffers.cpp).
    void computeMoney();
    void updateMoneyText();
    void updateBoughtText();
    // With objects: the level dimmed and its objects in shop mode; always: the offers rebuilt.
    void refreshShopState(bool withObjects);
    void rebuildOffers();
    CRefPointer<GShopOffer> makeOffer(CNameId slot, GObjectNode* object) const;
    void updateObjectShopMode(GObjectNode& object);
    void queueFreeLocations();
    // The slot's current upgrade has a type: its object is there.
    bool ownsTypedUpgrade(CNameId slot) const;
    CStringW iconPath(const GShopOffer& offer) const;
    // The strip's item for the offer: its look, price, icon and whether it can be paid; only
    // the last when the item shows that offer already.
    void fillItem(int32_t index, GShopOffer& offer);
    void followCursor();
    bool isRecommended(const GShopOffer& offer) const;
    bool goesBefore(const GShopOffer& left, const GShopOffer& right) const;
    // The offers of the level's objects and the environment, sorted, into m_builtOffers.
    void collectOffers();
    // The positions of the built offers that the previous build did not show; the built offers
    // become the previous ones.
    void findNewOffers();

    // Previews and purchases (GameShopScenePurchase.cpp).
    void hoverOffer(int32_t index);
    void showOfferPreview();
    void hideOfferPreview();
    void showHint(GObjectNode& object, const CStringW& title, const CStringW& text);
    void hideHint();
    void buyOffer(int32_t index);
    bool buyLocationUpgrade(GLocationNode& location);
    bool buyStaffUpgrade(GStaffNode& member);
    bool buyEnvironmentUpgrade(const GShopOffer& offer);
    void playPurchaseMoneyEffect(GObjectNode& object, int32_t price);
    void slideElements();

    // Bound nodes, owned by the tree.
    BaseNode* m_sceneRoot = nullptr;
    TextNode* m_moneyText = nullptr;
    TextNode* m_levelText = nullptr;
    ControlNode* m_continueButton = nullptr;
    BaseNode* m_skipTutorialButton = nullptr;
    GShopListNode* m_itemsList = nullptr;
    BaseNode* m_hintNode = nullptr;
    BaseNode* m_boughtText = nullptr;
    // The level's "Bg" > "Sandwich2", found at each refresh with objects.
    BaseNode* m_sandwich2 = nullptr;

    CArray<CRefPointer<GShopOffer>> m_previousOffers;
    // Working lists of a rebuild, kept to reuse their buffers.
    CArray<CRefPointer<GShopOffer>> m_builtOffers;
    CArray<const GShopOffer*> m_unmatchedOffers;
    CArray<uint32_t> m_newOffers;
    int32_t m_previewedOffer = 0;
    int32_t m_offerBeingBought = -1;
    CRefPointer<GGameLevelScene> m_level;
    CRefPointer<UpgradeCatalog> m_catalog;
    int32_t m_money = 0;
    CRefPointer<GTutorialController> m_tutorial;
    float m_savedLevelVolume = 0;
};
