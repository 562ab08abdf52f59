#include "game/screens/EllipseSectorNode.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/MathHelpers.h"
#include "engine/core/Properties.h"
#include "engine/core/Utf.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/video/IRenderDriver.h"

namespace {

// Degrees of any size, truncated, into 0 to 359.
int32_t tableIndex(float degrees) {
    const int64_t whole = int64_t(degrees);
    const int64_t remainder = whole % 360;
    return int32_t(remainder < 0 ? remainder + 360 : remainder);
}

struct Ellipse {
    float cx;
    float cy;
    float hw;
    float hh;
};

CVertex rimPoint(const Ellipse& ellipse, float degrees, CColor color) {
    const int32_t i = tableIndex(degrees);
    const float sine = sinTable[i];
    const float cosine = sinTable[(i + 90) % 360];
    return {{ellipse.cx + sine * ellipse.hw, ellipse.cy - cosine * ellipse.hh, 0}, color, {0, 0}};
}

} // namespace

GEllipseSectorNode::GEllipseSectorNode(const CContentKey& key, BaseNode* parent,
                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    m_material.type = MATERIAL_TRANS_VERTEX_ALPHA;
    m_material.layerCount = 1;
    m_material.smoothShading = false;
    m_material.lighting = false;
    m_material.depthWrite = false;
    m_material.depthTest = 0;
}

const PropertyTable& GEllipseSectorNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            fieldProperty<&GEllipseSectorNode::m_fillColor>("FillColor"),
            fieldProperty<&GEllipseSectorNode::m_angle1>("Angle1"),
            fieldProperty<&GEllipseSectorNode::m_angle2>("Angle2"),
            accessorProperty<&GEllipseSectorNode::getMaxVerticesCount,
                             &GEllipseSectorNode::setMaxVerticesCount>("MaxVerticesCount"),
        });
    return table;
}

void GEllipseSectorNode::setMaxVerticesCount(int32_t count) {
    if (count < 1) {
        // Without a positive count the rim would never end.
        CLogger::instance()->log(CStringW(u"GEllipseSectorNode \"") +
                                     utf8ToUtf16(getName().toString().c_str()) +
                                     CStringW(u"\": MaxVerticesCount below 1 refused"),
                                 CLogger::LevelWarning);
        return;
    }
    m_maxVerticesCount = std::min(count, kMaxVerticesCount);
}

// Drawing

void GEllipseSectorNode::buildFan() {
    m_vertices.truncate(0);
    const CMatrix4& matrix = getAbsoluteMatrix();
    const CVector3d scale = matrix.getScale();
    const CVector3d& bounds = getBounds();
    Ellipse ellipse{0, 0, bounds.x * scale.x * 0.5f, bounds.y * scale.y * 0.5f};
    ellipse.cx = matrix[12] + ellipse.hw;
    ellipse.cy = matrix[13] + ellipse.hh;
    const CColor color = m_fillColor.modulate(getAbsoluteColor());
    m_vertices.append({{ellipse.cx, ellipse.cy, 0}, color, {0, 0}});
    // One turn at most, whatever the angles: a wider sector covers the same ellipse, and far
    // from 0 a float angle stops advancing by the step.
    const float end = float(std::min<int64_t>(m_angle2, int64_t(m_angle1) + 360));
    const float step = 360.0f / float(m_maxVerticesCount);
    float a = float(m_angle1);
    for (int32_t k = 0; k <= m_maxVerticesCount && end > a; ++k, a += step)
        m_vertices.append(rimPoint(ellipse, a, color));
    m_vertices.append(rimPoint(ellipse, end, color));
}

void GEllipseSectorNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    // Drawn apart from the quad batch, so there is no texture run to join: key 0.
    if (getAbsoluteColor().getAlpha() != 0)
        list.append({this, getAbsoluteMatrix()[14], 0});
    collectChildDrawables(list);
}

void GEllipseSectorNode::render(IRenderDriver* driver, const CRect*) {
    if (driver == nullptr)
        return;
    buildFan();
    const uint32_t count = m_vertices.size();
    if (count < 3)
        return;
    // Sprites drawn before come first.
    flushQuadBatch(*driver);
    driver->setMatrix(TRANSFORM_WORLD, CMatrix4::identity());
    driver->applyMaterial(m_material);
    driver->setRenderStates2D();
    driver->drawPrimitives(m_vertices.data(), count, nullptr, count - 2, VERTEX_TYPE_STANDARD,
                           INDEX_TYPE_16_BIT, PRIMITIVE_TRIANGLE_FAN);
}

// Copying and properties

void GEllipseSectorNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& sector = static_cast<const GEllipseSectorNode&>(source);
    m_fillColor = sector.m_fillColor;
    m_angle1 = sector.m_angle1;
    m_angle2 = sector.m_angle2;
    m_maxVerticesCount = sector.m_maxVerticesCount;
}

void GEllipseSectorNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_fillColor.value != 0xFFFFFFFFu)
        properties.addColor("FillColor", m_fillColor);
    if (m_angle1 != 0)
        properties.addInt("Angle1", m_angle1);
    if (m_angle2 != 360)
        properties.addInt("Angle2", m_angle2);
    if (m_maxVerticesCount != 32)
        properties.addInt("MaxVerticesCount", m_maxVerticesCount);
}

void GEllipseSectorNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "FillColor", m_fillColor);
    loadPropertyIfPresent(properties, "Angle1", m_angle1);
    loadPropertyIfPresent(properties, "Angle2", m_angle2);
    int32_t count = 0;
    if (loadPropertyIfPresent(properties, "MaxVerticesCount", count))
        setMaxVerticesCount(count);
}
