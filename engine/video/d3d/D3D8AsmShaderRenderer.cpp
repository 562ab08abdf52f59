#include "engine/video/d3d/D3D8AsmShaderRenderer.h"

#include <cstring>

#include "engine/video/IRendererServices.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/d3d/D3D9AsmShaderRenderer.h"
#include "engine/video/d3d/D3DLog.h"
#include "engine/video/d3d/host/D3DX8Shader.h"

namespace {

// The registers of the engine's vertices in stream 0: position, normal, colour and two sets of
// texture coordinates.
const uint32_t kDeclaration[] = {
    D3DVSD_STREAM(0),
    D3DVSD_REG(0, D3DVSDT_FLOAT3),
    D3DVSD_REG(1, D3DVSDT_FLOAT3),
    D3DVSD_REG(2, D3DVSDT_D3DCOLOR),
    D3DVSD_REG(3, D3DVSDT_FLOAT2),
    D3DVSD_REG(4, D3DVSDT_FLOAT2),
    D3DVSD_END(),
};

// Assembles the program into code, or logs the messages as the caller's line and gives none.
CRefPointer<ID3DXBuffer> assemble(const char* program, bool vertex) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    D3DXAssembleShader(program, uint32_t(std::strlen(program)), 0, nullptr, &code, &errors);
    CRefPointer<ID3DXBuffer> codeHolder(code);
    const CRefPointer<ID3DXBuffer> errorHolder(errors);
    if (!errors)
        return codeHolder;
    logAssemblyMessages(errors, vertex);
    return nullptr;
}

const uint32_t* tokensOf(const CRefPointer<ID3DXBuffer>& code) {
    return static_cast<const uint32_t*>(code->GetBufferPointer());
}

} // namespace

CD3D8AsmShaderRenderer::CD3D8AsmShaderRenderer(IDirect3DDevice8* device, IShaderCallback* callback,
                                               IMaterialPass* baseRenderer, int32_t userData)
    : m_device(device), m_callback(CRefPointer<IShaderCallback>::share(callback)),
      m_baseRenderer(CRefPointer<IMaterialPass>::share(baseRenderer)), m_userData(userData) {}

CD3D8AsmShaderRenderer::~CD3D8AsmShaderRenderer() {
    if (m_vertexShader)
        m_device->DeleteVertexShader(m_vertexShader);
    if (m_pixelShader)
        m_device->DeletePixelShader(m_pixelShader);
}

CRefPointer<CD3D8AsmShaderRenderer>
CD3D8AsmShaderRenderer::create(IDirect3DDevice8* device, const char* vertexProgram,
                               const char* pixelProgram, IShaderCallback* callback,
                               IMaterialPass* baseRenderer, int32_t userData) {
    CRefPointer<CD3D8AsmShaderRenderer> renderer(
        new CD3D8AsmShaderRenderer(device, callback, baseRenderer, userData));
    if (!renderer->assembleShader(vertexProgram, true) ||
        !renderer->assembleShader(pixelProgram, false))
        return nullptr;
    return renderer;
}

bool CD3D8AsmShaderRenderer::assembleShader(const char* program, bool vertex) {
    if (!program)
        return true;
    const CRefPointer<ID3DXBuffer> code = assemble(program, vertex);
    if (!code)
        return false;
    const HRESULT result =
        vertex ? m_device->CreateVertexShader(kDeclaration, tokensOf(code), &m_vertexShader, 0)
               : m_device->CreatePixelShader(tokensOf(code), &m_pixelShader);
    if (FAILED(result)) {
        logD3DInformation(vertex ? "Could not create vertex shader."
                                 : "Could not create pixel shader.");
        return false;
    }
    return true;
}

void CD3D8AsmShaderRenderer::applyStates(const RenderMaterial& material, const RenderMaterial& last,
                                         bool resetAllStates, IRendererServices* services) {
    if (resetAllStates || material.type != last.type) {
        if (m_vertexShader && FAILED(m_device->SetVertexShader(m_vertexShader)))
            logD3DInformation("Could not set vertex shader.");
        if (m_pixelShader && FAILED(m_device->SetPixelShader(m_pixelShader)))
            logD3DInformation("Could not set pixel shader.");
        if (m_baseRenderer)
            m_baseRenderer->applyStates(material, material, true, services);
    }
    if (m_callback)
        m_callback->onSetMaterial(material);
    services->setBaseRenderStates(material, last, resetAllStates);
}

bool CD3D8AsmShaderRenderer::beforeDraw(IRendererServices* services, uint32_t) {
    if (m_callback && (m_vertexShader || m_pixelShader))
        m_callback->onSetConstants(services, m_userData);
    return true;
}

void CD3D8AsmShaderRenderer::restoreStates() {
    if (m_pixelShader)
        m_device->SetPixelShader(0);
    if (m_baseRenderer)
        m_baseRenderer->restoreStates();
}

bool CD3D8AsmShaderRenderer::usesTransparency() const {
    return m_baseRenderer && m_baseRenderer->usesTransparency();
}
