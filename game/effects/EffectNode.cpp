#include "game/effects/EffectNode.h"

#include <cmath>

#include "engine/core/Color.h"
#include "engine/core/Engine.h"
#include "engine/scene/SceneManager.h"

CSoundPlayer* soundPlayerOf(const BaseNode& node) {
    const SceneManager* manager = node.getSceneManager();
    const CEngine* engine = manager != nullptr ? manager->getEngine() : nullptr;
    return engine != nullptr ? engine->getSoundPlayer() : nullptr;
}

void fadeOut(BaseNode& node, int32_t remainingMs, int32_t fadeMs) {
    if (fadeMs <= 0 || remainingMs >= fadeMs)
        return;
    const float alpha = std::floor(float(remainingMs) * 255.0f / float(fadeMs) + 0.5f);
    setTintAlpha(node, alpha > 0 ? uint32_t(alpha) : 0);
}

void setTintAlpha(BaseNode& node, uint32_t alpha) {
    node.setTintColor(CColor(alpha << 24 | (node.getTintColor().value & 0x00FFFFFFu)));
}
