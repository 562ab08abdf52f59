#include "engine/video/QuadBatcher.h"

#include <cstring>

#include "engine/video/IMeshBuffer.h"
#include "engine/video/IRenderDriver.h"

CQuadBatcher::CQuadBatcher(IRenderDriver* driver) : m_driver(driver), m_meshIndices() {
    for (uint32_t quad = 0; quad < kIndexCapacity / 6; ++quad) {
        const uint16_t first = uint16_t(quad * 4);
        uint16_t* indices = m_quadIndices + quad * 6;
        indices[0] = first;
        indices[1] = uint16_t(first + 1);
        indices[2] = uint16_t(first + 2);
        indices[3] = first;
        indices[4] = uint16_t(first + 2);
        indices[5] = uint16_t(first + 3);
    }
}

void CQuadBatcher::begin() {
    m_driver->setRenderStates2D();
    m_vertexCount = 0;
    m_indexCount = 0;
    m_primitiveCount = 0;
}

void CQuadBatcher::end() {
    flush();
}

void CQuadBatcher::flush() {
    if (m_primitiveCount == 0)
        return;
    m_driver->applyMaterial(m_material);
    m_driver->drawPrimitives(m_vertices, m_vertexCount, m_quadMode ? m_quadIndices : m_meshIndices,
                             m_primitiveCount, VERTEX_TYPE_STANDARD, INDEX_TYPE_16_BIT,
                             m_primitiveType);
    m_vertexCount = 0;
    m_indexCount = 0;
    m_primitiveCount = 0;
}

CVertex* CQuadBatcher::reserveQuad(const RenderMaterial& material) {
    if (material.differsFrom(m_material) || !m_quadMode) {
        flush();
        m_material.assign(material);
        m_quadMode = true;
        m_primitiveType = PRIMITIVE_TRIANGLES;
    }
    // One slot is left unused, so a batch holds at most 1023 quads.
    if (m_vertexCount + 4 >= kVertexCapacity)
        flush();
    CVertex* vertices = m_vertices + m_vertexCount;
    m_vertexCount += 4;
    m_indexCount += 6;
    m_primitiveCount += 2;
    return vertices;
}

void CQuadBatcher::addQuadVertices(const CQuadRecord& quad) {
    if (!quad.material)
        return;
    CVertex* vertices = reserveQuad(*quad.material);
    for (int corner = 0; corner < 4; ++corner)
        vertices[corner] = quad.vertices[corner];
}

void CQuadBatcher::addQuad(const RenderMaterial* material, const CVector2d (&corners)[4],
                           const CVector2d (&texCoords)[4], float depth, CColor color) {
    if (!material)
        return;
    CVertex* vertices = reserveQuad(*material);
    for (int corner = 0; corner < 4; ++corner) {
        vertices[corner].position = CVector3d(corners[corner].x, corners[corner].y, depth);
        vertices[corner].color = color;
        vertices[corner].texCoord = texCoords[corner];
    }
}

void CQuadBatcher::addMesh(const IMeshBuffer* mesh) {
    if (!mesh || mesh->primitiveCount >= m_driver->getMaxPrimitiveCount())
        return;
    if (mesh->material.differsFrom(m_material) || m_primitiveType != mesh->primitiveType ||
        m_quadMode) {
        flush();
        m_material.assign(mesh->material);
        m_quadMode = false;
        m_primitiveType = mesh->primitiveType;
    }
    const uint32_t vertexCount = mesh->getVertexCount();
    const uint32_t indexCount = mesh->getIndexCount();
    if (vertexCount >= kVertexCapacity || indexCount >= kIndexCapacity ||
        mesh->getVertexType() != VERTEX_TYPE_STANDARD) {
        drawMeshAlone(*mesh);
        return;
    }
    if (m_vertexCount + vertexCount >= kVertexCapacity ||
        m_indexCount + indexCount >= kIndexCapacity)
        flush();
    if (vertexCount > 0)
        std::memcpy(m_vertices + m_vertexCount, mesh->getVertices(), vertexCount * sizeof(CVertex));
    const uint16_t* indices = mesh->getIndices();
    for (uint32_t i = 0; i < indexCount; ++i)
        m_meshIndices[m_indexCount + i] = uint16_t(indices[i] + m_vertexCount);
    m_vertexCount += vertexCount;
    m_indexCount += indexCount;
    m_primitiveCount += mesh->primitiveCount;
}

void CQuadBatcher::drawMeshAlone(const IMeshBuffer& mesh) {
    flush();
    if (mesh.primitiveCount == 0)
        return;
    m_driver->applyMaterial(m_material);
    m_driver->drawPrimitives(mesh.getVertices(), mesh.getVertexCount(), mesh.getIndices(),
                             mesh.primitiveCount, mesh.getVertexType(), INDEX_TYPE_16_BIT,
                             mesh.primitiveType);
}
