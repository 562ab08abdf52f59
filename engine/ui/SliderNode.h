#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeClass.h"

// A value between a minimum and a maximum, shown as the template's "Knob" inside its
// "SlidingArea" and changed by pressing or dragging there, by the arrow, Home and End keys and
// by the template's "PrevButton" and "NextButton". The area's shape tells the axis: horizontal
// unless it is taller than wide. Changes the user makes are posted to the parent as event 65.
//
// "KnobType" 0 slides a knob of fixed size, 1 fills a bar from the start, 2 sizes a scroll-bar
// thumb to the visible part of the range (the page size) and slides it; other types leave the
// knob alone.
class SliderNode : public NodeClass<SliderNode, ControlNode> {
public:
    static constexpr uint32_t kTypeId = 16;
    static constexpr const char16_t* kTypeName = u"SliderNode";
    // A scroll-bar thumb is never shorter than this.
    static constexpr float kMinThumbSize = 25;

    SliderNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();
    static const EventMap& getEventMap();

    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void applyTemplate() override;
    // A drag: the pressed slider follows the pointer, also outside its bounds.
    bool OnMouseMove(CEventInputMouseMove& event) override;
    // A press anywhere in the area jumps there.
    bool OnMouseButtonDown(CEventInputMouseLeftDown& event) override;
    bool OnKeyDown(CEventInputKeyDown& event) override;
    // The previous and next buttons step the value; the click goes on up.
    virtual bool OnButtonClicked(CEventControlClicked& event);
    // Input the slider's own children leave goes to the buttons, then to the knob; the knob
    // cannot take a move or a press from the slider itself.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    void saveProperties(CProperties& properties) const override;
    // Stores the values as they are, without clamping or moving the knob.
    void loadProperties(const CProperties& properties) override;

    // A minimum not below the maximum, or a maximum not above the minimum, is ignored; the
    // value follows a bound that passes it.
    void setMinValue(float value);
    void setMaxValue(float value);
    // Clamped to the range; raises no event.
    void setValue(float value);
    void setPageSize(float size);
    float getMinValue() const { return m_minValue; }
    float getMaxValue() const { return m_maxValue; }
    float getValue() const { return m_value; }
    float getPageSize() const { return m_pageSize; }
    float getDeltaValue() const { return m_deltaValue; }
    void setDeltaValue(float delta) { m_deltaValue = delta; }
    int32_t getKnobType() const { return m_knobType; }
    void setKnobType(int32_t type) { m_knobType = type; }

    // Places and sizes the knob for the value.
    void updateKnob();
    // The value under a point of the scene. A point outside the area changes nothing, unless
    // the pointer drags the knob: the point is then held to the area.
    void setValueFromPoint(const CVector3d& point, bool dragging);

protected:
    ~SliderNode() override = default;

private:
    // The template's children, bound again at each application of the template.
    void bindTemplateChildren();
    bool isHorizontal() const;
    // The value's place in the range and the page's share of it, each 0 for an empty range.
    float fraction() const;
    float pageFraction() const;
    // Posts event 65 when the value is no longer the one given.
    void reportChangeFrom(float before);

    CRefPointer<BaseNode> m_slidingArea;
    CRefPointer<BaseNode> m_knob;
    CRefPointer<BaseNode> m_nextButton;
    CRefPointer<BaseNode> m_prevButton;
    float m_minValue = 0;
    float m_maxValue = 100;
    float m_value = 50;
    float m_pageSize = 0;
    float m_deltaValue = 5;
    int32_t m_knobType = 0;
};
