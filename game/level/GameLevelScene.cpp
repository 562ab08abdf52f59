#include "game/level/GameLevelScene.h"

#include <cstdint>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Logger.h"
#include "engine/core/Timer.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/VirtualFile.h"
#include "engine/scene/SceneManager.h"
#include "game/app/GameEvents.h"
#include "game/app/ProgramEntry.h"
#include "game/level/ClientNode.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "game/level/MiniGameConfigurations.h"
#include "game/level/StaffNode.h"

namespace {

constexpr const char16_t* kWalkGrid = u"walk grid";
constexpr uint32_t kMemoryBlockSize = 16384;

// Counters that a day never fills stop at their largest value rather than wrap.
int32_t addClamped(int32_t value, int64_t added) {
    const int64_t sum = int64_t(value) + added;
    return sum > INT32_MAX ? INT32_MAX : int32_t(sum);
}

constexpr uint32_t kColorValues[GGameLevelScene::kColorCount] = {
    0x00FFFFFF, 0xFF0068F5, 0xFFF50000, 0xFF22CD00, 0xFFC200EB, 0xFF00C4D0};

// Spawning slower than this is logged.
constexpr uint32_t kSlowSpawnMs = 50;

// The closing clock runs this many times as fast as the day's.
constexpr int64_t kClosingSpeed = 100;

} // namespace

GGameLevelScene::GGameLevelScene(const CContentKey& key, BaseNode* parent,
                                 SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager), m_random(new CRandom) {
    setInterval(kTickMs);
    // A level made without content, only to ask its class, leaves the tables alone.
    if (IVirtualFileSystem* files = getFileSystem())
        GMiniGameConfigurations::shared().loadFiles(files);
}

void GGameLevelScene::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    SceneNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId))
        m_missingPartsReported = static_cast<const GGameLevelScene&>(source).m_missingPartsReported;
}

void GGameLevelScene::setLevelConfig(GLevelConfig* config) {
    m_levelConfig = CRefPointer<GLevelConfig>::share(config);
}

void GGameLevelScene::setObjectConfigurations(ObjectConfigurations* configs) {
    m_objectConfigs = CRefPointer<ObjectConfigurations>::share(configs);
}

IVirtualFileSystem* GGameLevelScene::getFileSystem() const {
    CContentManager* content = getContentManager();
    return content != nullptr ? content->getFileSystem() : nullptr;
}

bool GGameLevelScene::loadWalkGrid(const CStringW& folder) {
    m_walkGrid.setDefaults();
    IVirtualFileSystem* files = getFileSystem();
    const CRefPointer<IInputFile> file =
        files != nullptr ? files->openInputFile(folder + u"wgrid.bin") : nullptr;
    return file && m_walkGrid.load(*file);
}

bool GGameLevelScene::saveWalkGrid() {
    if (!m_levelConfig)
        return failSave(kWalkGrid, u"wgrid.bin",
                        u"the level has no configuration to name its setting");
    // Below the folder the program started in, where the content's "assets" folder is mounted.
    CStringW folder = contentBasePath() + u"assets/levels/setting";
    folder.append(m_levelConfig->settingIndex);
    const CRefPointer<CVirtualFile> memory(new CVirtualFile(u"wgrid.bin", kMemoryBlockSize));
    if (!m_walkGrid.save(*memory))
        return failSave(kWalkGrid, folder + u"/wgrid.bin", u"the grid cannot be written");
    return writeThroughNewFile(folder, u"wgrid.bin", kWalkGrid, *memory);
}

// The new bytes reach the disk under another name first and a rename puts them in place, so a
// failure never leaves half a file.
bool GGameLevelScene::writeThroughNewFile(const CStringW& folder, const char16_t* name,
                                          const char16_t* what, IInputFile& content) const {
    const CStringW path = folder + u"/" + name;
    IVirtualFileSystem* files = getFileSystem();
    if (files == nullptr || folder.isEmpty())
        return failSave(what, path, u"there is no file system or folder to write to");
    const CStringW temporary = folder + u"/" + files->makeUniqueFileName(folder, u"new");
    CRefPointer<IOutputFile> output = files->openOutputFile(temporary, false);
    if (!output)
        return failSave(what, path, u"the new file cannot be created");
    content.seekTo(0, false);
    const bool written = copyFile(content, *output);
    output.reset();
    if (!written) {
        files->removeFile(temporary);
        return failSave(what, path, u"the new file cannot be written in full");
    }
    if (!files->renameFile(temporary, path)) {
        files->removeFile(temporary);
        return failSave(what, path, u"the new file cannot replace the old one");
    }
    return true;
}

bool GGameLevelScene::failSave(const char16_t* what, const CStringW& path, const char16_t* reason) {
    CStringW line(u"Could not save the ");
    line.append(what).append(u" to ").append(path).append(u": ").append(reason);
    CLogger::instance()->log(line, CLogger::LevelError);
    return false;
}

bool GGameLevelScene::copyFile(IInputFile& input, IOutputFile& output) {
    uint8_t buffer[kMemoryBlockSize];
    for (;;) {
        const int32_t count = input.readBytes(buffer, int32_t(kMemoryBlockSize));
        if (count <= 0)
            return true;
        if (output.writeBytes(buffer, count) != count)
            return false;
    }
}

void GGameLevelScene::setMode(int32_t mode) {
    m_passiveMode = mode;
    const bool played = mode == 0;
    if (played)
        buildPairAreas();
    if (played || mode == 1) {
        if (m_envUpgradeButtons) {
            m_envUpgradeButtons->setVisible(!played);
            if (ControlNode* buttons = asControlNode(m_envUpgradeButtons.get()))
                buttons->setEnabled(!played);
        }
        // Characters are picked up by the level itself while it is played.
        for (uint32_t i = 0; m_charactersNode && i < m_charactersNode->getChildCount(); ++i)
            m_charactersNode->getChild(i)->setCanBeHit(!played);
        if (played && m_sandwichArt)
            m_sandwichArt->setVisible(false);
    }
    moveTickToSceneClock();
}

void GGameLevelScene::moveTickToSceneClock() {
    SceneNode* owner = getScene();
    setScheduler(owner != nullptr ? owner->getClock() : nullptr);
}

void GGameLevelScene::reset(bool fresh) {
    if (!fresh)
        m_restarted = true;
    for (const CRefPointer<GLocationNode>& location : m_locations) {
        location->clearClients();
        location->setHero(nullptr);
        location->setStaff(nullptr);
        location->clearRecharger();
        location->setColor(0);
    }
    for (const CRefPointer<GLocationNode>& slot : m_queueSlots)
        slot->clearClients();
    for (const CRefPointer<GLocationNode>& place : m_masseurPlaces)
        place->clearClients();
    if (m_charactersNode)
        m_charactersNode->removeAllChildren();
    m_hero = nullptr;
    m_staff.clear();
    m_closed = false;
    m_finishedPosted = false;
    m_rank = 0;
    m_servedClients = 0;
    m_lostClients = 0;
    for (int32_t i = 0; i < kMoneyComponents; ++i) {
        m_money[i] = 0;
        m_displayedMoney[i] = 0;
    }
    m_elapsedMs = 0;
    m_heartsTotal = 0;
    m_chainType = CNameId();
    m_chainSize = 0;
    m_heldClient = nullptr;
    m_grabbedClient = nullptr;
    m_deferredClients.clear();
    if (m_background)
        m_background->setChildrenState(nameOf("Opened"), nullptr);
    if (m_effectsHolder)
        m_effectsHolder->removeAllChildren();
    m_delayedEvents.clear();
}

bool GGameLevelScene::postEventDelayed(CEvent& event, int32_t delayMs) {
    for (const DelayedEvent& waiting : m_delayedEvents) {
        if (waiting.event.get() == &event)
            return false;
    }
    m_delayedEvents.append(DelayedEvent{CRefPointer<CEvent>::share(&event), delayMs});
    return true;
}

bool GGameLevelScene::OnUpdate(uint32_t elapsedMs) {
    // Out of every scene, the level is done with: the clock lets go of it.
    if (getScene() == nullptr || m_passiveMode != 0)
        return false;
    const CRefPointer<GGameLevelScene> self = CRefPointer<GGameLevelScene>::share(this);
    deliverDelayedEvents(elapsedMs);
    // Whether the day may end exists only within this tick.
    bool finished = !m_paused && runDay(elapsedMs);
    if (creditDelayedMoney(elapsedMs))
        finished = false;
    const bool moving = animateMoney(elapsedMs);
    if (!moving && finished && !m_finishedPosted) {
        m_finishedPosted = true;
        const float total = getMoney(kMoneyComponents);
        const bool passed = m_levelConfig && m_levelConfig->targetMoney <= total;
        const CRefPointer<CEvent> event(new GLevelFinishedEvent(passed));
        postEventToParent(RouteSelfThenParents, *event);
    }
    restoreMusicAfterQueueBox();
    return true;
}

// A due event is delivered while it is still in the list, where the screen may look for it;
// the last entry then takes its place.
void GGameLevelScene::deliverDelayedEvents(uint32_t elapsedMs) {
    for (uint32_t i = 0; i < m_delayedEvents.size();) {
        DelayedEvent& entry = m_delayedEvents[i];
        entry.remainingMs = addClamped(entry.remainingMs, -int64_t(elapsedMs));
        if (entry.remainingMs > 0) {
            ++i;
            continue;
        }
        const CRefPointer<CEvent> event = entry.event;
        sendToParent(RouteSelfThenParents, *event);
        // The delivery may have changed the list; the entry is found again.
        for (uint32_t j = 0; j < m_delayedEvents.size(); ++j) {
            if (m_delayedEvents[j].event == event) {
                m_delayedEvents.eraseAtUnordered(j);
                break;
            }
        }
    }
}

bool GGameLevelScene::runDay(uint32_t elapsedMs) {
    if (m_elapsedMs == 0)
        playCue(nameOf("DayStarted"), false);
    const bool wasClosed = m_closed;
    m_elapsedMs = addClamped(m_elapsedMs, elapsedMs);
    const int64_t limit = m_levelConfig ? int64_t(m_levelConfig->levelTime) * 1000 : 0;
    if (limit > 0 && m_elapsedMs >= limit)
        m_closed = true;
    bool pending = m_tutorialQueueMode;
    if (m_queueSlots.size() >= 2 && hasQueueGap())
        shiftQueue(false);
    const uint32_t spawnStart = realTimeMs();
    if (!m_closed && spawnDueClients(elapsedMs))
        pending = true;
    const uint32_t spawnTime = realTimeMs() - spawnStart;
    if (spawnTime > kSlowSpawnMs)
        CLogger::instance()->log(u"GGameLevelScene::OnUpdate() time: " + CStringW(spawnTime),
                                 CLogger::LevelInformation);
    bool finished = false;
    if (pending) {
        m_closingClockMs = 0;
    } else {
        // No client waits to come, so the rest of the day passes on the closing clock too.
        if (int64_t(m_elapsedMs) + m_closingClockMs < limit)
            m_closingClockMs = addClamped(m_closingClockMs, kClosingSpeed * elapsedMs);
        if (int64_t(m_elapsedMs) + m_closingClockMs >= limit || limit < 1) {
            m_closed = true;
            finished = isEmpty();
        }
    }
    if (m_closed && !wasClosed)
        close();
    return finished;
}

bool GGameLevelScene::isEmpty() const {
    const GHeroNode* hero = getHero();
    for (uint32_t i = 0; hero != nullptr && i < hero->getCarried().size(); ++i) {
        if (hero->getCarried()[i] == nameOf("Garbage"))
            return false;
    }
    for (const CRefPointer<GLocationNode>& location : m_locations) {
        if (location->hasClients() || location->isDirty())
            return false;
    }
    for (const CRefPointer<GLocationNode>& slot : m_queueSlots) {
        if (slot->hasClients())
            return false;
    }
    return true;
}

void GGameLevelScene::close() {
    playCue(nameOf("DayOver"), false);
    if (m_background)
        m_background->setChildrenState(nameOf("Closed"), nullptr);
    const CRefPointer<CEvent> event(new GLevelClosedEvent);
    sendToParent(RouteSelfThenParents, *event);
}

uint32_t GGameLevelScene::realTimeMs() const {
    SceneManager* manager = getSceneManager();
    CEngine* engine = manager != nullptr ? manager->getEngine() : nullptr;
    return engine != nullptr && engine->getTimer() != nullptr ? engine->getTimer()->getRealTime()
                                                              : 0;
}

CColor GGameLevelScene::getColorValue(int32_t color) {
    if (uint32_t(color) < uint32_t(kColorCount))
        return CColor(kColorValues[color]);
    CRandom* random = CEngineServices::instance()->getRandom();
    return CColor(kColorValues[random != nullptr ? random->next() % kColorCount : 0]);
}

GLocationNode* GGameLevelScene::findLocationOffering(const GResourceConfig& resource) const {
    for (const CRefPointer<GLocationNode>& location : m_locations) {
        for (const LocationResource& offered : location->getResources()) {
            if (offered.name == resource.name)
                return location.get();
        }
    }
    return nullptr;
}

GLocationNode* GGameLevelScene::findLocationProducing(const GResourceConfig& resource) const {
    if (resource.convertsFrom != CNameId()) {
        const GResourceConfig* source =
            m_objectConfigs ? m_objectConfigs->getResourceConfig(resource.convertsFrom) : nullptr;
        if (source == nullptr || findLocationOffering(*source) == nullptr)
            return nullptr;
    }
    for (const CRefPointer<GLocationNode>& location : m_locations) {
        const GLocationConfig* config = location->getConfig();
        for (uint32_t i = 0; config != nullptr && i < config->providedResources.size(); ++i) {
            if (config->providedResources[i].name == resource.name)
                return location.get();
        }
    }
    return nullptr;
}

GClientNode* GGameLevelScene::findClient(CNameId name) const {
    BaseNode* found = m_charactersNode ? m_charactersNode->findChild(name, 1) : nullptr;
    return asGClientNode(found);
}

GStaffNode* GGameLevelScene::findStaff(CNameId name) const {
    // The hero (kind 1149) first, then the other staff in their order.
    for (const uint32_t kind : {1149u, GStaffNode::kTypeId}) {
        for (uint32_t i = 0; m_charactersNode && i < m_charactersNode->getChildCount(); ++i) {
            BaseNode* character = m_charactersNode->getChild(i);
            if (character->isKindOf(kind) && character->getName() == name)
                return asGStaffNode(character);
        }
    }
    return nullptr;
}

CArray<GLocationNode*> GGameLevelScene::getAppearLocations(CNameId name) const {
    CArray<GLocationNode*> found;
    for (uint32_t i = 0; m_appearLocations && i < m_appearLocations->getChildCount(); ++i) {
        GLocationNode* location = asGLocationNode(m_appearLocations->getChild(i));
        if (location != nullptr && (name == CNameId() || location->getName() == name))
            found.append(location);
    }
    return found;
}

CRefPointer<SoundCue> GGameLevelScene::playCue(CNameId name, bool exclusive) const {
    SceneManager* manager = getSceneManager();
    CEngine* engine = manager != nullptr ? manager->getEngine() : nullptr;
    CSoundPlayer* player = engine != nullptr ? engine->getSoundPlayer() : nullptr;
    return player != nullptr ? player->playCue(name, exclusive, 0) : nullptr;
}
