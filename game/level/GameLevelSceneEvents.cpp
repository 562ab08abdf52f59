#include <cmath>

#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/SceneEvents.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"

// What the level does with the events of its clients and staff, which climb the node tree to
// it.

namespace {

constexpr int32_t kHeartsAward = 13;
constexpr float kFullHearts = 5.0f;

CArray<CNameId> heroCarried(const GGameLevelScene& level) {
    const GHeroNode* hero = level.getHero();
    return hero != nullptr ? hero->getCarried() : CArray<CNameId>();
}

} // namespace

const EventMap& GGameLevelScene::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GGameLevelScene::onPauseGeneration>(),
        eventHook<&GGameLevelScene::onClientState>(),
        eventHook<&GGameLevelScene::onClientSpeedUp>(),
        eventHook<&GGameLevelScene::onClientLeave>(),
        eventHook<&GGameLevelScene::onStaffEvent>(),
        eventHook<&GGameLevelScene::onClientDrag>(),
        eventHook<&GGameLevelScene::onDropTarget>(),
        eventHook<&GGameLevelScene::onLocationState>(),
        eventHook<&GGameLevelScene::OnButtonPressed>(),
        eventHook<&GGameLevelScene::OnSceneSwitch>(),
        eventHook<&GGameLevelScene::OnSceneSwitchDone>(),
    };
    static const EventMap map = buildEventMap(SceneNode::getEventMap(), own);
    return map;
}

bool GGameLevelScene::onPauseGeneration(GPauseGenerationEvent& event) {
    m_paused = event.getPaused() != 0;
    return true;
}

bool GGameLevelScene::onClientState(GClientStateEvent& event) {
    GClientNode* client = event.getNode();
    if (client == nullptr)
        return true;
    const CRefPointer<GClientNode> held = CRefPointer<GClientNode>::share(client);
    // Queue entries may wait for the client to begin a resource (entering 7 or leaving 1) or to
    // end one (leaving 8).
    const int32_t newState = event.getNewState();
    const int32_t oldState = event.getOldState();
    if (newState == GClientNode::kStateWantsItem) {
        if (!m_tutorialQueueMode)
            armClientQueueFor(client, false, false, true);
        client->updateItemHighlight(heroCarried(*this));
    } else if (oldState == GClientNode::kStateItemComing) {
        if (!m_tutorialQueueMode)
            armClientQueueFor(client, false, true, true);
    } else if (oldState == GClientNode::kStateWaiting) {
        if (!m_tutorialQueueMode)
            armClientQueueFor(client, false, false, false);
    } else if (oldState == GClientNode::kStateChoosing &&
               newState == GClientNode::kStateWaitingForStart) {
        // The player chose on the client's action panel.
        serveClient(*client, true);
    }
    // A leaving client takes its abilities away from its neighbours.
    if (newState == GClientNode::kStateLeaving)
        client->deactivateAbilities();
    return true;
}

bool GGameLevelScene::onClientSpeedUp(GClientSpeedUpEvent& event) {
    GClientNode* client = event.getClient();
    if (m_tutorialQueueMode || client == nullptr)
        return true;
    armClientQueueFor(client, false, true, false);
    if (client->getHearts() == kFullHearts)
        reportAward(kHeartsAward, 1);
    return true;
}

// The screen sees the leaving client too.
bool GGameLevelScene::onClientLeave(GClientLeaveEvent& event) {
    GClientNode* client = event.getClient();
    if (client != nullptr)
        countLeavingClient(*client);
    // The tutorial keeps its entries as they are.
    if (!m_tutorialQueueMode) {
        forgetEnteredClient(client);
        armClientQueueFor(client, false, true, false);
    }
    const CRefPointer<CEvent> changed(new GMoneyChangedEvent);
    postEventToParent(RouteSelfThenParents, *changed);
    return false;
}

void GGameLevelScene::countLeavingClient(const GClientNode& client) {
    const float hearts = client.getHearts();
    if (hearts > 0) {
        ++m_servedClients;
        m_heartsTotal += std::ceil(hearts);
    } else {
        ++m_lostClients;
    }
}

// Clients show whether the hero now holds what they want.
bool GGameLevelScene::onStaffEvent(StaffEvent&) {
    const CArray<CNameId> carried = heroCarried(*this);
    for (uint32_t i = 0; m_charactersNode && i < m_charactersNode->getChildCount(); ++i) {
        GClientNode* client = asGClientNode(m_charactersNode->getChild(i));
        const GLocationNode* location = client != nullptr ? client->getLocation() : nullptr;
        if (location == nullptr || location->getConfig() == nullptr)
            continue;
        client->updateItemHighlight(carried);
        client->updateBodyTint(carried);
    }
    return true;
}
