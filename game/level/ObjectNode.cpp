#include "game/level/ObjectNode.h"

#include "engine/scene/NodeEventHook.h"
#include "engine/scene/NodeState.h"
#include "game/app/UpgradeLevel.h"
#include "game/level/GameLevelScene.h"

namespace {

TextNode* asTextNode(BaseNode* node) {
    return node != nullptr && node->isKindOf(TextNode::kTypeId) ? static_cast<TextNode*>(node)
                                                                : nullptr;
}

template <typename Node>
CRefPointer<Node> held(Node* node) {
    return CRefPointer<Node>::share(node);
}

// The children the shop puts on an object, which go when the shop closes.
const char* const kShopChildren[] = {"UpButton", "Shop_UpPrice", "Shop_UpRequired",
                                     "Shop_UpRecommended"};

} // namespace

GObjectNode::GObjectNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager), m_link(new GObjectLink(this)) {
    setInterval(kTickMs);
}

GObjectNode::~GObjectNode() {
    m_link->clear();
}

const EventMap& GObjectNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GObjectNode::OnClientSpeedUp>(),
    };
    static const EventMap map = buildEventMap(ControlNode::getEventMap(), own);
    return map;
}

void GObjectNode::OnLoaded() {
    m_pointers = held(findChild(nameOf("Pointers"), 1));
}

void GObjectNode::applyTemplate() {
    ControlNode::applyTemplate();
    bindDecoration();
    if (m_glow)
        m_glow->setVisible(false);
}

void GObjectNode::bindDecoration() {
    ControlNode* root = getSceneManager() != nullptr ? getTemplateRoot() : nullptr;
    const auto find = [this, root](const char* text) {
        const CNameId name = nameOf(text);
        BaseNode* own = findChild(name, 1);
        return own != nullptr || root == nullptr ? own : root->findChild(name, 1);
    };
    m_pointers = held(find("Pointers"));
    m_selector = held(find("Selector"));
    m_upLevelIcons = held(find("UpLevelIcons"));
    m_glow = held(find("Glow"));
    // A price that is not a text node is no price, even when the template has one.
    const CNameId price = nameOf("Shop_UpPrice");
    TextNode* text = asTextNode(findChild(price, 1));
    if (text == nullptr && root != nullptr)
        text = asTextNode(root->findChild(price, 1));
    m_priceText = held(text);
}

bool GObjectNode::OnStateFinished(CEventNodeStateFinished& event) {
    const CRefPointer<GObjectNode> self = held(this);
    const bool handled = ControlNode::OnStateFinished(event);
    const CNameId finished =
        event.getState() != nullptr ? event.getState()->getName() : event.getStateName();
    if (finished != nameOf("ShopDisappear"))
        return handled;
    setTemplateName(m_pendingTemplate);
    if (m_glow)
        playGlow(m_shown ? "ShopAppear" : "ShopDisappear", m_shown);
    return true;
}

void GObjectNode::setLevel(GGameLevelScene* level) {
    if (level == nullptr)
        return;
    m_level = level;
    m_configs = held(level->getObjectConfigurations());
}

void GObjectNode::setShopMode(bool on, int32_t, const GUpgradeItem*, const GUpgradeItem* next) {
    m_shopMode = on;
    if (m_glow && (!on || next == nullptr))
        playGlow("ShopDisappear", false);
    if (on)
        enterShopDisplay(next);
    else
        enterPlayDisplay();
}

void GObjectNode::enterShopDisplay(const GUpgradeItem* next) {
    setHovered(false);
    setEnabled(false);
    setCanBeHit(false);
    if (m_selector)
        m_selector->setVisible(false);
    setColor(0);
    // An object that the next upgrade builds is shown, so the player sees where it goes.
    if (next != nullptr && next->type != CNameId())
        setVisible(true);
    if (m_upLevelIcons)
        m_upLevelIcons->setVisible(true);
    const CNameId arrowName = nameOf("UpLevelArrow");
    BaseNode* arrow =
        getTemplateRoot() != nullptr ? getTemplateRoot()->findChild(arrowName, 1) : nullptr;
    if (arrow == nullptr)
        arrow = findChild(arrowName, 1);
    if (arrow != nullptr)
        arrow->setVisible(false);
}

void GObjectNode::enterPlayDisplay() {
    setTintColor(CColor(0xFFFFFFFFu));
    setEnabled(true);
    setCanBeHit(true);
    if (m_selector)
        m_selector->setVisible(true);
    if (m_upLevelIcons)
        m_upLevelIcons->setVisible(false);
    removeShopChildren();
}

void GObjectNode::removeShopChildren() {
    for (const char* name : kShopChildren) {
        if (BaseNode* child = findChild(nameOf(name), 1))
            removeChild(child);
    }
}

void GObjectNode::show(CNameId templateName) {
    appear(true, templateName, "Show");
    if (m_glow)
        playGlow("ShopAppear", true);
}

void GObjectNode::hide(CNameId templateName) {
    appear(false, templateName, "Hide");
}

void GObjectNode::appear(bool shown, CNameId templateName, const char* state) {
    m_shown = shown;
    m_pendingTemplate = CNameId();
    setTemplateName(templateName);
    setState(nameOf(state), nullptr, CNameId());
    setState(nameOf("ShopAppear"), nullptr, CNameId());
}

void GObjectNode::playGlow(const char* state, bool visible) {
    m_glow->setChildrenState(nameOf(state), nullptr);
    m_glow->setVisible(visible);
}
