#pragma once

#include "engine/core/RefCounted.h"
#include "engine/video/d3d/host/D3D9Types.h"

// One surface of a Direct3D 9 runtime: a back buffer, a texture level or an off-screen plane.
class IDirect3DSurface9 : public CRefCounted {
public:
    virtual HRESULT GetDesc(D3DSURFACE_DESC* desc) = 0;
    // Rows top-down; none locks the whole surface.
    virtual HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) = 0;
    virtual HRESULT UnlockRect() = 0;
};
