#include "game/effects/PathMovableNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/effects/PathFinishedEvent.h"
#include "tests/game/effects/EffectFixture.h"

namespace {

// A parent that writes down the finish values of the path movers below it.
class FinishLogNode : public NodeClass<FinishLogNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 991;
    static constexpr const char16_t* kTypeName = u"FinishLogNode";

    using NodeClass::NodeClass;

    bool OnChildStateFinished(CEventNodeChildStateFinished& event) override {
        if (event.getStateName() == CNameId())
            finishes.push_back(static_cast<GPathFinishedEvent&>(event).getFinishValue());
        return BaseNode::OnChildStateFinished(event);
    }

    std::vector<int32_t> finishes;
};

class PathMovableNodeTest : public EffectTest {
protected:
    // A mover with a state-logging child under a finish-logging parent.
    void makeMover() {
        parent = make<FinishLogNode>();
        mover = make<GPathMovableNode>(parent.get());
        child = logChild(*mover);
    }

    CRefPointer<FinishLogNode> parent;
    CRefPointer<GPathMovableNode> mover;
    CRefPointer<StateLogNode> child;
};

using Strings = std::vector<std::string>;

TEST_F(PathMovableNodeTest, TravelsItsPathAsTheTableSays) {
    struct Travel {
        bool reverse;
        bool loop;
        float speed;
    };
    struct Outcome {
        CVector3d position;
        float scale;
        Strings states;
        std::vector<int32_t> finishes;
        bool holdsPath;
    };
    struct Case {
        const char* what;
        std::vector<PathPoint> points;
        Travel travel;
        std::vector<uint32_t> advances;
        Outcome outcome;
    };
    const Case cases[] = {
        {"two points in one advance, then the end",
         {point(0, 0), point(100, 0)},
         {false, false, 100},
         {1000, 20},
         {{100, 0, 0}, 1, {"Start", "Right", "Stop", "Stop"}, {7}, false}},
        {"on the last point after one advance, the end reported once",
         {point(0, 0), point(100, 50)},
         {false, false, 1000},
         {1000},
         {{100, 50, 50}, 1, {"Start", "RightDown", "Stop"}, {7}, true}},
        {"reverse starts on the last point, heading for the one before",
         {point(0, 0), point(100, 0), point(100, 100)},
         {true, false, 100},
         {0},
         {{100, 100, 100}, 1, {"Start", "Up"}, {}, true}},
        {"a reversed loop heads for the last point after point 0",
         {point(0, 0), point(100, 0), point(100, 100)},
         {true, true, 100},
         {3000},
         {{70.71068f, 70.71068f, 70.71068f}, 1, {"Start", "Up", "Left", "RightDown"}, {}, true}},
        {"several points in one advance, the rest kept",
         {point(0, 0), point(10, 0), point(10, 10), point(20, 10), point(20, 20)},
         {false, false, 25},
         {1000},
         {{15, 10, 10}, 1, {"Start", "Right", "Down", "Right"}, {}, true}},
        {"scale halfway between 1 and 2",
         {point(0, 0, 1), point(100, 0, 2)},
         {false, false, 50},
         {1000},
         {{50, 0, 0}, 1.5f, {"Start", "Right"}, {}, true}},
        {"a segment of no length is passed at once",
         {point(0, 0), point(0, 0), point(10, 0)},
         {false, false, 5},
         {1000},
         {{5, 0, 0}, 1, {"Start", "Right", "Right"}, {}, true}},
        {"a loop whose lap is 0 long stops for the call",
         {point(5, 5), point(5, 5), point(5, 5)},
         {false, true, 100},
         {1000},
         {{5, 5, 0}, 1, {"Start", "Right", "Right", "Right", "Right"}, {}, true}},
        {"a negative speed counts as 0",
         {point(0, 0), point(100, 0)},
         {false, false, -50},
         {1000},
         {{0, 0, 0}, 1, {"Start", "Right"}, {}, true}},
        {"a path of one point is not started",
         {point(3, 4)},
         {false, false, 100},
         {1000},
         {{0, 0, 0}, 1, {}, {}, false}},
    };
    for (const Case& c : cases) {
        makeMover();
        CRefPointer<GPath> path(new GPath());
        for (const PathPoint& p : c.points)
            path->points.append(p);
        mover->setSpeed(c.travel.speed);
        mover->startPath(path.get(), 7, c.travel.reverse, c.travel.loop);
        for (uint32_t ms : c.advances)
            mover->advance(ms);
        const Outcome& expected = c.outcome;
        const CVector3d at = mover->getPosition();
        EXPECT_NEAR(at.x, expected.position.x, 1e-3) << c.what;
        EXPECT_NEAR(at.y, expected.position.y, 1e-3) << c.what;
        EXPECT_NEAR(at.z, expected.position.z, 1e-3) << c.what;
        EXPECT_FLOAT_EQ(mover->getScale().x, expected.scale) << c.what;
        EXPECT_EQ(child->states, expected.states) << c.what;
        EXPECT_EQ(parent->finishes, expected.finishes) << c.what;
        EXPECT_EQ(mover->getPath() != nullptr, expected.holdsPath) << c.what;
    }
}

// A shifted point lies across the chord of its neighbours, between -d1 and d2; an unshifted
// one is reached exactly, without a number drawn.
TEST_F(PathMovableNodeTest, PointsAreShiftedWithinTheirRangesAcrossTheChord) {
    makeMover();
    const CRefPointer<GPath> path = makePath({point(0, 0), point(100, 0, 1, 5, 0)});
    float lowest = 0;
    for (int run = 0; run < 50; ++run) {
        mover->setSpeed(1000);
        mover->startPath(path.get(), -1, false, false);
        mover->advance(1000);
        const CVector3d at = mover->getPosition();
        EXPECT_EQ(at.x, 100);
        EXPECT_LE(at.y, 0);
        EXPECT_GE(at.y, -5);
        lowest = std::min(lowest, at.y);
    }
    EXPECT_LT(lowest, -2) << "the shifts spread over the range";

    const CRefPointer<GPath> exact = makePath({point(0, 0), point(100, 0)});
    const CRefPointer<CRandom> unused(new CRandom(random()));
    mover->startPath(exact.get(), -1, false, false);
    mover->advance(1000);
    EXPECT_EQ(random().nextMwc(), unused->nextMwc());
}

TEST_F(PathMovableNodeTest, DirectionsOfTheEightSectorsAtTheirBounds) {
    struct Case {
        float degrees;
        const char* name;
    };
    const Case cases[] = {
        {0, "Right"},  {14.999f, "Right"}, {15, "RightUp"}, {74.99f, "RightUp"},
        {75, "Up"},    {105, "LeftUp"},    {165, "Left"},   {195, "LeftDown"},
        {255, "Down"}, {285, "RightDown"}, {345, "Right"},  {359.99f, "Right"},
        {360, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(directionNameForDegrees(c.degrees).toString().c_str()), c.name)
            << c.degrees;
    EXPECT_EQ(directionNameForVector({0, -1}), name("Up")) << "y grows downwards";
    EXPECT_EQ(directionNameForVector({0, 1}), name("Down"));
    EXPECT_EQ(directionNameForVector({-1, 0}), name("Left"));
}

TEST_F(PathMovableNodeTest, NeighboursWrapOnlyOnALoop) {
    makeMover();
    const CRefPointer<GPath> path = makePath({point(0, 0), point(1, 0), point(2, 0)});
    // The index after the travel's last point and the one before its first.
    struct Case {
        bool reverse;
        bool loop;
        int32_t afterLast;
        int32_t beforeFirst;
    };
    const Case cases[] = {
        {false, false, 3, -1}, {false, true, 0, 2}, {true, false, -1, 3}, {true, true, 2, 0}};
    for (const Case& c : cases) {
        mover->startPath(path.get(), -1, c.reverse, c.loop);
        const int32_t last = c.reverse ? 0 : 2;
        EXPECT_EQ(mover->nextIndex(last), c.afterLast) << c.reverse << c.loop;
        EXPECT_EQ(mover->previousIndex(2 - last), c.beforeFirst) << c.reverse << c.loop;
    }
}

} // namespace
