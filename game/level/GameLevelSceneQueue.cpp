#include <cmath>

#include "engine/core/Logger.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/RangeDraw.h"
#include "game/app/GameApplication.h"
#include "game/effects/BoomboxHeartsEffectNode.h"
#include "game/effects/EffectMath.h"
#include "game/effects/MagnetMovableNode.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/screens/TutorialScript.h"

// The level's script of arriving clients: the records of its queue entries, their arming and
// countdowns, the clients entering at the front of the queue and moving along it, the colours
// they wear, and what the queue box and the boombox do for them.

namespace {

void warn(uint32_t entry, const CStringW& what) {
    CStringW line(u"Client queue entry ");
    line.append(int32_t(entry + 1));
    CLogger::instance()->log(line + u": " + what, CLogger::LevelWarning);
}

// The template of the entry's client type, when it is a client; none (with a warning) else.
BaseNode* clientTemplate(const GClientConfig* config, const TemplateCollectionNode* templates,
                         uint32_t entry, CNameId type) {
    if (config == nullptr) {
        warn(entry,
             u"the client type \"" + CStringW(type.toString().c_str()) + u"\" is not configured");
        return nullptr;
    }
    BaseNode* found = templates != nullptr ? templates->getTemplate(config->templateName) : nullptr;
    if (found == nullptr || !found->isKindOf(GClientNode::kTypeId)) {
        warn(entry, u"the template \"" + CStringW(config->templateName.toString().c_str()) +
                        u"\" is not a client");
        return nullptr;
    }
    return found;
}

// "3" for the only client of entry 3, "3_2" for the second of a group.
CNameId clientName(uint32_t entry, uint32_t client, uint32_t count) {
    CString name;
    name.append(int32_t(entry + 1));
    if (count > 1)
        name.append("_").append(int32_t(client + 1));
    return CNameId(name);
}

bool contains(const CArray<CNameId>& names, CNameId name) {
    for (const CNameId& listed : names) {
        if (listed == name)
            return true;
    }
    return false;
}

constexpr int32_t kFirstClientColor = 1;
constexpr int32_t kLastClientColor = 5;
constexpr float kNoHeartsYet = 100000;

} // namespace

const CArray<GClientQueueEntry>& GGameLevelScene::queueEntries() const {
    static const CArray<GClientQueueEntry> none;
    if (!m_queues.empty())
        return m_queues.back();
    return m_levelConfig ? m_levelConfig->clientsQueue : none;
}

void GGameLevelScene::spawnQueuedClients(CArray<GClientQueueEntry>& queue,
                                         TemplateCollectionNode* templates) {
    m_queues.push_back(queue);
    CArray<GClientQueueEntry>& entries = m_queues.back();
    m_spawnRecords.clear();
    for (uint32_t i = 0; i < entries.size(); ++i)
        m_spawnRecords.append(SpawnRecord());
    for (uint32_t i = 0; i < entries.size(); ++i) {
        GClientQueueEntry& entry = entries[i];
        if (entry.clients.size() == 0)
            continue;
        GClientConfig* config =
            m_objectConfigs ? m_objectConfigs->getClientConfig(entry.clientType) : nullptr;
        const BaseNode* made = clientTemplate(config, templates, i, entry.clientType);
        for (uint32_t j = 0; made != nullptr && j < entry.clients.size(); ++j) {
            GQueuedClient& queued = entry.clients[j];
            const CRefPointer<BaseNode> clone = made->clone(nullptr, nullptr);
            GClientNode* client = asGClientNode(clone.get());
            client->setName(clientName(i, j, entry.clients.size()));
            client->setVisible(true);
            // A clone of the collection gets its control template only when told.
            client->sendToChildren(RouteSelfThenChildren,
                                   *CRefPointer<CEvent>(new CEventNodeTemplatesChanged(templates)));
            client->OnPostSceneNodeInit(templates);
            const CRefPointer<GClientWishList> wishList =
                buildWishList(queued.orders ? queued.orders->orders : CArray<GClientOrder>());
            if (queued.superPadHeartsFromType)
                queued.superPadHearts = config->superPadMinHearts;
            if (queued.superPadClicksFromType)
                queued.superPadClicks = config->superPadClicks;
            client->setClientData(config, &queued, wishList.get());
            m_spawnRecords[i].createdClients.append(CRefPointer<GClientNode>::share(client));
            m_spawnRecords[i].clientNames.append(client->getName());
        }
    }
}

void GGameLevelScene::armClientQueueFor(GClientNode* client, bool afterPrevious, bool endActions,
                                        bool currentItem) {
    if (!m_levelConfig)
        return;
    const CArray<GClientQueueEntry>& entries = queueEntries();
    for (uint32_t j = 0; j < m_spawnRecords.size() && j < entries.size(); ++j) {
        SpawnRecord& record = m_spawnRecords[j];
        if (record.spawned || record.countdown >= 0 ||
            !isEntryReady(j, client, afterPrevious, endActions, currentItem))
            continue;
        // A negative time in the file would never count down.
        record.countdown = m_tutorialQueueMode || entries[j].time < 0 ? 0 : entries[j].time;
    }
}

bool GGameLevelScene::isEntryReady(uint32_t record, GClientNode* client, bool afterPrevious,
                                   bool endActions, bool currentItem) const {
    const CArray<GClientQueueEntry>& entries = queueEntries();
    const GClientQueueEntry& entry = entries[record];
    if (entry.referencedEntries.size() == 0)
        return afterPrevious && (record == 0 || m_spawnRecords[record - 1].spawned);
    const uint32_t watched = entry.watchedClient == 2 ? 1 : 0;
    for (const int32_t reference : entry.referencedEntries) {
        const uint32_t k = uint32_t(reference - 1);
        if (reference < 1 || k >= entries.size() || k >= m_spawnRecords.size() ||
            !m_spawnRecords[k].spawned)
            continue;
        const CArray<GObjectRef<GClientNode>>& entered = m_spawnRecords[k].enteredClients;
        if (watched >= entered.size())
            return true;
        const GClientNode* x = entered[watched].get();
        if (x == nullptr || m_tutorialQueueMode)
            return true;
        if (x != client)
            continue;
        const CArray<CNameId>& actions = endActions ? entry.endActions : entry.startActions;
        const GResourceConfig* resource =
            currentItem ? client->getRequestedItem() : client->getWishedResource();
        if (resource != nullptr &&
            (contains(actions, resource->name) || contains(actions, resource->unmodifiedResource)))
            return true;
    }
    return false;
}

bool GGameLevelScene::spawnDueClients(uint32_t elapsedMs) {
    bool pending = false;
    for (uint32_t i = 0; i < m_spawnRecords.size(); ++i) {
        if (m_spawnRecords[i].spawned)
            continue;
        pending = true;
        if (m_spawnRecords[i].countdown < 0)
            continue;
        m_spawnRecords[i].countdown = countDown(m_spawnRecords[i].countdown, elapsedMs);
        if (m_spawnRecords[i].countdown >= 0)
            continue;
        if (m_queueSlots.size() >= 2)
            shiftQueue(true);
        GLocationNode* front = m_queueSlots.size() != 0 ? m_queueSlots[0].get() : nullptr;
        if (front == nullptr || front->hasClients()) {
            m_spawnRecords[i].countdown = 0;
            continue;
        }
        if (!placeQueuedClient(front, i))
            shiftQueue(false);
    }
    return pending;
}

bool GGameLevelScene::placeQueuedClient(GLocationNode* front, uint32_t index) {
    if (!m_levelConfig || !m_objectConfigs || !m_charactersNode || front == nullptr ||
        index >= m_spawnRecords.size() || m_spawnRecords[index].spawned)
        return false;
    SpawnRecord& record = m_spawnRecords[index];
    record.spawned = true;
    if (record.createdClients.size() == 0) {
        if (!m_tutorialQueueMode)
            armClientQueue();
        return false;
    }
    const CArray<GClientQueueEntry>& entries = queueEntries();
    GClientNode* head = nullptr;
    GClientNode* last = nullptr;
    for (uint32_t i = 0; i < record.createdClients.size(); ++i) {
        GClientNode* client = record.createdClients[i].get();
        // Bound to the level only, for the check of its wishes; it starts when it enters.
        client->GObjectNode::setLevel(this);
        if (!client->pruneUnservableWishes()) {
            record.enteredClients.append(client);
            armClientQueueFor(client, false, true, false);
            record.enteredClients[record.enteredClients.size() - 1] = nullptr;
            continue;
        }
        client->setParent(m_charactersNode.get());
        const bool configured = index < entries.size() && i < entries[index].clients.size();
        client->setColor(chooseClientColor(configured ? entries[index].clients[i].color : 0));
        client->setLevel(this);
        // The first that enters leads the group, also when an earlier one did not enter.
        if (head == nullptr) {
            client->moveToLocation(front);
            client->placeAtClientPoint(*front);
            head = client;
        } else {
            client->deactivateAbilities();
            last->setFollower(client);
        }
        last = client;
        record.enteredClients.append(client);
    }
    if (head != nullptr)
        head->arrangeGroup();
    if (!m_tutorialQueueMode || head == nullptr)
        armClientQueueFor(head, true, false, false);
    if (head == nullptr)
        return false;
    playCue(nameOf("NewClient"), false);
    return true;
}

GClientNode* GGameLevelScene::slotClient(uint32_t slot) const {
    const CArray<GObjectRef<GCharacterNode>>& clients = m_queueSlots[slot]->getClients();
    return clients.size() != 0 ? asGClientNode(clients[0].get()) : nullptr;
}

bool GGameLevelScene::hasQueueGap() const {
    for (uint32_t i = 0; i + 1 < m_queueSlots.size(); ++i) {
        if (slotClient(i) == nullptr && slotClient(i + 1) != nullptr)
            return true;
    }
    return false;
}

// A carried client takes its new slot but stays under the pointer; it returns there.
void GGameLevelScene::moveAlongQueue(GClientNode& client, uint32_t slot) {
    client.moveToLocation(m_queueSlots[slot].get());
    if (&client == m_heldClient.get())
        return;
    client.placeAtClientPoint(*m_queueSlots[slot]);
    client.arrangeGroup();
}

void GGameLevelScene::shiftQueue(bool backward) {
    if (!backward) {
        for (uint32_t i = 0; i + 1 < m_queueSlots.size(); ++i) {
            GClientNode* client = slotClient(i + 1);
            if (slotClient(i) != nullptr || client == nullptr)
                continue;
            moveAlongQueue(*client, i);
        }
        return;
    }
    uint32_t gap = 0;
    while (gap < m_queueSlots.size() && slotClient(gap) != nullptr)
        ++gap;
    if (gap == m_queueSlots.size())
        return;
    for (uint32_t k = gap; k >= 1; --k) {
        GClientNode* client = slotClient(k - 1);
        if (slotClient(k) != nullptr || client == nullptr)
            continue;
        moveAlongQueue(*client, k);
    }
}

int32_t GGameLevelScene::chooseClientColor(int32_t configured) const {
    if (configured >= kFirstClientColor && configured <= kLastClientColor)
        return configured;
    int32_t worn[kLastClientColor + 1] = {};
    for (uint32_t i = 0; m_charactersNode && i < m_charactersNode->getChildCount(); ++i) {
        const GClientNode* client = asGClientNode(m_charactersNode->getChild(i));
        if (client != nullptr && client->getColor() >= kFirstClientColor &&
            client->getColor() <= kLastClientColor)
            ++worn[client->getColor()];
    }
    const int32_t count = m_levelConfig ? m_levelConfig->colorsCount : 2;
    CArray<int32_t> fewest;
    for (int32_t color = kFirstClientColor; color <= count && color <= kLastClientColor; ++color) {
        if (fewest.size() != 0 && worn[color] > worn[fewest[0]])
            continue;
        if (fewest.size() != 0 && worn[color] < worn[fewest[0]])
            fewest.clear();
        fewest.append(color);
    }
    if (fewest.size() == 1)
        return fewest[0];
    return fewest[engineRandom().nextMwc() % fewest.size()];
}

void GGameLevelScene::setTutorial(GTutorialScript* script) {
    m_tutorial = CRefPointer<CRefCounted>::share(script);
}

void GGameLevelScene::forgetEnteredClient(const GClientNode* client) {
    for (SpawnRecord& record : m_spawnRecords) {
        for (GObjectRef<GClientNode>& entered : record.enteredClients) {
            if (entered.get() == client) {
                entered = nullptr;
                return;
            }
        }
    }
}

bool GGameLevelScene::boostQueuedClients(GLocationNode*, float hearts) {
    for (const CRefPointer<GLocationNode>& slot : m_queueSlots) {
        for (const GObjectRef<GCharacterNode>& waiting : slot->getClients()) {
            for (GClientNode* client = asGClientNode(waiting.get()); client != nullptr;
                 client = client->getFollower()) {
                if (client->getClientState() == GClientNode::kStateLeaving)
                    continue;
                client->addHearts(hearts);
                client->playHappyMusic();
            }
        }
    }
    m_queueBoxSound = playCue(nameOf("QueueBoxAction"), true);
    if (theApplication != nullptr)
        theApplication->duckMusic(false);
    return true;
}

void GGameLevelScene::restoreMusicAfterQueueBox() {
    if (!m_queueBoxSound || m_queueBoxSound->getState() != 0)
        return;
    if (theApplication != nullptr)
        theApplication->duckMusic(true);
    m_queueBoxSound = nullptr;
}

bool GGameLevelScene::giveBoomboxHeart(GLocationNode* location, float hearts) {
    float best = kNoHeartsYet;
    CArray<GClientNode*> saddest;
    for (const CRefPointer<GLocationNode>& place : m_locations) {
        for (const GObjectRef<GCharacterNode>& at : place->getClients()) {
            GClientNode* client = asGClientNode(at.get());
            if (client == nullptr || client->getClientState() == GClientNode::kStateLeaving)
                continue;
            const float own = client->getHearts();
            if (own < best && float(client->getMaxHearts()) - own >= 0.499f) {
                best = own;
                saddest.clear();
                saddest.append(client);
            } else if (std::fabs(own - best) < 0.01f) {
                saddest.append(client);
            }
        }
    }
    if (saddest.size() == 0)
        return false;
    GClientNode* chosen = saddest[engineRandom().next() % saddest.size()];
    playCue(nameOf("BoomboxAction"), false);
    flyBoomboxHeart(location, *chosen, hearts);
    chosen->addHearts(hearts);
    return true;
}

// One of the location's orbiting hearts flies to the client's icon for its new hearts; the
// client's icons keep their look until it arrives.
void GGameLevelScene::flyBoomboxHeart(GLocationNode* location, GClientNode& client, float hearts) {
    const ControlNode* root = location != nullptr ? location->getTemplateRoot() : nullptr;
    BaseNode* found = root != nullptr ? root->findChild(nameOf("Hearts"), 1) : nullptr;
    BaseNode* icon = client.getHeartIcon(client.getHearts() + hearts);
    if (found == nullptr || !found->isKindOf(GBoomboxHeartsEffectNode::kTypeId) ||
        icon == nullptr || !m_effectsHolder)
        return;
    CVector2d velocity;
    const CRefPointer<BaseNode> heart =
        static_cast<GBoomboxHeartsEffectNode*>(found)->detachNearestObject(client.getPosition().x,
                                                                           velocity);
    const float side = client.getPosition().x > getPosition().x ? 40 : -40;
    if (GMagnetMovableNode* magnet = flyHeart(heart, client, *icon, CVector2d(side, -400)))
        magnet->setPullAcceleration(800);
}

GMagnetMovableNode* GGameLevelScene::flyHeart(const CRefPointer<BaseNode>& heart,
                                              GClientNode& client, BaseNode& icon,
                                              CVector2d launch) {
    if (!heart || !m_effectsHolder)
        return nullptr;
    heart->updateAbsoluteTransform();
    const CMatrix4& matrix = heart->getAbsoluteMatrix();
    CVector3d start(matrix[12], matrix[13], 0);
    if (theApplication != nullptr)
        start = theApplication->screenToScene(start);
    const CRefPointer<GMagnetMovableNode> magnet(
        new GMagnetMovableNode(CContentKey(), m_effectsHolder.get(), nullptr));
    magnet->setPosition(CVector3d(start.x, start.y, 0));
    heart->setParent(magnet.get());
    heart->setPosition(CVector3d());
    const CVector3d& bounds = heart->getBounds();
    magnet->setBounds(bounds);
    magnet->setPivotPoint(CVector2d(bounds.x / 2, bounds.y / 2));
    magnet->setTarget(&icon, &client);
    magnet->setVelocity(launch);
    heart->setState(nameOf("Delivering"), nullptr, CNameId());
    heart->setChildrenState(nameOf("Delivering"), nullptr);
    client.setHidden(true);
    client.setKeepHeartsShown(true);
    client.updateHeartIcons();
    return magnet.get();
}

bool GGameLevelScene::queueBoxAction(GLocationNode* location, float hearts) {
    boostQueuedClients(location, hearts);
    giveBoomboxHeart(location, hearts);
    return true;
}

void GGameLevelScene::queueNewlyOpened(CNameId name) {
    const CNameId masseur = nameOf("Masseur1");
    const CNameId table = nameOf("MassageTable1");
    for (CNameId& queued : m_newlyOpened) {
        if (queued == name || (name == table && queued == masseur))
            return;
        if (name == masseur && queued == table) {
            queued = masseur;
            return;
        }
    }
    m_newlyOpened.append(name);
}

CNameId GGameLevelScene::popQueuedLocation() {
    if (m_newlyOpened.size() == 0)
        return CNameId();
    const CNameId first = m_newlyOpened[0];
    m_newlyOpened.eraseAt(0);
    return first;
}
