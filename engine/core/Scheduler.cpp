#include "engine/core/Scheduler.h"

#include <utility>

#include "engine/core/Event.h"

CScheduler::CScheduler() {
    setCategoryMask(CEvent::CategorySystem);
    m_entries.reallocate(1024);
}

CScheduler::~CScheduler() {
    // Objects that outlive the scheduler must not point at it, and those destroyed by the
    // release must not call back into it.
    detachAll(m_entries);
    detachAll(m_pendingAdditions);
    const CArray<Entry> entries = std::move(m_entries);
    const CArray<Entry> additions = std::move(m_pendingAdditions);
}

void CScheduler::detachAll(CArray<Entry>& entries) {
    for (Entry& entry : entries) {
        if (entry.object->m_scheduler == this) {
            entry.object->m_scheduler = nullptr;
        }
    }
}

bool CScheduler::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

const EventMap& CScheduler::getEventMap() {
    static const EventMapEntry own[] = {
        {CEventSystemFlowUpdate::Id, &eventHandler<CScheduler, &CScheduler::OnUpdateEvent>},
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool CScheduler::OnUpdateEvent(CEvent& event) {
    update(static_cast<CEventSystemFlowUpdate&>(event).getElapsedMs());
    return false;
}

void CScheduler::registerObject(CScheduledObject* object) {
    if (!object) {
        return;
    }
    object->m_scheduler = this;
    for (uint32_t i = 0; i < m_pendingRemovals.size(); ++i) {
        if (m_pendingRemovals[i] == object) {
            m_pendingRemovals.eraseAtUnordered(i);
            return;
        }
    }
    Entry entry{CRefPointer<CScheduledObject>::share(object), nowMs()};
    if (m_ticking) {
        m_pendingAdditions.append(std::move(entry));
    } else {
        m_entries.append(std::move(entry));
    }
}

void CScheduler::unregisterObject(CScheduledObject* object) {
    if (!object || object->m_scheduler != this) {
        return;
    }
    object->m_scheduler = nullptr;
    if (m_ticking) {
        m_pendingRemovals.append(object);
        return;
    }
    for (uint32_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].object == object) {
            // Released after the array is consistent again: the release may destroy it.
            const CRefPointer<CScheduledObject> dropped = std::move(m_entries[i].object);
            m_entries.eraseAtUnordered(i);
            return;
        }
    }
}

void CScheduler::update(uint32_t elapsedMs) {
    m_ticking = true;
    if (m_enabled) {
        m_scaledTime += double(m_timeScale) * elapsedMs;
        callDueObjects(nowMs());
    }
    // Released only once the tick is over: the release may destroy an object whose destructor
    // registers or unregisters others, which must find the lists settled.
    CArray<Entry> dropped;
    flushRemovals(dropped);
    appendPendingAdditions(dropped);
    m_pendingRemovals.clear();
    m_ticking = false;
}

// Whole milliseconds, truncated toward zero; the clock wraps like the elapsed times it gives.
uint32_t CScheduler::nowMs() const {
    return uint32_t(int64_t(m_scaledTime));
}

void CScheduler::callDueObjects(uint32_t now) {
    // Registrations and removals wait in their lists, so the entries stay put during the pass.
    for (uint32_t i = 0; i < m_entries.size(); ++i) {
        // Also skips objects that moved to another scheduler during this pass.
        if (m_entries[i].object->m_scheduler != this) {
            continue;
        }
        const uint32_t elapsed = now - m_entries[i].lastRun;
        if (elapsed < m_entries[i].object->m_interval) {
            continue;
        }
        // Kept alive across the call: an object may let go of itself in its own update.
        const CRefPointer<CScheduledObject> object = m_entries[i].object;
        if (object->OnUpdate(elapsed)) {
            m_entries[i].lastRun = now;
        } else if (object->m_scheduler == this) {
            object->m_scheduler = nullptr;
        }
    }
}

// Moves out the entries whose object left this scheduler or is held by nothing else.
void CScheduler::flushRemovals(CArray<Entry>& dropped) {
    for (uint32_t i = 0; i < m_entries.size();) {
        CScheduledObject* object = m_entries[i].object.get();
        const bool attached = object->m_scheduler == this;
        if (attached && object->getRefCount() > 1) {
            ++i;
            continue;
        }
        if (attached) {
            object->m_scheduler = nullptr;
        }
        dropped.append(std::move(m_entries[i]));
        m_entries.eraseAtUnordered(i);
    }
}

// Registrations undone again within the same update are dropped here.
void CScheduler::appendPendingAdditions(CArray<Entry>& dropped) {
    CArray<Entry> additions = std::move(m_pendingAdditions);
    for (Entry& entry : additions) {
        CArray<Entry>& target = entry.object->m_scheduler == this ? m_entries : dropped;
        target.append(std::move(entry));
    }
}
