#pragma once

#include <cstdint>

#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeClass.h"

// The base of the progress bars: a control keeping a value between a minimum and a maximum,
// which calls updateVisual whenever a setter changes them. It draws nothing itself, and is not
// cloned itself: each bar class clones as its own class.
class BaseProgressBarNode : public NodeClass<BaseProgressBarNode, ControlNode> {
public:
    static constexpr uint32_t kTypeId = 14;
    static constexpr const char16_t* kTypeName = u"BaseProgressBarNode";

    BaseProgressBarNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
        : NodeClass(key, parent, sceneManager) {}

    static const PropertyTable& classPropertyTable();

    // None.
    CRefPointer<BaseNode> clone(BaseNode* newParent, SceneManager* sceneManager) const override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Loading stores the values as written, unchecked and without a visual update.
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // Taken only below the maximum; a value below it is raised to it.
    void setMinValue(float minimum);
    // Taken only above the minimum; a value above it is lowered to it.
    void setMaxValue(float maximum);
    // Held within the minimum and the maximum.
    void setValue(float value);
    float getMinValue() const { return m_minimum; }
    float getMaxValue() const { return m_maximum; }
    float getValue() const { return m_value; }

    // Shows the value; derived bars draw it from the minimum, maximum and value.
    virtual void updateVisual() {}

protected:
    ~BaseProgressBarNode() override = default;

private:
    float m_minimum = 0;
    float m_maximum = 100;
    float m_value = 50;
};
