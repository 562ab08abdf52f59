#include "engine/video/d3d/D3D9HlslShaderRenderer.h"

#include "engine/video/d3d/D3DLog.h"
#include "engine/video/d3d/D3DX9Library.h"

namespace {

const char* const kVertexProfiles[] = {"vs_1_1", "vs_2_0", "vs_2_a", "vs_3_0"};
const char* const kPixelProfiles[] = {"ps_1_1", "ps_1_2", "ps_1_3", "ps_1_4",
                                      "ps_2_0", "ps_2_a", "ps_2_b", "ps_3_0"};

template <size_t N>
const char* profileOf(const char* const (&profiles)[N], int32_t target) {
    return target >= 0 && size_t(target) < N ? profiles[target] : nullptr;
}

} // namespace

CRefPointer<CD3D9HlslShaderRenderer> CD3D9HlslShaderRenderer::create(
    IDirect3DDevice9* device, const char* vertexProgram, const char* vertexEntry,
    int32_t vertexTarget, const char* pixelProgram, const char* pixelEntry, int32_t pixelTarget,
    IShaderCallback* callback, IMaterialPass* baseRenderer, int32_t userData) {
    const char* vertexProfile = profileOf(kVertexProfiles, vertexTarget);
    if (!vertexProfile) {
        logD3DInformation("Invalid HLSL vertex shader compilation target");
        return nullptr;
    }
    const char* pixelProfile = profileOf(kPixelProfiles, pixelTarget);
    if (!pixelProfile) {
        logD3DInformation("Invalid HLSL pixel shader compilation target");
        return nullptr;
    }
    CRefPointer<CD3D9HlslShaderRenderer> renderer(
        new CD3D9HlslShaderRenderer(device, callback, baseRenderer, userData));
    if (!renderer->compileShader(vertexProgram, vertexEntry, vertexProfile, true) ||
        !renderer->compileShader(pixelProgram, pixelEntry, pixelProfile, false))
        return nullptr;
    return renderer;
}

bool CD3D9HlslShaderRenderer::compileShader(const char* program, const char* entry,
                                            const char* profile, bool vertex) {
    if (!program)
        return true;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    ID3DXConstantTable* constants = nullptr;
    const HRESULT result =
        CD3DX9Library::instance().compile(program, entry, profile, &code, &errors, &constants);
    const CRefPointer<ID3DXBuffer> codeHolder(code);
    const CRefPointer<ID3DXBuffer> errorHolder(errors);
    (vertex ? m_vertexConstants : m_pixelConstants) = CRefPointer<ID3DXConstantTable>(constants);
    if (FAILED(result)) {
        logD3DInformation(vertex ? "HLSL vertex shader compilation failed:"
                                 : "HLSL pixel shader compilation failed:");
        if (errors)
            logD3DInformation(messagesOf(errors));
        return false;
    }
    // A disabled compiler gives no code and has said so once already.
    if (!code)
        return false;
    if (!(vertex ? createVertexShader(code) : createPixelShader(code))) {
        logD3DInformation(vertex ? "Could not create hlsl vertex shader."
                                 : "Could not create hlsl pixel shader.");
        return false;
    }
    return true;
}

bool CD3D9HlslShaderRenderer::beforeDraw(IRendererServices* services, uint32_t vertexType) {
    if (m_vertexConstants)
        m_vertexConstants->SetDefaults(m_device);
    return CD3D9AsmShaderRenderer::beforeDraw(services, vertexType);
}

bool CD3D9HlslShaderRenderer::setVariable(bool vertex, const char* name, const float* data,
                                          int32_t count) {
    ID3DXConstantTable* table = vertex ? m_vertexConstants.get() : m_pixelConstants.get();
    if (!table)
        return false;
    const D3DXHANDLE constant = table->GetConstantByName(nullptr, name);
    if (!constant) {
        logD3DWarning(CString("HLSL Variable to set not found: '")
                          .append(name)
                          .append("'. Available variables are:"));
        listConstants(*table);
        return false;
    }
    if (FAILED(table->SetFloatArray(m_device, constant, data, uint32_t(count)))) {
        logD3DWarning("Error setting float array for HLSL variable");
        return false;
    }
    return true;
}

void CD3D9HlslShaderRenderer::listConstants(ID3DXConstantTable& table) {
    D3DXCONSTANTTABLE_DESC desc;
    table.GetDesc(&desc);
    for (uint32_t i = 0; i < desc.Constants; ++i) {
        D3DXCONSTANT_DESC constant;
        uint32_t count = 1;
        table.GetConstantDesc(table.GetConstant(nullptr, i), &constant, &count);
        logD3DInformation(CString("  '")
                              .append(constant.Name ? constant.Name : "")
                              .append("' Registers:[begin:")
                              .append(constant.RegisterIndex)
                              .append(", count:")
                              .append(constant.RegisterCount)
                              .append("]"));
    }
}
