#include "game/screens/HelpScene.h"

#include "game/screens/SceneChildren.h"

GHelpScene::GHelpScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : GMenuPageScene(key, parent, sceneManager) {}

void GHelpScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_tabs = findChildOf<TabSceneNode>(scene, "TabScene");
    m_prevButton = findChildOf<ButtonNode>(scene, "ButtonPrev");
    m_nextButton = findChildOf<ButtonNode>(scene, "ButtonNext");
}

void GHelpScene::showButton(ButtonNode* button, bool shown) {
    if (button == nullptr)
        return;
    button->setEnabled(shown);
    button->setVisible(shown);
}

bool GHelpScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    if (event.getTo() != this)
        return false;
    showButton(m_prevButton, false);
    return true;
}

bool GHelpScene::OnButtonPressed(CEventControlClicked& event) {
    if (GMenuPageScene::OnButtonPressed(event))
        return true;
    const BaseNode* control = event.getNode();
    if (control == nullptr || m_tabs == nullptr)
        return false;
    const int32_t active = m_tabs->getActiveTabIndex();
    const int32_t count = m_tabs->getTabsCount();
    if (control == m_prevButton && active > 0)
        m_tabs->setActiveTab(active - 1, false);
    else if (control == m_nextButton && active + 1 < count)
        m_tabs->setActiveTab(active + 1, false);
    const int32_t now = m_tabs->getActiveTabIndex();
    showButton(m_prevButton, now > 0);
    showButton(m_nextButton, now + 1 < count);
    return false;
}
