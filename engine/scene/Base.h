#pragma once

#include <cstdint>

#include "engine/core/EventReceiver.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/String.h"
#include "engine/scene/IPropertyOwner.h"
#include "engine/scene/ReflectedObject.h"

class BaseNode;
class IScheduler;
class SceneManager;

// The base of the state actions: binds an action to the node it acts on and to the listener
// (its state) that counts its completion, puts it on a clock and reports completion with event
// 71. Actions take no events themselves.
class Base : public CEventReceiver,
             public IPropertyOwner,
             public CReflectedObject,
             public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 0;

    Base();

    virtual const CStringW& getTypeName() const;
    virtual const CStringW& getClassName() const;
    virtual uint32_t getTypeId() const { return kTypeId; }
    virtual bool isKindOf(uint32_t typeId) const { return typeId == kTypeId; }
    virtual void setTarget(BaseNode* node) { m_target = node; }
    // Time 0 means the action's start offset; without the apply flag nothing is written.
    virtual void apply(int32_t timeMs, bool applyValues) = 0;
    virtual float getElapsedTime() const = 0;
    virtual int32_t getDuration() const = 0;
    // Leaves the scheduler it is on for the clock (none leaves only) and runs.
    virtual bool start(IScheduler* clock);
    // Leaves its scheduler; with report it also reports completion (finish) and answers that.
    virtual bool stop(bool report);
    // A copy with its own settings and no target, listener or clock.
    virtual CRefPointer<Base> clone(BaseNode* node, SceneManager* sceneManager) const = 0;

    // Off the clock at the first tick, without reporting.
    bool OnUpdate(uint32_t elapsedMs) override;

    // Stops running and delivers event 71 to a listener that takes node events; its answer.
    bool finish(int32_t timeMs, bool looped);

    void setListener(CEventReceiver* listener) { m_listener = listener; }
    CEventReceiver* getListener() const { return m_listener; }
    BaseNode* getTarget() const { return m_target; }
    CNameId getName() const { return m_name; }
    void setName(CNameId name) { m_name = name; }
    bool isRunning() const { return m_running; }

protected:
    ~Base() override = default;

private:
    CNameId m_name;
    CEventReceiver* m_listener = nullptr;
    BaseNode* m_target = nullptr;
    bool m_running = false;
};
