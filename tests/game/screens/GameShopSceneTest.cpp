#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "engine/video/AtlasTexture.h"
#include "game/app/GameApplication.h"
#include "game/app/MoneyText.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/LoadingLevelScene.h"
#include "game/screens/ShopListNode.h"
#include "tests/game/screens/ScreenFixture.h"

// The shop as a player reaches it: a plain scene opens the loading screen, which loads the
// game's first level, here numbered up to 15 (all of setting 1), and opens the shop over it.
// The level gains a masseur's and a trainer's place; its staff wear the hero's look. The
// upgrades are the test's own, priced from level 3 on:
//   DancePad1: DancePad1 (free), then SuperPad1 for 300, recommended from level 3;
//   DancePad2: not there (free), then DancePad1 for 500, recommended from level 3;
//   Hero: Hero1 (free), then Hero2 for 200, with no recommendation;
//   Masseur and Fitness: not there, then Masseur1 and Trainer1 for 400 each;
//   MassageTable1 and FitnessPlace1 (no object in the level): not there, then owned for 100;
//   Up1: nothing, then Lights for 900; Up2 to Up6: nothing for sale.
namespace {

std::string readSource(const char* file) {
    std::ifstream in(std::filesystem::path(VANTOR_SOURCE_DIR) / file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string levels() {
    std::string list = "<LevelsConfiguration>";
    for (int level = 1; level <= 15; ++level)
        list += "<Level><SettingIndex Value=\"1\"/></Level>";
    return list + "</LevelsConfiguration>";
}

std::string place(const char* name) {
    return std::string("<SceneNode Type=\"ControlNode\" ClassOverride=\"GLocationNode\">"
                       "<Properties><string Name=\"Name\" Value=\"") +
           name + "\"/><vector3d Name=\"Position\" Value=\"800;500;0\"/></Properties></SceneNode>";
}

// The shipped level with the masseur's and the trainer's places among its appear places.
std::string levelScene() {
    std::string scene = readSource("content/assets/levels/setting1/Level.qscn");
    const std::string holder = "<string Name=\"Name\" Value=\"AppearLocations\" />";
    const size_t properties = scene.find("</Properties>", scene.find(holder));
    scene.insert(properties + std::string("</Properties>").size(),
                 place("Masseur") + place("Fitness"));
    return scene;
}

std::string staffConfigs() {
    std::string staff;
    for (const char* name : {"Hero1", "Hero2", "Masseur1", "Trainer1"})
        staff += std::string("<Staff><Name Value=\"") + name +
                 "\"/><Template Value=\"Hero1\"/><Velocity Value=\"300\"/></Staff>";
    return "<ObjectConfigurations>" + staff + "</ObjectConfigurations>";
}

std::string item(const char* slot, const char* type, int price, int recommended = 0) {
    std::string text =
        std::string("<U Name=\"") + slot + "\" Price=\"" + std::to_string(price) + "\"";
    if (type != nullptr)
        text += std::string(" Type=\"") + type + "\"";
    if (recommended != 0)
        text += " RecommendedLevel=\"" + std::to_string(recommended) + "\"";
    return text + "/>";
}

std::string upgrades() {
    std::string firstEnv;
    for (const char* slot : {"Up1", "Up2", "Up3", "Up4", "Up5", "Up6"})
        firstEnv += item(slot, nullptr, 0);
    return "<Upgrades><Level Index=\"1\"><Locations>" + item("DancePad1", "DancePad1", 0) +
           item("DancePad2", nullptr, 0) + item("MassageTable1", nullptr, 0) +
           item("FitnessPlace1", nullptr, 0) + "</Locations><Staff>" + item("Hero", "Hero1", 0) +
           item("Masseur", nullptr, 0) + item("Fitness", nullptr, 0) + "</Staff><Env>" + firstEnv +
           "</Env></Level><Level Index=\"3\"><Locations>" + item("DancePad1", "SuperPad1", 300, 3) +
           item("DancePad2", "DancePad1", 500, 3) + item("MassageTable1", "MassageTable1", 100) +
           item("FitnessPlace1", "FitnessPlace1", 100) + "</Locations><Staff>" +
           item("Hero", "Hero2", 200) + item("Masseur", "Masseur1", 400) +
           item("Fitness", "Trainer1", 400) + "</Staff><Env>" + item("Up1", "Lights", 900) +
           "</Env></Level></Upgrades>";
}

class GameShopSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        write("levels/common/LevelConfigsEasy.xml", levels());
        write("levels/common/StaffConfigs.xml", staffConfigs());
        write("levels/setting1/Level.qscn", levelScene());
        write("levels/setting1/UpgradesEasy.xml", upgrades());
        game.player().setInt("PlayerDifficulty", 1);
        game.player().setBool("ShowTutorialOn", false);
        opener = plainScene();
        manager().openScene(opener.get(), CNameId());
        settle();
    }

    // The shop of that level once it has arrived from the loading screen.
    GGameShopScene& openShop(int32_t levelIndex) {
        game.player().setInt("LevelIndex", levelIndex);
        opener->openSceneFile(u"scenes/LoadingLevelScene.qscn", false, name("NavFrom"),
                              name("NavTo"));
        for (int ms = 0; ms < 5000 && !isShop(current()); ms += 20)
            game.advance(20);
        EXPECT_TRUE(isShop(current()));
        settle();
        shop = CRefPointer<GGameShopScene>::share(static_cast<GGameShopScene*>(current()));
        return *shop;
    }
    static bool isShop(const SceneNode* scene) {
        return scene != nullptr && scene->isKindOf(GGameShopScene::kTypeId);
    }
    // Each offer by its slot, in the strip's order.
    std::vector<std::string> offerSlots() const {
        std::vector<std::string> slots;
        for (const CRefPointer<GShopOffer>& offer : shop->getOffers())
            slots.push_back(offer->next->name.toString().c_str());
        return slots;
    }
    const ShopListItem& item(const char* slot) const {
        const std::vector<std::string> slots = offerSlots();
        int32_t index = 0;
        while (index < int32_t(slots.size()) && slots[size_t(index)] != slot)
            ++index;
        const ShopListItem* found = shop->getItemsList()->getItem(index);
        EXPECT_NE(found, nullptr) << slot;
        return *found;
    }
    std::string moneyShown() const {
        const auto* text = static_cast<const TextNode*>(find("Scene/Menu/Money/MoneyText"));
        return narrow(text->getShownText());
    }
    static std::string narrow(const CStringW& wide) {
        std::string text;
        for (uint32_t i = 0; i < wide.length(); ++i)
            text += char(wide.c_str()[i]);
        return text;
    }

    CRefPointer<SceneNode> opener;
    CRefPointer<GGameShopScene> shop;
};

// The act's money: the first number of each earlier level's stats line, read leniently and
// bounded, less what the act's upgrades cost so far, and never below 0.
TEST_F(GameShopSceneTest, TheMoneyIsWhatTheActsEarlierLevelsEarnedLessItsUpgrades) {
    struct Case {
        int32_t level;
        std::vector<std::pair<int32_t, const char*>> stats;
        const char* bought; // the locations bought in the level before
        int32_t money;
    };
    const Case cases[] = {
        // 300 spent on DancePad1's SuperPad1; level 11 is another act's.
        {15,
         {{11, "9000;1;1"}, {12, "1000;60000;12"}, {13, "x2500.9;1"}, {14, ""}},
         "DancePad1;SuperPad1",
         3200},
        {3, {{1, "500;1;1"}}, "DancePad1;SuperPad1;DancePad2;DancePad1", 0},
        {3, {{1, "-200"}, {2, "900"}}, "", 700},
        {15,
         {{12, "99999999999999999999"}, {13, "2147483647"}},
         "",
         std::numeric_limits<int32_t>::max()},
    };
    for (const Case& c : cases) {
        for (const auto& [level, line] : c.stats)
            game.player().setString(CString("Level").append(level).append("Stats"), line);
        game.player().setString(CString("Level").append(c.level - 1).append("Locations"), c.bought);
        openShop(c.level);
        EXPECT_EQ(shop->getMoney(), c.money) << c.level << " " << c.bought;
        EXPECT_EQ(moneyShown(), narrow(formatMoneyText(c.money)));
        const auto* act = static_cast<const TextNode*>(find("Scene/Menu/Money/LevelText"));
        EXPECT_EQ(narrow(act->getShownText()), c.level == 3 ? "1.3" : "1.4");
        click("Scene/MenuButton");
        for (const auto& [level, line] : c.stats)
            game.player().setString(CString("Level").append(level).append("Stats"), "");
    }
}

// Recommended offers first, then those of objects, then the dearest, equal offers in the order
// of the level's staff; a table or fitness place must be owned before its staff member is
// offered.
TEST_F(GameShopSceneTest, OffersAreSortedAndStaffComesOnlyWithItsPlace) {
    struct Case {
        const char* bought;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"", {"DancePad2", "DancePad1", "Hero", "Up1"}},
        {"MassageTable1;MassageTable1", {"DancePad2", "DancePad1", "Masseur", "Hero", "Up1"}},
        {"FitnessPlace1;FitnessPlace1", {"DancePad2", "DancePad1", "Fitness", "Hero", "Up1"}},
        {"FitnessPlace1;FitnessPlace1;MassageTable1;MassageTable1",
         {"DancePad2", "DancePad1", "Masseur", "Fitness", "Hero", "Up1"}},
    };
    game.player().setString("Level1Stats", "100000");
    for (const Case& c : cases) {
        game.player().setString("Level2Locations", c.bought);
        openShop(3);
        EXPECT_EQ(offerSlots(), c.order) << c.bought;
        EXPECT_EQ(game.logProblems(), "");
        click("Scene/MenuButton");
    }
}

TEST_F(GameShopSceneTest, ItemsTakeTheirLookPriceIconAndWhetherTheyCanBePaid) {
    game.player().setString("Level1Stats", "450");
    const std::string icon = readSource("tests/golden/effects-nodes.png");
    for (const char* file : {"scenes/images/GameMenu/ShopIcons/DancePad1_s1.png",
                             "scenes/images/GameMenu/ShopIcons/SuperPad1.png",
                             "scenes/images/GameMenu/ShopIcons/S1Lights.png"})
        write(file, icon);
    openShop(3);
    struct Case {
        const char* slot;
        const char* look;
        const char16_t* icon; // none: no picture of that name
        bool enabled;
    };
    const Case cases[] = {
        {"DancePad2", "Shop_Item2RButton", u"scenes/images/GameMenu/ShopIcons/DancePad1_s1.png",
         false},
        {"DancePad1", "Shop_Item2RButton", u"scenes/images/GameMenu/ShopIcons/SuperPad1.png", true},
        // Its recommendation left at the default: never recommended.
        {"Hero", "Shop_Item2Button", nullptr, true},
        {"Up1", "Shop_Item1Button", u"scenes/images/GameMenu/ShopIcons/S1Lights.png", false},
    };
    for (const Case& c : cases) {
        const ShopListItem& shown = item(c.slot);
        EXPECT_EQ(shown.templateName.toString(), CString(c.look)) << c.slot;
        EXPECT_EQ(shown.enabled, c.enabled) << c.slot;
        const GShopOffer* offer = static_cast<const GShopOffer*>(shown.data.get());
        ASSERT_NE(offer, nullptr);
        EXPECT_EQ(shown.texts[0], formatMoneyText(offer->next->price)) << c.slot;
        ASSERT_EQ(shown.images.size(), 1u);
        const CAtlasTexture* picture = shown.images[0].get();
        EXPECT_EQ(picture != nullptr ? picture->getContentName() : CStringW(),
                  CStringW(c.icon != nullptr ? c.icon : u""))
            << c.slot;
    }
}

TEST_F(GameShopSceneTest, TheFirstStripGrowsEveryElement) {
    game.player().setString("Level2Locations",
                            "FitnessPlace1;FitnessPlace1;MassageTable1;MassageTable1");
    openShop(3);
    const GShopListNode& list = *shop->getItemsList();
    ASSERT_EQ(list.getItemCount(), 6);
    for (int32_t k = 0; k < 6; ++k)
        EXPECT_EQ(stateOf(list.getElement(k)), "Grow") << k;
    EXPECT_FALSE(list.getElement(6)->isVisible());
}

// Continue stores every location's configuration, every staff member's and every environment
// slot's upgrade, and plays the level in the in-level screen.
TEST_F(GameShopSceneTest, ContinueStoresThePurchasesAndPlaysTheLevel) {
    game.player().setString("Level2Locations", "MassageTable1;MassageTable1");
    openShop(3);
    click("Scene/Menu/ContinueButton");
    auto stored = [this](const char* key) {
        return std::string(game.player().getString(key).c_str());
    };
    EXPECT_EQ(stored("Level3Locations"), "DancePad1;DancePad1;DancePad2;None");
    // The shop shows the staff yet to come; what they wear is not bought.
    EXPECT_EQ(stored("Level3Staff"), "Masseur;None;Fitness;None;Hero;Hero1");
    EXPECT_EQ(stored("Level3Env"), "Up1;None;Up2;None;Up3;None;Up4;None;Up5;None;Up6;None");
    BaseNode* node = game.application().getLevelSceneManager();
    while (node != nullptr && !node->isKindOf(GGamePlayScene::kTypeId))
        node = node->getParent();
    EXPECT_NE(node, nullptr) << "the level hangs in the in-level screen";
    EXPECT_EQ(currentName(), "BriefingScene") << "the in-level screen starts the level";
}

TEST_F(GameShopSceneTest, TheMenuButtonGoesBackPastTheLoadingScreen) {
    openShop(3);
    click("Scene/MenuButton");
    EXPECT_EQ(current(), opener.get());
    EXPECT_TRUE(game.player().getString("Level3Locations").isEmpty()) << "nothing stored";
}

// The shop's tutorial runs on a player's first visit only.
TEST_F(GameShopSceneTest, TheShopTutorialRunsOnce) {
    game.player().setBool("ShowTutorialOn", true);
    openShop(3);
    settle();
    EXPECT_NE(shop->getTutorial(), nullptr);
    EXPECT_TRUE(find("Scene/Menu/SkipTutorialButton")->isVisible());
    EXPECT_TRUE(game.player().getBool("ShownTutorialShopLevel3"));
    click("Scene/MenuButton");
    openShop(3);
    EXPECT_EQ(shop->getTutorial(), nullptr);
    EXPECT_FALSE(find("Scene/Menu/SkipTutorialButton")->isVisible());
}

TEST_F(GameShopSceneTest, SkippingTheTutorialEndsItAndTurnsTutorialsOff) {
    game.player().setBool("ShowTutorialOn", true);
    openShop(3);
    ASSERT_NE(shop->getTutorial(), nullptr);
    click("Scene/Menu/SkipTutorialButton");
    EXPECT_FALSE(find("Scene/Menu/SkipTutorialButton")->isVisible());
    EXPECT_FALSE(game.player().getBool("ShowTutorialOn"));
    EXPECT_EQ(shop->getTutorial(), nullptr);
    EXPECT_FALSE(shop->getLevel()->isTutorialQueueMode()) << "the level plays on its own again";
    EXPECT_EQ(current(), shop.get()) << "the shop stays";
}

TEST_F(GameShopSceneTest, WithEverythingBoughtTheStripIsEmptyAndSaysSo) {
    openShop(3);
    EXPECT_FALSE(find("Scene/BoughtText")->isVisible());
    click("Scene/MenuButton");
    game.player().setString("Level2Locations", "DancePad1;SuperPad1;DancePad2;DancePad1;"
                                               "MassageTable1;MassageTable1;FitnessPlace1;"
                                               "FitnessPlace1");
    game.player().setString("Level2Staff", "Hero;Hero2;Masseur;Masseur1;Fitness;Trainer1");
    game.player().setString("Level2Env", "Up1;Lights");
    openShop(3);
    EXPECT_TRUE(find("Scene/BoughtText")->isVisible());
    EXPECT_EQ(shop->getItemsList()->getItemCount(), 0);
}

// Escape leaves nothing; in the developer mode the keypad's plus adds 10000 to spend.
TEST_F(GameShopSceneTest, EscapeStaysAndTheDevelopersPlusAddsMoney) {
    openShop(3);
    typeKey(27);
    EXPECT_EQ(current(), shop.get());
    typeKey(107);
    EXPECT_EQ(shop->getMoney(), 0) << "not without the developer mode";
    developerMode = true;
    typeKey(107);
    developerMode = false;
    EXPECT_EQ(shop->getMoney(), 10000);
    EXPECT_EQ(moneyShown(), narrow(formatMoneyText(10000)));
    EXPECT_TRUE(item("Up1").enabled) << "the strip knows the money";
}

} // namespace
