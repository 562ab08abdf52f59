#pragma once

#include "engine/core/RefCounted.h"
#include "engine/video/d3d/host/D3D9Types.h"

class IDirect3DSurface9;

// A texture of a Direct3D 9 runtime: a chain of levels, each half the size of the one before.
class IDirect3DTexture9 : public CRefCounted {
public:
    virtual uint32_t GetLevelCount() = 0;
    virtual HRESULT GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) = 0;
    // The level as a surface, with a reference the caller releases.
    virtual HRESULT GetSurfaceLevel(uint32_t level, IDirect3DSurface9** surface) = 0;
    // Rows top-down; what was written reaches the texture at the unlock.
    virtual HRESULT LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect,
                             uint32_t flags) = 0;
    virtual HRESULT UnlockRect(uint32_t level) = 0;
    // Not Direct3D's own: the whole level from the caller's pixels, of its size and format, rows
    // top-down pitch bytes apart. A runtime that can take them without a copy in memory does;
    // others answer D3DERR_NOTAVAILABLE and the caller locks the level instead.
    virtual HRESULT writeLevel(uint32_t level, const void* pixels, uint32_t pitch) {
        (void)level;
        (void)pixels;
        (void)pitch;
        return D3DERR_NOTAVAILABLE;
    }
};
