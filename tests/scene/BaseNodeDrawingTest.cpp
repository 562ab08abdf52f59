#include "engine/scene/BaseNode.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/scene/SceneManager.h"
#include "tests/scene/DrawingFixtures.h"
#include "tests/scene/SceneTestNodes.h"

namespace {

class BaseNodeDrawingTest : public ::testing::Test {
protected:
    CRefPointer<LoggingNode> clippedParent(bool sorted) {
        CRefPointer<LoggingNode> node(new LoggingNode(CContentKey(), nullptr, manager.get()));
        manager->setDepthSortEnabled(sorted);
        node->setChildrenClipped(true);
        node->setPosition({10, 20, 0});
        node->setBounds({30, 40, 0});
        return node;
    }

    DrawLog log;
    CRefPointer<ScissorDriver> driver{new ScissorDriver(log)};
    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
};

TEST_F(BaseNodeDrawingTest, AClippedNodeDrawsItsChildrenByDepthThenKeyInsideTheScissor) {
    const CRefPointer<LoggingNode> parent = clippedParent(true);
    auto* far = new DrawingNode("far", parent.get(), 5, 2, log);
    auto* nearer = new DrawingNode("near-b", parent.get(), -1, 9, log);
    auto* sameDepth = new DrawingNode("near-a", parent.get(), -1, 0x80000000u, log);
    (new DrawingNode("middle", far, -2, 0, log))->release(); // depth 5 - 2 = 3
    for (BaseNode* node : {static_cast<BaseNode*>(far), static_cast<BaseNode*>(nearer),
                           static_cast<BaseNode*>(sameDepth)})
        node->release();

    RenderList list;
    parent->collectDrawables(list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].node, parent.get());

    driver->getQuadBatcher()->begin();
    parent->render(driver.get(), nullptr);
    EXPECT_EQ(log, (DrawLog{"scissor 10,20,40,60", "scissor on", "render near-b", "render near-a",
                            "render middle", "render far", "draw 4 quads", "scissor off"}));
}

TEST_F(BaseNodeDrawingTest, UnsortedManagersKeepTreeOrderAndAMirroredNodeGivesAnOrderedRectangle) {
    const CRefPointer<LoggingNode> parent = clippedParent(false);
    parent->setScale({-1, -1, 1});
    new DrawingNode("first", parent.get(), 5, 0, log);
    new DrawingNode("second", parent.get(), -5, 0, log);
    parent->getChild(0)->release();
    parent->getChild(1)->release();
    RenderList list;
    parent->collectDrawables(list);
    parent->render(driver.get(), nullptr);
    EXPECT_EQ(log, (DrawLog{"scissor -20,-20,10,20", "scissor on", "render first", "render second",
                            "draw 2 quads", "scissor off"}));
}

TEST_F(BaseNodeDrawingTest, HiddenNodesAndEmptyClippedNodesAddNothing) {
    const CRefPointer<LoggingNode> root = makeNode("root");
    const CRefPointer<LoggingNode> empty = clippedParent(true);
    root->appendChild(empty.get());
    const CRefPointer<LoggingNode> hidden = makeNode("hidden", root.get());
    hidden->setVisible(false);
    new DrawingNode("inside hidden", hidden.get(), 0, 0, log);
    hidden->getChild(0)->release();
    const CRefPointer<LoggingNode> shown = makeNode("shown", root.get());
    new DrawingNode("drawn", shown.get(), 0, 0, log);
    shown->getChild(0)->release();

    RenderList list;
    root->collectDrawables(list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].node->getName(), nameId("drawn"));
    empty->render(driver.get(), nullptr);
    EXPECT_TRUE(log.empty());
}

TEST(RenderListTest, SortsByDepthThenUnsignedKeyWhateverTheFloats) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    RenderList list;
    const Drawable entries[] = {
        {nullptr, 5, 0},     {nullptr, -1, 7},   {nullptr, 3, 0}, {nullptr, -1, 0xFFFFFFFFu},
        {nullptr, -0.0f, 4}, {nullptr, 0.0f, 3}, {nullptr, -1, 2}};
    for (const Drawable& entry : entries)
        list.append(entry);
    for (int i = 0; i < 50; ++i)
        list.append({nullptr, i % 2 ? nan : 1.0f, uint32_t(i)});
    sortRenderList(list);

    std::vector<std::pair<float, uint32_t>> head;
    for (uint32_t i = 0; i < 6; ++i)
        head.push_back({list[i].depth, list[i].sortKey});
    EXPECT_EQ(head, (std::vector<std::pair<float, uint32_t>>{
                        {-1, 2}, {-1, 7}, {-1, 0xFFFFFFFFu}, {0, 3}, {0, 4}, {1, 0}}));
    EXPECT_EQ(list.size(), 57u);
}

} // namespace
