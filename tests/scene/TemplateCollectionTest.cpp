#include "engine/scene/TemplateCollectionNode.h"

#include <gtest/gtest.h>

#include "engine/scene/NodeState.h"
#include "tests/scene/SceneFileFixtures.h"
#include "tests/scene/SceneTestNodes.h"

namespace {

TEST(TemplateCollectionTest, TemplatesAreFoundByNameAndTheFirstOfANameWins) {
    const CRefPointer<TemplateCollectionNode> templates(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    const CRefPointer<LoggingNode> first = makeNode("Panel", templates.get());
    makeNode("Panel", templates.get());
    templates->OnLoaded();
    EXPECT_EQ(templates->getTemplate(nameId("Panel")), first.get());

    const CRefPointer<LoggingNode> late = makeNode("Late", templates.get());
    EXPECT_EQ(templates->getTemplate(nameId("Late")), nullptr);
    templates->OnLoaded();
    EXPECT_EQ(templates->getTemplate(nameId("Late")), late.get());
    EXPECT_EQ(templates->getTemplate(nameId("Panel")), first.get());
}

TEST(TemplateCollectionTest, ApplyingReplacesChildrenAndStatesAndEntersTheNodesDefaultState) {
    const CRefPointer<TemplateCollectionNode> templates(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    const CRefPointer<LoggingNode> pattern = makeNode("Card", templates.get());
    makeNode("face", pattern.get());
    CRefPointer<NodeState> shown(new NodeState(nameId("Shown")));
    pattern->addState(shown.get());
    pattern->setDefaultState(nameId("Other"));
    templates->OnLoaded();

    const CRefPointer<LoggingNode> node = makeNode("node");
    makeNode("old", node.get());
    node->setDefaultState(nameId("Shown"));
    EXPECT_TRUE(templates->applyTemplate(nameId("Card"), node.get()));
    EXPECT_TRUE(templates->applyTemplate(nameId("Card"), node.get()));
    ASSERT_EQ(node->getChildCount(), 1u);
    EXPECT_EQ(node->getChild(0)->getName(), nameId("face"));
    ASSERT_NE(node->findState(nameId("Shown")), nullptr);
    EXPECT_NE(node->findState(nameId("Shown")), shown.get());
    EXPECT_EQ(node->getCurrentState(), node->findState(nameId("Shown")));
    EXPECT_EQ(node->getDefaultState(), nameId("Shown"));

    EXPECT_FALSE(templates->applyTemplate(nameId("Missing"), node.get()));
    EXPECT_EQ(node->getChildCount(), 0u);
    templates->applyTemplate(nameId("Card"), node.get());
    EXPECT_TRUE(templates->applyTemplate(CNameId(), node.get()));
    EXPECT_EQ(node->getChildCount(), 0u);
    EXPECT_EQ(node->getStates().size(), 0u);
    EXPECT_EQ(node->getCurrentState(), nullptr);
}

TEST(TemplateCollectionTest, ACollectionFileLoadedTwiceIsOneSharedObject) {
    SceneFiles scenes;
    scenes.files->add(u"templates.qscn",
                      "<SceneNode Type=\"TemplateCollectionNode\"><SceneNode Type=\"BaseNode\">"
                      "<Properties><string Name=\"Name\" Value=\"Box\"/></Properties></SceneNode>"
                      "</SceneNode>");
    const CRefPointer<BaseNode> first = scenes.load(u"templates.qscn");
    const CRefPointer<BaseNode> second = scenes.load(u"templates.qscn");
    ASSERT_TRUE(first);
    EXPECT_EQ(first.get(), second.get());
    EXPECT_NE(static_cast<TemplateCollectionNode&>(*first).getTemplate(nameId("Box")), nullptr);
}

} // namespace
