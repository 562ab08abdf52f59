#include "engine/scene/SceneManager.h"

#include <gtest/gtest.h>

#include "tests/scene/SceneTestNodes.h"

namespace {

// Posts the events it is told to while it handles one.
class PostingNode : public LoggingNode {
public:
    using LoggingNode::LoggingNode;

    bool OnEvent(CEvent& event) override {
        LoggingNode::OnEvent(event);
        if (event.getTypeId() == CEventNodeAttached::Id) {
            for (uint32_t id : {74u, 76u, 78u})
                postEvent(this, RouteSelf, *makeReport(id));
        }
        return false;
    }

    CRefPointer<CEvent> makeReport(uint32_t id) {
        switch (id) {
        case 74:
            return CRefPointer<CEvent>(new CEventNodeChildStateStarted(this, CNameId()));
        case 76:
            return CRefPointer<CEvent>(new CEventNodeChildStateFinished(this, CNameId()));
        default:
            return CRefPointer<CEvent>(new CEventNodeChildrenStateStarted(this, CNameId()));
        }
    }
};

class SceneManagerQueueTest : public ::testing::Test {
protected:
    CRefPointer<PostingNode> makeAttached(const char* name) {
        CRefPointer<PostingNode> node(new PostingNode(name, nullptr, &log));
        manager->appendChild(node.get());
        node->setScene(manager.get(), nullptr);
        return node;
    }
    void post(BaseNode& node, CEvent* event) {
        node.postEvent(&node, CEventReceiver::RouteSelf, *CRefPointer<CEvent>(event));
    }

    EventLog log;
    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
};

TEST_F(SceneManagerQueueTest, EventsWaitForTheTickAndThoseOfADeliveryComeRightAfterIt) {
    const CRefPointer<PostingNode> a = makeAttached("a");
    const CRefPointer<PostingNode> b = makeAttached("b");
    post(*a, new CEventNodeAttached(manager.get()));
    post(*b, new CEventNode());
    EXPECT_TRUE(log.empty());

    manager->OnUpdate(20);
    EXPECT_EQ(log, (EventLog{"a:39", "a:78", "a:76", "a:74", "b:8"}));
    log.clear();
    manager->OnUpdate(20);
    EXPECT_TRUE(log.empty());
}

TEST_F(SceneManagerQueueTest, ANodeReleasedBeforeTheTickIsKeptUntilItsEventIsDelivered) {
    LoggingNode::destroyed = 0;
    PostingNode* node = makeAttached("gone").get();
    post(*node, new CEventNode());
    manager->removeChild(node); // its last holder besides the queue
    EXPECT_EQ(LoggingNode::destroyed, 0);
    manager->OnUpdate(20);
    EXPECT_EQ(log, (EventLog{"gone:8"}));
    EXPECT_EQ(LoggingNode::destroyed, 1);
}

TEST_F(SceneManagerQueueTest, PostsWithoutAManagerOrToAReceiverOfOtherCategoriesAreDropped) {
    const CRefPointer<PostingNode> loose(new PostingNode("loose", nullptr, &log));
    post(*loose, new CEventNode());
    const CRefPointer<PostingNode> attached = makeAttached("attached");
    attached->postEvent(attached.get(), CEventReceiver::RouteSelf,
                        *CRefPointer<CEvent>(new CEventInputKey()));
    attached->postEvent(nullptr, CEventReceiver::RouteSelf, *CRefPointer<CEvent>(new CEventNode()));
    manager->OnUpdate(20);
    EXPECT_TRUE(log.empty());
}

TEST_F(SceneManagerQueueTest, ADestroyedManagerDropsWhatWaits) {
    LoggingNode::destroyed = 0;
    {
        CRefPointer<SceneManager> doomed(new SceneManager(CContentKey(), nullptr, nullptr));
        PostingNode* node = new PostingNode("waiting", nullptr, &log);
        doomed->appendChild(node);
        node->release();
        post(*node, new CEventNode());
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(LoggingNode::destroyed, 1);
}

// Events that a scene posts to its parent wait in the queue of the manager they go to.
TEST_F(SceneManagerQueueTest, AManagerWithEventsForItselfWaitingStillGoes) {
    struct CountedManager : SceneManager {
        explicit CountedManager(int& gone)
            : SceneManager(CContentKey(), nullptr, nullptr), destroyed(gone) {}
        ~CountedManager() override { ++destroyed; }
        int& destroyed;
    };
    int destroyed = 0;
    {
        const CRefPointer<CountedManager> doomed(new CountedManager(destroyed));
        const CRefPointer<PostingNode> scene = makeAttached("scene");
        doomed->appendChild(scene.get());
        scene->setScene(doomed.get(), nullptr);
        const auto postToManager = [&] {
            scene->postEventToParent(CEventReceiver::RouteSelfThenChildren,
                                     *CRefPointer<CEvent>(new CEventNode()));
        };
        postToManager();
        doomed->OnUpdate(20);
        EXPECT_EQ(log, (EventLog{"scene:8"})) << "delivered to the manager, then its scenes";
        postToManager();
    }
    EXPECT_EQ(destroyed, 1);
}

} // namespace
