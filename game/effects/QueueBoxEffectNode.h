#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/SpriteNode.h"
#include "game/effects/EffectNode.h"

// A music note rising from the queue box: its sprite child "Note" gets a blue or green note
// picture, drifts off from the node's origin with a drawn velocity and acceleration while it
// circles on a growing ellipse, and fades over the last DisappearTime ms of its LifeTime. It
// starts at a drawing pass while it is visible; at the end a note made by code goes, one
// placed in a scene hides until it is shown again, and then flies anew.
class GQueueBoxEffectNode : public GEffectNode<GQueueBoxEffectNode> {
public:
    static constexpr uint32_t kTypeId = 1167;
    static constexpr const char16_t* kTypeName = u"GQueueBoxEffectNode";
    static constexpr uint32_t kIntervalMs = 30;
    static constexpr int32_t kDefaultDisappearTime = 1000;
    static constexpr int32_t kDefaultLifeTime = 2000;

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Binds the direct child "Note" when it is a sprite.
    void OnLoaded() override;
    bool OnUpdate(uint32_t elapsedMs) override;

    SpriteNode* getNote() const { return m_note.get(); }

protected:
    ~GQueueBoxEffectNode() override = default;

    // Idle while hidden or without a note.
    bool OnStart() override;

private:
    bool hasNote() const { return m_note && m_note->getParent() == this; }
    void placeNote();
    void pickPicture();

    CRefPointer<SpriteNode> m_note;
    CVector2d m_basePoint;
    CVector2d m_velocity;
    CVector2d m_acceleration;
    CVector2d m_ellipseSize;
    // Units per second.
    CVector2d m_ellipseGrowth;
    // Degrees, degrees per second and per second squared.
    float m_angle = 0;
    float m_angularVelocity = 5;
    float m_angularAcceleration = 0;
    CVector2d m_velocityXRange;
    CVector2d m_velocityYRange;
    CVector2d m_accelXRange;
    CVector2d m_accelYRange;
    CVector2d m_ellipseSizeXRange;
    CVector2d m_ellipseSizeYRange;
    CVector2d m_ellipseXVelRange;
    CVector2d m_ellipseYVelRange;
    CVector2d m_angularVelocityRange;
    CVector2d m_angularAccelRange;
    int32_t m_remainingLife = 0;
    int32_t m_disappearTime = kDefaultDisappearTime;
    int32_t m_lifeTime = kDefaultLifeTime;
};
