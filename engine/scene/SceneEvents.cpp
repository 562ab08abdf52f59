#include "engine/scene/SceneEvents.h"

#include "engine/scene/SceneNode.h"

CEventSceneSwitch::CEventSceneSwitch(SceneNode* from, SceneNode* to, int32_t forward)
    : m_from(CRefPointer<SceneNode>::share(from)), m_to(CRefPointer<SceneNode>::share(to)),
      m_forward(forward) {}

CEventSceneSwitch::~CEventSceneSwitch() = default;
