#include "engine/scene/NodeState.h"

#include <utility>

#include "engine/core/Logger.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/XmlElementSkip.h"

namespace {

CNameId nameFromAttribute(const CXmlTextReader& reader, const char16_t* name) {
    return CNameId(CString(reader.getAttribute(name).c_str()));
}

} // namespace

NodeState::NodeState(CNameId name) : m_name(name) {
    setCategoryMask(CEvent::CategoryNode | CEvent::CategoryGame);
}

NodeState::~NodeState() {
    clearAnimators();
}

const PropertyTable& NodeState::getPropertyTable() const {
    return classPropertyTable();
}

const PropertyTable& NodeState::classPropertyTable() {
    static const PropertyTable table =
        extendPropertyTable(CReflectedObject::classPropertyTable(),
                            {accessorProperty<&NodeState::getName, &NodeState::setName>("Name")});
    return table;
}

const EventMap& NodeState::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&NodeState::onActionFinished>(),
        eventHook<&NodeState::passToTarget, 70>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool NodeState::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool NodeState::sendToParent(int32_t mode, CEvent& event) {
    if (m_target == nullptr || (m_target->getCategoryMask() & event.getCategory()) == 0)
        return false;
    return m_target->deliver(mode, event);
}

void NodeState::setTarget(BaseNode* node) {
    m_target = node;
    for (const CArray<CRefPointer<Base>>* list :
         {&m_animators, &m_startAnimators, &m_endAnimators}) {
        for (const CRefPointer<Base>& action : *list)
            action->setTarget(node);
    }
}

// Lists are walked by index with the bound read each time: an action may change what the
// node holds, and with it this state.
static void applyAll(const CArray<CRefPointer<Base>>& list, int32_t timeMs, bool applyValues) {
    for (uint32_t i = 0; i < list.size(); ++i) {
        const CRefPointer<Base> action = list[i];
        action->apply(timeMs, applyValues);
    }
}

void NodeState::start(IScheduler* clock, CNameId reportedName) {
    if (m_starting) {
        CLogger::instance()->logNarrow(
            CString("State entered again while it starts, next states end here: ") +
                m_name.toString(),
            CLogger::LevelWarning);
        return;
    }
    const CRefPointer<NodeState> self = CRefPointer<NodeState>::share(this);
    m_starting = true;
    m_reportedName = reportedName == CNameId() ? m_name : reportedName;
    deliverToTarget(*m_started.make(this, m_reportedName));
    m_endAnimatorsApplied = false;
    applyAll(m_startAnimators, 0, true);
    applyAll(m_animators, 0, true);
    m_runningCount = clock ? m_animators.size() : 0;
    if (clock) {
        for (uint32_t i = 0; i < m_animators.size(); ++i) {
            const CRefPointer<Base> action = m_animators[i];
            action->start(clock);
        }
        if (m_runningCount == 0)
            deliverToTarget(*m_finished.make(this, m_reportedName, false));
    }
    m_starting = false;
}

void NodeState::stop(bool report) {
    const CRefPointer<NodeState> self = CRefPointer<NodeState>::share(this);
    for (uint32_t i = 0; i < m_animators.size(); ++i) {
        const CRefPointer<Base> action = m_animators[i];
        action->stop(report);
    }
    if (!m_endAnimatorsApplied)
        applyEndAnimators();
    if (m_runningCount > 0) {
        m_runningCount = 0;
        deliverToTarget(*m_finished.make(this, m_reportedName, true));
    }
}

void NodeState::applyAnimators(int32_t timeMs, bool applyValues) {
    applyAll(m_animators, timeMs, applyValues);
}

void NodeState::applyEndAnimators() {
    m_endAnimatorsApplied = true;
    applyAll(m_endAnimators, 0, true);
}

bool NodeState::onActionFinished(CEventNodeActionFinished& event) {
    const CRefPointer<NodeState> self = CRefPointer<NodeState>::share(this);
    deliverToTarget(event);
    if (m_runningCount == 0 || --m_runningCount > 0)
        return false;
    if (!event.isLooped())
        applyEndAnimators();
    deliverToTarget(*m_finished.make(this, m_reportedName, false));
    return false;
}

bool NodeState::passToTarget(CEvent& event) {
    deliverToTarget(event);
    return false;
}

void NodeState::deliverToTarget(CEvent& event) {
    if (m_target != nullptr)
        m_target->deliver(CEventReceiver::RouteSelf, event);
}

Base* NodeState::findAnimator(CNameId name) const {
    for (const CRefPointer<Base>& action : m_animators) {
        if (action->getName() == name)
            return action.get();
    }
    return nullptr;
}

Base* NodeState::getAnimator(uint32_t index) const {
    return index < m_animators.size() ? m_animators[index].get() : nullptr;
}

void NodeState::addTo(CArray<CRefPointer<Base>>& list, Base* action) {
    if (action == nullptr)
        return;
    action->setListener(this);
    action->setTarget(m_target);
    list.append(CRefPointer<Base>::share(action));
}

void NodeState::addAnimator(Base* action) {
    addTo(m_animators, action);
}

void NodeState::addStartAnimator(Base* action) {
    addTo(m_startAnimators, action);
}

void NodeState::addEndAnimator(Base* action) {
    addTo(m_endAnimators, action);
}

void NodeState::clearAnimators() {
    CArray<CRefPointer<Base>> animators = std::move(m_animators);
    CArray<CRefPointer<Base>> startAnimators = std::move(m_startAnimators);
    CArray<CRefPointer<Base>> endAnimators = std::move(m_endAnimators);
    for (const CRefPointer<Base>& action : animators)
        action->stop(false);
    for (CArray<CRefPointer<Base>>* list : {&animators, &startAnimators, &endAnimators}) {
        for (const CRefPointer<Base>& action : *list) {
            action->setListener(nullptr);
            action->setTarget(nullptr);
        }
    }
}

CRefPointer<NodeState> NodeState::clone(BaseNode* node, SceneManager* sceneManager) const {
    CRefPointer<NodeState> copy(new NodeState(m_name));
    copy->m_nextState = m_nextState;
    for (const CRefPointer<Base>& action : m_animators)
        copy->addAnimator(action->clone(node, sceneManager).get());
    for (const CRefPointer<Base>& action : m_startAnimators)
        copy->addStartAnimator(action->clone(node, sceneManager).get());
    for (const CRefPointer<Base>& action : m_endAnimators)
        copy->addEndAnimator(action->clone(node, sceneManager).get());
    return copy;
}

CRefPointer<NodeState> NodeState::readXml(CXmlTextReader& reader, const CNodeFactory& factory,
                                          IPropertyContentSource* owner) {
    CRefPointer<NodeState> state(new NodeState(nameFromAttribute(reader, u"Name")));
    state->m_nextState = nameFromAttribute(reader, u"NextState");
    if (reader.isEmptyElement())
        return state;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        if (kind == CXmlTextReader::kEndElement && reader.nameIs(u"State"))
            break;
        if (kind != CXmlTextReader::kElement)
            continue;
        const CStringW elementName = reader.nodeName();
        CArray<CRefPointer<Base>>* list = elementName == u"Animator" ? &state->m_animators
                                          : elementName == u"StartAnimator"
                                              ? &state->m_startAnimators
                                          : elementName == u"EndAnimator" ? &state->m_endAnimators
                                                                          : nullptr;
        const CRefPointer<Base> action =
            list != nullptr ? factory.createAction(reader.getAttribute(u"Type")) : nullptr;
        if (!action) {
            skipElement(reader);
            continue;
        }
        action->setName(nameFromAttribute(reader, u"Name"));
        action->loadFromXml(reader, owner, elementName);
        state->addTo(*list, action.get());
    }
    return state;
}

void NodeState::saveToXml(CXmlTextWriter& writer) const {
    const CStringW name(m_name.toString().c_str());
    const CStringW next(m_nextState.toString().c_str());
    writer.openElement(u"State", false, u"Name", name.c_str(), u"NextState",
                       m_nextState != CNameId() ? next.c_str() : nullptr);
    writer.writeNewLine();
    const struct {
        const char16_t* element;
        const CArray<CRefPointer<Base>>& list;
    } lists[] = {{u"Animator", m_animators},
                 {u"StartAnimator", m_startAnimators},
                 {u"EndAnimator", m_endAnimators}};
    for (const auto& entry : lists) {
        const CStringW element(entry.element);
        for (const CRefPointer<Base>& action : entry.list) {
            action->saveToXml(writer, element);
            writer.writeNewLine();
        }
    }
    writer.closeElement(u"State");
    writer.writeNewLine();
}
