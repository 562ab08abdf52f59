#include "game/level/CharacterNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/core/Properties.h"
#include "game/level/GameLevelScene.h"
#include "tests/level/LevelFixtures.h"
#include "tests/level/WalkGridFixtures.h"

namespace {

const std::vector<std::string> kAnimations = {
    "Start",      "Stand",    "MoveRight",    "MoveRightUp", "MoveUp",
    "MoveLeftUp", "MoveLeft", "MoveLeftDown", "MoveDown",    "MoveRightDown"};

// Counts the walks' starts and ends in the recorder's list.
class HookedCharacter : public NodeClass<HookedCharacter, GCharacterNode> {
public:
    static constexpr uint32_t kTypeId = 906;
    static constexpr const char16_t* kTypeName = u"HookedCharacter";

    using NodeClass::NodeClass;

    void onWalkStarted() override { startedStates().push_back("walk started"); }
    void onWalkFinished() override { startedStates().push_back("walk finished"); }
};

CArray<CVector2d> pointsOf(std::initializer_list<CVector2d> points) {
    CArray<CVector2d> array;
    for (const CVector2d& point : points)
        array.append(point);
    return array;
}

// A level on a clock of the test's own, loaded from a scene file with characters whose child
// "Body" notes the animations it plays.
class CharacterNodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        scenes.files->add(
            u"level.qscn",
            "<SceneNode Type=\"GGameLevelScene\">"
            "<SceneNode Type=\"GCharacterNode\">" +
                nameProperty("Walker") + "<SceneNode Type=\"StateRecorder\">" +
                nameProperty("Body") + emptyStates(kAnimations) +
                "</SceneNode></SceneNode>"
                "<SceneNode Type=\"GCharacterNode\"><Properties><string Name=\"Name\" "
                "Value=\"Slow\"/><float Name=\"Velocity\" Value=\"120\"/></Properties>"
                "</SceneNode>"
                "<SceneNode Type=\"GCharacterNode\"><Properties><string Name=\"Name\" "
                "Value=\"Counted\"/><int Name=\"Velocity\" Value=\"5\"/></Properties>"
                "</SceneNode>"
                "<SceneNode Type=\"GCharacterNode\"><Properties><string Name=\"Name\" "
                "Value=\"Backward\"/><float Name=\"Velocity\" Value=\"-3\"/></Properties>"
                "</SceneNode>"
                "</SceneNode>");
        testing::internal::CaptureStdout();
        level = CRefPointer<GGameLevelScene>::share(
            static_cast<GGameLevelScene*>(scenes.load(u"level.qscn").get()));
        loadLog = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(level);
        giveClock(*level, *clock);
        walker = character("Walker");
        ASSERT_TRUE(walker);
        walker->setLevel(level.get());
        walker->setVelocity(1000);
        startedStates().clear();
    }
    CRefPointer<GCharacterNode> character(const char* name) const {
        return CRefPointer<GCharacterNode>::share(
            static_cast<GCharacterNode*>(level->findChild(nameId(name), 1)));
    }
    std::vector<std::string> animations() const {
        std::vector<std::string> names;
        for (const std::string& entry : startedStates())
            names.push_back(entry.substr(entry.find(' ') + 1));
        return names;
    }
    void expectAt(float x, float y) const {
        EXPECT_FLOAT_EQ(walker->getPosition().x, x);
        EXPECT_FLOAT_EQ(walker->getPosition().y, y);
        EXPECT_FLOAT_EQ(walker->getPosition().z, y + 0.1f * x) << "the depth follows";
    }

    SceneFiles scenes = levelSceneFiles();
    CRefPointer<CScheduler> clock{new CScheduler()};
    CRefPointer<GGameLevelScene> level;
    CRefPointer<GCharacterNode> walker;
    std::string loadLog;
};

TEST_F(CharacterNodeTest, OneTickPassingSeveralCornersTurnsAtEachInOrder) {
    walker->startWalk(pointsOf({{100, 100}, {110, 100}, {110, 90}, {100, 90}, {100, 200}}), false);
    expectAt(100, 100);
    clock->update(35);
    EXPECT_EQ(animations(),
              (std::vector<std::string>{"Start", "MoveRight", "MoveUp", "MoveLeft", "MoveDown"}));
    expectAt(100, 95);
    EXPECT_EQ(describePoints(walker->getPath()), "(100,200)(100,90)");
    EXPECT_TRUE(walker->isWalking());
}

TEST_F(CharacterNodeTest, ArrivingExactlyOnAPointPassesIt) {
    walker->startWalk(pointsOf({{20, 20}, {20, 0}, {0, 0}}), true);
    clock->update(20);
    expectAt(20, 0);
    EXPECT_EQ(walker->getCurrentAnimation(), nameId("MoveDown"));
    EXPECT_EQ(walker->getPath().size(), 2u);
    clock->update(20);
    expectAt(20, 20);
    EXPECT_FALSE(walker->isWalking());
    EXPECT_EQ(animations(), (std::vector<std::string>{"Start", "MoveRight", "MoveDown", "Stand"}));
}

TEST_F(CharacterNodeTest, TheDirectionPicksOneOfEightMoves) {
    const float rad = 3.14159265f / 180;
    struct Case {
        CVector2d direction;
        const char* animation;
    };
    const Case cases[] = {
        {{0, 1}, "MoveDown"},
        {{0, -1}, "MoveUp"},
        {{std::cos(30 * rad), -std::sin(30 * rad)}, "MoveRightUp"},
        {{std::cos(359 * rad), -std::sin(359 * rad)}, "MoveRight"},
        {{-1, 0.2f}, "MoveLeft"},
        {{0, 0}, "MoveRight"},
        // So close below the horizontal that the angle comes out at 360 degrees: no move.
        {{1, 1e-9f}, "Stand"},
    };
    for (const Case& c : cases) {
        walker->stopWalk();
        walker->setDirection(c.direction);
        EXPECT_EQ(walker->getCurrentAnimation(), nameId(c.animation))
            << c.direction.x << "," << c.direction.y;
        EXPECT_EQ(animations().back(), c.animation);
    }
}

TEST_F(CharacterNodeTest, TwoSegmentsInOneSectorPlayTheMoveOnce) {
    walker->startWalk(pointsOf({{0, 0}, {10, 0}, {20, 1}, {30, 1}}), false);
    clock->update(40);
    EXPECT_EQ(animations(), (std::vector<std::string>{"Start", "MoveRight", "Stand"}));
    expectAt(30, 1);
}

TEST_F(CharacterNodeTest, APathOfOnePointRunsBothHooksAndTheCharacterStays) {
    const CRefPointer<HookedCharacter> hooked(
        new HookedCharacter(CContentKey(), level.get(), nullptr));
    hooked->setPosition({5, 6, 0});
    for (const CArray<CVector2d>& points : {pointsOf({}), pointsOf({{50, 50}})}) {
        startedStates().clear();
        EXPECT_TRUE(hooked->startWalk(points, true));
        EXPECT_EQ(startedStates(), (std::vector<std::string>{"walk started", "walk finished"}));
        EXPECT_EQ(hooked->getPosition(), (CVector3d{5, 6, 0}));
        EXPECT_EQ(hooked->getCurrentAnimation(), CNameId());
    }
    startedStates().clear();
    EXPECT_TRUE(hooked->walkTo({5, 6}, {500, 600}, false)) << "a character without a level";
    EXPECT_EQ(startedStates(), (std::vector<std::string>{"walk started", "walk finished"}));
}

TEST_F(CharacterNodeTest, ACharacterWalksThePathItsLevelFinds) {
    level->getWalkGrid().setDefaults();
    EXPECT_TRUE(walker->walkTo({10, 10}, {70, 10}, false));
    EXPECT_EQ(describePoints(walker->getPath()), "(70,10)(50,10)(30,10)(10,10)");
    clock->update(20);
    expectAt(30, 10);
    clock->update(40);
    expectAt(70, 10);
    EXPECT_EQ(animations(), (std::vector<std::string>{"Start", "MoveRight", "Stand"}));
}

TEST_F(CharacterNodeTest, SettingTheLevelEndsTheWalkOnTheScenesClock) {
    walker->startWalk(pointsOf({{0, 0}, {300, 0}}), false);
    clock->update(20);
    walker->setPosition({40, 30, 0});
    walker->setLevel(level.get());
    EXPECT_FALSE(walker->isWalking());
    EXPECT_EQ(walker->getCurrentAnimation(), nameId("Stand"));
    expectAt(40, 30);
    EXPECT_EQ(walker->getScheduler(), clock.get());
    clock->update(20);
    expectAt(40, 30);
}

TEST_F(CharacterNodeTest, VelocityIsReadFromTheSceneFileAndSavedOnlyWhenNot250) {
    struct Case {
        const char* name;
        float velocity;
        bool saved;
    };
    const Case cases[] = {
        {"Slow", 120, true},
        {"Counted", 0, true},     // an int reads 0, as every float property does
        {"Backward", 250, false}, // refused
    };
    for (const Case& c : cases) {
        const CRefPointer<GCharacterNode> node = character(c.name);
        EXPECT_EQ(node->getVelocity(), c.velocity) << c.name;
        CRefPointer<CProperties> saved(new CProperties);
        node->saveProperties(*saved);
        EXPECT_EQ(saved->indexOf("Velocity") >= 0, c.saved) << c.name;
    }
    EXPECT_NE(loadLog.find("WRN: Velocity refused, not a speed: -3.000000 for Backward"),
              std::string::npos)
        << loadLog;

    const CRefPointer<GCharacterNode> fresh(new GCharacterNode(CContentKey(), nullptr, nullptr));
    EXPECT_EQ(fresh->getVelocity(), 250.0f);
    testing::internal::CaptureStdout();
    fresh->setVelocity(INFINITY);
    fresh->setVelocity(NAN);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(fresh->getVelocity(), 250.0f);
    CRefPointer<CProperties> saved(new CProperties);
    fresh->saveProperties(*saved);
    EXPECT_LT(saved->indexOf("Velocity"), 0);
}

TEST_F(CharacterNodeTest, ACharacterRemovedFromItsLevelLeavesTheClockAndIsDestroyed) {
    walker->startWalk(pointsOf({{0, 0}, {300, 0}}), false);
    const GObjectRef<GCharacterNode> weak(walker.get());
    ASSERT_TRUE(level->removeChild(walker.get()));
    walker.reset();
    EXPECT_TRUE(weak) << "the clock still holds it";
    clock->update(20);
    EXPECT_FALSE(weak);
    EXPECT_EQ(weak.get(), nullptr);
}

} // namespace
