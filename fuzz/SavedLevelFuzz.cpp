// Restores arbitrary bytes as a saved level ("save.dat") into a small level built in memory as
// the screens build one: two pads, a queue slot, the hero, and a client queue of a dancer and a
// pair whose clients have been made. The level then plays on for a while and is saved again, so
// that whatever a file restores reaches the clients', locations' and hero's ticks and writers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/Logger.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "fuzz/GameNodeFactory.h"
#include "game/app/ObjectConfigurations.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "tests/scene/SceneFileFixtures.h"

namespace {

std::string node(const char* type, const char* name, const std::string& inside = "") {
    return std::string("<SceneNode Type=\"") + type + "\"><Properties><string Name=\"Name\" " +
           "Value=\"" + name + "\"/></Properties>" + inside + "</SceneNode>";
}

std::string location(const char* name) {
    return std::string("<SceneNode Type=\"ControlNode\" ClassOverride=\"GLocationNode\">"
                       "<Properties><string Name=\"Name\" Value=\"") +
           name + "\"/></Properties></SceneNode>";
}

const std::string kHands =
    node("BaseNode", "CarriedIcons", node("SpriteNode", "L") + node("SpriteNode", "R"));

const std::string kTemplates = "<SceneNode Type=\"TemplateCollectionNode\">" +
                               node("BaseNode", "Pad") +
                               node("GClientNode", "Dancer", node("BaseNode", "Body")) +
                               node("GHeroNode", "Hero", kHands) + "</SceneNode>";

const std::string kLevel =
    "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\">" +
    node("ControlNode", "AppearLocations", location("Hero") + location("Queue1")) +
    node("ControlNode", "CharactersNode") +
    node("ControlNode", "LocationsNode", location("DancePad1") + location("DancePad2")) +
    node("BaseNode", "EffectsHolder") + "</SceneNode>";

std::string kConfigs =
    "<ObjectConfigurations>"
    "<Resource><Name Value=\"Dance\"/><ActionAnimationName Value=\"Dance\"/></Resource>"
    "<Resource><Name Value=\"Water\"/><ItemType Value=\"1\"/></Resource>"
    "<Resource><Name Value=\"CheckOut\"/><ItemType Value=\"6\"/></Resource>"
    "<Location><Name Value=\"Pad\"/><ProvidedResources><Resource Name=\"Dance\" "
    "MaxAmount=\"3\"/><Resource Name=\"CheckOut\"/></ProvidedResources></Location>"
    "<Client><Name Value=\"Dancer\"/><TemplateName Value=\"Dancer\"/><ResourceTimings>"
    "<Resource Name=\"Dance\" ServedBySelfTime=\"100\"/></ResourceTimings></Client>"
    "<Staff><Name Value=\"Hero1\"/><Template Value=\"Hero\"/><Velocity Value=\"300\"/>"
    "<ProvidedResources><Resource Name=\"CheckOut\"/></ProvidedResources></Staff>"
    "</ObjectConfigurations>";

std::string kUpgrades =
    "<Upgrades><Level Index=\"1\"><Locations><U Name=\"DancePad1\" Type=\"Pad\" Price=\"0\"/>"
    "<U Name=\"DancePad2\" Type=\"Pad\" Price=\"0\"/></Locations></Level></Upgrades>";

CRefPointer<CXmlTextReader> readerOver(std::string& text) {
    const CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
        reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()), u"fixed.xml", false));
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(file.get()));
}

// A dancer, then a pair, each wishing one dance.
CRefPointer<GLevelConfig> levelConfig() {
    CRefPointer<GLevelConfig> config(new GLevelConfig);
    config->levelTime = 60;
    const CRefPointer<GClientOrderList> orders(new GClientOrderList);
    orders->orders.append(GClientOrder{CNameId(CString("Dance")), {}});
    for (uint32_t count : {1u, 2u}) {
        GClientQueueEntry entry;
        entry.clientType = CNameId(CString("Dancer"));
        entry.time = 100;
        for (uint32_t i = 0; i < count; ++i) {
            GQueuedClient queued;
            queued.orders = orders;
            entry.clients.append(queued);
        }
        config->clientsQueue.append(entry);
    }
    return config;
}

void save(GGameLevelScene& level) {
    const CRefPointer<CVirtualFile> file(new CVirtualFile(u"save.dat", 4096));
    const CRefPointer<CXmlTextWriter> writer(
        new CXmlTextWriter(CRefPointer<IOutputFile>::share(file.get())));
    level.save(*writer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16))
        return 0;
    CLogger::instance()->setMinLevel(CLogger::LevelError);
    SceneFiles scenes(gameNodeFactory());
    scenes.files->add(u"templates.qscn", kTemplates);
    scenes.files->add(u"Level.qscn", kLevel);
    const CRefPointer<BaseNode> loadedTemplates = scenes.load(u"templates.qscn");
    const CRefPointer<BaseNode> loaded = scenes.load(u"Level.qscn");
    auto* templates = static_cast<TemplateCollectionNode*>(loadedTemplates.get());
    auto& level = static_cast<GGameLevelScene&>(*loaded);
    const CRefPointer<SceneManager> manager(new SceneManager(CContentKey(), nullptr, nullptr));
    manager->setTemplateCollection(templates);
    const CRefPointer<ObjectConfigurations> configs(new ObjectConfigurations);
    configs->load(*readerOver(kConfigs));
    const CRefPointer<UpgradeCatalog> catalog(new UpgradeCatalog);
    catalog->load(*readerOver(kUpgrades));
    catalog->applyLevel(1, CString("Level1"), nullptr);
    const CRefPointer<GLevelConfig> config = levelConfig();
    const CRefPointer<CScheduler> clock(new CScheduler);
    manager->openScene(&level, CNameId());
    level.setClock(clock.get());
    level.setLevelConfig(config.get());
    level.setObjectConfigurations(configs.get());
    level.getWalkGrid().setDefaults();
    level.spawnQueuedClients(config->clientsQueue, templates);
    level.reset(true);
    level.setMode(0);
    level.applyUpgrades(catalog.get(), false);
    level.createHero(CNameId());
    level.layoutDancePads();

    std::string bytes(reinterpret_cast<const char*>(data), size);
    level.load(*readerOver(bytes));
    save(level);
    for (int32_t tick = 0; tick < 100; ++tick)
        clock->update(20);
    save(level);
    // The level holds the clock it ticks on.
    level.setScheduler(nullptr);
    manager->openScene(nullptr, CNameId());
    return 0;
}
