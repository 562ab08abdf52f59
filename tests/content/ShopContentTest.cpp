#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/ContentFiles.h"
#include "content/SceneFiles.h"

using namespace content_files;
using namespace scene_files;

// What the shop shows and plays on a level: the offers' icons and texts, the background's
// environment pieces with the states of their previews and purchases, the locations' shop
// states, the money effect of a purchase and the tutorials of objects a purchase opens.
namespace {

const char kIcons[] = "scenes/images/GameMenu/ShopIcons/";
const int kSettings = 4;

// The environment pieces shipped, one type to each of the slots "Up1" to "Up6".
const char* const kEnvironment[] = {"Plants1",  "Lights1",   "Mirror1",
                                    "Posters1", "Speakers1", "Lounge1"};
// The objects the shop sells.
const char* const kObjects[] = {"DancePad1",       "SuperPad1", "EnergyDrinkMachine1",
                                "DrinksMachine1",  "TrashCan1", "SandwichMachine1",
                                "SandwichMachine2"};

struct Offer {
    std::string type;
    bool environment;
    int slot; // 1 to 6 for the environment
};

class ShopContentTest : public testing::Test {
protected:
    static std::string setting(int n) { return "levels/setting" + std::to_string(n) + "/"; }

    // What the upgrade files of the setting put on sale: every upgrade with a price.
    std::vector<Offer> offersOf(int n) const {
        std::vector<Offer> offers;
        for (const char* file : {"Upgrades.xml", "UpgradesEasy.xml"}) {
            if (!archive.exists(setting(n) + file)) {
                continue;
            }
            forEachElement(archive.xml(setting(n) + file).root, [&](const XmlElement& group) {
                if (group.name != "Locations" && group.name != "Staff" && group.name != "Env") {
                    return;
                }
                for (const XmlElement& item : group.children) {
                    if (item.name != "U" || item.attribute("Type").empty() ||
                        std::atof(item.attribute("Price").c_str()) <= 0) {
                        continue;
                    }
                    const std::string slot = item.attribute("Name");
                    const bool environment = group.name == "Env";
                    offers.push_back({item.attribute("Type"), environment,
                                      environment ? std::atoi(slot.c_str() + 2) : 0});
                }
            });
        }
        return offers;
    }

    static std::string iconOf(const Offer& offer, int n) {
        if (offer.environment) {
            return kIcons + ("S" + std::to_string(n)) + offer.type + ".png";
        }
        if (offer.type == "DancePad1") {
            return kIcons + offer.type + "_s" + std::to_string(n) + ".png";
        }
        return kIcons + offer.type + ".png";
    }

    // The shipped pieces and objects, and whatever the setting's upgrade files sell.
    std::vector<Offer> allOffersOf(int n) const {
        std::vector<Offer> offers = offersOf(n);
        for (int slot = 1; slot <= 6; ++slot) {
            offers.push_back({kEnvironment[slot - 1], true, slot});
        }
        for (const char* type : kObjects) {
            offers.push_back({type, false, 0});
        }
        return offers;
    }

    ContentArchive archive;
};

} // namespace

TEST_F(ShopContentTest, EveryOfferHasItsIconTitleAndDescription) {
    const CRefPointer<CDictionary> dictionary = loadDictionary(archive);
    for (int n = 1; n <= kSettings; ++n) {
        for (const Offer& offer : allOffersOf(n)) {
            EXPECT_TRUE(archive.exists(iconOf(offer, n))) << iconOf(offer, n);
            for (const std::string& key : {offer.type, offer.type + "_Info"}) {
                EXPECT_NE(narrow(dictionary->lookup(key.c_str())), "%" + key + "%") << key;
            }
        }
    }
}

// Each environment piece is a child of the background that appears with its type, plays its
// preview and the end of it, its purchase and the way back from its slot's button.
TEST_F(ShopContentTest, TheBackgroundHasTheStatesOfEveryEnvironmentPiece) {
    int levels = 0;
    for (int n = 1; n <= kSettings; ++n) {
        if (!archive.exists(setting(n) + "Level.qscn")) {
            continue;
        }
        ++levels;
        const XmlElement level = archive.xml(setting(n) + "Level.qscn").root;
        const XmlElement* bg = findPath(level, "Bg");
        ASSERT_TRUE(bg) << n;
        std::set<std::string> states;
        for (const XmlElement* child : childNodes(*bg)) {
            const std::set<std::string> own = stateNames(*child);
            states.insert(own.begin(), own.end());
        }
        for (const Offer& offer : allOffersOf(n)) {
            if (!offer.environment) {
                continue;
            }
            for (const char* suffix : {"", "Show", "Hide", "HideBought"}) {
                EXPECT_EQ(states.count(offer.type + suffix), 1u)
                    << n << " " << offer.type << suffix;
            }
            EXPECT_EQ(states.count("Up" + std::to_string(offer.slot) + "Back"), 1u)
                << n << " " << offer.type;
        }
        // The sandwich counter's art, whose first child is the third machine's part.
        const XmlElement* sandwich = findPath(level, "Bg/Sandwich2");
        ASSERT_TRUE(sandwich) << n;
        EXPECT_FALSE(childNodes(*sandwich).empty()) << n;
    }
    EXPECT_GT(levels, 0);
}

// The shop copies the first location's appear and disappear states to the others; a purchase
// plays "HideBought" on the location bought.
TEST_F(ShopContentTest, TheLocationsHaveTheirShopStates) {
    const XmlElement level = archive.xml(setting(1) + "Level.qscn").root;
    const XmlElement* locations = findPath(level, "LocationsNode");
    ASSERT_TRUE(locations);
    ASSERT_FALSE(childNodes(*locations).empty());
    const std::set<std::string> first = stateNames(*childNodes(*locations).front());
    EXPECT_EQ(first.count("ShopAppear"), 1u);
    EXPECT_EQ(first.count("ShopDisappear"), 1u);
    for (const char* pad : {"DancePad1", "DancePad2"}) {
        const XmlElement* location = findChild(*locations, pad);
        ASSERT_TRUE(location) << pad;
        EXPECT_EQ(stateNames(*location).count("HideBought"), 1u) << pad;
    }
}

TEST_F(ShopContentTest, ThePurchaseMoneyEffectGoesByItselfWithItsTexts) {
    const XmlElement templates = archive.xml(setting(1) + "TemplateCollection.qscn").root;
    const XmlElement* effect = findChild(templates, "MoneyEffectShop");
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->attribute("ClassOverride"), "GSelfDestructNode");
    const XmlElement* holder = findChild(*effect, "Holder");
    ASSERT_TRUE(holder);
    EXPECT_EQ(stateNames(*holder).count("SelfDestruct"), 1u);
    for (const char* text : {"Text", "Money"}) {
        const XmlElement* node = findChild(*holder, text);
        ASSERT_TRUE(node) << text;
        EXPECT_EQ(node->attribute("Type"), "TextNode") << text;
    }
}

// A purchase that first opens an object starts its tutorial at the next level's start.
TEST_F(ShopContentTest, TheObjectsAPurchaseOpensHaveTheirTutorials) {
    for (const char* type : {"SuperPad1", "EnergyDrinkMachine1", "DrinksMachine1", "TrashCan1",
                             "SandwichMachine1", "Masseur1"}) {
        EXPECT_TRUE(archive.exists(std::string("levels/tutorials/") + type + ".xml")) << type;
    }
}
