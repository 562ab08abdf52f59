#include "engine/scene/SceneManager.h"

#include <utility>

SceneManager::SceneManager(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setCategoryMask(getCategoryMask() | CEvent::CategoryKeyboard | CEvent::CategoryMouse |
                    CEvent::CategoryNode);
    setInterval(0);
}

SceneManager::~SceneManager() {
    // Queued events are dropped undelivered.
    const CArray<QueuedEvent> queue = std::move(m_queue);
}

void SceneManager::postEvent(CEventReceiver* receiver, int32_t mode, CEvent& event) {
    QueuedEvent entry{CRefPointer<CEventReceiver>::share(receiver), mode,
                      CRefPointer<CEvent>::share(&event)};
    m_queue.insert(std::move(entry), m_dispatching ? m_queueHead : m_queue.size());
}

bool SceneManager::OnUpdate(uint32_t) {
    deliverQueue();
    return true;
}

void SceneManager::deliverQueue() {
    if (m_dispatching)
        return;
    const CRefPointer<SceneManager> self = CRefPointer<SceneManager>::share(this);
    m_dispatching = true;
    m_queueHead = 0;
    while (m_queueHead < m_queue.size()) {
        const QueuedEvent entry = std::move(m_queue[m_queueHead]);
        ++m_queueHead;
        entry.receiver->deliver(entry.mode, *entry.event);
    }
    m_queue.truncate(0);
    m_queueHead = 0;
    m_dispatching = false;
}
