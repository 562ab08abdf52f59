#include "engine/video/opengl/OpenGLFboTexture.h"

#include "engine/core/Logger.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

namespace {

struct FboFormat {
    GLint minification;
    GLint internal;
    GLenum pixelFormat;
    GLenum pixelType;
};

FboFormat fboFormatOf(int32_t code) {
    switch (code) {
    case 5:
        return {GL_NEAREST, GL_RGB16F_ARB, GL_RED, GL_FLOAT};
    case 6:
        return {GL_NEAREST, GL_RGB16F_ARB, GL_RGB, GL_FLOAT};
    case 7:
        return {GL_NEAREST, GL_RGBA16F_ARB, GL_RGBA, GL_FLOAT};
    case 8:
        return {GL_NEAREST, GL_RGB32F_ARB, GL_RED, GL_FLOAT};
    case 9:
        return {GL_NEAREST, GL_RGB32F_ARB, GL_RGB, GL_FLOAT};
    case 10:
        return {GL_NEAREST, GL_RGBA32F_ARB, GL_RGBA, GL_FLOAT};
    default:
        return {GL_LINEAR, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE};
    }
}

void logError(const char* text) {
    CLogger::instance()->logChars(text, CLogger::LevelError);
}

} // namespace

// Texels are read and written as bytes, blue first, whatever the format stores.
COpenGLFboTexture::COpenGLFboTexture(CPixelSize size, COpenGLRenderDriver* driver,
                                     int32_t formatCode)
    : COpenGLDriverTexture(size, driver, uint32_t(fboFormatOf(formatCode).internal), GL_BGRA,
                           GL_UNSIGNED_BYTE) {
    const GLFunctions& gl = driver->gl();
    const FboFormat format = fboFormatOf(formatCode);
    gl.GenFramebuffersEXT(1, &m_frameBuffer);
    gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, m_frameBuffer);
    bind();
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, format.minification);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.TexImage2D(GL_TEXTURE_2D, 0, format.internal, GLsizei(size.width), GLsizei(size.height), 0,
                  format.pixelFormat, format.pixelType, nullptr);
    gl.FramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                               getGLName(), 0);
    gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

COpenGLFboTexture::~COpenGLFboTexture() {
    if (!driver())
        return;
    const GLFunctions& gl = driver()->gl();
    if (m_depthBuffer)
        gl.DeleteRenderbuffersEXT(1, &m_depthBuffer);
    gl.DeleteFramebuffersEXT(1, &m_frameBuffer);
}

bool COpenGLFboTexture::attachDepth() {
    const GLFunctions& gl = driver()->gl();
    const CPixelSize size = getSize();
    gl.GenRenderbuffersEXT(1, &m_depthBuffer);
    gl.BindRenderbufferEXT(GL_RENDERBUFFER_EXT, m_depthBuffer);
    gl.RenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, GLsizei(size.width),
                              GLsizei(size.height));
    gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, m_frameBuffer);
    gl.FramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                  m_depthBuffer);
    const bool complete = checkFramebufferStatus(gl);
    // Drawing goes back to the window either way: an incomplete frame buffer takes nothing.
    gl.BindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    if (!complete)
        CLogger::instance()->logChars("FBO incomplete", CLogger::LevelInformation);
    return complete;
}

void COpenGLFboTexture::bindRenderTarget() {
    driver()->gl().BindFramebufferEXT(GL_FRAMEBUFFER_EXT, m_frameBuffer);
}

void COpenGLFboTexture::unbindRenderTarget() {
    driver()->gl().BindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

bool checkFramebufferStatus(const GLFunctions& gl) {
    const GLenum status =
        gl.CheckFramebufferStatusEXT ? gl.CheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) : 0;
    switch (status) {
    case GL_FRAMEBUFFER_COMPLETE_EXT:
        return true;
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT:
        logError("FBO has one or several incomplete image attachments");
        break;
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT:
        logError("FBO missing an image attachment");
        break;
    case GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT:
        logError("FBO has one or several image attachments with different dimensions");
        break;
    case GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT:
        logError("FBO has one or several image attachments with different internal formats");
        break;
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT:
        logError("FBO has invalid draw buffer");
        break;
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT:
        logError("FBO has invalid read buffer");
        break;
    case GL_FRAMEBUFFER_UNSUPPORTED_EXT:
        logError("FBO format unsupported");
        break;
    default:
        break;
    }
    logError("FBO error");
    return false;
}
