#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/scene/NodeState.h"
#include "game/level/ConverterNode.h"
#include "game/level/DrinksMachineNode.h"
#include "game/level/RecycleNode.h"
#include "game/level/SandwichMachineNode.h"
#include "tests/game/level/FixtureClients.h"

// A level of the tests' own in setting 4 for the machines, all at one point with the hero's
// place: a converter ("Blender": a "Smoothie" of 1 from "Juice", 1000 ms of staff and 1000 of
// its own), a trash can, a drinks machine ("Drink" with two variants "Drink1" and "Drink2",
// made by the configuration), a tea machine ("Tea" without variants), two sandwich machines
// ("Sandwich", 3 left and 2 right variants; the first with a background), and a dance pad and
// a check-out desk for the clients of "Dancer", and a bar offering juice without end. The day
// lasts 30 s. The smoothie gives a client a heart.
// "Juice" is penalised 5 in the trash can, "Smoothie" 2, each drink 1.
namespace fixture_machines {

using fixture_clients::states;
using fixture_levels::at;
using fixture_levels::element;
using fixture_levels::named;
using fixture_levels::nodeNamed;

const char* const kMachines[][3] = {
    {"Converter", "GConverterNode", "Blender"},
    {"Trash", "GRecycleNode", "TrashCan"},
    {"Drinks", "GDrinksMachineNode", "DrinksMachine"},
    {"Teas", "GDrinksMachineNode", "TeaMachine"},
    {"SandwichMachine", "GSandwichMachineNode", "SandwichMachine"},
    {"SandwichMachine2", "GSandwichMachineNode", "SandwichMachine2"},
    {"DancePad1", "GLocationNode", "Pad"},
    {"Desk", "GLocationNode", "Desk"},
    {"JuiceBar", "GLocationNode", "JuiceBar"},
};

inline std::string machine(const char* name, const char* kind) {
    return std::string("<SceneNode Type=\"ControlNode\" ClassOverride=\"") + kind +
           "\"><Properties><string Name=\"Name\" Value=\"" + name + "\"/>" + at(0, 0, 3) +
           "</Properties></SceneNode>";
}

inline std::string levelScene() {
    std::string locations;
    for (const auto& slot : kMachines)
        locations += machine(slot[0], slot[1]);
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\">" +
           nodeNamed("BaseNode", "Bg") +
           nodeNamed("ControlNode", "AppearLocations",
                     fixture_clients::located("Hero", 0) + fixture_clients::located("Queue1", 0)) +
           nodeNamed("ControlNode", "CharactersNode") +
           nodeNamed("ControlNode", "LocationsNode", locations) +
           nodeNamed("BaseNode", "EffectsHolder") + "</SceneNode>";
}

inline std::string upgrades() {
    std::string locations;
    for (const auto& slot : kMachines)
        locations +=
            std::string("<U Name=\"") + slot[0] + "\" Type=\"" + slot[2] + "\" Price=\"0\"/>";
    return "<Upgrades><Level Index=\"1\"><Locations>" + locations +
           "</Locations><Staff></Staff><Env></Env></Level></Upgrades>";
}

inline std::string config(const char* name, const std::string& provided,
                          const std::string& more = "") {
    return std::string("<Location><Name Value=\"") + name + "\"/>" + more + "<ProvidedResources>" +
           provided + "</ProvidedResources></Location>";
}

inline std::string locationConfigs() {
    return "<ObjectConfigurations>" +
           config("Blender", "<Resource Name=\"Smoothie\" InitialAmount=\"0\" MaxAmount=\"1\"/>",
                  "<StaffRechargeTime Value=\"1000\"/><SelfRechargeTime Value=\"1000\"/>") +
           config("TrashCan", "") +
           config("DrinksMachine",
                  "<Resource Name=\"Drink\" InitialAmount=\"3\" MaxAmount=\"3\"/>") +
           config("TeaMachine", "<Resource Name=\"Tea\" InitialAmount=\"3\" MaxAmount=\"3\"/>") +
           config("SandwichMachine",
                  "<Resource Name=\"Sandwich\" InitialAmount=\"0\" MaxAmount=\"1\"/>",
                  "<StaffRechargeTime Value=\"0\"/><SelfRechargeTime Value=\"500\"/>") +
           config("SandwichMachine2",
                  "<Resource Name=\"Sandwich\" InitialAmount=\"0\" MaxAmount=\"1\"/>",
                  "<StaffRechargeTime Value=\"0\"/><SelfRechargeTime Value=\"500\"/>") +
           config("Pad", "<Resource Name=\"Dance\"/>") +
           config("Desk", "<Resource Name=\"CheckOut\"/>") +
           config("JuiceBar", "<Resource Name=\"Juice\"/>") + "</ObjectConfigurations>";
}

inline std::string item(const char* name, const std::string& more = "") {
    return fixture_clients::resource(name, "<ItemType Value=\"1\"/>" + more);
}

inline std::string resourceConfigs() {
    return "<ObjectConfigurations>" +
           fixture_clients::resource("Dance", "<MoneyBoost Value=\"20\"/><AdditionalItems>"
                                              "<Item Name=\"Smoothie\"/></AdditionalItems>") +
           fixture_clients::resource("CheckOut", "<ItemType Value=\"6\"/>") +
           item("Juice", "<RecycleMoneyPenalty Value=\"5\"/>") +
           item("Smoothie", "<ConvertsFrom Value=\"Juice\"/><RecycleMoneyPenalty Value=\"2\"/>"
                            "<ClientBoostType Value=\"1\"/><HeartsBoost Value=\"1\"/>") +
           item("Drink", "<ModificationsCount Value=\"2\"/>") +
           item("Drink1", "<RecycleMoneyPenalty Value=\"1\"/>") +
           item("Drink2", "<RecycleMoneyPenalty Value=\"1\"/>") + item("Tea") +
           item("Sandwich", "<ModificationsCount Value=\"3;2\"/>") + "</ObjectConfigurations>";
}

const char kLevels[] =
    "<LevelsConfiguration><Level><SettingIndex Value=\"4\"/><LevelTime Value=\"30\"/>"
    "<TargetMoney Value=\"1000\"/></Level></LevelsConfiguration>";

inline std::string control(const std::string& name, const std::string& inside = "") {
    return nodeNamed("ControlNode", name, inside);
}

// A state whose Move key takes the marker somewhere.
inline std::string moveState(const std::string& name) {
    return "<State Name=\"" + name +
           "\"><Animator Type=\"KeyFrame\" Name=\"Move\"><Properties><vector3d Name=\"Position\" "
           "Value=\"0;0;0\"/></Properties><KeyFrame t=\"0\" Value0=\"0;0;0\"/></Animator></State>";
}

inline std::string marker(const char* name, char side) {
    std::string inside = "<State Name=\"0\"/>";
    for (int32_t i = 1; i <= 3; ++i)
        inside += moveState("Sandwich" + std::to_string(i) + side);
    return nodeNamed("BaseNode", name, "<States>" + inside + "</States>");
}

inline std::string setVisible(const char* state, bool visible) {
    return std::string("<State Name=\"") + state +
           "\"><StartAnimator Type=\"SetProps\"><bool Name=\"Visible\" Value=\"" +
           (visible ? "true" : "false") + "\"/></StartAnimator></State>";
}

// The panel with looks that show "Select" and "UnSelect", the cursor over an area of 100 by 100
// at the machine's point, hidden at first.
inline std::string sandwichMachine(const char* name, bool withBackground) {
    std::string buttons;
    for (const char side : {'L', 'R'}) {
        for (int32_t i = 1; i <= 3; ++i)
            buttons += control("Sandwich" + std::to_string(i) + side,
                               nodeNamed("BaseNode", "Look", states({"Select", "UnSelect"})));
    }
    buttons += control("SandwichMake");
    const std::string cursor =
        "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" Value=\"Cursor\"/>"
        "<bool Name=\"Visible\" Value=\"false\"/></Properties><States>" +
        setVisible("OnAppear", true) + setVisible("OnDisappear", false) + "</States>" +
        marker("Glass", 'L') + marker("Fruit", 'R') + "</SceneNode>";
    const std::string area = element("BaseNode", "",
                                     "<string Name=\"Name\" Value=\"CursorArea\"/>" + at(0, 0, 0) +
                                         "<vector3d Name=\"Bounds\" Value=\"100;100;0\"/>");
    return nodeNamed("BaseNode", name,
                     (withBackground ? nodeNamed("BaseNode", "Bg") : "") +
                         nodeNamed("BaseNode", "Body") + control("Buttons", buttons) +
                         nodeNamed("SpriteNode", "Icon") + nodeNamed("BaseNode", "Selector") +
                         area + cursor);
}

inline std::string drinksMachine(const char* name) {
    return nodeNamed("BaseNode", name,
                     control("Buttons", control("Drink1") + control("Drink2") + control("Drink3")) +
                         nodeNamed("BaseNode", "Selector"));
}

inline std::string templates() {
    const std::string hands = nodeNamed("SpriteNode", "L") + nodeNamed("SpriteNode", "R");
    return "<SceneNode Type=\"TemplateCollectionNode\">" + drinksMachine("DrinksMachine") +
           drinksMachine("TeaMachine") + sandwichMachine("SandwichMachine", true) +
           sandwichMachine("SandwichMachine2", false) +
           nodeNamed(
               "BaseNode", "TrashCan",
               nodeNamed("BaseNode", "Look", states({"TrashOff", "Trash0", "Trash1", "Trash2"}))) +
           nodeNamed("GHeroNode", "Hero", nodeNamed("BaseNode", "CarriedIcons", hands)) +
           nodeNamed("GClientNode", "Dancer", nodeNamed("BaseNode", "Body")) + "</SceneNode>";
}

// The hero carries two items and walks fast; "Dancer" wishes are given by the tests.
const char kStaffConfigs[] =
    "<ObjectConfigurations><Staff><Name Value=\"Hero1\"/><Template Value=\"Hero\"/>"
    "<Velocity Value=\"5000\"/><ProvidedResources><Resource Name=\"CheckOut\"/>"
    "</ProvidedResources></Staff></ObjectConfigurations>";

class FixtureMachineTest : public fixture_clients::FixtureClientTest {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        harness->write("levels/common/LevelConfigs.xml", kLevels);
        harness->write("levels/common/LocationConfigs.xml", locationConfigs());
        harness->write("levels/common/ResourceConfigs.xml", resourceConfigs());
        harness->write("levels/common/ClientConfigs.xml", fixture_clients::clientConfigs());
        harness->write("levels/common/StaffConfigs.xml", kStaffConfigs);
        harness->write("levels/setting4/Level.qscn", levelScene());
        harness->write("levels/setting4/TemplateCollection.qscn", templates());
        harness->write("levels/setting4/Upgrades.xml", upgrades());
        ASSERT_TRUE(harness->start());
    }

    template <typename Machine>
    static Machine& machineNamed(const char* name) {
        GLocationNode* found = findLocation(name);
        EXPECT_NE(found, nullptr) << name;
        return *static_cast<Machine*>(found);
    }

    // The child's current state; the empty name without one.
    static CNameId stateOf(const BaseNode* node) {
        return node != nullptr && node->getCurrentState() != nullptr
                   ? node->getCurrentState()->getName()
                   : CNameId();
    }

    // A click of the button as it reaches its machine.
    static bool click(GLocationNode& machine, BaseNode* button) {
        const CRefPointer<CEventControlClicked> clicked(new CEventControlClicked(button));
        return machine.OnEvent(*clicked);
    }
};

} // namespace fixture_machines
