#include <cmath>

#include "engine/core/EngineServices.h"
#include "engine/core/Logger.h"
#include "engine/io/Dictionary.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "game/app/GameEvents.h"
#include "game/level/GameLevelScene.h"

// The level's money: earned per component at once or after a delay, counted up on display
// toward what was earned, ranked against the level's targets, and the chain bonus.

namespace {

// The display counts up by this much money a second, per component.
constexpr float kDisplaySpeedPerMs = 0.4f;

// The chain awards: the longest chain so far is reported to each.
constexpr int32_t kChainAwards[] = {3, 4, 5};

} // namespace

bool GGameLevelScene::isMoneyComponent(int32_t component, const char* operation) const {
    if (component >= 0 && component < kMoneyComponents)
        return true;
    CLogger::instance()->log(CStringW(u"The level refuses ") + operation +
                                 u" for the money component " + CStringW(component),
                             CLogger::LevelWarning);
    return false;
}

void GGameLevelScene::addMoney(float amount, int32_t component, const CVector3d& position,
                               const CStringW& text) {
    if (amount == 0 || !isMoneyComponent(component, "money"))
        return;
    if (text.length() == 0) {
        m_money[component] += std::trunc(amount);
        return;
    }
    const CRefPointer<CEvent> event(new GMoneyEarnedEvent(text, amount, component, position));
    postEventToParent(RouteSelfThenParents, *event);
}

void GGameLevelScene::addMoneyDelayed(int32_t component, int32_t amount, int32_t delayMs) {
    if (!isMoneyComponent(component, "delayed money"))
        return;
    if (delayMs <= 0)
        m_money[component] += float(amount);
    else
        m_delayedCredits.append(DelayedCredit{component, amount, delayMs});
}

float GGameLevelScene::getMoney(int32_t component) const {
    if (component < 0) {
        CLogger::instance()->log(u"The level has no money component " + CStringW(component),
                                 CLogger::LevelWarning);
        return 0;
    }
    if (component < kMoneyComponents)
        return m_displayedMoney[component];
    float total = 0;
    for (float money : m_displayedMoney)
        total += money;
    return total > 0 ? total : 0;
}

int32_t GGameLevelScene::getRankForMoney(float amount) const {
    if (!m_levelConfig)
        return 0;
    if (amount >= m_levelConfig->targetMasterMoney)
        return 3;
    if (amount >= m_levelConfig->targetExpertMoney)
        return 2;
    return amount >= m_levelConfig->targetMoney ? 1 : 0;
}

// The last entry takes the place of one that is paid, and the same place is looked at again.
bool GGameLevelScene::creditDelayedMoney(uint32_t elapsedMs) {
    for (uint32_t i = 0; i < m_delayedCredits.size();) {
        DelayedCredit& credit = m_delayedCredits[i];
        credit.remainingMs -= int32_t(elapsedMs);
        if (credit.remainingMs >= 0) {
            ++i;
            continue;
        }
        m_money[credit.component] += float(credit.amount);
        m_delayedCredits.eraseAtUnordered(i);
        playCue(CNameId(CString("Money2")), false);
        const CRefPointer<CEvent> event(new GBonusCreditedEvent);
        postEventToParent(RouteSelfThenParents, *event);
    }
    return m_delayedCredits.size() != 0;
}

bool GGameLevelScene::animateMoney(uint32_t elapsedMs) {
    bool settled = true;
    for (int32_t i = 0; i < kMoneyComponents; ++i)
        settled = settled && m_displayedMoney[i] == m_money[i];
    if (settled)
        return false;
    const int32_t oldRank = getRankForMoney(getMoney(kMoneyComponents));
    const float step = std::floor(float(elapsedMs) * kDisplaySpeedPerMs + 0.5f);
    for (int32_t i = 0; i < kMoneyComponents; ++i) {
        const float difference = std::trunc(m_money[i] - m_displayedMoney[i]);
        if (difference == 0)
            continue;
        if (std::fabs(difference) > step)
            m_displayedMoney[i] += difference > 0 ? step : -step;
        else
            m_displayedMoney[i] += difference;
    }
    const CRefPointer<CEvent> changed(new GMoneyChangedEvent);
    postEventToParent(RouteSelfThenParents, *changed);
    const int32_t newRank = getRankForMoney(getMoney(kMoneyComponents));
    if (newRank != oldRank) {
        m_rank = newRank;
        const CRefPointer<CEvent> event(new GRankChangedEvent(newRank));
        postEventToParent(RouteSelfThenParents, *event);
    }
    return true;
}

void GGameLevelScene::addChainBonus(CNameId resource, const CVector3d& position) {
    const GResourceConfig* config =
        m_objectConfigs ? m_objectConfigs->getResourceConfig(resource) : nullptr;
    const CNameId chain =
        config != nullptr && config->chainType != CNameId() ? config->chainType : resource;
    if (chain != m_chainType) {
        m_chainType = chain;
        m_chainSize = 1;
        return;
    }
    ++m_chainSize;
    payChainBonus(position);
}

void GGameLevelScene::payChainBonus(const CVector3d& position) {
    const GLevelBonusTables* tables = m_levelConfig ? m_levelConfig->bonusTables.get() : nullptr;
    if (tables == nullptr)
        return;
    const auto found = tables->chainBonuses.find(m_chainType);
    if (found == tables->chainBonuses.end())
        return;
    const GChainBonus& bonus = found->value;
    const CDictionary* dictionary = CEngineServices::instance()->getDictionary();
    CStringW text = dictionary != nullptr ? dictionary->lookup(bonus.text) : CStringW();
    text.append(u" x");
    text.append(m_chainSize);
    addMoney(bonus.money * float(m_chainSize), 2, position, text);
    for (int32_t award : kChainAwards)
        reportAward(award, m_chainSize);
}

void GGameLevelScene::reportAward(int32_t award, int32_t progress) {
    GAwardTracker* tracker =
        theApplication != nullptr ? theApplication->getAwardTracker() : nullptr;
    if (tracker == nullptr || !tracker->reportProgress(award, progress))
        return;
    const CRefPointer<CEvent> event(new GAwardEarnedEvent(award));
    sendToParent(RouteSelfThenParents, *event);
}
