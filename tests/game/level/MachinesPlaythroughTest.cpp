#include <gtest/gtest.h>

#include "tests/game/level/FixtureMachines.h"

// The machines' level played from the start to the day's end by a scripted player who sends
// the hero to fetch, convert, throw away and serve.
namespace {

using namespace fixture_machines;
using fixture_clients::item;
using fixture_clients::wishes;

class MachinesPlaythroughTest : public FixtureMachineTest {
protected:
    void TearDown() override { harness->player = nullptr; }
};

TEST_F(MachinesPlaythroughTest, TheHeroFetchesConvertsThrowsAwayAndServes) {
    // One "Dancer" (4.999 hearts that never fall) dances 4000 ms on the pad and asks for a
    // smoothie halfway. The hero fetches juice at the bar, hands it in at the converter (1000 ms
    // of its own and 1000 of the converter's), takes the smoothie out and brings it: its heart
    // caps the client's hearts at 5. Then the hero takes the second drink with the machine's
    // button and throws it away: its penalty of 1 is component 4. At the check-out the client
    // pays for the dance's MoneyBoost of 20 by its hearts: floor((trunc(5) + 1) x 20 / 5 + 0.5)
    // = 24, component 0. Nothing else pays: the pad has no colour and the level no chains.
    GHeroNode* hero = hireHero();
    GLocationNode* pad = findLocation("DancePad1");
    GClientNode* client = spawn("Dancer", wishes({{{"Dance", {item("Smoothie", 50, 50)}}}}));
    client->moveToLocation(pad);
    const CRefPointer<GClientNode> held = CRefPointer<GClientNode>::share(client);
    auto& drinks = machineNamed<GDrinksMachineNode>("Drinks");
    int32_t step = 0;
    harness->player = [&](uint32_t) {
        if (hero->getTasks().size() != 0)
            return;
        GLocationNode* converter = findLocation("Converter");
        switch (step) {
        case 0:
            level().sendHeroToLocation(*findLocation("JuiceBar"));
            break;
        case 1:
            level().sendHeroToLocation(*converter);
            break;
        case 2:
            if (converter->getState() != GLocationNode::kStateReady)
                return;
            level().sendHeroToLocation(*converter);
            break;
        case 3:
            if (held->getClientState() != GClientNode::kStateWantsItem)
                return;
            level().sendHeroToLocation(*pad);
            break;
        case 4:
            click(drinks, drinks.getButtonsPanel()->findChild(named("Drink2"), 1));
            break;
        case 5:
            level().sendHeroToLocation(*findLocation("Trash"));
            break;
        case 6:
            if (held->getClientState() != GClientNode::kStateAtCheckOut)
                return;
            level().sendHeroToLocation(*pad);
            break;
        default:
            return;
        }
        ++step;
    };
    const LevelRun run = harness->run(2000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(step, 7) << "every step taken";
    EXPECT_EQ(run.servedClients, 1);
    EXPECT_EQ(run.lostClients, 0);
    EXPECT_EQ(run.heartsTotal, 5);
    const float expected[GGameLevelScene::kMoneyComponents] = {24, 0, 0, 0, -1, 0};
    for (int32_t i = 0; i < GGameLevelScene::kMoneyComponents; ++i)
        EXPECT_EQ(run.money[i], expected[i]) << "component " << i;
    EXPECT_EQ(findLocation("Converter")->getState(), GLocationNode::kStateNeedsRecharge);
    EXPECT_EQ(machineNamed<GRecycleNode>("Trash").getRecycledCount(), 1);
    EXPECT_EQ(drinks.getResources()[0].amount, 2.0f);
    for (const CNameId carried : hero->getCarried())
        EXPECT_EQ(carried, CNameId());
}

} // namespace
