#include <gtest/gtest.h>

#include "game/app/UpgradeCatalog.h"
#include "tests/game/level/FixtureClients.h"

// The level's staff: made from the shop's purchases, replaced without a trace, sent to work by
// the level's event handlers.
namespace {

using namespace fixture_clients;

class LevelStaffTest : public FixtureClientTest {};

TEST_F(LevelStaffTest, TheShopShowsAStaffSlotsNextUpgradeAndPlayShowsOnlyTheBoughtOne) {
    for (const int32_t mode : {1, 0}) {
        SCOPED_TRACE(mode);
        load(1);
        level().setMode(mode);
        level().applyUpgrades(harness->catalog(), mode == 1);
        GStaffNode* masseur = level().findStaff(named("Masseur"));
        if (mode == 0) {
            EXPECT_EQ(masseur, nullptr) << "not bought";
            continue;
        }
        ASSERT_NE(masseur, nullptr);
        EXPECT_EQ(masseur->getConfig()->name, named("Masseur"));
        EXPECT_EQ(masseur->getPosition(), CVector3d(300, 0, 3)) << "at its place";
        EXPECT_EQ(masseur->getCarried().size(), 2u);
        EXPECT_EQ(level().getStaff().size(), 1u);
    }
}

TEST_F(LevelStaffTest, TheDefaultHeroIsHero1AndNothingKeepsALinkToAReplacedOne) {
    CRefPointer<GHeroNode> old = CRefPointer<GHeroNode>::share(hireHero());
    ASSERT_TRUE(old);
    EXPECT_EQ(old->getConfig()->name, named("Hero1"));
    EXPECT_EQ(old->getName(), named("Hero"));
    EXPECT_EQ(level().findStaff(named("Hero")), old.get());
    old->setLocation(findLocation("Water1"));
    EXPECT_EQ(findLocation("Water1")->getHero(), old.get());
    EXPECT_EQ(findLocation("Water1")->getStaff(), nullptr) << "a hero is no staff member";
    level().createHero(CNameId());
    GHeroNode* hero = level().getHero();
    ASSERT_NE(hero, nullptr);
    EXPECT_NE(hero, old.get());
    EXPECT_EQ(findLocation("Water1")->getHero(), nullptr);
    EXPECT_EQ(old->getParent(), nullptr);
    const GObjectRef<GHeroNode> weak(old.get());
    old = nullptr;
    harness->advance(1);
    EXPECT_EQ(weak.get(), nullptr) << "gone once its clock has let go of it";
    level().createHero(named("Nobody"));
    EXPECT_EQ(level().getHero(), nullptr) << "no configuration, no hero, and the old one gone";
}

TEST_F(LevelStaffTest, APanelChoiceIsServedAtOnceByStaffOrElseTheHero) {
    for (const bool withStaff : {true, false}) {
        SCOPED_TRACE(withStaff);
        load(1);
        GClientNode* client = spawn("Dancer", wishes({{{"Massage"}}}));
        GHeroNode* hero = hireHero();
        hero->setPosition({300, 0, 0});
        if (withStaff)
            level().createMasseur(named("Masseur"));
        client->moveToLocation(findLocation("Table"));
        ASSERT_EQ(client->getClientState(), GClientNode::kStateWaitingForStart);
        const CRefPointer<CEvent> chosen(new GClientStateEvent(
            client, GClientNode::kStateWaitingForStart, GClientNode::kStateChoosing));
        EXPECT_TRUE(level().OnEvent(*chosen));
        const GStaffNode* served = withStaff ? level().findStaff(named("Masseur")) : hero;
        ASSERT_NE(served, nullptr);
        EXPECT_EQ(client->getComingAttendant(), served);
        EXPECT_EQ(served->getTasks().size(), 1u);
        EXPECT_EQ(hero->getTasks().size(), withStaff ? 0u : 1u);
    }
}

TEST_F(LevelStaffTest, ThePauseEventSetsThePauseByItsByte) {
    for (const uint8_t paused : {1, 0}) {
        const CRefPointer<CEvent> event(new GPauseGenerationEvent(paused));
        EXPECT_TRUE(level().OnEvent(*event));
        EXPECT_EQ(level().isPaused(), paused != 0);
    }
}

// The garbage goes out before the day ends; a level without a hero carries none.
TEST_F(LevelStaffTest, TheDayDoesNotFinishWhileTheHeroCarriesGarbage) {
    hireHero()->takeInHand(named("Garbage"));
    EXPECT_FALSE(harness->run(400).finished);
    EXPECT_TRUE(level().isClosed());
    level().createHero(named("Nobody"));
    EXPECT_TRUE(harness->run(10).finished);
}

} // namespace
