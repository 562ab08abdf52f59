#include "game/screens/MapScene.h"

#include <algorithm>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/SceneManager.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelConfig.h"
#include "game/app/LevelsConfiguration.h"
#include "game/effects/SplineMovableNode.h"
#include "game/screens/LevelCompletedScene.h"
#include "game/screens/MapLocationButton.h"
#include "game/screens/MapSceneStateListener.h"
#include "game/screens/SceneChildren.h"
#include "game/screens/TutorialController.h"

namespace {

// The map's ambience plays in its own group, quiet while another screen is shown.
constexpr int32_t kAmbientSoundGroup = 3;
constexpr int32_t kStarDelayMs = 350;
constexpr int32_t kStarFlightMs = 1150;

// Remainders taken without sign, so that -1 ("nothing passed yet") is no place of an act.
uint32_t placeOf(int32_t levelNumber) {
    return uint32_t(levelNumber) % GMapScene::kLevelsPerAct;
}

const GLevelConfig* levelRecord(int32_t levelIndex) {
    const LevelsConfiguration* levels =
        theApplication != nullptr ? theApplication->getLevelList() : nullptr;
    return levels != nullptr ? levels->getLevel(levelIndex) : nullptr;
}

} // namespace

GMapScene::GMapScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager), m_stateListener(new GMapSceneStateListener(*this)) {}

GMapScene::~GMapScene() {
    releaseTutorial();
    if (m_levelButtonsNode != nullptr)
        m_levelButtonsNode->getPreReceivers().eraseValue(m_stateListener.get());
}

void GMapScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_levelButtonsNode = findChildOf(scene, "LevelButtons");
    m_actButtonsNode = findChildOf(scene, "ActButtons");
    m_infoWindow = findChildOf(scene, "Hint");
    m_effects = findChildOf(scene, "Effects");
    m_levelButtons.clear();
    m_actButtons.clear();
    for (uint32_t i = 0; m_levelButtonsNode != nullptr && i < m_levelButtonsNode->getChildCount();
         ++i) {
        BaseNode* child = m_levelButtonsNode->getChild(i);
        if (child->isKindOf(GMapLocationButton::kTypeId))
            m_levelButtons.append(static_cast<GMapLocationButton*>(child));
    }
    for (uint32_t i = 0; m_actButtonsNode != nullptr && i < m_actButtonsNode->getChildCount();
         ++i) {
        BaseNode* child = m_actButtonsNode->getChild(i);
        if (child->isKindOf(ButtonNode::kTypeId))
            m_actButtons.append(static_cast<ButtonNode*>(child));
    }
    m_stateListener->setLevelButtonsNode(m_levelButtonsNode);
    if (m_levelButtonsNode != nullptr)
        m_levelButtonsNode->addPreReceiver(m_stateListener.get());
    m_traffic.bind(findChildOf(scene, "Bg"));
    // A scene loaded outside a manager reads through the menus' engine.
    CEngine* engine = getEngine();
    if (engine == nullptr && theApplication != nullptr && theApplication->getSceneManager())
        engine = theApplication->getSceneManager()->getEngine();
    if (engine != nullptr && engine->getFileSystem() != nullptr)
        m_traffic.loadPaths(*engine->getFileSystem());
}

bool GMapScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    if (m_tutorial && isCurrentScene()) {
        const CRefPointer<GTutorialController> running = m_tutorial;
        if (!running->OnUpdate(elapsedMs))
            releaseTutorial();
    }
    m_traffic.update(elapsedMs);
    if (m_hoverCountdownMs > 0) {
        m_hoverCountdownMs -= int32_t(elapsedMs);
        if (m_hoverCountdownMs <= 0 && m_hoveredSlot >= 0) {
            showLevelInfo(m_selectedAct * kLevelsPerAct + m_hoveredSlot, m_hoveredSlot);
            m_hoveredSlot = -1;
        }
    }
    return true;
}

bool GMapScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GBaseSceneNode::OnSceneSwitch(event);
    CSoundPlayer* sound = getSoundPlayer();
    if (event.getTo() != this) {
        if (event.getFrom() == this && sound != nullptr)
            sound->setGroupPaused(true, kAmbientSoundGroup);
        return false;
    }
    playCue("MapMusic");
    playCue("MapAmbient");
    if (sound != nullptr)
        sound->setGroupPaused(false, kAmbientSoundGroup);
    if (BaseNode* scene = findChildOf(this, "Scene"))
        scene->setChildrenState(nameOf("FirstTimeAnim"), nullptr);
    SceneNode* from = event.getFrom();
    if (from != nullptr && from->isKindOf(GLevelCompletedScene::kTypeId))
        arriveFromResults(*from);
    else
        refreshLevelButtons();
    startTutorialIfDue();
    m_traffic.placeInitialPedestrians();
    return true;
}

// The last place of an act passed for the first time opens the next act; any other pass
// shows its star flying in.
void GMapScene::arriveFromResults(SceneNode& results) {
    CProfileParameters* player = currentPlayer();
    if (player == nullptr) {
        refreshLevelButtons();
        return;
    }
    const int32_t passed = player->getInt("LastCompletedLevelIndex");
    const bool actEnded = placeOf(passed) == kLevelsPerAct - 1;
    if (actEnded && int64_t(player->getInt("MaxUnlockedLevelIndex")) == int64_t(passed) + 1) {
        turnPageTo(std::max(player->getInt("LevelIndex"), 1) / kLevelsPerAct);
        refreshLevelButtons();
        return;
    }
    refreshLevelButtons();
    if (!actEnded)
        flyStarToLevelButton(static_cast<GLevelCompletedScene&>(results).getStarNode());
}

// The old act's buttons go; the new act's page is filled once "ChangeActBefore" has played.
void GMapScene::turnPageTo(int32_t act) {
    if (isSelectedActValid())
        m_actButtons[uint32_t(m_selectedAct)]->setChildrenState(nameOf("Deselect"), nullptr);
    m_currentLevelButton = nullptr;
    m_selectedAct = act;
    if (isSelectedActValid())
        m_actButtons[uint32_t(m_selectedAct)]->setChildrenState(nameOf("Select"), nullptr);
    if (m_levelButtonsNode != nullptr)
        m_levelButtonsNode->setState(nameOf("ChangeActBefore"), nullptr, CNameId());
}

bool GMapScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    GBaseSceneNode::OnSceneSwitchDone(event);
    if (event.getTo() != this)
        return false;
    if (m_tutorial)
        m_tutorial->start();
    return true;
}

// A "LevelIndex" below 1 counts as the first level: no act would be shown otherwise.
void GMapScene::refreshLevelButtons() {
    CProfileParameters* player = currentPlayer();
    if (player == nullptr)
        return;
    int32_t current = std::max(player->getInt("LevelIndex"), 1) - 1;
    const int32_t maxUnlocked = player->getInt("MaxUnlockedLevelIndex");
    if (!isSelectedActValid()) {
        m_selectedAct = current / kLevelsPerAct;
        if (isSelectedActValid())
            m_actButtons[uint32_t(m_selectedAct)]->setChildrenState(nameOf("Select"), nullptr);
    }
    const CString key = slotKey(m_selectedAct);
    const int32_t saved = player->getInt(key);
    if (current / kLevelsPerAct == m_selectedAct) {
        player->setInt(key, current % kLevelsPerAct);
    } else if (saved >= 0 && uint32_t(saved) < m_levelButtons.size()) {
        current = m_selectedAct * kLevelsPerAct + saved;
        player->setInt("LevelIndex", current + 1);
    }
    for (uint32_t slot = 0; slot < m_levelButtons.size(); ++slot)
        updateLevelButton(slot, current, maxUnlocked);
}

void GMapScene::updateLevelButton(uint32_t slot, int32_t current, int32_t maxUnlocked) {
    GMapLocationButton& button = *m_levelButtons[slot];
    CStringW caption;
    caption.append(m_selectedAct + 1).append(u".").append(int32_t(slot) + 1);
    button.setText(caption);
    const int32_t levelIndex = m_selectedAct * kLevelsPerAct + int32_t(slot);
    if (levelIndex > maxUnlocked) {
        button.setEnabled(false);
        return;
    }
    const bool isCurrent = levelIndex == current;
    if (isCurrent)
        m_currentLevelButton = &button;
    button.setCurrent(isCurrent);
    button.setEnabled(true);
    if (levelRecord(levelIndex) != nullptr)
        button.setStarType(starTypeOf(levelIndex));
}

// The grade of the money of the level's last pass: gold, silver, bronze or none.
int32_t GMapScene::starTypeOf(int32_t levelIndex) const {
    const GLevelConfig* record = levelRecord(levelIndex);
    CProfileParameters* player = currentPlayer();
    if (record == nullptr || player == nullptr)
        return 0;
    CString key("Level");
    key.append(levelIndex + 1).append("Stats");
    const CArray<int> numbers = parseIntListNarrow(player->getString(key).c_str());
    const float money = numbers.size() != 0 ? float(numbers[0]) : 0.0f;
    if (money <= 0)
        return 0;
    if (money >= record->targetMasterMoney)
        return 3;
    if (money >= record->targetExpertMoney)
        return 2;
    return money >= record->targetMoney ? 1 : 0;
}

void GMapScene::flyStarToLevelButton(BaseNode* star) {
    CProfileParameters* player = currentPlayer();
    if (star == nullptr || m_effects == nullptr || player == nullptr)
        return;
    const uint32_t slot = placeOf(player->getInt("LastCompletedLevelIndex")) - 1;
    if (slot >= m_levelButtons.size())
        return;
    BaseNode* buttonStar = findChildOf(m_levelButtons[slot]->getTemplateRoot(), "Star");
    if (buttonStar == nullptr)
        return;
    buttonStar->setState(nameOf("Appear"), nullptr, CNameId());
    const CRefPointer<GSplineMovableNode> mover(
        new GSplineMovableNode(CContentKey(), m_effects, getSceneManager()));
    mover->setDelay(kStarDelayMs);
    mover->setDuration(kStarFlightMs);
    const float x = 219.0f + 70.0f * float(slot);
    const float tangent = x > 259.0f ? 100.0f : -100.0f;
    CArray<SplinePoint> points;
    points.append(SplinePoint{259.0f, 98.0f, tangent, -100.0f, nullptr});
    points.append(SplinePoint{x, 712.0f, -tangent, 300.0f, nullptr});
    mover->setPath(points);
    const CRefPointer<BaseNode> flying = star->clone(mover.get(), getSceneManager());
    if (flying) {
        flying->setPosition(CVector3d(0, 0, 0));
        flying->setState(nameOf("MapEffect"), nullptr, CNameId());
    }
    star->setVisible(false);
}

// Each map tutorial is shown once after the level it follows, always in the developer mode.
void GMapScene::startTutorialIfDue() {
    CProfileParameters* player = currentPlayer();
    if (player == nullptr || !player->getBool("ShowTutorialOn"))
        return;
    releaseTutorial();
    CString name("MapLevel");
    name.append(player->getInt("LastCompletedLevelIndex"));
    const CString shownKey = CString("ShownTutorial").append(name);
    CEngine* engine = getEngine();
    if ((!developerMode && player->getBool(shownKey)) || engine == nullptr ||
        engine->getFileSystem() == nullptr)
        return;
    CStringW file(u"levels/tutorials/");
    file.append(CStringW(name.c_str())).append(u".xml");
    const CRefPointer<CXmlTextReader> reader = engine->getFileSystem()->openXmlReader(file);
    if (!reader)
        return;
    const SceneManager* menus =
        theApplication != nullptr ? theApplication->getSceneManager() : getSceneManager();
    m_tutorial = CRefPointer<GTutorialController>(new GTutorialController(
        findChildOf(this, "Scene"), menus != nullptr ? menus->getTemplateCollection() : nullptr,
        theApplication != nullptr ? theApplication->getContentManager() : nullptr));
    m_tutorial->loadScript(*reader, nullptr);
    m_tutorial->attachTo(*this);
    player->setBool(shownKey, true);
}

void GMapScene::releaseTutorial() {
    if (!m_tutorial)
        return;
    m_tutorial->detach();
    m_tutorial = nullptr;
}

bool GMapScene::isCurrentScene() const {
    const SceneManager* manager = getSceneManager();
    return manager != nullptr && manager->getCurrentScene() == this;
}

// -1 and acts past the buttons are no act.
bool GMapScene::isSelectedActValid() const {
    return uint32_t(m_selectedAct) < m_actButtons.size();
}

int32_t GMapScene::slotOf(const BaseNode* button) const {
    for (uint32_t slot = 0; slot < m_levelButtons.size(); ++slot)
        if (m_levelButtons[slot] == button)
            return int32_t(slot);
    return -1;
}

CString GMapScene::slotKey(int32_t act) {
    return CString("S").append(act + 1).append("_LevelIndex");
}
