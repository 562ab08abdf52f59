#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"

// The node that owns the open scenes. Nodes post their events to its queue, which it delivers
// at its next tick.
class SceneManager : public NodeClass<SceneManager, BaseNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 22;
    static constexpr const char16_t* kTypeName = u"SceneManager";

    SceneManager(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // Keeps a reference to the receiver and to the event until delivery. Outside a delivery the
    // entry goes to the back of the queue; while the queue is being delivered it goes to the
    // front, so it is delivered right after the event being delivered.
    void postEvent(CEventReceiver* receiver, int32_t mode, CEvent& event);
    // Delivers the queue, including what is posted meanwhile.
    bool OnUpdate(uint32_t elapsedMs) override;

    bool isDepthSortEnabled() const { return m_depthSort; }
    void setDepthSortEnabled(bool enabled) { m_depthSort = enabled; }

protected:
    ~SceneManager() override;

private:
    struct QueuedEvent {
        CRefPointer<CEventReceiver> receiver;
        int32_t mode;
        CRefPointer<CEvent> event;
    };

    void deliverQueue();

    bool m_depthSort = false;
    CArray<QueuedEvent> m_queue;
    // The next entry to deliver while the queue is being delivered; entries before it are done.
    uint32_t m_queueHead = 0;
    bool m_dispatching = false;
};
