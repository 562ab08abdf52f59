#pragma once

#include <cstdint>

#include "engine/core/Event.h"
#include "engine/core/NameId.h"

class Base;
class BaseNode;
class NodeState;
class SceneManager;
class TemplateCollectionNode;

// The base of the node, control, scene and state events: category 32 and the node it is about.
class CEventNode : public CEventType<8, CEvent> {
public:
    explicit CEventNode(BaseNode* node = nullptr) : CEventType(CategoryNode), m_node(node) {}

    BaseNode* getNode() const { return m_node; }

private:
    BaseNode* m_node;
};

// The scene manager took the node's scene in.
class CEventNodeAttached : public CEventType<39, CEventNode> {
public:
    explicit CEventNodeAttached(SceneManager* manager) : m_manager(manager) {}

    SceneManager* getSceneManager() const { return m_manager; }

private:
    SceneManager* m_manager;
};

// Controls apply their templates again from the collection.
class CEventNodeTemplatesChanged : public CEventType<40, CEventNode> {
public:
    explicit CEventNodeTemplatesChanged(TemplateCollectionNode* collection)
        : m_collection(collection) {}

    TemplateCollectionNode* getCollection() const { return m_collection; }

private:
    TemplateCollectionNode* m_collection;
};

// An action of a state reports completion to its state; looped tells a wrap from an end.
class CEventNodeActionFinished : public CEventType<71, CEventNode> {
public:
    CEventNodeActionFinished(Base* action, int32_t time, bool looped)
        : m_action(action), m_time(time), m_looped(looped) {}

    Base* getAction() const { return m_action; }
    int32_t getTime() const { return m_time; }
    bool isLooped() const { return m_looped; }

private:
    Base* m_action;
    int32_t m_time;
    bool m_looped;
};

// What a state raises on its node: the state and the name it was started under.
class CEventNodeStateChange : public CEventNode {
public:
    CEventNodeStateChange(NodeState* state, CNameId stateName)
        : m_state(state), m_stateName(stateName) {}

    NodeState* getState() const { return m_state; }
    CNameId getStateName() const { return m_stateName; }

private:
    NodeState* m_state;
    CNameId m_stateName;
};

class CEventNodeStateStarted : public CEventType<72, CEventNodeStateChange> {
public:
    using CEventType::CEventType;
};

// Interrupted: the state was stopped before it finished by itself.
class CEventNodeStateFinished : public CEventType<73, CEventNodeStateChange> {
public:
    CEventNodeStateFinished(NodeState* state, CNameId stateName, bool interrupted)
        : CEventType(state, stateName), m_interrupted(interrupted) {}

    bool isInterrupted() const { return m_interrupted; }

private:
    bool m_interrupted;
};

// A node and a state name: what children report to their parent and a parent to itself.
class CEventNodeStateReport : public CEventNode {
public:
    CEventNodeStateReport(BaseNode* node, CNameId stateName)
        : CEventNode(node), m_stateName(stateName) {}

    CNameId getStateName() const { return m_stateName; }

private:
    CNameId m_stateName;
};

class CEventNodeChildStateStarted : public CEventType<74, CEventNodeStateReport> {
public:
    using CEventType::CEventType;
};

class CEventNodeChildStateFinished : public CEventType<76, CEventNodeStateReport> {
public:
    using CEventType::CEventType;
};

class CEventNodeChildrenStateStarted : public CEventType<78, CEventNodeStateReport> {
public:
    using CEventType::CEventType;
};

class CEventNodeChildrenStateFinished : public CEventType<80, CEventNodeStateReport> {
public:
    using CEventType::CEventType;
};
