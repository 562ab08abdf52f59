#pragma once

#include "engine/core/RefCounted.h"

// Shader programs a Direct3D 9 device made from assembled or compiled code.
class IDirect3DVertexShader9 : public CRefCounted {};
class IDirect3DPixelShader9 : public CRefCounted {};
