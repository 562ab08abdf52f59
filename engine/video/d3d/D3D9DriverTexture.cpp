#include "engine/video/d3d/D3D9DriverTexture.h"

#include "engine/video/ColorFormat.h"
#include "engine/video/d3d/D3D9Driver.h"
#include "engine/video/d3d/D3D9Formats.h"
#include "engine/video/d3d/D3DLog.h"

namespace {

// The format code that asks for the back buffer's format.
constexpr int32_t kBackBufferFormatCode = 12;

const CD3DDriverTextureBase::Texts kTexts = {
    "Could not create DIRECT3D9 Texture.", "Could not lock D3D9 Texture.",
    "Could not unlock D3D9 Texture.", "Could not lock DIRECT3D9 Texture."};

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
    : CD3DDriverTextureBase(driver, kTexts) {
    createFromImage(image);
}

CD3D9DriverTexture::CD3D9DriverTexture(CD3D9Driver* driver, CPixelSize size, int32_t colorFormat)
    : CD3DDriverTextureBase(driver, kTexts) {
    m_sourceSize = size;
    m_isRenderTarget = true;
    chooseStorageSize(size);
    createRenderTarget(*driver, colorFormat);
}

void CD3D9DriverTexture::filterMipLevel(const MipLevelView& upper, const MipLevelView& lower,
                                        D3DFORMAT format) {
    if (format == D3DFMT_A8R8G8B8)
        boxFilterA8R8G8B8(upper, lower);
    else if (format == D3DFMT_R5G6B5 || format == D3DFMT_A1R5G5B5)
        boxFilter16(upper, lower, m_colorFormat == COLOR_FORMAT_A1R5G5B5);
    else if (format == D3DFMT_A4R4G4B4)
        boxFilterA4R4G4B4(upper, lower);
    else
        logD3DWarning("Unsupported mipmap format, cannot copy.");
}

void CD3D9DriverTexture::createRenderTarget(CD3D9Driver& driver, int32_t colorFormat) {
    D3DFORMAT format;
    if (colorFormat == kBackBufferFormatCode) {
        m_colorFormat = driver.getBackBufferFormat();
        format = driver.getBackBufferD3DFormat();
    } else {
        m_colorFormat = colorFormat;
        format = d3dFormatOfRenderTargetFormat(colorFormat);
    }
    setRowPitchOf(format);
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

bool CD3D9DriverTexture::readBackRenderTarget() {
    D3DSURFACE_DESC desc;
    if (FAILED(m_d3dTexture->GetLevelDesc(0, &desc)))
        return false;
    if (!m_readbackSurface) {
        IDirect3DSurface9* surface = nullptr;
        if (FAILED(device().CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                        D3DPOOL_SYSTEMMEM, &surface)))
            return false;
        m_readbackSurface = CRefPointer<IDirect3DSurface9>(surface);
    }
    CRefPointer<IDirect3DSurface9> level(getRenderTargetSurface());
    return level && !FAILED(device().GetRenderTargetData(level.get(), m_readbackSurface.get()));
}
