#pragma once

#include <bit>
#include <cstdint>

// The values and records of Direct3D 9 that the Direct3D drivers use, under their published names
// and numbers. Direct3D itself does not exist here: the runtimes behind IDirect3D9 are our own.

using HRESULT = int32_t;
using D3DCOLOR = uint32_t;

constexpr HRESULT hresultOf(uint32_t code) {
    return HRESULT(code);
}

constexpr HRESULT D3D_OK = 0;
constexpr HRESULT E_OUTOFMEMORY = hresultOf(0x8007000Eu);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = hresultOf(0x8876017Cu);
constexpr HRESULT D3DERR_DRIVERINTERNALERROR = hresultOf(0x88760827u);
constexpr HRESULT D3DERR_DEVICELOST = hresultOf(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = hresultOf(0x88760869u);
constexpr HRESULT D3DERR_NOTAVAILABLE = hresultOf(0x8876086Au);
constexpr HRESULT D3DERR_INVALIDCALL = hresultOf(0x8876086Cu);
constexpr HRESULT D3DERR_DEVICEREMOVED = hresultOf(0x88760870u);

constexpr bool FAILED(HRESULT result) {
    return result < 0;
}

constexpr uint32_t D3D_SDK_VERSION = 32;
constexpr uint32_t D3DADAPTER_DEFAULT = 0;

enum D3DDEVTYPE : uint32_t {
    D3DDEVTYPE_HAL = 1,
};

enum D3DFORMAT : uint32_t {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_R8G8B8 = 20,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_R5G6B5 = 23,
    D3DFMT_X1R5G5B5 = 24,
    D3DFMT_A1R5G5B5 = 25,
    D3DFMT_A4R4G4B4 = 26,
    D3DFMT_A8B8G8R8 = 32,
    D3DFMT_D32 = 71,
    D3DFMT_D15S1 = 73,
    D3DFMT_D24S8 = 75,
    D3DFMT_D24X8 = 77,
    D3DFMT_D24X4S4 = 79,
    D3DFMT_D16 = 80,
    D3DFMT_INDEX16 = 101,
    D3DFMT_INDEX32 = 102,
    D3DFMT_R16F = 111,
    D3DFMT_G16R16F = 112,
    D3DFMT_A16B16G16R16F = 113,
    D3DFMT_R32F = 114,
    D3DFMT_G32R32F = 115,
    D3DFMT_A32B32G32R32F = 116,
};

// Four characters as a little-endian code, as vendors name their private formats and switches.
constexpr uint32_t makeFourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

enum D3DPRIMITIVETYPE : uint32_t {
    D3DPT_POINTLIST = 1,
    D3DPT_LINELIST = 2,
    D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4,
    D3DPT_TRIANGLESTRIP = 5,
    D3DPT_TRIANGLEFAN = 6,
};

enum D3DRESOURCETYPE : uint32_t {
    D3DRTYPE_SURFACE = 1,
    D3DRTYPE_TEXTURE = 3,
};

enum D3DMULTISAMPLE_TYPE : uint32_t {
    D3DMULTISAMPLE_NONE = 0,
};

enum D3DSWAPEFFECT : uint32_t {
    D3DSWAPEFFECT_DISCARD = 1,
};

enum D3DBACKBUFFER_TYPE : uint32_t {
    D3DBACKBUFFER_TYPE_MONO = 0,
};

constexpr uint32_t D3DPRESENT_INTERVAL_ONE = 0x1;
constexpr uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;

// Device creation flags.
constexpr uint32_t D3DCREATE_FPU_PRESERVE = 0x2;
constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
constexpr uint32_t D3DCREATE_MIXED_VERTEXPROCESSING = 0x80;

// Resource usage.
constexpr uint32_t D3DUSAGE_RENDERTARGET = 0x1;
constexpr uint32_t D3DUSAGE_DEPTHSTENCIL = 0x2;

enum D3DPOOL : uint32_t {
    D3DPOOL_DEFAULT = 0,
    D3DPOOL_MANAGED = 1,
    D3DPOOL_SYSTEMMEM = 2,
    D3DPOOL_SCRATCH = 3,
};

// Lock flags.
constexpr uint32_t D3DLOCK_READONLY = 0x10;

// Clear flags.
constexpr uint32_t D3DCLEAR_TARGET = 0x1;
constexpr uint32_t D3DCLEAR_ZBUFFER = 0x2;
constexpr uint32_t D3DCLEAR_STENCIL = 0x4;

// Flexible vertex format bits.
constexpr uint32_t D3DFVF_XYZ = 0x002;
constexpr uint32_t D3DFVF_POSITION_MASK = 0x400E;
constexpr uint32_t D3DFVF_NORMAL = 0x010;
constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr uint32_t D3DFVF_SPECULAR = 0x080;
constexpr uint32_t D3DFVF_TEXCOUNT_MASK = 0xF00;
constexpr uint32_t D3DFVF_TEXCOUNT_SHIFT = 8;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t D3DFVF_TEX2 = 0x200;
constexpr uint32_t D3DFVF_TEX3 = 0x300;

// The size bits of coordinate set index as three floats (two floats is 0).
constexpr uint32_t D3DFVF_TEXCOORDSIZE3(uint32_t index) {
    return 1u << (index * 2 + 16);
}

enum D3DTRANSFORMSTATETYPE : uint32_t {
    D3DTS_VIEW = 2,
    D3DTS_PROJECTION = 3,
    D3DTS_TEXTURE0 = 16,
    D3DTS_WORLD = 256,
};

enum D3DRENDERSTATETYPE : uint32_t {
    D3DRS_ZENABLE = 7,
    D3DRS_FILLMODE = 8,
    D3DRS_SHADEMODE = 9,
    D3DRS_ZWRITEENABLE = 14,
    D3DRS_ALPHATESTENABLE = 15,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ZFUNC = 23,
    D3DRS_ALPHAREF = 24,
    D3DRS_ALPHAFUNC = 25,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_FOGENABLE = 28,
    D3DRS_SPECULARENABLE = 29,
    D3DRS_FOGCOLOR = 34,
    D3DRS_FOGTABLEMODE = 35,
    D3DRS_FOGSTART = 36,
    D3DRS_FOGEND = 37,
    D3DRS_FOGDENSITY = 38,
    D3DRS_RANGEFOGENABLE = 48,
    D3DRS_STENCILENABLE = 52,
    D3DRS_STENCILFAIL = 53,
    D3DRS_STENCILZFAIL = 54,
    D3DRS_STENCILPASS = 55,
    D3DRS_STENCILFUNC = 56,
    D3DRS_STENCILREF = 57,
    D3DRS_STENCILMASK = 58,
    D3DRS_STENCILWRITEMASK = 59,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
    D3DRS_FOGVERTEXMODE = 140,
    D3DRS_COLORVERTEX = 141,
    D3DRS_NORMALIZENORMALS = 143,
    D3DRS_DIFFUSEMATERIALSOURCE = 145,
    D3DRS_SPECULARMATERIALSOURCE = 146,
    D3DRS_AMBIENTMATERIALSOURCE = 147,
    D3DRS_EMISSIVEMATERIALSOURCE = 148,
    D3DRS_CLIPPLANEENABLE = 152,
    D3DRS_POINTSIZE = 154,
    D3DRS_POINTSIZE_MIN = 155,
    D3DRS_POINTSPRITEENABLE = 156,
    D3DRS_POINTSCALEENABLE = 157,
    D3DRS_POINTSCALE_A = 158,
    D3DRS_POINTSCALE_B = 159,
    D3DRS_POINTSCALE_C = 160,
    D3DRS_MULTISAMPLEANTIALIAS = 161,
    D3DRS_COLORWRITEENABLE = 168,
    D3DRS_SCISSORTESTENABLE = 174,
    D3DRS_ANTIALIASEDLINEENABLE = 176,
    D3DRS_ADAPTIVETESS_Y = 181,
};

enum D3DTEXTURESTAGESTATETYPE : uint32_t {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
    D3DTSS_TEXCOORDINDEX = 11,
    // Direct3D 8 keeps the sampler states among the stage states.
    D3DTSS_ADDRESSU = 13,
    D3DTSS_ADDRESSV = 14,
    D3DTSS_MAGFILTER = 16,
    D3DTSS_MINFILTER = 17,
    D3DTSS_MIPFILTER = 18,
    D3DTSS_MIPMAPLODBIAS = 19,
    D3DTSS_MAXANISOTROPY = 21,
    D3DTSS_TEXTURETRANSFORMFLAGS = 24,
};

enum D3DTEXTUREOP : uint32_t {
    D3DTOP_DISABLE = 1,
    D3DTOP_SELECTARG1 = 2,
    D3DTOP_SELECTARG2 = 3,
    D3DTOP_MODULATE = 4,
    D3DTOP_MODULATE2X = 5,
    D3DTOP_MODULATE4X = 6,
    D3DTOP_ADD = 7,
    D3DTOP_ADDSIGNED = 8,
    D3DTOP_BLENDDIFFUSEALPHA = 12,
};

// Texture stage arguments.
constexpr uint32_t D3DTA_DIFFUSE = 0;
constexpr uint32_t D3DTA_CURRENT = 1;
constexpr uint32_t D3DTA_TEXTURE = 2;

// Generated texture coordinates, in the upper half of the coordinate index.
constexpr uint32_t D3DTSS_TCI_PASSTHRU = 0;
constexpr uint32_t D3DTSS_TCI_CAMERASPACENORMAL = 0x10000;
constexpr uint32_t D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR = 0x30000;

enum D3DSAMPLERSTATETYPE : uint32_t {
    D3DSAMP_ADDRESSU = 1,
    D3DSAMP_ADDRESSV = 2,
    D3DSAMP_MAGFILTER = 5,
    D3DSAMP_MINFILTER = 6,
    D3DSAMP_MIPFILTER = 7,
    D3DSAMP_MIPMAPLODBIAS = 8,
    D3DSAMP_MAXANISOTROPY = 10,
};

enum D3DBLEND : uint32_t {
    D3DBLEND_ZERO = 1,
    D3DBLEND_ONE = 2,
    D3DBLEND_SRCCOLOR = 3,
    D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5,
    D3DBLEND_INVSRCALPHA = 6,
    D3DBLEND_DESTALPHA = 7,
    D3DBLEND_INVDESTALPHA = 8,
    D3DBLEND_DESTCOLOR = 9,
    D3DBLEND_INVDESTCOLOR = 10,
    D3DBLEND_SRCALPHASAT = 11,
};

enum D3DSTENCILOP : uint32_t {
    D3DSTENCILOP_KEEP = 1,
    D3DSTENCILOP_ZERO = 2,
    D3DSTENCILOP_REPLACE = 3,
    D3DSTENCILOP_INCRSAT = 4,
    D3DSTENCILOP_DECRSAT = 5,
    D3DSTENCILOP_INVERT = 6,
    D3DSTENCILOP_INCR = 7,
    D3DSTENCILOP_DECR = 8,
};

enum D3DZBUFFERTYPE : uint32_t { D3DZB_FALSE = 0, D3DZB_TRUE = 1 };
enum D3DFILLMODE : uint32_t { D3DFILL_POINT = 1, D3DFILL_WIREFRAME = 2, D3DFILL_SOLID = 3 };
enum D3DSHADEMODE : uint32_t { D3DSHADE_FLAT = 1, D3DSHADE_GOURAUD = 2 };
enum D3DCULL : uint32_t { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum D3DFOGMODE : uint32_t { D3DFOG_NONE = 0, D3DFOG_EXP = 1, D3DFOG_EXP2 = 2, D3DFOG_LINEAR = 3 };

enum D3DCMPFUNC : uint32_t {
    D3DCMP_NEVER = 1,
    D3DCMP_LESS = 2,
    D3DCMP_EQUAL = 3,
    D3DCMP_LESSEQUAL = 4,
    D3DCMP_GREATER = 5,
    D3DCMP_NOTEQUAL = 6,
    D3DCMP_GREATEREQUAL = 7,
    D3DCMP_ALWAYS = 8,
};

enum D3DMATERIALCOLORSOURCE : uint32_t {
    D3DMCS_MATERIAL = 0,
    D3DMCS_COLOR1 = 1,
    D3DMCS_COLOR2 = 2,
};

enum D3DTEXTUREADDRESS : uint32_t {
    D3DTADDRESS_WRAP = 1,
    D3DTADDRESS_MIRROR = 2,
    D3DTADDRESS_CLAMP = 3,
    D3DTADDRESS_BORDER = 4,
};

enum D3DTEXTUREFILTERTYPE : uint32_t {
    D3DTEXF_NONE = 0,
    D3DTEXF_POINT = 1,
    D3DTEXF_LINEAR = 2,
    D3DTEXF_ANISOTROPIC = 3,
};

enum D3DLIGHTTYPE : uint32_t {
    D3DLIGHT_POINT = 1,
    D3DLIGHT_SPOT = 2,
    D3DLIGHT_DIRECTIONAL = 3,
};

constexpr uint32_t D3DCOLORWRITEENABLE_RED = 1;
constexpr uint32_t D3DCOLORWRITEENABLE_GREEN = 2;
constexpr uint32_t D3DCOLORWRITEENABLE_BLUE = 4;
constexpr uint32_t D3DCOLORWRITEENABLE_ALPHA = 8;

constexpr uint32_t D3DTTFF_DISABLE = 0;
constexpr uint32_t D3DTTFF_COUNT2 = 2;

// Capability bits.
constexpr uint32_t D3DCAPS_READ_SCANLINE = 0x20000;
constexpr uint32_t D3DDEVCAPS_HWTRANSFORMANDLIGHT = 0x10000;
constexpr uint32_t D3DPTEXTURECAPS_POW2 = 0x2;
constexpr uint32_t D3DPTEXTURECAPS_SQUAREONLY = 0x20;
constexpr uint32_t D3DPTEXTURECAPS_MIPMAP = 0x4000;
constexpr uint32_t D3DPMISCCAPS_COLORWRITEENABLE = 0x80;
constexpr uint32_t D3DPTFILTERCAPS_MINFANISOTROPIC = 0x400;
constexpr uint32_t D3DPTFILTERCAPS_MAGFANISOTROPIC = 0x4000000;
constexpr uint32_t D3DSTENCILCAPS_KEEP = 0x1;
constexpr uint32_t D3DSTENCILCAPS_ZERO = 0x2;
constexpr uint32_t D3DSTENCILCAPS_REPLACE = 0x4;
constexpr uint32_t D3DSTENCILCAPS_INCRSAT = 0x8;
constexpr uint32_t D3DSTENCILCAPS_DECRSAT = 0x10;
constexpr uint32_t D3DSTENCILCAPS_INVERT = 0x20;
constexpr uint32_t D3DSTENCILCAPS_INCR = 0x40;
constexpr uint32_t D3DSTENCILCAPS_DECR = 0x80;

// Float render states travel as their bits.
constexpr uint32_t floatBits(float value) {
    return std::bit_cast<uint32_t>(value);
}

constexpr uint32_t D3DVS_VERSION(uint32_t major, uint32_t minor) {
    return 0xFFFE0000u | major << 8 | minor;
}
constexpr uint32_t D3DPS_VERSION(uint32_t major, uint32_t minor) {
    return 0xFFFF0000u | major << 8 | minor;
}

// Our own window handles: what the window layer hands out, carried as an integer.
using HWND = uintptr_t;

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct D3DDISPLAYMODE {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t RefreshRate = 0;
    D3DFORMAT Format = D3DFMT_UNKNOWN;
};

struct D3DADAPTER_IDENTIFIER9 {
    char Driver[512] = {};
    char Description[512] = {};
    char DeviceName[32] = {};
    // High part in the upper 32 bits.
    uint64_t DriverVersion = 0;
    uint32_t VendorId = 0;
    uint32_t DeviceId = 0;
};

struct D3DPRESENT_PARAMETERS {
    uint32_t BackBufferWidth = 0;
    uint32_t BackBufferHeight = 0;
    D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
    uint32_t BackBufferCount = 0;
    D3DMULTISAMPLE_TYPE MultiSampleType = D3DMULTISAMPLE_NONE;
    uint32_t MultiSampleQuality = 0;
    D3DSWAPEFFECT SwapEffect = D3DSWAPEFFECT(0);
    HWND hDeviceWindow = 0;
    bool Windowed = false;
    bool EnableAutoDepthStencil = false;
    D3DFORMAT AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    uint32_t Flags = 0;
    uint32_t FullScreen_RefreshRateInHz = 0;
    uint32_t PresentationInterval = 0;
};

// The capabilities the drivers read.
struct D3DCAPS9 {
    uint32_t Caps = 0;
    uint32_t DevCaps = 0;
    uint32_t PrimitiveMiscCaps = 0;
    uint32_t TextureCaps = 0;
    uint32_t TextureFilterCaps = 0;
    uint32_t MaxTextureWidth = 0;
    uint32_t MaxTextureHeight = 0;
    uint32_t MaxAnisotropy = 0;
    uint32_t StencilCaps = 0;
    uint32_t MaxSimultaneousTextures = 0;
    uint32_t MaxActiveLights = 0;
    uint32_t MaxUserClipPlanes = 0;
    uint32_t MaxPrimitiveCount = 0;
    uint32_t VertexShaderVersion = 0;
    uint32_t PixelShaderVersion = 0;
    uint32_t NumSimultaneousRTs = 0;
};

struct D3DCOLORVALUE {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;
};

struct D3DVECTOR {
    float x = 0;
    float y = 0;
    float z = 0;
};

// Sixteen floats, row after row, points as row vectors.
struct D3DMATRIX {
    float m[16] = {};
};

struct D3DMATERIAL9 {
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Ambient;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Emissive;
    float Power = 0;
};

struct D3DLIGHT9 {
    D3DLIGHTTYPE Type = D3DLIGHT_POINT;
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Ambient;
    D3DVECTOR Position;
    D3DVECTOR Direction;
    float Range = 0;
    float Falloff = 0;
    float Attenuation0 = 0;
    float Attenuation1 = 0;
    float Attenuation2 = 0;
    float Theta = 0;
    float Phi = 0;
};

struct D3DLOCKED_RECT {
    int32_t Pitch = 0;
    void* pBits = nullptr;
};

struct D3DVIEWPORT9 {
    uint32_t X = 0;
    uint32_t Y = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;
    float MinZ = 0;
    float MaxZ = 1;
};

struct D3DSURFACE_DESC {
    D3DFORMAT Format = D3DFMT_UNKNOWN;
    D3DRESOURCETYPE Type = D3DRTYPE_SURFACE;
    uint32_t Usage = 0;
    uint32_t Pool = 0;
    D3DMULTISAMPLE_TYPE MultiSampleType = D3DMULTISAMPLE_NONE;
    uint32_t MultiSampleQuality = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;
};

struct D3DRASTER_STATUS {
    bool InVBlank = true;
    uint32_t ScanLine = 0;
};
