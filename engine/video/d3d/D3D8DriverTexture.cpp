#include "engine/video/d3d/D3D8DriverTexture.h"

#include "engine/video/d3d/D3D8Driver.h"
#include "engine/video/d3d/D3D9Formats.h"
#include "engine/video/d3d/D3DLog.h"

namespace {

const CD3DDriverTextureBase::Texts kTexts = {
    "Could not create DIRECT3D8 Texture.", "Could not lock D3D8 Texture.",
    "Could not unlock D3D8 Texture.", "Could not lock DIRECT3D8 Texture."};

} // namespace

CD3D8DriverTexture::CD3D8DriverTexture(CSoftwareImage* image, CD3D8Driver* driver)
    : CD3DDriverTextureBase(driver, kTexts) {
    createFromImage(image);
}

CD3D8DriverTexture::CD3D8DriverTexture(CD3D8Driver* driver, CPixelSize size)
    : CD3DDriverTextureBase(driver, kTexts) {
    m_sourceSize = size;
    m_isRenderTarget = true;
    chooseStorageSize(size);
    createRenderTarget();
}

void CD3D8DriverTexture::filterMipLevel(const MipLevelView& upper, const MipLevelView& lower,
                                        D3DFORMAT format) {
    if (format == D3DFMT_A8R8G8B8)
        boxFilterA8R8G8B8(upper, lower);
    else if (format == D3DFMT_A1R5G5B5)
        boxFilterA1R5G5B5Fields(upper, lower);
    else if (format == D3DFMT_R5G6B5)
        boxFilter16(upper, lower, false);
    else if (format == D3DFMT_A4R4G4B4)
        boxFilterA4R4G4B4(upper, lower);
    else
        logD3DWarning("Unsupported mipmap format, cannot copy.");
}

void CD3D8DriverTexture::createRenderTarget() {
    IDirect3DSurface8* backBuffer = nullptr;
    if (FAILED(device().GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        logD3DWarning("Could not create RenderTarget texture: could not get BackBuffer.");
        return;
    }
    D3DSURFACE_DESC desc;
    backBuffer->GetDesc(&desc);
    backBuffer->release();
    const D3DFORMAT format = desc.Format == D3DFMT_X8R8G8B8 ? D3DFMT_A8R8G8B8 : desc.Format;
    m_colorFormat = colorFormatOfD3DFormat(format);
    setRowPitchOf(format);
    IDirect3DTexture8* texture = nullptr;
    if (FAILED(m_device->CreateTexture(m_storageSize.width, m_storageSize.height, 1,
                                       D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT, &texture))) {
        logD3DInformation("Could not create render target texture");
        return;
    }
    m_d3dTexture = CRefPointer<IDirect3DTexture8>(texture);
}

bool CD3D8DriverTexture::readBackRenderTarget() {
    D3DSURFACE_DESC desc;
    if (FAILED(m_d3dTexture->GetLevelDesc(0, &desc)))
        return false;
    if (!m_readbackSurface) {
        IDirect3DSurface8* surface = nullptr;
        if (FAILED(device().CreateImageSurface(desc.Width, desc.Height, desc.Format, &surface)))
            return false;
        m_readbackSurface = CRefPointer<IDirect3DSurface8>(surface);
    }
    CRefPointer<IDirect3DSurface8> level(getRenderTargetSurface());
    return level &&
           !FAILED(device().CopyRects(level.get(), nullptr, 0, m_readbackSurface.get(), nullptr));
}
