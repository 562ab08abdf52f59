#include "game/screens/EllipseProgressBarNode.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/TemplateChild.h"

EllipseProgressBarNode::EllipseProgressBarNode(const CContentKey& key, BaseNode* parent,
                                               SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

const PropertyTable& EllipseProgressBarNode::classPropertyTable() {
    static const PropertyTable table =
        extendPropertyTable(BaseProgressBarNode::classPropertyTable(),
                            {fieldProperty<&EllipseProgressBarNode::m_fillType>("FillType")});
    return table;
}

void EllipseProgressBarNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    ControlNode::applyTemplate();
    m_ellipse = holdTemplateChild<GEllipseSectorNode>(*this, "Ellipse");
    updateVisual();
}

void EllipseProgressBarNode::updateVisual() {
    if (!m_ellipse)
        return;
    const float range = getMaxValue() - getMinValue();
    float ratio = range > 0 ? (getValue() - getMinValue()) / range : 0;
    // Values loaded from a file are not checked: one outside the range, or not a number at
    // all, must not turn the pie more than once or give no angle.
    ratio = std::isfinite(ratio) ? std::clamp(ratio, 0.0f, 1.0f) : 0;
    const int32_t angle = int32_t(std::floor(ratio * 360 + 0.5f));
    if (m_fillType == FILL_CLOCKWISE) {
        m_ellipse->setAngle1(0);
        m_ellipse->setAngle2(angle);
    } else if (m_fillType == FILL_EMPTYING) {
        m_ellipse->setAngle1(angle);
        m_ellipse->setAngle2(360);
    }
}

// Copying and properties

void EllipseProgressBarNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseProgressBarNode::cloneMembers(source, sceneManager);
    // The copy drives the ellipse of its own copy of the template.
    m_ellipse = holdTemplateChild<GEllipseSectorNode>(*this, "Ellipse");
    if (source.isKindOf(kTypeId))
        m_fillType = static_cast<const EllipseProgressBarNode&>(source).m_fillType;
}

void EllipseProgressBarNode::saveProperties(CProperties& properties) const {
    BaseProgressBarNode::saveProperties(properties);
    if (m_fillType != FILL_CLOCKWISE)
        properties.addInt("FillType", m_fillType);
}

void EllipseProgressBarNode::loadProperties(const CProperties& properties) {
    BaseProgressBarNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "FillType", m_fillType);
}
