#include "game/screens/MainMenuScene.h"

#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/io/ContentManager.h"
#include "engine/io/Dictionary.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/SceneManager.h"
#include "game/app/GameApplication.h"
#include "game/screens/SceneChildren.h"

namespace {

// The results screen's type.
constexpr uint32_t kLevelCompletedSceneType = 1117;

int32_t drawIdleCountdown() {
    return CEngineServices::instance()->getRandom()->nextIntInRange(GMainMenuScene::kIdleMinMs,
                                                                    GMainMenuScene::kIdleMaxMs);
}

} // namespace

GMainMenuScene::GMainMenuScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GMainMenuScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_menu = findChildOf(scene, "Menu");
    m_welcomeText = findChildOf<TextNode>(m_menu, "WelcomeText");
    m_difficultyIcon = findChildOf(m_menu, "DifficultyIcon");
    m_creditsTipText = findChildOf<TextNode>(scene, "CreditsTipText");
    m_background = findChildOf(scene, "Bg");
    m_heroine = findChildOf(m_background, "Nelia");
    m_clipNode = findChildOf(m_background, "ClipNode");
    if (m_background != nullptr)
        m_idleCountdownMs = drawIdleCountdown();
}

bool GMainMenuScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    if (m_heroine == nullptr)
        return true;
    m_idleCountdownMs -= int32_t(elapsedMs);
    if (m_idleCountdownMs < 0) {
        static const CNameId idles[] = {nameOf("Blink"), nameOf("Blink1"), nameOf("Boring1"),
                                        nameOf("Boring2"), nameOf("Smile")};
        m_idleCountdownMs = drawIdleCountdown();
        const uint32_t pick = CEngineServices::instance()->getRandom()->next() % 5;
        m_heroine->setChildrenState(idles[pick], nullptr);
    }
    return true;
}

bool GMainMenuScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GBaseSceneNode::OnSceneSwitch(event);
    if (event.getTo() != this)
        return false;
    playCue("MenuMusic", true);
    greetPlayer(currentPlayer());
    SceneNode* from = event.getFrom();
    if (from != nullptr && from->isKindOf(kLevelCompletedSceneType)) {
        showCreditsTip();
    } else {
        if (m_clipNode != nullptr)
            m_clipNode->setVisible(false);
        if (m_creditsTipText != nullptr)
            m_creditsTipText->setVisible(false);
    }
    return true;
}

void GMainMenuScene::greetPlayer(CProfileParameters* player) {
    if (m_welcomeText != nullptr) {
        const CStringW name = player != nullptr ? player->getName() : CStringW();
        m_welcomeText->setText(CEngineServices::instance()->getDictionary()->substituteParams(
            "MainMenu_WelcomeTxt", name, CStringW(), CStringW(), CStringW()));
    }
    if (m_difficultyIcon == nullptr)
        return;
    m_difficultyIcon->setVisible(player != nullptr);
    if (player != nullptr)
        m_difficultyIcon->setState(
            nameOf(player->getInt("PlayerDifficulty") != 0 ? "Easy" : "Hard"), nullptr, CNameId());
}

void GMainMenuScene::showCreditsTip() {
    m_creditsTipShown = true;
    if (m_menu != nullptr)
        m_menu->setVisible(false);
    if (m_clipNode != nullptr) {
        // What reaches the tip reaches the menu first, once however often the tip shows.
        m_clipNode->getPreReceivers().eraseValue(this);
        m_clipNode->addPreReceiver(this);
        m_clipNode->setVisible(true);
        m_clipNode->setChildrenState(nameOf("Scrolling"), nullptr);
    }
    if (m_creditsTipText != nullptr)
        m_creditsTipText->setVisible(true);
}

void GMainMenuScene::hideCreditsTip() {
    m_creditsTipShown = false;
    if (m_creditsTipText != nullptr)
        m_creditsTipText->setVisible(false);
    if (m_clipNode != nullptr) {
        m_clipNode->getPreReceivers().eraseValue(this);
        m_clipNode->setVisible(false);
    }
    if (m_menu != nullptr)
        m_menu->setVisible(true);
}

// The cache keeps what is still shown: content that nothing uses any more goes, such as what
// the last level loaded.
bool GMainMenuScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    GBaseSceneNode::OnSceneSwitchDone(event);
    if (event.getTo() != this)
        return false;
    if (SceneManager* levels = theApplication->getLevelSceneManager())
        levels->setTemplateCollection(nullptr);
    theApplication->getContentManager()->releaseUnused();
    if (currentPlayer() == nullptr)
        openScreen(u"scenes/SelectPlayerScene.qscn", true);
    if ((event.getFlags() & 0xFF) == 1 && m_heroine != nullptr)
        m_heroine->setState(nameOf("FirstHello1"), nullptr, CNameId());
    return true;
}

bool GMainMenuScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    if (m_creditsTipShown)
        hideCreditsTip();
    BaseNode* control = event.getNode();
    const CNameId name = control != nullptr ? control->getName() : CNameId();
    if (name == nameOf("QuitButton")) {
        if (CEngine* engine = getEngine())
            engine->closeDevice();
    } else if (name == nameOf("ChangePlayerButton")) {
        openScreen(u"scenes/SelectPlayerScene.qscn", true);
    } else if (name == nameOf("NewGameButton")) {
        startNewGame();
    } else if (name == nameOf("OptionsButton")) {
        openScreen(u"scenes/OptionsScene.qscn", true);
    } else if (name == nameOf("CreditsButton")) {
        openScreen(u"scenes/CreditsScene.qscn", true);
    } else if (name == nameOf("AwardsButton")) {
        openScreen(u"scenes/AwardsScene.qscn", true);
    } else {
        return false;
    }
    return true;
}

// A player who has unlocked nothing yet sees the first comic over the map, which it returns
// to.
void GMainMenuScene::startNewGame() {
    CProfileParameters* player = currentPlayer();
    if (player == nullptr)
        return;
    SceneNode* map = openScreen(u"scenes/MapScene.qscn", false);
    if (player->getInt("MaxUnlockedLevelIndex") > 0)
        return;
    player->setInt("LevelIndex", 1);
    if (map != nullptr)
        map->openSceneFile(u"scenes/ComicsScene1.qscn", false, nameOf("NavFrom"), nameOf("NavTo"));
}

SceneNode* GMainMenuScene::openScreen(const char16_t* file, bool keepVisible) {
    return openSceneFile(file, keepVisible, nameOf("NavFrom"), nameOf("NavTo"));
}
