#include "game/level/SandwichMachineNode.h"

#include <algorithm>

#include "engine/io/ContentManager.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/SpriteNode.h"
#include "game/level/GameLevelScene.h"

// Binding, set-up, the shop's looks and the production; the panel is in
// SandwichMachineNodePanel.cpp.

namespace {

CRefPointer<BaseNode> held(BaseNode* node) {
    return CRefPointer<BaseNode>::share(node);
}

void showPart(const CRefPointer<BaseNode>& node, bool visible) {
    if (node)
        node->setVisible(visible);
}

bool isMachine(CNameId templateName, const char* model) {
    return templateName == nameOf(model);
}

} // namespace

const EventMap& GSandwichMachineNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GSandwichMachineNode::OnButtonPressed>(),
    };
    static const EventMap map = buildEventMap(GObjectNode::getEventMap(), own);
    return map;
}

void GSandwichMachineNode::applyTemplate() {
    for (CRefPointer<BaseNode>* part :
         {&m_background, &m_body, &m_buttonsPanel, &m_makeButton, &m_productIcon,
          &m_machineSelector, &m_cursorArea, &m_cursor, &m_fruit, &m_glass})
        *part = nullptr;
    if (getSceneManager() == nullptr)
        return;
    GLocationNode::applyTemplate();
    if (ControlNode* root = getTemplateRoot())
        bindParts(*root);
}

void GSandwichMachineNode::bindParts(ControlNode& root) {
    const auto find = [&root](const char* name) { return held(root.findChild(nameOf(name), 1)); };
    m_background = find("Bg");
    m_body = find("Body");
    hidePartsFor(getTemplateName());
    m_productIcon = find("Icon");
    if (m_productIcon && !m_productIcon->isKindOf(SpriteNode::kTypeId))
        m_productIcon = nullptr;
    showPart(m_productIcon, false);
    m_buttonsPanel = find("Buttons");
    if (m_buttonsPanel) {
        m_makeButton = held(m_buttonsPanel->findChild(nameOf("SandwichMake"), 1));
        if (m_makeButton && !m_makeButton->isKindOf(ControlNode::kTypeId))
            m_makeButton = nullptr;
    }
    m_machineSelector = find("Selector");
    showPart(m_machineSelector, false);
    m_cursorArea = find("CursorArea");
    m_cursor = find("Cursor");
    if (m_cursor) {
        m_fruit = held(m_cursor->findChild(nameOf("Fruit"), 1));
        m_glass = held(m_cursor->findChild(nameOf("Glass"), 1));
    }
}

// The added parts of the bigger models stand without a background, and but for the first model
// (and the second while it is being shown) without a body.
void GSandwichMachineNode::hidePartsFor(CNameId name) {
    if (!((isShopMode() && isMachine(name, "SandwichMachine1")) ||
          isMachine(name, "SandwichMachine2") || isMachine(name, "SandwichMachine3")))
        return;
    showPart(m_background, false);
    if (!((isShown() && isMachine(name, "SandwichMachine2")) ||
          isMachine(name, "SandwichMachine1")))
        showPart(m_body, false);
}

void GSandwichMachineNode::setLevel(GGameLevelScene* level) {
    GLocationNode::setLevel(level);
    if (getConfig() == nullptr)
        return;
    linkToPartner();
    editResources().clear();
    updateCapacityDisplay();
    setState(kStateNeedsRecharge);
    clearChoices();
    refreshChoices();
}

void GSandwichMachineNode::linkToPartner() {
    const ControlNode* root = getTemplateRoot();
    if (root == nullptr || getLevel() == nullptr)
        return;
    const bool hasBackground = root->findChild(nameOf("Bg"), 1) != nullptr;
    for (const CRefPointer<GLocationNode>& location : getLevel()->getLocations()) {
        if (location.get() == this || !location->isKindOf(kTypeId))
            continue;
        auto* other = static_cast<GSandwichMachineNode*>(location.get());
        (hasBackground ? other->m_mainPartner : other->m_extraPartner) = this;
        return;
    }
}

void GSandwichMachineNode::setShopMode(bool on, int32_t shopGroup, const GUpgradeItem* current,
                                       const GUpgradeItem* next) {
    GLocationNode::setShopMode(on, shopGroup, current, next);
    showPart(m_buttonsPanel, !on);
    showPart(m_machineSelector, false);
    if (!on) {
        showPart(m_background, true);
        showPart(m_body, true);
    }
}

void GSandwichMachineNode::show(CNameId templateName) {
    setShown(true);
    if (getTemplateName() == CNameId()) {
        setPendingTemplate(CNameId());
        setTemplateName(templateName);
        setState(nameOf("ShopAppear"), nullptr, CNameId());
        if (BaseNode* glow = getGlow()) {
            glow->setChildrenState(nameOf("ShopAppear"), nullptr);
            glow->setVisible(true);
        }
    } else {
        setPendingTemplate(templateName);
        setState(nameOf("ShopDisappear"), nullptr, CNameId());
    }
    if (isMachine(templateName, "SandwichMachine2") ||
        isMachine(templateName, "SandwichMachine3")) {
        showPart(m_background, false);
        showPart(m_body, false);
    }
}

void GSandwichMachineNode::hide(CNameId templateName) {
    setShown(false);
    setPendingTemplate(CNameId());
    setTemplateName(templateName);
    setState(nameOf("ShopAppear"), nullptr, CNameId());
}

bool GSandwichMachineNode::startRecharge(GCharacterNode* recharger) {
    if (m_leftChoice < 0 || m_rightChoice < 0)
        return false;
    const CRefPointer<GSandwichMachineNode> self = CRefPointer<GSandwichMachineNode>::share(this);
    const bool started = GLocationNode::startRecharge(recharger);
    showPart(m_productIcon, false);
    clearChoices();
    refreshChoices();
    for (GSandwichMachineNode* partner : {m_mainPartner.get(), m_extraPartner.get()}) {
        if (partner == nullptr)
            continue;
        partner->clearChoices();
        partner->refreshChoices();
    }
    return started;
}

void GSandwichMachineNode::setState(int32_t state) {
    GLocationNode::setState(state);
    if (state == kStateNeedsRecharge) {
        showPart(m_productIcon, false);
        showPart(m_buttonsPanel, true);
        showPart(m_machineSelector, false);
        refreshChoices();
    } else if (state == kStateReady) {
        if (!m_extraPartner)
            showPart(m_buttonsPanel, false);
        showProductIcon();
        showPart(m_machineSelector, true);
    }
}

void GSandwichMachineNode::showProductIcon() {
    if (!m_productIcon)
        return;
    m_productIcon->setVisible(true);
    const ObjectConfigurations* configs = getConfigs();
    const GResourceConfig* product = configs != nullptr && getResources().size() != 0
                                         ? configs->getResourceConfig(getResources()[0].name)
                                         : nullptr;
    CContentManager* content = getContentManager();
    if (product == nullptr || content == nullptr)
        return;
    const CRefPointer<CContent> image =
        content->loadAtlasTexture(u"levels/common/Locations/SandwichMachine/Icons/" +
                                      CStringW(product->iconName.c_str()) + u".png",
                                  true);
    static_cast<SpriteNode*>(m_productIcon.get())
        ->setImage(static_cast<CAtlasTexture*>(image.get()));
}

// The recipe's product, made from the picks (each at most its side's variants) when such a
// resource exists.
bool GSandwichMachineNode::make(const GResourceConfig& recipe) {
    m_leftChoice = std::min(m_leftChoice, recipe.modificationsCount[0]);
    m_rightChoice = std::min(m_rightChoice, recipe.modificationsCount[1]);
    const CNameId product(
        CString(recipe.name.toString()).append(m_leftChoice).append(m_rightChoice));
    if (getConfigs()->getResourceConfig(product) == nullptr)
        return false;
    LocationResource entry = getConfig()->providedResources[0];
    entry.name = product;
    entry.amount = 0;
    CArray<LocationResource>& resources = editResources();
    resources.clear();
    resources.append(entry);
    startRecharge(nullptr);
    if (!m_extraPartner)
        showPart(m_buttonsPanel, false);
    showPart(m_productIcon, false);
    showPart(m_machineSelector, true);
    return true;
}
