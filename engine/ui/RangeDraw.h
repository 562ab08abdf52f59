#pragma once

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/core/Vector2d.h"

// The engine's generator, from which every draw of the emitters and spawners comes, so that a
// seeded generator repeats an effect.
inline CRandom& engineRandom() {
    return *CEngineServices::instance()->getRandom();
}

// A draw from (low, high): the low end without drawing when both are equal.
inline float drawFromRange(CRandom& random, CVector2d range) {
    return random.nextFloatInRange(range.x, range.y);
}
