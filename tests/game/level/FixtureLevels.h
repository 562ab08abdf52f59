#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/NameId.h"
#include "engine/core/String.h"
#include "game/level/LocationNode.h"
#include "tests/game/level/LevelHarness.h"

// Small levels of the tests' own in setting 2, served from the extra content folder over the
// game's: level 1 with a minute's day and the targets 4, 8 and 100, level 2 without time. The
// scene has six pads, the drinks and sandwich machines that merge, three pad layouts of 4, 7
// and 8 places and a background whose children take the six environment states; the upgrades
// offer each pad (none at first) and each machine's third model, and give the environment for
// free. "Dance" and "Stretch" are one chain, paid 10 a client with the text of "Swap"; every
// location type offers "Dance"; "Smoothie" is made from "Juice", which nothing offers.
namespace fixture_levels {

inline CNameId named(const char* text) {
    return CNameId(CString(text));
}

inline std::string element(const std::string& name, const std::string& inside,
                           const std::string& properties = "") {
    return "<SceneNode Type=\"" + name + "\"><Properties>" + properties + "</Properties>" + inside +
           "</SceneNode>";
}

inline std::string nodeNamed(const char* type, const std::string& name,
                             const std::string& inside = "", const std::string& more = "") {
    return element(type, inside, "<string Name=\"Name\" Value=\"" + name + "\"/>" + more);
}

inline std::string at(float x, float y, float z) {
    return "<vector3d Name=\"Position\" Value=\"" + std::to_string(x) + ";" + std::to_string(y) +
           ";" + std::to_string(z) + "\"/>";
}

inline std::string location(const std::string& name) {
    return "<SceneNode Type=\"ControlNode\" ClassOverride=\"GLocationNode\"><Properties>"
           "<string Name=\"Name\" Value=\"" +
           name + "\"/>" + at(0, 0, 3) + "</Properties></SceneNode>";
}

// A layout of places 100 apart on one line.
inline std::string layout(int32_t pads, int32_t places) {
    std::string inside;
    for (int32_t i = 0; i < places; ++i)
        inside += nodeNamed("BaseNode", "Place" + std::to_string(i), "", at(100.f * i, 400, 0));
    return nodeNamed("BaseNode", "DancePadsLayout" + std::to_string(pads), inside);
}

inline std::string levelScene() {
    std::string background = nodeNamed("BaseNode", "Sandwich2");
    std::string locations;
    for (int32_t k = 1; k <= 6; ++k) {
        const std::string env = "Env" + std::to_string(k);
        background += nodeNamed("BaseNode", env, "<States><State Name=\"" + env + "\"/></States>");
        locations += location("DancePad" + std::to_string(k));
    }
    for (const char* machine : {"EnergyDrinkMachine", "EnergyDrinkMachine2_1",
                                "EnergyDrinkMachine2_2", "SandwichMachine", "SandwichMachine2"})
        locations += location(machine);
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\">" +
           nodeNamed("BaseNode", "Bg", background) +
           nodeNamed("ControlNode", "AppearLocations", location("Hero") + location("Queue1")) +
           nodeNamed("ControlNode", "CharactersNode") +
           nodeNamed("ControlNode", "LocationsNode", locations) +
           nodeNamed("BaseNode", "EffectsHolder") + layout(4, 4) + layout(5, 7) + layout(6, 8) +
           "</SceneNode>";
}

inline std::string upgrades() {
    std::string locations;
    for (int32_t k = 1; k <= 6; ++k) {
        const std::string slot = "DancePad" + std::to_string(k);
        locations += "<U Name=\"" + slot + "\" Price=\"0\"/><U Name=\"" + slot +
                     "\" Type=\"Pad\" Price=\"100\"/>";
    }
    locations += "<U Name=\"EnergyDrinkMachine\" Type=\"EnergyDrinkMachine\" Price=\"0\"/>"
                 "<U Name=\"EnergyDrinkMachine\" Type=\"EnergyDrinkMachine3\" Price=\"100\"/>"
                 "<U Name=\"EnergyDrinkMachine2_1\" Type=\"EnergyDrinkMachine2\" Price=\"0\"/>"
                 "<U Name=\"EnergyDrinkMachine2_2\" Type=\"EnergyDrinkMachine2\" Price=\"0\"/>"
                 "<U Name=\"SandwichMachine\" Type=\"SandwichMachine\" Price=\"0\"/>"
                 "<U Name=\"SandwichMachine\" Type=\"SandwichMachine3\" Price=\"100\"/>"
                 "<U Name=\"SandwichMachine2\" Type=\"SandwichMachine2\" Price=\"0\"/>";
    std::string env;
    for (int32_t k = 1; k <= 6; ++k)
        env += "<U Name=\"Up" + std::to_string(k) + "\" Type=\"Env" + std::to_string(k) +
               "\" Price=\"0\"/>";
    return "<Upgrades><Level Index=\"1\"><Locations>" + locations +
           "</Locations><Staff></Staff><Env>" + env + "</Env></Level></Upgrades>";
}

inline std::string locationConfigs() {
    std::string records;
    for (const char* name :
         {"Pad", "EnergyDrinkMachine", "EnergyDrinkMachine2", "EnergyDrinkMachine3",
          "SandwichMachine", "SandwichMachine2", "SandwichMachine3"}) {
        records += std::string("<Location><Name Value=\"") + name +
                   "\"/><ProvidedResources><Resource Name=\"Dance\"/></ProvidedResources>"
                   "</Location>";
    }
    return "<ObjectConfigurations>" + records + "</ObjectConfigurations>";
}

// A location whose "ClickArea" takes the pointer over 120 by 80 around its point.
inline std::string clickableLocation(const std::string& name, float x, float y) {
    const std::string area =
        element("NineGridSpriteNode", "",
                "<string Name=\"Name\" Value=\"ClickArea\"/>" + at(-60, -40, 0) +
                    "<vector3d Name=\"Bounds\" Value=\"120;80;0\"/>");
    return "<SceneNode Type=\"ControlNode\" ClassOverride=\"GLocationNode\"><Properties>"
           "<string Name=\"Name\" Value=\"" +
           name + "\"/>" + at(x, y, 3) + "</Properties>" + area + "</SceneNode>";
}

// A played field of 1024 by 768 for the pointer: "DancePad1" to "DancePad6" 140 apart on one
// line, "MassageTable1" and "MassageTable2" below them, each with its click area; three queue
// slots on the left and the hero's place at the bottom.
inline std::string padsLevelScene() {
    std::string locations;
    for (int32_t k = 1; k <= 6; ++k)
        locations +=
            clickableLocation("DancePad" + std::to_string(k), 200.f + 140.f * float(k - 1), 300);
    locations +=
        clickableLocation("MassageTable1", 300, 600) + clickableLocation("MassageTable2", 440, 600);
    std::string appear = location("Hero");
    for (int32_t k = 1; k <= 3; ++k)
        appear += clickableLocation("Queue" + std::to_string(k), 60, 250.f + 120.f * float(k));
    const std::string bounds = "<vector3d Name=\"Bounds\" Value=\"1024;768;0\"/>";
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\"><Properties>" + bounds +
           "</Properties>" + nodeNamed("BaseNode", "Bg") +
           nodeNamed("ControlNode", "AppearLocations", appear, bounds) +
           nodeNamed("ControlNode", "CharactersNode", "", bounds) +
           nodeNamed("ControlNode", "LocationsNode", locations, bounds) +
           nodeNamed("BaseNode", "EffectsHolder") + "</SceneNode>";
}

const char kResources[] =
    "<ObjectConfigurations>"
    "<Resource><Name Value=\"Dance\"/><ChainType Value=\"Dance\"/></Resource>"
    "<Resource><Name Value=\"Stretch\"/><ChainType Value=\"Dance\"/></Resource>"
    "<Resource><Name Value=\"Juice\"/></Resource>"
    "<Resource><Name Value=\"Smoothie\"/><ConvertsFrom Value=\"Juice\"/></Resource>"
    "</ObjectConfigurations>";

const char kLevels[] =
    "<LevelsConfiguration>"
    "<Level><SettingIndex Value=\"2\"/><LevelTime Value=\"60\"/><TargetMoney Value=\"4\"/>"
    "<TargetExpertMoney Value=\"8\"/><TargetMasterMoney Value=\"100\"/></Level>"
    "<Level><SettingIndex Value=\"2\"/><LevelTime Value=\"0\"/><TargetMoney Value=\"4\"/>"
    "</Level>"
    "<ChainBonuses><Chain Name=\"Dance\" Text=\"Swap\" Money=\"10\"/></ChainBonuses>"
    "</LevelsConfiguration>";

// One started game for the tests of a suite; each test plays a level loaded afresh (level 1
// unless it loads another).
class FixtureLevelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        harness->write("levels/common/LevelConfigs.xml", kLevels);
        harness->write("levels/common/LocationConfigs.xml", locationConfigs());
        harness->write("levels/common/ResourceConfigs.xml", kResources);
        harness->write("levels/setting2/Level.qscn", levelScene());
        harness->write("levels/setting2/TemplateCollection.qscn",
                       "<SceneNode Type=\"TemplateCollectionNode\">" +
                           nodeNamed("BaseNode", "Pad") + "</SceneNode>");
        harness->write("levels/setting2/Upgrades.xml", upgrades());
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }

    void SetUp() override { load(1); }

    static GGameLevelScene& load(int32_t levelIndex) {
        GGameLevelScene* level = harness->loadLevel(levelIndex, 0);
        EXPECT_NE(level, nullptr);
        return *level;
    }
    static GGameLevelScene& level() { return harness->level(); }
    static GLocationNode* findLocation(const char* name) {
        for (const CRefPointer<GLocationNode>& location : level().getLocations()) {
            if (location->getName() == named(name))
                return location.get();
        }
        return nullptr;
    }

    static inline std::unique_ptr<LevelHarness> harness;
};

} // namespace fixture_levels
