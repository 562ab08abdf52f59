#include <algorithm>

#include "engine/core/EngineServices.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/Random.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeState.h"
#include "engine/ui/SpawnerNode.h"
#include "game/effects/HipHopHeartsNode.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"

// What neighbouring clients do to one another: talk that stops or saddens the listeners,
// street dancers that speed them up, place boosts and tecktoniks that send hearts, and blockers
// that cancel the abilities next to them.

namespace {

constexpr float kCloudDepth = 10.0f;
constexpr float kTecktonikHearts = 5.0f;
constexpr int32_t kTecktonikMaxHearts = 6;
constexpr float kBoostTolerance = 0.01f;
constexpr float kStreetDancerCueLevel = 1.01f;

GClientNode* linked(const GObjectRef<GClientNode>& entry) {
    return entry.get();
}

template <typename Entry>
GClientNode* linked(const Entry& entry) {
    return entry.client.get();
}

template <typename Entry>
int32_t indexOf(const CArray<Entry>& list, const GClientNode* client) {
    for (uint32_t i = 0; i < list.size(); ++i) {
        if (linked(list[i]) == client)
            return int32_t(i);
    }
    return -1;
}

// The last entry takes the removed one's place.
template <typename Entry>
void removeFrom(CArray<Entry>& list, const GClientNode* client) {
    const int32_t index = indexOf(list, client);
    if (index >= 0)
        list.eraseAtUnordered(uint32_t(index));
}

template <typename Entry>
float largestValue(const CArray<Entry>& list, float none) {
    float largest = none;
    for (uint32_t i = 0; i < list.size(); ++i)
        largest = i == 0 ? list[i].value : std::max(largest, list[i].value);
    return largest;
}

CNameId typeOf(const GClientNode& client) {
    const GClientConfig* config = client.getClientConfig();
    return config != nullptr ? config->name : CNameId();
}

bool canDiscard(const GClientNode& client) {
    const GClientConfig* config = client.getClientConfig();
    return config != nullptr && config->canDiscardNeighboursAbilities;
}

float servingMulOf(const GClientNode& client) {
    const GClientConfig* config = client.getClientConfig();
    return config != nullptr ? config->neighboursServMul : 1.0f;
}

const GTalkAction* findTalkAction(const GClientConfig* config, CNameId neighbour) {
    for (uint32_t i = 0; config != nullptr && i < config->talkActions.size(); ++i) {
        if (config->talkActions[i].client == neighbour)
            return &config->talkActions[i];
    }
    return nullptr;
}

bool listsName(const CArray<CNameId>& names, CNameId name) {
    for (const CNameId listed : names) {
        if (listed == name)
            return true;
    }
    return false;
}

const GNextClientPlaceBoost* findPlaceBoost(const GLevelConfig* config, CNameId a, CNameId b) {
    const GLevelBonusTables* tables = config != nullptr ? config->bonusTables.get() : nullptr;
    for (uint32_t i = 0; tables != nullptr && i < tables->nextClientPlaceBoosts.size(); ++i) {
        const GNextClientPlaceBoost& boost = tables->nextClientPlaceBoosts[i];
        if ((boost.name1 == a && listsName(boost.name2, b)) ||
            (boost.name1 == b && listsName(boost.name2, a)))
            return &boost;
    }
    return nullptr;
}

// In [0, 1) from the engine's twister.
float drawChance() {
    return CEngineServices::instance()->getRandom()->nextFloatInRangeMt(0, 1);
}

// The cloud flies from the talker to the listener when its "MoveTo" opens with a key-frame
// action of two keys.
void aimCloud(const BaseNode& cloud, CVector3d from) {
    const NodeState* moveTo = cloud.findState(nameOf("MoveTo"));
    KeyFrame* frames = moveTo != nullptr ? asKeyFrame(moveTo->getAnimator(0)) : nullptr;
    if (frames == nullptr || frames->getKeys().size() != 2)
        return;
    CArray<KeyFrameKey>& keys = frames->getKeys();
    if (keys[0].values.size() == 0 || keys[1].values.size() == 0)
        return;
    keys[0].values[0] = makeVector3dProperty(CVector3d(from.x, from.y, kCloudDepth));
    keys[1].values[0] = makeVector3dProperty(CVector3d(0, 0, kCloudDepth));
}

} // namespace

// Talk

bool GClientNode::isType(const char* name) const {
    return typeOf(*this) == nameOf(name);
}

bool GClientNode::standsAtDancePad() const {
    const GLocationNode* location = getLocation();
    return location != nullptr && location->getConfig() != nullptr &&
           location->getConfig()->name == nameOf("DancePad1");
}

bool GClientNode::canStartTalk() const {
    const GLocationNode* location = getLocation();
    return m_clientConfig && m_clientConfig->talksWaitTime != -1 && location != nullptr &&
           location->getConfig() != nullptr && m_clientStateTime >= m_clientConfig->talksWaitTime &&
           !m_talking && m_abilityBlockers.size() == 0;
}

void GClientNode::setAbilityState(BaseNode* node, const char* state) {
    if (node != nullptr && standsAtDancePad())
        node->setChildrenState(nameOf(state), nullptr);
}

void GClientNode::showWaverAbility() {
    m_talking = true;
    setAbilityState(m_waverAbilityNode.get(), "AbilityActive");
}

void GClientNode::hideWaverAbility() {
    m_talking = false;
    setAbilityState(m_waverAbilityNode.get(), "AbilityInactive");
}

void GClientNode::showAbilityBlocker() {
    setAbilityState(m_abilityBlockerNode.get(), "AbilityActive");
}

void GClientNode::applyTalkActions(bool start) {
    if (start && m_abilityBlockers.size() != 0) {
        m_talking = false;
        return;
    }
    talkToNeighbours(start);
}

void GClientNode::talkToNeighbours(bool start) {
    GGameLevelScene* level = getLevel();
    if (level == nullptr)
        return;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    bool reached = false;
    for (GClientNode* neighbour : level->getNeighbourClients(*this)) {
        if (neighbour->getClientState() == kStateLeaving)
            continue;
        const GTalkAction* action = findTalkAction(m_clientConfig.get(), typeOf(*neighbour));
        if (action != nullptr && action->stop) {
            if (!start)
                removeFrom(neighbour->m_stoppers, this);
            else if (indexOf(neighbour->m_stoppers, this) < 0)
                neighbour->m_stoppers.append(this);
            reached = reached || start;
        }
        if (action != nullptr && action->secondsPerHeart != 0) {
            if (start)
                neighbour->addTalker(this, action->secondsPerHeart);
            else
                neighbour->removeTalker(this);
            reached = reached || start;
        }
        if (action != nullptr && (action->stop || action->secondsPerHeart != 0))
            continue;
        if (neighbour->isType("Cwalk")) {
            playCue(nameOf("CwalkAction"), true);
            if (neighbour->m_cwalkAbilityNode)
                neighbour->m_cwalkAbilityNode->setChildrenState(
                    nameOf(start ? "AbilityActive" : "AbilityInactive"), nullptr);
        }
    }
    updateWishIcons(false);
    if (reached)
        playCue(nameOf("WaverAction"), true);
}

void GClientNode::addTalker(GClientNode* talker, float secondsPerHeart) {
    if (talker == nullptr || indexOf(m_talkers, talker) >= 0)
        return;
    m_talkers.append({talker, secondsPerHeart});
    m_talkSecondsPerHeart = std::max(m_talkSecondsPerHeart, secondsPerHeart);
    if (m_talkers.size() != 1)
        return;
    receiveCloudEffect(*talker);
    if (GLocationNode* location = getLocation())
        location->showIndicator(nameOf("Waver"));
}

// A list emptied meanwhile (the client moved on) also ends the cloud and the indicator.
void GClientNode::removeTalker(GClientNode* talker) {
    removeFrom(m_talkers, talker);
    m_talkSecondsPerHeart = largestValue(m_talkers, 0.0f);
    if (m_talkers.size() != 0)
        return;
    if (m_cloudEffect)
        m_cloudEffect->setChildrenState(nameOf("SelfDestruct"), nullptr);
    m_cloudEffect = nullptr;
    if (GLocationNode* location = getLocation())
        location->hideIndicator(nameOf("Waver"));
}

void GClientNode::receiveCloudEffect(GClientNode& talker) {
    const BaseNode* model = talker.m_waverAbilityNode
                                ? talker.m_waverAbilityNode->findChild(nameOf("CloudEffect"), 1)
                                : nullptr;
    // A cloud still here stays the only one.
    if (model == nullptr || m_cloudEffect)
        return;
    const CRefPointer<BaseNode> cloud = model->clone(this, getSceneManager());
    const CVector3d& from = talker.getPosition();
    const CVector3d& to = getPosition();
    aimCloud(*cloud, CVector3d(from.x - to.x, from.y - to.y, 0));
    cloud->setState(nameOf("MoveTo"), nullptr, CNameId());
    talker.m_waverAbilityNode->setChildrenState(nameOf("AbilityActive"), nullptr);
    m_cloudEffect = cloud;
}

// Street dancers, senders and blockers

void GClientNode::addStreetDancer(GClientNode* dancer, float multiplier) {
    if (dancer == nullptr || indexOf(m_streetDancers, dancer) >= 0)
        return;
    m_streetDancers.append({dancer, multiplier});
    if (multiplier > m_neighbourServingMul) {
        if (m_neighbourServingMul <= kStreetDancerCueLevel && multiplier > 1.0f)
            playCue(nameOf("StreetDancerAction"), true);
        m_neighbourServingMul = multiplier;
    }
    if (m_streetDancers.size() == 1) {
        if (GLocationNode* location = getLocation())
            location->showIndicator(nameOf("StreetDancer"));
    }
}

void GClientNode::removeStreetDancer(GClientNode* dancer) {
    removeFrom(m_streetDancers, dancer);
    m_neighbourServingMul = largestValue(m_streetDancers, 1.0f);
    if (m_streetDancers.size() != 0)
        return;
    if (GLocationNode* location = getLocation())
        location->hideIndicator(nameOf("StreetDancer"));
}

bool GClientNode::addHipHop(GClientNode* sender) {
    return addSender(m_hipHopSenders, sender, "HipHop");
}

void GClientNode::removeHipHop(GClientNode* sender) {
    removeSender(m_hipHopSenders, sender, "HipHop");
}

bool GClientNode::addTecktonik(GClientNode* sender) {
    return addSender(m_tecktonikSenders, sender, "Tecktonik");
}

// The sixth heart stays.
void GClientNode::removeTecktonik(GClientNode* sender) {
    removeSender(m_tecktonikSenders, sender, "Tecktonik");
}

// The location shows the indicator while the list has senders.
bool GClientNode::addSender(CArray<GObjectRef<GClientNode>>& senders, GClientNode* sender,
                            const char* indicator) {
    if (sender == nullptr || indexOf(senders, sender) >= 0)
        return false;
    senders.append(sender);
    GLocationNode* location = getLocation();
    if (senders.size() == 1 && location != nullptr)
        location->showIndicator(nameOf(indicator));
    return true;
}

void GClientNode::removeSender(CArray<GObjectRef<GClientNode>>& senders, GClientNode* sender,
                               const char* indicator) {
    removeFrom(senders, sender);
    GLocationNode* location = getLocation();
    if (senders.size() == 0 && location != nullptr)
        location->hideIndicator(nameOf(indicator));
}

bool GClientNode::addAbilityBlocker(GClientNode* blocker) {
    if (blocker == nullptr || indexOf(m_abilityBlockers, blocker) >= 0)
        return false;
    m_abilityBlockers.append(blocker);
    if (m_abilityBlockers.size() != 1)
        return false;
    deactivateAbilities();
    return true;
}

void GClientNode::removeAbilityBlocker(GClientNode* blocker) {
    removeFrom(m_abilityBlockers, blocker);
    if (m_abilityBlockers.size() == 0)
        applyStreetDancers(true);
}

// Arrival and departure

void GClientNode::activateAbilities() {
    GGameLevelScene* level = getLevel();
    if (level == nullptr || !standsAtDancePad())
        return;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    const CArray<GClientNode*> neighbours = level->getNeighbourClients(*this);
    bool blocking = false;
    if (canDiscard(*this)) {
        for (GClientNode* neighbour : neighbours) {
            if (neighbour->addAbilityBlocker(this)) {
                neighbour->showAbilityBlocker();
                blocking = true;
            }
        }
        if (blocking)
            showAbilityBlocker();
    } else {
        for (GClientNode* neighbour : neighbours) {
            if (canDiscard(*neighbour) && addAbilityBlocker(neighbour)) {
                neighbour->showAbilityBlocker();
                showAbilityBlocker();
                blocking = true;
                break;
            }
        }
    }
    if (blocking)
        playCue(nameOf("UrbanDancerAction"), true);
    applyPlaceBoosts(neighbours);
    applyTecktonik(neighbours);
    applyStreetDancers(false);
}

void GClientNode::applyPlaceBoosts(const CArray<GClientNode*>& neighbours) {
    bool sent = false;
    for (GClientNode* neighbour : neighbours) {
        if (neighbour->isType("HipHop") && neighbour->m_abilityBlockers.size() != 0)
            continue;
        const GNextClientPlaceBoost* boost =
            findPlaceBoost(getLevel()->getLevelConfig(), typeOf(*this), typeOf(*neighbour));
        if (boost == nullptr || boost->probability == 0 ||
            boost->probability + kBoostTolerance < drawChance())
            continue;
        GClientNode& first = typeOf(*this) == boost->name1 ? *this : *neighbour;
        GClientNode& second = &first == this ? *neighbour : *this;
        if (&first == this && boost->hearts1 > 0)
            addHearts(boost->hearts1);
        if (boost->hearts2 > 0 && second.hasRoomForHearts()) {
            first.sendHearts(second, boost->hearts2);
            second.addHipHop(&first);
            second.addHearts(boost->hearts2);
            sent = true;
        }
        if (&first != this && boost->hearts1 > 0)
            first.addHearts(boost->hearts1);
    }
    if (sent)
        playCue(nameOf("HipHopAction"), true);
}

// The flying hearts only show the gift; the hearts themselves are added here.
void GClientNode::applyTecktonik(const CArray<GClientNode*>& neighbours) {
    if (!isType("Tecktonik")) {
        if (m_maxHearts == kTecktonikMaxHearts)
            return;
        for (GClientNode* neighbour : neighbours) {
            if (neighbour->m_abilityBlockers.size() != 0 || !neighbour->isType("Tecktonik"))
                continue;
            setMaxHearts(kTecktonikMaxHearts);
            neighbour->sendHearts(*this, kTecktonikHearts);
            addTecktonik(neighbour);
            addHearts(kTecktonikHearts);
            playCue(nameOf("TecktonikAction"), true);
            return;
        }
        return;
    }
    if (m_abilityBlockers.size() != 0)
        return;
    bool raised = false;
    for (GClientNode* neighbour : neighbours) {
        if (neighbour->isType("Tecktonik") || neighbour->m_maxHearts == kTecktonikMaxHearts)
            continue;
        neighbour->setMaxHearts(kTecktonikMaxHearts);
        sendHearts(*neighbour, kTecktonikHearts);
        neighbour->addTecktonik(this);
        neighbour->addHearts(kTecktonikHearts);
        raised = true;
    }
    if (raised)
        playCue(nameOf("TecktonikAction"), true);
}

// The factor starts from the street dancers still listed, so that a refresh after a blocker
// has gone keeps the boost of a neighbour that stayed.
void GClientNode::applyStreetDancers(bool refreshOnly) {
    GGameLevelScene* level = getLevel();
    if (level == nullptr)
        return;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    m_neighbourServingMul = largestValue(m_streetDancers, 1.0f);
    const bool streetDancer = isType("StreetDancer");
    for (GClientNode* neighbour : level->getNeighbourClients(*this)) {
        if (!refreshOnly && neighbour->m_talking) {
            if (neighbour->m_abilityBlockers.size() != 0)
                neighbour->m_talking = false;
            else
                neighbour->talkToNeighbours(true);
        }
        if (streetDancer) {
            if (m_abilityBlockers.size() == 0 && !neighbour->isType("StreetDancer"))
                neighbour->addStreetDancer(this, servingMulOf(*this));
        } else if (!refreshOnly && neighbour->getClientState() != kStateLeaving &&
                   neighbour->isType("StreetDancer") && neighbour->m_abilityBlockers.size() == 0) {
            addStreetDancer(neighbour, servingMulOf(*neighbour));
        }
    }
    if (m_abilityBlockers.size() == 0 && m_abilityNode && getLocation() != nullptr &&
        getLocation()->getConfig() != nullptr) {
        restartAbilitySpawners();
        m_abilityNode->setChildrenState(nameOf("AbilityActive"), nullptr);
    }
}

// Fresh clones start spawning anew; the walk goes over a copy, as the children change.
void GClientNode::restartAbilitySpawners() {
    BaseNode& ability = *m_abilityNode;
    CArray<CRefPointer<BaseNode>> children;
    for (uint32_t i = 0; i < ability.getChildCount(); ++i)
        children.append(CRefPointer<BaseNode>::share(ability.getChild(i)));
    for (const CRefPointer<BaseNode>& child : children) {
        if (!child->isKindOf(SpawnerNode::kTypeId))
            continue;
        child->clone(&ability, getSceneManager());
        ability.removeChild(child.get());
    }
}

void GClientNode::deactivateAbilities() {
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    if (m_clientConfig && m_clientConfig->talksWaitTime != -1 && m_talking) {
        hideWaverAbility();
        applyTalkActions(false);
    }
    GGameLevelScene* level = getLevel();
    const CArray<GClientNode*> neighbours =
        level != nullptr ? level->getNeighbourClients(*this) : CArray<GClientNode*>();
    for (GClientNode* neighbour : neighbours) {
        if (isType("StreetDancer"))
            neighbour->removeStreetDancer(this);
        else if (isType("HipHop"))
            neighbour->removeHipHop(this);
        else if (isType("Tecktonik"))
            neighbour->removeTecktonik(this);
        if (canDiscard(*this))
            neighbour->removeAbilityBlocker(this);
    }
    if (m_abilityNode && getLocation() != nullptr && getLocation()->getConfig() != nullptr)
        m_abilityNode->setChildrenState(nameOf("AbilityInactive"), nullptr);
}

void GClientNode::clearNeighbourLists() {
    m_stoppers = {};
    m_talkers = {};
    m_streetDancers = {};
    m_hipHopSenders = {};
    m_tecktonikSenders = {};
    m_talkSecondsPerHeart = 0;
    m_neighbourServingMul = 1.0f;
}

// Hearts on the way

void GClientNode::sendHearts(GClientNode& target, float amount) {
    BaseNode* found = m_abilityNode ? m_abilityNode->findChild(nameOf("Hearts"), 1) : nullptr;
    BaseNode* icon = target.getHeartIcon(target.getHearts() + amount);
    GGameLevelScene* level = getLevel();
    if (found == nullptr || !found->isKindOf(GHipHopHeartsNode::kTypeId) || icon == nullptr ||
        level == nullptr || level->getEffectsHolder() == nullptr)
        return;
    CVector2d velocity;
    const CRefPointer<BaseNode> heart = static_cast<GHipHopHeartsNode*>(found)->detachNearestObject(
        target.getPosition().x, velocity);
    const float side = target.getPosition().x > getPosition().x ? 40 : -40;
    level->flyHeart(heart, target, *icon, CVector2d(side, -80));
}
