#pragma once

#include <cstdint>
#include <string>

#include "engine/core/EngineServices.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneNode.h"
#include "tests/game/screens/ScreenFixture.h"

// Screens the game has not built yet, standing in by their kinds for the screens that the
// results and the in-game menu go back to: the map and the level-loading screen.
class MapStandInScreen : public NodeClass<MapStandInScreen, SceneNode> {
public:
    static constexpr uint32_t kTypeId = 1108;
    static constexpr const char16_t* kTypeName = u"MapStandInScreen";
    using NodeClass::NodeClass;
};

class LoadingStandInScreen : public NodeClass<LoadingStandInScreen, SceneNode> {
public:
    static constexpr uint32_t kTypeId = 1111;
    static constexpr const char16_t* kTypeName = u"LoadingStandInScreen";
    using NodeClass::NodeClass;
};

inline void registerStandInScreens() {
    CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
    factory.registerNodeType(MapStandInScreen::kTypeName, &createNodeOf<MapStandInScreen>);
    factory.registerNodeType(LoadingStandInScreen::kTypeName, &createNodeOf<LoadingStandInScreen>);
}

// A stand-in's scene file: a screen of that class named name, whose "Scene" holds every
// transition state that screens play, each ending at once, so that a test sees which one came.
inline std::string standInSceneXml(const std::string& name, const std::string& gameClass) {
    std::string states;
    for (const char* state : {"NavTo", "NavFrom", "NavBackTo", "NavBackFrom"})
        states += std::string("<State Name=\"") + state + "\"/>";
    return "<SceneNode Type=\"SceneNode\"" +
           (gameClass.empty() ? std::string() : " ClassOverride=\"" + gameClass + "\"") +
           "><Properties><string Name=\"Name\" Value=\"" + name +
           "\"/><vector3d Name=\"Bounds\" Value=\"1024;768;0\"/></Properties><SceneNode "
           "Type=\"ControlNode\"><Properties><string Name=\"Name\" Value=\"Scene\"/>"
           "</Properties><States>" +
           states + "</States></SceneNode></SceneNode>";
}

// The screens a player passes on the way into a level, each over the one before: the main
// menu, the map, the loading screen and the level's screen (a plain scene here), with a
// player who has a profile. Screens of the level then open over the level's screen as the
// game opens them.
class LevelScreensTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        registerStandInScreens();
        write("scenes/TestMap.qscn", standInSceneXml("Map", "MapStandInScreen"));
        write("scenes/TestLoading.qscn", standInSceneXml("Loading", "LoadingStandInScreen"));
        write("scenes/TestPlay.qscn", standInSceneXml("Play", ""));
        game.profiles().addProfile(u"Anna");
        game.profiles().setActiveProfile(0);
        openMenu();
        for (const char16_t* file :
             {u"scenes/TestMap.qscn", u"scenes/TestLoading.qscn", u"scenes/TestPlay.qscn"})
            open(file);
        ASSERT_EQ(currentName(), "Play");
    }

    CProfileParameters& player() { return *game.profiles().getActiveProfile(); }

    // Opened over the level's screen as the level's screen opens it, once it has arrived.
    SceneNode* openOverLevel(const char16_t* file) {
        SceneNode* scene = current()->openSceneFile(file, true, name("NavFrom"), name("NavTo"));
        settle();
        return scene;
    }
};
