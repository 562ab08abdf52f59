#include "game/app/IntroScene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneManager.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/ObjectConfigurations.h"
#include "tests/game/app/GameHarness.h"

namespace {

class IntroSceneTest : public ::testing::Test {
protected:
    // The content set, with a location and levels (one hard, two easy) in the extra folder.
    void SetUp() override {
        write("levels/common/LocationConfigs.xml",
              "<ObjectConfigurations><Location><Name Value=\"Pad\"/></Location>"
              "</ObjectConfigurations>");
        write("levels/common/LevelConfigs.xml",
              "<LevelsConfiguration><Level/></LevelsConfiguration>");
        write("levels/common/LevelConfigsEasy.xml",
              "<LevelsConfiguration><Level/><Level/></LevelsConfiguration>");
    }

    void write(const std::string& file, const std::string& text) {
        const std::filesystem::path path = game.contentBase() / "extra" / file;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // Starts the game and puts the intro in place of the logos.
    void startIntro() {
        ASSERT_TRUE(game.start(u"extra"));
        const CRefPointer<CContent> loaded =
            content().load(contentType("snod"), u"scenes/IntroScene.qscn", true);
        auto* node = static_cast<BaseNode*>(loaded.get());
        ASSERT_TRUE(node && node->isKindOf(GIntroScene::kTypeId));
        intro = CRefPointer<SceneNode>::share(static_cast<SceneNode*>(node));
        manager().openScene(intro.get(), CNameId());
        BaseNode* bar = intro->findChild(nameOf("Scene"), 1)->findChild(nameOf("Progress"), 1);
        fill = CRefPointer<BaseNode>::share(bar->findChild(nameOf("Fill"), 1));
        barWidth = bar->getBounds().x;
    }

    CContentManager& content() const { return *game.application().getContentManager(); }
    SceneManager& manager() const { return *game.application().getSceneManager(); }
    bool menuIsOpen() const {
        return manager().getCurrentScene()->getName() == nameOf("MainMenuScene");
    }

    GameHarness game;
    CRefPointer<SceneNode> intro;
    CRefPointer<BaseNode> fill;
    float barWidth = 0;
};

TEST_F(IntroSceneTest, StepsRunInOrderOneEvery120Milliseconds) {
    startIntro();
    game.player().setInt("PlayerDifficulty", 1);
    GGameApplication& application = game.application();
    const std::map<std::string, std::function<bool()>> probes = {
        {"1 classes",
         [] {
             return CEngineServices::instance()
                        ->getNodeFactory()
                        ->createNode(u"GMainMenuScene", CContentKey())
                        .get() != nullptr;
         }},
        {"5 menu atlas",
         [&] {
             return content().find(contentType("atex"),
                                   CContentKey(&content(), u"scenes/images/Button.png")) != nullptr;
         }},
        {"6 sound pack",
         [&] {
             CSoundPlayer& sound = *game.engine().getSoundPlayer();
             const bool known = sound.playCue(nameOf("ButtonMissed")).get() != nullptr;
             sound.stopGroup(0);
             return known;
         }},
        {"8 level templates",
         [&] { return application.getLevelSceneManager()->getTemplateCollection() != nullptr; }},
        {"9 menu templates",
         [&] { return application.getSceneManager()->getTemplateCollection() != nullptr; }},
        {"10 objects",
         [&] {
             return application.getObjectConfigurations()->getLocationConfig(nameOf("Pad")) !=
                    nullptr;
         }},
        {"11 easy levels", [&] { return application.getLevelList()->getLevelCount() == 2; }},
    };
    std::map<std::string, int> firstSeen;
    for (int ms = 0; ms <= 2000; ms += 20) {
        for (const auto& [step, probe] : probes) {
            if (!firstSeen.count(step) && probe())
                firstSeen[step] = ms;
        }
        game.advance(20);
    }
    // The arrival takes the 400 ms of the scene's "NavTo"; then the step clock runs.
    const int first = firstSeen["1 classes"];
    EXPECT_GE(first, 400 + 120);
    const std::map<std::string, int> expected = {
        {"1 classes", first},
        {"5 menu atlas", first + 480},
        {"6 sound pack", first + 600},
        {"8 level templates", first + 840},
        {"9 menu templates", first + 960},
        {"10 objects", first + 1080},
        {"11 easy levels", first + 1200},
    };
    EXPECT_EQ(firstSeen, expected);
}

TEST_F(IntroSceneTest, TheMenuOpensOnceTheBarHasCaughtUp) {
    startIntro();
    std::vector<float> widths;
    int frames = 0;
    while (!menuIsOpen() && frames < 400) {
        game.advance(20);
        widths.push_back(fill->getBounds().x);
        ++frames;
    }
    ASSERT_TRUE(menuIsOpen());
    float last = 0;
    for (float width : widths) {
        EXPECT_EQ(int(width) % 8, 0) << width;
        EXPECT_GE(width, last);
        EXPECT_LE(width - last, barWidth / 50 + 0.5f) << "a fiftieth of the bar at most";
        last = width;
    }
    EXPECT_EQ(last, barWidth);
    // 400 ms of arrival, then 50 bar updates of 40 ms before the bar can be full, though the
    // eleven steps have run after 1320 ms.
    EXPECT_GE(frames * 20, 400 + 50 * 40);
    EXPECT_EQ(game.application().getLevelList()->getLevelCount(), 0u) << "no player";
}

TEST_F(IntroSceneTest, WhatIsMissingIsPassedOverAndAMissingMenuKeepsTheIntro) {
    // Only the two scenes the start needs and the locations: every step misses its files.
    std::filesystem::remove(game.contentBase() / "assets.qca");
    std::filesystem::remove(game.contentBase() / "extra/levels/common/LevelConfigsEasy.xml");
    write("scenes/LogosScene.qscn",
          "<SceneNode Type=\"SceneNode\" ClassOverride=\"GLogosScene\"/>");
    write(
        "scenes/IntroScene.qscn",
        "<SceneNode Type=\"SceneNode\" ClassOverride=\"GIntroScene\"><SceneNode Type=\"BaseNode\">"
        "<Properties><string Name=\"Name\" Value=\"Scene\"/></Properties>"
        "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" Value=\"Progress\"/>"
        "<vector3d Name=\"Bounds\" Value=\"300;20;0\"/></Properties>"
        "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" Value=\"Fill\"/>"
        "<vector3d Name=\"Bounds\" Value=\"0;20;0\"/></Properties></SceneNode>"
        "</SceneNode></SceneNode></SceneNode>");
    startIntro();
    game.player().setInt("PlayerDifficulty", 1);
    EXPECT_EQ(barWidth, 300);
    float firstWidth = 0;
    for (int ms = 0; ms < 5000 && firstWidth == 0; ms += 20) {
        game.advance(20);
        firstWidth = fill->getBounds().x;
    }
    // The first step's 5 of 280 of 300 pixels, to the nearest 8.
    EXPECT_EQ(firstWidth, 8);
    game.advance(5000);
    EXPECT_EQ(manager().getCurrentScene(), intro.get()) << "the menu does not load";
    EXPECT_EQ(fill->getBounds().x, 304) << "every step has run: 300 pixels to the nearest 8";
    EXPECT_EQ(manager().getTemplateCollection(), nullptr);
    EXPECT_EQ(game.application().getLevelSceneManager()->getTemplateCollection(), nullptr);
    EXPECT_EQ(game.logProblems(),
              "WRN: Intro step 2: atlases/Characters.xml did not load\n"
              "WRN: Intro step 2: atlases/CharactersS.xml did not load\n"
              "WRN: Intro step 3: atlases/Locations.xml did not load\n"
              "WRN: Intro step 4: atlases/Map.xml did not load\n"
              "WRN: Intro step 5: atlases/MainMenu.xml did not load\n"
              "WRN: Intro step 6: sounds/SoundPack.xml did not load\n"
              "WRN: Intro step 7: strings/Dictionary.xml did not load\n"
              "WRN: Intro step 8: levels/common/ParticleCollection.xml did not load\n"
              "WRN: Intro step 8: levels/common/TemplateCollection.qscn did not load\n"
              "WRN: Intro step 9: scenes/ParticleCollection.xml did not load\n"
              "WRN: Intro step 9: scenes/TemplateCollection.qscn did not load\n"
              "WRN: Intro step 10: levels/common/ResourceConfigs.xml did not load\n"
              "WRN: Intro step 10: levels/common/StaffConfigs.xml did not load\n"
              "WRN: Intro step 10: levels/common/ClientConfigs.xml did not load\n"
              "WRN: Intro step 10: levels/common/ClientWishListConfigs.xml did not load\n"
              "WRN: Intro step 11: levels/common/LevelConfigsEasy.xml did not load\n");
}

} // namespace
