#include <cstdio>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/ContentFiles.h"
#include "engine/audio/OggSoundDecoder.h"
#include "engine/video/PngImageDecoder.h"

using namespace content_files;

// What the game reads by name is in the archive and reads as its reader expects. The scene
// files are checked here as XML trees; they will also be loaded through the node factory once
// the classes they name are registered.
namespace {

bool isXml(const std::string& name) {
    return endsWith(name, ".xml") || endsWith(name, ".qscn") || endsWith(name, ".qfnt");
}

struct ImageSize {
    int32_t width = 0;
    int32_t height = 0;
};

ImageSize pngSize(const ContentArchive& archive, const std::string& name) {
    CRefPointer<IInputFile> file = archive.open(name);
    CRefPointer<CSoftwareImage> image = file ? decodePng(file.get(), CContentKey()) : nullptr;
    return image ? ImageSize{image->getWidth(), image->getHeight()} : ImageSize{};
}

class ContentCheckTest : public testing::Test {
protected:
    ContentArchive archive;
};

} // namespace

TEST_F(ContentCheckTest, EveryXmlFileIsWellFormed) {
    int checked = 0;
    for (const std::string& name : archive.names()) {
        if (isXml(name)) {
            EXPECT_EQ(archive.xml(name).fault, "") << name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST_F(ContentCheckTest, FilesTheGameOpensByNameHaveTheirRootElements) {
    struct Case {
        const char* name;
        const char* root;
    };
    const Case cases[] = {
        {"logos/Logos.xml", "Logos"},
        {"strings/Dictionary.xml", "Dictionary"},
        {"sounds/SoundPack.xml", "SoundPack"},
        {"atlases/Characters.xml", "AtlasTextureCollection"},
        {"atlases/CharactersS.xml", "AtlasTextureCollection"},
        {"atlases/Locations.xml", "AtlasTextureCollection"},
        {"atlases/Map.xml", "AtlasTextureCollection"},
        {"atlases/MainMenu.xml", "AtlasTextureCollection"},
        {"levels/common/ParticleCollection.xml", "ParticleCollection"},
        {"scenes/ParticleCollection.xml", "ParticleCollection"},
        {"levels/common/TemplateCollection.qscn", "SceneNode"},
        {"levels/common/ResourceConfigs.xml", "ObjectConfigurations"},
        {"levels/common/LocationConfigs.xml", "ObjectConfigurations"},
        {"levels/common/StaffConfigs.xml", "ObjectConfigurations"},
        {"levels/common/ClientConfigs.xml", "ObjectConfigurations"},
        {"levels/common/ClientWishListConfigs.xml", "ObjectConfigurations"},
        {"levels/common/LevelConfigs.xml", "LevelsConfiguration"},
        {"levels/common/LevelConfigsEasy.xml", "LevelsConfiguration"},
        {"scenes/fonts/arial18.qfnt", "Font"},
        {"levels/setting1/Level.qscn", "SceneNode"},
        {"levels/setting1/TemplateCollection.qscn", "SceneNode"},
        {"levels/setting1/Upgrades.xml", "Upgrades"},
        {"levels/setting1/UpgradesEasy.xml", "Upgrades"},
        {"levels/minigames/balls/MiniGameConfiguration.xml", "MiniGame"},
        {"levels/minigames/dance/MiniGameConfiguration.xml", "MiniGame"},
        {"levels/minigames/roul/MiniGameConfiguration.xml", "MiniGame"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(archive.xml(c.name).root.name, c.root) << c.name;
    }
    // Opened as an image, not through an atlas.
    EXPECT_GT(pngSize(archive, "scenes/images/Cursor.png").width, 0);
    // The dance mini-game's track, by its fixed name.
    EXPECT_GT(pngSize(archive, "levels/minigames/dance/block_c.png").width, 0);
    // The queue box's notes, picked by their fixed names.
    for (const char* colour : {"Blue", "Green"}) {
        for (int i = 1; i <= 6; ++i) {
            const std::string note =
                std::string("levels/common/Locations/QueueBox/MusicParticles/") + colour +
                "/Particle0" + std::to_string(i) + ".png";
            EXPECT_GT(pngSize(archive, note).width, 0) << note;
        }
    }
}

TEST_F(ContentCheckTest, DictionaryHoldsEveryKeyTheGameLooksUp) {
    const CRefPointer<CDictionary> dictionary = loadDictionary(archive);
    const char* keys[] = {"TitleName",
                          "ThousandsDelimiter",
                          "MoneyDollar",
                          "MainMenu_WelcomeTxt",
                          "SelectPlayer_WantDelete",
                          "Yes",
                          "No",
                          "OkBtn",
                          "Warning",
                          "Options_CantGoWindow",
                          "Options_On",
                          "Options_Off",
                          "Swap",
                          "Color",
                          "Map_Level",
                          "Map_Act",
                          "Map_Goal",
                          "Map_GoalEx",
                          "Map_GoalMaster",
                          "Game_Goal",
                          "Game_GoalExpert",
                          "Game_GoalMaster",
                          "Briefing1.1",
                          "NewClient_Impatient",
                          "NewClient_Moderate",
                          "NewClient_Patient"};
    std::vector<std::string> all(std::begin(keys), std::end(keys));
    // The results' greetings, and its words of comfort for a missed goal.
    for (int greeting = 1; greeting <= 5; ++greeting) {
        all.push_back("LevelCompleted_Greeting" + std::to_string(greeting));
    }
    all.insert(all.end(), {"LevelCompleted_Fail1", "LevelCompleted_Fail2"});
    // The awards' texts, before and after each is earned.
    for (int award = 1; award <= 17; ++award) {
        all.push_back("AwardBefore_" + std::to_string(award));
        all.push_back("AwardAfter_" + std::to_string(award));
    }
    // Every client type the levels introduce: its name, description and features.
    for (const char* client : {"Dancer", "Waver", "StreetDancer", "Relaxer", "HipHop", "Tecktonik",
                               "Athlete", "Cwalk", "UrbanDancer"}) {
        for (const char* suffix : {"", "_D", "_F"}) {
            all.push_back(std::string(client) + suffix);
        }
    }
    for (const std::string& key : all) {
        const std::string text = narrow(dictionary->lookup(key.c_str()));
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_NE(text, "%" + key + "%") << key;
    }
    // The welcome line names the player through its parameter marker.
    EXPECT_EQ(narrow(dictionary->substituteParams("MainMenu_WelcomeTxt", u"Ann", u"", u"", u"")),
              "Welcome, Ann!");
    EXPECT_EQ(narrow(dictionary->substituteParams("Map_Level", u"2.1", u"", u"", u"")),
              "Level 2.1");
    EXPECT_EQ(narrow(dictionary->substituteParams("Map_Act", u"3", u"", u"", u"")), "Act 3");
    EXPECT_EQ(narrow(dictionary->substituteParams("MoneyDollar", u"1,500", u"", u"", u"")),
              "$1,500");
}

TEST_F(ContentCheckTest, SoundPackDefinesEveryCueTheGamePlaysOnce) {
    const char* cues[] = {"AchievementUnlocked",
                          "BonusChain",
                          "BonusColor1",
                          "BonusColor2",
                          "BonusColor3",
                          "BonusColor4",
                          "BonusSwap",
                          "BoomboxAction",
                          "BoomboxClicked",
                          "BoomboxEmpty",
                          "ButtonClick",
                          "ButtonMissed",
                          "ButtonOver",
                          "Checkout",
                          "ClientAngryM",
                          "ClientAngryW",
                          "ClientClick",
                          "ClientDance",
                          "ClientDrop",
                          "ClientFitness",
                          "ClientGoneAngryM",
                          "ClientGoneAngryW",
                          "ClientHappyM",
                          "ClientHappyW",
                          "ClientHeartMinus",
                          "ClientHeartPlus",
                          "ClientMassage",
                          "ClientOverM",
                          "ClientOverW",
                          "ClientSadM",
                          "ClientSadW",
                          "ClubAction",
                          "ClubBefore",
                          "ComicsCall",
                          "ComicsMusic",
                          "ComicsText",
                          "CwalkAction",
                          "DayOver",
                          "DayStarted",
                          "DrinkMachineRecharged",
                          "DrinkMachineRecharging",
                          "EnergyDrinkMachineRecharged",
                          "EnergyDrinkMachineRecharging",
                          "FitnessIdle",
                          "GameMusicSetting1",
                          "GameMusicSetting2",
                          "GameMusicSetting3",
                          "GameMusicSetting4",
                          "Goal1",
                          "Goal2",
                          "Goal3",
                          "Goal4",
                          "HeroLocationsQueueBroken",
                          "HeroServingStarted",
                          "HeroSteps",
                          "HipHopAction",
                          "ItemTaken",
                          "LevelLost",
                          "LevelWon",
                          "LocationClick",
                          "MapAmbient",
                          "MapCarLR",
                          "MapCarRL",
                          "MapMusic",
                          "MapPlain",
                          "MapSkuter",
                          "MassageIdle",
                          "MenuMusic",
                          "Money",
                          "Money2",
                          "NewClient",
                          "NewClientWindow",
                          "ObjectivesWindow",
                          "QueueBoxAction",
                          "QueueBoxRecharged",
                          "SandwichMachineMachineRecharged",
                          "SandwichMachineMachineRecharging",
                          "ServeSpeedUpAction",
                          "ServeSpeedUpRecharged",
                          "ShopBought",
                          "ShopCantBought",
                          "SoundVolumeChange",
                          "StreetDancerAction",
                          "SuperPadButtonClicked",
                          "SuperPadDance",
                          "SuperPadFail",
                          "TecktonikAction",
                          "TowelMachineRecharged",
                          "TowelMachineRecharging",
                          "Trash",
                          "TutorialWindow",
                          "UrbanDancerAction",
                          "WaverAction"};
    std::multiset<std::string> defined;
    forEachElement(archive.xml("sounds/SoundPack.xml").root, [&](const XmlElement& element) {
        if (element.name == "SoundCue") {
            defined.insert(element.attribute("Name"));
        }
    });
    for (const char* cue : cues) {
        EXPECT_EQ(defined.count(cue), 1u) << cue;
    }
    // Music belongs to the music group and loops; the options screen plays its volume sample.
    forEachElement(archive.xml("sounds/SoundPack.xml").root, [&](const XmlElement& cue) {
        if (endsWith(cue.attribute("Name"), "Music")) {
            EXPECT_EQ(cue.attribute("GroupID"), "1") << cue.attribute("Name");
            EXPECT_EQ(cue.attribute("Loop"), "true") << cue.attribute("Name");
        }
    });
}

TEST_F(ContentCheckTest, EveryFileThatContentNamesIsThere) {
    std::vector<std::pair<std::string, std::string>> references; // (from, name)
    forEachElement(archive.xml("logos/Logos.xml").root, [&](const XmlElement& logo) {
        if (logo.name == "Logo" || logo.name == "MMLogo") {
            references.emplace_back("logos/Logos.xml", logo.attribute("Image"));
        }
    });
    forEachElement(archive.xml("sounds/SoundPack.xml").root, [&](const XmlElement& sound) {
        if (sound.name == "Sound") {
            references.emplace_back("sounds/SoundPack.xml",
                                    resolve("sounds/SoundPack.xml", sound.attribute("Filename")));
        }
    });
    for (const std::string& name : archive.names()) {
        if (name.rfind("atlases/", 0) == 0 && endsWith(name, ".xml")) {
            forEachElement(archive.xml(name).root, [&](const XmlElement& element) {
                if (element.name == "a") {
                    references.emplace_back(name, resolve(name, element.attribute("f")));
                } else if (element.name == "t") {
                    // Found in the cache while the atlas is loaded, as a file afterwards.
                    references.emplace_back(name, element.attribute("n"));
                }
            });
        }
    }
    ASSERT_FALSE(references.empty());
    for (const auto& [from, name] : references) {
        EXPECT_TRUE(archive.exists(name)) << name << " named in " << from;
    }
}

TEST_F(ContentCheckTest, AtlasEntriesLieOnTheirPagesAndMatchTheirImages) {
    int entries = 0;
    for (const std::string& name : archive.names()) {
        if (name.rfind("atlases/", 0) != 0 || !endsWith(name, ".xml")) {
            continue;
        }
        std::vector<ImageSize> pages;
        forEachElement(archive.xml(name).root, [&](const XmlElement& element) {
            if (element.name == "a") {
                pages.push_back(pngSize(archive, resolve(name, element.attribute("f"))));
                EXPECT_GT(pages.back().width, 0) << element.attribute("f");
            } else if (element.name == "t") {
                const std::string entry = element.attribute("n");
                const size_t page = size_t(std::stoi(element.attribute("i")));
                int x1, y1, x2, y2;
                ASSERT_EQ(
                    std::sscanf(element.attribute("r").c_str(), "%d,%d,%d,%d", &x1, &y1, &x2, &y2),
                    4)
                    << entry;
                ASSERT_LT(page, pages.size()) << entry;
                EXPECT_TRUE(0 <= x1 && x1 < x2 && x2 <= pages[page].width) << entry;
                EXPECT_TRUE(0 <= y1 && y1 < y2 && y2 <= pages[page].height) << entry;
                const ImageSize image = pngSize(archive, entry);
                EXPECT_EQ(x2 - x1, image.width) << entry;
                EXPECT_EQ(y2 - y1, image.height) << entry;
                ++entries;
            }
        });
    }
    EXPECT_GT(entries, 0);
}

TEST_F(ContentCheckTest, FontsNameTheirPages) {
    int fonts = 0;
    for (const std::string& name : archive.names()) {
        if (!endsWith(name, ".qfnt")) {
            continue;
        }
        const XmlElement root = archive.xml(name).root;
        EXPECT_EQ(root.name, "Font") << name;
        EXPECT_EQ(root.attribute("Type"), "Bitmap") << name;
        int pages = 0;
        for (const XmlElement& element : root.children) {
            if (element.name == "Texture") {
                EXPECT_TRUE(archive.exists(resolve(name, element.attribute("Filename"))))
                    << element.attribute("Filename") << " in " << name;
                ++pages;
            }
        }
        EXPECT_GT(pages, 0) << name;
        ++fonts;
    }
    EXPECT_GT(fonts, 0);
}

TEST_F(ContentCheckTest, EverySoundDecodesWhole) {
    int sounds = 0;
    for (const std::string& name : archive.names()) {
        if (!endsWith(name, ".ogg")) {
            continue;
        }
        CRefPointer<IInputFile> file = archive.open(name);
        ASSERT_TRUE(file && COggSoundDecoder::isOggVorbis(file.get())) << name;
        file->seekTo(0, false);
        CRefPointer<COggSoundDecoder> decoder(new COggSoundDecoder(file));
        ASSERT_GT(decoder->getTotalSamples(), 0u) << name;
        std::vector<char> buffer(size_t(decoder->getFrameBytes()) * 4096);
        uint32_t frames = 0;
        for (uint32_t read; (read = decoder->read(buffer.data(), 4096)) > 0;) {
            frames += read;
        }
        EXPECT_EQ(frames, decoder->getTotalSamples()) << name;
        ++sounds;
    }
    EXPECT_GT(sounds, 0);
}
