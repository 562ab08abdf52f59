#include "engine/video/opengl/OpenGLDriverTexture.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

namespace {

uint32_t nextPowerOfTwo(uint32_t value) {
    uint32_t power = 1;
    while (power < value)
        power <<= 1;
    return power;
}

void flipRows(CSoftwareImage& image) {
    const size_t pitch = size_t(image.getPitch());
    uint8_t* data = image.getData();
    for (int32_t top = 0, bottom = image.getHeight() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(data + size_t(top) * pitch, data + size_t(top + 1) * pitch,
                         data + size_t(bottom) * pitch);
}

} // namespace

COpenGLDriverTexture::COpenGLDriverTexture(CSoftwareImage* image, COpenGLRenderDriver* driver)
    : m_driver(driver), m_internalFormat(GL_RGBA), m_pixelFormat(GL_BGRA),
      m_pixelType(GL_UNSIGNED_BYTE) {
    m_driver->addTexture(this);
    m_hasMipLevels = m_driver->getTextureOption(TEXTURE_CREATE_MIP_MAPS);
    m_source = CRefPointer<CSoftwareImage>::share(image);
    m_driver->gl().GenTextures(1, &m_name);
    upload(image);
    if (m_driver->getTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE))
        m_source.reset();
}

COpenGLDriverTexture::COpenGLDriverTexture(CPixelSize size, COpenGLRenderDriver* driver,
                                           uint32_t internalFormat, uint32_t pixelFormat,
                                           uint32_t pixelType)
    : m_sourceSize(size), m_size(size), m_driver(driver), m_internalFormat(internalFormat),
      m_pixelFormat(pixelFormat), m_pixelType(pixelType), m_isRenderTarget(true) {
    m_driver->addTexture(this);
    m_driver->gl().GenTextures(1, &m_name);
}

COpenGLDriverTexture::~COpenGLDriverTexture() {
    if (!m_driver)
        return;
    m_driver->removeTexture(this);
    m_driver->gl().DeleteTextures(1, &m_name);
}

void COpenGLDriverTexture::bind() {
    m_driver->bindTexture(0, this);
}

// A side beyond the implementation's limit is cut to it, so the texture keeps the image's
// top-left part instead of GL refusing it whole.
void COpenGLDriverTexture::chooseStorageSize() {
    m_size = m_sourceSize;
    if (!m_driver->hasFeature(FEATURE_NON_POWER_OF_TWO_TEXTURES))
        m_size = {nextPowerOfTwo(m_size.width), nextPowerOfTwo(m_size.height)};
    if (!m_driver->hasFeature(FEATURE_NON_SQUARE_TEXTURES)) {
        const uint32_t side = std::max(m_size.width, m_size.height);
        m_size = {side, side};
    }
    const uint32_t limit = m_driver->extensions().getMaxTextureSize();
    if (limit == 0 || (m_size.width <= limit && m_size.height <= limit))
        return;
    CLogger::instance()->logNarrow(CString("Texture of ")
                                       .append(int(m_sourceSize.width))
                                       .append(" x ")
                                       .append(int(m_sourceSize.height))
                                       .append(" is larger than OpenGL allows (")
                                       .append(int(limit))
                                       .append("); only its top-left part is kept."),
                                   CLogger::LevelWarning);
    m_size = {std::min(m_size.width, limit), std::min(m_size.height, limit)};
}

void COpenGLDriverTexture::chooseGLFormats() {
    switch (m_colorFormat) {
    case COLOR_FORMAT_A1R5G5B5:
        m_internalFormat = GL_RGBA;
        m_pixelFormat = GL_BGRA;
        m_pixelType = GL_UNSIGNED_SHORT_1_5_5_5_REV;
        return;
    case COLOR_FORMAT_A4R4G4B4:
        m_internalFormat = GL_RGBA;
        m_pixelFormat = GL_BGRA;
        m_pixelType = GL_UNSIGNED_SHORT_4_4_4_4_REV;
        return;
    case COLOR_FORMAT_R5G6B5:
        // GL takes the 5-6-5 packings with RGB only; red in the top bits is this layout.
        m_internalFormat = GL_RGB;
        m_pixelFormat = GL_RGB;
        m_pixelType = GL_UNSIGNED_SHORT_5_6_5;
        return;
    case COLOR_FORMAT_R8G8B8:
        m_internalFormat = GL_RGB;
        m_pixelFormat = GL_RGB;
        m_pixelType = GL_UNSIGNED_BYTE;
        return;
    case COLOR_FORMAT_A8R8G8B8:
        m_internalFormat = GL_RGBA;
        m_pixelFormat = GL_BGRA;
        m_pixelType = m_driver->extensions().getVersion() >= 102 ? GL_UNSIGNED_INT_8_8_8_8_REV
                                                                 : GL_UNSIGNED_BYTE;
        return;
    default:
        CLogger::instance()->logNarrow(
            CString("Unsupported texture format: ").append(int(m_colorFormat)),
            CLogger::LevelError);
        return;
    }
}

CRefPointer<CSoftwareImage> COpenGLDriverTexture::makeUploadImage(CSoftwareImage* image) const {
    const bool sameSize = m_size.width == uint32_t(image->getWidth()) &&
                          m_size.height == uint32_t(image->getHeight());
    if (sameSize && image->getFormat() == m_colorFormat)
        return CRefPointer<CSoftwareImage>::share(image);
    if (sameSize)
        return CSoftwareImage::createCopy(CContentKey(), m_colorFormat, image);
    CRefPointer<CSoftwareImage> padded = CSoftwareImage::create(
        CContentKey(), m_colorFormat, int32_t(m_size.width), int32_t(m_size.height));
    if (padded)
        image->copyTo(padded.get());
    return padded;
}

void COpenGLDriverTexture::upload(CSoftwareImage* image) {
    m_sourceSize = {uint32_t(image->getWidth()), uint32_t(image->getHeight())};
    if (m_sourceSize.width == 0 || m_sourceSize.height == 0) {
        CLogger::instance()->logChars("Invalid size of image for OpenGL Texture.",
                                      CLogger::LevelError);
        return;
    }
    chooseStorageSize();
    m_colorFormat = m_driver->chooseTextureFormat(image->getFormat());
    chooseGLFormats();
    const CRefPointer<CSoftwareImage> level0 = makeUploadImage(image);
    if (!level0 || !level0->getData())
        return;
    const GLFunctions& gl = m_driver->gl();
    bind();
    m_autoMipLevels = m_hasMipLevels && m_driver->hasFeature(FEATURE_AUTO_MIP_MAPS);
    if (m_autoMipLevels) {
        gl.Hint(GL_GENERATE_MIPMAP_HINT_SGIS, GL_NICEST);
        gl.TexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP_SGIS, GL_TRUE);
    }
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                     m_hasMipLevels ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.clearErrors();
    gl.TexImage2D(GL_TEXTURE_2D, 0, GLint(m_internalFormat), GLsizei(m_size.width),
                  GLsizei(m_size.height), 0, m_pixelFormat, m_pixelType, level0->getData());
    if (const GLenum error = gl.GetError(); error != GL_NO_ERROR) {
        CLogger::instance()->logNarrow(
            CString("Could not upload OpenGL texture, error ").append(int(error)),
            CLogger::LevelError);
    }
    if (m_hasMipLevels && !m_autoMipLevels)
        uploadMipLevels(*level0);
}

// Every level down to 1 x 1 at the storage sizes, so that GL sees a complete chain.
void COpenGLDriverTexture::uploadMipLevels(const CSoftwareImage& level0) {
    const GLFunctions& gl = m_driver->gl();
    const int32_t bytesPerPixel = bytesPerPixelOf(m_colorFormat);
    CRefPointer<CSoftwareImage> level = CSoftwareImage::create(
        CContentKey(), m_colorFormat, int32_t(m_size.width), int32_t(m_size.height));
    if (!level || !level->getData())
        return;
    uint32_t width = m_size.width;
    uint32_t height = m_size.height;
    for (GLint index = 1; width > 1 || height > 1; ++index) {
        width = std::max(width / 2, 1u);
        height = std::max(height / 2, 1u);
        level0.copyScaledToBuffer(level->getData(), int32_t(width), int32_t(height), m_colorFormat,
                                  int32_t(width) * bytesPerPixel);
        gl.TexImage2D(GL_TEXTURE_2D, index, GLint(m_internalFormat), GLsizei(width),
                      GLsizei(height), 0, m_pixelFormat, m_pixelType, level->getData());
    }
}

void COpenGLDriverTexture::regenerateMipLevels() {
    if (m_autoMipLevels || !m_hasMipLevels || !m_driver)
        return;
    // The mapped texels are what level 0 holds since the last unmap.
    CRefPointer<CSoftwareImage> level0 = m_mapped;
    if (!level0 && m_source)
        level0 = makeUploadImage(m_source.get());
    if (!level0 || !level0->getData() || (m_size.width == 1 && m_size.height == 1))
        return;
    bind();
    uploadMipLevels(*level0);
}

uint32_t COpenGLDriverTexture::getPitch() const {
    return m_source ? uint32_t(m_source->getPitch()) : 0;
}

bool COpenGLDriverTexture::readLevel0() {
    if (!m_mapped) {
        m_mapped = CSoftwareImage::create(CContentKey(), m_colorFormat, int32_t(m_size.width),
                                          int32_t(m_size.height));
    }
    if (!m_mapped || !m_mapped->getData() || !m_driver)
        return false;
    const GLFunctions& gl = m_driver->gl();
    m_driver->selectTextureStage(0);
    GLint previous = 0;
    gl.GetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    gl.BindTexture(GL_TEXTURE_2D, m_name);
    gl.GetTexImage(GL_TEXTURE_2D, 0, m_pixelFormat, m_pixelType, m_mapped->getData());
    gl.BindTexture(GL_TEXTURE_2D, GLuint(previous));
    // Rows of images run top-down as uploaded; a render target holds the frame buffer's rows,
    // which run bottom-up.
    if (m_isRenderTarget)
        flipRows(*m_mapped);
    return true;
}

void* COpenGLDriverTexture::mapPixels(bool readOnly) {
    if (readOnly)
        m_readOnly = true;
    if (m_mapped && !m_isRenderTarget)
        return m_mapped->getData();
    return readLevel0() ? m_mapped->getData() : nullptr;
}

void COpenGLDriverTexture::unmapPixels() {
    if (m_mapped && !m_readOnly && m_driver) {
        const GLFunctions& gl = m_driver->gl();
        if (m_isRenderTarget)
            flipRows(*m_mapped);
        m_driver->selectTextureStage(0);
        GLint previous = 0;
        gl.GetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
        gl.BindTexture(GL_TEXTURE_2D, m_name);
        gl.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLsizei(m_size.width), GLsizei(m_size.height),
                         m_pixelFormat, m_pixelType, m_mapped->getData());
        gl.BindTexture(GL_TEXTURE_2D, GLuint(previous));
        if (m_isRenderTarget)
            flipRows(*m_mapped);
    }
    m_readOnly = false;
}

void COpenGLDriverTexture::bindRenderTarget() {
    m_driver->gl().Viewport(0, 0, GLsizei(m_size.width), GLsizei(m_size.height));
}

void COpenGLDriverTexture::unbindRenderTarget() {
    bind();
    m_driver->gl().CopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, GLsizei(m_size.width),
                                     GLsizei(m_size.height));
}
