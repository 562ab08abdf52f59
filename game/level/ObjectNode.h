#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/TextNode.h"
#include "game/app/GameEvents.h"
#include "game/app/ObjectConfigurations.h"
#include "game/level/ObjectLink.h"

class CXmlTextReader;
class CXmlTextWriter;
class GGameLevelScene;
struct GUpgradeItem;

// The base of everything a player meets on the play field of a level: the walking characters
// and the locations they use. Each is a control, so it can be hovered and clicked. It plays in
// one level, whose object configuration it shares; it has a colour; it shows a play display or,
// while the shop shows the level, a shop display; it appears and disappears with a change of
// template; and a scheduler ticks it (here the tick does nothing).
//
// Its decoration comes from children named "Pointers", "Selector", "Shop_UpPrice" (a text
// node), "UpLevelIcons" and "Glow": the object's own children, else its template's. Only its
// subclasses are made, so it is never registered and cannot be cloned.
//
// Others keep an object through its link (getLink), which reads none once the object is gone.
class GObjectNode : public NodeClass<GObjectNode, ControlNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 1146;
    static constexpr const char16_t* kTypeName = u"GObjectNode";
    static constexpr uint32_t kTickMs = 30;

    GObjectNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const EventMap& getEventMap();

    CRefPointer<BaseNode> clone(BaseNode*, SceneManager*) const override { return nullptr; }
    // Binds "Pointers"; the rest of the decoration is bound when the template is applied.
    void OnLoaded() override;
    void applyTemplate() override;
    // The end of "ShopDisappear" applies the pending template and shows or hides the glow as
    // the last show or hide asked.
    bool OnStateFinished(CEventNodeStateFinished& event) override;
    bool OnUpdate(uint32_t) override { return true; }

    // The game objects' own operations, which characters and locations continue.

    // Binds the level and shares its object configuration; a null level changes nothing.
    virtual void setLevel(GGameLevelScene* level);
    // The shop turns its display on with its group and the object's current and next upgrades
    // (none when there is nothing to offer); the level turns it off with nulls.
    virtual void setShopMode(bool on, int32_t shopGroup, const GUpgradeItem* current,
                             const GUpgradeItem* next);
    // Applies the template (the empty name: none) and plays "Show" or "Hide", then
    // "ShopAppear" where the object has it. The shop shows a bought upgrade this way.
    virtual void show(CNameId templateName);
    virtual void hide(CNameId templateName);
    // 0 "Neutral", 1 to 5 the client colours.
    virtual void setColor(int32_t color) { m_color = color; }
    // How the saved level writes and reads the object; nothing here.
    virtual void saveState(CXmlTextWriter&) {}
    virtual void loadState(CXmlTextReader&) {}
    virtual bool OnClientSpeedUp(GClientSpeedUpEvent&) { return false; }

    const CRefPointer<GObjectLink>& getLink() const { return m_link; }
    // None until setLevel.
    GGameLevelScene* getLevel() const { return m_level; }
    ObjectConfigurations* getConfigs() const { return m_configs.get(); }
    int32_t getColor() const { return m_color; }
    bool isShopMode() const { return m_shopMode; }
    // The last of show and hide was show.
    bool isShown() const { return m_shown; }
    BaseNode* getPointers() const { return m_pointers.get(); }
    BaseNode* getSelector() const { return m_selector.get(); }
    TextNode* getPriceText() const { return m_priceText.get(); }
    BaseNode* getUpLevelIcons() const { return m_upLevelIcons.get(); }
    BaseNode* getGlow() const { return m_glow.get(); }

protected:
    ~GObjectNode() override;

    // The template that the end of "ShopDisappear" applies.
    void setPendingTemplate(CNameId name) { m_pendingTemplate = name; }
    void setShown(bool shown) { m_shown = shown; }

private:
    void bindDecoration();
    void appear(bool shown, CNameId templateName, const char* state);
    // The glow's children play the state and the glow is shown or hidden with it.
    void playGlow(const char* state, bool visible);
    void enterShopDisplay(const GUpgradeItem* next);
    void enterPlayDisplay();
    void removeShopChildren();

    CRefPointer<GObjectLink> m_link;
    GGameLevelScene* m_level = nullptr;
    CRefPointer<ObjectConfigurations> m_configs;
    int32_t m_color = 0;
    // Held, so that a child that leaves the tree (the shop's price is removed when the shop
    // closes) cannot leave them dangling.
    CRefPointer<BaseNode> m_pointers;
    CRefPointer<BaseNode> m_selector;
    CRefPointer<TextNode> m_priceText;
    CRefPointer<BaseNode> m_upLevelIcons;
    CRefPointer<BaseNode> m_glow;
    bool m_shopMode = false;
    CNameId m_pendingTemplate;
    bool m_shown = false;
};
