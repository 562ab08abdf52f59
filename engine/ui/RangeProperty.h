#pragma once

#include "engine/core/Properties.h"
#include "engine/core/Vector2d.h"

// Ranges are written only when they differ from their default.
inline void saveVector2d(CProperties& properties, const char* key, CVector2d value,
                         CVector2d defaultValue) {
    if (!(value == defaultValue))
        properties.addVector2d(key, value);
}
