#include "game/level/StaffNode.h"

#include <cmath>
#include <string_view>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/SpriteNode.h"
#include "engine/video/AtlasTexture.h"
#include "game/app/GameEvents.h"
#include "game/app/UpgradeLevel.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/screens/SectorSpriteNode.h"

namespace {

constexpr int32_t kIdleMinMs = 8000;
constexpr int32_t kIdleMaxMs = 12000;

// The hero's carrying animations that face away, where the items show from behind.
const char* const kAwayAnimations[] = {"MoveRightUpLR", "MoveUpLR", "MoveLeftUpLR",
                                       "MoveRightUpR",  "MoveUpR",  "MoveLeftUpR",
                                       "MoveRightUpL",  "MoveUpL",  "MoveLeftUpL"};

bool offers(const GLocationNode* location, CNameId resource) {
    for (uint32_t i = 0; location != nullptr && i < location->getResources().size(); ++i) {
        if (location->getResources()[i].name == resource)
            return true;
    }
    return false;
}

} // namespace

GStaffNode* asGStaffNode(BaseNode* node) {
    return node != nullptr && node->isKindOf(GStaffNode::kTypeId) ? static_cast<GStaffNode*>(node)
                                                                  : nullptr;
}

GStaffNode::GStaffNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GStaffNode::OnLoaded() {
    GCharacterNode::OnLoaded();
    m_progressIcon = CRefPointer<BaseNode>::share(findChild(nameOf("ProgressIcon"), 1));
    if (m_progressIcon)
        m_progressIcon->setVisible(false);
    m_icons.clear();
    m_carried.clear();
    if (const BaseNode* hands = findChild(nameOf("CarriedIcons"), 1)) {
        for (uint32_t i = 0; i < hands->getChildCount(); ++i) {
            if (!hands->getChild(i)->isKindOf(SpriteNode::kTypeId))
                continue;
            m_icons.append(CRefPointer<BaseNode>::share(hands->getChild(i)));
            m_carried.append(CNameId());
        }
    }
    BaseNode* sound = findChild(nameOf("Sound"), 1);
    m_sound = sound != nullptr && sound->isKindOf(SoundNode::kTypeId)
                  ? CRefPointer<SoundNode>::share(static_cast<SoundNode*>(sound))
                  : nullptr;
}

void GStaffNode::setConfig(GStaffConfig* config) {
    m_config = CRefPointer<GStaffConfig>::share(config);
    if (config != nullptr)
        setVelocity(config->velocity);
}

void GStaffNode::setLevel(GGameLevelScene* level) {
    GCharacterNode::setLevel(level);
    setStaffState(kStateIdle);
    refreshCarriedIcons();
}

void GStaffNode::setShopMode(bool on, int32_t shopGroup, const GUpgradeItem* current,
                             const GUpgradeItem* next) {
    if (m_sound)
        m_sound->setVisible(!on);
    if (on && current != nullptr && current->type == CNameId()) {
        if (next == nullptr || next->type == CNameId()) {
            // Not bought and nothing to buy: out of the shop's way altogether.
            setVisible(false);
            setEnabled(false);
            setCanBeHit(false);
            setHoverTrack(false);
            return;
        }
        setVisible(false);
    }
    setHoverTrack(on);
    GCharacterNode::setShopMode(on, shopGroup, current, next);
}

GLocationNode* GStaffNode::getLocation() const {
    return m_location.get();
}

void GStaffNode::setLocation(GLocationNode* location) {
    linkLocation(location, &GLocationNode::setStaff);
}

void GStaffNode::linkLocation(GLocationNode* location,
                              void (GLocationNode::*tell)(GCharacterNode*)) {
    if (location == getLocation())
        return;
    if (GLocationNode* old = getLocation())
        (old->*tell)(nullptr);
    m_location = location;
    if (location != nullptr)
        (location->*tell)(this);
}

bool GStaffNode::provides(CNameId resource) const {
    for (uint32_t i = 0; m_config && i < m_config->providedResources.size(); ++i) {
        if (m_config->providedResources[i].name == resource)
            return true;
    }
    return false;
}

bool GStaffNode::canServe(const GLocationNode& location) const {
    if (!location.hasClients())
        return false;
    for (const LocationResource& resource : location.getResources()) {
        if (provides(resource.name))
            return true;
    }
    return false;
}

// The tick

bool GStaffNode::OnUpdate(uint32_t elapsedMs) {
    const CRefPointer<GStaffNode> self = CRefPointer<GStaffNode>::share(this);
    if (!GCharacterNode::OnUpdate(elapsedMs))
        return false;
    m_stateTime += int32_t(elapsedMs);
    if (m_state == kStateIdle && !isWalking()) {
        m_idleTimer -= int32_t(elapsedMs);
        if (m_idleTimer <= 0) {
            m_idleTimer =
                CEngineServices::instance()->getRandom()->nextIntInRange(kIdleMinMs, kIdleMaxMs);
            playIdleAnimation();
        }
    }
    if (m_state != kStateWorking)
        return true;
    GLocationNode* location = getLocation();
    if (location == nullptr) {
        setStaffState(kStateIdle);
        return true;
    }
    bool allWaiting = location->hasClients();
    for (const GObjectRef<GCharacterNode>& entry : location->getClients()) {
        const GClientNode* client = asGClientNode(entry.get());
        const int32_t state = client != nullptr ? client->getClientState() : -1;
        allWaiting = allWaiting && (client == nullptr || state == GClientNode::kStateWaiting ||
                                    state == GClientNode::kStateAtCheckOut);
    }
    if (allWaiting) {
        setStaffState(kStateIdle);
        startNextTask();
    }
    return true;
}

void GStaffNode::setStaffState(int32_t state) {
    m_state = state;
    if (state == kStateIdle) {
        playStand();
        if (m_goHome) {
            m_goHome = false;
            walkHome();
        }
    }
    refreshCarriedIcons();
}

void GStaffNode::playStand() {
    const char* name = "Stand";
    if (m_carried.size() == 2) {
        const bool first = m_carried[0] != CNameId();
        const bool second = m_carried[1] != CNameId();
        name = first && second ? "StandLR" : first ? "StandR" : second ? "StandL" : "Stand";
    }
    playAnimation(nameOf(name));
}

void GStaffNode::walkHome() {
    GGameLevelScene* level = getLevel();
    const std::string_view name = m_config ? m_config->name.toString().c_str() : "";
    const char* home = nullptr;
    if (name.find("Masseur") != std::string_view::npos)
        home = "Masseur";
    else if (name.find("Fitness") != std::string_view::npos)
        home = "Fitness";
    if (level == nullptr || home == nullptr)
        return;
    const CArray<GLocationNode*> places = level->getAppearLocations(nameOf(home));
    if (places.size() == 0)
        return;
    const CVector3d& from = getPosition();
    const CVector3d& to = places[0]->getPosition();
    walkTo({from.x, from.y}, {to.x, to.y}, false);
}

void GStaffNode::playIdleAnimation() {
    const int32_t count = m_config ? m_config->standAnimationsCount : 0;
    if (count == 0)
        return;
    CString name("Stand");
    name.append(int32_t(CEngineServices::instance()->getRandom()->nextMwc() % uint32_t(count)) + 1);
    playAnimation(CNameId(name));
}

void GStaffNode::onWalkStarted() {
    setStaffState(kStateWalking);
}

// Tasks

void GStaffNode::enqueueTask(GLocationNode* location, CNameId target, int32_t kind) {
    if (m_tasks.size() == 0 && m_state == kStateWalking) {
        abandonWalk();
        m_state = kStateIdle;
    }
    m_tasks.append(StaffTask{location, CNameId(), target, kind});
    optimiseTasks();
    onTaskDone(nullptr);
    if (m_state == kStateIdle)
        startNextTask();
}

void GStaffNode::dropLastTask() {
    if (m_tasks.size() > 1)
        m_tasks.eraseAt(m_tasks.size() - 1);
}

void GStaffNode::clearTasks() {
    m_tasks = CArray<StaffTask>();
}

void GStaffNode::startNextTask() {
    // A task whose location has gone cannot be walked to.
    while (m_tasks.size() != 0 && m_tasks[0].location.get() == nullptr)
        m_tasks.eraseAt(0);
    if (m_tasks.size() == 0)
        return;
    GLocationNode* location = m_tasks[0].location.get();
    const auto servedByHero = [](const StaffTask& task) {
        const GLocationNode* at = task.location.get();
        const GClientNode* client = at != nullptr && at->getHero() != nullptr
                                        ? asGClientNode(at->findClientByName(task.target))
                                        : nullptr;
        return client != nullptr &&
               client->getClientState() > GClientNode::kStateWaitingForAttendant;
    };
    if (servedByHero(m_tasks[0])) {
        m_tasks.eraseAt(0);
        if (m_tasks.size() == 0 || m_tasks[0].location.get() == nullptr)
            return;
        location = m_tasks[0].location.get();
    }
    setLocation(location);
    const CVector3d& from = getPosition();
    const CVector3d& at = location->getPosition();
    const CVector2d mount = location->getStaffMountPoint();
    walkTo({from.x, from.y}, {at.x + mount.x, at.y + mount.y}, false);
}

void GStaffNode::onWalkFinished() {
    const CRefPointer<GStaffNode> self = CRefPointer<GStaffNode>::share(this);
    bool handled = false;
    bool ran = false;
    bool working = false;
    GLocationNode* location = m_tasks.size() != 0 ? m_tasks[0].location.get() : nullptr;
    if (location != nullptr) {
        // Serving may send a client away, out of the location's list.
        CArray<GObjectRef<GClientNode>> candidates;
        const CNameId target = m_tasks[0].target;
        if (GClientNode* named = asGClientNode(location->findClientByName(target)))
            candidates.append(named);
        for (const GObjectRef<GCharacterNode>& entry : location->getClients()) {
            GClientNode* client = asGClientNode(entry.get());
            if (client != nullptr && (target == CNameId() || client->getName() != target))
                candidates.append(client);
        }
        for (uint32_t i = 0; i < candidates.size() && !handled; ++i) {
            if (GClientNode* client = candidates[i].get()) {
                ran = true;
                working = serveClient(*client, handled, true);
            }
        }
        if (!handled) {
            ran = true;
            working = useLocation(handled);
        }
    }
    if (!handled)
        clearTasks();
    if (ran && !working)
        finishCurrentTask();
    refreshCarriedIcons();
}

void GStaffNode::finishCurrentTask() {
    if (m_tasks.size() != 0) {
        GLocationNode* location = m_tasks[0].location.get();
        m_tasks.eraseAt(0);
        onTaskDone(location);
    }
    setStaffState(kStateIdle);
    startNextTask();
}

void GStaffNode::onTaskDone(GLocationNode*) {
    if (m_tasks.size() == 0)
        m_goHome = true;
}

// Both items are fetched before the two clients are served.
void GStaffNode::optimiseTasks() {
    if (m_tasks.size() != 4)
        return;
    for (CNameId item : m_carried) {
        if (item != CNameId())
            return;
    }
    const GLocationNode* first = m_tasks[0].location.get();
    const GLocationNode* third = m_tasks[2].location.get();
    const auto bothOffer = [first, third](const char* resource) {
        return offers(first, nameOf(resource)) && offers(third, nameOf(resource));
    };
    const bool together = first == third || bothOffer("Water") || bothOffer("Towel");
    if (together && m_tasks[0].kind == kTaskFetch && m_tasks[2].kind == kTaskFetch &&
        m_tasks[1].kind == kTaskServe && m_tasks[3].kind == kTaskServe) {
        const StaffTask serve = m_tasks[1];
        m_tasks[1] = m_tasks[2];
        m_tasks[2] = serve;
    }
}

// Clients

void GStaffNode::onClientResumed(GClientNode& client) {
    if (m_state != kStateWorking)
        return;
    bool handled = false;
    serveClient(client, handled, false);
    if (!handled)
        clearTasks();
}

void GStaffNode::showStand(GClientNode&) {
    if (m_state == kStateWorking)
        playAnimation(nameOf("Stand"));
}

void GStaffNode::finishServing(GClientNode& client) {
    if (m_state != kStateWorking)
        return;
    const CRefPointer<GStaffNode> self = CRefPointer<GStaffNode>::share(this);
    setProgress(-1);
    onServingFinished(client);
    finishCurrentTask();
}

bool GStaffNode::serveClient(GClientNode& client, bool& handled, bool completePending) {
    handled = false;
    if (client.getClientState() == GClientNode::kStateLeaving)
        return false;
    const CRefPointer<GClientNode> held = CRefPointer<GClientNode>::share(&client);
    handled = true;
    const CNameId wished = client.getWishedResourceName();
    if (client.isFinishingAnimation() &&
        (wished == nameOf("CheckOut") || wished == nameOf("SuperDance")))
        client.clearForcedAnimation();
    if (completePending)
        client.finishServiceByStaff();
    const ObjectConfigurations* configs = getConfigs();
    for (uint32_t hand = 0; hand < m_carried.size(); ++hand) {
        const GResourceConfig* item =
            configs != nullptr ? configs->getResourceConfig(m_carried[hand]) : nullptr;
        const int32_t state = client.getClientState();
        if (item == nullptr || (item->clientBoostType != 2 && item->clientBoostType != 3) ||
            state < GClientNode::kStateWaitingForAttendant || state > GClientNode::kStateItemComing)
            continue;
        if (client.giveItem(this, m_carried[hand])) {
            freeHand(hand);
            return false;
        }
    }
    const GResourceConfig* requested = client.getRequestedResource();
    const int32_t state = client.getClientState();
    if (requested != nullptr && state == GClientNode::kStateWaitingForAttendant &&
        (client.getStaff() == this || client.getComingAttendant() == this) &&
        provides(requested->name)) {
        onStartServing(client, *requested);
        client.addHearts(client.getPendingHeartsBoost());
        client.onStaffArrived(this);
        setStaffState(kStateWorking);
        playAnimation(requested->actionAnimationName);
        return true;
    }
    if (requested != nullptr &&
        (state == GClientNode::kStateWantsItem || state == GClientNode::kStateItemComing)) {
        for (uint32_t hand = 0; hand < m_carried.size(); ++hand) {
            if (m_carried[hand] != requested->name)
                continue;
            const CNameId item = m_carried[hand];
            if (state == GClientNode::kStateWantsItem)
                client.requestService(this);
            client.addHearts(0);
            client.giveItem(this, item);
            freeHand(hand);
            return false;
        }
    }
    if (requested != nullptr && state == GClientNode::kStateAtCheckOut &&
        provides(requested->name)) {
        client.checkOut();
        return false;
    }
    for (uint32_t hand = 0; hand < m_carried.size(); ++hand) {
        if (m_carried[hand] != CNameId() && client.giveItem(this, m_carried[hand])) {
            freeHand(hand);
            return false;
        }
    }
    handled = false;
    return false;
}

void GStaffNode::onStartServing(GClientNode& client, const GResourceConfig& resource) {
    client.addHearts(0);
    SpriteNode* icon = nullptr;
    if (m_progressIcon) {
        BaseNode* child = m_progressIcon->findChild(nameOf("Icon"), 1);
        if (child != nullptr && child->isKindOf(SpriteNode::kTypeId))
            icon = static_cast<SpriteNode*>(child);
    }
    CContentManager* content = getContentManager();
    if (icon == nullptr || content == nullptr)
        return;
    const CRefPointer<CContent> image = content->loadAtlasTexture(
        u"levels/common/Icons/" + CStringW(resource.iconName.c_str()) + u".png", true);
    icon->setImage(static_cast<CAtlasTexture*>(image.get()));
}

void GStaffNode::setProgress(float fraction) {
    if (!m_progressIcon)
        return;
    if (fraction < 0) {
        m_progressIcon->setVisible(false);
        return;
    }
    m_progressIcon->setVisible(true);
    BaseNode* pie = m_progressIcon->findChild(nameOf("ActionProgress1"), 1);
    if (pie == nullptr || !pie->isKindOf(GSectorSpriteNode::kTypeId))
        return;
    static_cast<GSectorSpriteNode*>(pie)->setAngle1(0);
    static_cast<GSectorSpriteNode*>(pie)->setAngle2(std::floor(fraction * 360 + 0.5f));
}

// Hands

bool GStaffNode::takeInHand(CNameId item) {
    for (CNameId& hand : m_carried) {
        if (hand == CNameId()) {
            hand = item;
            refreshCarriedIcons();
            return true;
        }
    }
    return false;
}

bool GStaffNode::hasEmptyHand() const {
    for (const CNameId hand : m_carried) {
        if (hand == CNameId())
            return true;
    }
    return false;
}

void GStaffNode::freeHand(uint32_t hand) {
    m_carried[hand] = CNameId();
    refreshCarriedIcons();
    sendStaffEvent();
}

void GStaffNode::sendStaffEvent() {
    const CRefPointer<CEvent> event(new StaffEvent);
    sendToParent(RouteSelfThenParents, *event);
}

void GStaffNode::refreshCarriedIcons() {
    const GLocationNode* location = getLocation();
    if (m_state == kStateWorking && location != nullptr && location->hasClients())
        return;
    bool away = false;
    for (const char* name : kAwayAnimations)
        away = away || getCurrentAnimation() == nameOf(name);
    const ObjectConfigurations* configs = getConfigs();
    for (uint32_t i = 0; i < m_icons.size(); ++i) {
        const CNameId item = i < m_carried.size() ? m_carried[i] : CNameId();
        const GResourceConfig* config =
            configs != nullptr && item != CNameId() ? configs->getResourceConfig(item) : nullptr;
        if (config == nullptr) {
            static_cast<SpriteNode*>(m_icons[i].get())->setImage(nullptr);
            continue;
        }
        CString state = config->iconName;
        state.append(away ? "R" : "N");
        m_icons[i]->setState(CNameId(state), nullptr, CNameId());
    }
}
