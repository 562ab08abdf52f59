#include "game/screens/EllipseSectorNode.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/MathHelpers.h"
#include "engine/scene/PropertyBindings.h"
#include "game/screens/EllipseProgressBarNode.h"
#include "tests/screens/WidgetFixtures.h"

namespace {

class EllipseSectorNodeTest : public WidgetTest {
protected:
    // A sector "Clock" in the 40 x 20 bounds at (10, 20), so centred on (30, 30).
    GEllipseSectorNode& openSector(const std::string& properties = "") {
        scene = openScene(R"(<SceneNode Type="GEllipseSectorNode"><Properties>
<string Name="Name" Value="Clock"/><vector3d Name="Position" Value="10;20;3"/>
<vector3d Name="Bounds" Value="40;20;0"/>)" +
                          properties + "</Properties></SceneNode>");
        return find<GEllipseSectorNode>(*scene, "Clock");
    }

    static void setInt(BaseNode& node, const char* name, int32_t value) {
        node.setPropertyByIndex(node.findProperty(name), PropertyTraits<int32_t>::make(value));
    }

    static ::testing::AssertionResult at(const CVertex& vertex, float x, float y) {
        if (std::abs(vertex.position.x - x) < 1e-3f && std::abs(vertex.position.y - y) < 1e-3f)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "(" << vertex.position.x << ", " << vertex.position.y << ")";
    }

    CRefPointer<SceneNode> scene;
};

TEST_F(EllipseSectorNodeTest, AFullTurnIsOneFanFromTheCentreRoundToTheTop) {
    GEllipseSectorNode& clock = openSector(R"(<color Name="FillColor" Value="80ff8040"/>
<color Name="TintColor" Value="ff808080"/>)");
    const auto draws = draw(*scene);
    ASSERT_EQ(draws.size(), 1u);
    const RecordingRenderDriver::Draw& fan = draws[0];
    EXPECT_EQ(fan.primitiveType, uint32_t(PRIMITIVE_TRIANGLE_FAN));
    EXPECT_EQ(fan.vertexType, uint32_t(VERTEX_TYPE_STANDARD));
    ASSERT_EQ(fan.vertices.size(), 34u);
    EXPECT_EQ(fan.primitiveCount, 32u);
    EXPECT_TRUE(at(fan.vertices[0], 30, 30)) << "the centre";
    EXPECT_TRUE(at(fan.vertices[1], 30, 20)) << "the top";
    // 45 degrees: the fourth step of 11.25.
    EXPECT_TRUE(at(fan.vertices[5], 30 + 20 * sinTable[45], 30 - 10 * sinTable[135]));
    EXPECT_TRUE(at(fan.vertices[9], 50, 30)) << "90 degrees: the right";
    EXPECT_TRUE(at(fan.vertices[33], 30, 20)) << "the end point closes the ellipse";
    EXPECT_EQ(fan.vertices[0].color.value, 0x80804020u) << "fill colour through the tint";
    EXPECT_EQ(driver->applied.type, uint32_t(MATERIAL_TRANS_VERTEX_ALPHA));
    EXPECT_EQ(driver->applied.depthTest, 0);
    EXPECT_EQ(driver->getMatrix(TRANSFORM_WORLD)[12], 0) << "drawn in screen pixels";
    EXPECT_EQ(collect(*scene)[0].depth, 3) << "sorted by its z";

    clock.setScale({2, 1, 1});
    EXPECT_TRUE(at(draw(*scene)[0].vertices[9], 90, 30)) << "bounds scaled: 80 wide from 10";
}

TEST_F(EllipseSectorNodeTest, TheFanFollowsAnglesAndCountAndStaysBounded) {
    struct Case {
        int32_t angle1;
        int32_t angle2;
        int32_t count;
        size_t vertices; // 0: nothing drawn
    };
    const Case cases[] = {
        {0, 90, 32, 10},
        {90, 90, 32, 0},
        {100, 90, 32, 0},
        {0, 360, 4, 6},
        {-90, 0, 4, 3},
        {0, 360, 5000, 3602}, // at most 3600 points a turn
        {0, 100000, 32, 34},  // one turn at most
        {-2000000000, 2000000000, 32, 35},
    };
    GEllipseSectorNode& clock = openSector();
    for (const Case& c : cases) {
        clock.setAngle1(c.angle1);
        clock.setAngle2(c.angle2);
        clock.setMaxVerticesCount(c.count);
        const std::string name = std::to_string(c.angle1) + ".." + std::to_string(c.angle2) +
                                 " by " + std::to_string(c.count);
        const auto draws = draw(*scene);
        if (c.vertices == 0) {
            EXPECT_TRUE(draws.empty()) << name;
            EXPECT_EQ(clock.getVertices().size(), 2u) << name << ": the centre and the end";
            continue;
        }
        ASSERT_EQ(draws.size(), 1u) << name;
        EXPECT_EQ(draws[0].vertices.size(), c.vertices) << name;
        EXPECT_EQ(draws[0].primitiveCount, c.vertices - 2) << name;
    }
    clock.setAngle1(0);
    clock.setAngle2(90);
    clock.setMaxVerticesCount(32);
    const auto quarter = draw(*scene)[0].vertices;
    EXPECT_TRUE(at(quarter[1], 30, 20)) << "from the top";
    EXPECT_TRUE(at(quarter[9], 50, 30)) << "to the right";
}

TEST_F(EllipseSectorNodeTest, ACountBelowOneIsRefusedWithAWarning) {
    GEllipseSectorNode& clock = openSector(R"(<int Name="MaxVerticesCount" Value="12"/>)");
    for (int32_t count : {0, -5}) {
        ::testing::internal::CaptureStdout();
        setInt(clock, "MaxVerticesCount", count);
        const std::string log = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(clock.getMaxVerticesCount(), 12) << count;
        EXPECT_NE(log.find("WRN: GEllipseSectorNode \"Clock\": MaxVerticesCount below 1"),
                  std::string::npos)
            << log;
    }
    const CRefPointer<BaseNode> copy = clock.clone(scene.get(), nullptr);
    EXPECT_EQ(static_cast<GEllipseSectorNode&>(*copy).getMaxVerticesCount(), 12) << "copied";
    setInt(clock, "MaxVerticesCount", 100000);
    EXPECT_EQ(clock.getMaxVerticesCount(), 3600);
}

TEST_F(EllipseSectorNodeTest, ATransparentTintHidesTheSectorButNotItsChildren) {
    scene = openScene(R"(<SceneNode Type="GEllipseSectorNode"><Properties>
<string Name="Name" Value="Faded"/><color Name="TintColor" Value="00ffffff"/></Properties>
<SceneNode Type="ControlNode"><Properties><string Name="Name" Value="Inner"/>
<bool Name="ChildrenClipped" Value="true"/></Properties><SceneNode Type="BaseNode"/></SceneNode>
</SceneNode>)");
    // Transparent too, the clipping control still draws itself: the sector let it collect.
    const RenderList list = collect(*scene);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].node, &find<BaseNode>(*scene, "Inner"));
}

// A pie bar "Bar" of the range and value, filling by the type.
class EllipseProgressBarNodeTest : public EllipseSectorNodeTest {
protected:
    EllipseProgressBarNode& openBar(float minimum, float maximum, float value, int32_t fillType) {
        scene = openScene(R"(<SceneNode Type="EllipseProgressBarNode"><Properties>
<string Name="Name" Value="Bar"/><string Name="TemplateName" Value="Pie"/>
<float Name="MinValue" Value=")" +
                          std::to_string(minimum) + R"("/><float Name="MaxValue" Value=")" +
                          std::to_string(maximum) + R"("/><float Name="Value" Value=")" +
                          std::to_string(value) + R"("/><int Name="FillType" Value=")" +
                          std::to_string(fillType) + R"("/></Properties></SceneNode>)");
        return find<EllipseProgressBarNode>(*scene, "Bar");
    }
};

TEST_F(EllipseProgressBarNodeTest, TheValueTurnsTheTemplatesEllipse) {
    struct Case {
        float minimum;
        float maximum;
        float value;
        int32_t fillType;
        int32_t angle1;
        int32_t angle2;
    };
    const Case cases[] = {
        {0, 100, 25, 0, 0, 90},   {0, 100, 25, 1, 90, 360}, {0, 100, 0.2f, 0, 0, 1},
        {5, 5, 5, 0, 0, 0},       {5, 5, 5, 1, 0, 360},     {0, 100, 25, 2, 0, 360},
        {0, 100, 300, 0, 0, 360}, // written outside the range
    };
    for (const Case& c : cases) {
        EllipseProgressBarNode& bar = openBar(c.minimum, c.maximum, c.value, c.fillType);
        const std::string name = std::to_string(c.value) + " of " + std::to_string(c.minimum) +
                                 ".." + std::to_string(c.maximum) + " type " +
                                 std::to_string(c.fillType);
        ASSERT_NE(bar.getEllipse(), nullptr) << name;
        EXPECT_EQ(bar.getEllipse()->getAngle1(), c.angle1) << name;
        EXPECT_EQ(bar.getEllipse()->getAngle2(), c.angle2) << name;
    }

    EllipseProgressBarNode& bar = openBar(0, 100, 50, 0);
    bar.setValue(75);
    EXPECT_EQ(bar.getEllipse()->getAngle2(), 270);
    const CRefPointer<BaseNode> copy = bar.clone(scene.get(), nullptr);
    auto& copied = static_cast<EllipseProgressBarNode&>(*copy);
    ASSERT_NE(copied.getEllipse(), nullptr);
    EXPECT_NE(copied.getEllipse(), bar.getEllipse()) << "its own copy of the template";
    copied.setValue(25);
    EXPECT_EQ(copied.getEllipse()->getAngle2(), 90);
    EXPECT_EQ(bar.getEllipse()->getAngle2(), 270);
}

} // namespace
