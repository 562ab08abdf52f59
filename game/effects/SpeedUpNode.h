#pragma once

#include <cstdint>

#include "engine/core/Vector2d.h"
#include "game/effects/EffectNode.h"

// A one-shot icon: from its first drawing pass it fades in over AppearTime ms while turning
// from a drawn start rotation to its drawn flight direction, flies that way at a drawn speed
// for MovingTime ms, fades out over DisappearTime ms while still flying, and removes itself.
// Its draws come from the engine's MT19937 stream.
class GSpeedUpNode : public GEffectNode<GSpeedUpNode> {
public:
    static constexpr uint32_t kTypeId = 1139;
    static constexpr const char16_t* kTypeName = u"GSpeedUpNode";
    static constexpr uint32_t kIntervalMs = 30;
    static constexpr int32_t kDefaultPhaseTime = 1000;

    enum Phase : int32_t { kNotStarted = 0, kAppearing = 1, kMoving = 2, kDisappearing = 3 };

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    bool OnUpdate(uint32_t elapsedMs) override;

    Phase getPhase() const { return m_phase; }
    CVector2d getVelocity() const { return m_velocity; }
    // Degrees.
    float getDirection() const { return m_direction; }
    float getStartRotation() const { return m_startRotation; }

protected:
    ~GSpeedUpNode() override = default;

    bool OnStart() override;

private:
    void appear();

    Phase m_phase = kNotStarted;
    int32_t m_phaseTime = 0;
    CVector2d m_velocityRange{100, 200};
    CVector2d m_startAngleRange{0, 360};
    CVector2d m_targetAngleRange{0, 360};
    int32_t m_appearTime = kDefaultPhaseTime;
    int32_t m_movingTime = kDefaultPhaseTime;
    int32_t m_disappearTime = kDefaultPhaseTime;
    CVector2d m_velocity;
    float m_startRotation = 0;
    float m_direction = 0;
};
