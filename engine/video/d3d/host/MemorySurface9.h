#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/video/d3d/host/IDirect3DSurface9.h"

// Bytes per pixel of a colour format a runtime keeps in memory; 0 for formats it cannot.
uint32_t bytesPerPixelOfFormat(D3DFORMAT format);

// Pixels of one size and format in main memory, rows top-down, locked by rectangles. The
// pixels of a runtime's textures, off-screen planes and read-back copies.
class CPixelMemory9 {
public:
    CPixelMemory9(uint32_t width, uint32_t height, D3DFORMAT format);

    uint32_t getWidth() const { return m_width; }
    uint32_t getHeight() const { return m_height; }
    D3DFORMAT getFormat() const { return m_format; }
    uint32_t getPitch() const { return m_pitch; }
    // None when the pixels could not be allocated.
    uint8_t* getBits() { return m_bits.get(); }
    bool isLocked() const { return m_locked; }
    bool wasLockedReadOnly() const { return m_readOnly; }

    // Refused while locked, for a rectangle outside the pixels, or when the pixels could not be
    // allocated.
    HRESULT lock(D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags);
    HRESULT unlock();

private:
    struct FreeBits {
        void operator()(uint8_t* bits) const { std::free(bits); }
    };

    uint32_t m_width;
    uint32_t m_height;
    D3DFORMAT m_format;
    uint32_t m_pitch;
    std::unique_ptr<uint8_t, FreeBits> m_bits;
    bool m_locked = false;
    bool m_readOnly = false;
};

// An off-screen plain surface or a system-memory copy.
class CMemorySurface9 : public IDirect3DSurface9 {
public:
    CMemorySurface9(uint32_t width, uint32_t height, D3DFORMAT format, D3DPOOL pool)
        : m_memory(width, height, format), m_pool(pool) {}

    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) override {
        return m_memory.lock(locked, rect, flags);
    }
    HRESULT UnlockRect() override { return m_memory.unlock(); }

    CPixelMemory9& memory() { return m_memory; }

private:
    CPixelMemory9 m_memory;
    D3DPOOL m_pool;
};
