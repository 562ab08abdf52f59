#include "engine/ui/GeometryBuffer.h"

#include "engine/core/Logger.h"

namespace {

template <typename T>
void growArray(CArray<T>& array, uint32_t count) {
    if (array.size() >= count)
        return;
    if (array.allocated() < count)
        array.reallocate(count);
    while (array.size() < count)
        array.append(T{});
}

} // namespace

CGeometryBuffer::CGeometryBuffer() {
    m_box.minimum = CVector3d(-1, -1, -1);
    m_box.maximum = CVector3d(1, 1, 1);
}

void CGeometryBuffer::recomputeBoundingBox() {
    m_box = CMeshBounds();
    if (m_vertices.size() == 0)
        return;
    m_box.minimum = m_box.maximum = m_vertices[0].position;
    for (const CVertex& vertex : m_vertices)
        widenBox(vertex.position);
}

void CGeometryBuffer::append(const void* vertices, uint32_t vertexCount, const uint16_t* indices,
                             uint32_t indexCount) {
    if (vertices == m_vertices.data())
        return;
    const uint32_t base = m_vertices.size();
    if (vertexCount > kMaxVertices - base) {
        CLogger::instance()->logChars("Geometry buffer full: 16-bit indices reach 65535 vertices",
                                      CLogger::LevelWarning);
        return;
    }
    const auto* added = static_cast<const CVertex*>(vertices);
    if (m_vertices.allocated() < base + vertexCount)
        m_vertices.reallocate(base + vertexCount);
    for (uint32_t i = 0; i < vertexCount; ++i) {
        m_vertices.append(added[i]);
        widenBox(added[i].position);
    }
    const uint32_t indexBase = m_indices.size();
    if (m_indices.allocated() < indexBase + indexCount)
        m_indices.reallocate(indexBase + indexCount);
    for (uint32_t i = 0; i < indexCount; ++i)
        m_indices.append(uint16_t(indices[i] + base));
}

bool CGeometryBuffer::growTo(uint32_t vertexCount, uint32_t indexCount) {
    if (vertexCount > kMaxVertices)
        return false;
    growArray(m_vertices, vertexCount);
    growArray(m_indices, indexCount);
    return true;
}

void CGeometryBuffer::widenBox(const CVector3d& position) {
    CVector3d& low = m_box.minimum;
    CVector3d& high = m_box.maximum;
    if (position.x < low.x)
        low.x = position.x;
    if (position.y < low.y)
        low.y = position.y;
    if (position.z < low.z)
        low.z = position.z;
    if (position.x > high.x)
        high.x = position.x;
    if (position.y > high.y)
        high.y = position.y;
    if (position.z > high.z)
        high.z = position.z;
}
