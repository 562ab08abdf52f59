#include "engine/scene/BaseProgressBarNode.h"

#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"

const PropertyTable& BaseProgressBarNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ControlNode::classPropertyTable(),
        {
            accessorProperty<&BaseProgressBarNode::getMinValue, &BaseProgressBarNode::setMinValue>(
                "MinValue"),
            accessorProperty<&BaseProgressBarNode::getMaxValue, &BaseProgressBarNode::setMaxValue>(
                "MaxValue"),
            accessorProperty<&BaseProgressBarNode::getValue, &BaseProgressBarNode::setValue>(
                "Value"),
        });
    return table;
}

CRefPointer<BaseNode> BaseProgressBarNode::clone(BaseNode*, SceneManager*) const {
    return nullptr;
}

void BaseProgressBarNode::setMinValue(float minimum) {
    if (!(minimum < m_maximum))
        return;
    m_minimum = minimum;
    if (m_value < minimum)
        m_value = minimum;
    updateVisual();
}

void BaseProgressBarNode::setMaxValue(float maximum) {
    if (!(maximum > m_minimum))
        return;
    m_maximum = maximum;
    if (m_value > maximum)
        m_value = maximum;
    updateVisual();
}

void BaseProgressBarNode::setValue(float value) {
    if (value < m_minimum)
        value = m_minimum;
    if (value > m_maximum)
        value = m_maximum;
    m_value = value;
    updateVisual();
}

void BaseProgressBarNode::saveProperties(CProperties& properties) const {
    ControlNode::saveProperties(properties);
    if (m_minimum != 0)
        properties.addFloat("MinValue", m_minimum);
    if (m_maximum != 100)
        properties.addFloat("MaxValue", m_maximum);
    if (m_value != 50)
        properties.addFloat("Value", m_value);
}

void BaseProgressBarNode::loadProperties(const CProperties& properties) {
    ControlNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "MinValue", m_minimum);
    loadPropertyIfPresent(properties, "MaxValue", m_maximum);
    loadPropertyIfPresent(properties, "Value", m_value);
}

void BaseProgressBarNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    ControlNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& bar = static_cast<const BaseProgressBarNode&>(source);
    m_minimum = bar.m_minimum;
    m_maximum = bar.m_maximum;
    m_value = bar.m_value;
}
