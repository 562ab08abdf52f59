#include "engine/video/d3d/D3D9Driver.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "engine/core/Logger.h"
#include "engine/video/ColorFormat.h"
#include "engine/video/d3d/D3D9DriverTexture.h"
#include "engine/video/d3d/D3D9FixedFunctionRenderer.h"
#include "engine/video/d3d/D3D9Formats.h"
#include "engine/video/d3d/D3DLog.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"

namespace {

constexpr uint32_t kAlphaToCoverageFormat = makeFourCC('A', 'T', 'O', 'C');
constexpr uint32_t kMaxMultiSampleLevel = 16;

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
    : CNullRenderDriver(parameters, fileSystem, nullptr), m_stencilBuffer(parameters.stencilBuffer),
      m_maxLightDistance(std::sqrt(std::numeric_limits<float>::max())),
      m_backBufferColorFormat(COLOR_FORMAT_A8R8G8B8), m_fullScreen(parameters.fullScreen) {}

CD3D9Driver::~CD3D9Driver() {
    m_materialPasses.clear();
    clearStageTextures();
    m_savedBackBuffer.reset();
    m_device.reset();
    m_d3d.reset();
}

bool CD3D9Driver::loadRuntime() {
    m_module = CD3DModuleRegistry::instance().loadLibrary("d3d9.dll");
    if (!m_module) {
        logD3DError("Error, could not load d3d9.dll.");
        return false;
    }
    const D3DModuleExport* create = m_module->getProcAddress("Direct3DCreate9");
    if (!create) {
        logD3DError("Error, could not get proc adress of Direct3DCreate9.");
        return false;
    }
    const auto function = reinterpret_cast<Direct3DCreate9Function>(create->function);
    m_d3d = CRefPointer<IDirect3D9>(function(create->context, D3D_SDK_VERSION));
    if (!m_d3d) {
        logD3DError("Error initializing D3D.");
        return false;
    }
    return true;
}

void CD3D9Driver::readAdapterIdentifier() {
    D3DADAPTER_IDENTIFIER9 identifier;
    if (FAILED(m_d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &identifier)))
        return;
    const uint32_t high = uint32_t(identifier.DriverVersion >> 32);
    const uint32_t low = uint32_t(identifier.DriverVersion);
    char line[1100];
    std::snprintf(line, sizeof(line), "%s %s %d.%d.%d.%d", identifier.Description,
                  identifier.Driver, int(high >> 16), int(high & 0xFFFF), int(low >> 16),
                  int(low & 0xFFFF));
    logD3DInformation(line);
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

bool CD3D9Driver::isDepthFormatAccepted(D3DFORMAT format) {
    m_presentParams.AutoDepthStencilFormat = format;
    return !FAILED(m_d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                            m_presentParams.BackBufferFormat, D3DUSAGE_DEPTHSTENCIL,
                                            D3DRTYPE_SURFACE, format));
}

bool CD3D9Driver::chooseDepthStencilFormat(D3DFORMAT displayFormat) {
    if (m_stencilBuffer) {
        if (isDepthFormatAccepted(D3DFMT_D24S8)) {
            if (FAILED(m_d3d->CheckDepthStencilMatch(
                    D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayFormat,
                    m_presentParams.BackBufferFormat, D3DFMT_D24S8))) {
                logD3DWarning("Depth-stencil format is not compatible with display format, "
                              "disabling stencil buffer.");
                m_stencilBuffer = false;
            }
        } else if (!isDepthFormatAccepted(D3DFMT_D24X4S4) && !isDepthFormatAccepted(D3DFMT_D15S1)) {
            logD3DWarning("Device does not support stencilbuffer, disabling stencil buffer.");
            m_stencilBuffer = false;
        }
    }
    if (m_stencilBuffer)
        return true;
    if (isDepthFormatAccepted(D3DFMT_D32) || isDepthFormatAccepted(D3DFMT_D24X8) ||
        isDepthFormatAccepted(D3DFMT_D16))
        return true;
    logD3DWarning("Device does not support required depth buffer.");
    return false;
}

bool CD3D9Driver::createDevice(HWND window, bool preserveFloats) {
    const uint32_t extra = preserveFloats ? D3DCREATE_FPU_PRESERVE : 0;
    const uint32_t processing[] = {D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                   D3DCREATE_MIXED_VERTEXPROCESSING,
                                   D3DCREATE_SOFTWARE_VERTEXPROCESSING};
    bool created = false;
    for (const uint32_t flags : processing) {
        IDirect3DDevice9* device = nullptr;
        if (!FAILED(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, flags | extra,
                                        &m_presentParams, &device))) {
            m_device = CRefPointer<IDirect3DDevice9>(device);
            created = true;
            break;
        }
    }
    if (!created)
        logD3DError("Was not able to create Direct3D9 device.");
    if (!m_device) {
        logD3DError("Was not able to create DIRECT3D9 device.");
        return false;
    }
    return true;
}

void CD3D9Driver::checkStencilCaps() {
    const uint32_t needed = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_INCRSAT | D3DSTENCILCAPS_DECRSAT;
    if (m_stencilBuffer && (m_caps.StencilCaps & needed) != needed) {
        logD3DWarning("Device not able to use stencil buffer, disabling stencil buffer.");
        m_stencilBuffer = false;
    }
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

void CD3D9Driver::createMaterialPasses() {
    for (const uint32_t type : CD3D9FixedFunctionRenderer::kTypes)
        setMaterialPass(
            int32_t(type),
            CRefPointer<IMaterialPass>(new CD3D9FixedFunctionRenderer(m_device.get(), this, type))
                .get(),
            nullptr);
}

void CD3D9Driver::clearStageTextures() {
    for (CRefPointer<IDriverTexture>& texture : m_stageTextures)
        texture.reset();
}

bool CD3D9Driver::initDevice(const CreationParameters& parameters) {
    m_fullScreen = parameters.fullScreen;
    m_d3dScreenSize = {parameters.width, parameters.height};
    m_antiAliasing = parameters.antiAlias;
    m_window = HWND(parameters.windowHandle);
    if (!m_d3d && !loadRuntime())
        return false;
    readAdapterIdentifier();
    D3DDISPLAYMODE displayMode;
    if (FAILED(m_d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &displayMode))) {
        logD3DError("Could not get Adapter Display mode.");
        return false;
    }
    fillPresentParameters(parameters, displayMode);
    chooseMultiSampling();
    if (!chooseDepthStencilFormat(displayMode.Format) ||
        !createDevice(m_window, parameters.highPrecisionFloat))
        return false;
    m_device->GetDeviceCaps(&m_caps);
    checkStencilCaps();
    setVertexType(VERTEX_TYPE_STANDARD);
    setFogParameters(m_fog.color, m_fog.linear, m_fog.start, m_fog.end, m_fog.density,
                     m_fog.perPixel, m_fog.range);
    m_platformData[0] = 0;
    m_platformData[1] = 1;
    m_platformData[2] = uintptr_t(m_d3d.get());
    m_platformData[3] = uintptr_t(m_device.get());
    m_platformData[4] = m_window;
    m_resetAllStates = true;
    createMaterialPasses();
    m_maxTextureStages = m_caps.MaxSimultaneousTextures < 4 ? m_caps.MaxSimultaneousTextures : 4;
    m_maxClipPlanes = m_caps.MaxUserClipPlanes;
    probeAlphaToCoverage();
    setRenderStates3D();
    readBackBufferFormat();
    return true;
}

bool CD3D9Driver::startFrame(bool clearBackBuffer, bool clearDepthBuffer, CColor clearColor,
                             void* presentationWindow, const CPixelRect* sourceRect) {
    CNullRenderDriver::startFrame(clearBackBuffer, clearDepthBuffer, clearColor, presentationWindow,
                                  sourceRect);
    m_presentWindow = HWND(presentationWindow);
    m_hasPresentSourceRect = sourceRect != nullptr;
    if (sourceRect)
        m_presentSourceRect = {sourceRect->left, sourceRect->top, sourceRect->right,
                               sourceRect->bottom};
    if (!m_device)
        return false;
    if (m_deviceLost) {
        HRESULT level = m_device->TestCooperativeLevel();
        if (level == D3DERR_DEVICELOST) {
            CD3DModuleRegistry::instance().sleep(100);
            level = m_device->TestCooperativeLevel();
            if (level == D3DERR_DEVICELOST)
                return false;
        }
        if (level == D3DERR_DEVICENOTRESET && !resetDevice())
            return false;
    }
    uint32_t flags = 0;
    if (clearBackBuffer)
        flags |= D3DCLEAR_TARGET;
    if (clearDepthBuffer)
        flags |= D3DCLEAR_ZBUFFER;
    if (m_stencilBuffer)
        flags |= D3DCLEAR_STENCIL;
    if (FAILED(m_device->Clear(0, nullptr, flags, clearColor.value, 1.0f, 0)))
        logD3DWarning("DIRECT3D9 clear failed.");
    if (FAILED(m_device->BeginScene())) {
        logD3DWarning("DIRECT3D9 begin scene failed.");
        return false;
    }
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
    const HRESULT result = m_device->Present(
        m_hasPresentSourceRect ? &m_presentSourceRect : nullptr, nullptr, m_presentWindow, nullptr);
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
    m_currentVertexType = -1;
    m_deviceLost = false;
    m_resetAllStates = true;
    clearStageTextures();
    setVertexType(VERTEX_TYPE_STANDARD);
    setRenderStates3D();
    setFogParameters(m_fog.color, m_fog.linear, m_fog.start, m_fog.end, m_fog.density,
                     m_fog.perPixel, m_fog.range);
    setAmbientLight(m_ambientLight);
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

bool CD3D9Driver::hasFeature(uint32_t feature) const {
    if (feature >= FEATURE_COUNT || !m_featureEnabled[feature])
        return false;
    const uint32_t vertexShader = m_caps.VertexShaderVersion;
    const uint32_t pixelShader = m_caps.PixelShaderVersion;
    switch (feature) {
    case FEATURE_RENDER_TO_TEXTURE:
        return m_caps.NumSimultaneousRTs > 0;
    case FEATURE_HARDWARE_TRANSFORM_LIGHTING:
        return (m_caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
    case FEATURE_MULTITEXTURE:
    case FEATURE_BILINEAR_FILTER:
        return true;
    case FEATURE_MIP_MAPS:
        return (m_caps.TextureCaps & D3DPTEXTURECAPS_MIPMAP) != 0;
    case FEATURE_STENCIL_BUFFER:
        return m_stencilBuffer && m_caps.StencilCaps != 0;
    case FEATURE_VERTEX_SHADER_1_1:
    case FEATURE_HLSL:
        return vertexShader >= D3DVS_VERSION(1, 1);
    case FEATURE_VERTEX_SHADER_2_0:
        return vertexShader >= D3DVS_VERSION(2, 0);
    case FEATURE_VERTEX_SHADER_3_0:
        return vertexShader >= D3DVS_VERSION(3, 0);
    case FEATURE_PIXEL_SHADER_1_1:
        return pixelShader >= D3DPS_VERSION(1, 1);
    case FEATURE_PIXEL_SHADER_1_2:
        return pixelShader >= D3DPS_VERSION(1, 2);
    case FEATURE_PIXEL_SHADER_1_3:
        return pixelShader >= D3DPS_VERSION(1, 3);
    case FEATURE_PIXEL_SHADER_1_4:
        return pixelShader >= D3DPS_VERSION(1, 4);
    case FEATURE_PIXEL_SHADER_2_0:
        return pixelShader >= D3DPS_VERSION(2, 0);
    case FEATURE_PIXEL_SHADER_3_0:
        return pixelShader >= D3DPS_VERSION(3, 0);
    case FEATURE_NON_SQUARE_TEXTURES:
        return (m_caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) == 0;
    case FEATURE_NON_POWER_OF_TWO_TEXTURES:
        return (m_caps.TextureCaps & D3DPTEXTURECAPS_POW2) == 0;
    case FEATURE_COLOR_WRITE_MASK:
        return (m_caps.PrimitiveMiscCaps & D3DPMISCCAPS_COLORWRITEENABLE) != 0;
    default:
        return false;
    }
}

uint32_t CD3D9Driver::setTextureOption(uint32_t option, bool on) {
    if (option == TEXTURE_CREATE_MIP_MAPS && on && !hasFeature(FEATURE_MIP_MAPS))
        on = false;
    return CNullRenderDriver::setTextureOption(option, on);
}

CPixelSize CD3D9Driver::getRenderTargetSize() const {
    if (m_renderTargetSize.width != 0 || m_renderTargetSize.height != 0)
        return m_renderTargetSize;
    return m_d3dScreenSize;
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
