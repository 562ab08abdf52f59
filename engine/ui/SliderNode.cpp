#include "engine/ui/SliderNode.h"

#include <algorithm>

#include "engine/core/MathHelpers.h"
#include "engine/core/Matrix4.h"
#include "engine/core/Properties.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/ControlKeys.h"
#include "engine/ui/TemplateChild.h"
#include "engine/ui/UiEvents.h"

SliderNode::SliderNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

const PropertyTable& SliderNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ControlNode::classPropertyTable(),
        {
            accessorProperty<&SliderNode::getMinValue, &SliderNode::setMinValue>("MinValue"),
            accessorProperty<&SliderNode::getMaxValue, &SliderNode::setMaxValue>("MaxValue"),
            accessorProperty<&SliderNode::getValue, &SliderNode::setValue>("Value"),
            fieldProperty<&SliderNode::m_deltaValue>("DeltaValue"),
            fieldProperty<&SliderNode::m_knobType>("KnobType"),
        });
    return table;
}

const EventMap& SliderNode::getEventMap() {
    static const EventMapEntry own[] = {eventHook<&SliderNode::OnButtonClicked>()};
    static const EventMap map = buildEventMap(ControlNode::getEventMap(), own);
    return map;
}

// Range

void SliderNode::setMinValue(float value) {
    if (!(value < m_maxValue))
        return;
    m_minValue = value;
    m_value = std::max(m_value, value);
    updateKnob();
}

void SliderNode::setMaxValue(float value) {
    if (!(value > m_minValue))
        return;
    m_maxValue = value;
    m_value = std::min(m_value, value);
    updateKnob();
}

// A range loaded with its maximum below its minimum holds the minimum.
void SliderNode::setValue(float value) {
    m_value = std::max(std::min(value, m_maxValue), m_minValue);
    updateKnob();
}

void SliderNode::setPageSize(float size) {
    m_pageSize = size;
    updateKnob();
}

float SliderNode::fraction() const {
    if (!(m_maxValue > m_minValue))
        return 0;
    // Values loaded outside the range keep the knob in its area.
    return std::clamp((m_value - m_minValue) / (m_maxValue - m_minValue), 0.0f, 1.0f);
}

float SliderNode::pageFraction() const {
    if (!(m_maxValue > m_minValue))
        return 0;
    return std::clamp(m_pageSize / (m_maxValue - m_minValue), 0.0f, 1.0f);
}

bool SliderNode::isHorizontal() const {
    const CVector3d& area = m_slidingArea->getBounds();
    return area.y <= area.x;
}

// Knob

void SliderNode::updateKnob() {
    if (!m_slidingArea || !m_knob || m_knobType < 0 || m_knobType > 2)
        return;
    const bool horizontal = isHorizontal();
    CVector3d position = m_knob->getPosition();
    CVector3d bounds = m_knob->getBounds();
    float& knobAt = horizontal ? position.x : position.y;
    float& knobSize = horizontal ? bounds.x : bounds.y;
    const float areaAt =
        horizontal ? m_slidingArea->getPosition().x : m_slidingArea->getPosition().y;
    const float areaSize = horizontal ? m_slidingArea->getBounds().x : m_slidingArea->getBounds().y;
    const float share = fraction();
    const float page = pageFraction();
    if (m_knobType == 0) {
        // At the maximum of a paged range the knob would leave its area.
        knobAt = page >= 1 ? areaAt
                           : areaAt + (areaSize - knobSize) * std::min(share / (1 - page), 1.0f);
    } else if (m_knobType == 1) {
        knobAt = areaAt;
        knobSize = areaSize * share;
    } else {
        knobSize = std::max(page * areaSize, kMinThumbSize);
        knobAt =
            std::max(std::min(areaAt + areaSize * share, areaAt + areaSize - knobSize), areaAt);
    }
    position.x = roundToNearest(position.x);
    position.y = roundToNearest(position.y);
    m_knob->setPosition(position);
    m_knob->setBounds(bounds);
}

void SliderNode::setValueFromPoint(const CVector3d& point, bool dragging) {
    if (!m_slidingArea || !m_knob)
        return;
    m_slidingArea->updateAbsoluteTransform();
    CMatrix4 inverse;
    if (!m_slidingArea->getAbsoluteMatrix().getInverse(inverse))
        return;
    CVector3d local = point;
    inverse.transformPoint(local);
    const CVector3d& area = m_slidingArea->getBounds();
    if (dragging) {
        local.x = std::clamp(local.x, 0.0f, std::max(area.x, 0.0f));
        local.y = std::clamp(local.y, 0.0f, std::max(area.y, 0.0f));
    }
    if (local.x < 0 || local.x > area.x || local.y < 0 || local.y > area.y)
        return;
    const bool horizontal = isHorizontal();
    const float at = horizontal ? local.x : local.y;
    const float size = horizontal ? area.x : area.y;
    const float knob = horizontal ? m_knob->getBounds().x : m_knob->getBounds().y;
    const float range = m_maxValue - m_minValue;
    float value = m_value;
    if (m_knobType == 0 || m_knobType == 2) {
        // The knob's middle comes under the pointer.
        const float start = at - knob / 2;
        const float travel = size - knob;
        const float share = start <= 0        ? 0.0f
                            : start >= travel ? 1.0f
                            : travel == 0     ? 0.0f
                                              : start * (1 - pageFraction()) / travel;
        value = m_minValue + range * share;
    } else if (m_knobType == 1) {
        if (size > 0)
            value = m_minValue + at / size * range;
        value = std::max(value, m_minValue);
        if (value + m_pageSize > m_maxValue)
            value = m_maxValue - m_pageSize;
    } else {
        return;
    }
    setValue(value);
}

// Input

void SliderNode::reportChangeFrom(float before) {
    if (m_value != before)
        postEventToParent(RouteSelfThenParents,
                          *CRefPointer<CEvent>(new CEventSliderValueChanged(this)));
}

// A drag goes on outside the slider: a quick pull past an end reaches that end.
bool SliderNode::OnMouseMove(CEventInputMouseMove& event) {
    const float before = m_value;
    if (!ControlNode::OnMouseMove(event) && !isPressed())
        return false;
    if (isPressed())
        setValueFromPoint(CVector3d(float(event.getX()), float(event.getY()), 0), true);
    reportChangeFrom(before);
    return true;
}

bool SliderNode::OnMouseButtonDown(CEventInputMouseLeftDown& event) {
    const float before = m_value;
    if (!ControlNode::OnMouseButtonDown(event))
        return false;
    setValueFromPoint(CVector3d(float(event.getX()), float(event.getY()), 0), false);
    reportChangeFrom(before);
    return true;
}

bool SliderNode::OnKeyDown(CEventInputKeyDown& event) {
    const float before = m_value;
    // Without an area the axis is unknown, so the arrow keys only move the focus.
    const bool horizontal = m_slidingArea && isHorizontal();
    const bool vertical = m_slidingArea && !horizontal;
    float value = m_value;
    switch (event.getVirtualKey()) {
    case kKeyEnd:
        value = m_maxValue;
        break;
    case kKeyHome:
        value = m_minValue;
        break;
    case kKeyLeft:
    case kKeyDown: {
        const bool alongAxis = event.getVirtualKey() == kKeyLeft ? horizontal : vertical;
        if (!alongAxis || !(m_value > m_minValue))
            return ControlNode::OnKeyDown(event);
        value = m_value - m_deltaValue;
        break;
    }
    case kKeyRight:
    case kKeyUp: {
        const bool alongAxis = event.getVirtualKey() == kKeyRight ? horizontal : vertical;
        if (!alongAxis || !(m_value < m_maxValue))
            return ControlNode::OnKeyDown(event);
        value = m_value + m_deltaValue;
        break;
    }
    default:
        return ControlNode::OnKeyDown(event);
    }
    setValue(value);
    reportChangeFrom(before);
    return true;
}

bool SliderNode::OnButtonClicked(CEventControlClicked& event) {
    const float before = m_value;
    if (m_prevButton && event.getNode() == m_prevButton.get())
        setValue(m_value - m_deltaValue);
    else if (m_nextButton && event.getNode() == m_nextButton.get())
        setValue(m_value + m_deltaValue);
    reportChangeFrom(before);
    return false;
}

bool SliderNode::sendToChildren(int32_t mode, CEvent& event) {
    if (ControlNode::sendToChildren(mode, event))
        return true;
    if (!mayOfferToTemplate(*this, event))
        return false;
    const CRefPointer<SliderNode> self = CRefPointer<SliderNode>::share(this);
    if (offerEvent(m_prevButton.get(), mode, event) || offerEvent(m_nextButton.get(), mode, event))
        return true;
    // A move or a press the knob takes still reaches the slider's own handlers.
    return offerEvent(m_knob.get(), mode, event) && !event.isKindOf(CEventInputMouseMove::Id) &&
           !event.isKindOf(CEventInputMouseLeftDown::Id);
}

// Template

void SliderNode::bindTemplateChildren() {
    m_slidingArea = holdTemplateChild<BaseNode>(*this, "SlidingArea");
    m_knob = holdTemplateChild<BaseNode>(*this, "Knob");
    m_nextButton = holdTemplateChild<BaseNode>(*this, "NextButton");
    m_prevButton = holdTemplateChild<BaseNode>(*this, "PrevButton");
}

void SliderNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    ControlNode::applyTemplate();
    bindTemplateChildren();
    updateKnob();
}

// Copying and properties

void SliderNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    ControlNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId)) {
        const auto& slider = static_cast<const SliderNode&>(source);
        m_minValue = slider.m_minValue;
        m_maxValue = slider.m_maxValue;
        m_value = slider.m_value;
        m_deltaValue = slider.m_deltaValue;
        m_knobType = slider.m_knobType;
    }
    // The copy of the template is the clone's own.
    bindTemplateChildren();
}

void SliderNode::saveProperties(CProperties& properties) const {
    ControlNode::saveProperties(properties);
    if (m_minValue != 0)
        properties.addFloat("MinValue", m_minValue);
    if (m_maxValue != 100)
        properties.addFloat("MaxValue", m_maxValue);
    if (m_value != 50)
        properties.addFloat("Value", m_value);
    if (m_deltaValue != 5)
        properties.addFloat("DeltaValue", m_deltaValue);
    if (m_knobType != 0)
        properties.addInt("KnobType", m_knobType);
}

void SliderNode::loadProperties(const CProperties& properties) {
    ControlNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "MinValue", m_minValue);
    loadPropertyIfPresent(properties, "MaxValue", m_maxValue);
    loadPropertyIfPresent(properties, "Value", m_value);
    loadPropertyIfPresent(properties, "DeltaValue", m_deltaValue);
    loadPropertyIfPresent(properties, "KnobType", m_knobType);
}
