#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/NodeEvents.h"

class SceneNode;

// A scene switch between two scenes (either may be none); forward is 1 for opening, switching
// and message boxes, 0 for going back. The event holds both scenes: a queued one may be
// delivered after the scene manager has closed the scene left.
class CEventSceneSwitch : public CEventType<42, CEventNode> {
public:
    CEventSceneSwitch(SceneNode* from, SceneNode* to, int32_t forward);
    ~CEventSceneSwitch() override;

    SceneNode* getFrom() const { return m_from.get(); }
    SceneNode* getTo() const { return m_to.get(); }
    int32_t getForward() const { return m_forward; }

private:
    CRefPointer<SceneNode> m_from;
    CRefPointer<SceneNode> m_to;
    int32_t m_forward;
};

class CEventSceneSwitchStarted : public CEventType<44, CEventSceneSwitch> {
public:
    using CEventType::CEventType;
};

// The flags hold forward in the low byte and keep-visible in the next one.
class CEventSceneSwitchFinished : public CEventType<43, CEventSceneSwitch> {
public:
    using CEventType::CEventType;

    int32_t getFlags() const { return getForward(); }
};

// The index of the button that closed a message box, for the scene under it.
class CEventMessageBoxResult : public CEventType<45, CEventNode> {
public:
    explicit CEventMessageBoxResult(int32_t result) : m_result(result) {}

    int32_t getResult() const { return m_result; }

private:
    int32_t m_result;
};
