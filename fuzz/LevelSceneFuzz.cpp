// Loads arbitrary bytes as a level's scene file with the game's classes, then sets the level up
// as the screens do (upgrades of every location slot, a pad layout, the walk grid stamped),
// plays its day for a while, and drives every location through services, recharges, colours,
// queue marks and indicator icons, so that whatever a file puts where the level and its
// locations look for their parts reaches their binding, set-up, tick and display. The
// locations' look comes from a fixed template collection whose "Pad" has every part.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "fuzz/GameNodeFactory.h"
#include "game/app/ObjectConfigurations.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "tests/scene/SceneFileFixtures.h"

namespace {

std::string node(const char* type, const char* name, const std::string& inside = "") {
    return std::string("<SceneNode Type=\"") + type + "\"><Properties><string Name=\"Name\" " +
           "Value=\"" + name + "\"/></Properties>" + inside + "</SceneNode>";
}

const std::string kTemplates =
    "<SceneNode Type=\"TemplateCollectionNode\">" +
    node("BaseNode", "Pad",
         node("BaseNode", "Color",
              "<States><State Name=\"Blink\"><Animator Type=\"KeyFrame\"><Properties><color "
              "Name=\"TintColor\" Value=\"ffffffff\"/></Properties><KeyFrame t=\"0\" "
              "Value0=\"ffffffff\"/><KeyFrame t=\"50\" Value0=\"ff000000\"/></Animator>"
              "</State></States>") +
             node("BaseNode", "Indicators",
                  node("BaseNode", "ColorMatch", node("TextNode", "Text")) +
                      node("BaseNode", "Towel") + node("BaseNode", "Drink")) +
             node("BaseNode", "QueueIndex", node("BaseNode", "Img")) +
             node("ProgressBarNode", "RechargeProgress") + node("BaseNode", "CapacityIcons")) +
    node("BaseNode", "CapacityIcons", node("BaseNode", "Dot")) + "</SceneNode>";

std::string kConfigs =
    "<ObjectConfigurations>"
    "<Resource><Name Value=\"Juice\"/><ActionAnimationTime Value=\"40\"/></Resource>"
    "<Resource><Name Value=\"Dance\"/><ChainType Value=\"Dance\"/></Resource>"
    "<Location><Name Value=\"Pad\"/><StaffRechargeTime Value=\"0\"/><SelfRechargeTime "
    "Value=\"70\"/><DirtyProbability Value=\"0.5\"/><ProvidedResources><Resource Name=\"Juice\" "
    "MaxAmount=\"3\"/><Resource Name=\"Dance\"/></ProvidedResources></Location>"
    "<Location><Name Value=\"Bar\"/><StaffRechargeTime Value=\"-5\"/><ProvidedResources>"
    "<Resource Name=\"Juice\" MaxAmount=\"2\" InitialAmount=\"0\"/></ProvidedResources>"
    "</Location></ObjectConfigurations>";

// Every name a level looks up for a location, built as "Pad" or "Bar".
std::string kUpgrades = [] {
    std::string locations;
    const char* slots[] = {
        "DancePad1", "DancePad2",          "DancePad3",       "DancePad4",        "DancePad5",
        "DancePad6", "EnergyDrinkMachine", "SandwichMachine", "SandwichMachine2", "Place",
        "Machine"};
    for (const char* slot : slots)
        locations += std::string("<U Name=\"") + slot + "\" Type=\"Pad\" Price=\"0\"/>";
    locations += "<U Name=\"EnergyDrinkMachine\" Type=\"EnergyDrinkMachine3\" Price=\"0\"/>"
                 "<U Name=\"EnergyDrinkMachine2_1\" Type=\"Bar\" Price=\"0\"/>";
    return "<Upgrades><Level Index=\"1\"><Locations>" + locations +
           "</Locations><Env><U Name=\"Up1\" Type=\"Env\" Price=\"0\"/></Env></Level></Upgrades>";
}();

CRefPointer<CXmlTextReader> readerOver(std::string& text) {
    const CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
        reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()), u"fixed.xml", false));
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(file.get()));
}

void useLocation(GLocationNode& location, int32_t round) {
    const CNameId juice(CString("Juice"));
    location.startAction(juice);
    location.finishAction(juice);
    location.rollDirt();
    location.clearClients();
    location.startRecharge(nullptr);
    location.consumeResource(juice);
    location.setColor(round % 3);
    location.setColor(round % 3);
    location.showQueueIndex(round + 1);
    location.showIndicator(CNameId(CString(round % 2 ? "Towel" : "Drink")));
    location.hideIndicator(CNameId(CString("Towel")));
    location.setDraggingHighlight(round % 2 == 0);
}

void play(GGameLevelScene& level, CScheduler& clock) {
    for (int32_t round = 0; round < 6; ++round) {
        for (const CRefPointer<GLocationNode>& location : level.getLocations())
            useLocation(*location, round);
        level.addMoney(12.5f, round, CVector3d(), round % 2 ? CStringW(u"x") : CStringW());
        level.addMoneyDelayed(round, 7, 30);
        level.addChainBonus(CNameId(CString("Dance")), CVector3d());
        for (int32_t tick = 0; tick < 10; ++tick)
            clock.update(30);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16))
        return 0;
    SceneFiles scenes(gameNodeFactory());
    scenes.files->add(u"templates.qscn", kTemplates);
    scenes.files->add(u"Level.qscn", std::string(reinterpret_cast<const char*>(data), size));
    const CRefPointer<BaseNode> templates = scenes.load(u"templates.qscn");
    const CRefPointer<BaseNode> loaded = scenes.load(u"Level.qscn");
    if (!loaded || !loaded->isKindOf(GGameLevelScene::kTypeId))
        return 0;
    auto& level = static_cast<GGameLevelScene&>(*loaded);
    const CRefPointer<SceneManager> manager(new SceneManager(CContentKey(), nullptr, nullptr));
    manager->setTemplateCollection(static_cast<TemplateCollectionNode*>(templates.get()));
    const CRefPointer<ObjectConfigurations> configs(new ObjectConfigurations);
    configs->load(*readerOver(kConfigs));
    const CRefPointer<UpgradeCatalog> catalog(new UpgradeCatalog);
    catalog->load(*readerOver(kUpgrades));
    catalog->applyLevel(1, CString("Level1"), nullptr);
    const CRefPointer<GLevelConfig> config(new GLevelConfig);
    config->levelTime = 1;
    config->locationTypes.append(GLocationType{CNameId(CString("DancePad1")), CNameId(), 9});
    const CRefPointer<CScheduler> clock(new CScheduler);
    manager->openScene(&level, CNameId());
    level.setClock(clock.get());
    level.setLevelConfig(config.get());
    level.setObjectConfigurations(configs.get());
    level.getWalkGrid().setDefaults();
    level.reset(true);
    level.setMode(0);
    level.applyUpgrades(catalog.get(), false);
    level.layoutDancePads();
    play(level, *clock);
    level.reset(false);
    level.setMode(1);
    level.applyUpgrades(catalog.get(), true);
    play(level, *clock);
    // The level holds the clock it ticks on.
    level.setScheduler(nullptr);
    manager->openScene(nullptr, CNameId());
    return 0;
}
