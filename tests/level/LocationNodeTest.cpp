#include "game/level/LocationNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/PropertyDataScalars.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/ProgressBarNode.h"
#include "game/app/GameEvents.h"
#include "game/level/GameLevelScene.h"
#include "tests/level/LevelFixtures.h"

namespace {

std::string node(const char* type, const char* name, const std::string& inside = "",
                 const std::string& properties = "") {
    return std::string("<SceneNode Type=\"") + type + "\"><Properties><string Name=\"Name\" " +
           "Value=\"" + name + "\"/>" + properties + "</Properties>" + inside + "</SceneNode>";
}

std::string recorder(const char* name, const std::vector<std::string>& states) {
    return node("StateRecorder", name, emptyStates(states));
}

// "Appear" shows a node, "Disappear" hides it.
const std::string kAppearing =
    "<States><State Name=\"Appear\"><StartAnimator Type=\"SetProps\"><bool Name=\"Visible\" "
    "Value=\"true\"/></StartAnimator></State><State Name=\"Disappear\"><StartAnimator "
    "Type=\"SetProps\"><bool Name=\"Visible\" Value=\"false\"/></StartAnimator></State>"
    "</States>";

// An indicator icon, hidden until it appears.
std::string icon(const char* name) {
    return node("StateRecorder", name, kAppearing, "<bool Name=\"Visible\" Value=\"false\"/>");
}

std::vector<std::string> capacities(int32_t highest, const char* word = "Capacity") {
    std::vector<std::string> names;
    for (int32_t n = 0; n <= highest; ++n)
        names.push_back(word + std::to_string(n));
    return names;
}

// The location's look: the parts it binds, each noting the states it plays.
const std::string kTemplates =
    "<SceneNode Type=\"TemplateCollectionNode\">" +
    node("BaseNode", "Pad",
         recorder("Body", {"Normal", "Action", "StopAction", "Dirty", "WantRecharge", "Recharging",
                           "RechargeEnded", "Capacity0", "Capacity1", "Capacity2", "Capacity3",
                           "HLDraggingOn", "HLPlacedOn", "HLOff"}) +
             node("BaseNode", "Color",
                  recorder("Glow", {"Neutral", "Colored", "Action", "StopAction"}) +
                      "<States><State Name=\"Blink\"><Animator Type=\"KeyFrame\"><Properties>"
                      "<color Name=\"TintColor\" Value=\"ffffffff\"/></Properties>"
                      "<KeyFrame t=\"0\" Value0=\"ffffffff\"/><KeyFrame t=\"50\" "
                      "Value0=\"ffffffff\"/><KeyFrame t=\"50\" Value0=\"ffffffff\"/>"
                      "<KeyFrame t=\"50\" Value0=\"ffffffff\"/>"
                      "</Animator></State></States>") +
             node("BaseNode", "Indicators",
                  node("BaseNode", "ColorMatch",
                       node("TextNode", "Text") +
                           recorder("Color", {"Anim2", "Anim3", "Anim4", "Anim"}) + kAppearing) +
                      icon("Drink") + icon("Towel"),
                  "<vector3d Name=\"Bounds\" Value=\"40;30;0\"/>") +
             node("BaseNode", "QueueIndex",
                  node("BaseNode", "Img", "", "<vector3d Name=\"Bounds\" Value=\"20;10;0\"/>")) +
             node("ProgressBarNode", "RechargeProgress") +
             node("BaseNode", "CapacityIcons", "",
                  "<vector3d Name=\"Position\" Value=\"7;8;9\"/>")) +
    node("BaseNode", "CapacityIcons",
         recorder("Dots", capacities(3)) + recorder("Frame", capacities(3, "MaxCapacity"))) +
    "</SceneNode>";

const char kLevel[] = "<SceneNode Type=\"GGameLevelScene\">"
                      "<SceneNode Type=\"ControlNode\"><Properties><string Name=\"Name\" "
                      "Value=\"LocationsNode\"/></Properties>"
                      "<SceneNode Type=\"GLocationNode\"><Properties><string Name=\"Name\" "
                      "Value=\"Place\"/><string Name=\"TemplateName\" Value=\"Pad\"/>"
                      "</Properties></SceneNode>"
                      "</SceneNode></SceneNode>";

// A location type: what it provides and its recharge times; an animation for "Juice".
std::string locationConfig(const char* name, const std::string& resources, int32_t staffMs,
                           int32_t selfMs, const char* extra = "") {
    return std::string("<Location><Name Value=\"") + name + "\"/><StaffRechargeTime Value=\"" +
           std::to_string(staffMs) + "\"/><SelfRechargeTime Value=\"" + std::to_string(selfMs) +
           "\"/>" + extra + "<ProvidedResources>" + resources + "</ProvidedResources></Location>";
}

const std::string kConfigs =
    "<ObjectConfigurations>"
    "<Resource><Name Value=\"Dance\"/></Resource>"
    "<Resource><Name Value=\"Juice\"/><ActionAnimationTime Value=\"100\"/></Resource>" +
    locationConfig("Bar", "<Resource Name=\"Juice\" MaxAmount=\"2\"/>", 60, 90) +
    locationConfig("Floor", "<Resource Name=\"Dance\"/>", 1000, 1000) +
    locationConfig("Fridge", "<Resource Name=\"Dance\" MaxAmount=\"1\"/>", 0, 100) +
    locationConfig("Rack", "<Resource Name=\"Dance\" MaxAmount=\"3\"/>", 300, 600) +
    locationConfig("Empty", "<Resource Name=\"Dance\" MaxAmount=\"3\" InitialAmount=\"0\"/>", 1000,
                   0) +
    locationConfig("Messy", "<Resource Name=\"Dance\"/>", 1000, 1000,
                   "<DirtyProbability Value=\"1\"/>") +
    "</ObjectConfigurations>";

// Notes the game events that reach the level, as (new state, old state) for location states.
class LevelEvents : public CEventReceiver {
public:
    bool OnEvent(CEvent& event) override {
        if (event.getTypeId() == LocationStateEvent::Id) {
            const auto& change = static_cast<const LocationStateEvent&>(event);
            states.emplace_back(change.getNewState(), change.getOldState());
        }
        return false;
    }

    std::vector<std::pair<int32_t, int32_t>> states;
};

using Changes = std::vector<std::pair<int32_t, int32_t>>;

// One location of a level on a clock of the test's own, its look from the template "Pad", its
// configuration chosen by each test.
class LocationNodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        scenes.factory->registerNodeType(ProgressBarNode::kTypeName,
                                         &createNodeOf<ProgressBarNode>);
        scenes.files->add(u"templates.qscn", kTemplates);
        scenes.files->add(u"level.qscn", kLevel);
        const CRefPointer<BaseNode> templates = scenes.load(u"templates.qscn");
        ASSERT_TRUE(templates);
        manager->setTemplateCollection(static_cast<TemplateCollectionNode*>(templates.get()));
        level = CRefPointer<GGameLevelScene>::share(
            static_cast<GGameLevelScene*>(scenes.load(u"level.qscn").get()));
        ASSERT_TRUE(level);
        std::string text = kConfigs;
        const CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
            reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()), u"c.xml", false));
        configs->load(*CRefPointer<CXmlTextReader>(new CXmlTextReader(file.get())));
        level->setObjectConfigurations(configs.get());
        // Opened, the level's controls take their templates; then its clock is the test's.
        manager->openScene(level.get(), CNameId());
        level->setClock(clock.get());
        level->addPreReceiver(&events);
        ASSERT_EQ(level->getLocations().size(), 1u);
        location = level->getLocations()[0].get();
    }
    void TearDown() override {
        // The level ticks on the clock it holds.
        level->setScheduler(nullptr);
        level->getPreReceivers().clear();
    }

    // The location takes the configuration and the level, as the level's set-up gives them.
    void configure(const char* name) {
        location->setConfig(configs->getLocationConfig(nameId(name)));
        location->setLevel(level.get());
        startedStates().clear();
        events.states.clear();
    }
    void tick(uint32_t ms) { clock->update(ms); }
    BaseNode* part(const char* path) const {
        BaseNode* found = location->getTemplateRoot();
        std::string rest = path;
        while (found != nullptr && !rest.empty()) {
            const size_t slash = rest.find('/');
            found = found->findChild(nameId(rest.substr(0, slash).c_str()), 1);
            rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
        }
        return found;
    }
    float amount() const { return location->getResources()[0].amount; }
    int count(const std::string& entry) const {
        return int(std::count(startedStates().begin(), startedStates().end(), entry));
    }

    LevelEvents events;
    SceneFiles scenes = levelSceneFiles();
    CRefPointer<ObjectConfigurations> configs{new ObjectConfigurations};
    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<CScheduler> clock{new CScheduler};
    CRefPointer<GGameLevelScene> level;
    GLocationNode* location = nullptr;
};

TEST_F(LocationNodeTest, ServiceUseAndRechargeWalkTheStatesAndReportEachChangeButOne) {
    location->setConfig(configs->getLocationConfig(nameId("Bar")));
    location->setLevel(level.get());
    ASSERT_EQ(location->getState(), GLocationNode::kStateReady);
    for (int service = 0; service < 2; ++service) {
        location->startAction(nameId("Juice"));
        location->finishAction(nameId("Juice"));
        EXPECT_EQ(location->getState(), GLocationNode::kStateActionAnimation);
        tick(90);
        EXPECT_EQ(location->getState(), GLocationNode::kStateActionAnimation);
        tick(30);
    }
    EXPECT_EQ(location->getState(), GLocationNode::kStateNeedsRecharge);
    EXPECT_EQ(amount(), 0.0f);
    ASSERT_TRUE(location->startRecharge(nullptr));
    tick(60);
    EXPECT_EQ(location->getState(), GLocationNode::kStateSelfRecharge);
    tick(90);
    EXPECT_EQ(location->getState(), GLocationNode::kStateReady);
    EXPECT_EQ(amount(), 2.0f);
    const Changes expected = {{1, 0}, {2, 1}, {6, 2}, {1, 6}, {2, 1},
                              {6, 2}, {3, 6}, {4, 3}, {1, 5}};
    EXPECT_EQ(events.states, expected) << "4 to 5 goes unannounced";
}

TEST_F(LocationNodeTest, AnUnlimitedResourceIsNeverUsedUp) {
    configure("Floor");
    for (int service = 0; service < 5; ++service) {
        location->startAction(nameId("Dance"));
        location->finishAction(nameId("Dance"));
        EXPECT_EQ(location->getState(), GLocationNode::kStateReady);
    }
    EXPECT_FALSE(location->canRecharge());
    EXPECT_FALSE(location->startRecharge(nullptr));
    EXPECT_EQ(location->getState(), GLocationNode::kStateReady);
}

TEST_F(LocationNodeTest, WithoutAStaffPartTheLastUnitStartsTheLocationsOwnRecharge) {
    configure("Fridge");
    location->startAction(nameId("Dance"));
    location->finishAction(nameId("Dance"));
    EXPECT_EQ(location->getState(), GLocationNode::kStateStaffRecharge);
    EXPECT_EQ(location->getRecharger(), nullptr);
    tick(30);
    EXPECT_EQ(location->getState(), GLocationNode::kStateSelfRecharge);
    tick(90);
    EXPECT_EQ(location->getState(), GLocationNode::kStateReady);
    EXPECT_EQ(amount(), 1.0f);
    EXPECT_EQ(events.states, (Changes{{2, 1}, {3, 2}, {4, 3}, {1, 5}}));
}

TEST_F(LocationNodeTest, ARechargeOfAThirdTakesAThirdOfTheTimesAndEndsFull) {
    configure("Rack");
    location->startAction(nameId("Dance"));
    location->finishAction(nameId("Dance"));
    ASSERT_EQ(amount(), 2.0f);
    ASSERT_TRUE(location->startRecharge(nullptr));
    const auto* bar = static_cast<BaseProgressBarNode*>(location->getRechargeProgress());
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->getMaxValue(), 300.0f) << "100 of the staff's 300 and 200 of its own 600";
    tick(99);
    EXPECT_EQ(location->getState(), GLocationNode::kStateStaffRecharge);
    EXPECT_NEAR(amount(), 2.33f, 0.01f) << "filled at the speed of a whole recharge";
    tick(30);
    EXPECT_EQ(location->getState(), GLocationNode::kStateSelfRecharge);
    tick(150);
    EXPECT_NEAR(amount(), 2.83f, 0.01f);
    tick(30);
    EXPECT_EQ(location->getState(), GLocationNode::kStateReady);
    EXPECT_EQ(amount(), 3.0f) << "completed at the end";
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(LocationNodeTest, TheCapacityShowsTheWholeUnitsLeftOnceForEachChange) {
    startedStates().clear();
    location->setConfig(configs->getLocationConfig(nameId("Empty")));
    location->setLevel(level.get());
    EXPECT_EQ(location->getState(), GLocationNode::kStateNeedsRecharge) << "it starts empty";
    EXPECT_EQ(count("Body Capacity0"), 1);
    EXPECT_EQ(count("Body WantRecharge"), 1);
    ASSERT_TRUE(location->startRecharge(nullptr));
    for (int i = 0; i < 30; ++i)
        tick(30);
    ASSERT_NEAR(amount(), 2.7f, 1e-4f);
    EXPECT_EQ(count("Body Capacity2"), 1) << "set once while the amount rose from 2 to 2.7";
    EXPECT_EQ(count("Dots Capacity2"), 1) << "the icons repeat the count";
    EXPECT_EQ(count("Frame MaxCapacity3"), 1);
    location->consumeResource(nameId("Dance"));
    EXPECT_EQ(count("Body Capacity1"), 2) << "once on the way up, once now at 1.7";
    EXPECT_EQ(location->getCapacityIcons()->getPosition(), CVector3d(7, 8, 9));
}

TEST_F(LocationNodeTest, AStreakOfOneColourShowsItsLengthOnTheIndicator) {
    configure("Floor");
    BaseNode* indicator = location->getColorMatchIndicator();
    ASSERT_NE(indicator, nullptr);
    EXPECT_FALSE(indicator->isVisible());
    struct Step {
        int32_t color;
        int32_t count;
        bool shown;
    };
    const Step steps[] = {{1, 1, false}, {1, 2, true}, {2, 1, false}, {2, 2, true}, {2, 3, true}};
    for (const Step& step : steps) {
        location->setColor(step.color);
        EXPECT_EQ(location->getColorMatchCount(), step.count);
        EXPECT_EQ(indicator->isVisible(), step.shown) << step.color << " x" << step.count;
    }
    EXPECT_EQ(static_cast<TextNode*>(part("Indicators/ColorMatch/Text"))->getText(),
              CStringW(u"x3"));
    EXPECT_EQ(count("Color Anim2"), 2);
    EXPECT_EQ(count("Color Anim3"), 1);
    // The blink runs from the colour before to the new one.
    const KeyFrame* blink = asKeyFrame(part("Color")->findState(nameId("Blink"))->getAnimator(0));
    const CColor blue = GGameLevelScene::getColorValue(1);
    const CColor red = GGameLevelScene::getColorValue(2);
    const CColor expected[] = {blue, red, blue, red};
    for (uint32_t key = 0; key < 4; ++key) {
        const auto* value =
            castPropertyData<CPropertyDataColor>(blink->getKeys()[key].values[0].get());
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->getValue(), expected[key]) << key;
    }
    location->setColor(0);
    location->setColor(0);
    EXPECT_EQ(location->getColorMatchCount(), 1) << "the neutral colour makes no streak";
}

TEST_F(LocationNodeTest, QueueMarksAreCopiedOnceAndShownAgainByNumber) {
    configure("Floor");
    BaseNode* marks = location->getQueueIndexNode();
    ASSERT_NE(marks, nullptr);
    EXPECT_FALSE(marks->isVisible());
    const auto shownMarks = [&] {
        int shown = 0;
        for (uint32_t i = 0; i < marks->getChildCount(); ++i)
            shown += marks->getChild(i)->isVisible();
        return shown;
    };
    for (int32_t position : {1, 2, 3})
        location->showQueueIndex(position);
    ASSERT_EQ(marks->getChildCount(), 3u);
    EXPECT_EQ(shownMarks(), 3);
    // Each copy smaller, up and to the left of the one before.
    EXPECT_EQ(marks->getChild(2)->getPosition(), CVector3d(-12, -4, -0.02f));
    EXPECT_EQ(marks->getChild(2)->getScale(), CVector3d(0.8f, 0.8f, -1));
    location->showQueueIndex(0);
    EXPECT_FALSE(marks->isVisible());
    for (int32_t position : {1, 2})
        location->showQueueIndex(position);
    EXPECT_TRUE(marks->isVisible());
    EXPECT_EQ(marks->getChildCount(), 3u) << "no new copies";
    EXPECT_EQ(shownMarks(), 2);
}

// Icons show from the right to the left, visible ones first; one that disappears leaves its
// place 500 ms later.
TEST_F(LocationNodeTest, IndicatorsAreLaidOutAgainOnceAHiddenOneHasGone) {
    configure("Floor");
    BaseNode* icons = location->getIndicators();
    location->showIndicator(nameId("Towel"));
    EXPECT_EQ(icons->getChild(1)->getName(), nameId("Towel")) << "visible icons first";
    location->showIndicator(nameId("Towel"));
    EXPECT_EQ(count("Towel Appear"), 1) << "a visible icon changes nothing";
    location->showIndicator(nameId("Drink"));
    const BaseNode* towel = part("Indicators/Towel");
    const BaseNode* drink = part("Indicators/Drink");
    EXPECT_EQ(towel->getPosition(), CVector3d(20, 15, 0));
    EXPECT_EQ(drink->getPosition(), CVector3d(-20, 15, 2));

    location->hideIndicator(nameId("Towel"));
    EXPECT_EQ(count("Towel Disappear"), 1);
    tick(450);
    EXPECT_EQ(drink->getPosition(), CVector3d(-20, 15, 2));
    tick(50);
    EXPECT_EQ(drink->getPosition(), CVector3d(20, 15, 0)) << "the delay reaching 0 counts";
    location->hideIndicator(CNameId());
    EXPECT_EQ(count("Drink Disappear"), 1);
}

TEST_F(LocationNodeTest, ADirtyLocationWaitsForARechargeOnceItsLastClientLeaves) {
    configure("Messy");
    const CRefPointer<GCharacterNode> client(new GCharacterNode(CContentKey(), nullptr, nullptr));
    EXPECT_TRUE(location->canTakeClient());
    location->addClient(client.get());
    location->addClient(client.get());
    EXPECT_EQ(location->getClients().size(), 1u);
    EXPECT_FALSE(location->canTakeClient());
    location->rollDirt();
    EXPECT_TRUE(location->isDirty());
    location->removeClient(client.get());
    EXPECT_EQ(location->getState(), GLocationNode::kStateNeedsRecharge);
    EXPECT_EQ(count("Body Dirty"), 1);
    ASSERT_TRUE(location->startRecharge(nullptr));
    tick(1000);
    tick(1000);
    EXPECT_EQ(location->getState(), GLocationNode::kStateReady);
    EXPECT_FALSE(location->isDirty()) << "cleaned by the recharge";
}

// The location's clock stands while the level is paused, and goes on once the level closes.
TEST_F(LocationNodeTest, ALocationWaitsWhileTheLevelIsPausedNotOnceItIsClosed) {
    configure("Fridge");
    location->startAction(nameId("Dance"));
    location->finishAction(nameId("Dance"));
    level->setClientGenerationPaused(true);
    tick(200);
    EXPECT_EQ(location->getState(), GLocationNode::kStateStaffRecharge);
    level->setClientGenerationPaused(false);
    level->setMode(0);
    tick(30);
    ASSERT_TRUE(level->isClosed()) << "a level without time closes at once";
    EXPECT_EQ(location->getState(), GLocationNode::kStateSelfRecharge);
    tick(100);
    EXPECT_EQ(location->getState(), GLocationNode::kStateReady);
}

} // namespace
