#pragma once

#include <cstdint>

#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"
#include "engine/video/d3d/D3DDriverBase.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/IDirect3D8.h"
#include "engine/video/d3d/host/IDirect3DDevice8.h"

// The video driver that draws through a Direct3D 8 runtime, loaded by name as "d3d8.dll": the
// twin of the Direct3D 9 driver, with Direct3D 8's calls, its scissor made of four clip planes,
// its own waiting for the vertical blank and assembly shaders only.
class CD3D8Driver : public CD3DDriverBase {
public:
    CD3D8Driver(const CreationParameters& parameters, IVirtualFileSystem* fileSystem);

    // Loads the runtime and creates the device; false, logged, when any step fails.
    bool initDevice(const CreationParameters& parameters);
    bool resetDevice() override;

    bool presentFrame() override;
    bool hasFeature(uint32_t feature) const override;
    CRefPointer<IDriverTexture> createRenderTargetTexture(CPixelSize size,
                                                          int32_t formatCode) override;
    CRefPointer<IDriverTexture> createDeviceTexture(CSoftwareImage* image) override;
    const char16_t* getDriverName() const override { return u"Direct3D 8.1"; }
    void handleResize(CPixelSize size) override;
    uint32_t getDriverKind() const override { return DRIVER_KIND_DIRECT3D8; }
    IShaderServices* getShaderServices() override { return this; }
    void setScissorRect(const CPixelRect& rect) override { m_scissorRect = rect; }
    // Four clip planes hold drawing to the stored rectangle; off, planes 0 to 3 are disabled.
    void enableScissor(bool on) override;

    // Assembly materials become the next material types; -1, logged, when none was made.
    int32_t createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                              IShaderCallback* callback, int32_t baseMaterialType,
                              int32_t userData) override;

    void setVertexShaderConstants(const float* data, int32_t firstRegister,
                                  int32_t registerCount) override;
    // Constants by name need the high-level shaders Direct3D 8 lacks: refused, logged.
    bool setVertexShaderConstant(const char* name, const float* data, int32_t count) override;
    void setPixelShaderConstants(const float* data, int32_t firstRegister,
                                 int32_t registerCount) override;
    bool setPixelShaderConstant(const char* name, const float* data, int32_t count) override;

protected:
    ~CD3D8Driver() override;

    void setSamplerState(uint32_t stage, D3DSAMPLERSTATETYPE type, uint32_t value) override;
    HRESULT setVertexFormat(uint32_t fvf) override;
    HRESULT getRenderTarget(IDirect3DSurface9** surface) override;
    HRESULT setRenderTarget(IDirect3DSurface9* surface) override;
    CRefPointer<IDirect3DSurface9> copyFrontBuffer() override;
    CPixelSize getDeviceScreenSize() const override { return m_screenSize; }

private:
    void fillPresentParameters(const CreationParameters& parameters,
                               const D3DDISPLAYMODE& displayMode);
    // The highest accepted level from the one asked for down to 2; 1 when none is.
    uint32_t chooseMultiSampling(uint32_t level);
    void waitForVerticalBlank();

    D3DPRESENT_PARAMETERS8 m_presentParams;
    bool m_waitForVerticalBlank = false;
    CPixelRect m_scissorRect{0, 0, 0, 0};
    CRefPointer<CD3DModule> m_module;
    CRefPointer<IDirect3D8> m_d3d;
    CRefPointer<IDirect3DDevice8> m_device;
};
