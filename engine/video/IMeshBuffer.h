#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/Vector3d.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/VertexTypes.h"

// An axis-aligned box around a mesh's vertices.
struct CMeshBounds {
    CVector3d minimum;
    CVector3d maximum;
};

// Vertices and 16-bit indices that a driver draws in one call (drawGeometryBuffer) or that the
// quad batcher takes whole (addMesh). Starts with one reference.
class IMeshBuffer : public virtual CRefCounted {
public:
    // What drawing reads besides the arrays.
    uint32_t primitiveType = PRIMITIVE_TRIANGLES;
    uint32_t primitiveCount = 0;
    RenderMaterial material;

    // The vertices are laid out as getVertexType says.
    virtual const void* getVertices() const = 0;
    virtual void* getVertices() = 0;
    virtual uint32_t getVertexCount() const = 0;
    virtual const uint16_t* getIndices() const = 0;
    virtual uint16_t* getIndices() = 0;
    virtual uint32_t getIndexCount() const = 0;
    virtual const CMeshBounds& getBoundingBox() const = 0;
    virtual void setBoundingBox(const CMeshBounds& box) = 0;
    virtual void recomputeBoundingBox() = 0;
    virtual uint32_t getVertexType() const = 0;
    // Appends vertices and indices; the new indices address the new vertices.
    virtual void append(const void* vertices, uint32_t vertexCount, const uint16_t* indices,
                        uint32_t indexCount) = 0;
};
