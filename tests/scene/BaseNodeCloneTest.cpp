#include "engine/scene/BaseNode.h"

#include <gtest/gtest.h>

#include "engine/core/Properties.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "tests/scene/SceneTestNodes.h"

namespace {

// Counts OnLoaded calls.
class LoadingNode : public NodeClass<LoadingNode, LoggingNode> {
public:
    static constexpr uint32_t kTypeId = 902;
    static constexpr const char16_t* kTypeName = u"LoadingNode";
    using NodeClass::NodeClass;
    void OnLoaded() override { ++loaded; }
    int loaded = 0;
};

CRefPointer<CProperties> savedProperties(const BaseNode& node) {
    CRefPointer<CProperties> properties(new CProperties());
    node.saveProperties(*properties);
    return properties;
}

TEST(BaseNodeCloneTest, ACloneCopiesMembersListedChildrenAndStatesAndEntersItsDefaultState) {
    CRefPointer<SceneManager> manager(new SceneManager(CContentKey(), nullptr, nullptr));
    const CRefPointer<LoadingNode> source = makeNode<LoadingNode>("source");
    source->setPosition({1, 2, 3});
    source->setTintColor(CColor(0x11223344u));
    source->setChildrenClipped(true);
    source->setCanBeHit(false);
    source->setDefaultState(nameId("Idle"));
    CRefPointer<NodeState> idle(new NodeState(nameId("Idle")));
    idle->setNextState(nameId("Walk"));
    source->addState(idle.get());
    makeNode("a", source.get());
    makeNode("b", source.get())->setVisible(false);
    const CRefPointer<LoggingNode> internal = makeNode("internal");
    internal->setInternal(true);
    internal->setParent(source.get());
    internal->release(); // an owner keeps the reference the attachment added
    // Spawned among the children, then made internal: its maker's, not copied either.
    makeNode("spawned", source.get())->setInternal(true);

    const CRefPointer<LoggingNode> parent(new LoggingNode(CContentKey(), nullptr, manager.get()));
    const CRefPointer<BaseNode> copy = source->clone(parent.get(), nullptr);

    ASSERT_TRUE(copy->isKindOf(LoadingNode::kTypeId));
    EXPECT_EQ(static_cast<LoadingNode&>(*copy).loaded, 1);
    EXPECT_EQ(copy->getRefCount(), 2); // the parent's and ours
    EXPECT_EQ(copy->getParent(), parent.get());
    EXPECT_EQ(copy->getSceneManager(), manager.get());
    const CRefPointer<CProperties> expected = savedProperties(*source);
    const CRefPointer<CProperties> actual = savedProperties(*copy);
    ASSERT_EQ(actual->getCount(), expected->getCount());
    for (int32_t i = 0; i < expected->getCount(); ++i)
        EXPECT_TRUE(actual->getValueAt(i)->equals(expected->getValueAt(i).get()));

    ASSERT_EQ(copy->getChildCount(), 2u);
    EXPECT_EQ(copy->getChild(0)->getName(), nameId("a"));
    EXPECT_FALSE(copy->getChild(1)->isVisible());
    EXPECT_EQ(copy->getChild(1)->getSceneManager(), manager.get());

    NodeState* copiedIdle = copy->findState(nameId("Idle"));
    ASSERT_NE(copiedIdle, nullptr);
    EXPECT_NE(copiedIdle, idle.get());
    EXPECT_EQ(copiedIdle->getTarget(), copy.get());
    EXPECT_EQ(copiedIdle->getNextState(), nameId("Walk"));
    EXPECT_EQ(copy->getCurrentState(), copiedIdle);
    EXPECT_EQ(source->getCurrentState(), nullptr);
}

TEST(BaseNodeCloneTest, WithoutAParentTheCallerOwnsTheCopy) {
    const CRefPointer<LoggingNode> source = makeNode("source");
    const CRefPointer<BaseNode> copy = source->clone(nullptr, nullptr);
    EXPECT_EQ(copy->getRefCount(), 1);
    EXPECT_EQ(copy->getName(), nameId("source"));
    const CRefPointer<CContent> content = source->makeCopy();
    EXPECT_EQ(content->getContentType(), contentType("snod"));
    EXPECT_EQ(content->getRefCount(), 1);
}

} // namespace
