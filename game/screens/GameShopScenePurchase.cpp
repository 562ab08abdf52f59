#include "game/screens/GameShopScene.h"

#include "engine/core/EngineServices.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/io/Dictionary.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/UiEvents.h"
#include "game/app/GameEvents.h"
#include "game/app/UpgradeCatalog.h"
#include "game/effects/SelfDestructNode.h"
#include "game/level/CharacterNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/level/StaffNode.h"
#include "game/screens/SceneChildren.h"
#include "game/screens/ShopListNode.h"

namespace {

constexpr uint32_t kLit = 0xFFFFFFFFu;
constexpr uint32_t kDimmed = 0xFF888888u;
constexpr int32_t kEnvironmentSlots = 6;
constexpr float kHintDepth = 3000;
constexpr float kCopyDepthRaise = 100;
constexpr float kEffectRise = 50;

template <typename Node>
Node* asKind(BaseNode* node) {
    return node != nullptr && node->isKindOf(Node::kTypeId) ? static_cast<Node*>(node) : nullptr;
}

CNameId suffixed(CNameId type, const char* suffix) {
    return CNameId(CString(type.toString()).append(suffix));
}

CStringW lookUp(const CString& key) {
    return CEngineServices::instance()->getDictionary()->lookup(key);
}

// The environment piece of a type is every child of the background with a state of its name.
void tintPieces(BaseNode& background, CNameId type, uint32_t color) {
    for (uint32_t i = 0; i < background.getChildCount(); ++i) {
        BaseNode* piece = background.getChild(i);
        if (piece->findState(type) != nullptr)
            piece->setTintColor(CColor(color));
    }
}

bool isCurrentState(const BaseNode& node, const char* name) {
    const NodeState* state = node.getCurrentState();
    return state != nullptr && state->getName() == nameOf(name);
}

KeyFrame* firstKeyFrame(const NodeState* state) {
    Base* first =
        state != nullptr && state->getAnimatorCount() > 0 ? state->getAnimator(0) : nullptr;
    return first != nullptr && first->isKindOf(KeyFrame::kTypeId) ? static_cast<KeyFrame*>(first)
                                                                  : nullptr;
}

// The template's keys are offsets from an element's place: the element's own keys become that
// place plus the offset, wherever both hold a position.
void placeSlideKeys(KeyFrame& own, const KeyFrame& offsets, const CVector3d& place) {
    CArray<KeyFrameKey>& keys = own.getKeys();
    const CArray<KeyFrameKey>& templateKeys = offsets.getKeys();
    for (uint32_t k = 0; k < keys.size() && k < templateKeys.size(); ++k) {
        CArray<CRefPointer<CPropertyData>>& values = keys[k].values;
        const CArray<CRefPointer<CPropertyData>>& offsetValues = templateKeys[k].values;
        for (uint32_t v = 0; v < values.size() && v < offsetValues.size(); ++v) {
            const auto* offset = dynamic_cast<const CPropertyDataVector3d*>(offsetValues[v].get());
            if (offset == nullptr ||
                dynamic_cast<CPropertyDataVector3d*>(values[v].get()) == nullptr)
                continue;
            // Values are shared with the copies the element came from.
            values[v] =
                CRefPointer<CPropertyData>(new CPropertyDataVector3d(offset->getValue() + place));
        }
    }
}

} // namespace

const EventMap& GGameShopScene::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GGameShopScene::OnShopItemPressed>(),
        eventHook<&GGameShopScene::OnShopItemHovered>(),
        eventHook<&GGameShopScene::OnShopButtonPressed>(),
    };
    static const EventMap map = buildEventMap(GBaseSceneNode::getEventMap(), own);
    return map;
}

bool GGameShopScene::OnListItemPressed(CEventNode& event) {
    buyOffer(static_cast<CEventListItem&>(event).getItem());
    return true;
}

bool GGameShopScene::OnListItemHovered(CEventNode& event) {
    hoverOffer(static_cast<CEventListItem&>(event).getItem());
    return false;
}

bool GGameShopScene::OnShopItemPressed(GShopListItemPressedEvent& event) {
    buyOffer(event.getIndex());
    return true;
}

bool GGameShopScene::OnShopItemHovered(GShopListItemHoveredEvent& event) {
    hoverOffer(event.getIndex());
    return false;
}

bool GGameShopScene::OnShopButtonPressed(CEventControlClicked& event) {
    if (OnButtonPressed(event))
        return true;
    BaseNode* node = event.getNode();
    if (node == nullptr)
        return false;
    if (node == m_itemsList) {
        // Disabled elements do not click, so a press on an unaffordable offer lands here.
        playCue("ShopCantBought");
        return true;
    }
    if (GLocationNode* location = asKind<GLocationNode>(node))
        buyLocationUpgrade(*location);
    else if (GStaffNode* member = asKind<GStaffNode>(node))
        buyStaffUpgrade(*member);
    return false;
}

bool GGameShopScene::OnNodeUnhovered(CEventControlUnhovered& event) {
    if (GBaseSceneNode::OnNodeUnhovered(event))
        return true;
    hideHint();
    const BaseNode* node = event.getNode();
    if (node == nullptr)
        return false;
    for (int32_t slot = 1; slot <= kEnvironmentSlots; ++slot) {
        const CString button = CString("Up").append(slot);
        if (node->getName() != CNameId(button))
            continue;
        const GUpgradeItem* current = nullptr;
        const GUpgradeItem* next = nullptr;
        BaseNode* background = m_level ? m_level->getBackground() : nullptr;
        if (m_catalog && m_catalog->getCurrentAndNext(CNameId(button), current, next) &&
            next != nullptr && background != nullptr)
            background->setChildrenState(CNameId(CString(button).append("Back")), nullptr);
        return true;
    }
    for (const BaseNode* inside = node; inside != nullptr && m_itemsList != nullptr;
         inside = inside->getParent()) {
        if (inside == m_itemsList) {
            hideOfferPreview();
            break;
        }
    }
    return false;
}

GShopOffer* GGameShopScene::offerAt(int32_t index) const {
    if (m_itemsList == nullptr || index < 0 || index >= m_itemsList->getItemCount())
        return nullptr;
    // The shop is the only one to give the strip's items their data.
    return static_cast<GShopOffer*>(m_itemsList->getItemData(index));
}

void GGameShopScene::hoverOffer(int32_t index) {
    hideHint();
    if (offerAt(index) == nullptr)
        return;
    m_previewedOffer = index;
    showOfferPreview();
}

void GGameShopScene::showOfferPreview() {
    const GShopOffer* offer = offerAt(m_previewedOffer);
    if (offer == nullptr || offer->next == nullptr || !m_level)
        return;
    const CNameId type = offer->next->type;
    if (!offer->object) {
        BaseNode* background = m_level->getBackground();
        if (background == nullptr)
            return;
        tintPieces(*background, type, kLit);
        background->setChildrenState(type, nullptr);
        background->setChildrenState(suffixed(type, "Show"), nullptr);
        return;
    }
    if (m_hintNode == nullptr)
        return;
    GObjectNode& object = *offer->object;
    const CString name = type.toString();
    showHint(object, lookUp(name), lookUp(CString(name).append("_Info")));
    GLocationNode* location = asKind<GLocationNode>(&object);
    object.show(object.isKindOf(GCharacterNode::kTypeId) ? CNameId() : type);
    const bool sandwich = type == nameOf("SandwichMachine2") || type == nameOf("SandwichMachine3");
    if (location != nullptr && sandwich && m_sandwich2 != nullptr) {
        m_sandwich2->setVisible(true);
        if (m_sandwich2->getChildCount() > 0)
            m_sandwich2->getChild(0)->setVisible(type != nameOf("SandwichMachine2"));
    }
    object.setShopMode(true, m_money, offer->current, offer->next);
    object.setTintColor(CColor(kLit));
    if (location != nullptr)
        m_level->layoutDancePads();
}

void GGameShopScene::hideOfferPreview() {
    const GShopOffer* offer = offerAt(m_previewedOffer);
    if (offer != nullptr && offer->next != nullptr && m_level) {
        const CNameId current = offer->current != nullptr ? offer->current->type : CNameId();
        const CNameId next = offer->next->type;
        if (offer->object) {
            GObjectNode& object = *offer->object;
            GLocationNode* location = asKind<GLocationNode>(&object);
            object.hide(object.isKindOf(GCharacterNode::kTypeId) ? CNameId() : current);
            if (location != nullptr && current == nameOf("SandwichMachine1") &&
                m_sandwich2 != nullptr && m_sandwich2->getChildCount() > 0)
                m_sandwich2->getChild(0)->setVisible(false);
            updateObjectShopMode(object);
            object.setTintColor(CColor(kDimmed));
            if (location != nullptr)
                m_level->layoutDancePads();
        } else if (BaseNode* background = m_level->getBackground()) {
            tintPieces(*background, next, kDimmed);
            background->setChildrenState(current, nullptr);
            background->setChildrenState(suffixed(next, "Hide"), nullptr);
        }
    }
    m_previewedOffer = -1;
}

void GGameShopScene::showHint(GObjectNode& object, const CStringW& title, const CStringW& text) {
    if (m_hintNode == nullptr)
        return;
    if (TextNode* titleText = findChildOf<TextNode>(m_hintNode, "Title"))
        titleText->setText(title);
    if (TextNode* description = findChildOf<TextNode>(m_hintNode, "Text"))
        description->setText(text);
    m_hintNode->setState(object.getName(), nullptr, CNameId());
    CVector3d position = m_hintNode->getPosition();
    position.z = kHintDepth;
    m_hintNode->setPosition(position);
    if (!isCurrentState(*m_hintNode, "OnAppear"))
        m_hintNode->setState(nameOf("OnAppear"), nullptr, CNameId());
}

void GGameShopScene::hideHint() {
    if (m_hintNode != nullptr && m_hintNode->isVisible() &&
        !isCurrentState(*m_hintNode, "OnDisappear"))
        m_hintNode->setState(nameOf("OnDisappear"), nullptr, CNameId());
}

void GGameShopScene::buyOffer(int32_t index) {
    // Kept: the rebuild after the purchase lets the strip drop it.
    const CRefPointer<GShopOffer> offer = CRefPointer<GShopOffer>::share(offerAt(index));
    if (!offer)
        return;
    const int32_t countBefore = m_itemsList->getItemCount();
    m_offerBeingBought = index;
    const int32_t element = m_itemsList->elementIndexOfItem(index);
    if (BaseNode* shown = m_itemsList->getElement(element)) {
        // The element flies off as a copy, which goes once its state has played.
        const CRefPointer<GSelfDestructNode> holder(
            new GSelfDestructNode(CContentKey(), m_itemsList, getSceneManager()));
        CVector3d position = m_itemsList->getElementPosition(element);
        position.z += kCopyDepthRaise;
        holder->setPosition(position);
        const CRefPointer<BaseNode> copy = shown->clone(holder.get(), getSceneManager());
        copy->setPosition(CVector3d(0, 0, 0));
        holder->setChildrenState(nameOf("SelfDestruct"), nullptr);
    }
    // So that the offer taking its place counts as new.
    if (uint32_t(index) < m_previousOffers.size())
        m_previousOffers.eraseAt(uint32_t(index));
    bool bought = false;
    if (!offer->object)
        bought = buyEnvironmentUpgrade(*offer);
    else if (GLocationNode* location = asKind<GLocationNode>(offer->object.get()))
        bought = buyLocationUpgrade(*location);
    else if (GStaffNode* member = asKind<GStaffNode>(offer->object.get()))
        bought = buyStaffUpgrade(*member);
    if (!bought)
        return;
    if (m_itemsList->getItemCount() < countBefore)
        slideElements();
    hideHint();
    if (offerAt(index) != nullptr) {
        m_previewedOffer = index;
        showOfferPreview();
    }
}

const GUpgradeItem* GGameShopScene::purchasableNext(CNameId slot) const {
    const GUpgradeItem* current = nullptr;
    const GUpgradeItem* next = nullptr;
    if (!m_level || !m_catalog)
        return nullptr;
    m_catalog->getCurrentAndNext(slot, current, next);
    return next != nullptr && next->level <= levelIndex() && next->price <= m_money ? next
                                                                                    : nullptr;
}

void GGameShopScene::payFor(GObjectNode& object, const GUpgradeItem& next) {
    playPurchaseMoneyEffect(object, next.price);
    m_catalog->setCurrentByName(object.getName(), next.type);
    m_money -= next.price;
}

void GGameShopScene::settlePurchase(GObjectNode& object, const GUpgradeItem& bought) {
    GLocationNode* location = asKind<GLocationNode>(&object);
    if (bought.required) {
        refreshShopState(false);
    } else {
        if (location != nullptr)
            m_level->layoutDancePads();
        updateObjectShopMode(object);
        rebuildOffers();
    }
    if (location != nullptr)
        location->setState(nameOf("HideBought"), nullptr, CNameId());
    updateMoneyText();
    m_level->queueNewlyOpened(bought.type);
    playCue("ShopBought");
}

bool GGameShopScene::buyLocationUpgrade(GLocationNode& location) {
    const GUpgradeItem* next = purchasableNext(location.getName());
    ObjectConfigurations* configs = m_level ? m_level->getObjectConfigurations() : nullptr;
    GLocationConfig* config =
        next != nullptr && configs != nullptr ? configs->getLocationConfig(next->type) : nullptr;
    if (config == nullptr)
        return false;
    payFor(location, *next);
    location.setTemplateName(config->name);
    location.setColor(0);
    location.setConfig(config);
    location.setLevel(m_level.get());
    settlePurchase(location, *next);
    return true;
}

bool GGameShopScene::buyStaffUpgrade(GStaffNode& member) {
    const GUpgradeItem* next = purchasableNext(member.getName());
    ObjectConfigurations* configs = m_level ? m_level->getObjectConfigurations() : nullptr;
    GStaffConfig* config =
        next != nullptr && configs != nullptr ? configs->getStaffConfig(next->type) : nullptr;
    if (config == nullptr)
        return false;
    payFor(member, *next);
    member.setConfig(config);
    member.setLevel(m_level.get());
    settlePurchase(member, *next);
    return true;
}

// The strip enables only what the player can afford, but a press may come from elsewhere (the
// engine's list event, a tutorial), so money and level are checked here too.
bool GGameShopScene::buyEnvironmentUpgrade(const GShopOffer& offer) {
    const GUpgradeItem* next = offer.next != nullptr ? purchasableNext(offer.next->name) : nullptr;
    if (next == nullptr)
        return false;
    m_catalog->setCurrentByName(next->name, next->type);
    m_money -= next->price;
    if (BaseNode* background = m_level->getBackground()) {
        background->setChildrenState(next->type, nullptr);
        background->setChildrenState(suffixed(next->type, "HideBought"), nullptr);
    }
    rebuildOffers();
    updateMoneyText();
    playCue("ShopBought");
    return true;
}

void GGameShopScene::playPurchaseMoneyEffect(GObjectNode& object, int32_t price) {
    BaseNode* effects = m_level ? m_level->getEffectsHolder() : nullptr;
    // The level's own manager holds its setting's templates.
    SceneManager* manager = m_level ? m_level->getSceneManager() : nullptr;
    TemplateCollectionNode* templates =
        manager != nullptr ? manager->getTemplateCollection() : nullptr;
    BaseNode* source =
        templates != nullptr ? templates->getTemplate(nameOf("MoneyEffectShop")) : nullptr;
    if (effects == nullptr || source == nullptr)
        return;
    const CRefPointer<BaseNode> effect = source->clone(effects, manager);
    const CVector3d& at = object.getPosition();
    effect->setPosition(CVector3d(at.x, at.y - kEffectRise, at.z));
    effect->setVisible(true);
    effect->setChildrenState(nameOf("SelfDestruct"), nullptr);
    BaseNode* holder = findChildOf(effect.get(), "Holder");
    if (TextNode* text = findChildOf<TextNode>(holder, "Text"))
        text->setText(CStringW());
    if (TextNode* money = findChildOf<TextNode>(holder, "Money")) {
        money->setText(CEngineServices::instance()->getDictionary()->substituteParams(
            "MoneyDollar", CStringW(-price), u"", u"", u""));
    }
    // The level's money effect slides aside for a newer one; the shop's stays. A slide stopped
    // without its end reported would keep the state, and the effect, for ever.
    NodeState* state = holder != nullptr ? holder->findState(nameOf("SelfDestruct")) : nullptr;
    if (state == nullptr)
        return;
    const CRefPointer<BaseNode> keptEffect = effect;
    const CRefPointer<NodeState> keptState = CRefPointer<NodeState>::share(state);
    for (const char* slide : {"Left", "Right"}) {
        if (Base* animator = keptState->findAnimator(nameOf(slide));
            animator != nullptr && animator->isRunning())
            animator->stop(true);
    }
}

void GGameShopScene::slideElements() {
    if (m_offerBeingBought == -1 || m_itemsList == nullptr)
        return;
    ControlNode* root = m_itemsList->getTemplateRoot();
    BaseNode* elementTemplate = root != nullptr ? root->findChild(nameOf("Element"), 1) : nullptr;
    const KeyFrame* offsets = elementTemplate != nullptr
                                  ? firstKeyFrame(elementTemplate->findState(nameOf("SlideL")))
                                  : nullptr;
    if (offsets == nullptr)
        return;
    const int32_t first = m_itemsList->elementIndexOfItem(m_offerBeingBought);
    for (int32_t k = first; k >= 0; ++k) {
        BaseNode* element = m_itemsList->getElement(k);
        if (element == nullptr || !element->isVisible())
            break;
        if (KeyFrame* own = firstKeyFrame(element->findState(nameOf("SlideL"))))
            placeSlideKeys(*own, *offsets, element->getPosition());
        element->setState(nameOf("SlideL"), nullptr, CNameId());
    }
    m_offerBeingBought = -1;
}
