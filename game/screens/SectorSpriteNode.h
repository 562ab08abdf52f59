#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Color.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/VertexTypes.h"

// An atlas image cut to a pie sector, for the radial fill indicators of game objects: from
// "Angle1" to "Angle2" degrees clockwise from the top centre of the image (90 the middle of
// the right edge), clamped to 0..360 with the start never past the end. The sector is a fan
// of triangles from the image's centre whose rim runs along the image's edges, the rim
// position linear in the angle along each edge, so the corners fall at the angles of the
// image's diagonals. The mesh is built again only when the angles or the image change.
class GSectorSpriteNode : public NodeClass<GSectorSpriteNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 1123;
    static constexpr const char16_t* kTypeName = u"GSectorSpriteNode";

    GSectorSpriteNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    // Rebuilds a stale mesh; its own entry only with an image the driver made and a tint that
    // is not fully transparent; the children's always.
    void collectDrawables(RenderList& list) override;
    // The mesh through the node's transform; a clip rectangle is not used.
    void render(IRenderDriver* driver, const CRect* clip) override;
    // Also writes the fill colour, through the tint, into the mesh.
    void updateAbsoluteColor() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // "Angle2" is written whenever it is not 0, its initial 360 included.
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // Angles that are not numbers count as 0.
    void setAngle1(float degrees);
    void setAngle2(float degrees);
    float getAngle1() const { return m_angle1; }
    float getAngle2() const { return m_angle2; }
    // Recolours the mesh at the next colour update, without building it again.
    void setFillColor(CColor color);
    CColor getFillColor() const { return m_fillColor; }
    void setAtlasTexture(CAtlasTexture* texture);
    CAtlasTexture* getAtlasTexture() const { return m_texture.get(); }

    // Three vertices a triangle, in the node's own space; empty without an image of some size.
    void rebuildMesh();
    const CArray<CVertex>& getVertices() const { return m_vertices; }
    bool isMeshDirty() const { return m_meshDirty; }

protected:
    ~GSectorSpriteNode() override = default;

private:
    float m_diagonalAngle = 0;
    float m_angle1 = 0;
    float m_angle2 = 360;
    bool m_meshDirty = false;
    CColor m_fillColor{0xFFFFFFFFu};
    RenderMaterial m_material;
    CRefPointer<CAtlasTexture> m_texture;
    CArray<CVertex> m_vertices;
};
