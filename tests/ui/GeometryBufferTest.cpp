#include "engine/ui/GeometryBuffer.h"

#include <vector>

#include <gtest/gtest.h>

#include "video/RecordingRenderDriver.h"

namespace {

CVertex vertexAt(float x, float y, float z = 0) {
    CVertex vertex{};
    vertex.position = CVector3d(x, y, z);
    return vertex;
}

void expectBox(const CMeshBounds& box, CVector3d low, CVector3d high) {
    EXPECT_EQ(box.minimum.x, low.x);
    EXPECT_EQ(box.minimum.y, low.y);
    EXPECT_EQ(box.minimum.z, low.z);
    EXPECT_EQ(box.maximum.x, high.x);
    EXPECT_EQ(box.maximum.y, high.y);
    EXPECT_EQ(box.maximum.z, high.z);
}

TEST(GeometryBufferTest, StartsEmptyWithTheUnitBoxAndRecomputesToZeros) {
    CRefPointer<CGeometryBuffer> buffer(new CGeometryBuffer());
    EXPECT_EQ(buffer->getVertexCount(), 0u);
    EXPECT_EQ(buffer->getIndexCount(), 0u);
    EXPECT_EQ(buffer->primitiveType, uint32_t(PRIMITIVE_TRIANGLES));
    EXPECT_EQ(buffer->primitiveCount, 0u);
    EXPECT_EQ(buffer->getVertexType(), uint32_t(VERTEX_TYPE_STANDARD));
    expectBox(buffer->getBoundingBox(), {-1, -1, -1}, {1, 1, 1});

    buffer->recomputeBoundingBox();
    expectBox(buffer->getBoundingBox(), {0, 0, 0}, {0, 0, 0});
}

TEST(GeometryBufferTest, AppendedIndicesAddressTheAppendedVertices) {
    CRefPointer<CGeometryBuffer> buffer(new CGeometryBuffer());
    const std::vector<CVertex> first(8, vertexAt(0, 0));
    const uint16_t none[1] = {};
    buffer->append(first.data(), 8, none, 0);
    const CVertex quad[4] = {vertexAt(-3, 2), vertexAt(5, 2, 1), vertexAt(5, 7), vertexAt(-3, 7)};
    const uint16_t triangle[3] = {0, 1, 2};
    buffer->append(quad, 4, triangle, 3);

    ASSERT_EQ(buffer->getVertexCount(), 12u);
    ASSERT_EQ(buffer->getIndexCount(), 3u);
    EXPECT_EQ(std::vector<uint16_t>(buffer->getIndices(), buffer->getIndices() + 3),
              (std::vector<uint16_t>{8, 9, 10}));
    EXPECT_EQ(buffer->vertices()[9].position.x, 5);
    // The unit box widened by the new vertices.
    expectBox(buffer->getBoundingBox(), {-3, -1, -1}, {5, 7, 1});
    buffer->recomputeBoundingBox();
    expectBox(buffer->getBoundingBox(), {-3, 0, 0}, {5, 7, 1});

    // The buffer's own vertices are not appended to themselves.
    buffer->append(buffer->getVertices(), 12, triangle, 3);
    EXPECT_EQ(buffer->getVertexCount(), 12u);
    EXPECT_EQ(buffer->getIndexCount(), 3u);
}

// 16-bit indices reach 65535 vertices; more would draw the wrong ones.
TEST(GeometryBufferTest, RefusesToHoldMoreVerticesThanIndicesAddress) {
    CRefPointer<CGeometryBuffer> buffer(new CGeometryBuffer());
    EXPECT_FALSE(buffer->growTo(65536, 6));
    EXPECT_EQ(buffer->getVertexCount(), 0u);
    ASSERT_TRUE(buffer->growTo(65532, 6));
    EXPECT_EQ(buffer->getVertexCount(), 65532u);
    EXPECT_EQ(buffer->getIndexCount(), 6u);

    const CVertex quad[4] = {};
    const uint16_t indices[3] = {0, 1, 2};
    buffer->append(quad, 4, indices, 3);
    EXPECT_EQ(buffer->getVertexCount(), 65532u);
    EXPECT_EQ(buffer->getIndexCount(), 6u);
    buffer->append(quad, 3, indices, 3);
    EXPECT_EQ(buffer->getVertexCount(), 65535u);
    EXPECT_EQ(buffer->getIndices()[8], 65534);
}

TEST(GeometryBufferTest, GrowingKeepsTheRecordsAndZeroesTheNewOnes) {
    CRefPointer<CGeometryBuffer> buffer(new CGeometryBuffer());
    ASSERT_TRUE(buffer->growTo(4, 6));
    buffer->vertices()[3] = vertexAt(9, 9);
    buffer->indices()[5] = 3;
    ASSERT_TRUE(buffer->growTo(8, 12));
    EXPECT_EQ(buffer->vertices()[3].position.x, 9);
    EXPECT_EQ(buffer->indices()[5], 3);
    EXPECT_EQ(buffer->vertices()[7].position.x, 0);
    EXPECT_EQ(buffer->vertices()[7].color.value, 0u);
    EXPECT_EQ(buffer->indices()[11], 0);
    // Never shrinks.
    ASSERT_TRUE(buffer->growTo(4, 6));
    EXPECT_EQ(buffer->getVertexCount(), 8u);
    EXPECT_EQ(buffer->getIndexCount(), 12u);
}

TEST(GeometryBufferTest, TheDriverDrawsItInOneCall) {
    CRefPointer<RecordingRenderDriver> driver(new RecordingRenderDriver());
    CRefPointer<CGeometryBuffer> buffer(new CGeometryBuffer());
    const CVertex quad[4] = {vertexAt(0, 0), vertexAt(1, 0), vertexAt(1, 1), vertexAt(0, 1)};
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    buffer->append(quad, 4, indices, 6);
    buffer->primitiveCount = 2;

    driver->drawGeometryBuffer(buffer.get());
    ASSERT_EQ(driver->draws.size(), 1u);
    const RecordingRenderDriver::Draw& draw = driver->draws[0];
    EXPECT_EQ(draw.primitiveCount, 2u);
    EXPECT_EQ(draw.primitiveType, uint32_t(PRIMITIVE_TRIANGLES));
    EXPECT_EQ(draw.vertexType, uint32_t(VERTEX_TYPE_STANDARD));
    EXPECT_EQ(draw.vertices.size(), 4u);
    EXPECT_EQ(draw.indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
}

} // namespace
