#include "game/app/UpgradeCatalog.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "app/ConfigFixtures.h"

using namespace config_fixtures;

namespace {

class UpgradeCatalogTest : public testing::Test {
protected:
    UpgradeCatalogTest() { EXPECT_TRUE(catalog->loadFile(*files, 1, *profileWithDifficulty(0))); }

    // The slot's current upgrade as "type@position", "-" for none.
    std::string current(const char* slot) const {
        const GUpgradeItem* item = nullptr;
        const GUpgradeItem* next = nullptr;
        if (!catalog->getCurrentAndNext(name(slot), item, next))
            return "-";
        return text(item->type) + "@" + std::to_string(item->position);
    }

    CRefPointer<IVirtualFileSystem> files = fixtureFiles("content");
    CRefPointer<UpgradeCatalog> catalog{new UpgradeCatalog};
    CRefPointer<CProperties> profile{new CProperties};
};

TEST_F(UpgradeCatalogTest, ReadsLevelsAndTheirGroups) {
    const CArray<GUpgradeLevel>& levels = catalog->getLevels();
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].index, 1);
    EXPECT_EQ(levels[1].index, 3);
    const GUpgradeItem& floor = levels[0].groups[GUpgradeLevel::kLocations][0];
    EXPECT_EQ(floor.level, 1);
    EXPECT_EQ(floor.price, 0);
    EXPECT_EQ(text(floor.type), "DanceFloor");
    EXPECT_EQ(text(floor.name), "Floor1");
    EXPECT_TRUE(floor.required);
    EXPECT_EQ(floor.recommendedLevel, 2);
    const GUpgradeItem& hero = levels[0].groups[GUpgradeLevel::kStaff][0];
    EXPECT_EQ(hero.type, CNameId());
    EXPECT_EQ(hero.recommendedLevel, 1000000);
    EXPECT_FALSE(levels[0].groups[GUpgradeLevel::kEnv][0].required) << "only \"1\" is required";
    EXPECT_EQ(levels[1].groups[GUpgradeLevel::kEnv][0].price, 50);
    EXPECT_EQ(levels[1].groups[GUpgradeLevel::kEnv][0].level, 3);
}

TEST_F(UpgradeCatalogTest, ChoosesTheFileByPlayerDifficulty) {
    ASSERT_TRUE(catalog->loadFile(*files, 1, *profileWithDifficulty(1)));
    ASSERT_EQ(catalog->getLevels().size(), 1u);
    EXPECT_EQ(text(catalog->getLevels()[0].groups[GUpgradeLevel::kLocations][0].type), "EasyFloor");
    EXPECT_FALSE(catalog->loadFile(*files, 2, *profileWithDifficulty(0)));
    EXPECT_EQ(catalog->getLevels().size(), 1u) << "a missing file keeps the levels";
}

TEST_F(UpgradeCatalogTest, NumbersSlotsAndAddsUpTheirPrices) {
    catalog->applyLevel(1, CString("Level1"), nullptr);
    const GUpgradeItem* item = nullptr;
    const GUpgradeItem* next = nullptr;
    ASSERT_TRUE(catalog->getCurrentAndNext(name("Floor1"), item, next));
    const CArray<GUpgradeLevel>& levels = catalog->getLevels();
    const GUpgradeItem* floor[] = {&levels[0].groups[GUpgradeLevel::kLocations][0],
                                   &levels[0].groups[GUpgradeLevel::kLocations][1],
                                   &levels[1].groups[GUpgradeLevel::kLocations][0]};
    EXPECT_EQ(item, floor[0]);
    EXPECT_EQ(next, floor[1]);
    const int32_t cumulative[] = {0, 100, 350};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(floor[i]->cumulativePrice, cumulative[i]);
        EXPECT_EQ(floor[i]->position, i + 1) << "the first upgrade has a type";
    }
    EXPECT_EQ(levels[0].groups[GUpgradeLevel::kStaff][0].position, 0);
    EXPECT_EQ(levels[1].groups[GUpgradeLevel::kStaff][0].position, 1);
    EXPECT_EQ(current("Nowhere"), "-");
}

TEST_F(UpgradeCatalogTest, FreeUpgradesBecomeCurrentOnceTheirLevelIsReached) {
    catalog->applyLevel(2, CString("Level1"), nullptr);
    EXPECT_EQ(current("Hero1"), "@0");
    EXPECT_EQ(current("Floor1"), "DanceFloor@1") << "an upgrade with a price stops the advance";
    EXPECT_FALSE(catalog->hasNextUpToLevel(0));
    EXPECT_TRUE(catalog->hasNextUpToLevel(1));
    catalog->applyLevel(3, CString("Level1"), nullptr);
    EXPECT_EQ(current("Hero1"), "Hero2@1");
}

TEST_F(UpgradeCatalogTest, AppliesTheBoughtStateOfTheProfile) {
    profile->setString("Level5Locations", CString("Floor1;DanceFloor2;Ghost;X"));
    profile->setString("Level5Staff", CString(" Hero1 ; None ;Extra"));
    profile->setString("Level5Env", CString("Decor;Lights"));
    profile->setString("Level4Env", CString("Decor;Plants"));
    catalog->applyLevel(2, CString("Level5"), profile.get());
    EXPECT_EQ(current("Floor1"), "DanceFloor2@2");
    EXPECT_EQ(current("Hero1"), "@0");
    EXPECT_EQ(current("Decor"), "Lights@2");
    EXPECT_EQ(current("Ghost"), "-");
    EXPECT_EQ(catalog->sumOfCurrent(), 100 + 0 + 50);
    EXPECT_FALSE(catalog->hasNextUpToLevel(2));
    EXPECT_TRUE(catalog->hasNextUpToLevel(3));

    catalog->setCurrentByName(name("Floor1"), name("NoSuchType"));
    EXPECT_EQ(current("Floor1"), "DanceFloor2@2");
    catalog->setCurrentByName(name("Floor1"), name("DanceFloor3"));
    EXPECT_EQ(current("Floor1"), "DanceFloor3@3");
    const GUpgradeItem* item = nullptr;
    const GUpgradeItem* next = &catalog->getLevels()[0].groups[GUpgradeLevel::kEnv][0];
    ASSERT_TRUE(catalog->getCurrentAndNext(name("Floor1"), item, next));
    EXPECT_EQ(next, nullptr) << "the last upgrade has no next";
    EXPECT_EQ(catalog->sumOfCurrent(), 350 + 50);
}

// The shop names slots the catalogue may lack; they exist, empty, until the slots are rebuilt.
TEST_F(UpgradeCatalogTest, UnknownSlotsAreCreatedEmpty) {
    profile->setString("Level1Env", CString("Ghost;Lights"));
    catalog->applyLevel(1, CString("Level1"), profile.get());
    catalog->setCurrentByName(name("Phantom"), name("None"));
    for (const char* slot : {"Ghost", "Phantom"}) {
        const auto found = catalog->getSlots().find(name(slot));
        ASSERT_TRUE(found != catalog->getSlots().end()) << slot;
        EXPECT_EQ(found->value.items.size(), 0u) << slot;
        EXPECT_EQ(current(slot), "-") << slot;
    }
    EXPECT_EQ(catalog->sumOfCurrent(), 0);
    EXPECT_FALSE(catalog->hasNextUpToLevel(0));
    catalog->applyLevel(1, CString("Level2"), profile.get());
    EXPECT_TRUE(catalog->getSlots().find(name("Phantom")) == catalog->getSlots().end());
}

// Slots used to point into the levels list, which a load replaces.
TEST_F(UpgradeCatalogTest, LoadingEmptiesTheSlots) {
    catalog->applyLevel(3, CString("Level1"), nullptr);
    ASSERT_TRUE(catalog->loadFile(*files, 1, *profileWithDifficulty(1)));
    EXPECT_EQ(current("Floor1"), "-");
    EXPECT_EQ(catalog->sumOfCurrent(), 0);
    EXPECT_FALSE(catalog->hasNextUpToLevel(100));
    catalog->applyLevel(1, CString("Level1"), nullptr);
    EXPECT_EQ(current("Floor1"), "EasyFloor@1");
    EXPECT_EQ(catalog->sumOfCurrent(), 10);
}

TEST_F(UpgradeCatalogTest, AnEmptyElementHasNoContent) {
    catalog->load(*fixtureFiles("empty-elements")->openXmlReader(u"Upgrades.xml"));
    ASSERT_EQ(catalog->getLevels().size(), 3u);
    catalog->applyLevel(5, CString("Level1"), nullptr);
    EXPECT_EQ(current("Hero"), "Hero2@1");
    EXPECT_EQ(current("Decor"), "Lights@1");
    EXPECT_EQ(catalog->sumOfCurrent(), 12);
}

TEST_F(UpgradeCatalogTest, PricesAddUpWithoutOverflowing) {
    catalog->load(*readerOver("<Upgrades><Level><Env><U Name='A' Type='T1' Price='2e9'/>"
                              "<U Name='A' Type='T2' Price='2147483647'/></Env></Level>"
                              "<Level><Env><U Name='B' Type='T' Price='2e9'/></Env></Level>"
                              "</Upgrades>"));
    catalog->applyLevel(0, CString("Level1"), nullptr);
    catalog->setCurrentByName(name("A"), name("T2"));
    const GUpgradeItem* item = nullptr;
    const GUpgradeItem* next = nullptr;
    ASSERT_TRUE(catalog->getCurrentAndNext(name("A"), item, next));
    EXPECT_EQ(item->cumulativePrice, INT_MAX);
    EXPECT_EQ(catalog->sumOfCurrent(), INT_MAX);
}

} // namespace
