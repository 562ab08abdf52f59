#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/BaseProgressBarNode.h"
#include "engine/scene/NodeClass.h"

// A progress bar drawn by its template: with "KnobType" 1 the template's "Knob" fills its
// "SlidingArea" from the start by the value's share of the range, along the area's longer
// side; other types leave the knob as the template has it. It takes no input of its own.
class ProgressBarNode : public NodeClass<ProgressBarNode, BaseProgressBarNode> {
public:
    static constexpr uint32_t kTypeId = 15;
    static constexpr const char16_t* kTypeName = u"ProgressBarNode";

    ProgressBarNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void applyTemplate() override;
    void updateVisual() override { updateKnob(); }
    void saveProperties(CProperties& properties) const override;
    // Stores "KnobType" without moving the knob.
    void loadProperties(const CProperties& properties) override;

    int32_t getKnobType() const { return m_knobType; }
    void setKnobType(int32_t type) { m_knobType = type; }
    void updateKnob();

protected:
    ~ProgressBarNode() override = default;

private:
    void bindTemplateChildren();

    CRefPointer<BaseNode> m_slidingArea;
    CRefPointer<BaseNode> m_knob;
    int32_t m_knobType = 0;
};
