#include "engine/scene/BaseNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "engine/scene/NodeState.h"
#include "tests/scene/SceneTestNodes.h"

namespace {

CRefPointer<NodeState> addState(BaseNode& node, const char* name, const char* next = nullptr) {
    CRefPointer<NodeState> state(new NodeState(nameId(name)));
    if (next != nullptr)
        state->setNextState(nameId(next));
    node.addState(state.get());
    return state;
}

// The finish a state raises on its node when it ends by itself (or, interrupted, when stopped).
void finishCurrentState(BaseNode& node, bool interrupted = false) {
    NodeState* state = node.getCurrentState();
    ASSERT_NE(state, nullptr);
    const CRefPointer<CEvent> finished(
        new CEventNodeStateFinished(state, state->getReportedName(), interrupted));
    node.OnEvent(*finished);
}

TEST(BaseNodeStatesTest, ANodeWithoutChildrenReportsTheSetAtOnce) {
    EventLog log;
    const CRefPointer<LoggingNode> node = makeNode("p", nullptr, &log);
    node->setChildrenState(nameId("Show"), nullptr);
    EXPECT_EQ(log, (EventLog{"p:78 Show", "p:80 Show"}));
}

TEST(BaseNodeStatesTest, ASetFinishedAtOnceGoesOnToTheParentAsOneFinishedLater) {
    EventLog log;
    const CRefPointer<LoggingNode> top = makeNode("g", nullptr, &log);
    const CRefPointer<LoggingNode> empty = makeNode("p", top.get(), &log);
    empty->setChildrenState(nameId("Show"), nullptr);
    EXPECT_EQ(log, (EventLog{"p:78 Show", "p:80 Show", "g:80 Show"}));
}

TEST(BaseNodeStatesTest, TheParentCountsEveryChildAndReportsUpwards) {
    EventLog log;
    const CRefPointer<LoggingNode> top = makeNode("g", nullptr, &log);
    const CRefPointer<LoggingNode> parent = makeNode("p", top.get(), &log);
    const CRefPointer<LoggingNode> first = makeNode("c1", parent.get());
    const CRefPointer<LoggingNode> second = makeNode("c2", parent.get());
    const CRefPointer<LoggingNode> lacking = makeNode("c3", parent.get());
    addState(*first, "Show");
    addState(*second, "Show");

    parent->setChildrenState(nameId("Show"), nullptr);
    EXPECT_EQ(log, (EventLog{"p:78 Show", "p:74 Show", "p:76 Show"}));
    ASSERT_EQ(first->getCurrentState(), first->findState(nameId("Show")));

    log.clear();
    finishCurrentState(*first);
    EXPECT_EQ(log, (EventLog{"p:76 Show"}));
    finishCurrentState(*second);
    EXPECT_EQ(log, (EventLog{"p:76 Show", "p:76 Show", "p:80 Show", "g:80 Show"}));

    // Interrupted states count as well, and a second set restarts the count.
    log.clear();
    parent->setChildrenState(nameId("Show"), nullptr);
    parent->setChildrenState(nameId("Show"), nullptr);
    finishCurrentState(*first, true);
    finishCurrentState(*second, true);
    EXPECT_EQ(log.back(), "g:80 Show");
    EXPECT_EQ(std::count(log.begin(), log.end(), "p:80 Show"), 1);
}

TEST(BaseNodeStatesTest, OnlyADirectChildsReportCounts) {
    EventLog log;
    const CRefPointer<LoggingNode> parent = makeNode("p", nullptr, &log);
    const CRefPointer<LoggingNode> child = makeNode("c", parent.get());
    const CRefPointer<LoggingNode> stranger = makeNode("s");
    addState(*child, "Show");
    parent->setChildrenState(nameId("Show"), nullptr);

    const CRefPointer<CEvent> foreign(
        new CEventNodeChildStateFinished(stranger.get(), nameId("Show")));
    parent->OnEvent(*foreign);
    const CRefPointer<CEvent> otherName(
        new CEventNodeChildStateFinished(child.get(), nameId("Hide")));
    parent->OnEvent(*otherName);
    EXPECT_EQ(std::count(log.begin(), log.end(), "p:80 Show"), 0);
}

// Takes its children's 76 reports, which stops their chains.
class ClaimingNode : public LoggingNode {
public:
    using LoggingNode::LoggingNode;
    bool OnChildStateFinished(CEventNodeChildStateFinished& event) override {
        LoggingNode::OnChildStateFinished(event);
        return claims;
    }
    bool claims = false;
};

TEST(BaseNodeStatesTest, AFinishedStateChainsUnlessInterruptedOrClaimed) {
    struct Case {
        const char* what;
        bool interrupted;
        bool parentClaims;
        const char* expected;
    };
    const Case cases[] = {
        {"ran to its end", false, false, "Next"},
        {"interrupted", true, false, "First"},
        {"parent handled the report", false, true, "First"},
    };
    for (const Case& c : cases) {
        const CRefPointer<ClaimingNode> parent = makeNode<ClaimingNode>("p");
        parent->claims = c.parentClaims;
        const CRefPointer<LoggingNode> child = makeNode("c", parent.get());
        addState(*child, "First", "Next");
        addState(*child, "Next");
        child->setState(nameId("First"), nullptr, CNameId());
        finishCurrentState(*child, c.interrupted);
        EXPECT_EQ(child->getCurrentState()->getName(), nameId(c.expected)) << c.what;
    }
}

TEST(BaseNodeStatesTest, FinishesOfStatesThatAreNotCurrentAreIgnored) {
    EventLog log;
    const CRefPointer<LoggingNode> parent = makeNode("p", nullptr, &log);
    const CRefPointer<LoggingNode> child = makeNode("c", parent.get());
    const CRefPointer<NodeState> idle = addState(*child, "Idle", "Walk");
    addState(*child, "Walk");
    const CRefPointer<CEvent> stale(new CEventNodeStateFinished(idle.get(), nameId("Idle"), false));
    child->OnEvent(*stale);
    EXPECT_EQ(child->getCurrentState(), nullptr);
    EXPECT_TRUE(log.empty());
}

CNameId visualFallback(CNameId requested) {
    if (requested == nameId("FocusDisable"))
        return nameId("NormalDisable");
    if (requested == nameId("NormalDisable"))
        return nameId("Normal");
    return CNameId();
}

TEST(BaseNodeStatesTest, FallbacksChainAndEventsNameTheStateAskedFor) {
    EventLog log;
    const CRefPointer<LoggingNode> parent = makeNode("p", nullptr, &log);
    const CRefPointer<LoggingNode> child = makeNode("c", parent.get(), &log);
    addState(*child, "Normal");

    child->setState(nameId("FocusDisable"), &visualFallback, CNameId());
    EXPECT_EQ(child->getCurrentState()->getName(), nameId("Normal"));
    EXPECT_EQ(log, (EventLog{"c:72 FocusDisable"}));

    log.clear();
    child->setState(nameId("Pressed"), &visualFallback, CNameId());
    child->setState(CNameId(), &visualFallback, CNameId());
    EXPECT_EQ(log, (EventLog{"p:74 Pressed", "p:76 Pressed"}));
    EXPECT_EQ(child->getCurrentState()->getName(), nameId("Normal"));
}

TEST(BaseNodeStatesTest, StatesAreKeptByNameAndStoppingForgetsTheCurrentOnes) {
    const CRefPointer<LoggingNode> parent = makeNode("p");
    const CRefPointer<LoggingNode> child = makeNode("c", parent.get());
    const CRefPointer<NodeState> first = addState(*child, "Show");
    const CRefPointer<NodeState> second = addState(*child, "Show");
    EXPECT_EQ(child->findState(nameId("Show")), first.get());
    EXPECT_EQ(first->getTarget(), child.get());
    EXPECT_EQ(second->getTarget(), nullptr);
    EXPECT_EQ(child->findState(nameId("Hide")), nullptr);
    child->addState(nullptr);
    EXPECT_EQ(child->getStates().size(), 1u);

    child->setState(nameId("Show"), nullptr, CNameId());
    parent->stopChildrenStates(false);
    EXPECT_EQ(child->getCurrentState(), nullptr);
}

// Keeps every state event it is offered, as a receiver may.
class KeepingNode : public LoggingNode {
public:
    using LoggingNode::LoggingNode;
    bool OnEvent(CEvent& event) override {
        kept.push_back(CRefPointer<CEvent>::share(&event));
        return LoggingNode::OnEvent(event);
    }
    std::string keptNames() const {
        std::string names;
        for (const CRefPointer<CEvent>& event : kept)
            names += describe(*this, *event) + ",";
        return names;
    }
    std::vector<CRefPointer<CEvent>> kept;
};

// A node raises each kind of state event again and again; one a receiver kept, or one still
// being delivered when the next is raised, keeps its name.
TEST(BaseNodeStatesTest, AStateEventKeptOrStillBeingDeliveredKeepsItsName) {
    const CRefPointer<KeepingNode> parent = makeNode<KeepingNode>("p");
    const CRefPointer<KeepingNode> child = makeNode<KeepingNode>("c", parent.get());
    addState(*child, "Show");
    addState(*child, "Hide");
    for (const char* name : {"Show", "Hide", "Show"})
        child->setState(nameId(name), nullptr, CNameId());
    child->setState(nameId("Wave"), nullptr, CNameId());
    child->setState(nameId("Bow"), nullptr, CNameId());
    EXPECT_EQ(child->keptNames(), "c:72 Show,c:72 Hide,c:72 Show,");
    EXPECT_EQ(parent->keptNames(), "p:74 Wave,p:76 Wave,p:74 Bow,p:76 Bow,");

    // Without children a node reports its set to itself and then to its parent: the set started
    // while the first report is delivered does not rename it.
    struct ChainingNode : LoggingNode {
        using LoggingNode::LoggingNode;
        bool OnEvent(CEvent& event) override {
            const bool handled = LoggingNode::OnEvent(event);
            if (describe(*this, event) == "n:80 Show")
                setChildrenState(nameId("Hide"), nullptr);
            return handled;
        }
    };
    EventLog log;
    const CRefPointer<LoggingNode> top = makeNode("g", nullptr, &log);
    const CRefPointer<ChainingNode> node = makeNode<ChainingNode>("n", top.get());
    node->setChildrenState(nameId("Show"), nullptr);
    EXPECT_EQ(log, (EventLog{"g:80 Hide", "g:80 Show"}));
}

// Children of two sets at once are counted apart; a late report of a set whose children all
// finished counts for nothing, even once a third set took its place.
TEST(BaseNodeStatesTest, ChildrenOfSeveralSetsAreCountedApart) {
    EventLog log;
    const CRefPointer<LoggingNode> parent = makeNode("p", nullptr, &log);
    const CRefPointer<LoggingNode> first = makeNode("c1", parent.get());
    const CRefPointer<LoggingNode> second = makeNode("c2", parent.get());
    for (LoggingNode* child : {first.get(), second.get()}) {
        for (const char* name : {"Show", "Hide", "Wave"})
            addState(*child, name);
    }
    const auto report = [&](LoggingNode& child, const char* name) {
        const CRefPointer<CEvent> finished(new CEventNodeChildStateFinished(&child, nameId(name)));
        parent->OnEvent(*finished);
    };
    parent->setChildrenState(nameId("Show"), nullptr);
    parent->setChildrenState(nameId("Hide"), nullptr);
    report(*first, "Show");
    report(*first, "Hide");
    report(*second, "Hide");
    report(*second, "Show");
    parent->setChildrenState(nameId("Wave"), nullptr);
    report(*first, "Show");
    report(*first, "Wave");
    report(*second, "Wave");
    const EventLog finishes = [&] {
        EventLog only;
        std::copy_if(log.begin(), log.end(), std::back_inserter(only),
                     [](const std::string& line) { return line.rfind("p:80", 0) == 0; });
        return only;
    }();
    EXPECT_EQ(finishes, (EventLog{"p:80 Hide", "p:80 Show", "p:80 Wave"}));
}

} // namespace
