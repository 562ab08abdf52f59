#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/video/IDriverTexture.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"
#include "engine/video/d3d/host/IDirect3DTexture9.h"

class CD3D9Driver;

// The Direct3D 9 driver's texture: one Direct3D texture made from a software image (managed,
// with its mip chain when the driver asks for mip maps) or an empty render target (default
// pool). A texture whose Direct3D texture could not be made still exists and binds nothing.
class CD3D9DriverTexture : public IDriverTexture {
public:
    CD3D9DriverTexture(CSoftwareImage* image, CD3D9Driver* driver);
    // A render target; format 12 takes the back buffer's format.
    CD3D9DriverTexture(CD3D9Driver* driver, CPixelSize size, int32_t colorFormat);

    void* mapPixels(bool readOnly) override;
    void unmapPixels() override;
    CPixelSize getSourceSize() const override { return m_sourceSize; }
    CPixelSize getSize() const override { return m_storageSize; }
    uint32_t getDriverKind() const override { return 2; }
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
    ~CD3D9DriverTexture() override = default;

private:
    void chooseStorageSize(CPixelSize size);
    bool createTexture(const CSoftwareImage& image, bool mipMaps);
    bool copyImageToLevel0(const CSoftwareImage& image);
    // Levels from the first on, each from the one above; false when a level failed.
    bool buildMipLevels(uint32_t firstLevel);
    bool buildMipLevel(uint32_t level, bool& last);
    void createRenderTarget(int32_t colorFormat);
    // Copies the render target into the system-memory surface, made at the first use.
    bool readBackRenderTarget();

    CRefPointer<CSoftwareImage> m_sourceImage;
    CRefPointer<IDirect3DDevice9> m_device;
    CRefPointer<IDirect3DTexture9> m_d3dTexture;
    CRefPointer<IDirect3DSurface9> m_readbackSurface;
    CD3D9Driver* m_driver;
    CPixelSize m_storageSize;
    CPixelSize m_sourceSize;
    uint32_t m_rowPitch = 0;
    int32_t m_colorFormat = 0;
    bool m_hasMipMaps = false;
    bool m_isRenderTarget = false;
};
