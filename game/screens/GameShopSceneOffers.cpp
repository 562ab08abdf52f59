#include <algorithm>
#include <cstdint>
#include <limits>

#include "engine/core/Engine.h"
#include "engine/core/ICursorControl.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileParameters.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TextNode.h"
#include "engine/video/AtlasTexture.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelConfig.h"
#include "game/app/MoneyText.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "game/level/StaffNode.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/SceneChildren.h"
#include "game/screens/ShopListNode.h"

namespace {

constexpr int32_t kActLength = 11;
// Offers a window of the strip shows.
constexpr int32_t kShownItems = 6;
constexpr uint32_t kDimmed = 0xFF888888;

// The first number of a stats line ("money;time;hearts"): a '-' or a digit starts it, anything
// else before it is passed over; a value past 32 bits stops at the nearest bound.
int64_t firstNumber(const CString& text) {
    const char* c = text.c_str();
    while (*c != 0 && *c != '-' && (*c < '0' || *c > '9'))
        ++c;
    const bool negative = *c == '-';
    if (negative)
        ++c;
    int64_t value = 0;
    for (; *c >= '0' && *c <= '9'; ++c)
        value = std::min<int64_t>(value * 10 + (*c - '0'), int64_t(1) << 31);
    value = negative ? -value : value;
    return std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max());
}

} // namespace

void GGameShopScene::computeMoney() {
    const int32_t level = levelIndex();
    const int32_t first = (level - 1) / kActLength * kActLength + 1;
    int64_t earned = 0;
    if (CProfileParameters* active = player()) {
        for (int32_t i = first; i < level; ++i)
            earned += firstNumber(active->getString(CString("Level").append(i).append("Stats")));
    }
    const int64_t spent = m_catalog ? m_catalog->sumOfCurrent() : 0;
    m_money = int32_t(std::clamp<int64_t>(earned - spent, 0, std::numeric_limits<int32_t>::max()));
}

void GGameShopScene::updateMoneyText() {
    if (m_moneyText != nullptr)
        m_moneyText->setText(formatMoneyText(m_money));
    updateBoughtText();
}

// Shown once nothing is left to buy at this level.
void GGameShopScene::updateBoughtText() {
    if (m_boughtText != nullptr)
        m_boughtText->setVisible(!m_catalog || !m_catalog->hasNextUpToLevel(levelIndex()));
}

void GGameShopScene::updateObjectShopMode(GObjectNode& object) {
    const GUpgradeItem* current = nullptr;
    const GUpgradeItem* next = nullptr;
    if (!m_catalog || !m_catalog->getCurrentAndNext(object.getName(), current, next))
        return;
    // An object that is not there yet is sold only as a strip offer.
    const bool onSale =
        current->type != CNameId() && next != nullptr && next->level <= levelIndex();
    object.setShopMode(true, m_money, current, onSale ? next : nullptr);
}

void GGameShopScene::refreshShopState(bool withObjects) {
    BaseNode* background = m_level ? m_level->getBackground() : nullptr;
    if (withObjects && m_level) {
        if (background != nullptr) {
            for (uint32_t i = 0; i < background->getChildCount(); ++i)
                background->getChild(i)->setTintColor(CColor(kDimmed));
        }
        for (const CRefPointer<GLocationNode>& location : m_level->getLocations()) {
            location->setTintColor(CColor(kDimmed));
            updateObjectShopMode(*location);
        }
        for (const GObjectRef<GStaffNode>& member : m_level->getStaff()) {
            if (member) {
                member->setTintColor(CColor(kDimmed));
                updateObjectShopMode(*member.get());
            }
        }
        if (GHeroNode* hero = m_level->getHero()) {
            hero->setTintColor(CColor(kDimmed));
            updateObjectShopMode(*hero);
        }
        m_sandwich2 = findChildOf(background, "Sandwich2");
        if (m_sandwich2 != nullptr)
            m_sandwich2->setVisible(ownsTypedUpgrade(nameOf("SandwichMachine")));
    }
    if (m_level)
        m_level->layoutDancePads();
    updateBoughtText();
    if (m_continueButton != nullptr)
        m_continueButton->setEnabled(true);
    if (withObjects && m_level)
        queueFreeLocations();
    rebuildOffers();
}

// A location given for free at this level opens with its tutorial when the level starts.
void GGameShopScene::queueFreeLocations() {
    for (const CRefPointer<GLocationNode>& location : m_level->getLocations()) {
        const GUpgradeItem* current = nullptr;
        const GUpgradeItem* next = nullptr;
        if (m_catalog && m_catalog->getCurrentAndNext(location->getName(), current, next) &&
            current->level == levelIndex() && current->price == 0)
            m_level->queueNewlyOpened(current->type);
    }
}

bool GGameShopScene::ownsTypedUpgrade(CNameId slot) const {
    const GUpgradeItem* current = nullptr;
    const GUpgradeItem* next = nullptr;
    return m_catalog && m_catalog->getCurrentAndNext(slot, current, next) &&
           current->type != CNameId();
}

CRefPointer<GShopOffer> GGameShopScene::makeOffer(CNameId slot, GObjectNode* object) const {
    const GUpgradeItem* current = nullptr;
    const GUpgradeItem* next = nullptr;
    if (!m_catalog || !m_catalog->getCurrentAndNext(slot, current, next) || next == nullptr ||
        next->level > levelIndex())
        return nullptr;
    // The masseur and the trainer come only with their table and their fitness place.
    static const CNameId kMasseur = nameOf("Masseur");
    static const CNameId kTable = nameOf("MassageTable1");
    static const CNameId kFitness = nameOf("Fitness");
    static const CNameId kFitnessPlace = nameOf("FitnessPlace1");
    if (current->type == CNameId() && next->type != CNameId()) {
        if (slot == kMasseur && !ownsTypedUpgrade(kTable))
            return nullptr;
        if (slot == kFitness && !ownsTypedUpgrade(kFitnessPlace))
            return nullptr;
    }
    // An offer the strip shows already stands for itself again.
    for (const CRefPointer<GShopOffer>& shown : m_previousOffers) {
        if (shown->current == current && shown->next == next && shown->object.get() == object)
            return shown;
    }
    return CRefPointer<GShopOffer>(new GShopOffer(current, next, object));
}

bool GGameShopScene::isRecommended(const GShopOffer& offer) const {
    return levelIndex() >= offer.next->recommendedLevel;
}

// Recommended first, then those with an object, then the dearest; equal offers keep the order
// in which they were built.
bool GGameShopScene::goesBefore(const GShopOffer& left, const GShopOffer& right) const {
    const bool leftRecommended = isRecommended(left);
    if (leftRecommended != isRecommended(right))
        return leftRecommended;
    if (bool(left.object) != bool(right.object))
        return bool(left.object);
    return left.next->price > right.next->price;
}

void GGameShopScene::collectOffers() {
    m_builtOffers.truncate(0);
    auto add = [this](CNameId slot, GObjectNode* object) {
        if (CRefPointer<GShopOffer> offer = makeOffer(slot, object))
            m_builtOffers.append(std::move(offer));
    };
    for (const GObjectRef<GStaffNode>& member : m_level->getStaff()) {
        if (member)
            add(member->getName(), member.get());
    }
    if (GHeroNode* hero = m_level->getHero())
        add(hero->getName(), hero);
    for (const CRefPointer<GLocationNode>& location : m_level->getLocations())
        add(location->getName(), location.get());
    for (CNameId slot : environmentSlots())
        add(slot, nullptr);
    // Insertion keeps equal offers in place and needs no buffer.
    for (uint32_t i = 1; i < m_builtOffers.size(); ++i) {
        CRefPointer<GShopOffer> moving = std::move(m_builtOffers[i]);
        uint32_t j = i;
        for (; j > 0 && goesBefore(*moving, *m_builtOffers[j - 1]); --j)
            m_builtOffers[j] = std::move(m_builtOffers[j - 1]);
        m_builtOffers[j] = std::move(moving);
    }
}

// An offer is new unless a previous offer was for the same object (offers without one are all
// alike); each previous offer answers for one new offer at most.
void GGameShopScene::findNewOffers() {
    m_unmatchedOffers.truncate(0);
    for (const CRefPointer<GShopOffer>& previous : m_previousOffers)
        m_unmatchedOffers.append(previous.get());
    m_newOffers.truncate(0);
    for (uint32_t i = 0; i < m_builtOffers.size(); ++i) {
        const GObjectNode* object = m_builtOffers[i]->object.get();
        uint32_t match = 0;
        while (match < m_unmatchedOffers.size() && m_unmatchedOffers[match]->object.get() != object)
            ++match;
        if (match == m_unmatchedOffers.size()) {
            m_newOffers.append(i);
            continue;
        }
        m_unmatchedOffers[match] = m_unmatchedOffers[m_unmatchedOffers.size() - 1];
        m_unmatchedOffers.eraseAt(m_unmatchedOffers.size() - 1);
    }
    std::swap(m_previousOffers, m_builtOffers);
}

CStringW GGameShopScene::iconPath(const GShopOffer& offer) const {
    CStringW path(u"scenes/images/GameMenu/ShopIcons/");
    const CString& type = offer.next->type.toString();
    if (!offer.object)
        path.append(u"S").append(settingIndex()).append(type.c_str());
    else if (type == "DancePad1")
        path.append(type.c_str()).append(u"_s").append(settingIndex());
    else
        path.append(type.c_str());
    return path.append(u".png");
}

void GGameShopScene::fillItem(int32_t index, GShopOffer& offer) {
    static const CNameId kLooks[2][2] = {
        {nameOf("Shop_Item1Button"), nameOf("Shop_Item1RButton")},
        {nameOf("Shop_Item2Button"), nameOf("Shop_Item2RButton")},
    };
    GShopListNode& list = *m_itemsList;
    list.setItemEnabled(index, m_money >= offer.next->price);
    if (list.getItemData(index) == &offer)
        return;
    list.setItemTemplate(index, kLooks[bool(offer.object)][isRecommended(offer)]);
    list.setItemText(index, 0, formatMoneyText(offer.next->price));
    const CRefPointer<CContent> icon =
        theApplication->getContentManager()->loadAtlasTexture(iconPath(offer), true);
    list.setItemImage(index, 0, static_cast<CAtlasTexture*>(icon.get()));
    list.setItemData(index, &offer);
}

void GGameShopScene::rebuildOffers() {
    if (m_itemsList == nullptr || !m_level)
        return;
    GShopListNode& list = *m_itemsList;
    int32_t top = list.getTopItem();
    const int32_t oldCount = list.getItemCount();
    collectOffers();
    findNewOffers();
    const int32_t count = int32_t(m_previousOffers.size());
    // The top item's refresh below shows the items; a count that stays needs no refresh of its
    // own.
    if (count != oldCount)
        list.setItemsCount(count);
    for (int32_t i = 0; i < count; ++i)
        fillItem(i, *m_previousOffers[uint32_t(i)]);
    // A strip that shortened near its end keeps showing a full window.
    if (top + kShownItems >= count && m_offerBeingBought < top)
        top -= oldCount - count;
    list.setTopItem(top);
    static const CNameId kGrow = nameOf("Grow");
    for (uint32_t index : m_newOffers) {
        if (BaseNode* element = list.getElement(list.elementIndexOfItem(int32_t(index))))
            element->setState(kGrow, nullptr, CNameId());
    }
    followCursor();
}

// Hover states follow the strip that changed under the pointer.
void GGameShopScene::followCursor() {
    SceneManager* manager = getSceneManager();
    CEngine* found = engine();
    ICursorControl* cursor = found != nullptr ? found->getCursorControl() : nullptr;
    if (manager == nullptr || cursor == nullptr)
        return;
    const ICursorControl::Point point = cursor->getPosition();
    manager->postEvent(manager, RouteChildrenThenSelf,
                       *CRefPointer<CEvent>(new CEventInputMouseMove(point.x, point.y)));
}
