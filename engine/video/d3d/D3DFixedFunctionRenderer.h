#pragma once

#include <cstdint>

#include "engine/video/d3d/D3D9MaterialPass.h"
#include "engine/video/d3d/host/IDirect3DDeviceCommon.h"

class CD3DDriverBase;

// The fixed-function renderer of one material type: the texture stages and blending of that
// kind of surface, then the states every type shares. Each Direct3D driver places one at each
// of kTypes; the types in between have none. They refuse shader variables; on Direct3D 8,
// trans_vertex_alpha leaves stage 1's alpha operation as it was.
class CD3DFixedFunctionRenderer : public CD3D9MaterialPass {
public:
    static constexpr uint32_t kTypeCount = 13;
    static const uint32_t kTypes[kTypeCount];

    // Both outlive the renderer.
    CD3DFixedFunctionRenderer(IDirect3DDeviceCommon* device, CD3DDriverBase* driver, uint32_t type)
        : m_device(device), m_driver(driver), m_type(type) {}

    void applyStates(const RenderMaterial& material, const RenderMaterial& last,
                     bool resetAllStates, IRendererServices* services) override;
    bool beforeDraw(IRendererServices* services, uint32_t vertexType) override;
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

    IDirect3DDeviceCommon* m_device;
    CD3DDriverBase* m_driver;
    uint32_t m_type;
};

// Places a renderer of each of kTypes in the driver's list.
void placeFixedFunctionRenderers(CD3DDriverBase& driver);
