#include "engine/audio/SoundPlayer.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/level/StaffNode.h"

// What a staff member does at a location besides serving: fetching, converting and delivering
// items, recharging, and taking the garbage away.

bool GStaffNode::useLocation(bool& handled) {
    handled = false;
    if (m_tasks.size() == 0 || m_tasks[0].location.get() == nullptr)
        return false;
    GLocationNode& location = *m_tasks[0].location.get();
    handled = true;
    StaffTask& task = m_tasks[0];
    if (task.kind == kTaskFetch && location.getState() == GLocationNode::kStateNeedsRecharge)
        task.kind = kTaskRecharge;
    if (task.kind == kTaskFetch) {
        bool working = false;
        if (convertAt(location, task, working))
            return working;
        if (location.getState() == GLocationNode::kStateReady &&
            (dropItemsAt(location) || takeFromLocation(location, task.target)))
            return false;
    } else if (task.kind == kTaskRecharge) {
        // The garbage of a dirty location needs a free hand.
        if (!location.isDirty() || hasEmptyHand()) {
            if (location.convertsItems() && !dropItemsAt(location))
                return false;
            if (location.startRecharge(this)) {
                setStaffState(kStateWorking);
                return true;
            }
        }
    }
    handled = false;
    return false;
}

// An input in hand is exchanged for the location's product; true when that ended the use of
// the location, working telling whether the staff member stays for the recharge.
bool GStaffNode::convertAt(GLocationNode& location, const StaffTask& task, bool& working) {
    if (!location.convertsItems())
        return false;
    const int32_t hand = findConvertingHand(location);
    if (hand < 0)
        return false;
    const CArray<CNameId> saved = m_carried;
    m_carried[uint32_t(hand)] = CNameId();
    uint32_t firstEmpty = 0;
    while (m_carried[firstEmpty] != CNameId())
        ++firstEmpty;
    if (!takeFromLocation(location, task.target)) {
        m_carried = saved;
        refreshCarriedIcons();
        return false;
    }
    const CNameId product = m_carried[firstEmpty];
    m_carried = saved;
    if (!dropItemsAt(location))
        return false;
    m_carried = saved;
    m_carried[uint32_t(hand)] = product;
    refreshCarriedIcons();
    sendStaffEvent();
    working = location.startRecharge(this);
    if (working)
        setStaffState(kStateWorking);
    return true;
}

// The first hand that holds what one of the location's products is made from, in the order of
// the products.
int32_t GStaffNode::findConvertingHand(const GLocationNode& location) const {
    const ObjectConfigurations* configs = getConfigs();
    if (configs == nullptr)
        return -1;
    for (const LocationResource& offered : location.getResources()) {
        const GResourceConfig* product = configs->getResourceConfig(offered.name);
        if (product == nullptr)
            continue;
        const GResourceConfig* unmodified = configs->getResourceConfig(product->unmodifiedResource);
        const CNameId source = unmodified != nullptr ? unmodified->convertsFrom : CNameId();
        for (uint32_t hand = 0; hand < m_carried.size(); ++hand) {
            const GResourceConfig* item = configs->getResourceConfig(m_carried[hand]);
            if (m_carried[hand] == CNameId())
                continue;
            if ((product->convertsFrom != CNameId() && m_carried[hand] == product->convertsFrom) ||
                (item != nullptr && source != CNameId() && item->unmodifiedResource == source))
                return int32_t(hand);
        }
    }
    return -1;
}

bool GStaffNode::takeFromLocation(GLocationNode& location, CNameId name) {
    if (location.getState() != GLocationNode::kStateReady || !location.chooseResource(this, name))
        return false;
    const ObjectConfigurations* configs = getConfigs();
    bool taken = false;
    for (uint32_t i = 0; !taken && i < location.getResources().size(); ++i) {
        const CNameId offered = location.getResources()[i].name;
        const GResourceConfig* resource =
            configs != nullptr ? configs->getResourceConfig(offered) : nullptr;
        taken = resource != nullptr && takeResource(location, *resource);
    }
    location.endChoice(this, taken, name);
    if (taken) {
        sendStaffEvent();
        if (GGameLevelScene* level = getLevel())
            level->playCue(nameOf("ItemTaken"), false);
    }
    return taken;
}

// Items go into a hand; the queue box, the boost of the queue and the boombox act on the level.
bool GStaffNode::takeResource(GLocationNode& location, const GResourceConfig& resource) {
    GGameLevelScene* level = getLevel();
    bool taken = false;
    switch (resource.itemType) {
    case 1:
    case 2:
        taken = takeInHand(resource.name);
        break;
    case 3:
        taken = level != nullptr && level->queueBoxAction(&location, resource.heartsBoost);
        break;
    case 4:
        taken = level != nullptr && level->boostQueuedClients(&location, resource.heartsBoost);
        break;
    case 5:
        taken = level != nullptr && level->giveBoomboxHeart(&location, resource.heartsBoost);
        break;
    default:
        break;
    }
    if (!taken)
        return false;
    location.startAction(resource.name);
    location.finishAction(resource.name);
    return true;
}

bool GStaffNode::dropItemsAt(GLocationNode& location) {
    const ObjectConfigurations* configs = getConfigs();
    const auto handOver = [this, &location, configs](uint32_t hand) {
        location.takeItem(this, configs != nullptr ? configs->getResourceConfig(m_carried[hand])
                                                   : nullptr);
        m_carried[hand] = CNameId();
        refreshCarriedIcons();
    };
    const CNameId garbage = nameOf("Garbage");
    bool dropped = false;
    for (uint32_t hand = 0; hand < m_carried.size(); ++hand) {
        if (m_carried[hand] == garbage && location.acceptsItem(garbage)) {
            handOver(hand);
            dropped = true;
        }
    }
    for (uint32_t hand = 0; !dropped && hand < m_carried.size(); ++hand) {
        if (m_carried[hand] != CNameId() && location.acceptsItem(m_carried[hand])) {
            handOver(hand);
            dropped = true;
        }
    }
    if (dropped)
        sendStaffEvent();
    return dropped;
}

void GStaffNode::collectGarbage(GLocationNode& location) {
    if (m_state != kStateWorking)
        return;
    const CRefPointer<GStaffNode> self = CRefPointer<GStaffNode>::share(this);
    if (location.isDirty() && takeInHand(nameOf("Garbage"))) {
        const CVector3d& at = location.getPosition();
        if (GGameLevelScene* level = getLevel())
            level->addChainBonus(nameOf("Garbage"), {at.x - 5, at.y - 140, at.z});
    }
    finishCurrentTask();
}
