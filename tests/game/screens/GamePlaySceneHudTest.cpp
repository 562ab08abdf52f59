#include <gtest/gtest.h>

#include "engine/scene/Base.h"
#include "engine/scene/NodeState.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameEvents.h"
#include "game/app/LevelConfig.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/EllipseSectorNode.h"
#include "game/screens/TwoSpritesProgressBarNode.h"
#include "tests/game/screens/GamePlaySceneFixture.h"

namespace {

constexpr int32_t kCheckOut = 0;
constexpr int32_t kSwap = 3;
constexpr int32_t kOther = 5;

class GamePlaySceneHudTest : public GamePlaySceneTest {
protected:
    void SetUp() override {
        GamePlaySceneTest::SetUp();
        playRestarted();
        config = level->getLevelConfig();
        // Targets that read apart in the texts.
        config->targetMoney = 1000;
        config->targetExpertMoney = 2500;
        config->targetMasterMoney = 4000;
    }

    GTwoSpritesProgressBarNode& star() const {
        return *static_cast<GTwoSpritesProgressBarNode*>(find("Scene/GameMenu/RankStarNode"));
    }
    BaseNode& effects() const { return *level->getEffectsHolder(); }
    BaseNode& popups() const { return *find("Scene/PopupsLayer"); }
    // The money the level earned in the component, once its display has caught up.
    float settledMoney(int32_t component) {
        harness.advance(100);
        return level->getMoney(component);
    }
    // An earning with a text, as the level's objects earn it; the screen hears of it at the
    // next frame.
    void earn(float amount, int32_t component, const CVector3d& at, const char16_t* text = u"Hi") {
        level->addMoney(amount, component, at, text);
        harness.advance(1);
    }
    static bool sliding(BaseNode& effect, const char* slide) {
        BaseNode* holder = effect.findChild(CNameId(CString("Holder")), 1);
        NodeState* state = holder->findState(CNameId(CString("SelfDestruct")));
        Base* animator = state->findAnimator(CNameId(CString(slide)));
        return animator != nullptr && animator->getScheduler() != nullptr;
    }

    GLevelConfig* config = nullptr;
};

TEST_F(GamePlaySceneHudTest, AttachedLevelFillsTheStaticTexts) {
    EXPECT_EQ(textOf("Scene/GameMenu/Money/LevelText"), "1.1");
    EXPECT_EQ(textOf("Scene/GameMenu/Money/GoalLabel"), "Goal:");
    EXPECT_EQ(textOf("Scene/GameMenu/Money/MoneyText"), "$0");
    EXPECT_EQ(stateOf(find("Scene/GameMenu/Panel")), "Bronze");
    // The level's own targets when the screen arrived.
    EXPECT_EQ(star().getMinValue(), 0.0f);
    EXPECT_GT(star().getMaxValue(), 0.0f);
}

// Each rank names its next goal and the star's range up to it; rank 3 keeps what rank 2 set.
TEST_F(GamePlaySceneHudTest, RanksSetGoalStarStateCueAndPopup) {
    struct Case {
        int32_t rank;
        const char* label;
        const char* goal;
        float minimum;
        float maximum;
        const char* state;
        const char* cue;
        const char* popup;
    };
    const Case cases[] = {
        {1, "Expert:", "$2,500", 1000, 2500, "Silver", "Goal1", "GoalText"},
        {2, "Master:", "$4,000", 2500, 4000, "Gold", "Goal2", "ExpertText"},
        {3, "Master:", "$4,000", 2500, 4000, "Gold", "Goal3", "MasterText"},
        {0, "Goal:", "$1,000", 0, 1000, "Bronze", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const uint32_t before = popups().getChildCount();
        const CRefPointer<CEvent> event(new GRankChangedEvent(c.rank));
        EXPECT_TRUE(screen->OnEvent(*event));
        EXPECT_EQ(textOf("Scene/GameMenu/Money/GoalLabel"), c.label) << c.rank;
        EXPECT_EQ(textOf("Scene/GameMenu/Money/GoalText"), c.goal) << c.rank;
        EXPECT_EQ(star().getMinValue(), c.minimum) << c.rank;
        EXPECT_EQ(star().getMaxValue(), c.maximum) << c.rank;
        EXPECT_EQ(stateOf(find("Scene/GameMenu/Panel")), c.state) << c.rank;
        if (c.popup == nullptr) {
            EXPECT_EQ(popups().getChildCount(), before) << c.rank;
            continue;
        }
        EXPECT_TRUE(playing(c.cue)) << c.rank;
        ASSERT_EQ(popups().getChildCount(), before + 1) << c.rank;
        BaseNode* popup = popups().getChild(before);
        EXPECT_EQ(popup->getName(), CNameId(CString(c.popup)));
        EXPECT_TRUE(popup->isVisible());
        EXPECT_EQ(popup->getPosition().x, 512.0f);
        EXPECT_EQ(popup->getPosition().y, 384.0f);
        EXPECT_EQ(popup->getPosition().z, 2000.0f);
    }
    // The pop-ups go by themselves.
    harness.advance(150);
    EXPECT_EQ(popups().getChildCount(), 0u);
}

TEST_F(GamePlaySceneHudTest, ClosedLevelStopsTheClockAtClosed) {
    harness.advance(50);
    const CRefPointer<CEvent> closed(new GLevelClosedEvent);
    EXPECT_TRUE(screen->OnEvent(*closed));
    BaseNode* closedSign = find("Scene/GameMenu/Time/TimeClosedNode");
    EXPECT_EQ(stateOf(closedSign), "Closed");
    EXPECT_TRUE(closedSign->isVisible());
    EXPECT_EQ(find("Scene/GameMenu/Time/Arrow")->getRotation().z, 0.0f);
    auto* sector = static_cast<GEllipseSectorNode*>(find("Scene/GameMenu/Time/Ellipse"));
    EXPECT_EQ(sector->getAngle1(), 360);
    EXPECT_EQ(sector->getAngle2(), 360);
}

// The money on display and the money awards, which keep the best total.
TEST_F(GamePlaySceneHudTest, MoneyChangesShowTheTotalAndReportTheMoneyAwards) {
    level->addMoney(12600, kOther, CVector3d(), CStringW());
    // The display counts up 8 a frame.
    harness.advance(1600);
    ASSERT_EQ(level->getMoney(GGameLevelScene::kMoneyComponents), 12600.0f);
    EXPECT_EQ(textOf("Scene/GameMenu/Money/MoneyText"), "$12,600");
    EXPECT_EQ(star().getValue(), star().getMaxValue());
    GAwardTracker& awards = *harness.game.application().getAwardTracker();
    EXPECT_EQ(awards.isAchieved(9), 1);
    EXPECT_EQ(awards.isAchieved(10), 1);
    EXPECT_EQ(awards.isAchieved(11), 0);
}

TEST_F(GamePlaySceneHudTest, EarnedMoneyShowsItsEffectAndArrivesWithTheFlyingCoins) {
    const CVector3d at(300, 400, 7);
    earn(20.6f, kCheckOut, at, u"Thanks");
    ASSERT_EQ(effects().getChildCount(), 1u);
    BaseNode& effect = *effects().getChild(0);
    EXPECT_EQ(effect.getName(), CNameId(CString("MoneyEffect")));
    EXPECT_TRUE(effect.getPosition().equals(CVector3d(300, 400, 0), 1e-6f));
    BaseNode* holder = effect.findChild(CNameId(CString("Holder")), 1);
    EXPECT_EQ(shown(*holder->findChild(CNameId(CString("Text")), 1)), "Thanks");
    EXPECT_EQ(shown(*holder->findChild(CNameId(CString("Money")), 1)), "+ $21");
    EXPECT_FALSE(sliding(effect, "Left"));
    EXPECT_FALSE(sliding(effect, "Right"));
    EXPECT_TRUE(playing("Checkout"));
    ASSERT_EQ(popups().getChildCount(), 1u);
    EXPECT_EQ(popups().getChild(0)->getName(), CNameId(CString("MoneySpawnerEffect")));
    // Credited when the coins reach the display, 2000 ms later.
    harness.advance(95);
    EXPECT_EQ(level->getMoney(kCheckOut), 0.0f);
    EXPECT_EQ(settledMoney(kCheckOut), 20.0f);
    // Both effects have gone.
    EXPECT_EQ(effects().getChildCount(), 0u);
    EXPECT_EQ(popups().getChildCount(), 0u);
}

TEST_F(GamePlaySceneHudTest, WithoutTheSpawnerTemplateMoneyArrivesAtOnce) {
    // The screens' templates without any of the screen's own.
    const CRefPointer<TemplateCollectionNode> none(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    manager().setTemplateCollection(none.get());
    earn(30, kCheckOut, CVector3d(300, 400, 0));
    EXPECT_EQ(effects().getChildCount(), 1u);
    EXPECT_EQ(popups().getChildCount(), 0u);
    EXPECT_EQ(settledMoney(kCheckOut), 30.0f);
}

// A second earning where an effect still shows waits until that one has slid left, then slides
// in from the right; its money comes only from then on.
TEST_F(GamePlaySceneHudTest, SecondEarningAtOnePlaceWaitsAndSlides) {
    const CVector3d at(250, 300, 0);
    earn(10, kCheckOut, at);
    harness.advance(4);
    earn(15, kCheckOut, at);
    ASSERT_EQ(effects().getChildCount(), 1u);
    EXPECT_TRUE(sliding(*effects().getChild(0), "Left"));
    harness.advance(23);
    EXPECT_EQ(effects().getChildCount(), 1u);
    harness.advance(3);
    ASSERT_EQ(effects().getChildCount(), 2u);
    BaseNode& second = *effects().getChild(1);
    EXPECT_TRUE(sliding(second, "Right"));
    EXPECT_FALSE(sliding(second, "Left"));
    // The first earning's coins arrive; the second's 2000 ms after its effect showed.
    harness.advance(74);
    EXPECT_EQ(level->getMoney(kCheckOut), 10.0f);
    EXPECT_EQ(settledMoney(kCheckOut), 25.0f);
}

TEST_F(GamePlaySceneHudTest, SwapsShowAtTheCentreAndNeverWait) {
    const CVector3d centre(effects().getBounds().x / 2, effects().getBounds().y / 2, 0);
    // Two swaps short of the swap award.
    GAwardTracker& awards = *harness.game.application().getAwardTracker();
    awards.loadProgress(u"0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;13");
    earn(5, kSwap, CVector3d(10, 10, 0));
    earn(5, kSwap, CVector3d(40, 10, 0));
    ASSERT_EQ(effects().getChildCount(), 2u);
    for (uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(effects().getChild(i)->getName(), CNameId(CString("SwapText")));
        EXPECT_TRUE(effects().getChild(i)->getPosition().equals(centre, 1e-6f));
    }
    EXPECT_TRUE(playing("BonusSwap"));
    EXPECT_EQ(awards.isAchieved(15), 1);
}

TEST_F(GamePlaySceneHudTest, EffectMoneyIsRoundedAndSignedOnlyFromOne) {
    struct Case {
        float amount;
        const char* text;
    };
    const Case cases[] = {{0.4f, "$0"}, {0.6f, "+ $1"}, {1234.5f, "+ $1235"}};
    float x = 100;
    for (const Case& c : cases) {
        earn(c.amount, kOther, CVector3d(x += 100, 200, 0));
        BaseNode& effect = *effects().getChild(effects().getChildCount() - 1);
        BaseNode* holder = effect.findChild(CNameId(CString("Holder")), 1);
        EXPECT_EQ(shown(*holder->findChild(CNameId(CString("Money")), 1)), c.text) << c.amount;
    }
}

// Money with nowhere to show is not lost.
TEST_F(GamePlaySceneHudTest, WithoutAnEffectsLayerMoneyIsCreditedAtOnce) {
    BaseNode& holder = effects();
    level->removeChild(&holder);
    ASSERT_EQ(level->findChild(CNameId(CString("EffectsHolder")), 1), nullptr);
    level->OnLoaded();
    ASSERT_EQ(level->getEffectsHolder(), nullptr);
    earn(40, kCheckOut, CVector3d(100, 100, 0));
    EXPECT_EQ(popups().getChildCount(), 0u);
    EXPECT_EQ(settledMoney(kCheckOut), 40.0f);
}

TEST_F(GamePlaySceneHudTest, BonusCreditedShinesThePanel) {
    const CRefPointer<CEvent> bonus(new GBonusCreditedEvent);
    EXPECT_TRUE(screen->OnEvent(*bonus));
    EXPECT_EQ(stateOf(find("Scene/GameMenu/Panel")), "Shine");
}

} // namespace
