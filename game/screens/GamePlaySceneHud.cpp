#include <cmath>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/io/Dictionary.h"
#include "engine/scene/Base.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/scene/TextNode.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "game/app/GameEvents.h"
#include "game/app/MoneyText.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/EllipseSectorNode.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/SceneChildren.h"
#include "game/screens/TwoSpritesProgressBarNode.h"

namespace {

// The awards of the day's money, and of swaps.
constexpr int32_t kMoneyAwards[] = {9, 10, 11};
constexpr int32_t kSwapAward = 15;
constexpr int32_t kSwapComponent = 3;
constexpr int32_t kHeldEffectMs = 500;
constexpr int32_t kFlightMs = 2000;
constexpr float kSpawnerScatter = 5.0f;

int32_t roundToNearest(float amount) {
    return int32_t(std::floor(amount + 0.5f));
}

BaseNode* templateOf(const SceneManager* manager, const char* name) {
    TemplateCollectionNode* templates =
        manager != nullptr ? manager->getTemplateCollection() : nullptr;
    return templates != nullptr ? templates->getTemplate(nameOf(name)) : nullptr;
}

SceneManager* levelManager() {
    return theApplication != nullptr ? theApplication->getLevelSceneManager() : nullptr;
}

void setMoneyText(TextNode* text, float amount) {
    if (text != nullptr)
        text->setText(formatMoneyText(roundToNearest(amount)));
}

// "+ " before a whole amount; its digits ungrouped.
CStringW effectMoneyText(float amount) {
    const int32_t whole = roundToNearest(amount);
    const CStringW money = CEngineServices::instance()->getDictionary()->substituteParams(
        "MoneyDollar", CStringW(whole), u"", u"", u"");
    return whole >= 1 ? CStringW(u"+ ") + money : money;
}

} // namespace

void GGamePlayScene::initHud() {
    const GLevelConfig* config = levelConfig();
    if (config == nullptr)
        return;
    if (m_levelText != nullptr) {
        CStringW text(config->settingIndex);
        m_levelText->setText(text.append(u".").append((config->levelIndex - 1) % 11 + 1));
    }
    if (m_goalLabel != nullptr)
        m_goalLabel->setText(u"%Game_Goal%");
    setMoneyText(m_goalText, config->targetMoney);
    setStarRange(0, config->targetMoney);
    if (m_gameMenu != nullptr)
        m_gameMenu->setChildrenState(nameOf("Bronze"), nullptr);
}

bool GGamePlayScene::OnRankChanged(GRankChangedEvent& event) {
    struct RankLook {
        const char16_t* label;
        const char* state;
        const char* cue;
        const char* popup;
    };
    static const RankLook kLooks[] = {
        {u"%Game_Goal%", "Bronze", nullptr, nullptr},
        {u"%Game_GoalExpert%", "Silver", "Goal1", "GoalText"},
        {u"%Game_GoalMaster%", "Gold", "Goal2", "ExpertText"},
        {nullptr, nullptr, "Goal3", "MasterText"},
    };
    const int32_t rank = event.getRank();
    const GLevelConfig* config = levelConfig();
    if (rank < 0 || rank > 3)
        return true;
    const RankLook& look = kLooks[rank];
    if (look.label != nullptr && config != nullptr) {
        const float targets[] = {0, config->targetMoney, config->targetExpertMoney,
                                 config->targetMasterMoney};
        if (m_goalLabel != nullptr)
            m_goalLabel->setText(look.label);
        setMoneyText(m_goalText, targets[rank + 1]);
        setStarRange(targets[rank], targets[rank + 1]);
        if (m_gameMenu != nullptr)
            m_gameMenu->setChildrenState(nameOf(look.state), nullptr);
    }
    if (look.popup != nullptr) {
        playCue(look.cue);
        showRankPopup(look.popup);
    }
    return true;
}

// The bar refuses a maximum below its minimum and the reverse: a range below the current one
// (money lost below a target) takes its minimum first.
void GGamePlayScene::setStarRange(float minimum, float maximum) {
    if (m_rankStar == nullptr)
        return;
    if (maximum > m_rankStar->getMinValue()) {
        m_rankStar->setMaxValue(maximum);
        m_rankStar->setMinValue(minimum);
    } else {
        m_rankStar->setMinValue(minimum);
        m_rankStar->setMaxValue(maximum);
    }
}

void GGamePlayScene::showRankPopup(const char* templateName) {
    BaseNode* source = templateOf(getSceneManager(), templateName);
    if (source == nullptr || m_popupsLayer == nullptr)
        return;
    const CRefPointer<BaseNode> popup = source->clone(m_popupsLayer, getSceneManager());
    popup->setPosition(CVector3d(512, 384, 2000));
    popup->setVisible(true);
}

bool GGamePlayScene::OnLevelClosed(GLevelClosedEvent&) {
    if (m_tutorials.size() != 0)
        return true;
    if (m_timeClosedNode != nullptr)
        m_timeClosedNode->setState(nameOf("Closed"), nullptr, nameOf("Closed"));
    if (m_clockArrow != nullptr) {
        m_clockArrow->setRotation(CVector3d(0, 0, 0));
    }
    if (m_clockSector != nullptr) {
        m_clockSector->setAngle1(360);
        m_clockSector->setAngle2(360);
    }
    return true;
}

bool GGamePlayScene::OnMoneyChanged(GMoneyChangedEvent&) {
    refreshMoney();
    return true;
}

void GGamePlayScene::refreshMoney() {
    if (!m_level || levelConfig() == nullptr)
        return;
    const float total = m_level->getMoney(GGameLevelScene::kMoneyComponents);
    if (m_moneyText != nullptr) {
        setMoneyText(m_moneyText, total);
        if (m_rankStar != nullptr)
            m_rankStar->setValue(total);
    }
    for (int32_t award : kMoneyAwards)
        reportAward(award, int32_t(total));
}

// An award reached just now is the screen's to show, else its parents'.
void GGamePlayScene::reportAward(int32_t award, int32_t value) {
    GAwardTracker* tracker =
        theApplication != nullptr ? theApplication->getAwardTracker() : nullptr;
    if (tracker == nullptr || !tracker->reportProgress(award, value))
        return;
    const CRefPointer<CEvent> earned(new GAwardEarnedEvent(award));
    if (!OnEvent(*earned))
        sendToParent(RouteSelfThenParents, *earned);
}

bool GGamePlayScene::OnBonusCredited(GBonusCreditedEvent&) {
    if (m_gameMenu != nullptr)
        m_gameMenu->setChildrenState(nameOf("Shine"), nullptr);
    return true;
}

// The money is credited only once its effect is shown; a second earning at the place of a
// shown effect waits until that has slid out of its way.
bool GGamePlayScene::OnMoneyEarned(GMoneyEarnedEvent& event) {
    CVector3d position = event.getPosition();
    position.z = 0;
    BaseNode* effects = m_level ? m_level->getEffectsHolder() : nullptr;
    if (effects == nullptr) {
        if (m_level)
            m_level->addMoneyDelayed(event.getComponent(), int32_t(event.getAmount()), 0);
        return true;
    }
    bool held = false;
    if (event.getComponent() == kSwapComponent) {
        const CVector3d bounds = effects->getBounds();
        position = CVector3d(bounds.x / 2, bounds.y / 2, 0);
        reportAward(kSwapAward, 1);
    } else {
        for (uint32_t i = 0; i < effects->getChildCount(); ++i) {
            BaseNode* shown = effects->getChild(i);
            if (!shown->getPosition().equals(position, 1e-6f))
                continue;
            if (m_level->postEventDelayed(event, kHeldEffectMs)) {
                slideEffectHolder(*shown, true, true);
                return true;
            }
            held = true;
            break;
        }
    }
    showMoneyEffect(event, *effects, position, held);
    return true;
}

void GGamePlayScene::showMoneyEffect(const GMoneyEarnedEvent& event, BaseNode& effects,
                                     const CVector3d& position, bool held) {
    const int32_t component = event.getComponent();
    BaseNode* source = component == kSwapComponent ? templateOf(getSceneManager(), "SwapText")
                       : component == 2            ? templateOf(levelManager(), "ChainEffect")
                       : component == 1            ? templateOf(levelManager(), "CMEffect")
                                                   : templateOf(levelManager(), "MoneyEffect");
    if (source == nullptr) {
        m_level->addMoneyDelayed(component, int32_t(event.getAmount()), 0);
        return;
    }
    const CRefPointer<BaseNode> effect = source->clone(&effects, levelManager());
    effect->setPosition(position);
    effect->setVisible(true);
    BaseNode* holder = findChildOf(effect.get(), "Holder");
    if (TextNode* text = findChildOf<TextNode>(holder, "Text"))
        text->setText(event.getText());
    if (TextNode* money = findChildOf<TextNode>(holder, "Money"))
        money->setText(effectMoneyText(event.getAmount()));
    effect->setChildrenState(nameOf("SelfDestruct"), nullptr);
    slideEffectHolder(*effect, held, false);
    flyMoney(event, position);
    static const char* const kCues[] = {"Checkout", nullptr, nullptr, "BonusSwap"};
    const char* cue = component < 4 ? kCues[component < 0 ? 1 : component] : "Money";
    if (cue != nullptr)
        playCue(cue);
}

// Coins fly from the effect to the money display; the money is credited when they arrive.
void GGamePlayScene::flyMoney(const GMoneyEarnedEvent& event, const CVector3d& position) {
    BaseNode* source = templateOf(getSceneManager(), "MoneySpawnerEffect");
    const int32_t amount = int32_t(event.getAmount());
    if (event.getAmount() <= 0 || source == nullptr || m_popupsLayer == nullptr) {
        m_level->addMoneyDelayed(event.getComponent(), amount, 0);
        return;
    }
    const CRefPointer<BaseNode> spawner = source->clone(m_popupsLayer, getSceneManager());
    spawner->setScene(levelManager(), m_level.get());
    spawner->setVisible(true);
    CRandom& random = *CEngineServices::instance()->getRandom();
    const float dx = random.nextFloatInRange(-kSpawnerScatter, kSpawnerScatter);
    const float dy = random.nextFloatInRange(-kSpawnerScatter, kSpawnerScatter);
    spawner->setPosition(CVector3d(position.x + dx, position.y + dy, position.z));
    spawner->setChildrenState(nameOf("SelfDestruct"), nullptr);
    m_level->addMoneyDelayed(event.getComponent(), amount, kFlightMs);
}

// "Left" slides the holder out of a newer effect's way, "Right" brings a held one in. A slide
// that is not wanted stops at once with its end reported (it jumps to its last key, which the
// content keeps at rest), so that the holder's state still finishes and the effect goes.
void GGamePlayScene::slideEffectHolder(BaseNode& effect, bool first, bool second) {
    BaseNode* holder = findChildOf(&effect, "Holder");
    NodeState* found = holder != nullptr ? holder->findState(nameOf("SelfDestruct")) : nullptr;
    if (found == nullptr)
        return;
    // A stop may end the state, and the effect with it.
    const CRefPointer<BaseNode> keptEffect = CRefPointer<BaseNode>::share(&effect);
    const CRefPointer<NodeState> state = CRefPointer<NodeState>::share(found);
    SceneNode* owner = effect.getScene();
    CScheduler* clock = owner != nullptr ? owner->getClock() : nullptr;
    for (uint32_t i = 0; i < state->getAnimatorCount(); ++i) {
        const CRefPointer<Base> animator = CRefPointer<Base>::share(state->getAnimator(i));
        const bool left = animator->getName() == nameOf("Left");
        const bool right = animator->getName() == nameOf("Right");
        if (!left && !right)
            continue;
        const bool start = left ? first && second : first && !second;
        if (start)
            animator->start(clock);
        else if (animator->isRunning())
            animator->stop(true);
    }
}
