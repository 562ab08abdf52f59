#pragma once

#include <gtest/gtest.h>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/ui/UiRegistration.h"

// Each test gets engine services built with the ui library's factories and a generator seeded
// the same way, so that what a seeded generator produces is repeatable.
class ParticleServicesTest : public ::testing::Test {
protected:
    ParticleServicesTest() {
        registerUiLibrary();
        CEngineServices::destroyInstance();
        random().seed(20261210);
    }
    ~ParticleServicesTest() override { CEngineServices::destroyInstance(); }

    static CRandom& random() { return *CEngineServices::instance()->getRandom(); }
};
