#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/KeyFrame.h"
#include "game/effects/EffectNode.h"

// One particle of a burst: it starts at a drawn distance and angle from its parent's origin and
// flies off along that angle at a drawn speed; during one drawn window of its life its velocity
// is damped on every tick, during another it is accelerated (gravity, wind). The key-frame
// animations of its first child start at drawn times and slow from five times their speed to a
// tenth as it ages; it fades out over its last DisappearTime ms. At the end of its life a node
// that its spawner made internal removes itself; any other one hides, and starts again unseen
// at the next drawing pass, until a state shows it again.
class GBurstGravityNode : public GEffectNode<GBurstGravityNode> {
public:
    static constexpr uint32_t kTypeId = 1138;
    static constexpr const char16_t* kTypeName = u"GBurstGravityNode";
    static constexpr uint32_t kIntervalMs = 30;
    static constexpr int32_t kDefaultDisappearTime = 1000;

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    bool OnUpdate(uint32_t elapsedMs) override;

    CVector2d getVelocity() const { return m_velocity; }
    // The animations it drives.
    const CArray<CRefPointer<KeyFrame>>& getActions() const { return m_actions; }

protected:
    ~GBurstGravityNode() override = default;

    bool OnStart() override;

private:
    void gatherActions();
    bool endLife();

    CArray<CRefPointer<KeyFrame>> m_actions;
    CVector2d m_velocity;
    float m_damping = 0;
    CVector2d m_acceleration;
    // Remaining-life bounds of the two windows.
    int32_t m_dampingStart = 0;
    int32_t m_dampingEnd = 0;
    int32_t m_accelerationStart = 0;
    int32_t m_accelerationEnd = 0;
    int32_t m_remainingLife = 0;

    // Milliseconds after the start.
    CVector2d m_accel1StartTimeRange;
    CVector2d m_accel1EndTimeRange;
    CVector2d m_accel2StartTimeRange;
    CVector2d m_accel2EndTimeRange;
    // Degrees.
    CVector2d m_velocityAngleRange;
    CVector2d m_radiusRange;
    CVector2d m_velocityRange;
    // The damping factor.
    CVector2d m_accel1Range;
    CVector2d m_accel2XRange;
    CVector2d m_accel2YRange;
    int32_t m_disappearTime = kDefaultDisappearTime;
    int32_t m_lifeTime = 0;
};
