// The map as the game runs it on SDL's offscreen window with the OpenGL driver on Mesa's
// llvmpipe: one 20 ms frame (the map's update with its traffic, the movers' ticks and the
// drawing) once half a minute of traffic walks the streets, beside the same map whose traffic
// groups are empty; and the arrival's 40 pedestrians, cloned from their templates and advanced
// along their streets, beside the same arrival without a pedestrian group.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "engine/core/RefPointer.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/SceneManager.h"
#include "game/effects/CarNode.h"
#include "game/effects/PathMovableNode.h"
#include "game/screens/MapScene.h"
#include "tests/game/app/GameOnSdl.h"

namespace {

// The game on SDL with a player in a window, at the main menu, the map opened over it.
GMapScene* openMap(GameHarness& game) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    gameOnSdl() = &game;
    game.settings.registerLibraries = &registerGameOnSdl;
    if (!game.start())
        return nullptr;
    game.player().setBool("FullScreen", false);
    game.player().setBool("ShowTutorialOn", false);
    game.profiles().saveUserProfiles();
    if (!game.start())
        return nullptr;
    useOpenGl(game);
    SceneManager& screens = *game.application().getSceneManager();
    for (int ms = 0;
         ms < 20000 && (screens.getCurrentScene() == nullptr ||
                        screens.getCurrentScene()->getName() != nameOf("MainMenuScene"));
         ms += 100)
        game.advance(100);
    SceneNode* map = screens.getCurrentScene()->openSceneFile(u"scenes/MapScene.qscn", false,
                                                              nameOf("NavFrom"), nameOf("NavTo"));
    if (map == nullptr || !map->isKindOf(GMapScene::kTypeId))
        return nullptr;
    game.advance(1000);
    return static_cast<GMapScene*>(map);
}

// The movers the traffic spawned gone (the waves and birds stay), and no more to come.
void emptyTraffic(GMapScene& map) {
    GMapTraffic& traffic = map.getTraffic();
    for (uint32_t group = 0; group < GMapTraffic::GROUP_COUNT; ++group) {
        BaseNode* parent = traffic.getParent(GMapTraffic::EGroup(group));
        for (uint32_t i = parent != nullptr ? parent->getChildCount() : 0; i-- > 0;) {
            BaseNode* child = parent->getChild(i);
            if (child->isKindOf(GPathMovableNode::kTypeId) || child->isKindOf(GCarNode::kTypeId))
                parent->removeChild(child);
        }
    }
    traffic.bind(nullptr);
}

// The map opened, or the benchmark skipped.
GMapScene* openMapOrSkip(GameHarness& game, benchmark::State& state) {
    GMapScene* map = openMap(game);
    if (map == nullptr) {
        state.SkipWithError("no map");
        gameOnSdl() = nullptr;
    }
    return map;
}

void mapFrame(benchmark::State& state, bool withTraffic) {
    GameHarness game;
    GMapScene* map = openMapOrSkip(game, state);
    if (map == nullptr)
        return;
    game.advance(30000);
    if (!withTraffic)
        emptyTraffic(*map);
    for (auto _ : state)
        game.advance(20);
    game.stop();
    gameOnSdl() = nullptr;
}

void MapFrameWithTraffic(benchmark::State& state) {
    mapFrame(state, true);
}

void MapFrameWithoutTraffic(benchmark::State& state) {
    mapFrame(state, false);
}

void arrival(benchmark::State& state, bool withPedestrians) {
    GameHarness game;
    GMapScene* map = openMapOrSkip(game, state);
    if (map == nullptr)
        return;
    emptyTraffic(*map);
    BaseNode* scene = map->findChild(nameOf("Scene"), 1);
    BaseNode* bg = scene != nullptr ? scene->findChild(nameOf("Bg"), 1) : nullptr;
    BaseNode* human = bg != nullptr ? bg->findChild(nameOf("Human"), 1) : nullptr;
    if (withPedestrians)
        map->getTraffic().bind(bg);
    for (auto _ : state) {
        map->getTraffic().placeInitialPedestrians();
        state.PauseTiming();
        while (human != nullptr && human->getChildCount() != 0)
            human->removeChild(human->getChild(0));
        state.ResumeTiming();
    }
    game.stop();
    gameOnSdl() = nullptr;
}

void MapArrivalWithPedestrians(benchmark::State& state) {
    arrival(state, true);
}

void MapArrivalWithoutPedestrians(benchmark::State& state) {
    arrival(state, false);
}

} // namespace

BENCHMARK(MapFrameWithTraffic)->Unit(benchmark::kMicrosecond);
BENCHMARK(MapFrameWithoutTraffic)->Unit(benchmark::kMicrosecond);
BENCHMARK(MapArrivalWithPedestrians)->Unit(benchmark::kMicrosecond);
BENCHMARK(MapArrivalWithoutPedestrians)->Unit(benchmark::kMicrosecond);
