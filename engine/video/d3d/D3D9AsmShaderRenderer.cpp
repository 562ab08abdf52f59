#include "engine/video/d3d/D3D9AsmShaderRenderer.h"

#include "engine/video/IRendererServices.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/d3d/D3DLog.h"
#include "engine/video/d3d/D3DX9Library.h"

// Messages come as one zero-terminated text; anything else reads as none.
CString messagesOf(ID3DXBuffer* messages) {
    const auto* text = static_cast<const char*>(messages->GetBufferPointer());
    const uint32_t size = messages->GetBufferSize();
    if (!text || size == 0 || text[size - 1] != '\0')
        return CString();
    return CString(text);
}

void logAssemblyMessages(ID3DXBuffer* messages, bool vertex) {
    if (vertex) {
        logD3DWarning(CString("Vertex shader compilation failed: ").append(messagesOf(messages)));
    } else {
        logD3DInformation("Pixel shader compilation failed:");
        logD3DInformation(messagesOf(messages));
    }
}

CD3D9AsmShaderRenderer::CD3D9AsmShaderRenderer(IDirect3DDevice9* device, IShaderCallback* callback,
                                               IMaterialPass* baseRenderer, int32_t userData)
    : m_device(device), m_callback(CRefPointer<IShaderCallback>::share(callback)),
      m_baseRenderer(CRefPointer<IMaterialPass>::share(baseRenderer)), m_userData(userData) {}

CRefPointer<CD3D9AsmShaderRenderer>
CD3D9AsmShaderRenderer::create(IDirect3DDevice9* device, const char* vertexProgram,
                               const char* pixelProgram, IShaderCallback* callback,
                               IMaterialPass* baseRenderer, int32_t userData) {
    CRefPointer<CD3D9AsmShaderRenderer> renderer(
        new CD3D9AsmShaderRenderer(device, callback, baseRenderer, userData));
    if (!renderer->assembleShader(vertexProgram, true) ||
        !renderer->assembleShader(pixelProgram, false))
        return nullptr;
    return renderer;
}

bool CD3D9AsmShaderRenderer::assembleShader(const char* program, bool vertex) {
    if (!program)
        return true;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    CD3DX9Library::instance().assemble(program, &code, &errors);
    const CRefPointer<ID3DXBuffer> codeHolder(code);
    const CRefPointer<ID3DXBuffer> errorHolder(errors);
    if (errors) {
        logAssemblyMessages(errors, vertex);
        return false;
    }
    if (!(vertex ? createVertexShader(code) : createPixelShader(code))) {
        logD3DInformation(vertex ? "Could not create vertex shader."
                                 : "Could not create pixel shader.");
        return false;
    }
    return true;
}

bool CD3D9AsmShaderRenderer::createVertexShader(const ID3DXBuffer* code) {
    IDirect3DVertexShader9* shader = nullptr;
    if (!code ||
        FAILED(m_device->CreateVertexShader(
            static_cast<const uint32_t*>(const_cast<ID3DXBuffer*>(code)->GetBufferPointer()),
            &shader)))
        return false;
    m_vertexShader = CRefPointer<IDirect3DVertexShader9>(shader);
    return true;
}

bool CD3D9AsmShaderRenderer::createPixelShader(const ID3DXBuffer* code) {
    IDirect3DPixelShader9* shader = nullptr;
    if (!code ||
        FAILED(m_device->CreatePixelShader(
            static_cast<const uint32_t*>(const_cast<ID3DXBuffer*>(code)->GetBufferPointer()),
            &shader)))
        return false;
    m_pixelShader = CRefPointer<IDirect3DPixelShader9>(shader);
    return true;
}

void CD3D9AsmShaderRenderer::applyStates(const RenderMaterial& material, const RenderMaterial& last,
                                         bool resetAllStates, IRendererServices* services) {
    if (resetAllStates || material.type != last.type) {
        if (m_vertexShader) {
            IDirect3DVertexShader9* previous = nullptr;
            m_device->GetVertexShader(&previous);
            m_previousVertexShader = CRefPointer<IDirect3DVertexShader9>(previous);
            if (FAILED(m_device->SetVertexShader(m_vertexShader.get())))
                logD3DInformation("Could not set vertex shader.");
        }
        if (m_pixelShader && FAILED(m_device->SetPixelShader(m_pixelShader.get())))
            logD3DInformation("Could not set pixel shader.");
        if (m_baseRenderer)
            m_baseRenderer->applyStates(material, material, true, services);
    }
    if (m_callback)
        m_callback->onSetMaterial(material);
    services->setBaseRenderStates(material, last, resetAllStates);
}

bool CD3D9AsmShaderRenderer::beforeDraw(IRendererServices* services, uint32_t) {
    if (m_callback && hasShader())
        m_callback->onSetConstants(services, m_userData);
    return true;
}

void CD3D9AsmShaderRenderer::restoreStates() {
    if (m_vertexShader) {
        m_device->SetVertexShader(m_previousVertexShader.get());
        m_previousVertexShader.reset();
    }
    if (m_pixelShader)
        m_device->SetPixelShader(nullptr);
    if (m_baseRenderer)
        m_baseRenderer->restoreStates();
}

bool CD3D9AsmShaderRenderer::usesTransparency() const {
    return m_baseRenderer && m_baseRenderer->usesTransparency();
}
