#pragma once

#include <cstdint>

#include "game/effects/EffectNode.h"
#include "game/effects/PathMovableNode.h"

// A plane crossing the map at 150 to 200 units a second with the engine sound "MapPlain". Its
// children play "1" on its first segment, "2" on its second and so on, "8" from the eighth on.
// The tick after its path has ended it removes itself and its sound fades out over 500 ms.
class GPlaneNode : public GEffectNode<GPlaneNode, GPathMovableNode> {
public:
    static constexpr uint32_t kTypeId = 1134;
    static constexpr const char16_t* kTypeName = u"GPlaneNode";
    static constexpr uint32_t kIntervalMs = 10;

    // Draws its speed, so that every clone flies at its own.
    GPlaneNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    bool OnUpdate(uint32_t elapsedMs) override;

protected:
    ~GPlaneNode() override = default;

    // Starts the engine sound.
    bool OnStart() override;
    // The next segment's animation; the heading is not used.
    void setDirection(CVector2d heading) override;

private:
    int32_t m_animationCounter = 0;
};
