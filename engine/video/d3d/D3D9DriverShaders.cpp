// The Direct3D 9 driver's shader materials, placed after the types already in its list.

#include "engine/video/d3d/D3D9AsmShaderRenderer.h"
#include "engine/video/d3d/D3D9Driver.h"
#include "engine/video/d3d/D3D9HlslShaderRenderer.h"

int32_t CD3D9Driver::createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                                       IShaderCallback* callback, int32_t baseMaterialType,
                                       int32_t userData) {
    if (!m_device)
        return -1;
    const CRefPointer<CD3D9AsmShaderRenderer> renderer =
        CD3D9AsmShaderRenderer::create(m_device.get(), vertexProgram, pixelProgram, callback,
                                       baseRendererOf(baseMaterialType), userData);
    if (!renderer)
        return -1;
    return setMaterialPass(int32_t(getMaterialPassCount()), renderer.get(), nullptr);
}

int32_t CD3D9Driver::createHighLevelMaterial(const char* vertexProgram, const char* vertexEntry,
                                             int32_t vertexTarget, const char* pixelProgram,
                                             const char* pixelEntry, int32_t pixelTarget,
                                             IShaderCallback* callback, int32_t baseMaterialType,
                                             int32_t userData) {
    if (!m_device)
        return -1;
    const CRefPointer<CD3D9HlslShaderRenderer> renderer = CD3D9HlslShaderRenderer::create(
        m_device.get(), vertexProgram, vertexEntry, vertexTarget, pixelProgram, pixelEntry,
        pixelTarget, callback, baseRendererOf(baseMaterialType), userData);
    if (!renderer)
        return -1;
    return setMaterialPass(int32_t(getMaterialPassCount()), renderer.get(), nullptr);
}
