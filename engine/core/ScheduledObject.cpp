#include "engine/core/ScheduledObject.h"

#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"

CScheduledObject& CScheduledObject::operator=(const CScheduledObject& other) {
    m_interval = other.m_interval;
    return *this;
}

CScheduledObject::~CScheduledObject() {
    if (m_scheduler) {
        m_scheduler->unregisterObject(this);
    }
}

void CScheduledObject::setScheduler(IScheduler* scheduler) {
    if (scheduler == m_scheduler) {
        return;
    }
    // Leaving may drop the old scheduler's reference, which may be the last one.
    const CRefPointer<CScheduledObject> self = CRefPointer<CScheduledObject>::share(this);
    if (m_scheduler) {
        m_scheduler->unregisterObject(this);
    }
    if (scheduler) {
        scheduler->registerObject(this);
    }
}
