#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "content/ContentFiles.h"
#include "content/SceneFiles.h"
#include "engine/core/Properties.h"
#include "engine/io/VirtualFileSystem.h"
#include "game/app/ClientQueue.h"
#include "game/app/ClientWishList.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/ObjectConfigurations.h"
#include "game/app/UpgradeCatalog.h"
#include "game/app/UpgradeLevel.h"
#include "game/effects/PathSet.h"
#include "game/level/MiniGameConfigurations.h"
#include "game/level/WalkGrid.h"
#include "game/screens/TutorialScript.h"

using namespace content_files;
using namespace scene_files;

// The configuration that the game reads, read by the game's own readers from the archive
// mounted the way the game mounts it.
namespace {

class ConfigurationContentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(files->addArchive(wide(VELMORA_CONTENT_ARCHIVE), kContentArchivePassword));
        EXPECT_EQ(objects->loadFiles(*files).size(), 0u);
    }

    static CRefPointer<CProperties> playerOf(int32_t difficulty) {
        CRefPointer<CProperties> profile(new CProperties);
        profile->setInt("PlayerDifficulty", difficulty);
        return profile;
    }

    // The names of a node's children.
    std::set<std::string> childNames(const std::string& file, const std::string& path) const {
        std::set<std::string> names;
        const XmlElement root = archive.xml(file).root;
        const XmlElement* node = path.empty() ? &root : findPath(root, path);
        for (const XmlElement* child :
             node != nullptr ? childNodes(*node) : std::vector<const XmlElement*>()) {
            names.insert(nodeName(*child));
        }
        return names;
    }

    ContentArchive archive;
    CRefPointer<CVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<ObjectConfigurations> objects{new ObjectConfigurations};
};

} // namespace

TEST_F(ConfigurationContentTest, ObjectsAndTheLevelListsOfBothDifficultiesRead) {
    for (int32_t difficulty : {0, 1}) {
        CRefPointer<LevelsConfiguration> levels(new LevelsConfiguration);
        EXPECT_TRUE(levels->loadFile(*files, *playerOf(difficulty), objects.get())) << difficulty;
        EXPECT_GE(levels->getLevelCount(), 1u) << difficulty;
    }
}

// Level 1 plays in setting 1: its locations, their templates and configurations, the upgrades
// that build them and the walk grid's regions all name what the setting and the objects hold.
TEST_F(ConfigurationContentTest, LevelOneNamesWhatItsSettingHolds) {
    const std::set<std::string> places = childNames("levels/setting1/Level.qscn", "LocationsNode");
    const std::set<std::string> templates =
        childNames("levels/setting1/TemplateCollection.qscn", "");
    WalkGrid grid;
    const CRefPointer<IInputFile> gridFile = files->openInputFile(u"levels/setting1/wgrid.bin");
    ASSERT_TRUE(gridFile && grid.load(*gridFile));
    for (int32_t difficulty : {0, 1}) {
        const CRefPointer<CProperties> player = playerOf(difficulty);
        CRefPointer<LevelsConfiguration> levels(new LevelsConfiguration);
        ASSERT_TRUE(levels->loadFile(*files, *player, objects.get()));
        const GLevelConfig* level = levels->getLevel(0);
        ASSERT_NE(level, nullptr) << difficulty;
        EXPECT_EQ(level->settingIndex, 1);
        EXPECT_LT(level->levelTime, 120) << "a short first day";
        CRefPointer<UpgradeCatalog> catalog(new UpgradeCatalog);
        ASSERT_TRUE(catalog->loadFile(*files, 1, *player));
        catalog->applyLevel(1, CString("Level1"), player.get());
        for (const GLocationType& type : level->locationTypes) {
            const std::string place = type.place.toString().c_str();
            EXPECT_EQ(places.count(place), 1u) << place;
            EXPECT_TRUE(type.color >= 1 && type.color <= level->colorsCount) << place;
            const GUpgradeItem* current = nullptr;
            const GUpgradeItem* next = nullptr;
            ASSERT_TRUE(catalog->getCurrentAndNext(type.place, current, next)) << place;
            EXPECT_EQ(current->type, type.templateName) << place << " is built in level 1";
            const std::string built = current->type.toString().c_str();
            EXPECT_EQ(templates.count(built), 1u) << built;
            const GLocationConfig* config = objects->getLocationConfig(current->type);
            ASSERT_NE(config, nullptr) << built;
            EXPECT_GT(config->providedResources.size(), 0u) << built << " offers a resource";
            EXPECT_EQ(grid.getRegions().find(current->type) != grid.getRegions().end(), true)
                << built << " has a walk grid region";
        }
        EXPECT_EQ(level->locationTypes.size(), places.size()) << difficulty;
        // The hero of the shop's slot and of the level is the same, made from this setting.
        const GUpgradeItem* hero = nullptr;
        const GUpgradeItem* nextHero = nullptr;
        ASSERT_TRUE(catalog->getCurrentAndNext(CNameId(CString("Hero")), hero, nextHero));
        EXPECT_EQ(hero->type, level->heroType);
        const GStaffConfig* heroConfig = objects->getStaffConfig(level->heroType);
        ASSERT_NE(heroConfig, nullptr);
        EXPECT_EQ(templates.count(heroConfig->templateName.toString().c_str()), 1u);
        bool checksOut = false;
        for (const LocationResource& provided : heroConfig->providedResources)
            checksOut = checksOut || provided.name == CNameId(CString("CheckOut"));
        EXPECT_TRUE(checksOut) << "the hero takes the money";
        // The pop-up before the level presents its new client with its figure.
        const GClientConfig* newClient = objects->getClientConfig(level->newClientName);
        ASSERT_NE(newClient, nullptr) << difficulty;
        EXPECT_EQ(templates.count(newClient->templateName.toString().c_str()), 1u);
    }
    const GResourceConfig* checkOut = objects->getResourceConfig(CNameId(CString("CheckOut")));
    ASSERT_NE(checkOut, nullptr);
    EXPECT_EQ(checkOut->itemType, 6);
}

// Level 1's clients: a type whose template is in setting 1's collection, served alone on the
// pads, with a wish list of what the pads offer; every wish and the check-out have their icon.
TEST_F(ConfigurationContentTest, LevelOneClientsDanceAloneAndShowTheirWishes) {
    const GClientConfig* client = objects->getClientConfig(CNameId(CString("Dancer")));
    ASSERT_NE(client, nullptr);
    const std::set<std::string> templates =
        childNames("levels/setting1/TemplateCollection.qscn", "");
    EXPECT_EQ(templates.count(client->templateName.toString().c_str()), 1u);
    const GLocationConfig* pad = objects->getLocationConfig(CNameId(CString("DancePad1")));
    ASSERT_NE(pad, nullptr);

    const GClientWishList* wishes = objects->getWishList(CNameId(CString("Dance")));
    ASSERT_NE(wishes, nullptr);
    CArray<CNameId> wished;
    collectWishListNames(*wishes, wished);
    ASSERT_GT(wished.size(), 0u);
    wished.append(CNameId(CString("CheckOut")));
    for (const CNameId& name : wished) {
        const std::string text = name.toString().c_str();
        const GResourceConfig* resource = objects->getResourceConfig(name);
        ASSERT_NE(resource, nullptr) << text;
        const std::string icon = "levels/common/Icons/" + std::string(resource->iconName.c_str());
        EXPECT_TRUE(archive.exists(icon + ".png")) << icon;
        if (resource->itemType == 6) {
            continue;
        }
        bool offered = false;
        for (const LocationResource& provided : pad->providedResources) {
            offered |= provided.name == name;
        }
        EXPECT_TRUE(offered) << text;
        const auto timing = client->resourceTimings.find(name);
        ASSERT_NE(timing, client->resourceTimings.end()) << text;
        EXPECT_EQ(timing->value.servedByStaffTime, 0) << text;
        EXPECT_GT(timing->value.servedBySelfTime, 0) << text;
    }
}

// Every shipped tutorial reads through the game's loader without a warning, its hints name
// pictures that are there and texts the dictionary holds; the hint pictures are there.
TEST_F(ConfigurationContentTest, TutorialsReadCleanlyAndNameWhatIsThere) {
    for (const char* picture : {"PickUp.png", "CheckOut.png"}) {
        EXPECT_TRUE(archive.exists(std::string("scenes/images/Tutorial/") + picture)) << picture;
    }
    const CRefPointer<CDictionary> dictionary = loadDictionary(archive);
    for (const std::string& name : archive.names()) {
        if (name.rfind("levels/tutorials/", 0) != 0 || !name.ends_with(".xml"))
            continue;
        const CRefPointer<CXmlTextReader> reader = files->openXmlReader(wide(name));
        ASSERT_TRUE(reader) << name;
        CRefPointer<GTutorialScript> script(new GTutorialScript);
        testing::internal::CaptureStdout();
        script->load(*reader, objects.get());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << name;
        EXPECT_GT(script->getHintCount(), 0u) << name;
        for (const CRefPointer<GTutorialHint>& hint : script->getHints()) {
            const std::string image = hint->image.c_str();
            if (!image.empty()) {
                EXPECT_TRUE(archive.exists("scenes/images/Tutorial/" + image)) << name << image;
            }
            for (const std::string& key : dictionaryKeysIn(narrow(hint->text))) {
                EXPECT_NE(narrow(dictionary->lookup(key.c_str())), "%" + key + "%")
                    << name << " uses the dictionary key " << key;
            }
        }
    }
}

// The super pad waiting for the later levels: its record names its template in setting 1's
// collection and offers the super dance, whose icon is there; several clients fit on it.
TEST_F(ConfigurationContentTest, TheSuperPadOffersTheSuperDance) {
    const GLocationConfig* pad = objects->getLocationConfig(CNameId(CString("SuperPad1")));
    ASSERT_NE(pad, nullptr);
    EXPECT_GT(pad->maxServingClients, 1);
    const std::set<std::string> templates =
        childNames("levels/setting1/TemplateCollection.qscn", "");
    EXPECT_EQ(templates.count("SuperPad1"), 1u);
    ASSERT_EQ(pad->providedResources.size(), 1u);
    EXPECT_EQ(pad->providedResources[0].name, CNameId(CString("SuperDance")));
    const GResourceConfig* dance = objects->getResourceConfig(CNameId(CString("SuperDance")));
    ASSERT_NE(dance, nullptr);
    EXPECT_GT(dance->heartsBoost, 0);
    EXPECT_TRUE(
        archive.exists("levels/common/Icons/" + std::string(dance->iconName.c_str()) + ".png"));
}

namespace {

// The machines waiting for the later levels: each record names its template in setting 1; the
// converter makes its product from an item that exists, the drinks machine offers three
// variants and the sandwich machines three by three, each with the icon the hero carries (and
// the sandwiches with the one their machine shows); the trash can takes each at a penalty.
TEST_F(ConfigurationContentTest, TheMachinesMakeItemsThatExistWithTheirIcons) {
    const std::set<std::string> templates =
        childNames("levels/setting1/TemplateCollection.qscn", "");
    const auto resource = [this](const std::string& name) {
        return objects->getResourceConfig(CNameId(CString(name.c_str())));
    };
    const std::pair<const char*, const char*> machines[] = {
        {"EnergyDrinkMachine1", "EnergyDrink"},
        {"TrashCan1", ""},
        {"DrinksMachine1", "Drink"},
        {"SandwichMachine1", "Sandwich"},
        {"SandwichMachine2", "Sandwich"},
    };
    for (const auto& [machine, product] : machines) {
        const GLocationConfig* config = objects->getLocationConfig(CNameId(CString(machine)));
        ASSERT_NE(config, nullptr) << machine;
        EXPECT_EQ(templates.count(machine), 1u) << machine;
        const CNameId first = config->providedResources.size() != 0
                                  ? config->providedResources[0].name
                                  : CNameId(CString(""));
        EXPECT_EQ(first, CNameId(CString(product))) << machine;
    }
    EXPECT_EQ(objects->getResourceConfig(resource("EnergyDrink")->convertsFrom), resource("Water"));
    ASSERT_EQ(resource("Drink")->modificationsCount.size(), 1u);
    EXPECT_EQ(resource("Drink")->modificationsCount[0], 3);
    ASSERT_EQ(resource("Sandwich")->modificationsCount.size(), 2u);

    std::vector<std::string> items = {"Water", "EnergyDrink", "Drink1", "Drink2", "Drink3"};
    for (int left = 1; left <= 3; ++left) {
        for (int right = 1; right <= 3; ++right) {
            const std::string name = "Sandwich" + std::to_string(left) + std::to_string(right);
            items.push_back(name);
            const GResourceConfig* sandwich = resource(name);
            ASSERT_NE(sandwich, nullptr) << name;
            EXPECT_TRUE(archive.exists("levels/common/Locations/SandwichMachine/Icons/" +
                                       std::string(sandwich->iconName.c_str()) + ".png"))
                << name;
        }
    }
    for (const std::string& name : items) {
        const GResourceConfig* item = resource(name);
        ASSERT_NE(item, nullptr) << name;
        EXPECT_EQ(item->itemType, 1) << name;
        EXPECT_GT(item->recycleMoneyPenalty, 0) << name;
        EXPECT_TRUE(
            archive.exists("levels/common/Icons/" + std::string(item->iconName.c_str()) + ".png"))
            << name;
    }
}

// The client types whose abilities act on their neighbours, for the later levels: each has its
// look in setting 1, and the talk and the place boosts of both difficulties name configured
// types only.
// The location kinds of the later levels: each record names its template in setting 1 and
// offers one resource of its kind (a service, an item the hero carries, or music that acts on
// the clients at once) with its icon; the items clients ask for during a service are on offer.
TEST_F(ConfigurationContentTest, TheLaterLocationKindsOfferWhatTheirKindNeeds) {
    const std::set<std::string> templates =
        childNames("levels/setting1/TemplateCollection.qscn", "");
    struct Kind {
        const char* location;
        const char* resource;
        int32_t itemType;
    };
    const Kind kinds[] = {
        {"MassageTable1", "Massage", 0}, {"FitnessPlace1", "Fitness", 0},
        {"WaterCooler1", "Water", 1},    {"TowelShelf1", "Towel", 1},
        {"ServeSpeedUp1", "SpeedUp", 1}, {"QueueBox1", "QueueMusic", 3},
        {"Boombox1", "BoomboxMusic", 5},
    };
    std::set<std::string> offered;
    for (const Kind& kind : kinds) {
        const GLocationConfig* config = objects->getLocationConfig(CNameId(CString(kind.location)));
        ASSERT_NE(config, nullptr) << kind.location;
        EXPECT_EQ(templates.count(kind.location), 1u) << kind.location;
        ASSERT_EQ(config->providedResources.size(), 1u) << kind.location;
        EXPECT_EQ(config->providedResources[0].name, CNameId(CString(kind.resource)));
        const GResourceConfig* resource =
            objects->getResourceConfig(CNameId(CString(kind.resource)));
        ASSERT_NE(resource, nullptr) << kind.resource;
        EXPECT_EQ(resource->itemType, kind.itemType) << kind.resource;
        EXPECT_TRUE(archive.exists("levels/common/Icons/" +
                                   std::string(resource->iconName.c_str()) + ".png"))
            << kind.resource;
        offered.insert(kind.resource);
    }
    EXPECT_EQ(objects->getResourceConfig(CNameId(CString("SpeedUp")))->clientBoostType, 3)
        << "speeds the client up at its location";
    for (const char* service : {"Massage", "Fitness"}) {
        const GResourceConfig* resource = objects->getResourceConfig(CNameId(CString(service)));
        ASSERT_GT(resource->additionalItems.size(), 0u) << service;
        for (const GAdditionalItem& item : resource->additionalItems)
            EXPECT_EQ(offered.count(item.name.toString().c_str()), 1u) << service;
    }
}

// The staff and client types of the massage tables and fitness places: every look is in
// setting 1 with the animation of each service it gives or takes ("Dance" as one of three
// dances); each service a client type is timed for is given by a location, and one served
// with staff by a staff type whose name sends it home; every wish list asks for services the
// new client types are timed for.
TEST_F(ConfigurationContentTest, TheLaterStaffAndClientTypesServeAndTakeWhatIsOffered) {
    const XmlElement templates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    const auto animates = [this, &templates](CNameId look, CNameId resource) {
        const GResourceConfig* config = objects->getResourceConfig(resource);
        const XmlElement* body =
            findPath(templates, std::string(look.toString().c_str()) + "/Body");
        if (config == nullptr || body == nullptr)
            return false;
        const std::string animation = config->actionAnimationName.toString().c_str();
        const std::set<std::string> states = stateNames(*body);
        return states.count(animation == "Dance" ? "Dance1" : animation) == 1;
    };
    std::set<std::string> staffed;
    for (const char* name : {"Masseur1", "Masseur2", "FitnessTrainer1", "FitnessTrainer2"}) {
        const GStaffConfig* staff = objects->getStaffConfig(CNameId(CString(name)));
        ASSERT_NE(staff, nullptr) << name;
        const std::string home = std::string(name).rfind("Masseur", 0) == 0 ? "Masseur" : "Fitness";
        EXPECT_NE(std::string(name).find(home), std::string::npos) << name;
        ASSERT_GT(staff->providedResources.size(), 0u) << name;
        for (const LocationResource& service : staff->providedResources) {
            EXPECT_TRUE(animates(staff->templateName, service.name)) << name;
            staffed.insert(service.name.toString().c_str());
        }
    }
    std::set<std::string> located;
    for (const auto& location : objects->getLocations()) {
        for (const LocationResource& provided : location.value->providedResources)
            located.insert(provided.name.toString().c_str());
    }
    const std::vector<const GClientConfig*> clients = {
        objects->getClientConfig(CNameId(CString("Athlete"))),
        objects->getClientConfig(CNameId(CString("Relaxer")))};
    for (const GClientConfig* client : clients) {
        ASSERT_NE(client, nullptr);
        for (const auto& timing : client->resourceTimings) {
            const std::string service = timing.key.toString().c_str();
            EXPECT_TRUE(animates(client->templateName, timing.key)) << service;
            EXPECT_EQ(located.count(service), 1u) << service;
            if (timing.value.servedByStaffTime > 0) {
                EXPECT_EQ(staffed.count(service), 1u) << service;
            }
        }
    }
    for (const char* name :
         {"Massage", "Fitness", "DanceMassage", "DanceFitness", "FitnessMassage"}) {
        const GClientWishList* wishes = objects->getWishList(CNameId(CString(name)));
        ASSERT_NE(wishes, nullptr) << name;
        CArray<CNameId> wished;
        collectWishListNames(*wishes, wished);
        ASSERT_GT(wished.size(), 0u) << name;
        for (const CNameId& service : wished) {
            for (const GClientConfig* client : clients)
                EXPECT_NE(client->resourceTimings.find(service), client->resourceTimings.end())
                    << name;
        }
    }
}

TEST_F(ConfigurationContentTest, AbilityClientsHaveTheirLooksAndNameConfiguredTypes) {
    const std::set<std::string> templates =
        childNames("levels/setting1/TemplateCollection.qscn", "");
    const auto configured = [this](CNameId name) {
        return objects->getClientConfig(name) != nullptr;
    };
    for (const char* type :
         {"Waver", "StreetDancer", "HipHop", "Tecktonik", "Cwalk", "UrbanDancer"}) {
        const GClientConfig* client = objects->getClientConfig(CNameId(CString(type)));
        ASSERT_NE(client, nullptr) << type;
        EXPECT_EQ(templates.count(client->templateName.toString().c_str()), 1u) << type;
        for (const GTalkAction& action : client->talkActions)
            EXPECT_TRUE(configured(action.client)) << type;
    }
    EXPECT_GT(objects->getClientConfig(CNameId(CString("Waver")))->talksWaitTime, 0);
    EXPECT_GT(objects->getClientConfig(CNameId(CString("StreetDancer")))->neighboursServMul, 1.0f);
    EXPECT_TRUE(
        objects->getClientConfig(CNameId(CString("UrbanDancer")))->canDiscardNeighboursAbilities);
    for (int32_t difficulty : {0, 1}) {
        CRefPointer<LevelsConfiguration> levels(new LevelsConfiguration);
        ASSERT_TRUE(levels->loadFile(*files, *playerOf(difficulty), objects.get()));
        const CArray<GNextClientPlaceBoost>& boosts =
            levels->getBonusTables().nextClientPlaceBoosts;
        EXPECT_GT(boosts.size(), 0u) << difficulty;
        for (const GNextClientPlaceBoost& boost : boosts) {
            EXPECT_TRUE(configured(boost.name1)) << difficulty;
            for (const CNameId other : boost.name2)
                EXPECT_TRUE(configured(other)) << difficulty;
        }
    }
}

} // namespace
// Each configurable mini-game has a few records, and every ball picture they name is there, the
// right ball's in each client colour.
TEST_F(ConfigurationContentTest, TheMiniGamesHaveRecordsAndTheBallPicturesTheyName) {
    GMiniGameConfigurations tables;
    tables.loadFiles(files.get());
    EXPECT_GE(tables.ballCount(), 2u);
    EXPECT_GE(tables.danceCount(), 2u);
    EXPECT_GE(tables.roulCount(), 2u);
    for (uint32_t i = 0; i < tables.ballCount(); ++i) {
        const GMiniGameBallConfig& ball = *tables.ball(int32_t(i));
        EXPECT_GE(ball.imageFilenames.size(), 1u) << i;
        for (const CStringW& name : ball.imageFilenames)
            EXPECT_TRUE(archive.exists(narrow(name))) << narrow(name);
        for (int32_t colour = 0; colour < 6; ++colour) {
            const std::string right =
                narrow(ball.correctImagePrefix) + getColorName(colour).c_str() + ".png";
            EXPECT_TRUE(archive.exists(right)) << right;
        }
    }
    for (uint32_t i = 0; i < tables.danceCount(); ++i)
        EXPECT_GE(tables.dance(int32_t(i))->blockWidths.size(), 1u) << i;
    for (uint32_t i = 0; i < tables.roulCount(); ++i)
        EXPECT_LT(tables.roul(int32_t(i))->angle1, tables.roul(int32_t(i))->angle2) << i;
}

// The map's four paths files: each read to its end, with paths a mover can travel that lie on
// the map or come in from just beyond its edges.
TEST_F(ConfigurationContentTest, TheMapPathsFilesReadWithTravellablePathsOnTheMap) {
    for (const char16_t* file : {u"scenes/MapCarPaths.xml", u"scenes/MapScooterPaths.xml",
                                 u"scenes/MapPlanePaths.xml", u"scenes/MapHumanPaths.xml"}) {
        const std::string name = narrow(file);
        const CRefPointer<CXmlTextReader> reader = files->openXmlReader(file);
        ASSERT_TRUE(reader) << name;
        const CRefPointer<GPathSet> paths(new GPathSet());
        EXPECT_TRUE(paths->load(*reader)) << name;
        ASSERT_GT(paths->getPathCount(), 0u) << name;
        for (uint32_t i = 0; i < paths->getPathCount(); ++i) {
            const GPath& path = *paths->getPath(i);
            EXPECT_GE(path.points.size(), 2u) << name << " " << i;
            for (const PathPoint& point : path.points) {
                EXPECT_TRUE(point.x >= -100 && point.x <= 1124 && point.y >= -100 && point.y <= 868)
                    << name << " " << i << ": " << point.x << ";" << point.y;
            }
        }
    }
}
