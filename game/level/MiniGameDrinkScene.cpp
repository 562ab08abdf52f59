#include "game/level/MiniGameDrinkScene.h"

#include <algorithm>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"

namespace {

CArray<BaseNode*> childrenOf(const BaseNode* parent) {
    CArray<BaseNode*> children;
    for (uint32_t i = 0; parent != nullptr && i < parent->getChildCount(); ++i)
        children.append(parent->getChild(i));
    return children;
}

// The smallest value a cup holds, and the largest a face shows.
constexpr int32_t kLowValue = 1;
constexpr int32_t kHighValue = 5;

} // namespace

void GMiniGameDrinkScene::OnLoaded() {
    const BaseNode* scene = childNamed(this, "Scene");
    const BaseNode* face = childNamed(scene, "Face");
    m_faceLow = childNamed(face, "f1");
    m_faceMiddle = childNamed(face, "f2");
    m_faceHigh = childNamed(face, "f3");
    const BaseNode* buttons = childNamed(scene, "Buttons");
    m_previousButton = childNamed(buttons, "Button1");
    m_nextButton = childNamed(buttons, "Button2");
    m_chooseButton = childNamed(buttons, "Button3");
    m_cups = childrenOf(childNamed(scene, "Cup"));
    m_moneyIcons = childrenOf(childNamed(scene, "Money"));
    m_count = std::min(m_cups.size(), m_moneyIcons.size());
}

void GMiniGameDrinkScene::start(const StartParameters& parameters) {
    GMiniGameScene::start(parameters);
    shuffle();
    refresh();
}

void GMiniGameDrinkScene::shuffle() {
    m_values.clear();
    m_current = 0;
    CArray<int32_t> pool;
    for (uint32_t i = 0; i < m_count; ++i)
        pool.append(int32_t(i) + kLowValue);
    CRandom& random = *CEngineServices::instance()->getRandom();
    while (pool.size() > 0) {
        const uint32_t drawn = random.nextMwc() % pool.size();
        if (pool[drawn] == kLowValue)
            m_current = m_values.size();
        m_values.append(pool[drawn]);
        pool.eraseAt(drawn);
    }
}

void GMiniGameDrinkScene::refresh() {
    if (m_count == 0)
        return;
    const int32_t value = m_values[m_current];
    if (m_faceLow != nullptr && m_faceMiddle != nullptr && m_faceHigh != nullptr) {
        m_faceLow->setVisible(value == kLowValue);
        m_faceHigh->setVisible(value == kHighValue);
        m_faceMiddle->setVisible(value != kLowValue && value != kHighValue);
    }
    for (uint32_t i = 0; i < m_count; ++i) {
        m_cups[i]->setVisible(i == m_current);
        m_moneyIcons[i]->setVisible(int32_t(i) < value);
    }
}

bool GMiniGameDrinkScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GMiniGameScene::OnSceneSwitch(event);
    return event.getTo() == this;
}

bool GMiniGameDrinkScene::OnButtonPressed(CEventControlClicked& event) {
    const BaseNode* clicked = event.getNode();
    if (clicked == nullptr)
        return false;
    if (clicked == m_previousButton || clicked == m_nextButton) {
        if (m_count > 0) {
            const uint32_t step = clicked == m_nextButton ? 1 : m_count - 1;
            m_current = (m_current + step) % m_count;
            refresh();
        }
        return true;
    }
    if (clicked == m_chooseButton) {
        choose();
        return true;
    }
    return false;
}

void GMiniGameDrinkScene::choose() {
    if (m_count > 0) {
        setResult(1);
        setChosenValue(m_values[m_current]);
        m_cups[m_current]->setVisible(false);
    }
    close();
}
