#include "engine/video/d3d/host/GLDirect3D9.h"

#include <cstdio>
#include <cstring>

#include "engine/core/Array.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/IHostGL.h"
#include "engine/platform/host/IHostWindowSystem.h"
#include "engine/video/d3d/host/D3D9GLFormats.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/Direct3D8On9.h"
#include "engine/video/d3d/host/GLDirect3DDevice9.h"

namespace {

// The runtime names itself after the version asked for, so the log says which one is used.
IDirect3D9* createGLDirect3D9(void* context, uint32_t sdkVersion) {
    auto* host = static_cast<IHostWindowSystem*>(context);
    IHostGL* gl = host->getGL();
    const char* name =
        sdkVersion == D3D_SDK_VERSION_8 ? "Direct3D 8 on OpenGL" : "Direct3D 9 on OpenGL";
    return gl ? new CGLDirect3D9(*host, *gl, name) : nullptr;
}

struct HostProvider {
    IHostWindowSystem& (*host)() = nullptr;
};

IDirect3D9* createOnProvidedHost(void* context, uint32_t sdkVersion) {
    IHostWindowSystem& host = static_cast<HostProvider*>(context)->host();
    CD3DModuleRegistry::instance().setHostWindowSystem(&host);
    return createGLDirect3D9(&host, sdkVersion);
}

IDirect3D8* createGLDirect3D8(void* context, uint32_t sdkVersion) {
    const CRefPointer<IDirect3D9> d3d(createGLDirect3D9(context, sdkVersion));
    return d3d ? new CDirect3D8On9(d3d.get()) : nullptr;
}

IDirect3D8* createGL8OnProvidedHost(void* context, uint32_t sdkVersion) {
    const CRefPointer<IDirect3D9> d3d(createOnProvidedHost(context, sdkVersion));
    return d3d ? new CDirect3D8On9(d3d.get()) : nullptr;
}

void registerModules(void* context, IDirect3D9* (*create9)(void*, uint32_t),
                     IDirect3D8* (*create8)(void*, uint32_t)) {
    CArray<D3DModuleExport> exports9;
    exports9.append({"Direct3DCreate9", reinterpret_cast<void (*)()>(create9), context});
    CD3DModuleRegistry::instance().registerModule("d3d9.dll", exports9);
    CArray<D3DModuleExport> exports8;
    exports8.append({"Direct3DCreate8", reinterpret_cast<void (*)()>(create8), context});
    CD3DModuleRegistry::instance().registerModule("d3d8.dll", exports8);
}

bool isDepthStencilFormat(D3DFORMAT format) {
    return format == D3DFMT_D24S8 || format == D3DFMT_D24X8 || format == D3DFMT_D16 ||
           format == D3DFMT_D32 || format == D3DFMT_D24X4S4 || format == D3DFMT_D15S1;
}

} // namespace

HRESULT CGLDirect3D9::GetAdapterIdentifier(uint32_t adapter, uint32_t,
                                           D3DADAPTER_IDENTIFIER9* identifier) {
    if (adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    *identifier = D3DADAPTER_IDENTIFIER9();
    std::strcpy(identifier->Driver, m_driverName);
    // The renderer and the OpenGL version stand for the card and its driver's version.
    CString renderer;
    CString version;
    if (!m_gl.describeRenderer(renderer, version) || renderer.isEmpty())
        renderer = "OpenGL";
    std::snprintf(identifier->Description, sizeof(identifier->Description), "%s", renderer.c_str());
    const uint32_t glVersion = parseGLVersion(version.c_str());
    identifier->DriverVersion = uint64_t((glVersion / 100) << 16 | (glVersion % 100)) << 32;
    return D3D_OK;
}

HRESULT CGLDirect3D9::GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) {
    HostDisplayMode desktop;
    if (adapter != D3DADAPTER_DEFAULT || !m_host.getDesktopDisplayMode(desktop))
        return D3DERR_INVALIDCALL;
    mode->Width = uint32_t(desktop.width);
    mode->Height = uint32_t(desktop.height);
    mode->RefreshRate = uint32_t(desktop.frequency);
    mode->Format = desktop.bitsPerPixel == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
    return D3D_OK;
}

HRESULT CGLDirect3D9::CheckDeviceFormat(uint32_t, D3DDEVTYPE, D3DFORMAT, uint32_t usage,
                                        D3DRESOURCETYPE, D3DFORMAT checkFormat) {
    if (usage & D3DUSAGE_DEPTHSTENCIL) {
        if (!isDepthStencilFormat(checkFormat))
            return D3DERR_NOTAVAILABLE;
        HostGLPixelFormat wanted;
        depthStencilBitsOf(checkFormat, wanted);
        return m_gl.choosePixelFormat(wanted) > 0 ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    return colorFormatIsDrawable(checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT CGLDirect3D9::CheckDeviceMultiSampleType(uint32_t, D3DDEVTYPE, D3DFORMAT surfaceFormat,
                                                 bool, D3DMULTISAMPLE_TYPE type,
                                                 uint32_t* qualityLevels) {
    // Type 1 is a driver-chosen quality level GL has no name for.
    if (type == 1 || !colorFormatIsDrawable(surfaceFormat))
        return D3DERR_NOTAVAILABLE;
    HostGLPixelFormat wanted;
    wanted.colorBits = surfaceFormat == D3DFMT_R5G6B5 ? 16 : 32;
    wanted.samples = int32_t(type);
    if (m_gl.choosePixelFormat(wanted) <= 0)
        return D3DERR_NOTAVAILABLE;
    if (qualityLevels)
        *qualityLevels = 1;
    return D3D_OK;
}

HRESULT CGLDirect3D9::CheckDepthStencilMatch(uint32_t, D3DDEVTYPE, D3DFORMAT, D3DFORMAT,
                                             D3DFORMAT depthStencilFormat) {
    return isDepthStencilFormat(depthStencilFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT CGLDirect3D9::CreateDevice(uint32_t adapter, D3DDEVTYPE, HWND focusWindow, uint32_t,
                                   D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    if (adapter != D3DADAPTER_DEFAULT || !parameters || !device)
        return D3DERR_INVALIDCALL;
    const HWND window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
    *device = CGLDirect3DDevice9::create(m_host, m_gl, HostWindow(window), *parameters);
    return *device ? D3D_OK : D3DERR_NOTAVAILABLE;
}

void registerGLDirect3DModules(IHostWindowSystem& host) {
    registerModules(&host, &createGLDirect3D9, &createGLDirect3D8);
}

void registerGLDirect3DModules(IHostWindowSystem& (*host)()) {
    static HostProvider provider;
    provider.host = host;
    registerModules(&provider, &createOnProvidedHost, &createGL8OnProvidedHost);
}
