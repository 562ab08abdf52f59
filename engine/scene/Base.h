#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/String.h"
#include "engine/scene/IPropertyOwner.h"
#include "engine/scene/ReflectedObject.h"

class BaseNode;
class CProperties;
class CXmlTextReader;
class CXmlTextWriter;
class IPropertyContentSource;
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
    // Reads the rest of the element the reader stands on (named after the list holding the
    // action), through its end tag. Content values load through the owner.
    virtual void loadFromXml(CXmlTextReader& reader, IPropertyContentSource* owner,
                             const CStringW& elementName) = 0;
    // The whole element; the line end after it is the caller's.
    virtual void saveToXml(CXmlTextWriter& writer, const CStringW& elementName) const = 0;

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

    // For each entry of the set, the index of the target's property of the same name, or -1.
    void mapTargetProperties(const CProperties& properties, CArray<int32_t>& map) const;
    // The start tag with "Type" and, when set, "Name" before the other attributes.
    void openXmlElement(CXmlTextWriter& writer, const CStringW& elementName, bool isEmpty,
                        const CArray<CStringW>& names, const CArray<CStringW>& values) const;

private:
    CNameId m_name;
    CEventReceiver* m_listener = nullptr;
    BaseNode* m_target = nullptr;
    bool m_running = false;
};

// The identity every action class repeats, made from its kTypeId and kTypeName: type and class
// name, type id and the kind test.
template <typename Derived>
class ActionClass : public Base {
public:
    const CStringW& getTypeName() const override {
        static const CStringW name(Derived::kTypeName);
        return name;
    }
    const CStringW& getClassName() const override { return getTypeName(); }
    uint32_t getTypeId() const override { return Derived::kTypeId; }
    bool isKindOf(uint32_t typeId) const override {
        return typeId == Derived::kTypeId || Base::isKindOf(typeId);
    }

protected:
    ~ActionClass() override = default;
};
