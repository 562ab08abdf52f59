#include "engine/video/d3d/D3DX9Library.h"

#include <cstring>

#include "engine/video/d3d/D3DLog.h"

namespace {

// The version of the library the drivers were built against.
constexpr const char* kLibraryName = "d3dx9_30.dll";

} // namespace

CD3DX9Library& CD3DX9Library::instance() {
    static CD3DX9Library library;
    return library;
}

void CD3DX9Library::forget() {
    m_module.reset();
    m_assembler = Entry{"D3DXAssembleShader"};
    m_compiler = Entry{"D3DXCompileShader"};
}

const D3DModuleExport* CD3DX9Library::lookUp(Entry& entry) {
    if (entry.lookedUp)
        return entry.function;
    entry.lookedUp = true;
    if (!m_module)
        m_module = CD3DModuleRegistry::instance().loadLibrary(kLibraryName);
    entry.function = m_module ? m_module->getProcAddress(entry.name) : nullptr;
    if (!entry.function)
        logD3DError(CString("Could not load shader function ")
                        .append(entry.name)
                        .append(" from dll, shaders disabled: ")
                        .append(kLibraryName));
    return entry.function;
}

HRESULT CD3DX9Library::assemble(const char* text, ID3DXBuffer** code, ID3DXBuffer** errors) {
    *code = nullptr;
    *errors = nullptr;
    const D3DModuleExport* entry = lookUp(m_assembler);
    if (!entry)
        return D3D_OK;
    const auto function = reinterpret_cast<D3DXAssembleShaderFunction>(entry->function);
    return function(entry->context, text, uint32_t(std::strlen(text)), nullptr, nullptr, 0, code,
                    errors);
}

HRESULT CD3DX9Library::compile(const char* text, const char* entryName, const char* profile,
                               ID3DXBuffer** code, ID3DXBuffer** errors,
                               ID3DXConstantTable** constants) {
    *code = nullptr;
    *errors = nullptr;
    *constants = nullptr;
    const D3DModuleExport* entry = lookUp(m_compiler);
    if (!entry)
        return D3D_OK;
    const auto function = reinterpret_cast<D3DXCompileShaderFunction>(entry->function);
    return function(entry->context, text, uint32_t(std::strlen(text)), nullptr, nullptr, entryName,
                    profile, 0, code, errors, constants);
}
