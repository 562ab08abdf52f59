#include "engine/video/d3d/D3D9Driver.h"

#include "engine/core/Logger.h"
#include "engine/video/ColorFormat.h"
#include "engine/video/d3d/D3D9DriverTexture.h"
#include "engine/video/d3d/D3D9Formats.h"
#include "engine/video/d3d/D3DFixedFunctionRenderer.h"
#include "engine/video/d3d/D3DLog.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"

namespace {

constexpr uint32_t kAlphaToCoverageFormat = makeFourCC('A', 'T', 'O', 'C');
constexpr uint32_t kMaxMultiSampleLevel = 16;

const CD3DDriverBase::Traits kTraits = {
    DRIVER_KIND_DIRECT3D9,
    "DIRECT3D9 clear failed.",
    "DIRECT3D9 begin scene failed.",
    "CD3D9Driver clearZBuffer() failed.",
    true,
    true,
    true,
    true,
};

CString vendorNameOf(uint32_t vendorId) {
    switch (vendorId) {
    case 0x1002:
        return "ATI Technologies Inc.";
    case 0x102B:
        return "Matrox Electronic Systems Ltd.";
    case 0x10DE:
        return "NVIDIA Corporation";
    case 0x121A:
        return "3dfx Interactive Inc";
    case 0x5333:
        return "S3 Graphics Co., Ltd.";
    case 0x8086:
        return "Intel Corporation";
    default:
        return CString("Unknown VendorId: ").append(vendorId);
    }
}

} // namespace

CD3D9Driver::CD3D9Driver(const CreationParameters& parameters, IVirtualFileSystem* fileSystem)
    : CD3DDriverBase(parameters, fileSystem, kTraits),
      m_backBufferColorFormat(COLOR_FORMAT_A8R8G8B8), m_fullScreen(parameters.fullScreen) {}

CD3D9Driver::~CD3D9Driver() {
    dropDeviceResources();
}

void CD3D9Driver::readAdapterIdentifier() {
    D3DADAPTER_IDENTIFIER9 identifier;
    if (FAILED(m_d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &identifier)))
        return;
    logAdapterIdentifier(identifier);
    m_vendorId = uint16_t(identifier.VendorId);
    m_vendorName = vendorNameOf(m_vendorId);
}

void CD3D9Driver::fillPresentParameters(const CreationParameters& parameters,
                                        const D3DDISPLAYMODE& displayMode) {
    m_presentParams = D3DPRESENT_PARAMETERS();
    m_presentParams.BackBufferCount = 1;
    m_presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    m_presentParams.EnableAutoDepthStencil = true;
    m_presentParams.PresentationInterval =
        parameters.verticalSync ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
    if (m_fullScreen) {
        m_presentParams.BackBufferWidth = m_d3dScreenSize.width;
        m_presentParams.BackBufferHeight = m_d3dScreenSize.height;
        m_presentParams.BackBufferFormat = parameters.bits == 32 ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5;
        m_presentParams.Windowed = false;
        m_presentParams.FullScreen_RefreshRateInHz = 0;
        return;
    }
    m_presentParams.BackBufferFormat = displayMode.Format;
    m_presentParams.hDeviceWindow = m_window;
    m_presentParams.Windowed = true;
}

void CD3D9Driver::chooseMultiSampling() {
    if (m_antiAliasing == 0)
        return;
    if (m_antiAliasing > kMaxMultiSampleLevel)
        m_antiAliasing = kMaxMultiSampleLevel;
    for (; m_antiAliasing > 0; --m_antiAliasing) {
        uint32_t qualityLevels = 0;
        if (FAILED(m_d3d->CheckDeviceMultiSampleType(
                D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_presentParams.BackBufferFormat, !m_fullScreen,
                D3DMULTISAMPLE_TYPE(m_antiAliasing), &qualityLevels)))
            continue;
        m_presentParams.MultiSampleType = D3DMULTISAMPLE_TYPE(m_antiAliasing);
        m_presentParams.MultiSampleQuality = qualityLevels > 0 ? qualityLevels - 1 : 0;
        m_presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
        return;
    }
    logD3DWarning("Anti aliasing disabled because hardware/driver lacks necessary caps.");
}

void CD3D9Driver::probeAlphaToCoverage() {
    if (m_vendorId == kVendorNvidia)
        m_alphaToCoverage =
            !FAILED(m_d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0,
                                             D3DRTYPE_SURFACE, D3DFORMAT(kAlphaToCoverageFormat)));
    else
        m_alphaToCoverage = m_vendorId == kVendorAti;
}

void CD3D9Driver::readBackBufferFormat() {
    m_backBufferD3DFormat = D3DFMT_A8R8G8B8;
    IDirect3DSurface9* backBuffer = nullptr;
    if (!FAILED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        D3DSURFACE_DESC desc;
        backBuffer->GetDesc(&desc);
        m_backBufferD3DFormat = desc.Format == D3DFMT_X8R8G8B8 ? D3DFMT_A8R8G8B8 : desc.Format;
        backBuffer->release();
    }
    m_backBufferColorFormat = colorFormatOfD3DFormat(m_backBufferD3DFormat);
}

bool CD3D9Driver::initDevice(const CreationParameters& parameters) {
    m_fullScreen = parameters.fullScreen;
    m_d3dScreenSize = {parameters.width, parameters.height};
    m_antiAliasing = parameters.antiAlias;
    m_window = HWND(parameters.windowHandle);
    if (!m_d3d && !loadRuntime(m_module, m_d3d, "d3d9.dll", "Direct3DCreate9", D3D_SDK_VERSION))
        return false;
    readAdapterIdentifier();
    D3DDISPLAYMODE displayMode;
    if (FAILED(m_d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &displayMode))) {
        logD3DError("Could not get Adapter Display mode.");
        return false;
    }
    fillPresentParameters(parameters, displayMode);
    chooseMultiSampling();
    if (!chooseDepthStencilFormat(*m_d3d, m_presentParams.BackBufferFormat, displayMode.Format,
                                  m_presentParams.AutoDepthStencilFormat) ||
        !createDevice(*m_d3d, m_presentParams, parameters.highPrecisionFloat, m_device,
                      "Was not able to create Direct3D9 device.",
                      "Was not able to create DIRECT3D9 device."))
        return false;
    m_device->GetDeviceCaps(&m_caps);
    checkStencilCaps();
    setVertexType(VERTEX_TYPE_STANDARD);
    reapplyFog();
    fillPlatformData(1, uintptr_t(m_d3d.get()), uintptr_t(m_device.get()));
    m_resetAllStates = true;
    placeFixedFunctionRenderers(*this);
    probeAlphaToCoverage();
    setRenderStates3D();
    readBackBufferFormat();
    return true;
}

bool CD3D9Driver::presentFrame() {
    CNullRenderDriver::presentFrame();
    m_resetSincePresent = false;
    if (!m_device)
        return false;
    if (FAILED(m_device->EndScene())) {
        logD3DWarning("DIRECT3D9 end scene failed.");
        return false;
    }
    const HRESULT result = presentToWindow();
    if (!FAILED(result))
        return true;
    switch (result) {
    case D3DERR_DEVICELOST:
        m_deviceLost = true;
        logD3DWarning("Present failed: DIRECT3D9 device lost.");
        break;
    case D3DERR_INVALIDCALL:
        logD3DWarning("Present failed: Invalid Call");
        break;
    case D3DERR_DEVICEREMOVED:
        logD3DWarning("Present failed: Device removed.");
        break;
    default:
        logD3DWarning("DIRECT3D9 present failed.");
        break;
    }
    return false;
}

bool CD3D9Driver::resetDevice() {
    logD3DInformation("Resetting D3D9 device.");
    m_resetSincePresent = true;
    const HRESULT result = m_device->Reset(&m_presentParams);
    if (FAILED(result)) {
        switch (result) {
        case D3DERR_OUTOFVIDEOMEMORY:
            logD3DWarning("Resetting failed due to out of memory.");
            break;
        case D3DERR_DRIVERINTERNALERROR:
            logD3DWarning("Resetting failed due to internal error.");
            break;
        case D3DERR_DEVICELOST:
            m_deviceLost = true;
            logD3DWarning("Resetting failed due to device lost.");
            break;
        case D3DERR_DEVICENOTRESET:
            logD3DWarning("Resetting failed due to not reset.");
            break;
        case D3DERR_INVALIDCALL:
            logD3DWarning("Resetting failed due to invalid call.");
            break;
        case D3DERR_DEVICEREMOVED:
            logD3DWarning("Resetting failed due to device removed.");
            break;
        default:
            logD3DWarning(CString("Resetting failed due to unknown reason: ").append(int(result)));
            break;
        }
        return false;
    }
    restoreStatesAfterReset();
    return true;
}

void CD3D9Driver::handleResize(CPixelSize size) {
    if (!m_device)
        return;
    CNullRenderDriver::handleResize(size);
    m_presentParams.BackBufferWidth = size.width;
    m_presentParams.BackBufferHeight = size.height;
    resetDevice();
}

CRefPointer<IDriverTexture> CD3D9Driver::createDeviceTexture(CSoftwareImage* image) {
    if (!image || !m_device)
        return nullptr;
    return CRefPointer<IDriverTexture>(new CD3D9DriverTexture(image, this));
}

CRefPointer<IDriverTexture> CD3D9Driver::createRenderTargetTexture(CPixelSize size,
                                                                   int32_t formatCode) {
    if (!m_device)
        return nullptr;
    return CRefPointer<IDriverTexture>(new CD3D9DriverTexture(this, size, formatCode));
}
