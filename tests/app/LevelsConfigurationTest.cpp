#include "game/app/LevelsConfiguration.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ConfigFixtures.h"
#include "game/app/ObjectConfigurations.h"

using namespace config_fixtures;

namespace {

class LevelsConfigurationTest : public testing::Test {
protected:
    LevelsConfigurationTest() { objects->loadFiles(*files); }

    // Reads the fixture's level list of a difficulty; false when it does not open.
    bool loadLevels(int32_t difficulty, IVirtualFileSystem* from = nullptr) {
        return levels->loadFile(from != nullptr ? *from : *files,
                                *profileWithDifficulty(difficulty), objects.get());
    }

    const GLevelConfig& loadDocument(const std::string& body) {
        levels->clear();
        levels->load(*readerOver("<LevelsConfiguration>" + body + "</LevelsConfiguration>"),
                     objects.get());
        EXPECT_GT(levels->getLevelCount(), 0u);
        return *levels->getLevel(int32_t(levels->getLevelCount()) - 1);
    }

    CRefPointer<IVirtualFileSystem> files = fixtureFiles("content");
    CRefPointer<ObjectConfigurations> objects{new ObjectConfigurations};
    CRefPointer<LevelsConfiguration> levels{new LevelsConfiguration};
};

std::vector<std::string> texts(const CArray<CNameId>& names) {
    std::vector<std::string> out;
    for (const CNameId& id : names)
        out.push_back(text(id));
    return out;
}

std::vector<std::string> orderNames(const GQueuedClient& client) {
    std::vector<std::string> out;
    for (const GClientOrder& order : client.orders->orders)
        out.push_back(text(order.resource));
    return out;
}

TEST_F(LevelsConfigurationTest, ChoosesTheLevelFileByPlayerDifficulty) {
    struct Case {
        int32_t difficulty;
        uint32_t levels;
        int32_t levelTime;
    };
    const Case cases[] = {{0, 2, 180}, {1, 1, 240}, {2, 1, 240}};
    for (const Case& c : cases) {
        levels->clear();
        ASSERT_TRUE(loadLevels(c.difficulty));
        ASSERT_EQ(levels->getLevelCount(), c.levels) << c.difficulty;
        EXPECT_EQ(levels->getLevel(0)->levelTime, c.levelTime) << c.difficulty;
    }
    EXPECT_EQ(levels->getLevel(1), nullptr);
    EXPECT_EQ(levels->getLevel(-1), nullptr);
    EXPECT_FALSE(loadLevels(0, fixtureFiles("empty-elements").get()));
    EXPECT_EQ(levels->getLevelCount(), 1u) << "a missing file changes nothing";
}

TEST_F(LevelsConfigurationTest, ReadsEveryFieldOfALevelAndTheSharedTables) {
    ASSERT_TRUE(loadLevels(0));
    const GLevelConfig& level = *levels->getLevel(0);
    EXPECT_EQ(level.levelIndex, 7);
    EXPECT_EQ(level.settingIndex, 1);
    EXPECT_EQ(level.colorsCount, 3);
    EXPECT_EQ(level.levelTime, 180);
    EXPECT_FLOAT_EQ(level.targetMoney, 1000);
    EXPECT_FLOAT_EQ(level.targetExpertMoney, 1500);
    EXPECT_FLOAT_EQ(level.targetMasterMoney, 2000);
    EXPECT_EQ(level.targetHearts, 40);
    EXPECT_EQ(level.targetExpertHearts, 60);
    EXPECT_EQ(text(level.heroType), "Hero");
    EXPECT_EQ(text(level.masseurType), "Masseur");
    EXPECT_EQ(text(level.fitnessType), "Trainer");
    EXPECT_EQ(text(level.newClientName), "Kid");
    EXPECT_FLOAT_EQ(level.clientHappinessDecreaseMul, 0.8f);
    EXPECT_FLOAT_EQ(level.swapBonus, 12.5f);
    EXPECT_EQ(level.superDanceClickWaitTime, 4000);
    ASSERT_EQ(level.locationTypes.size(), 2u);
    EXPECT_EQ(text(level.locationTypes[0].place), "Floor1");
    EXPECT_EQ(text(level.locationTypes[0].templateName), "DanceFloor");
    EXPECT_EQ(level.locationTypes[0].color, 2);
    EXPECT_EQ(level.locationTypes[1].color, 0);
    EXPECT_EQ(texts(level.upgrades), (std::vector<std::string>{"DanceFloor", "Bar", "Hero"}));

    ASSERT_EQ(level.bonusTables.get(), &levels->getBonusTables());
    const CMap<CNameId, GChainBonus>& chains = level.bonusTables->chainBonuses;
    ASSERT_EQ(chains.size(), 2u);
    const GChainBonus& drinking = chains.find(name("Drinking"))->value;
    EXPECT_STREQ(drinking.text.c_str(), "%ChainDrink%") << "the later chain of a name stays";
    EXPECT_FLOAT_EQ(drinking.money, 7.5f);
    EXPECT_FLOAT_EQ(chains.find(name("Dancing"))->value.money, 5.0f);
    ASSERT_EQ(level.bonusTables->nextClientPlaceBoosts.size(), 1u);
    const GNextClientPlaceBoost& boost = level.bonusTables->nextClientPlaceBoosts[0];
    EXPECT_EQ(text(boost.name1), "Granny");
    EXPECT_EQ(texts(boost.name2), (std::vector<std::string>{"Kid", "Granny"}));
    EXPECT_FLOAT_EQ(boost.hearts1, 0.5f);
    EXPECT_FLOAT_EQ(boost.hearts2, -0.25f);
    EXPECT_FLOAT_EQ(boost.probability, 0.3f);

    levels->clear();
    ASSERT_TRUE(loadLevels(1));
    EXPECT_FLOAT_EQ(levels->getLevel(0)->swapBonus, 10.0f);
    EXPECT_EQ(levels->getLevel(0)->superDanceClickWaitTime, 5000);
}

TEST_F(LevelsConfigurationTest, RaisesTargetsGivenOutOfOrderAndClampsColours) {
    struct Case {
        const char* fields;
        float money, expert, master;
        int32_t colors, setting;
    };
    const Case cases[] = {
        {"<TargetMoney Value='1000'/><TargetExpertMoney Value='800'/>"
         "<TargetMasterMoney Value='900'/>",
         1000, 1001, 1002, 2, 0},
        {"<TargetMoney Value='1000'/><ColorsCount Value='7'/>", 1000, 1001, 1002, 5, 0},
        {"<TargetMoney Value='1000'/><TargetExpertMoney Value='1000'/><ColorsCount Value='1'/>"
         "<SettingIndex/>",
         1000, 1000, 1001, 2, 1},
        {"<TargetExpertMoney Value='5'/><ColorsCount/><SettingIndex Value='4'/>", 0, 5, 6, 2, 4},
    };
    for (const Case& c : cases) {
        const GLevelConfig& level = loadDocument(std::string("<Level>") + c.fields + "</Level>");
        EXPECT_EQ(level.targetMoney, c.money) << c.fields;
        EXPECT_EQ(level.targetExpertMoney, c.expert) << c.fields;
        EXPECT_EQ(level.targetMasterMoney, c.master) << c.fields;
        EXPECT_EQ(level.colorsCount, c.colors) << c.fields;
        EXPECT_EQ(level.settingIndex, c.setting) << c.fields;
    }
}

TEST_F(LevelsConfigurationTest, ReadsClientsFromWishListsAndPairs) {
    ASSERT_TRUE(loadLevels(0));
    const CArray<GClientQueueEntry>& queue = levels->getLevel(0)->clientsQueue;
    ASSERT_EQ(queue.size(), 4u);

    const GClientQueueEntry& first = queue[0];
    EXPECT_EQ(text(first.clientType), "Granny");
    EXPECT_EQ(first.time, 3000);
    EXPECT_EQ(first.referencedEntries.size(), 0u);
    EXPECT_EQ(first.watchedClient, -1);
    ASSERT_EQ(first.clients.size(), 2u);
    EXPECT_EQ(first.clients[0].color, 2);
    EXPECT_EQ(first.clients[1].color, 0) << "colours missing at the end are 0";
    EXPECT_TRUE(first.clients[0].superPadHeartsFromType);
    EXPECT_TRUE(first.clients[0].superPadClicksFromType);
    EXPECT_EQ(first.clients[0].superPadHearts, 0.0f);
    EXPECT_EQ(first.clients[0].superPadClicks, 3);
    EXPECT_EQ(orderNames(first.clients[0]), (std::vector<std::string>{"Fitness", "Pad", "Towel"}))
        << "a named group and its leaves, unnamed nodes left out";
    const GClientOrder& pad = first.clients[0].orders->orders[1];
    ASSERT_EQ(pad.items.size(), 2u) << "the resource's own additional items";
    EXPECT_EQ(text(pad.items[1].name), "Drink");
    EXPECT_TRUE(pad.items[1].enabled);
    EXPECT_TRUE(pad.items[1].configuredRange);
    EXPECT_EQ(pad.items[1].timeRange, (GTimeRange{250, 0}));
    EXPECT_EQ(pad.items[1].modifications.size(), 0u);
    EXPECT_EQ(first.clients[0].orders->orders[0].items.size(), 0u) << "no such resource";
    EXPECT_EQ(orderNames(first.clients[1]), (std::vector<std::string>{"Juice"}));

    const GClientQueueEntry& second = queue[1];
    EXPECT_EQ(second.time, 500);
    EXPECT_EQ(second.referencedEntries[0], 1);
    EXPECT_EQ(second.watchedClient, 2);
    EXPECT_EQ(texts(second.startActions), (std::vector<std::string>{"Pad", "Towel"}));
    EXPECT_EQ(texts(second.endActions), (std::vector<std::string>{"Juice"}));
    ASSERT_EQ(second.clients.size(), 1u);
    EXPECT_EQ(second.clients[0].orders->orders.size(), 0u);

    const GClientQueueEntry& pair = queue[2];
    EXPECT_EQ(text(pair.clientType), "Granny");
    EXPECT_EQ(pair.time, 1500);
    EXPECT_EQ(pair.referencedEntries.size(), 2u);
    EXPECT_EQ(pair.watchedClient, 2);
    EXPECT_EQ(texts(pair.startActions), (std::vector<std::string>{"Pad"}));
    EXPECT_EQ(texts(pair.endActions), (std::vector<std::string>{"Towel", "Juice"}));
    ASSERT_EQ(pair.clients.size(), 2u);
    const GQueuedClient& written = pair.clients[0];
    EXPECT_EQ(written.color, 4);
    EXPECT_TRUE(written.superPadHeartsFromType);
    EXPECT_FLOAT_EQ(written.superPadHearts, 3.5f);
    EXPECT_TRUE(written.superPadClicksFromType);
    EXPECT_EQ(written.superPadClicks, 6);
    EXPECT_EQ(orderNames(written), (std::vector<std::string>{"Pad", "Juice"}))
        << "the check-out order is left out";
    const CArray<GOrderItem>& items = written.orders->orders[0].items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(text(items[0].name), "Towel");
    EXPECT_EQ(items[0].modifications.size(), 2u);
    EXPECT_EQ(items[0].modifications[1], 3);
    EXPECT_TRUE(items[0].enabled);
    EXPECT_EQ(items[0].timeRange, (GTimeRange{100, 200}));
    EXPECT_TRUE(items[0].configuredRange);
    EXPECT_FALSE(items[1].enabled);
    EXPECT_EQ(items[1].timeRange, (GTimeRange{5, 0}));
    EXPECT_FALSE(items[1].configuredRange);
    const GQueuedClient& bare = pair.clients[1];
    EXPECT_EQ(bare.color, 0);
    EXPECT_FALSE(bare.superPadHeartsFromType);
    EXPECT_FALSE(bare.superPadClicksFromType);
    EXPECT_EQ(bare.superPadClicks, 2);
    EXPECT_EQ(bare.orders->orders.size(), 0u);

    EXPECT_EQ(queue[3].clients.size(), 0u) << "no wish lists, no clients";
}

TEST_F(LevelsConfigurationTest, ASecondQueueReplacesTheFirst) {
    const GLevelConfig& level =
        loadDocument("<Level><ClientsQueue><Client Name='Kid'/><Client Name='Kid'/>"
                     "</ClientsQueue><ClientsQueue><Pair CI='Granny'/></ClientsQueue></Level>");
    ASSERT_EQ(level.clientsQueue.size(), 1u);
    EXPECT_EQ(text(level.clientsQueue[0].clientType), "Granny");
}

TEST_F(LevelsConfigurationTest, AnUnknownWishListGivesAClientWithoutOrders) {
    testing::internal::CaptureStdout();
    const GLevelConfig& level = loadDocument(
        "<Level><ClientsQueue><Client Name='Kid' WishLists='Nope;Thirsty' Colors='1;2;3'/>"
        "</ClientsQueue></Level>");
    const std::string log = testing::internal::GetCapturedStdout();
    ASSERT_EQ(level.clientsQueue[0].clients.size(), 2u);
    EXPECT_EQ(level.clientsQueue[0].clients[0].orders->orders.size(), 0u);
    EXPECT_EQ(orderNames(level.clientsQueue[0].clients[1]), (std::vector<std::string>{"Juice"}));
    EXPECT_EQ(level.clientsQueue[0].clients[1].color, 2);
    EXPECT_NE(log.find("WRN: Clients queue names an unknown wish list: Nope"), std::string::npos)
        << log;
}

// A wish list's orders are made once and shared by every client that names it. What the lists
// of one document make is capped: every order copies its resource's additional items, so a
// few bytes could ask for billions.
TEST_F(LevelsConfigurationTest, WishListOrdersAreSharedAndWhatTheyMakeIsCapped) {
    std::string objectsXml = "<ObjectConfigurations><Resource><Name Value='Wish'/>"
                             "<AdditionalItems>";
    for (int i = 0; i < 99; ++i)
        objectsXml += "<Item Name='Extra'/>";
    objectsXml += "</AdditionalItems></Resource>";
    for (int list = 0; list < 4; ++list) {
        objectsXml += "<ClientWishList Name='Big" + std::to_string(list) + "'>";
        for (int i = 0; i < 1000; ++i)
            objectsXml += "<Resource Name='Wish'/>";
        objectsXml += "</ClientWishList>";
    }
    objects->load(*readerOver(objectsXml + "</ObjectConfigurations>"));
    const std::string level = "<Level><ClientsQueue><Client WishLists='Big0;Big1;Big2;Big3'/>"
                              "<Client WishLists='Big2;Big0'/></ClientsQueue></Level>";
    testing::internal::CaptureStdout();
    loadDocument(level + level);
    const std::string log = testing::internal::GetCapturedStdout();
    const CArray<GQueuedClient>& first = levels->getLevel(0)->clientsQueue[0].clients;
    // Each order costs 100 of the cap of 262144: 2621 orders are made.
    const uint32_t sizes[] = {1000, 1000, 621, 0};
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(first[i].orders->orders.size(), sizes[i]) << i;
    EXPECT_EQ(first[0].orders->orders[0].items.size(), 99u);
    const CArray<GQueuedClient>& again = levels->getLevel(0)->clientsQueue[1].clients;
    EXPECT_EQ(again[0].orders.get(), first[2].orders.get());
    EXPECT_EQ(again[1].orders.get(), first[0].orders.get());
    EXPECT_EQ(levels->getLevel(1)->clientsQueue[0].clients[3].orders.get(), first[3].orders.get());
    size_t warnings = 0;
    for (size_t at = 0; (at = log.find("Clients queue too long", at)) != std::string::npos; ++at)
        ++warnings;
    EXPECT_EQ(warnings, 1u) << log;
}

// Clearing used to keep the bonuses and boosts: every reload added the boosts again and a
// chain bonus dropped from the files stayed in force.
TEST_F(LevelsConfigurationTest, ClearStartsNewSharedTables) {
    ASSERT_TRUE(loadLevels(0));
    levels->clear();
    ASSERT_TRUE(loadLevels(0));
    EXPECT_EQ(levels->getBonusTables().nextClientPlaceBoosts.size(), 1u);
    const CRefPointer<GLevelConfig> held = CRefPointer<GLevelConfig>::share(levels->getLevel(0));
    levels->clear();
    ASSERT_TRUE(loadLevels(1));
    EXPECT_EQ(levels->getBonusTables().chainBonuses.size(), 0u);
    EXPECT_EQ(levels->getBonusTables().nextClientPlaceBoosts.size(), 0u);
    EXPECT_EQ(held->bonusTables->chainBonuses.size(), 2u) << "a held level keeps its tables";
}

TEST_F(LevelsConfigurationTest, AnEmptyElementHasNoContent) {
    levels->load(*fixtureFiles("empty-elements")->openXmlReader(u"LevelConfigs.xml"),
                 objects.get());
    ASSERT_EQ(levels->getLevelCount(), 3u);
    EXPECT_EQ(levels->getLevel(0)->levelTime, 0);
    EXPECT_EQ(levels->getLevel(1)->levelTime, 60);
    EXPECT_EQ(levels->getLevel(1)->clientsQueue.size(), 0u);
    const GLevelConfig& third = *levels->getLevel(2);
    EXPECT_EQ(third.levelTime, 90);
    ASSERT_EQ(third.clientsQueue.size(), 3u);
    EXPECT_EQ(third.clientsQueue[0].clients.size(), 0u);
    ASSERT_EQ(third.clientsQueue[1].clients.size(), 2u);
    EXPECT_EQ(third.clientsQueue[1].clients[0].orders->orders.size(), 0u);
    const GQueuedClient& second = third.clientsQueue[1].clients[1];
    EXPECT_EQ(orderNames(second), (std::vector<std::string>{"Pad", "Juice"}));
    EXPECT_EQ(second.orders->orders[0].items.size(), 0u);
    EXPECT_EQ(second.orders->orders[1].items.size(), 1u);
    EXPECT_EQ(third.clientsQueue[2].time, 100);
    EXPECT_EQ(levels->getBonusTables().chainBonuses.size(), 1u);
}

} // namespace
