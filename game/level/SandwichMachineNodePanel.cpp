#include "engine/core/PropertyDataScalars.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeState.h"
#include "game/level/GameLevelScene.h"
#include "game/level/SandwichMachineNode.h"

// The sandwich machine's panel: the picks, their looks and markers, "SandwichMake", the cursor.

namespace {

// Where the glass (left picks) and the fruit (right picks) go, from the machine's point.
const CVector2d kGlassPlaces[] = {{-10, -106}, {49, -109}, {103, -106}};
const CVector2d kFruitPlaces[] = {{-7, -44}, {50, -44}, {110, -46}};
constexpr int32_t kPicks = 3;

CNameId buttonName(int32_t pick, char side) {
    CString name("Sandwich");
    name.append(pick);
    const char suffix[] = {side, '\0'};
    return CNameId(name.append(suffix));
}

// 1 to 3 for the side's button of that name, else -1.
int32_t pickOf(CNameId button, char side) {
    for (int32_t i = 1; i <= kPicks; ++i) {
        if (button == buttonName(i, side))
            return i;
    }
    return -1;
}

CNameId currentStateOf(const BaseNode& node) {
    return node.getCurrentState() != nullptr ? node.getCurrentState()->getName() : CNameId();
}

} // namespace

void GSandwichMachineNode::clearChoices() {
    m_leftChoice = -1;
    m_rightChoice = -1;
}

void GSandwichMachineNode::refreshChoices() {
    if (m_leftChoice < 0 && m_rightChoice < 0 && m_cursor)
        m_cursor->setChildrenState(nameOf("0"), nullptr);
    if (m_leftChoice < 0)
        showButtonLooks('L', CNameId());
    if (m_rightChoice < 0)
        showButtonLooks('R', CNameId());
    if (!m_makeButton)
        return;
    if (m_extraPartner && getState() != kStateNeedsRecharge)
        m_makeButton->setVisible(false);
    else
        m_makeButton->setVisible(m_leftChoice >= 0 && m_rightChoice >= 0);
}

void GSandwichMachineNode::showButtonLooks(char side, CNameId pressed) {
    if (!m_buttonsPanel)
        return;
    for (int32_t i = 1; i <= kPicks; ++i) {
        const CNameId name = buttonName(i, side);
        if (BaseNode* button = m_buttonsPanel->findChild(name, 1))
            button->setChildrenState(nameOf(name == pressed ? "Select" : "UnSelect"), nullptr);
    }
}

// The marker's state named like the button moves it from where it is to the pick's place.
void GSandwichMachineNode::moveMarker(BaseNode& marker, CNameId button, int32_t pick,
                                      bool isGlass) {
    if (!m_cursor)
        return;
    const NodeState* state = marker.findState(button);
    KeyFrame* move = state != nullptr ? asKeyFrame(state->findAnimator(nameOf("Move"))) : nullptr;
    if (move != nullptr && move->getKeys().size() != 0 && move->getKeys()[0].values.size() != 0) {
        const CVector2d place = (isGlass ? kGlassPlaces : kFruitPlaces)[pick - 1];
        const CVector3d& from = m_cursor->getPosition();
        move->getKeys()[0].values[0] =
            makeVector3dProperty({place.x - from.x, place.y - from.y, 1.0f});
    }
    marker.setState(button, nullptr, CNameId());
}

void GSandwichMachineNode::pick(int32_t& choice, int32_t picked, BaseNode* marker, CNameId button,
                                bool isGlass) {
    if (picked < 0)
        return;
    if (picked == choice) {
        choice = -1;
        if (marker != nullptr)
            marker->setState(nameOf("0"), nullptr, CNameId());
        return;
    }
    choice = picked;
    if (marker != nullptr)
        moveMarker(*marker, button, picked, isGlass);
}

bool GSandwichMachineNode::OnButtonPressed(CEventControlClicked& event) {
    const CRefPointer<GSandwichMachineNode> self = CRefPointer<GSandwichMachineNode>::share(this);
    BaseNode* button = event.getNode();
    if (isShopMode()) {
        // The shop takes it as a click on the machine.
        if (button == this)
            return false;
        const CRefPointer<CEventControlClicked> onMachine(new CEventControlClicked(this));
        return sendToParent(RouteSelfThenParents, *onMachine);
    }
    if (button == nullptr || !m_buttonsPanel || button->getParent() != m_buttonsPanel.get())
        return getState() == kStateNeedsRecharge;
    const ObjectConfigurations* configs = getConfigs();
    const GLocationConfig* config = getConfig();
    const GResourceConfig* recipe =
        config != nullptr && configs != nullptr && config->providedResources.size() != 0
            ? configs->getResourceConfig(config->providedResources[0].name)
            : nullptr;
    if (recipe == nullptr || recipe->modificationsCount.size() != 2)
        return false;
    if (GGameLevelScene* level = getLevel(); level != nullptr && level->OnEvent(event))
        return true;
    const CNameId name = button->getName();
    if (name == nameOf("SandwichMake")) {
        if (m_leftChoice >= 0 && m_rightChoice >= 0 && getState() == kStateNeedsRecharge)
            make(*recipe);
        return false;
    }
    const int32_t left = pickOf(name, 'L');
    const int32_t right = pickOf(name, 'R');
    if (left >= 0)
        showButtonLooks('L', name);
    if (right >= 0)
        showButtonLooks('R', name);
    pick(m_leftChoice, left, m_glass.get(), name, true);
    pick(m_rightChoice, right, m_fruit.get(), name, false);
    refreshChoices();
    if (GSandwichMachineNode* partner = m_extraPartner.get()) {
        partner->m_leftChoice = m_leftChoice;
        partner->m_rightChoice = m_rightChoice;
        partner->refreshChoices();
    }
    return false;
}

bool GSandwichMachineNode::sendToChildren(int32_t mode, CEvent& event) {
    bool moved = false;
    if (event.isKindOf(CEventInputMouseMove::Id))
        moved = OnMouseMoved(static_cast<const CEventInputMouseMove&>(event));
    if (GLocationNode::sendToChildren(mode, event))
        return true;
    const CRefPointer<BaseNode> panel = m_buttonsPanel;
    if (panel && panel->isVisible() && panel->deliver(mode, event))
        return true;
    return moved;
}

// The cursor shows while the pointer is over its area, never in the shop.
bool GSandwichMachineNode::OnMouseMoved(const CEventInputMouseMove& event) {
    if (!m_cursor || !m_cursorArea)
        return false;
    const CVector3d point(float(event.getX()), float(event.getY()), 100.0f);
    if (m_cursorArea->isPointInside(point)) {
        if (!m_cursor->isVisible() && !isShopMode())
            m_cursor->setState(nameOf("OnAppear"), nullptr, CNameId());
    } else if (m_cursor->isVisible() && currentStateOf(*m_cursor) != nameOf("OnDisappear")) {
        m_cursor->setState(nameOf("OnDisappear"), nullptr, CNameId());
    }
    return false;
}
