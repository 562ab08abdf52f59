#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "tests/game/level/FixtureClients.h"

// The level benchmarks' game: the tests' client fixture (setting 3) with a level of this client
// queue, scene and upgrades, the dancer drawn from its template and the wish list "Dance"; none
// when the game does not start.
inline std::unique_ptr<LevelHarness>
startedClientFixture(const std::string& queue,
                     const std::string& scene = fixture_clients::levelScene(),
                     const std::string& upgrades = fixture_clients::upgrades()) {
    using namespace fixture_clients;
    auto harness = std::make_unique<LevelHarness>();
    harness->write("levels/common/LevelConfigs.xml",
                   "<LevelsConfiguration><Level><SettingIndex Value=\"3\"/>"
                   "<LevelTime Value=\"600\"/><ClientsQueue>" +
                       queue + "</ClientsQueue></Level></LevelsConfiguration>");
    harness->write("levels/common/LocationConfigs.xml", locationConfigs());
    harness->write("levels/common/ResourceConfigs.xml", resourceConfigs());
    harness->write("levels/common/ClientConfigs.xml",
                   "<ObjectConfigurations>" +
                       client("Dancer", "4.999", "0", "-1", "<TemplateName Value=\"Dancer\"/>") +
                       "</ObjectConfigurations>");
    harness->write("levels/common/ClientWishListConfigs.xml",
                   "<ObjectConfigurations><ClientWishList Name=\"Dance\">"
                   "<Resource Name=\"Dance\"/></ClientWishList></ObjectConfigurations>");
    harness->write("levels/common/StaffConfigs.xml", kStaffConfigs);
    harness->write("levels/setting3/Level.qscn", scene);
    harness->write("levels/setting3/TemplateCollection.qscn", templates());
    harness->write("levels/setting3/Upgrades.xml", upgrades);
    if (!harness->start())
        return nullptr;
    return harness;
}

inline double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}
