#include "game/screens/SectorSpriteNode.h"

#include <algorithm>
#include <cmath>

#include "engine/core/MathHelpers.h"
#include "engine/core/Properties.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SpriteImage.h"
#include "engine/video/IRenderDriver.h"

namespace {

// The image's rectangle in the node's space and on its page.
struct ImageFrame {
    float left;
    float top;
    float width;
    float height;
    CRect uv;
};

// The pixel size of the image on its page; false without a page texture.
bool imageSize(const CAtlasTexture& texture, float& width, float& height) {
    const IDriverTexture* page = texture.getDriverTexture();
    if (page == nullptr)
        return false;
    const CPixelSize size = page->getSize();
    const CRect& rect = texture.getRect();
    width = (rect.right - rect.left) * float(size.width);
    height = (rect.bottom - rect.top) * float(size.height);
    return true;
}

// Angles are shifted by d - 90, which puts the image's corners at 0 (top right), 2d (bottom
// right), 180 (bottom left) and 180 + 2d (top left); regions 0 to 3 are the right, bottom, left
// and top edges between them. Region numbers count on by 4 a turn.
class SectorRim {
public:
    SectorRim(const ImageFrame& frame, float diagonal, CColor color)
        : m_frame(frame), m_d(diagonal), m_color(color) {}

    static float normalize(float x) {
        while (x < 0)
            x += 360;
        while (x > 360)
            x -= 360;
        return x;
    }

    int32_t regionOf(float x) const {
        int32_t turns = 0;
        for (; x < 0; x += 360)
            --turns;
        for (; x > 360; x -= 360)
            ++turns;
        const int32_t region = x <= 2 * m_d ? 0 : x <= 180 ? 1 : x <= 180 + 2 * m_d ? 2 : 3;
        return region + 4 * turns;
    }

    float localEnd(int32_t k) const {
        const float ends[4] = {2 * m_d, 180, 180 + 2 * m_d, 360};
        return ends[k & 3];
    }

    float regionEnd(int32_t k) const {
        // Whole turns, rounded down: region -1 is the top edge one turn back.
        const int32_t turns = k >= 0 ? k / 4 : -((-k + 3) / 4);
        return localEnd(k) + 360.0f * float(turns);
    }

    // The point of the rim at x along the edge of region k.
    CVertex point(float x, int32_t k) const {
        const ImageFrame& f = m_frame;
        const float right = f.left + f.width;
        const float bottom = f.top + f.height;
        const float du = f.uv.right - f.uv.left;
        const float dv = f.uv.bottom - f.uv.top;
        if (k == 0) {
            const float t = x / (2 * m_d);
            return vertex(right, f.top + f.height * t, f.uv.right, f.uv.top + dv * t);
        }
        if (k == 1) {
            const float t = (x - 2 * m_d) / (180 - 2 * m_d);
            return vertex(right - f.width * t, bottom, f.uv.right - du * t, f.uv.bottom);
        }
        if (k == 2) {
            const float t = (x - 180) / (2 * m_d);
            return vertex(f.left, bottom - f.height * t, f.uv.left, f.uv.bottom - dv * t);
        }
        const float t = (x - 2 * m_d - 180) / (180 - 2 * m_d);
        return vertex(f.left + f.width * t, f.top, f.uv.left + du * t, f.uv.top);
    }

    CVertex centre() const {
        const ImageFrame& f = m_frame;
        return vertex(f.left + f.width / 2, f.top + f.height / 2, (f.uv.left + f.uv.right) / 2,
                      (f.uv.top + f.uv.bottom) / 2);
    }

private:
    CVertex vertex(float x, float y, float u, float v) const {
        return {{x, y, 0}, m_color, {u, v}};
    }

    ImageFrame m_frame;
    float m_d;
    CColor m_color;
};

// A full turn needs five pieces: the top edge on both sides of the top centre, and the
// three other edges.
constexpr int kMaxPieces = 5;

} // namespace

GSectorSpriteNode::GSectorSpriteNode(const CContentKey& key, BaseNode* parent,
                                     SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    m_material.type = MATERIAL_TRANS_ALPHACH_VERTEXALPHA;
    m_material.layerCount = 1;
    m_material.layers[0].wrapMode = 1;
    m_material.layers[0].bilinearFilter = true;
    m_material.layers[0].trilinearFilter = false;
    m_material.layers[0].anisotropy = 0;
    m_material.smoothShading = false;
    m_material.lighting = false;
    m_material.depthWrite = false;
    m_material.depthTest = 0;
}

const PropertyTable& GSectorSpriteNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            accessorProperty<&GSectorSpriteNode::getFillColor, &GSectorSpriteNode::setFillColor>(
                "FillColor"),
            accessorProperty<&GSectorSpriteNode::getAngle1, &GSectorSpriteNode::setAngle1>(
                "Angle1"),
            accessorProperty<&GSectorSpriteNode::getAngle2, &GSectorSpriteNode::setAngle2>(
                "Angle2"),
            accessorProperty<&GSectorSpriteNode::getAtlasTexture,
                             &GSectorSpriteNode::setAtlasTexture>("AtlasTexture"),
        });
    return table;
}

// Settings

void GSectorSpriteNode::setAngle1(float degrees) {
    m_angle1 = finiteOrZero(degrees);
    m_meshDirty = true;
}

void GSectorSpriteNode::setAngle2(float degrees) {
    m_angle2 = finiteOrZero(degrees);
    m_meshDirty = true;
}

void GSectorSpriteNode::setFillColor(CColor color) {
    m_fillColor = color;
    markColorDirty();
}

void GSectorSpriteNode::setAtlasTexture(CAtlasTexture* texture) {
    m_texture = CRefPointer<CAtlasTexture>::share(texture);
    // The layer does not hold its texture: it must not outlive the atlas texture that does.
    m_material.layers[0].texture = texture != nullptr ? texture->getPage() : nullptr;
    if (texture == nullptr)
        return;
    float width = 0;
    float height = 0;
    if (imageSize(*texture, width, height))
        m_diagonalAngle = CVector2d(width, height).angleDegrees();
    m_meshDirty = true;
}

// The mesh

void GSectorSpriteNode::rebuildMesh() {
    m_meshDirty = false;
    m_vertices.truncate(0);
    ImageFrame frame{};
    // A rectangle without width or height has no diagonal to cut along.
    if (!m_texture || !imageSize(*m_texture, frame.width, frame.height) || !(frame.width > 0) ||
        !(frame.height > 0))
        return;
    frame.left = m_texture->getBefore().x;
    frame.top = m_texture->getBefore().y;
    frame.uv = m_texture->getRect();
    const float d = m_diagonalAngle;
    const SectorRim rim(frame, d, m_fillColor.modulate(getAbsoluteColor()));
    // Outside one turn, or backwards, the regions would not say which edge to follow.
    const float angle1 = std::clamp(m_angle1, 0.0f, 360.0f);
    const float angle2 = std::clamp(m_angle2, angle1, 360.0f);
    const float phi1 = angle1 - 90 + d;
    const float phi2 = angle2 - 90 + d;
    float start = SectorRim::normalize(phi1);
    int32_t k = rim.regionOf(phi1);
    for (int piece = 0; piece < kMaxPieces; ++piece) {
        const float regionEnd = rim.regionEnd(k);
        const bool last = regionEnd > phi2;
        const float segmentEnd = last ? phi2 : regionEnd;
        const float end = last ? SectorRim::normalize(phi2) : rim.localEnd(k);
        m_vertices.append(rim.centre());
        m_vertices.append(rim.point(start, k));
        m_vertices.append(rim.point(end, k));
        if (phi2 <= segmentEnd)
            break;
        start = SectorRim::normalize(segmentEnd);
        ++k;
    }
}

// Drawing

void GSectorSpriteNode::updateAbsoluteColor() {
    BaseNode::updateAbsoluteColor();
    const CColor color = m_fillColor.modulate(getAbsoluteColor());
    for (CVertex& vertex : m_vertices)
        vertex.color = color;
}

void GSectorSpriteNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    if (m_meshDirty)
        rebuildMesh();
    // Drawn apart from the quad batch, so there is no texture run to join: key 0.
    if (m_texture && m_texture->getDriverTexture() != nullptr && getAbsoluteColor().getAlpha() != 0)
        list.append({this, getAbsoluteMatrix()[14], 0});
    collectChildDrawables(list);
}

void GSectorSpriteNode::render(IRenderDriver* driver, const CRect*) {
    const uint32_t count = m_vertices.size();
    if (driver == nullptr || count < 3)
        return;
    // Sprites drawn before come first.
    flushQuadBatch(*driver);
    driver->applyMaterial(m_material);
    // The depth only orders the render list; drawn at depth 0, as the 2D batch draws.
    CMatrix4 world = getAbsoluteMatrix();
    world.set(14, 0);
    driver->setMatrix(TRANSFORM_WORLD, world);
    driver->drawPrimitives(m_vertices.data(), count, nullptr, count / 3, VERTEX_TYPE_STANDARD,
                           INDEX_TYPE_16_BIT, PRIMITIVE_TRIANGLES);
    flushQuadBatch(*driver);
    driver->setMatrix(TRANSFORM_WORLD, CMatrix4::identity());
}

// Copying and properties

void GSectorSpriteNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& sector = static_cast<const GSectorSpriteNode&>(source);
    m_fillColor = sector.m_fillColor;
    m_angle1 = sector.m_angle1;
    m_angle2 = sector.m_angle2;
    setAtlasTexture(sector.m_texture.get());
    rebuildMesh();
}

void GSectorSpriteNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_fillColor.value != 0xFFFFFFFFu)
        properties.addColor("FillColor", m_fillColor);
    if (m_angle1 != 0)
        properties.addFloat("Angle1", m_angle1);
    if (m_angle2 != 0)
        properties.addFloat("Angle2", m_angle2);
    if (m_texture)
        properties.addAtlasTexture("AtlasTexture", m_texture.get());
}

void GSectorSpriteNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    CColor color;
    if (loadPropertyIfPresent(properties, "FillColor", color))
        setFillColor(color);
    float degrees = 0;
    if (loadPropertyIfPresent(properties, "Angle1", degrees))
        setAngle1(degrees);
    if (loadPropertyIfPresent(properties, "Angle2", degrees))
        setAngle2(degrees);
    CAtlasTexture* texture = nullptr;
    if (loadPropertyIfPresent(properties, "AtlasTexture", texture))
        setAtlasTexture(texture);
}
