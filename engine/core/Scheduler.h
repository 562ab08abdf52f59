#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"

class IScheduler : public CEventReceiver {
public:
    virtual void registerObject(CScheduledObject* object) = 0;
    virtual void unregisterObject(CScheduledObject* object) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setTimeScale(float scale) = 0;
    virtual float getTimeScale() const = 0;
};

// Runs scheduled objects at their intervals on a scaled clock that update events advance.
// Objects registered or unregistered while it is calling objects take effect at the end of
// that update; an object unregistered during the update is not called again in it.
class CScheduler : public IScheduler {
public:
    CScheduler();
    CScheduler(const CScheduler&) = delete;
    CScheduler& operator=(const CScheduler&) = delete;
    ~CScheduler() override;

    bool OnEvent(CEvent& event) override;

    // Takes a reference; a null object is ignored. An object whose removal is still pending in
    // this update keeps its entry.
    void registerObject(CScheduledObject* object) override;
    // Does nothing for an object that is not attached to this scheduler.
    void unregisterObject(CScheduledObject* object) override;

    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }
    void setTimeScale(float scale) override { m_timeScale = scale; }
    float getTimeScale() const override { return m_timeScale; }

    // Advances the scaled clock by time scale x elapsed and calls every object whose interval
    // has passed; then applies the registrations and removals. A disabled scheduler only
    // applies them.
    void update(uint32_t elapsedMs);
    // Runs update with the event's milliseconds; never handles the event, so later receivers
    // get it too.
    bool OnUpdateEvent(CEvent& event);

    static const EventMap& getEventMap();

private:
    struct Entry {
        CRefPointer<CScheduledObject> object;
        uint32_t lastRun;
    };

    uint32_t nowMs() const;
    void detachAll(CArray<Entry>& entries);
    void callDueObjects(uint32_t now);
    void flushRemovals(CArray<Entry>& dropped);
    void appendPendingAdditions(CArray<Entry>& dropped);

    bool m_enabled = true;
    float m_timeScale = 1.0f;
    bool m_ticking = false;
    CArray<Entry> m_entries;
    CArray<Entry> m_pendingAdditions;
    CArray<CScheduledObject*> m_pendingRemovals;
    // A float clock loses milliseconds after hours and stops advancing after days.
    double m_scaledTime = 0.0;
};
