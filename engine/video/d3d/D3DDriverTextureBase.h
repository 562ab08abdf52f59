#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/video/IDriverTexture.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/D3DBoxFilter.h"
#include "engine/video/d3d/host/IDirect3DDeviceCommon.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"
#include "engine/video/d3d/host/IDirect3DTexture9.h"

class CD3DDriverBase;

// What the Direct3D 8 and 9 drivers' textures share: one Direct3D texture made from a software
// image (managed, with mip levels when the driver asks for them) or an empty render target
// (default pool). A texture whose Direct3D texture could not be made still exists and binds
// nothing. Each version filters its mip levels and reads its render targets back in its own way.
class CD3DDriverTextureBase : public IDriverTexture {
public:
    struct Texts {
        const char* createFailed;
        const char* lockFailed;
        const char* unlockFailed;
        const char* mapFailed;
    };

    void* mapPixels(bool readOnly) override;
    void unmapPixels() override;
    CPixelSize getSourceSize() const override { return m_sourceSize; }
    CPixelSize getSize() const override { return m_storageSize; }
    int32_t getColorFormat() const override { return m_colorFormat; }
    uint32_t getPitch() const override { return m_rowPitch; }
    bool hasMipLevels() const override { return m_hasMipMaps; }
    void regenerateMipLevels() override;
    bool isRenderTarget() const override { return m_isRenderTarget; }
    CSoftwareImage* getSourceImage() const override { return m_sourceImage.get(); }
    void dropSourceImage() override { m_sourceImage.reset(); }

    IDirect3DTexture9* getD3DTexture() const { return m_d3dTexture.get(); }
    // Level 0 of a render target, with a reference the caller releases; none otherwise.
    IDirect3DSurface9* getRenderTargetSurface() const;

protected:
    // Draws on the driver's device.
    CD3DDriverTextureBase(CD3DDriverBase* driver, const Texts& texts);
    ~CD3DDriverTextureBase() override = default;

    // Filters one mip level from the one above, both of this format, logging formats it cannot.
    virtual void filterMipLevel(const MipLevelView& upper, const MipLevelView& lower,
                                D3DFORMAT format) = 0;
    // Copies the render target into m_readbackSurface, made at the first use.
    virtual bool readBackRenderTarget() = 0;

    // Fills the texture from the image: level 0, and the mip levels when the driver asks.
    void createFromImage(CSoftwareImage* image);
    void chooseStorageSize(CPixelSize size);
    // The row pitch of the Direct3D format, kept as it was for a format of unknown size.
    void setRowPitchOf(D3DFORMAT format);

    CRefPointer<CSoftwareImage> m_sourceImage;
    CRefPointer<IDirect3DDeviceCommon> m_device;
    CRefPointer<IDirect3DTexture9> m_d3dTexture;
    CRefPointer<IDirect3DSurface9> m_readbackSurface;
    CD3DDriverBase* m_driver;
    CPixelSize m_storageSize{0, 0};
    CPixelSize m_sourceSize{0, 0};
    uint32_t m_rowPitch = 0;
    int32_t m_colorFormat = 0;
    bool m_hasMipMaps = false;
    bool m_isRenderTarget = false;

private:
    bool createTexture(const CSoftwareImage& image, bool mipMaps);
    bool copyImageToLevel0(const CSoftwareImage& image, bool mipMaps);
    void copyImageInto(const CSoftwareImage& image, const D3DLOCKED_RECT& locked) const;
    // Levels from the first on, each from the one above; false when a level failed.
    bool buildMipLevels(uint32_t firstLevel);
    bool buildMipLevel(uint32_t level, bool& last);

    const Texts m_texts;
};
