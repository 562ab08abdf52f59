#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/SceneManager.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/screens/LevelCompletedScene.h"
#include "tests/game/level/LevelHarness.h"

// A day of a level in the level harness with figures for the results screen, and the results
// opened over the level's screen as the level's screen opens them.
namespace level_results {

// 7 s of the day, in which its three clients come in, then the day stands still while the
// money of each component is earned and shown.
inline void playAndEarn(LevelHarness& harness,
                        const float (&money)[GGameLevelScene::kMoneyComponents]) {
    harness.advance(350);
    harness.level().setClientGenerationPaused(true);
    for (int32_t component = 0; component < GGameLevelScene::kMoneyComponents; ++component)
        harness.level().addMoney(money[component], component, CVector3d(), CStringW());
    harness.advance(150);
}

// The clients "1", "2", ... leave the club, the last lost ones without a heart left; false when
// the level has fewer clients.
inline bool clientsLeave(LevelHarness& harness, int served, int lost) {
    GGameLevelScene& level = harness.level();
    std::vector<CRefPointer<GClientNode>> clients;
    for (int i = 1; i <= served + lost; ++i) {
        GClientNode* client = level.findClient(CNameId(CString(i)));
        if (client == nullptr)
            return false;
        clients.push_back(CRefPointer<GClientNode>::share(client));
    }
    for (int i = 0; i < served + lost; ++i) {
        if (i >= served)
            clients[size_t(i)]->addHearts(-100);
        const CRefPointer<CEvent> leave(new GClientLeaveEvent(clients[size_t(i)].get()));
        level.OnEvent(*leave);
    }
    return true;
}

// Loaded, given the level and opened; none when the file is no results screen.
inline CRefPointer<GLevelCompletedScene> openResults(LevelHarness& harness) {
    const CRefPointer<CContent> loaded =
        harness.content().load(contentType("snod"), u"scenes/LevelCompletedScene.qscn", true);
    auto* node = static_cast<BaseNode*>(loaded.get());
    if (node == nullptr || !node->isKindOf(GLevelCompletedScene::kTypeId))
        return nullptr;
    auto* results = static_cast<GLevelCompletedScene*>(node);
    results->setLevel(&harness.level());
    harness.screen().openScene(results, true, CNameId(CString("NavFrom")),
                               CNameId(CString("NavTo")));
    return CRefPointer<GLevelCompletedScene>::share(results);
}

} // namespace level_results
