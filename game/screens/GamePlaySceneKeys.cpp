#include "engine/core/Engine.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileManager.h"
#include "game/app/GameApplication.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/LoadingLevelScene.h"

namespace {

constexpr uint32_t kEscape = 27;
constexpr uint32_t kEnd = 35;
constexpr uint32_t kNumpadPlus = 107;
constexpr uint32_t kKeyE = 69;
constexpr uint32_t kKeyL = 76;
constexpr uint32_t kKeyR = 82;
constexpr uint32_t kKeyS = 83;
// Money the developer adds goes to "other".
constexpr int32_t kOtherComponent = 5;

} // namespace

bool GGamePlayScene::OnKeyUp(CEventInputKeyUp& event) {
    if (GBaseSceneNode::OnKeyUp(event))
        return true;
    if (event.getVirtualKey() == kEscape) {
        openInGameMenu();
        return true;
    }
    if (developerMode && m_level)
        onDeveloperKey(event);
    return false;
}

CStringW GGamePlayScene::userDataFolder() const {
    CEngine* found = getEngine();
    return found != nullptr && found->getFileSystem() != nullptr
               ? found->getFileSystem()->getUserDataFolder()
               : CStringW();
}

void GGamePlayScene::restoreSavedLevel() {
    CProfileParameters* active = currentPlayer();
    if (!m_level || active == nullptr || !active->getBool("Cheat_LoadAfterRestart"))
        return;
    // Cleared first, so that a restore that fails is not tried again.
    active->setBool("Cheat_LoadAfterRestart", false);
    m_restoredFromSave = m_level->readSaveFile(userDataFolder());
}

void GGamePlayScene::addCheatMoney(float amount) {
    m_level->addMoney(amount, kOtherComponent, CVector3d(), CStringW());
}

void GGamePlayScene::onDeveloperKey(const CEventInputKeyUp& event) {
    const GLevelConfig* config = levelConfig();
    const float total = m_level->getMoney(GGameLevelScene::kMoneyComponents);
    switch (event.getVirtualKey()) {
    case kNumpadPlus:
        addCheatMoney(1000.0f);
        break;
    case kEnd:
        finishLevel(true);
        break;
    case kKeyE:
        if (config == nullptr)
            break;
        if (event.isShiftDown() && event.isControlDown()) {
            // Just past the goal, or back just below it.
            if (total < config->targetMoney)
                addCheatMoney(config->targetMoney - total + 1);
            else if (total > config->targetExpertMoney)
                addCheatMoney(config->targetMoney - total - 1);
        } else if (event.isShiftDown()) {
            if (total < config->targetExpertMoney)
                addCheatMoney(config->targetExpertMoney - total + 1);
        } else if (total < config->targetMasterMoney) {
            addCheatMoney(config->targetMasterMoney - total + 1);
        }
        break;
    case kKeyS:
        if (event.isControlDown())
            m_level->writeSaveFile(userDataFolder());
        break;
    case kKeyL:
        // The loading screen builds the level again; the next in-level screen restores it.
        if (event.isControlDown() && currentPlayer() != nullptr) {
            currentPlayer()->setBool("Cheat_LoadAfterRestart", true);
            navigateBackToType(GLoadingLevelScene::kTypeId, nameOf("NavBackFrom"),
                               nameOf("NavBackTo"));
        }
        break;
    case kKeyR:
        if (!event.isShiftDown())
            break;
        respawnQueuedClients();
        m_level->reset(false);
        m_level->setMode(0);
        applyUpgradesAndLayout();
        break;
    default:
        break;
    }
}
