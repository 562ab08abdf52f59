#include "game/level/HeroNode.h"

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"

namespace {

// By hands: bit 0 the right hand (the first) holds something, bit 1 the left.
const char* const kSuffixes[] = {"", "R", "L", "LR"};
constexpr int32_t kSectors = 9;

// Interned once: the hero asks at every corner.
CNameId heroMove(int32_t sector, int32_t hands) {
    static const auto names = [] {
        CArray<CNameId> made;
        for (const char* ending : kSuffixes) {
            for (int32_t i = 0; i < kSectors; ++i) {
                CString name(GCharacterNode::moveAnimation(i).toString());
                made.append(CNameId(name.append(ending)));
            }
        }
        return made;
    }();
    return names[uint32_t(hands * kSectors + sector)];
}

} // namespace

GHeroNode* asGHeroNode(BaseNode* node) {
    return node != nullptr && node->isKindOf(GHeroNode::kTypeId) ? static_cast<GHeroNode*>(node)
                                                                 : nullptr;
}

GHeroNode::GHeroNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

int32_t GHeroNode::heldHands() const {
    const CArray<CNameId>& carried = getCarried();
    const bool right = carried.size() > 0 && carried[0] != CNameId();
    const bool left = carried.size() > 1 && carried[1] != CNameId();
    return (right ? 1 : 0) | (left ? 2 : 0);
}

const char* GHeroNode::handsSuffix() const {
    return kSuffixes[heldHands()];
}

void GHeroNode::setDirection(const CVector2d& direction) {
    const int32_t sector = directionSector(direction);
    if (sector < 0)
        return;
    const CNameId name = heroMove(sector, heldHands());
    if (name == getCurrentAnimation())
        return;
    playAnimation(name);
    refreshCarriedIcons();
}

void GHeroNode::playIdleAnimation() {
    const GStaffConfig* config = getConfig();
    const int32_t count = config != nullptr ? config->standAnimationsCount : 0;
    if (count == 0)
        return;
    CString name("Stand");
    name.append(handsSuffix());
    name.append(int32_t(CEngineServices::instance()->getRandom()->nextMwc() % uint32_t(count)) + 1);
    playAnimation(CNameId(name));
}

void GHeroNode::setLocation(GLocationNode* location) {
    linkLocation(location, &GLocationNode::setHero);
}

// Tasks

void GHeroNode::startNextTask() {
    CArray<StaffTask>& queue = tasks();
    // A task whose location has gone cannot be walked to.
    while (queue.size() != 0 && queue[0].location.get() == nullptr)
        queue.eraseAt(0);
    if (queue.size() == 0)
        return;
    GLocationNode* location = queue[0].location.get();
    const GClientNode* client = asGClientNode(location->findClientByName(queue[0].target));
    setLocation(location);
    // Where no staff member serves, the hero takes the staff's place for a client it serves.
    const bool staffPlace = location->getStaff() == nullptr && client != nullptr &&
                            client->getClientState() >= GClientNode::kStateWaitingForAttendant;
    const CVector2d mount =
        staffPlace ? location->getStaffMountPoint() : location->getHeroMountPoint();
    const CVector3d& at = location->getPosition();
    const CVector3d& from = getPosition();
    const CVector2d target(at.x + mount.x, at.y + mount.y);
    if (target.x != from.x || target.y != from.y)
        playHeroCue("HeroSteps", false);
    // A new walk ends any step back: its arrival is the task's.
    m_steppingBack = false;
    walkTo({from.x, from.y}, target, true);
}

void GHeroNode::onWalkFinished() {
    const bool steppingBack = m_steppingBack;
    m_steppingBack = false;
    if (steppingBack)
        finishCurrentTask();
    else
        GStaffNode::onWalkFinished();
}

void GHeroNode::onTaskDone(GLocationNode* location) {
    const CArray<StaffTask>& queue = getTasks();
    if (location != nullptr)
        location->showQueueIndex(0);
    for (const StaffTask& task : queue) {
        if (GLocationNode* at = task.location.get())
            at->showQueueIndex(0);
    }
    for (uint32_t i = 0; i < queue.size(); ++i) {
        if (GLocationNode* at = queue[i].location.get())
            at->showQueueIndex(int32_t(i) + 1);
    }
}

// The marks of the other tasks are laid out again, so that a location named by an earlier task
// keeps its mark.
void GHeroNode::dropLastTask() {
    CArray<StaffTask>& queue = tasks();
    if (queue.size() < 2)
        return;
    GLocationNode* location = queue[queue.size() - 1].location.get();
    queue.eraseAt(queue.size() - 1);
    onTaskDone(location);
}

void GHeroNode::clearTasks() {
    for (const StaffTask& task : getTasks()) {
        if (GLocationNode* at = task.location.get())
            at->showQueueIndex(0);
    }
    GStaffNode::clearTasks();
    playHeroCue("HeroLocationsQueueBroken", true);
}

// Clients

void GHeroNode::onClientResumed(GClientNode& client) {
    tasks().insert(StaffTask{client.getLocation(), CNameId(), CNameId(), kTaskGoTo}, 0);
    onTaskDone(nullptr);
    if (getStaffState() == kStateIdle)
        startNextTask();
}

void GHeroNode::showStand(GClientNode& client) {
    finishServing(client);
}

bool GHeroNode::stepsBackAfterServing() const {
    return getLocation() != nullptr && getTasks().size() <= 1;
}

void GHeroNode::finishServing(GClientNode& client) {
    if (getStaffState() != kStateWorking)
        return;
    const CRefPointer<GHeroNode> self = CRefPointer<GHeroNode>::share(this);
    const bool steppingBack = stepsBackAfterServing();
    setProgress(-1);
    onServingFinished(client);
    if (!steppingBack)
        finishCurrentTask();
}

void GHeroNode::onServingFinished(GClientNode&) {
    if (!stepsBackAfterServing())
        return;
    const GLocationNode* location = getLocation();
    const CVector3d& at = location->getPosition();
    const CVector2d mount = location->getHeroMountPoint();
    const CVector3d& from = getPosition();
    m_steppingBack = true;
    walkTo({from.x, from.y}, {at.x + mount.x, at.y + mount.y}, true);
}

void GHeroNode::playHeroCue(const char* name, bool exclusive) const {
    if (const GGameLevelScene* level = getLevel())
        level->playCue(nameOf(name), exclusive);
}
