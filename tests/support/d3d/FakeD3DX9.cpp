#include "tests/support/d3d/FakeD3DX9.h"

#include <cstring>

#include "engine/core/Array.h"
#include "engine/video/d3d/D3DX9Library.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/D3DX9Shader.h"
#include "tests/support/d3d/FakeD3D9Runtime.h"

namespace {

class FakeBuffer : public ID3DXBuffer {
public:
    explicit FakeBuffer(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    void* GetBufferPointer() override { return m_bytes.data(); }
    uint32_t GetBufferSize() override { return uint32_t(m_bytes.size()); }

private:
    std::vector<uint8_t> m_bytes;
};

ID3DXBuffer* textBuffer(const std::string& text) {
    return new FakeBuffer(std::vector<uint8_t>(text.c_str(), text.c_str() + text.size() + 1));
}

ID3DXBuffer* codeBuffer(uint32_t length) {
    std::vector<uint8_t> bytes(sizeof(uint32_t) * 2);
    const uint32_t words[2] = {length, 0x0000FFFFu};
    std::memcpy(bytes.data(), words, sizeof(words));
    return new FakeBuffer(bytes);
}

class FakeConstantTable : public ID3DXConstantTable {
public:
    explicit FakeConstantTable(FakeD3DX9& library) : m_library(library) {}

    HRESULT GetDesc(D3DXCONSTANTTABLE_DESC* desc) override {
        *desc = D3DXCONSTANTTABLE_DESC();
        desc->Constants = uint32_t(m_library.constants.size());
        return D3D_OK;
    }
    D3DXHANDLE GetConstant(D3DXHANDLE, uint32_t index) override {
        return index < m_library.constants.size() ? m_library.constants[index].name.c_str()
                                                  : nullptr;
    }
    D3DXHANDLE GetConstantByName(D3DXHANDLE, const char* name) override {
        for (const FakeShaderConstant& constant : m_library.constants) {
            if (constant.name == name)
                return constant.name.c_str();
        }
        return nullptr;
    }
    HRESULT GetConstantDesc(D3DXHANDLE handle, D3DXCONSTANT_DESC* desc, uint32_t* count) override {
        for (const FakeShaderConstant& constant : m_library.constants) {
            if (constant.name.c_str() == handle) {
                *desc = D3DXCONSTANT_DESC();
                desc->Name = handle;
                desc->RegisterIndex = constant.registerIndex;
                desc->RegisterCount = constant.registerCount;
                *count = 1;
                return D3D_OK;
            }
        }
        return D3DERR_INVALIDCALL;
    }
    HRESULT SetDefaults(IDirect3DDevice9*) override {
        m_library.runtime.record("SetDefaults");
        return D3D_OK;
    }
    HRESULT SetFloatArray(IDirect3DDevice9*, D3DXHANDLE constant, const float*,
                          uint32_t count) override {
        m_library.runtime.record("SetFloatArray(" + std::string(constant) + ", " +
                                 std::to_string(count) + ")");
        return D3D_OK;
    }

private:
    FakeD3DX9& m_library;
};

HRESULT assemble(void* context, const char* source, uint32_t length, const void*, void*, uint32_t,
                 ID3DXBuffer** shader, ID3DXBuffer** errors) {
    auto* library = static_cast<FakeD3DX9*>(context);
    const std::string text(source, length);
    library->runtime.record("D3DXAssembleShader(" + text + ")");
    if (text.find("error") != std::string::npos) {
        *errors = textBuffer(text);
        return D3DERR_INVALIDCALL;
    }
    *shader = codeBuffer(length);
    return D3D_OK;
}

HRESULT compile(void* context, const char* source, uint32_t length, const void*, void*,
                const char* entry, const char* profile, uint32_t, ID3DXBuffer** shader,
                ID3DXBuffer** errors, ID3DXConstantTable** table) {
    auto* library = static_cast<FakeD3DX9*>(context);
    const std::string text(source, length);
    library->runtime.record("D3DXCompileShader(" + std::string(entry) + ", " +
                            std::string(profile) + ")");
    if (text.find("error") != std::string::npos) {
        *errors = textBuffer(text);
        return D3DERR_INVALIDCALL;
    }
    *shader = codeBuffer(length);
    *table = new FakeConstantTable(*library);
    return D3D_OK;
}

} // namespace

FakeD3DX9::FakeD3DX9(FakeD3D9Runtime& runtime, bool withAssembler, bool withCompiler)
    : runtime(runtime) {
    CArray<D3DModuleExport> exports;
    if (withAssembler)
        exports.append({"D3DXAssembleShader", reinterpret_cast<void (*)()>(&assemble), this});
    if (withCompiler)
        exports.append({"D3DXCompileShader", reinterpret_cast<void (*)()>(&compile), this});
    CD3DModuleRegistry::instance().registerModule("d3dx9_30.dll", exports);
    CD3DX9Library::instance().forget();
}

FakeD3DX9::~FakeD3DX9() {
    CD3DModuleRegistry::instance().unregisterModule("d3dx9_30.dll");
    CD3DX9Library::instance().forget();
}
