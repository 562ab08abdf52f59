#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeClass.h"
#include "game/level/DeviceNode.h"

// A machine whose drink the player chooses with its buttons "Drink1" to "Drink3" (children of
// "Buttons") before the hero fetches it: the button picks the variant "<drink><n>", at most the
// drink's first ModificationsCount. Only a chosen variant can be taken; a plain click on the
// machine leaves nothing to take. The buttons show while it is ready, its "Selector" while it
// waits for a recharge.
class GDrinksMachineNode : public NodeClass<GDrinksMachineNode, GDeviceNode> {
public:
    static constexpr uint32_t kTypeId = 1153;
    static constexpr const char16_t* kTypeName = u"GDrinksMachineNode";

    using NodeClass::NodeClass;

    static const EventMap& getEventMap();

    void OnLoaded() override;
    void applyTemplate() override;
    // Offers its drink alone: the configuration lists the drink's variants too, and anything
    // offered besides the first entry could be taken without a choice.
    void setLevel(GGameLevelScene* level) override;
    // The buttons belong to the template's copy, which input does not walk into.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    CNameId getChosenResource() const override { return m_chosenDrink; }
    bool chooseResource(GCharacterNode* user, CNameId name) override;
    // The offer reads "Drink" again, whatever was chosen.
    void endChoice(GCharacterNode* user, bool succeeded, CNameId name) override;
    void setState(int32_t state) override;
    using GLocationNode::setState;

    // A drink button chooses its variant and then counts as a click on the machine.
    bool OnButtonPressed(CEventControlClicked& event);

    BaseNode* getButtonsPanel() const { return m_buttonsPanel.get(); }
    BaseNode* getMachineSelector() const { return m_selector.get(); }

protected:
    ~GDrinksMachineNode() override = default;

private:
    // The variant the button names; the empty name when the drink has none such.
    CNameId variantOf(const BaseNode& button) const;

    CRefPointer<BaseNode> m_buttonsPanel;
    CRefPointer<BaseNode> m_selector;
    CNameId m_chosenDrink;
};
