#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/scene/NodeClass.h"
#include "engine/ui/ButtonNode.h"

// A button with a checked flag that each click turns over, reporting the change to the parent
// as event 65. While checked its children play states of their own ("NormalCheck",
// "FocusCheckHover", ...), each falling back to a simpler checked one it lacks, then to the
// control's states, so a template needs only "NormalCheck" to look checked.
class CheckBoxNode : public NodeClass<CheckBoxNode, ButtonNode> {
public:
    static constexpr uint32_t kTypeId = 11;
    static constexpr const char16_t* kTypeName = u"CheckBoxNode";

    CheckBoxNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();
    // The fallbacks of the checked states, then those of the control's.
    static CNameId resolveCheckState(CNameId requested);

    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Turns the flag over once the click is accepted; false, changing nothing, while the last
    // click is pending.
    bool click() override;
    void applyTemplate() override;
    void playPressState() override;
    // The end of a press shows nothing of its own: the check state stays.
    void refreshVisualState() override {}
    void updatePressState() override {}
    // Only while enabled, whatever the press.
    void updateHoverState() override;
    void updateFocusState() override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // Shows the state; raises no event.
    void setChecked(bool checked);
    bool isChecked() const { return m_checked; }
    // Plays the state of the flag, the enabled, focused and hovered flags on the children.
    virtual void refreshCheckState();

protected:
    ~CheckBoxNode() override = default;

private:
    void showState(const char* name);

    bool m_checked = false;
};
