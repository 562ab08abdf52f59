#pragma once

#include <cstdint>

#include "engine/video/d3d/host/D3D9Types.h"
#include "engine/video/d3d/host/D3DX9Shader.h"

// The shader assembler of the Direct3D 8 extension library, our own: it reads vertex (vs.1.0,
// vs.1.1) and pixel (ps.1.0 to ps.1.4) assembly, checks each instruction's name and operand
// count, and gives code (the version token, one token per instruction, the end token) or
// messages headed by its name. It runs nothing: runtimes decide what code they take.
constexpr const char* kD3DX8AssemblerName = "D3DX8 Shader Assembler Version 0.91";

// Code and messages each come back as a buffer or none; constants are not offered (none).
HRESULT D3DXAssembleShader(const void* source, uint32_t sourceLength, uint32_t flags,
                           ID3DXBuffer** constants, ID3DXBuffer** code, ID3DXBuffer** errors);
