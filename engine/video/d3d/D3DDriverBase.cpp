#include "engine/video/d3d/D3DDriverBase.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "engine/video/d3d/D3DLog.h"

CD3DDriverBase::CD3DDriverBase(const CreationParameters& parameters, IVirtualFileSystem* fileSystem,
                               const Traits& traits)
    : CNullRenderDriver(parameters, fileSystem, nullptr), m_traits(traits),
      m_stencilBuffer(parameters.stencilBuffer),
      m_maxLightDistance(std::sqrt(std::numeric_limits<float>::max())) {}

void CD3DDriverBase::dropDeviceResources() {
    m_materialPasses.clear();
    clearStageTextures();
    m_savedBackBuffer.reset();
    m_common = nullptr;
}

IMaterialPass* CD3DDriverBase::baseRendererOf(int32_t baseMaterialType) const {
    return baseMaterialType < 0 ? nullptr : getMaterialPass(uint32_t(baseMaterialType));
}

void CD3DDriverBase::clearStageTextures() {
    for (CRefPointer<IDriverTexture>& texture : m_stageTextures)
        texture.reset();
}

const D3DModuleExport* CD3DDriverBase::findCreateFunction(CRefPointer<CD3DModule>& module,
                                                          const char* library,
                                                          const char* function) {
    module = CD3DModuleRegistry::instance().loadLibrary(library);
    if (!module) {
        logD3DError(CString("Error, could not load ").append(library).append("."));
        return nullptr;
    }
    const D3DModuleExport* create = module->getProcAddress(function);
    if (!create)
        logD3DError(CString("Error, could not get proc adress of ").append(function).append("."));
    return create;
}

bool CD3DDriverBase::reportDirect3D(bool created) {
    if (!created)
        logD3DError("Error initializing D3D.");
    return created;
}

void CD3DDriverBase::reportNoDevice(const char* noneMade, const char* noDevice) {
    logD3DError(noneMade);
    logD3DError(noDevice);
}

void CD3DDriverBase::logAdapterIdentifier(const D3DADAPTER_IDENTIFIER9& identifier) {
    const uint32_t high = uint32_t(identifier.DriverVersion >> 32);
    const uint32_t low = uint32_t(identifier.DriverVersion);
    char line[1100];
    std::snprintf(line, sizeof(line), "%s %s %d.%d.%d.%d", identifier.Description,
                  identifier.Driver, int(high >> 16), int(high & 0xFFFF), int(low >> 16),
                  int(low & 0xFFFF));
    logD3DInformation(line);
}

bool CD3DDriverBase::isDepthFormatAccepted(IDirect3DCommon& d3d, D3DFORMAT backBufferFormat,
                                           D3DFORMAT format) {
    return !FAILED(d3d.CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, backBufferFormat,
                                         D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, format));
}

bool CD3DDriverBase::chooseDepthStencilFormat(IDirect3DCommon& d3d, D3DFORMAT backBufferFormat,
                                              D3DFORMAT displayFormat, D3DFORMAT& chosen) {
    // The last format tried stays chosen, accepted or not.
    const auto accepted = [&](D3DFORMAT format) {
        chosen = format;
        return isDepthFormatAccepted(d3d, backBufferFormat, format);
    };
    if (m_stencilBuffer) {
        if (accepted(D3DFMT_D24S8)) {
            if (FAILED(d3d.CheckDepthStencilMatch(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayFormat,
                                                  backBufferFormat, D3DFMT_D24S8))) {
                logD3DWarning("Depth-stencil format is not compatible with display format, "
                              "disabling stencil buffer.");
                m_stencilBuffer = false;
            }
        } else if (!accepted(D3DFMT_D24X4S4) && !accepted(D3DFMT_D15S1)) {
            logD3DWarning("Device does not support stencilbuffer, disabling stencil buffer.");
            m_stencilBuffer = false;
        }
    }
    if (m_stencilBuffer)
        return true;
    if (accepted(D3DFMT_D32) || accepted(D3DFMT_D24X8) || accepted(D3DFMT_D16))
        return true;
    logD3DWarning("Device does not support required depth buffer.");
    return false;
}

void CD3DDriverBase::checkStencilCaps() {
    const uint32_t needed = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_INCRSAT | D3DSTENCILCAPS_DECRSAT;
    if (m_stencilBuffer && (m_caps.StencilCaps & needed) != needed) {
        logD3DWarning("Device not able to use stencil buffer, disabling stencil buffer.");
        m_stencilBuffer = false;
    }
}

void CD3DDriverBase::fillPlatformData(uintptr_t first, uintptr_t d3d, uintptr_t device) {
    m_platformData[0] = 0;
    m_platformData[1] = first;
    m_platformData[2] = d3d;
    m_platformData[3] = device;
    m_platformData[4] = m_window;
}

void CD3DDriverBase::reapplyFog() {
    setFogParameters(m_fog.color, m_fog.linear, m_fog.start, m_fog.end, m_fog.density,
                     m_fog.perPixel, m_fog.range);
}

void CD3DDriverBase::restoreStatesAfterReset() {
    m_currentVertexType = -1;
    m_deviceLost = false;
    m_resetAllStates = true;
    clearStageTextures();
    setVertexType(VERTEX_TYPE_STANDARD);
    setRenderStates3D();
    reapplyFog();
    setAmbientLight(m_ambientLight);
}

bool CD3DDriverBase::startFrame(bool clearBackBuffer, bool clearDepthBuffer, CColor clearColor,
                                void* presentationWindow, const CPixelRect* sourceRect) {
    CNullRenderDriver::startFrame(clearBackBuffer, clearDepthBuffer, clearColor, presentationWindow,
                                  sourceRect);
    m_presentWindow = HWND(presentationWindow);
    m_hasPresentSourceRect = sourceRect != nullptr;
    if (sourceRect)
        m_presentSourceRect = {sourceRect->left, sourceRect->top, sourceRect->right,
                               sourceRect->bottom};
    if (!m_common)
        return false;
    if (m_deviceLost) {
        HRESULT level = m_common->TestCooperativeLevel();
        if (level == D3DERR_DEVICELOST) {
            CD3DModuleRegistry::instance().sleep(100);
            level = m_common->TestCooperativeLevel();
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
    if (FAILED(m_common->Clear(0, nullptr, flags, clearColor.value, 1.0f, 0)))
        logD3DWarning(m_traits.clearFailed);
    if (FAILED(m_common->BeginScene())) {
        logD3DWarning(m_traits.beginSceneFailed);
        return false;
    }
    return true;
}

HRESULT CD3DDriverBase::presentToWindow() {
    return m_common->Present(m_hasPresentSourceRect ? &m_presentSourceRect : nullptr, nullptr,
                             m_presentWindow, nullptr);
}

bool CD3DDriverBase::hasFeature(uint32_t feature) const {
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

uint32_t CD3DDriverBase::setTextureOption(uint32_t option, bool on) {
    if (option == TEXTURE_CREATE_MIP_MAPS && on && !hasFeature(FEATURE_MIP_MAPS))
        on = false;
    return CNullRenderDriver::setTextureOption(option, on);
}

CPixelSize CD3DDriverBase::getRenderTargetSize() const {
    if (m_renderTargetSize.width != 0 || m_renderTargetSize.height != 0)
        return m_renderTargetSize;
    return getDeviceScreenSize();
}
