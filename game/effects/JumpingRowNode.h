#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "game/effects/EffectNode.h"

// A row of figures (its children) standing on its line y = 0: each now and then jumps up with
// a drawn velocity, falls back under a drawn acceleration, rests a drawn time, and on its own
// drawn timer has its children play "Action". A child that leaves the row is let go.
class GJumpingRowNode : public GEffectNode<GJumpingRowNode> {
public:
    static constexpr uint32_t kTypeId = 1140;
    static constexpr const char16_t* kTypeName = u"GJumpingRowNode";
    static constexpr uint32_t kIntervalMs = 30;

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // One record per child, resting with drawn timers, in place of any records before.
    void OnLoaded() override;
    bool OnUpdate(uint32_t elapsedMs) override;

    uint32_t getJumperCount() const { return m_jumpers.size(); }

protected:
    ~GJumpingRowNode() override = default;

private:
    struct Jumper {
        CRefPointer<BaseNode> node;
        float velocityY = 0;
        // 0 while the figure rests.
        float accelerationY = 0;
        int32_t jumpTimer = 0;
        int32_t actionTimer = 0;
    };

    void move(Jumper& jumper, uint32_t elapsedMs, float seconds);

    CArray<Jumper> m_jumpers;
    // Upwards is negative.
    CVector2d m_velocityYRange{-100, -150};
    CVector2d m_accelYRange{10, 10};
    CVector2d m_jumpTimeRange{5000, 1000};
    CVector2d m_actionTimeRange{10000, 20000};
};
