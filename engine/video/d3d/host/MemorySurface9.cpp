#include "engine/video/d3d/host/MemorySurface9.h"

#include <cstdlib>

uint32_t bytesPerPixelOfFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8:
    case D3DFMT_G16R16F:
    case D3DFMT_R32F:
        return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_R16F:
        return 2;
    case D3DFMT_A16B16G16R16F:
    case D3DFMT_G32R32F:
        return 8;
    case D3DFMT_A32B32G32R32F:
        return 16;
    default:
        return 0;
    }
}

// Zeroed by calloc, which can skip the clearing for memory fresh from the system: a texture's
// level is written whole right after.
CPixelMemory9::CPixelMemory9(uint32_t width, uint32_t height, D3DFORMAT format)
    : m_width(width), m_height(height), m_format(format),
      m_pitch(width * bytesPerPixelOfFormat(format)),
      m_bits(static_cast<uint8_t*>(std::calloc(size_t(m_pitch) * height, 1))) {}

HRESULT CPixelMemory9::lock(D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) {
    if (!locked || m_locked || !m_bits)
        return D3DERR_INVALIDCALL;
    const RECT whole{0, 0, int32_t(m_width), int32_t(m_height)};
    const RECT& area = rect ? *rect : whole;
    if (area.left < 0 || area.top < 0 || area.right > int32_t(m_width) ||
        area.bottom > int32_t(m_height) || area.left > area.right || area.top > area.bottom)
        return D3DERR_INVALIDCALL;
    locked->Pitch = int32_t(m_pitch);
    locked->pBits = m_bits.get() + size_t(area.top) * m_pitch +
                    size_t(area.left) * bytesPerPixelOfFormat(m_format);
    m_locked = true;
    m_readOnly = (flags & D3DLOCK_READONLY) != 0;
    return D3D_OK;
}

HRESULT CPixelMemory9::unlock() {
    if (!m_locked)
        return D3DERR_INVALIDCALL;
    m_locked = false;
    return D3D_OK;
}

HRESULT CMemorySurface9::GetDesc(D3DSURFACE_DESC* desc) {
    *desc = D3DSURFACE_DESC();
    desc->Format = m_memory.getFormat();
    desc->Pool = m_pool;
    desc->Width = m_memory.getWidth();
    desc->Height = m_memory.getHeight();
    return D3D_OK;
}
