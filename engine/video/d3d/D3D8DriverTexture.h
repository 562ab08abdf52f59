#pragma once

#include <cstdint>

#include "engine/video/IRenderDriver.h"
#include "engine/video/d3d/D3DDriverTextureBase.h"
#include "engine/video/d3d/host/IDirect3DDevice8.h"

class CD3D8Driver;

// The Direct3D 8 driver's texture: no automatic mip maps, A1R5G5B5 mip levels averaged by their
// fields, render targets in the back buffer's format, read back through an image surface.
class CD3D8DriverTexture : public CD3DDriverTextureBase {
public:
    CD3D8DriverTexture(CSoftwareImage* image, CD3D8Driver* driver);
    // A render target of the back buffer's format.
    CD3D8DriverTexture(CD3D8Driver* driver, CPixelSize size);

    uint32_t getDriverKind() const override { return DRIVER_KIND_DIRECT3D8; }

protected:
    ~CD3D8DriverTexture() override = default;

    void filterMipLevel(const MipLevelView& upper, const MipLevelView& lower,
                        D3DFORMAT format) override;
    bool readBackRenderTarget() override;

private:
    void createRenderTarget();

    IDirect3DDevice8& device() const { return static_cast<IDirect3DDevice8&>(*m_device); }
};
