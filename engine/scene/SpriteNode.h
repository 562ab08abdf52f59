#pragma once

#include <cstdint>

#include "engine/core/Vector2d.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SpriteImage.h"
#include "engine/video/QuadBatcher.h"

// A node that shows one atlas texture as a textured quad: the image's pivot point sits on the
// node's origin, and each axis shows the image at its size, stretched to the bounds, at its size
// with the bounds following it, or cropped to the bounds. It can be mirrored, drawn alpha-blended
// or additive, and is hit only where the image is opaque enough.
class SpriteNode : public NodeClass<SpriteNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 3;
    static constexpr const char16_t* kTypeName = u"SpriteNode";

    // Image stretch modes of each axis.
    enum EStretch : int32_t {
        STRETCH_NONE = 0,
        STRETCH_TO_BOUNDS = 1,
        // The bounds take the image's size.
        STRETCH_BOUNDS_TO_IMAGE = 2,
        STRETCH_CROP = 3,
    };

    SpriteNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    void collectDrawables(RenderList& list) override;
    void render(IRenderDriver* driver, const CRect* clip) override;
    // Where the image is drawn and its pixel there has an alpha above 20; anywhere on the image
    // when its page keeps no copy of its pixels.
    bool hitTest(const CVector3d& point) override;
    void updateAbsoluteTransform() override;
    void updateAbsoluteColor() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    CAtlasTexture* getImage() const { return m_image.get(); }
    void setImage(CAtlasTexture* image);
    // Any value is stored; values that are not modes draw as STRETCH_NONE.
    void setImageStretchX(int32_t mode);
    void setImageStretchY(int32_t mode);
    int32_t getImageStretchX() const { return m_stretchX; }
    int32_t getImageStretchY() const { return m_stretchY; }
    // The point of the image, in its pixels, that lies on the node's origin.
    void setImagePivotPoint(const CVector2d& pivot);
    const CVector2d& getImagePivotPoint() const { return m_imagePivot; }
    // The texture's wrap mode 0 to 4; other values are ignored.
    void setWrapType(int32_t wrap);
    int32_t getWrapType() const { return m_image.getMaterial().layers[0].wrapMode; }
    // Mirroring shows at the next transform update.
    void setFlipX(bool flip) { m_flipX = flip; }
    void setFlipY(bool flip) { m_flipY = flip; }
    bool getFlipX() const { return m_flipX; }
    bool getFlipY() const { return m_flipY; }
    // 0 alpha blending, 1 additive; other values give 0.
    void setBlendType(int32_t blend);
    int32_t getBlendType() const { return m_blendType; }
    // Corners top-left, top-right, bottom-right, bottom-left, in world space.
    const CQuadRecord& getQuad() const { return m_quad; }

protected:
    ~SpriteNode() override = default;

private:
    // One axis of the drawn quad: its edges in the node's space and the texture coordinates
    // there, before mirroring.
    struct Span {
        float low;
        float high;
        float texLow;
        float texHigh;
    };

    // False without an image whose page has a driver texture.
    bool computeSpans(Span& x, Span& y) const;
    // Follows the image, the stretch modes and the absolute transform.
    void updateQuad();

    CSpriteImage m_image;
    int32_t m_blendType = 0;
    CQuadRecord m_quad;
    CVector2d m_imagePivot;
    int32_t m_stretchX = STRETCH_NONE;
    int32_t m_stretchY = STRETCH_NONE;
    bool m_flipX = false;
    bool m_flipY = false;
};
