#include <gtest/gtest.h>

#include <vector>

#include "engine/core/EngineServices.h"
#include "engine/scene/NodeFactory.h"
#include "tests/game/level/FixtureMachines.h"

// The converter, the trash can and the drinks machine, used by the hero in the level.
namespace {

using namespace fixture_machines;

class DeviceNodeTest : public FixtureMachineTest {
protected:
    static const GResourceConfig* resource(const char* name) {
        return level().getObjectConfigurations()->getResourceConfig(named(name));
    }

    // Advances until the hero has no task left, at most ten seconds.
    static void untilIdle(const GHeroNode& hero) {
        for (int32_t i = 0; i < 500 && hero.getTasks().size() != 0; ++i)
            harness->advance(1);
    }

    static std::vector<float> penalties() {
        std::vector<float> found;
        for (const GMoneyEarnedEvent* earned : harness->trace().eventsOf<GMoneyEarnedEvent>()) {
            if (earned->getComponent() == 4)
                found.push_back(earned->getAmount());
        }
        return found;
    }
};

TEST_F(DeviceNodeTest, TheFactoryMakesEachMachineOfItsKind) {
    const CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
    struct Case {
        const char16_t* name;
        std::vector<uint32_t> kinds;
    };
    for (const Case& c : {Case{u"GDeviceNode", {1152, 1151, 1146, 5, 0}},
                          Case{u"GConverterNode", {1157, 1152, 1151, 1146, 5, 0}},
                          Case{u"GRecycleNode", {1157, 1152, 1151, 1146, 5, 0}},
                          Case{u"GDrinksMachineNode", {1153, 1152, 1151, 1146, 5, 0}},
                          Case{u"GSandwichMachineNode", {1155, 1152, 1151, 1146, 5, 0}}}) {
        const CRefPointer<BaseNode> made = factory.createNode(c.name, CContentKey());
        ASSERT_TRUE(made);
        EXPECT_EQ(made->getTypeName(), CStringW(c.name));
        EXPECT_EQ(made->getTypeId(), c.kinds[0]);
        for (uint32_t kind : c.kinds)
            EXPECT_TRUE(made->isKindOf(kind)) << kind;
        EXPECT_EQ(made->clone(nullptr, nullptr)->getTypeName(), CStringW(c.name));
    }
}

TEST_F(DeviceNodeTest, AConverterTakesOnlyWhatItConvertsAndNothingWhileAProductWaits) {
    GConverterNode& converter = machineNamed<GConverterNode>("Converter");
    EXPECT_EQ(converter.getState(), GLocationNode::kStateNeedsRecharge) << "empty and waiting";
    EXPECT_EQ(converter.getResources().size(), 0u);
    EXPECT_FALSE(converter.acceptsItem(named("Drink1")));
    EXPECT_FALSE(converter.acceptsItem(CNameId()));
    EXPECT_TRUE(converter.acceptsItem(named("Juice")));

    GHeroNode* hero = hireHero();
    ASSERT_TRUE(hero->takeInHand(named("Juice")));
    ASSERT_TRUE(level().sendHeroToLocation(converter));
    harness->advance(5);
    ASSERT_EQ(converter.getState(), GLocationNode::kStateStaffRecharge) << "the hero's part";
    ASSERT_EQ(converter.getResources().size(), 1u);
    EXPECT_EQ(converter.getResources()[0].name, named("Smoothie"));
    EXPECT_EQ(converter.getRecharger(), hero);
    EXPECT_EQ(hero->getCarried()[0], CNameId()) << "the juice went in";
    untilIdle(*hero);
    harness->advance(60);
    EXPECT_EQ(converter.getState(), GLocationNode::kStateReady);
    EXPECT_EQ(converter.getResources()[0].amount, 1.0f);
    EXPECT_FALSE(converter.acceptsItem(named("Juice"))) << "a smoothie waits";

    ASSERT_TRUE(level().sendHeroToLocation(converter));
    untilIdle(*hero);
    EXPECT_EQ(converter.getState(), GLocationNode::kStateNeedsRecharge)
        << "empty again, and no recharge without an item";
    harness->advance(100);
    EXPECT_EQ(converter.getState(), GLocationNode::kStateNeedsRecharge);
    EXPECT_TRUE(converter.acceptsItem(named("Juice")));
}

// Without a staff part a converter's recharge would start by itself once the product is taken,
// making a product from nothing.
TEST_F(DeviceNodeTest, AConverterWithoutAStaffPartWaitsForTheNextItem) {
    GConverterNode& converter = machineNamed<GConverterNode>("Converter");
    const CRefPointer<GLocationConfig> instant(new GLocationConfig(*converter.getConfig()));
    instant->staffRechargeTime = 0;
    converter.setConfig(instant.get());
    GHeroNode* hero = hireHero();
    ASSERT_TRUE(hero->takeInHand(named("Juice")));
    ASSERT_TRUE(level().sendHeroToLocation(converter));
    untilIdle(*hero);
    harness->advance(60);
    ASSERT_EQ(converter.getState(), GLocationNode::kStateReady);

    ASSERT_TRUE(level().sendHeroToLocation(converter));
    untilIdle(*hero);
    EXPECT_EQ(hero->getCarried()[0], named("Smoothie"));
    harness->advance(100);
    EXPECT_EQ(converter.getState(), GLocationNode::kStateNeedsRecharge);
    ASSERT_EQ(converter.getResources().size(), 1u);
    EXPECT_EQ(converter.getResources()[0].amount, 0.0f) << "no smoothie without juice";
}

TEST_F(DeviceNodeTest, TheTrashCanTakesAnyItemAtItsPenaltyAndCyclesItsLook) {
    GRecycleNode& trash = machineNamed<GRecycleNode>("Trash");
    EXPECT_EQ(trash.getState(), GLocationNode::kStateReady);
    EXPECT_TRUE(trash.acceptsItem(named("Anything")));
    EXPECT_FALSE(trash.acceptsItem(CNameId()));
    const BaseNode* look = trash.getTemplateRoot()->findChild(named("Look"), 1);
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(stateOf(look), named("TrashOff"));
    std::vector<CNameId> looks;
    for (const char* item : {"Juice", "Smoothie", "Drink1", "Juice"}) {
        EXPECT_TRUE(trash.takeItem(nullptr, resource(item)));
        looks.push_back(stateOf(look));
    }
    EXPECT_EQ(looks, (std::vector<CNameId>{named("Trash1"), named("Trash2"), named("Trash0"),
                                           named("Trash1")}));
    EXPECT_EQ(trash.getRecycledCount(), 4);
    harness->advance(1);
    EXPECT_EQ(penalties(), (std::vector<float>{-5, -2, -1, -5}));
    EXPECT_EQ(cueCount("Trash"), 4u);
    EXPECT_EQ(trash.getState(), GLocationNode::kStateReady) << "it never changes its state";
}

TEST_F(DeviceNodeTest, ADrinkButtonChoosesItsVariantAtMostTheDrinksCount) {
    GDrinksMachineNode& drinks = machineNamed<GDrinksMachineNode>("Drinks");
    GHeroNode* hero = hireHero();
    BaseNode* panel = drinks.getButtonsPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(click(drinks, panel->findChild(named("Drink3"), 1)))
        << "a click on the machine, which sends the hero";
    untilIdle(*hero);
    EXPECT_EQ(hero->getCarried()[0], named("Drink2")) << "two variants only";
    EXPECT_EQ(drinks.getResources()[0].name, named("Drink")) << "the offer is restored";
    EXPECT_EQ(drinks.getResources()[0].amount, 2.0f);
    EXPECT_EQ(drinks.getChosenResource(), CNameId());

    GDrinksMachineNode& teas = machineNamed<GDrinksMachineNode>("Teas");
    EXPECT_FALSE(click(teas, teas.getButtonsPanel()->findChild(named("Drink1"), 1)))
        << "tea has no variants";
    EXPECT_EQ(teas.getChosenResource(), CNameId());
    EXPECT_EQ(hero->getTasks().size(), 0u);
}

TEST_F(DeviceNodeTest, APlainDrinkLeavesNothingToTakeAndTheChoiceEndsRestoringIt) {
    GDrinksMachineNode& drinks = machineNamed<GDrinksMachineNode>("Drinks");
    GHeroNode* hero = hireHero();
    EXPECT_FALSE(drinks.chooseResource(hero, CNameId()));
    EXPECT_FALSE(hero->takeFromLocation(drinks, named("Drink")));
    EXPECT_EQ(hero->getCarried()[0], CNameId());
    EXPECT_EQ(drinks.getResources()[0].name, named("Drink"));
    EXPECT_EQ(drinks.getResources()[0].amount, 3.0f) << "nothing used";
    EXPECT_TRUE(hero->takeFromLocation(drinks, named("Drink1")));
    EXPECT_EQ(hero->getCarried()[0], named("Drink1"));
    EXPECT_EQ(drinks.getResources()[0].name, named("Drink"));
}

TEST_F(DeviceNodeTest, AnEmptyDrinksMachineShowsItsSelectorInPlaceOfTheButtons) {
    GDrinksMachineNode& drinks = machineNamed<GDrinksMachineNode>("Drinks");
    drinks.setState(GLocationNode::kStateNeedsRecharge);
    EXPECT_FALSE(drinks.getButtonsPanel()->isVisible());
    EXPECT_TRUE(drinks.getMachineSelector()->isVisible());
    drinks.setState(GLocationNode::kStateReady);
    EXPECT_TRUE(drinks.getButtonsPanel()->isVisible());
    EXPECT_FALSE(drinks.getMachineSelector()->isVisible());
}

} // namespace
