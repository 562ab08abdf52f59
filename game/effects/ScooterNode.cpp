#include "game/effects/ScooterNode.h"

#include <cmath>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/NameId.h"
#include "engine/core/String.h"
#include "engine/core/Vector3d.h"

namespace {

constexpr int32_t kSoundFadeOutMs = 500;

CNameId soundName() {
    static const CNameId name = nameOf("MapSkuter");
    return name;
}

} // namespace

GScooterNode::GScooterNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : GEffectNode(key, parent, sceneManager) {
    setSpeed(50 + 30 * engineRandom().nextUnitFloat());
}

bool GScooterNode::OnStart() {
    static const CNameId colours[3] = {nameOf("Color1"), nameOf("Color2"), nameOf("Color3")};
    setChildrenState(colours[engineRandom().next() % 3], nullptr);
    if (CSoundPlayer* player = soundPlayerOf(*this))
        player->playCue(soundName(), false, 0);
    return true;
}

bool GScooterNode::OnUpdate(uint32_t elapsedMs) {
    advance(elapsedMs);
    // Without a parent the path's space is the scooter's own.
    const CVector3d origin = getParent() != nullptr ? getParent()->getPosition() : CVector3d();
    const CVector3d at = getPosition();
    setPosition(CVector3d(at.x - origin.x, at.y - origin.y, at.y - origin.y));
    if (getPath() != nullptr)
        return true;
    CSoundPlayer* player = soundPlayerOf(*this);
    removeSelf();
    if (player != nullptr)
        player->stopCue(soundName(), kSoundFadeOutMs);
    return false;
}

void GScooterNode::setDirection(CVector2d heading) {
    static const CNameId mirroredName = nameOf("MapScooter1");
    struct Lean {
        float below;
        CNameId name;
    };
    static const Lean leans[] = {
        {-7.5f, nameOf("-2")}, {-2.5f, nameOf("-1")}, {2.5f, nameOf("0")}, {7.5f, nameOf("1")}};
    static const CNameId steepest = nameOf("2");
    float degrees = std::atan2(-heading.y, heading.x) * 57.29578f;
    if (getName() == mirroredName)
        degrees = degrees > 0 ? 180 - degrees : degrees < 0 ? -(degrees + 180) : degrees;
    CNameId name = steepest;
    for (const Lean& lean : leans) {
        if (degrees < lean.below) {
            name = lean.name;
            break;
        }
    }
    setChildrenState(name, nullptr);
}
