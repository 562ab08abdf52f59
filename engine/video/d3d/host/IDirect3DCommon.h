#pragma once

#include "engine/core/RefCounted.h"
#include "engine/video/d3d/host/D3D9Types.h"

// The calls the Direct3D objects of versions 8 and 9 share in the same form: the adapter and
// its formats.
class IDirect3DCommon : public CRefCounted {
public:
    virtual HRESULT GetAdapterIdentifier(uint32_t adapter, uint32_t flags,
                                         D3DADAPTER_IDENTIFIER9* identifier) = 0;
    virtual HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE deviceType,
                                      D3DFORMAT adapterFormat, uint32_t usage,
                                      D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) = 0;
    virtual HRESULT CheckDepthStencilMatch(uint32_t adapter, D3DDEVTYPE deviceType,
                                           D3DFORMAT adapterFormat, D3DFORMAT renderTargetFormat,
                                           D3DFORMAT depthStencilFormat) = 0;
};
