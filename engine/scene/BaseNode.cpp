#include "engine/scene/BaseNode.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/core/MathHelpers.h"
#include "engine/core/Properties.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/NodeTransform.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"

BaseNode::BaseNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : CContent(key), m_sceneManager(sceneManager) {
    setCategoryMask(getCategoryMask() | kCategoryMask);
    if (parent != nullptr)
        parent->appendChild(this);
}

BaseNode::~BaseNode() {
    removeAllChildren();
    m_currentState = nullptr;
    // States are released one by one, each unbound first: a state's destruction must not reach
    // back into a node that is going away.
    CMap<CNameId, CRefPointer<NodeState>> states = std::move(m_states);
    for (auto& entry : states)
        entry.value->setTarget(nullptr);
}

const PropertyTable& BaseNode::getPropertyTable() const {
    return classPropertyTable();
}

const PropertyTable& BaseNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        CReflectedObject::classPropertyTable(),
        {
            fieldProperty<&BaseNode::m_name>("Name"),
            fieldProperty<&BaseNode::m_visible>("Visible"),
            accessorProperty<&BaseNode::getPosition, &BaseNode::setPosition>("Position"),
            accessorProperty<&BaseNode::getRotation, &BaseNode::setRotation>("Rotation"),
            accessorProperty<&BaseNode::getScale, &BaseNode::setScale>("Scale"),
            accessorProperty<&BaseNode::getBounds, &BaseNode::setBounds>("Bounds"),
            accessorProperty<&BaseNode::getPivotPoint, &BaseNode::setPivotPoint>("PivotPoint"),
            accessorProperty<&BaseNode::getTintColor, &BaseNode::setTintColor>("TintColor"),
            fieldProperty<&BaseNode::m_defaultState>("DefaultState"),
            fieldProperty<&BaseNode::m_childrenClipped>("ChildrenClipped"),
            fieldProperty<&BaseNode::m_canBeHit>("CanBeHit"),
        });
    return table;
}

const EventMap& BaseNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&BaseNode::OnSceneManagerAttached>(),
        eventHook<&BaseNode::OnTemplatesChanged>(),
        eventHook<&BaseNode::OnDictionaryChanged, 41>(),
        eventHook<&BaseNode::OnEvent70, 70>(),
        eventHook<&BaseNode::OnActionFinished>(),
        eventHook<&BaseNode::OnStateStarted>(),
        eventHook<&BaseNode::OnStateFinished>(),
        eventHook<&BaseNode::OnChildStateFinished>(),
        eventHook<&BaseNode::OnChildrenStateFinished>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

CRefPointer<BaseNode> BaseNode::clone(BaseNode* newParent, SceneManager* sceneManager) const {
    return cloneNodeAs<BaseNode>(*this, newParent, sceneManager);
}

const CStringW& BaseNode::getTypeName() const {
    static const CStringW name(kTypeName);
    return name;
}

const CStringW& BaseNode::getClassName() const {
    static const CStringW name(kTypeName);
    return name;
}

bool BaseNode::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

CRefPointer<CContent> BaseNode::makeCopy() const {
    return clone(nullptr, nullptr);
}

uint32_t BaseNode::getContentType() const {
    return contentType("snod");
}

// Tree

void BaseNode::appendChild(BaseNode* child) {
    attachChild(child, true, nullptr);
}

void BaseNode::addChild(BaseNode* child, BaseNode* afterSibling) {
    attachChild(child, false, afterSibling);
}

void BaseNode::attachChild(BaseNode* child, bool atEnd, BaseNode* afterSibling) {
    // A node under itself would make the tree a loop that every walk follows for ever.
    if (child == nullptr || child == this || child->isAncestorOf(this))
        return;
    child->addRef();
    if (child->m_parent != nullptr)
        child->m_parent->removeChild(child);
    if (!child->m_internal) {
        uint32_t index = atEnd || afterSibling != nullptr ? m_children.size() : 0;
        for (uint32_t i = 0; !atEnd && afterSibling != nullptr && i < m_children.size(); ++i) {
            if (m_children[i] == afterSibling)
                index = i + 1;
        }
        m_children.insert(child, index);
    }
    child->m_parent = this;
    child->setScene(m_sceneManager, m_scene);
}

bool BaseNode::removeChild(BaseNode* child) {
    for (uint32_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i] == child) {
            m_children.eraseAt(i);
            child->m_parent = nullptr;
            child->setScene(nullptr, nullptr);
            child->release();
            return true;
        }
    }
    return false;
}

void BaseNode::removeAllChildren() {
    const CArray<BaseNode*> children = std::move(m_children);
    for (BaseNode* child : children) {
        child->m_parent = nullptr;
        child->setScene(nullptr, nullptr);
        child->release();
    }
}

void BaseNode::swapChildren(uint32_t first, uint32_t second) {
    if (first >= m_children.size() || second >= m_children.size())
        return;
    BaseNode* const moved = m_children[first];
    m_children[first] = m_children[second];
    m_children[second] = moved;
}

void BaseNode::setParent(BaseNode* newParent) {
    if (newParent != nullptr)
        newParent->appendChild(this);
    else if (m_parent != nullptr && !m_parent->removeChild(this))
        m_parent = nullptr; // an internal node is not among its parent's children
}

bool BaseNode::isAncestorOf(const BaseNode* node) const {
    for (const BaseNode* up = node != nullptr ? node->m_parent : nullptr; up != nullptr;
         up = up->m_parent) {
        if (up == this)
            return true;
    }
    return false;
}

BaseNode* BaseNode::findChild(CNameId name, int32_t depth) const {
    for (BaseNode* child : m_children) {
        if (child->m_name == name)
            return child;
    }
    if (depth == 1 || depth < -1)
        return nullptr;
    const int32_t below = depth > 1 ? depth - 1 : depth;
    for (BaseNode* child : m_children) {
        if (BaseNode* found = child->findChild(name, below))
            return found;
    }
    return nullptr;
}

void BaseNode::setScene(SceneManager* sceneManager, SceneNode* scene) {
    m_sceneManager = sceneManager;
    m_scene = scene;
    if (scene != nullptr)
        enterDefaultState();
    // By index with the bound read each time: a default state may change the children.
    for (uint32_t i = 0; i < m_children.size(); ++i) {
        const CRefPointer<BaseNode> child = CRefPointer<BaseNode>::share(m_children[i]);
        child->setScene(sceneManager, scene);
    }
}

// Transform and colour

void BaseNode::setPosition(const CVector3d& position) {
    m_position = position;
    m_transformDirty = true;
}

void BaseNode::setRotation(const CVector3d& degrees) {
    m_rotation = degrees;
    m_transformDirty = true;
}

void BaseNode::setScale(const CVector3d& scale) {
    m_scale = scale;
    m_transformDirty = true;
}

void BaseNode::setBounds(const CVector3d& bounds) {
    m_bounds = bounds;
    m_transformDirty = true;
}

void BaseNode::setPivotPoint(const CVector2d& pivot) {
    m_pivot = pivot;
    m_transformDirty = true;
}

void BaseNode::setTintColor(CColor color) {
    m_tintColor = color;
    m_colorDirty = true;
}

void BaseNode::updateAbsoluteTransform() {
    const CMatrix4 relative = makeRelativeNodeMatrix(m_position, m_rotation, m_scale, m_pivot);
    if (m_parent == nullptr)
        m_absoluteMatrix = relative;
    else
        composeNodeMatrix(m_parent->m_absoluteMatrix, relative, m_absoluteMatrix);
    for (BaseNode* child : m_children)
        child->updateAbsoluteTransform();
    m_transformDirty = false;
}

void BaseNode::updateAbsoluteColor() {
    m_absoluteColor =
        m_parent == nullptr ? m_tintColor : m_parent->m_absoluteColor.modulate(m_tintColor);
    for (BaseNode* child : m_children)
        child->updateAbsoluteColor();
    m_colorDirty = false;
}

// Hit testing

bool BaseNode::isPointInside(const CVector3d& point) const {
    CVector3d local = point;
    CMatrix4 inverse;
    if (m_absoluteMatrix.getInverse(inverse))
        inverse.transformPoint(local);
    return local.x > 0 && local.x < m_bounds.x && local.y > 0 && local.y < m_bounds.y;
}

bool BaseNode::hitTest(const CVector3d&) {
    return false;
}

BaseNode* BaseNode::findHitNode(const CVector3d& point) {
    if (!m_visible || !m_canBeHit)
        return nullptr;
    if (hitTest(point))
        return this;
    for (BaseNode* child : m_children) {
        if (!child->m_visible || !child->m_canBeHit)
            continue;
        if (BaseNode* hit = child->findHitNode(point))
            return hit;
    }
    return nullptr;
}

BaseNode* BaseNode::findTopmostHitChild(const CVector3d& point) {
    for (uint32_t i = m_children.size(); i > 0; --i) {
        if (m_children[i - 1]->findHitNode(point) != nullptr)
            return m_children[i - 1];
    }
    return nullptr;
}

// Drawing

bool BaseNode::prepareToDraw() {
    if (!m_visible)
        return false;
    if (m_transformDirty)
        updateAbsoluteTransform();
    if (m_colorDirty)
        updateAbsoluteColor();
    return true;
}

void BaseNode::collectOwnAndChildDrawables(RenderList& list, uint32_t sortKey) {
    if (!prepareToDraw())
        return;
    list.append({this, m_absoluteMatrix[14], sortKey});
    collectChildDrawables(list);
}

void BaseNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    if (m_childrenClipped) {
        if (m_children.size() != 0)
            list.append({this, m_absoluteMatrix[14], 0});
        return;
    }
    collectChildDrawables(list);
}

void BaseNode::collectChildDrawables(RenderList& list) {
    for (BaseNode* child : m_children)
        child->collectDrawables(list);
}

CRect BaseNode::getClipRect() const {
    CVector3d first(0, 0, 0);
    CVector3d second = m_bounds;
    m_absoluteMatrix.transformPoint(first);
    m_absoluteMatrix.transformPoint(second);
    return CRect(std::min(first.x, second.x), std::min(first.y, second.y),
                 std::max(first.x, second.x), std::max(first.y, second.y));
}

void BaseNode::flushQuadBatch(IRenderDriver& driver) {
    if (CQuadBatcher* batcher = driver.getQuadBatcher())
        batcher->flush();
}

void BaseNode::render(IRenderDriver* driver, const CRect*) {
    if (!m_childrenClipped || driver == nullptr)
        return;
    RenderList list;
    collectChildDrawables(list);
    if (m_sceneManager != nullptr && m_sceneManager->isDepthSortEnabled() && list.size() > 1)
        sortRenderList(list);
    if (list.size() == 0)
        return;
    const CRect clip = getClipRect();
    // What was drawn before stays unclipped, and the children's quads are drawn while the
    // scissor is on.
    flushQuadBatch(*driver);
    driver->setScissorRect({truncateToInt(clip.left), truncateToInt(clip.top),
                            truncateToInt(clip.right), truncateToInt(clip.bottom)});
    driver->enableScissor(true);
    for (const Drawable& entry : list)
        entry.node->render(driver, nullptr);
    flushQuadBatch(*driver);
    driver->enableScissor(false);
}

// States

void BaseNode::addState(NodeState* state) {
    if (state == nullptr || m_states.find(state->getName()) != m_states.end())
        return;
    state->setTarget(this);
    m_states.insert(state->getName(), CRefPointer<NodeState>::share(state));
}

NodeState* BaseNode::findState(CNameId name) const {
    const auto found = m_states.find(name);
    return found != m_states.end() ? found->value.get() : nullptr;
}

void BaseNode::stopState(CNameId name, bool report) {
    if (NodeState* state = findState(name))
        state->stop(report);
}

void BaseNode::stopAllStates(bool report) {
    // A stop's events may change the map, so the states are gathered first.
    CArray<CRefPointer<NodeState>> states;
    for (const auto& entry : m_states)
        states.append(entry.value);
    for (const CRefPointer<NodeState>& state : states)
        state->stop(report);
}

void BaseNode::stopCurrentState(bool report) {
    NodeState* stopped = m_currentState;
    if (stopped == nullptr)
        return;
    stopped->stop(report);
    if (m_currentState == stopped)
        m_currentState = nullptr;
}

void BaseNode::removeAllStates() {
    m_currentState = nullptr;
    const CMap<CNameId, CRefPointer<NodeState>> states = std::move(m_states);
}

void BaseNode::enterDefaultState() {
    if (m_defaultState == CNameId())
        return;
    stopCurrentState(false);
    setState(m_defaultState, nullptr, CNameId());
}

IScheduler* BaseNode::getSceneClock() const {
    return m_scene != nullptr ? m_scene->getClock() : nullptr;
}

void BaseNode::setState(CNameId name, StateFallback fallback, CNameId reportedName) {
    if (name == CNameId())
        return;
    if (reportedName == CNameId())
        reportedName = name;
    if (NodeState* state = findState(name)) {
        const CRefPointer<NodeState> entered = CRefPointer<NodeState>::share(state);
        stopCurrentState(false);
        m_currentState = state;
        state->start(getSceneClock(), reportedName);
        return;
    }
    if (fallback != nullptr) {
        const CNameId replacement = fallback(name);
        if (replacement != CNameId()) {
            setState(replacement, fallback, reportedName);
            return;
        }
    }
    reportStateEvents(reportedName, false);
}

void BaseNode::setChildrenState(CNameId name, StateFallback fallback) {
    if (m_children.size() == 0) {
        reportStateEvents(name, true);
        return;
    }
    const CRefPointer<BaseNode> self = CRefPointer<BaseNode>::share(this);
    OnEvent(*m_childrenStarted.make(this, name));
    setPendingChildrenCount(name, int32_t(m_children.size()));
    for (uint32_t i = 0; i < m_children.size(); ++i) {
        const CRefPointer<BaseNode> child = CRefPointer<BaseNode>::share(m_children[i]);
        child->setState(name, fallback, CNameId());
    }
}

void BaseNode::stopChildrenStates(bool report) {
    for (uint32_t i = 0; i < m_children.size(); ++i) {
        const CRefPointer<BaseNode> child = CRefPointer<BaseNode>::share(m_children[i]);
        // A reported stop may chain into the next state, which then stays current.
        child->stopCurrentState(report);
    }
}

bool BaseNode::OnStateFinished(CEventNodeStateFinished& event) {
    if (event.getState() == nullptr || event.getState() != m_currentState)
        return false;
    const CRefPointer<BaseNode> self = CRefPointer<BaseNode>::share(this);
    const CRefPointer<NodeState> state = CRefPointer<NodeState>::share(event.getState());
    const bool handled = sendToParent(RouteSelf, *m_childFinished.make(this, event.getStateName()));
    if (getRefCount() > 1 && !handled && !event.isInterrupted() &&
        state->getNextState() != CNameId())
        setState(state->getNextState(), nullptr, CNameId());
    return false;
}

bool BaseNode::OnChildStateFinished(CEventNodeChildStateFinished& event) {
    if (event.getNode() == nullptr || event.getNode()->m_parent != this)
        return false;
    PendingChildren* pending = nullptr;
    for (PendingChildren& entry : m_pendingChildren) {
        if (entry.name == event.getStateName()) {
            pending = &entry;
            break;
        }
    }
    if (pending == nullptr || pending->count <= 0 || --pending->count > 0)
        return false;
    const CRefPointer<BaseNode> self = CRefPointer<BaseNode>::share(this);
    const CRefPointer<CEventNodeChildrenStateFinished> finished =
        m_childrenFinished.make(this, event.getStateName());
    if (!OnEvent(*finished))
        sendToParent(RouteSelf, *finished);
    return false;
}

void BaseNode::setPendingChildrenCount(CNameId name, int32_t count) {
    PendingChildren* free = nullptr;
    for (PendingChildren& entry : m_pendingChildren) {
        if (entry.name == name) {
            entry.count = count;
            return;
        }
        if (entry.count <= 0 && free == nullptr)
            free = &entry;
    }
    if (free != nullptr)
        *free = {name, count};
    else
        m_pendingChildren.append({name, count});
}

void BaseNode::reportStateEvents(CNameId stateName, bool toItself) {
    const CRefPointer<BaseNode> self = CRefPointer<BaseNode>::share(this);
    if (toItself) {
        OnEvent(*m_childrenStarted.make(this, stateName));
        // Unhandled, it goes to the parent, as when children finish one by one.
        const CRefPointer<CEventNodeChildrenStateFinished> finished =
            m_childrenFinished.make(this, stateName);
        if (!OnEvent(*finished))
            sendToParent(RouteSelf, *finished);
    } else {
        sendToParent(RouteSelf, *m_childStarted.make(this, stateName));
        sendToParent(RouteSelf, *m_childFinished.make(this, stateName));
    }
}

// Events

void BaseNode::postEvent(CEventReceiver* receiver, int32_t mode, CEvent& event) {
    if (m_sceneManager != nullptr && receiver != nullptr && takesCategory(*receiver, event))
        m_sceneManager->postEvent(receiver, mode, event);
}

void BaseNode::postEventToParent(int32_t mode, CEvent& event) {
    if (m_parent != nullptr)
        postEvent(m_parent, mode, event);
}

bool BaseNode::sendToParent(int32_t mode, CEvent& event) {
    if (m_parent == nullptr || !takesCategory(*m_parent, event))
        return false;
    const CRefPointer<BaseNode> parent = CRefPointer<BaseNode>::share(m_parent);
    return parent->deliver(mode, event);
}

bool BaseNode::sendToChildren(int32_t mode, CEvent& event) {
    uint32_t i = m_children.size();
    while (i > 0) {
        const CRefPointer<BaseNode> child = CRefPointer<BaseNode>::share(m_children[i - 1]);
        if (takesCategory(*child, event) && child->deliver(mode, event))
            return true;
        i = positionAfterDelivery(child.get(), i - 1);
    }
    return false;
}

// Where a walk from the last child to the first goes on after the child at index was offered
// an event: just below that child, wherever a handler moved it; when the child has left, at
// the same place in the shorter list.
uint32_t BaseNode::positionAfterDelivery(const BaseNode* child, uint32_t index) const {
    if (index < m_children.size() && m_children[index] == child)
        return index;
    for (uint32_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i] == child)
            return i;
    }
    return std::min(index, m_children.size());
}

// Properties

void BaseNode::saveProperties(CProperties& properties) const {
    if (m_name != CNameId())
        properties.addString("Name", m_name.toString());
    if (!m_position.equals(CVector3d(0, 0, 0), kTolerance))
        properties.addVector3d("Position", m_position);
    if (!m_rotation.equals(CVector3d(0, 0, 0), kTolerance))
        properties.addVector3d("Rotation", m_rotation);
    if (!m_scale.equals(CVector3d(1, 1, 1), kTolerance))
        properties.addVector3d("Scale", m_scale);
    if (!m_bounds.equals(CVector3d(100, 100, 0), kTolerance))
        properties.addVector3d("Bounds", m_bounds);
    if (m_pivot.x != 0 || m_pivot.y != 0)
        properties.addVector2d("PivotPoint", m_pivot);
    if (m_tintColor.value != 0xFFFFFFFFu)
        properties.addColor("TintColor", m_tintColor);
    if (!m_visible)
        properties.addBool("Visible", false);
    if (m_defaultState != CNameId())
        properties.addString("DefaultState", m_defaultState.toString());
    if (m_childrenClipped)
        properties.addBool("ChildrenClipped", true);
    if (!m_canBeHit)
        properties.addBool("CanBeHit", false);
}

void BaseNode::loadProperties(const CProperties& properties) {
    loadPropertyIfPresent(properties, "Name", m_name);
    bool transformChanged = loadPropertyIfPresent(properties, "Position", m_position);
    transformChanged |= loadPropertyIfPresent(properties, "Rotation", m_rotation);
    transformChanged |= loadPropertyIfPresent(properties, "Scale", m_scale);
    transformChanged |= loadPropertyIfPresent(properties, "Bounds", m_bounds);
    transformChanged |= loadPropertyIfPresent(properties, "PivotPoint", m_pivot);
    m_transformDirty |= transformChanged;
    m_colorDirty |= loadPropertyIfPresent(properties, "TintColor", m_tintColor);
    loadPropertyIfPresent(properties, "Visible", m_visible);
    loadPropertyIfPresent(properties, "DefaultState", m_defaultState);
    loadPropertyIfPresent(properties, "CanBeHit", m_canBeHit);
    loadPropertyIfPresent(properties, "ChildrenClipped", m_childrenClipped);
}

// Copying

void BaseNode::cloneMembers(const BaseNode& source, SceneManager*) {
    m_name = source.m_name;
    m_absoluteMatrix = source.m_absoluteMatrix;
    m_position = source.m_position;
    m_rotation = source.m_rotation;
    m_scale = source.m_scale;
    m_bounds = source.m_bounds;
    m_pivot = source.m_pivot;
    m_tintColor = source.m_tintColor;
    m_visible = source.m_visible;
    m_canBeHit = source.m_canBeHit;
    m_childrenClipped = source.m_childrenClipped;
    m_defaultState = source.m_defaultState;
    copyChildrenAndStates(source);
}

void BaseNode::copyChildrenAndStates(const BaseNode& source) {
    for (BaseNode* child : source.m_children) {
        // A node made internal once among the children (a spawned one) is its maker's.
        if (!child->m_internal)
            child->clone(this, m_sceneManager);
    }
    for (const auto& entry : source.m_states) {
        const CRefPointer<NodeState> copy = entry.value->clone(this, m_sceneManager);
        addState(copy.get());
    }
    if (m_defaultState != CNameId()) {
        stopCurrentState(false);
        setState(m_defaultState, nullptr, CNameId());
    }
}
