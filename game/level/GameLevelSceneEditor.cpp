#include <cstdlib>

#include "engine/core/Matrix4.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/VertexTypes.h"
#include "game/app/GameApplication.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"

// The developer mode's walk-grid editor: F1 shows the grid, then the region of a location
// picked with the middle button, painted with the left button and erased with the right; F2
// writes the grid file.

namespace {

constexpr uint32_t kKeyF1 = 112;
constexpr uint32_t kKeyF2 = 113;
constexpr float kOverlayDepth = -100;
constexpr uint32_t kGridColor = 0xFF00FF00;
constexpr uint32_t kRegionColor = 0x00FF0000;
// Offsets are signed bytes: a cell further out would wrap onto another one.
constexpr int32_t kMaxRegionOffset = 127;
// Bits 8-23 of a region entry: the cell's offsets.
constexpr uint32_t kOffsetBits = 0x00FFFF00;

RenderMaterial overlayMaterial() {
    RenderMaterial material;
    material.type = MATERIAL_TRANS_VERTEX_ALPHA;
    material.layerCount = 1;
    material.smoothShading = false;
    material.lighting = false;
    material.depthWrite = false;
    material.depthTest = 0;
    return material;
}

} // namespace

int32_t GGameLevelScene::getEditorMode() const {
    return m_editorMode;
}

GLocationNode* GGameLevelScene::getEditorLocation() const {
    return m_editorLocation.get();
}

bool GGameLevelScene::OnKeyUp(CEventInputKeyUp& event) {
    if (SceneNode::OnKeyUp(event))
        return true;
    if (!developerMode)
        return false;
    if (event.getVirtualKey() == kKeyF1) {
        m_editorMode = (m_editorMode + 1) % 3;
        m_editorPaint = 0;
        if (m_editorMode == 0)
            m_editorLocation = nullptr;
    } else if (event.getVirtualKey() == kKeyF2 && m_editorMode != 0) {
        saveWalkGrid();
    }
    return false;
}

// None of these consumes the event, which still reaches the children.
void GGameLevelScene::editRegion(const CEventInputMousePosition& event) {
    const CVector3d point = toLevel(event.getX(), event.getY());
    switch (event.getTypeId()) {
    case CEventInputMouseMiddleDown::Id:
        m_editorLocation = CRefPointer<GLocationNode>::share(locationAt(event));
        break;
    case CEventInputMouseLeftDown::Id:
    case CEventInputMouseRightDown::Id:
        if (!m_editorLocation)
            break;
        m_editorPaint = event.getTypeId() == CEventInputMouseLeftDown::Id ? 1 : 2;
        paintRegionCell(point, m_editorPaint == 1 ? 255 : 0);
        break;
    case CEventInputMouseMove::Id:
        if (m_editorLocation && m_editorPaint != 0)
            paintRegionCell(point, m_editorPaint == 1 ? 255 : 0);
        break;
    case CEventInputMouseLeftUp::Id:
    case CEventInputMouseRightUp::Id:
        m_editorPaint = 0;
        break;
    default:
        break;
    }
}

void GGameLevelScene::paintRegionCell(const CVector3d& point, uint8_t weight) {
    GLocationNode* location = m_editorLocation.get();
    // Without a grid there are no cells to paint.
    if (location == nullptr || location->getTemplateName() == CNameId() ||
        m_walkGrid.getCellSize() <= 0)
        return;
    const CVector3d& at = location->getPosition();
    const WalkGridCell origin = m_walkGrid.cellAt(CVector2d(at.x, at.y));
    const WalkGridCell cell = m_walkGrid.cellAt(CVector2d(point.x, point.y));
    const int32_t column = cell.column - origin.column;
    const int32_t row = cell.row - origin.row;
    if (std::abs(column) > kMaxRegionOffset || std::abs(row) > kMaxRegionOffset)
        return;
    const uint32_t key = WalkGrid::makeRegionEntry(column, row, 0);
    WalkGrid::Region& region = m_walkGrid.getRegion(location->getTemplateName());
    for (uint32_t i = 0; i < region.size(); ++i) {
        if ((region[i] & kOffsetBits) != key)
            continue;
        if (weight != 0)
            region[i] = key | weight;
        else
            region.eraseAtUnordered(i);
        return;
    }
    if (weight != 0)
        region.append(key | weight);
}

// Drawing

void GGameLevelScene::collectDrawables(RenderList& list) {
    SceneNode::collectDrawables(list);
    // A clipped level is one entry already, which draws the overlays too.
    if (isVisible() && !isChildrenClipped() && m_editorMode != 0)
        list.append({this, kOverlayDepth, 0});
}

void GGameLevelScene::render(IRenderDriver* driver, const CRect* clip) {
    SceneNode::render(driver, clip);
    if (driver == nullptr || m_editorMode == 0 || m_walkGrid.getCellSize() <= 0)
        return;
    drawGridOverlay(*driver);
    if (m_editorMode == 2)
        drawRegionOverlay(*driver);
}

// The level's point as the window shows it, where the overlays are drawn under the identity.
CVertex GGameLevelScene::overlayVertex(float x, float y, CColor color) const {
    CVector3d point(x, y, 0);
    getAbsoluteMatrix().transformPoint(point);
    return {{point.x, point.y, 0}, color, {0, 0}};
}

void GGameLevelScene::drawOverlay(IRenderDriver& driver, const CArray<CVertex>& vertices,
                                  uint32_t primitiveType, uint32_t primitiveCount) {
    flushQuadBatch(driver);
    driver.setMatrix(TRANSFORM_WORLD, CMatrix4::identity());
    driver.applyMaterial(overlayMaterial());
    driver.setRenderStates2D();
    driver.drawPrimitives(vertices.data(), vertices.size(), nullptr, primitiveCount,
                          VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT, primitiveType);
}

void GGameLevelScene::drawGridOverlay(IRenderDriver& driver) {
    const float size = float(m_walkGrid.getCellSize());
    const CVector3d& bounds = getBounds();
    const CColor green(kGridColor);
    CArray<CVertex> vertices;
    for (int32_t row = 0; row <= m_walkGrid.getRows(); ++row) {
        vertices.append(overlayVertex(0, float(row) * size, green));
        vertices.append(overlayVertex(bounds.x, float(row) * size, green));
    }
    for (int32_t column = 0; column <= m_walkGrid.getColumns(); ++column) {
        vertices.append(overlayVertex(float(column) * size, 0, green));
        vertices.append(overlayVertex(float(column) * size, bounds.y, green));
    }
    if (vertices.size() > 2)
        drawOverlay(driver, vertices, PRIMITIVE_LINES, vertices.size() / 2);
}

// Every cell of the region, a single one too: the first cell painted shows at once.
void GGameLevelScene::drawRegionOverlay(IRenderDriver& driver) {
    const GLocationNode* location = m_editorLocation.get();
    if (location == nullptr || location->getTemplateName() == CNameId())
        return;
    const float size = float(m_walkGrid.getCellSize());
    const CVector3d& at = location->getPosition();
    const WalkGridCell origin = m_walkGrid.cellAt(CVector2d(at.x, at.y));
    CArray<CVertex> vertices;
    for (uint32_t entry : m_walkGrid.getRegion(location->getTemplateName())) {
        const float left = float(origin.column + int8_t(entry >> 16)) * size;
        const float top = float(origin.row + int8_t(entry >> 8)) * size;
        const CColor red(kRegionColor | (entry & 0xFF) << 24);
        const CVertex corners[4] = {
            overlayVertex(left, top, red), overlayVertex(left + size, top, red),
            overlayVertex(left + size, top + size, red), overlayVertex(left, top + size, red)};
        for (uint32_t corner : {0u, 1u, 2u, 0u, 2u, 3u})
            vertices.append(corners[corner]);
    }
    if (vertices.size() >= 6)
        drawOverlay(driver, vertices, PRIMITIVE_TRIANGLES, vertices.size() / 3);
}
