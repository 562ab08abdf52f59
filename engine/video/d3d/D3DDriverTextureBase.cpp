#include "engine/video/d3d/D3DDriverTextureBase.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/video/ColorFormat.h"
#include "engine/video/d3d/D3D9Formats.h"
#include "engine/video/d3d/D3DDriverBase.h"
#include "engine/video/d3d/D3DLog.h"

namespace {

uint32_t nextPowerOfTwo(uint32_t value) {
    uint32_t power = 1;
    while (power < value)
        power <<= 1;
    return power;
}

// A level's surface, locked until the view goes.
class LockedLevel {
public:
    LockedLevel(IDirect3DTexture9& texture, uint32_t level, const char* surfaceWarning,
                const char* lockWarning) {
        IDirect3DSurface9* surface = nullptr;
        if (FAILED(texture.GetSurfaceLevel(level, &surface))) {
            logD3DWarning(surfaceWarning);
            return;
        }
        m_surface = CRefPointer<IDirect3DSurface9>(surface);
        D3DLOCKED_RECT locked;
        if (FAILED(m_surface->LockRect(&locked, nullptr, 0))) {
            logD3DWarning(lockWarning);
            return;
        }
        m_surface->GetDesc(&m_desc);
        m_view = {static_cast<uint8_t*>(locked.pBits), locked.Pitch, m_desc.Width, m_desc.Height};
        m_locked = true;
    }

    bool isLocked() const { return m_locked; }
    const MipLevelView& view() const { return m_view; }
    D3DFORMAT format() const { return m_desc.Format; }
    bool unlock() { return !m_locked || !FAILED(m_surface->UnlockRect()); }

private:
    CRefPointer<IDirect3DSurface9> m_surface;
    D3DSURFACE_DESC m_desc;
    MipLevelView m_view{nullptr, 0, 0, 0};
    bool m_locked = false;
};

} // namespace

CD3DDriverTextureBase::CD3DDriverTextureBase(CD3DDriverBase* driver, const Texts& texts)
    : m_device(CRefPointer<IDirect3DDeviceCommon>::share(driver->getCommonDevice())),
      m_driver(driver), m_texts(texts) {}

void CD3DDriverTextureBase::createFromImage(CSoftwareImage* image) {
    m_sourceImage = CRefPointer<CSoftwareImage>::share(image);
    const bool mipMaps = m_driver->getTextureOption(TEXTURE_CREATE_MIP_MAPS);
    if (!createTexture(*image, mipMaps)) {
        logD3DWarning(m_texts.createFailed);
    } else if (copyImageToLevel0(*image, mipMaps) && mipMaps) {
        buildMipLevels(1);
        m_hasMipMaps = true;
    }
    if (m_driver->getTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE))
        m_sourceImage.reset();
}

void CD3DDriverTextureBase::setRowPitchOf(D3DFORMAT format) {
    if (const uint32_t bytes = bytesPerPixelOfD3DFormat(format))
        m_rowPitch = m_storageSize.width * bytes;
}

void CD3DDriverTextureBase::chooseStorageSize(CPixelSize size) {
    m_storageSize = size;
    if (!m_driver->hasFeature(FEATURE_NON_POWER_OF_TWO_TEXTURES))
        m_storageSize = {nextPowerOfTwo(size.width), nextPowerOfTwo(size.height)};
    if (!m_driver->hasFeature(FEATURE_NON_SQUARE_TEXTURES)) {
        const uint32_t side =
            m_storageSize.width > m_storageSize.height ? m_storageSize.width : m_storageSize.height;
        m_storageSize = {side, side};
    }
    const uint32_t maxWidth = m_driver->getCaps().MaxTextureWidth;
    if (maxWidth != 0) {
        if (m_storageSize.width > maxWidth)
            m_storageSize.width = maxWidth;
        if (m_storageSize.height > maxWidth)
            m_storageSize.height = maxWidth;
    }
}

bool CD3DDriverTextureBase::createTexture(const CSoftwareImage& image, bool mipMaps) {
    m_sourceSize = {uint32_t(image.getWidth()), uint32_t(image.getHeight())};
    chooseStorageSize(m_sourceSize);
    D3DFORMAT format = d3dFormatOfImageFormat(m_driver->chooseTextureFormat(image.getFormat()));
    const uint32_t levels = mipMaps ? 0 : 1;
    IDirect3DTexture9* texture = nullptr;
    HRESULT result = m_device->CreateTexture(m_storageSize.width, m_storageSize.height, levels, 0,
                                             format, D3DPOOL_MANAGED, &texture);
    if (FAILED(result) && (format == D3DFMT_A8R8G8B8 || format == D3DFMT_R8G8B8)) {
        format = format == D3DFMT_A8R8G8B8 ? D3DFMT_A1R5G5B5 : D3DFMT_R5G6B5;
        result = m_device->CreateTexture(m_storageSize.width, m_storageSize.height, levels, 0,
                                         format, D3DPOOL_MANAGED, &texture);
    }
    if (FAILED(result))
        return false;
    m_d3dTexture = CRefPointer<IDirect3DTexture9>(texture);
    m_colorFormat = colorFormatOfD3DFormat(format);
    setRowPitchOf(format);
    return true;
}

bool CD3DDriverTextureBase::copyImageToLevel0(const CSoftwareImage& image, bool mipMaps) {
    D3DSURFACE_DESC desc;
    m_d3dTexture->GetLevelDesc(0, &desc);
    m_storageSize = {desc.Width, desc.Height};
    // Mip levels are filtered from level 0 in memory. Without them, an image that is level 0
    // as it stands goes to a runtime that takes it without a copy of its own.
    const bool asItStands = image.getFormat() == m_colorFormat &&
                            uint32_t(image.getWidth()) == desc.Width &&
                            uint32_t(image.getHeight()) == desc.Height;
    if (!mipMaps && asItStands &&
        !FAILED(m_d3dTexture->writeLevel(0, image.getData(), uint32_t(image.getPitch()))))
        return true;
    D3DLOCKED_RECT locked;
    if (FAILED(m_d3dTexture->LockRect(0, &locked, nullptr, 0))) {
        logD3DError(m_texts.lockFailed);
        return false;
    }
    m_rowPitch = uint32_t(locked.Pitch);
    copyImageInto(image, locked);
    if (FAILED(m_d3dTexture->UnlockRect(0))) {
        logD3DError(m_texts.unlockFailed);
        return false;
    }
    return true;
}

// Level 0 is smaller than the image where the device caps the size: the image's top-left part
// is kept, rather than nothing.
void CD3DDriverTextureBase::copyImageInto(const CSoftwareImage& image,
                                          const D3DLOCKED_RECT& locked) const {
    const int32_t width = int32_t(m_storageSize.width);
    const int32_t height = int32_t(m_storageSize.height);
    if (image.getWidth() <= width && image.getHeight() <= height) {
        image.copyToBuffer(locked.pBits, width, height, m_colorFormat, locked.Pitch);
        return;
    }
    CLogger::instance()->logNarrow(CString("Texture of ")
                                       .append(image.getWidth())
                                       .append(" x ")
                                       .append(image.getHeight())
                                       .append(" is larger than Direct3D allows (")
                                       .append(unsigned(m_driver->getCaps().MaxTextureWidth))
                                       .append("); only its top-left part is kept."),
                                   CLogger::LevelWarning);
    const CRefPointer<CSoftwareImage> part =
        CSoftwareImage::create(CContentKey(), image.getFormat(), std::min(image.getWidth(), width),
                               std::min(image.getHeight(), height));
    if (part && image.copyTo(part.get()))
        part->copyToBuffer(locked.pBits, width, height, m_colorFormat, locked.Pitch);
}

bool CD3DDriverTextureBase::buildMipLevels(uint32_t firstLevel) {
    bool last = false;
    for (uint32_t level = firstLevel; !last; ++level) {
        if (!buildMipLevel(level, last))
            return false;
    }
    return true;
}

bool CD3DDriverTextureBase::buildMipLevel(uint32_t level, bool& last) {
    LockedLevel upper(*m_d3dTexture, level - 1,
                      "Could not get upper surface level for mip map generation",
                      "Could not lock upper texture for mip map generation");
    LockedLevel lower(*m_d3dTexture, level,
                      "Could not get lower surface level for mip map generation",
                      "Could not lock lower texture for mip map generation");
    if (upper.isLocked() && lower.isLocked()) {
        if (upper.format() != lower.format())
            logD3DWarning("Cannot copy mip maps with different formats.");
        else
            filterMipLevel(upper.view(), lower.view(), upper.format());
    }
    const bool unlocked = upper.unlock() & lower.unlock();
    // The chain ends at 1 x 1, or at a level that is missing. Every level down to 1 x 1 is
    // filtered: one left black draws a minified texture black.
    last = !upper.isLocked() || !lower.isLocked() ||
           (lower.view().width <= 1 && lower.view().height <= 1);
    return unlocked;
}

void CD3DDriverTextureBase::regenerateMipLevels() {
    if (m_hasMipMaps && m_d3dTexture)
        buildMipLevels(1);
}

IDirect3DSurface9* CD3DDriverTextureBase::getRenderTargetSurface() const {
    IDirect3DSurface9* surface = nullptr;
    if (m_isRenderTarget && m_d3dTexture && !FAILED(m_d3dTexture->GetSurfaceLevel(0, &surface)))
        return surface;
    return nullptr;
}

void* CD3DDriverTextureBase::mapPixels(bool readOnly) {
    if (!m_d3dTexture)
        return nullptr;
    const uint32_t flags = readOnly ? D3DLOCK_READONLY : 0;
    D3DLOCKED_RECT locked;
    bool ok;
    if (m_isRenderTarget) {
        ok =
            readBackRenderTarget() && !FAILED(m_readbackSurface->LockRect(&locked, nullptr, flags));
    } else {
        ok = !FAILED(m_d3dTexture->LockRect(0, &locked, nullptr, flags));
    }
    if (!ok) {
        logD3DError(m_texts.mapFailed);
        return nullptr;
    }
    return locked.pBits;
}

void CD3DDriverTextureBase::unmapPixels() {
    if (!m_d3dTexture)
        return;
    if (m_isRenderTarget) {
        if (m_readbackSurface)
            m_readbackSurface->UnlockRect();
    } else {
        m_d3dTexture->UnlockRect(0);
    }
}
