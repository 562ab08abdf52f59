#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/scene/SceneManager.h"
#include "game/level/MiniGameScene.h"
#include "tests/game/level/FixtureClients.h"

// Mini-game scene files of the tests' own, opened over the fixture clients' level as an opener
// would open them: under "Scene", the ball game's buttons "Ball0" and on under "Balls", 100
// apart, each with its picture "Image" and an 80 by 80 area "Hit"; the drink game's faces,
// arrows, cups and money icons. The massage table's configuration starts its clients by itself
// ("AutoActivation"). The ball game's configuration 0 gives the right ball the content's
// "levels/minigames/balls/Ball<colour>.png" and the others "Striped.png" and "Dotted.png" of that
// folder; configuration 1 names no pictures.
namespace fixture_minigames {

using fixture_levels::at;
using fixture_levels::element;
using fixture_levels::named;
using fixture_levels::nodeNamed;

inline const std::string kBounds = "<vector3d Name=\"Bounds\" Value=\"1024;768;0\"/>";

// A button whose "Hit" takes the pointer over 80 by 80.
inline std::string button(const std::string& name, float x, float y,
                          const std::string& inside = "") {
    const std::string area = "<vector3d Name=\"Bounds\" Value=\"80;80;0\"/>";
    return nodeNamed("ButtonNode", name, inside + nodeNamed("NineGridSpriteNode", "Hit", "", area),
                     at(x, y, 0) + area);
}

inline std::string gameScene(const char* gameClass, const std::string& inside) {
    return std::string("<SceneNode Type=\"SceneNode\" ClassOverride=\"") + gameClass +
           "\"><Properties>" + kBounds + "</Properties>" +
           nodeNamed("ControlNode", "Scene", inside, kBounds) + "</SceneNode>";
}

inline std::string ballScene(int32_t balls) {
    std::string inside;
    for (int32_t i = 0; i < balls; ++i)
        inside += button("Ball" + std::to_string(i), 100.f + 100.f * float(i), 300,
                         nodeNamed("SpriteNode", "Image"));
    return gameScene("GMiniGameBallScene", nodeNamed("ControlNode", "Balls", inside, kBounds));
}

inline std::string drinkScene(int32_t cups, int32_t icons) {
    std::string cupNodes;
    for (int32_t i = 0; i < cups; ++i)
        cupNodes += nodeNamed("BaseNode", "Cup" + std::to_string(i));
    std::string iconNodes;
    for (int32_t i = 0; i < icons; ++i)
        iconNodes += nodeNamed("BaseNode", "Money" + std::to_string(i));
    const std::string faces =
        nodeNamed("BaseNode", "f1") + nodeNamed("BaseNode", "f2") + nodeNamed("BaseNode", "f3");
    const std::string buttons =
        button("Button1", 100, 500) + button("Button2", 300, 500) + button("Button3", 500, 500);
    return gameScene("GMiniGameDrinkScene",
                     nodeNamed("BaseNode", "Face", faces) +
                         nodeNamed("ControlNode", "Buttons", buttons, kBounds) +
                         nodeNamed("BaseNode", "Cup", cupNodes) +
                         nodeNamed("BaseNode", "Money", iconNodes));
}

inline std::string autoActivatedLocations() {
    std::string configs = fixture_clients::locationConfigs();
    const std::string table = "<Name Value=\"Table\"/>";
    configs.insert(configs.find(table) + table.size(), "<AutoActivation Value=\"true\"/>");
    return configs;
}

// The fixture clients' level with the mini-games' scene files: 2 to 5 cups with 5 icons
// ("minigames/Drink<cups>.qscn"), 3 cups with 5 icons or 5 with 3, no cups.
class MiniGameTest : public fixture_clients::FixtureClientTest {
protected:
    static void SetUpTestSuite() {
        FixtureClientTest::SetUpTestSuite();
        harness->write("levels/common/LocationConfigs.xml", autoActivatedLocations());
        harness->write("minigames/Ball4.qscn", ballScene(4));
        harness->write("minigames/Ball3.qscn", ballScene(3));
        harness->write("minigames/Drink3.qscn", drinkScene(3, 5));
        harness->write("minigames/Drink5.qscn", drinkScene(5, 5));
        harness->write("minigames/DrinkFewIcons.qscn", drinkScene(5, 3));
        harness->write("minigames/DrinkNoCups.qscn", drinkScene(0, 5));
        harness->write(
            "levels/minigames/balls/MiniGameConfiguration.xml",
            "<MiniGame><level>"
            "<CorrectImagePngPrefixPath value=\"levels/minigames/balls/Ball\"/>"
            "<ImageFilenames value=\"levels/minigames/balls/Striped.png\"/>"
            "<ImageFilenames value=\"levels/minigames/balls/Dotted.png\"/></level>"
            "<level><CorrectImagePngPrefixPath value=\"levels/minigames/balls/Ball\"/></level>"
            "</MiniGame>");
    }

    void SetUp() override {
        load(1);
        harness->advance(1);
    }

    // The game of the scene file opened over the level, arrived, then started.
    template <typename Game>
    static Game* open(const char16_t* file, int32_t configuration = 0,
                      GClientNode* client = nullptr) {
        SceneNode* scene = level().openSceneFile(file, false, CNameId(), CNameId());
        EXPECT_TRUE(scene != nullptr && scene->isKindOf(Game::kTypeId)) << "a game's scene";
        if (scene == nullptr || !scene->isKindOf(Game::kTypeId))
            return nullptr;
        harness->advance(2);
        auto* game = static_cast<Game*>(scene);
        game->start({configuration, client});
        return game;
    }
    static SceneNode* current() { return harness->levelManager().getCurrentScene(); }
    // The node of that name anywhere in the scene; the fixtures' names are unique.
    static BaseNode* nodeIn(const BaseNode* scene, const char* name) {
        return scene != nullptr ? scene->findChild(named(name), 0) : nullptr;
    }
    // A click on the node, then time for its press to play and its click to arrive.
    static void click(const BaseNode* node) {
        ASSERT_NE(node, nullptr);
        harness->click(*node);
        harness->advance(5);
    }
};

} // namespace fixture_minigames
