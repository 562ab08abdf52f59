#include "engine/video/d3d/D3D8Driver.h"

#include "engine/video/d3d/D3D8DriverTexture.h"
#include "engine/video/d3d/D3DFixedFunctionRenderer.h"
#include "engine/video/d3d/D3DLog.h"

namespace {

constexpr uint32_t kMaxMultiSampleLevel = 16;
constexpr uint32_t kMaxAnisotropy = 16;

const CD3DDriverBase::Traits kTraits = {
    DRIVER_KIND_DIRECT3D8,
    "Direct3D8 clear failed.",
    "Direct3D8 begin scene failed.",
    "CD3D8Driver clearZBuffer() failed.",
    false,
    false,
    false,
    false,
};

} // namespace

CD3D8Driver::CD3D8Driver(const CreationParameters& parameters, IVirtualFileSystem* fileSystem)
    : CD3DDriverBase(parameters, fileSystem, kTraits) {}

CD3D8Driver::~CD3D8Driver() {
    dropDeviceResources();
}

void CD3D8Driver::fillPresentParameters(const CreationParameters& parameters,
                                        const D3DDISPLAYMODE& displayMode) {
    m_presentParams = D3DPRESENT_PARAMETERS8();
    m_presentParams.BackBufferCount = 1;
    m_presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    m_presentParams.hDeviceWindow = m_window;
    m_presentParams.EnableAutoDepthStencil = true;
    if (parameters.fullScreen) {
        m_presentParams.BackBufferWidth = parameters.width;
        m_presentParams.BackBufferHeight = parameters.height;
        m_presentParams.BackBufferFormat = parameters.bits == 32 ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5;
        m_presentParams.FullScreen_RefreshRateInHz = 0;
        m_presentParams.FullScreen_PresentationInterval =
            parameters.verticalSync ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
        return;
    }
    m_presentParams.BackBufferFormat = displayMode.Format;
    m_presentParams.Windowed = true;
    m_waitForVerticalBlank = parameters.verticalSync;
}

uint32_t CD3D8Driver::chooseMultiSampling(uint32_t level) {
    if (level > kMaxMultiSampleLevel)
        level = kMaxMultiSampleLevel;
    for (; level > 1; --level) {
        if (!FAILED(m_d3d->CheckDeviceMultiSampleType(
                D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_presentParams.BackBufferFormat,
                m_presentParams.Windowed, D3DMULTISAMPLE_TYPE(level)))) {
            m_presentParams.MultiSampleType = D3DMULTISAMPLE_TYPE(level);
            m_presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
            return level;
        }
    }
    logD3DWarning("Anti aliasing disabled because hardware/driver lacks necessary caps.");
    return 1;
}

bool CD3D8Driver::initDevice(const CreationParameters& parameters) {
    m_window = HWND(parameters.windowHandle);
    if (!loadRuntime(m_module, m_d3d, "d3d8.dll", "Direct3DCreate8", D3D_SDK_VERSION_8))
        return false;
    D3DADAPTER_IDENTIFIER8 identifier;
    if (!FAILED(
            m_d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, D3DENUM_NO_WHQL_LEVEL, &identifier)))
        logAdapterIdentifier(identifier);
    D3DDISPLAYMODE displayMode;
    if (FAILED(m_d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &displayMode))) {
        logD3DError("Error: Could not get Adapter Display mode.");
        return false;
    }
    fillPresentParameters(parameters, displayMode);
    const uint32_t antiAliasing =
        parameters.antiAlias > 1 ? chooseMultiSampling(parameters.antiAlias) : 0;
    if (!chooseDepthStencilFormat(*m_d3d, m_presentParams.BackBufferFormat, displayMode.Format,
                                  m_presentParams.AutoDepthStencilFormat) ||
        !createDevice(*m_d3d, m_presentParams, parameters.highPrecisionFloat, m_device,
                      "Was not able to create Direct3D8 device.",
                      "Was not able to create Direct3D8 device."))
        return false;
    m_device->GetDeviceCaps(&m_caps);
    checkStencilCaps();
    setVertexType(VERTEX_TYPE_STANDARD);
    if (antiAliasing > 1)
        m_device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, true);
    reapplyFog();
    fillPlatformData(0, uintptr_t(m_d3d.get()), uintptr_t(m_device.get()));
    m_resetAllStates = true;
    placeFixedFunctionRenderers(*this);
    setRenderStates3D();
    const uint32_t anisotropy =
        m_caps.MaxAnisotropy < kMaxAnisotropy ? m_caps.MaxAnisotropy : kMaxAnisotropy;
    for (uint32_t stage = 0; stage < 4; ++stage)
        m_device->SetTextureStageState(stage, D3DTSS_MAXANISOTROPY, anisotropy);
    return true;
}

void CD3D8Driver::waitForVerticalBlank() {
    if (!m_waitForVerticalBlank || (m_caps.Caps & D3DCAPS_READ_SCANLINE) == 0)
        return;
    D3DRASTER_STATUS status;
    while (!FAILED(m_device->GetRasterStatus(&status)) && !status.InVBlank)
        CD3DModuleRegistry::instance().sleep(0);
}

bool CD3D8Driver::presentFrame() {
    CNullRenderDriver::presentFrame();
    if (!m_device)
        return false;
    if (FAILED(m_device->EndScene())) {
        logD3DWarning("DIRECT3D8 end scene failed.");
        return false;
    }
    waitForVerticalBlank();
    const HRESULT result = presentToWindow();
    if (!FAILED(result))
        return true;
    if (result == D3DERR_DEVICELOST) {
        m_deviceLost = true;
        logD3DWarning("DIRECT3D8 device lost.");
    } else {
        logD3DWarning("DIRECT3D8 present failed.");
    }
    return false;
}

bool CD3D8Driver::resetDevice() {
    logD3DInformation("Resetting D3D8 device.");
    const HRESULT result = m_device->Reset(&m_presentParams);
    if (result == D3DERR_DEVICELOST) {
        m_deviceLost = true;
        logD3DWarning("Resetting failed due to device lost.");
        return false;
    }
    if (FAILED(result)) {
        logD3DWarning("Resetting failed.");
        return false;
    }
    restoreStatesAfterReset();
    return true;
}

// A windowed back buffer follows the window by itself: the parameters stay.
void CD3D8Driver::handleResize(CPixelSize size) {
    if (!m_device)
        return;
    CNullRenderDriver::handleResize(size);
    resetDevice();
}

bool CD3D8Driver::hasFeature(uint32_t feature) const {
    if (feature >= FEATURE_COUNT || !m_featureEnabled[feature])
        return false;
    if (feature == FEATURE_RENDER_TO_TEXTURE)
        return true;
    return feature != FEATURE_HLSL && CD3DDriverBase::hasFeature(feature);
}

CRefPointer<IDriverTexture> CD3D8Driver::createDeviceTexture(CSoftwareImage* image) {
    if (!image || !m_device)
        return nullptr;
    return CRefPointer<IDriverTexture>(new CD3D8DriverTexture(image, this));
}

// Render targets take the back buffer's format whatever is asked.
CRefPointer<IDriverTexture> CD3D8Driver::createRenderTargetTexture(CPixelSize size, int32_t) {
    if (!m_device)
        return nullptr;
    return CRefPointer<IDriverTexture>(new CD3D8DriverTexture(this, size));
}
