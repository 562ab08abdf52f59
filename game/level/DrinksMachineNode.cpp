#include "game/level/DrinksMachineNode.h"

#include "engine/scene/NodeEventHook.h"
#include "game/level/GameLevelScene.h"

namespace {

CRefPointer<BaseNode> held(BaseNode* node) {
    return CRefPointer<BaseNode>::share(node);
}

constexpr int32_t kDrinkButtons = 3;

} // namespace

const EventMap& GDrinksMachineNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GDrinksMachineNode::OnButtonPressed>(),
    };
    static const EventMap map = buildEventMap(GObjectNode::getEventMap(), own);
    return map;
}

void GDrinksMachineNode::OnLoaded() {
    GLocationNode::OnLoaded();
    m_buttonsPanel = held(findChild(nameOf("Buttons"), 1));
}

void GDrinksMachineNode::applyTemplate() {
    m_buttonsPanel = nullptr;
    m_selector = nullptr;
    if (getSceneManager() == nullptr)
        return;
    GLocationNode::applyTemplate();
    ControlNode* root = getTemplateRoot();
    if (root == nullptr)
        return;
    m_buttonsPanel = held(root->findChild(nameOf("Buttons"), 1));
    m_selector = held(root->findChild(nameOf("Selector"), 1));
    if (m_selector)
        m_selector->setVisible(false);
}

void GDrinksMachineNode::setLevel(GGameLevelScene* level) {
    GLocationNode::setLevel(level);
    CArray<LocationResource>& resources = editResources();
    if (resources.size() > 1)
        resources.truncate(1);
}

bool GDrinksMachineNode::sendToChildren(int32_t mode, CEvent& event) {
    if (GLocationNode::sendToChildren(mode, event))
        return true;
    const CRefPointer<BaseNode> panel = m_buttonsPanel;
    return panel && panel->deliver(mode, event);
}

bool GDrinksMachineNode::chooseResource(GCharacterNode*, CNameId name) {
    if (name == CNameId())
        return false;
    CArray<LocationResource>& resources = editResources();
    if (resources.size() != 0)
        resources[0].name = name == nameOf("Drink") ? CNameId() : name;
    m_chosenDrink = CNameId();
    return true;
}

void GDrinksMachineNode::endChoice(GCharacterNode*, bool, CNameId) {
    CArray<LocationResource>& resources = editResources();
    if (resources.size() != 0)
        resources[0].name = nameOf("Drink");
}

void GDrinksMachineNode::setState(int32_t state) {
    GLocationNode::setState(state);
    const bool waiting = state == kStateNeedsRecharge;
    if (state != kStateReady && !waiting)
        return;
    if (m_buttonsPanel)
        m_buttonsPanel->setVisible(!waiting);
    if (m_selector)
        m_selector->setVisible(waiting);
}

CNameId GDrinksMachineNode::variantOf(const BaseNode& button) const {
    const ObjectConfigurations* configs = getConfigs();
    const GResourceConfig* drink =
        configs != nullptr ? configs->getResourceConfig(getConfig()->providedResources[0].name)
                           : nullptr;
    if (drink == nullptr || drink->modificationsCount.size() == 0)
        return CNameId();
    int32_t variant = 1;
    for (int32_t i = 2; i <= kDrinkButtons; ++i) {
        if (button.getName() == CNameId(CString("Drink").append(i)))
            variant = i;
    }
    if (drink->modificationsCount[0] < variant)
        variant = drink->modificationsCount[0];
    const CNameId name(CString(drink->name.toString()).append(variant));
    return configs->getResourceConfig(name) != nullptr ? name : CNameId();
}

bool GDrinksMachineNode::OnButtonPressed(CEventControlClicked& event) {
    const CRefPointer<GDrinksMachineNode> self = CRefPointer<GDrinksMachineNode>::share(this);
    GGameLevelScene* level = getLevel();
    if (level != nullptr && level->OnEvent(event))
        return true;
    if (getConfig() == nullptr || getConfig()->providedResources.size() == 0 ||
        getResources().size() == 0)
        return false;
    CNameId chosen = nameOf("Drink");
    BaseNode* node = event.getNode();
    if (node != nullptr && m_buttonsPanel && node->getParent() == m_buttonsPanel.get()) {
        chosen = variantOf(*node);
        if (chosen == CNameId())
            return false;
    }
    m_chosenDrink = chosen;
    if (node == this || level == nullptr)
        return false;
    const CRefPointer<CEventControlClicked> onMachine(new CEventControlClicked(this));
    level->OnButtonPressed(*onMachine);
    return true;
}
