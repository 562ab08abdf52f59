#pragma once

#include <cstdint>

#include "engine/video/IRenderDriver.h"
#include "engine/video/d3d/D3DDriverTextureBase.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"

class CD3D9Driver;

// The Direct3D 9 driver's texture. Render targets are read back through a system-memory copy.
class CD3D9DriverTexture : public CD3DDriverTextureBase {
public:
    CD3D9DriverTexture(CSoftwareImage* image, CD3D9Driver* driver);
    // A render target; format 12 takes the back buffer's format.
    CD3D9DriverTexture(CD3D9Driver* driver, CPixelSize size, int32_t colorFormat);

    uint32_t getDriverKind() const override { return DRIVER_KIND_DIRECT3D9; }

protected:
    ~CD3D9DriverTexture() override = default;

    void filterMipLevel(const MipLevelView& upper, const MipLevelView& lower,
                        D3DFORMAT format) override;
    bool readBackRenderTarget() override;

private:
    void createRenderTarget(CD3D9Driver& driver, int32_t colorFormat);

    IDirect3DDevice9& device() const { return static_cast<IDirect3DDevice9&>(*m_device); }
};
