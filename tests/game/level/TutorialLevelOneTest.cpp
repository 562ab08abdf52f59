#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <set>
#include <vector>

#include "game/level/ClientNode.h"
#include "game/level/LocationNode.h"
#include "game/screens/TutorialScript.h"
#include "tests/game/level/LevelHarness.h"
#include "tests/game/level/LevelTutorialOwner.h"

// The game's level 1 with its shipped tutorial, played by clicks as a player who does what each
// hint asks, after trying what it does not.
namespace {

// The hints of "levels/tutorials/Level1.xml".
enum Hint : int32_t {
    kWelcome = 0,
    kPickUp = 3,
    kPlace = 4,
    kCheckOut = 7,
    kOnYourOwn = 9,
    kHints = 11,
};

class TutorialLevelOneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }

    static GClientNode* client(const char* name) {
        return harness->level().findClient(CNameId(CString(name)));
    }
    static BaseNode& node(const char* name) { return *harness->node(name); }

    static inline std::unique_ptr<LevelHarness> harness;
};

TEST_F(TutorialLevelOneTest, AFollowingPlayerReachesEveryHintInOrderAndOthersAreNotPickedUp) {
    harness->setDragViaClick(true);
    harness->armClientQueue = false;
    ASSERT_NE(harness->loadLevel(1), nullptr);
    harness->armClientQueue = true;
    GGameLevelScene& level = harness->level();
    LevelTutorialOwner owner(*harness);
    ASSERT_TRUE(owner.startFile(u"levels/tutorials/Level1.xml"));
    ASSERT_EQ(owner.controller()->getScript()->getHintCount(), uint32_t(kHints));
    EXPECT_TRUE(level.hasTutorial());

    std::set<int32_t> acted;
    bool otherPickedUp = false;
    harness->player = [&](uint32_t) {
        owner.step(20);
        if (!owner.isRunning() || !acted.insert(owner.controller()->getCurrentHint()).second)
            return;
        switch (owner.controller()->getCurrentHint()) {
        case kWelcome:
        case kOnYourOwn:
            harness->click(node("DancePad2"));
            break;
        case kPickUp:
            harness->click(*client("1"));
            break;
        case kPlace:
            // Not the pad the hint shows: the client stays carried.
            harness->click(node("DancePad2"));
            EXPECT_EQ(level.getHeldClient(), client("1"));
            harness->click(node("DancePad1"));
            break;
        case kCheckOut:
            ASSERT_NE(client("2"), nullptr);
            EXPECT_EQ(client("2")->getClientState(), GClientNode::kStateWaiting);
            EXPECT_EQ(client("2")->getHearts(),
                      float(client("2")->getClientConfig()->initialHearts))
                << "no client loses hearts while the tutorial runs";
            harness->click(*client("2"));
            otherPickedUp = level.getHeldClient() != nullptr;
            harness->click(*client("1"));
            break;
        default:
            break;
        }
    };
    for (uint32_t tick = 0; tick < 3000 && owner.isRunning(); ++tick)
        harness->advance(1);
    ASSERT_FALSE(owner.isRunning()) << "stopped at hint " << owner.shownHints.back();

    std::vector<int32_t> everyHint(kHints);
    std::iota(everyHint.begin(), everyHint.end(), 0);
    EXPECT_EQ(owner.shownHints, everyHint);
    EXPECT_FALSE(otherPickedUp);
    EXPECT_FALSE(level.hasTutorial());
    EXPECT_FALSE(level.isTutorialQueueMode());
    EXPECT_GE(level.getSpawnRecords()[2].countdown, 0) << "the last client is on its way";
    EXPECT_FALSE(level.isPaused());

    // The day goes on without the tutorial and ends.
    harness->player = nullptr;
    const LevelRun run = harness->run(5000);
    EXPECT_TRUE(run.finished);
    EXPECT_GE(run.servedClients, 1) << "the client of the tutorial";
    EXPECT_EQ(run.servedClients + run.lostClients, 3);
}

} // namespace
