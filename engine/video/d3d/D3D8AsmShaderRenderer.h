#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/video/IMaterialPass.h"
#include "engine/video/IShaderCallback.h"
#include "engine/video/d3d/host/IDirect3DDevice8.h"

// A material renderer of Direct3D 8 assembly vertex and pixel programs, either of which may be
// missing, assembled by the extension library's assembler. It sets its shaders and the states of
// its base renderer, and lets its callback set the programs' constants before every draw. The
// vertex shader stays on the device until the next vertex format is set.
class CD3D8AsmShaderRenderer : public IMaterialPass {
public:
    // None, logged, when a program does not assemble or the device refuses it.
    static CRefPointer<CD3D8AsmShaderRenderer>
    create(IDirect3DDevice8* device, const char* vertexProgram, const char* pixelProgram,
           IShaderCallback* callback, IMaterialPass* baseRenderer, int32_t userData);

    void applyStates(const RenderMaterial& material, const RenderMaterial& last,
                     bool resetAllStates, IRendererServices* services) override;
    bool beforeDraw(IRendererServices* services, uint32_t vertexType) override;
    void restoreStates() override;
    bool usesTransparency() const override;

protected:
    ~CD3D8AsmShaderRenderer() override;

private:
    CD3D8AsmShaderRenderer(IDirect3DDevice8* device, IShaderCallback* callback,
                           IMaterialPass* baseRenderer, int32_t userData);

    // True for no program; false, logged, when it does not assemble or the device refuses it.
    bool assembleShader(const char* program, bool vertex);

    IDirect3DDevice8* m_device;
    CRefPointer<IShaderCallback> m_callback;
    CRefPointer<IMaterialPass> m_baseRenderer;
    uint32_t m_vertexShader = 0;
    uint32_t m_pixelShader = 0;
    int32_t m_userData;
};
