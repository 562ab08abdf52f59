#include "engine/core/PropertyDataScalars.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/scene/TextNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"

// How a location shows its condition: the children it binds from its template, and the states
// it sets on its children and on theirs.

namespace {

// A state name made of a word and a number: "Capacity3".
CNameId numbered(const char* word, int32_t number) {
    return CNameId(CString(word).append(number));
}

template <typename Node>
CRefPointer<Node> held(Node* node) {
    return CRefPointer<Node>::share(node);
}

// Queue marks made by copying the first one, at most.
constexpr uint32_t kMaxCopiedMarks = 4;
constexpr int32_t kIndicatorRelayoutMs = 500;

} // namespace

void GLocationNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    GObjectNode::applyTemplate();
    m_colorNode = nullptr;
    m_indicators = nullptr;
    m_colorMatchIndicator = nullptr;
    m_queueIndexNode = nullptr;
    m_rechargeProgress = nullptr;
    ControlNode* root = getTemplateRoot();
    if (root == nullptr)
        return;
    setChildrenState(nameOf("Normal"), nullptr);
    m_colorNode = held(root->findChild(nameOf("Color"), 1));
    m_indicators = held(root->findChild(nameOf("Indicators"), 1));
    if (m_indicators) {
        m_colorMatchIndicator = held(m_indicators->findChild(nameOf("ColorMatch"), 1));
        if (m_colorMatchIndicator)
            m_colorMatchIndicator->setVisible(false);
    }
    m_queueIndexNode = held(root->findChild(nameOf("QueueIndex"), 1));
    showQueueIndex(0);
    BaseNode* bar = root->findChild(nameOf("RechargeProgress"), 1);
    if (bar != nullptr && bar->isKindOf(BaseProgressBarNode::kTypeId))
        m_rechargeProgress = held(static_cast<BaseProgressBarNode*>(bar));
    updateRechargeProgress();
    bindCapacityIcons();
}

// The copy is made once and kept; a template without a place for it removes it.
void GLocationNode::bindCapacityIcons() {
    const CNameId name = nameOf("CapacityIcons");
    if (!m_capacityIcons) {
        const TemplateCollectionNode* templates = getSceneManager()->getTemplateCollection();
        const BaseNode* model = templates != nullptr ? templates->getTemplate(name) : nullptr;
        if (model == nullptr)
            return;
        m_capacityIcons = model->clone(this, getSceneManager());
        m_capacityIcons->setCanBeHit(false);
    }
    if (const BaseNode* place = getTemplateRoot()->findChild(name, 1)) {
        m_capacityIcons->setPosition(place->getPosition());
    } else {
        removeChild(m_capacityIcons.get());
        m_capacityIcons = nullptr;
    }
    updateCapacityDisplay();
}

void GLocationNode::setShopMode(bool on, int32_t shopGroup, const GUpgradeItem* current,
                                const GUpgradeItem* next) {
    if (on && m_rechargeProgress)
        m_rechargeProgress->setVisible(false);
    GObjectNode::setShopMode(on, shopGroup, current, next);
    updateCapacityDisplay();
}

void GLocationNode::updateCapacityDisplay() {
    if (isShopMode()) {
        showShopCapacity();
        return;
    }
    if (m_resources.size() == 0) {
        m_shownCapacity = 0;
        setChildrenState(nameOf("Capacity0"), nullptr);
        return;
    }
    const LocationResource& first = m_resources[0];
    const int32_t units = int32_t(first.amount);
    if (units == m_shownCapacity)
        return;
    m_shownCapacity = units;
    setChildrenState(numbered("Capacity", units), nullptr);
    if (!m_capacityIcons)
        return;
    const bool counted = first.maxAmount >= 2;
    m_capacityIcons->setVisible(counted);
    if (counted)
        m_capacityIcons->setChildrenState(numbered("Capacity", units), nullptr);
}

// The upgrade on show is the configuration that the template names.
void GLocationNode::showShopCapacity() {
    const ObjectConfigurations* configs = getConfigs();
    const GLocationConfig* shown =
        configs != nullptr ? configs->getLocationConfig(getTemplateName()) : nullptr;
    if (shown == nullptr || shown->providedResources.size() == 0 || !m_capacityIcons)
        return;
    const int32_t maximum = shown->providedResources[0].maxAmount;
    m_capacityIcons->setChildrenState(numbered("MaxCapacity", maximum), nullptr);
    m_capacityIcons->setChildrenState(numbered("Capacity", maximum), nullptr);
}

void GLocationNode::updateRechargeProgress() {
    if (!m_rechargeProgress)
        return;
    const bool recharging = m_state == kStateStaffRecharge || m_state == kStateSelfRecharge;
    m_rechargeProgress->setVisible(recharging);
    if (recharging) {
        m_rechargeProgress->setMaxValue(float(m_staffRechargeTime + m_selfRechargeTime));
        m_rechargeProgress->setValue(float(m_stateTime));
    } else if (m_state == kStateNeedsRecharge) {
        m_rechargeProgress->setValue(0);
    }
}

void GLocationNode::showQueueIndex(int32_t position) {
    if (!m_queueIndexNode)
        return;
    if (position == 0) {
        m_queueMarks.clear();
        m_queueIndexNode->setVisible(false);
        return;
    }
    m_queueIndexNode->setVisible(true);
    m_queueMarks.append(position);
    const uint32_t shown = m_queueMarks.size();
    const CNameId mark = nameOf("Img");
    BaseNode* first = m_queueIndexNode->findChild(mark, 1);
    if (first == nullptr)
        return;
    uint32_t marks = 0;
    for (uint32_t i = 0; i < m_queueIndexNode->getChildCount(); ++i) {
        BaseNode* child = m_queueIndexNode->getChild(i);
        if (child->getName() == mark)
            child->setVisible(marks++ < shown);
    }
    // Each further mark a little smaller, up and to the left of the one before.
    for (; marks < shown && marks < kMaxCopiedMarks; ++marks) {
        const CRefPointer<BaseNode> copy = first->clone(m_queueIndexNode.get(), getSceneManager());
        const float step = float(marks);
        const CVector3d& at = first->getPosition();
        const CVector3d& bounds = copy->getBounds();
        copy->setPosition(CVector3d(at.x - step * bounds.x * 0.3f, at.y - step * bounds.y * 0.2f,
                                    at.z - step * 0.01f));
        const CVector3d& scale = first->getScale();
        copy->setScale(CVector3d(scale.x - 0.1f * step, scale.y - 0.1f * step, scale.z - step));
        copy->setVisible(true);
    }
}

void GLocationNode::showIndicator(CNameId name) {
    BaseNode* icon = m_indicators ? m_indicators->findChild(name, 1) : nullptr;
    if (icon == nullptr || icon->isVisible())
        return;
    icon->setState(nameOf("Appear"), nullptr, CNameId());
    layoutIndicators();
}

void GLocationNode::hideIndicator(CNameId name) {
    if (!m_indicators)
        return;
    const CNameId disappear = nameOf("Disappear");
    if (name == CNameId()) {
        const CNameId colorMatch = nameOf("ColorMatch");
        for (uint32_t i = 0; i < m_indicators->getChildCount(); ++i) {
            BaseNode* icon = m_indicators->getChild(i);
            if (icon->getName() != colorMatch && icon->isVisible())
                icon->setState(disappear, nullptr, CNameId());
        }
        return;
    }
    BaseNode* icon = m_indicators->findChild(name, 1);
    if (icon == nullptr || !icon->isVisible())
        return;
    icon->setState(disappear, nullptr, CNameId());
    m_indicatorLayoutDelay = kIndicatorRelayoutMs;
}

// The first icon (the colour match) keeps its place.
void GLocationNode::layoutIndicators() {
    if (!m_indicators)
        return;
    BaseNode& icons = *m_indicators;
    const CVector3d& size = icons.getBounds();
    const bool matchShown = m_colorMatchIndicator && m_colorMatchIndicator->isVisible();
    const CVector3d start(matchShown ? -size.x / 2 : size.x / 2, size.y / 2, matchShown ? 2 : 0);
    const uint32_t count = icons.getChildCount();
    for (uint32_t slot = 1; slot + 1 < count; ++slot) {
        for (uint32_t later = slot + 1; later < count; ++later) {
            if (icons.getChild(later)->isVisible() && !icons.getChild(slot)->isVisible())
                icons.swapChildren(slot, later);
        }
    }
    for (uint32_t i = 1; i < count; ++i) {
        const float place = float(i - 1);
        icons.getChild(i)->setPosition(
            CVector3d(start.x - place * size.x, start.y, start.z + place * 2));
    }
}

void GLocationNode::setDraggingHighlight(bool on) {
    if (on == m_draggingHighlight)
        return;
    m_draggingHighlight = on;
    setChildrenState(nameOf(on ? "HLDraggingOn" : "HLOff"), nullptr);
}

void GLocationNode::setPlacedHighlight(bool on) {
    setChildrenState(nameOf(on ? "HLPlacedOn" : "HLOff"), nullptr);
}

void GLocationNode::showColor(int32_t old) {
    if (!m_colorNode)
        return;
    const CColor color = GGameLevelScene::getColorValue(getColor());
    m_colorNode->setChildrenState(nameOf(getColor() == 0 ? "Neutral" : "Colored"), nullptr);
    m_colorNode->setTintColor(color);
    if (m_colorMatchCount != 1)
        return;
    rewriteBlink(GGameLevelScene::getColorValue(old), color);
    m_colorNode->setState(nameOf("Blink"), nullptr, CNameId());
}

// The blink alternates between the colour the location had and the new one: the colour keys
// are rewritten in turn.
void GLocationNode::rewriteBlink(CColor from, CColor to) {
    const NodeState* blink = m_colorNode->findState(nameOf("Blink"));
    KeyFrame* keys = blink != nullptr ? asKeyFrame(blink->getAnimator(0)) : nullptr;
    if (keys == nullptr)
        return;
    bool previous = true;
    for (KeyFrameKey& key : keys->getKeys()) {
        for (CRefPointer<CPropertyData>& value : key.values) {
            if (castPropertyData<CPropertyDataColor>(value.get()) == nullptr)
                continue;
            value = makeColorProperty(previous ? from : to);
            previous = !previous;
        }
    }
}

void GLocationNode::showColorMatch() {
    const CNameId name = nameOf("ColorMatch");
    if (m_colorMatchCount <= 1) {
        hideIndicator(name);
        return;
    }
    if (m_colorMatchCount == 2)
        showIndicator(name);
    BaseNode& indicator = *m_colorMatchIndicator;
    BaseNode* text = indicator.findChild(nameOf("Text"), 1);
    if (text != nullptr && text->isKindOf(TextNode::kTypeId))
        static_cast<TextNode*>(text)->setText(CStringW(u"x").append(m_colorMatchCount));
    if (BaseNode* color = indicator.findChild(nameOf("Color"), 1))
        color->setTintColor(GGameLevelScene::getColorValue(getColor()));
    indicator.setVisible(true);
    struct Bonus {
        const char* cue;
        const char* state;
    };
    static const Bonus bonuses[] = {{"BonusColor1", "Anim2"},
                                    {"BonusColor2", "Anim3"},
                                    {"BonusColor3", "Anim4"},
                                    {"BonusColor3", "Anim"}};
    const int32_t step = m_colorMatchCount < 5 ? m_colorMatchCount - 2 : 3;
    playConfiguredCue(nameOf(bonuses[step].cue), m_colorMatchCount < 5);
    indicator.setChildrenState(nameOf(bonuses[step].state), nullptr);
}
