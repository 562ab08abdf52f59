#include "game/level/LocationNode.h"

#include <cmath>

#include "engine/core/EngineServices.h"
#include "engine/core/Properties.h"
#include "engine/core/Random.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneNode.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/StaffNode.h"

namespace {

// A configured time below 0 reads 0.
int32_t configuredTime(int32_t ms) {
    return ms > 0 ? ms : 0;
}

// The part of a configured time that the missing share asks for, to the nearest millisecond;
// at least 1 ms for a time above 0.
int32_t shareOf(int32_t ms, float missing) {
    const int32_t scaled = int32_t(std::floor(float(ms) * missing + 0.5f));
    return scaled == 0 && ms > 0 ? 1 : scaled;
}

bool isLimited(const LocationResource& resource) {
    return resource.maxAmount > 0;
}

CNameId typeOf(const GClientNode& client) {
    const GClientConfig* config = client.getClientConfig();
    return config != nullptr ? config->name : CNameId();
}

} // namespace

GLocationNode::GLocationNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

GLocationNode* asGLocationNode(BaseNode* node) {
    return node != nullptr && node->isKindOf(GLocationNode::kTypeId)
               ? static_cast<GLocationNode*>(node)
               : nullptr;
}

const PropertyTable& GLocationNode::classPropertyTable() {
    static const PropertyTable table =
        extendPropertyTable(ControlNode::classPropertyTable(),
                            {fieldProperty<&GLocationNode::m_levelProperty>("Level")});
    return table;
}

void GLocationNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    GObjectNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId))
        m_levelProperty = static_cast<const GLocationNode&>(source).m_levelProperty;
}

void GLocationNode::saveProperties(CProperties& properties) const {
    GObjectNode::saveProperties(properties);
    if (m_levelProperty != 0)
        properties.addInt("Level", m_levelProperty);
}

void GLocationNode::loadProperties(const CProperties& properties) {
    GObjectNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "Level", m_levelProperty);
}

void GLocationNode::setConfig(GLocationConfig* config) {
    m_config = CRefPointer<GLocationConfig>::share(config);
}

void GLocationNode::setLevel(GGameLevelScene* level) {
    GObjectNode::setLevel(level);
    if (!m_config)
        return;
    m_resources.clear();
    setState(kStateReady);
    bool startsEmpty = false;
    for (const LocationResource& resource : m_config->providedResources) {
        m_resources.append(resource);
        // An unlimited resource never makes the location wait for a recharge.
        startsEmpty = startsEmpty || (isLimited(resource) && resource.amount == 0);
    }
    showRechargeEnded();
    if (startsEmpty) {
        setState(kStateNeedsRecharge);
        if (configuredTime(m_config->staffRechargeTime) == 0)
            startRecharge(nullptr);
    }
    if (m_capacityIcons && m_resources.size() != 0 && isLimited(m_resources[0])) {
        m_capacityIcons->setChildrenState(
            CNameId(CString("MaxCapacity").append(m_resources[0].maxAmount)), nullptr);
    }
    m_shownCapacity = kNoCapacityShown;
    updateCapacityDisplay();
    SceneNode* owner = getScene();
    setScheduler(owner != nullptr ? owner->getClock() : nullptr);
}

void GLocationNode::setState(int32_t state) {
    const CRefPointer<GLocationNode> self = CRefPointer<GLocationNode>::share(this);
    const int32_t old = m_state;
    m_state = state;
    m_stateTime = 0;
    if (state != old) {
        const CRefPointer<LocationStateEvent> event(new LocationStateEvent(this, state, old));
        sendToParent(RouteSelfThenParents, *event);
    }
    enterState(old);
}

void GLocationNode::enterState(int32_t old) {
    switch (m_state) {
    case kStateReady:
        if (old == kStateSelfRecharge)
            m_dirty = false;
        setChildrenState(nameOf("StopAction"), nullptr);
        if (m_colorNode)
            m_colorNode->setChildrenState(nameOf("StopAction"), nullptr);
        break;
    case kStateNeedsRecharge:
        setChildrenState(nameOf(m_dirty ? "Dirty" : "WantRecharge"), nullptr);
        updateRechargeProgress();
        break;
    case kStateStaffRecharge:
        setChildrenState(nameOf("StopAction"), nullptr);
        if (m_colorNode)
            m_colorNode->setChildrenState(nameOf("StopAction"), nullptr);
        showRecharging();
        updateRechargeProgress();
        break;
    default:
        break;
    }
}

void GLocationNode::showRecharging() {
    setChildrenState(nameOf("Recharging"), nullptr);
}

void GLocationNode::showRechargeEnded() {
    setChildrenState(nameOf("RechargeEnded"), nullptr);
}

void GLocationNode::addClient(GCharacterNode* client) {
    for (const GObjectRef<GCharacterNode>& present : m_clients) {
        if (present.get() == client)
            return;
    }
    m_clients.append(client);
}

void GLocationNode::removeClient(GCharacterNode* client) {
    for (uint32_t i = 0; i < m_clients.size(); ++i) {
        if (m_clients[i].get() == client) {
            m_clients.eraseAt(i);
            break;
        }
    }
    if (m_clients.size() == 0)
        clearClients();
}

void GLocationNode::clearClients() {
    m_clients.clear();
    if (m_state == kStateReady && isDirty() && !m_swapping)
        setState(kStateNeedsRecharge);
}

bool GLocationNode::hasClients() const {
    for (const GObjectRef<GCharacterNode>& client : m_clients) {
        if (client)
            return true;
    }
    return false;
}

bool GLocationNode::canTakeClient() const {
    return m_clients.size() == 0 && m_state == kStateReady && isEnabled();
}

GCharacterNode* GLocationNode::findClientByName(CNameId name) const {
    for (const GObjectRef<GCharacterNode>& client : m_clients) {
        if (client && client->getName() == name)
            return client.get();
    }
    return nullptr;
}

GCharacterNode* GLocationNode::findNearestClient(const CVector3d& point) const {
    GCharacterNode* nearest = nullptr;
    float best = 1e9f;
    for (const GObjectRef<GCharacterNode>& client : m_clients) {
        if (!client)
            continue;
        const CVector3d& at = client->getPosition();
        const float dx = at.x - point.x;
        const float dy = at.y - point.y;
        const float distance = dx * dx + dy * dy + point.z * point.z;
        if (nearest == nullptr || distance < best) {
            nearest = client.get();
            best = distance;
        }
    }
    return nearest;
}

CVector2d GLocationNode::getHeroMountPoint() const {
    return m_config ? m_config->heroMountPoint : CVector2d();
}

CVector2d GLocationNode::getStaffMountPoint() const {
    return m_config ? m_config->staffMountPoint : CVector2d();
}

CVector2d GLocationNode::getClientMountPoint(CNameId clientType) const {
    return m_config ? m_config->lookupClientPointA(clientType) : CVector2d();
}

CVector2d GLocationNode::getActionClientMountPoint(CNameId clientType) const {
    return m_config ? m_config->lookupClientPointB(clientType) : CVector2d();
}

CVector2d GLocationNode::getClientMountPoint(const GClientNode& client) const {
    return getClientMountPoint(typeOf(client));
}

CVector2d GLocationNode::getActionClientMountPoint(const GClientNode& client) const {
    return getActionClientMountPoint(typeOf(client));
}

float GLocationNode::getActionClientDepth(CNameId clientType) const {
    return m_config ? m_config->lookupClientValue(clientType) : 0;
}

void GLocationNode::startAction(CNameId) {
    if (m_state != kStateReady)
        return;
    setChildrenState(nameOf("Action"), nullptr);
    if (m_colorNode)
        m_colorNode->setChildrenState(nameOf("Action"), nullptr);
    setState(kStateInAction);
    if (m_config)
        playConfiguredCue(m_config->actionCue, false);
}

void GLocationNode::finishAction(CNameId resource) {
    if (m_state != kStateInAction)
        return;
    const GResourceConfig* config =
        getConfigs() != nullptr ? getConfigs()->getResourceConfig(resource) : nullptr;
    if (config != nullptr && config->actionAnimationTime > 0) {
        m_actionResource = resource;
        m_actionTime = config->actionAnimationTime;
        setState(kStateActionAnimation);
        return;
    }
    consumeResource(resource);
}

void GLocationNode::consumeResource(CNameId resource) {
    bool exhausted = false;
    for (LocationResource& entry : m_resources) {
        if (entry.name != resource || !isLimited(entry))
            continue;
        entry.amount -= 1.0f;
        if (entry.amount <= 0) {
            entry.amount = 0;
            exhausted = true;
        }
    }
    updateCapacityDisplay();
    if (!exhausted) {
        setState(kStateReady);
        return;
    }
    setState(kStateNeedsRecharge);
    // A converter's product comes only from an item handed in, never by itself.
    if (m_config && configuredTime(m_config->staffRechargeTime) == 0 && !convertsItems())
        startRecharge(nullptr);
}

bool GLocationNode::canRecharge() const {
    if (m_state == kStateNeedsRecharge)
        return true;
    if (m_state == kStateStaffRecharge || m_state == kStateSelfRecharge)
        return false;
    for (const LocationResource& resource : m_resources) {
        if (isLimited(resource) && resource.amount < float(resource.maxAmount))
            return true;
    }
    return false;
}

float GLocationNode::missingShare() const {
    for (const LocationResource& resource : m_resources) {
        if (isLimited(resource) && resource.amount < float(resource.maxAmount))
            return 1.0f - resource.amount / float(resource.maxAmount);
    }
    return 1.0f;
}

bool GLocationNode::startRecharge(GCharacterNode* recharger) {
    if (!canRecharge())
        return false;
    m_recharger = recharger;
    const float missing = missingShare();
    m_staffRechargeTime =
        m_config ? shareOf(configuredTime(m_config->staffRechargeTime), missing) : 0;
    m_selfRechargeTime =
        m_config ? shareOf(configuredTime(m_config->selfRechargeTime), missing) : 0;
    setState(kStateStaffRecharge);
    if (m_config)
        playConfiguredCue(m_config->rechargingCue, true);
    return true;
}

void GLocationNode::recharge() {
    for (LocationResource& resource : m_resources) {
        if (isLimited(resource))
            resource.amount = float(resource.maxAmount);
    }
    setState(kStateReady);
    updateCapacityDisplay();
    updateRechargeProgress();
}

bool GLocationNode::convertsItems() const {
    const ObjectConfigurations* configs = getConfigs();
    if (!m_config || configs == nullptr)
        return false;
    for (const LocationResource& resource : m_config->providedResources) {
        const GResourceConfig* config = configs->getResourceConfig(resource.name);
        if (config != nullptr && config->convertsFrom != CNameId())
            return true;
    }
    return false;
}

void GLocationNode::rollDirt() {
    if (m_state != kStateReady || m_swapping || !m_config || m_config->dirtyProbability <= 0)
        return;
    CRandom* random = CEngineServices::instance()->getRandom();
    if (random == nullptr)
        return;
    const float chance = float(double(random->next()) * (1.0 / 4294967296.0));
    m_dirty = m_config->dirtyProbability > chance;
}

bool GLocationNode::OnUpdate(uint32_t elapsedMs) {
    if (getParent() == nullptr || getScene() == nullptr)
        return false;
    const GGameLevelScene* level = getLevel();
    if (level != nullptr && level->isPaused())
        return true;
    GObjectNode::OnUpdate(elapsedMs);
    m_stateTime += int32_t(elapsedMs);
    if (m_indicatorLayoutDelay > 0) {
        m_indicatorLayoutDelay -= int32_t(elapsedMs);
        // Reaching 0 exactly counts too, or the icons would wait for ever.
        if (m_indicatorLayoutDelay <= 0) {
            m_indicatorLayoutDelay = -1;
            layoutIndicators();
        }
    }
    if (m_state == kStateActionAnimation && m_stateTime >= m_actionTime)
        consumeResource(m_actionResource);
    else if (m_state == kStateStaffRecharge || m_state == kStateSelfRecharge)
        runRecharge(elapsedMs);
    return true;
}

void GLocationNode::runRecharge(uint32_t elapsedMs) {
    if (m_state == kStateStaffRecharge && m_stateTime >= m_staffRechargeTime) {
        // The staff member takes the dirt away and is free again.
        const CRefPointer<GStaffNode> recharger =
            CRefPointer<GStaffNode>::share(asGStaffNode(m_recharger.get()));
        m_recharger = nullptr;
        if (recharger)
            recharger->collectGarbage(*this);
        // The location's own part goes on on the same clock, without telling anyone.
        m_state = kStateSelfRecharge;
    } else if (m_state == kStateSelfRecharge &&
               m_stateTime >= m_staffRechargeTime + m_selfRechargeTime) {
        finishRecharge();
    } else {
        fillResources(elapsedMs);
    }
    updateCapacityDisplay();
    updateRechargeProgress();
}

// At the speed of a whole recharge, whatever share of it this one is.
void GLocationNode::fillResources(uint32_t elapsedMs) {
    const int32_t total = m_config ? configuredTime(m_config->staffRechargeTime) +
                                         configuredTime(m_config->selfRechargeTime)
                                   : 0;
    const float rate = total > 0 ? float(elapsedMs) / float(total) : 1.0f;
    for (LocationResource& resource : m_resources) {
        if (!isLimited(resource) || resource.amount >= float(resource.maxAmount))
            continue;
        const float filled = resource.amount + rate * float(resource.maxAmount);
        resource.amount = filled < float(resource.maxAmount) ? filled : float(resource.maxAmount);
    }
}

void GLocationNode::finishRecharge() {
    for (LocationResource& resource : m_resources) {
        if (isLimited(resource))
            resource.amount = float(resource.maxAmount);
    }
    showRechargeEnded();
    updateCapacityDisplay();
    if (m_config)
        playConfiguredCue(m_config->rechargedCue, true);
    setState(kStateReady);
}

void GLocationNode::setColor(int32_t color) {
    const int32_t old = getColor();
    m_colorMatchCount = color == old && color != 0 ? m_colorMatchCount + 1 : 1;
    GObjectNode::setColor(color);
    showColor(old);
    if (m_colorMatchIndicator)
        showColorMatch();
}

void GLocationNode::playConfiguredCue(CNameId cue, bool exclusive) const {
    if (GGameLevelScene* level = getLevel())
        level->playCue(cue, exclusive);
}
