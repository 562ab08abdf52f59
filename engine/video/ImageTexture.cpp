#include "engine/video/ImageTexture.h"

namespace {

// Textures are made on the main thread, as the video driver's are.
uint32_t g_nextSerial = 1;

} // namespace

CImageTexture::CImageTexture(const CContentKey& key, const CStringW& imageName,
                             IDriverTexture* texture)
    : CContent(key), m_texture(CRefPointer<IDriverTexture>::share(texture)), m_imageName(imageName),
      m_keepsImage(texture && texture->getSourceImage()), m_serial(g_nextSerial++) {
    setHandOutMode(kShared);
}

void CImageTexture::setTexture(IDriverTexture* texture) {
    m_texture = CRefPointer<IDriverTexture>::share(texture);
    if (m_texture && !m_keepsImage)
        m_texture->dropSourceImage();
}
