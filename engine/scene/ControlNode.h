#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeClass.h"

// The node that takes part in input: it can be focused, hovered, pressed, enabled or disabled
// and clicked, moves the keyboard focus between its children with the arrow keys, and can dress
// itself from a named template. It shows its condition through named states of its children
// (and of its template's copy), each falling back to a simpler one it lacks; a click plays
// "Press" on them and is announced (63, then 64 posted) when all have finished it.
class ControlNode : public NodeClass<ControlNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 5;
    static constexpr const char16_t* kTypeName = u"ControlNode";

    ControlNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();
    static const EventMap& getEventMap();
    // The fallback of every visual state name: "FocusDisable" plays "NormalDisable", which plays
    // "Normal"; names without a fallback give the empty name.
    static CNameId resolveVisualState(CNameId requested);

    void collectDrawables(RenderList& list) override;
    // A ChildrenClipped control hands its area to each of its drawables, which clip themselves.
    void render(IRenderDriver* driver, const CRect* clip) override;
    // A node of the template's copy is hit; the control's own children are tested by
    // findHitNode itself.
    bool hitTest(const CVector3d& point) override;
    // Also drives the template's copy, counted as one more child when it has children.
    void setChildrenState(CNameId name, StateFallback fallback) override;
    void stopChildrenStates(bool report) override;
    void updateAbsoluteTransform() override;
    void updateAbsoluteColor() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    bool OnSceneManagerAttached(CEventNodeAttached& event) override;
    bool OnTemplatesChanged(CEventNodeTemplatesChanged& event) override;
    bool OnDictionaryChanged(CEvent& event) override;
    bool OnStateStarted(CEventNodeStateStarted&) override { return true; }
    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;
    // Input does not enter a disabled or hidden control.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    virtual void setFocused(bool focused);
    virtual void setEnabled(bool enabled);
    virtual void setHoverTrack(bool track) { m_hoverTrack = track; }
    virtual void setHovered(bool hovered);
    virtual void setPressed(bool pressed);
    // False while the "Press" state of an earlier click still plays.
    virtual bool click();
    // Fills the template's copy from the scene manager's collection.
    virtual void applyTemplate();
    virtual void playPressState();
    virtual void refreshVisualState();
    virtual void updatePressState();
    virtual void updateHoverState();
    virtual void updateFocusState();
    virtual void updateEnabledState();
    virtual void focusDefaultChild();
    virtual bool OnHoverEvent(CEventControlHover& event);
    virtual bool OnUnhoverEvent(CEventControlUnhover& event);
    virtual bool OnFocusEvent(CEventControlFocus& event);
    virtual bool OnUnfocusEvent(CEventControlUnfocus& event);
    virtual bool OnPressEvent(CEventControlChange& event);
    virtual bool OnReleaseEvent(CEventControlChange& event);
    virtual bool OnClickEvent(CEventControlClick& event);
    virtual bool OnMouseMove(CEventInputMouseMove& event);
    virtual bool OnMouseButtonDown(CEventInputMouseLeftDown& event);
    virtual bool OnMouseButtonUp(CEventInputMouseLeftUp& event);
    virtual bool OnKeyDown(CEventInputKeyDown& event);
    virtual bool OnKeyUp(CEventInputKeyUp&) { return false; }

    // 0: press on button down, click on button up over the control; 1: press and click on
    // button down; 2: press and click on button up over the control; 3: click on both. Other
    // values are ignored.
    void setPressMode(int32_t mode);
    int32_t getPressMode() const { return m_pressMode; }
    void setTemplateName(CNameId name);
    CNameId getTemplateName() const { return m_templateName; }
    // The internal child holding the template's copy; none until a template is applied.
    ControlNode* getTemplateRoot() const { return m_templateRoot; }
    BaseNode* getFocusedChild() const { return m_focusedChild.get(); }
    bool isFocused() const { return m_focused; }
    bool isEnabled() const { return m_enabled; }
    bool isHovered() const { return m_hovered; }
    bool isPressed() const { return m_pressed; }
    bool isClickPending() const { return m_clickPending; }
    bool wantsFocus() const { return m_wantFocus; }
    void setWantFocus(bool want) { m_wantFocus = want; }
    bool getHoverTrack() const { return m_hoverTrack; }
    bool isFocusOnHover() const { return m_focusOnHover; }
    void setFocusOnHover(bool focus) { m_focusOnHover = focus; }
    CNameId getDefaultFocusName() const { return m_defaultFocus; }
    void setDefaultFocusName(CNameId name) { m_defaultFocus = name; }
    // Left, right, lower and upper neighbours by name, for the arrow keys.
    void setNeighbourNames(CNameId left, CNameId right, CNameId down, CNameId up);

protected:
    ~ControlNode() override;

private:
    void showVisualState(const char* name);
    void releaseTemplateRoot();
    // Makes the internal, empty template root.
    void createTemplateRoot();
    bool isHit(const CEventInputMousePosition& event);
    void post(CEvent* event);

    CNameId m_defaultFocus;
    CNameId m_navLeft;
    CNameId m_navRight;
    CNameId m_navDown;
    CNameId m_navUp;
    CNameId m_templateName;
    ControlNode* m_templateRoot = nullptr;
    // Held, so that a focused descendant that leaves the tree cannot leave it dangling.
    CRefPointer<BaseNode> m_focusedChild;
    bool m_wantFocus = true;
    bool m_focused = false;
    bool m_enabled = true;
    bool m_hoverTrack = true;
    bool m_hovered = false;
    bool m_focusOnHover = false;
    bool m_pressed = false;
    bool m_clickPending = false;
    int32_t m_pressMode = 0;
};

// The node when it is a ControlNode (or derives from one), else none.
ControlNode* asControlNode(BaseNode* node);
