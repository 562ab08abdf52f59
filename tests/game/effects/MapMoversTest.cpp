#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/effects/PedestrianNode.h"
#include "game/effects/PlaneNode.h"
#include "game/effects/ScooterNode.h"
#include "tests/game/effects/EffectFixture.h"

// The map's traffic: planes, scooters and pedestrians on their paths, ticked by the scene's
// clock from their first drawing pass.
namespace {

using Strings = std::vector<std::string>;
using MapMoversTest = EffectTest;

// The states a child was given that are not "Start" or "Stop".
Strings travelStates(const StateLogNode& child) {
    Strings states;
    for (const std::string& state : child.states) {
        if (state != "Start" && state != "Stop")
            states.push_back(state);
    }
    return states;
}

TEST_F(MapMoversTest, APlaneShowsOneAnimationPerSegmentUpToTheEighth) {
    const CRefPointer<GPlaneNode> plane = make<GPlaneNode>();
    const CRefPointer<StateLogNode> child = logChild(*plane);
    const CRefPointer<GPath> path(new GPath());
    for (int i = 0; i < 12; ++i)
        path->points.append(point(float(i) * 10, float(i % 2) * 10));
    EXPECT_GE(plane->getSpeed(), 150);
    EXPECT_LE(plane->getSpeed(), 200);
    plane->startPath(path.get(), -1, false, false);
    plane->advance(100000);
    EXPECT_EQ(travelStates(*child),
              (Strings{"1", "2", "3", "4", "5", "6", "7", "8", "8", "8", "8"}));
}

TEST_F(MapMoversTest, AScooterLeansWithItsHeadingMirroredForMapScooter1) {
    struct Case {
        float degrees;
        const char* lean;
        const char* mirroredLean;
    };
    const Case cases[] = {
        {5, "1", "2"},    {175, "2", "1"}, {-175, "-2", "-1"}, {0, "0", "0"},
        {-5, "-1", "-2"}, {2, "0", "2"},   {7.5f, "2", "2"},
    };
    const CRefPointer<GPath> path(new GPath());
    path->points.append(point(0, 0));
    path->points.append(point(0, 0));
    for (const Case& c : cases) {
        for (const char* scooterName : {"MapScooter2", "MapScooter1"}) {
            const CRefPointer<GScooterNode> scooter = make<GScooterNode>();
            scooter->setName(name(scooterName));
            const CRefPointer<StateLogNode> child = logChild(*scooter);
            const float radians = c.degrees * 3.1415927f / 180;
            path->points[1] = point(100 * std::cos(radians), -100 * std::sin(radians));
            scooter->startPath(path.get(), -1, false, false);
            const bool mirrored = std::string(scooterName) == "MapScooter1";
            EXPECT_EQ(travelStates(*child), Strings{mirrored ? c.mirroredLean : c.lean})
                << c.degrees << " " << scooterName;
            EXPECT_EQ(scooter->getDirection(), CNameId()) << "the travel's direction stays";
        }
    }
}

TEST_F(MapMoversTest, AScooterIsPlacedRelativeToItsParentAndRemovesItselfAfterItsPath) {
    const CRefPointer<BaseNode> sea = make<BaseNode>();
    sea->setPosition({100, 50, 0});
    const CRefPointer<GScooterNode> scooter = make<GScooterNode>(sea.get());
    const CRefPointer<StateLogNode> child = logChild(*scooter);
    scooter->setSpeed(50);
    const CRefPointer<GPath> path = makePath({point(200, 80), point(300, 80)});
    scooter->startPath(path.get(), -1, false, false);
    draw();
    ASSERT_EQ(child->states.size(), 3u);
    EXPECT_EQ(child->states[2].substr(0, 5), "Color") << "a colour at the start";
    tick(10, 20);
    const CVector3d at = scooter->getPosition();
    EXPECT_FLOAT_EQ(at.x, 200 + 10 - 100);
    EXPECT_FLOAT_EQ(at.y, 80 - 50);
    EXPECT_FLOAT_EQ(at.z, 30);
    tick(10, 200);
    EXPECT_EQ(scooter->getParent(), nullptr);
    EXPECT_EQ(scooter->getScheduler(), nullptr);

    // Without a parent the path's own space is used.
    const CRefPointer<GScooterNode> loose = make<GScooterNode>();
    loose->startPath(path.get(), -1, false, false);
    loose->setParent(nullptr);
    loose->OnUpdate(0);
    EXPECT_FLOAT_EQ(loose->getPosition().x, 200);
    EXPECT_FLOAT_EQ(loose->getPosition().z, 80);
}

class PedestrianTest : public EffectTest {
protected:
    // A pedestrian on a path along x of that length at 10 units a second, its body logging
    // its states; started by a drawing pass.
    void walkOn(float length) {
        pedestrian = make<GPedestrianNode>();
        body = logChild(*pedestrian, "Body");
        pedestrian->OnLoaded();
        pedestrian->setSpeed(10);
        path = makePath({point(0, 0), point(length, 0)});
        pedestrian->startPath(path.get(), -1, false, false);
        draw();
    }
    // Ticks of 30 ms while the mode stays; the milliseconds it lasted.
    int32_t timeIn(GPedestrianNode::Mode mode) {
        int32_t ms = 0;
        while (pedestrian->getMode() == mode && pedestrian->getParent() != nullptr && ms < 100000) {
            tick(30);
            ms += 30;
        }
        return ms;
    }

    CRefPointer<GPedestrianNode> pedestrian;
    CRefPointer<StateLogNode> body;
    CRefPointer<GPath> path;
};

TEST_F(PedestrianTest, WalksPausesLookingRoundAndWalksOnTheWayItWent) {
    walkOn(100000);
    ASSERT_EQ(pedestrian->getMode(), GPedestrianNode::Walking);
    const int32_t walk = pedestrian->getModeTimer();
    EXPECT_GE(walk, 10000);
    EXPECT_LE(walk, 30000);
    EXPECT_NEAR(timeIn(GPedestrianNode::Walking), walk, 30);
    const float walked = pedestrian->getPosition().x;
    EXPECT_NEAR(walked, float(walk) / 100, 0.5f);

    body->states.clear();
    const int32_t pause = timeIn(GPedestrianNode::Standing);
    EXPECT_GE(pause, 4000);
    EXPECT_LE(pause, 6030);
    EXPECT_FLOAT_EQ(pedestrian->getPosition().x, walked) << "it stands still";
    ASSERT_GE(body->states.size(), 3u) << "a look round every 1 to 3 s, the first at once";
    EXPECT_LE(body->states.size(), 8u);
    for (size_t i = 0; i + 1 < body->states.size(); ++i)
        EXPECT_EQ(body->states[i].substr(body->states[i].size() - 5), "Stand") << i;
    EXPECT_EQ(body->states.back(), "Right") << "walking on, it faces its way again";
}

TEST_F(PedestrianTest, LeavesItsParentOnTheWalkingTickAfterItsPathEnded) {
    walkOn(10);
    tick(30, 34);
    EXPECT_NE(pedestrian->getParent(), nullptr) << "at the end after 1 s";
    tick(30);
    EXPECT_EQ(pedestrian->getParent(), nullptr);
    EXPECT_EQ(pedestrian->getScheduler(), nullptr);
    EXPECT_EQ(body->states.back(), "Stop");
}

TEST_F(PedestrianTest, APathEndingAfterTheWalkPhaseIsLeftOnlyWhenWalkingResumes) {
    // Its path ends 300 ms after its walk phase.
    walkOn(0);
    const int32_t walk = pedestrian->getModeTimer();
    path->points[1] = point(float(walk + 300) / 100, 0);
    pedestrian->startPath(path.get(), -1, false, false);
    timeIn(GPedestrianNode::Walking);
    EXPECT_EQ(pedestrian->getMode(), GPedestrianNode::Standing);
    timeIn(GPedestrianNode::Standing);
    ASSERT_NE(pedestrian->getParent(), nullptr) << "standing, it stays";
    EXPECT_NEAR(timeIn(GPedestrianNode::Walking), 360, 30);
    EXPECT_EQ(pedestrian->getParent(), nullptr);
}

} // namespace
