#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "engine/io/ProfileManager.h"
#include "game/app/GameApplication.h"
#include "io/ScopedEnvironment.h"
#include "tests/game/level/FixtureClients.h"
#include "tests/game/level/FixtureMachines.h"
#include "tests/game/level/LevelOnePlayer.h"

// The saved level: Control+S writes the running level to "save.dat", Control+L builds the level
// again and restores it from there. A small level of the tests' own in setting 3 (a queue of
// three entries, the last a pair whose second client cannot enter; the hero; the table 600 to
// the right),
// level 1 of the game's content, and files edited by hand.
namespace {

using namespace fixture_clients;

const char kQueueLevels[] =
    "<LevelsConfiguration><Level><SettingIndex Value=\"3\"/><LevelTime Value=\"600\"/>"
    "<TargetMoney Value=\"1000\"/><ClientsQueue>"
    "<Client Name=\"Dancer\" Time=\"100000\" WishLists=\"Dance\" Colors=\"1\"/>"
    "<Client Name=\"Dancer\" Time=\"100000\" WishLists=\"Dance\" Colors=\"2\"/>"
    "<Pair CI=\"Dancer\" AT=\"0\"><Client C=\"1\"><Order Res=\"Dance\"/></Client>"
    "<Client C=\"2\"><Order Res=\"Nowhere\"/></Client></Pair>"
    "</ClientsQueue></Level></LevelsConfiguration>";

std::string savedLevelScene() {
    std::string locations;
    for (const char* name : {"DancePad1", "DancePad2", "Desk"})
        locations += located(name, 0);
    locations += located("Table", 600);
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\">" +
           nodeNamed("BaseNode", "Bg") +
           nodeNamed("ControlNode", "AppearLocations", located("Hero", 0) + located("Queue1", 0)) +
           nodeNamed("ControlNode", "CharactersNode") +
           nodeNamed("ControlNode", "LocationsNode", locations) +
           nodeNamed("BaseNode", "EffectsHolder") + "</SceneNode>";
}

std::string savedLevelUpgrades() {
    std::string slots;
    for (const char* slot : {"DancePad1", "DancePad2", "Desk", "Table"})
        slots += std::string("<U Name=\"") + slot + "\" Type=\"" +
                 (std::string(slot).rfind("DancePad", 0) == 0 ? "Pad" : slot) + "\" Price=\"0\"/>";
    return "<Upgrades><Level Index=\"1\"><Locations>" + slots +
           "</Locations><Staff><U Name=\"Hero\" Type=\"Hero1\" Price=\"0\"/></Staff><Env></Env>"
           "</Level></Upgrades>";
}

// The pad shows its colour streak.
std::string savedLevelTemplates() {
    std::string collection = templates();
    const std::string pad = "Value=\"Pad\"/></Properties>";
    collection.insert(
        collection.find(pad) + pad.size(),
        nodeNamed("BaseNode", "Indicators",
                  nodeNamed("BaseNode", "ColorMatch", nodeNamed("TextNode", "Text"))));
    return collection;
}

// "save.dat" is UTF-16 text of ASCII characters: read and written a byte in two.
std::string readUtf16(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i];
    return text;
}

void writeUtf16(const std::filesystem::path& path, const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char c : text)
        bytes += std::string{c, '\0'};
    std::ofstream(path, std::ios::binary) << bytes;
}

// The first "from" after the anchor.
void replace(std::string& text, const std::string& from, const std::string& to,
             const std::string& anchor = "") {
    const size_t at = text.find(from, text.find(anchor));
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

std::filesystem::path savePathOf(const LevelHarness& harness) {
    return std::filesystem::path(CString(harness.userDataFolder().c_str()).c_str()) / "save.dat";
}

// Control+S, and the file it wrote.
std::string saveTextOf(LevelHarness& harness) {
    harness.typeWithControl('S');
    return readUtf16(savePathOf(harness));
}

class SavedLevelTest : public FixtureClientTest {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        harness->write("levels/common/LevelConfigs.xml", kQueueLevels);
        harness->write("levels/common/LocationConfigs.xml", locationConfigs());
        harness->write("levels/common/ResourceConfigs.xml", resourceConfigs());
        const std::string look = "<TemplateName Value=\"Dancer\"/>";
        harness->write("levels/common/ClientConfigs.xml",
                       "<ObjectConfigurations>" + client("Dancer", "4.999", "0", "-1", look) +
                           client("Low", "3.5", "0", "-1", look) + "</ObjectConfigurations>");
        harness->write("levels/common/ClientWishListConfigs.xml",
                       "<ObjectConfigurations><ClientWishList Name=\"Dance\">"
                       "<Resource Name=\"Dance\"/></ClientWishList></ObjectConfigurations>");
        harness->write("levels/common/StaffConfigs.xml", kStaffConfigs);
        harness->write("levels/setting3/Level.qscn", savedLevelScene());
        harness->write("levels/setting3/TemplateCollection.qscn", savedLevelTemplates());
        harness->write("levels/setting3/Upgrades.xml", savedLevelUpgrades());
        ASSERT_TRUE(harness->start());
    }

    void SetUp() override {
        developerMode = true;
        std::filesystem::remove(savePath());
        FixtureClientTest::SetUp();
    }
    void TearDown() override { developerMode = false; }

    static std::filesystem::path savePath() { return savePathOf(*harness); }
    static std::string saveText() { return saveTextOf(*harness); }
    // Saved, edited, and restored into the level built again.
    static void restore(const std::function<void(std::string&)>& edit = nullptr) {
        std::string text = saveText();
        if (edit) {
            edit(text);
            writeUtf16(savePath(), text);
        }
        harness->typeWithControl('L');
    }

    static GLocationNode* location(const char* name) { return findLocation(name); }
    static GClientNode* clientNamed(const char* name) { return level().findClient(named(name)); }
    static int32_t clientCount() {
        int32_t count = 0;
        for (uint32_t i = 0; i < characters().getChildCount(); ++i)
            count += asGClientNode(characters().getChild(i)) != nullptr ? 1 : 0;
        return count;
    }

    // The fixture state: the pair of entry 3 entered (its second client could not), a dancer
    // 1500 ms into its dance on pad 1 with a water to ask for, pad 2 on a streak of three, the
    // hero 100 ms on its way to the table, and 12 earned.
    static void buildFixtureState() {
        ASSERT_TRUE(level().placeQueuedClient(level().getQueueSlots()[0].get(), 2));
        GClientNode* dancer =
            spawn("Low", wishes({{{"Dance", {item("Water", 0, 9000)}}}}), "C1", "Dancer");
        dancer->addHearts(-1);
        dancer->moveToLocation(location("DancePad1"));
        for (int32_t i = 0; i < 3; ++i)
            location("DancePad2")->setColor(3);
        level().addMoney(12.5f, 0, CVector3d(), CStringW());
        GHeroNode* hero = level().getHero();
        harness->advance(70);
        hero->enqueueTask(location("Table"), CNameId(), GStaffNode::kTaskGoTo);
        harness->advance(5);
    }
};

TEST_F(SavedLevelTest, TheFixtureStateIsSavedAsTheGoldenFileWhateverTheLocale) {
    buildFixtureState();
    const std::filesystem::path golden =
        std::filesystem::path(VANTOR_SOURCE_DIR) / "tests/game/level/SavedLevelGolden.xml";
    const std::string written = saveText();
    if (std::getenv("VANTOR_UPDATE_GOLDENS"))
        std::ofstream(golden, std::ios::binary) << written;
    std::ifstream file(golden, std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(written, expected);
    // The build makes a comma-decimal locale of its own below the folder the tests run in.
    const std::string locales = std::filesystem::absolute("tests/locale").string();
    const ScopedEnvironment localePath("LOCPATH", locales.c_str());
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"}) {
        if (std::setlocale(LC_ALL, name) == nullptr)
            continue;
        const std::string commaText = saveText();
        std::setlocale(LC_ALL, "C");
        EXPECT_EQ(commaText, expected) << name;
        return;
    }
    GTEST_SKIP() << "no comma-decimal locale installed";
}

TEST_F(SavedLevelTest, TheCasesOfTheFormatAreRestored) {
    struct Case {
        const char* name;
        std::function<void()> build;
        std::function<void(std::string&)> edit;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"hearts of a client and of the level", [] { buildFixtureState(); },
         [](std::string& text) {
             replace(text, "<Hearts Value=\"0.000000\" />", "<Hearts Value=\"17.000000\" />");
             replace(text, "<Hearts Value=\"2.499000\" />", "<Hearts Value=\"2.500000\" />");
         },
         [] {
             EXPECT_EQ(level().getHeartsTotal(), 17.0f);
             EXPECT_EQ(clientNamed("C1")->getHearts(), 2.5f);
         }},
        {"a client served for 1500 ms plays its service again", [] { buildFixtureState(); },
         [](std::string& text) {
             replace(text, "<ClientState Value=\"5\" />", "<ClientState Value=\"4\" />");
         },
         [] {
             GClientNode* dancer = clientNamed("C1");
             EXPECT_EQ(dancer->getClientState(), GClientNode::kStateServedByStaff);
             EXPECT_EQ(dancer->getClientStateTime(), 1500);
             EXPECT_EQ(
                 std::string(dancer->getPlayingAnimation().toString().c_str()).rfind("Dance", 0),
                 0u);
             EXPECT_EQ(dancer->getLocation(), location("DancePad1"));
         }},
        {"a record with a client that entered and one that did not", [] { buildFixtureState(); },
         nullptr,
         [] {
             const GGameLevelScene::SpawnRecord& record = level().getSpawnRecords()[2];
             EXPECT_TRUE(record.spawned);
             ASSERT_EQ(record.enteredClients.size(), 2u);
             EXPECT_EQ(record.enteredClients[0].get(), clientNamed("3_1"));
             EXPECT_EQ(record.enteredClients[1].get(), nullptr);
             EXPECT_EQ(level().getSpawnRecords()[0].countdown, 100000 - 75 * 20);
             EXPECT_EQ(clientNamed("3_1")->getLocation(), level().getQueueSlots()[0].get());
         }},
        {"a staff member saved walking walks again",
         [] {
             buildFixtureState();
             ASSERT_EQ(level().getHero()->getStaffState(), GStaffNode::kStateWalking);
         },
         nullptr,
         [] {
             GHeroNode* hero = level().getHero();
             EXPECT_EQ(hero->getStaffState(), GStaffNode::kStateWalking);
             EXPECT_TRUE(hero->isWalking());
             EXPECT_EQ(hero->getLocation(), location("Table"));
             harness->advance(100);
             EXPECT_FALSE(hero->isWalking());
             EXPECT_EQ(hero->getPosition().x, location("Table")->getPosition().x);
         }},
        {"a colour streak of three shows x3", [] { buildFixtureState(); }, nullptr,
         [] {
             GLocationNode* pad = location("DancePad2");
             EXPECT_EQ(pad->getColorMatchCount(), 3);
             auto* text =
                 static_cast<TextNode*>(pad->getColorMatchIndicator()->findChild(named("Text"), 1));
             EXPECT_EQ(std::u16string(text->getText().c_str()), u"x3");
         }},
        {"a level without clients", [] {}, nullptr, [] { EXPECT_EQ(clientCount(), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load(1);
        c.build();
        restore(c.edit);
        c.check();
    }
}

TEST_F(SavedLevelTest, AClientOfAQueueRecordElsewhereIsWrittenAtMinusOne) {
    static GQueuedClient elsewhere;
    spawn("Dancer", wishes({{{"Dance"}}}), "C1", "Dancer", &elsewhere);
    const std::string first = saveText();
    EXPECT_NE(first.find("<SingleClient Value=\"-1;0\" />"), std::string::npos);
    harness->typeWithControl('L');
    EXPECT_EQ(saveText().find("SingleClient"), std::string::npos) << "restored without a record";
}

TEST_F(SavedLevelTest, ALevelWithoutClientsOrHeroWritesEmptyLists) {
    level().createHero(named("Nobody"));
    ASSERT_EQ(level().getHero(), nullptr);
    const std::string text = saveText();
    EXPECT_NE(text.find("\t<Staff>\r\n\t</Staff>\r\n\t<Clients>\r\n\t</Clients>"),
              std::string::npos);
}

TEST_F(SavedLevelTest, ControlLWithoutAFileStartsTheLevelAndClearsTheFlag) {
    harness->typeWithControl('L');
    EXPECT_FALSE(harness->game.player().getBool("Cheat_LoadAfterRestart"));
    EXPECT_EQ(level().getSpawnRecords()[0].countdown, 100000) << "the queue is armed as usual";
    EXPECT_EQ(clientCount(), 0);
}

TEST_F(SavedLevelTest, UntrustedValuesAreKeptWithinTheirLists) {
    buildFixtureState();
    restore([](std::string& text) {
        const std::string dancer = "<Client Name=\"C1\"";
        replace(text, "<CurrentOrderIndex Value=\"0\" />", "<CurrentOrderIndex Value=\"-7\" />",
                dancer);
        replace(text, "CurrentAdditionalItemIndex=\"-1\"", "CurrentAdditionalItemIndex=\"4\"",
                dancer);
        replace(text, "<ClientState Value=\"5\" />", "<ClientState Value=\"42\" />", dancer);
        replace(text, "Clients=\"3_1;None\"", "Clients=\"3_1;None;C1;C1;C1\"");
        replace(text, "<CarriedResources Value=\";\" />",
                "<CarriedResources Value=\"Water;Towel;Speed\" />");
        replace(text, "<LocationState Value=\"2\" />", "<LocationState Value=\"99\" />");
        replace(text, "Location=\"Table\"", "Location=\"Nowhere\"");
    });
    GClientNode* dancer = clientNamed("C1");
    EXPECT_EQ(dancer->getCurrentOrderIndex(), -1);
    EXPECT_EQ(dancer->getCurrentItemRequest(), -1);
    EXPECT_EQ(dancer->getClientState(), GClientNode::kStateNone) << "refused";
    EXPECT_EQ(level().getSpawnRecords()[2].enteredClients.size(), 2u);
    GHeroNode* hero = level().getHero();
    EXPECT_EQ(hero->getCarried().size(), 2u);
    EXPECT_EQ(hero->getCarried()[0], named("Water"));
    EXPECT_EQ(hero->getCarried()[1], named("Towel"));
    EXPECT_EQ(hero->getTasks().size(), 0u) << "its task names no location";
    EXPECT_EQ(hero->getStaffState(), GStaffNode::kStateIdle);
    EXPECT_EQ(location("DancePad1")->getState(), GLocationNode::kStateReady) << "refused";
    harness->advance(10);
}

TEST_F(SavedLevelTest, HandsWithoutANameAreEmpty) {
    restore([](std::string& text) {
        replace(text, "<CarriedResources Value=\";\" />", "<CarriedResources Value=\"Water\" />");
    });
    const CArray<CNameId>& carried = level().getHero()->getCarried();
    ASSERT_EQ(carried.size(), 2u);
    EXPECT_EQ(carried[0], named("Water"));
    EXPECT_EQ(carried[1], CNameId());
}

TEST_F(SavedLevelTest, LinksThatWouldBreakAGroupAreRefused) {
    GClientNode* a = spawn("Dancer", wishes({{{"Dance"}}}), "A", "Dancer");
    GClientNode* b = spawn("Dancer", wishes({{{"Dance"}}}), "B", "Dancer");
    spawn("Dancer", wishes({{{"Dance"}}}), "C", "Dancer");
    a->setFollower(b);
    restore([](std::string& text) {
        // A follows itself; C takes B's place behind A.
        replace(text, "<Client Name=\"A\" Type=\"Dancer\">\r\n",
                "<Client Name=\"A\" Type=\"Dancer\">\r\n<ParentLinker Value=\"A\"/>\r\n");
        replace(text, "<Client Name=\"C\" Type=\"Dancer\">\r\n",
                "<Client Name=\"C\" Type=\"Dancer\">\r\n<ParentLinker Value=\"A\"/>\r\n");
    });
    EXPECT_EQ(clientNamed("A")->getParentLinker(), nullptr);
    EXPECT_EQ(clientNamed("A")->getFollower(), clientNamed("B"));
    EXPECT_EQ(clientNamed("B")->getParentLinker(), clientNamed("A"));
    EXPECT_EQ(clientNamed("C")->getParentLinker(), nullptr);
    EXPECT_EQ(clientCount(), 3);
}

TEST_F(SavedLevelTest, TheEarnedMoneyIsRestoredWithTheMoneyShown) {
    level().addMoney(40, 1, CVector3d(), CStringW());
    harness->advance(200);
    ASSERT_EQ(level().getMoney(1), 40);
    restore();
    harness->advance(200);
    EXPECT_EQ(level().getMoney(1), 40) << "does not run back to nothing";
}

TEST_F(SavedLevelTest, AFailedSaveIsLogged) {
    EXPECT_FALSE(level().writeSaveFile(u"/nonexistent-folder"));
    EXPECT_NE(harness->game.logProblems().find("Could not save the level"), std::string::npos);
}

// Level 1 of the game's content, saved mid-run by the good player.
class SavedLevelOneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(harness.start());
        developerMode = true;
        ASSERT_NE(harness.loadLevel(1), nullptr);
        level_one_player::install(harness, true);
        harness.advance(400);
        harness.player = nullptr;
    }
    void TearDown() override { developerMode = false; }

    std::string saveText() { return saveTextOf(harness); }

    LevelHarness harness;
};

TEST_F(SavedLevelOneTest, ARestoredLevelSavesTheSameFileAndPlaysOnToItsEnd) {
    const std::string saved = saveText();
    float savedMoney = harness.level().getMoney(GGameLevelScene::kMoneyComponents);
    EXPECT_NE(saved.find("<Client Name="), std::string::npos) << "mid-run";
    harness.typeWithControl('L');
    EXPECT_EQ(saveText(), saved);
    level_one_player::install(harness, true);
    const LevelRun run = harness.run(30000);
    harness.player = nullptr;
    EXPECT_TRUE(run.finished);
    EXPECT_GE(harness.level().getMoney(GGameLevelScene::kMoneyComponents), savedMoney);
}

// The devices and machines keep the locations' element: a level with them is restored whole.
class SavedMachinesTest : public fixture_machines::FixtureMachineTest {
protected:
    void SetUp() override {
        developerMode = true;
        FixtureMachineTest::SetUp();
    }
    void TearDown() override { developerMode = false; }
};

TEST_F(SavedMachinesTest, ALevelWithMachinesIsRestoredWhole) {
    findLocation("Drinks")->consumeResource(named("Drink"));
    findLocation("Converter")->setState(GLocationNode::kStateNeedsRecharge);
    harness->advance(10);
    const std::string saved = saveTextOf(*harness);
    EXPECT_NE(saved.find("<Location Name=\"Converter\">"), std::string::npos);
    harness->typeWithControl('L');
    EXPECT_EQ(findLocation("Converter")->getState(), GLocationNode::kStateNeedsRecharge);
    EXPECT_EQ(findLocation("Drinks")->getResources()[0].amount, 2.0f);
    EXPECT_EQ(saveTextOf(*harness), saved);
}

} // namespace
