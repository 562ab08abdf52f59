#pragma once

#include <cstdint>

#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/video/d3d/D3DDriverBase.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/IDirect3D9.h"
#include "engine/video/d3d/host/IDirect3DDevice9.h"

// The video driver that draws through a Direct3D 9 runtime, loaded by name as "d3d9.dll". It
// mirrors the engine's state on the device and sends a state only when it changed.
class CD3D9Driver : public CD3DDriverBase {
public:
    CD3D9Driver(const CreationParameters& parameters, IVirtualFileSystem* fileSystem);

    // Loads the runtime and creates the device; false, logged, when any step fails.
    bool initDevice(const CreationParameters& parameters);
    bool resetDevice() override;
    // True from construction and from the start of every reset until the next present.
    bool wasResetSincePresent() const { return m_resetSincePresent; }

    D3DFORMAT getBackBufferD3DFormat() const { return m_backBufferD3DFormat; }

    bool presentFrame() override;
    CRefPointer<IDriverTexture> createRenderTargetTexture(CPixelSize size,
                                                          int32_t formatCode) override;
    CRefPointer<IDriverTexture> createDeviceTexture(CSoftwareImage* image) override;
    int32_t getBackBufferFormat() const override { return m_backBufferColorFormat; }
    const char16_t* getDriverName() const override { return u"Direct3D 9.0"; }
    void handleResize(CPixelSize size) override;
    uint32_t getDriverKind() const override { return DRIVER_KIND_DIRECT3D9; }
    IShaderServices* getShaderServices() override { return this; }
    void setScissorRect(const CPixelRect& rect) override;
    void enableScissor(bool on) override;
    const char* getAdapterDescription() const override { return m_vendorName.c_str(); }

    // Shader materials become the next material types; -1, logged, when none was made.
    int32_t createHighLevelMaterial(const char* vertexProgram, const char* vertexEntry,
                                    int32_t vertexTarget, const char* pixelProgram,
                                    const char* pixelEntry, int32_t pixelTarget,
                                    IShaderCallback* callback, int32_t baseMaterialType,
                                    int32_t userData) override;
    int32_t createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                              IShaderCallback* callback, int32_t baseMaterialType,
                              int32_t userData) override;

    void setVertexShaderConstants(const float* data, int32_t firstRegister,
                                  int32_t registerCount) override;
    bool setVertexShaderConstant(const char* name, const float* data, int32_t count) override;
    void setPixelShaderConstants(const float* data, int32_t firstRegister,
                                 int32_t registerCount) override;
    bool setPixelShaderConstant(const char* name, const float* data, int32_t count) override;

protected:
    ~CD3D9Driver() override;

    void setSamplerState(uint32_t stage, D3DSAMPLERSTATETYPE type, uint32_t value) override;
    HRESULT setVertexFormat(uint32_t fvf) override;
    HRESULT getRenderTarget(IDirect3DSurface9** surface) override;
    HRESULT setRenderTarget(IDirect3DSurface9* surface) override;
    CRefPointer<IDirect3DSurface9> copyFrontBuffer() override;
    CPixelSize getDeviceScreenSize() const override { return m_d3dScreenSize; }
    void setAntiAliasStates(uint8_t flags, uint8_t lastFlags) override;
    void scissorImage(const CPixelRect* clip) override;

private:
    static constexpr uint16_t kVendorNvidia = 0x10DE;
    static constexpr uint16_t kVendorAti = 0x1002;

    void readAdapterIdentifier();
    void fillPresentParameters(const CreationParameters& parameters,
                               const D3DDISPLAYMODE& displayMode);
    void chooseMultiSampling();
    void probeAlphaToCoverage();
    void readBackBufferFormat();
    bool setShaderVariable(bool vertex, const char* name, const float* data, int32_t count);

    D3DPRESENT_PARAMETERS m_presentParams;
    CRefPointer<CD3DModule> m_module;
    CRefPointer<IDirect3D9> m_d3d;
    CRefPointer<IDirect3DDevice9> m_device;
    CPixelSize m_d3dScreenSize{0, 0};
    int32_t m_backBufferColorFormat;
    D3DFORMAT m_backBufferD3DFormat = D3DFMT_A8R8G8B8;
    bool m_fullScreen;
    bool m_resetSincePresent = true;
    uint8_t m_antiAliasing = 0;
    CString m_vendorName;
    uint16_t m_vendorId = 0;
    bool m_alphaToCoverage = false;
};
