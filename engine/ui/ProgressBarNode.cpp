#include "engine/ui/ProgressBarNode.h"

#include <algorithm>

#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/TemplateChild.h"

ProgressBarNode::ProgressBarNode(const CContentKey& key, BaseNode* parent,
                                 SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

const PropertyTable& ProgressBarNode::classPropertyTable() {
    static const PropertyTable table =
        extendPropertyTable(BaseProgressBarNode::classPropertyTable(),
                            {fieldProperty<&ProgressBarNode::m_knobType>("KnobType")});
    return table;
}

void ProgressBarNode::updateKnob() {
    if (!m_slidingArea || !m_knob || m_knobType != 1)
        return;
    const float range = getMaxValue() - getMinValue();
    // Values loaded outside the range do not stretch the knob past its area.
    const float share =
        range > 0 ? std::clamp((getValue() - getMinValue()) / range, 0.0f, 1.0f) : 0;
    const CVector3d& areaAt = m_slidingArea->getPosition();
    const CVector3d& area = m_slidingArea->getBounds();
    CVector3d position = m_knob->getPosition();
    CVector3d bounds = m_knob->getBounds();
    if (area.y <= area.x) {
        position.x = areaAt.x;
        bounds.x = area.x * share;
    } else {
        position.y = areaAt.y;
        bounds.y = area.y * share;
    }
    m_knob->setPosition(position);
    m_knob->setBounds(bounds);
}

void ProgressBarNode::bindTemplateChildren() {
    m_slidingArea = holdTemplateChild<BaseNode>(*this, "SlidingArea");
    m_knob = holdTemplateChild<BaseNode>(*this, "Knob");
}

void ProgressBarNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    ControlNode::applyTemplate();
    bindTemplateChildren();
    updateKnob();
}

void ProgressBarNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseProgressBarNode::cloneMembers(source, sceneManager);
    bindTemplateChildren();
    if (source.isKindOf(kTypeId))
        m_knobType = static_cast<const ProgressBarNode&>(source).m_knobType;
}

void ProgressBarNode::saveProperties(CProperties& properties) const {
    BaseProgressBarNode::saveProperties(properties);
    if (m_knobType != 0)
        properties.addInt("KnobType", m_knobType);
}

void ProgressBarNode::loadProperties(const CProperties& properties) {
    BaseProgressBarNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "KnobType", m_knobType);
}
