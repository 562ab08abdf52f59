#include <gtest/gtest.h>

#include <memory>

#include "game/app/GameEvents.h"
#include "game/level/LocationNode.h"
#include "tests/game/level/LevelHarness.h"

// Level 1 of the game's own content, loaded as the screens will load it, before clients come.
namespace {

CNameId named(const char* text) {
    return CNameId(CString(text));
}

class LevelOneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }

    void SetUp() override { ASSERT_NE(harness->loadLevel(1), nullptr); }

    static GLocationNode* location(const char* name) {
        for (const CRefPointer<GLocationNode>& location : harness->level().getLocations()) {
            if (location->getName() == named(name))
                return location.get();
        }
        return nullptr;
    }

    static std::unique_ptr<LevelHarness> harness;
};

std::unique_ptr<LevelHarness> LevelOneTest::harness;

TEST_F(LevelOneTest, ThePadsTakeTheMiddlePlacesOfTheLayoutWithTheirColoursAndTheGridIsStamped) {
    GGameLevelScene& level = harness->level();
    struct Case {
        const char* pad;
        float x;
        int32_t color;
    };
    const Case cases[] = {{"DancePad1", 420, 1}, {"DancePad2", 610, 2}};
    const WalkGrid& grid = level.getWalkGrid();
    for (const Case& c : cases) {
        GLocationNode* pad = location(c.pad);
        ASSERT_NE(pad, nullptr) << c.pad;
        EXPECT_EQ(pad->getPosition(), CVector3d(c.x, 430, 2)) << c.pad;
        EXPECT_EQ(pad->getTemplateName(), named("DancePad1")) << c.pad;
        EXPECT_EQ(pad->getColor(), c.color) << c.pad;
        EXPECT_TRUE(pad->isVisible() && pad->isEnabled()) << c.pad;
        EXPECT_EQ(pad->getState(), GLocationNode::kStateReady) << c.pad;
        ASSERT_NE(pad->getConfig(), nullptr) << c.pad;
        ASSERT_EQ(pad->getResources().size(), 1u);
        EXPECT_EQ(pad->getResources()[0].name, named("Dance"));
        ASSERT_NE(pad->getCapacityIcons(), nullptr);
        EXPECT_FALSE(pad->getCapacityIcons()->isVisible()) << "the dance is never used up";
        // The pad's region: four cells to the left of its own and three to the right, two up
        // and two down.
        const WalkGridCell cell = grid.cellAt(CVector2d(c.x, 430));
        EXPECT_EQ(grid.getWeight(cell), 200) << c.pad;
        EXPECT_EQ(grid.getWeight({cell.column - 4, cell.row - 2}), 200) << c.pad;
        EXPECT_EQ(grid.getWeight({cell.column + 3, cell.row + 2}), 200) << c.pad;
        EXPECT_EQ(grid.getWeight({cell.column - 5, cell.row}), 0) << c.pad;
        EXPECT_EQ(grid.getWeight({cell.column, cell.row + 3}), 0) << c.pad;
    }
    EXPECT_EQ(grid.getWeight({0, 0}), 0);
    EXPECT_EQ(level.getQueueSlots().size(), 3u);
    EXPECT_EQ(level.getAppearLocations(named("Hero")).size(), 1u);
    EXPECT_EQ(harness->game.logProblems(), "");
}

TEST_F(LevelOneTest, ItClosesThroughTheClosingClockAndReportsItsEndOnce) {
    // A day without clients to come.
    CArray<GClientQueueEntry> none;
    harness->level().spawnQueuedClients(none, nullptr);
    const LevelRun first = harness->run(200);
    ASSERT_TRUE(first.finished);
    EXPECT_FALSE(first.passed) << "no money was earned";
    const LevelTrace& trace = first.trace;
    EXPECT_EQ(trace.cueTicks("DayStarted"), std::vector<uint32_t>{1});
    const std::vector<uint32_t> closed = trace.cueTicks("DayOver");
    ASSERT_EQ(closed.size(), 1u);
    // The sixty seconds of the day pass 101 times as fast without clients to come.
    EXPECT_EQ(closed[0], 30u);
    EXPECT_EQ(trace.eventTicks(GLevelClosedEvent::Id), closed);
    // Queued with the scene manager, so it arrives a tick later.
    EXPECT_EQ(trace.eventTicks(GLevelFinishedEvent::Id), std::vector<uint32_t>{closed[0] + 1});
    EXPECT_TRUE(harness->level().isClosed());

    harness->advance(100);
    EXPECT_EQ(harness->trace().eventTicks(GLevelFinishedEvent::Id).size(), 1u);

    harness->level().reset(true);
    const LevelRun again = harness->run(200);
    EXPECT_TRUE(again.finished);
    EXPECT_EQ(again.trace.eventTicks(GLevelFinishedEvent::Id).size(), 2u);
    EXPECT_EQ(again.trace.cueTicks("DayOver").size(), 2u);
    EXPECT_EQ(harness->game.logProblems(), "");
}

} // namespace
