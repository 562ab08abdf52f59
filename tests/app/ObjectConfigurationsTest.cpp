#include "game/app/ObjectConfigurations.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ConfigFixtures.h"

using namespace config_fixtures;

namespace {

CRefPointer<ObjectConfigurations> loadContent() {
    CRefPointer<ObjectConfigurations> configurations(new ObjectConfigurations);
    configurations->loadFiles(*fixtureFiles("content"));
    return configurations;
}

CRefPointer<ObjectConfigurations> loadDocument(const std::string& body) {
    CRefPointer<ObjectConfigurations> configurations(new ObjectConfigurations);
    configurations->load(*readerOver("<ObjectConfigurations>" + body + "</ObjectConfigurations>"));
    return configurations;
}

// Sorted by text: the map's order of name ids depends on which names the process met first.
std::vector<std::string> resourceNames(const ObjectConfigurations& configurations) {
    std::vector<std::string> names;
    for (const auto& entry : configurations.getResources())
        names.push_back(text(entry.key));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> providedNames(const CArray<LocationResource>& resources) {
    std::vector<std::string> names;
    for (const LocationResource& resource : resources)
        names.push_back(text(resource.name));
    return names;
}

void expectResource(const LocationResource& resource, const char* name, int32_t initial,
                    int32_t max) {
    EXPECT_EQ(text(resource.name), name);
    EXPECT_EQ(resource.initialAmount, initial) << name;
    EXPECT_EQ(resource.maxAmount, max) << name;
    EXPECT_EQ(resource.amount, float(initial)) << name;
}

TEST(ObjectConfigurationsTest, ReadsResourceRecords) {
    const CRefPointer<ObjectConfigurations> configurations = loadContent();
    const GResourceConfig* pad = configurations->getResourceConfig(name("Pad"));
    ASSERT_NE(pad, nullptr);
    EXPECT_EQ(pad->waveIndex, 1) << "the first record of a name stays";
    EXPECT_STREQ(pad->iconName.c_str(), "IconPad");
    EXPECT_EQ(text(pad->actionAnimationName), "Dance");
    EXPECT_EQ(pad->actionAnimationTime, 1500);
    EXPECT_EQ(text(pad->waitAnimationName), "Wait");
    EXPECT_EQ(text(pad->actionCue), "PadCue");
    EXPECT_EQ(pad->itemType, 2);
    EXPECT_EQ(pad->clientBoostType, 3);
    EXPECT_FLOAT_EQ(pad->miniGameProbability, 0.25f);
    EXPECT_FLOAT_EQ(pad->miniGameHeartsBoost, 1.5f);
    EXPECT_FLOAT_EQ(pad->miniGameHeartsBoostFail, -0.5f);
    EXPECT_EQ(pad->miniGameServedByStaffTime, 700);
    ASSERT_EQ(pad->specificResources.size(), 2u);
    EXPECT_EQ(text(pad->specificResources[0]), "Towel");
    EXPECT_EQ(text(pad->specificResources[1]), "Drink");
    EXPECT_FLOAT_EQ(pad->moneyBoost, 12.5f);
    EXPECT_FLOAT_EQ(pad->heartsBoost, 0.5f);
    EXPECT_FLOAT_EQ(pad->servingSpeedBoost, 1.25f);
    EXPECT_FLOAT_EQ(pad->recycleMoneyPenalty, 3.0f);
    EXPECT_EQ(text(pad->convertsFrom), "Raw");
    ASSERT_EQ(pad->additionalItems.size(), 2u);
    EXPECT_EQ(text(pad->additionalItems[0].name), "Towel");
    EXPECT_EQ(pad->additionalItems[0].timeRange, (GTimeRange{100, 900}));
    EXPECT_FLOAT_EQ(pad->additionalItems[0].probability, 0.5f);
    EXPECT_EQ(pad->additionalItems[0].modifications.size(), 0u);
    EXPECT_EQ(pad->additionalItems[1].timeRange, (GTimeRange{250, 0}));
    EXPECT_FLOAT_EQ(pad->additionalItems[1].probability, 1.0f);
    EXPECT_EQ(text(pad->chainType), "Dancing");
    EXPECT_EQ(text(pad->unmodifiedResource), "Base");
    ASSERT_EQ(pad->modificationsCount.size(), 2u);
    EXPECT_EQ(pad->modificationsCount[1], 3);

    const GResourceConfig* juice = configurations->getResourceConfig(name("Juice"));
    ASSERT_NE(juice, nullptr);
    EXPECT_EQ(text(juice->waitAnimationName), "Sip") << "the action animation stands in";
    EXPECT_FLOAT_EQ(juice->servingSpeedBoost, 1.0f);
    EXPECT_EQ(configurations->getResourceConfig(name("Nothing")), nullptr);
}

TEST(ObjectConfigurationsTest, ReadsLocationRecordsAndTheirMountPoints) {
    const CRefPointer<ObjectConfigurations> configurations = loadContent();
    const GLocationConfig* floor = configurations->getLocationConfig(name("DanceFloor"));
    ASSERT_NE(floor, nullptr);
    EXPECT_EQ(text(floor->nextLevelTemplate), "DanceFloor2");
    EXPECT_EQ(text(floor->prevLevelTemplate), "DanceFloor0");
    EXPECT_FLOAT_EQ(floor->colorMatchBonus, 15.0f);
    EXPECT_FLOAT_EQ(floor->colorMatchHeartsBonus, 0.5f);
    EXPECT_EQ(floor->staffRechargeTime, 2500);
    EXPECT_EQ(floor->selfRechargeTime, 4000);
    EXPECT_TRUE(floor->autoActivation);
    EXPECT_FLOAT_EQ(floor->servingMul, 1.5f);
    EXPECT_FLOAT_EQ(floor->heartsDecMul, 0.75f);
    EXPECT_FLOAT_EQ(floor->dirtyProbability, 0.1f);
    EXPECT_FLOAT_EQ(floor->moneyMul, 2.0f);
    EXPECT_EQ(floor->maxServingClients, 2);
    EXPECT_EQ(floor->heroMountPoint, CVector2d(10, -20));
    EXPECT_EQ(floor->staffMountPoint, CVector2d(30, 40));
    ASSERT_EQ(floor->itemMountPoints.size(), 2u);
    EXPECT_EQ(floor->itemMountPoints[0], CVector2d(1, 2));
    EXPECT_EQ(floor->itemMountPoints[1], CVector2d(0, 0));
    EXPECT_EQ(text(floor->actionCue), "FloorAction");
    EXPECT_EQ(text(floor->rechargingCue), "FloorRecharging");
    EXPECT_EQ(text(floor->rechargedCue), "FloorRecharged");

    EXPECT_EQ(floor->lookupClientPointA(name("Granny")), CVector2d(105, 205));
    EXPECT_EQ(floor->lookupClientPointA(name("Kid")), CVector2d(100, 200));
    EXPECT_EQ(floor->lookupClientPointB(name("Granny")), CVector2d(9, 10))
        << "the later point of a client replaces the earlier";
    EXPECT_FLOAT_EQ(floor->lookupClientValue(name("Granny")), 2.5f);
    EXPECT_EQ(floor->lookupClientPointB(CNameId()), CVector2d(7, 8));
    EXPECT_FLOAT_EQ(floor->lookupClientValue(name("Kid")), 0.5f);

    const GLocationConfig* bar = configurations->getLocationConfig(name("Bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->autoActivation) << "only \"true\" switches it on";
    EXPECT_EQ(bar->maxServingClients, 1);
    EXPECT_EQ(bar->staffRechargeTime, 1000);
}

TEST(ObjectConfigurationsTest, ReadsStaffAndClientRecords) {
    const CRefPointer<ObjectConfigurations> configurations = loadContent();
    const GStaffConfig* hero = configurations->getStaffConfig(name("Hero"));
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(text(hero->templateName), "HeroTemplate");
    EXPECT_EQ(text(hero->nextLevelName), "Hero2");
    EXPECT_EQ(hero->level, 1);
    EXPECT_FLOAT_EQ(hero->velocity, 320.5f);
    EXPECT_EQ(hero->standAnimationsCount, 3);
    ASSERT_EQ(hero->providedResources.size(), 2u) << "staff resources are not expanded";
    expectResource(hero->providedResources[0], "Towel", -1, 1);
    expectResource(hero->providedResources[1], "Drink", 2, 4);
    EXPECT_FLOAT_EQ(configurations->getStaffConfig(name("Masseur"))->velocity, 250.0f);

    const GClientConfig* granny = configurations->getClientConfig(name("Granny"));
    ASSERT_NE(granny, nullptr);
    EXPECT_EQ(text(granny->templateName), "GrannyTemplate");
    EXPECT_FLOAT_EQ(granny->initialHearts, 4.5f);
    EXPECT_FLOAT_EQ(granny->secondsPerHeartQueue, 12.0f);
    EXPECT_FLOAT_EQ(granny->secondsPerHeartScene, 20.0f);
    EXPECT_FLOAT_EQ(granny->superPadMinHearts, 3.5f);
    EXPECT_EQ(granny->superPadClicks, 5);
    EXPECT_EQ(granny->additionalItemsRotationTime, 3000);
    EXPECT_EQ(granny->patienceLevel, 2);
    ASSERT_EQ(granny->resourceTimings.size(), 2u);
    const GResourceTiming& pad = granny->resourceTimings.find(name("Pad"))->value;
    EXPECT_EQ(pad.servedByStaffTime, 1100) << "the later timing of a resource stays";
    EXPECT_EQ(pad.servedBySelfTime, 2100);
    const GResourceTiming& juice = granny->resourceTimings.find(name("Juice"))->value;
    EXPECT_EQ(juice.servedByStaffTime, 0);
    EXPECT_EQ(juice.servedBySelfTime, 500);
    EXPECT_EQ(granny->talksWaitTime, 8000);
    ASSERT_EQ(granny->talkActions.size(), 2u);
    EXPECT_EQ(text(granny->talkActions[0].client), "Kid");
    EXPECT_FLOAT_EQ(granny->talkActions[0].secondsPerHeart, 6.5f);
    EXPECT_TRUE(granny->talkActions[0].stop);
    EXPECT_FALSE(granny->talkActions[1].stop);
    EXPECT_FLOAT_EQ(granny->neighboursServMul, 1.2f);
    EXPECT_TRUE(granny->canDiscardNeighboursAbilities);
    EXPECT_FALSE(granny->isMan);

    const GClientConfig* kid = configurations->getClientConfig(name("Kid"));
    ASSERT_NE(kid, nullptr);
    EXPECT_FALSE(kid->isMan) << "present without a value";
    EXPECT_EQ(kid->talksWaitTime, -1);
    EXPECT_EQ(kid->superPadClicks, 3);
}

// Where the value of an element without "Value" differs from the value of a missing element.
TEST(ObjectConfigurationsTest, FieldsWithoutValueTakeTheReaderDefault) {
    const CRefPointer<ObjectConfigurations> configurations = loadDocument(
        "<Location><Name Value=\"L\"/><StaffRechargeTime/><SelfRechargeTime/><ServingMul/>"
        "<HeartsDecMul/><MoneyMul/><MaxServingClients/></Location>"
        "<Resource><Name Value=\"R\"/><ServingSpeedBoost/><ActionAnimationName Value=\"A\"/>"
        "<WaitAnimationName/></Resource>"
        "<Staff><Name Value=\"S\"/><Velocity/></Staff>"
        "<Client><Name Value=\"C\"/><InitialHearts/><SecondsPerHeartQueue/>"
        "<SecondsPerHeartScene/><SuperPadMinHearts/><SuperPadClicks/>"
        "<AdditionalItemsRotationTime/><TalkActions></TalkActions><NeigbhoursServMul/>"
        "</Client>");
    const GLocationConfig* location = configurations->getLocationConfig(name("L"));
    ASSERT_NE(location, nullptr);
    EXPECT_EQ(location->staffRechargeTime, 0);
    EXPECT_EQ(location->selfRechargeTime, 0);
    EXPECT_EQ(location->servingMul, 0.0f);
    EXPECT_EQ(location->heartsDecMul, 0.0f);
    EXPECT_EQ(location->moneyMul, 0.0f);
    EXPECT_EQ(location->maxServingClients, 0);
    const GResourceConfig* resource = configurations->getResourceConfig(name("R"));
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->servingSpeedBoost, 1.0f);
    EXPECT_EQ(text(resource->waitAnimationName), "A");
    EXPECT_EQ(configurations->getStaffConfig(name("S"))->velocity, 0.0f);
    const GClientConfig* client = configurations->getClientConfig(name("C"));
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->initialHearts, 0.0f);
    EXPECT_EQ(client->secondsPerHeartQueue, 0.0f);
    EXPECT_EQ(client->secondsPerHeartScene, 0.0f);
    EXPECT_EQ(client->superPadMinHearts, 0.0f);
    EXPECT_EQ(client->superPadClicks, 0);
    EXPECT_EQ(client->additionalItemsRotationTime, 0);
    EXPECT_EQ(client->talksWaitTime, 0);
    EXPECT_EQ(client->neighboursServMul, 1.0f);
}

TEST(ObjectConfigurationsTest, DerivesVariantsOfResourcesAndOffersThemAtLocations) {
    const CRefPointer<ObjectConfigurations> configurations = loadContent();
    EXPECT_EQ(
        resourceNames(*configurations),
        (std::vector<std::string>{"Drink", "Juice", "Juice1", "Juice2", "Juice3", "Pad", "Pad11",
                                  "Pad12", "Pad13", "Pad21", "Pad22", "Pad23", "Towel"}));
    const GResourceConfig* pad = configurations->getResourceConfig(name("Pad"));
    const GResourceConfig* pad21 = configurations->getResourceConfig(name("Pad21"));
    ASSERT_NE(pad21, nullptr);
    EXPECT_STREQ(pad21->iconName.c_str(), "IconPad21");
    EXPECT_EQ(text(pad21->convertsFrom), "Raw") << "two counts keep it unchanged";
    EXPECT_EQ(text(pad21->unmodifiedResource), "Pad");
    EXPECT_EQ(pad21->modificationsCount.size(), 0u);
    EXPECT_EQ(pad21->waveIndex, pad->waveIndex);
    EXPECT_EQ(pad21->waitAnimationName, pad->waitAnimationName);
    EXPECT_EQ(pad21->chainType, pad->chainType);
    ASSERT_EQ(pad21->additionalItems.size(), 2u);
    EXPECT_EQ(pad21->additionalItems[0].timeRange, (GTimeRange{100, 900}));
    EXPECT_EQ(pad21->specificResources.size(), 2u);
    EXPECT_EQ(pad->modificationsCount.size(), 2u) << "the source stays as it was";
    const GResourceConfig* juice2 = configurations->getResourceConfig(name("Juice2"));
    ASSERT_NE(juice2, nullptr);
    EXPECT_STREQ(juice2->iconName.c_str(), "IconJuice2");
    EXPECT_EQ(text(juice2->convertsFrom), "Fruit2");

    const GLocationConfig* floor = configurations->getLocationConfig(name("DanceFloor"));
    EXPECT_EQ(providedNames(floor->providedResources),
              (std::vector<std::string>{"Pad", "Towel", "Pad11", "Pad12", "Pad13", "Pad21", "Pad22",
                                        "Pad23"}))
        << "the resource without configuration is dropped";
    expectResource(floor->providedResources[0], "Pad", 3, 3);
    expectResource(floor->providedResources[1], "Towel", 2, 5);
    expectResource(floor->providedResources[7], "Pad23", 3, 3);
    const GLocationConfig* bar = configurations->getLocationConfig(name("Bar"));
    EXPECT_EQ(providedNames(bar->providedResources),
              (std::vector<std::string>{"Juice", "Juice1", "Juice2", "Juice3"}));
    expectResource(bar->providedResources[3], "Juice3", 4, 8);
}

TEST(ObjectConfigurationsTest, CountsBelowTwoDeriveNothing) {
    struct Case {
        const char* counts;
        std::vector<std::string> derived;
    };
    const Case cases[] = {
        {"1", {}},
        {"0;3", {"R1", "R2", "R3"}},
        {"3;1", {"R1", "R2", "R3"}},
        {"2;2", {"R11", "R12", "R21", "R22"}},
        {"x2, -4 ; 2.9", {"R11", "R12", "R21", "R22"}},
    };
    for (const Case& c : cases) {
        const CRefPointer<ObjectConfigurations> configurations =
            loadDocument(std::string("<Resource><Name Value=\"R\"/><ModificationsCount Value=\"") +
                         c.counts + "\"/></Resource>");
        configurations->deriveModifiedResources();
        std::vector<std::string> expected = {"R"};
        expected.insert(expected.end(), c.derived.begin(), c.derived.end());
        EXPECT_EQ(resourceNames(*configurations), expected) << c.counts;
    }
}

TEST(ObjectConfigurationsTest, KeepsTheFirstRecordOfANameAndClearsEverything) {
    const CRefPointer<ObjectConfigurations> configurations =
        loadDocument("<Staff><Level Value=\"1\"/></Staff><Staff><Level Value=\"2\"/></Staff>"
                     "<Client><Name Value=\"C\"/><PatienceLevel Value=\"1\"/></Client>"
                     "<Client><Name Value=\"C\"/><PatienceLevel Value=\"2\"/></Client>");
    ASSERT_NE(configurations->getStaffConfig(CNameId()), nullptr) << "stored without a name";
    EXPECT_EQ(configurations->getStaffConfig(CNameId())->level, 1);
    EXPECT_EQ(configurations->getClientConfig(name("C"))->patienceLevel, 1);
    configurations->clear();
    EXPECT_EQ(configurations->getStaffConfig(CNameId()), nullptr);
    EXPECT_EQ(configurations->getClientConfig(name("C")), nullptr);
}

TEST(ObjectConfigurationsTest, LocationsOfferNothingWithoutTheResourceFile) {
    CRefPointer<ObjectConfigurations> configurations(new ObjectConfigurations);
    const CRefPointer<IVirtualFileSystem> files = fixtureFiles("content");
    configurations->load(*files->openXmlReader(u"levels/common/LocationConfigs.xml"));
    configurations->resolveLocationResources();
    EXPECT_EQ(configurations->getLocationConfig(name("DanceFloor"))->providedResources.size(), 0u);
    EXPECT_EQ(configurations->getLocationConfig(name("Bar"))->providedResources.size(), 0u);
}

// Written as the documented readers would read them, each single-tag element here would take
// the records after it as its content.
TEST(ObjectConfigurationsTest, AnEmptyElementIsACompleteRecord) {
    CRefPointer<ObjectConfigurations> configurations(new ObjectConfigurations);
    configurations->load(*fixtureFiles("empty-elements")->openXmlReader(u"ObjectConfigs.xml"));
    EXPECT_NE(configurations->getLocationConfig(CNameId()), nullptr);
    const GLocationConfig* gym = configurations->getLocationConfig(name("Gym"));
    ASSERT_NE(gym, nullptr);
    ASSERT_EQ(gym->itemMountPoints.size(), 1u);
    EXPECT_EQ(gym->itemMountPoints[0], CVector2d(3, 4));
    ASSERT_NE(configurations->getResourceConfig(name("Water")), nullptr);
    EXPECT_EQ(configurations->getResourceConfig(name("Water"))->itemType, 4);
    ASSERT_NE(configurations->getStaffConfig(name("Trainer")), nullptr);
    EXPECT_FLOAT_EQ(configurations->getStaffConfig(name("Trainer"))->velocity, 100.0f);
    ASSERT_NE(configurations->getClientConfig(name("Jogger")), nullptr);
    EXPECT_EQ(configurations->getClientConfig(name("Jogger"))->patienceLevel, 4);
    ASSERT_NE(configurations->getWishList(name("Nothing")), nullptr);
    const GClientWishList* run = configurations->getWishList(name("Run"));
    ASSERT_NE(run, nullptr);
    ASSERT_EQ(run->getChildren().size(), 2u);
    ASSERT_EQ(run->getChildren()[1]->getChildren().size(), 1u);
    EXPECT_EQ(text(run->getChildren()[1]->getChildren()[0]->name), "Stretch");
}

TEST(ObjectConfigurationsTest, NumbersPastTheIntRangeSaturate) {
    const CRefPointer<ObjectConfigurations> configurations =
        loadDocument("<Location><Name Value=\"L\"/><MaxServingClients Value=\"1e30\"/>"
                     "<StaffRechargeTime Value=\"-99999999999\"/><ProvidedResources>"
                     "<Resource Name=\"R\" MaxAmount=\"3e12\"/></ProvidedResources></Location>"
                     "<Resource><Name Value=\"R\"/><AdditionalItems>"
                     "<Item Name=\"I\" TimeRange=\"-9e20;5e9\"/></AdditionalItems></Resource>");
    const GLocationConfig* location = configurations->getLocationConfig(name("L"));
    EXPECT_EQ(location->maxServingClients, INT_MAX);
    EXPECT_EQ(location->staffRechargeTime, INT_MIN);
    EXPECT_EQ(location->providedResources[0].initialAmount, INT_MAX);
    EXPECT_EQ(configurations->getResourceConfig(name("R"))->additionalItems[0].timeRange,
              (GTimeRange{INT_MIN, INT_MAX}));
}

TEST(ObjectConfigurationsTest, VariantCountsAreCappedBeforeAnythingIsMade) {
    std::string body = "<Resource><Name Value=\"R\"/><ModificationsCount Value=\"1e9;1e9\"/>"
                       "</Resource><Resource><Name Value=\"S\"/>"
                       "<ModificationsCount Value=\"4000000000\"/></Resource>"
                       "<Location><Name Value=\"L\"/><ProvidedResources>";
    for (int i = 0; i < 5; ++i)
        body += "<Resource Name=\"R\"/>";
    body += "<Resource Name=\"S\"/></ProvidedResources></Location>";
    const CRefPointer<ObjectConfigurations> configurations = loadDocument(body);
    configurations->deriveModifiedResources();
    configurations->resolveLocationResources();
    // 16 by 16 names, of which six come twice: R1 + 11 is R11 + 1, and so on up to R116.
    EXPECT_EQ(configurations->getResources().size(), 2u + 250u + 16u);
    EXPECT_NE(configurations->getResourceConfig(name("R1616")), nullptr);
    EXPECT_EQ(configurations->getResourceConfig(name("R1617")), nullptr);
    EXPECT_NE(configurations->getResourceConfig(name("S16")), nullptr);
    EXPECT_EQ(configurations->getResourceConfig(name("S17")), nullptr);
    EXPECT_EQ(configurations->getLocationConfig(name("L"))->providedResources.size(),
              ObjectConfigurations::kMaxLocationResources);
}

TEST(ObjectConfigurationsTest, DerivationStopsWhenItsBudgetIsSpent) {
    std::string body = "<Resource><Name Value=\"R\"/><ModificationsCount Value=\"16;16\"/>"
                       "<AdditionalItems>";
    const uint32_t items = 4095;
    for (uint32_t i = 0; i < items; ++i)
        body += "<Item Name=\"I\"/>";
    body += "</AdditionalItems></Resource>";
    const CRefPointer<ObjectConfigurations> configurations = loadDocument(body);
    configurations->deriveModifiedResources();
    EXPECT_EQ(configurations->getResources().size(),
              1 + ObjectConfigurations::kMaxDerivedSize / (items + 1));
}

TEST(ObjectConfigurationsTest, SpecialItemTypes) {
    const bool expected[] = {false, true, false, true, true, true, false};
    for (int32_t type = 0; type < 7; ++type)
        EXPECT_EQ(isSpecialItemType(type), expected[type]) << type;
    EXPECT_FALSE(isSpecialItemType(-1));
}

} // namespace
