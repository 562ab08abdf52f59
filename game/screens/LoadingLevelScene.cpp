#include "game/screens/LoadingLevelScene.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/core/Engine.h"
#include "engine/core/Logger.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileParameters.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/video/IRenderDriver.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelConfig.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/ObjectConfigurations.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/SceneChildren.h"

namespace {

constexpr int32_t kActLength = 11;
const char16_t* const kShopSceneFile = u"scenes/GameShopScene.qscn";
const char16_t* const kGamePlaySceneFile = u"scenes/GamePlayScene.qscn";

bool isFirstOfAct(int32_t levelIndex) {
    return (levelIndex - 1) % kActLength == 0;
}

// Textures made while it is on let their source images go once uploaded.
void releaseSourceImages(CEngine* engine, bool on) {
    if (IRenderDriver* driver = engine != nullptr ? engine->getVideoDriver() : nullptr)
        driver->setTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE, on);
}

} // namespace

const GLoadingLevelScene::LoadingStep GLoadingLevelScene::kFullLoadingSteps[] = {
    {&GLoadingLevelScene::loadConfigurations, 5},
    {&GLoadingLevelScene::loadSettingAtlas, 10},
    {&GLoadingLevelScene::loadTemplateCollection, 10},
    {&GLoadingLevelScene::loadLevelScene, 10},
    {&GLoadingLevelScene::prepareShopScene, 10},
    {&GLoadingLevelScene::prepareGamePlayScene, 10},
    {&GLoadingLevelScene::openLevel, 10},
};

const GLoadingLevelScene::LoadingStep GLoadingLevelScene::kRestartLoadingSteps[] = {
    {&GLoadingLevelScene::loadConfigurations, 30},
    {&GLoadingLevelScene::prepareGamePlayScene, 30},
    {&GLoadingLevelScene::openLevel, 30},
};

GLoadingLevelScene::GLoadingLevelScene(const CContentKey& key, BaseNode* parent,
                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

GLoadingLevelScene::~GLoadingLevelScene() = default;

void GLoadingLevelScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    BaseNode* progress = findChildOf(scene, "Progress");
    m_progress = CRefPointer<BaseNode>::share(progress);
    m_fill = CRefPointer<BaseNode>::share(findChildOf(progress, "Fill"));
    updateDisplay();
}

bool GLoadingLevelScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    if (event.getTo() != this)
        return false;
    if (event.getForward() != 0) {
        m_steps = kFullLoadingSteps;
        m_stepCount = std::size(kFullLoadingSteps);
    } else {
        m_steps = kRestartLoadingSteps;
        m_stepCount = std::size(kRestartLoadingSteps);
    }
    m_progressDone = 0;
    m_shownProgress = 0;
    m_nextStep = 0;
    m_elapsedSinceStep = 0;
    updateDisplay();
    return true;
}

// At most one step a tick: a long step only delays the next tick.
bool GLoadingLevelScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    m_elapsedSinceStep += elapsedMs;
    if (m_elapsedSinceStep > kStepGapMs) {
        m_elapsedSinceStep = 0;
        if (m_nextStep < m_stepCount) {
            const CRefPointer<BaseNode> self = CRefPointer<BaseNode>::share(this);
            const LoadingStep& step = m_steps[m_nextStep];
            if (!(this->*step.operation)()) {
                navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
                return false;
            }
            ++m_nextStep;
            m_progressDone += step.weight;
        }
    }
    updateDisplay();
    return true;
}

// The fill covers the shown share of the bar's width, in steps of 8 units.
void GLoadingLevelScene::updateDisplay() {
    m_shownProgress = std::min(m_shownProgress + kProgressScale, m_progressDone);
    if (!m_progress || !m_fill)
        return;
    const CVector3d& bar = m_progress->getBounds();
    const CVector3d& fill = m_fill->getBounds();
    const float width = std::floor(m_shownProgress / kProgressScale * bar.x * 0.125f + 0.5f) * 8;
    m_fill->setBounds(CVector3d(width, fill.y, fill.z));
    m_fill->updateAbsoluteTransform();
}

bool GLoadingLevelScene::loadConfigurations() {
    CProfileParameters* player = currentPlayer();
    if (player == nullptr)
        return fail(u"the profile", u"has no player");
    IVirtualFileSystem& files = *getEngine()->getFileSystem();
    ObjectConfigurations& objects = *theApplication->getObjectConfigurations();
    objects.clear();
    objects.loadFiles(files);
    LevelsConfiguration& levels = *theApplication->getLevelList();
    levels.clear();
    levels.loadFile(files, *player, &objects);
    // A restart replays the level held, though a first completion has already moved
    // "LevelIndex" on to the next one.
    const int32_t levelIndex =
        restarting() && m_config ? m_config->levelIndex : player->getInt("LevelIndex");
    m_config = CRefPointer<GLevelConfig>::share(levels.getLevel(levelIndex - 1));
    if (!m_config)
        return fail(LevelsConfiguration::fileName(*player),
                    CStringW(u"has no level ").append(levelIndex));
    m_config->levelIndex = levelIndex;
    UpgradeCatalog* catalog = theApplication->getUpgradeCatalog(m_config->settingIndex);
    if (catalog == nullptr)
        return true;
    catalog->loadFile(files, m_config->settingIndex, *player);
    // A first visit starts from what the previous level's shop left, a restart from what this
    // level's own shop left.
    const bool ownPurchases = restarting() || isFirstOfAct(levelIndex);
    catalog->applyLevel(
        levelIndex, CString("Level").append(ownPurchases ? levelIndex : levelIndex - 1), player);
    return true;
}

bool GLoadingLevelScene::loadSettingAtlas() {
    const CStringW file = CStringW(u"atlases/Setting").append(m_config->settingIndex) + u".xml";
    releaseSourceImages(getEngine(), true);
    CRefPointer<CContent> atlases =
        theApplication->getContentManager()->load(contentType("atxc"), file, true);
    releaseSourceImages(getEngine(), false);
    if (atlases)
        m_atlasCollections.append(std::move(atlases));
    return true;
}

bool GLoadingLevelScene::loadTemplateCollection() {
    releaseSourceImages(getEngine(), true);
    const CRefPointer<BaseNode> loaded =
        loadNodeOfKind(settingFile(u"TemplateCollection.qscn"), TemplateCollectionNode::kTypeId,
                       u"a template collection");
    releaseSourceImages(getEngine(), false);
    if (!loaded)
        return false;
    m_templates = CRefPointer<TemplateCollectionNode>::share(
        static_cast<TemplateCollectionNode*>(loaded.get()));
    if (SceneManager* levelManager = theApplication->getLevelSceneManager())
        levelManager->setTemplateCollection(m_templates.get());
    return true;
}

bool GLoadingLevelScene::loadLevelScene() {
    const CStringW file = settingFile(u"Level.qscn");
    if (theApplication->getLevelSceneManager() == nullptr)
        return fail(file, u"has no scene manager to open in");
    releaseSourceImages(getEngine(), true);
    const CRefPointer<BaseNode> loaded = loadNodeOfKind(file, GGameLevelScene::kTypeId, u"a level");
    releaseSourceImages(getEngine(), false);
    if (!loaded)
        return false;
    m_level = CRefPointer<GGameLevelScene>::share(static_cast<GGameLevelScene*>(loaded.get()));
    m_level->loadWalkGrid(settingFile(u""));
    m_level->setClientGenerationPaused(true);
    return true;
}

// The shop comes before every level from the third on but the first of each act.
bool GLoadingLevelScene::prepareShopScene() {
    if (m_config->levelIndex < 3 || isFirstOfAct(m_config->levelIndex))
        return true;
    const CRefPointer<BaseNode> loaded =
        loadNodeOfKind(kShopSceneFile, GGameShopScene::kTypeId, u"a shop");
    if (!loaded)
        return false;
    prepareLevel();
    auto* shop = static_cast<GGameShopScene*>(loaded.get());
    shop->setLevel(m_level.get(), theApplication->getUpgradeCatalog(m_config->settingIndex));
    m_nextScreen = CRefPointer<GBaseSceneNode>::share(shop);
    return true;
}

bool GLoadingLevelScene::prepareGamePlayScene() {
    if (m_nextScreen)
        return true;
    const CRefPointer<BaseNode> loaded =
        loadNodeOfKind(kGamePlaySceneFile, GGamePlayScene::kTypeId, u"an in-level screen");
    if (!loaded)
        return false;
    prepareLevel();
    m_nextScreen = CRefPointer<GBaseSceneNode>::share(static_cast<GBaseSceneNode*>(loaded.get()));
    return true;
}

void GLoadingLevelScene::prepareLevel() {
    SceneManager* levelManager = theApplication->getLevelSceneManager();
    m_level->setLevelConfig(m_config.get());
    m_level->setObjectConfigurations(theApplication->getObjectConfigurations());
    m_level->spawnQueuedClients(m_config->clientsQueue, levelManager->getTemplateCollection());
}

bool GLoadingLevelScene::openLevel() {
    if (!m_nextScreen)
        return fail(kGamePlaySceneFile, u"was not prepared");
    theApplication->getLevelSceneManager()->openScene(m_level.get(), CNameId());
    if (restarting())
        m_level->reset(false);
    const CRefPointer<GBaseSceneNode> next = std::move(m_nextScreen);
    if (next->isKindOf(GGamePlayScene::kTypeId))
        static_cast<GGamePlayScene*>(next.get())
            ->setLevel(m_level.get(), theApplication->getUpgradeCatalog(m_config->settingIndex));
    openScene(next.get(), false, nameOf("NavFrom"), nameOf("NavTo"));
    return true;
}

CStringW GLoadingLevelScene::settingFile(const char16_t* file) const {
    return CStringW(u"levels/setting").append(m_config->settingIndex) + u"/" + file;
}

CRefPointer<BaseNode> GLoadingLevelScene::loadNodeOfKind(const CStringW& file, uint32_t kind,
                                                         const char16_t* kindName) {
    const CRefPointer<CContent> loaded =
        theApplication->getContentManager()->load(contentType("snod"), file, true);
    auto* node = static_cast<BaseNode*>(loaded.get());
    if (node == nullptr) {
        fail(file, u"did not load");
        return nullptr;
    }
    if (!node->isKindOf(kind)) {
        fail(file, CStringW(u"is not ") + kindName);
        return nullptr;
    }
    return CRefPointer<BaseNode>::share(node);
}

bool GLoadingLevelScene::fail(const CStringW& file, const CStringW& what) const {
    CLogger::instance()->log(CStringW(u"Level loading step ").append(m_nextStep + 1) + u": " +
                                 file + u" " + what,
                             CLogger::LevelWarning);
    return false;
}
