#include "engine/video/QuadBatcher.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/video/RecordingRenderDriver.h"

namespace {

class QuadBatcherTest : public ::testing::Test {
protected:
    RenderMaterial materialWith(int texture) {
        RenderMaterial material;
        material.layers[0].texture = fakeImageTexture(texture);
        return material;
    }

    // A unit quad at (index, 0) whose corner 0 carries the index as its colour.
    void addQuad(const RenderMaterial& material, uint32_t index) {
        const float x = float(index);
        const CVector2d corners[4] = {{x, 0}, {x + 1, 0}, {x + 1, 1}, {x, 1}};
        const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        batcher->addQuad(&material, corners, texCoords, 0.5f, CColor(index));
    }

    CRefPointer<FakeMeshBuffer> makeMesh(uint32_t vertexCount, std::vector<uint16_t> indices,
                                         uint32_t primitiveCount) {
        CRefPointer<FakeMeshBuffer> mesh(new FakeMeshBuffer());
        for (uint32_t i = 0; i < vertexCount; ++i)
            mesh->vertices.push_back({{float(i), 0, 0}, CColor(i), {0, 0}});
        mesh->indices = std::move(indices);
        mesh->primitiveCount = primitiveCount;
        return mesh;
    }

    CRefPointer<RecordingRenderDriver> driver{new RecordingRenderDriver()};
    CQuadBatcher* batcher = driver->getQuadBatcher();
};

TEST_F(QuadBatcherTest, TheQuadAfter1023FlushesTheFirst1023) {
    const RenderMaterial material = materialWith(0);
    for (uint32_t i = 0; i < 1023; ++i)
        addQuad(material, i);
    EXPECT_TRUE(driver->draws.empty());

    addQuad(material, 1023);
    ASSERT_EQ(driver->draws.size(), 1u);
    const RecordingRenderDriver::Draw& full = driver->draws[0];
    EXPECT_EQ(full.primitiveCount, 2046u);
    EXPECT_EQ(full.vertices.size(), 4092u);
    EXPECT_EQ(full.vertexType, uint32_t(VERTEX_TYPE_STANDARD));
    EXPECT_EQ(full.primitiveType, uint32_t(PRIMITIVE_TRIANGLES));
    EXPECT_EQ(full.texture, fakeImageTexture(0));
    const std::vector<uint16_t> firstQuad(full.indices.begin(), full.indices.begin() + 6);
    EXPECT_EQ(firstQuad, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
    const std::vector<uint16_t> lastQuad(full.indices.end() - 6, full.indices.end());
    EXPECT_EQ(lastQuad, (std::vector<uint16_t>{4088, 4089, 4090, 4088, 4090, 4091}));
    EXPECT_EQ(batcher->getVertexCount(), 4u);

    batcher->flush();
    ASSERT_EQ(driver->draws.size(), 2u);
    EXPECT_EQ(driver->draws[1].primitiveCount, 2u);
    EXPECT_EQ(driver->draws[1].vertices[0].color.value, 1023u);
}

TEST_F(QuadBatcherTest, QuadsAreStoredCornerByCornerAndATextureChangeFlushes) {
    const RenderMaterial first = materialWith(0);
    const RenderMaterial second = materialWith(1);
    addQuad(first, 1);
    addQuad(first, 2);
    CQuadRecord record;
    record.material = &second;
    for (int corner = 0; corner < 4; ++corner)
        record.vertices[corner] = {{float(corner), 9, 2}, CColor(0xFF00FF00), {0.25f, 0.75f}};
    batcher->addQuadVertices(record);
    batcher->addQuadVertices(CQuadRecord());
    batcher->addQuad(nullptr, {}, {}, 0, CColor());
    batcher->flush();

    ASSERT_EQ(driver->draws.size(), 2u);
    const RecordingRenderDriver::Draw& quads = driver->draws[0];
    EXPECT_EQ(quads.texture, fakeImageTexture(0));
    EXPECT_EQ(quads.primitiveCount, 4u);
    ASSERT_EQ(quads.vertices.size(), 8u);
    const CVertex& corner2 = quads.vertices[6];
    EXPECT_EQ(corner2.position, CVector3d(3, 1, 0.5f));
    EXPECT_EQ(corner2.color.value, 2u);
    EXPECT_EQ(corner2.texCoord, CVector2d(1, 1));

    const RecordingRenderDriver::Draw& recorded = driver->draws[1];
    EXPECT_EQ(recorded.texture, fakeImageTexture(1));
    ASSERT_EQ(recorded.vertices.size(), 4u);
    EXPECT_EQ(recorded.vertices[3].position, CVector3d(3, 9, 2));
    EXPECT_EQ(recorded.vertices[3].texCoord, CVector2d(0.25f, 0.75f));
}

TEST_F(QuadBatcherTest, MeshesOfOneMaterialShareADrawWithRebasedIndices) {
    auto triangle = makeMesh(3, {0, 1, 2}, 1);
    auto square = makeMesh(4, {0, 1, 2, 0, 2, 3}, 2);
    batcher->addMesh(triangle.get());
    batcher->addMesh(square.get());
    batcher->addMesh(nullptr);
    EXPECT_TRUE(driver->draws.empty());

    // A quad of the same material switches back to quads, which flushes the meshes first.
    addQuad(RenderMaterial(), 0);
    ASSERT_EQ(driver->draws.size(), 1u);
    const RecordingRenderDriver::Draw& meshes = driver->draws[0];
    EXPECT_EQ(meshes.primitiveCount, 3u);
    EXPECT_EQ(meshes.primitiveType, uint32_t(PRIMITIVE_TRIANGLES));
    EXPECT_EQ(meshes.vertices.size(), 7u);
    EXPECT_EQ(meshes.vertices[6].position.x, 3);
    EXPECT_EQ(meshes.indices, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5, 3, 5, 6}));
}

TEST_F(QuadBatcherTest, AMeshTooLargeForTheBuffersIsDrawnOnItsOwn) {
    struct Case {
        uint32_t vertexCount;
        uint32_t indexCount;
    };
    const Case cases[] = {{CQuadBatcher::kVertexCapacity, 3},
                          {10, CQuadBatcher::kIndexCapacity + 3}};
    for (const Case& c : cases) {
        driver->draws.clear();
        addQuad(RenderMaterial(), 0);
        auto mesh =
            makeMesh(c.vertexCount, std::vector<uint16_t>(c.indexCount, 1), c.indexCount / 3);
        mesh->material.layers[0].texture = fakeImageTexture(2);
        batcher->addMesh(mesh.get());

        ASSERT_EQ(driver->draws.size(), 2u) << c.vertexCount;
        EXPECT_EQ(driver->draws[0].vertices.size(), 4u);
        EXPECT_EQ(driver->draws[1].vertices.size(), c.vertexCount);
        EXPECT_EQ(driver->draws[1].primitiveCount, c.indexCount / 3);
        EXPECT_EQ(driver->draws[1].texture, fakeImageTexture(2));
        EXPECT_EQ(batcher->getPrimitiveCount(), 0u);
        batcher->flush();
        EXPECT_EQ(driver->draws.size(), 2u);
    }
}

TEST_F(QuadBatcherTest, AMeshReachingTheDriverMaximumIsIgnored) {
    driver->maxPrimitives = 4;
    addQuad(RenderMaterial(), 0);
    auto mesh = makeMesh(12, std::vector<uint16_t>(12, 0), 4);
    mesh->material.type = MATERIAL_TRANS_ADD;
    batcher->addMesh(mesh.get());
    EXPECT_TRUE(driver->draws.empty());
    EXPECT_EQ(batcher->getVertexCount(), 4u);
}

TEST_F(QuadBatcherTest, AnEmptyBatchLeavesTheDriverAlone) {
    batcher->flush();
    batcher->end();
    EXPECT_EQ(driver->applyCount, 0);
    EXPECT_TRUE(driver->draws.empty());

    // begin drops what was collected.
    addQuad(materialWith(1), 0);
    batcher->begin();
    batcher->flush();
    EXPECT_EQ(driver->applyCount, 0);
    EXPECT_TRUE(driver->draws.empty());
}

} // namespace
