#include "engine/scene/NineGridSpriteNode.h"

#include <algorithm>

#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/video/IRenderDriver.h"

namespace {

constexpr uint32_t kHitAlphaThreshold = 20;
const CVector2d kDefaultDelta(10, 10);

// The four edges of the columns (or rows) over a size. Borders wider together than the size
// share it in their proportion: a middle of negative width would cross the quads over into a
// bow-tie (a slider's bar near 0).
void gridEdges(float size, float lead, float trail, float edges[4]) {
    const float borders = lead + trail;
    const float scale = borders > size && borders > 0 ? std::max(size, 0.0f) / borders : 1.0f;
    edges[0] = 0;
    edges[1] = lead * scale;
    edges[2] = size - trail * scale;
    edges[3] = size;
}

} // namespace

NineGridSpriteNode::NineGridSpriteNode(const CContentKey& key, BaseNode* parent,
                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    for (CQuadRecord& quad : m_quads)
        quad.material = &m_image.getMaterial();
}

const PropertyTable& NineGridSpriteNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            accessorProperty<&NineGridSpriteNode::getImage, &NineGridSpriteNode::setImage>(
                "AtlasTexture"),
            accessorProperty<&NineGridSpriteNode::getTopLeftDelta,
                             &NineGridSpriteNode::setTopLeftDelta>("TopLeftDelta"),
            accessorProperty<&NineGridSpriteNode::getBottomRightDelta,
                             &NineGridSpriteNode::setBottomRightDelta>("BottomRightDelta"),
        });
    return table;
}

bool NineGridSpriteNode::buildGrid() {
    const IDriverTexture* texture = m_image.getDriverTexture();
    if (texture == nullptr)
        return false;
    const CPixelSize size = texture->getSize();
    const float width = float(size.width);
    const float height = float(size.height);
    const CRect& rect = m_image.get()->getRect();
    const CVector3d& bounds = getBounds();
    float xs[4];
    float ys[4];
    gridEdges(bounds.x, m_topLeftDelta.x, m_bottomRightDelta.x, xs);
    gridEdges(bounds.y, m_topLeftDelta.y, m_bottomRightDelta.y, ys);
    const float us[4] = {rect.left, rect.left + m_topLeftDelta.x / width,
                         rect.right - m_bottomRightDelta.x / width, rect.right};
    const float vs[4] = {rect.top, rect.top + m_topLeftDelta.y / height,
                         rect.bottom - m_bottomRightDelta.y / height, rect.bottom};
    const CMatrix4& matrix = getAbsoluteMatrix();
    const CColor color = getAbsoluteColor();
    // Corner k of a cell lies this many columns and rows from its top-left.
    const int right[4] = {0, 1, 1, 0};
    const int down[4] = {0, 0, 1, 1};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            CQuadRecord& quad = m_quads[row * 3 + column];
            for (int corner = 0; corner < 4; ++corner) {
                const int i = column + right[corner];
                const int j = row + down[corner];
                CVertex& vertex = quad.vertices[corner];
                vertex.position = nodePointToWorld(matrix, xs[i], ys[j], 0);
                vertex.color = color;
                vertex.texCoord = CVector2d(us[i], vs[j]);
            }
        }
    }
    return true;
}

void NineGridSpriteNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    if (m_image.getDriverTexture() != nullptr && getAbsoluteColor().getAlpha() != 0)
        list.append({this, getAbsoluteMatrix()[14], m_image.getSortKey()});
    collectChildDrawables(list);
}

void NineGridSpriteNode::render(IRenderDriver* driver, const CRect*) {
    CQuadBatcher* batcher = driver != nullptr ? driver->getQuadBatcher() : nullptr;
    if (batcher == nullptr || !buildGrid())
        return;
    for (const CQuadRecord& quad : m_quads)
        batcher->addQuadVertices(quad);
}

bool NineGridSpriteNode::hitTest(const CVector3d& point) {
    return isVisible() && canBeHit() && getTintColor().getAlpha() > kHitAlphaThreshold &&
           isPointInside(point);
}

void NineGridSpriteNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_image.get() != nullptr)
        properties.addAtlasTexture("AtlasTexture", m_image.get());
    if (!(m_topLeftDelta == kDefaultDelta))
        properties.addVector2d("TopLeftDelta", m_topLeftDelta);
    if (!(m_bottomRightDelta == kDefaultDelta))
        properties.addVector2d("BottomRightDelta", m_bottomRightDelta);
}

void NineGridSpriteNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "TopLeftDelta", m_topLeftDelta);
    loadPropertyIfPresent(properties, "BottomRightDelta", m_bottomRightDelta);
    CAtlasTexture* image = nullptr;
    if (loadPropertyIfPresent(properties, "AtlasTexture", image))
        setImage(image);
}

void NineGridSpriteNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& grid = static_cast<const NineGridSpriteNode&>(source);
    m_topLeftDelta = grid.m_topLeftDelta;
    m_bottomRightDelta = grid.m_bottomRightDelta;
    setImage(grid.getImage());
}
