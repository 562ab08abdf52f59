#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>

#include "game/app/GameApplication.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/UpgradeCatalog.h"
#include "game/app/UpgradeLevel.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "tests/game/level/LevelHarness.h"

// Every level of the game's own plan, in both difficulties, loaded as the screens load it in
// its setting: the free upgrades build its pads and the other locations it names, its pads
// stand on the places of their layout, its hero and staff are there, its first clients come,
// and nothing the level names is missing from the content.
namespace {

constexpr int32_t kLevels = 43;

class LevelPlanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }

    // Where the level's built pads stand, each place once.
    static std::set<std::pair<float, float>> padPlaces(const GGameLevelScene& level) {
        std::set<std::pair<float, float>> places;
        for (const CRefPointer<GLocationNode>& location : level.getLocations()) {
            if (location->isVisible() &&
                std::string(location->getName().toString().c_str()).rfind("DancePad", 0) == 0)
                places.insert({location->getPosition().x, location->getPosition().y});
        }
        return places;
    }

    static std::unique_ptr<LevelHarness> harness;
};

std::unique_ptr<LevelHarness> LevelPlanTest::harness;

TEST_F(LevelPlanTest, EveryLevelBuildsWhatItNamesInItsSettingWithoutMissingContent) {
    for (int32_t difficulty : {0, 1}) {
        for (int32_t index = 1; index <= kLevels; ++index) {
            const std::string where = std::to_string(index) + (difficulty != 0 ? " easy" : " hard");
            GGameLevelScene* level = harness->loadLevel(index, difficulty);
            ASSERT_NE(level, nullptr) << where;
            const GLevelConfig* config =
                harness->game.application().getLevelList()->getLevel(index - 1);
            ASSERT_NE(config, nullptr) << where;
            // Every location the level names is built as it names it, and nothing else.
            std::set<std::string> built;
            for (const CRefPointer<GLocationNode>& location : level->getLocations()) {
                if (!location->isVisible())
                    continue;
                const std::string name = location->getName().toString().c_str();
                built.insert(name + "=" + location->getTemplateName().toString().c_str());
                EXPECT_NE(location->getConfig(), nullptr) << where << " " << name;
                // Characters walk around it.
                const auto region =
                    level->getWalkGrid().getRegions().find(location->getTemplateName());
                EXPECT_TRUE(region != level->getWalkGrid().getRegions().end() &&
                            region->value.size() > 0)
                    << where << " " << name;
            }
            std::set<std::string> named;
            for (const GLocationType& type : config->locationTypes)
                named.insert(std::string(type.place.toString().c_str()) + "=" +
                             type.templateName.toString().c_str());
            EXPECT_EQ(built, named) << where;
            const std::set<std::pair<float, float>> pads = padPlaces(*level);
            EXPECT_EQ(pads.size(), size_t(config->colorsCount)) << where << ": laid out";
            EXPECT_FALSE(pads.count({0.f, 0.f})) << where << ": every pad on its layout's place";
            EXPECT_NE(level->getHero(), nullptr) << where;
            // The masseur and the fitness trainer come with their places.
            EXPECT_EQ(level->getStaff().size(), size_t(config->masseurType != CNameId()) +
                                                    size_t(config->fitnessType != CNameId()))
                << where;
            // The first clients come in and are shown by their templates.
            harness->advance(150);
            EXPECT_EQ(harness->game.logProblems(), "") << where;
        }
    }
}

// The last level of each act with everything its shop offers bought: the sixth pad takes its
// place in the layout, the better staff work, and nothing bought is missing from the content.
TEST_F(LevelPlanTest, TheLastLevelOfEachActTakesEverythingItsShopOffers) {
    for (int32_t index : {11, 22, 33, 43}) {
        const std::string where = std::to_string(index);
        GGameLevelScene* level = harness->loadLevel(index, 0);
        ASSERT_NE(level, nullptr) << where;
        UpgradeCatalog& catalog = *harness->catalog();
        int32_t bought = 0;
        for (const GUpgradeLevel& offers : catalog.getLevels()) {
            for (const CArray<GUpgradeItem>& group : offers.groups) {
                for (const GUpgradeItem& item : group) {
                    if (item.price > 0 && item.level <= index) {
                        catalog.setCurrentByName(item.name, item.type);
                        ++bought;
                    }
                }
            }
        }
        EXPECT_GT(bought, 0) << where;
        level->applyUpgrades(&catalog, false);
        level->layoutDancePads();
        const std::set<std::pair<float, float>> pads = padPlaces(*level);
        const GLevelConfig* config =
            harness->game.application().getLevelList()->getLevel(index - 1);
        EXPECT_EQ(pads.size(), size_t(config->colorsCount) + 1) << where << ": the sixth pad";
        EXPECT_FALSE(pads.count({0.f, 0.f})) << where;
        harness->advance(150);
        EXPECT_EQ(harness->game.logProblems(), "") << where;
    }
}

} // namespace
