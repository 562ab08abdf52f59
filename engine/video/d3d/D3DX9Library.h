#pragma once

#include "engine/core/RefPointer.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/D3DX9Shader.h"

// The shader assembler and compiler of the Direct3D 9 extension library, loaded by name at the
// first use and looked up once for the whole process. An entry that cannot be had is reported
// once and disables its kind of shader for the rest of the run: requests then succeed at once
// without code.
class CD3DX9Library {
public:
    static CD3DX9Library& instance();

    // Assembles into code and messages, each none when there is none.
    HRESULT assemble(const char* text, ID3DXBuffer** code, ID3DXBuffer** errors);
    HRESULT compile(const char* text, const char* entry, const char* profile, ID3DXBuffer** code,
                    ID3DXBuffer** errors, ID3DXConstantTable** constants);

    // Forgets what was looked up, so that the next request looks again.
    void forget();

private:
    struct Entry {
        const char* name;
        bool lookedUp = false;
        const D3DModuleExport* function = nullptr;
    };

    // The entry's export, looked up at the first call; none when missing, reported then.
    const D3DModuleExport* lookUp(Entry& entry);

    CRefPointer<CD3DModule> m_module;
    Entry m_assembler{"D3DXAssembleShader"};
    Entry m_compiler{"D3DXCompileShader"};
};
