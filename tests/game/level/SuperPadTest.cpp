#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <string>

#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "tests/game/level/FixtureSuperPad.h"

// The super pad's arrow challenge on the fixture's field: clicks and time-outs, the outcome for
// the clients on the pad, the money factor, the award and the arrow counts.
namespace {

using namespace fixture_super_pad;

class SuperPadTest : public FixtureSuperPadTest {};

TEST_F(SuperPadTest, TheSceneMakesItByItsClassName) {
    EXPECT_EQ(pad().getTypeName(), CStringW(u"GSuperPadNode"));
    for (uint32_t kind : {1159u, 1151u, 1146u, 5u, 0u})
        EXPECT_TRUE(pad().isKindOf(kind)) << kind;
    EXPECT_TRUE(pad().keepsWaitingClients());
}

TEST_F(SuperPadTest, RightWrongRightServesWithTwoThirdsOfTheMoney) {
    harness->setDragViaClick(true);
    GClientNode* client = spawn("Low", fixture_clients::wishes({{{"SuperDance"}}}), "C1", "Dancer");
    client->moveToLocation(level().getQueueSlots()[0].get());
    client->placeAtClientPoint(*level().getQueueSlots()[0]);
    client->setState(GClientNode::kStateWaiting);
    harness->advance(1);
    harness->click(*client);
    harness->click(pad());
    harness->advance(1);
    ASSERT_EQ(client->getLocation(), &pad()) << "dropped by the player";
    ASSERT_TRUE(pad().isChallengeRunning());
    EXPECT_EQ(pad().getSequence().size(), 3u);
    EXPECT_EQ(client->getClientState(), GClientNode::kStateWaitingForStart);
    EXPECT_EQ(partState("Mini"), named("MiniAppear"));
    EXPECT_EQ(slotState(0), named("Q"));
    EXPECT_EQ(stateOf(*button(currentArrow()).getChild(0)), named("MakeActive"));
    EXPECT_EQ(stateOf(*button(wrongArrow()).getChild(0)), named("MakeNormal"));

    const char* const letters[] = {"U", "R", "D", "L"};
    const int32_t first = currentArrow();
    answer(first);
    EXPECT_FALSE(client->canBeHit()) << "while an arrow is lit";
    answer(wrongArrow());
    const int32_t third = currentArrow();
    answer(third);

    EXPECT_FALSE(pad().isChallengeRunning());
    EXPECT_EQ(slotState(0), named(letters[first]));
    EXPECT_EQ(slotState(1), named("W"));
    EXPECT_EQ(slotState(2), named(letters[third]));
    EXPECT_EQ(partState("Mini"), named("2"));
    EXPECT_EQ(partState("Fade"), named("MiniDisappear"));
    EXPECT_FLOAT_EQ(pad().getMoneyFactor(), 2.0f / 3.0f);
    EXPECT_EQ(cueCount("SuperPadButtonClicked"), 2u);
    EXPECT_EQ(cueCount("SuperPadFail"), 1u);
    EXPECT_NEAR(client->getHearts(), 4.5f, 0.01f) << "3.5 and the boost";
    EXPECT_EQ(client->getClientState(), GClientNode::kStateSelfServing);
    EXPECT_EQ(pad().getState(), GLocationNode::kStateInAction);
    EXPECT_EQ(stateOf(*pad().getLights()->getChild(0)), named("Action"));
    EXPECT_EQ(stateOf(*pad().getPads()->getChild(0)), named("Action"));

    harness->advance(60);
    EXPECT_EQ(client->getClientState(), GClientNode::kStateAtCheckOut);
    EXPECT_EQ(client->getMoney(), 20.0f) << "30 by two thirds";
    EXPECT_EQ(stateOf(*pad().getLights()->getChild(0)), named("Idle"));
    EXPECT_EQ(stateOf(*pad().getPads()->getChild(0)), named("Off"));
    EXPECT_TRUE(harness->trace().eventsOf<GAwardEarnedEvent>().empty());
}

TEST_F(SuperPadTest, AllWrongCostsEveryClientOnThePadAHeart) {
    GClientNode* dancer = stepOn("D");
    GClientNode* low = stepOn("L", "Low");
    // Held: it leaves the level once it has said goodbye.
    const CRefPointer<GClientNode> fading = CRefPointer<GClientNode>::share(stepOn("F", "Fading"));
    harness->advance(1);
    // The first on the left, the others on the right.
    EXPECT_EQ(dancer->getPosition().x, pad().getPosition().x - 30);
    EXPECT_EQ(low->getPosition().x, pad().getPosition().x + 30);
    EXPECT_EQ(pad().getSequence().size(), 3u) << "the first client's challenge, shared";
    for (int32_t i = 0; i < 3; ++i)
        answer(wrongArrow());
    EXPECT_FALSE(pad().isChallengeRunning());
    EXPECT_EQ(partState("Mini"), named("0"));
    EXPECT_EQ(partState("Fade"), named("MiniDisappear"));
    EXPECT_NEAR(dancer->getHearts(), 3.999f, 0.001f);
    EXPECT_NEAR(low->getHearts(), 2.5f, 0.01f);
    EXPECT_EQ(fading->getHearts(), 0.0f) << "never below none";
    EXPECT_EQ(dancer->getClientState(), GClientNode::kStateAtCheckOut);
    EXPECT_EQ(low->getClientState(), GClientNode::kStateAtCheckOut);
    EXPECT_EQ(fading->getClientState(), GClientNode::kStateLeaving);
    EXPECT_TRUE(dancer->canBeHit());
    EXPECT_FLOAT_EQ(pad().getMoneyFactor(), 0.0f);
}

TEST_F(SuperPadTest, TwoWrongThenRightSucceedsWithOne) {
    GClientNode* client = stepOn("C1");
    harness->advance(1);
    answer(wrongArrow());
    answer(wrongArrow());
    answer(currentArrow());
    EXPECT_FALSE(pad().isChallengeRunning());
    EXPECT_EQ(pad().getCorrectCount(), 1);
    EXPECT_EQ(partState("Mini"), named("1"));
    EXPECT_EQ(client->getClientState(), GClientNode::kStateSelfServing);
}

TEST_F(SuperPadTest, ThreeRightReachTheAward) {
    GAwardTracker& awards = *harness->game.application().getAwardTracker();
    awards.loadProgress(CStringW(u"0;0;0;0;0;0;0;0;0;0;0;0;19"));
    stepOn("C1");
    harness->advance(1);
    for (int32_t i = 0; i < 3; ++i)
        answer(currentArrow());
    EXPECT_EQ(partState("Mini"), named("3"));
    EXPECT_EQ(awards.isAchieved(12), 1);
    const auto earned = harness->trace().eventsOf<GAwardEarnedEvent>();
    ASSERT_EQ(earned.size(), 1u);
    EXPECT_EQ(earned[0]->getAward(), 12);
}

TEST_F(SuperPadTest, ThePieFillsAndTheArrowTimesOut) {
    stepOn("C1");
    GEllipseSectorNode* pie = pad().getProgressPie();
    ASSERT_NE(pie, nullptr);
    pad().OnUpdate(2500);
    EXPECT_EQ(pie->getAngle1(), 0);
    EXPECT_EQ(pie->getAngle2(), 180);
    pad().OnUpdate(2499);
    EXPECT_EQ(pad().getAnswerCount(), 0);
    pad().OnUpdate(1);
    EXPECT_EQ(pad().getAnswerCount(), 1) << "timed out at 5000 ms";
    EXPECT_EQ(slotState(0), named("W"));
    EXPECT_EQ(pad().getRemainingTime(), 5000) << "the next arrow's time";

    // A paused level holds the clock.
    level().setClientGenerationPaused(true);
    pad().OnUpdate(6000);
    EXPECT_EQ(pad().getRemainingTime(), 5000);
    level().setClientGenerationPaused(false);
}

TEST_F(SuperPadTest, ClicksOutsideThePanelAreNoAnswers) {
    GClientNode* client = stepOn("C1");
    harness->advance(1);
    harness->click(pad());
    harness->advance(2);
    harness->click(*client);
    harness->advance(2);
    EXPECT_EQ(pad().getAnswerCount(), 0);
    EXPECT_TRUE(pad().isChallengeRunning());
    EXPECT_EQ(client->getLocation(), &pad()) << "not picked up from the pad";
    EXPECT_EQ(level().getHeldClient(), nullptr);
}

TEST_F(SuperPadTest, ArrowCountsFromTheQueueRecord) {
    struct Case {
        const char* name;
        // -1: no queue record.
        int32_t clicks;
        uint32_t arrows;
        bool warned;
    };
    const Case cases[] = {
        {"five on four buttons", 5, 4, false},
        {"two", 2, 2, false},
        {"none asked", 0, 3, true},
        {"no record", -1, 3, false},
    };
    // The records outlive the clients that keep them.
    static GQueuedClient records[std::size(cases)];
    for (uint32_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        load(1);
        GQueuedClient& queued = records[i];
        queued.superPadClicks = c.clicks;
        const size_t logged = harness->game.logText().size();
        stepOn("C1", "Dancer", c.clicks >= 0 ? &queued : nullptr);
        const CArray<int32_t>& sequence = pad().getSequence();
        ASSERT_EQ(sequence.size(), c.arrows);
        std::map<int32_t, int32_t> uses;
        for (const int32_t arrow : sequence)
            ++uses[arrow];
        for (const auto& [arrow, count] : uses)
            EXPECT_LE(count, 2) << "button " << arrow;
        const std::string log = harness->game.logText().substr(logged);
        EXPECT_EQ(log.find("asks for 0 arrows; it gets 3") != std::string::npos, c.warned) << log;
    }
}

TEST_F(SuperPadTest, AClientSteppingOnAfterTheChallengeIsServedAtTheNextTick) {
    EXPECT_FLOAT_EQ(pad().getMoneyFactor(), 1.0f) << "no answer yet";
    stepOn("C1");
    harness->advance(1);
    for (int32_t i = 0; i < 3; ++i)
        answer(currentArrow());
    EXPECT_TRUE(pad().canTakeClient()) << "busy, but room for more";
    GClientNode* late = stepOn("C2", "Low");
    EXPECT_FALSE(pad().isChallengeRunning());
    EXPECT_EQ(late->getClientState(), GClientNode::kStateWaitingForStart);
    harness->advance(2);
    EXPECT_EQ(late->getClientState(), GClientNode::kStateSelfServing);
    EXPECT_NEAR(late->getHearts(), 4.5f, 0.01f);
    EXPECT_EQ(late->getPosition().x, pad().getPosition().x + 30);
}

TEST_F(SuperPadTest, APadWithoutButtonsServesAtTheNextTick) {
    pad().setTemplateName(named("SuperPadWithoutButtons"));
    ASSERT_NE(pad().getButtonsPanel(), nullptr);
    ASSERT_EQ(pad().getPadButtons().size(), 0u);
    GClientNode* client = stepOn("C1");
    EXPECT_FALSE(pad().isChallengeRunning());
    harness->advance(2);
    EXPECT_EQ(client->getClientState(), GClientNode::kStateSelfServing)
        << "not left standing on the pad";
    EXPECT_FLOAT_EQ(pad().getMoneyFactor(), 1.0f);
}

} // namespace
