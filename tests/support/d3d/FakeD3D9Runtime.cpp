#include "tests/support/d3d/FakeD3D9Runtime.h"

#include <algorithm>
#include <cstring>

#include "engine/core/Array.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/Direct3D8On9.h"
#include "tests/support/d3d/FakeDirect3D9.h"
#include "tests/support/d3d/FakeDirect3DDevice9.h"

namespace {

IDirect3D9* createFake(void* context, uint32_t sdkVersion) {
    auto* runtime = static_cast<FakeD3D9Runtime*>(context);
    ++runtime->createCalls;
    runtime->lastSdkVersion = sdkVersion;
    runtime->record("Direct3DCreate9(" + std::to_string(sdkVersion) + ")");
    if (runtime->script.createGivesNone)
        return nullptr;
    return new FakeDirect3D9(*runtime);
}

IDirect3D8* createFake8(void* context, uint32_t sdkVersion) {
    const CRefPointer<IDirect3D9> d3d(createFake(context, sdkVersion));
    return d3d ? new CDirect3D8On9(d3d.get()) : nullptr;
}

} // namespace

D3DADAPTER_IDENTIFIER9 FakeD3D9Script::defaultIdentifier() {
    D3DADAPTER_IDENTIFIER9 identifier;
    std::strcpy(identifier.Description, "Fake Adapter");
    std::strcpy(identifier.Driver, "fake.dll");
    identifier.DriverVersion = uint64_t(6) << 48 | uint64_t(14) << 32 | uint64_t(10) << 16 | 9;
    identifier.VendorId = 0x8086;
    return identifier;
}

D3DCAPS9 FakeD3D9Script::defaultCaps() {
    D3DCAPS9 caps;
    caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    caps.PrimitiveMiscCaps = D3DPMISCCAPS_COLORWRITEENABLE;
    caps.TextureCaps = D3DPTEXTURECAPS_MIPMAP;
    caps.TextureFilterCaps = D3DPTFILTERCAPS_MINFANISOTROPIC | D3DPTFILTERCAPS_MAGFANISOTROPIC;
    caps.MaxTextureWidth = 4096;
    caps.MaxTextureHeight = 4096;
    caps.MaxAnisotropy = 8;
    caps.StencilCaps = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_INCRSAT | D3DSTENCILCAPS_DECRSAT;
    caps.MaxSimultaneousTextures = 8;
    caps.MaxActiveLights = 8;
    caps.MaxUserClipPlanes = 6;
    caps.MaxPrimitiveCount = 0xFFFFF;
    caps.VertexShaderVersion = D3DVS_VERSION(2, 0);
    caps.PixelShaderVersion = D3DPS_VERSION(2, 0);
    caps.NumSimultaneousRTs = 1;
    return caps;
}

FakeD3D9Runtime::FakeD3D9Runtime() {
    CArray<D3DModuleExport> exports;
    exports.append({"Direct3DCreate9", reinterpret_cast<void (*)()>(&createFake), this});
    CD3DModuleRegistry::instance().registerModule("d3d9.dll", exports);
    CArray<D3DModuleExport> exports8;
    exports8.append({"Direct3DCreate8", reinterpret_cast<void (*)()>(&createFake8), this});
    CD3DModuleRegistry::instance().registerModule("d3d8.dll", exports8);
}

FakeD3D9Runtime::~FakeD3D9Runtime() {
    CD3DModuleRegistry::instance().unregisterModule("d3d9.dll");
    CD3DModuleRegistry::instance().unregisterModule("d3d8.dll");
}

size_t FakeD3D9Runtime::count(const std::string& prefix) const {
    return size_t(std::count_if(log.begin(), log.end(), [&prefix](const std::string& line) {
        return line.compare(0, prefix.size(), prefix) == 0;
    }));
}

bool FakeD3D9Runtime::logged(const std::string& line) const {
    return std::find(log.begin(), log.end(), line) != log.end();
}

void FakeD3D9Runtime::adoptDevice(FakeDirect3DDevice9* device) {
    m_device = CRefPointer<FakeDirect3DDevice9>::share(device);
}
