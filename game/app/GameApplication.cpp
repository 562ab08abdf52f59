#include "game/app/GameApplication.h"

#include "engine/audio/IAudioDriver.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Logger.h"
#include "engine/core/Random.h"
#include "engine/core/Scheduler.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/Path.h"
#include "engine/io/ProfileManager.h"
#include "engine/io/XdgFolders.h"
#include "engine/platform/EngineStartup.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "game/app/AwardTracker.h"
#include "game/app/ContentArchivePassword.h"
#include "game/app/GameClassRegistration.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/LogoList.h"
#include "game/app/ObjectConfigurations.h"
#include "game/app/ProgramEntry.h"
#include "game/app/UpgradeCatalog.h"

GGameApplication* theApplication = nullptr;
bool developerMode = false;

namespace {

constexpr uint32_t kUpgradeSettingCount = 5;
constexpr uint32_t kStreamingThreshold = 0x40000;

struct SoundGroupSetup {
    int32_t group;
    int32_t overflowPolicy;
    int32_t fadeOutMs;
    int32_t fadeInMs;
    int32_t maxPlaying;
};

// 0 and 2 the game's sounds, 1 the music (one piece at a time), 3 sounds that the window's
// activation pauses outside the map.
constexpr SoundGroupSetup kSoundGroups[] = {
    {0, SoundGroupSettings::kReplaceOldest, 1000, 0, 4},
    {1, SoundGroupSettings::kReplaceOldest, 1000, 2000, 1},
    {2, SoundGroupSettings::kReplaceOldest, 1000, 0, 7},
    {3, SoundGroupSettings::kRefuseNew, 1000, 0, 4},
};

// Below the user's data folder, as the engine's own data folder is, but opened before the
// engine exists.
void openLog() {
    const CStringW dataFolder = xdgDataHome();
    if (!dataFolder.isEmpty())
        CLogger::instance()->open(dataFolder + u"/QuorvaneTessmark/Velmora/Velmora.log");
    CLogger::instance()->setMinLevel(CLogger::LevelInformation);
}

void setProfileDefaults(CProfileManager& profiles) {
    CProfileParameters& common = *profiles.getSystemDefaults();
    common.setBool("VSync", true);
    common.setInt("AntiAlias", 0);
    common.setInt("VideoDriver", 2);

    CProfileParameters& player = *profiles.getPlayerDefaults();
    player.setInt("MaxUnlockedLevelIndex", 0);
    player.setInt("LevelIndex", 1);
    player.setInt("LastCompletedLevelIndex", -1);
    player.setInt("S1_LevelIndex", -1);
    player.setInt("S2_LevelIndex", -1);
    player.setInt("S3_LevelIndex", -1);
    player.setInt("S4_LevelIndex", -1);
    player.setBool("SoundOn", true);
    player.setBool("MusicOn", true);
    player.setFloat("SoundVolume", 50.0f);
    player.setFloat("MusicVolume", 50.0f);
    player.setBool("WindowsCursor", false);
    player.setBool("FullScreen", true);
    player.setBool("DragViaClick", true);
    player.setBool("ShowTutorialOn", true);
    player.setInt("PlayerDifficulty", 0);
}

} // namespace

GGameApplication::GGameApplication() {
    theApplication = this;
    setCategoryMask(CEvent::CategoryDevice | CEvent::CategorySystem | CEvent::CategoryKeyboard |
                    CEvent::CategoryMouse);
    m_logoList = CRefPointer<GLogoList>(new GLogoList());
    m_levelList = CRefPointer<LevelsConfiguration>(new LevelsConfiguration());
    m_objectConfigurations = CRefPointer<ObjectConfigurations>(new ObjectConfigurations());
    for (uint32_t i = 0; i < kUpgradeSettingCount; ++i)
        m_upgradeCatalogs.append(CRefPointer<UpgradeCatalog>(new UpgradeCatalog()));
    m_awardTracker = CRefPointer<GAwardTracker>(new GAwardTracker());
}

// The start-up keeps the engine beyond this object, so every receiver registered here leaves
// the engine's list before it goes.
GGameApplication::~GGameApplication() {
    m_keptReferences.clear();
    unregister(m_scheduler.get());
    m_scheduler.reset();
    unregister(m_levelScheduler.get());
    m_levelScheduler.reset();
    unregister(m_sceneManager.get());
    m_sceneManager.reset();
    m_levelSceneManager.reset();
    unregister(m_contentManager.get());
    m_contentManager.reset();
    m_awardTracker.reset();
    unregister(this);
    m_engine.reset();
    m_logoList.reset();
    m_levelList.reset();
    m_objectConfigurations.reset();
    m_upgradeCatalogs.clear();
    theApplication = nullptr;
}

void GGameApplication::unregister(CEventReceiver* receiver) {
    if (m_engine && receiver != nullptr)
        m_engine->removeReceiver(receiver);
}

bool GGameApplication::initialize(const CStringW& extraContentFolder, CEngineStartup& startup) {
    openLog();
    CEngine* engine = startup.startEngine();
    if (engine == nullptr)
        return false;
    m_engine = CRefPointer<CEngine>::share(engine);
    CEngineServices::instance()->getRandom()->seed(engine->getTimer()->getRealTime());
    engine->setMinUpdateInterval(20);
    engine->setMaxUpdateStep(1000);
    loadProfiles();
    registerStartupSceneClasses();
    engine->addReceiver(this, 0);
    if (!startDevice())
        return false;
    createManagers();
    if (!mountContent(extraContentFolder))
        return false;
    configureSoundGroups();
    applySoundSettings();
    applyDisplaySettings();
    readLogos();
    return openFirstScene();
}

void GGameApplication::loadProfiles() {
    CProfileManager& profiles = *m_engine->getProfileManager();
    setProfileDefaults(profiles);
    profiles.load();
}

// One video driver is tried, the one the common profile names; audio falls back to silence.
bool GGameApplication::startDevice() {
    CProfileManager& profiles = *m_engine->getProfileManager();
    const int32_t driverType = profiles.getCommonProfile()->getInt("VideoDriver");
    m_deviceParameters.driverType = driverType >= 1 && driverType <= 3 ? uint32_t(driverType) : 2;
    const CProfileParameters* player = profiles.getActiveProfile();
    m_deviceParameters.fullScreen =
        (player != nullptr ? player : profiles.getPlayerDefaults())->getBool("FullScreen");
    m_deviceParameters.width = 1024;
    m_deviceParameters.height = 768;
    m_deviceParameters.bits = 32;
    m_deviceParameters.depthBits = 0;
    m_deviceParameters.stencilBuffer = false;
    m_deviceParameters.verticalSync = false;
    m_deviceParameters.antiAlias = 0;
    m_deviceParameters.highPrecisionFloat = false;
    m_deviceParameters.useDesktopResolution = true;
    m_deviceParameters.audio = AudioParameters{1, true};
    if (!m_engine->setParameters(m_deviceParameters))
        return false;
    if (m_engine->replaceAudioDriver(m_deviceParameters.audio))
        return true;
    m_deviceParameters.audio.driverType = 0;
    return m_engine->replaceAudioDriver(m_deviceParameters.audio);
}

// The second scene manager is no receiver: the gameplay screen that holds it passes it input
// and draws it, far behind the screen's own nodes.
void GGameApplication::createManagers() {
    m_contentManager = m_engine->createContentManager().toRefPointer();
    m_engine->addReceiver(m_contentManager.get(), 1);
    m_scheduler = m_engine->createScheduler();
    m_engine->addReceiver(m_scheduler.get(), 2);
    m_levelScheduler = m_engine->createScheduler();
    m_engine->addReceiver(m_levelScheduler.get(), 2);
    m_sceneManager = m_engine->createSceneManager().toRefPointer();
    if (m_sceneManager) {
        m_sceneManager->setDepthSortEnabled(true);
        m_sceneManager->setScheduler(m_scheduler.get());
        m_engine->addReceiver(m_sceneManager.get(), 2);
    }
    m_levelSceneManager = m_engine->createSceneManager().toRefPointer();
    if (m_levelSceneManager) {
        m_levelSceneManager->setDepthSortEnabled(true);
        m_levelSceneManager->setScheduler(m_levelScheduler.get());
        m_levelSceneManager->setPosition(CVector3d(0, 0, -4000));
    }
}

// In this order, so the extra folder's files hide those of "assets", and those hide the
// archive's. A source that is missing is passed over without a word, as each is optional; only
// a start without any says where it looked (a game started outside its folder).
bool GGameApplication::mountContent(const CStringW& extraContentFolder) {
    const CStringW& base = contentBasePath();
    bool mounted = false;
    if (!extraContentFolder.isEmpty()) {
        const bool absolute = !getRootPart(extraContentFolder).isEmpty();
        mounted |=
            mountIfPresent(absolute ? extraContentFolder : base + extraContentFolder, nullptr);
    }
    mounted |= mountIfPresent(base + u"assets", nullptr);
    mounted |= mountIfPresent(base + u"assets.qca", kContentArchivePassword);
    if (!mounted) {
        CStringW line(u"No game content: neither the folder \"assets\" nor the archive "
                      u"\"assets.qca\" is in the working folder ");
        line.append(base.isEmpty() ? CStringW(u"(unknown)") : base.subString(0, base.length() - 1));
        CLogger::instance()->log(line, CLogger::LevelError);
    }
    return mounted;
}

bool GGameApplication::mountIfPresent(const CStringW& path, const char* password) {
    IVirtualFileSystem& fileSystem = *m_engine->getFileSystem();
    return fileSystem.fileExists(path, false) && fileSystem.addArchive(path, password) != nullptr;
}

void GGameApplication::configureSoundGroups() {
    if (IAudioDriver* audio = m_engine->getAudioDriver())
        audio->setStreamingThreshold(kStreamingThreshold);
    CSoundPlayer* player = soundPlayer();
    if (player == nullptr)
        return;
    for (const SoundGroupSetup& setup : kSoundGroups) {
        SoundGroupSettings& settings = player->getGroupSettings(setup.group);
        settings.overflowPolicy = setup.overflowPolicy;
        settings.fadeOutMs = setup.fadeOutMs;
        settings.fadeInMs = setup.fadeInMs;
        settings.maxPlaying = setup.maxPlaying;
    }
}

// Without the file there are no logos: the logos scene goes on to the intro.
void GGameApplication::readLogos() {
    if (const CRefPointer<CXmlTextReader> reader =
            m_engine->getFileSystem()->openXmlReader(u"logos/Logos.xml"))
        m_logoList->load(*reader);
}

bool GGameApplication::openFirstScene() {
    if (!m_contentManager || !m_sceneManager)
        return false;
    const CRefPointer<CContent> content =
        m_contentManager->load(contentType("snod"), u"scenes/LogosScene.qscn", true);
    BaseNode* node = static_cast<BaseNode*>(content.get());
    if (node == nullptr || !node->isKindOf(SceneNode::kTypeId)) {
        CLogger::instance()->logChars("Could not open the first scene scenes/LogosScene.qscn",
                                      CLogger::LevelError);
        return false;
    }
    m_sceneManager->openScene(static_cast<SceneNode*>(node), CNameId());
    fitScreen();
    return true;
}

void GGameApplication::keepReference(CRefCounted* object) {
    if (object != nullptr)
        m_keptReferences.append(CRefPointer<CRefCounted>::share(object));
}

UpgradeCatalog* GGameApplication::getUpgradeCatalog(int32_t settingIndex) const {
    if (settingIndex < 0 || uint32_t(settingIndex) >= m_upgradeCatalogs.size())
        return nullptr;
    return m_upgradeCatalogs[uint32_t(settingIndex)].get();
}

CProfileParameters* GGameApplication::activeProfile() const {
    CProfileManager* profiles = m_engine ? m_engine->getProfileManager() : nullptr;
    return profiles != nullptr ? profiles->getActiveProfile() : nullptr;
}

CSoundPlayer* GGameApplication::soundPlayer() const {
    return m_engine ? m_engine->getSoundPlayer() : nullptr;
}
