#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/scene/SceneManager.h"
#include "game/app/GameEvents.h"
#include "tests/game/level/FixtureLevels.h"

// The level's tick: what runs in which mode, and the events it holds back for the screen.
namespace {

using namespace fixture_levels;

class LevelClockTest : public FixtureLevelTest {};

// The items of the held events that reached the screen, in order.
std::vector<int32_t> heldEventsReceived(const LevelTrace& trace) {
    std::vector<int32_t> items;
    for (const GShopListItemPressedEvent* event : trace.eventsOf<GShopListItemPressedEvent>())
        items.push_back(event->getIndex());
    return items;
}

CRefPointer<CEvent> heldEvent(int32_t item) {
    return CRefPointer<CEvent>(new GShopListItemPressedEvent(item));
}

TEST_F(LevelClockTest, TickRules) {
    struct Case {
        const char* rule;
        int32_t levelIndex;
        std::function<void(GGameLevelScene&)> act;
        uint32_t ticks;
        std::function<void(GGameLevelScene&, const LevelTrace&)> check;
    };
    const Case cases[] = {
        {"the shop's view stands still, held events and credits too", 1,
         [](GGameLevelScene& level) {
             level.setMode(1);
             level.postEventDelayed(*heldEvent(1), 0);
             level.addMoneyDelayed(0, 50, 20);
         },
         20,
         [](GGameLevelScene& level, const LevelTrace& trace) {
             EXPECT_EQ(level.getElapsedMs(), 0);
             EXPECT_EQ(level.getMoney(0), 0);
             EXPECT_TRUE(heldEventsReceived(trace).empty());
             EXPECT_TRUE(trace.cueTicks("DayStarted").empty());
         }},
        {"paused, the day stands but credits and the display run, and it never ends", 1,
         [](GGameLevelScene& level) {
             level.setClientGenerationPaused(true);
             level.addMoneyDelayed(0, 24, 40);
             level.addMoney(16.5f, 0, CVector3d(), CStringW());
         },
         200,
         [](GGameLevelScene& level, const LevelTrace& trace) {
             EXPECT_EQ(level.getElapsedMs(), 0);
             EXPECT_EQ(level.getMoney(0), 40);
             EXPECT_EQ(trace.cueTicks("Money2"), std::vector<uint32_t>{3});
             EXPECT_EQ(trace.eventTicks(GBonusCreditedEvent::Id), std::vector<uint32_t>{4});
             EXPECT_TRUE(trace.eventTicks(GLevelFinishedEvent::Id).empty());
             EXPECT_TRUE(trace.cueTicks("DayOver").empty());
         }},
        {"a day without time closes at the first tick and ends at the next", 2,
         [](GGameLevelScene&) {}, 20,
         [](GGameLevelScene&, const LevelTrace& trace) {
             EXPECT_EQ(trace.cueTicks("DayOver"), std::vector<uint32_t>{1});
             EXPECT_EQ(trace.eventTicks(GLevelClosedEvent::Id), std::vector<uint32_t>{1});
             EXPECT_EQ(trace.eventTicks(GLevelFinishedEvent::Id), std::vector<uint32_t>{2});
         }},
        {"two events due in one tick both arrive in it, in order", 1,
         [](GGameLevelScene& level) {
             level.postEventDelayed(*heldEvent(1), 40);
             level.postEventDelayed(*heldEvent(2), 30);
             level.postEventDelayed(*heldEvent(3), 100);
         },
         3,
         [](GGameLevelScene&, const LevelTrace& trace) {
             EXPECT_EQ(heldEventsReceived(trace), (std::vector<int32_t>{1, 2}));
             EXPECT_EQ(trace.eventTicks(GShopListItemPressedEvent::Id),
                       (std::vector<uint32_t>{2, 2}));
         }},
        {"an event held already keeps its first delay", 1,
         [](GGameLevelScene& level) {
             const CRefPointer<CEvent> event = heldEvent(1);
             EXPECT_TRUE(level.postEventDelayed(*event, 500));
             EXPECT_FALSE(level.postEventDelayed(*event, 100));
         },
         30,
         [](GGameLevelScene&, const LevelTrace& trace) {
             EXPECT_EQ(trace.eventTicks(GShopListItemPressedEvent::Id), std::vector<uint32_t>{25});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        GGameLevelScene& played = load(c.levelIndex);
        c.act(played);
        harness->advance(c.ticks);
        c.check(played, harness->trace());
    }
}

// The screen hands an event back to wait its turn (a money effect where another one stands):
// while a held event is delivered it is still held, so handing it back is refused, and it is
// delivered once.
TEST_F(LevelClockTest, ADueEventIsStillHeldWhileItIsDelivered) {
    struct HandBack : CEventReceiver {
        bool OnEvent(CEvent& event) override {
            if (event.getTypeId() == GShopListItemPressedEvent::Id)
                accepted.push_back(level().postEventDelayed(event, 500));
            return false;
        }
        std::vector<bool> accepted;
    } handBack;
    CArray<CEventReceiver*>& receivers = harness->levelManager().getPreReceivers();
    receivers.append(&handBack);
    level().postEventDelayed(*heldEvent(1), 0);
    harness->advance(40);
    receivers.eraseAt(receivers.size() - 1);
    EXPECT_EQ(handBack.accepted, std::vector<bool>{false});
    EXPECT_EQ(heldEventsReceived(harness->trace()), std::vector<int32_t>{1});
}

} // namespace
