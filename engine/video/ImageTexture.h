#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/Content.h"
#include "engine/video/IDriverTexture.h"

// A video-driver texture made from an image, remembered by the image's name so that it can be
// made again for the next driver. Content of type 'itex', handed out shared.
class CImageTexture : public CContent {
public:
    // Holds the texture, which may be none.
    CImageTexture(const CContentKey& key, const CStringW& imageName, IDriverTexture* texture);

    uint32_t getContentType() const override { return contentType("itex"); }

    IDriverTexture* getTexture() const { return m_texture.get(); }
    const CStringW& getImageName() const { return m_imageName; }
    // Counts the textures in the order they were made, from 1: a key that orders them the same
    // whatever memory they were given.
    uint32_t getSerial() const { return m_serial; }
    // Whether the first texture kept a copy of its image.
    bool keepsImage() const { return m_keepsImage; }
    // Holds the new texture (none while no driver is present) in place of the old one. When the
    // first texture kept no copy of its image, the new one drops its copy too.
    void setTexture(IDriverTexture* texture);

protected:
    ~CImageTexture() override = default;

private:
    CRefPointer<IDriverTexture> m_texture;
    CStringW m_imageName;
    bool m_keepsImage;
    uint32_t m_serial;
};
