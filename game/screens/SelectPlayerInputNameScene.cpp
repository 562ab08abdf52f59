#include "game/screens/SelectPlayerInputNameScene.h"

#include "engine/io/ProfileManager.h"
#include "engine/platform/InputEvents.h"
#include "engine/ui/ControlKeys.h"
#include "game/screens/SceneChildren.h"

GSelectPlayerInputNameScene::GSelectPlayerInputNameScene(const CContentKey& key, BaseNode* parent,
                                                         SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GSelectPlayerInputNameScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_nameEdit = findChildOf<EditNode>(scene, "NameEdit");
    m_okButton = findChildOf<ControlNode>(scene, "OkButton");
    m_hardBox = findChildOf<CheckBoxNode>(scene, "HardButton");
    m_easyBox = findChildOf<CheckBoxNode>(scene, "EasyButton");
}

// The boxes start at the new player's default difficulty: 0 is Hard, 1 Easy.
bool GSelectPlayerInputNameScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GBaseSceneNode::OnSceneSwitch(event);
    if (event.getTo() != this)
        return false;
    if (m_nameEdit != nullptr)
        m_nameEdit->setText(CStringW());
    if (m_okButton != nullptr)
        m_okButton->setEnabled(false);
    CProfileManager* profiles = getProfiles();
    const int32_t difficulty =
        profiles != nullptr ? profiles->getPlayerDefaults()->getInt("PlayerDifficulty") : -1;
    if (difficulty == 0 || difficulty == 1)
        checkHard(difficulty == 0);
    return true;
}

// A click that would clear the checked box checks it again.
bool GSelectPlayerInputNameScene::OnValueChanged(CEventNode& event) {
    if (GBaseSceneNode::OnValueChanged(event))
        return true;
    BaseNode* node = event.getNode();
    if (node == nullptr)
        return false;
    if (node == m_nameEdit && m_okButton != nullptr) {
        const CStringW& name = m_nameEdit->getText();
        m_okButton->setEnabled(!name.isEmpty() && isNameFree(name));
    } else if (node == m_hardBox) {
        checkHard(true);
    } else if (node == m_easyBox) {
        checkHard(false);
    }
    return false;
}

bool GSelectPlayerInputNameScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    BaseNode* control = event.getNode();
    const CNameId name = control != nullptr ? control->getName() : CNameId();
    if (name == nameOf("OkButton"))
        createPlayer();
    else if (name == nameOf("CancelButton"))
        goBack();
    else
        return false;
    return true;
}

bool GSelectPlayerInputNameScene::OnKeyUp(CEventInputKeyUp& event) {
    if (GBaseSceneNode::OnKeyUp(event))
        return true;
    switch (event.getVirtualKey()) {
    case kKeyEscape:
        goBack();
        return true;
    case kKeyEnter:
        if (m_okButton != nullptr && m_okButton->isEnabled())
            createPlayer();
        return true;
    default:
        return false;
    }
}

// The text may have changed since OK was last enabled (the edit's report waits for the next
// update), so a name that is empty or taken is refused here too: another player's settings
// must not change. The difficulty is stored only when the scene has its Hard box to read it
// from.
void GSelectPlayerInputNameScene::createPlayer() {
    CProfileManager* profiles = getProfiles();
    if (profiles == nullptr)
        return;
    const CStringW name = m_nameEdit != nullptr ? m_nameEdit->getText() : CStringW();
    if (name.isEmpty() || !profiles->addProfile(name)) {
        if (m_okButton != nullptr)
            m_okButton->setEnabled(false);
        return;
    }
    CProfileParameters* player = profiles->findProfile(name);
    if (player != nullptr && m_hardBox != nullptr)
        player->setInt("PlayerDifficulty", m_hardBox->isChecked() ? 0 : 1);
    profiles->saveUserProfiles();
    goBack();
}

bool GSelectPlayerInputNameScene::isNameFree(const CStringW& name) const {
    CProfileManager* profiles = getProfiles();
    return profiles == nullptr || profiles->findProfile(name) == nullptr;
}

void GSelectPlayerInputNameScene::checkHard(bool hard) {
    if (m_hardBox != nullptr)
        m_hardBox->setChecked(hard);
    if (m_easyBox != nullptr)
        m_easyBox->setChecked(!hard);
}

void GSelectPlayerInputNameScene::goBack() {
    navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
}
