#include "engine/scene/NodeState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/scene/AnimationFixtures.h"

namespace {

class NodeStateTest : public AnimationTest {};

// Start sets the level to 1, the end to 9.
const std::u16string kShowState =
    u"<State Name=\"Show\">"
    u"<StartAnimator Type=\"SetProps\"><int Name=\"Level\" Value=\"1\"/>"
    u"</StartAnimator>"
    u"<EndAnimator Type=\"SetProps\"><int Name=\"Level\" Value=\"9\"/>"
    u"</EndAnimator></State>";

// Alpha 0 to 100 in 100 ms, then jumps back to the first key.
const std::u16string kLoopingState =
    u"<State Name=\"Loop\"><Animator Type=\"KeyFrame\"><Properties>"
    u"<float Name=\"Alpha\" Value=\"0\"/></Properties>"
    u"<KeyFrame t=\"0\" Value0=\"0\"/><KeyFrame t=\"100\" g=\"0\" i=\"0\" Value0=\"100\"/>"
    u"</Animator><EndAnimator Type=\"SetProps\"><int Name=\"Level\" Value=\"9\"/></EndAnimator>"
    u"</State>";

std::u16string walkState(const char16_t* name, const char16_t* next) {
    return std::u16string(u"<State Name=\"") + name + u"\" NextState=\"" + next +
           u"\"><Animator Type=\"KeyFrame\"><Properties><float Name=\"Alpha\" Value=\"0\"/>"
           u"</Properties><KeyFrame t=\"0\" Value0=\"0\"/>"
           u"<KeyFrame t=\"1000\" i=\"0\" Value0=\"1000\"/></Animator></State>";
}

TEST_F(NodeStateTest, AStateWithoutMainAnimatorsFinishesInsideItsStart) {
    const CRefPointer<AnimatedNode> child = makeChild();
    addState(*child, kShowState);
    child->setState(nameId("Show"), nullptr, CNameId());
    EXPECT_EQ(log, (EventLog{"c:72 Show", "c:73 Show", "p:76 Show"}));
    EXPECT_EQ(child->level, 1); // the end animators wait for a stop

    log.clear();
    child->stopState(nameId("Show"), false);
    EXPECT_EQ(child->level, 9);
    EXPECT_TRUE(log.empty());
}

TEST_F(NodeStateTest, WithoutAClockAStateShowsItsFirstValuesAndNeverFinishes) {
    const CRefPointer<AnimatedNode> loose = makeNode<AnimatedNode>("loose", nullptr, &log);
    addState(*loose, kShowState);
    addState(*loose, kLoopingState);
    loose->setState(nameId("Show"), nullptr, CNameId());
    EXPECT_EQ(loose->level, 1);
    loose->stopState(nameId("Show"), true);
    loose->setState(nameId("Loop"), nullptr, CNameId());
    tick(500);
    loose->stopState(nameId("Loop"), true);
    EXPECT_EQ(log, (EventLog{"loose:72 Show", "loose:72 Loop", "loose:71"}));
    EXPECT_FLOAT_EQ(loose->alpha, 100); // the reported stop still jumps to the last key
}

TEST_F(NodeStateTest, ALoopingStateFinishesAtTheFirstWrapAndGoesOnAnimating) {
    const CRefPointer<AnimatedNode> child = makeChild();
    addState(*child, kLoopingState);
    child->setState(nameId("Loop"), nullptr, CNameId());
    tick(50);
    EXPECT_FLOAT_EQ(child->alpha, 50);
    tick(50);
    EXPECT_FLOAT_EQ(child->alpha, 0);
    EXPECT_EQ(log, (EventLog{"c:72 Loop", "c:71", "c:73 Loop", "p:76 Loop"}));
    ASSERT_EQ(child->finishes.size(), 1u);
    EXPECT_TRUE(child->finishes[0].looped);
    EXPECT_EQ(child->level, 0);

    tick(130); // past a second wrap, which reports nothing
    EXPECT_FLOAT_EQ(child->alpha, 30);
    EXPECT_EQ(child->finishes.size(), 1u);
    child->stopState(nameId("Loop"), false);
    EXPECT_EQ(child->level, 9);
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(NodeStateTest, AReportedStopEndsTheAnimationAndTheChainGoesOn) {
    struct Case {
        bool report;
        float alpha;
        const char* current;
        const char* lastEvent;
    };
    const Case cases[] = {
        {true, 1000, "Rest", "p:76 Rest"},
        {false, 250, "Walk", "p:76 Walk"},
    };
    for (const Case& c : cases) {
        log.clear();
        const CRefPointer<AnimatedNode> child = makeChild();
        addState(*child, walkState(u"Walk", u"Rest"));
        addState(*child, u"<State Name=\"Rest\"/>");
        child->setState(nameId("Walk"), nullptr, CNameId());
        tick(250);
        child->stopState(nameId("Walk"), c.report);
        EXPECT_FLOAT_EQ(child->alpha, c.alpha) << c.report;
        EXPECT_EQ(child->getCurrentState()->getName(), nameId(c.current)) << c.report;
        EXPECT_EQ(log.back(), c.lastEvent) << c.report;
        parent->removeChild(child.get());
    }
}

// The animator that ends the state starts again while it still reports its end.
TEST_F(NodeStateTest, AStateThatFollowsItselfAnimatesAgainEachTime) {
    const CRefPointer<AnimatedNode> child = makeChild();
    addState(*child, walkState(u"Walk", u"Walk"));
    child->setState(nameId("Walk"), nullptr, CNameId());
    tick(1000);
    EXPECT_EQ(std::count(log.begin(), log.end(), "c:73 Walk"), 1);
    tick(500);
    EXPECT_FLOAT_EQ(child->alpha, 500);
    tick(500);
    EXPECT_EQ(std::count(log.begin(), log.end(), "c:73 Walk"), 2);
}

TEST_F(NodeStateTest, EnteringAStateStopsTheCurrentOneAndReportsItFirst) {
    const CRefPointer<AnimatedNode> child = makeChild();
    addState(*child, walkState(u"Walk", u""));
    addState(*child, u"<State Name=\"Rest\"/>");
    child->setState(nameId("Walk"), nullptr, CNameId());
    tick(100);
    log.clear();
    child->setState(nameId("Rest"), nullptr, CNameId());
    EXPECT_EQ(log, (EventLog{"c:73 Walk", "p:76 Walk", "c:72 Rest", "c:73 Rest", "p:76 Rest"}));
    tick(2000);
    EXPECT_FLOAT_EQ(child->alpha, 100); // the stopped animation stays where it was
}

TEST_F(NodeStateTest, StateSetsGoToAllChildrenOrToTheNamedOnes) {
    // "Glow" for every child (neither has it), "Spin" for "b" and a name without a child.
    const CRefPointer<AnimatedNode> a = makeChild("a");
    const CRefPointer<AnimatedNode> b = makeChild("b");
    addState(*b, u"<State Name=\"Spin\"/>");
    addState(*parent, u"<State Name=\"Go\"><StartAnimator Type=\"SetStates\">"
                      u"<State Name=\"Glow\"/><State Name=\"Spin\" Children=\" b ;; x\"/>"
                      u"<State Name=\"\" Children=\"a\"/></StartAnimator></State>");
    parent->setState(nameId("Go"), nullptr, CNameId());
    EXPECT_EQ(log,
              (EventLog{"p:72 Go", "p:78 Glow", "p:74 Glow", "p:76 Glow", "p:74 Glow", "p:76 Glow",
                        "p:80 Glow", "b:72 Spin", "b:73 Spin", "p:76 Spin", "p:73 Go"}));
}

TEST_F(NodeStateTest, ALoopOfNextStatesWithoutAnimatorsEndsWithALogLine) {
    const CRefPointer<AnimatedNode> child = makeChild();
    addState(*child, u"<State Name=\"Ping\" NextState=\"Pong\"/>");
    addState(*child, u"<State Name=\"Pong\" NextState=\"Ping\"/>");
    testing::internal::CaptureStdout();
    child->setState(nameId("Ping"), nullptr, CNameId());
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("State entered again while it starts"), std::string::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), "c:72 Ping"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "c:72 Pong"), 1);
}

} // namespace
