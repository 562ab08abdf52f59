#pragma once

#include <benchmark/benchmark.h>

#include "engine/core/RefPointer.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "tests/game/app/GameHarness.h"

// The menus' templates, which the screens' controls take their looks from, as the intro loads
// them; false when the content lacks them.
inline bool loadMenuTemplates(GameHarness& game) {
    CContentManager& content = *game.application().getContentManager();
    const CRefPointer<CContent> templates =
        content.load(contentType("snod"), u"scenes/TemplateCollection.qscn", true);
    auto* collection = static_cast<BaseNode*>(templates.get());
    if (collection == nullptr || !collection->isKindOf(TemplateCollectionNode::kTypeId))
        return false;
    game.application().getSceneManager()->setTemplateCollection(
        static_cast<TemplateCollectionNode*>(collection));
    return true;
}

// An empty screen, arrived, in a game with a player and the menus' templates, from which a
// screen opens as the game's screens open it; none when the content lacks the templates. A
// game screen under it would differ between a run with the game's classes and one without (its
// effect nodes are game classes too).
inline CRefPointer<SceneNode> openEmptyScreen(GameHarness& game) {
    game.player();
    if (!loadMenuTemplates(game))
        return CRefPointer<SceneNode>();
    CContentManager& content = *game.application().getContentManager();
    const CRefPointer<SceneNode> screen(
        new SceneNode(CContentKey(&content, u"scenes/Empty.qscn"), nullptr, nullptr));
    game.application().getSceneManager()->openScene(screen.get(), CNameId());
    game.advance(600);
    return screen;
}

// Each round opens the file over the screen as the game's screens open it, until its first frame
// is drawn: the file handed out (a copy of the cached tree), the switch and the frame; then,
// untimed, it is left again.
inline void timeOpeningOver(benchmark::State& state, GameHarness& game, SceneNode& screen,
                            const char16_t* file) {
    for (auto _ : state) {
        SceneNode* opened = screen.openSceneFile(file, true, nameOf("NavFrom"), nameOf("NavTo"));
        // The switch is delivered on the next update, and the frame drawn after it.
        game.advance(20);
        state.PauseTiming();
        if (opened == nullptr) {
            state.SkipWithError("the file opens no scene");
            return;
        }
        // A scene still coming in cannot be left.
        game.advance(600);
        opened->navigateBack(0, CNameId(), CNameId());
        game.advance(600);
        // The scripted Direct3D runtime writes down every call it takes.
        game.direct3D().log.clear();
        state.ResumeTiming();
    }
}
