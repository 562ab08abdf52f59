#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "content/ContentFiles.h"
#include "content/SceneFiles.h"
#include "engine/core/PropertyTypeRegistry.h"
#include "engine/io/Dictionary.h"

using namespace content_files;
using namespace scene_files;

// The scene files and templates of the start-up and the menus, read as XML trees: the nodes,
// states and templates the screens look up by name, the files they name, and what a node
// needs to load. When the node factory and the game's node classes exist, every scene file is
// also to be loaded through them here, so that each node is built by its own class.
namespace {

const char kTemplates[] = "scenes/TemplateCollection.qscn";

// Where the controls of a scene file find their templates: the files of a level setting in
// that setting's own collection, the others in the menus'.
std::string templatesOf(const std::string& file) {
    if (file.rfind("levels/setting", 0) != 0) {
        return kTemplates;
    }
    return file.substr(0, file.rfind('/') + 1) + "TemplateCollection.qscn";
}

bool isSceneFile(const std::string& name) {
    return endsWith(name, ".qscn");
}

class SceneContentTest : public testing::Test {
protected:
    std::vector<std::string> sceneFiles() const {
        std::vector<std::string> names;
        for (const std::string& name : archive.names()) {
            if (isSceneFile(name)) {
                names.push_back(name);
            }
        }
        return names;
    }

    ContentArchive archive;
};

} // namespace

TEST_F(SceneContentTest, ScreensOpenedByNameAreScenesOfTheirGameClass) {
    struct Case {
        const char* file;
        const char* gameClass;
    };
    const Case cases[] = {
        {"scenes/LogosScene.qscn", "GLogosScene"},
        {"scenes/IntroScene.qscn", "GIntroScene"},
        {"scenes/MainMenuScene.qscn", "GMainMenuScene"},
        {"scenes/SelectPlayerScene.qscn", "GSelectPlayerScene"},
        {"scenes/SelectPlayerInputNameScene.qscn", "GSelectPlayerInputNameScene"},
        {"scenes/MapScene.qscn", "GMapScene"},
        {"scenes/OptionsScene.qscn", "GOptionsScene"},
        {"scenes/AwardsScene.qscn", "GAwardsScene"},
        {"scenes/NewAwardScene.qscn", "GAwardUnlockedScene"},
        {"scenes/CreditsScene.qscn", "GCreditsScene"},
        {"scenes/ComicsScene1.qscn", "GComicsScene"},
        {"scenes/ComicsScene2.qscn", "GComicsScene"},
        {"scenes/ComicsScene3.qscn", "GComicsScene"},
        {"scenes/ComicsScene4.qscn", "GComicsScene"},
        {"scenes/LoadingLevelScene.qscn", "GLoadingLevelScene"},
        {"scenes/BriefingScene.qscn", "GGameBriefingScene"},
        {"scenes/GameNewClientScene.qscn", "GGameNewClientScene"},
        {"scenes/GamePlayScene.qscn", "GGamePlayScene"},
        {"scenes/GameShopScene.qscn", "GGameShopScene"},
        {"scenes/LevelCompletedScene.qscn", "GLevelCompletedScene"},
        {"scenes/InGameMenuScene.qscn", "GInGameMenuScene"},
        {"scenes/HelpScene.qscn", "GHelpScene"},
    };
    for (const Case& c : cases) {
        const XmlElement root = archive.xml(c.file).root;
        EXPECT_EQ(root.attribute("ClassOverride"), c.gameClass) << c.file;
        // An engine scene when the game's classes are not registered yet.
        EXPECT_EQ(root.attribute("Type"), "SceneNode") << c.file;
    }
    for (const char* collection : {kTemplates, "levels/common/TemplateCollection.qscn"}) {
        EXPECT_EQ(archive.xml(collection).root.attribute("Type"), "TemplateCollectionNode");
    }
}

TEST_F(SceneContentTest, NodesNameKnownClassesAndValueTypes) {
    const std::set<std::string> gameClasses = {"GDebugStatsScene",
                                               "GLogosScene",
                                               "GIntroScene",
                                               "GMainMenuScene",
                                               "GSelectPlayerScene",
                                               "GSelectPlayerInputNameScene",
                                               "GMapLocationButton",
                                               "GMapScene",
                                               "GComicsScene",
                                               "GLoadingLevelScene",
                                               "GGameShopScene",
                                               "GShopListNode",
                                               "GGamePlayScene",
                                               "GEllipseSectorNode",
                                               "EllipseProgressBarNode",
                                               "GCounterTextNode",
                                               "GTwoSpritesProgressBarNode",
                                               "GHintNode",
                                               "GGameBriefingScene",
                                               "GGameNewClientScene",
                                               "GLevelCompletedScene",
                                               "GAwardsScene",
                                               "GHelpScene",
                                               "GAwardUnlockedScene",
                                               "GSectorSpriteNode",
                                               "GInGameMenuScene",
                                               "GOptionsScene",
                                               "GCreditsScene",
                                               "GGameLevelScene",
                                               "GCharacterNode",
                                               "GHeroNode",
                                               "GStaffNode",
                                               "GClientNode",
                                               "GLocationNode",
                                               "GDeviceNode",
                                               "GRecycleNode",
                                               "GConverterNode",
                                               "GSuperPadNode",
                                               "GDrinksMachineNode",
                                               "GSandwichMachineNode",
                                               "GSelfDestructNode",
                                               "GSplineMovableNode",
                                               "GP2PMovableNode",
                                               "GHipHopHeartsNode",
                                               "GMagnetMovableNode",
                                               "GSpeedUpNode",
                                               "GBoomboxHeartsEffectNode",
                                               "GClientMoneyEffectNode",
                                               "GQueueBoxEffectNode",
                                               "GMiniGameBallScene",
                                               "GMiniGameDanceScene",
                                               "GMiniGameRoulScene",
                                               "GMiniGameDrinkScene",
                                               "GPathMovableNode",
                                               "GCircularBirdNode",
                                               "GCircularMovableNode",
                                               "GWaveNode",
                                               "GScooterNode",
                                               "GPlaneNode",
                                               "GPedestrianNode",
                                               "GBaloonNode",
                                               "GBurstGravityNode",
                                               "GCarNode",
                                               "GJumpingRowNode"};
    for (const std::string& file : sceneFiles()) {
        forEachElement(archive.xml(file).root, [&](const XmlElement& element) {
            if (element.name == "SceneNode" && !element.has("File")) {
                EXPECT_EQ(engineNodeTypes().count(element.attribute("Type")), 1u)
                    << file << ": " << element.attribute("Type");
                if (element.has("ClassOverride")) {
                    EXPECT_EQ(gameClasses.count(element.attribute("ClassOverride")), 1u)
                        << file << ": " << element.attribute("ClassOverride");
                }
            } else if (element.name == "Properties" || element.attribute("Type") == "SetProps") {
                for (const XmlElement& value : element.children) {
                    EXPECT_TRUE(CPropertyTypeRegistry::shared()->create(wide(value.name), nullptr))
                        << file << ": <" << value.name << ">";
                    EXPECT_FALSE(value.attribute("Name").empty())
                        << file << ": <" << value.name << ">";
                }
            }
        });
    }
}

TEST_F(SceneContentTest, TextsNameDictionaryKeysThatExist) {
    const CRefPointer<CDictionary> dictionary = loadDictionary(archive);
    int keys = 0;
    for (const std::string& file : sceneFiles()) {
        forEachElement(archive.xml(file).root, [&](const XmlElement& element) {
            for (const auto& [attribute, value] : element.attributes) {
                for (const std::string& key : dictionaryKeysIn(value)) {
                    EXPECT_NE(narrow(dictionary->lookup(key.c_str())), "%" + key + "%")
                        << file << " uses the dictionary key " << key;
                    ++keys;
                }
            }
        });
    }
    EXPECT_GT(keys, 0);
}

TEST_F(SceneContentTest, FilesThatScenesNameAreThere) {
    auto namesContent = [](const std::string& keyword) {
        return keyword == "atlasTexture" || keyword == "font";
    };
    for (const std::string& file : sceneFiles()) {
        std::vector<std::string> named;
        forEachElement(archive.xml(file).root, [&](const XmlElement& element) {
            if (element.name == "SceneNode" && element.has("File")) {
                named.push_back(element.attribute("File"));
            } else if (namesContent(element.name)) {
                named.push_back(element.attribute("Value"));
            } else if (element.attribute("Type") == "KeyFrame") {
                // Each key holds the value of the set's property i in its attribute "Value<i>".
                std::vector<std::string> keywords;
                for (const XmlElement& part : element.children) {
                    if (part.name == "Properties") {
                        for (const XmlElement& value : part.children) {
                            keywords.push_back(value.name);
                        }
                    } else if (part.name == "KeyFrame") {
                        for (size_t i = 0; i < keywords.size(); ++i) {
                            if (namesContent(keywords[i])) {
                                named.push_back(part.attribute("Value" + std::to_string(i)));
                            }
                        }
                    }
                }
            }
        });
        for (const std::string& name : named) {
            EXPECT_TRUE(archive.exists(resolve(file, name))) << name << " in " << file;
        }
    }
}

TEST_F(SceneContentTest, ScreensHaveTheNodesTheyBind) {
    struct Case {
        const char* file;
        const char* path;
        const char* kind; // empty: any node
    };
    const Case cases[] = {
        {"scenes/LogosScene.qscn", "Scene", ""},
        {"scenes/LogosScene.qscn", "Scene/Logo1", "SpriteNode"},
        {"scenes/LogosScene.qscn", "Scene/Logo2", "SpriteNode"},
        {"scenes/IntroScene.qscn", "Scene/Progress", ""},
        {"scenes/IntroScene.qscn", "Scene/Progress/Fill", ""},
        {"scenes/MainMenuScene.qscn", "Scene/Menu", ""},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/WelcomeText", "TextNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/DifficultyIcon", ""},
        {"scenes/MainMenuScene.qscn", "Scene/CreditsTipText", "TextNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Nelia", ""},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/ClipNode", ""},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/BalloonLayer/Balloons", "SpawnerNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Bird1", ""},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Bird2", ""},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/NoteOrbit/Note", "SpriteNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Sparkles/Sparkle1/Spark", "SpriteNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Dancers/Dancer1/Body", "SpriteNode"},
        {kTemplates, "Balloon/Body", "SpriteNode"},
        {kTemplates, "MenuBird/Body", "SpriteNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/NewGameButton", "ButtonNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/ChangePlayerButton", "ButtonNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/OptionsButton", "ButtonNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/AwardsButton", "ButtonNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/CreditsButton", "ButtonNode"},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/QuitButton", "ButtonNode"},
        {"scenes/SelectPlayerScene.qscn", "Scene/PlayersList", "ListNode"},
        {"scenes/SelectPlayerScene.qscn", "Scene/OkButton", "ControlNode"},
        {"scenes/SelectPlayerScene.qscn", "Scene/NewPlayerButton", "ControlNode"},
        {"scenes/SelectPlayerScene.qscn", "Scene/DeletePlayerButton", "ControlNode"},
        {"scenes/SelectPlayerScene.qscn", "Scene/CancelButton", "ButtonNode"},
        {"scenes/SelectPlayerInputNameScene.qscn", "Scene/NameEdit", "EditNode"},
        {"scenes/SelectPlayerInputNameScene.qscn", "Scene/OkButton", "ControlNode"},
        {"scenes/SelectPlayerInputNameScene.qscn", "Scene/CancelButton", "ButtonNode"},
        {"scenes/SelectPlayerInputNameScene.qscn", "Scene/HardButton", "CheckBoxNode"},
        {"scenes/SelectPlayerInputNameScene.qscn", "Scene/EasyButton", "CheckBoxNode"},
        {"scenes/OptionsScene.qscn", "Scene/SoundSlider", "SliderNode"},
        {"scenes/OptionsScene.qscn", "Scene/MusicSlider", "SliderNode"},
        {"scenes/OptionsScene.qscn", "Scene/MuteButton", "ButtonNode"},
        {"scenes/OptionsScene.qscn", "Scene/FullscreenButton", "ButtonNode"},
        {"scenes/OptionsScene.qscn", "Scene/CursorButton", "ButtonNode"},
        {"scenes/OptionsScene.qscn", "Scene/DragViaClickButton", "ButtonNode"},
        {"scenes/OptionsScene.qscn", "Scene/BackButton", "ButtonNode"},
        {"scenes/AwardsScene.qscn", "Scene/HintNode/HintText", "TextNode"},
        {"scenes/AwardsScene.qscn", "Scene/BackButton", "ButtonNode"},
        {"scenes/NewAwardScene.qscn", "Scene/AwardDesc", "TextNode"},
        {"scenes/NewAwardScene.qscn", "Scene/AwardPlace", "SpriteNode"},
        {"scenes/NewAwardScene.qscn", "Scene/BackButton", "ButtonNode"},
        {"scenes/CreditsScene.qscn", "Scene/BackButton", "ButtonNode"},
        {"scenes/LoadingLevelScene.qscn", "Scene/Progress/Fill", ""},
        {"scenes/BriefingScene.qscn", "Scene/TitleText", "TextNode"},
        {"scenes/BriefingScene.qscn", "Scene/DescText", "TextNode"},
        {"scenes/BriefingScene.qscn", "Scene/BronzeGoal/Money", "TextNode"},
        {"scenes/BriefingScene.qscn", "Scene/SilverGoal/Money", "TextNode"},
        {"scenes/BriefingScene.qscn", "Scene/GoldGoal/Money", "TextNode"},
        {"scenes/BriefingScene.qscn", "Scene/BackButton", "ButtonNode"},
        {"scenes/GameNewClientScene.qscn", "Scene/NameText", "TextNode"},
        {"scenes/GameNewClientScene.qscn", "Scene/DescText", "TextNode"},
        {"scenes/GameNewClientScene.qscn", "Scene/PatientText", "TextNode"},
        {"scenes/GameNewClientScene.qscn", "Scene/FeaturesText", "TextNode"},
        {"scenes/GameNewClientScene.qscn", "Scene/ClientNode", ""},
        {"scenes/GameNewClientScene.qscn", "Scene/BackButton", "ButtonNode"},
        {"scenes/GamePlayScene.qscn", "Scene/DarkFg", ""},
        {"scenes/GamePlayScene.qscn", "Scene/PopupsLayer", ""},
        {"scenes/GamePlayScene.qscn", "Scene/MenuButton", "ButtonNode"},
        {"scenes/GamePlayScene.qscn", "Scene/GameMenu/Money/MoneyText", "TextNode"},
        {"scenes/GamePlayScene.qscn", "Scene/GameMenu/Money/GoalLabel", "TextNode"},
        {"scenes/GamePlayScene.qscn", "Scene/GameMenu/Money/GoalText", "TextNode"},
        {"scenes/GamePlayScene.qscn", "Scene/GameMenu/Money/LevelText", "TextNode"},
        {"scenes/GamePlayScene.qscn", "Scene/GameMenu/Time/Arrow", ""},
        {"scenes/GamePlayScene.qscn", "Scene/GameMenu/Time/Ellipse", "GEllipseSectorNode"},
        {"scenes/GamePlayScene.qscn", "Scene/GameMenu/SkipTutorialButton", "ButtonNode"},
        {"scenes/GamePlayScene.qscn", "Scene/GameMenu/RankStarNode", "GTwoSpritesProgressBarNode"},
        {"scenes/GameShopScene.qscn", "Scene/Menu/Money/MoneyText", "TextNode"},
        {"scenes/GameShopScene.qscn", "Scene/Menu/Money/LevelText", "TextNode"},
        {"scenes/GameShopScene.qscn", "Scene/Menu/ContinueButton", "ButtonNode"},
        {"scenes/GameShopScene.qscn", "Scene/Menu/SkipTutorialButton", "ButtonNode"},
        {"scenes/GameShopScene.qscn", "Scene/Menu/ItemsList", "GShopListNode"},
        {"scenes/GameShopScene.qscn", "Scene/HintNode", "GHintNode"},
        {"scenes/GameShopScene.qscn", "Scene/HintNode/Title", "TextNode"},
        {"scenes/GameShopScene.qscn", "Scene/HintNode/Text", "TextNode"},
        {"scenes/GameShopScene.qscn", "Scene/BoughtText", ""},
        {"scenes/GameShopScene.qscn", "Scene/MenuButton", "ButtonNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/GreatingText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/SolveTimeText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/MoneyText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/HeartsText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/ServedText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/LostText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/MoneyClientsText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/MoneyColorsText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/MoneyChainText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/MoneySwapText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/MoneyLostText", "TextNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/Star", "SpriteNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/NextButton", "ButtonNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/MapButton", "ButtonNode"},
        {"scenes/LevelCompletedScene.qscn", "Scene/RestartButton", "ButtonNode"},
        {"scenes/InGameMenuScene.qscn", "Scene/ResumeButton", "ButtonNode"},
        {"scenes/InGameMenuScene.qscn", "Scene/RestartButton", "ButtonNode"},
        {"scenes/InGameMenuScene.qscn", "Scene/OptionsButton", "ButtonNode"},
        {"scenes/InGameMenuScene.qscn", "Scene/HelpButton", "ButtonNode"},
        {"scenes/InGameMenuScene.qscn", "Scene/MapButton", "ButtonNode"},
        {"scenes/InGameMenuScene.qscn", "Scene/ExitGameButton", "ButtonNode"},
        {"scenes/HelpScene.qscn", "Scene/TabScene", "TabSceneNode"},
        {"scenes/HelpScene.qscn", "Scene/TabScene/Tab1", ""},
        {"scenes/HelpScene.qscn", "Scene/TabScene/Tab2", ""},
        {"scenes/HelpScene.qscn", "Scene/TabScene/Tab3", ""},
        {"scenes/HelpScene.qscn", "Scene/ButtonPrev", "ButtonNode"},
        {"scenes/HelpScene.qscn", "Scene/ButtonNext", "ButtonNode"},
        {"scenes/HelpScene.qscn", "Scene/BackButton", "ButtonNode"},
        {"scenes/MapScene.qscn", "Scene/LevelButtons", ""},
        {"scenes/MapScene.qscn", "Scene/LevelButtons/Level1", "GMapLocationButton"},
        {"scenes/MapScene.qscn", "Scene/LevelButtons/Level11", "GMapLocationButton"},
        {"scenes/MapScene.qscn", "Scene/ActButtons/Act1", "ButtonNode"},
        {"scenes/MapScene.qscn", "Scene/ActButtons/Act4", "ButtonNode"},
        {"scenes/MapScene.qscn", "Scene/Hint/ActText", "TextNode"},
        {"scenes/MapScene.qscn", "Scene/Hint/LevelText", "TextNode"},
        {"scenes/MapScene.qscn", "Scene/Hint/MoneyLabelText", "TextNode"},
        {"scenes/MapScene.qscn", "Scene/Hint/MoneyText", "TextNode"},
        {"scenes/MapScene.qscn", "Scene/Effects", ""},
        {"scenes/MapScene.qscn", "Scene/Bg/Sea", ""},
        {"scenes/MapScene.qscn", "Scene/Bg/Birds", ""},
        {"scenes/MapScene.qscn", "Scene/Bg/Human", ""},
        {"scenes/MapScene.qscn", "Scene/Bg/Cars", ""},
        {"scenes/MapScene.qscn", "Scene/PlayButton", "ButtonNode"},
        {"scenes/MapScene.qscn", "Scene/BackButton", "ButtonNode"},
    };
    for (const Case& c : cases) {
        const XmlElement root = archive.xml(c.file).root;
        const XmlElement* node = findPath(root, c.path);
        ASSERT_TRUE(node) << c.file << ": " << c.path;
        // A game class stands in "ClassOverride".
        EXPECT_TRUE(isKindOf(node->attribute("Type"), c.kind) ||
                    node->attribute("ClassOverride") == c.kind)
            << c.file << ": " << c.path << " is a " << node->attribute("Type");
    }
}

// The names, then prefix followed by 1 to 17: one for each award.
std::vector<std::string> numbered(const std::string& prefix, std::vector<std::string> names) {
    for (int award = 1; award <= 17; ++award) {
        names.push_back(prefix + std::to_string(award));
    }
    return names;
}

TEST_F(SceneContentTest, NodesHaveTheStatesTheGameSetsOnThem) {
    struct Case {
        const char* file;
        const char* path;
        bool onChildren; // the game sets the states on the node's children
        std::vector<std::string> states;
    };
    const Case cases[] = {
        {"scenes/LogosScene.qscn", "Scene/Logo1", false, {"Swap"}},
        {"scenes/LogosScene.qscn", "Scene/Logo2", false, {"Swap0", "Swap"}},
        {"scenes/MainMenuScene.qscn", "Scene/Menu/DifficultyIcon", false, {"Easy", "Hard"}},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Nelia", false, {"FirstHello1"}},
        {"scenes/MainMenuScene.qscn",
         "Scene/Bg/Nelia",
         true,
         {"Blink", "Blink1", "Boring1", "Boring2", "Smile"}},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/ClipNode", true, {"Scrolling"}},
        {kTemplates, "PlayersList/Element", true, {"Easy", "Hard"}},
        {"scenes/MainMenuScene.qscn", "Scene", false, {"NavBackToSlide"}},
        {"scenes/AwardsScene.qscn", "Scene/HintNode", false,
         numbered("Achievement_", {"OnAppear", "OnDisappear"})},
        {"scenes/NewAwardScene.qscn", "Scene/AwardPlace", false, numbered("Award_", {})},
        {"scenes/GameNewClientScene.qscn",
         "Scene/PatientText",
         false,
         {"Impatient", "Moderate", "Patient"}},
        {kTemplates,
         "MenuBird/Body",
         false,
         {"Right", "RightUp", "Up", "LeftUp", "Left", "LeftDown", "Down", "RightDown", "Right_Flap",
          "RightUp_Flap", "Up_Flap", "LeftUp_Flap", "Left_Flap", "LeftDown_Flap", "Down_Flap",
          "RightDown_Flap"}},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Dancers/Dancer1", true, {"Action"}},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Dancers/Dancer7", true, {"Action"}},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Sparkles", false, {"Twinkle"}},
        {"scenes/MainMenuScene.qscn", "Scene/Bg/Sparkles", true, {"Show"}},
        {"scenes/GamePlayScene.qscn", "Scene/DarkFg", false, {"RestartBefore", "RestartAfter"}},
        {"scenes/GamePlayScene.qscn",
         "Scene/GameMenu/Time/TimeClosedNode",
         false,
         {"Opened", "Closed"}},
        {"scenes/GamePlayScene.qscn",
         "Scene/GameMenu",
         true,
         {"Bronze", "Silver", "Gold", "Shine"}},
        {"scenes/LevelCompletedScene.qscn",
         "Scene/Star",
         false,
         {"Looser", "Goal", "Expert", "Master", "MapEffect"}},
        {"scenes/LevelCompletedScene.qscn", "Scene/Confetti", false, {"Master"}},
        {"scenes/LevelCompletedScene.qscn", "Scene/Confetti", true, {"Show"}},
        {"scenes/LevelCompletedScene.qscn", "Scene", true, {"Looser", "Goal", "Expert", "Master"}},
        {"scenes/OptionsScene.qscn", "Scene", false, {"NavTo2", "NavBackFrom2"}},
        {"scenes/InGameMenuScene.qscn", "Scene", false, {"NavBackToSlide"}},
        {"scenes/MapScene.qscn", "Scene", true, {"FirstTimeAnim"}},
        {"scenes/MapScene.qscn", "Scene/LevelButtons", false, {"ChangeActBefore"}},
        {"scenes/MapScene.qscn",
         "Scene/ActButtons/Act1",
         true,
         {"Select", "Deselect", "HLOn", "HLOff"}},
        {"scenes/MapScene.qscn",
         "Scene/ActButtons/Act4",
         true,
         {"Select", "Deselect", "HLOn", "HLOff"}},
        {"scenes/MapScene.qscn", "Scene/Hint", false, {"OnAppear", "OnDisappear"}},
        // The hint stands by the object that an offer previews.
        {"scenes/GameShopScene.qscn",
         "Scene/HintNode",
         false,
         {"OnAppear", "OnDisappear", "DancePad1", "DancePad2", "Hero"}},
    };
    for (const Case& c : cases) {
        const XmlElement root = archive.xml(c.file).root;
        const XmlElement* node = findPath(root, c.path);
        ASSERT_TRUE(node) << c.file << ": " << c.path;
        std::set<std::string> found = stateNames(*node);
        if (c.onChildren) {
            found.clear();
            for (const XmlElement* child : childNodes(*node)) {
                const std::set<std::string> own = stateNames(*child);
                found.insert(own.begin(), own.end());
            }
        }
        for (const std::string& state : c.states) {
            EXPECT_EQ(found.count(state), 1u) << c.file << ": " << c.path << " " << state;
        }
    }
}

TEST_F(SceneContentTest, TemplatesHaveTheChildrenTheirControlsBind) {
    const XmlElement templates = archive.xml(kTemplates).root;
    // The direct children of a template that each control type binds by name and kind.
    struct Part {
        const char* name;
        const char* kind;
    };
    const std::vector<std::pair<std::string, std::vector<Part>>> parts = {
        {"ButtonNode", {{"Text", "TextNode"}}},
        {"CheckBoxNode", {{"Text", "TextNode"}}},
        {"SliderNode", {{"SlidingArea", ""}, {"Knob", ""}}},
        {"EditNode", {{"Text", "TextNode"}}},
        {"ListNode", {{"Element", ""}}},
        {"ProgressBarNode", {{"SlidingArea", ""}, {"Knob", ""}}},
    };
    auto checkTemplateIn = [&](const XmlElement& collection, const std::string& user,
                               const std::string& type, const std::string& name) {
        const XmlElement* model = findChild(collection, name);
        ASSERT_TRUE(model) << user << " names the missing template " << name;
        for (const auto& [controlType, required] : parts) {
            if (controlType != type) {
                continue;
            }
            for (const Part& part : required) {
                const XmlElement* child = findChild(*model, part.name);
                EXPECT_TRUE(child && isKindOf(child->attribute("Type"), part.kind))
                    << "template " << name << " of " << user << " needs " << part.name;
            }
        }
    };
    auto checkTemplate = [&](const std::string& user, const std::string& type,
                             const std::string& name) {
        checkTemplateIn(templates, user, type, name);
    };
    for (const std::string& file : sceneFiles()) {
        const XmlElement collection = archive.xml(templatesOf(file)).root;
        forEachElement(archive.xml(file).root, [&](const XmlElement& node) {
            const std::string name = node.name == "SceneNode" ? property(node, "TemplateName") : "";
            if (!name.empty()) {
                checkTemplateIn(collection, file + " " + nodeName(node), node.attribute("Type"),
                                name);
            }
        });
    }
    // Named by the game's code: the options toggles' two looks and the message boxes.
    checkTemplate("the options screen", "ButtonNode", "Options_OnButton");
    checkTemplate("the options screen", "ButtonNode", "Options_OffButton");
    const std::pair<const char*, size_t> boxes[] = {{"MessageBox1Button", 1},
                                                    {"MessageBox2Buttons", 2}};
    for (const auto& [name, buttons] : boxes) {
        const XmlElement* box = findChild(templates, name);
        ASSERT_TRUE(box) << name;
        EXPECT_TRUE(findChild(*box, "TitleText")) << name;
        EXPECT_TRUE(findChild(*box, "BodyText")) << name;
        size_t found = 0;
        for (const XmlElement* child : childNodes(*box)) {
            found +=
                nodeName(*child) == "Button" && isKindOf(child->attribute("Type"), "ButtonNode");
        }
        EXPECT_EQ(found, buttons) << name;
    }
    EXPECT_TRUE(findPath(templates, "NameEdit/Text/Cursor"));
}

// The states of the node's children, together.
std::set<std::string> childStateNames(const XmlElement& node) {
    std::set<std::string> names;
    for (const XmlElement* child : childNodes(node)) {
        const std::set<std::string> own = stateNames(*child);
        names.insert(own.begin(), own.end());
    }
    return names;
}

// A node that the game looks up in a template: its kind, its game class, the states the game
// sets on it and those it sets on its children.
struct TemplatePart {
    const char* path;
    const char* kind;
    std::vector<std::string> states;
    std::vector<std::string> childStates;
    const char* gameClass = "";
};

template <size_t Count>
void expectTemplateParts(const XmlElement& templates, const TemplatePart (&parts)[Count]) {
    for (const TemplatePart& part : parts) {
        const XmlElement* node = findPath(templates, part.path);
        ASSERT_TRUE(node) << part.path;
        EXPECT_TRUE(isKindOf(node->attribute("Type"), part.kind)) << part.path;
        EXPECT_EQ(node->attribute("ClassOverride"), part.gameClass) << part.path;
        const std::set<std::string> own = stateNames(*node);
        const std::set<std::string> children = childStateNames(*node);
        for (const std::string& state : part.states) {
            EXPECT_EQ(own.count(state), 1u) << part.path << " " << state;
        }
        for (const std::string& state : part.childStates) {
            EXPECT_EQ(children.count(state), 1u) << part.path << " children " << state;
        }
    }
}

// The windows and arrows of the tutorial controller, with the states it sets on them.
TEST_F(SceneContentTest, TheTutorialTemplatesHaveThePartsTheControllerBinds) {
    const TemplatePart parts[] = {
        {"TutorialWindow", "", {"NavTo", "NavFrom"}, {}},
        {"TutorialWindow/Text", "TextNode", {}, {}},
        {"TutorialWindow/Nelia", "", {}, {}},
        {"TutorialIconWindow", "", {"NavTo", "NavFrom"}, {}},
        {"TutorialIconWindow/Text", "TextNode", {}, {}},
        {"TutorialIconWindow/Icon", "SpriteNode", {}, {}},
        {"TutorialArrow", "", {"OnAppear", "OnDisappear"}, {}},
    };
    expectTemplateParts(archive.xml(kTemplates).root, parts);
}

// The shop's strip: its element with the states the shop plays on it, the scrolling buttons,
// and the four looks an element takes by its offer's kind.
TEST_F(SceneContentTest, TheShopStripTemplatesHaveThePartsTheStripAndTheShopUse) {
    const std::vector<std::string> looks = {"Normal", "NormalHover", "NormalDisable"};
    const TemplatePart parts[] = {
        {"ShopItemsList/Element", "ControlNode", {"Grow", "SlideL", "SelfDestruct"}, {}},
        {"ShopItemsList/Element/Text", "TextNode", {}, {}},
        {"ShopItemsList/Element/Image", "SpriteNode", {}, {}},
        {"ShopItemsList/PrevButton", "ControlNode", {}, {"Normal", "NormalHover"}},
        {"ShopItemsList/NextButton", "ControlNode", {}, {"Normal", "NormalHover"}},
        {"Shop_Item1Button", "", {}, looks},
        {"Shop_Item1RButton", "", {}, looks},
        {"Shop_Item2Button", "", {}, looks},
        {"Shop_Item2RButton", "", {}, looks},
    };
    const XmlElement templates = archive.xml(kTemplates).root;
    expectTemplateParts(templates, parts);
    // Each look has the caption and picture places of a button's look.
    for (const std::string look :
         {"Shop_Item1Button", "Shop_Item1RButton", "Shop_Item2Button", "Shop_Item2RButton"}) {
        for (const auto& [part, kind] : {std::pair{"Text", "TextNode"}, {"Image", "SpriteNode"}}) {
            const XmlElement* child = findPath(templates, look + "/" + part);
            EXPECT_TRUE(child && isKindOf(child->attribute("Type"), kind)) << look << " " << part;
        }
    }
    // The shop slides elements by the key values of "SlideL"'s first action, offsets from
    // each element's place: a key-frame action of positions.
    const XmlElement* element = findPath(templates, "ShopItemsList/Element");
    const XmlElement* slide = nullptr;
    forEachElement(*element, [&](const XmlElement& node) {
        if (node.name == "State" && node.attribute("Name") == "SlideL")
            slide = &node;
    });
    ASSERT_TRUE(slide && !slide->children.empty());
    const XmlElement& action = slide->children.front();
    EXPECT_EQ(action.attribute("Type"), "KeyFrame");
    ASSERT_FALSE(action.children.empty());
    EXPECT_EQ(action.children.front().children.front().name, "vector3d");
}

// The two looks of a map level button, with the star the button binds and the map lets appear.
TEST_F(SceneContentTest, TheMapButtonTemplatesHaveTheirCaptionAndStar) {
    const TemplatePart parts[] = {
        {"MapButton/Text", "TextNode", {}, {}},
        {"MapButton/Star", "SpriteNode", {"Appear"}, {}},
        {"MapButtonCurrent/Text", "TextNode", {}, {}},
        {"MapButtonCurrent/Star", "SpriteNode", {"Appear"}, {}},
    };
    expectTemplateParts(archive.xml(kTemplates).root, parts);
}

// The map's movers: classes that leave the map at the end of their path, with the states their
// classes set on their children.
TEST_F(SceneContentTest, TheMapTrafficTemplatesAreMoversWithTheirStates) {
    const std::vector<std::string> scooter = {"Color1", "Color2", "Color3", "-2",
                                              "-1",     "0",      "1",      "2"};
    const std::vector<std::string> plane = {"1", "2", "3", "4", "5", "6", "7", "8"};
    std::vector<std::string> human = {"Right", "RightUp",  "Up",   "LeftUp",
                                      "Left",  "LeftDown", "Down", "RightDown"};
    for (size_t i = 0; i < 8; ++i) {
        human.push_back(human[i] + "Stand");
    }
    const TemplatePart parts[] = {
        {"MapScooter1", "BaseNode", {}, scooter, "GScooterNode"},
        {"MapScooter2", "BaseNode", {}, scooter, "GScooterNode"},
        {"MapAirplane", "BaseNode", {}, plane, "GPlaneNode"},
        {"Human1", "BaseNode", {}, {}, "GPedestrianNode"},
        {"Human2", "BaseNode", {}, {}, "GPedestrianNode"},
        {"Human3", "BaseNode", {}, {}, "GPedestrianNode"},
        {"Human4", "BaseNode", {}, {}, "GPedestrianNode"},
        {"Human5", "BaseNode", {}, {}, "GPedestrianNode"},
        {"Human6", "BaseNode", {}, {}, "GPedestrianNode"},
        {"Human1/Body", "SpriteNode", human, {}},
        {"Human2/Body", "SpriteNode", human, {}},
        {"Human3/Body", "SpriteNode", human, {}},
        {"Human4/Body", "SpriteNode", human, {}},
        {"Human5/Body", "SpriteNode", human, {}},
        {"Human6/Body", "SpriteNode", human, {}},
        {"MapCar1", "BaseNode", {}, {}, "GCarNode"},
        {"MapCar2", "BaseNode", {}, {}, "GCarNode"},
        {"MapCar3", "BaseNode", {}, {}, "GCarNode"},
        {"MapCar1/Body", "SpriteNode", {"Rotation"}, {}},
        {"MapCar2/Body", "SpriteNode", {"Rotation"}, {}},
        {"MapCar3/Body", "SpriteNode", {"Rotation"}, {}},
    };
    const XmlElement templates = archive.xml(kTemplates).root;
    expectTemplateParts(templates, parts);
    // A car's heading shows as the key of its frame: 36 keys, 10 ms apart.
    for (const char* car : {"MapCar1/Body", "MapCar2/Body", "MapCar3/Body"}) {
        std::vector<std::string> times;
        forEachElement(*findPath(templates, car), [&](const XmlElement& element) {
            if (element.name == "KeyFrame") {
                times.push_back(element.attribute("t"));
            }
        });
        ASSERT_EQ(times.size(), 36u) << car;
        EXPECT_EQ(times[0], "0") << car;
        EXPECT_EQ(std::count(times.begin(), times.end(), "10"), 35) << car;
    }
}

TEST_F(SceneContentTest, TheLevelSceneHasThePartsItAndItsLocationsBind) {
    const XmlElement level = archive.xml("levels/setting1/Level.qscn").root;
    EXPECT_EQ(level.attribute("ClassOverride"), "GGameLevelScene");
    EXPECT_EQ(level.attribute("Type"), "SceneNode");
    for (const char* path : {"Bg", "CharactersNode", "EffectsHolder", "AppearLocations"}) {
        EXPECT_TRUE(findPath(level, path)) << path;
    }
    const std::set<std::string> closing = childStateNames(*findPath(level, "Bg"));
    EXPECT_EQ(closing.count("Opened") + closing.count("Closed"), 2u);
    for (const char* path :
         {"AppearLocations/Hero", "AppearLocations/Queue1", "AppearLocations/Queue2",
          "AppearLocations/Queue3", "LocationsNode/DancePad1", "LocationsNode/DancePad2"}) {
        const XmlElement* location = findPath(level, path);
        ASSERT_TRUE(location) << path;
        EXPECT_EQ(location->attribute("ClassOverride"), "GLocationNode") << path;
        EXPECT_TRUE(isControlType(location->attribute("Type"))) << path;
    }
    // Two pads take the middle two of four places.
    ASSERT_TRUE(findPath(level, "DancePadsLayout4"));
    EXPECT_EQ(childNodes(*findPath(level, "DancePadsLayout4")).size(), 4u);

    const XmlElement templates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    const TemplatePart parts[] = {
        {"DancePad1/Color", "", {"Blink"}, {"Neutral", "Colored"}},
        {"DancePad1/Indicators/ColorMatch",
         "",
         {"Appear", "Disappear"},
         {"Anim2", "Anim3", "Anim4", "Anim"}},
        {"DancePad1/Indicators/ColorMatch/Text", "TextNode", {}, {}},
        {"DancePad1/Indicators/ColorMatch/Color", "", {}, {}},
        {"DancePad1/QueueIndex/Img", "", {}, {}},
        {"DancePad1/RechargeProgress", "ProgressBarNode", {}, {}},
        {"DancePad1/CapacityIcons", "", {}, {}},
        {"CapacityIcons", "", {}, {"Capacity0", "Capacity1", "Capacity2", "Capacity3"}},
    };
    expectTemplateParts(templates, parts);
}

// The super pad's template: the panel of four pad buttons, lit by the states of their parts, with
// its time pie; the answer slots with a state for each letter; the lights and pads; the panels
// coming and going with the challenge.
TEST_F(SceneContentTest, TheSuperPadTemplateHasItsButtonsAnswersLightsAndPads) {
    const XmlElement templates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    const std::vector<std::string> challenge = {"MiniAppear", "MiniDisappear"};
    const TemplatePart parts[] = {
        {"SuperPad1/Buttons", "ControlNode", challenge, {}},
        {"SuperPad1/Buttons/Up", "ControlNode", {}, {"MakeActive", "MakeNormal"}},
        {"SuperPad1/Buttons/Right", "ControlNode", {}, {"MakeActive", "MakeNormal"}},
        {"SuperPad1/Buttons/Down", "ControlNode", {}, {"MakeActive", "MakeNormal"}},
        {"SuperPad1/Buttons/Left", "ControlNode", {}, {"MakeActive", "MakeNormal"}},
        {"SuperPad1/Buttons/Progress", "", {}, {}, "GEllipseSectorNode"},
        {"SuperPad1/Answers", "", challenge, {"Q", "U", "R", "D", "L", "W", "Appear"}},
        {"SuperPad1/Lights", "", {}, {"Idle", "Action"}},
        {"SuperPad1/Pads", "", {}, {"Off", "Action"}},
        {"SuperPad1/QueueIndex/Img", "", {}, {}},
    };
    expectTemplateParts(templates, parts);
    // The arrow numbers are the buttons' order: up, right, down, left.
    std::vector<std::string> order;
    for (const XmlElement* child : childNodes(*findPath(templates, "SuperPad1/Buttons")))
        order.push_back(nodeName(*child));
    EXPECT_EQ(order, (std::vector<std::string>{"Up", "Right", "Down", "Left", "Progress"}));
    EXPECT_EQ(childNodes(*findPath(templates, "SuperPad1/Answers")).size(), 3u);
}

// The milliseconds the longest key-frame animator of the children's state takes to its last key.
int32_t childStateDuration(const XmlElement& node, const std::string& name) {
    int32_t longest = 0;
    for (const XmlElement* child : childNodes(node)) {
        forEachElement(*child, [&](const XmlElement& state) {
            if (state.name != "State" || state.attribute("Name") != name) {
                return;
            }
            for (const XmlElement& animator : state.children) {
                int32_t total = 0;
                for (const XmlElement& key : animator.children) {
                    total += key.name == "KeyFrame" ? std::stoi(key.attribute("t")) : 0;
                }
                longest = std::max(longest, total);
            }
        });
    }
    return longest;
}

// What a client finds in the level's templates: its own template by the name its type gives,
// with the animations it plays on its children, and the hearts, wish icons, action panels, heart
// flash and name label it clones.
TEST_F(SceneContentTest, TheClientTemplatesHaveThePartsTheClientsBind) {
    const XmlElement templates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    const std::vector<std::string> moves = {"Start",        "MoveRight",  "MoveRightUp",
                                            "MoveUp",       "MoveLeftUp", "MoveLeft",
                                            "MoveLeftDown", "MoveDown",   "MoveRightDown"};
    std::vector<std::string> animations = {
        "Stand",      "Less2Hearts", "Stand1",     "Less2Hearts1", "Less2HeartsTo", "Happy",
        "Upset",      "WantItem",    "HappyMusic", "MouseOver",    "MouseOverKill", "GoodBye",
        "GoodByeSad", "Dance1",      "Dance2",     "Dance3"};
    animations.insert(animations.end(), moves.begin(), moves.end());
    const std::vector<std::string> hearts = {"Full", "Medium", "Empty"};
    const TemplatePart parts[] = {
        {"Dancer", "ControlNode", {}, animations, "GClientNode"},
        {"Dancer/Body", "SpriteNode", {}, {}},
        {"Dancer/Color", "SpriteNode", {}, {}},
        {"ClientHearts/Heart1", "SpriteNode", hearts, {}},
        {"ClientHearts/Heart6", "SpriteNode", hearts, {}},
        {"Heart051Effect",
         "",
         {},
         {"Full", "Medium", "Empty", "SelfDestruct"},
         "GSelfDestructNode"},
        {"Icons", "ControlNode", {}, {"Appear"}},
        {"Icons/Icon/Icon", "SpriteNode", {}, {}},
        {"Icons/Icon/ActionProgress2", "", {}, {}, "GSectorSpriteNode"},
        {"Icons/Item", "", {"Appear"}, {"HLOn", "HLOff", "HLChange"}},
        {"Icons/Item/Icon", "SpriteNode", {}, {}},
        {"Icons/Busy", "", {}, {}},
        {"Icons/WantBusy", "", {}, {}},
        {"Icons/WantClick", "", {}, {}},
        {"Icons/Progress", "ProgressBarNode", {}, {}},
        {"ActionPanel2/Glow", "", {}, {}},
        {"ActionPanel2/Button2/Action", "SpriteNode", {}, {}},
        {"ActionPanel3/Glow", "", {}, {}},
        {"ActionPanel3/Button3/Action", "SpriteNode", {}, {}},
        {"ClientName", "TextNode", {}, {}},
    };
    expectTemplateParts(templates, parts);

    const XmlElement* client = findChild(templates, "Dancer");
    ASSERT_TRUE(client);
    for (const char* goodbye : {"GoodBye", "GoodByeSad"}) {
        EXPECT_GT(childStateDuration(*client, goodbye), 0) << "the client is seen to leave";
    }
    const XmlElement* body = findChild(*client, "Body");
    EXPECT_NE(property(*body, "Bounds"), "");
    EXPECT_NE(property(*body, "CanBeHit"), "false") << "the player picks the client up by it";
    // The wish icons are the first children, in the order of the wishes they show.
    const std::vector<const XmlElement*> icons = childNodes(*findChild(templates, "Icons"));
    ASSERT_GE(icons.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(nodeName(*icons[i]), "Icon") << i;
    }
    for (const auto& [panel, buttons] : {std::pair{"ActionPanel2", 2}, {"ActionPanel3", 3}}) {
        int found = 0;
        for (const XmlElement* child : childNodes(*findChild(templates, panel))) {
            found += nodeName(*child).rfind("Button", 0) == 0 &&
                     isKindOf(child->attribute("Type"), "ButtonNode");
        }
        EXPECT_EQ(found, buttons) << panel;
    }
}

// The hero's template: its moves and stands by what its two hands hold, two hands, and the pie
// of its service.
TEST_F(SceneContentTest, TheHeroTemplateHasItsAnimationsHandsAndProgress) {
    const XmlElement templates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    std::vector<std::string> animations = {"Start"};
    for (const char* suffix : {"", "L", "R", "LR"}) {
        animations.push_back(std::string("Stand") + suffix);
        for (const char* direction :
             {"Right", "RightUp", "Up", "LeftUp", "Left", "LeftDown", "Down", "RightDown"})
            animations.push_back(std::string("Move") + direction + suffix);
    }
    const TemplatePart parts[] = {
        {"Hero1", "ControlNode", {}, animations, "GHeroNode"},
        {"Hero1/CarriedIcons/R", "SpriteNode", {}, {}},
        {"Hero1/CarriedIcons/L", "SpriteNode", {}, {}},
        {"Hero1/ProgressIcon/Icon", "SpriteNode", {}, {}},
        {"Hero1/ProgressIcon/ActionProgress1", "", {}, {}, "GSectorSpriteNode"},
    };
    expectTemplateParts(templates, parts);
    EXPECT_EQ(childNodes(*findPath(templates, "Hero1/CarriedIcons")).size(), 2u);
}

// The looks of the client types with abilities: the nodes their abilities switch, the cloud a
// talker sends, the orbiting hearts that fly to a neighbour, and the heart they are made of.
TEST_F(SceneContentTest, TheAbilityClientTemplatesHaveThePartsTheirAbilitiesUse) {
    const XmlElement templates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    const std::vector<std::string> toggles = {"AbilityActive", "AbilityInactive"};
    const TemplatePart parts[] = {
        {"Waver", "ControlNode", {}, {"Stand", "GoodBye"}, "GClientNode"},
        {"Waver/WaverAbility", "BaseNode", {}, toggles},
        {"Waver/WaverAbility/CloudEffect",
         "BaseNode",
         {"MoveTo"},
         {"SelfDestruct"},
         "GSelfDestructNode"},
        {"StreetDancer/Ability", "BaseNode", {}, toggles},
        {"HipHop/Ability/Hearts", "BaseNode", {}, {}, "GHipHopHeartsNode"},
        {"Tecktonik/Ability/Hearts", "BaseNode", {}, {}, "GHipHopHeartsNode"},
        {"Cwalk/CWalkAbility", "BaseNode", {}, toggles},
        {"UrbanDancer/AbilityBlocker", "BaseNode", {}, toggles},
        {"AbilityHeart", "SpriteNode", {"Delivering", "SelfDestruct"}, {}},
    };
    expectTemplateParts(templates, parts);
    for (const char* type : {"HipHop", "Tecktonik"}) {
        const XmlElement* hearts = findPath(templates, std::string(type) + "/Ability/Hearts");
        ASSERT_TRUE(hearts);
        EXPECT_EQ(property(*hearts, "ObjTemplateID"), "AbilityHeart") << type;
    }
    // The cloud flies along the two keys of its first animator.
    const XmlElement* cloud = findPath(templates, "Waver/WaverAbility/CloudEffect");
    int32_t keys = 0;
    forEachElement(*cloud, [&keys](const XmlElement& element) {
        keys += element.name == "KeyFrame" &&
                element.attribute("Value0").find(';') != std::string::npos;
    });
    EXPECT_EQ(keys, 2);
}

// Whether the node's state holds a key-frame animator "Move" with a key, which the sandwich
// machine points at the pick.
bool hasMoveKey(const XmlElement& node, const std::string& name) {
    bool found = false;
    forEachElement(node, [&](const XmlElement& state) {
        if (state.name != "State" || state.attribute("Name") != name)
            return;
        for (const XmlElement& animator : state.children) {
            if (animator.attribute("Type") != "KeyFrame" || animator.attribute("Name") != "Move")
                continue;
            for (const XmlElement& key : animator.children)
                found = found || key.name == "KeyFrame";
        }
    });
    return found;
}

// The machines' templates: the looks a converter shows with its product, the trash can's lid,
// the drinks machine's three buttons in their order and its selector, and the sandwich
// machines' pick buttons, cursor markers and product icon. Only the first sandwich machine has
// a background, which makes it the main one of the linked pair.
TEST_F(SceneContentTest, TheMachineTemplatesHaveThePartsTheMachinesBind) {
    const XmlElement templates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    const TemplatePart parts[] = {
        {"EnergyDrinkMachine1",
         "",
         {},
         {"WantRecharge", "RechargingEnergyDrink", "RechargeEndedEnergyDrink"}},
        {"EnergyDrinkMachine1/RechargeProgress", "ProgressBarNode", {}, {}},
        {"TrashCan1", "", {}, {"TrashOff", "Trash0", "Trash1", "Trash2"}},
        {"TrashCan1/QueueIndex/Img", "", {}, {}},
        {"DrinksMachine1/Buttons", "ControlNode", {}, {}},
        {"DrinksMachine1/Selector", "", {}, {}},
        {"DrinksMachine1/CapacityIcons", "", {}, {}},
        {"SandwichMachine1/Bg", "", {}, {}},
    };
    expectTemplateParts(templates, parts);
    std::vector<std::string> drinks;
    for (const XmlElement* button : childNodes(*findPath(templates, "DrinksMachine1/Buttons"))) {
        drinks.push_back(nodeName(*button));
        EXPECT_TRUE(isControlType(button->attribute("Type"))) << drinks.back();
    }
    EXPECT_EQ(drinks, (std::vector<std::string>{"Drink1", "Drink2", "Drink3"}));

    for (const std::string machine : {"SandwichMachine1", "SandwichMachine2"}) {
        const XmlElement* root = findChild(templates, machine);
        ASSERT_TRUE(root) << machine;
        for (const char* part : {"Body", "Selector", "CursorArea"})
            EXPECT_TRUE(findChild(*root, part)) << machine << " " << part;
        const XmlElement* icon = findChild(*root, "Icon");
        EXPECT_TRUE(icon && icon->attribute("Type") == "SpriteNode") << machine;
        const XmlElement* buttons = findChild(*root, "Buttons");
        ASSERT_TRUE(buttons && isControlType(buttons->attribute("Type"))) << machine;
        const XmlElement* make = findChild(*buttons, "SandwichMake");
        EXPECT_TRUE(make && isControlType(make->attribute("Type"))) << machine;
        const XmlElement* cursor = findChild(*root, "Cursor");
        ASSERT_TRUE(cursor) << machine;
        const std::set<std::string> showing = stateNames(*cursor);
        EXPECT_EQ(showing.count("OnAppear") + showing.count("OnDisappear"), 2u) << machine;
        for (const auto& [side, markerName] : {std::pair{'L', "Glass"}, std::pair{'R', "Fruit"}}) {
            const XmlElement* marker = findChild(*cursor, markerName);
            ASSERT_TRUE(marker) << machine << " " << markerName;
            EXPECT_EQ(stateNames(*marker).count("0"), 1u) << machine << " " << markerName;
            for (int pick = 1; pick <= 3; ++pick) {
                const std::string name = "Sandwich" + std::to_string(pick) + side;
                const XmlElement* button = findChild(*buttons, name);
                ASSERT_TRUE(button && isControlType(button->attribute("Type")))
                    << machine << " " << name;
                const std::set<std::string> looks = childStateNames(*button);
                EXPECT_EQ(looks.count("Select") + looks.count("UnSelect"), 2u)
                    << machine << " " << name;
                EXPECT_TRUE(hasMoveKey(*marker, name)) << machine << " " << name;
            }
        }
    }
    EXPECT_FALSE(findPath(templates, "SandwichMachine2/Bg"));
}

// The later kinds' templates: the parts their locations bind, the staff's progress pie, the
// client types' parts, and the effects each kind plays, of their classes: the queue box's
// notes shown by its action, the boombox's hearts gone while it recharges and each flying on
// a magnet, and the speed-up arrows spawned from the pads, table and fitness place between
// the client's speed-up and the end of its service.
TEST_F(SceneContentTest, TheLaterKindsTemplatesHaveTheirPartsAndEffects) {
    const XmlElement templates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    const std::vector<std::string> speedUp = {"SpeedUpBegin", "SpeedUpEnd"};
    const std::vector<std::string> colors = {"Neutral", "Colored"};
    const TemplatePart parts[] = {
        {"MassageTable1", "", {}, {"Action", "StopAction"}},
        {"MassageTable1/Color", "", {}, colors},
        {"FitnessPlace1/Color", "", {}, colors},
        {"WaterCooler1/CapacityIcons", "", {}, {}},
        {"TowelShelf1/CapacityIcons", "", {}, {}},
        {"ServeSpeedUp1/RechargeProgress", "ProgressBarNode", {}, {}},
        {"QueueBox1/QueueIndex/Img", "SpriteNode", {}, {}},
        {"Boombox1/QueueIndex/Img", "SpriteNode", {}, {}},
        {"Masseur/ProgressIcon/ActionProgress1", "", {}, {}, "GSectorSpriteNode"},
        {"FitnessTrainer/ProgressIcon/Icon", "SpriteNode", {}, {}},
        {"Masseur", "ControlNode", {}, {"Stand", "Stand1", "Start", "MoveLeft"}, "GStaffNode"},
        {"FitnessTrainer", "ControlNode", {}, {"Stand", "Stand1", "MoveUp"}, "GStaffNode"},
        {"Athlete", "ControlNode", {}, {"Stand", "GoodBye", "Happy", "Upset"}, "GClientNode"},
        {"Relaxer", "ControlNode", {}, {"Stand", "GoodBye", "Happy", "Upset"}, "GClientNode"},
        {"QueueBox1/Note1", "BaseNode", {"Action"}, {}, "GQueueBoxEffectNode"},
        {"QueueBox1/Note5/Note", "SpriteNode", {}, {}},
        {"Boombox1/Hearts",
         "BaseNode",
         {"Recharging", "RechargeEnded"},
         {},
         "GBoomboxHeartsEffectNode"},
        {"BoomboxHeart", "SpriteNode", {"Delivering", "SelfDestruct"}, {}},
        {"DancePad1/SpeedUpIcons", "SpawnerNode", speedUp, {}},
        {"MassageTable1/SpeedUpIcons", "SpawnerNode", speedUp, {}},
        {"FitnessPlace1/SpeedUpIcons", "SpawnerNode", speedUp, {}},
        {"SpeedUpIcon", "BaseNode", {}, {}, "GSpeedUpNode"},
        {"SpeedUpIcon/Icon", "SpriteNode", {}, {}},
    };
    expectTemplateParts(templates, parts);
    // Resting notes start only when shown, and the boombox's swarm and the spawners name the
    // templates above.
    for (const XmlElement* note : childNodes(*findChild(templates, "QueueBox1"))) {
        if (note->attribute("ClassOverride") == "GQueueBoxEffectNode") {
            EXPECT_EQ(property(*note, "Visible"), "false") << nodeName(*note);
        }
    }
    EXPECT_EQ(property(*findPath(templates, "Boombox1/Hearts"), "ObjTemplateID"), "BoomboxHeart");
    for (const char* location : {"DancePad1", "MassageTable1", "FitnessPlace1"}) {
        const XmlElement* spawner = findPath(templates, std::string(location) + "/SpeedUpIcons");
        EXPECT_EQ(property(*spawner, "ObjTemplate"), "SpeedUpIcon") << location;
        EXPECT_EQ(property(*spawner, "Enabled"), "false") << location;
    }
}

// Mouse and keyboard events travel only through controls, so a control below a plain node
// would never see them. A template's own node is replaced by its control's template root.
TEST_F(SceneContentTest, ControlsSitBelowControlsOnly) {
    for (const std::string& file : sceneFiles()) {
        const XmlElement root = archive.xml(file).root;
        const bool collection = root.attribute("Type") == "TemplateCollectionNode";
        std::function<void(const XmlElement&, bool, const std::string&)> walk =
            [&](const XmlElement& node, bool reachable, const std::string& path) {
                const bool control = isControlType(node.attribute("Type"));
                if (control) {
                    EXPECT_TRUE(reachable) << file << ": " << path << " gets no input";
                }
                for (const XmlElement* child : childNodes(node)) {
                    walk(*child, reachable && control, path + "/" + nodeName(*child));
                }
            };
        if (collection) {
            for (const XmlElement* model : childNodes(root)) {
                for (const XmlElement* child : childNodes(*model)) {
                    walk(*child, true, nodeName(*model) + "/" + nodeName(*child));
                }
            }
        } else {
            walk(root, true, nodeName(root));
        }
    }
}

// The gallery tells an award's text by the node's place among its siblings and its look by
// the node's name, so the two must agree.
TEST_F(SceneContentTest, TheAwardNodesStandInTheirOrderWithTheirThreeLooks) {
    const XmlElement root = archive.xml("scenes/AwardsScene.qscn").root;
    const XmlElement* awards = findPath(root, "Scene/AchievementsNode");
    ASSERT_TRUE(awards);
    const std::vector<const XmlElement*> nodes = childNodes(*awards);
    ASSERT_EQ(nodes.size(), 17u);
    for (size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(nodeName(*nodes[i]), "Achievement_" + std::to_string(i + 1));
        const std::set<std::string> looks = stateNames(*nodes[i]);
        for (const char* look : {"Off", "FirstOn", "On"}) {
            EXPECT_EQ(looks.count(look), 1u) << nodeName(*nodes[i]) << " " << look;
        }
    }
}

// Every comic has its buttons, its dark background and two to four parts whose children take
// the parts' states; the text boxes take theirs, and every kind of box is used.
TEST_F(SceneContentTest, ComicsHaveTheirPartsBoxesAndStates) {
    const std::set<std::string> kinds = {"TextBg", "TextBgShowAtStart", "TextBgNoWait",
                                         "TextBgNoDisappear"};
    std::set<std::string> used;
    bool partWithoutBg = false;
    for (int comic = 1; comic <= 4; ++comic) {
        const std::string file = "scenes/ComicsScene" + std::to_string(comic) + ".qscn";
        const XmlElement root = archive.xml(file).root;
        const XmlElement* dark = findPath(root, "Scene/DarkBg");
        ASSERT_TRUE(dark) << file;
        EXPECT_EQ(stateNames(*dark), (std::set<std::string>{"OnAppear", "OnDisappear"})) << file;
        const XmlElement* replay = findPath(root, "Scene/ReplayButton");
        ASSERT_TRUE(replay && isKindOf(replay->attribute("Type"), "ButtonNode")) << file;
        EXPECT_EQ(stateNames(*replay).count("OnAppear"), 1u) << file;
        const XmlElement* next = findPath(root, "Scene/NextButton");
        EXPECT_TRUE(next && isKindOf(next->attribute("Type"), "ButtonNode")) << file;
        const XmlElement* parts = findPath(root, "Scene/Parts");
        ASSERT_TRUE(parts) << file;
        const std::vector<const XmlElement*> partNodes = childNodes(*parts);
        EXPECT_GE(partNodes.size(), 2u) << file;
        EXPECT_LE(partNodes.size(), 4u) << file;
        for (const XmlElement* part : partNodes) {
            for (const XmlElement* child : childNodes(*part)) {
                for (const char* state : {"OnAppear", "OnDisappear", "Unhide"}) {
                    EXPECT_EQ(stateNames(*child).count(state), 1u)
                        << file << ": " << nodeName(*part) << "/" << nodeName(*child) << " "
                        << state;
                }
            }
            const XmlElement* bg = findChild(*part, "Bg");
            partWithoutBg = partWithoutBg || bg == nullptr;
            for (const XmlElement* box : bg ? childNodes(*bg) : std::vector<const XmlElement*>()) {
                if (kinds.count(nodeName(*box)) == 0) {
                    continue;
                }
                used.insert(nodeName(*box));
                EXPECT_EQ(stateNames(*box), (std::set<std::string>{"OnAppear", "OnDisappear"}))
                    << file << ": " << nodeName(*part) << "/" << nodeName(*box);
            }
        }
    }
    EXPECT_EQ(used, kinds);
    EXPECT_TRUE(partWithoutBg);
}

// The effect nodes' names: a spawner's templates, an orbiting swarm's and a bird's template in
// the collection of the file's setting or of the menus (the bird's with its "Body"), and a
// circular mover's child among its own children.
TEST_F(SceneContentTest, EffectNodesNameTemplatesAndChildrenThatExist) {
    int named = 0;
    for (const std::string& file : sceneFiles()) {
        const XmlElement templates = archive.xml(templatesOf(file)).root;
        forEachElement(archive.xml(file).root, [&](const XmlElement& node) {
            if (node.name != "SceneNode") {
                return;
            }
            const std::string where = file + " " + nodeName(node);
            std::string pieces =
                property(node, "ObjTemplate") + ";" + property(node, "ObjTemplateID") + ";";
            for (size_t end = pieces.find(';'); end != std::string::npos; end = pieces.find(';')) {
                const std::string name = pieces.substr(0, end);
                pieces.erase(0, end + 1);
                if (!name.empty()) {
                    EXPECT_TRUE(findChild(templates, name)) << where << " spawns " << name;
                    ++named;
                }
            }
            const std::string bird = property(node, "BirdTemplateID");
            if (!bird.empty()) {
                EXPECT_TRUE(findPath(templates, bird + "/Body")) << where << " flies " << bird;
                ++named;
            }
            const std::string movable = property(node, "MovableName");
            if (!movable.empty()) {
                EXPECT_TRUE(findChild(node, movable)) << where << " moves " << movable;
                ++named;
            }
        });
    }
    EXPECT_GE(named, 4);
}

namespace {

// The last key frame's value of the state's animators that the filter takes; empty when none.
std::string lastKeyOf(const XmlElement& node, const std::string& state,
                      const std::function<bool(const XmlElement&)>& takes) {
    std::string last;
    forEachElement(node, [&](const XmlElement& element) {
        if (element.name != "State" || element.attribute("Name") != state) {
            return;
        }
        for (const XmlElement& animator : element.children) {
            if (animator.name != "Animator" || !takes(animator)) {
                continue;
            }
            for (const XmlElement& key : animator.children) {
                if (key.name == "KeyFrame") {
                    last = key.attribute("Value0");
                }
            }
        }
    });
    return last;
}

std::function<bool(const XmlElement&)> animating(const std::string& name) {
    return [name](const XmlElement& animator) { return findProperty(animator, name) != nullptr; };
}

std::function<bool(const XmlElement&)> named(const std::string& name) {
    return [name](const XmlElement& animator) { return animator.attribute("Name") == name; };
}

} // namespace

// The in-level screen's fade ends at opaque black, which starts the level again; its pop-ups
// and money effects go by themselves and have the parts the screen fills and slides.
TEST_F(SceneContentTest, TheInLevelScreenFadesAndItsEffectsHaveTheirParts) {
    const XmlElement screen = archive.xml("scenes/GamePlayScene.qscn").root;
    const XmlElement* dark = findPath(screen, "Scene/DarkFg");
    ASSERT_TRUE(dark);
    EXPECT_EQ(lastKeyOf(*dark, "RestartBefore", animating("TintColor")), "ff000000");
    EXPECT_EQ(lastKeyOf(*dark, "RestartAfter", animating("TintColor")), "00000000");

    const XmlElement templates = archive.xml(kTemplates).root;
    const XmlElement levelTemplates = archive.xml("levels/setting1/TemplateCollection.qscn").root;
    for (const char* popup : {"GoalText", "ExpertText", "MasterText"}) {
        const XmlElement* node = findChild(templates, popup);
        ASSERT_TRUE(node) << popup;
        EXPECT_EQ(node->attribute("ClassOverride"), "GSelfDestructNode") << popup;
        EXPECT_FALSE(property(*node, "DefaultState").empty()) << popup;
    }
    struct Effect {
        const XmlElement* collection;
        const char* name;
    };
    for (const Effect& effect :
         {Effect{&templates, "SwapText"}, Effect{&levelTemplates, "MoneyEffect"},
          Effect{&levelTemplates, "CMEffect"}, Effect{&levelTemplates, "ChainEffect"}}) {
        const XmlElement* node = findChild(*effect.collection, effect.name);
        ASSERT_TRUE(node) << effect.name;
        EXPECT_EQ(node->attribute("ClassOverride"), "GSelfDestructNode") << effect.name;
        const XmlElement* holder = findChild(*node, "Holder");
        ASSERT_TRUE(holder) << effect.name;
        EXPECT_TRUE(findChild(*holder, "Text")) << effect.name;
        EXPECT_TRUE(findChild(*holder, "Money")) << effect.name;
        // A slide ends back in place once the effect has faded, so a slide stopped at once
        // (which jumps to its end) moves nothing.
        for (const char* slide : {"Left", "Right"}) {
            EXPECT_EQ(lastKeyOf(*holder, "SelfDestruct", named(slide)), "0;0;0")
                << effect.name << " " << slide;
        }
    }
    const XmlElement* spawner = findChild(templates, "MoneySpawnerEffect");
    ASSERT_TRUE(spawner);
    const std::vector<const XmlElement*> coins = childNodes(*spawner);
    ASSERT_FALSE(coins.empty());
    for (const XmlElement* coin : coins) {
        EXPECT_EQ(coin->attribute("ClassOverride"), "GClientMoneyEffectNode");
        EXPECT_EQ(stateNames(*coin).count("SelfDestruct"), 1u);
    }
}
