#include "game/screens/SectorSpriteNode.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/scene/SpriteFixtures.h"
#include "tests/screens/WidgetFixtures.h"

namespace {

// Records the world matrix each draw is made with.
class WorldRecordingDriver : public RecordingRenderDriver {
public:
    void setMatrix(uint32_t slot, const CMatrix4& matrix) override {
        RecordingRenderDriver::setMatrix(slot, matrix);
        if (slot == TRANSFORM_WORLD)
            world = matrix;
    }
    void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override {
        worlds.push_back(world);
        RecordingRenderDriver::drawPrimitives(vertices, vertexCount, indices, primitiveCount,
                                              vertexType, indexType, primitiveType);
    }

    CMatrix4 world;
    std::vector<CMatrix4> worlds;
};

// A point of the mesh: where in the node and where on the page.
struct MeshPoint {
    float x;
    float y;
    float u;
    float v;
};

::testing::AssertionResult isPoint(const CVertex& vertex, const MeshPoint& p) {
    const bool near =
        std::abs(vertex.position.x - p.x) < 1e-3f && std::abs(vertex.position.y - p.y) < 1e-3f &&
        std::abs(vertex.texCoord.x - p.u) < 1e-5f && std::abs(vertex.texCoord.y - p.v) < 1e-5f;
    if (near)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << vertex.position.x << ", " << vertex.position.y << ") at (" << vertex.texCoord.x
           << ", " << vertex.texCoord.y << ")";
}

// The 100 x 50 image: its centre, the middles of its edges and its corners.
const MeshPoint kCentre{50, 25, 0.5f, 0.5f};
const MeshPoint kTop{50, 0, 0.5f, 0};
const MeshPoint kTopRight{100, 0, 1, 0};
const MeshPoint kRight{100, 25, 1, 0.5f};
const MeshPoint kBottomRight{100, 50, 1, 1};
const MeshPoint kBottomLeft{0, 50, 0, 1};
const MeshPoint kTopLeft{0, 0, 0, 0};

// The share of its edge a rim point lies at, degrees past the middle of an edge whose corner
// lies the given degrees away from its middle.
float edgeShare(float degrees, float toCorner) {
    return 0.5f + 0.5f * degrees / toCorner;
}
// From the middle of a long edge to a corner: 90 degrees less the diagonal's angle.
const float kLongHalf = 90 - std::atan(0.5f) * 180 / float(M_PI);

class SectorSpriteNodeTest : public WidgetTest {
protected:
    // A sector sprite "Dial" of "images/Wide.png" at (10, 20, 4).
    GSectorSpriteNode& openDial(const std::string& properties = "") {
        scene = openScene(R"(<SceneNode Type="GSectorSpriteNode"><Properties>
<string Name="Name" Value="Dial"/><vector3d Name="Position" Value="10;20;4"/>
<atlasTexture Name="AtlasTexture" Value="images/Wide.png"/>)" +
                          properties + "</Properties></SceneNode>");
        return find<GSectorSpriteNode>(*scene, "Dial");
    }

    // The triangles of the mesh after a render pass, each as its two rim points.
    void expectTriangles(GSectorSpriteNode& dial, const std::vector<MeshPoint>& rim,
                         const std::string& name) {
        collect(*scene);
        const CArray<CVertex>& mesh = dial.getVertices();
        EXPECT_EQ(mesh.size(), rim.size() / 2 * 3) << name;
        for (uint32_t i = 0; i < mesh.size() && i / 3 * 2 + 1 < rim.size(); i += 3) {
            EXPECT_TRUE(isPoint(mesh[i], kCentre)) << name << " triangle " << i / 3;
            EXPECT_TRUE(isPoint(mesh[i + 1], rim[i / 3 * 2])) << name << " triangle " << i / 3;
            EXPECT_TRUE(isPoint(mesh[i + 2], rim[i / 3 * 2 + 1])) << name << " triangle " << i / 3;
        }
    }

    CRefPointer<SceneNode> scene;
};

TEST_F(SectorSpriteNodeTest, TheRimRunsAlongTheImagesEdgesWithTheCornersAtTheirAngles) {
    struct Case {
        float angle1;
        float angle2;
        std::vector<MeshPoint> rim;
    };
    const Case cases[] = {
        {0, 90, {kTop, kTopRight, kTopRight, kRight}},
        {0,
         360,
         {kTop, kTopRight, kTopRight, kBottomRight, kBottomRight, kBottomLeft, kBottomLeft,
          kTopLeft, kTopLeft, kTop}},
        {90, 180, {kRight, kBottomRight, kBottomRight, {50, 50, 0.5f, 1}}},
        {45,
         45,
         {{100 * edgeShare(45, kLongHalf), 0, edgeShare(45, kLongHalf), 0},
          {100 * edgeShare(45, kLongHalf), 0, edgeShare(45, kLongHalf), 0}}},
        // Clamped to one turn, the end never before the start.
        {-30, 90, {kTop, kTopRight, kTopRight, kRight}},
        {std::nanf(""), 90, {kTop, kTopRight, kTopRight, kRight}},
        {0,
         720,
         {kTop, kTopRight, kTopRight, kBottomRight, kBottomRight, kBottomLeft, kBottomLeft,
          kTopLeft, kTopLeft, kTop}},
        {200,
         100,
         {{100 - 100 * edgeShare(20, kLongHalf), 50, 1 - edgeShare(20, kLongHalf), 1},
          {100 - 100 * edgeShare(20, kLongHalf), 50, 1 - edgeShare(20, kLongHalf), 1}}},
    };
    GSectorSpriteNode& dial = openDial();
    for (const Case& c : cases) {
        dial.setAngle1(c.angle1);
        dial.setAngle2(c.angle2);
        EXPECT_TRUE(dial.isMeshDirty());
        expectTriangles(dial, c.rim, std::to_string(c.angle1) + ".." + std::to_string(c.angle2));
        EXPECT_FALSE(dial.isMeshDirty());
    }
}

TEST_F(SectorSpriteNodeTest, TheMeshIsDrawnAsTrianglesThroughTheNodesTransform) {
    GSectorSpriteNode& dial = openDial(R"(<float Name="Angle2" Value="90"/>
<color Name="FillColor" Value="80ff8040"/><color Name="TintColor" Value="ff808080"/>)");
    const RenderList list = collect(*scene);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].depth, 4);
    const CRefPointer<WorldRecordingDriver> world(new WorldRecordingDriver());
    dial.render(world.get(), nullptr);
    ASSERT_EQ(world->draws.size(), 1u);
    const RecordingRenderDriver::Draw& mesh = world->draws[0];
    EXPECT_EQ(mesh.primitiveType, uint32_t(PRIMITIVE_TRIANGLES));
    EXPECT_EQ(mesh.primitiveCount, 2u);
    EXPECT_EQ(mesh.texture, dial.getAtlasTexture()->getPage());
    EXPECT_EQ(mesh.vertices[0].color.value, 0x80804020u) << "fill colour through the tint";
    EXPECT_EQ(world->applied.type, uint32_t(MATERIAL_TRANS_ALPHACH_VERTEXALPHA));
    EXPECT_EQ(world->applied.layers[0].wrapMode, 1);
    EXPECT_EQ(world->worlds[0][12], 10);
    EXPECT_EQ(world->worlds[0][13], 20);
    EXPECT_EQ(world->world[12], 0) << "the identity again afterwards";

    dial.setFillColor(CColor(0xFF00FF00u));
    EXPECT_FALSE(dial.isMeshDirty()) << "a colour is no reason to build the mesh again";
    collect(*scene);
    EXPECT_EQ(dial.getVertices()[0].color.value, 0xFF008000u);
    EXPECT_EQ(dial.getVertices()[5].color.value, 0xFF008000u);
}

TEST_F(SectorSpriteNodeTest, WithoutAnImageOfSomeSizeNothingIsDrawnButTheChildren) {
    scene = openScene(R"(<SceneNode Type="GSectorSpriteNode"><Properties>
<string Name="Name" Value="Dial"/></Properties>
<SceneNode Type="GSectorSpriteNode"><Properties><string Name="Name" Value="Inner"/>
<atlasTexture Name="AtlasTexture" Value="images/Wide.png"/></Properties></SceneNode>
</SceneNode>)");
    const RenderList list = collect(*scene);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].node, &find<BaseNode>(*scene, "Inner"));
    EXPECT_EQ(find<GSectorSpriteNode>(*scene, "Dial").getVertices().size(), 0u);

    GSectorSpriteNode& inner = find<GSectorSpriteNode>(*scene, "Inner");
    for (CRect pixels : {CRect(0, 0, 0, 50), CRect(0, 0, 100, 0)}) {
        const CRefPointer<CAtlasTexture> flat = makeAtlasTexture(
            u"flat.png", 100, 50, 100, 50, pixels, [](int32_t, int32_t) { return 0xFFFFFFFFu; });
        inner.setAtlasTexture(flat.get());
        EXPECT_TRUE(draw(*scene).empty());
        EXPECT_EQ(inner.getVertices().size(), 0u);
    }
}

} // namespace
