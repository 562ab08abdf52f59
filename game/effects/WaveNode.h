#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/Vector3d.h"
#include "game/effects/EffectNode.h"

// A wave on the map's sea: it drifts at Velocity (units per second), fades in from transparent
// white over its first 1300 ms, fades out over its last 1300 ms and removes itself when its
// LifeTime is over (0 or less: it lives and drifts for ever, unseen). Its direct child "Wave"
// plays "Normal" from the start.
class GWaveNode : public GEffectNode<GWaveNode> {
public:
    static constexpr uint32_t kTypeId = 1132;
    static constexpr const char16_t* kTypeName = u"GWaveNode";
    static constexpr uint32_t kIntervalMs = 15;
    static constexpr int32_t kFadeMs = 1300;

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void OnLoaded() override;
    // Starts before its children are gathered, so that they are drawn transparent already.
    void collectDrawables(RenderList& list) override;
    bool OnUpdate(uint32_t elapsedMs) override;

    BaseNode* getWave() const { return m_wave.get(); }

protected:
    ~GWaveNode() override = default;

    bool OnStart() override;

private:
    CRefPointer<BaseNode> m_wave;
    CVector3d m_velocity;
    int32_t m_remainingLife = -1;
    int32_t m_lifeTime = -1;
};
