#include "engine/scene/SceneManager.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/screens/TutorialActions.h"

// The commands act on the level as their hint is shown; without a level (the map) they do
// nothing.

namespace {

GLocationNode* findLocation(const GGameLevelScene& level, CNameId name) {
    for (const CRefPointer<GLocationNode>& location : level.getLocations()) {
        if (location->getName() == name)
            return location.get();
    }
    return nullptr;
}

} // namespace

void GTutorialActionNextClient::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (level == nullptr)
        return;
    if (allowNext)
        level->setTutorialQueueMode(false);
    level->armClientQueue();
}

void GTutorialActionEnableLocation::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (GLocationNode* location = level != nullptr ? findLocation(*level, locationName) : nullptr)
        location->setEnabled(enable);
}

void GTutorialActionInsertClientsQueue::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (level == nullptr)
        return;
    const SceneManager* manager = level->getSceneManager();
    level->spawnQueuedClients(clientsQueue,
                              manager != nullptr ? manager->getTemplateCollection() : nullptr);
}

void GTutorialActionPauseGenerate::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (level != nullptr)
        level->setClientGenerationPaused(true);
}

void GTutorialActionPauseGenerate::update(uint32_t) {
    if (m_level != nullptr)
        m_level->setClientGenerationPaused(true);
}

void GTutorialActionPauseGenerate::reset() {
    if (m_level != nullptr)
        m_level->setClientGenerationPaused(false);
}

void GTutorialActionSetRandom::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (level != nullptr)
        level->getRandom().seed(uint32_t(seed));
}

// A client named twice gets the item twice. The clients are gathered first: an item may send a
// client on, out of its location's slots.
void GTutorialActionGiveItem::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (level == nullptr)
        return;
    CArray<CRefPointer<GClientNode>> receivers;
    for (const CRefPointer<GLocationNode>& location : level->getLocations()) {
        for (const GObjectRef<GCharacterNode>& slot : location->getClients()) {
            GClientNode* client = asGClientNode(slot.get());
            for (uint32_t i = 0; client != nullptr && i < names.size(); ++i) {
                if (names[i] == client->getName())
                    receivers.append(CRefPointer<GClientNode>::share(client));
            }
        }
    }
    for (const CRefPointer<GClientNode>& client : receivers)
        client->giveItem(nullptr, item);
}

void GTutorialActionChargeLocation::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (GLocationNode* location = level != nullptr ? findLocation(*level, locationName) : nullptr)
        location->recharge();
}
