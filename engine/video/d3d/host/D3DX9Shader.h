#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/video/d3d/host/D3D9Types.h"

class IDirect3DDevice9;

// The shader part of the Direct3D 9 extension library ("d3dx9_30.dll"), under its published
// names: assembled or compiled code and messages come back in buffers, compiled programs also
// bring a table of their named constants.

class ID3DXBuffer : public CRefCounted {
public:
    virtual void* GetBufferPointer() = 0;
    virtual uint32_t GetBufferSize() = 0;
};

// Constants are named by handles the table hands out; none is no constant.
using D3DXHANDLE = const char*;

struct D3DXCONSTANTTABLE_DESC {
    const char* Creator = nullptr;
    uint32_t Version = 0;
    uint32_t Constants = 0;
};

struct D3DXCONSTANT_DESC {
    const char* Name = nullptr;
    uint32_t RegisterSet = 0;
    uint32_t RegisterIndex = 0;
    uint32_t RegisterCount = 0;
};

class ID3DXConstantTable : public CRefCounted {
public:
    virtual HRESULT GetDesc(D3DXCONSTANTTABLE_DESC* desc) = 0;
    // The constant at index among those of parent (none for the top level).
    virtual D3DXHANDLE GetConstant(D3DXHANDLE parent, uint32_t index) = 0;
    virtual D3DXHANDLE GetConstantByName(D3DXHANDLE parent, const char* name) = 0;
    virtual HRESULT GetConstantDesc(D3DXHANDLE constant, D3DXCONSTANT_DESC* descs,
                                    uint32_t* count) = 0;
    // Writes the defaults the program declared into the device's constant registers.
    virtual HRESULT SetDefaults(IDirect3DDevice9* device) = 0;
    virtual HRESULT SetFloatArray(IDirect3DDevice9* device, D3DXHANDLE constant,
                                  const float* values, uint32_t count) = 0;
};

// "D3DXAssembleShader" and "D3DXCompileShader"; the context is the one the module was
// registered with. Macros and include handlers are not offered and must be none.
using D3DXAssembleShaderFunction = HRESULT (*)(void* context, const char* source,
                                               uint32_t sourceLength, const void* defines,
                                               void* include, uint32_t flags, ID3DXBuffer** shader,
                                               ID3DXBuffer** errors);
using D3DXCompileShaderFunction = HRESULT (*)(void* context, const char* source,
                                              uint32_t sourceLength, const void* defines,
                                              void* include, const char* functionName,
                                              const char* profile, uint32_t flags,
                                              ID3DXBuffer** shader, ID3DXBuffer** errors,
                                              ID3DXConstantTable** constantTable);
