#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>

#include "game/app/GameApplication.h"
#include "game/app/LevelsConfiguration.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "tests/game/level/LevelHarness.h"

// Every level of the game's own plan, in both difficulties, loaded as the screens load it in
// its setting: the free upgrades build its pads in their colours on the places of their
// layout, its hero stands, and nothing the level names is missing from the content.
namespace {

constexpr int32_t kLevels = 43;

class LevelPlanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }

    static std::unique_ptr<LevelHarness> harness;
};

std::unique_ptr<LevelHarness> LevelPlanTest::harness;

TEST_F(LevelPlanTest, EveryLevelBuildsItsPadsAndHeroInItsSettingWithoutMissingContent) {
    for (int32_t difficulty : {0, 1}) {
        for (int32_t index = 1; index <= kLevels; ++index) {
            const std::string where = std::to_string(index) + (difficulty != 0 ? " easy" : " hard");
            GGameLevelScene* level = harness->loadLevel(index, difficulty);
            ASSERT_NE(level, nullptr) << where;
            const GLevelConfig* config =
                harness->game.application().getLevelList()->getLevel(index - 1);
            ASSERT_NE(config, nullptr) << where;
            std::set<std::pair<float, float>> places;
            std::set<int32_t> colours;
            for (const CRefPointer<GLocationNode>& location : level->getLocations()) {
                if (!location->isVisible())
                    continue;
                EXPECT_EQ(location->getTemplateName(), CNameId(CString("DancePad1"))) << where;
                places.insert({location->getPosition().x, location->getPosition().y});
                colours.insert(location->getColor());
            }
            EXPECT_EQ(colours.size(), size_t(config->colorsCount)) << where;
            EXPECT_EQ(places.size(), size_t(config->colorsCount)) << where << ": laid out";
            EXPECT_FALSE(places.count({0.f, 0.f})) << where << ": every pad on its layout's place";
            EXPECT_NE(level->getHero(), nullptr) << where;
            // The first clients come in and are shown by their templates.
            harness->advance(150);
            EXPECT_EQ(harness->game.logProblems(), "") << where;
        }
    }
}

} // namespace
