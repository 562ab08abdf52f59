#pragma once

#include <cstdint>

#include "engine/video/d3d/D3D9AsmShaderRenderer.h"

// A material renderer of high-level programs compiled for a profile, whose named constants can
// be set through the renderer services.
class CD3D9HlslShaderRenderer : public CD3D9AsmShaderRenderer {
public:
    // Targets: vertex 0 "vs_1_1" to 3 "vs_3_0", pixel 0 "ps_1_1" to 7 "ps_3_0". None, logged,
    // for a target outside them, a program that does not compile or one the device refuses.
    static CRefPointer<CD3D9HlslShaderRenderer>
    create(IDirect3DDevice9* device, const char* vertexProgram, const char* vertexEntry,
           int32_t vertexTarget, const char* pixelProgram, const char* pixelEntry,
           int32_t pixelTarget, IShaderCallback* callback, IMaterialPass* baseRenderer,
           int32_t userData);

    bool beforeDraw(IRendererServices* services, uint32_t vertexType) override;
    bool setVariable(bool vertex, const char* name, const float* data, int32_t count) override;

private:
    using CD3D9AsmShaderRenderer::CD3D9AsmShaderRenderer;

    // True for no program; false, logged, when it does not compile or the device refuses it.
    bool compileShader(const char* program, const char* entry, const char* profile, bool vertex);
    // Logs the constants of the table, one line each.
    static void listConstants(ID3DXConstantTable& table);

    CRefPointer<ID3DXConstantTable> m_vertexConstants;
    CRefPointer<ID3DXConstantTable> m_pixelConstants;
};
