#include "engine/scene/SpriteNode.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/core/Properties.h"
#include "engine/scene/NodeClipPlanes.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/SoftwareImage.h"

namespace {

// Pixels whose alpha is at most this are not hit.
constexpr uint32_t kHitAlphaThreshold = 20;

struct AxisLayout {
    int32_t mode;
    // The node's bounds on this axis.
    float extent;
    // The image's margins before and after it, and its pivot.
    float before;
    float after;
    float pivot;
    // The texture's size on this axis, and whether it repeats.
    float textureSize;
    bool repeats;
};

template <typename Span>
Span layoutAxis(const AxisLayout& axis, float texLow, float texHigh) {
    const float imageSize = (texHigh - texLow) * axis.textureSize;
    Span span{axis.before - axis.pivot, 0, texLow, texHigh};
    if (axis.mode == SpriteNode::STRETCH_TO_BOUNDS) {
        span.high = axis.extent - axis.after;
        // A whole repeating texture is tiled across the bounds at its own size.
        if (axis.repeats && texLow == 0 && texHigh == 1 && imageSize > 0)
            span.texHigh = axis.extent / imageSize;
        return span;
    }
    span.high = span.low + imageSize;
    if (axis.mode == SpriteNode::STRETCH_CROP && imageSize > 0) {
        const float texSpan = texHigh - texLow;
        if (span.low < 0) {
            span.texLow = texLow - texSpan * (span.low / imageSize);
            span.low = 0;
        }
        if (axis.extent < span.high) {
            span.texHigh = texHigh + texSpan * ((axis.extent - span.high) / imageSize);
            span.high = axis.extent;
        }
    }
    return span;
}

// The texture coordinate drawn at the coordinate of the node's space; false off the span.
template <typename Span>
bool textureCoordinateAt(const Span& span, float coordinate, bool flip, float& texCoord) {
    const float t = (coordinate - span.low) / (span.high - span.low);
    if (!(t >= 0 && t < 1))
        return false;
    texCoord = flip ? span.texHigh - t * (span.texHigh - span.texLow)
                    : span.texLow + t * (span.texHigh - span.texLow);
    return true;
}

// The texel column or row at a texture coordinate, held within the image's own texels; beyond
// them a repeating texture starts again.
int32_t texelAt(float texCoord, bool repeats, float texLow, float texHigh, float textureSize) {
    float texel = texCoord * textureSize;
    if (repeats && texCoord > texHigh)
        texel = std::fmod(texel, textureSize);
    texel = std::min(texel, texHigh * textureSize - 1);
    if (!(texel >= texLow * textureSize))
        texel = texLow * textureSize;
    return int32_t(texel);
}

} // namespace

SpriteNode::SpriteNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    m_quad.material = &m_image.getMaterial();
    for (CVertex& vertex : m_quad.vertices)
        vertex.position.z = 1;
}

const PropertyTable& SpriteNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            accessorProperty<&SpriteNode::getImageStretchX, &SpriteNode::setImageStretchX>(
                "ImageStretchX"),
            accessorProperty<&SpriteNode::getImageStretchY, &SpriteNode::setImageStretchY>(
                "ImageStretchY"),
            accessorProperty<&SpriteNode::getImagePivotPoint, &SpriteNode::setImagePivotPoint>(
                "ImagePivotPoint"),
            accessorProperty<&SpriteNode::getWrapType, &SpriteNode::setWrapType>("WrapType"),
            accessorProperty<&SpriteNode::getFlipX, &SpriteNode::setFlipX>("FlipX"),
            accessorProperty<&SpriteNode::getFlipY, &SpriteNode::setFlipY>("FlipY"),
            accessorProperty<&SpriteNode::getBlendType, &SpriteNode::setBlendType>("BlendType"),
            accessorProperty<&SpriteNode::getImage, &SpriteNode::setImage>("AtlasTexture"),
        });
    return table;
}

void SpriteNode::setImage(CAtlasTexture* image) {
    m_image.set(image);
    updateQuad();
}

void SpriteNode::setImageStretchX(int32_t mode) {
    m_stretchX = mode;
    updateQuad();
}

void SpriteNode::setImageStretchY(int32_t mode) {
    m_stretchY = mode;
    updateQuad();
}

void SpriteNode::setImagePivotPoint(const CVector2d& pivot) {
    m_imagePivot = pivot;
    markTransformDirty();
}

void SpriteNode::setWrapType(int32_t wrap) {
    if (wrap >= 0 && wrap <= 4)
        m_image.getMaterial().layers[0].wrapMode = uint8_t(wrap);
}

void SpriteNode::setBlendType(int32_t blend) {
    m_blendType = blend == 1 ? 1 : 0;
    m_image.getMaterial().type = m_blendType == 1 ? MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD
                                                  : MATERIAL_TRANS_ALPHACH_VERTEXALPHA;
}

// Drawing

bool SpriteNode::computeSpans(Span& x, Span& y) const {
    const IDriverTexture* texture = m_image.getDriverTexture();
    if (texture == nullptr)
        return false;
    const CPixelSize size = texture->getSize();
    const CAtlasTexture& image = *m_image.get();
    const CRect& rect = image.getRect();
    const bool repeats = getWrapType() == 0;
    const CVector3d& bounds = getBounds();
    x = layoutAxis<Span>({m_stretchX, bounds.x, image.getBefore().x, image.getAfter().x,
                          m_imagePivot.x, float(size.width), repeats},
                         rect.left, rect.right);
    y = layoutAxis<Span>({m_stretchY, bounds.y, image.getBefore().y, image.getAfter().y,
                          m_imagePivot.y, float(size.height), repeats},
                         rect.top, rect.bottom);
    return true;
}

void SpriteNode::updateQuad() {
    Span x;
    Span y;
    if (!computeSpans(x, y))
        return;
    if (m_stretchX == STRETCH_BOUNDS_TO_IMAGE || m_stretchY == STRETCH_BOUNDS_TO_IMAGE) {
        CVector3d bounds = getBounds();
        if (m_stretchX == STRETCH_BOUNDS_TO_IMAGE)
            bounds.x = x.high - x.low;
        if (m_stretchY == STRETCH_BOUNDS_TO_IMAGE)
            bounds.y = y.high - y.low;
        // Only a change marks the transform dirty, or every update would ask for the next.
        if (!(bounds == getBounds()))
            setBounds(bounds);
    }
    const CMatrix4& matrix = getAbsoluteMatrix();
    const float xs[4] = {x.low, x.high, x.high, x.low};
    const float ys[4] = {y.low, y.low, y.high, y.high};
    // Mirroring swaps the texture's edges, not the corners.
    float uLeft = x.texLow;
    float uRight = x.texHigh;
    float vTop = y.texLow;
    float vBottom = y.texHigh;
    if (m_flipX)
        std::swap(uLeft, uRight);
    if (m_flipY)
        std::swap(vTop, vBottom);
    const float us[4] = {uLeft, uRight, uRight, uLeft};
    const float vs[4] = {vTop, vTop, vBottom, vBottom};
    for (int corner = 0; corner < 4; ++corner) {
        CVertex& vertex = m_quad.vertices[corner];
        vertex.position = nodePointToWorld(matrix, xs[corner], ys[corner], 1);
        vertex.texCoord = CVector2d(us[corner], vs[corner]);
    }
}

void SpriteNode::updateAbsoluteTransform() {
    BaseNode::updateAbsoluteTransform();
    updateQuad();
}

void SpriteNode::updateAbsoluteColor() {
    BaseNode::updateAbsoluteColor();
    for (CVertex& vertex : m_quad.vertices)
        vertex.color = getAbsoluteColor();
}

void SpriteNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    if (m_image.getDriverTexture() != nullptr && getAbsoluteColor().getAlpha() != 0)
        list.append({this, getAbsoluteMatrix()[14], m_image.getSortKey()});
    collectChildDrawables(list);
}

void SpriteNode::render(IRenderDriver* driver, const CRect* clip) {
    if (driver == nullptr)
        return;
    flushQuadBatch(*driver);
    if (clip != nullptr) {
        driver->setMatrix(TRANSFORM_WORLD, CMatrix4::identity());
        enableNodeClipPlanes(*driver, *clip);
    }
    driver->applyMaterial(m_image.getMaterial());
    driver->drawPrimitives(m_quad.vertices, 4, nullptr, 2, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                           PRIMITIVE_TRIANGLE_FAN);
    if (clip != nullptr)
        disableNodeClipPlanes(*driver);
}

// Hit testing

bool SpriteNode::hitTest(const CVector3d& point) {
    Span x;
    Span y;
    if (!isVisible() || !canBeHit() || getTintColor().getAlpha() <= kHitAlphaThreshold ||
        !computeSpans(x, y))
        return false;
    CVector3d local = point;
    CMatrix4 inverse;
    if (getAbsoluteMatrix().getInverse(inverse))
        inverse.transformPoint(local);
    float u = 0;
    float v = 0;
    // The hit area is the quad as drawn, whatever the pivot, stretch and mirroring.
    if (!textureCoordinateAt(x, local.x, m_flipX, u) ||
        !textureCoordinateAt(y, local.y, m_flipY, v))
        return false;
    const IDriverTexture& texture = *m_image.getDriverTexture();
    const CSoftwareImage* pixels = texture.getSourceImage();
    if (pixels == nullptr)
        return true;
    const CPixelSize size = texture.getSize();
    const CRect& rect = m_image.get()->getRect();
    const bool repeats = getWrapType() == 0;
    const int32_t column = texelAt(u, repeats, rect.left, rect.right, float(size.width));
    const int32_t row = texelAt(v, repeats, rect.top, rect.bottom, float(size.height));
    return pixels->pixelAt(column, row).getAlpha() > kHitAlphaThreshold;
}

// Properties

void SpriteNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    // The bounds keep the image's size by themselves.
    if (m_stretchX != STRETCH_NONE && m_stretchX != STRETCH_BOUNDS_TO_IMAGE)
        properties.addInt("ImageStretchX", m_stretchX);
    if (m_stretchY != STRETCH_NONE && m_stretchY != STRETCH_BOUNDS_TO_IMAGE)
        properties.addInt("ImageStretchY", m_stretchY);
    if (m_imagePivot.x != 0 || m_imagePivot.y != 0)
        properties.addVector2d("ImagePivotPoint", m_imagePivot);
    if (getWrapType() != 1)
        properties.addInt("WrapType", getWrapType());
    if (m_flipX)
        properties.addBool("FlipX", true);
    if (m_flipY)
        properties.addBool("FlipY", true);
    if (m_blendType != 0)
        properties.addInt("BlendType", m_blendType);
    if (m_image.get() != nullptr)
        properties.addAtlasTexture("AtlasTexture", m_image.get());
}

void SpriteNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    int32_t number = 0;
    if (loadPropertyIfPresent(properties, "ImageStretchX", number))
        setImageStretchX(number);
    if (loadPropertyIfPresent(properties, "ImageStretchY", number))
        setImageStretchY(number);
    CVector2d pivot;
    if (loadPropertyIfPresent(properties, "ImagePivotPoint", pivot))
        setImagePivotPoint(pivot);
    if (loadPropertyIfPresent(properties, "WrapType", number))
        setWrapType(number);
    loadPropertyIfPresent(properties, "FlipX", m_flipX);
    loadPropertyIfPresent(properties, "FlipY", m_flipY);
    if (loadPropertyIfPresent(properties, "BlendType", number))
        setBlendType(number);
    CAtlasTexture* image = nullptr;
    if (loadPropertyIfPresent(properties, "AtlasTexture", image))
        setImage(image);
}

void SpriteNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& sprite = static_cast<const SpriteNode&>(source);
    m_stretchX = sprite.m_stretchX;
    m_stretchY = sprite.m_stretchY;
    setWrapType(sprite.getWrapType());
    m_flipX = sprite.m_flipX;
    m_flipY = sprite.m_flipY;
    m_imagePivot = sprite.m_imagePivot;
    setBlendType(sprite.m_blendType);
    setImage(sprite.getImage());
}
