#pragma once

#include <cstdint>

#include "engine/core/Matrix4.h"
#include "engine/video/d3d/D3D9MaterialPass.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"

class CD3D9Driver;

// The fixed-function renderer of one material type: the texture stages and blending of that
// kind of surface, then the states every type shares. The driver places one at each of
// kTypes; the types in between have none.
class CD3D9FixedFunctionRenderer : public CD3D9MaterialPass {
public:
    static constexpr uint32_t kTypeCount = 13;
    static const uint32_t kTypes[kTypeCount];

    // Both outlive the renderer.
    CD3D9FixedFunctionRenderer(IDirect3DDevice9* device, CD3D9Driver* driver, uint32_t type)
        : m_device(device), m_driver(driver), m_type(type) {}

    void applyStates(const RenderMaterial& material, const RenderMaterial& last,
                     bool resetAllStates, IRendererServices* services) override;
    void restoreStates() override;
    bool usesTransparency() const override;

private:
    void applyOwnStates(const RenderMaterial& material);
    void applyOneTextureBlend(const RenderMaterial& material);
    void applySphereMap(uint32_t stage, uint32_t coordinateSource);
    void removeSphereMap(uint32_t stage);
    void setColorStage(uint32_t stage, uint32_t operation, uint32_t arg1, uint32_t arg2);
    void setAlphaStage(uint32_t stage, uint32_t operation, uint32_t arg1, uint32_t arg2);
    void disableStage(uint32_t stage);
    void setBlending(bool on, uint32_t source = 0, uint32_t destination = 0);
    void setAlphaTest(uint32_t reference);

    IDirect3DDevice9* m_device;
    CD3D9Driver* m_driver;
    uint32_t m_type;
};

// The texture matrix of sphere mapping: camera-space x and y from -1..1 onto 0..1, v down.
const CMatrix4& sphereMapMatrix();
