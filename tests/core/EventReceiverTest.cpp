#include "engine/core/EventReceiver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

template <uint32_t Id>
struct TestEvent : CEventType<Id, CEvent> {
    TestEvent() : CEventType<Id, CEvent>(CEvent::CategoryGame) {}
};

// A node of a small receiver tree: logs every OnEvent and handles the event when told to.
struct TreeReceiver : CEventReceiver {
    TreeReceiver(std::string name, Log& log) : name(std::move(name)), log(log) {}

    bool OnEvent(CEvent&) override {
        log.push_back(name);
        return handles;
    }
    bool sendToParent(int32_t mode, CEvent& event) override {
        return parent && parent->deliver(mode, event);
    }
    bool sendToChildren(int32_t mode, CEvent& event) override {
        for (TreeReceiver* child : children) {
            if (child->deliver(mode, event))
                return true;
        }
        return false;
    }
    void add(TreeReceiver& child) {
        children.push_back(&child);
        child.parent = this;
    }

    std::string name;
    Log& log;
    bool handles = false;
    TreeReceiver* parent = nullptr;
    std::vector<TreeReceiver*> children;
};

TEST(EventReceiverTest, DeliveryModesRouteAndStopAtTheHandler) {
    struct Case {
        int32_t mode;
        const char* start;
        const char* handler;
        Log calls;
        bool handled;
    };
    const Case cases[] = {
        {0, "mid", "", {"mid"}, false},
        {1, "root", "", {"root", "mid", "leafA", "leafB"}, false},
        {1, "root", "mid", {"root", "mid"}, true},
        {2, "root", "", {"leafA", "leafB", "mid", "root"}, false},
        {2, "root", "leafA", {"leafA"}, true},
        {3, "leafB", "", {"leafB", "mid", "root"}, false},
        {3, "leafB", "mid", {"leafB", "mid"}, true},
        {4, "leafB", "", {"root", "mid", "leafB"}, false},
        {4, "leafB", "root", {"root"}, true},
        {5, "root", "", {}, false},
        {-1, "root", "", {}, false},
    };
    for (const Case& c : cases) {
        Log log;
        TreeReceiver root("root", log), mid("mid", log), leafA("leafA", log), leafB("leafB", log);
        root.add(mid);
        mid.add(leafA);
        mid.add(leafB);
        TreeReceiver* all[] = {&root, &mid, &leafA, &leafB};
        TreeReceiver* start = nullptr;
        for (TreeReceiver* receiver : all) {
            receiver->handles = receiver->name == c.handler;
            if (receiver->name == c.start)
                start = receiver;
        }
        TestEvent<4096> event;
        EXPECT_EQ(start->deliver(c.mode, event), c.handled) << "mode " << c.mode;
        EXPECT_EQ(log, c.calls) << "mode " << c.mode << " from " << c.start;
    }
}

// Receivers with event maps: Base maps 100 and 101, Derived overrides 100 and adds 102.
struct Base : CEventReceiver {
    explicit Base(Log& log) : log(log) {}
    bool OnEvent(CEvent& event) override { return dispatchThroughEventMap(getEventMap(), event); }
    static const EventMap& getEventMap() {
        static const EventMapEntry own[] = {
            {100, &eventHandler<Base, &Base::on100>},
            {101, &eventHandler<Base, &Base::on101>},
        };
        static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
        return map;
    }
    bool on100(CEvent&) { return record("Base 100"); }
    bool on101(CEvent&) { return record("Base 101"); }
    bool record(const char* what) {
        log.push_back(what);
        return handles;
    }
    Log& log;
    bool handles = true;
};

struct Derived : Base {
    using Base::Base;
    bool OnEvent(CEvent& event) override { return dispatchThroughEventMap(getEventMap(), event); }
    static const EventMap& getEventMap() {
        static const EventMapEntry own[] = {
            {100, &eventHandler<Derived, &Derived::on100>},
            {102, &eventHandler<Derived, &Derived::on102>},
        };
        static const EventMap map = buildEventMap(Base::getEventMap(), own);
        return map;
    }
    bool on100(CEvent&) { return record("Derived 100"); }
    bool on102(CEvent&) { return record("Derived 102"); }
};

TEST(EventReceiverTest, DerivedMapOverridesAndInheritsItsParentsEntries) {
    struct Case {
        bool derived;
        uint32_t id;
        Log calls;
    };
    const Case cases[] = {
        {true, 100, {"Derived 100"}}, {true, 101, {"Base 101"}},
        {true, 102, {"Derived 102"}}, {true, 103, {}},
        {false, 100, {"Base 100"}},   {false, 102, {}},
    };
    TestEvent<100> e100;
    TestEvent<101> e101;
    TestEvent<102> e102;
    TestEvent<103> e103;
    CEvent* events[] = {&e100, &e101, &e102, &e103};
    for (const Case& c : cases) {
        Log log;
        Base base(log);
        Derived derived(log);
        CEventReceiver& receiver = c.derived ? static_cast<CEventReceiver&>(derived) : base;
        EXPECT_EQ(receiver.OnEvent(*events[c.id - 100]), !c.calls.empty()) << c.id;
        EXPECT_EQ(log, c.calls) << (c.derived ? "Derived " : "Base ") << c.id;
    }
    EXPECT_EQ(Derived::getEventMap().size(), 3u);
    EXPECT_EQ(Base::getEventMap().size(), 2u);
}

TEST(EventReceiverTest, HandlingPreReceiverStopsTheEvent) {
    Log log;
    Derived receiver(log);
    receiver.handles = false;
    TreeReceiver passing("pre 1", log), stopping("pre 2", log), late("pre 3", log);
    TreeReceiver post("post", log);
    stopping.handles = true;
    receiver.addPreReceiver(&passing);
    receiver.addPreReceiver(&stopping);
    receiver.addPreReceiver(&late);
    receiver.getPostReceivers().append(&post);
    TestEvent<100> event;

    EXPECT_TRUE(receiver.OnEvent(event));
    EXPECT_EQ(log, (Log{"pre 1", "pre 2"}));

    log.clear();
    receiver.getPreReceivers().eraseValue(&stopping);
    EXPECT_FALSE(receiver.OnEvent(event));
    EXPECT_EQ(log, (Log{"pre 1", "pre 3", "Derived 100", "post"}));
}

// The handler for 100 attaches the first post-receiver while the event is being handled.
struct Attacher : Base {
    using Base::Base;
    bool OnEvent(CEvent& event) override { return dispatchThroughEventMap(getEventMap(), event); }
    static const EventMap& getEventMap() {
        static const EventMapEntry own[] = {{100, &eventHandler<Attacher, &Attacher::attach>}};
        static const EventMap map = buildEventMap(Base::getEventMap(), own);
        return map;
    }
    bool attach(CEvent&) {
        log.push_back("attach");
        if (getPostReceivers().size() == 0)
            getPostReceivers().append(toAttach);
        return handles;
    }
    CEventReceiver* toAttach = nullptr;
};

TEST(EventReceiverTest, PostReceiversCountOnlyWhenPresentOnArrival) {
    Log log;
    Attacher receiver(log);
    receiver.handles = false;
    TreeReceiver post("post", log);
    receiver.toAttach = &post;
    TestEvent<100> event;

    EXPECT_FALSE(receiver.OnEvent(event));
    EXPECT_EQ(log, (Log{"attach"}));

    log.clear();
    post.handles = true;
    EXPECT_TRUE(receiver.OnEvent(event));
    EXPECT_EQ(log, (Log{"attach", "post"}));

    log.clear();
    receiver.handles = true;
    EXPECT_TRUE(receiver.OnEvent(event));
    EXPECT_EQ(log, (Log{"attach"}));
}

// Its handler lets go of the receiver's last reference, as an owner dropping it on an event
// would; the children's slot and the destructor log too.
struct SelfReleasing : Base {
    using Base::Base;
    ~SelfReleasing() override { log.push_back("gone"); }
    bool OnEvent(CEvent& event) override { return dispatchThroughEventMap(getEventMap(), event); }
    static const EventMap& getEventMap() {
        static const EventMapEntry own[] = {
            {100, &eventHandler<SelfReleasing, &SelfReleasing::drop>}};
        static const EventMap map = buildEventMap(Base::getEventMap(), own);
        return map;
    }
    bool sendToChildren(int32_t, CEvent&) override { return record("children"); }
    bool drop(CEvent&) {
        log.push_back("drop");
        release();
        return false;
    }
};

TEST(EventReceiverTest, ReceiverReleasedByItsOwnHandlerLivesUntilTheDeliveryEnds) {
    Log log;
    TreeReceiver post("post", log);
    auto* receiver = new SelfReleasing(log);
    receiver->handles = false;
    receiver->getPostReceivers().append(&post);
    TestEvent<100> event;
    EXPECT_FALSE(receiver->deliver(CEventReceiver::RouteSelfThenChildren, event));
    EXPECT_EQ(log, (Log{"drop", "post", "children", "gone"}));
}

TEST(EventReceiverTest, BaseReceiverHandlesNothing) {
    Log log;
    CEventReceiver receiver;
    TreeReceiver pre("pre", log);
    pre.handles = true;
    receiver.addPreReceiver(&pre);
    TestEvent<100> event;
    EXPECT_FALSE(receiver.OnEvent(event));
    EXPECT_FALSE(receiver.deliver(1, event));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(receiver.getCategoryMask(), 0u);
}

} // namespace
