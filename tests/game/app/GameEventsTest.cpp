#include "game/app/GameEvents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scene/NodeClass.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/SceneManager.h"

namespace {

struct Identity {
    CRefPointer<CEvent> event;
    uint32_t id;
};

std::vector<Identity> everyGameEvent() {
    auto* client = reinterpret_cast<GClientNode*>(0x10);
    auto* location = reinterpret_cast<GLocationNode*>(0x20);
    return {
        {CRefPointer<CEvent>(new GLevelFinishedEvent(true)), 4096},
        {CRefPointer<CEvent>(new GRankChangedEvent(2)), 4097},
        {CRefPointer<CEvent>(new GLevelClosedEvent()), 4098},
        {CRefPointer<CEvent>(new GMoneyChangedEvent()), 4099},
        {CRefPointer<CEvent>(new GBonusCreditedEvent()), 4100},
        {CRefPointer<CEvent>(new GShopListItemPressedEvent(3)), 4101},
        {CRefPointer<CEvent>(new GShopListItemHoveredEvent(4)), 4102},
        {CRefPointer<CEvent>(new GMoneyEarnedEvent(u"+5", 5.0f, 3, {1, 2, 3})), 4103},
        {CRefPointer<CEvent>(new GAwardEarnedEvent(16)), 4107},
        {CRefPointer<CEvent>(new GClientDragEvent(client, client, 1)), 4109},
        {CRefPointer<CEvent>(new GDropTargetEvent(location, false)), 4110},
        {CRefPointer<CEvent>(new GClientStateEvent(client, 5, 4)), 4111},
        {CRefPointer<CEvent>(new LocationStateEvent(location, 2, 1)), 4112},
        {CRefPointer<CEvent>(new GClientSpeedUpEvent(client, CNameId(CString("Towel")))), 4113},
        {CRefPointer<CEvent>(new GClientLeaveEvent(client)), 4114},
        {CRefPointer<CEvent>(new StaffEvent()), 4115},
    };
}

TEST(GameEventsTest, EveryEventIsAGameEventOfItsOwnIdOnly) {
    const std::vector<Identity> events = everyGameEvent();
    for (const Identity& e : events) {
        EXPECT_EQ(e.event->getTypeId(), e.id);
        EXPECT_EQ(e.event->getCategory(), uint32_t(CEvent::CategoryGame)) << e.id;
        EXPECT_EQ(e.event->getTypeName(), CStringW(u"#thisClassName")) << e.id;
        EXPECT_EQ(e.event->getRefCount(), 1) << e.id;
        EXPECT_TRUE(e.event->isKindOf(0)) << e.id;
        EXPECT_TRUE(e.event->isKindOf(4096)) << e.id;
        for (const Identity& other : events) {
            if (other.id != e.id && other.id != 4096) {
                EXPECT_FALSE(e.event->isKindOf(other.id)) << e.id << " as " << other.id;
            }
        }
        // Engine events are none of them.
        EXPECT_FALSE(e.event->isKindOf(8)) << e.id;
    }
}

TEST(GameEventsTest, PayloadsReadBackAsRaised) {
    auto* client = reinterpret_cast<GClientNode*>(0x10);
    auto* other = reinterpret_cast<GClientNode*>(0x18);
    auto* location = reinterpret_cast<GLocationNode*>(0x20);

    EXPECT_FALSE(GLevelFinishedEvent(false).isPassed());
    EXPECT_EQ(GRankChangedEvent(3).getRank(), 3);
    EXPECT_EQ(GShopListItemPressedEvent(7).getIndex(), 7);
    EXPECT_EQ(GShopListItemHoveredEvent(-1).getIndex(), -1);
    const GMoneyEarnedEvent earned(u"Chain!", 12.5f, 2, {10, 20, 0.5f});
    EXPECT_EQ(earned.getText(), CStringW(u"Chain!"));
    EXPECT_EQ(earned.getAmount(), 12.5f);
    EXPECT_EQ(earned.getComponent(), 2);
    EXPECT_EQ(earned.getPosition().y, 20.0f);
    EXPECT_EQ(GAwardEarnedEvent(9).getAward(), 9);
    const GClientDragEvent drag(client, other, 7);
    EXPECT_EQ(drag.getGrabbed(), client);
    EXPECT_EQ(drag.getActing(), other);
    EXPECT_EQ(drag.getValue(), 7);
    const GDropTargetEvent drop(nullptr, true);
    EXPECT_EQ(drop.getTarget(), nullptr);
    EXPECT_TRUE(drop.isCancel());
    const GClientStateEvent clientState(client, 6, 5);
    EXPECT_EQ(clientState.getNode(), client);
    EXPECT_EQ(clientState.getNewState(), 6);
    EXPECT_EQ(clientState.getOldState(), 5);
    const LocationStateEvent locationState(location, 0, 3);
    EXPECT_EQ(locationState.getNode(), location);
    EXPECT_EQ(locationState.getOldState(), 3);
    const GClientSpeedUpEvent speedUp(client, CNameId(CString("Drink")));
    EXPECT_EQ(speedUp.getClient(), client);
    EXPECT_EQ(speedUp.getResource(), CNameId(CString("Drink")));
    EXPECT_EQ(GClientLeaveEvent(other).getClient(), other);
}

// Answers some game events as the gameplay screen does: by its event map.
class ScreenStandIn : public NodeClass<ScreenStandIn, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 990;
    static constexpr const char16_t* kTypeName = u"ScreenStandIn";

    using NodeClass::NodeClass;

    static const EventMap& getEventMap() {
        static const EventMapEntry own[] = {
            eventHook<&ScreenStandIn::OnLevelFinished>(),
            eventHook<&ScreenStandIn::OnRankChanged>(),
            eventHook<&ScreenStandIn::OnMoneyEarned>(),
        };
        static const EventMap map = buildEventMap(BaseNode::getEventMap(), own);
        return map;
    }

    bool OnLevelFinished(GLevelFinishedEvent& event) {
        seen.push_back("finished " + std::to_string(event.isPassed()));
        return true;
    }
    bool OnRankChanged(GRankChangedEvent& event) {
        seen.push_back("rank " + std::to_string(event.getRank()));
        return true;
    }
    bool OnMoneyEarned(GMoneyEarnedEvent& event) {
        seen.push_back("earned " + std::to_string(int(event.getAmount())));
        return true;
    }

    std::vector<std::string> seen;
};

class GameEventRoutingTest : public ::testing::Test {
protected:
    GameEventRoutingTest() {
        manager->appendChild(screen.get());
        screen->setScene(manager.get(), nullptr);
    }

    void raise(BaseNode& from, CEvent* event) {
        from.sendToParent(CEventReceiver::RouteSelfThenParents, *CRefPointer<CEvent>(event));
    }

    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<ScreenStandIn> screen{new ScreenStandIn(CContentKey(), nullptr, nullptr)};
    // The level, two levels down: events travel up the parents to the screen.
    CRefPointer<BaseNode> holder{new BaseNode(CContentKey(), screen.get(), nullptr)};
    CRefPointer<BaseNode> level{new BaseNode(CContentKey(), holder.get(), nullptr)};
};

TEST_F(GameEventRoutingTest, EventsGoUpToTheMapEntryOfTheirOwnId) {
    raise(*level, new GRankChangedEvent(2));
    raise(*level, new GLevelFinishedEvent(true));
    // Kind of 4096, but no entry of its own: nobody answers the money change.
    raise(*level, new GMoneyChangedEvent());
    EXPECT_EQ(screen->seen, (std::vector<std::string>{"rank 2", "finished 1"}));
}

TEST_F(GameEventRoutingTest, QueuedEventsArriveAtTheManagersNextTick) {
    level->postEventToParent(CEventReceiver::RouteSelfThenParents,
                             *CRefPointer<CEvent>(new GMoneyEarnedEvent(u"", 40, 0, {})));
    EXPECT_TRUE(screen->seen.empty());
    manager->OnUpdate(20);
    EXPECT_EQ(screen->seen, (std::vector<std::string>{"earned 40"}));
}

TEST_F(GameEventRoutingTest, AReceiverWithoutTheGameCategoryNeverSeesThem) {
    screen->setCategoryMask(BaseNode::kCategoryMask & ~uint32_t(CEvent::CategoryGame));
    raise(*level, new GRankChangedEvent(1));
    level->postEventToParent(CEventReceiver::RouteSelfThenParents,
                             *CRefPointer<CEvent>(new GRankChangedEvent(3)));
    manager->OnUpdate(20);
    EXPECT_TRUE(screen->seen.empty());
}

} // namespace
