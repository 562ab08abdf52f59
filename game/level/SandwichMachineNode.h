#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeClass.h"
#include "game/level/DeviceNode.h"

// A machine on which the player composes the product before it is made: one of three left and
// one of three right ingredients on its panel ("Sandwich1L" .. "Sandwich3R"), a cursor whose
// glass and fruit move to the picks, and "SandwichMake", which starts the production as a
// recharge. The product is the resource "<name><left><right>", each pick at most the
// resource's ModificationsCount for its side; the machine works only when that list has two
// entries.
//
// A level may hold several; each links itself to the first other one as that one's main
// partner (when it has a "Bg") or extra partner. Picks made on a machine are copied to its
// extra partner, and a production clears the picks of both partners.
class GSandwichMachineNode : public NodeClass<GSandwichMachineNode, GDeviceNode> {
public:
    static constexpr uint32_t kTypeId = 1155;
    static constexpr const char16_t* kTypeName = u"GSandwichMachineNode";

    using NodeClass::NodeClass;

    static const EventMap& getEventMap();

    void applyTemplate() override;
    // Starts waiting for a recipe, with no picks.
    void setLevel(GGameLevelScene* level) override;
    void setShopMode(bool on, int32_t shopGroup, const GUpgradeItem* current,
                     const GUpgradeItem* next) override;
    void show(CNameId templateName) override;
    void hide(CNameId templateName) override;
    // Refused without both picks, so the machine never starts a production by itself.
    bool startRecharge(GCharacterNode* recharger) override;
    void setState(int32_t state) override;
    using GLocationNode::setState;
    // The cursor follows the pointer; the panel belongs to the template's copy, which input
    // does not walk into.
    bool sendToChildren(int32_t mode, CEvent& event) override;

    bool OnButtonPressed(CEventControlClicked& event);

    int32_t getLeftChoice() const { return m_leftChoice; }
    int32_t getRightChoice() const { return m_rightChoice; }
    GSandwichMachineNode* getMainPartner() const { return m_mainPartner.get(); }
    GSandwichMachineNode* getExtraPartner() const { return m_extraPartner.get(); }
    BaseNode* getButtonsPanel() const { return m_buttonsPanel.get(); }
    BaseNode* getMakeButton() const { return m_makeButton.get(); }
    BaseNode* getProductIcon() const { return m_productIcon.get(); }
    BaseNode* getCursor() const { return m_cursor.get(); }

protected:
    ~GSandwichMachineNode() override = default;

private:
    void bindParts(ControlNode& root);
    void hidePartsFor(CNameId templateName);
    void linkToPartner();
    void clearChoices();
    void refreshChoices();
    // "Select" on the side's button of that name, "UnSelect" on the others.
    void showButtonLooks(char side, CNameId pressed);
    void moveMarker(BaseNode& marker, CNameId button, int32_t pick, bool isGlass);
    // A pick of the side toggles; the marker shows it.
    void pick(int32_t& choice, int32_t picked, BaseNode* marker, CNameId button, bool isGlass);
    bool make(const GResourceConfig& recipe);
    void showProductIcon();
    bool OnMouseMoved(const CEventInputMouseMove& event);

    int32_t m_leftChoice = -1;
    int32_t m_rightChoice = -1;
    CRefPointer<BaseNode> m_background;
    CRefPointer<BaseNode> m_body;
    CRefPointer<BaseNode> m_buttonsPanel;
    CRefPointer<BaseNode> m_makeButton;
    CRefPointer<BaseNode> m_productIcon;
    CRefPointer<BaseNode> m_machineSelector;
    GObjectRef<GSandwichMachineNode> m_mainPartner;
    GObjectRef<GSandwichMachineNode> m_extraPartner;
    CRefPointer<BaseNode> m_cursorArea;
    CRefPointer<BaseNode> m_cursor;
    CRefPointer<BaseNode> m_fruit;
    CRefPointer<BaseNode> m_glass;
};
