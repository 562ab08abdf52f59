#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "game/effects/EffectNode.h"
#include "game/level/ObjectLink.h"

class GClientNode;

// Flies its children (a heart out of an orbiting swarm) to a target node: thrown off with a
// launch velocity that dies away at 80 units a second while a pull toward the target grows.
// Once it has passed the target horizontally it stands on it (depth 10) and plays
// "SelfDestruct" on its children; when they have finished, it lets the target go and removes
// itself at its next tick, unfreezing the client's heart icons.
//
// The target is held; one that has left its scene ends the flight. The client is held weakly:
// one that is gone ends the flight too. The flight starts only through setTarget.
class GMagnetMovableNode : public GEffectNode<GMagnetMovableNode> {
public:
    static constexpr uint32_t kTypeId = 1163;
    static constexpr const char16_t* kTypeName = u"GMagnetMovableNode";
    static constexpr uint32_t kIntervalMs = 30;

    using GEffectNode::GEffectNode;

    // Drops the "SelfDestruct" target once arrived; not handled.
    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;
    bool OnUpdate(uint32_t elapsedMs) override;

    // Starts the flight from where the node is now, on its scene's clock. The client (may be
    // none) receives the heart: it is aimed at the icon's right edge.
    void setTarget(BaseNode* target, GClientNode* client);
    void setVelocity(CVector2d velocity) { m_launchVelocity = velocity; }
    void setPullAcceleration(float acceleration) { m_pullAcceleration = acceleration; }

    BaseNode* getTarget() const { return m_target.get(); }
    CVector2d getVelocity() const { return m_launchVelocity; }
    float getPullSpeed() const { return m_pullSpeed; }
    bool hasArrived() const { return m_arrived; }

protected:
    ~GMagnetMovableNode() override = default;

    bool OnStart() override { return false; }

private:
    // Where the target is, in scene coordinates, with the aim's offset.
    CVector3d targetPoint();
    void endFlight();

    CRefPointer<BaseNode> m_target;
    GObjectRef<GClientNode> m_client;
    bool m_hasClient = false;
    CVector3d m_start;
    CVector2d m_launchVelocity;
    float m_pullSpeed = 0;
    float m_pullAcceleration = 500;
    bool m_arrived = false;
};
