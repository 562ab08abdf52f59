#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/Base.h"
#include "engine/scene/IPropertyOwner.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/ReflectedObject.h"
#include "engine/scene/ReusedEvent.h"

class BaseNode;
class CNodeFactory;
class CXmlTextReader;
class CXmlTextWriter;
class IPropertyContentSource;
class IScheduler;
class SceneManager;

// One named state of a node: three lists of actions that run at its start, during it (the main
// animators) and at its end, and the state that follows it. It starts its main animators on a
// clock, counts their completions and tells its node when it has started (72) and finished (73).
class NodeState : public CReflectedObject, public CEventReceiver, public IPropertyOwner {
public:
    explicit NodeState(CNameId name);
    NodeState(const NodeState&) = delete;
    NodeState& operator=(const NodeState&) = delete;

    const PropertyTable& getPropertyTable() const override;
    static const PropertyTable& classPropertyTable();
    static const EventMap& getEventMap();

    bool OnEvent(CEvent& event) override;
    // To the target node with that routing mode, when the node takes the event's category.
    bool sendToParent(int32_t mode, CEvent& event) override;

    // The node the state animates, handed on to every action.
    void setTarget(BaseNode* node);
    BaseNode* getTarget() const { return m_target; }

    // 72 at once; the start and main animators show their first values; with a clock the main
    // animators run on it and a state without them finishes (73) at once. Without a clock the
    // state never finishes. The empty reported name means the state's own name.
    void start(IScheduler* clock, CNameId reportedName);
    // Report: every main animator reports completion and the state finishes normally; without,
    // a running state finishes interrupted. A state that is not running raises nothing.
    void stop(bool report);
    void applyAnimators(int32_t timeMs, bool applyValues);

    // Main animators only; none when absent or out of range.
    Base* findAnimator(CNameId name) const;
    Base* getAnimator(uint32_t index) const;
    uint32_t getAnimatorCount() const { return m_animators.size(); }
    // None is ignored; the state keeps a reference and becomes the action's listener.
    void addAnimator(Base* action);
    void addStartAnimator(Base* action);
    void addEndAnimator(Base* action);
    void clearAnimators();

    // The same name, next state and copies of every action; no target until the new owner
    // binds it.
    CRefPointer<NodeState> clone(BaseNode* node, SceneManager* sceneManager) const;

    // A state read from the "State" element the reader stands on, through its end tag: its
    // "Name" and "NextState" and its three lists of actions, made by the factory (elements
    // of unknown types are passed over with their content). Content values load through the
    // owner.
    static CRefPointer<NodeState> readXml(CXmlTextReader& reader, const CNodeFactory& factory,
                                          IPropertyContentSource* owner);
    // The "State" element and the line end after it.
    void saveToXml(CXmlTextWriter& writer) const;

    bool onActionFinished(CEventNodeActionFinished& event);
    bool passToTarget(CEvent& event);

    CNameId getName() const { return m_name; }
    void setName(CNameId name) { m_name = name; }
    CNameId getNextState() const { return m_nextState; }
    void setNextState(CNameId name) { m_nextState = name; }
    CNameId getReportedName() const { return m_reportedName; }
    bool isRunning() const { return m_runningCount > 0; }

protected:
    ~NodeState() override;

private:
    void addTo(CArray<CRefPointer<Base>>& list, Base* action);
    void applyEndAnimators();
    void deliverToTarget(CEvent& event);

    BaseNode* m_target = nullptr;
    CNameId m_name;
    CNameId m_nextState;
    CNameId m_reportedName;
    uint32_t m_runningCount = 0;
    bool m_endAnimatorsApplied = false;
    // Set while start runs, so that a chain of states leading back here ends.
    bool m_starting = false;
    CArray<CRefPointer<Base>> m_animators;
    CArray<CRefPointer<Base>> m_startAnimators;
    CArray<CRefPointer<Base>> m_endAnimators;
    // Raised again at every start and end rather than made anew.
    CReusedEvent<CEventNodeStateStarted> m_started;
    CReusedEvent<CEventNodeStateFinished> m_finished;
};
