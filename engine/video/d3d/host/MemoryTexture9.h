#pragma once

#include <cstdint>
#include <memory>

#include "engine/video/d3d/host/IDirect3DTexture9.h"
#include "engine/video/d3d/host/MemorySurface9.h"

// A texture whose levels live in main memory, each made at its first use; runtimes derive from
// it and hear of every level written. A level's memory starts as zeros unless the runtime fills
// it with what it holds of the level. Render targets keep no pixels of their own and refuse
// locks.
class CMemoryTexture9 : public IDirect3DTexture9 {
public:
    // Levels 0 makes the chain down to 1 x 1.
    CMemoryTexture9(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                    D3DFORMAT format, D3DPOOL pool);

    uint32_t GetLevelCount() override { return m_levelCount; }
    HRESULT GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(uint32_t level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect,
                     uint32_t flags) override;
    HRESULT UnlockRect(uint32_t level) override;

    bool isRenderTarget() const { return (m_usage & D3DUSAGE_RENDERTARGET) != 0; }
    D3DFORMAT getFormat() const { return m_format; }
    uint32_t getWidth(uint32_t level) const;
    uint32_t getHeight(uint32_t level) const;
    // The pixels of a level, made at the first call; none for render targets or when the
    // runtime could not fill them.
    CPixelMemory9* levelMemory(uint32_t level);

protected:
    ~CMemoryTexture9() override;

    // A level was unlocked after a lock that could write.
    virtual void onLevelWritten(uint32_t level) { (void)level; }
    // Fills a level's new memory (zeros) with what the runtime holds of it; false when it
    // cannot.
    virtual bool fillLevelMemory(uint32_t level, CPixelMemory9& memory) {
        (void)level;
        (void)memory;
        return true;
    }
    bool isLevelLocked(uint32_t level) const;
    // The runtime holds the level's pixels by itself; memory is made again when asked for.
    void dropLevelMemory(uint32_t level) { m_levels[level].reset(); }

private:
    uint32_t m_width;
    uint32_t m_height;
    uint32_t m_levelCount;
    uint32_t m_usage;
    D3DFORMAT m_format;
    D3DPOOL m_pool;
    std::unique_ptr<std::unique_ptr<CPixelMemory9>[]> m_levels;
};

// A level of a memory texture as a surface; keeps the texture alive.
class CMemoryTextureLevel9 : public IDirect3DSurface9 {
public:
    CMemoryTextureLevel9(CMemoryTexture9& texture, uint32_t level);

    HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
        return m_texture.GetLevelDesc(m_level, desc);
    }
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) override {
        return m_texture.LockRect(m_level, locked, rect, flags);
    }
    HRESULT UnlockRect() override { return m_texture.UnlockRect(m_level); }

    CMemoryTexture9& texture() const { return m_texture; }
    uint32_t level() const { return m_level; }

protected:
    ~CMemoryTextureLevel9() override;

private:
    CMemoryTexture9& m_texture;
    uint32_t m_level;
};
