#pragma once

#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"

#include "tests/game/level/FixtureClients.h"

// Neighbours on the clients' level (setting 3) laid out as the pointer's field: "DancePad1" to
// "DancePad4" are configured as "DancePad1" (where arrival effects work), "DancePad5" and
// "DancePad6" as "Pad"; neighbouring pads form pair areas. Client types, none losing hearts by
// time: "Listener" (3 hearts), "Content" (5), "Stranger" (3); "Talker10" and "Talker20" talk to
// a listener after 100 ms at 10 and 20 seconds a heart; "Stopper" stops a listener; "Blocker"
// discards its neighbours' abilities; "StreetDancer" (x1.5), "HipHop" and "Tecktonik". A hip-hop
// gives 0.5 hearts to itself and 1 to a listener or a content client, with probability 0.995,
// and to a stranger with probability 0. The template "Talker" sends a cloud; "Hopper" has
// three orbiting hearts and a spawner under "Ability".
namespace fixture_talk {

using namespace fixture_clients;

inline std::string talkUpgrades() {
    std::string slots;
    for (int32_t k = 1; k <= 6; ++k)
        slots += "<U Name=\"DancePad" + std::to_string(k) + "\" Type=\"" +
                 (k <= 4 ? "DancePad1" : "Pad") + "\" Price=\"0\"/>";
    return "<Upgrades><Level Index=\"1\"><Locations>" + slots +
           "</Locations><Staff></Staff><Env></Env></Level></Upgrades>";
}

inline std::string talkLocationConfigs() {
    return "<ObjectConfigurations>" + locationConfig("DancePad1", "Dance;Massage") +
           locationConfig("Pad", "Dance;Massage") + "</ObjectConfigurations>";
}

inline std::string talks(const char* wait, const std::string& entries) {
    return std::string("<TalkActions TalksWaitTime=\"") + wait + "\">" + entries + "</TalkActions>";
}

inline std::string talkClientConfigs() {
    const std::string listenTo10 = "<Client Client=\"Listener\" SecondsPerHeart=\"10\"/>";
    const std::string listenTo20 = "<Client Client=\"Listener\" SecondsPerHeart=\"20\"/>";
    return "<ObjectConfigurations>" + client("Listener", "3", "0", "-1") +
           client("Content", "5", "0", "-1") + client("Stranger", "3", "0", "-1") +
           client("Talker10", "3", "0", "-1", talks("100", listenTo10)) +
           client("Talker20", "3", "0", "-1", talks("100", listenTo20)) +
           client("Stopper", "3", "0", "-1",
                  talks("100", "<Client Client=\"Listener\" Stop=\"1\"/>")) +
           client("Blocker", "3", "0", "-1", "<CanDiscardNeigbhoursAbilities Value=\"1\"/>") +
           client("StreetDancer", "3", "0", "-1", "<NeigbhoursServMul Value=\"1.5\"/>") +
           client("HipHop", "3", "0", "-1") + client("Tecktonik", "3", "0", "-1") +
           "</ObjectConfigurations>";
}

inline std::string talkLevels() {
    return "<LevelsConfiguration><Level><SettingIndex Value=\"3\"/><LevelTime Value=\"600\"/>"
           "<TargetMoney Value=\"1000\"/></Level><NextClientPlaceBoosts>"
           "<Client Name1=\"HipHop\" Name2=\"Listener; Content\" Hearts1=\"0.5\" Hearts2=\"1\" "
           "Probability=\"0.995\"/>"
           "<Client Name1=\"HipHop\" Name2=\"Stranger\" Hearts1=\"1\" Hearts2=\"1\" "
           "Probability=\"0\"/></NextClientPlaceBoosts></LevelsConfiguration>";
}

// Moves its "Position" from the first key to the second in 500 ms.
inline std::string cloud() {
    return "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" "
           "Value=\"CloudEffect\"/></Properties><States><State Name=\"MoveTo\">"
           "<Animator Type=\"KeyFrame\"><Properties><vector3d Name=\"Position\" "
           "Value=\"0;0;0\"/></Properties><KeyFrame t=\"0\" Value0=\"0;0;0\"/>"
           "<KeyFrame t=\"500\" Value0=\"0;0;0\"/></Animator></State></States></SceneNode>";
}

inline std::string talkTemplates() {
    std::string collection = templates();
    const std::string hearts = fixture_levels::element(
        "GHipHopHeartsNode", "",
        "<string Name=\"Name\" Value=\"Hearts\"/><string Name=\"ObjTemplateID\" "
        "Value=\"OrbitHeart\"/><vector2d Name=\"ObjectsCountRange\" Value=\"3;3\"/>");
    const std::string spawner = fixture_levels::element(
        "SpawnerNode", "",
        "<string Name=\"Name\" Value=\"Notes\"/><string Name=\"ObjTemplate\" "
        "Value=\"OrbitHeart\"/>");
    const std::string more =
        nodeNamed("BaseNode", "DancePad1",
                  nodeNamed("BaseNode", "QueueIndex", nodeNamed("SpriteNode", "Img"))) +
        nodeNamed("BaseNode", "OrbitHeart", "", "<vector3d Name=\"Bounds\" Value=\"10;10;0\"/>") +
        nodeNamed("GClientNode", "Talker",
                  nodeNamed("BaseNode", "Body") + nodeNamed("BaseNode", "WaverAbility", cloud())) +
        nodeNamed("GClientNode", "Hopper",
                  nodeNamed("BaseNode", "Body") +
                      nodeNamed("BaseNode", "Ability", hearts + spawner));
    collection.insert(collection.rfind("</SceneNode>"), more);
    return collection;
}

class FixtureTalkTest : public FixtureClientTest {
protected:
    static void SetUpTestSuite() {
        FixtureClientTest::SetUpTestSuite();
        harness->write("levels/common/LevelConfigs.xml", talkLevels());
        harness->write("levels/common/LocationConfigs.xml", talkLocationConfigs());
        harness->write("levels/common/ClientConfigs.xml", talkClientConfigs());
        harness->write("levels/setting3/Level.qscn", fixture_levels::padsLevelScene());
        harness->write("levels/setting3/TemplateCollection.qscn", talkTemplates());
        harness->write("levels/setting3/Upgrades.xml", talkUpgrades());
    }

    void SetUp() override {
        load(1);
        CEngineServices::instance()->getRandom()->seed(7);
    }

    static GLocationNode* pad(int32_t k) {
        return asGLocationNode(harness->node(("DancePad" + std::to_string(k)).c_str()));
    }

    // A client of the type put on the pad as a drop puts it, waiting there for a massage (or
    // served its dance when it wants one).
    static GClientNode* arrive(const char* type, int32_t padIndex, const char* name,
                               const char* from = "Dancer", const char* wish = "Massage") {
        GClientNode* client = spawn(type, wishes({{{wish}}}), name, from);
        GLocationNode* location = pad(padIndex);
        client->placeAtClientPoint(*location);
        client->moveToLocation(location);
        client->addHearts(0);
        level().startClientAction(*location, *client);
        return client;
    }
};

} // namespace fixture_talk
