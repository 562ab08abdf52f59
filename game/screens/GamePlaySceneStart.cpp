#include "engine/core/Engine.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileManager.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/SceneManager.h"
#include "game/app/GameApplication.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/screens/GameBriefingScene.h"
#include "game/screens/GameNewClientScene.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/SceneChildren.h"
#include "game/screens/TutorialController.h"

namespace {

// A tutorial of setting 1's objects, shown once to each player.
constexpr int32_t kObjectTutorialSetting = 1;

CString purchasePrefix(int32_t levelIndex) {
    return CString("Level").append(levelIndex);
}

} // namespace

void GGamePlayScene::applyUpgradesAndLayout() {
    if (m_upgrades) {
        const int32_t index = levelConfig() != nullptr ? levelConfig()->levelIndex : 0;
        m_upgrades->applyLevel(index, purchasePrefix(index), currentPlayer());
        m_level->applyUpgrades(m_upgrades.get(), false);
    }
    m_level->layoutDancePads();
}

void GGamePlayScene::respawnQueuedClients() {
    GLevelConfig* config = levelConfig();
    const SceneManager* manager =
        theApplication != nullptr ? theApplication->getLevelSceneManager() : nullptr;
    if (config != nullptr)
        m_level->spawnQueuedClients(
            config->clientsQueue, manager != nullptr ? manager->getTemplateCollection() : nullptr);
}

CRefPointer<GTutorialController> GGamePlayScene::loadTutorial(const CStringW& file) {
    CEngine* found = getEngine();
    if (found == nullptr || found->getFileSystem() == nullptr)
        return nullptr;
    const CRefPointer<CXmlTextReader> reader = found->getFileSystem()->openXmlReader(file);
    if (!reader)
        return nullptr;
    // The screen may not be in its manager yet: the menus' manager lends its templates.
    const SceneManager* manager =
        theApplication != nullptr ? theApplication->getSceneManager() : nullptr;
    CRefPointer<GTutorialController> controller(new GTutorialController(
        findChildOf(this, "Scene"), manager != nullptr ? manager->getTemplateCollection() : nullptr,
        theApplication != nullptr ? theApplication->getContentManager() : nullptr));
    controller->loadScript(*reader, m_level.get());
    return controller;
}

void GGamePlayScene::detachTutorial(GTutorialController& controller) {
    controller.detach();
    if (m_level) {
        m_level->setTutorialQueueMode(false);
        m_level->setTutorial(nullptr);
    }
}

bool GGamePlayScene::showNextStartPopup() {
    if (m_level && m_level->isRestarted()) {
        m_briefingDone = true;
        m_newClientDone = true;
    }
    if (!m_briefingDone) {
        openSceneFile(u"scenes/BriefingScene.qscn", true, nameOf("NavFrom"), nameOf("NavTo"));
        return true;
    }
    if (!m_newClientDone) {
        const GLevelConfig* config = levelConfig();
        const GClientConfig* client =
            config != nullptr && config->newClientName != CNameId() &&
                    m_level->getObjectConfigurations() != nullptr
                ? m_level->getObjectConfigurations()->getClientConfig(config->newClientName)
                : nullptr;
        SceneNode* popup = client != nullptr
                               ? openSceneFile(u"scenes/GameNewClientScene.qscn", true,
                                               nameOf("NavFrom"), nameOf("NavTo"))
                               : nullptr;
        if (popup != nullptr && popup->isKindOf(GGameNewClientScene::kTypeId)) {
            playCue("NewClientWindow");
            static_cast<GGameNewClientScene*>(popup)->setClient(client);
        } else {
            m_newClientDone = true;
        }
    }
    if (m_level && m_tutorials.size() == 0 && !m_restoredFromSave)
        m_level->armClientQueue();
    return !(m_briefingDone && m_newClientDone);
}

bool GGamePlayScene::queueObjectTutorials() {
    const GLevelConfig* config = levelConfig();
    BaseNode* scene = findChildOf(this, "Scene");
    if (config == nullptr || config->settingIndex != kObjectTutorialSetting || scene == nullptr)
        return false;
    CProfileParameters* active = currentPlayer();
    bool created = false;
    for (CNameId name = m_level->popQueuedLocation(); name != CNameId();
         name = m_level->popQueuedLocation()) {
        CString text = name.toString();
        if (text == "MassageTable1")
            text = CString("Masseur1");
        const CString key = CString("ShownTutorial").append(text);
        if (!developerMode && active != nullptr && active->getBool(key))
            continue;
        CStringW file(u"levels/tutorials/");
        file.append(text.c_str()).append(u".xml");
        if (CRefPointer<GTutorialController> controller = loadTutorial(file)) {
            m_tutorials.insert(controller, 0);
            created = true;
        }
        if (active != nullptr)
            active->setBool(key, true);
    }
    if (created) {
        startTutorial();
        m_level->setClientGenerationPaused(false);
    }
    return created;
}

void GGamePlayScene::startTutorial() {
    if (m_tutorials.size() == 0) {
        if (m_skipTutorialButton != nullptr)
            m_skipTutorialButton->setVisible(false);
        return;
    }
    if (!m_hasLevelTutorial || m_tutorials.size() > 1) {
        for (const CRefPointer<GLocationNode>& location : m_level->getLocations())
            location->setColor(0);
    }
    GTutorialController& controller = *m_tutorials[0];
    controller.attachTo(*this);
    controller.attachTo(*m_level);
    m_level->setTutorialQueueMode(true);
    m_level->setTutorial(controller.getScript());
    if (m_skipTutorialButton != nullptr)
        m_skipTutorialButton->setVisible(true);
    controller.start();
}

void GGamePlayScene::finishTutorial(bool advance) {
    if (advance && m_tutorials.size() != 0) {
        const CRefPointer<GTutorialController> finished = m_tutorials[0];
        m_tutorials.eraseAt(0);
        detachTutorial(*finished);
        // Shown again by the next tutorial that starts.
        if (m_skipTutorialButton != nullptr)
            m_skipTutorialButton->setVisible(false);
        if (!m_hasLevelTutorial || m_tutorials.size() != 0) {
            // The level starts again behind the fade to black, or at once without one.
            m_startPending = true;
            if (m_darkForeground != nullptr)
                m_darkForeground->setState(nameOf("RestartBefore"), nullptr, CNameId());
            else
                startLevel();
            return;
        }
    }
    startTutorial();
}

void GGamePlayScene::startLevel() {
    if (!m_startPending)
        return;
    m_startPending = false;
    if (m_level) {
        respawnQueuedClients();
        m_level->reset(true);
        m_level->setMode(0);
        applyUpgradesAndLayout();
        m_level->setClientGenerationPaused(false);
        const uint32_t queued = m_tutorials.size();
        if ((m_hasLevelTutorial && queued == 1) || queued == 0) {
            if (!showNextStartPopup())
                startTutorial();
        } else {
            startTutorial();
        }
    }
    if (m_darkForeground != nullptr)
        m_darkForeground->setState(nameOf("RestartAfter"), nullptr, CNameId());
    if (m_timeClosedNode != nullptr)
        m_timeClosedNode->setState(nameOf("Opened"), nullptr, CNameId());
}
