#include "engine/scene/SpriteImage.h"

#include <cstdint>

CSpriteImage::CSpriteImage() {
    m_material.type = MATERIAL_TRANS_ALPHACH_VERTEXALPHA;
    m_material.layerCount = 1;
    // Sprite vertices carry no normals: lit, they would show the ambient light only, black.
    m_material.lighting = false;
    RenderMaterialLayer& layer = m_material.layers[0];
    layer.wrapMode = 1;
    layer.bilinearFilter = true;
    layer.trilinearFilter = false;
    layer.anisotropy = 0;
}

void CSpriteImage::set(CAtlasTexture* image) {
    m_image = CRefPointer<CAtlasTexture>::share(image);
    if (m_material.layerCount != 0)
        m_material.layers[0].texture = image != nullptr ? image->getPage() : nullptr;
}

IDriverTexture* CSpriteImage::getDriverTexture() const {
    return m_image ? m_image->getDriverTexture() : nullptr;
}

uint32_t CSpriteImage::getSortKey() const {
    // Not the page's address: sprites of equal depth that overlap would then draw in an order
    // that depends on where their pages were allocated, differing from one run to the next.
    const CImageTexture* page = m_image ? m_image->getPage() : nullptr;
    return page != nullptr ? page->getSerial() : 0;
}

CVector3d nodePointToWorld(const CMatrix4& matrix, float x, float y, float z) {
    return CVector3d(x * matrix[0] + y * matrix[4] + matrix[12],
                     x * matrix[1] + y * matrix[5] + matrix[13], z);
}
