#include "tests/game/level/LevelHarness.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/core/ICursorControl.h"
#include "engine/io/ContentManager.h"
#include "engine/io/Dictionary.h"
#include "engine/io/ProfileManager.h"
#include "engine/platform/host/IHostWindowSystem.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameClassRegistration.h"
#include "game/app/GameEvents.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/ObjectConfigurations.h"
#include "game/app/UpgradeCatalog.h"
#include "game/effects/MagnetMovableNode.h"
#include "tests/audio/LoopbackDriver.h"
#include "tests/game/app/ScreenInput.h"

namespace {

constexpr uint32_t kFrameMs = 20;
constexpr uint32_t kFrameSamples = loopback::kRate * kFrameMs / 1000;
// An act of the level list: the first level of each starts from its own purchases.
constexpr int32_t kActLength = 11;

template <typename Node>
CRefPointer<Node> loadNode(CContentManager& content, const CStringW& name) {
    const CRefPointer<CContent> loaded = content.load(contentType("snod"), name, true);
    auto* node = static_cast<BaseNode*>(loaded.get());
    return node != nullptr && node->isKindOf(Node::kTypeId)
               ? CRefPointer<Node>::share(static_cast<Node*>(node))
               : nullptr;
}

CString purchasePrefix(int32_t levelIndex) {
    return CString("Level").append(levelIndex);
}

} // namespace

std::vector<uint32_t> LevelTrace::eventTicks(uint32_t id) const {
    std::vector<uint32_t> ticks;
    for (const auto& received : events) {
        if (received.id == id)
            ticks.push_back(received.tick);
    }
    return ticks;
}

std::vector<uint32_t> LevelTrace::cueTicks(const std::string& name) const {
    std::vector<uint32_t> ticks;
    for (const Cue& cue : cues) {
        if (cue.name == name)
            ticks.push_back(cue.tick);
    }
    return ticks;
}

void LevelHarness::write(const std::string& file, const std::string& text) {
    const std::filesystem::path path = game.contentBase() / "extra" / file;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

bool LevelHarness::start() {
    if (!game.start(u"extra"))
        return false;
    registerGameClasses();
    const CRefPointer<CContent> pack =
        content().load(SoundPack::kContentType, u"sounds/SoundPack.xml", true);
    if (!pack)
        return false;
    static_cast<SoundPack*>(pack.get())->addCuesTo(*game.engine().getSoundPlayer());
    CEngineServices::instance()->getDictionary()->readXml(
        game.engine().getFileSystem()->openXmlReader(u"strings/Dictionary.xml").get());
    m_screen = CRefPointer<LevelStandInScreen>(new LevelStandInScreen(
        CContentKey(&content(), u"scenes/LevelStandIn.qscn"), nullptr, nullptr));
    m_screen->onKeyUp = [this](const CEventInputKeyboard& key) { answerKeyUp(key); };
    game.application().getSceneManager()->openScene(m_screen.get(), CNameId());
    game.advance(kFrameMs);
    return game.application().getSceneManager()->getCurrentScene() == m_screen.get();
}

void LevelHarness::stop() {
    m_level = nullptr;
    m_screen = nullptr;
    m_config = nullptr;
    m_playing.clear();
    game.stop();
}

GGameLevelScene* LevelHarness::loadLevel(int32_t levelIndex, int32_t difficulty) {
    // What the previous level posted reaches it, not the next one, which shares its manager.
    if (m_level)
        levelManager().OnUpdate(0);
    m_levelIndex = levelIndex;
    m_difficulty = difficulty;
    m_screen->events.clear();
    m_trace = LevelTrace();
    m_tick = 0;
    m_screen->tick = 0;
    GAwardTracker& awards = *game.application().getAwardTracker();
    awards.loadProgress(CStringW());
    awards.loadViewState(CStringW());
    if (!loadConfiguration(levelIndex, difficulty) || !loadScene())
        return nullptr;
    playLevel();
    return m_level.get();
}

// As the level-loading screen reads it before every level.
bool LevelHarness::loadConfiguration(int32_t levelIndex, int32_t difficulty) {
    CProfileParameters& player = game.player();
    player.setInt("PlayerDifficulty", difficulty);
    player.setInt("LevelIndex", levelIndex);
    IVirtualFileSystem& files = *game.engine().getFileSystem();
    ObjectConfigurations& objects = *game.application().getObjectConfigurations();
    objects.clear();
    objects.loadFiles(files);
    LevelsConfiguration& levels = *game.application().getLevelList();
    levels.clear();
    levels.loadFile(files, player, &objects);
    m_config = CRefPointer<GLevelConfig>::share(levels.getLevel(levelIndex - 1));
    if (!m_config)
        return false;
    m_config->levelIndex = levelIndex;
    m_catalog = game.application().getUpgradeCatalog(m_config->settingIndex);
    if (m_catalog != nullptr) {
        m_catalog->loadFile(files, m_config->settingIndex, player);
        const bool actStart = (levelIndex - 1) % kActLength == 0;
        m_catalog->applyLevel(levelIndex, purchasePrefix(actStart ? levelIndex : levelIndex - 1),
                              &player);
    }
    return true;
}

bool LevelHarness::loadScene() {
    CStringW folder(u"levels/setting");
    folder.append(m_config->settingIndex).append(u"/");
    const CRefPointer<TemplateCollectionNode> templates =
        loadNode<TemplateCollectionNode>(content(), folder + u"TemplateCollection.qscn");
    m_level = loadNode<GGameLevelScene>(content(), folder + u"Level.qscn");
    if (!templates || !m_level)
        return false;
    levelManager().setTemplateCollection(templates.get());
    m_level->loadWalkGrid(folder);
    m_level->setClientGenerationPaused(true);
    m_level->setLevelConfig(m_config.get());
    m_level->setObjectConfigurations(game.application().getObjectConfigurations());
    m_level->spawnQueuedClients(m_config->clientsQueue, templates.get());
    return true;
}

// As the gameplay screen starts a level.
void LevelHarness::playLevel() {
    levelManager().openScene(m_level.get(), CNameId());
    m_screen->attach(*m_level, levelManager());
    if (m_catalog != nullptr)
        m_catalog->applyLevel(m_config->levelIndex, purchasePrefix(m_config->levelIndex),
                              &game.player());
    m_level->reset(true);
    m_level->setMode(0);
    m_level->applyUpgrades(m_catalog, false);
    m_level->layoutDancePads();
    CProfileParameters& player = game.player();
    bool restored = false;
    if (player.getBool("Cheat_LoadAfterRestart") && developerMode) {
        // Cleared first, so that a restore that fails is not tried again.
        player.setBool("Cheat_LoadAfterRestart", false);
        restored = m_level->readSaveFile(userDataFolder());
    }
    // Without a saved level to go on from, the day starts as usual.
    if (!restored && armClientQueue)
        m_level->armClientQueue();
    m_level->setClientGenerationPaused(false);
    m_playing.clear();
    for (const CRefPointer<SoundCue>& cue : game.engine().getSoundPlayer()->getPlayingInstances())
        m_playing.push_back(cue);
}

void LevelHarness::advance(uint32_t frames) {
    auto* sound = dynamic_cast<COpenALAudioDriver*>(game.engine().getAudioDriver());
    for (uint32_t frame = 0; frame < frames; ++frame) {
        m_screen->tick = ++m_tick;
        if (player)
            player(m_tick);
        game.advance(kFrameMs);
        recordCues();
        if (renderSound && sound != nullptr)
            loopback::render(*sound, kFrameSamples);
    }
}

void LevelHarness::recordCues() {
    const CArray<CRefPointer<SoundCue>>& playing =
        game.engine().getSoundPlayer()->getPlayingInstances();
    std::vector<CRefPointer<SoundCue>> now;
    for (const CRefPointer<SoundCue>& cue : playing) {
        if (std::find(m_playing.begin(), m_playing.end(), cue) == m_playing.end())
            m_trace.cues.push_back({m_tick, cue->getName().toString().c_str()});
        now.push_back(cue);
    }
    m_playing = std::move(now);
}

LevelRun LevelHarness::run(uint32_t tickLimit) {
    LevelRun result;
    size_t seen = m_screen->events.size();
    while (result.ticks < tickLimit && !result.finished) {
        advance(1);
        ++result.ticks;
        for (; seen < m_screen->events.size(); ++seen) {
            const auto& received = m_screen->events[seen];
            if (received.id != GLevelFinishedEvent::Id)
                continue;
            result.finished = true;
            result.passed = static_cast<const GLevelFinishedEvent&>(*received.event).isPassed();
        }
    }
    result.trace = trace();
    for (int32_t i = 0; i < GGameLevelScene::kMoneyComponents; ++i)
        result.money[i] = m_level->getMoney(i);
    result.heartsTotal = m_level->getHeartsTotal();
    result.servedClients = m_level->getServedClients();
    result.lostClients = m_level->getLostClients();
    return result;
}

void LevelHarness::setDragViaClick(bool on) {
    game.player().setBool("DragViaClick", on);
}

namespace {

// The middle of the first node of the subtree that the root's hit test finds there.
bool findHitPoint(BaseNode& root, const BaseNode& node, CVector3d& point) {
    if (node.getBounds().x > 0 && node.getBounds().y > 0) {
        const CVector3d middle = screen_input::centreOf(node);
        if (root.findHitNode(middle) != nullptr) {
            point = middle;
            return true;
        }
    }
    for (uint32_t i = 0; i < node.getChildCount(); ++i) {
        if (findHitPoint(root, *node.getChild(i), point))
            return true;
    }
    return false;
}

} // namespace

CVector3d LevelHarness::pointOf(const BaseNode& node) const {
    auto& root = const_cast<BaseNode&>(node);
    root.updateAbsoluteTransform();
    CVector3d point;
    if (findHitPoint(root, node, point))
        return point;
    point = CVector3d();
    node.getAbsoluteMatrix().transformPoint(point);
    return point;
}

void LevelHarness::post(uint32_t message, const CVector3d& at) {
    if (inputHost == nullptr) {
        screen_input::post(game, message, at);
        return;
    }
    HostMessage posted;
    posted.window = game.window();
    posted.message = message;
    posted.x = int32_t(at.x);
    posted.y = int32_t(at.y);
    inputHost->postMessage(posted);
    // The main loop takes one queued message a pass.
    game.engine().runOnce();
}

void LevelHarness::moveTo(const BaseNode& node) {
    post(WM_MOUSEMOVE, pointOf(node));
}

void LevelHarness::press(const BaseNode& node) {
    const CVector3d at = pointOf(node);
    post(WM_MOUSEMOVE, at);
    post(WM_LBUTTONDOWN, at);
}

void LevelHarness::release(const BaseNode& node) {
    const CVector3d at = pointOf(node);
    post(WM_MOUSEMOVE, at);
    post(WM_LBUTTONUP, at);
}

// Pressed and released at one point, though the press may move the node.
void LevelHarness::click(const BaseNode& node) {
    const CVector3d at = pointOf(node);
    post(WM_MOUSEMOVE, at);
    post(WM_LBUTTONDOWN, at);
    post(WM_LBUTTONUP, at);
}

void LevelHarness::rightClick() {
    const ICursorControl::Point at = game.engine().getCursorControl()->getPosition();
    post(WM_RBUTTONDOWN, CVector3d(float(at.x), float(at.y), 0));
    post(WM_RBUTTONUP, CVector3d(float(at.x), float(at.y), 0));
}

void LevelHarness::typeWithControl(uint32_t virtualKey) {
    game.host.setKeyDown(VK_CONTROL, true);
    game.typeKey(virtualKey, 0);
    game.runMessages();
    game.host.setKeyDown(VK_CONTROL, false);
    // The level is built again once the key has been handled, as the loading screen does.
    if (m_restartAsked) {
        m_restartAsked = false;
        loadLevel(m_levelIndex, m_difficulty);
    }
}

void LevelHarness::answerKeyUp(const CEventInputKeyboard& key) {
    if (!developerMode || !key.isControlDown() || !m_level)
        return;
    if (key.getVirtualKey() == 'S') {
        m_level->writeSaveFile(userDataFolder());
    } else if (key.getVirtualKey() == 'L') {
        game.player().setBool("Cheat_LoadAfterRestart", true);
        m_restartAsked = true;
    }
}

CStringW LevelHarness::userDataFolder() const {
    return game.engine().getFileSystem()->getUserDataFolder();
}

BaseNode* LevelHarness::node(const char* name) const {
    return m_level->findChild(CNameId(CString(name)), 0);
}

uint32_t LevelHarness::flyingHearts() const {
    const BaseNode* holder = m_level->getEffectsHolder();
    uint32_t count = 0;
    for (uint32_t i = 0; holder != nullptr && i < holder->getChildCount(); ++i)
        count += holder->getChild(i)->isKindOf(GMagnetMovableNode::kTypeId) ? 1 : 0;
    return count;
}

const LevelTrace& LevelHarness::trace() {
    m_trace.events = m_screen->events;
    return m_trace;
}

SceneManager& LevelHarness::levelManager() const {
    return *game.application().getLevelSceneManager();
}

CContentManager& LevelHarness::content() const {
    return *game.application().getContentManager();
}
