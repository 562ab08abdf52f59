#include "game/app/IntroScene.h"

#include <cmath>

#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Logger.h"
#include "engine/io/ContentManager.h"
#include "engine/io/Dictionary.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/GameApplication.h"
#include "game/app/GameClassRegistration.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/ObjectConfigurations.h"

namespace {

CContentManager& contentManager() {
    return *theApplication->getContentManager();
}

} // namespace

const GIntroScene::WeightedStep GIntroScene::kSteps[kStepCount] = {
    {&GIntroScene::registerClasses, 5},      {&GIntroScene::loadCharacterAtlases, 50},
    {&GIntroScene::loadLocationAtlas, 50},   {&GIntroScene::loadMapAtlas, 30},
    {&GIntroScene::loadMainMenuAtlas, 20},   {&GIntroScene::loadSoundPack, 20},
    {&GIntroScene::loadDictionary, 5},       {&GIntroScene::loadLevelCollections, 60},
    {&GIntroScene::loadMenuCollections, 30}, {&GIntroScene::loadObjectConfiguration, 5},
    {&GIntroScene::loadLevelList, 5},
};

GIntroScene::GIntroScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GIntroScene::OnLoaded() {
    BaseNode* scene = findChild(nameOf("Scene"), 1);
    BaseNode* bar = scene != nullptr ? scene->findChild(nameOf("Progress"), 1) : nullptr;
    m_progressBar = CRefPointer<BaseNode>::share(bar);
    m_fill =
        CRefPointer<BaseNode>::share(bar != nullptr ? bar->findChild(nameOf("Fill"), 1) : nullptr);
    for (const WeightedStep& step : kSteps)
        m_total += step.weight;
    updateBar();
}

bool GIntroScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GBaseSceneNode::OnSceneSwitch(event);
    return event.getTo() == this;
}

bool GIntroScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    GBaseSceneNode::OnSceneSwitchDone(event);
    if (event.getTo() != this)
        return false;
    m_stepClockMs = 0;
    return true;
}

// At most one step a tick: a long step only delays the next tick.
bool GIntroScene::OnUpdate(uint32_t elapsedMs) {
    GBaseSceneNode::OnUpdate(elapsedMs);
    m_stepClockMs += elapsedMs;
    if (m_stepClockMs > kStepGapMs) {
        m_stepClockMs = 0;
        if (m_nextStep < kStepCount) {
            const WeightedStep& step = kSteps[m_nextStep++];
            (this->*step.step)();
            m_done += step.weight;
        } else if (m_shown == m_done &&
                   openSceneFile(u"scenes/MainMenuScene.qscn", false, nameOf("NavFrom"),
                                 nameOf("NavTo")) != nullptr) {
            setScheduler(nullptr);
        }
    }
    updateBar();
    return true;
}

// The fill covers the finished share of the bar's width, in steps of 8 pixels.
void GIntroScene::updateBar() {
    if (m_total == 0)
        return;
    m_shown += m_total / 50;
    if (m_shown > m_done)
        m_shown = m_done;
    if (!m_progressBar || !m_fill)
        return;
    const CVector3d& bar = m_progressBar->getBounds();
    const float width = std::floor(m_shown / m_total * bar.x * 0.125f + 0.5f) * 8;
    m_fill->setBounds(CVector3d(width, bar.y, bar.z));
    m_fill->updateAbsoluteTransform();
}

void GIntroScene::registerClasses() {
    registerGameClasses();
}

void GIntroScene::loadCharacterAtlases() {
    loadAtlasCollection(u"atlases/Characters.xml");
    loadAtlasCollection(u"atlases/CharactersS.xml");
}

void GIntroScene::loadLocationAtlas() {
    loadAtlasCollection(u"atlases/Locations.xml");
}

void GIntroScene::loadMapAtlas() {
    loadAtlasCollection(u"atlases/Map.xml");
}

void GIntroScene::loadMainMenuAtlas() {
    loadAtlasCollection(u"atlases/MainMenu.xml");
}

void GIntroScene::loadSoundPack() {
    const CRefPointer<CContent> pack =
        contentManager().load(SoundPack::kContentType, u"sounds/SoundPack.xml", true);
    if (!pack)
        reportMissing(u"sounds/SoundPack.xml");
    CSoundPlayer* player = getSoundPlayer();
    if (pack && player != nullptr)
        static_cast<SoundPack*>(pack.get())->addCuesTo(*player);
}

void GIntroScene::loadDictionary() {
    CEngine* engine = getEngine();
    if (engine == nullptr)
        return;
    if (const CRefPointer<CXmlTextReader> reader =
            engine->getFileSystem()->openXmlReader(u"strings/Dictionary.xml"))
        CEngineServices::instance()->getDictionary()->readXml(reader.get());
    else
        reportMissing(u"strings/Dictionary.xml");
}

void GIntroScene::loadLevelCollections() {
    loadParticleCollection(u"levels/common/ParticleCollection.xml");
    loadTemplateCollection(u"levels/common/TemplateCollection.qscn",
                           theApplication->getLevelSceneManager());
}

void GIntroScene::loadMenuCollections() {
    loadParticleCollection(u"scenes/ParticleCollection.xml");
    loadTemplateCollection(u"scenes/TemplateCollection.qscn", theApplication->getSceneManager());
}

void GIntroScene::loadObjectConfiguration() {
    CEngine* engine = getEngine();
    if (engine == nullptr)
        return;
    for (const CStringW& name :
         theApplication->getObjectConfigurations()->loadFiles(*engine->getFileSystem()))
        reportMissing(name);
}

// Without a player the player screens read the list once one is chosen.
void GIntroScene::loadLevelList() {
    CEngine* engine = getEngine();
    CProfileParameters* player =
        engine != nullptr ? engine->getProfileManager()->getActiveProfile() : nullptr;
    if (player != nullptr &&
        !theApplication->getLevelList()->loadFile(*engine->getFileSystem(), *player,
                                                  theApplication->getObjectConfigurations()))
        reportMissing(LevelsConfiguration::fileName(*player));
}

void GIntroScene::loadAtlasCollection(const char16_t* name) {
    CRefPointer<CContent> collection = contentManager().load(contentType("atxc"), name, true);
    if (collection)
        m_atlasCollections.append(std::move(collection));
    else
        reportMissing(name);
}

void GIntroScene::loadParticleCollection(const char16_t* name) {
    const CRefPointer<CContent> collection = contentManager().load(contentType("prtc"), name, true);
    if (!collection)
        reportMissing(name);
    theApplication->keepReference(collection.get());
}

void GIntroScene::loadTemplateCollection(const char16_t* name, SceneManager* manager) {
    const CRefPointer<CContent> loaded = contentManager().load(contentType("snod"), name, true);
    auto* node = static_cast<BaseNode*>(loaded.get());
    if (node == nullptr || !node->isKindOf(TemplateCollectionNode::kTypeId))
        reportMissing(name);
    else if (manager != nullptr)
        manager->setTemplateCollection(static_cast<TemplateCollectionNode*>(node));
}

// Run from the step, which the step counter has already passed.
void GIntroScene::reportMissing(const CStringW& name) const {
    CLogger::instance()->log(CStringW(u"Intro step ") + CStringW(m_nextStep) + u": " + name +
                                 u" did not load",
                             CLogger::LevelWarning);
}
