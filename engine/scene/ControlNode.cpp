#include "engine/scene/ControlNode.h"

#include "engine/core/Properties.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"

namespace {

constexpr uint32_t kKeyLeft = 37;
constexpr uint32_t kKeyUp = 38;
constexpr uint32_t kKeyRight = 39;
constexpr uint32_t kKeyDown = 40;

bool isPressMode(int32_t mode) {
    return mode >= 0 && mode <= 3;
}

// An int from 0 to 3 is taken, another int is ignored and a value of another type gives 0.
void setPressModeProperty(CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
    auto& control = static_cast<ControlNode&>(object);
    if (const auto* number = castPropertyData<CPropertyDataInt>(value.get()))
        control.setPressMode(number->getValue());
    else
        control.setPressMode(0);
}

void getPressModeProperty(CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
    out = makeIntProperty(static_cast<const ControlNode&>(object).getPressMode());
}

CNameId pressState() {
    static const CNameId name(CString("Press"));
    return name;
}

} // namespace

ControlNode* asControlNode(BaseNode* node) {
    return node != nullptr && node->isKindOf(ControlNode::kTypeId) ? static_cast<ControlNode*>(node)
                                                                   : nullptr;
}

ControlNode::ControlNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setCategoryMask(getCategoryMask() | CEvent::CategoryMouse | CEvent::CategoryNode);
}

ControlNode::~ControlNode() {
    releaseTemplateRoot();
}

const PropertyTable& ControlNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            fieldProperty<&ControlNode::m_defaultFocus>("DefaultFocusObject"),
            fieldProperty<&ControlNode::m_navLeft>("NavLeftObjectName"),
            fieldProperty<&ControlNode::m_navRight>("NavRightObjectName"),
            fieldProperty<&ControlNode::m_navDown>("NavDownObjectName"),
            fieldProperty<&ControlNode::m_navUp>("NavUpObjectName"),
            accessorProperty<&ControlNode::getTemplateName, &ControlNode::setTemplateName>(
                "TemplateName"),
            accessorProperty<&ControlNode::isEnabled, &ControlNode::setEnabled>("Enabled"),
            {CString("PressMode"), &setPressModeProperty, &getPressModeProperty},
            fieldProperty<&ControlNode::m_wantFocus>("WantFocus"),
            fieldProperty<&ControlNode::m_focusOnHover>("IsFocusOnHover"),
            fieldProperty<&ControlNode::m_hoverTrack>("HoverTrack"),
        });
    return table;
}

const EventMap& ControlNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&ControlNode::OnHoverEvent>(),      eventHook<&ControlNode::OnUnhoverEvent>(),
        eventHook<&ControlNode::OnFocusEvent>(),      eventHook<&ControlNode::OnUnfocusEvent>(),
        eventHook<&ControlNode::OnPressEvent, 49>(),  eventHook<&ControlNode::OnReleaseEvent, 51>(),
        eventHook<&ControlNode::OnClickEvent>(),      eventHook<&ControlNode::OnMouseMove>(),
        eventHook<&ControlNode::OnMouseButtonDown>(), eventHook<&ControlNode::OnMouseButtonUp>(),
        eventHook<&ControlNode::OnKeyDown>(),         eventHook<&ControlNode::OnKeyUp>(),
    };
    static const EventMap map = buildEventMap(BaseNode::getEventMap(), own);
    return map;
}

CNameId ControlNode::resolveVisualState(CNameId requested) {
    static const CMap<CNameId, CNameId> fallbacks = [] {
        const char* pairs[][2] = {
            {"Focus", "Normal"},
            {"KillFocus", "Normal"},
            {"NormalDisable", "Normal"},
            {"FocusDisable", "NormalDisable"},
            {"Pressed", "Focus"},
            {"KillPressed", "Focus"},
            {"Press", "Focus"},
            {"NormalKillHover", "Normal"},
            {"FocusHover", "NormalHover"},
            {"FocusKillHover", "Focus"},
        };
        CMap<CNameId, CNameId> map;
        for (const auto& pair : pairs)
            map.insert(CNameId(CString(pair[0])), CNameId(CString(pair[1])));
        return map;
    }();
    const auto found = fallbacks.find(requested);
    return found != fallbacks.end() ? found->value : CNameId();
}

// Condition

void ControlNode::post(CEvent* event) {
    postEvent(this, RouteSelfThenParents, *CRefPointer<CEvent>(event));
}

void ControlNode::setFocused(bool focused) {
    if (focused == m_focused || (focused && !m_wantFocus))
        return;
    const CRefPointer<ControlNode> self = CRefPointer<ControlNode>::share(this);
    m_focused = focused;
    if (focused) {
        setCategoryMask(getCategoryMask() | CEvent::CategoryKeyboard);
        sendToParent(RouteSelfThenParents,
                     *CRefPointer<CEvent>(new CEventControlFocus(nullptr, this)));
        post(new CEventControlFocused(this));
        // A focused descendant deeper than a child (a list's element) keeps the focus too.
        if (!m_focusedChild || !isAncestorOf(m_focusedChild.get()))
            focusDefaultChild();
    } else {
        setCategoryMask(getCategoryMask() & ~uint32_t(CEvent::CategoryKeyboard));
        post(new CEventControlUnfocused(this));
    }
    updateFocusState();
}

void ControlNode::setEnabled(bool enabled) {
    m_enabled = enabled;
    updateEnabledState();
}

void ControlNode::setHovered(bool hovered) {
    if (hovered == m_hovered)
        return;
    const CRefPointer<ControlNode> self = CRefPointer<ControlNode>::share(this);
    m_hovered = hovered;
    if (hovered) {
        sendToParent(RouteSelfThenParents,
                     *CRefPointer<CEvent>(new CEventControlHover(nullptr, this)));
        post(new CEventControlHovered(this));
        if (m_focusOnHover)
            setFocused(true);
    } else {
        post(new CEventControlUnhovered(this));
    }
    updateHoverState();
}

void ControlNode::setPressed(bool pressed) {
    if (pressed == m_pressed)
        return;
    m_pressed = pressed;
    if (pressed)
        post(new CEventControlPressed(this));
    else
        post(new CEventControlReleased(this));
    updatePressState();
}

bool ControlNode::click() {
    if (m_clickPending)
        return false;
    m_clickPending = true;
    m_pressed = false;
    post(new CEventControlClickStarted(this));
    playPressState();
    return true;
}

void ControlNode::setPressMode(int32_t mode) {
    if (isPressMode(mode))
        m_pressMode = mode;
}

void ControlNode::setTemplateName(CNameId name) {
    m_templateName = name;
    applyTemplate();
}

void ControlNode::setNeighbourNames(CNameId left, CNameId right, CNameId down, CNameId up) {
    m_navLeft = left;
    m_navRight = right;
    m_navDown = down;
    m_navUp = up;
}

void ControlNode::focusDefaultChild() {
    const CRefPointer<CEvent> focus(new CEventControlFocus(nullptr, nullptr));
    BaseNode* child = m_defaultFocus != CNameId() ? findChild(m_defaultFocus, 1) : nullptr;
    if (child != nullptr && child->OnEvent(*focus))
        return;
    sendToChildren(RouteSelf, *focus);
}

// Visual state

void ControlNode::showVisualState(const char* name) {
    setChildrenState(CNameId(CString(name)), &resolveVisualState);
}

void ControlNode::playPressState() {
    showVisualState("Press");
}

void ControlNode::updatePressState() {
    if (m_pressed && !m_clickPending)
        showVisualState("Pressed");
}

void ControlNode::updateHoverState() {
    if (!m_enabled || m_clickPending)
        return;
    if (m_hovered)
        showVisualState(m_pressed ? "Pressed" : m_focused ? "FocusHover" : "NormalHover");
    else
        showVisualState(m_pressed   ? "KillPressed"
                        : m_focused ? "FocusKillHover"
                                    : "NormalKillHover");
}

void ControlNode::updateFocusState() {
    if (!m_enabled) {
        showVisualState(m_focused ? "FocusDisable" : "NormalDisable");
        return;
    }
    if (m_clickPending || m_pressed)
        return;
    if (m_focused)
        showVisualState(m_hovered ? "FocusHover" : "Focus");
    else
        showVisualState(m_hovered ? "NormalHover" : "KillFocus");
}

void ControlNode::updateEnabledState() {
    updateFocusState();
}

void ControlNode::refreshVisualState() {
    if (m_pressed)
        showVisualState("Pressed");
    else if (m_hovered)
        showVisualState(m_focused ? "FocusHover" : "NormalHover");
    else
        showVisualState(m_focused ? "FocusKillHover" : "NormalKillHover");
}

void ControlNode::setChildrenState(CNameId name, StateFallback fallback) {
    const bool rootCounts = m_templateRoot != nullptr && m_templateRoot->getChildCount() != 0;
    const uint32_t count = getChildCount() + (rootCounts ? 1 : 0);
    if (count == 0) {
        reportStateEvents(name, true);
        return;
    }
    const CRefPointer<ControlNode> self = CRefPointer<ControlNode>::share(this);
    OnEvent(*CRefPointer<CEvent>(new CEventNodeChildrenStateStarted(this, name)));
    setPendingChildrenCount(name, int32_t(count));
    if (rootCounts)
        m_templateRoot->setChildrenState(name, fallback);
    for (uint32_t i = 0; i < getChildCount(); ++i) {
        const CRefPointer<BaseNode> child = CRefPointer<BaseNode>::share(getChild(i));
        child->setState(name, fallback, CNameId());
    }
}

bool ControlNode::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    if (m_templateRoot != nullptr && event.getNode() == m_templateRoot) {
        OnEvent(*CRefPointer<CEvent>(
            new CEventNodeChildStateFinished(m_templateRoot, event.getStateName())));
        return true;
    }
    if (event.getNode() != this || !m_clickPending || event.getStateName() != pressState())
        return false;
    const CRefPointer<ControlNode> self = CRefPointer<ControlNode>::share(this);
    m_clickPending = false;
    refreshVisualState();
    const CRefPointer<CEvent> clicked(new CEventControlClick(this));
    if (!OnEvent(*clicked))
        sendToParent(RouteSelfThenParents, *clicked);
    return true;
}

void ControlNode::stopChildrenStates(bool report) {
    if (m_templateRoot != nullptr && m_templateRoot->getChildCount() != 0)
        m_templateRoot->stopCurrentState(report);
    BaseNode::stopChildrenStates(report);
}

// Hooks

bool ControlNode::OnHoverEvent(CEventControlHover& event) {
    BaseNode* gaining = event.getGaining();
    if (gaining == this) {
        setHovered(true);
    } else if (isAncestorOf(gaining)) {
        setHovered(true);
        sendToChildren(RouteSelf, *CRefPointer<CEvent>(new CEventControlUnhover(nullptr, gaining)));
    }
    return true;
}

bool ControlNode::OnUnhoverEvent(CEventControlUnhover& event) {
    if (event.getGaining() != this && (event.getLosing() == this || event.getLosing() == nullptr))
        setHovered(false);
    return false;
}

bool ControlNode::OnFocusEvent(CEventControlFocus& event) {
    BaseNode* gaining = event.getGaining();
    if (gaining == this || gaining == nullptr) {
        setFocused(true);
    } else if (isAncestorOf(gaining)) {
        m_focusedChild = CRefPointer<BaseNode>::share(gaining);
        setFocused(true);
        sendToChildren(RouteSelf, *CRefPointer<CEvent>(new CEventControlUnfocus(nullptr, gaining)));
    }
    return true;
}

bool ControlNode::OnUnfocusEvent(CEventControlUnfocus& event) {
    if (event.getGaining() != this && (event.getLosing() == this || event.getLosing() == nullptr))
        setFocused(false);
    return false;
}

bool ControlNode::OnPressEvent(CEventControlChange& event) {
    if (event.getGaining() == this)
        setPressed(true);
    return true;
}

bool ControlNode::OnReleaseEvent(CEventControlChange& event) {
    if (event.getGaining() != this && (event.getLosing() == this || event.getLosing() == nullptr))
        setPressed(false);
    return false;
}

bool ControlNode::OnClickEvent(CEventControlClick&) {
    post(new CEventControlClicked(this));
    return true;
}

bool ControlNode::isHit(const CEventInputMousePosition& event) {
    return findHitNode(CVector3d(float(event.getX()), float(event.getY()), 0)) != nullptr;
}

bool ControlNode::OnMouseMove(CEventInputMouseMove& event) {
    if (!m_hoverTrack)
        return false;
    const bool hit = isHit(event);
    setHovered(hit);
    return hit;
}

bool ControlNode::OnMouseButtonDown(CEventInputMouseLeftDown& event) {
    if (!m_enabled || !isHit(event))
        return false;
    if (m_pressMode != 2) {
        const CRefPointer<ControlNode> self = CRefPointer<ControlNode>::share(this);
        if (!m_clickPending)
            setPressed(true);
        setFocused(true);
        if (m_pressMode == 1 || m_pressMode == 3)
            click();
    }
    return true;
}

bool ControlNode::OnMouseButtonUp(CEventInputMouseLeftUp& event) {
    if (m_pressMode == 1)
        return false;
    if (!m_enabled || !isHit(event)) {
        setPressed(false);
        return false;
    }
    if (m_pressMode == 0) {
        if (m_pressed)
            click();
        return false;
    }
    const CRefPointer<ControlNode> self = CRefPointer<ControlNode>::share(this);
    setPressed(true);
    setFocused(true);
    click();
    return true;
}

bool ControlNode::OnKeyDown(CEventInputKeyDown& event) {
    ControlNode* focused = asControlNode(m_focusedChild.get());
    if (focused == nullptr)
        return false;
    CNameId neighbour;
    switch (event.getVirtualKey()) {
    case kKeyLeft:
        neighbour = focused->m_navLeft;
        break;
    case kKeyUp:
        neighbour = focused->m_navUp;
        break;
    case kKeyRight:
        neighbour = focused->m_navRight;
        break;
    case kKeyDown:
        neighbour = focused->m_navDown;
        break;
    default:
        return false;
    }
    if (neighbour == CNameId())
        return false;
    ControlNode* next = asControlNode(findChild(neighbour, 1));
    if (next == nullptr || !next->m_wantFocus)
        return false;
    next->setFocused(true);
    return true;
}

bool ControlNode::sendToChildren(int32_t mode, CEvent& event) {
    if ((!m_enabled || !isVisible()) && event.isKindOf(CEventInput::Id))
        return false;
    return BaseNode::sendToChildren(mode, event);
}

// Template

bool ControlNode::OnSceneManagerAttached(CEventNodeAttached&) {
    applyTemplate();
    return false;
}

bool ControlNode::OnTemplatesChanged(CEventNodeTemplatesChanged&) {
    applyTemplate();
    return false;
}

bool ControlNode::OnDictionaryChanged(CEvent&) {
    applyTemplate();
    return false;
}

void ControlNode::createTemplateRoot() {
    CRefPointer<ControlNode> root(new ControlNode(
        CContentKey(getContentManager(), CStringW(u"TemplateRoot")), nullptr, getSceneManager()));
    root->setInternal(true);
    // The attachment's reference is the control's; the creation reference goes with `root`.
    root->setParent(this);
    m_templateRoot = root.get();
}

void ControlNode::releaseTemplateRoot() {
    if (m_templateRoot == nullptr)
        return;
    ControlNode* root = m_templateRoot;
    m_templateRoot = nullptr;
    root->setParent(nullptr);
    root->release();
}

void ControlNode::applyTemplate() {
    SceneManager* manager = getSceneManager();
    TemplateCollectionNode* collection = manager ? manager->getTemplateCollection() : nullptr;
    if (collection == nullptr)
        return;
    const CRefPointer<ControlNode> self = CRefPointer<ControlNode>::share(this);
    if (m_templateRoot == nullptr)
        createTemplateRoot();
    const CRefPointer<ControlNode> root = CRefPointer<ControlNode>::share(m_templateRoot);
    collection->applyTemplate(m_templateName, root.get());
    root->updateAbsoluteTransform();
    root->updateAbsoluteColor();
    root->sendToChildren(RouteSelfThenChildren,
                         *CRefPointer<CEvent>(new CEventNodeTemplatesChanged(collection)));
}

// Drawing and transforms

void ControlNode::updateAbsoluteTransform() {
    BaseNode::updateAbsoluteTransform();
    if (m_templateRoot != nullptr)
        m_templateRoot->updateAbsoluteTransform();
}

void ControlNode::updateAbsoluteColor() {
    BaseNode::updateAbsoluteColor();
    if (m_templateRoot != nullptr)
        m_templateRoot->updateAbsoluteColor();
}

bool ControlNode::hitTest(const CVector3d& point) {
    return isVisible() && canBeHit() && m_templateRoot != nullptr &&
           m_templateRoot->findHitNode(point) != nullptr;
}

void ControlNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    if (isChildrenClipped()) {
        if (m_templateRoot != nullptr || getChildCount() != 0)
            list.append({this, getAbsoluteMatrix()[14], 0});
        return;
    }
    if (m_templateRoot != nullptr)
        m_templateRoot->collectDrawables(list);
    collectChildDrawables(list);
}

void ControlNode::render(IRenderDriver* driver, const CRect*) {
    if (!isChildrenClipped() || driver == nullptr)
        return;
    RenderList list;
    if (m_templateRoot != nullptr)
        m_templateRoot->collectDrawables(list);
    collectChildDrawables(list);
    if (list.size() == 0)
        return;
    const CRect clip = getClipRect();
    flushQuadBatch(*driver);
    for (const Drawable& entry : list)
        entry.node->render(driver, &clip);
    flushQuadBatch(*driver);
}

// Copying and properties

void ControlNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& control = static_cast<const ControlNode&>(source);
    m_enabled = control.m_enabled;
    m_pressMode = control.m_pressMode;
    m_wantFocus = control.m_wantFocus;
    m_hoverTrack = control.m_hoverTrack;
    m_focusOnHover = control.m_focusOnHover;
    m_defaultFocus = control.m_defaultFocus;
    m_navLeft = control.m_navLeft;
    m_navRight = control.m_navRight;
    m_navDown = control.m_navDown;
    m_navUp = control.m_navUp;
    m_templateName = control.m_templateName;
    releaseTemplateRoot();
    if (control.m_templateRoot != nullptr) {
        createTemplateRoot();
        m_templateRoot->copyChildrenAndStates(*control.m_templateRoot);
    }
}

void ControlNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    const struct {
        const char* key;
        CNameId value;
    } names[] = {{"DefaultFocusObjectName", m_defaultFocus},
                 {"NavLeftObjectName", m_navLeft},
                 {"NavRightObjectName", m_navRight},
                 {"NavDownObjectName", m_navDown},
                 {"NavUpObjectName", m_navUp},
                 {"TemplateName", m_templateName}};
    for (const auto& name : names) {
        if (name.value != CNameId())
            properties.addString(name.key, name.value.toString());
    }
    if (!m_enabled)
        properties.addBool("Enabled", false);
    if (m_pressMode != 0)
        properties.addInt("PressMode", m_pressMode);
    if (!m_wantFocus)
        properties.addBool("WantFocus", false);
    properties.addBool("IsFocusOnHover", m_focusOnHover);
    if (!m_hoverTrack)
        properties.addBool("HoverTrack", false);
}

void ControlNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "DefaultFocusObjectName", m_defaultFocus);
    loadPropertyIfPresent(properties, "NavLeftObjectName", m_navLeft);
    loadPropertyIfPresent(properties, "NavRightObjectName", m_navRight);
    loadPropertyIfPresent(properties, "NavDownObjectName", m_navDown);
    loadPropertyIfPresent(properties, "NavUpObjectName", m_navUp);
    loadPropertyIfPresent(properties, "WantFocus", m_wantFocus);
    loadPropertyIfPresent(properties, "IsFocusOnHover", m_focusOnHover);
    loadPropertyIfPresent(properties, "HoverTrack", m_hoverTrack);
    bool enabled = m_enabled;
    if (loadPropertyIfPresent(properties, "Enabled", enabled))
        setEnabled(enabled);
    const int32_t pressMode = properties.indexOf("PressMode");
    if (pressMode >= 0)
        setPressModeProperty(*this, properties.getValueAt(pressMode));
    CNameId templateName;
    if (loadPropertyIfPresent(properties, "TemplateName", templateName))
        setTemplateName(templateName);
}
