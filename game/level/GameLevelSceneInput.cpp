#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/core/Engine.h"
#include "engine/core/ICursorControl.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/SceneEvents.h"
#include "engine/scene/SceneManager.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"

// The player's mouse on the play field: picking a waiting client up with its group, carrying
// it under the pointer, previews over single locations and pairs of neighbouring ones, drops,
// swaps, the cancel, and clicks that give the hero work.

namespace {

// Followers stand this far behind their head.
const CVector3d kFollowerCorrection(25, 14, 0);
const CVector3d kSwapEffectOffset(-5, -140, 0);
// A carried client hangs this far below the pointer.
const CVector3d kDragOffset(0, 60, 0);
// Without dropping by click, a press that moves less than this is a click.
constexpr int32_t kDragThreshold = 5;
constexpr uint32_t kMiniGameKind = 1142;

const char* const kPairAreas[][2] = {
    {"DancePad1", "DancePad2"},         {"DancePad2", "DancePad3"},
    {"DancePad3", "DancePad4"},         {"DancePad4", "DancePad5"},
    {"DancePad5", "DancePad6"},         {"FitnessPlace1", "FitnessPlace2"},
    {"MassageTable1", "MassageTable2"},
};

float squaredDistance(const CVector3d& a, const CVector3d& b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

// The first of the location's clients in that state nearest to the point.
GClientNode* nearestInState(const GLocationNode& location, const CVector3d& point, int32_t state) {
    GClientNode* best = nullptr;
    float bestDistance = 0;
    for (const GObjectRef<GCharacterNode>& entry : location.getClients()) {
        GClientNode* client = asGClientNode(entry.get());
        if (client == nullptr || client->getClientState() != state)
            continue;
        const float distance = squaredDistance(client->getPosition(), point);
        if (best == nullptr || distance < bestDistance) {
            best = client;
            bestDistance = distance;
        }
    }
    return best;
}

bool fits(const GClientNode& client, const GLocationNode& location) {
    return location.canTakeClient() && client.canBeServedAt(location);
}

// A corner of the location's clickable rectangle, in its parent's frame.
void clickRectangle(const GLocationNode& location, CVector3d& low, CVector3d& high) {
    const CVector3d& at = location.getPosition();
    if (const BaseNode* area = location.findChild(nameOf("ClickArea"), 0)) {
        low = at + area->getPosition();
        high = low + area->getBounds();
        return;
    }
    low = at - location.getBounds();
    high = at + location.getBounds();
}

} // namespace

// Routing

bool GGameLevelScene::sendToChildren(int32_t mode, CEvent& event) {
    if (!event.isKindOf(CEventInputMouse::Id))
        return SceneNode::sendToChildren(mode, event);
    // The engine reads the cursor once a frame; the event is newer.
    const auto& mouse = static_cast<const CEventInputMousePosition&>(event);
    m_pointer = ICursorControl::Point{mouse.getX(), mouse.getY()};
    m_pointerKnown = true;
    if (m_editorMode != 0) {
        if (m_editorMode == 2)
            editRegion(mouse);
        return SceneNode::sendToChildren(mode, event);
    }
    if (m_passiveMode != 0)
        return SceneNode::sendToChildren(mode, event);
    const CRefPointer<GGameLevelScene> self = CRefPointer<GGameLevelScene>::share(this);
    if (dispatchToPreReceivers(event))
        return true;
    bool consumed = false;
    switch (event.getTypeId()) {
    case CEventInputMouseMove::Id:
        consumed = onMouseMove(static_cast<CEventInputMousePosition&>(event));
        break;
    case CEventInputMouseLeftDown::Id:
        consumed = onMouseLeftDown(static_cast<CEventInputMousePosition&>(event));
        break;
    case CEventInputMouseLeftUp::Id:
        consumed = onMouseLeftUp(static_cast<CEventInputMousePosition&>(event));
        break;
    case CEventInputMouseRightDown::Id:
        consumed = onMouseRightDown();
        break;
    default:
        break;
    }
    return consumed || SceneNode::sendToChildren(mode, event);
}

bool GGameLevelScene::deliverOwn(CEvent* event) {
    const CRefPointer<CEvent> held(event);
    return OnEvent(*held);
}

ICursorControl::Point GGameLevelScene::pointer() const {
    if (m_pointerKnown)
        return m_pointer;
    const SceneManager* manager = getSceneManager();
    const CEngine* engine = manager != nullptr ? manager->getEngine() : nullptr;
    const ICursorControl* cursor = engine != nullptr ? engine->getCursorControl() : nullptr;
    return cursor != nullptr ? cursor->getPosition() : ICursorControl::Point{};
}

bool GGameLevelScene::isCurrentScene() const {
    const SceneManager* manager = getSceneManager();
    return manager != nullptr && manager->getCurrentScene() == this;
}

bool GGameLevelScene::dragsViaClick() const {
    const SceneManager* manager = getSceneManager();
    CProfileManager* profiles =
        manager != nullptr ? manager->getEngine()->getProfileManager() : nullptr;
    const CProfileParameters* player = profiles != nullptr ? profiles->getActiveProfile() : nullptr;
    return player == nullptr || player->getBool("DragViaClick");
}

CVector3d GGameLevelScene::toLevel(int32_t x, int32_t y) const {
    CVector3d point(float(x), float(y), 1000);
    CMatrix4 inverse;
    if (!getAbsoluteMatrix().getInverse(inverse))
        return CVector3d();
    inverse.transformPoint(point);
    return CVector3d(point.x, point.y, 0);
}

GLocationNode* GGameLevelScene::locationAt(const CEventInputMousePosition& event) const {
    if (!m_locationsNode)
        return nullptr;
    const CVector3d point(float(event.getX()), float(event.getY()), 0);
    return asGLocationNode(m_locationsNode->findTopmostHitChild(point));
}

GClientNode* GGameLevelScene::actingClient(GClientNode& hit) const {
    GClientNode* acting = &hit;
    for (uint32_t i = 0; m_charactersNode && i < m_charactersNode->getChildCount(); ++i) {
        BaseNode* child = m_charactersNode->getChild(i);
        if (child == &hit)
            break;
        GClientNode* client = asGClientNode(child);
        if (client != nullptr && client->isFollowerOf(&hit))
            acting = client;
    }
    return acting;
}

// Picking up

bool GGameLevelScene::onMouseLeftDown(const CEventInputMousePosition& event) {
    if (m_heldClient || !m_charactersNode)
        return false;
    const CVector3d point(float(event.getX()), float(event.getY()), 0);
    GClientNode* hit = asGClientNode(m_charactersNode->findTopmostHitChild(point));
    if (hit != nullptr && hit->getClientState() == GClientNode::kStateWaiting) {
        deliverOwn(new GClientDragEvent(hit, actingClient(*hit), 0));
        return true;
    }
    const GLocationNode* location = locationAt(event);
    GClientNode* waiting = location != nullptr
                               ? nearestInState(*location, toLevel(event.getX(), event.getY()),
                                                GClientNode::kStateWaiting)
                               : nullptr;
    if (waiting == nullptr)
        return false;
    deliverOwn(new GClientDragEvent(waiting, waiting, 0));
    return true;
}

bool GGameLevelScene::OnButtonPressed(CEventControlClicked& event) {
    if (m_passiveMode != 0 || m_editorMode != 0)
        return false;
    BaseNode* node = event.getNode();
    GLocationNode* location = asGLocationNode(node);
    if (m_heldClient)
        return dragsViaClick() && deliverOwn(new GDropTargetEvent(location, false));
    if (location != nullptr) {
        GClientNode* client = asGClientNode(location->findNearestClient(cursorPoint()));
        if (client != nullptr)
            return deliverOwn(new GClientDragEvent(client, client, 1));
        return deliverOwn(new GDropTargetEvent(location, false));
    }
    if (GClientNode* client = asGClientNode(node))
        return deliverOwn(new GClientDragEvent(client, actingClient(*client), 1));
    return false;
}

bool GGameLevelScene::onClientDrag(GClientDragEvent& event) {
    GClientNode* client = event.getActing();
    if (!m_objectConfigs || client == nullptr || client->getLocation() == nullptr)
        return false;
    const CRefPointer<GClientNode> held = CRefPointer<GClientNode>::share(client);
    playCue(nameOf("ClientClick"), false);
    const int32_t state = client->getClientState();
    if (state == GClientNode::kStateWaitingForStart &&
        (client->isChoosing() || client->getLocation()->keepsWaitingClients()))
        return true;
    if (state != GClientNode::kStateWaiting) {
        serveAtOnce(*client);
        return true;
    }
    m_grabbedClient = CRefPointer<GClientNode>::share(event.getGrabbed());
    m_heldClient = held;
    const ICursorControl::Point at = pointer();
    m_lastCursorX = at.x;
    m_lastCursorY = at.y;
    m_dragOffset = kDragOffset;
    client->setGroupHover(false);
    client->setCanBeHit(false);
    client->setEnabled(false);
    if (ControlNode* characters = asControlNode(m_charactersNode.get()))
        characters->setEnabled(false);
    if (dragsViaClick()) {
        const CRefPointer<CEventInputMouseMove> move(new CEventInputMouseMove(at.x, at.y));
        onMouseMove(*move);
    }
    return true;
}

// A client at a location that serves itself starts at once; else the staff or the hero come.
void GGameLevelScene::serveAtOnce(GClientNode& client) {
    const GResourceConfig* requested = client.getRequestedResource();
    const GClientConfig* type = client.getClientConfig();
    if (requested != nullptr && type != nullptr &&
        client.getClientState() == GClientNode::kStateWaitingForStart) {
        const auto timing = type->resourceTimings.find(requested->name);
        if (timing != type->resourceTimings.end() && timing->value.servedByStaffTime == 0) {
            client.addHearts(requested->heartsBoost);
            client.beginService(false, 1.0f);
            return;
        }
    }
    client.setPendingHeartsBoost(requested != nullptr ? requested->heartsBoost : 0);
    serveClient(client, true);
}

// Carrying

bool GGameLevelScene::onMouseMove(const CEventInputMousePosition& event) {
    if (!isCurrentScene() || !m_heldClient)
        return false;
    const CRefPointer<GClientNode> held = m_heldClient;
    const int32_t threshold = dragsViaClick() ? 0 : kDragThreshold;
    const CVector3d point = toLevel(event.getX(), event.getY());
    const CVector3d& bounds = getBounds();
    if (point.x < 0 || point.y < 0 || point.x >= bounds.x || point.y >= bounds.y)
        return false;
    if (m_lastCursorX != kNoCursor && std::abs(event.getX() - m_lastCursorX) < threshold &&
        std::abs(event.getY() - m_lastCursorY) < threshold)
        return false;
    GLocationNode* location = locationAt(event);
    if (location != nullptr && held->getFollower() == nullptr && fits(*held, *location)) {
        held->placeAtClientPoint(*location);
        held->setPairLocation(location);
        highlightDropTargets(true);
        highlightChosenTargets(true);
    } else if (held->getFollower() != nullptr && previewPairPlacement(point)) {
        held->filterGroupWishes();
        highlightDropTargets(true);
        highlightChosenTargets(true);
    } else {
        CVector3d at = point + m_dragOffset;
        if (held.get() != m_grabbedClient.get())
            at = at - kFollowerCorrection;
        held->setPosition(CVector3d(at.x, at.y, m_dragOffset.z + 1000));
        held->arrangeGroup();
        held->setPairLocation(nullptr);
        highlightDropTargets(false);
        highlightDropTargets(true);
    }
    m_lastCursorX = kNoCursor;
    return false;
}

// Pairs

void GGameLevelScene::buildPairAreas() {
    m_pairAreas.clear();
    m_currentPairArea = -1;
    for (const auto& pair : kPairAreas)
        addPairArea(pair[0], pair[1]);
}

void GGameLevelScene::addPairArea(const char* first, const char* second) {
    GLocationNode* a = nullptr;
    GLocationNode* b = nullptr;
    for (const CRefPointer<GLocationNode>& location : m_locations) {
        if (location->getName() == nameOf(first))
            a = location.get();
        else if (location->getName() == nameOf(second))
            b = location.get();
    }
    if (a == nullptr || b == nullptr)
        return;
    CVector3d lowA;
    CVector3d highA;
    CVector3d lowB;
    CVector3d highB;
    clickRectangle(*a, lowA, highA);
    clickRectangle(*b, lowB, highB);
    m_pairAreas.append(PairArea{CRefPointer<GLocationNode>::share(a),
                                CRefPointer<GLocationNode>::share(b), std::min(lowA.x, lowB.x),
                                std::min(lowA.y, lowB.y), std::max(highA.x, highB.x),
                                std::max(highA.y, highB.y)});
}

bool GGameLevelScene::findPairPlacement(const CVector3d& point, GClientNode* (&members)[2],
                                        GLocationNode* (&targets)[2]) {
    GClientNode* head = m_heldClient.get();
    GClientNode* follower = head != nullptr ? head->getFollower() : nullptr;
    if (follower == nullptr || follower->getFollower() != nullptr)
        return false;
    head->setPairLocation(nullptr);
    follower->setPairLocation(nullptr);
    const auto inside = [&point](const PairArea& area) {
        return point.x >= area.minX && point.x <= area.maxX && point.y >= area.minY &&
               point.y <= area.maxY;
    };
    const bool keep = m_currentPairArea >= 0 && uint32_t(m_currentPairArea) < m_pairAreas.size() &&
                      inside(m_pairAreas[uint32_t(m_currentPairArea)]);
    if (!keep) {
        m_currentPairArea = -1;
        for (uint32_t i = 0; i < m_pairAreas.size(); ++i) {
            const PairArea& area = m_pairAreas[i];
            if (inside(area) && area.first->canTakeClient() && area.second->canTakeClient()) {
                m_currentPairArea = int32_t(i);
                break;
            }
        }
        if (m_currentPairArea < 0)
            return false;
    }
    const PairArea& area = m_pairAreas[uint32_t(m_currentPairArea)];
    const bool firstNearer = squaredDistance(point, area.first->getPosition()) <
                             squaredDistance(point, area.second->getPosition());
    GLocationNode* near = firstNearer ? area.first.get() : area.second.get();
    GLocationNode* far = firstNearer ? area.second.get() : area.first.get();
    if (!fits(*head, *near) || !fits(*follower, *far)) {
        m_currentPairArea = -1;
        return false;
    }
    // The member the pointer took lands on the nearer one.
    if (head != m_grabbedClient.get())
        std::swap(near, far);
    head->setPairLocation(near);
    follower->setPairLocation(far);
    members[0] = head;
    members[1] = follower;
    targets[0] = near;
    targets[1] = far;
    return true;
}

bool GGameLevelScene::previewPairPlacement(const CVector3d& point) {
    GClientNode* members[2] = {};
    GLocationNode* targets[2] = {};
    if (!findPairPlacement(point, members, targets))
        return false;
    for (uint32_t i = 0; i < 2; ++i)
        members[i]->placeAtClientPoint(*targets[i]);
    return true;
}

bool GGameLevelScene::onLocationState(LocationStateEvent& event) {
    GLocationNode* location = event.getNode();
    if (event.getNewState() != GLocationNode::kStateReady || !m_heldClient || location == nullptr ||
        !location->isDirty() || m_heldClient->getFollower() == nullptr)
        return false;
    if (!previewPairPlacement(cursorPoint()))
        return false;
    m_heldClient->filterGroupWishes();
    highlightDropTargets(true);
    highlightChosenTargets(true);
    return false;
}

CArray<GClientNode*> GGameLevelScene::getNeighbourClients(const GClientNode& client) const {
    CArray<GClientNode*> found;
    const GLocationNode* location = client.getLocation();
    for (const PairArea& area : m_pairAreas) {
        const GLocationNode* other = area.first.get() == location    ? area.second.get()
                                     : area.second.get() == location ? area.first.get()
                                                                     : nullptr;
        for (uint32_t i = 0;
             location != nullptr && other != nullptr && i < other->getClients().size(); ++i) {
            if (GClientNode* neighbour = asGClientNode(other->getClients()[i].get()))
                found.append(neighbour);
        }
    }
    return found;
}

// Dropping

bool GGameLevelScene::onMouseLeftUp(const CEventInputMousePosition& event) {
    if (!m_heldClient || dragsViaClick())
        return false;
    deliverOwn(new GDropTargetEvent(locationAt(event), false));
    return true;
}

bool GGameLevelScene::onMouseRightDown() {
    if (m_heldClient && dragsViaClick()) {
        deliverOwn(new GDropTargetEvent(nullptr, true));
        return true;
    }
    if (GHeroNode* hero = getHero())
        hero->dropLastTask();
    return false;
}

bool GGameLevelScene::onDropTarget(GDropTargetEvent& event) {
    const CRefPointer<GLocationNode> location =
        CRefPointer<GLocationNode>::share(event.getTarget());
    if (location)
        playCue(nameOf("LocationClick"), true);
    if (!m_heldClient)
        return !location || sendHeroToLocation(*location);
    const CRefPointer<GClientNode> held = m_heldClient;
    if (ControlNode* characters = asControlNode(m_charactersNode.get()))
        characters->setEnabled(true);
    highlightDropTargets(false);
    if (location && held->getFollower() == nullptr && fits(*held, *location))
        placeSingle(*location, *held);
    else if (!event.isCancel() && held->getFollower() != nullptr && held->getPairLocation())
        placePair();
    else if (!location || !location->hasClients() || !swapWith(*location))
        returnHeldClient();
    return true;
}

void GGameLevelScene::releaseHeldClient() {
    m_heldClient->setCanBeHit(true);
    m_heldClient->setEnabled(true);
    m_heldClient = nullptr;
}

void GGameLevelScene::placeSingle(GLocationNode& location, GClientNode& client) {
    location.setColor(client.getColor());
    client.placeAtClientPoint(location);
    client.moveToLocation(&location);
    client.addHearts(0);
    client.setGroupHover(true);
    releaseHeldClient();
    shiftQueue(false);
    startClientAction(location, client);
}

void GGameLevelScene::placePair() {
    CArray<CRefPointer<GClientNode>> members;
    CArray<CRefPointer<GLocationNode>> targets;
    for (GClientNode* member = m_heldClient.get(); member != nullptr;
         member = member->getFollower()) {
        members.append(CRefPointer<GClientNode>::share(member));
        targets.append(CRefPointer<GLocationNode>::share(member->getPairLocation()));
        member->setGroupHover(true);
    }
    m_heldClient->setFollower(nullptr);
    m_heldClient->filterGroupWishes();
    releaseHeldClient();
    for (uint32_t i = 0; i < members.size(); ++i) {
        GClientNode& member = *members[i];
        GLocationNode* target = targets[i].get();
        if (target == nullptr)
            continue;
        target->setColor(member.getColor());
        member.placeAtClientPoint(*target);
        member.moveToLocation(target);
        member.addHearts(0);
        member.setPairLocation(nullptr);
        startClientAction(*target, member);
    }
    shiftQueue(false);
}

bool GGameLevelScene::swapWith(GLocationNode& location) {
    GClientNode* held = m_heldClient.get();
    const CRefPointer<GLocationNode> from = CRefPointer<GLocationNode>::share(held->getLocation());
    const CRefPointer<GClientNode> other = CRefPointer<GClientNode>::share(
        nearestInState(location, cursorPoint(), GClientNode::kStateWaiting));
    // A client taken again from this very location would swap with itself.
    if (!other || other.get() == held || !from || !other->canBeServedAt(*from) ||
        !held->canBeServedAt(location))
        return false;
    const CRefPointer<GClientNode> keep = m_heldClient;
    location.setSwapping(true);
    from->setSwapping(true);
    held->moveToLocation(nullptr);
    other->moveToLocation(nullptr);
    held->addHearts(0);
    other->addHearts(0);
    location.setColor(held->getColor());
    held->placeAtClientPoint(location);
    held->moveToLocation(&location);
    releaseHeldClient();
    from->setColor(other->getColor());
    other->placeAtClientPoint(*from);
    other->moveToLocation(from.get());
    location.setSwapping(false);
    from->setSwapping(false);
    startClientAction(location, *keep);
    startClientAction(*from, *other);
    const float bonus = m_levelConfig ? m_levelConfig->swapBonus : 0;
    addMoney(bonus, 3, location.getPosition() + kSwapEffectOffset, CStringW(u"%Swap%"));
    return true;
}

// Back where it stood; a press and release that never moved is a click on its location.
void GGameLevelScene::returnHeldClient() {
    const CRefPointer<GClientNode> held = m_heldClient;
    const CRefPointer<GLocationNode> location =
        CRefPointer<GLocationNode>::share(held->getLocation());
    if (location) {
        held->placeAtClientPoint(*location);
        held->arrangeGroup();
    }
    releaseHeldClient();
    if (location && m_lastCursorX != kNoCursor && location->getParent() == m_locationsNode.get())
        sendHeroToLocation(*location);
}

void GGameLevelScene::startClientAction(GLocationNode& location, GClientNode& client) {
    const CRefPointer<GClientNode> held = CRefPointer<GClientNode>::share(&client);
    client.activateAbilities();
    const GLocationConfig* config = location.getConfig();
    if (client.getClientState() != GClientNode::kStateWaitingForStart || config == nullptr ||
        !config->autoActivation) {
        serveClient(client, false);
        return;
    }
    if (isCurrentScene()) {
        const CRefPointer<GClientDragEvent> drag(new GClientDragEvent(&client, &client, 1));
        onClientDrag(*drag);
        return;
    }
    m_deferredClients.append(held);
}

// Highlights

void GGameLevelScene::highlightDropTargets(bool on) {
    if (!m_heldClient)
        return;
    const CArray<CNameId> wishes = m_heldClient->getWishedResourceNames();
    for (const CRefPointer<GLocationNode>& location : m_locations) {
        if (!location->canTakeClient())
            continue;
        bool offered = false;
        for (const LocationResource& resource : location->getResources()) {
            for (const CNameId wish : wishes)
                offered = offered || resource.name == wish;
        }
        if (offered)
            location->setDraggingHighlight(on);
    }
}

void GGameLevelScene::highlightChosenTargets(bool on) {
    if (!on) {
        highlightDropTargets(false);
        return;
    }
    for (GClientNode* member = m_heldClient.get(); member != nullptr;
         member = member->getFollower()) {
        if (GLocationNode* target = member->getPairLocation())
            target->setPlacedHighlight(true);
    }
}

// Mini-games

bool GGameLevelScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (event.getTo() != this)
        return false;
    if (event.getForward() != 0)
        buildPairAreas();
    return true;
}

bool GGameLevelScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    if (event.getFrom() == this)
        return true;
    if (event.getTo() != this)
        return false;
    const SceneNode* from = event.getFrom();
    if (event.getFlags() != 0 || from == nullptr || !from->isKindOf(kMiniGameKind) ||
        m_deferredClients.size() == 0)
        return true;
    const CRefPointer<GClientNode> client = m_deferredClients[0];
    m_deferredClients.eraseAt(0);
    const int32_t state = client->getClientState();
    // Gone from the level meanwhile, only this list still holds it.
    const bool inLevel = client->getParent() != nullptr;
    if (inLevel &&
        (state == GClientNode::kStateWaitingForStart || state == GClientNode::kStateWantsItem)) {
        const CRefPointer<GClientDragEvent> drag(
            new GClientDragEvent(client.get(), client.get(), 1));
        onClientDrag(*drag);
    }
    return true;
}
