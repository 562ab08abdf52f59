#pragma once

#include <cstdint>

#include "game/effects/EffectNode.h"
#include "game/effects/PathMovableNode.h"

// A scooter riding a path of the map at 50 to 80 units a second with the engine sound
// "MapSkuter", in one of three colours ("Color1" to "Color3" on its children). Its path is
// given in the space of its parent's position, so it is placed relative to its parent. Its
// children lean with the climb of its heading ("-2" to "2"; mirrored for the scooter named
// "MapScooter1", drawn facing the other way). The tick after its path has ended it removes
// itself and its sound fades out over 500 ms.
class GScooterNode : public GEffectNode<GScooterNode, GPathMovableNode> {
public:
    static constexpr uint32_t kTypeId = 1133;
    static constexpr const char16_t* kTypeName = u"GScooterNode";
    static constexpr uint32_t kIntervalMs = 10;

    // Draws its speed, so that every clone rides at its own.
    GScooterNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    bool OnUpdate(uint32_t elapsedMs) override;

protected:
    ~GScooterNode() override = default;

    // Picks the colour and starts the engine sound.
    bool OnStart() override;
    // The lean; the travel's direction name is left as it is.
    void setDirection(CVector2d heading) override;
};
