#pragma once

#include "engine/video/IRendererServices.h"
#include "engine/video/d3d/D3D9MaterialPass.h"

// Hands every material to the driver's shared render states, as the driver's renderers do.
class BaseStatesPass : public CD3D9MaterialPass {
public:
    void applyStates(const RenderMaterial& material, const RenderMaterial& last, bool reset,
                     IRendererServices* services) override {
        services->setBaseRenderStates(material, last, reset);
    }
};
