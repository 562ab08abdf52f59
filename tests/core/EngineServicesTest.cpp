#include "engine/core/EngineServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/StubDevice.h"
#include "engine/core/PropertyTypeRegistry.h"

namespace {

using Log = std::vector<std::string>;

// The factories log when they are called and hand out probes that log their release.
ProbeLog* g_log = nullptr;

template <typename T>
CServiceReference<T> makeProbe(const char* name) {
    g_log->events.push_back(name);
    return Probe::reference<T>(name, *g_log);
}

EngineServiceFactories probeFactories() {
    EngineServiceFactories factories;
    factories.imageLoaderManager = [] { return makeProbe<CImageLoaderManager>("images"); };
    factories.nodeFactory = [] { return makeProbe<CNodeFactory>("nodes"); };
    factories.particleEmitterFactory = [] {
        return makeProbe<CParticleEmitterFactory>("emitters");
    };
    factories.soundLoaderManager = [] { return makeProbe<CSoundLoaderManager>("sounds"); };
    return factories;
}

class EngineServicesTest : public testing::Test {
protected:
    void SetUp() override { g_log = &log; }
    void TearDown() override {
        engineServiceFactories() = EngineServiceFactories();
        CEngineServices::destroyInstance();
        g_log = nullptr;
    }

    ProbeLog log;
};

TEST_F(EngineServicesTest, MakesServicesInOrderAndReleasesThemInReverse) {
    {
        CEngineServices services(probeFactories());
        EXPECT_EQ(log.events, (Log{"sounds", "images", "nodes", "emitters"}));
        EXPECT_TRUE(log.releases.empty());
    }
    EXPECT_EQ(log.releases, (Log{"emitters", "nodes", "images", "sounds"}));
}

// Tests build the services with only what they need; the foundation's own are always there.
TEST_F(EngineServicesTest, UnregisteredServicesStayAbsent) {
    CEngineServices services{EngineServiceFactories()};
    EXPECT_EQ(services.getImageLoaderManager(), nullptr);
    EXPECT_EQ(services.getNodeFactory(), nullptr);
    EXPECT_EQ(services.getParticleEmitterFactory(), nullptr);
    EXPECT_EQ(services.getSoundLoaderManager(), nullptr);
    EXPECT_NE(services.getDictionary(), nullptr);
    EXPECT_NE(services.getNamedObjectRegistry(), nullptr);
    ASSERT_NE(services.getRandom(), nullptr);
    EXPECT_EQ(services.getPropertyTypeRegistry(), CPropertyTypeRegistry::shared());
}

TEST_F(EngineServicesTest, InstanceIsBuiltOnceFromTheRegisteredFactories) {
    engineServiceFactories().nodeFactory = [] { return makeProbe<CNodeFactory>("nodes"); };
    CEngineServices* services = CEngineServices::instance();
    EXPECT_EQ(CEngineServices::instance(), services);
    EXPECT_EQ(log.events, (Log{"nodes"}));

    CEngineServices::destroyInstance();
    EXPECT_EQ(log.releases, (Log{"nodes"}));
    CEngineServices::instance();
    EXPECT_EQ(log.events, (Log{"nodes", "nodes"}));
}

} // namespace
