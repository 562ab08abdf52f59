#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/video/IMeshBuffer.h"
#include "engine/video/VertexTypes.h"

// The mesh buffer of standard vertices (type 0) that the particle system rewrites and draws.
// Indices are 16-bit, so the buffer never holds more than kMaxVertices vertices.
class CGeometryBuffer : public IMeshBuffer {
public:
    static constexpr uint32_t kMaxVertices = 65535;

    // No vertices, the box (-1, -1, -1)-(1, 1, 1).
    CGeometryBuffer();

    const void* getVertices() const override { return m_vertices.data(); }
    void* getVertices() override { return m_vertices.data(); }
    uint32_t getVertexCount() const override { return m_vertices.size(); }
    const uint16_t* getIndices() const override { return m_indices.data(); }
    uint16_t* getIndices() override { return m_indices.data(); }
    uint32_t getIndexCount() const override { return m_indices.size(); }
    const CMeshBounds& getBoundingBox() const override { return m_box; }
    void setBoundingBox(const CMeshBounds& box) override { m_box = box; }
    // Around every vertex; all zeros without vertices.
    void recomputeBoundingBox() override;
    uint32_t getVertexType() const override { return VERTEX_TYPE_STANDARD; }
    // Widens the box by each new vertex. The buffer's own vertices, or more vertices than the
    // indices can address, append nothing.
    void append(const void* vertices, uint32_t vertexCount, const uint16_t* indices,
                uint32_t indexCount) override;

    CVertex* vertices() { return m_vertices.data(); }
    uint16_t* indices() { return m_indices.data(); }
    // Raises the counts to at least these, the new records zeroed, in storage of exactly that
    // size when it must grow; false, changing nothing, past kMaxVertices vertices.
    bool growTo(uint32_t vertexCount, uint32_t indexCount);

protected:
    ~CGeometryBuffer() override = default;

private:
    void widenBox(const CVector3d& position);

    CArray<CVertex> m_vertices;
    CArray<uint16_t> m_indices;
    CMeshBounds m_box;
};
