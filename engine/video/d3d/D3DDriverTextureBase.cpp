#include "engine/video/d3d/D3D9DriverTexture.h"

#include "engine/video/ColorFormat.h"
#include "engine/video/d3d/D3D9Driver.h"
#include "engine/video/d3d/D3D9Formats.h"
#include "engine/video/d3d/D3DBoxFilter.h"
#include "engine/video/d3d/D3DLog.h"

namespace {

// The format code that asks for the back buffer's format.
constexpr int32_t kBackBufferFormatCode = 12;

uint32_t nextPowerOfTwo(uint32_t value) {
    uint32_t power = 1;
    while (power < value)
        power <<= 1;
    return power;
}

IDirect3DDevice9* deviceOf(const CD3D9Driver& driver) {
    return reinterpret_cast<IDirect3DDevice9*>(driver.getPlatformData()[3]);
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

void logCreateFailure(HRESULT result) {
    switch (result) {
    case D3DERR_INVALIDCALL:
        logD3DInformation("Could not create render target texture: Invalid Call");
        break;
    case D3DERR_OUTOFVIDEOMEMORY:
        logD3DInformation("Could not create render target texture: Out of Video Memory");
        break;
    case E_OUTOFMEMORY:
        logD3DInformation("Could not create render target texture: Out of Memory");
        break;
    default:
        logD3DInformation("Could not create render target texture");
        break;
    }
}

} // namespace

CD3D9DriverTexture::CD3D9DriverTexture(CSoftwareImage* image, CD3D9Driver* driver)
    : m_sourceImage(CRefPointer<CSoftwareImage>::share(image)),
      m_device(CRefPointer<IDirect3DDevice9>::share(deviceOf(*driver))), m_driver(driver) {
    const bool mipMaps = driver->getTextureOption(TEXTURE_CREATE_MIP_MAPS);
    if (!createTexture(*image, mipMaps)) {
        logD3DWarning("Could not create DIRECT3D9 Texture.");
    } else if (copyImageToLevel0(*image) && mipMaps) {
        buildMipLevels(1);
        m_hasMipMaps = true;
    }
    if (driver->getTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE))
        m_sourceImage.reset();
}

CD3D9DriverTexture::CD3D9DriverTexture(CD3D9Driver* driver, CPixelSize size, int32_t colorFormat)
    : m_device(CRefPointer<IDirect3DDevice9>::share(deviceOf(*driver))), m_driver(driver),
      m_sourceSize(size), m_isRenderTarget(true) {
    chooseStorageSize(size);
    createRenderTarget(colorFormat);
}

void CD3D9DriverTexture::chooseStorageSize(CPixelSize size) {
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

bool CD3D9DriverTexture::createTexture(const CSoftwareImage& image, bool mipMaps) {
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
    m_rowPitch = m_storageSize.width * bytesPerPixelOfD3DFormat(format);
    return true;
}

bool CD3D9DriverTexture::copyImageToLevel0(const CSoftwareImage& image) {
    D3DSURFACE_DESC desc;
    m_d3dTexture->GetLevelDesc(0, &desc);
    m_storageSize = {desc.Width, desc.Height};
    D3DLOCKED_RECT locked;
    if (FAILED(m_d3dTexture->LockRect(0, &locked, nullptr, 0))) {
        logD3DError("Could not lock D3D9 Texture.");
        return false;
    }
    m_rowPitch = uint32_t(locked.Pitch);
    image.copyToBuffer(locked.pBits, int32_t(m_storageSize.width), int32_t(m_storageSize.height),
                       m_colorFormat, locked.Pitch);
    if (FAILED(m_d3dTexture->UnlockRect(0))) {
        logD3DError("Could not unlock D3D9 Texture.");
        return false;
    }
    return true;
}

bool CD3D9DriverTexture::buildMipLevels(uint32_t firstLevel) {
    bool last = false;
    for (uint32_t level = firstLevel; !last; ++level) {
        if (!buildMipLevel(level, last))
            return false;
    }
    return true;
}

bool CD3D9DriverTexture::buildMipLevel(uint32_t level, bool& last) {
    LockedLevel upper(*m_d3dTexture, level - 1,
                      "Could not get upper surface level for mip map generation",
                      "Could not lock upper texture for mip map generation");
    LockedLevel lower(*m_d3dTexture, level,
                      "Could not get lower surface level for mip map generation",
                      "Could not lock lower texture for mip map generation");
    if (upper.isLocked() && lower.isLocked()) {
        if (upper.format() != lower.format())
            logD3DWarning("Cannot copy mip maps with different formats.");
        else if (upper.format() == D3DFMT_A8R8G8B8)
            boxFilterA8R8G8B8(upper.view(), lower.view());
        else if (upper.format() == D3DFMT_R5G6B5 || upper.format() == D3DFMT_A1R5G5B5)
            boxFilter16(upper.view(), lower.view(), m_colorFormat == COLOR_FORMAT_A1R5G5B5);
        else
            logD3DWarning("Unsupported mipmap format, cannot copy.");
    }
    const bool unlocked = upper.unlock() & lower.unlock();
    // A level that is missing ends the chain: the last one there is 1 x 1.
    last = !upper.isLocked() || !lower.isLocked() ||
           (upper.view().width <= 3 && upper.view().height <= 3);
    return unlocked;
}

void CD3D9DriverTexture::regenerateMipLevels() {
    if (m_hasMipMaps && m_d3dTexture)
        buildMipLevels(1);
}

void CD3D9DriverTexture::createRenderTarget(int32_t colorFormat) {
    D3DFORMAT format;
    if (colorFormat == kBackBufferFormatCode) {
        m_colorFormat = m_driver->getBackBufferFormat();
        format = m_driver->getBackBufferD3DFormat();
    } else {
        m_colorFormat = colorFormat;
        format = d3dFormatOfRenderTargetFormat(colorFormat);
    }
    m_rowPitch = m_storageSize.width * bytesPerPixelOfD3DFormat(format);
    IDirect3DTexture9* texture = nullptr;
    const HRESULT result =
        m_device->CreateTexture(m_storageSize.width, m_storageSize.height, 1, D3DUSAGE_RENDERTARGET,
                                format, D3DPOOL_DEFAULT, &texture);
    if (FAILED(result)) {
        logCreateFailure(result);
        return;
    }
    m_d3dTexture = CRefPointer<IDirect3DTexture9>(texture);
}

IDirect3DSurface9* CD3D9DriverTexture::getRenderTargetSurface() const {
    IDirect3DSurface9* surface = nullptr;
    if (m_isRenderTarget && m_d3dTexture && !FAILED(m_d3dTexture->GetSurfaceLevel(0, &surface)))
        return surface;
    return nullptr;
}

void* CD3D9DriverTexture::mapPixels(bool readOnly) {
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
        logD3DError("Could not lock DIRECT3D9 Texture.");
        return nullptr;
    }
    return locked.pBits;
}

bool CD3D9DriverTexture::readBackRenderTarget() {
    D3DSURFACE_DESC desc;
    if (FAILED(m_d3dTexture->GetLevelDesc(0, &desc)))
        return false;
    if (!m_readbackSurface) {
        IDirect3DSurface9* surface = nullptr;
        if (FAILED(m_device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                         D3DPOOL_SYSTEMMEM, &surface)))
            return false;
        m_readbackSurface = CRefPointer<IDirect3DSurface9>(surface);
    }
    CRefPointer<IDirect3DSurface9> level(getRenderTargetSurface());
    return level && !FAILED(m_device->GetRenderTargetData(level.get(), m_readbackSurface.get()));
}

void CD3D9DriverTexture::unmapPixels() {
    if (!m_d3dTexture)
        return;
    if (m_isRenderTarget) {
        if (m_readbackSurface)
            m_readbackSurface->UnlockRect();
    } else {
        m_d3dTexture->UnlockRect(0);
    }
}
