#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"

class IRendererServices;
class RenderMaterial;

// What the user of a shader material supplies: it hears of every application of the material
// and sets the program's constants before every draw.
class IShaderCallback : public virtual CRefCounted {
public:
    virtual void onSetMaterial(const RenderMaterial& material) = 0;
    // The services set the constants of the pass's programs; userData is what the material was
    // made with.
    virtual void onSetConstants(IRendererServices* services, int32_t userData) = 0;
};
