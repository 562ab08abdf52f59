// The shop's strip rebuilt after a purchase, with 64 offers: a level of the benchmark's own with
// 58 locations and the six environment slots, each with an upgrade on sale before level 3, half
// of them recommended, reached through the loading screen as a player reaches it. Each
// iteration buys one location's upgrade in the catalogue (or takes it back) and rebuilds the
// strip as a purchase does (offers gathered and sorted, new ones found, items, elements, "Grow"),
// through the developer's money key, which rebuilds the strip the same way. Beside it:
// std::stable_sort of the same 64 offer keys, copied afresh each time. Allocations of one
// rebuild are counted in an untimed pass once the strip is warm.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "bench/EmptyScreen.h"
#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/Logger.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileParameters.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/GameApplication.h"
#include "game/app/GameClassRegistration.h"
#include "game/app/UpgradeCatalog.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/ShopListNode.h"
#include "tests/game/app/GameHarness.h"

namespace {

constexpr int kLocations = 58;
constexpr uint32_t kNumpadPlus = 107;

std::string locationName(int k) {
    return "Spot" + std::to_string(k);
}

// Prices spread so that the sort has work: recommended every other one, dearer further on.
int priceOf(int k) {
    return 100 + (k * 37) % 900;
}

std::string levelScene() {
    std::string locations;
    for (int k = 0; k < kLocations; ++k)
        locations += "<SceneNode Type=\"ControlNode\" ClassOverride=\"GLocationNode\"><Properties>"
                     "<string Name=\"Name\" Value=\"" +
                     locationName(k) + "\"/></Properties></SceneNode>";
    auto holder = [](const char* type, const char* name, const std::string& inside) {
        return std::string("<SceneNode Type=\"") + type + "\"><Properties><string Name=\"Name\" " +
               "Value=\"" + name + "\"/></Properties>" + inside + "</SceneNode>";
    };
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\">" +
           holder("BaseNode", "Bg", "") + holder("ControlNode", "AppearLocations", "") +
           holder("ControlNode", "CharactersNode", "") +
           holder("ControlNode", "LocationsNode", locations) +
           holder("BaseNode", "EffectsHolder", "") + "</SceneNode>";
}

std::string item(const std::string& slot, const std::string& type, int price, bool recommended) {
    return "<U Name=\"" + slot + "\" Type=\"" + type + "\" Price=\"" + std::to_string(price) +
           "\"" + (recommended ? " RecommendedLevel=\"3\"" : "") + "/>";
}

std::string upgrades() {
    std::string first;
    std::string later;
    for (int k = 0; k < kLocations; ++k) {
        first += item(locationName(k), "Plain", 0, false);
        later += item(locationName(k), "Fancy", priceOf(k), k % 2 == 0);
        later += item(locationName(k), "Grand", priceOf(k) + 50, k % 2 == 0);
    }
    std::string nothing;
    std::string env;
    for (int k = 1; k <= 6; ++k) {
        nothing += "<U Name=\"Up" + std::to_string(k) + "\" Price=\"0\"/>";
        env += item("Up" + std::to_string(k), "Env" + std::to_string(k), priceOf(k * 11), false);
    }
    return "<Upgrades><Level Index=\"1\"><Locations>" + first + "</Locations><Env>" + nothing +
           "</Env></Level><Level Index=\"3\"><Locations>" + later + "</Locations><Env>" + env +
           "</Env></Level></Upgrades>";
}

// The game with the benchmark's level as its setting-1 level, at the shop of level 3.
class ShopGame {
public:
    bool start() {
        write("levels/common/LevelConfigsEasy.xml",
              "<LevelsConfiguration><Level><SettingIndex Value=\"1\"/></Level><Level><SettingIndex "
              "Value=\"1\"/></Level><Level><SettingIndex Value=\"1\"/></Level>"
              "</LevelsConfiguration>");
        write("levels/setting1/Level.qscn", levelScene());
        write("levels/setting1/UpgradesEasy.xml", upgrades());
        if (!game.start(u"extra"))
            return false;
        registerGameClasses();
        CContentManager& content = *game.application().getContentManager();
        if (!loadMenuTemplates(game))
            return false;
        CProfileParameters& player = game.player();
        player.setInt("PlayerDifficulty", 1);
        player.setBool("ShowTutorialOn", false);
        player.setString("Level1Stats", "1000000");
        player.setInt("LevelIndex", 3);
        m_opener = CRefPointer<SceneNode>(
            new SceneNode(CContentKey(&content, u"scenes/Plain.qscn"), nullptr, nullptr));
        manager().openScene(m_opener.get(), CNameId());
        game.advance(600);
        m_opener->openSceneFile(u"scenes/LoadingLevelScene.qscn", false, CNameId(), CNameId());
        for (int ms = 0; ms < 5000 && !isShop(manager().getCurrentScene()); ms += 20)
            game.advance(20);
        if (!isShop(manager().getCurrentScene()))
            return false;
        game.advance(600);
        shop = CRefPointer<GGameShopScene>::share(
            static_cast<GGameShopScene*>(manager().getCurrentScene()));
        return true;
    }

    // One location's upgrade bought, or taken back, and the strip rebuilt.
    void purchase() {
        m_bought = !m_bought;
        shop->getCatalog()->setCurrentByName(nameOf("Spot7"), nameOf(m_bought ? "Fancy" : "Plain"));
        shop->OnKeyUp(*m_rebuildKey);
    }

    GameHarness game;
    CRefPointer<GGameShopScene> shop;

private:
    static bool isShop(const SceneNode* scene) {
        return scene != nullptr && scene->isKindOf(GGameShopScene::kTypeId);
    }
    SceneManager& manager() const { return *game.application().getSceneManager(); }
    void write(const std::string& file, const std::string& text) {
        const std::filesystem::path path = game.contentBase() / "extra" / file;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    CRefPointer<SceneNode> m_opener;
    CRefPointer<CEventInputKeyUp> m_rebuildKey{new CEventInputKeyUp(0, kNumpadPlus, false, false)};
    bool m_bought = false;
};

void rebuildVantor(benchmark::State& state) {
    CLogger::instance()->setMinLevel(CLogger::LevelError);
    ShopGame shopGame;
    if (!shopGame.start()) {
        state.SkipWithError("the shop did not open");
        return;
    }
    // The start reads it from the settings.
    developerMode = true;
    for (int i = 0; i < 4; ++i)
        shopGame.purchase();
    startCountingAllocations();
    shopGame.purchase();
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state)
        shopGame.purchase();
    state.counters["offers"] = double(shopGame.shop->getOffers().size());
    state.counters["allocs/rebuild"] = double(allocations);
    developerMode = false;
    CLogger::instance()->setMinLevel(CLogger::LevelInformation);
}

struct OfferKey {
    bool recommended;
    bool withObject;
    int32_t price;
};

void sortStdStable(benchmark::State& state) {
    std::vector<OfferKey> built;
    for (int k = 0; k < kLocations; ++k)
        built.push_back({k % 2 == 0, true, priceOf(k)});
    for (int k = 1; k <= 6; ++k)
        built.push_back({false, false, priceOf(k * 11)});
    std::vector<OfferKey> sorted;
    sorted.reserve(built.size());
    for (auto _ : state) {
        sorted.assign(built.begin(), built.end());
        std::stable_sort(sorted.begin(), sorted.end(), [](const OfferKey& a, const OfferKey& b) {
            if (a.recommended != b.recommended)
                return a.recommended;
            if (a.withObject != b.withObject)
                return a.withObject;
            return a.price > b.price;
        });
        benchmark::DoNotOptimize(sorted.data());
    }
    state.counters["offers"] = double(built.size());
}

const int registered = [] {
    benchmark::RegisterBenchmark("ShopStripRebuild/vantor", rebuildVantor);
    benchmark::RegisterBenchmark("ShopStripRebuild/std_stable_sort", sortStdStable);
    return 0;
}();

} // namespace
