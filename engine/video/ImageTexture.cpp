#include "engine/video/ImageTexture.h"

CImageTexture::CImageTexture(const CContentKey& key, const CStringW& imageName,
                             IDriverTexture* texture)
    : CContent(key), m_texture(CRefPointer<IDriverTexture>::share(texture)), m_imageName(imageName),
      m_keepsImage(texture && texture->getSourceImage()) {
    setHandOutMode(kShared);
}

void CImageTexture::setTexture(IDriverTexture* texture) {
    m_texture = CRefPointer<IDriverTexture>::share(texture);
    if (m_texture && !m_keepsImage)
        m_texture->dropSourceImage();
}
