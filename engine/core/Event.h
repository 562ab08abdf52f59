#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

// An event: a reference-counted object with a type id, a kind-of test along its class chain
// and one category bit that receivers' masks are tested against. The poster creates it with
// one reference and releases it after delivery; a receiver that keeps it adds a reference.
class CEvent : public CRefCounted {
public:
    enum Category : uint32_t {
        CategoryDevice = 1,
        CategorySystem = 2,
        CategoryKeyboard = 4,
        CategoryMouse = 8,
        CategoryNode = 32,
        CategoryGame = 4096,
    };

    explicit CEvent(uint32_t category) : m_category(category) {}

    // Every event class answers the same text.
    virtual const CStringW& getTypeName() const;
    virtual uint32_t getTypeId() const { return 0; }
    // True for the class's own id, its ancestors' ids and 0.
    virtual bool isKindOf(uint32_t id) const { return id == 0; }

    uint32_t getCategory() const { return m_category; }

private:
    uint32_t m_category;
};

// Gives an event class its type id on top of its parent class.
template <uint32_t TypeId, typename Parent>
class CEventType : public Parent {
public:
    static constexpr uint32_t Id = TypeId;

    using Parent::Parent;

    uint32_t getTypeId() const override { return TypeId; }
    bool isKindOf(uint32_t id) const override { return id == TypeId || Parent::isKindOf(id); }
};

// The base classes of the engine's events; no objects of these are created themselves.
class CEventDevice : public CEventType<1, CEvent> {
public:
    CEventDevice() : CEventType(CategoryDevice) {}
};

class CEventSystem : public CEventType<2, CEvent> {
public:
    CEventSystem() : CEventType(CategorySystem) {}
};

class CEventInput : public CEventType<3, CEvent> {
public:
    using CEventType::CEventType;
};

class CEventInputKey : public CEventType<4, CEventInput> {
public:
    CEventInputKey() : CEventType(CategoryKeyboard) {}
};

class CEventInputMouse : public CEventType<5, CEventInput> {
public:
    CEventInputMouse() : CEventType(CategoryMouse) {}
};

// Posted by the frame step with the milliseconds the update covers.
class CEventSystemFlowUpdate : public CEventType<16, CEventSystem> {
public:
    explicit CEventSystemFlowUpdate(uint32_t elapsedMs) : m_elapsedMs(elapsedMs) {}

    uint32_t getElapsedMs() const { return m_elapsedMs; }

private:
    uint32_t m_elapsedMs;
};
