#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/scene/NodeState.h"
#include "game/level/SuperPadNode.h"
#include "tests/game/level/FixtureClients.h"

// The clients' level of setting 3 on a field of 1024 by 768 with a super pad "SuperPad" in the
// middle, taking up to three clients, and three queue slots on the left. Its template's panel
// "Buttons" holds the four pad buttons 100 apart, 200 above the pad, each lit through the states
// "MakeActive" and "MakeNormal" of its "Hit" area, and the pie "Progress"; "Answers" has three
// slots showing the letters; "Lights" and "Pads" one part each; "Mini" shows "MiniAppear" and the
// count of right answers, "Fade" "MiniDisappear". "SuperPadWithoutButtons" has a panel with
// only its pie. "SuperDance" is self-served in 1000 ms, boosts
// hearts by 1 and pays 30.
namespace fixture_super_pad {

using fixture_clients::states;
using fixture_levels::at;
using fixture_levels::element;
using fixture_levels::named;
using fixture_levels::nodeNamed;

inline std::string hitArea(float width, float height, const std::string& inside = "") {
    return element("NineGridSpriteNode", inside,
                   "<string Name=\"Name\" Value=\"Hit\"/>" + at(-width / 2, -height / 2, 0) +
                       "<vector3d Name=\"Bounds\" Value=\"" + std::to_string(width) + ";" +
                       std::to_string(height) + ";0\"/>");
}

inline std::string levelScene() {
    const std::string bounds = "<vector3d Name=\"Bounds\" Value=\"1024;768;0\"/>";
    const std::string pad = "<SceneNode Type=\"ControlNode\" ClassOverride=\"GSuperPadNode\">"
                            "<Properties><string Name=\"Name\" Value=\"SuperPad\"/>" +
                            at(500, 500, 3) + "</Properties>" + hitArea(120, 80) + "</SceneNode>";
    std::string appear = fixture_levels::location("Hero");
    for (int32_t k = 1; k <= 3; ++k)
        appear += fixture_levels::clickableLocation("Queue" + std::to_string(k), 60,
                                                    250.f + 120.f * float(k));
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\"><Properties>" + bounds +
           "</Properties>" + nodeNamed("BaseNode", "Bg") +
           nodeNamed("ControlNode", "AppearLocations", appear, bounds) +
           nodeNamed("ControlNode", "CharactersNode", "", bounds) +
           nodeNamed("ControlNode", "LocationsNode", pad, bounds) +
           nodeNamed("BaseNode", "EffectsHolder") + "</SceneNode>";
}

inline std::string padTemplate() {
    std::string buttons;
    for (int32_t i = 0; i < 4; ++i)
        buttons += nodeNamed("ControlNode", "Arrow" + std::to_string(i),
                             hitArea(40, 40, states({"MakeActive", "MakeNormal"})),
                             at(-150.f + 100.f * float(i), 0, 0));
    buttons += nodeNamed("GEllipseSectorNode", "Progress", "",
                         at(200, 0, 0) + "<vector3d Name=\"Bounds\" Value=\"40;40;0\"/>");
    std::string answers;
    for (int32_t i = 0; i < 3; ++i)
        answers += element("BaseNode", states({"Q", "U", "R", "D", "L", "W"}));
    return nodeNamed(
        "BaseNode", "SuperPad",
        nodeNamed("BaseNode", "Buttons", buttons, at(0, -200, 0)) +
            nodeNamed("BaseNode", "Answers", answers) +
            nodeNamed("BaseNode", "Lights", element("BaseNode", states({"Idle", "Action"}))) +
            nodeNamed("BaseNode", "Pads", element("BaseNode", states({"Off", "Action"}))) +
            nodeNamed("BaseNode", "Mini", states({"MiniAppear", "0", "1", "2", "3"})) +
            nodeNamed("BaseNode", "Fade", states({"MiniDisappear"})));
}

inline std::string templates() {
    std::string collection = fixture_clients::templates();
    const std::string bare =
        nodeNamed("BaseNode", "SuperPadWithoutButtons",
                  nodeNamed("BaseNode", "Buttons", nodeNamed("GEllipseSectorNode", "Progress")));
    collection.insert(collection.rfind("</SceneNode>"), padTemplate() + bare);
    return collection;
}

inline std::string locationConfigs() {
    std::string configs = fixture_clients::locationConfigs();
    configs.insert(configs.rfind("</ObjectConfigurations>"),
                   fixture_clients::locationConfig("SuperPad", "SuperDance",
                                                   "<MaxServingClients Value=\"3\"/>"));
    return configs;
}

inline std::string resourceConfigs() {
    std::string configs = fixture_clients::resourceConfigs();
    const std::string plain = fixture_clients::resource("SuperDance", "");
    configs.replace(configs.find(plain), plain.size(),
                    fixture_clients::resource("SuperDance", "<HeartsBoost Value=\"1\"/>"
                                                            "<MoneyBoost Value=\"30\"/>"));
    return configs;
}

const char kUpgrades[] = "<Upgrades><Level Index=\"1\"><Locations>"
                         "<U Name=\"SuperPad\" Type=\"SuperPad\" Price=\"0\"/>"
                         "</Locations><Staff></Staff><Env></Env></Level></Upgrades>";

class FixtureSuperPadTest : public fixture_clients::FixtureClientTest {
protected:
    static void SetUpTestSuite() {
        FixtureClientTest::SetUpTestSuite();
        harness->write("levels/common/LocationConfigs.xml", locationConfigs());
        harness->write("levels/common/ResourceConfigs.xml", resourceConfigs());
        harness->write("levels/setting3/Level.qscn", levelScene());
        harness->write("levels/setting3/TemplateCollection.qscn", templates());
        harness->write("levels/setting3/Upgrades.xml", kUpgrades);
    }

    void SetUp() override {
        load(1);
        harness->advance(1);
    }

    static GSuperPadNode& pad() {
        auto* found = static_cast<GSuperPadNode*>(harness->node("SuperPad"));
        EXPECT_TRUE(found != nullptr && found->isKindOf(GSuperPadNode::kTypeId));
        return *found;
    }

    // A client wishing the super dance and then to pay, stepping on the pad as a drop puts it.
    static GClientNode* stepOn(const char* name, const char* type = "Dancer",
                               const GQueuedClient* queued = nullptr) {
        GClientNode* client =
            spawn(type, fixture_clients::wishes({{{"SuperDance"}}}), name, "Dancer", queued);
        pad().setColor(client->getColor());
        client->placeAtClientPoint(pad());
        client->moveToLocation(&pad());
        return client;
    }

    static ControlNode& button(int32_t arrow) { return *pad().getPadButtons()[uint32_t(arrow)]; }
    static int32_t currentArrow() { return pad().getSequence()[0]; }
    static int32_t wrongArrow() { return (currentArrow() + 1) % 4; }
    // Clicks a pad button and lets its click arrive.
    static void answer(int32_t arrow) {
        harness->click(button(arrow));
        harness->advance(2);
    }

    static CNameId stateOf(const BaseNode& node) {
        const NodeState* state = node.getCurrentState();
        return state != nullptr ? state->getName() : CNameId();
    }
    static CNameId slotState(uint32_t slot) { return stateOf(*pad().getAnswers()->getChild(slot)); }
    static CNameId partState(const char* part) {
        return stateOf(*pad().getTemplateRoot()->findChild(named(part), 1));
    }
};

} // namespace fixture_super_pad
