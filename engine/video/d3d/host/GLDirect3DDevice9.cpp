#include "engine/video/d3d/host/GLDirect3DDevice9.h"

#include <cstring>

#include "engine/platform/host/IHostWindowSystem.h"
#include "engine/video/d3d/host/D3D9GLFormats.h"
#include "engine/video/d3d/host/IDirect3DSurface9.h"

namespace {

class GLBackBuffer : public IDirect3DSurface9 {
public:
    GLBackBuffer(D3DFORMAT format, int32_t width, int32_t height)
        : m_format(format), m_width(uint32_t(width)), m_height(uint32_t(height)) {}

    HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
        *desc = D3DSURFACE_DESC();
        desc->Format = m_format;
        desc->Width = m_width;
        desc->Height = m_height;
        return D3D_OK;
    }

private:
    D3DFORMAT m_format;
    uint32_t m_width;
    uint32_t m_height;
};

D3DMATRIX identityMatrix() {
    D3DMATRIX matrix;
    matrix.m[0] = matrix.m[5] = matrix.m[10] = matrix.m[15] = 1.0f;
    return matrix;
}

// GL's primitive and vertex count of a Direct3D primitive list.
bool primitiveOf(D3DPRIMITIVETYPE type, uint32_t count, GLenum& mode, GLsizei& vertices) {
    switch (type) {
    case D3DPT_POINTLIST:
        mode = GL_POINTS;
        vertices = GLsizei(count);
        return true;
    case D3DPT_LINELIST:
        mode = GL_LINES;
        vertices = GLsizei(count * 2);
        return true;
    case D3DPT_LINESTRIP:
        mode = GL_LINE_STRIP;
        vertices = GLsizei(count + 1);
        return true;
    case D3DPT_TRIANGLELIST:
        mode = GL_TRIANGLES;
        vertices = GLsizei(count * 3);
        return true;
    case D3DPT_TRIANGLESTRIP:
        mode = GL_TRIANGLE_STRIP;
        vertices = GLsizei(count + 2);
        return true;
    case D3DPT_TRIANGLEFAN:
        mode = GL_TRIANGLE_FAN;
        vertices = GLsizei(count + 2);
        return true;
    default:
        return false;
    }
}

} // namespace

CGLDirect3DDevice9* CGLDirect3DDevice9::create(IHostWindowSystem& host, IHostGL& gl,
                                               HostWindow window,
                                               const D3DPRESENT_PARAMETERS& parameters) {
    const int32_t format = gl.choosePixelFormat(pixelFormatOf(parameters));
    if (format <= 0 || !gl.setPixelFormat(window, format))
        return nullptr;
    const HostGLContext context = gl.createContext(window);
    if (context == kNoHostGLContext)
        return nullptr;
    if (!gl.makeCurrent(window, context)) {
        gl.deleteContext(context);
        return nullptr;
    }
    auto* device = new CGLDirect3DDevice9(host, gl, window, context, parameters);
    if (!device->m_gl.load(gl)) {
        device->release();
        return nullptr;
    }
    device->GetDeviceCaps(&device->m_caps);
    device->setDefaultStates();
    return device;
}

CGLDirect3DDevice9::CGLDirect3DDevice9(IHostWindowSystem& host, IHostGL& facet, HostWindow window,
                                       HostGLContext context,
                                       const D3DPRESENT_PARAMETERS& parameters)
    : m_host(host), m_facet(facet), m_window(window), m_context(context), m_parameters(parameters) {
}

CGLDirect3DDevice9::~CGLDirect3DDevice9() {
    m_facet.makeCurrent(m_window, kNoHostGLContext);
    m_facet.deleteContext(m_context);
}

void CGLDirect3DDevice9::readTargetSize() {
    m_targetWidth = int32_t(m_parameters.BackBufferWidth);
    m_targetHeight = int32_t(m_parameters.BackBufferHeight);
    HostRect client;
    if ((m_targetWidth == 0 || m_targetHeight == 0) && m_host.getClientRect(m_window, client)) {
        m_targetWidth = client.right - client.left;
        m_targetHeight = client.bottom - client.top;
    }
}

// The states a new or reset Direct3D device starts with.
void CGLDirect3DDevice9::setDefaultStates() {
    readTargetSize();
    std::memset(m_renderStates, 0, sizeof(m_renderStates));
    const auto set = [this](uint32_t state, uint32_t value) { m_renderStates[state] = value; };
    set(D3DRS_ZENABLE, m_parameters.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE);
    set(D3DRS_FILLMODE, D3DFILL_SOLID);
    set(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    set(D3DRS_ZWRITEENABLE, 1);
    set(D3DRS_SRCBLEND, D3DBLEND_ONE);
    set(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    set(D3DRS_CULLMODE, D3DCULL_CCW);
    set(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    set(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);
    set(D3DRS_FOGEND, floatBits(1.0f));
    set(D3DRS_FOGDENSITY, floatBits(1.0f));
    set(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
    set(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
    set(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    set(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    set(D3DRS_STENCILMASK, 0xFFFFFFFFu);
    set(D3DRS_STENCILWRITEMASK, 0xFFFFFFFFu);
    set(D3DRS_LIGHTING, 1);
    set(D3DRS_COLORVERTEX, 1);
    set(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    set(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2);
    set(D3DRS_POINTSIZE, floatBits(1.0f));
    set(D3DRS_MULTISAMPLEANTIALIAS, 1);
    set(D3DRS_COLORWRITEENABLE, 0xF);
    std::memset(m_dirtyStates, 0xFF, sizeof(m_dirtyStates));
    m_world = m_view = m_projection = identityMatrix();
    m_material = D3DMATERIAL9();
    for (Light& light : m_lights)
        light = Light();
    std::memset(m_clipPlanes, 0, sizeof(m_clipPlanes));
    m_scissor = {0, 0, m_targetWidth, m_targetHeight};
    m_transformsDirty = m_materialDirty = m_lightsDirty = m_clipPlanesDirty = m_scissorDirty = true;
    // Direct3D colours a flat triangle from its first vertex; GL from its last by default.
    if (m_gl.ProvokingVertex)
        m_gl.ProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    else if (m_gl.ProvokingVertexEXT)
        m_gl.ProvokingVertexEXT(GL_FIRST_VERTEX_CONVENTION_EXT);
    // Direct3D's front faces are clockwise on the screen.
    m_gl.FrontFace(GL_CW);
    m_gl.Viewport(0, 0, m_targetWidth, m_targetHeight);
}

HRESULT CGLDirect3DDevice9::Reset(D3DPRESENT_PARAMETERS* parameters) {
    if (!parameters)
        return D3DERR_INVALIDCALL;
    m_parameters = *parameters;
    setDefaultStates();
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::Present(const RECT*, const RECT*, HWND destWindowOverride,
                                    const void*) {
    const HostWindow window = destWindowOverride ? HostWindow(destWindowOverride) : m_window;
    // A GL window is never lost: a failed swap is a plain failure, not a reason to reset.
    return m_facet.swapBuffers(window) ? D3D_OK : D3DERR_DRIVERINTERNALERROR;
}

HRESULT CGLDirect3DDevice9::GetBackBuffer(uint32_t swapChain, uint32_t index, D3DBACKBUFFER_TYPE,
                                          IDirect3DSurface9** backBuffer) {
    if (swapChain != 0 || index != 0 || !backBuffer)
        return D3DERR_INVALIDCALL;
    const D3DFORMAT format =
        m_parameters.BackBufferFormat == D3DFMT_R5G6B5 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
    *backBuffer = new GLBackBuffer(format, m_targetWidth, m_targetHeight);
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::GetDeviceCaps(D3DCAPS9* caps) {
    GLint value = 0;
    *caps = D3DCAPS9();
    caps->DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    caps->PrimitiveMiscCaps = D3DPMISCCAPS_COLORWRITEENABLE;
    caps->TextureCaps = D3DPTEXTURECAPS_MIPMAP;
    m_gl.GetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
    caps->MaxTextureWidth = caps->MaxTextureHeight = uint32_t(value);
    caps->MaxAnisotropy = 1;
    caps->StencilCaps = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_ZERO | D3DSTENCILCAPS_REPLACE |
                        D3DSTENCILCAPS_INCRSAT | D3DSTENCILCAPS_DECRSAT | D3DSTENCILCAPS_INVERT |
                        D3DSTENCILCAPS_INCR | D3DSTENCILCAPS_DECR;
    value = 1;
    if (m_gl.ActiveTextureARB)
        m_gl.GetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &value);
    caps->MaxSimultaneousTextures = uint32_t(value);
    m_gl.GetIntegerv(GL_MAX_LIGHTS, &value);
    caps->MaxActiveLights = uint32_t(value) < kMaxLights ? uint32_t(value) : kMaxLights;
    m_gl.GetIntegerv(GL_MAX_CLIP_PLANES, &value);
    caps->MaxUserClipPlanes = uint32_t(value) < kMaxClipPlanes ? uint32_t(value) : kMaxClipPlanes;
    caps->MaxPrimitiveCount = 0xFFFFFF;
    caps->NumSimultaneousRTs = 1;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::Clear(uint32_t, const RECT*, uint32_t flags, D3DCOLOR color, float z,
                                  uint32_t stencil) {
    // The whole target whatever the masks and the scissor say; they are sent again before the
    // next draw.
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        float rgba[4];
        floatsOfColor(color, rgba);
        m_gl.ClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        m_gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        markDirty(D3DRS_COLORWRITEENABLE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        m_gl.ClearDepth(z);
        m_gl.DepthMask(GL_TRUE);
        markDirty(D3DRS_ZWRITEENABLE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        m_gl.ClearStencil(GLint(stencil));
        m_gl.StencilMask(0xFFFFFFFFu);
        markDirty(D3DRS_STENCILWRITEMASK);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    m_gl.Disable(GL_SCISSOR_TEST);
    markDirty(D3DRS_SCISSORTESTENABLE);
    if (mask)
        m_gl.Clear(mask);
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (!matrix)
        return D3DERR_INVALIDCALL;
    switch (state) {
    case D3DTS_WORLD:
        m_world = *matrix;
        break;
    case D3DTS_VIEW:
        m_view = *matrix;
        m_lightsDirty = m_clipPlanesDirty = true;
        break;
    case D3DTS_PROJECTION:
        m_projection = *matrix;
        break;
    default:
        // Texture transforms wait for the texture stages.
        return D3D_OK;
    }
    m_transformsDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetMaterial(const D3DMATERIAL9* material) {
    if (!material)
        return D3DERR_INVALIDCALL;
    m_material = *material;
    m_materialDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetLight(uint32_t index, const D3DLIGHT9* light) {
    if (!light || index >= m_caps.MaxActiveLights)
        return D3DERR_INVALIDCALL;
    m_lights[index].light = *light;
    m_lightsDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::LightEnable(uint32_t index, bool enable) {
    if (index >= m_caps.MaxActiveLights)
        return D3DERR_INVALIDCALL;
    m_lights[index].enabled = enable;
    m_lightsDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetClipPlane(uint32_t index, const float* plane) {
    if (!plane || index >= kMaxClipPlanes)
        return D3DERR_INVALIDCALL;
    std::memcpy(m_clipPlanes[index], plane, sizeof(m_clipPlanes[index]));
    m_clipPlanesDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    if (state >= kRenderStateCount)
        return D3DERR_INVALIDCALL;
    if (m_renderStates[state] != value) {
        m_renderStates[state] = value;
        markDirty(state);
    }
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) {
    if (state >= kRenderStateCount || !value)
        return D3DERR_INVALIDCALL;
    *value = m_renderStates[state];
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                                                 uint32_t value) {
    if (stage >= kStageCount || type >= kStageStateCount)
        return D3DERR_INVALIDCALL;
    m_stageStates[stage][type] = value;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type,
                                            uint32_t value) {
    if (sampler >= kStageCount || type >= kSamplerStateCount)
        return D3DERR_INVALIDCALL;
    m_samplerStates[sampler][type] = value;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetScissorRect(const RECT* rect) {
    if (!rect)
        return D3DERR_INVALIDCALL;
    m_scissor = *rect;
    m_scissorDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetFVF(uint32_t fvf) {
    // Untransformed positions only: the drivers never hand over screen-space vertices.
    if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ)
        return D3DERR_INVALIDCALL;
    m_fvf = fvf;
    return D3D_OK;
}

void CGLDirect3DDevice9::bindVertices(const void* vertices, uint32_t stride) {
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    size_t offset = 0;
    m_gl.EnableClientState(GL_VERTEX_ARRAY);
    m_gl.VertexPointer(3, GL_FLOAT, GLsizei(stride), bytes);
    offset += 12;
    if (m_fvf & D3DFVF_NORMAL) {
        m_gl.EnableClientState(GL_NORMAL_ARRAY);
        m_gl.NormalPointer(GL_FLOAT, GLsizei(stride), bytes + offset);
        offset += 12;
    } else {
        m_gl.DisableClientState(GL_NORMAL_ARRAY);
    }
    if (m_fvf & D3DFVF_DIFFUSE) {
        // The packed colour's bytes in memory are blue, green, red, alpha.
        m_gl.EnableClientState(GL_COLOR_ARRAY);
        m_gl.ColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(stride), bytes + offset);
        offset += 4;
    } else {
        m_gl.DisableClientState(GL_COLOR_ARRAY);
        m_gl.Color4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (m_fvf & D3DFVF_SPECULAR)
        offset += 4;
    if ((m_fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT) {
        m_gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
        m_gl.TexCoordPointer(2, GL_FLOAT, GLsizei(stride), bytes + offset);
    } else {
        m_gl.DisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
}

HRESULT CGLDirect3DDevice9::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount,
                                            const void* vertices, uint32_t stride) {
    GLenum mode;
    GLsizei count;
    if (!vertices || !primitiveOf(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    flushStates();
    bindVertices(vertices, stride);
    m_gl.DrawArrays(mode, 0, count);
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t, uint32_t,
                                                   uint32_t primitiveCount, const void* indices,
                                                   D3DFORMAT indexFormat, const void* vertices,
                                                   uint32_t stride) {
    GLenum mode;
    GLsizei count;
    if (!vertices || !indices || !primitiveOf(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    flushStates();
    bindVertices(vertices, stride);
    m_gl.DrawElements(mode, count,
                      indexFormat == D3DFMT_INDEX32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, indices);
    return D3D_OK;
}
