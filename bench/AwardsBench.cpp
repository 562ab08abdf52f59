// The awards gallery opened as the main menu opens it, until its first frame is drawn: the
// scene file handed out (a copy of the cached tree), the switch, the gallery's binding and the
// refresh of its 17 awards, and the frame. Set beside the same file opened as the engine's plain
// nodes (the game's classes not registered), so what the screen adds shows as the difference. The
// game runs as the tests run it: scripted window layer and Direct3D 9 runtime, OpenAL-soft on
// its null output.
#include <benchmark/benchmark.h>

#include "engine/core/RefPointer.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameClassRegistration.h"
#include "tests/game/app/GameHarness.h"

namespace {

// An empty screen, arrived, in a game with a player and the menus' templates, from which the
// gallery opens as the main menu opens it; none when the content lacks the templates. The menu
// itself would differ between the cases (its effect nodes are game classes too).
CRefPointer<SceneNode> openEmptyScreen(GameHarness& game) {
    game.player();
    CContentManager& content = *game.application().getContentManager();
    const CRefPointer<CContent> templates =
        content.load(contentType("snod"), u"scenes/TemplateCollection.qscn", true);
    auto* collection = static_cast<BaseNode*>(templates.get());
    if (collection == nullptr || !collection->isKindOf(TemplateCollectionNode::kTypeId))
        return CRefPointer<SceneNode>();
    SceneManager& manager = *game.application().getSceneManager();
    manager.setTemplateCollection(static_cast<TemplateCollectionNode*>(collection));
    const CRefPointer<SceneNode> screen(
        new SceneNode(CContentKey(&content, u"scenes/Empty.qscn"), nullptr, nullptr));
    manager.openScene(screen.get(), CNameId());
    game.advance(600);
    return screen;
}

void openGallery(benchmark::State& state, bool gameClasses) {
    GameHarness game;
    if (!game.start()) {
        state.SkipWithError("the game does not start");
        return;
    }
    if (gameClasses)
        registerGameClasses();
    // Some awards earned and seen, the rest not: every node gets a look.
    theApplication->getAwardTracker()->loadViewState(u"2;0;2;0;2;0;2;0;2;0;2;0;2;0;2;0;2");
    const CRefPointer<SceneNode> screen = openEmptyScreen(game);
    if (!screen) {
        state.SkipWithError("no templates");
        return;
    }
    for (auto _ : state) {
        SceneNode* gallery = screen->openSceneFile(u"scenes/AwardsScene.qscn", true,
                                                   nameOf("NavFrom"), nameOf("NavTo"));
        // The switch is delivered on the next update, and the frame drawn after it.
        game.advance(20);
        state.PauseTiming();
        if (gallery == nullptr) {
            state.SkipWithError("no gallery");
            return;
        }
        // A scene still coming in cannot be left.
        game.advance(600);
        gallery->navigateBack(0, CNameId(), CNameId());
        game.advance(600);
        // The scripted Direct3D runtime writes down every call it takes.
        game.direct3D().log.clear();
        state.ResumeTiming();
    }
}

void AwardsGalleryPlain(benchmark::State& state) {
    openGallery(state, false);
}

void AwardsGalleryVantor(benchmark::State& state) {
    openGallery(state, true);
}

BENCHMARK(AwardsGalleryVantor)->Name("AwardsGalleryOpen/vantor")->Unit(benchmark::kMillisecond);
BENCHMARK(AwardsGalleryPlain)->Name("AwardsGalleryOpen/plain")->Unit(benchmark::kMillisecond);

} // namespace
