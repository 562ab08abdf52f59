#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scene/NodeState.h"
#include "game/app/UpgradeCatalog.h"
#include "tests/game/level/FixtureLevels.h"

// How the purchases of the shop set a level up: the pads' places, the machines that merge in
// play, and the environment.
namespace {

using namespace fixture_levels;

class LevelSetUpTest : public FixtureLevelTest {
protected:
    static void buy(const char* slot, const char* type) {
        harness->catalog()->setCurrentByName(named(slot), named(type));
    }
    static void applyPurchases(int32_t mode) {
        level().setMode(mode);
        level().applyUpgrades(harness->catalog(), mode == 1);
        level().layoutDancePads();
    }
};

TEST_F(LevelSetUpTest, BoughtPadsTakeTheMiddlePlacesOfTheLayoutForTheirNumber) {
    struct Case {
        int32_t pads;
        float firstX; // the places lie 100 apart
    };
    // Layouts of 4, 7 and 8 places for 2 (and 4), 5 (and any odd number) and 6 pads.
    const Case cases[] = {{2, 100}, {5, 100}, {6, 100}, {1, 300}, {4, 0}};
    for (const Case& c : cases) {
        load(1);
        for (int32_t k = 1; k <= c.pads; ++k)
            buy(("DancePad" + std::to_string(k)).c_str(), "Pad");
        applyPurchases(0);
        for (int32_t k = 1; k <= 6; ++k) {
            const GLocationNode* pad = findLocation(("DancePad" + std::to_string(k)).c_str());
            ASSERT_NE(pad, nullptr);
            EXPECT_EQ(pad->isVisible(), k <= c.pads) << c.pads << " pads, pad " << k;
            if (k > c.pads) {
                EXPECT_EQ(pad->getPosition(), CVector3d(0, 0, 3)) << "an unbought pad stays";
                continue;
            }
            EXPECT_EQ(pad->getPosition(), CVector3d(c.firstX + 100.f * float(k - 1), 400, 3))
                << c.pads << " pads, pad " << k;
        }
    }
}

TEST_F(LevelSetUpTest, TheThirdMachinesTakeOverTheOlderOnesOnlyInPlay) {
    struct Expected {
        const char* place;
        const char* shown;         // template; empty for none
        const char* configuration; // empty for none
    };
    struct Case {
        int32_t mode;
        std::vector<Expected> machines;
    };
    const Case cases[] = {
        {0,
         {{"EnergyDrinkMachine", "", ""},
          {"EnergyDrinkMachine2_1", "EnergyDrinkMachine2_1", "EnergyDrinkMachine3"},
          {"EnergyDrinkMachine2_2", "EnergyDrinkMachine2_2", "EnergyDrinkMachine3"},
          {"SandwichMachine", "SandwichMachine3_1", "SandwichMachine3"},
          {"SandwichMachine2", "SandwichMachine3_2", "SandwichMachine3"}}},
        {1,
         {{"EnergyDrinkMachine", "EnergyDrinkMachine3", "EnergyDrinkMachine3"},
          {"EnergyDrinkMachine2_1", "EnergyDrinkMachine2", "EnergyDrinkMachine2"},
          {"SandwichMachine", "SandwichMachine3", "SandwichMachine3"},
          {"SandwichMachine2", "SandwichMachine2", "SandwichMachine2"}}},
    };
    for (const Case& c : cases) {
        load(1);
        buy("EnergyDrinkMachine", "EnergyDrinkMachine3");
        buy("SandwichMachine", "SandwichMachine3");
        applyPurchases(c.mode);
        for (const Expected& machine : c.machines) {
            const GLocationNode* location = findLocation(machine.place);
            ASSERT_NE(location, nullptr) << machine.place;
            EXPECT_EQ(location->getTemplateName(), named(machine.shown))
                << "mode " << c.mode << " " << machine.place;
            const GLocationConfig* config = location->getConfig();
            EXPECT_EQ(config != nullptr ? config->name : CNameId(), named(machine.configuration))
                << "mode " << c.mode << " " << machine.place;
            const bool present = *machine.configuration != 0;
            EXPECT_EQ(location->isVisible(), present) << machine.place;
            EXPECT_EQ(location->isEnabled(), present) << machine.place;
        }
    }
}

TEST_F(LevelSetUpTest, TheEnvironmentUpgradesAreStatesOfTheBackgroundsChildren) {
    BaseNode* background = level().getBackground();
    ASSERT_NE(background, nullptr);
    for (int32_t k = 1; k <= 6; ++k) {
        const std::string name = "Env" + std::to_string(k);
        const BaseNode* part = background->findChild(named(name.c_str()), 1);
        ASSERT_NE(part, nullptr);
        ASSERT_NE(part->getCurrentState(), nullptr) << name;
        EXPECT_EQ(part->getCurrentState()->getName(), named(name.c_str()));
    }
}

TEST_F(LevelSetUpTest, AResourceIsFoundAtTheFirstLocationBuiltToOfferIt) {
    const ObjectConfigurations& configs = *level().getObjectConfigurations();
    const GResourceConfig& dance = *configs.getResourceConfig(named("Dance"));
    const GResourceConfig& smoothie = *configs.getResourceConfig(named("Smoothie"));
    EXPECT_EQ(level().findLocationOffering(dance), findLocation("EnergyDrinkMachine"));
    buy("DancePad3", "Pad");
    applyPurchases(0);
    EXPECT_EQ(level().findLocationOffering(dance), findLocation("DancePad3"));
    EXPECT_EQ(level().findLocationProducing(dance), findLocation("DancePad3"));
    EXPECT_EQ(level().findLocationOffering(smoothie), nullptr);
    EXPECT_EQ(level().findLocationProducing(smoothie), nullptr) << "nothing offers juice";
}

} // namespace
