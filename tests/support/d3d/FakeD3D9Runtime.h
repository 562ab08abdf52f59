#pragma once

#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/video/d3d/host/D3D9Types.h"

class FakeDirect3DDevice9;

// One answer of GetRasterStatus.
struct FakeRasterStatus {
    HRESULT result = D3D_OK;
    bool inVerticalBlank = true;
};

// What the fake Direct3D 9 runtime answers; each test changes what it needs before the driver
// starts.
struct FakeD3D9Script {
    bool createGivesNone = false;
    bool identifierFails = false;
    D3DADAPTER_IDENTIFIER9 identifier = defaultIdentifier();
    bool displayModeFails = false;
    D3DDISPLAYMODE displayMode = {1024, 768, 60, D3DFMT_X8R8G8B8};
    // CheckDeviceFormat refuses these formats (depth formats, "ATOC", ...).
    std::set<uint32_t> refusedFormats;
    bool depthStencilMismatch = false;
    // CheckDeviceMultiSampleType accepts these sample counts, reporting qualityLevels.
    std::set<uint32_t> multiSampleLevels;
    uint32_t qualityLevels = 3;
    // CreateDevice refuses behaviour flags that contain any of these bits.
    uint32_t refusedBehaviorBits = 0;
    D3DCAPS9 caps = defaultCaps();
    // Answers taken one per call; once empty, D3D_OK.
    std::deque<HRESULT> cooperativeLevels;
    std::deque<HRESULT> presentResults;
    std::deque<HRESULT> resetResults;
    HRESULT clearResult = D3D_OK;
    HRESULT beginSceneResult = D3D_OK;
    HRESULT endSceneResult = D3D_OK;
    HRESULT setFVFResult = D3D_OK;
    // SetLight refuses these indices.
    std::set<uint32_t> refusedLights;
    bool backBufferFails = false;
    D3DFORMAT backBufferFormat = D3DFMT_X8R8G8B8;
    // CreateTexture refuses these formats with D3DERR_NOTAVAILABLE, and every render target
    // with renderTargetResult when that is a failure.
    std::set<uint32_t> refusedTextureFormats;
    HRESULT renderTargetResult = D3D_OK;
    HRESULT viewportResult = D3D_OK;
    bool getRenderTargetFails = false;
    HRESULT setRenderTargetResult = D3D_OK;
    bool frontBufferFails = false;
    // Answers of GetRasterStatus, one per call; once empty, in the blank.
    std::deque<FakeRasterStatus> rasterStatuses;
    bool createShaderFails = false;
    HRESULT setShaderResult = D3D_OK;

    static D3DADAPTER_IDENTIFIER9 defaultIdentifier();
    static D3DCAPS9 defaultCaps();
};

// A Direct3D 9 runtime for tests, registered as "d3d9.dll" while it lives, and as "d3d8.dll"
// through Direct3D 8 on Direct3D 9. Every call of its
// objects is written to the log as "Name(arguments)", so tests can see what a driver sent.
class FakeD3D9Runtime {
public:
    FakeD3D9Runtime();
    ~FakeD3D9Runtime();
    FakeD3D9Runtime(const FakeD3D9Runtime&) = delete;
    FakeD3D9Runtime& operator=(const FakeD3D9Runtime&) = delete;

    void record(const std::string& line) { log.push_back(line); }
    // How many logged lines start with the prefix.
    size_t count(const std::string& prefix) const;
    bool logged(const std::string& line) const;
    // The device the driver created last, or none.
    FakeDirect3DDevice9* device() const { return m_device.get(); }
    void adoptDevice(FakeDirect3DDevice9* device);

    FakeD3D9Script script;
    std::vector<std::string> log;
    uint32_t createCalls = 0;
    uint32_t lastSdkVersion = 0;

private:
    CRefPointer<FakeDirect3DDevice9> m_device;
};
