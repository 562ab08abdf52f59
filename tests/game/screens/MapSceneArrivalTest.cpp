#include <gtest/gtest.h>

#include <memory>

#include "engine/io/ContentManager.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/effects/SplineMovableNode.h"
#include "game/screens/LevelCompletedScene.h"
#include "game/screens/MapLocationButton.h"
#include "game/screens/MapScene.h"
#include "tests/game/screens/LevelResults.h"

namespace {

// The map coming back into view from the results of level 1, played to the goal in the level
// harness, for the progress each case sets.
class MapSceneArrivalTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
        // The menus' templates, which the intro loads for the map's buttons.
        const CRefPointer<CContent> templates =
            harness->content().load(contentType("snod"), u"scenes/TemplateCollection.qscn", true);
        auto* collection = static_cast<BaseNode*>(templates.get());
        ASSERT_TRUE(collection && collection->isKindOf(TemplateCollectionNode::kTypeId));
        harness->game.application().getSceneManager()->setTemplateCollection(
            static_cast<TemplateCollectionNode*>(collection));
    }
    static void TearDownTestSuite() { harness.reset(); }

    void SetUp() override {
        ASSERT_NE(harness->loadLevel(1), nullptr);
        level_results::playAndEarn(*harness, {200, 40, 0, 0, 0, 0});
        ASSERT_GT(harness->level().getRank(), 0);
        harness->game.player().setBool("ShowTutorialOn", false);
    }
    void TearDown() override {
        SceneManager& screens = *harness->game.application().getSceneManager();
        while (screens.getCurrentScene() != &harness->screen()) {
            screens.getCurrentScene()->navigateBack(0, CNameId(), CNameId());
            harness->advance(5);
        }
    }

    // The map over the level's screen, then the results over the map, which go back to it
    // once the player's progress is set.
    GMapScene& backFromResults(int32_t lastCompleted, int32_t maxUnlocked, int32_t levelIndex) {
        harness->content().releaseUnused();
        auto* map = static_cast<GMapScene*>(harness->screen().openSceneFile(
            u"scenes/MapScene.qscn", false, name("NavFrom"), name("NavTo")));
        EXPECT_TRUE(map != nullptr && map->isKindOf(GMapScene::kTypeId));
        harness->advance(30);
        const CRefPointer<CContent> loaded =
            harness->content().load(contentType("snod"), u"scenes/LevelCompletedScene.qscn", true);
        results = CRefPointer<GLevelCompletedScene>::share(
            static_cast<GLevelCompletedScene*>(static_cast<BaseNode*>(loaded.get())));
        results->setLevel(&harness->level());
        map->openScene(results.get(), true, name("NavFrom"), name("NavTo"));
        harness->advance(30);
        CProfileParameters& player = harness->game.player();
        player.setInt("LastCompletedLevelIndex", lastCompleted);
        player.setInt("MaxUnlockedLevelIndex", maxUnlocked);
        player.setInt("LevelIndex", levelIndex);
        results->navigateBack(0, name("NavBackFrom"), name("NavBackTo"));
        harness->advance(2);
        return *map;
    }

    static CNameId name(const char* text) { return CNameId(CString(text)); }
    static std::string stateOf(const BaseNode* node) {
        const NodeState* state = node != nullptr ? node->getCurrentState() : nullptr;
        return state != nullptr ? state->getName().toString().c_str() : "";
    }
    static BaseNode* child(BaseNode& map, const char* path) {
        BaseNode* scene = map.findChild(name("Scene"), 1);
        return scene != nullptr ? scene->findChild(name(path), 1) : nullptr;
    }

    static std::unique_ptr<LevelHarness> harness;
    CRefPointer<GLevelCompletedScene> results;
};

std::unique_ptr<LevelHarness> MapSceneArrivalTest::harness;

// The last place of an act passed for the first time turns the page to the next act, with no
// star flying.
TEST_F(MapSceneArrivalTest, TheLastPlaceOfAnActPassedFirstTurnsThePage) {
    GMapScene& map = backFromResults(10, 11, 12);
    EXPECT_EQ(map.getSelectedAct(), 1);
    EXPECT_EQ(stateOf(child(map, "LevelButtons")), "ChangeActBefore");
    EXPECT_EQ(child(map, "Effects")->getChildCount(), 0u);
    harness->advance(30);
    EXPECT_EQ(stateOf(child(map, "LevelButtons")), "ChangeActAfter");
    EXPECT_EQ(map.getCurrentLevelButton(), map.getLevelButtons()[0]) << "level 2.1";
    EXPECT_TRUE(map.getActButtons()[1]->findChild(name("Mark"), 1)->isVisible());
    EXPECT_FALSE(map.getActButtons()[0]->findChild(name("Mark"), 1)->isVisible());
}

// Any other place passed: the results' star flies from under the results' title down to the
// level's button, whose own star appears.
TEST_F(MapSceneArrivalTest, AnyOtherPlacePassedFliesTheStarToItsButton) {
    GMapScene& map = backFromResults(3, 3, 4);
    BaseNode& effects = *child(map, "Effects");
    ASSERT_EQ(effects.getChildCount(), 1u);
    ASSERT_TRUE(effects.getChild(0)->isKindOf(GSplineMovableNode::kTypeId));
    auto& flight = *static_cast<GSplineMovableNode*>(effects.getChild(0));
    EXPECT_EQ(flight.getDelay(), 350);
    EXPECT_EQ(flight.getDuration(), 1150);
    ASSERT_EQ(flight.getPoints().size(), 2u);
    const SplinePoint& from = flight.getPoints()[0];
    const SplinePoint& to = flight.getPoints()[1];
    EXPECT_EQ(from.x, 259);
    EXPECT_EQ(from.y, 98);
    EXPECT_EQ(from.tangentX, 100);
    EXPECT_EQ(from.tangentY, -100);
    EXPECT_EQ(to.x, 359);
    EXPECT_EQ(to.y, 712);
    EXPECT_EQ(to.tangentX, -100);
    EXPECT_EQ(to.tangentY, 300);
    ASSERT_EQ(flight.getChildCount(), 1u);
    EXPECT_EQ(stateOf(flight.getChild(0)), "MapEffect");
    EXPECT_FALSE(results->getStarNode()->isVisible());
    EXPECT_EQ(stateOf(map.getLevelButtons()[2]->getStarNode()), "Appear");

    harness->advance(100);
    EXPECT_EQ(effects.getChildCount(), 0u) << "the star has landed and gone";
}

// A pass of the last place of an act that was passed before, and a level missed, fly nothing.
TEST_F(MapSceneArrivalTest, NoStarFliesForTheLastPlaceOfAnActOrAMissedGoal) {
    for (int32_t passed : {11, 22, 33}) {
        GMapScene& map = backFromResults(passed, passed, passed + 1);
        EXPECT_EQ(child(map, "Effects")->getChildCount(), 0u) << passed;
        TearDown();
    }
    ASSERT_NE(harness->loadLevel(1), nullptr);
    ASSERT_EQ(harness->level().getRank(), 0);
    GMapScene& map = backFromResults(3, 3, 4);
    EXPECT_EQ(child(map, "Effects")->getChildCount(), 0u);
}

} // namespace
