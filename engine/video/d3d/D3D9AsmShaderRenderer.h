#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/video/IShaderCallback.h"
#include "engine/video/d3d/D3D9MaterialPass.h"
#include "engine/video/d3d/host/D3DX9Shader.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"
#include "engine/video/d3d/host/IDirect3DShader9.h"

// A material renderer of assembly vertex and pixel programs, either of which may be missing. It
// sets its programs and the states of its base renderer, and lets its callback set the programs'
// constants before every draw.
class CD3D9AsmShaderRenderer : public CD3D9MaterialPass {
public:
    // None, logged, when a program does not assemble or the device refuses it.
    static CRefPointer<CD3D9AsmShaderRenderer>
    create(IDirect3DDevice9* device, const char* vertexProgram, const char* pixelProgram,
           IShaderCallback* callback, IMaterialPass* baseRenderer, int32_t userData);

    void applyStates(const RenderMaterial& material, const RenderMaterial& last,
                     bool resetAllStates, IRendererServices* services) override;
    bool beforeDraw(IRendererServices* services, uint32_t vertexType) override;
    void restoreStates() override;
    bool usesTransparency() const override;

protected:
    CD3D9AsmShaderRenderer(IDirect3DDevice9* device, IShaderCallback* callback,
                           IMaterialPass* baseRenderer, int32_t userData);

    bool createVertexShader(const ID3DXBuffer* code);
    bool createPixelShader(const ID3DXBuffer* code);
    bool hasShader() const { return m_vertexShader || m_pixelShader; }

    IDirect3DDevice9* m_device;

private:
    // True for no program; false, logged, when it does not assemble or the device refuses it.
    bool assembleShader(const char* program, bool vertex);

    CRefPointer<IShaderCallback> m_callback;
    CRefPointer<IMaterialPass> m_baseRenderer;
    CRefPointer<IDirect3DVertexShader9> m_vertexShader;
    CRefPointer<IDirect3DVertexShader9> m_previousVertexShader;
    CRefPointer<IDirect3DPixelShader9> m_pixelShader;
    int32_t m_userData;
};

// The text of a message buffer.
CString messagesOf(ID3DXBuffer* messages);
// The assembler's messages on a program that failed, as the vertex or pixel program's lines.
void logAssemblyMessages(ID3DXBuffer* messages, bool vertex);
