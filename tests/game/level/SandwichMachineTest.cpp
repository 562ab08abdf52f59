#include <gtest/gtest.h>

#include "engine/core/Matrix4.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/scene/KeyFrame.h"
#include "tests/game/level/FixtureMachines.h"

// The sandwich machines of the fixture level: picks on the panel, the production and the
// cursor. "SandwichMachine" has a background, so it is the main partner of
// "SandwichMachine2", which is its extra partner.
namespace {

using namespace fixture_machines;

class SandwichMachineTest : public FixtureMachineTest {
protected:
    static GSandwichMachineNode& first() {
        return machineNamed<GSandwichMachineNode>("SandwichMachine");
    }
    static GSandwichMachineNode& second() {
        return machineNamed<GSandwichMachineNode>("SandwichMachine2");
    }
    static BaseNode* button(GSandwichMachineNode& machine, const char* name) {
        return machine.getButtonsPanel()->findChild(named(name), 1);
    }
    static bool press(GSandwichMachineNode& machine, const char* name) {
        return click(machine, button(machine, name));
    }
    static CNameId lookOf(GSandwichMachineNode& machine, const char* name) {
        return stateOf(button(machine, name)->findChild(named("Look"), 1));
    }
    // The mouse moved to that point of the cursor area.
    static void moveOver(GSandwichMachineNode& machine, float x, float y) {
        CVector3d point(x, y, 0);
        machine.getTemplateRoot()
            ->findChild(named("CursorArea"), 1)
            ->getAbsoluteMatrix()
            .transformPoint(point);
        const CRefPointer<CEventInputMouseMove> moved(
            new CEventInputMouseMove(int32_t(point.x), int32_t(point.y)));
        machine.sendToChildren(CEventReceiver::RouteSelfThenChildren, *moved);
    }
};

TEST_F(SandwichMachineTest, BothMachinesWaitForARecipeAndLinkToEachOther) {
    for (GSandwichMachineNode* machine : {&first(), &second()}) {
        EXPECT_EQ(machine->getState(), GLocationNode::kStateNeedsRecharge);
        EXPECT_EQ(machine->getResources().size(), 0u);
        EXPECT_EQ(machine->getLeftChoice(), -1);
        EXPECT_FALSE(machine->getMakeButton()->isVisible());
    }
    EXPECT_EQ(first().getExtraPartner(), &second());
    EXPECT_EQ(second().getMainPartner(), &first());
    EXPECT_EQ(first().getMainPartner(), nullptr);
    harness->advance(100);
    EXPECT_EQ(first().getState(), GLocationNode::kStateNeedsRecharge) << "never by itself";
}

TEST_F(SandwichMachineTest, APickMovesTheGlassAndASecondClickOnItClearsIt) {
    GSandwichMachineNode& machine = first();
    BaseNode* glass = machine.getCursor()->findChild(named("Glass"), 1);
    EXPECT_FALSE(press(machine, "Sandwich2L"));
    EXPECT_EQ(machine.getLeftChoice(), 2);
    EXPECT_EQ(stateOf(glass), named("Sandwich2L"));
    KeyFrame* move = asKeyFrame(glass->findState(named("Sandwich2L"))->findAnimator(named("Move")));
    const auto* target =
        castPropertyData<CPropertyDataVector3d>(move->getKeys()[0].values[0].get());
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->getValue(), CVector3d(49, -109, 1)) << "from the cursor at the machine";
    EXPECT_EQ(lookOf(machine, "Sandwich2L"), named("Select"));
    EXPECT_EQ(lookOf(machine, "Sandwich1L"), named("UnSelect"));
    EXPECT_EQ(second().getLeftChoice(), 2) << "copied to the extra partner";

    press(machine, "Sandwich2L");
    EXPECT_EQ(machine.getLeftChoice(), -1);
    EXPECT_EQ(stateOf(glass), named("0"));
    EXPECT_EQ(lookOf(machine, "Sandwich2L"), named("UnSelect"));
    EXPECT_EQ(second().getLeftChoice(), -1);
}

TEST_F(SandwichMachineTest, MakingTakesEachPickAtMostItsSidesVariantsAndClearsBothMachines) {
    GSandwichMachineNode& machine = first();
    press(machine, "Sandwich1L");
    press(machine, "Sandwich3R");
    EXPECT_EQ(machine.getRightChoice(), 3);
    EXPECT_EQ(second().getRightChoice(), 3);
    EXPECT_TRUE(second().getMakeButton()->isVisible());
    EXPECT_FALSE(press(machine, "SandwichMake"));
    EXPECT_EQ(machine.getState(), GLocationNode::kStateStaffRecharge);
    ASSERT_EQ(machine.getResources().size(), 1u);
    EXPECT_EQ(machine.getResources()[0].name, named("Sandwich12")) << "two right variants";
    EXPECT_EQ(machine.getResources()[0].amount, 0.0f);
    for (GSandwichMachineNode* each : {&machine, &second()}) {
        EXPECT_EQ(each->getLeftChoice(), -1);
        EXPECT_EQ(each->getRightChoice(), -1);
    }
    EXPECT_FALSE(machine.getMakeButton()->isVisible()) << "busy, with an extra partner";
    harness->advance(30);
    EXPECT_EQ(machine.getState(), GLocationNode::kStateReady);
    EXPECT_TRUE(machine.getProductIcon()->isVisible());
    EXPECT_EQ(machine.getResources()[0].amount, 1.0f);
}

TEST_F(SandwichMachineTest, MakingNeedsBothPicksAndAMachineWaitingForARecipe) {
    GSandwichMachineNode& machine = second();
    press(machine, "Sandwich1L");
    press(machine, "SandwichMake");
    EXPECT_EQ(machine.getState(), GLocationNode::kStateNeedsRecharge);
    EXPECT_EQ(machine.getResources().size(), 0u);
    press(machine, "Sandwich1R");
    machine.setState(GLocationNode::kStateReady);
    press(machine, "SandwichMake");
    EXPECT_EQ(machine.getState(), GLocationNode::kStateReady);
    EXPECT_EQ(machine.getResources().size(), 0u);
    EXPECT_EQ(machine.getLeftChoice(), 1) << "the picks stay";
    EXPECT_FALSE(click(machine, &machine)) << "a click on the ready machine goes on";
    machine.setState(GLocationNode::kStateNeedsRecharge);
    EXPECT_TRUE(click(machine, &machine)) << "swallowed while it waits for a recipe";
}

TEST_F(SandwichMachineTest, TheCursorAppearsOnceOverItsAreaAndLeavesOnceNeverInTheShop) {
    GSandwichMachineNode& machine = first();
    BaseNode* cursor = machine.getCursor();
    harness->advance(1);
    EXPECT_FALSE(cursor->isVisible());
    moveOver(machine, 50, 50);
    EXPECT_EQ(stateOf(cursor), named("OnAppear"));
    EXPECT_TRUE(cursor->isVisible());
    moveOver(machine, 60, 60);
    moveOver(machine, 150, 50);
    EXPECT_EQ(stateOf(cursor), named("OnDisappear"));
    EXPECT_FALSE(cursor->isVisible());
    moveOver(machine, 160, 50);
    EXPECT_EQ(stateOf(cursor), named("OnDisappear"));

    machine.setShopMode(true, 0, nullptr, nullptr);
    moveOver(machine, 50, 50);
    EXPECT_FALSE(cursor->isVisible());
    EXPECT_FALSE(machine.getButtonsPanel()->isVisible());
}

} // namespace
