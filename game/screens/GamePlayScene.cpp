#include "game/screens/GamePlayScene.h"

#include <algorithm>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/EventSystemFlowRender.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TextNode.h"
#include "game/app/GameApplication.h"
#include "game/app/GameEvents.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/EllipseSectorNode.h"
#include "game/screens/GameBriefingScene.h"
#include "game/screens/GameNewClientScene.h"
#include "game/screens/SceneChildren.h"
#include "game/screens/TutorialController.h"
#include "game/screens/TwoSpritesProgressBarNode.h"

namespace {

constexpr int32_t kLevelSoundGroup = 2;

SceneManager* levelManager() {
    return theApplication != nullptr ? theApplication->getLevelSceneManager() : nullptr;
}

} // namespace

GGamePlayScene::GGamePlayScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setCategoryMask(getCategoryMask() | CEvent::CategoryGame);
}

// A newer screen that took the level over keeps it.
GGamePlayScene::~GGamePlayScene() {
    for (const CRefPointer<GTutorialController>& controller : m_tutorials)
        detachTutorial(*controller);
    m_tutorials.clear();
    m_upgrades.reset();
    m_level.reset();
    SceneManager* manager = levelManager();
    BaseNode* scene = findChild(nameOf("Scene"), 1);
    if (manager != nullptr && scene != nullptr && manager->getParent() == scene)
        manager->openScene(nullptr, CNameId());
}

const EventMap& GGamePlayScene::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GGamePlayScene::OnRankChanged>(),  eventHook<&GGamePlayScene::OnLevelClosed>(),
        eventHook<&GGamePlayScene::OnMoneyChanged>(), eventHook<&GGamePlayScene::OnBonusCredited>(),
        eventHook<&GGamePlayScene::OnMoneyEarned>(),  eventHook<&GGamePlayScene::OnLevelFinished>(),
        eventHook<&GGamePlayScene::OnAwardEarned>(),
    };
    static const EventMap map = buildEventMap(GBaseSceneNode::getEventMap(), own);
    return map;
}

void GGamePlayScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_darkForeground = findChildOf(scene, "DarkFg");
    m_popupsLayer = findChildOf(scene, "PopupsLayer");
    m_gameMenu = findChildOf(scene, "GameMenu");
    if (m_gameMenu == nullptr)
        return;
    BaseNode* money = findChildOf(m_gameMenu, "Money");
    m_moneyText = findChildOf<TextNode>(money, "MoneyText");
    m_goalLabel = findChildOf<TextNode>(money, "GoalLabel");
    m_goalText = findChildOf<TextNode>(money, "GoalText");
    m_levelText = findChildOf<TextNode>(money, "LevelText");
    BaseNode* time = findChildOf(m_gameMenu, "Time");
    m_timeClosedNode = findChildOf(time, "TimeClosedNode");
    m_clockArrow = findChildOf(time, "Arrow");
    m_clockSector = findChildOf<GEllipseSectorNode>(time, "Ellipse");
    m_skipTutorialButton = findChildOf(m_gameMenu, "SkipTutorialButton");
    m_rankStar = findChildOf<GTwoSpritesProgressBarNode>(m_gameMenu, "RankStarNode");
}

bool GGamePlayScene::setLevel(GGameLevelScene* level, UpgradeCatalog* catalog) {
    if (findChildOf(this, "Scene") == nullptr)
        return false;
    m_level = CRefPointer<GGameLevelScene>::share(level);
    m_upgrades = CRefPointer<UpgradeCatalog>::share(catalog);
    if (m_skipTutorialButton != nullptr)
        m_skipTutorialButton->setVisible(false);
    CProfileParameters* active = player();
    if (active != nullptr && active->getBool("ShowTutorialOn") && levelConfig() != nullptr) {
        CStringW file(u"levels/tutorials/Level");
        file.append(levelConfig()->levelIndex).append(u".xml");
        if (CRefPointer<GTutorialController> controller = loadTutorial(file))
            m_tutorials.append(controller);
    }
    m_tutorialStarted = false;
    m_hasLevelTutorial = m_tutorials.size() != 0;
    return true;
}

CEngine* GGamePlayScene::engine() const {
    if (CEngine* own = getEngine())
        return own;
    const SceneManager* menus =
        theApplication != nullptr ? theApplication->getSceneManager() : nullptr;
    return menus != nullptr ? menus->getEngine() : nullptr;
}

CProfileParameters* GGamePlayScene::player() const {
    CEngine* found = engine();
    CProfileManager* profiles = found != nullptr ? found->getProfileManager() : nullptr;
    return profiles != nullptr ? profiles->getActiveProfile() : nullptr;
}

GLevelConfig* GGamePlayScene::levelConfig() const {
    return m_level ? m_level->getLevelConfig() : nullptr;
}

bool GGamePlayScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    if (event.getFrom() == this) {
        setLevelRunning(false);
        return false;
    }
    if (event.getTo() != this)
        return false;
    CSoundPlayer* sound = getSoundPlayer();
    const float volume = sound != nullptr ? sound->getGroupVolume(kLevelSoundGroup) : 0.0f;
    if (sound != nullptr) {
        sound->setGroupVolume(0.0f, kLevelSoundGroup);
        CString cue("GameMusicSetting");
        cue.append(levelConfig() != nullptr ? levelConfig()->settingIndex : 0);
        m_musicCue = CNameId(cue);
        sound->playCue(m_musicCue, true, 0);
    }
    if (event.getForward() == 1) {
        attachLevel();
        if (developerMode)
            restoreSavedLevel();
        initHud();
    }
    if (sound != nullptr) {
        sound->setGroupVolume(volume, kLevelSoundGroup);
        sound->setGroupPaused(false, kLevelSoundGroup);
    }
    // Back from a pop-up with another one or the results due: the level waits for them.
    m_levelHeld = isEndScreenDue();
    if (!m_levelHeld)
        setLevelRunning(true);
    refreshMoney();
    return true;
}

void GGamePlayScene::setLevelRunning(bool running) {
    if (!m_level)
        return;
    m_level->setClientGenerationPaused(!running);
    if (CScheduler* clock = m_level->getClock())
        clock->setEnabled(running);
}

void GGamePlayScene::attachLevel() {
    BaseNode* scene = findChildOf(this, "Scene");
    SceneManager* manager = levelManager();
    if (scene == nullptr || manager == nullptr)
        return;
    scene->addChild(manager, nullptr);
    if (!m_level)
        return;
    m_level->setScene(manager, this);
    m_level->setClientGenerationPaused(true);
    m_level->setMode(0);
    applyUpgradesAndLayout();
}

bool GGamePlayScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    if (GBaseSceneNode::OnSceneSwitchDone(event))
        return true;
    if (event.getTo() != this)
        return false;
    if (m_level && !m_levelHeld)
        m_level->setClientGenerationPaused(false);
    if ((event.getFlags() & 0xFF) == 0) {
        SceneNode* left = event.getFrom();
        if (left != nullptr && left->isKindOf(GGameBriefingScene::kTypeId)) {
            m_briefingDone = true;
            showNextStartPopup();
        } else if (left != nullptr && left->isKindOf(GGameNewClientScene::kTypeId)) {
            m_newClientDone = true;
        }
    } else if (!queueObjectTutorials()) {
        showNextStartPopup();
    }
    if (m_briefingDone && m_newClientDone && m_tutorials.size() != 0 && !m_tutorialStarted) {
        m_tutorialStarted = true;
        startTutorial();
    }
    return true;
}

bool GGamePlayScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    const CRefPointer<GGamePlayScene> self = CRefPointer<GGamePlayScene>::share(this);
    if (m_darkForeground != nullptr && m_darkForeground->getTintColor() == CColor(0xFF000000) &&
        m_startPending)
        startLevel();
    if (m_level && !m_level->isClosed())
        updateClock();
    if (m_tutorials.size() != 0 && isCurrentScene() && !m_tutorials[0]->OnUpdate(elapsedMs))
        finishTutorial(true);
    if (!showNextAwardPopup() && isResultsDue() && isCurrentScene())
        openResults();
    // A pop-up that did not open leaves nothing to wait for.
    if (m_levelHeld && isCurrentScene() && !isEndScreenDue()) {
        m_levelHeld = false;
        setLevelRunning(true);
    }
    return true;
}

// The fraction of the day gone, never past the whole day; 0 without a day's length.
void GGamePlayScene::updateClock() {
    if (m_clockArrow == nullptr)
        return;
    const GLevelConfig* config = levelConfig();
    float fraction = 0.0f;
    if (config != nullptr && config->levelTime > 0) {
        const uint32_t gone =
            uint32_t(m_level->getElapsedMs()) + uint32_t(m_level->getClosingClockMs());
        fraction = std::min(1.0f, float(gone) / float(uint32_t(config->levelTime) * 1000u));
    }
    m_clockArrow->setRotation(CVector3d(0, 0, fraction * 360.0f));
    if (m_clockSector != nullptr) {
        m_clockSector->setAngle1(int32_t(fraction * 360.0f));
        m_clockSector->setAngle2(360);
    }
}

bool GGamePlayScene::isCurrentScene() const {
    const SceneManager* manager = getSceneManager();
    return manager != nullptr && manager->getCurrentScene() == this;
}

void GGamePlayScene::openInGameMenu() {
    openSceneFile(u"scenes/InGameMenuScene.qscn", true, nameOf("NavFrom"), nameOf("NavTo"));
}

bool GGamePlayScene::OnWindowFocus(CEventSystemFlowActivate& event) {
    GBaseSceneNode::OnWindowFocus(event);
    if (event.isActive() || !isCurrentScene() || !isFocused() || theApplication == nullptr)
        return false;
    openInGameMenu();
    // A frame with the menu while the window is inactive.
    const CRefPointer<CEvent> render(new CEventSystemFlowRender);
    if (!theApplication->OnEvent(*render))
        theApplication->sendToChildren(RouteSelfThenChildren, *render);
    return false;
}

bool GGamePlayScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    const BaseNode* button = event.getNode();
    if (button == nullptr)
        return false;
    if (button->getName() == nameOf("MenuButton")) {
        openInGameMenu();
        return true;
    }
    if (button->getName() == nameOf("SkipTutorialButton")) {
        finishTutorial(true);
        if (CProfileParameters* active = player())
            active->setBool("ShowTutorialOn", false);
    }
    return false;
}

bool GGamePlayScene::OnNodeHovered(CEventControlHovered& event) {
    GBaseSceneNode::OnNodeHovered(event);
    return event.getNode() != nullptr && event.getNode()->getName() == nameOf("UpgradeButton");
}
