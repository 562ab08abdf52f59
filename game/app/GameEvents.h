#pragma once

#include <cstdint>

#include "engine/core/Event.h"
#include "engine/core/NameId.h"
#include "engine/core/String.h"
#include "engine/core/Vector3d.h"

class GClientNode;
class GLocationNode;

// What the level, its objects and the screens around it tell each other: events of category
// 4096 with ids from 4096 up, each kind of its own id, of 4096 and of 0. The level-finished
// event carries 4096 itself, so an event-map entry under 4096 gets only that one.
//
// Payloads that name a node hold it without a reference: such an event is delivered at once,
// while the node exists; only events without node pointers are queued with a scene manager.

// The base of the game's events; no objects of it are created themselves.
class GGameEvent : public CEventType<4096, CEvent> {
public:
    GGameEvent() : CEventType(CategoryGame) {}
};

class GLevelFinishedEvent : public CEventType<4096, GGameEvent> {
public:
    explicit GLevelFinishedEvent(bool passed) : m_passed(passed) {}

    // The level's money reached its "TargetMoney".
    bool isPassed() const { return m_passed; }

private:
    bool m_passed;
};

class GRankChangedEvent : public CEventType<4097, GGameEvent> {
public:
    explicit GRankChangedEvent(int32_t rank) : m_rank(rank) {}

    // The new money rank, 0 to 3.
    int32_t getRank() const { return m_rank; }

private:
    int32_t m_rank;
};

class GLevelClosedEvent : public CEventType<4098, GGameEvent> {};

class GMoneyChangedEvent : public CEventType<4099, GGameEvent> {};

class GBonusCreditedEvent : public CEventType<4100, GGameEvent> {};

// An element of the shop's item list, by index.
class GShopListItemEvent : public GGameEvent {
public:
    explicit GShopListItemEvent(int32_t index) : m_index(index) {}

    int32_t getIndex() const { return m_index; }

private:
    int32_t m_index;
};

class GShopListItemPressedEvent : public CEventType<4101, GShopListItemEvent> {
public:
    using CEventType::CEventType;
};

class GShopListItemHoveredEvent : public CEventType<4102, GShopListItemEvent> {
public:
    using CEventType::CEventType;
};

class GMoneyEarnedEvent : public CEventType<4103, GGameEvent> {
public:
    GMoneyEarnedEvent(const CStringW& text, float amount, int32_t component,
                      const CVector3d& position)
        : m_text(text), m_amount(amount), m_component(component), m_position(position) {}

    const CStringW& getText() const { return m_text; }
    float getAmount() const { return m_amount; }
    // 0 check-out, 1 colour match, 2 chain bonus, 3 swap bonus, 4 recycling, 5 other.
    int32_t getComponent() const { return m_component; }
    const CVector3d& getPosition() const { return m_position; }

private:
    CStringW m_text;
    float m_amount;
    int32_t m_component;
    CVector3d m_position;
};

class GAwardEarnedEvent : public CEventType<4107, GGameEvent> {
public:
    explicit GAwardEarnedEvent(int32_t award) : m_award(award) {}

    // 0 to 16.
    int32_t getAward() const { return m_award; }

private:
    int32_t m_award;
};

// Stops or restarts the level's clock and its clients' coming; nothing in the game raises it.
class GPauseGenerationEvent : public CEventType<4108, GGameEvent> {
public:
    explicit GPauseGenerationEvent(uint8_t paused) : m_paused(paused) {}

    uint8_t getPaused() const { return m_paused; }

private:
    uint8_t m_paused;
};

class GClientDragEvent : public CEventType<4109, GGameEvent> {
public:
    GClientDragEvent(GClientNode* grabbed, GClientNode* acting, uint8_t value)
        : m_grabbed(grabbed), m_acting(acting), m_value(value) {}

    GClientNode* getGrabbed() const { return m_grabbed; }
    GClientNode* getActing() const { return m_acting; }
    uint8_t getValue() const { return m_value; }

private:
    GClientNode* m_grabbed;
    GClientNode* m_acting;
    uint8_t m_value;
};

class GDropTargetEvent : public CEventType<4110, GGameEvent> {
public:
    GDropTargetEvent(GLocationNode* target, bool cancel) : m_target(target), m_cancel(cancel) {}

    // None when there is no location under the pointer.
    GLocationNode* getTarget() const { return m_target; }
    bool isCancel() const { return m_cancel; }

private:
    GLocationNode* m_target;
    bool m_cancel;
};

// A node's state moved from one number to another.
template <uint32_t Id, typename Node>
class GStateChangeEvent : public CEventType<Id, GGameEvent> {
public:
    GStateChangeEvent(Node* node, int32_t newState, int32_t oldState)
        : m_node(node), m_newState(newState), m_oldState(oldState) {}

    Node* getNode() const { return m_node; }
    int32_t getNewState() const { return m_newState; }
    int32_t getOldState() const { return m_oldState; }

private:
    Node* m_node;
    int32_t m_newState;
    int32_t m_oldState;
};

class GClientStateEvent : public GStateChangeEvent<4111, GClientNode> {
public:
    using GStateChangeEvent::GStateChangeEvent;
};

class LocationStateEvent : public GStateChangeEvent<4112, GLocationNode> {
public:
    using GStateChangeEvent::GStateChangeEvent;
};

class GClientSpeedUpEvent : public CEventType<4113, GGameEvent> {
public:
    GClientSpeedUpEvent(GClientNode* client, CNameId resource)
        : m_client(client), m_resource(resource) {}

    GClientNode* getClient() const { return m_client; }
    // The resource of the wish that ended.
    CNameId getResource() const { return m_resource; }

private:
    GClientNode* m_client;
    CNameId m_resource;
};

class GClientLeaveEvent : public CEventType<4114, GGameEvent> {
public:
    explicit GClientLeaveEvent(GClientNode* client) : m_client(client) {}

    GClientNode* getClient() const { return m_client; }

private:
    GClientNode* m_client;
};

class StaffEvent : public CEventType<4115, GGameEvent> {};
