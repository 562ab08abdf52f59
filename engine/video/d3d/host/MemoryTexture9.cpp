#include "engine/video/d3d/host/MemoryTexture9.h"

#include <utility>

namespace {

uint32_t fullChainLength(uint32_t width, uint32_t height) {
    uint32_t levels = 1;
    while (width > 1 || height > 1) {
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
        ++levels;
    }
    return levels;
}

} // namespace

CMemoryTextureLevel9::CMemoryTextureLevel9(CMemoryTexture9& texture, uint32_t level)
    : m_texture(texture), m_level(level) {
    m_texture.addRef();
}

CMemoryTextureLevel9::~CMemoryTextureLevel9() {
    m_texture.release();
}

CMemoryTexture9::CMemoryTexture9(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                 D3DFORMAT format, D3DPOOL pool)
    : m_width(width), m_height(height), m_usage(usage), m_format(format), m_pool(pool) {
    const uint32_t chain = fullChainLength(width, height);
    m_levelCount = levels == 0 || levels > chain ? chain : levels;
    m_levels.reset(new std::unique_ptr<CPixelMemory9>[m_levelCount]);
}

CMemoryTexture9::~CMemoryTexture9() = default;

uint32_t CMemoryTexture9::getWidth(uint32_t level) const {
    const uint32_t width = m_width >> level;
    return width > 0 ? width : 1;
}

uint32_t CMemoryTexture9::getHeight(uint32_t level) const {
    const uint32_t height = m_height >> level;
    return height > 0 ? height : 1;
}

CPixelMemory9* CMemoryTexture9::levelMemory(uint32_t level) {
    if (level >= m_levelCount || isRenderTarget())
        return nullptr;
    if (!m_levels[level]) {
        auto memory = std::make_unique<CPixelMemory9>(getWidth(level), getHeight(level), m_format);
        if (!fillLevelMemory(level, *memory))
            return nullptr;
        m_levels[level] = std::move(memory);
    }
    return m_levels[level].get();
}

bool CMemoryTexture9::isLevelLocked(uint32_t level) const {
    return level < m_levelCount && m_levels[level] && m_levels[level]->isLocked();
}

HRESULT CMemoryTexture9::GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) {
    if (level >= m_levelCount || !desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC();
    desc->Format = m_format;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = m_usage;
    desc->Pool = m_pool;
    desc->Width = getWidth(level);
    desc->Height = getHeight(level);
    return D3D_OK;
}

HRESULT CMemoryTexture9::GetSurfaceLevel(uint32_t level, IDirect3DSurface9** surface) {
    if (level >= m_levelCount || !surface)
        return D3DERR_INVALIDCALL;
    *surface = new CMemoryTextureLevel9(*this, level);
    return D3D_OK;
}

HRESULT CMemoryTexture9::LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect,
                                  uint32_t flags) {
    CPixelMemory9* memory = levelMemory(level);
    return memory ? memory->lock(locked, rect, flags) : D3DERR_INVALIDCALL;
}

HRESULT CMemoryTexture9::UnlockRect(uint32_t level) {
    CPixelMemory9* memory = level < m_levelCount ? m_levels[level].get() : nullptr;
    if (!memory || FAILED(memory->unlock()))
        return D3DERR_INVALIDCALL;
    if (!memory->wasLockedReadOnly())
        onLevelWritten(level);
    return D3D_OK;
}
