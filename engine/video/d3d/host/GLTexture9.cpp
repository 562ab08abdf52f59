#include "engine/video/d3d/host/GLTexture9.h"

#include <bit>

namespace {

GLint wrapOf(uint32_t address) {
    switch (address) {
    case D3DTADDRESS_MIRROR:
        return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
        return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER:
        return GL_CLAMP_TO_BORDER;
    default:
        return GL_REPEAT;
    }
}

GLint minFilterOf(uint32_t minification, uint32_t mip, bool hasMipLevels) {
    const bool linear = minification != D3DTEXF_POINT;
    if (mip == D3DTEXF_NONE || !hasMipLevels)
        return linear ? GL_LINEAR : GL_NEAREST;
    if (mip == D3DTEXF_POINT)
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

// Binds a texture for work outside drawing, then the one bound before: the device binds again
// only the stages it knows to have changed.
class BoundTexture {
public:
    BoundTexture(const GLFunctions& gl, GLuint name) : m_gl(gl) {
        gl.GetIntegerv(GL_TEXTURE_BINDING_2D, &m_previous);
        gl.BindTexture(GL_TEXTURE_2D, name);
    }
    ~BoundTexture() { m_gl.BindTexture(GL_TEXTURE_2D, GLuint(m_previous)); }
    BoundTexture(const BoundTexture&) = delete;
    BoundTexture& operator=(const BoundTexture&) = delete;

private:
    const GLFunctions& m_gl;
    GLint m_previous = 0;
};

} // namespace

bool CGLTexture9::glFormatOf(D3DFORMAT format, GLFormat& glFormat) {
    // Direct3D's packed pixels are little-endian words: A8R8G8B8 lies in memory as blue,
    // green, red, alpha. Taken as reversed 8-8-8-8 words into a format GL may choose, they are
    // stored as they are instead of converted byte by byte.
    switch (format) {
    case D3DFMT_A8R8G8B8:
        glFormat = {GL_RGBA, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV};
        return true;
    case D3DFMT_X8R8G8B8:
        glFormat = {GL_RGB, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV};
        return true;
    case D3DFMT_R5G6B5:
        glFormat = {GL_RGB5, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
        return true;
    case D3DFMT_A1R5G5B5:
        glFormat = {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
        return true;
    case D3DFMT_X1R5G5B5:
        glFormat = {GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
        return true;
    case D3DFMT_A4R4G4B4:
        glFormat = {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
        return true;
    default:
        return false;
    }
}

CGLTexture9* CGLTexture9::create(CGLContext9& context, uint32_t width, uint32_t height,
                                 uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool) {
    GLFormat glFormat;
    if (width == 0 || height == 0 || !glFormatOf(format, glFormat))
        return nullptr;
    auto* texture = new CGLTexture9(context, width, height, levels, usage, format, pool, glFormat);
    texture->allocateLevels();
    return texture;
}

CGLTexture9::CGLTexture9(CGLContext9& context, uint32_t width, uint32_t height, uint32_t levels,
                         uint32_t usage, D3DFORMAT format, D3DPOOL pool, const GLFormat& glFormat)
    : CMemoryTexture9(width, height, levels, usage, format, pool),
      m_context(CRefPointer<CGLContext9>::share(&context)), m_glFormat(glFormat) {}

CGLTexture9::~CGLTexture9() {
    const GLFunctions& gl = m_context->gl();
    const CGLContextScope scope(*m_context);
    if (!scope.isCurrent())
        return;
    gl.DeleteTextures(1, &m_name);
    if (m_frameBuffer) {
        gl.DeleteFramebuffersEXT(1, &m_frameBuffer);
        gl.DeleteRenderbuffersEXT(1, &m_depthBuffer);
    }
}

// A render target's storage is made at once, as drawing may go into it before any bind. The
// levels of a texture in memory are made from their pixels, by their first write or the first
// bind: made empty here GL would clear them, only to have them overwritten.
void CGLTexture9::allocateLevels() {
    const GLFunctions& gl = m_context->gl();
    gl.GenTextures(1, &m_name);
    const BoundTexture bound(gl, m_name);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(GetLevelCount() - 1));
    for (uint32_t level = 0; level < GetLevelCount(); ++level) {
        if (isRenderTarget())
            sendLevel(level, nullptr, 0);
        else
            m_dirtyLevels |= 1u << level;
    }
}

void CGLTexture9::bind(const uint32_t* samplerStates) {
    const GLFunctions& gl = m_context->gl();
    gl.BindTexture(GL_TEXTURE_2D, m_name);
    applySampler(samplerStates);
    for (uint32_t level = 0; m_dirtyLevels != 0 && level < GetLevelCount(); ++level) {
        if ((m_dirtyLevels & (1u << level)) == 0)
            continue;
        CPixelMemory9* memory = levelMemory(level);
        if (memory)
            sendLevel(level, memory->getBits(), memory->getPitch());
        m_dirtyLevels &= ~(1u << level);
    }
}

void CGLTexture9::sendLevel(uint32_t level, const void* pixels, uint32_t pitch) {
    const GLFunctions& gl = m_context->gl();
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, GLint(pitch / bytesPerPixelOfFormat(getFormat())));
    const GLsizei width = GLsizei(getWidth(level));
    const GLsizei height = GLsizei(getHeight(level));
    if (m_madeLevels & (1u << level)) {
        gl.TexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, width, height, m_glFormat.format,
                         m_glFormat.type, pixels);
    } else {
        gl.TexImage2D(GL_TEXTURE_2D, GLint(level), GLint(m_glFormat.internalFormat), width, height,
                      0, m_glFormat.format, m_glFormat.type, pixels);
    }
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    m_madeLevels |= 1u << level;
}

HRESULT CGLTexture9::writeLevel(uint32_t level, const void* pixels, uint32_t pitch) {
    const uint32_t bytes = bytesPerPixelOfFormat(getFormat());
    if (level >= GetLevelCount() || isRenderTarget() || !pixels || isLevelLocked(level) ||
        pitch < getWidth(level) * bytes || pitch % bytes != 0)
        return D3DERR_INVALIDCALL;
    const CGLContextScope scope(*m_context);
    if (!scope.isCurrent())
        return D3DERR_INVALIDCALL;
    const BoundTexture bound(m_context->gl(), m_name);
    sendLevel(level, pixels, pitch);
    dropLevelMemory(level);
    m_dirtyLevels &= ~(1u << level);
    return D3D_OK;
}

// Only a level GL holds by itself has memory made after its first send: it is read back.
bool CGLTexture9::fillLevelMemory(uint32_t level, CPixelMemory9& memory) {
    if ((m_madeLevels & (1u << level)) == 0)
        return true;
    if (!memory.getBits())
        return false;
    const CGLContextScope scope(*m_context);
    if (!scope.isCurrent())
        return false;
    const BoundTexture bound(m_context->gl(), m_name);
    const GLFunctions& gl = m_context->gl();
    gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.GetTexImage(GL_TEXTURE_2D, GLint(level), m_glFormat.format, m_glFormat.type,
                   memory.getBits());
    return true;
}

void CGLTexture9::applySampler(const uint32_t* states) {
    const GLFunctions& gl = m_context->gl();
    const GLint minFilter =
        minFilterOf(states[D3DSAMP_MINFILTER], states[D3DSAMP_MIPFILTER], GetLevelCount() > 1);
    const GLint magFilter = states[D3DSAMP_MAGFILTER] == D3DTEXF_POINT ? GL_NEAREST : GL_LINEAR;
    const GLint wrapS = wrapOf(states[D3DSAMP_ADDRESSU]);
    const GLint wrapT = wrapOf(states[D3DSAMP_ADDRESSV]);
    const float lodBias = std::bit_cast<float>(states[D3DSAMP_MIPMAPLODBIAS]);
    if (minFilter != m_minFilter)
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, m_minFilter = minFilter);
    if (magFilter != m_magFilter)
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, m_magFilter = magFilter);
    if (wrapS != m_wrapS)
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, m_wrapS = wrapS);
    if (wrapT != m_wrapT)
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, m_wrapT = wrapT);
    if (lodBias != m_lodBias)
        gl.TexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, m_lodBias = lodBias);
}

bool CGLTexture9::bindFrameBuffer() {
    const GLFunctions& gl = m_context->gl();
    if (!isRenderTarget() || !gl.GenFramebuffersEXT)
        return false;
    if (m_frameBuffer == 0) {
        gl.GenFramebuffersEXT(1, &m_frameBuffer);
        gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, m_frameBuffer);
        gl.FramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                   m_name, 0);
        gl.GenRenderbuffersEXT(1, &m_depthBuffer);
        gl.BindRenderbufferEXT(GL_RENDERBUFFER_EXT, m_depthBuffer);
        gl.RenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT,
                                  GLsizei(getWidth(0)), GLsizei(getHeight(0)));
        gl.FramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                      GL_RENDERBUFFER_EXT, m_depthBuffer);
        gl.FramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT,
                                      GL_RENDERBUFFER_EXT, m_depthBuffer);
    } else {
        gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, m_frameBuffer);
    }
    return gl.CheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
}

bool CGLTexture9::readPixels(CPixelMemory9& destination) {
    if (destination.getWidth() != getWidth(0) || destination.getHeight() != getHeight(0) ||
        destination.getFormat() != getFormat() || !destination.getBits() || !bindFrameBuffer())
        return false;
    const GLFunctions& gl = m_context->gl();
    gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
    // Row 0 of the frame buffer object is the texture's first row.
    gl.ReadPixels(0, 0, GLsizei(getWidth(0)), GLsizei(getHeight(0)), m_glFormat.format,
                  m_glFormat.type, destination.getBits());
    return true;
}
