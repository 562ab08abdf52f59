#pragma once

#include "engine/core/RefCounted.h"
#include "engine/video/d3d/host/D3D9Types.h"

// One surface of a Direct3D 9 runtime: a back buffer, a texture level or an off-screen plane.
class IDirect3DSurface9 : public CRefCounted {
public:
    virtual HRESULT GetDesc(D3DSURFACE_DESC* desc) = 0;
};
