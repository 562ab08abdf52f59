#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/HeroNode.h"
#include "game/level/StaffNode.h"
#include "game/screens/SectorSpriteNode.h"
#include "tests/game/level/FixtureLevels.h"

// A level of the tests' own in setting 3 for clients and staff: two dance pads (the second
// always gets dirty), two water coolers, a towel shelf, a massage table and a check-out desk,
// all at one point so that staff arrive at once; the coolers hold 2 of 4 water and get dirty
// when asked to roll (the second pad serves twice as fast); a "Masseur"
// appear place 300 to the right. Client types: "Dancer" (4.999 hearts that never fall), "Counter"
// (4 hearts, one a second), "Low" (3.5), "Slow" (3, ten seconds a heart), "Rotator" (items rotate
// every 5000 ms) and "Fading" (0.3 hearts, one a second). "Dance" is self-served 0/4000 and pays
// 20, with items "Water" and "Towel" to ask for; the massage is 1000 ms of staff; "Choice" offers
// three dances on the action panel, "Pair" two, "Single" one. The masseur has two hands and serves
// "Massage" and "CheckOut"; the shop offers it, not bought. The hero "Hero1" (template "Hero",
// two hands, two idle stands, twice the masseur's speed) serves the same; the massage table's
// hero point lies 50 below the point where staff serve. Configured for other scenes: an
// "AutoTable" whose clients are attended at once ("AutoActivation"), and the items that act on
// the level, each worth one heart: "QueueCheer" (the queue box), "QueueBoost" and "Music" (the
// boombox).
namespace fixture_clients {

using fixture_levels::at;
using fixture_levels::named;
using fixture_levels::nodeNamed;

inline std::string located(const std::string& name, float x) {
    return "<SceneNode Type=\"ControlNode\" ClassOverride=\"GLocationNode\"><Properties>"
           "<string Name=\"Name\" Value=\"" +
           name + "\"/>" + at(x, 0, 3) + "</Properties></SceneNode>";
}

const char* const kSlots[][2] = {{"DancePad1", "Pad"},      {"DancePad2", "MessyPad"},
                                 {"Water1", "WaterCooler"}, {"Water2", "WaterCooler"},
                                 {"Towel1", "TowelShelf"},  {"Table", "Table"},
                                 {"Desk", "Desk"}};

inline std::string levelScene() {
    std::string locations;
    for (const auto& slot : kSlots)
        locations += located(slot[0], 0);
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\">" +
           nodeNamed("BaseNode", "Bg") +
           nodeNamed("ControlNode", "AppearLocations",
                     located("Hero", 0) + located("Queue1", 0) + located("Masseur", 300)) +
           nodeNamed("ControlNode", "CharactersNode") +
           nodeNamed("ControlNode", "LocationsNode", locations) +
           nodeNamed("BaseNode", "EffectsHolder") + "</SceneNode>";
}

inline std::string upgrades() {
    std::string locations;
    for (const auto& slot : kSlots)
        locations +=
            std::string("<U Name=\"") + slot[0] + "\" Type=\"" + slot[1] + "\" Price=\"0\"/>";
    return "<Upgrades><Level Index=\"1\"><Locations>" + locations +
           "</Locations><Staff><U Name=\"Masseur\" Price=\"0\"/>"
           "<U Name=\"Masseur\" Type=\"Masseur\" Price=\"100\"/></Staff><Env></Env>"
           "</Level></Upgrades>";
}

// The pads and tables of the fixture levels' field (padsLevelScene) bought for level 1: pad 4
// gets dirty after each client, the second table attends its clients at once.
inline std::string padsUpgrades() {
    std::string slots;
    for (int32_t k = 1; k <= 6; ++k)
        slots += "<U Name=\"DancePad" + std::to_string(k) + "\" Type=\"" +
                 (k == 4 ? "MessyPad" : "Pad") + "\" Price=\"0\"/>";
    for (int32_t k = 1; k <= 2; ++k)
        slots += "<U Name=\"MassageTable" + std::to_string(k) + "\" Type=\"" +
                 (k == 2 ? "AutoTable" : "Table") + "\" Price=\"0\"/>";
    return "<Upgrades><Level Index=\"1\"><Locations>" + slots +
           "</Locations><Staff></Staff><Env></Env></Level></Upgrades>";
}

inline std::string locationConfig(const char* name, const char* resources,
                                  const std::string& more = "") {
    std::string provided;
    const std::string limited =
        std::string(name) == "WaterCooler" ? " InitialAmount=\"2\" MaxAmount=\"4\"" : "";
    std::string list = resources;
    for (size_t start = 0; start < list.size();) {
        const size_t end = std::min(list.find(';', start), list.size());
        provided += "<Resource Name=\"" + list.substr(start, end - start) + "\"" + limited + "/>";
        start = end + 1;
    }
    return std::string("<Location><Name Value=\"") + name + "\"/>" + more + "<ProvidedResources>" +
           provided + "</ProvidedResources></Location>";
}

inline std::string locationConfigs() {
    const char* pad = "Dance;Choice;Pair;Single;SuperDance;AbstractDance";
    return "<ObjectConfigurations>" + locationConfig("Pad", pad) +
           locationConfig("MessyPad", pad,
                          "<DirtyProbability Value=\"1\"/><ServingMul Value=\"2\"/>") +
           locationConfig("WaterCooler", "Water", "<DirtyProbability Value=\"1\"/>") +
           locationConfig("TowelShelf", "Towel") +
           locationConfig("Table", "Massage", "<HeroMountPoint Value=\"0;50\"/>") +
           locationConfig("AutoTable", "Massage", "<AutoActivation Value=\"true\"/>") +
           locationConfig("Desk", "CheckOut") + "</ObjectConfigurations>";
}

inline std::string resource(const char* name, const std::string& fields) {
    // No icon image: a drawn icon could put the client under the harness's pointer.
    return std::string("<Resource><Name Value=\"") + name + "\"/>" + fields + "</Resource>";
}

inline std::string resourceConfigs() {
    const std::string item = "<ItemType Value=\"1\"/><ClientBoostType Value=\"1\"/>";
    return "<ObjectConfigurations>" +
           resource("Dance", "<ActionAnimationName Value=\"Dance\"/><MoneyBoost Value=\"20\"/>"
                             "<AdditionalItems><Item Name=\"Water\"/><Item Name=\"Towel\"/>"
                             "<Item Name=\"Speed\"/></AdditionalItems>") +
           resource("AbstractDance", "") +
           resource("Massage", "<ActionAnimationName Value=\"Massage\"/>"
                               "<MoneyBoost Value=\"10\"/>") +
           resource("Choice", "<SpecificResources Value=\"Dance;Massage;SuperDance;Single\"/>"
                              "<MiniGameHeartsBoost Value=\"1\"/>") +
           resource("Pair", "<SpecificResources Value=\"Dance;Massage\"/>") +
           resource("Single", "<SpecificResources Value=\"Dance\"/>") + resource("SuperDance", "") +
           resource("Water", item + "<HeartsBoost Value=\"1\"/>") + resource("Towel", item) +
           resource("Speed", "<ItemType Value=\"1\"/><ClientBoostType Value=\"3\"/>"
                             "<ServingSpeedBoost Value=\"2\"/>") +
           resource("Boost", "<ItemType Value=\"1\"/><ClientBoostType Value=\"2\"/>"
                             "<ServingSpeedBoost Value=\"1.5\"/>") +
           resource("CheckOut", "<ItemType Value=\"6\"/>") +
           resource("QueueCheer", "<ItemType Value=\"3\"/><HeartsBoost Value=\"1\"/>") +
           resource("QueueBoost", "<ItemType Value=\"4\"/><HeartsBoost Value=\"1\"/>") +
           resource("Music", "<ItemType Value=\"5\"/><HeartsBoost Value=\"1\"/>") +
           "</ObjectConfigurations>";
}

inline std::string client(const char* name, const char* hearts, const char* perHeart,
                          const char* rotation, const std::string& more = "") {
    return std::string("<Client><Name Value=\"") + name + "\"/>" + more +
           "<InitialHearts Value=\"" + hearts + "\"/><SecondsPerHeartQueue Value=\"" + perHeart +
           "\"/><SecondsPerHeartScene Value=\"" + perHeart +
           "\"/><AdditionalItemsRotationTime Value=\"" + rotation +
           "\"/><ResourceTimings>"
           "<Resource Name=\"Dance\" ServedByStaffTime=\"0\" ServedBySelfTime=\"4000\"/>"
           "<Resource Name=\"Massage\" ServedByStaffTime=\"1000\" ServedBySelfTime=\"0\"/>"
           "<Resource Name=\"Choice\" ServedByStaffTime=\"0\" ServedBySelfTime=\"1000\"/>"
           "<Resource Name=\"Pair\" ServedByStaffTime=\"0\" ServedBySelfTime=\"1000\"/>"
           "<Resource Name=\"Single\" ServedByStaffTime=\"0\" ServedBySelfTime=\"1000\"/>"
           "<Resource Name=\"SuperDance\" ServedByStaffTime=\"0\" ServedBySelfTime=\"1000\"/>"
           "</ResourceTimings></Client>";
}

inline std::string clientConfigs() {
    return "<ObjectConfigurations>" + client("Dancer", "4.999", "0", "-1") +
           client("Counter", "4", "1", "-1") +
           client("Low", "3.5", "0", "-1", "<IsMan Value=\"0\"/>") +
           client("Rotator", "4", "0", "5000") + client("Fading", "0.3", "1", "-1") +
           client("Slow", "3", "10", "-1") + "</ObjectConfigurations>";
}

const char kStaffConfigs[] =
    "<ObjectConfigurations><Staff><Name Value=\"Masseur\"/><Template Value=\"Masseur\"/>"
    "<ProvidedResources><Resource Name=\"Massage\"/><Resource Name=\"CheckOut\"/>"
    "</ProvidedResources></Staff>"
    "<Staff><Name Value=\"Hero1\"/><Template Value=\"Hero\"/><Velocity Value=\"500\"/>"
    "<StandAnimationsCount Value=\"2\"/><ProvidedResources><Resource Name=\"Massage\"/>"
    "<Resource Name=\"CheckOut\"/></ProvidedResources></Staff>"
    "</ObjectConfigurations>";

const char kLevels[] =
    "<LevelsConfiguration><Level><SettingIndex Value=\"3\"/><LevelTime Value=\"600\"/>"
    "<TargetMoney Value=\"1000\"/></Level></LevelsConfiguration>";

inline std::string states(std::initializer_list<const char*> names) {
    std::string inside;
    for (const char* name : names)
        inside += std::string("<State Name=\"") + name + "\"/>";
    return "<States>" + inside + "</States>";
}

inline std::string lasting(const char* name) {
    return std::string("<State Name=\"") + name +
           "\"><Animator Type=\"KeyFrame\"><Properties><vector3d Name=\"Scale\" "
           "Value=\"1;1;1\"/></Properties><KeyFrame t=\"0\" Value0=\"1;1;1\"/>"
           "<KeyFrame t=\"200\" Value0=\"1;1;1\"/></Animator></State>";
}

// A body whose "GoodBye" and "Upset" last 200 ms.
inline std::string slowBody() {
    return "<States>" + lasting("GoodBye") + lasting("Upset") + "</States>";
}

inline std::string wishIcon(const char* name) {
    return "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" Value=\"" +
           std::string(name) + "\"/></Properties>" + nodeNamed("SpriteNode", "Icon") +
           nodeNamed("GSectorSpriteNode", "ActionProgress2") + "</SceneNode>";
}

inline std::string panel(int32_t buttons) {
    std::string inside = nodeNamed("BaseNode", "Glow");
    for (int32_t i = 1; i <= buttons; ++i)
        inside += nodeNamed("ControlNode", "Button" + std::to_string(i),
                            nodeNamed("SpriteNode", "Action"), at(100.f * i, 0, 0));
    return nodeNamed("ControlNode", "ActionPanel" + std::to_string(buttons), inside);
}

inline std::string templates() {
    std::string hearts;
    for (int32_t i = 0; i < 6; ++i)
        hearts += fixture_levels::element("BaseNode", states({"Full", "Medium", "Empty"}),
                                          at(20.f * i, 0, 0));
    const std::string icons = wishIcon("Icon") + wishIcon("Icon") + wishIcon("Icon") +
                              wishIcon("Item") + nodeNamed("BaseNode", "Busy") +
                              nodeNamed("BaseNode", "WantBusy") +
                              nodeNamed("BaseNode", "WantClick");
    const std::string progress =
        nodeNamed("SpriteNode", "Icon") + nodeNamed("GSectorSpriteNode", "ActionProgress1");
    const std::string hands = nodeNamed("SpriteNode", "L") + nodeNamed("SpriteNode", "R");
    std::string places;
    for (const char* type :
         {"Pad", "MessyPad", "WaterCooler", "TowelShelf", "Table", "AutoTable", "Desk"})
        places += nodeNamed("BaseNode", type,
                            nodeNamed("BaseNode", "QueueIndex", nodeNamed("SpriteNode", "Img")));
    return "<SceneNode Type=\"TemplateCollectionNode\">" + places +
           nodeNamed("GClientNode", "Dancer",
                     "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" "
                     "Value=\"Body\"/></Properties>" +
                         slowBody() + "</SceneNode>" + nodeNamed("BaseNode", "Color")) +
           nodeNamed("GClientNode", "QuickDancer", nodeNamed("BaseNode", "Body")) +
           nodeNamed("BaseNode", "ClientHearts", hearts) + nodeNamed("BaseNode", "Icons", icons) +
           nodeNamed("BaseNode", "Heart051Effect") + panel(2) + panel(3) +
           nodeNamed("GStaffNode", "Masseur",
                     nodeNamed("BaseNode", "CarriedIcons", hands) +
                         nodeNamed("BaseNode", "ProgressIcon", progress)) +
           nodeNamed("GHeroNode", "Hero",
                     nodeNamed("BaseNode", "CarriedIcons", hands) +
                         nodeNamed("BaseNode", "ProgressIcon", progress)) +
           "</SceneNode>";
}

// One leaf of a wish tree, with its additional items.
struct Leaf {
    const char* resource;
    std::vector<GAdditionalItem> items = {};
};

inline GAdditionalItem item(const char* name, int32_t from, int32_t to) {
    GAdditionalItem made;
    made.name = named(name);
    made.timeRange = {from, to};
    return made;
}

// One group per entry, in order, then "CheckOut".
inline CRefPointer<GClientWishList> wishes(std::initializer_list<std::vector<Leaf>> groups,
                                           bool checkOut = true) {
    CRefPointer<GClientWishList> root(new GClientWishList(nullptr));
    const auto add = [](GClientWishList& parent, const char* name) {
        CRefPointer<GClientWishList> node(new GClientWishList(&parent));
        if (name != nullptr)
            node->name = named(name);
        parent.appendChild(node);
        return node.get();
    };
    for (const std::vector<Leaf>& group : groups) {
        GClientWishList* node = add(*root, nullptr);
        for (const Leaf& leaf : group) {
            GClientWishList* made = add(*node, leaf.resource);
            for (const GAdditionalItem& extra : leaf.items)
                made->additionalItems.append(extra);
        }
    }
    if (checkOut)
        add(*root, "CheckOut");
    return root;
}

// A client of the type made from the template, as the level spawns one, not yet placed.
inline GClientNode* spawnClient(LevelHarness& harness, const char* type,
                                CRefPointer<GClientWishList> wishList, const char* name = "C1",
                                const char* from = "Dancer",
                                const GQueuedClient* queued = nullptr) {
    GGameLevelScene& level = harness.level();
    TemplateCollectionNode* templates = harness.levelManager().getTemplateCollection();
    BaseNode* characters = level.findChild(named("CharactersNode"), 1);
    const CRefPointer<BaseNode> made =
        templates->getTemplate(named(from))->clone(characters, nullptr);
    GClientNode* client = asGClientNode(made.get());
    client->setName(named(name));
    client->OnPostSceneNodeInit(templates);
    client->setClientData(level.getObjectConfigurations()->getClientConfig(named(type)), queued,
                          wishList.get());
    client->setLevel(&level);
    return client;
}

// A masseur of that name, made as the level makes staff.
inline GStaffNode* hireMasseur(LevelHarness& harness, const char* name = "Masseur") {
    GGameLevelScene& level = harness.level();
    const CRefPointer<BaseNode> made =
        harness.levelManager()
            .getTemplateCollection()
            ->getTemplate(named("Masseur"))
            ->clone(level.findChild(named("CharactersNode"), 1), nullptr);
    GStaffNode* staff = asGStaffNode(made.get());
    staff->setName(named(name));
    staff->setConfig(level.getObjectConfigurations()->getStaffConfig(named("Masseur")));
    staff->setLevel(&level);
    return staff;
}

class FixtureClientTest : public fixture_levels::FixtureLevelTest {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        harness->write("levels/common/LevelConfigs.xml", kLevels);
        harness->write("levels/common/LocationConfigs.xml", locationConfigs());
        harness->write("levels/common/ResourceConfigs.xml", resourceConfigs());
        harness->write("levels/common/ClientConfigs.xml", clientConfigs());
        harness->write("levels/common/StaffConfigs.xml", kStaffConfigs);
        harness->write("levels/setting3/Level.qscn", levelScene());
        harness->write("levels/setting3/TemplateCollection.qscn", templates());
        harness->write("levels/setting3/Upgrades.xml", upgrades());
        ASSERT_TRUE(harness->start());
    }

    static BaseNode& characters() { return *level().findChild(named("CharactersNode"), 1); }

    static GClientNode* spawn(const char* type, CRefPointer<GClientWishList> wishList,
                              const char* name = "C1", const char* from = "Dancer",
                              const GQueuedClient* queued = nullptr) {
        return spawnClient(*harness, type, std::move(wishList), name, from, queued);
    }

    // The level's hero, made as the level makes it.
    static GHeroNode* hireHero() {
        level().createHero(CNameId());
        return level().getHero();
    }

    static GStaffNode* hire(const char* name = "Masseur") { return hireMasseur(*harness, name); }

    // The new states of the client's state events, in order.
    static std::vector<int32_t> statesOf(const GClientNode* client) {
        std::vector<int32_t> found;
        for (const GClientStateEvent* event : harness->trace().eventsOf<GClientStateEvent>()) {
            if (event->getNode() == client)
                found.push_back(event->getNewState());
        }
        return found;
    }

    static uint32_t cueCount(const char* name) {
        return uint32_t(harness->trace().cueTicks(name).size());
    }
};

} // namespace fixture_clients
