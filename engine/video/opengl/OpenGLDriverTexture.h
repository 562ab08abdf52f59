#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/video/IDriverTexture.h"
#include "engine/video/SoftwareImage.h"

class COpenGLRenderDriver;

// A GL texture made from a software image, or a render target that receives a copy of the
// frame buffer. Storage is padded to powers of two where the implementation needs it, with the
// image in its top-left corner and zeros around it. Mapping gives the texels in the texture's
// own colour format, rows top-down, storage width by storage height.
class COpenGLDriverTexture : public IDriverTexture {
public:
    // Uploads the image; keeps it unless the driver's option 16 says otherwise.
    COpenGLDriverTexture(CSoftwareImage* image, COpenGLRenderDriver* driver);

    void* mapPixels(bool readOnly) override;
    void unmapPixels() override;
    CPixelSize getSourceSize() const override { return m_sourceSize; }
    CPixelSize getSize() const override { return m_size; }
    uint32_t getDriverKind() const override { return 3; }
    int32_t getColorFormat() const override { return m_colorFormat; }
    // The kept image's row length; 0 without one. Mapped rows are the storage width long.
    uint32_t getPitch() const override;
    bool hasMipLevels() const override { return m_hasMipLevels; }
    void regenerateMipLevels() override;
    bool isRenderTarget() const override { return m_isRenderTarget; }
    CSoftwareImage* getSourceImage() const override { return m_source.get(); }
    void dropSourceImage() override { m_source.reset(); }

    virtual bool isFrameBufferObject() const { return false; }
    // Drawing goes into the texture: a plain texture takes the viewport of its size.
    virtual void bindRenderTarget();
    // Drawing into it ends: a plain texture copies the frame buffer into itself.
    virtual void unbindRenderTarget();

    // A plain texture that takes copies of the frame buffer.
    void markRenderTarget() { m_isRenderTarget = true; }
    uint32_t getGLName() const { return m_name; }
    // The driver and its context are gone: nothing is deleted through them any more.
    void onDriverGone() { m_driver = nullptr; }

protected:
    // An empty render target of the size (no mip levels), with the given GL formats.
    COpenGLDriverTexture(CPixelSize size, COpenGLRenderDriver* driver, uint32_t internalFormat,
                         uint32_t pixelFormat, uint32_t pixelType);
    ~COpenGLDriverTexture() override;

    COpenGLRenderDriver* driver() const { return m_driver; }
    // Binds the texture on stage 0 for the next texture calls.
    void bind();

private:
    void upload(CSoftwareImage* image);
    void chooseStorageSize();
    void chooseGLFormats();
    // The image as the storage holds it: the same image when size and format agree, else a
    // copy of the storage size and colour format with the image in its top-left corner.
    CRefPointer<CSoftwareImage> makeUploadImage(CSoftwareImage* image) const;
    void uploadMipLevels(const CSoftwareImage& level0);
    // Reads level 0 into the mapped image; false when there is none.
    bool readLevel0();

    CPixelSize m_sourceSize;
    CPixelSize m_size;
    int32_t m_colorFormat = COLOR_FORMAT_A8R8G8B8;
    COpenGLRenderDriver* m_driver;
    CRefPointer<CSoftwareImage> m_source;
    CRefPointer<CSoftwareImage> m_mapped;
    uint32_t m_name = 0;
    uint32_t m_internalFormat;
    uint32_t m_pixelFormat;
    uint32_t m_pixelType;
    bool m_hasMipLevels = false;
    bool m_isRenderTarget = false;
    bool m_autoMipLevels = false;
    bool m_readOnly = false;
};
