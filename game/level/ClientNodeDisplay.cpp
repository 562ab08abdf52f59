#include <cmath>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/video/AtlasTexture.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/screens/SectorSpriteNode.h"

// What the player sees of a client: its animations, heart icons, wish icons, action panel,
// tint and place at its location.

namespace {

constexpr int32_t kIdleMinMs = 4000;
constexpr int32_t kIdleMaxMs = 11000;
constexpr int32_t kHeartsShownMs = 2000;
constexpr uint32_t kBodyTint = 0xFF000000u;
constexpr uint32_t kBodyHighlight = 0xFF600000u;
constexpr uint32_t kMaxPanelButtons = 3;

CRandom& engineRandom() {
    return *CEngineServices::instance()->getRandom();
}

CNameId stateOf(const BaseNode& node) {
    return node.getCurrentState() != nullptr ? node.getCurrentState()->getName() : CNameId();
}

// "levels/common/Icons/<IconName>.png"; none without content.
CRefPointer<CAtlasTexture> loadIcon(const BaseNode& node, const GResourceConfig& resource) {
    CContentManager* content = node.getContentManager();
    if (content == nullptr)
        return nullptr;
    const CStringW name = u"levels/common/Icons/" + CStringW(resource.iconName.c_str()) + u".png";
    const CRefPointer<CContent> loaded = content->loadAtlasTexture(name, true);
    return CRefPointer<CAtlasTexture>::share(static_cast<CAtlasTexture*>(loaded.get()));
}

SpriteNode* asSprite(BaseNode* node) {
    return node != nullptr && node->isKindOf(SpriteNode::kTypeId) ? static_cast<SpriteNode*>(node)
                                                                  : nullptr;
}

} // namespace

// Animations

void GClientNode::playAnimation(CNameId name) {
    m_stoppingStates = true;
    stopChildrenStates(true);
    m_stoppingStates = false;
    setChildrenState(name, nullptr);
}

void GClientNode::playStandAnimation() {
    if (m_forcedAnimation == CNameId())
        playAnimation(nameOf(m_hearts < 2 ? "Less2Hearts" : "Stand"));
}

void GClientNode::playIdleVariant() {
    if (m_forcedAnimation != CNameId() || isHovered() || m_clientState == kStatePaused ||
        m_clientState == kStateWantsItem || m_clientState == kStateItemComing)
        return;
    playAnimation(nameOf(m_hearts < 2 ? "Less2Hearts1" : "Stand1"));
}

void GClientNode::armIdleTimer() {
    m_idleTimer = engineRandom().nextIntInRange(kIdleMinMs, kIdleMaxMs);
}

void GClientNode::updateIdleTimer(uint32_t elapsedMs) {
    if (m_playingAnimation != nameOf("Stand"))
        return;
    m_idleTimer -= int32_t(elapsedMs);
    if (m_idleTimer > 0)
        return;
    armIdleTimer();
    playIdleVariant();
}

void GClientNode::playMoodAnimation(bool pleased, bool force) {
    const char* name = "Upset";
    if (pleased)
        name = "Happy";
    else if (m_hearts < 2 && m_clientState != kStateWantsItem && m_clientState != kStateItemComing)
        name = "Less2Hearts1";
    if (force)
        m_forcedAnimation = nameOf(name);
    playAnimation(nameOf(name));
    if (pleased)
        playClientCue("ClientHappy", true);
    else if ((engineRandom().next() & 3) == 0)
        playClientCue("ClientSad", true);
}

void GClientNode::playWantItemAnimation() {
    if (m_forcedAnimation == CNameId())
        playAnimation(nameOf("WantItem"));
}

void GClientNode::playGoodbye() {
    if (m_hearts != 0) {
        m_goodbyeAnimation = nameOf("GoodBye");
    } else {
        m_goodbyeAnimation = nameOf("GoodByeSad");
        playClientCue("ClientGoneAngry", true);
    }
    if (GLocationNode* location = getLocation())
        location->setChildrenState(nameOf("CheckOut"), nullptr);
    playAnimation(m_goodbyeAnimation);
}

void GClientNode::playHappyMusic() {
    if (isHovered())
        return;
    playAnimation(nameOf("HappyMusic"));
    playClientCue("ClientHappy", true);
}

void GClientNode::playActionAnimation(const GResourceConfig& resource, float speed) {
    CNameId name = resource.actionAnimationName;
    if (name == nameOf("Dance")) {
        if (m_danceAnimation == CNameId()) {
            CString text("Dance");
            text.append(int32_t(engineRandom().nextMwc() % 3) + 1);
            name = CNameId(text);
        } else {
            name = m_danceAnimation;
            m_danceAnimation = CNameId();
        }
    }
    const GClientWishList* leaf = getChosenLeaf();
    if (resource.name == nameOf("AbstractDance") && leaf != nullptr && leaf->orderTime == 0)
        playCue(nameOf("HeroServingStarted"), false);
    if (m_forcedAnimation == CNameId()) {
        m_pendingAnimation = CNameId();
        m_pendingCue = CNameId();
        playAnimation(name);
        playCue(resource.actionCue, false);
    } else {
        m_pendingAnimation = name;
        m_pendingCue = resource.actionCue;
    }
    m_lastActionAnimation = name;
    setAnimationSpeed(name, speed);
}

void GClientNode::setAnimationSpeed(CNameId state, float speed) {
    for (uint32_t i = 0; i < getChildCount(); ++i) {
        NodeState* found = getChild(i)->findState(state);
        for (uint32_t k = 0; found != nullptr && k < found->getAnimatorCount(); ++k) {
            Base* action = found->getAnimator(k);
            if (action->isKindOf(KeyFrame::kTypeId))
                static_cast<KeyFrame*>(action)->setSpeed(speed);
        }
    }
}

void GClientNode::playClientCue(const char* stem, bool exclusive) const {
    const bool man = !m_clientConfig || m_clientConfig->isMan;
    playCue(CNameId(CString(stem).append(man ? "M" : "W")), exclusive);
}

void GClientNode::playCue(CNameId name, bool exclusive) const {
    if (GGameLevelScene* level = getLevel(); level != nullptr && name != CNameId())
        level->playCue(name, exclusive);
}

// Hover and the children's states

bool GClientNode::isLocationHovered() const {
    const GLocationNode* location = getLocation();
    return location != nullptr && location->isHovered();
}

// A follower standing with its head shows neither wishes nor hearts.
bool GClientNode::isGroupedWithHead() const {
    return m_parentLinker && !m_pairLocation;
}

void GClientNode::setGroupHover(bool hovered) {
    const CNameId name = nameOf(hovered ? "MouseOver" : "MouseOverKill");
    for (GClientNode* member = this; member != nullptr; member = member->getFollower()) {
        if (member->m_clientState != kStateWaiting &&
            member->m_clientState != kStateWaitingForStart)
            return;
        if (member->m_playingAnimation == name) {
            member->m_pendingAnimation = CNameId();
            member->m_pendingCue = CNameId();
            continue;
        }
        member->m_pendingAnimation = name;
        if (!member->m_parentLinker) {
            const bool man = !member->m_clientConfig || member->m_clientConfig->isMan;
            member->m_pendingCue = nameOf(man ? "ClientOverM" : "ClientOverW");
        }
    }
}

void GClientNode::updateHoverState() {
    GCharacterNode::updateHoverState();
    if ((getLocation() != nullptr && !isLocationHovered()) || m_parentLinker) {
        GClientNode* head = m_parentLinker ? m_parentLinker.get() : this;
        head->setGroupHover(isHovered());
    }
    updateWishIcons(true);
    updateHeartIcons();
}

bool GClientNode::OnChildrenStateStarted(CEventNodeChildrenStateStarted& event) {
    placeAtLocation();
    m_playingAnimation = event.getStateName();
    return false;
}

bool GClientNode::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    // The goodbye detaches the client; it lives on until this handler returns.
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    if (GCharacterNode::OnChildrenStateFinished(event))
        return true;
    const CNameId finished = event.getStateName();
    const CNameId playing = m_playingAnimation;
    m_idleTimer = engineRandom().nextIntInRange(kIdleMinMs, kIdleMaxMs);
    if (m_clientState == kStateLeaving && finished == m_goodbyeAnimation) {
        moveToLocation(nullptr);
        if (BaseNode* parent = getParent())
            parent->removeChild(this);
        return true;
    }
    placeAtLocation();
    if (finished == m_forcedAnimation) {
        m_forcedAnimation = CNameId();
        return false;
    }
    if (m_stoppingStates)
        return false;
    const bool mood = finished == nameOf("HappyMusic") || finished == nameOf("Less2Hearts1") ||
                      finished == nameOf("Upset") || finished == nameOf("Happy");
    if (mood) {
        if (m_clientState == kStateWantsItem || m_clientState == kStateItemComing)
            playWantItemAnimation();
        else if (finished != nameOf("Less2Hearts1"))
            playAnimation(nameOf(m_hearts < 2 ? "Less2HeartsTo" : "Stand"));
        return true;
    }
    if (finished == nameOf("MouseOverKill") && m_hearts < 2 && m_pendingAnimation == CNameId() &&
        playing == nameOf("MouseOverKill") && !isHovered() && !isLocationHovered()) {
        playAnimation(nameOf("Less2HeartsTo"));
        return true;
    }
    return false;
}

// Hearts

void GClientNode::updateHeartIcons() {
    if (!m_heartsNode)
        return;
    const bool served = m_clientState == kStateServedByStaff || m_clientState == kStateSelfServing;
    if (served && !isHovered() && !isLocationHovered() && m_lifeTime > kHeartsShownMs &&
        m_talkSecondsPerHeart == 0 && !m_keepHeartsShown) {
        m_heartsNode->setVisible(false);
        return;
    }
    m_heartsNode->setVisible(true);
    if (m_hearts == 0 || isGroupedWithHead()) {
        m_heartsNode->setVisible(false);
        return;
    }
    if (m_heartsFrozen)
        return;
    const int32_t full = int32_t(std::floor(m_hearts + 0.5f));
    const int32_t shown = int32_t(std::trunc(m_hearts + 0.999f));
    const TemplateCollectionNode* templates =
        getSceneManager() != nullptr ? getSceneManager()->getTemplateCollection() : nullptr;
    bool fetched = false;
    const BaseNode* flash = nullptr;
    const CRefPointer<BaseNode> hearts = m_heartsNode;
    for (int32_t i = 0; i < int32_t(hearts->getChildCount()) && i < m_maxHearts; ++i) {
        BaseNode* icon = hearts->getChild(uint32_t(i));
        const CNameId state = nameOf(i < full ? "Full" : i < shown ? "Medium" : "Empty");
        if (stateOf(*icon) == state)
            continue;
        icon->setState(state, nullptr, CNameId());
        if (!fetched) {
            fetched = true;
            flash =
                templates != nullptr ? templates->getTemplate(nameOf("Heart051Effect")) : nullptr;
        }
        if (flash == nullptr)
            continue;
        const CRefPointer<BaseNode> copy = flash->clone(hearts.get(), getSceneManager());
        const CVector3d& at = icon->getPosition();
        copy->setPosition({at.x, at.y, at.z + 10.0f});
        copy->setState(state, nullptr, CNameId());
        copy->setChildrenState(state, nullptr);
        copy->setChildrenState(nameOf("SelfDestruct"), nullptr);
    }
}

void GClientNode::setMaxHearts(int32_t count) {
    m_maxHearts = count;
    for (uint32_t i = 0; m_heartsNode && i < m_heartsNode->getChildCount(); ++i)
        m_heartsNode->getChild(i)->setVisible(int32_t(i) < count);
}

BaseNode* GClientNode::getHeartIcon(float hearts) const {
    if (float(m_maxHearts) < hearts + 1)
        hearts = float(m_maxHearts - 1);
    if (hearts > 5)
        hearts = 5;
    const int32_t index = int32_t(std::floor(hearts + 0.5f));
    if (!m_heartsNode || index < 0 || uint32_t(index) >= m_heartsNode->getChildCount())
        return nullptr;
    return m_heartsNode->getChild(uint32_t(index));
}

void GClientNode::setHidden(bool frozen) {
    m_heartsFrozen = frozen;
    updateHeartIcons();
}

// Wishes

void GClientNode::updateWishIcons(bool quick) {
    if (!m_iconsNode)
        return;
    const CRefPointer<BaseNode> icons = m_iconsNode;
    for (uint32_t i = 0; i < icons->getChildCount(); ++i)
        icons->getChild(i)->setVisible(false);
    const auto showMarker = [&icons](const char* name) {
        if (BaseNode* marker = icons->findChild(nameOf(name), 1))
            marker->setVisible(true);
    };
    if (m_clientState == kStatePaused || (m_talking && m_abilityBlockers.size() == 0))
        showMarker(m_talking ? "WantBusy" : "Busy");
    if (m_clientState == kStateWaitingForStart || m_clientState == kStateWaitingForAttendant)
        showMarker("WantClick");
    if (m_currentWish == nullptr || isGroupedWithHead())
        return;
    const bool asking = getRequestedItem() != nullptr;
    const GClientWishList* chosen = getChosenLeaf();
    const auto& leaves = m_currentWish->getChildren();
    for (uint32_t i = 0; i < icons->getChildCount(); ++i) {
        BaseNode* icon = icons->getChild(i);
        const bool item = icon->getName() == nameOf("Item");
        if (!item && icon->getName() != nameOf("Icon"))
            continue;
        GClientWishList* leaf = nullptr;
        GResourceConfig* resource = nullptr;
        if (asking) {
            resource = item ? getRequestedItem() : nullptr;
        } else if (!item && chosen != nullptr) {
            if (i == 0)
                leaf = const_cast<GClientWishList*>(chosen);
            else if (i <= 2 && i - 1 < m_otherOptions.size())
                leaf = leaves[uint32_t(m_otherOptions[i - 1])].get();
        } else if (!item) {
            const uint32_t count = m_groupWishIndices.size();
            if (count == 0 && i < leaves.size())
                leaf = leaves[i].get();
            else if (i < count)
                leaf = leaves[uint32_t(m_groupWishIndices[i])].get();
        }
        if (leaf != nullptr)
            resource = findResource(leaf->name);
        if (resource != nullptr)
            showWishIcon(*icon, resource, leaf, int32_t(i), quick, asking);
    }
}

void GClientNode::showWishIcon(BaseNode& icon, GResourceConfig* resource, GClientWishList* leaf,
                               int32_t index, bool quick, bool item) {
    icon.setVisible(true);
    if (!quick) {
        if (SpriteNode* sprite = asSprite(icon.findChild(nameOf("Icon"), 1))) {
            const CRefPointer<CAtlasTexture> image = loadIcon(*this, *resource);
            if (image.get() != sprite->getImage()) {
                sprite->setImage(image.get());
                icon.setState(nameOf("Appear"), nullptr, CNameId());
            }
        }
    }
    const bool hovered = isHovered() || isLocationHovered();
    const bool chosen = getChosenLeaf() != nullptr;
    BaseNode* sector = icon.findChild(nameOf("ActionProgress2"), 1);
    if (((leaf != nullptr && leaf->orderTime > 0) || (index != 0 && chosen)) && !hovered && !item) {
        icon.setVisible(false);
        return;
    }
    if (sector == nullptr || !sector->isKindOf(GSectorSpriteNode::kTypeId))
        return;
    const int32_t total = m_totalStaffServeTime + m_totalSelfServeTime;
    const bool timed = m_clientConfig && m_clientConfig->resourceTimings.find(resource->name) !=
                                             m_clientConfig->resourceTimings.end();
    const bool progress = index == 0 && leaf != nullptr && leaf->orderTime != 0 && timed && !item &&
                          hovered && total > 0;
    sector->setVisible(progress);
    if (!progress)
        return;
    auto* pie = static_cast<GSectorSpriteNode*>(sector);
    pie->setAngle1(0);
    pie->setAngle2(std::floor(leaf->orderTime / float(total) * 360 + 0.5f));
}

// The action panel

void GClientNode::showActionPanel(bool show) {
    if (m_actionPanel) {
        if (BaseNode* parent = m_actionPanel->getParent())
            parent->removeChild(m_actionPanel.get());
        m_actionPanel = nullptr;
    }
    const TemplateCollectionNode* templates =
        getSceneManager() != nullptr ? getSceneManager()->getTemplateCollection() : nullptr;
    const GResourceConfig* requested = getRequestedResource();
    if (!show || templates == nullptr || requested == nullptr ||
        requested->specificResources.size() < 2)
        return;
    const uint32_t entries = requested->specificResources.size();
    const BaseNode* model =
        templates->getTemplate(nameOf(entries == 2 ? "ActionPanel2" : "ActionPanel3"));
    if (model == nullptr)
        return;
    m_actionPanel = model->clone(this, getSceneManager());
    m_actionPanel->setName(nameOf("ActionPanel"));
    m_actionPanel->setVisible(true);
    const uint32_t shown = entries < kMaxPanelButtons ? entries : kMaxPanelButtons;
    m_glowButtonIndex = int32_t(engineRandom().next() % shown);
    BaseNode* glow = m_actionPanel->findChild(nameOf("Glow"), 1);
    if (glow != nullptr)
        glow->setVisible(true);
    for (uint32_t i = 0; i < kMaxPanelButtons; ++i) {
        CString name("Button");
        name.append(int32_t(i + 1));
        BaseNode* button = m_actionPanel->findChild(CNameId(name), 1);
        if (button == nullptr)
            continue;
        const GResourceConfig* entry =
            i < entries ? findResource(requested->specificResources[i]) : nullptr;
        button->setVisible(entry != nullptr);
        if (entry == nullptr)
            continue;
        if (glow != nullptr && int32_t(i) == m_glowButtonIndex) {
            const CVector3d& at = button->getPosition();
            glow->setPosition({at.x, at.y, at.z + 0.1f});
        }
        if (SpriteNode* action = asSprite(button->findChild(nameOf("Action"), 1)))
            action->setImage(loadIcon(*this, *entry).get());
    }
}

bool GClientNode::OnButtonPressed(CEventControlClicked& event) {
    BaseNode* button = event.getNode();
    BaseNode* panel = button != nullptr ? button->getParent() : nullptr;
    if (panel == nullptr || panel->getName() != nameOf("ActionPanel"))
        return false;
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    const GResourceConfig* requested = getRequestedResource();
    for (int32_t i = 0; requested != nullptr && i < int32_t(kMaxPanelButtons); ++i) {
        CString name("Button");
        name.append(i + 1);
        if (button->getName() != CNameId(name) ||
            uint32_t(i) >= requested->specificResources.size())
            continue;
        const CNameId entry = requested->specificResources[uint32_t(i)];
        if (entry == nameOf("Dance")) {
            CString dance("Dance");
            dance.append(i + 1);
            m_danceAnimation = CNameId(dance);
        }
        startServing(entry, i);
        break;
    }
    updateWishIcons(false);
    showActionPanel(false);
    return true;
}

// The requested item's highlight, tint and colour

void GClientNode::setItemHighlight(CNameId state) {
    if (!m_iconsNode || m_rotationWarned)
        return;
    BaseNode* item = m_iconsNode->findChild(nameOf("Item"), 1);
    if (item == nullptr)
        return;
    if (state == CNameId())
        state = nameOf(m_itemHighlightOn ? "HLOn" : "HLOff");
    item->setChildrenState(state, nullptr);
}

void GClientNode::updateItemHighlight(const CArray<CNameId>& carried) {
    const GResourceConfig* requested = getRequestedItem();
    bool carriedNow = false;
    for (uint32_t i = 0;
         m_clientState == kStateWantsItem && requested != nullptr && i < carried.size(); ++i) {
        const GResourceConfig* item = findResource(carried[i]);
        carriedNow = carriedNow || (item != nullptr && item->name == requested->name);
    }
    m_itemHighlightOn = carriedNow;
    setItemHighlight(nameOf(carriedNow ? "HLOn" : "HLOff"));
}

void GClientNode::updateBodyTint(const CArray<CNameId>& carried) {
    const GLocationNode* location = getLocation();
    if (location == nullptr || location->getConfig() == nullptr)
        return;
    BaseNode* body = findChild(nameOf("Body"), 1);
    if (body == nullptr)
        return;
    bool highlight = false;
    for (CNameId name : carried) {
        const GResourceConfig* item = findResource(name);
        highlight = highlight || (item != nullptr && item->itemType == 1 &&
                                  item->clientBoostType == 1 && m_hearts <= 2);
    }
    body->setTintColor(CColor(highlight ? kBodyHighlight : kBodyTint));
}

void GClientNode::setColor(int32_t color) {
    GCharacterNode::setColor(color);
    if (BaseNode* node = findChild(nameOf("Color"), 1))
        node->setTintColor(GGameLevelScene::getColorValue(color));
}

// Placement

// A carried client stays under the pointer while its animations start and end.
void GClientNode::placeAtLocation() {
    const GLocationNode* location = getLocation();
    if (location == nullptr || isCarried())
        return;
    const CNameId type = m_clientConfig ? m_clientConfig->name : CNameId();
    const bool served = m_clientState == kStateServedByStaff || m_clientState == kStateSelfServing;
    const CVector2d offset =
        served ? location->getActionClientMountPoint(*this) : location->getClientMountPoint(*this);
    const CVector3d& at = location->getPosition();
    const float x = at.x + offset.x;
    const float y = at.y + offset.y;
    setPosition({x, y, x * 0.1f + y});
    setRotation({0, 0, served ? location->getActionClientDepth(type) : 0});
}

void GClientNode::placeAtClientPoint(const GLocationNode& location) {
    const CVector2d offset = location.getClientMountPoint(*this);
    const CVector3d& at = location.getPosition();
    const float x = at.x + offset.x;
    const float y = at.y + offset.y;
    setPosition({x, y, x * 0.1f + y});
}
