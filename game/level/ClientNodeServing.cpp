#include <algorithm>
#include <cmath>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/level/StaffNode.h"

// The running side of a client: its tick, the service's progress and end, the additional
// items, the hearts and the payments.

namespace {

constexpr float kHeartsPerMs = 0.001f;
constexpr float kFewHearts = 2.0f;
constexpr float kWholeHeartTolerance = 0.0001f;
constexpr int32_t kRotationWarningMs = 3500;
constexpr int32_t kHeartsShownMs = 2000;
constexpr int32_t kColorMatchAwards[] = {6, 7, 8};

bool isOneOf(int32_t state, std::initializer_list<int32_t> states) {
    return std::find(states.begin(), states.end(), state) != states.end();
}

CRandom& engineRandom() {
    return *CEngineServices::instance()->getRandom();
}

} // namespace

bool GClientNode::OnUpdate(uint32_t elapsedMs) {
    // Out of the tree, the level it knew may be gone.
    if (getParent() == nullptr || getScene() == nullptr)
        return false;
    GGameLevelScene* level = getLevel();
    if (level != nullptr && level->isPaused())
        return true;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    GCharacterNode::OnUpdate(elapsedMs);
    if (developerMode && m_nameLabel && m_nameLabel->getText().isEmpty())
        m_nameLabel->setText(CStringW(getName().toString().c_str()));
    m_lifeTime += int32_t(elapsedMs);
    m_clientStateTime += int32_t(elapsedMs);
    if (getParent() == nullptr || m_clientState == kStateLeaving)
        return false;
    if (m_clientState < kStateWaiting || m_clientState > kStateAtCheckOut)
        return true;
    if (m_clientState == kStateServedByStaff || m_clientState == kStateSelfServing)
        tickServing(elapsedMs);
    else if (m_clientState == kStatePaused)
        tickPaused(elapsedMs);
    else if (m_clientState != kStateChoosing)
        tickWaiting(elapsedMs);
    return true;
}

void GClientNode::tickWaiting(uint32_t elapsedMs) {
    if (m_pendingAnimation != CNameId()) {
        if (m_clientState == kStateWaiting || m_clientState == kStateWaitingForStart) {
            playAnimation(m_pendingAnimation);
            if (m_pendingCue != CNameId())
                playCue(m_pendingCue, true);
        }
        m_pendingAnimation = CNameId();
        m_pendingCue = CNameId();
    }
    if (m_clientState == kStateWantsItem || m_clientState == kStateItemComing)
        updateItemRotation(elapsedMs);
    // A client the player carries keeps its hearts.
    if (!isCarried())
        decreaseHearts(elapsedMs, true);
    if (m_clientState == kStateLeaving)
        return;
    updateIdleTimer(elapsedMs);
    if (!isCarried() && canStartTalk()) {
        showWaverAbility();
        talkToNeighbours(true);
    }
}

void GClientNode::tickServing(uint32_t elapsedMs) {
    if (m_talkSecondsPerHeart != 0) {
        decreaseHearts(elapsedMs, false);
        if (m_clientState == kStateLeaving)
            return;
    } else if (m_heartsNode && m_heartsNode->isVisible() && m_lifeTime > kHeartsShownMs) {
        updateHeartIcons();
    }
    if (m_forcedAnimation == CNameId() && m_pendingAnimation != CNameId()) {
        playAnimation(m_pendingAnimation);
        if (m_pendingCue != CNameId())
            playCue(m_pendingCue, false);
        m_pendingAnimation = CNameId();
        m_pendingCue = CNameId();
    }
    GClientWishList* leaf = getChosenLeaf();
    if (leaf == nullptr) {
        updateWishIcons(true);
        return;
    }
    float step = float(elapsedMs) * m_neighbourServingMul;
    GLocationNode* location = getLocation();
    if (location != nullptr && location->getConfig() != nullptr)
        step *= location->getConfig()->servingMul;
    if (m_forcedAnimation == CNameId())
        leaf->orderTime += m_servingSpeedMul * step;
    const GResourceConfig* resource = findResource(leaf->name);
    if (resource != nullptr && m_forcedAnimation == CNameId()) {
        if (checkItemRequest(int32_t(leaf->orderTime), leaf->name)) {
            updateWishIcons(false);
            updateWishIcons(true);
            return;
        }
        if (m_clientState == kStateServedByStaff) {
            if (float(m_totalStaffServeTime) <= leaf->orderTime) {
                finishStaffPart();
                setState(kStateSelfServing);
            } else if (GStaffNode* staff = getStaff()) {
                staff->setProgress(leaf->orderTime / float(m_totalStaffServeTime));
            }
        } else if (float(m_totalStaffServeTime + m_totalSelfServeTime) <= leaf->orderTime) {
            finishService(resource, leaf);
        } else if (m_stoppers.size() != 0) {
            if (location != nullptr)
                location->finishAction(leaf->name);
            setState(kStatePaused);
            playStandAnimation();
        }
    }
    updateWishIcons(true);
}

void GClientNode::tickPaused(uint32_t elapsedMs) {
    if (m_stoppers.size() == 0) {
        beginService(false, 1.0f);
        return;
    }
    decreaseHearts(elapsedMs, true);
    if (m_clientState != kStateLeaving)
        updateIdleTimer(elapsedMs);
}

void GClientNode::beginService(bool force, float speed) {
    if (!force && !isOneOf(m_clientState, {kStateWaiting, kStateWaitingForStart, kStatePaused,
                                           kStateWantsItem, kStateItemComing, kStateChoosing}))
        return;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    m_choiceMode = false;
    const GResourceConfig* requested = getRequestedResource();
    if (requested != nullptr && m_clientConfig &&
        m_clientConfig->resourceTimings.find(requested->name) !=
            m_clientConfig->resourceTimings.end()) {
        playActionAnimation(*requested, speed);
        if (GLocationNode* location = getLocation())
            location->startAction(requested->name);
    }
    if (GStaffNode* staff = getStaff()) {
        setState(kStateWaitingForAttendant);
        staff->onClientResumed(*this);
    } else {
        setState(kStateSelfServing);
        placeAtLocation();
    }
    addHearts(0);
    updateWishIcons(false);
}

bool GClientNode::checkItemRequest(int32_t progress, CNameId resource) {
    for (uint32_t i = 0; i < m_itemRequests.size(); ++i) {
        if (m_itemRequests[i].time > progress)
            continue;
        m_currentItemRequest = int32_t(i);
        m_rotationTimer = 0;
        m_choiceMode = false;
        GStaffNode* staff = getStaff();
        if (m_clientState == kStateServedByStaff && staff != nullptr)
            staff->showStand(*this);
        GLocationNode* location = getLocation();
        if (resource != CNameId() && location != nullptr)
            location->finishAction(resource);
        setState(kStateWantsItem);
        return true;
    }
    return false;
}

void GClientNode::finishService(const GResourceConfig* resource, GClientWishList* leaf) {
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    finishStaffPart();
    GLocationNode* location = getLocation();
    if (location != nullptr) {
        location->setChildrenState(nameOf("SpeedUpEnd"), nullptr);
        location->finishAction(resource->name);
        location->rollDirt();
    }
    const CRefPointer<CEvent> event(new GClientSpeedUpEvent(this, leaf->name));
    sendToParent(RouteSelfThenParents, *event);
    // A location without a configuration pays as one with the neutral factor.
    const GLocationConfig* config = location != nullptr ? location->getConfig() : nullptr;
    const float moneyMul = config != nullptr ? config->moneyMul : 1.0f;
    const float factor = location != nullptr ? location->getMoneyFactor() : 1.0f;
    m_money += std::floor(factor * moneyMul * resource->moneyBoost + 0.5f);
    leaf->name = CNameId();
    nextWish();
}

void GClientNode::finishServiceByStaff() {
    if (!m_staffCompletes)
        return;
    m_staffCompletes = false;
    if (GClientWishList* leaf = getChosenLeaf()) {
        if (const GResourceConfig* requested = getRequestedResource())
            finishService(requested, leaf);
    }
}

void GClientNode::buildItemRequests(const GResourceConfig& requested, const GClientWishList& leaf) {
    GGameLevelScene* level = getLevel();
    for (const GAdditionalItem& item : leaf.additionalItems) {
        const bool allowed =
            std::any_of(requested.additionalItems.begin(), requested.additionalItems.end(),
                        [&item](const GAdditionalItem& own) { return own.name == item.name; });
        const GResourceConfig* config = allowed ? findResource(item.name) : nullptr;
        if (config == nullptr)
            continue;
        CNameId name = item.name;
        if (config->modificationsCount.size() != 0) {
            CString text = item.name.toString();
            for (uint32_t j = 0; j < config->modificationsCount.size(); ++j) {
                const int32_t count = config->modificationsCount[j];
                int32_t chosen = 1;
                if (count >= 2 && level != nullptr)
                    chosen = int32_t(level->getRandom().next() % uint32_t(count)) + 1;
                if (j < item.modifications.size() && item.modifications[j] > 0 &&
                    item.modifications[j] <= count)
                    chosen = item.modifications[j];
                text.append(chosen);
            }
            name = CNameId(text);
            config = findResource(name);
        }
        if (config == nullptr || level == nullptr ||
            level->findLocationProducing(*config) == nullptr)
            continue;
        int32_t time = -1;
        if (item.timeRange.from != -1) {
            // A range given high to low is put in order.
            const int32_t low = std::min(item.timeRange.from, item.timeRange.to);
            const int32_t high = std::max(item.timeRange.from, item.timeRange.to);
            const int32_t percent = engineRandom().nextIntInRange(low, high);
            time = int32_t(float(percent) * (float(m_totalSelfServeTime) * 0.01f) +
                           float(m_totalStaffServeTime));
        }
        m_itemRequests.append(ItemRequest{name, time});
    }
}

void GClientNode::updateItemRotation(uint32_t elapsedMs) {
    const int32_t old = m_rotationTimer;
    m_rotationTimer += int32_t(elapsedMs);
    const int32_t rotation = m_clientConfig ? m_clientConfig->additionalItemsRotationTime : -1;
    if (m_currentItemRequest < 0 || uint32_t(m_currentItemRequest) >= m_itemRequests.size() ||
        rotation == -1)
        return;
    const uint32_t current = uint32_t(m_currentItemRequest);
    const int32_t time = m_itemRequests[current].time;
    const auto sameTime = [this, time](uint32_t i) {
        return i < m_itemRequests.size() && m_itemRequests[i].time == time;
    };
    const int32_t warning = rotation - kRotationWarningMs;
    if (old < warning && warning <= m_rotationTimer &&
        (sameTime(current + 1) || (current > 0 && sameTime(current - 1)))) {
        setItemHighlight(nameOf("HLChange"));
        m_rotationWarned = true;
        playCue(nameOf("ClubBefore"), true);
    }
    if (m_rotationTimer < rotation)
        return;
    m_rotationTimer = 0;
    m_rotationWarned = false;
    CArray<uint32_t> candidates;
    for (uint32_t i = current + 1; sameTime(i); ++i)
        candidates.append(i);
    for (uint32_t i = current; i > 0 && sameTime(i - 1); --i)
        candidates.append(i - 1);
    if (candidates.size() == 0 || getLevel() == nullptr)
        return;
    m_currentItemRequest =
        int32_t(candidates[getLevel()->getRandom().nextMwc() % candidates.size()]);
    updateItemHighlight(heroCarriedItems());
    updateWishIcons(false);
    playCue(nameOf("ClubAction"), true);
}

bool GClientNode::giveItem(GCharacterNode* giver, CNameId resource) {
    const GResourceConfig* item = findResource(resource);
    if (item == nullptr || getChosenLeaf() == nullptr)
        return false;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    CArray<CNameId> taken;
    float sum = 0;
    bool resume = false;
    bool noMood = false;
    bool boost3 = false;
    bool moodForce = true;
    const bool speedUp = item->clientBoostType == 2 || item->clientBoostType == 3;
    if (speedUp && m_clientState >= kStateWaitingForAttendant &&
        m_clientState <= kStateItemComing) {
        m_servingSpeedMul = item->servingSpeedBoost;
        if (item->clientBoostType == 3) {
            sum = item->moneyBoost;
            if (item->heartsBoost > 0)
                addHearts(item->heartsBoost);
            for (const ItemRequest& request : m_itemRequests) {
                const GResourceConfig* asked = findResource(request.resource);
                if (asked != nullptr && asked->moneyBoost > 0)
                    sum += asked->moneyBoost;
            }
            m_itemRequests.clear();
            m_currentItemRequest = -1;
            moodForce = false;
            boost3 = true;
            m_staffCompletes = true;
            if (isOneOf(m_clientState,
                        {kStateWaitingForAttendant, kStateWantsItem, kStateItemComing})) {
                resume = true;
                noMood = true;
            }
            if (GLocationNode* location = getLocation())
                location->setChildrenState(nameOf("SpeedUpBegin"), nullptr);
        }
        taken.append(resource);
    }
    if (!resume && m_clientState == kStateItemComing)
        resume = deliverItem(resource, taken);
    if (taken.size() == 0 && item->clientBoostType == 1)
        taken.append(resource);
    for (CNameId name : taken) {
        const GResourceConfig* config = findResource(name);
        if (config->heartsBoost > 0 && config->clientBoostType != 3)
            addHearts(config->heartsBoost);
        if (config->moneyBoost > 0)
            sum += config->moneyBoost;
        if (config->actionCue != CNameId())
            playCue(config->actionCue, true);
    }
    GGameLevelScene* level = getLevel();
    if (sum > 0 && level != nullptr)
        level->addMoney(sum, 5, textPosition(), CStringW(u" "));
    if (!noMood && taken.size() != 0 && m_clientState != kStateServedByStaff &&
        m_clientState != kStateSelfServing)
        playMoodAnimation(true, moodForce);
    if (resume) {
        if (m_requestAtStart)
            m_staff = asGStaffNode(giver);
        beginService(moodForce, boost3 ? 2.0f : 1.0f);
    } else if (m_staffCompletes && boost3) {
        setAnimationSpeed(m_lastActionAnimation, 2.0f);
    }
    if (taken.size() != 0 && level != nullptr)
        level->addChainBonus(resource, textPosition());
    if (item->name == nameOf("FirstAid"))
        skipToCheckOut();
    return taken.size() != 0;
}

// The requested item handed over in state 8; true when the service goes on.
bool GClientNode::deliverItem(CNameId resource, CArray<CNameId>& taken) {
    bool resume = true;
    const int32_t current = m_currentItemRequest;
    if (current >= 0 && uint32_t(current) < m_itemRequests.size() &&
        m_itemRequests[uint32_t(current)].resource == resource) {
        const CRefPointer<CEvent> event(new GClientStateEvent(this, 0, kStateItemComing));
        sendToParent(RouteSelfThenParents, *event);
        taken.append(resource);
        const int32_t time = m_itemRequests[uint32_t(current)].time;
        const bool rotating = m_clientConfig && m_clientConfig->additionalItemsRotationTime != -1;
        for (uint32_t i = m_itemRequests.size(); i > 0; --i) {
            if (int32_t(i - 1) == current || (rotating && m_itemRequests[i - 1].time == time))
                m_itemRequests.eraseAt(i - 1);
        }
        m_currentItemRequest = -1;
        m_rotationWarned = false;
    }
    const GClientWishList* leaf = getChosenLeaf();
    for (uint32_t i = 0; m_currentItemRequest == -1 && i < m_itemRequests.size(); ++i) {
        if (float(m_itemRequests[i].time) > leaf->orderTime)
            continue;
        m_currentItemRequest = int32_t(i);
        resume = false;
        updateWishIcons(false);
        setState(kStateWantsItem);
    }
    return resume;
}

void GClientNode::checkOut() {
    if (m_clientState != kStateAtCheckOut)
        return;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    const GResourceConfig* requested = getRequestedResource();
    GClientWishList* leaf = getChosenLeaf();
    if (requested != nullptr && leaf != nullptr)
        finishService(requested, leaf);
    const float amount = std::floor(float((std::trunc(m_hearts) + 1) * (m_money / 5.0f)) + 0.5f);
    if (GGameLevelScene* level = getLevel()) {
        level->addMoney(amount, 0, textPosition(), CStringW(u" "));
        level->addChainBonus(nameOf("CheckOut"), textPosition());
    }
}

void GClientNode::skipToCheckOut() {
    if (m_hearts <= 0) {
        m_hearts = 0;
        releaseWishList();
    } else if (m_wishList) {
        const CNameId checkOut = nameOf("CheckOut");
        bool reached = false;
        const auto walk = [&](auto&& self, GClientWishList& node) -> void {
            for (const CRefPointer<GClientWishList>& child : node.getChildren()) {
                if (reached)
                    return;
                if (child->getChildren().size() != 0) {
                    self(self, *child);
                } else if (child->name == checkOut) {
                    reached = true;
                } else {
                    child->name = CNameId();
                }
            }
        };
        walk(walk, *m_wishList);
    }
    nextWish();
}

// Hearts

void GClientNode::decreaseHearts(uint32_t elapsedMs, bool queueRates) {
    GGameLevelScene* level = getLevel();
    // A tutorial waits for the player as long as it takes.
    if (level != nullptr && level->hasTutorial())
        return;
    float secondsPerHeart = m_talkSecondsPerHeart;
    if (m_talkSecondsPerHeart == 0 && queueRates && m_clientConfig)
        secondsPerHeart = m_visitedLocationCount == 0 ? m_clientConfig->secondsPerHeartQueue
                                                      : m_clientConfig->secondsPerHeartScene;
    if (secondsPerHeart <= 0)
        return;
    float loss = float(elapsedMs) * kHeartsPerMs;
    loss = loss / secondsPerHeart;
    if (level != nullptr && level->getLevelConfig() != nullptr)
        loss = loss * level->getLevelConfig()->clientHappinessDecreaseMul;
    GLocationNode* location = getLocation();
    if (location != nullptr && location->getConfig() != nullptr)
        loss = loss * location->getConfig()->heartsDecMul;
    const float old = m_hearts;
    m_hearts -= loss;
    if (m_hearts <= 0) {
        leaveAtNoHearts();
        return;
    }
    static const CNameId idleNames[] = {nameOf("Stand"),     nameOf("Stand1"),
                                        nameOf("Upset"),     nameOf("MouseOverKill"),
                                        nameOf("KillFocus"), nameOf("Less2HeartsTo")};
    const bool idle = std::find(std::begin(idleNames), std::end(idleNames), m_playingAnimation) !=
                      std::end(idleNames);
    if (old >= kFewHearts && m_hearts < kFewHearts) {
        const auto hovered = [](const GClientNode* client) {
            return client != nullptr && client->isHovered();
        };
        if (queueRates && idle && m_pendingAnimation == CNameId() &&
            m_forcedAnimation == CNameId() && !isHovered() && !hovered(getParentLinker()) &&
            !hovered(getFollower()))
            playAnimation(nameOf("Less2HeartsTo"));
        updateBodyTint(heroCarriedItems());
        playClientCue("ClientAngry", true);
        updateHeartIcons();
        return;
    }
    if (std::trunc(old - kWholeHeartTolerance) > std::trunc(m_hearts)) {
        playCue(nameOf("ClientHeartMinus"), true);
        if (idle || m_playingAnimation == nameOf("WantItem"))
            playMoodAnimation(false, false);
    }
    updateHeartIcons();
}

void GClientNode::leaveAtNoHearts() {
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    m_hearts = 0;
    const GClientWishList* leaf = getChosenLeaf();
    const GResourceConfig* resource = leaf != nullptr ? findResource(leaf->name) : nullptr;
    finishStaffPart();
    GLocationNode* location = getLocation();
    if (resource != nullptr && location != nullptr) {
        location->finishAction(resource->name);
        location->rollDirt();
        const CRefPointer<CEvent> event(new GClientSpeedUpEvent(this, resource->name));
        sendToParent(RouteSelfThenParents, *event);
    }
    releaseWishList();
    nextWish();
    updateHeartIcons();
}

void GClientNode::addHearts(float amount) {
    m_hearts += amount;
    snapHearts();
    m_hearts = std::min(m_hearts, float(m_maxHearts));
    if (m_hearts > kFewHearts)
        updateBodyTint(heroCarriedItems());
    if (amount > 0)
        playCue(nameOf("ClientHeartPlus"), true);
    updateHeartIcons();
}

// Added hearts land just below a half or a whole heart, so that the icons show what was given.
void GClientNode::snapHearts() {
    if (m_hearts <= 0)
        return;
    const float whole = std::floor(m_hearts);
    const float fraction = m_hearts - whole;
    if (fraction > 0.001f && fraction < 0.501f)
        m_hearts = std::trunc(m_hearts) + 0.499f;
    else if (fraction >= 0.501f)
        m_hearts = std::trunc(m_hearts) + 0.999f;
}

void GClientNode::colorMatchBonus(GLocationNode& location) {
    const int32_t count = location.getColorMatchCount();
    const GLocationConfig* config = location.getConfig();
    GGameLevelScene* level = getLevel();
    if (count <= 1 || config == nullptr)
        return;
    if (config->colorMatchBonus > 0 && level != nullptr) {
        CStringW text(u"%Color% x");
        text.append(count);
        level->addMoney(float(count) * config->colorMatchBonus, 1, textPosition(), text);
        GAwardTracker* tracker =
            theApplication != nullptr ? theApplication->getAwardTracker() : nullptr;
        for (int32_t award : kColorMatchAwards) {
            if (tracker == nullptr || !tracker->reportProgress(award, count))
                continue;
            const CRefPointer<CEvent> event(new GAwardEarnedEvent(award));
            sendToParent(RouteSelfThenParents, *event);
        }
    }
    if (config->colorMatchHeartsBonus > 0)
        addHearts(config->colorMatchHeartsBonus);
}

CVector3d GClientNode::textPosition() const {
    const CVector3d& at = getPosition();
    return {at.x - 5, at.y - 140, at.z};
}
