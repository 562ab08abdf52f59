#include "engine/scene/BaseNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "tests/scene/SceneTestNodes.h"

namespace {

std::vector<std::string> childNames(const BaseNode& node) {
    std::vector<std::string> names;
    for (uint32_t i = 0; i < node.getChildCount(); ++i)
        names.push_back(node.getChild(i)->getName().toString().c_str());
    return names;
}

TEST(BaseNodeTreeTest, FindChildSearchesAsDeepAsTheDepthSays) {
    // root - a - b - c: a child, a grandchild and a great-grandchild.
    const CRefPointer<LoggingNode> root = makeNode("root");
    const CRefPointer<LoggingNode> a = makeNode("a", root.get());
    const CRefPointer<LoggingNode> b = makeNode("b", a.get());
    const CRefPointer<LoggingNode> c = makeNode("c", b.get());
    struct Case {
        const char* name;
        int32_t depth;
        BaseNode* expected;
    };
    const Case cases[] = {
        {"a", 1, a.get()}, {"b", 1, nullptr},    {"b", 2, b.get()},  {"c", 2, nullptr},
        {"c", 3, c.get()}, {"c", 0, c.get()},    {"c", -1, c.get()}, {"b", -2, nullptr},
        {"x", 0, nullptr}, {"root", 0, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(root->findChild(nameId(c.name), c.depth), c.expected) << c.name << " " << c.depth;
}

TEST(BaseNodeTreeTest, FindChildPrefersTheDirectChildrenOverDeeperNodes) {
    const CRefPointer<LoggingNode> root = makeNode("root");
    const CRefPointer<LoggingNode> first = makeNode("first", root.get());
    const CRefPointer<LoggingNode> deep = makeNode("twin", first.get());
    const CRefPointer<LoggingNode> shallow = makeNode("twin", root.get());
    EXPECT_EQ(root->findChild(nameId("twin"), 0), shallow.get());
}

TEST(BaseNodeTreeTest, AddChildPlacesAfterTheSiblingFirstOrLast) {
    struct Case {
        const char* sibling;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"s2", {"s1", "s2", "new", "s3"}},
        {nullptr, {"new", "s1", "s2", "s3"}},
        {"stranger", {"s1", "s2", "s3", "new"}},
    };
    for (const Case& c : cases) {
        const CRefPointer<LoggingNode> parent = makeNode("parent");
        makeNode("s1", parent.get());
        makeNode("s2", parent.get());
        makeNode("s3", parent.get());
        const CRefPointer<LoggingNode> stranger = makeNode("stranger");
        const CRefPointer<LoggingNode> added = makeNode("new");
        BaseNode* sibling = c.sibling == nullptr ? nullptr
                                                 : (std::string(c.sibling) == "stranger"
                                                        ? stranger.get()
                                                        : parent->findChild(nameId(c.sibling), 1));
        parent->addChild(added.get(), sibling);
        EXPECT_EQ(childNames(*parent), c.order) << (c.sibling ? c.sibling : "none");
        EXPECT_EQ(added->getParent(), parent.get());
    }
}

// Only the drawing order changes: the nodes keep their parent and their scene.
TEST(BaseNodeTreeTest, SwappingChildrenChangesOnlyTheirOrder) {
    const CRefPointer<LoggingNode> parent = makeNode("parent");
    const CRefPointer<SceneNode> scene(new SceneNode(CContentKey(), nullptr, nullptr));
    for (const char* name : {"a", "b", "c"})
        makeNode(name, parent.get());
    parent->setScene(nullptr, scene.get());
    parent->swapChildren(0, 2);
    EXPECT_EQ(childNames(*parent), (std::vector<std::string>{"c", "b", "a"}));
    parent->swapChildren(1, 3);
    EXPECT_EQ(childNames(*parent), (std::vector<std::string>{"c", "b", "a"})) << "out of range";
    EXPECT_EQ(parent->getChild(0)->getScene(), scene.get());
    EXPECT_EQ(parent->getChild(0)->getParent(), parent.get());
}

TEST(BaseNodeTreeTest, MovingANodeTakesItFromItsOldParent) {
    CRefPointer<SceneManager> manager(new SceneManager(CContentKey(), nullptr, nullptr));
    const CRefPointer<LoggingNode> oldParent = makeNode("old");
    const CRefPointer<LoggingNode> newParent(
        new LoggingNode(CContentKey(), nullptr, manager.get()));
    const CRefPointer<LoggingNode> child = makeNode("child", oldParent.get());
    makeNode("grandchild", child.get());

    newParent->appendChild(child.get());
    EXPECT_EQ(oldParent->getChildCount(), 0u);
    EXPECT_EQ(childNames(*newParent), std::vector<std::string>{"child"});
    EXPECT_EQ(child->getRefCount(), 2); // the caller and the new parent
    EXPECT_EQ(child->getChild(0)->getSceneManager(), manager.get());

    // Appending an existing child again moves it to the end.
    makeNode("later", newParent.get());
    newParent->appendChild(child.get());
    EXPECT_EQ(childNames(*newParent), (std::vector<std::string>{"later", "child"}));
}

TEST(BaseNodeTreeTest, NodesThatWouldMakeALoopAreRefused) {
    const CRefPointer<LoggingNode> root = makeNode("root");
    const CRefPointer<LoggingNode> child = makeNode("child", root.get());
    const CRefPointer<LoggingNode> grandchild = makeNode("grandchild", child.get());

    grandchild->appendChild(root.get());
    child->addChild(child.get(), nullptr);
    root->setParent(grandchild.get());
    child->setParent(child.get());
    EXPECT_EQ(root->getParent(), nullptr);
    EXPECT_EQ(child->getParent(), root.get());
    EXPECT_EQ(childNames(*root), std::vector<std::string>{"child"});
    EXPECT_EQ(childNames(*grandchild), std::vector<std::string>{});
    EXPECT_EQ(childNames(*child), std::vector<std::string>{"grandchild"});
    EXPECT_TRUE(root->isAncestorOf(grandchild.get()));
    EXPECT_FALSE(grandchild->isAncestorOf(root.get()));
    EXPECT_FALSE(root->isAncestorOf(root.get()));
}

// Owners hold their internal nodes themselves: such a node is under its parent without being
// one of the children, and leaving takes nothing from the parent.
TEST(BaseNodeTreeTest, AnInternalNodeComesAndGoesOutsideTheChildren) {
    const CRefPointer<LoggingNode> parent = makeNode("parent");
    const CRefPointer<LoggingNode> internal = makeNode("internal");
    internal->setInternal(true);
    internal->setParent(parent.get());
    EXPECT_EQ(internal->getParent(), parent.get());
    EXPECT_EQ(parent->getChildCount(), 0u);

    internal->setParent(nullptr);
    EXPECT_EQ(internal->getParent(), nullptr);
    EXPECT_EQ(internal->getRefCount(), 2); // ours and the owner's share of the attachment
    internal->release();
}

TEST(BaseNodeTreeTest, RemovingDetachesTheWholeSubtreeFromTheManager) {
    CRefPointer<SceneManager> manager(new SceneManager(CContentKey(), nullptr, nullptr));
    const CRefPointer<LoggingNode> parent(new LoggingNode(CContentKey(), nullptr, manager.get()));
    const CRefPointer<LoggingNode> first = makeNode("first", parent.get());
    const CRefPointer<LoggingNode> second = makeNode("second", parent.get());
    const CRefPointer<LoggingNode> leaf = makeNode("leaf", second.get());
    ASSERT_EQ(leaf->getSceneManager(), manager.get());

    EXPECT_FALSE(parent->removeChild(leaf.get()));
    EXPECT_TRUE(parent->removeChild(second.get()));
    EXPECT_EQ(second->getParent(), nullptr);
    EXPECT_EQ(leaf->getSceneManager(), nullptr);
    EXPECT_EQ(second->getRefCount(), 1);

    parent->removeAllChildren();
    EXPECT_EQ(parent->getChildCount(), 0u);
    EXPECT_EQ(first->getParent(), nullptr);
    EXPECT_EQ(first->getSceneManager(), nullptr);
    EXPECT_EQ(first->getRefCount(), 1);
}

TEST(BaseNodeTreeTest, ParentsReleaseTheirChildrenAndSetParentNoneDestroysAnUnheldNode) {
    LoggingNode::destroyed = 0;
    {
        const CRefPointer<LoggingNode> root = makeNode("root");
        LoggingNode* child = makeNode("child", root.get()).get(); // only the root holds it
        makeNode("grandchild", child);
        makeNode("other", root.get());

        child->setParent(nullptr);
        EXPECT_EQ(LoggingNode::destroyed, 2); // child and grandchild
        EXPECT_EQ(childNames(*root), std::vector<std::string>{"other"});
    }
    EXPECT_EQ(LoggingNode::destroyed, 4);
}

// Removes a sibling, or itself, when it is offered an event.
class RemovingNode : public LoggingNode {
public:
    using LoggingNode::LoggingNode;

    bool OnEvent(CEvent& event) override {
        LoggingNode::OnEvent(event);
        if (victim != nullptr)
            getParent()->removeChild(victim);
        return false;
    }

    BaseNode* victim = nullptr;
};

TEST(BaseNodeTreeTest, ChildrenMayRemoveThemselvesOrSiblingsWhileAnEventPasses) {
    EventLog log;
    const CRefPointer<LoggingNode> parent = makeNode("parent");
    const CRefPointer<RemovingNode> a = makeNode<RemovingNode>("a", parent.get(), &log);
    const CRefPointer<RemovingNode> b = makeNode<RemovingNode>("b", parent.get(), &log);
    const CRefPointer<RemovingNode> c = makeNode<RemovingNode>("c", parent.get(), &log);
    const CRefPointer<RemovingNode> d = makeNode<RemovingNode>("d", parent.get(), &log);
    d->victim = d.get(); // leaves during its own handler
    c->victim = b.get(); // takes the next one in line away

    const CRefPointer<CEvent> event(new CEventNode());
    EXPECT_FALSE(parent->sendToChildren(CEventReceiver::RouteSelf, *event));
    EXPECT_EQ(log, (EventLog{"d:8", "c:8", "a:8"}));
    EXPECT_EQ(childNames(*parent), (std::vector<std::string>{"a", "c"}));
}

} // namespace
