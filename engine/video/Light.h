#pragma once

#include <cstdint>

#include "engine/core/Color.h"
#include "engine/core/Vector3d.h"

enum ELightKind : int32_t {
    LIGHT_POINT = 0,
    LIGHT_SPOT = 1,
    LIGHT_DIRECTIONAL = 2,
};

// One light as the drivers store it. The reserved floats are kept so the record stays 108 bytes.
struct CLight {
    CColorf ambient;
    CColorf diffuse;
    CColorf specular;
    float constantAttenuation = 0;
    float linearAttenuation = 0;
    float quadraticAttenuation = 0;
    float radius = 0;
    // Degrees.
    float outerCone = 0;
    float innerCone = 0;
    float falloff = 0;
    float reserved = 0;
    int32_t kind = LIGHT_POINT;
    CVector3d position;
    CVector3d direction;
};

static_assert(sizeof(CLight) == 108);
