#pragma once

#include <cstdint>

#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "game/effects/EffectNode.h"

// A balloon (drawn by its children) floating from where it starts: it swings sideways inside a
// band of drawn half-width, rises at a drawn speed with a drawn acceleration during the first
// drawn part of its life, fades out over its last DisappearTime ms and removes itself when its
// LifeTime is over. Every run draws its own values.
class GBaloonNode : public GEffectNode<GBaloonNode> {
public:
    static constexpr uint32_t kTypeId = 1137;
    static constexpr const char16_t* kTypeName = u"GBaloonNode";
    static constexpr uint32_t kIntervalMs = 30;
    static constexpr int32_t kDefaultDisappearTime = 1000;

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    bool OnUpdate(uint32_t elapsedMs) override;

    CVector2d getVelocity() const { return {m_velocityX, m_velocityY}; }

protected:
    ~GBaloonNode() override = default;

    bool OnStart() override;

private:
    CVector2d m_scaleRange{1, 1};
    CVector2d m_widthRange;
    CVector2d m_xVelocityRange;
    CVector2d m_yVelocityRange;
    CVector2d m_yAccelRange;
    // Milliseconds from the start during which the acceleration acts.
    CVector2d m_yAccelTimeRange;
    int32_t m_disappearTime = kDefaultDisappearTime;
    int32_t m_lifeTime = 0;
    CVector3d m_start;
    float m_velocityX = 0;
    float m_velocityY = 0;
    float m_accelerationY = 0;
    float m_width = 0;
    // The remaining life below which the acceleration has stopped.
    int32_t m_accelerationEnd = 0;
    int32_t m_remainingLife = 0;
};
