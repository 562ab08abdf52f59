#include "game/level/ClientNode.h"

#include "engine/core/Engine.h"
#include "engine/core/Logger.h"
#include "engine/core/Properties.h"
#include "engine/core/Timer.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/GameApplication.h"
#include "game/app/GameEvents.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "game/level/StaffNode.h"

namespace {

uint32_t engineMilliseconds(const BaseNode& node) {
    SceneManager* manager = node.getSceneManager();
    CEngine* engine = manager != nullptr ? manager->getEngine() : nullptr;
    return engine != nullptr && engine->getTimer() != nullptr ? engine->getTimer()->getRealTime()
                                                              : 0;
}

// The first node below, depth first in child order, that has a parent and a resource.
GClientWishList* firstOpenLeaf(GClientWishList& node) {
    for (const CRefPointer<GClientWishList>& child : node.getChildren()) {
        if (child->name != CNameId())
            return child.get();
        if (GClientWishList* found = firstOpenLeaf(*child))
            return found;
    }
    return nullptr;
}

// The first such node whose resource is neither the empty name nor the one given.
GClientWishList* firstOtherWish(GClientWishList& node, CNameId other) {
    for (const CRefPointer<GClientWishList>& child : node.getChildren()) {
        if (child->name != CNameId() && child->name != other)
            return child.get();
        if (GClientWishList* found = firstOtherWish(*child, other))
            return found;
    }
    return nullptr;
}

// "AbstractDance" and "AbstractFitness" stand for "Dance" and "Fitness" when groups compare.
CNameId groupName(CNameId name) {
    if (name == nameOf("AbstractDance"))
        return nameOf("Dance");
    if (name == nameOf("AbstractFitness"))
        return nameOf("Fitness");
    return name;
}

const CArray<CRefPointer<GClientWishList>>& childrenOf(const GClientWishList* node) {
    static const CArray<CRefPointer<GClientWishList>> none;
    return node != nullptr ? node->getChildren() : none;
}

bool wishesInGroup(const GClientWishList* wish, CNameId name) {
    for (uint32_t i = 0; wish != nullptr && i < wish->getChildren().size(); ++i) {
        const CNameId leaf = wish->getChildren()[i]->name;
        if (leaf != CNameId() && groupName(leaf) == groupName(name))
            return true;
    }
    return false;
}

void markServedUnless(GClientWishList& node, CNameId keep, const GGameLevelScene& level) {
    for (const CRefPointer<GClientWishList>& child : node.getChildren()) {
        markServedUnless(*child, keep, level);
        if (child->getChildren().size() != 0 || child->name == CNameId() || child->name == keep)
            continue;
        bool offered = false;
        for (const CRefPointer<GLocationNode>& location : level.getLocations()) {
            for (const LocationResource& resource : location->getResources())
                offered = offered || resource.name == child->name;
        }
        if (!offered)
            child->name = CNameId();
    }
}

} // namespace

GClientNode* asGClientNode(BaseNode* node) {
    return node != nullptr && node->isKindOf(GClientNode::kTypeId) ? static_cast<GClientNode*>(node)
                                                                   : nullptr;
}

GClientNode::GClientNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

const PropertyTable& GClientNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        GCharacterNode::classPropertyTable(),
        {accessorProperty<&GClientNode::getStandAnimationsCount,
                          &GClientNode::setStandAnimationsCount>("StandAnimationsCount")});
    return table;
}

const EventMap& GClientNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GClientNode::OnChildrenStateStarted>(),
        eventHook<&GClientNode::OnButtonPressed>(),
    };
    static const EventMap map = buildEventMap(GCharacterNode::getEventMap(), own);
    return map;
}

void GClientNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    GCharacterNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId))
        m_standAnimationsCount = static_cast<const GClientNode&>(source).m_standAnimationsCount;
}

void GClientNode::saveProperties(CProperties& properties) const {
    GCharacterNode::saveProperties(properties);
    if (m_standAnimationsCount != 0)
        properties.addInt("StandAnimationsCount", m_standAnimationsCount);
}

void GClientNode::loadProperties(const CProperties& properties) {
    GCharacterNode::loadProperties(properties);
    const int32_t index = properties.indexOf("StandAnimationsCount");
    if (index >= 0)
        m_standAnimationsCount = PropertyTraits<int32_t>::read(properties.getValueAt(index).get());
}

// Set-up

void GClientNode::OnPostSceneNodeInit(TemplateCollectionNode* templates) {
    const uint32_t started = engineMilliseconds(*this);
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    CRefPointer<BaseNode>* abilities[] = {&m_abilityNode, &m_waverAbilityNode,
                                          &m_abilityBlockerNode, &m_cwalkAbilityNode};
    const char* const abilityNames[] = {"Ability", "WaverAbility", "AbilityBlocker",
                                        "CWalkAbility"};
    for (uint32_t i = 0; i < 4; ++i) {
        *abilities[i] = CRefPointer<BaseNode>::share(findChild(nameOf(abilityNames[i]), 1));
        if (*abilities[i])
            (*abilities[i])
                ->OnEvent(*CRefPointer<CEvent>(new CEventNodeTemplatesChanged(templates)));
    }
    const auto cloneTemplate = [this, templates](const char* name) -> CRefPointer<BaseNode> {
        const BaseNode* model =
            templates != nullptr ? templates->getTemplate(nameOf(name)) : nullptr;
        if (model == nullptr)
            return nullptr;
        CRefPointer<BaseNode> copy = model->clone(this, getSceneManager());
        copy->setVisible(true);
        return copy;
    };
    if (developerMode) {
        const BaseNode* model =
            templates != nullptr ? templates->getTemplate(nameOf("ClientName")) : nullptr;
        if (model != nullptr && model->isKindOf(TextNode::kTypeId)) {
            CRefPointer<BaseNode> label = cloneTemplate("ClientName");
            m_nameLabel = CRefPointer<TextNode>::share(static_cast<TextNode*>(label.get()));
            m_nameLabel->setText(CStringW(getName().toString().c_str()));
        }
    }
    m_heartsNode = cloneTemplate("ClientHearts");
    m_hearts = 0;
    setMaxHearts(5);
    m_iconsNode = cloneTemplate("Icons");
    if (m_iconsNode) {
        const CVector3d& at = m_iconsNode->getPosition();
        m_iconsNode->setPosition({at.x, at.y, 50.0f});
        BaseNode* progress = m_iconsNode->findChild(nameOf("Progress"), 1);
        if (progress != nullptr && progress->isKindOf(BaseProgressBarNode::kTypeId))
            m_progressNode = CRefPointer<BaseProgressBarNode>::share(
                static_cast<BaseProgressBarNode*>(progress));
    }
    const uint32_t spent = engineMilliseconds(*this) - started;
    if (spent > 10)
        CLogger::instance()->log(u"GClientNode::OnPostSceneNodeInit() time: " + CStringW(spent),
                                 CLogger::LevelInformation);
}

void GClientNode::setClientData(GClientConfig* config, const GQueuedClient* queued,
                                GClientWishList* wishList) {
    m_clientConfig = CRefPointer<GClientConfig>::share(config);
    m_queuedClient = queued;
    m_wishList = CRefPointer<GClientWishList>::share(wishList);
    m_currentWish = nullptr;
    m_hearts = config != nullptr ? config->initialHearts : 0;
}

void GClientNode::setLevel(GGameLevelScene* level) {
    GCharacterNode::setLevel(level);
    if (m_clientConfig)
        nextWish();
}

void GClientNode::setFollower(GClientNode* follower) {
    if (follower == nullptr) {
        for (GClientNode* next = m_follower.get(); next != nullptr;) {
            GClientNode* after = next->m_follower.get();
            next->m_parentLinker = nullptr;
            next->m_follower = nullptr;
            next = after;
        }
    }
    m_follower = follower;
    if (follower != nullptr)
        follower->m_parentLinker = this;
}

bool GClientNode::isFollowerOf(const GClientNode* client) const {
    for (const GClientNode* next = m_follower.get(); next != nullptr; next = next->getFollower()) {
        if (next == client)
            return true;
    }
    return false;
}

// The follower becomes the head and takes the leaver's place; a leader forgets its follower.
void GClientNode::leaveGroup() {
    if (GClientNode* leader = getParentLinker())
        leader->m_follower = nullptr;
    m_parentLinker = nullptr;
    const CRefPointer<GClientNode> follower = CRefPointer<GClientNode>::share(getFollower());
    m_follower = nullptr;
    if (!follower)
        return;
    follower->m_parentLinker = nullptr;
    GLocationNode* location = getLocation();
    if (location == nullptr || follower->getLocation() != nullptr)
        return;
    moveToLocation(nullptr);
    follower->moveToLocation(location);
    follower->placeAtLocation();
}

void GClientNode::setPairLocation(GLocationNode* location) {
    m_pairLocation = location;
}

GLocationNode* GClientNode::getPairLocation() const {
    return m_pairLocation.get();
}

void GClientNode::arrangeGroup() {
    filterGroupWishes();
    for (GClientNode* member = m_follower.get(); member != nullptr;
         member = member->getFollower()) {
        member->filterGroupWishes();
        const CVector3d& leader = member->getParentLinker()->getPosition();
        member->setPosition({leader.x + 25, leader.y + 14, leader.z + 10});
    }
}

bool GClientNode::isCarried() const {
    const GGameLevelScene* level = getLevel();
    const GClientNode* held = level != nullptr ? level->getHeldClient() : nullptr;
    for (const GClientNode* client = this; held != nullptr && client != nullptr;
         client = client->getParentLinker()) {
        if (client == held)
            return true;
    }
    return false;
}

void GClientNode::filterGroupWishes() {
    m_groupWishIndices.clear();
    if (!m_follower || m_pairLocation)
        return;
    const auto& leaves = childrenOf(m_currentWish);
    for (uint32_t i = 0; i < leaves.size(); ++i) {
        bool shared = leaves[i]->name != CNameId();
        for (GClientNode* member = m_follower.get(); shared && member != nullptr;
             member = member->getFollower())
            shared = wishesInGroup(member->m_currentWish, leaves[i]->name);
        if (shared)
            m_groupWishIndices.append(int32_t(i));
    }
    for (GClientNode* member = this; member != nullptr; member = member->getFollower()) {
        member->updateWishIcons(true);
        member->updateHeartIcons();
    }
}

bool GClientNode::pruneUnservableWishes() {
    if (!m_wishList || getLevel() == nullptr)
        return false;
    markServedUnless(*m_wishList, nameOf("CheckOut"), *getLevel());
    pruneWishTree(*m_wishList);
    if (m_wishList->getChildren().size() >= 2)
        return true;
    releaseWishList();
    return false;
}

CArray<CNameId> GClientNode::getWishedResourceNames() const {
    CArray<CNameId> names;
    if (m_currentWish == nullptr)
        return names;
    const auto& leaves = m_currentWish->getChildren();
    if (m_groupWishIndices.size() == 0) {
        for (const CRefPointer<GClientWishList>& leaf : leaves) {
            if (leaf->name != CNameId())
                names.append(leaf->name);
        }
        return names;
    }
    for (int32_t index : m_groupWishIndices)
        names.append(leaves[uint32_t(index)]->name);
    return names;
}

void GClientNode::pruneWishTree(GClientWishList& node) {
    for (uint32_t i = 0; i < node.getChildren().size();) {
        GClientWishList& child = *node.getChildren()[i];
        pruneWishTree(child);
        if (child.getChildren().size() == 0 && child.name == CNameId())
            node.removeChildAt(i);
        else
            ++i;
    }
}

// The tree goes at once; the wish that pointed into it with it.
void GClientNode::releaseWishList() {
    m_currentWish = nullptr;
    m_currentOrderIndex = -1;
    m_otherOptions.clear();
    m_wishList = nullptr;
}

// States and wishes

void GClientNode::setState(int32_t state) {
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    const int32_t old = m_clientState;
    m_clientState = state;
    m_clientStateTime = 0;
    if (state != old) {
        const CRefPointer<CEvent> event(new GClientStateEvent(this, state, old));
        sendToParent(RouteSelfThenParents, *event);
    }
    switch (state) {
    case kStateWaiting:
    case kStateAtCheckOut:
        playStandAnimation();
        break;
    case kStateWantsItem:
        playWantItemAnimation();
        break;
    case kStateLeaving:
        setCanBeHit(false);
        playGoodbye();
        break;
    default:
        break;
    }
    if (state == kStateWaiting || state == kStateWaitingForStart || state == kStateWantsItem ||
        state == kStateAtCheckOut)
        armIdleTimer();
    if (m_clientConfig && m_clientConfig->talksWaitTime != -1 && m_talking) {
        hideWaverAbility();
        applyTalkActions(false);
    }
    updateHeartIcons();
}

void GClientNode::nextWish() {
    if (!m_clientConfig)
        return;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    int32_t state = kStateWaiting;
    for (;;) {
        if (m_wishList)
            pruneWishTree(*m_wishList);
        GClientWishList* leaf = m_wishList ? firstOpenLeaf(*m_wishList) : nullptr;
        m_currentWish = leaf != nullptr ? leaf->getParent() : nullptr;
        m_currentOrderIndex = -1;
        m_otherOptions.clear();
        m_totalStaffServeTime = 0;
        m_totalSelfServeTime = 0;
        m_staffCompletes = false;
        if (m_currentWish == nullptr) {
            finishStaffPart();
            leaveGroup();
            if (GGameLevelScene* level = getLevel()) {
                const CRefPointer<CEvent> event(new GClientLeaveEvent(this));
                level->OnEvent(*event);
            }
            setState(kStateLeaving);
            updateWishIcons(false);
            return;
        }
        if (m_currentWish->getChildren().size() == 1)
            m_currentOrderIndex = 0;
        const GResourceConfig* requested = getRequestedResource();
        if (requested != nullptr && requested->itemType == 6) {
            state = kStateAtCheckOut;
            break;
        }
        // A client without a queue record needs no hearts for it.
        const float minimum = m_queuedClient != nullptr ? m_queuedClient->superPadHearts : 0;
        if (requested != nullptr && requested->name == nameOf("SuperDance") &&
            minimum > m_hearts + 0.01f) {
            getChosenLeaf()->name = CNameId();
            continue;
        }
        state = kStateWaiting;
        break;
    }
    setState(state);
    GLocationNode* location = getLocation();
    if (location != nullptr && canBeServedAt(*location) && location->canTakeClient())
        moveToLocation(location);
    updateWishIcons(false);
}

void GClientNode::moveToLocation(GLocationNode* location) {
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    if (location != getLocation()) {
        deactivateAbilities();
        if (m_cwalkAbilityNode)
            m_cwalkAbilityNode->setChildrenState(nameOf("AbilityInactive"), nullptr);
        if (GLocationNode* old = getLocation()) {
            old->hideIndicator(CNameId());
            old->removeClient(this);
        }
        m_location = location;
        if (location != nullptr)
            location->addClient(this);
    }
    if (location == nullptr)
        return;
    if (location->getConfig() != nullptr) {
        ++m_visitedLocationCount;
        if (m_visitedLocationCount == 1 && m_iconsNode)
            m_iconsNode->setChildrenState(nameOf("InGame"), nullptr);
    }
    updateBodyTint(heroCarriedItems());
    if (location->getConfig() != nullptr)
        colorMatchBonus(*location);
    m_staffCompletes = false;
    m_currentOrderIndex = -1;
    m_otherOptions.clear();
    const auto& leaves = childrenOf(m_currentWish);
    for (uint32_t r = 0; r < location->getResources().size() && m_currentOrderIndex < 0; ++r) {
        for (uint32_t i = 0; i < leaves.size(); ++i) {
            if (leaves[i]->name == location->getResources()[r].name) {
                m_currentOrderIndex = int32_t(i);
                break;
            }
        }
    }
    if (m_currentOrderIndex < 0)
        return;
    for (uint32_t i = 0; i < leaves.size(); ++i) {
        if (int32_t(i) != m_currentOrderIndex && leaves[i]->name != CNameId())
            m_otherOptions.append(int32_t(i));
    }
    const GResourceConfig* requested = getRequestedResource();
    m_choiceMode = requested != nullptr && requested->specificResources.size() != 0;
    m_additionalStaffTime = 0;
    if (m_choiceMode && requested->specificResources.size() == 1) {
        // One entry is no choice: there is no panel to pick it from.
        startServing(requested->specificResources[0], -1);
    } else if (m_choiceMode) {
        showActionPanel(true);
        setState(kStateChoosing);
    } else {
        startServing(leaves[uint32_t(m_currentOrderIndex)]->name, -1);
    }
    clearNeighbourLists();
    updateWishIcons(false);
}

void GClientNode::startServing(CNameId resource, int32_t button) {
    m_totalStaffServeTime = 0;
    m_totalSelfServeTime = 0;
    GClientWishList* leaf = getChosenLeaf();
    if (leaf == nullptr)
        return;
    const CNameId old = leaf->name;
    const bool changed = old != resource;
    leaf->name = resource;
    m_itemRequests.clear();
    m_servingSpeedMul = 1.0f;
    m_currentItemRequest = -1;
    m_requestAtStart = false;
    m_choiceMode = false;
    const GResourceConfig* requested = getRequestedResource();
    if (requested == nullptr)
        return;
    const auto& timings = m_clientConfig->resourceTimings;
    auto timing = changed ? timings.find(old) : timings.end();
    if (timing == timings.end())
        timing = timings.find(leaf->name);
    if (timing == timings.end())
        return;
    if (changed) {
        m_additionalStaffTime = requested->miniGameServedByStaffTime;
        m_pendingHeartsBoost = button == m_glowButtonIndex ? requested->miniGameHeartsBoost
                                                           : requested->miniGameHeartsBoostFail;
        m_glowButtonIndex = -1;
    }
    m_totalStaffServeTime = timing->value.servedByStaffTime;
    m_totalSelfServeTime = timing->value.servedBySelfTime;
    bool dueAtOnce = false;
    if (m_totalSelfServeTime > 0) {
        buildItemRequests(*requested, *leaf);
        for (const ItemRequest& request : m_itemRequests)
            dueAtOnce = dueAtOnce || request.time == -1;
    }
    GLocationNode* location = getLocation();
    if (location != nullptr && !location->keepsWaitingClients()) {
        if (m_totalStaffServeTime == 0) {
            addHearts(requested->heartsBoost);
            beginService(false, 1.0f);
            return;
        }
        if (dueAtOnce) {
            if (checkItemRequest(-1, CNameId()))
                m_requestAtStart = true;
            return;
        }
    }
    setState(kStateWaitingForStart);
}

void GClientNode::requestService(GCharacterNode* attendant) {
    if (attendant != nullptr)
        m_comingAttendant = attendant;
    if (m_clientState == kStateWaitingForStart) {
        m_choiceMode = false;
        setState(kStateWaitingForAttendant);
    } else if (m_clientState == kStateWantsItem) {
        m_choiceMode = false;
        setState(kStateItemComing);
    }
    updateWishIcons(false);
}

void GClientNode::onStaffArrived(GStaffNode* staff) {
    m_comingAttendant = nullptr;
    if (m_clientState == kStateWaitingForAttendant) {
        m_pendingHeartsBoost = 0;
        m_staff = staff;
        setState(kStateServedByStaff);
        if (const GResourceConfig* requested = getRequestedResource()) {
            playActionAnimation(*requested, 1.0f);
            if (GLocationNode* location = getLocation())
                location->startAction(requested->name);
        }
    }
    updateWishIcons(false);
}

GClientWishList* GClientNode::getChosenLeaf() const {
    if (m_currentWish == nullptr || m_currentOrderIndex < 0 ||
        uint32_t(m_currentOrderIndex) >= m_currentWish->getChildren().size())
        return nullptr;
    return m_currentWish->getChildren()[uint32_t(m_currentOrderIndex)].get();
}

GResourceConfig* GClientNode::findResource(CNameId name) const {
    const ObjectConfigurations* configs = getConfigs();
    return configs != nullptr && name != CNameId() ? configs->getResourceConfig(name) : nullptr;
}

GResourceConfig* GClientNode::getRequestedItem() const {
    if (m_currentItemRequest < 0 || uint32_t(m_currentItemRequest) >= m_itemRequests.size())
        return nullptr;
    return findResource(m_itemRequests[uint32_t(m_currentItemRequest)].resource);
}

GResourceConfig* GClientNode::getWishedResource() const {
    const GClientWishList* leaf = getChosenLeaf();
    return leaf != nullptr ? findResource(leaf->name) : nullptr;
}

GResourceConfig* GClientNode::getRequestedResource() const {
    if (m_currentItemRequest >= 0 && uint32_t(m_currentItemRequest) < m_itemRequests.size())
        return getRequestedItem();
    return getWishedResource();
}

CNameId GClientNode::getWishedResourceName() const {
    const GClientWishList* leaf = getChosenLeaf();
    const CNameId chosen = leaf != nullptr ? leaf->name : CNameId();
    const GClientWishList* other = m_wishList ? firstOtherWish(*m_wishList, chosen) : nullptr;
    return other != nullptr ? other->name : chosen;
}

bool GClientNode::canBeServedAt(const GLocationNode& location) const {
    for (uint32_t i = 0; m_currentWish != nullptr && i < m_currentWish->getChildren().size(); ++i) {
        for (const LocationResource& resource : location.getResources()) {
            if (resource.name == m_currentWish->getChildren()[i]->name)
                return true;
        }
    }
    return false;
}

bool GClientNode::isFinishingAnimation() const {
    const GClientWishList* leaf = getChosenLeaf();
    if (leaf != nullptr && leaf->orderTime < float(m_totalStaffServeTime + m_totalSelfServeTime))
        return false;
    return m_forcedAnimation != CNameId();
}

void GClientNode::clearForcedAnimation() {
    m_forcedAnimation = CNameId();
    OnUpdate(0);
}

GLocationNode* GClientNode::getLocation() const {
    return m_location.get();
}

GStaffNode* GClientNode::getStaff() const {
    return m_staff.get();
}

void GClientNode::finishStaffPart() {
    if (GStaffNode* staff = getStaff())
        staff->finishServing(*this);
    m_staff = nullptr;
}

CArray<CNameId> GClientNode::heroCarriedItems() const {
    const GGameLevelScene* level = getLevel();
    const GHeroNode* hero = level != nullptr ? level->getHero() : nullptr;
    return hero != nullptr ? hero->getCarried() : CArray<CNameId>();
}
