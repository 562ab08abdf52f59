#include "game/effects/PlaneNode.h"

#include "engine/audio/SoundPlayer.h"
#include "engine/core/NameId.h"
#include "engine/core/String.h"

namespace {

constexpr int32_t kLastAnimation = 7;
constexpr int32_t kSoundFadeOutMs = 500;

CNameId soundName() {
    static const CNameId name(CString("MapPlain"));
    return name;
}

} // namespace

GPlaneNode::GPlaneNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : GEffectNode(key, parent, sceneManager) {
    setSpeed(150 + 50 * engineRandom().nextUnitFloat());
}

bool GPlaneNode::OnStart() {
    if (CSoundPlayer* player = soundPlayerOf(*this))
        player->playCue(soundName(), false, 0);
    return true;
}

bool GPlaneNode::OnUpdate(uint32_t elapsedMs) {
    advance(elapsedMs);
    if (getPath() != nullptr)
        return true;
    // Taken before the plane leaves its scene, and with it the way to the engine.
    CSoundPlayer* player = soundPlayerOf(*this);
    removeSelf();
    if (player != nullptr)
        player->stopCue(soundName(), kSoundFadeOutMs);
    return false;
}

void GPlaneNode::setDirection(CVector2d) {
    static const CNameId names[kLastAnimation + 1] = {
        CNameId(CString("1")), CNameId(CString("2")), CNameId(CString("3")), CNameId(CString("4")),
        CNameId(CString("5")), CNameId(CString("6")), CNameId(CString("7")), CNameId(CString("8")),
    };
    const CNameId name = names[m_animationCounter];
    if (m_animationCounter < kLastAnimation)
        ++m_animationCounter;
    setChildrenState(name, nullptr);
}
