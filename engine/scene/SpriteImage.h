#pragma once

#include <cstdint>

#include "engine/core/Matrix4.h"
#include "engine/core/PropertyData.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/RenderMaterial.h"

// Atlas texture properties of nodes hold the engine's atlas textures; a value holding another
// kind of texture, or of another type, gives none.
template <>
struct PropertyTraits<CAtlasTexture*> {
    static CAtlasTexture* read(const CPropertyData* value) {
        return dynamic_cast<CAtlasTexture*>(PropertyTraits<IPropertyAtlasTexture*>::read(value));
    }
    static CRefPointer<CPropertyData> make(CAtlasTexture* texture) {
        return PropertyTraits<IPropertyAtlasTexture*>::make(texture);
    }
};

// What the sprite nodes draw with: an atlas texture, held by reference, and the alpha-blended
// material whose first layer shows the atlas texture's page, clamped and filtered.
class CSpriteImage {
public:
    CSpriteImage();

    CAtlasTexture* get() const { return m_image.get(); }
    // Holds the image (or none) and puts its page into the material.
    void set(CAtlasTexture* image);
    // The page's driver texture; none without an image, a page or a video driver.
    IDriverTexture* getDriverTexture() const;
    // The render-list key that keeps sprites of one page together, pages in the order they
    // were made; 0 without a page.
    uint32_t getSortKey() const;

    RenderMaterial& getMaterial() { return m_material; }
    const RenderMaterial& getMaterial() const { return m_material; }

private:
    CRefPointer<CAtlasTexture> m_image;
    RenderMaterial m_material;
};

// A point of a node's own plane through its absolute matrix, at the depth given.
CVector3d nodePointToWorld(const CMatrix4& matrix, float x, float y, float z);
