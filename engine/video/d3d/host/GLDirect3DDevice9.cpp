#include "engine/video/d3d/host/GLDirect3DDevice9.h"

#include <cstring>
#include <memory>

#include "engine/platform/host/IHostWindowSystem.h"
#include "engine/video/d3d/host/D3D9GLFormats.h"
#include "engine/video/d3d/host/MemorySurface9.h"

namespace {

// The window's back buffer: it can be a target, not locked.
class GLBackBuffer : public IDirect3DSurface9 {
public:
    GLBackBuffer(D3DFORMAT format, int32_t width, int32_t height)
        : m_format(format), m_width(uint32_t(width)), m_height(uint32_t(height)) {}

    HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
        *desc = D3DSURFACE_DESC();
        desc->Format = m_format;
        desc->Usage = D3DUSAGE_RENDERTARGET;
        desc->Width = m_width;
        desc->Height = m_height;
        return D3D_OK;
    }
    HRESULT LockRect(D3DLOCKED_RECT*, const RECT*, uint32_t) override { return D3DERR_INVALIDCALL; }
    HRESULT UnlockRect() override { return D3DERR_INVALIDCALL; }

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

// The render-target texture whose level 0 the surface is, or none.
CGLTexture9* renderTargetTextureOf(IDirect3DSurface9* surface) {
    auto* level = dynamic_cast<CMemoryTextureLevel9*>(surface);
    if (!level || level->level() != 0 || !level->texture().isRenderTarget())
        return nullptr;
    return static_cast<CGLTexture9*>(&level->texture());
}

// Copies rows of 32-bit pixels read bottom-up from GL into memory rows top-down at (x, y),
// clipped to the memory.
void copyRowsFlipped(const uint8_t* pixels, int32_t width, int32_t height, CPixelMemory9& memory,
                     int32_t x, int32_t y) {
    for (int32_t row = 0; row < height; ++row) {
        const int32_t targetRow = y + row;
        if (targetRow < 0 || targetRow >= int32_t(memory.getHeight()))
            continue;
        const uint8_t* source = pixels + size_t(height - 1 - row) * size_t(width) * 4;
        uint8_t* target = memory.getBits() + size_t(targetRow) * memory.getPitch();
        for (int32_t column = 0; column < width; ++column) {
            const int32_t targetColumn = x + column;
            if (targetColumn >= 0 && targetColumn < int32_t(memory.getWidth()))
                std::memcpy(target + size_t(targetColumn) * 4, source + size_t(column) * 4, 4);
        }
    }
}

} // namespace

CGLDirect3DDevice9* CGLDirect3DDevice9::create(IHostWindowSystem& host, IHostGL& gl,
                                               HostWindow window,
                                               const D3DPRESENT_PARAMETERS& parameters) {
    const int32_t format = gl.choosePixelFormat(pixelFormatOf(parameters));
    if (format <= 0 || !gl.setPixelFormat(window, format))
        return nullptr;
    const HostGLContext glContext = gl.createContext(window);
    if (glContext == kNoHostGLContext)
        return nullptr;
    CRefPointer<CGLContext9> context(new CGLContext9(gl, window, glContext));
    if (!context->makeCurrent() || !context->load())
        return nullptr;
    auto* device = new CGLDirect3DDevice9(host, *context, parameters);
    device->GetDeviceCaps(&device->m_caps);
    device->setDefaultStates();
    return device;
}

CGLDirect3DDevice9::CGLDirect3DDevice9(IHostWindowSystem& host, CGLContext9& context,
                                       const D3DPRESENT_PARAMETERS& parameters)
    : m_host(host), m_context(CRefPointer<CGLContext9>::share(&context)), m_gl(context.gl()),
      m_parameters(parameters) {
    GLboolean doubleBuffered = GL_TRUE;
    m_gl.GetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    m_doubleBuffered = doubleBuffered == GL_TRUE;
}

CGLDirect3DDevice9::~CGLDirect3DDevice9() {
    if (!m_whiteTexture)
        return;
    const CGLContextScope scope(*m_context);
    if (scope.isCurrent())
        m_gl.DeleteTextures(1, &m_whiteTexture);
}

void CGLDirect3DDevice9::readBackBufferSize() {
    m_backBufferWidth = int32_t(m_parameters.BackBufferWidth);
    m_backBufferHeight = int32_t(m_parameters.BackBufferHeight);
    HostRect client;
    if ((m_backBufferWidth == 0 || m_backBufferHeight == 0) &&
        m_host.getClientRect(m_context->window(), client)) {
        m_backBufferWidth = client.right - client.left;
        m_backBufferHeight = client.bottom - client.top;
    }
}

// The states a new or reset Direct3D device starts with.
void CGLDirect3DDevice9::setDefaultStates() {
    readBackBufferSize();
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
    set(D3DRS_POINTSCALE_A, floatBits(1.0f));
    set(D3DRS_MULTISAMPLEANTIALIAS, 1);
    set(D3DRS_COLORWRITEENABLE, 0xF);
    std::memset(m_dirtyStates, 0xFF, sizeof(m_dirtyStates));
    setDefaultStageStates();
    m_world = m_view = m_projection = identityMatrix();
    m_material = D3DMATERIAL9();
    for (Light& light : m_lights)
        light = Light();
    std::memset(m_clipPlanes, 0, sizeof(m_clipPlanes));
    m_transformsDirty = m_materialDirty = m_lightsDirty = m_clipPlanesDirty = true;
    // Direct3D colours a flat triangle from its first vertex; GL from its last by default.
    if (m_gl.ProvokingVertex)
        m_gl.ProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    else if (m_gl.ProvokingVertexEXT)
        m_gl.ProvokingVertexEXT(GL_FIRST_VERTEX_CONVENTION_EXT);
    const D3DFORMAT format =
        m_parameters.BackBufferFormat == D3DFMT_R5G6B5 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
    m_backBuffer = CRefPointer<IDirect3DSurface9>(
        new GLBackBuffer(format, m_backBufferWidth, m_backBufferHeight));
    m_target = m_backBuffer;
    m_targetTexture = nullptr;
    bindTarget();
    m_scissor = {0, 0, m_targetWidth, m_targetHeight};
}

void CGLDirect3DDevice9::setDefaultStageStates() {
    m_unitCount =
        m_caps.MaxSimultaneousTextures < kStageCount ? m_caps.MaxSimultaneousTextures : kStageCount;
    for (uint32_t index = 0; index < kStageCount; ++index) {
        Stage& stage = m_stages[index];
        std::memset(stage.states, 0, sizeof(stage.states));
        stage.states[D3DTSS_COLOROP] = index == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        stage.states[D3DTSS_ALPHAOP] = index == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        stage.states[D3DTSS_COLORARG1] = stage.states[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        stage.states[D3DTSS_COLORARG2] = stage.states[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        stage.states[D3DTSS_TEXCOORDINDEX] = index;
        std::memset(stage.samplerStates, 0, sizeof(stage.samplerStates));
        stage.samplerStates[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        stage.samplerStates[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        stage.samplerStates[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        stage.samplerStates[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        stage.samplerStates[D3DSAMP_MAXANISOTROPY] = 1;
        stage.transform = identityMatrix();
        stage.texture.reset();
        stage.dirty = true;
    }
    // Every unit is switched off by the next draw.
    m_enabledUnits = m_unitCount;
}

void CGLDirect3DDevice9::bindTarget() {
    if (m_targetTexture) {
        m_targetTexture->bindFrameBuffer();
        D3DSURFACE_DESC desc;
        m_target->GetDesc(&desc);
        m_targetWidth = int32_t(desc.Width);
        m_targetHeight = int32_t(desc.Height);
    } else {
        if (m_gl.BindFramebufferEXT)
            m_gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        m_targetWidth = m_backBufferWidth;
        m_targetHeight = m_backBufferHeight;
    }
    // Direct3D's front faces are clockwise on the screen; a texture target is drawn upside
    // down, which turns them around.
    m_gl.FrontFace(m_targetTexture ? GL_CCW : GL_CW);
    m_viewport = D3DVIEWPORT9();
    m_viewport.Width = uint32_t(m_targetWidth);
    m_viewport.Height = uint32_t(m_targetHeight);
    applyViewport();
    m_scissorDirty = true;
}

void CGLDirect3DDevice9::applyViewport() {
    const auto height = GLint(m_viewport.Height);
    const GLint y =
        m_targetTexture ? GLint(m_viewport.Y) : m_targetHeight - GLint(m_viewport.Y) - height;
    m_gl.Viewport(GLint(m_viewport.X), y, GLsizei(m_viewport.Width), height);
    m_gl.DepthRange(m_viewport.MinZ, m_viewport.MaxZ);
    m_transformsDirty = true;
    markDirty(D3DRS_POINTSCALE_A);
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
    const HostWindow window =
        destWindowOverride ? HostWindow(destWindowOverride) : m_context->window();
    // A GL window is never lost: a failed swap is a plain failure, not a reason to reset.
    return m_context->facet().swapBuffers(window) ? D3D_OK : D3DERR_DRIVERINTERNALERROR;
}

HRESULT CGLDirect3DDevice9::GetBackBuffer(uint32_t swapChain, uint32_t index, D3DBACKBUFFER_TYPE,
                                          IDirect3DSurface9** backBuffer) {
    if (swapChain != 0 || index != 0 || !backBuffer)
        return D3DERR_INVALIDCALL;
    m_backBuffer->addRef();
    *backBuffer = m_backBuffer.get();
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
    if (m_gl.ActiveTextureARB && m_gl.ClientActiveTextureARB)
        m_gl.GetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &value);
    caps->MaxSimultaneousTextures = uint32_t(value);
    m_gl.GetIntegerv(GL_MAX_LIGHTS, &value);
    caps->MaxActiveLights = uint32_t(value) < kMaxLights ? uint32_t(value) : kMaxLights;
    m_gl.GetIntegerv(GL_MAX_CLIP_PLANES, &value);
    caps->MaxUserClipPlanes = uint32_t(value) < kMaxClipPlanes ? uint32_t(value) : kMaxClipPlanes;
    caps->MaxPrimitiveCount = 0xFFFFFF;
    caps->NumSimultaneousRTs = m_gl.GenFramebuffersEXT ? 1 : 0;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::Clear(uint32_t, const RECT*, uint32_t flags, D3DCOLOR color, float z,
                                  uint32_t stencil) {
    // The viewport's pixels whatever the masks and the scissor say; they are sent again before
    // the next draw.
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
    const RECT saved = m_scissor;
    m_scissor = {int32_t(m_viewport.X), int32_t(m_viewport.Y),
                 int32_t(m_viewport.X + m_viewport.Width),
                 int32_t(m_viewport.Y + m_viewport.Height)};
    applyScissor();
    m_scissor = saved;
    m_scissorDirty = true;
    m_gl.Enable(GL_SCISSOR_TEST);
    markDirty(D3DRS_SCISSORTESTENABLE);
    if (mask)
        m_gl.Clear(mask);
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                                          uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                          IDirect3DTexture9** texture) {
    if (!texture || format == D3DFMT_UNKNOWN)
        return D3DERR_INVALIDCALL;
    if ((usage & D3DUSAGE_RENDERTARGET) && (pool != D3DPOOL_DEFAULT || !m_gl.GenFramebuffersEXT))
        return D3DERR_INVALIDCALL;
    *texture = CGLTexture9::create(*m_context, width, height, levels, usage, format, pool);
    return *texture ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT CGLDirect3DDevice9::SetTexture(uint32_t stage, IDirect3DTexture9* texture) {
    if (stage >= kStageCount)
        return D3DERR_INVALIDCALL;
    // Every texture of this device is one of ours.
    m_stages[stage].texture = CRefPointer<CGLTexture9>::share(static_cast<CGLTexture9*>(texture));
    m_stages[stage].dirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetViewport(const D3DVIEWPORT9* viewport) {
    if (!viewport || viewport->Width == 0 || viewport->Height == 0 ||
        viewport->X + viewport->Width > uint32_t(m_targetWidth) ||
        viewport->Y + viewport->Height > uint32_t(m_targetHeight))
        return D3DERR_INVALIDCALL;
    m_viewport = *viewport;
    applyViewport();
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::GetRenderTarget(uint32_t index, IDirect3DSurface9** surface) {
    if (index != 0 || !surface)
        return D3DERR_INVALIDCALL;
    m_target->addRef();
    *surface = m_target.get();
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetRenderTarget(uint32_t index, IDirect3DSurface9* surface) {
    if (index != 0 || !surface)
        return D3DERR_INVALIDCALL;
    CGLTexture9* texture = nullptr;
    if (surface != m_backBuffer.get()) {
        texture = renderTargetTextureOf(surface);
        if (!texture || !texture->bindFrameBuffer()) {
            bindTarget();
            return D3DERR_INVALIDCALL;
        }
    }
    m_target = CRefPointer<IDirect3DSurface9>::share(surface);
    m_targetTexture = texture;
    bindTarget();
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                                IDirect3DSurface9* destination) {
    auto* memory = dynamic_cast<CMemorySurface9*>(destination);
    CGLTexture9* texture = renderTargetTextureOf(renderTarget);
    if (!memory || !texture)
        return D3DERR_INVALIDCALL;
    const bool read = texture->readPixels(memory->memory());
    if (m_targetTexture)
        m_targetTexture->bindFrameBuffer();
    else
        m_gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    return read ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT CGLDirect3DDevice9::CreateOffscreenPlainSurface(uint32_t width, uint32_t height,
                                                        D3DFORMAT format, D3DPOOL pool,
                                                        IDirect3DSurface9** surface) {
    if (!surface || width == 0 || height == 0 || bytesPerPixelOfFormat(format) == 0)
        return D3DERR_INVALIDCALL;
    *surface = new CMemorySurface9(width, height, format, pool);
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::GetDisplayMode(uint32_t swapChain, D3DDISPLAYMODE* mode) {
    HostDisplayMode desktop;
    if (swapChain != 0 || !mode || !m_host.getDesktopDisplayMode(desktop))
        return D3DERR_INVALIDCALL;
    mode->Width = uint32_t(desktop.width);
    mode->Height = uint32_t(desktop.height);
    mode->RefreshRate = uint32_t(desktop.frequency);
    mode->Format = desktop.bitsPerPixel == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::GetRasterStatus(uint32_t swapChain, D3DRASTER_STATUS* status) {
    if (swapChain != 0 || !status)
        return D3DERR_INVALIDCALL;
    *status = D3DRASTER_STATUS();
    return D3D_OK;
}

// The screen holds the window's last presented picture at the window's place, black elsewhere.
HRESULT CGLDirect3DDevice9::GetFrontBufferData(uint32_t swapChain, IDirect3DSurface9* destination) {
    auto* surface = dynamic_cast<CMemorySurface9*>(destination);
    if (swapChain != 0 || !surface || surface->memory().getFormat() != D3DFMT_A8R8G8B8 ||
        !surface->memory().getBits())
        return D3DERR_INVALIDCALL;
    CPixelMemory9& memory = surface->memory();
    std::memset(memory.getBits(), 0, size_t(memory.getPitch()) * memory.getHeight());
    HostPoint origin{0, 0};
    m_host.clientToScreen(m_context->window(), origin);
    const int32_t width = m_backBufferWidth;
    const int32_t height = m_backBufferHeight;
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[size_t(width) * size_t(height) * 4]);
    if (m_gl.BindFramebufferEXT)
        m_gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    m_gl.ReadBuffer(m_doubleBuffered ? GL_FRONT : GL_BACK);
    m_gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
    m_gl.ReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels.get());
    m_gl.ReadBuffer(m_doubleBuffered ? GL_BACK : GL_FRONT);
    if (m_targetTexture)
        m_targetTexture->bindFrameBuffer();
    copyRowsFlipped(pixels.get(), width, height, memory, origin.x, origin.y);
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::GetVertexShader(IDirect3DVertexShader9** shader) {
    if (!shader)
        return D3DERR_INVALIDCALL;
    *shader = nullptr;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount,
                                            const void* vertices, uint32_t stride) {
    GLenum mode;
    GLsizei count;
    if (!vertices || !primitiveOf(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    flushStates(mode);
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
    flushStates(mode);
    bindVertices(vertices, stride);
    m_gl.DrawElements(mode, count,
                      indexFormat == D3DFMT_INDEX32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, indices);
    return D3D_OK;
}
