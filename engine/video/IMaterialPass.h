#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"

class IRendererServices;
class RenderMaterial;

// Sets up the render states of one material type. This base draws with whatever states are
// current, which is all the null driver needs; drawing drivers derive their passes from it.
class IMaterialPass : public virtual CRefCounted {
public:
    // Makes the material's states current; last is the material applied before it.
    virtual void applyStates(const RenderMaterial& material, const RenderMaterial& last,
                             bool resetAllStates, IRendererServices* services);
    // Called before each draw with the material current; false skips the draw.
    virtual bool beforeDraw(IRendererServices* services, uint32_t vertexType);
    // Undoes applyStates when another material type takes over.
    virtual void restoreStates();
    virtual bool usesTransparency() const;
    virtual int32_t capabilityLevel() const;
};
