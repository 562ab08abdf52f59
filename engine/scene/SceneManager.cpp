#include "engine/scene/SceneManager.h"

#include <utility>

#include "engine/core/Engine.h"
#include "engine/core/ICursorControl.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/MessageBoxBaseNode.h"
#include "engine/scene/SceneEvents.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"

namespace {

CNameId stateOrDefault(CNameId name, const char* fallback) {
    return name != CNameId() ? name : CNameId(CString(fallback));
}

SceneNode* asScene(BaseNode* node) {
    return node != nullptr && node->isKindOf(SceneNode::kTypeId) ? static_cast<SceneNode*>(node)
                                                                 : nullptr;
}

bool isMessageBox(const SceneNode* scene) {
    return scene != nullptr && scene->isKindOf(MessageBoxBaseNode::kTypeId);
}

} // namespace

SceneManager::SceneManager(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setCategoryMask(getCategoryMask() | CEvent::CategoryKeyboard | CEvent::CategoryMouse |
                    CEvent::CategoryNode);
    setInterval(0);
}

SceneManager::~SceneManager() {
    // Queued events are dropped undelivered.
    const CArray<QueuedEvent> queue = std::move(m_queue);
    breakPreviousLinks();
    m_transitions.clear();
    m_currentScene.reset();
    for (uint32_t i = 0; i < getChildCount(); ++i)
        listForRemoval(getChild(i));
    removeClosedScenes();
    removeAllChildren();
    m_templateCollection.reset();
    while (m_sceneClocks.size() != 0)
        releaseClock(m_sceneClocks.begin()->key);
}

void SceneManager::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId))
        m_engine = static_cast<const SceneManager&>(source).m_engine;
}

// Event queue

void SceneManager::postEvent(CEventReceiver* receiver, int32_t mode, CEvent& event) {
    if (receiver == nullptr)
        return;
    // An event for the manager itself waits without holding it: it would keep the manager
    // alive while it waits, and for ever when nothing ticks the manager again.
    QueuedEvent entry{receiver == this ? nullptr : CRefPointer<CEventReceiver>::share(receiver),
                      mode, CRefPointer<CEvent>::share(&event)};
    m_queue.insert(std::move(entry), m_dispatching ? m_queueHead : m_queue.size());
}

bool SceneManager::OnUpdate(uint32_t) {
    const CRefPointer<SceneManager> self = CRefPointer<SceneManager>::share(this);
    deliverQueue();
    removeClosedScenes();
    return true;
}

void SceneManager::deliverQueue() {
    if (m_dispatching)
        return;
    m_dispatching = true;
    m_queueHead = 0;
    while (m_queueHead < m_queue.size()) {
        const QueuedEvent entry = std::move(m_queue[m_queueHead]);
        ++m_queueHead;
        CEventReceiver* receiver = entry.receiver ? entry.receiver.get() : this;
        receiver->deliver(entry.mode, *entry.event);
    }
    m_queue.truncate(0);
    m_queueHead = 0;
    m_dispatching = false;
}

// Scenes

void SceneManager::setTemplateCollection(TemplateCollectionNode* collection) {
    m_templateCollection = CRefPointer<TemplateCollectionNode>::share(collection);
    if (collection != nullptr)
        sendToChildren(RouteChildrenThenSelf,
                       *CRefPointer<CEvent>(new CEventNodeTemplatesChanged(collection)));
}

int32_t SceneManager::findTransition(const SceneNode* scene) const {
    for (uint32_t i = 0; i < m_transitions.size(); ++i) {
        if (m_transitions[i].leaving == scene || m_transitions[i].arriving == scene)
            return int32_t(i);
    }
    return -1;
}

bool SceneManager::isBusy(const SceneNode* scene) const {
    return scene != nullptr && findTransition(scene) >= 0;
}

void SceneManager::addTransition(const SceneTransition& transition) {
    m_transitions.append(transition);
}

bool SceneManager::isOpen(const SceneNode* scene) const {
    for (uint32_t i = 0; i < getChildCount(); ++i) {
        if (getChild(i) == scene)
            return true;
    }
    return false;
}

void SceneManager::listForRemoval(BaseNode* node) {
    m_removals.append(CRefPointer<BaseNode>::share(node));
}

void SceneManager::giveClock(SceneNode* scene) {
    releaseClock(scene);
    CRefPointer<CScheduler> clock = m_engine != nullptr ? m_engine->createScheduler()
                                                        : CRefPointer<CScheduler>(new CScheduler());
    if (m_engine != nullptr)
        m_engine->addReceiver(clock.get(), 1000);
    scene->setClock(clock.get());
    m_sceneClocks.insert(scene, std::move(clock));
}

void SceneManager::releaseClock(SceneNode* scene) {
    const auto found = m_sceneClocks.find(scene);
    if (found == m_sceneClocks.end())
        return;
    const CRefPointer<CScheduler> clock = std::move(found->value);
    m_sceneClocks.erase(scene);
    if (m_engine != nullptr)
        m_engine->removeReceiver(clock.get());
    if (scene->getClock() == clock.get())
        scene->setClock(nullptr);
}

void SceneManager::attachScene(SceneNode* scene) {
    // A scene opened again before its removal stays.
    for (uint32_t i = 0; i < m_removals.size(); ++i) {
        if (m_removals[i] == scene)
            m_removals.eraseAt(i--);
    }
    scene->setFocused(false);
    scene->setScene(this, scene);
    const CRefPointer<CEvent> attached(new CEventNodeAttached(this));
    scene->deliver(RouteSelfThenChildren, *attached);
}

void SceneManager::announceSwitch(SceneNode* scene, SceneNode* from, SceneNode* to,
                                  int32_t forward) {
    scene->OnEvent(*CRefPointer<CEvent>(new CEventSceneSwitch(from, to, forward)));
    scene->deliver(RouteSelfThenParents,
                   *CRefPointer<CEvent>(new CEventSceneSwitchStarted(from, to, forward)));
}

bool SceneManager::openScene(SceneNode* scene, CNameId enterState) {
    if (isBusy(scene))
        return false;
    const CRefPointer<SceneManager> self = CRefPointer<SceneManager>::share(this);
    const CRefPointer<SceneNode> held = CRefPointer<SceneNode>::share(scene);
    for (uint32_t i = 0; i < getChildCount(); ++i) {
        const CRefPointer<BaseNode> open = CRefPointer<BaseNode>::share(getChild(i));
        listForRemoval(open.get());
        if (SceneNode* closing = asScene(open.get())) {
            closing->OnEvent(*CRefPointer<CEvent>(new CEventSceneSwitch(closing, nullptr, 1)));
            closing->OnEvent(
                *CRefPointer<CEvent>(new CEventSceneSwitchStarted(closing, nullptr, 1)));
        }
    }
    m_transitions.clear();
    m_currentScene.reset();
    if (scene == nullptr)
        return true;
    enterState = stateOrDefault(enterState, "NavTo");
    giveClock(scene);
    appendChild(scene);
    attachScene(scene);
    announceSwitch(scene, nullptr, scene, 1);
    m_currentScene = held;
    addTransition({nullptr, CNameId(), held, enterState, 1, 0});
    scene->setChildrenState(enterState, nullptr);
    return true;
}

void SceneManager::completeTransitionOf(SceneNode* scene) {
    int32_t index = findTransition(scene);
    if (index < 0)
        return;
    const SceneTransition first = m_transitions[uint32_t(index)];
    scene->stopChildrenState(first.leaving == scene ? first.leaveState : first.enterState);
    index = findTransition(scene);
    if (index < 0)
        return;
    const SceneTransition second = m_transitions[uint32_t(index)];
    if (second.arriving == scene && second.leaving)
        second.leaving->stopChildrenState(second.leaveState);
}

bool SceneManager::switchScene(SceneNode* from, SceneNode* to, CNameId leaveState,
                               CNameId enterState, bool keepVisible) {
    if (to == nullptr || to == from || isBusy(to))
        return false;
    if (from == nullptr && getChildCount() == 0)
        return openScene(to, enterState);
    const CRefPointer<SceneManager> self = CRefPointer<SceneManager>::share(this);
    const CRefPointer<SceneNode> heldFrom = CRefPointer<SceneNode>::share(from);
    const CRefPointer<SceneNode> heldTo = CRefPointer<SceneNode>::share(to);
    leaveState = stateOrDefault(leaveState, "NavFrom");
    enterState = stateOrDefault(enterState, "NavTo");
    if (from != nullptr) {
        completeTransitionOf(from);
        from->setFocused(false);
        announceSwitch(from, from, to, 1);
    }
    giveClock(to);
    to->setPreviousScene(from);
    if (from != nullptr && from->getParent() != nullptr)
        from->getParent()->addChild(to, from);
    else
        appendChild(to);
    attachScene(to);
    announceSwitch(to, from, to, 1);
    if (from != nullptr)
        m_currentScene = heldTo;
    const SceneTransition transition{heldFrom,   leaveState, heldTo,
                                     enterState, 1,          uint8_t(keepVisible ? 1 : 0)};
    addTransition(transition);
    if (from != nullptr) {
        addTransition(transition);
        from->setChildrenState(leaveState, nullptr);
    }
    to->setChildrenState(enterState, nullptr);
    return true;
}

bool SceneManager::navigateBack(SceneNode* from, SceneNode* to, CNameId leaveState,
                                CNameId enterState) {
    if (from == nullptr || to == nullptr || isBusy(from) || isBusy(to) ||
        SceneNode::findOnChain(from->getPreviousScene(),
                               [to](const SceneNode* scene) { return scene == to; }) == nullptr)
        return false;
    const CRefPointer<SceneManager> self = CRefPointer<SceneManager>::share(this);
    const CRefPointer<SceneNode> heldFrom = CRefPointer<SceneNode>::share(from);
    const CRefPointer<SceneNode> heldTo = CRefPointer<SceneNode>::share(to);
    leaveState = stateOrDefault(leaveState, "NavBackFrom");
    enterState = stateOrDefault(enterState, "NavBackTo");
    for (SceneNode* between = from->getPreviousScene(); between != to;
         between = between->getPreviousScene())
        listForRemoval(between);
    from->setPreviousScene(to);
    from->setFocused(false);
    to->setFocused(false);
    to->setVisible(true);
    if (to->getClock() != nullptr)
        to->getClock()->setEnabled(true);
    const bool box = isMessageBox(from);
    if (!box) {
        announceSwitch(from, from, to, 0);
        announceSwitch(to, from, to, 0);
    }
    m_currentScene = heldTo;
    const SceneTransition transition{heldFrom, leaveState, heldTo, enterState, 0, 0};
    addTransition(transition);
    if (!box)
        addTransition(transition);
    from->setChildrenState(leaveState, nullptr);
    if (!box)
        to->setChildrenState(enterState, nullptr);
    return true;
}

MessageBoxBaseNode* SceneManager::showMessageBox(SceneNode* scene, CNameId templateName,
                                                 const CArray<CStringW>& buttonTexts,
                                                 const CStringW& title, const CStringW& body) {
    const BaseNode* pattern =
        m_templateCollection ? m_templateCollection->getTemplate(templateName) : nullptr;
    if (scene == nullptr || isBusy(scene) || pattern == nullptr)
        return nullptr;
    const CRefPointer<SceneManager> self = CRefPointer<SceneManager>::share(this);
    const CRefPointer<SceneNode> heldScene = CRefPointer<SceneNode>::share(scene);
    const CRefPointer<MessageBoxBaseNode> box = MessageBoxBaseNode::create();
    box->setBounds(pattern->getBounds());
    box->setTemplateName(templateName);
    box->setButtonTexts(buttonTexts);
    box->setTitleText(title);
    box->setBodyText(body);
    const CVector3d& at = scene->getPosition();
    const CVector3d& size = scene->getBounds();
    const CVector3d& boxSize = box->getBounds();
    box->setPosition({at.x + (size.x - boxSize.x) / 2, at.y + (size.y - boxSize.y) / 2, at.z});
    scene->setFocused(false);
    giveClock(box.get());
    box->setPreviousScene(scene);
    if (scene->getParent() != nullptr)
        scene->getParent()->addChild(box.get(), scene);
    else
        appendChild(box.get());
    attachScene(box.get());
    m_currentScene = box;
    const CNameId enterState = stateOrDefault(CNameId(), "NavTo");
    addTransition({heldScene, CNameId(), box, enterState, 1, 1});
    box->setChildrenState(enterState, nullptr);
    return box.get();
}

bool SceneManager::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    SceneNode* scene = asScene(event.getNode());
    if (scene == nullptr || scene->getSceneManager() != this)
        return false;
    const int32_t index = findTransition(scene);
    if (index < 0)
        return false;
    const CRefPointer<SceneManager> self = CRefPointer<SceneManager>::share(this);
    const SceneTransition transition = m_transitions[uint32_t(index)];
    if (transition.arriving == scene && event.getStateName() == transition.enterState) {
        m_transitions.eraseAtUnordered(uint32_t(index));
        finishArrival(scene, transition);
    } else if (transition.leaving == scene && event.getStateName() == transition.leaveState) {
        m_transitions.eraseAtUnordered(uint32_t(index));
        finishDeparture(scene, transition);
    }
    return false;
}

void SceneManager::queueSwitchFinished(SceneNode* scene, const SceneTransition& transition) {
    const int32_t flags = transition.forward | transition.keepVisible << 8;
    postEvent(scene, RouteSelfThenParents,
              *CRefPointer<CEvent>(new CEventSceneSwitchFinished(
                  transition.leaving.get(), transition.arriving.get(), flags)));
}

void SceneManager::finishArrival(SceneNode* scene, const SceneTransition& transition) {
    queueSwitchFinished(scene, transition);
    scene->setFocused(true);
    ICursorControl* cursor = m_engine != nullptr ? m_engine->getCursorControl() : nullptr;
    if (cursor != nullptr) {
        const ICursorControl::Point point = cursor->getPosition();
        postEvent(scene, RouteChildrenThenSelf,
                  *CRefPointer<CEvent>(new CEventInputMouseMove(point.x, point.y)));
    }
}

void SceneManager::finishDeparture(SceneNode* scene, const SceneTransition& transition) {
    if (isMessageBox(scene)) {
        const int32_t result = static_cast<MessageBoxBaseNode*>(scene)->getResult();
        postEvent(transition.arriving.get(), RouteSelf,
                  *CRefPointer<CEvent>(new CEventMessageBoxResult(result)));
    } else {
        queueSwitchFinished(scene, transition);
    }
    if (transition.forward == 0) {
        listForRemoval(scene);
        return;
    }
    if (transition.keepVisible != 0)
        return;
    SceneNode::findOnChain(scene, [](SceneNode* earlier) {
        earlier->setVisible(false);
        if (earlier->getClock() != nullptr)
            earlier->getClock()->setEnabled(false);
        return false;
    });
}

void SceneManager::removeClosedScenes() {
    const CArray<CRefPointer<BaseNode>> removals = std::move(m_removals);
    for (const CRefPointer<BaseNode>& node : removals) {
        if (SceneNode* scene = asScene(node.get()))
            releaseClock(scene);
        removeChild(node.get());
    }
}

void SceneManager::breakPreviousLinks() {
    CArray<CRefPointer<SceneNode>> linked;
    for (uint32_t i = 0; i < getChildCount(); ++i) {
        SceneNode::findOnChain(asScene(getChild(i)), [&linked](SceneNode* scene) {
            for (const CRefPointer<SceneNode>& known : linked) {
                if (known == scene)
                    return true;
            }
            linked.append(CRefPointer<SceneNode>::share(scene));
            return false;
        });
    }
    for (const CRefPointer<SceneNode>& scene : linked)
        scene->setPreviousScene(nullptr);
}

// Routing

bool SceneManager::sendToParent(int32_t mode, CEvent& event) {
    if (getParent() == nullptr || !takesCategory(*getParent(), event))
        return true;
    return BaseNode::sendToParent(mode, event);
}

bool SceneManager::sendToChildren(int32_t mode, CEvent& event) {
    if (event.isKindOf(CEventInput::Id)) {
        const CRefPointer<SceneNode> scene = m_currentScene;
        if (!scene || !isOpen(scene.get()) || isBusy(scene.get()))
            return false;
        return scene->sendToChildren(RouteChildrenThenSelf, event) || scene->OnEvent(event);
    }
    const uint32_t id = event.getTypeId();
    if (getSceneManager() != nullptr &&
        (id == CEventNodeAttached::Id || id == CEventNodeTemplatesChanged::Id || id == 41))
        return false;
    // The open scenes in their order. A handler may open or close scenes meanwhile: the walk
    // goes on after the scene just offered the event, wherever it is now.
    uint32_t i = 0;
    while (i < getChildCount()) {
        const CRefPointer<BaseNode> scene = CRefPointer<BaseNode>::share(getChild(i));
        if (takesCategory(*scene, event) && scene->deliver(mode, event))
            return true;
        if (i < getChildCount() && getChild(i) == scene.get()) {
            ++i;
            continue;
        }
        for (uint32_t j = 0; j < getChildCount(); ++j) {
            if (getChild(j) == scene.get())
                i = j + 1;
        }
    }
    return false;
}

// Drawing

void SceneManager::collectDrawables(RenderList& list) {
    if (prepareToDraw())
        list.append({this, getAbsoluteMatrix()[14], 0});
}

void SceneManager::render(IRenderDriver* driver, const CRect*) {
    renderScenes(driver);
}

void SceneManager::renderScenes(IRenderDriver* driver) {
    if (driver == nullptr)
        return;
    if (isTransformDirty())
        updateAbsoluteTransform();
    if (isColorDirty())
        updateAbsoluteColor();
    // Each manager fills its own list: a nested one draws while its parent's list is in use.
    RenderList& list = m_renderList;
    for (uint32_t i = 0; i < getChildCount(); ++i)
        getChild(i)->collectDrawables(list);
    if (m_depthSort && list.size() > 1)
        sortRenderList(list);
    CQuadBatcher* batcher = driver->getQuadBatcher();
    if (batcher != nullptr) {
        batcher->flush();
        batcher->begin();
    }
    for (const Drawable& entry : list)
        entry.node->render(driver, nullptr);
    if (batcher != nullptr)
        batcher->end();
    list.truncate(0);
}
