#pragma once

#include <cstdint>

#include "engine/core/Color.h"
#include "engine/core/RefCounted.h"
#include "engine/core/Vector2d.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/VertexTypes.h"

class IMeshBuffer;
class IRenderDriver;

// A prepared quad: its material and four vertices in corner order 0 to 3; the triangles drawn
// are corners 0, 1, 2 and 0, 2, 3.
struct CQuadRecord {
    const RenderMaterial* material = nullptr;
    CVertex vertices[4];
};

// Collects 2D quads (or whole meshes) of one material in one vertex buffer and draws them with a
// single indexed draw through the driver when the material changes, the buffer is full or the
// owner flushes. Buffers are allocated once; adding a quad never allocates.
class CQuadBatcher : public CRefCounted {
public:
    static constexpr uint32_t kVertexCapacity = 4096;
    static constexpr uint32_t kIndexCapacity = 6144;

    // The driver is not counted: it owns the batcher.
    explicit CQuadBatcher(IRenderDriver* driver);

    // Switches the driver to 2D drawing and drops whatever was collected.
    virtual void begin();
    virtual void end();
    // Draws what is collected; does nothing when the batch is empty. The batch material stays,
    // so further quads of the same material need no material change.
    virtual void flush();
    virtual void addQuadVertices(const CQuadRecord& quad);
    virtual void addQuad(const RenderMaterial* material, const CVector2d (&corners)[4],
                         const CVector2d (&texCoords)[4], float depth, CColor color);
    // A mesh with at least the driver's maximum primitive count is ignored; one too large for
    // the buffers, or not of vertex type 0, is drawn on its own at once.
    virtual void addMesh(const IMeshBuffer* mesh);

    const RenderMaterial& getMaterial() const { return m_material; }
    uint32_t getVertexCount() const { return m_vertexCount; }
    uint32_t getIndexCount() const { return m_indexCount; }
    uint32_t getPrimitiveCount() const { return m_primitiveCount; }

protected:
    ~CQuadBatcher() override = default;

private:
    // Flushes and takes over the material when the batch cannot continue with quads of it, and
    // when the buffer has no room for another quad; answers the first free vertex.
    CVertex* reserveQuad(const RenderMaterial& material);
    void drawMeshAlone(const IMeshBuffer& mesh);

    IRenderDriver* m_driver;
    RenderMaterial m_material;
    uint32_t m_primitiveType = PRIMITIVE_TRIANGLES;
    bool m_quadMode = true;
    uint32_t m_primitiveCount = 0;
    uint32_t m_vertexCount = 0;
    uint32_t m_indexCount = 0;
    CVertex m_vertices[kVertexCapacity];
    uint16_t m_meshIndices[kIndexCapacity];
    uint16_t m_quadIndices[kIndexCapacity];
};
