#pragma once

#include <cstdint>

#include "engine/core/Vector3d.h"
#include "game/effects/EffectNode.h"

// Moves at Velocity (units per second) along the line from its start point to its end point
// and removes itself once it has gone the whole way. Nothing sets the points yet, so both are
// the origin: with a positive velocity the node goes at its first tick, with Velocity 0 it
// holds its children at the origin.
class GP2PMovableNode : public GEffectNode<GP2PMovableNode> {
public:
    static constexpr uint32_t kTypeId = 1161;
    static constexpr const char16_t* kTypeName = u"GP2PMovableNode";
    static constexpr uint32_t kIntervalMs = 30;

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    bool OnUpdate(uint32_t elapsedMs) override;

protected:
    ~GP2PMovableNode() override = default;

private:
    CVector3d m_start;
    CVector3d m_end;
    float m_travelled = 0;
    float m_velocity = 0;
};
