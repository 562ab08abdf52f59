#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "tests/game/level/FixtureClients.h"

// The level benchmarks' game: the tests' client fixture (setting 3) with these level
// configurations, the dancer drawn from its template and the wish list "Dance"; none when the
// game does not start.
inline std::unique_ptr<LevelHarness> startedClientFixture(const std::string& levelConfigs) {
    using namespace fixture_clients;
    auto harness = std::make_unique<LevelHarness>();
    harness->write("levels/common/LevelConfigs.xml", levelConfigs);
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
    harness->write("levels/setting3/Level.qscn", levelScene());
    harness->write("levels/setting3/TemplateCollection.qscn", templates());
    harness->write("levels/setting3/Upgrades.xml", upgrades());
    if (!harness->start())
        return nullptr;
    return harness;
}

inline double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}
