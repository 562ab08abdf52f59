#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"

class IScheduler;

// Mix-in of anything a scheduler ticks. While attached, the scheduler holds a reference.
class CScheduledObject : public virtual CRefCounted {
public:
    CScheduledObject() = default;
    // A copy is not attached to any scheduler.
    CScheduledObject(const CScheduledObject& other) : CRefCounted(), m_interval(other.m_interval) {}
    CScheduledObject& operator=(const CScheduledObject& other);
    ~CScheduledObject() override;

    // Called once at least the interval has passed, with the scaled milliseconds since the
    // last call (or the registration); false leaves the scheduler.
    virtual bool OnUpdate(uint32_t elapsedMs) = 0;

    // Leaves the current scheduler (if any) and joins the new one (if any).
    void setScheduler(IScheduler* scheduler);
    IScheduler* getScheduler() const { return m_scheduler; }

    uint32_t getInterval() const { return m_interval; }
    void setInterval(uint32_t intervalMs) { m_interval = intervalMs; }

private:
    friend class CScheduler;

    uint32_t m_interval = 0;
    IScheduler* m_scheduler = nullptr;
};
