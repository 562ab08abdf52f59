// The level's tick through the test harness, on the tests' client fixture (setting 3).
//
// One pass of the level's clock (the level's OnUpdate and every object's 20 ms tick) with 50
// clients on the fixture field's six pads and three queue slots: one dancing on each pad, the
// other 44 waiting in three groups at the slots, the hero walking to a pad and two masseurs
// to the massage tables. The clients are laid out afresh, untimed, every 90 passes, so that the
// dances last through them. The counter of_1ms is the pass's share of a 1 ms budget (of the
// 20 ms tick). Release, --benchmark_min_time=0.2, 5 repetitions on the shared 8-core machine:
// 18.5 us a pass (median 18.5, cv 14 %), of_1ms 0.018.
//
// The neighbours' pass: the same 50 clients as 42 neighbours on the six pads of the talk
// fixture (seven a pad), talking to listeners, stopping and blocking them, speeding them up and
// sending them hearts, three on the super pad in its arrow challenge and five in the queue;
// the hero converting juice, a sandwich being made, a juice thrown away and two masseurs at the
// tables. Release, same options, 5 repetitions while the machine ran at a load of about 30:
// 33.3 us of CPU a pass (median; pass50 19.6 in the same run, 1.7 times), of_1ms 0.072
// (pass50 0.052), both wall figures inflated by the load.
//
// The spawn of a group of three: the records built (three clients cloned from their template
// and set up) and the tick in which the group enters the queue, beside the thresholds above
// which the level logs slow work (10 ms for a client's set-up, 20 ms for its heart icons).
// Times are real milliseconds of a Release build; a fresh level is loaded, untimed, before
// each spawn. Release, same runs: 0.027 ms to build (of_10ms 0.0027), 0.18 ms for the tick it
// enters in (of_20ms 0.009).
#include <chrono>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/ClientFixtureHarness.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/core/Scheduler.h"
#include "engine/scene/SceneManager.h"
#include "tests/game/level/FixtureClients.h"
#include "tests/game/level/FixtureMachines.h"
#include "tests/game/level/FixtureSuperPad.h"
#include "tests/game/level/FixtureTalk.h"

namespace {

using namespace fixture_clients;

using Files = std::vector<std::pair<const char*, std::string>>;

std::unique_ptr<LevelHarness> startedWith(const Files& files) {
    auto harness = std::make_unique<LevelHarness>();
    for (const auto& [path, text] : files)
        harness->write(path, text);
    if (!harness->start())
        return nullptr;
    return harness;
}

constexpr int kClients = 50;
constexpr int kPassesPerLayout = 90;
constexpr uint32_t kTickMs = 20;
constexpr double kBudgetMs = 1;

// Two masseurs hired and sent to fetch at the massage tables; false when one was not hired.
bool sendMasseurs(LevelHarness& harness) {
    GStaffNode* staff[] = {hireMasseur(harness, "Masseur1"), hireMasseur(harness, "Masseur2")};
    for (int32_t k = 0; k < 2; ++k) {
        if (staff[k] == nullptr)
            return false;
        const std::string table = "MassageTable" + std::to_string(k + 1);
        staff[k]->enqueueTask(asGLocationNode(harness.node(table.c_str())), CNameId(),
                              GStaffNode::kTaskFetch);
    }
    return true;
}

// Waiting clients in groups at the three queue slots, the first of a slot at its head.
class QueueGroups {
public:
    void join(GGameLevelScene& level, GClientNode* client, int32_t slot) {
        if (m_last[slot] == nullptr) {
            GLocationNode* location = level.getQueueSlots()[uint32_t(slot)].get();
            client->moveToLocation(location);
            client->placeAtClientPoint(*location);
            client->setState(GClientNode::kStateWaiting);
        } else {
            m_last[slot]->setFollower(client);
        }
        m_last[slot] = client;
    }

    void arrange(GGameLevelScene& level) const {
        for (const CRefPointer<GLocationNode>& slot : level.getQueueSlots()) {
            if (slot->getClients().size() != 0)
                asGClientNode(slot->getClients()[0].get())->arrangeGroup();
        }
    }

private:
    GClientNode* m_last[3] = {};
};

GClientNode* dancer(LevelHarness& harness, int32_t i) {
    const std::string name = "C" + std::to_string(i + 1);
    return spawnClient(harness, "Dancer", wishes({{{"Dance"}}, {{"Dance"}}}), name.c_str());
}

// Level 1 loaded afresh with the clients, the hero and two masseurs at work; none when a step
// fails.
GGameLevelScene* layOut(LevelHarness& harness) {
    GGameLevelScene* level = harness.loadLevel(1, 0);
    if (level == nullptr)
        return nullptr;
    level->createHero(CNameId());
    GHeroNode* hero = level->getHero();
    if (hero == nullptr || !sendMasseurs(harness))
        return nullptr;
    hero->enqueueTask(asGLocationNode(harness.node("DancePad6")), CNameId(), GStaffNode::kTaskGoTo);
    QueueGroups queues;
    for (int32_t i = 0; i < kClients; ++i) {
        GClientNode* client = dancer(harness, i);
        if (i < 6) {
            const std::string pad = "DancePad" + std::to_string(i + 1);
            GLocationNode* location = asGLocationNode(harness.node(pad.c_str()));
            client->moveToLocation(location);
            client->placeAtClientPoint(*location);
            continue;
        }
        queues.join(*level, client, i % 3);
    }
    queues.arrange(*level);
    return level;
}

// Times passes of the level's clock, laying the level out afresh, untimed, every
// kPassesPerLayout passes.
void timePasses(benchmark::State& state, LevelHarness* harness,
                GGameLevelScene* (*layOutLevel)(LevelHarness&)) {
    if (harness == nullptr) {
        state.SkipWithError("the harness did not start");
        return;
    }
    GGameLevelScene* level = nullptr;
    double passes = 0;
    int32_t sinceLayout = kPassesPerLayout;
    for (auto _ : state) {
        if (sinceLayout == kPassesPerLayout) {
            state.PauseTiming();
            level = layOutLevel(*harness);
            sinceLayout = 0;
            state.ResumeTiming();
            if (level == nullptr) {
                state.SkipWithError("the level was not laid out");
                return;
            }
        }
        const auto start = std::chrono::steady_clock::now();
        level->getScene()->getClock()->update(kTickMs);
        passes += millisecondsSince(start);
        ++sinceLayout;
    }
    const double perPass = passes / double(state.iterations());
    state.counters["pass_ms"] = perPass;
    state.counters["of_1ms"] = perPass / kBudgetMs;
}

void BM_LevelTick(benchmark::State& state) {
    const std::unique_ptr<LevelHarness> harness =
        startedClientFixture("", fixture_levels::padsLevelScene(), padsUpgrades());
    timePasses(state, harness.get(), layOut);
}

BENCHMARK(BM_LevelTick)->Name("LevelTick/vantor/pass50")->Unit(benchmark::kMicrosecond);

// The neighbours' field: the talk fixture's six pads taking seven clients each, beside the
// machines of the machines' fixture and the super pad, all in one level of setting 3.
constexpr int32_t kPerPad = 7;
constexpr int32_t kOnSuperPad = 3;
constexpr int32_t kMachineLocations = 6;

// The fixture's text from the start of the marker to the start of the end marker.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
    const size_t start = text.find(from);
    return text.substr(start, text.find(to, start) - start);
}

std::string neighboursScene() {
    std::string locations = fixture_machines::machine("SuperPad", "GSuperPadNode");
    for (int32_t k = 0; k < kMachineLocations; ++k)
        locations += fixture_machines::machine(fixture_machines::kMachines[k][0],
                                               fixture_machines::kMachines[k][1]);
    std::string scene = fixture_levels::padsLevelScene();
    const std::string effects = fixture_levels::nodeNamed("BaseNode", "EffectsHolder");
    scene.insert(scene.find(effects) - std::string("</SceneNode>").size(), locations);
    return scene;
}

std::string neighboursUpgrades() {
    std::string more = "<U Name=\"SuperPad\" Type=\"SuperPad\" Price=\"0\"/>";
    for (int32_t k = 1; k <= 2; ++k)
        more += "<U Name=\"MassageTable" + std::to_string(k) + "\" Type=\"Table\" Price=\"0\"/>";
    for (int32_t k = 0; k < kMachineLocations; ++k)
        more += std::string("<U Name=\"") + fixture_machines::kMachines[k][0] + "\" Type=\"" +
                fixture_machines::kMachines[k][2] + "\" Price=\"0\"/>";
    std::string upgrades = fixture_talk::talkUpgrades();
    upgrades.insert(upgrades.find("</Locations>"), more);
    return upgrades;
}

std::string neighboursLocationConfigs() {
    const std::string crowd = "<MaxServingClients Value=\"" + std::to_string(kPerPad) + "\"/>";
    return "<ObjectConfigurations>" + locationConfig("DancePad1", "Dance;Massage", crowd) +
           locationConfig("Pad", "Dance;Massage", crowd) +
           locationConfig("Table", "Massage", "<HeroMountPoint Value=\"0;50\"/>") +
           locationConfig("SuperPad", "SuperDance", "<MaxServingClients Value=\"3\"/>") +
           between(fixture_machines::locationConfigs(), "<Location><Name Value=\"Blender\"/>",
                   "<Location><Name Value=\"Pad\"/>") +
           "</ObjectConfigurations>";
}

std::string neighboursResourceConfigs() {
    std::string configs = fixture_super_pad::resourceConfigs();
    configs.insert(configs.rfind("</ObjectConfigurations>"),
                   between(fixture_machines::resourceConfigs(), "<Resource><Name Value=\"Juice\"/>",
                           "</ObjectConfigurations>"));
    return configs;
}

std::string neighboursTemplates() {
    using fixture_machines::drinksMachine;
    using fixture_machines::sandwichMachine;
    std::string collection = fixture_talk::talkTemplates();
    collection.insert(collection.rfind("</SceneNode>"),
                      fixture_super_pad::padTemplate() + drinksMachine("DrinksMachine") +
                          drinksMachine("TeaMachine") + sandwichMachine("SandwichMachine", true) +
                          sandwichMachine("SandwichMachine2", false) +
                          nodeNamed("BaseNode", "TrashCan",
                                    nodeNamed("BaseNode", "Look",
                                              states({"TrashOff", "Trash0", "Trash1", "Trash2"}))));
    return collection;
}

// Client types, their looks and wishes, taken in turn on the pads: talkers, listeners and a
// stopper waiting for a massage (a talk starts while a client waits), a blocker, a street
// dancer, a hip-hop and a tecktonik dancing.
const char* const kNeighbours[][3] = {
    {"Talker10", "Talker", "Massage"},   {"Listener", "Dancer", "Massage"},
    {"StreetDancer", "Dancer", "Dance"}, {"HipHop", "Hopper", "Dance"},
    {"Blocker", "Dancer", "Dance"},      {"Tecktonik", "Hopper", "Dance"},
    {"Talker20", "Talker", "Massage"},   {"Content", "Dancer", "Massage"},
    {"Stopper", "Talker", "Massage"},    {"Stranger", "Dancer", "Massage"},
};

GClientNode* spawnAs(LevelHarness& harness, const char* type, const char* from, const char* wish,
                     int32_t i) {
    const std::string name = "C" + std::to_string(i + 1);
    return spawnClient(harness, type, wishes({{{wish}}, {{wish}}}), name.c_str(), from);
}

// A sandwich picked and made on the first sandwich machine; false when it did not start.
bool makeSandwich(LevelHarness& harness) {
    auto* machine = static_cast<GSandwichMachineNode*>(harness.node("SandwichMachine"));
    if (machine == nullptr || machine->getButtonsPanel() == nullptr)
        return false;
    for (const char* button : {"Sandwich1L", "Sandwich2R", "SandwichMake"}) {
        const CRefPointer<CEventControlClicked> clicked(
            new CEventControlClicked(machine->getButtonsPanel()->findChild(named(button), 1)));
        machine->OnEvent(*clicked);
    }
    return machine->getState() == GLocationNode::kStateStaffRecharge;
}

// The machines at work: the hero brings juice to the converter, a sandwich is made and a juice
// is thrown away; false when one of them did not start.
bool startMachines(LevelHarness& harness, GGameLevelScene& level) {
    level.createHero(CNameId());
    GHeroNode* hero = level.getHero();
    GLocationNode* converter = asGLocationNode(harness.node("Converter"));
    GLocationNode* trash = asGLocationNode(harness.node("Trash"));
    if (hero == nullptr || converter == nullptr || trash == nullptr ||
        !hero->takeInHand(named("Juice")) || !level.sendHeroToLocation(*converter))
        return false;
    return makeSandwich(harness) &&
           trash->takeItem(nullptr,
                           level.getObjectConfigurations()->getResourceConfig(named("Juice")));
}

// The neighbours' level loaded afresh: seven clients on each pad, served their dance beside the
// neighbours of the next pads, three on the super pad in its challenge, the rest in the queue;
// the machines at work and two masseurs sent to the tables. None when a step fails.
GGameLevelScene* layOutNeighbours(LevelHarness& harness) {
    GGameLevelScene* level = harness.loadLevel(1, 0);
    if (level == nullptr || !sendMasseurs(harness) || !startMachines(harness, *level))
        return nullptr;
    CEngineServices::instance()->getRandom()->seed(7);
    auto* superPad = static_cast<GLocationNode*>(harness.node("SuperPad"));
    QueueGroups queues;
    for (int32_t i = 0; i < kClients; ++i) {
        if (i < 6 * kPerPad) {
            const auto& [type, from, wish] = kNeighbours[i % std::size(kNeighbours)];
            GClientNode* client = spawnAs(harness, type, from, wish, i);
            const std::string pad = "DancePad" + std::to_string(i / kPerPad + 1);
            GLocationNode* location = asGLocationNode(harness.node(pad.c_str()));
            client->placeAtClientPoint(*location);
            client->moveToLocation(location);
            client->addHearts(0);
            level->startClientAction(*location, *client);
        } else if (i < 6 * kPerPad + kOnSuperPad) {
            GClientNode* client = spawnAs(harness, "Content", "Dancer", "SuperDance", i);
            superPad->setColor(client->getColor());
            client->placeAtClientPoint(*superPad);
            client->moveToLocation(superPad);
        } else {
            queues.join(*level, spawnAs(harness, "Content", "Dancer", "Dance", i), i % 3);
        }
    }
    queues.arrange(*level);
    return level;
}

void BM_LevelTickNeighbours(benchmark::State& state) {
    const std::unique_ptr<LevelHarness> harness = startedWith({
        {"levels/common/LevelConfigs.xml", fixture_talk::talkLevels()},
        {"levels/common/LocationConfigs.xml", neighboursLocationConfigs()},
        {"levels/common/ResourceConfigs.xml", neighboursResourceConfigs()},
        {"levels/common/ClientConfigs.xml", fixture_talk::talkClientConfigs()},
        {"levels/common/StaffConfigs.xml", kStaffConfigs},
        {"levels/setting3/Level.qscn", neighboursScene()},
        {"levels/setting3/TemplateCollection.qscn", neighboursTemplates()},
        {"levels/setting3/Upgrades.xml", neighboursUpgrades()},
    });
    timePasses(state, harness.get(), layOutNeighbours);
}

BENCHMARK(BM_LevelTickNeighbours)
    ->Name("LevelTick/vantor/neighbours50")
    ->Unit(benchmark::kMicrosecond);

void BM_SpawnGroupOfThree(benchmark::State& state) {
    const std::unique_ptr<LevelHarness> harness =
        startedClientFixture("<Pair CI=\"Dancer\"><Client><Order Res=\"Dance\"/></Client>"
                             "<Client><Order Res=\"Dance\"/></Client><Client><Order Res=\"Dance\"/>"
                             "</Client></Pair>",
                             levelScene(), upgrades());
    if (!harness) {
        state.SkipWithError("the harness did not start");
        return;
    }
    double build = 0;
    double enter = 0;
    for (auto _ : state) {
        state.PauseTiming();
        GGameLevelScene* level = harness->loadLevel(1, 0);
        TemplateCollectionNode* collection = harness->levelManager().getTemplateCollection();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        level->spawnQueuedClients(level->getLevelConfig()->clientsQueue, collection);
        build += millisecondsSince(start);
        level->armClientQueue();
        start = std::chrono::steady_clock::now();
        harness->advance(1);
        enter += millisecondsSince(start);
        if (level->findClient(CNameId(CString("1_3"))) == nullptr) {
            state.SkipWithError("the group did not enter");
            return;
        }
    }
    const double runs = double(state.iterations());
    state.counters["build_ms"] = build / runs;
    state.counters["enter_tick_ms"] = enter / runs;
    state.counters["of_10ms"] = build / runs / 10;
    state.counters["of_20ms"] = enter / runs / 20;
}

BENCHMARK(BM_SpawnGroupOfThree)->Name("LevelTick/vantor/spawn3")->Unit(benchmark::kMillisecond);

} // namespace
