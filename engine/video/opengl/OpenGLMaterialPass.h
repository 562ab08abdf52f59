#pragma once

#include <cstdint>

#include "engine/video/IMaterialPass.h"

class COpenGLRenderDriver;

// The fixed-function pass of one material type: binds the material's textures, has the driver
// apply the states all types share, then sets the type's texture stages and blending. Placed
// at the thirteen types the driver draws without shaders.
class COpenGLMaterialPass : public IMaterialPass {
public:
    static constexpr uint32_t kTypeCount = 13;
    // The types that have a pass, in the order they are placed.
    static const uint32_t kTypes[kTypeCount];

    // The driver owns the pass.
    COpenGLMaterialPass(COpenGLRenderDriver* driver, uint32_t type)
        : m_driver(driver), m_type(type) {}

    void applyStates(const RenderMaterial& material, const RenderMaterial& last,
                     bool resetAllStates, IRendererServices* services) override;
    void restoreStates() override;
    bool usesTransparency() const override;

private:
    void bindLayers(const RenderMaterial& material);
    void applyOwnStates(const RenderMaterial& material, bool changed);
    void applyOneTextureBlend(const RenderMaterial& material);
    void applyReflection();
    void generateCoordinates(bool on);

    COpenGLRenderDriver* m_driver;
    uint32_t m_type;
};
