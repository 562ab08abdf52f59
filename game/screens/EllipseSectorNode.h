#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Color.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/VertexTypes.h"

// A filled pie sector, in one colour, of the ellipse inscribed in the node's scaled bounds (the
// node's origin at their top-left corner; rotation is ignored): from "Angle1" to "Angle2" in
// whole degrees clockwise from the top. The in-level clock and the progress pies. The fan is
// built again at every draw, with "MaxVerticesCount" rim points per turn.
class GEllipseSectorNode : public NodeClass<GEllipseSectorNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 1122;
    static constexpr const char16_t* kTypeName = u"GEllipseSectorNode";
    // More rim points per turn than this are taken as this many: the fan is built at every
    // draw and must stay small.
    static constexpr int32_t kMaxVerticesCount = 3600;

    GEllipseSectorNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    // Its own entry only while its tint is not fully transparent; the children's always.
    void collectDrawables(RenderList& list) override;
    // Builds the fan and draws it in screen pixels; the clip rectangle is not used.
    void render(IRenderDriver* driver, const CRect* clip) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    void setFillColor(CColor color) { m_fillColor = color; }
    CColor getFillColor() const { return m_fillColor; }
    void setAngle1(int32_t degrees) { m_angle1 = degrees; }
    void setAngle2(int32_t degrees) { m_angle2 = degrees; }
    int32_t getAngle1() const { return m_angle1; }
    int32_t getAngle2() const { return m_angle2; }
    // A count below 1 is refused with a warning and the count kept; above the maximum it is
    // the maximum.
    void setMaxVerticesCount(int32_t count);
    int32_t getMaxVerticesCount() const { return m_maxVerticesCount; }

    // The centre, the rim points and the end point, as the last draw built them.
    const CArray<CVertex>& getVertices() const { return m_vertices; }

protected:
    ~GEllipseSectorNode() override = default;

private:
    void buildFan();

    CColor m_fillColor{0xFFFFFFFFu};
    int32_t m_angle1 = 0;
    int32_t m_angle2 = 360;
    int32_t m_maxVerticesCount = 32;
    // Keeps its storage between draws.
    CArray<CVertex> m_vertices;
    RenderMaterial m_material;
};
