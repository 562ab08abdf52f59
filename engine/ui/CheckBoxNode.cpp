#include "engine/ui/CheckBoxNode.h"

#include "engine/core/Map.h"
#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/UiEvents.h"

CheckBoxNode::CheckBoxNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

const PropertyTable& CheckBoxNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ButtonNode::classPropertyTable(),
        {accessorProperty<&CheckBoxNode::isChecked, &CheckBoxNode::setChecked>("IsChecked")});
    return table;
}

CNameId CheckBoxNode::resolveCheckState(CNameId requested) {
    static const CMap<CNameId, CNameId> fallbacks = [] {
        const char* pairs[][2] = {
            {"FocusCheck", "NormalCheck"},           {"NormalCheckDisable", "NormalCheck"},
            {"FocusCheckDisable", "FocusCheck"},     {"NormalCheckHover", "NormalCheck"},
            {"NormalCheckKillHover", "NormalCheck"}, {"FocusCheckHover", "NormalCheckHover"},
            {"FocusCheckKillHover", "FocusCheck"},
        };
        CMap<CNameId, CNameId> map;
        for (const auto& pair : pairs)
            map.insert(CNameId(CString(pair[0])), CNameId(CString(pair[1])));
        return map;
    }();
    const auto found = fallbacks.find(requested);
    return found != fallbacks.end() ? found->value : resolveVisualState(requested);
}

void CheckBoxNode::showState(const char* name) {
    setChildrenState(CNameId(CString(name)), &resolveCheckState);
}

void CheckBoxNode::setChecked(bool checked) {
    m_checked = checked;
    refreshCheckState();
}

void CheckBoxNode::refreshCheckState() {
    const bool focused = isFocused();
    if (!isEnabled()) {
        if (m_checked)
            showState(focused ? "FocusCheckDisable" : "NormalCheckDisable");
        else
            showState(focused ? "FocusDisable" : "NormalDisable");
        return;
    }
    const bool hovered = isHovered();
    if (m_checked)
        showState(focused ? (hovered ? "FocusCheckHover" : "FocusCheck")
                          : (hovered ? "NormalCheckHover" : "NormalCheck"));
    else
        showState(focused ? (hovered ? "FocusHover" : "Focus")
                          : (hovered ? "NormalHover" : "Normal"));
}

bool CheckBoxNode::click() {
    if (!ButtonNode::click())
        return false;
    m_checked = !m_checked;
    refreshCheckState();
    postEventToParent(RouteSelfThenParents,
                      *CRefPointer<CEvent>(new CEventSliderValueChanged(this)));
    return true;
}

void CheckBoxNode::playPressState() {
    showState("Press");
}

void CheckBoxNode::updateHoverState() {
    if (!isEnabled())
        return;
    if (isHovered()) {
        refreshCheckState();
        return;
    }
    const bool focused = isFocused();
    if (m_checked)
        showState(focused ? "FocusCheckKillHover" : "NormalCheckKillHover");
    else
        showState(focused ? "FocusKillHover" : "NormalKillHover");
}

void CheckBoxNode::updateFocusState() {
    refreshCheckState();
}

void CheckBoxNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    ButtonNode::applyTemplate();
    refreshCheckState();
}

void CheckBoxNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    ButtonNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId))
        m_checked = static_cast<const CheckBoxNode&>(source).m_checked;
}

void CheckBoxNode::saveProperties(CProperties& properties) const {
    ButtonNode::saveProperties(properties);
    if (m_checked)
        properties.addBool("IsChecked", true);
}

void CheckBoxNode::loadProperties(const CProperties& properties) {
    ButtonNode::loadProperties(properties);
    bool checked = false;
    if (loadPropertyIfPresent(properties, "IsChecked", checked))
        setChecked(checked);
}
